#include "ui/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ui {

// Two arrows chasing each other round a circle, blue on the way down from the
// server, green on the way into the local folder.
QIcon UpdateGlyph()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(3.5, 3.5, 13, 13);
    const auto arrow = [&](int startAngle, const QColor& colour, const QPointF& tip, const QPointF& a,
                           const QPointF& b) {
        p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(circle, startAngle * 16, 140 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        QPainterPath head;
        head.moveTo(tip);
        head.lineTo(a);
        head.lineTo(b);
        head.closeSubpath();
        p.drawPath(head);
    };
    arrow(20, QColor(0x1C, 0x5A, 0xC8), QPointF(2.0, 10.5), QPointF(0.0, 6.5), QPointF(6.5, 7.5));
    arrow(200, QColor(0x2E, 0x9A, 0x3C), QPointF(18.0, 9.5), QPointF(20.0, 13.5), QPointF(13.5, 12.5));
    return QIcon(pixmap);
}

} // namespace ui
