#include "ui/GradientStrip.h"

#include <QPainter>

namespace ui {

GradientStrip::GradientStrip(QWidget* parent, int steps) : QWidget(parent), m_steps(steps)
{}

void GradientStrip::setColours(const QColor& start, const QColor& end)
{
    m_start = start;
    m_end = end;
    update();
}

void GradientStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int w = width();
    const auto mix = [](int a, int b, int i, int n) { return a + (b - a) * i / std::max(1, n - 1); };
    for (int i = 0; i < m_steps; ++i) {
        const int x0 = w * i / m_steps;
        const int x1 = w * (i + 1) / m_steps;
        const QColor c(mix(m_start.red(), m_end.red(), i, m_steps),
                       mix(m_start.green(), m_end.green(), i, m_steps),
                       mix(m_start.blue(), m_end.blue(), i, m_steps));
        p.fillRect(QRect(x0, 0, std::max(1, x1 - x0), height()), c);
    }
}

} // namespace ui
