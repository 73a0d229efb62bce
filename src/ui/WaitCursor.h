#pragma once

#include <QGuiApplication>

namespace ui {

// The hourglass for the span of an operation; put back once, at the latest when
// the object goes, or earlier with Restore().
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { Restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void Restore()
    {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
        m_shown = false;
    }

private:
    bool m_shown = true;
};

} // namespace ui
