#pragma once

#include <QColor>
#include <QWidget>

// A horizontal colour gradient drawn in a fixed number of bands, used as the
// header band above the file lists (their own column headers are hidden).
namespace ui {

class GradientStrip : public QWidget
{
    Q_OBJECT
public:
    explicit GradientStrip(QWidget* parent = nullptr, int steps = 180);

    void setColours(const QColor& start, const QColor& end);
    QColor startColour() const { return m_start; }
    QColor endColour() const { return m_end; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_start{0x8D, 0xB2, 0xE3};
    QColor m_end{0xDA, 0xEA, 0xFD};
    int m_steps;
};

} // namespace ui
