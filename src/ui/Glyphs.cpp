#include "ui/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ui {
namespace {

// Draws on a 16-unit grid (20 for the update glyph), scaled to the pixel size.
template <typename Draw> QIcon Drawn(int size, qreal grid, Draw draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / grid, size / grid);
    draw(p);
    return QIcon(pixmap);
}

// A sheet of paper with a folded corner.
void Sheet(QPainter& p)
{
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(9.5, 0.5);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x6A, 0x6F, 0x78), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(0xDD, 0xE3, 0xEA));
    p.drawPolygon(QPolygonF({QPointF(9.5, 0.5), QPointF(9.5, 4.5), QPointF(13.5, 4.5)}));
}

} // namespace

// Two arrows chasing each other round a circle, blue on the way down from the
// server, green on the way into the local folder.
QIcon UpdateGlyph(int size)
{
    return Drawn(size, 20.0, [](QPainter& p) {
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
    });
}

// A sheet with a green "play" mark: the file the slide show starts with.
QIcon StartFileGlyph(int size)
{
    return Drawn(size, 16.0, [](QPainter& p) {
        Sheet(p);
        p.setPen(QPen(QColor(0x1E, 0x7B, 0x2E), 1));
        p.setBrush(QColor(0x3C, 0xB0, 0x4A));
        p.drawPolygon(QPolygonF({QPointF(5.0, 6.5), QPointF(11.5, 10.0), QPointF(5.0, 13.5)}));
    });
}

// A folder with a green plus: the current set kept under a new name.
QIcon SaveProfileGlyph(int size)
{
    return Drawn(size, 16.0, [](QPainter& p) {
        p.setPen(QPen(QColor(0xA8, 0x7A, 0x1E), 1));
        p.setBrush(QColor(0xF2, 0xC9, 0x5C));
        QPainterPath folder;
        folder.moveTo(0.5, 3.5);
        folder.lineTo(5.5, 3.5);
        folder.lineTo(7.0, 5.0);
        folder.lineTo(13.5, 5.0);
        folder.lineTo(13.5, 13.5);
        folder.lineTo(0.5, 13.5);
        folder.closeSubpath();
        p.drawPath(folder);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2E, 0x9A, 0x3C));
        p.drawEllipse(QRectF(8.5, 8.5, 7.5, 7.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9.9, 11.7, 4.7, 1.3));
        p.drawRect(QRectF(11.6, 10.0, 1.3, 4.7));
    });
}

// A red cross.
QIcon DeleteGlyph(int size)
{
    return Drawn(size, 16.0, [](QPainter& p) {
        p.setPen(QPen(QColor(0xC8, 0x28, 0x28), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    });
}

// A pencil writing across a sheet.
QIcon EditGlyph(int size)
{
    return Drawn(size, 16.0, [](QPainter& p) {
        Sheet(p);
        p.setPen(QPen(QColor(0x9A, 0xA6, 0xB4), 1));
        for (qreal y : {7.5, 10.0, 12.5})
            p.drawLine(QPointF(4.5, y), QPointF(8.5, y));
        p.translate(10.0, 9.0);
        p.rotate(45);
        p.setPen(QPen(QColor(0x7A, 0x4E, 0x12), 0.8));
        p.setBrush(QColor(0xF0, 0xB0, 0x30));
        p.drawRect(QRectF(-1.6, -7.0, 3.2, 9.0));
        p.setBrush(QColor(0xF4, 0xD8, 0xB0));
        p.drawPolygon(QPolygonF({QPointF(-1.6, 2.0), QPointF(1.6, 2.0), QPointF(0.0, 5.0)}));
    });
}

} // namespace ui
