#pragma once

#include "settings/Designs.h"

#include <QColor>
#include <QObject>
#include <QVector>
#include <utility>

class QTabWidget;

// Gives the pager's tabs their shape and colours and paints the pages' background
// for one of the four pager styles. The page background runs from the style's top
// shade to its bottom shade through the shades that the design gives controls
// painting their own background, each at the height of its control, so that
// those sit on the page without a visible patch.
namespace ui {

class PagerStyler : public QObject
{
    Q_OBJECT
public:
    // Takes the pages the pager has now; call after its pages are added.
    explicit PagerStyler(QTabWidget* pager);

    void setStyle(settings::PagerStyle style);
    settings::PagerStyle style() const { return m_style; }
    // Controls of a page whose background the page must match where they stand.
    void setShades(const QVector<std::pair<const QWidget*, QColor>>& shades);
    // The page background at a height in pixels from the top of a page.
    QColor pageColourAt(int y) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QVector<std::pair<qreal, QColor>> pageStops() const;

    QTabWidget* m_pager;
    settings::PagerStyle m_style = settings::PagerStyle::psOffice2003Blue;
    QColor m_top;
    QColor m_bottom;
    QVector<std::pair<const QWidget*, QColor>> m_shades;
};

} // namespace ui
