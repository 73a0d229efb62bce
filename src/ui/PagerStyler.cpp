#include "ui/PagerStyler.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

namespace ui {
namespace {

struct PagerLook
{
    // Tab faces, each a vertical gradient with a gloss line in the middle for the
    // 2007 styles (top, upper middle, lower middle, bottom).
    QRgb tab[4];
    QRgb selected[4];
    QRgb hover[4];
    QRgb border;
    QRgb text;
    int radius;
    // Page background at the top and at the bottom.
    QRgb pageTop;
    QRgb pageBottom;
};

const PagerLook& LookOf(settings::PagerStyle style)
{
    static const PagerLook blue2003{{0xF0F6FF, 0xDCEAFD, 0xDCEAFD, 0xB9D1F6},
                                    {0xFFFFFF, 0xEDF4FE, 0xEDF4FE, 0xD6E7FD},
                                    {0xFFF6D8, 0xFFE2A8, 0xFFE2A8, 0xFFC96E},
                                    0x7F9DB9,
                                    0x15428B,
                                    3,
                                    0xD6E7FD,
                                    0xC4DAFA};
    static const PagerLook silver2003{{0xFAFAFC, 0xE6E6EE, 0xE6E6EE, 0xC8C8D6},
                                      {0xFFFFFF, 0xF4F4F8, 0xF4F4F8, 0xEEEEF4},
                                      {0xFFF6D8, 0xFFE2A8, 0xFFE2A8, 0xFFC96E},
                                      0x9595A6,
                                      0x2C2C3C,
                                      3,
                                      0xEEEEF4,
                                      0xE2E2EC};
    static const PagerLook luna2007{{0xF2F7FE, 0xDFEBFB, 0xC7DBF7, 0xD9E7FB},
                                    {0xFFFFFF, 0xF1F6FD, 0xE4EEFA, 0xE1ECF7},
                                    {0xFFFDF0, 0xFFEFB8, 0xFFDC78, 0xFFE9A2},
                                    0x8DB2E3,
                                    0x15428B,
                                    5,
                                    0xE1ECF7,
                                    0xE2ECF9};
    static const PagerLook obsidian2007{{0xE4E7EB, 0xCDD1D8, 0xAFB5BF, 0xC3C8D0},
                                        {0xF7F8F9, 0xE3E6EA, 0xCDD2D8, 0xBDC3CC},
                                        {0xFFFDF0, 0xFFEFB8, 0xFFDC78, 0xFFE9A2},
                                        0x6B717C,
                                        0x111111,
                                        5,
                                        0xBDC3CC,
                                        0xD2D7DD};
    switch (style) {
    case settings::PagerStyle::psOffice2003Silver:
        return silver2003;
    case settings::PagerStyle::psOffice2007Luna:
        return luna2007;
    case settings::PagerStyle::psOffice2007Obsidian:
        return obsidian2007;
    case settings::PagerStyle::psOffice2003Blue:
        break;
    }
    return blue2003;
}

QString Hex(QRgb rgb)
{
    return QColor(rgb).name();
}

QString Gradient(const QRgb (&c)[4])
{
    return QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:0.45 %2, stop:0.55 %3, "
                          "stop:1 %4)")
        .arg(Hex(c[0]), Hex(c[1]), Hex(c[2]), Hex(c[3]));
}

QString TabSheet(const PagerLook& look)
{
    // The tabs only take as much room as their captions need, so that all five
    // fit the narrow window without scroll buttons.
    return QStringLiteral("QTabBar::tab {"
                          " background: %1; color: %4; border: 1px solid %5; border-bottom: none;"
                          " border-top-left-radius: %6px; border-top-right-radius: %6px;"
                          " padding: 3px 6px 3px 6px; margin-right: 1px; margin-top: 2px; }"
                          "QTabBar::tab:selected { background: %2; margin-top: 0px; padding-bottom: 4px; }"
                          "QTabBar::tab:hover:!selected { background: %3; }")
        .arg(Gradient(look.tab), Gradient(look.selected), Gradient(look.hover), Hex(look.text),
             Hex(look.border))
        .arg(look.radius);
}

} // namespace

PagerStyler::PagerStyler(QTabWidget* pager) : QObject(pager), m_pager(pager)
{
    for (int i = 0; i < pager->count(); ++i)
        pager->widget(i)->installEventFilter(this);
    setStyle(m_style);
}

void PagerStyler::setStyle(settings::PagerStyle style)
{
    m_style = style;
    const PagerLook& look = LookOf(style);
    m_top = QColor(look.pageTop);
    m_bottom = QColor(look.pageBottom);
    m_pager->tabBar()->setStyleSheet(TabSheet(look));
    QPalette framePalette = m_pager->palette();
    // The pane frame is drawn from these roles.
    framePalette.setColor(QPalette::Dark, QColor(look.border));
    framePalette.setColor(QPalette::Shadow, QColor(look.border));
    m_pager->setPalette(framePalette);
    for (int i = 0; i < m_pager->count(); ++i)
        m_pager->widget(i)->update();
}

void PagerStyler::setShades(const QVector<std::pair<const QWidget*, QColor>>& shades)
{
    m_shades = shades;
    for (int i = 0; i < m_pager->count(); ++i)
        m_pager->widget(i)->update();
}

QVector<std::pair<qreal, QColor>> PagerStyler::pageStops() const
{
    // All pages have the height of the one in view.
    const int height = std::max(1, m_pager->currentWidget() ? m_pager->currentWidget()->height() : 1);
    QVector<std::pair<qreal, QColor>> stops{{0.0, m_top}, {1.0, m_bottom}};
    for (const auto& [widget, colour] : m_shades)
        stops.append({std::clamp(widget->geometry().center().y() / qreal(height), 0.0, 1.0), colour});
    std::stable_sort(stops.begin(), stops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return stops;
}

QColor PagerStyler::pageColourAt(int y) const
{
    const int height = std::max(1, m_pager->currentWidget() ? m_pager->currentWidget()->height() : 1);
    const qreal fraction = y / qreal(height);
    const QVector<std::pair<qreal, QColor>> stops = pageStops();
    if (fraction <= stops.front().first)
        return stops.front().second;
    for (int i = 1; i < stops.size(); ++i) {
        const auto& [a, ca] = stops[i - 1];
        const auto& [b, cb] = stops[i];
        if (fraction <= b) {
            const qreal t = b > a ? (fraction - a) / (b - a) : 1.0;
            const auto mix = [t](int x, int z) { return qRound(x + (z - x) * t); };
            return QColor(mix(ca.red(), cb.red()), mix(ca.green(), cb.green()), mix(ca.blue(), cb.blue()));
        }
    }
    return stops.back().second;
}

bool PagerStyler::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        auto* page = static_cast<QWidget*>(watched);
        QPainter p(page);
        QLinearGradient gradient(0, 0, 0, page->height());
        for (const auto& [at, colour] : pageStops())
            gradient.setColorAt(at, colour);
        p.fillRect(page->rect(), gradient);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
