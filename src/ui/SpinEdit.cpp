#include "ui/SpinEdit.h"

#include <QLineEdit>

namespace ui {

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    // The spin box reports new values (arrow steps, corrections), but stays silent
    // while its text is no valid value (empty, or 0 on the way to 10); the editor
    // reports every keystroke but not the text the spin box puts in. Together they
    // see every change; a keystroke that both report counts once.
    connect(this, &QSpinBox::textChanged, this, [this] {
        m_lastReported = lineEdit()->text();
        emit edited();
    });
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text == m_lastReported)
            return;
        m_lastReported = text;
        emit edited();
    });
}

} // namespace ui
