#include "ui/PictureLabel.h"

#include <QPainter>
#include <QPainterPath>

namespace ui {

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent)
{}

void PictureLabel::setMark(ReadyMark mark)
{
    if (m_mark == mark)
        return;
    m_mark = mark;
    update();
}

void PictureLabel::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = pixmap();
    if (picture.isNull()) {
        QLabel::paintEvent(event);
    } else {
        const qreal ratio = devicePixelRatioF();
        const QSize fitted = picture.size().scaled(size() * ratio, Qt::KeepAspectRatio);
        QPixmap scaled = picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        const QSize shown = fitted / ratio;
        QPainter p(this);
        p.drawPixmap((width() - shown.width()) / 2, (height() - shown.height()) / 2, scaled);
    }
    if (m_mark != ReadyMark::None) {
        QPainter p(this);
        PaintMark(p);
    }
}

void PictureLabel::PaintMark(QPainter& p) const
{
    // Colours that stay apart for the usual kinds of colour blindness also by
    // their sign, and stand out against both flags.
    QColor fill;
    switch (m_mark) {
    case ReadyMark::Ready:
        fill = QColor(0x1E, 0x8C, 0x3A);
        break;
    case ReadyMark::NotReady:
        fill = QColor(0xD0, 0x2B, 0x1B);
        break;
    default:
        fill = QColor(0x80, 0x80, 0x80);
        break;
    }
    p.setRenderHint(QPainter::Antialiasing);
    const qreal d = qMin(width(), height()) * 0.62;
    const QRectF badge(width() - d - 0.5, height() - d - 0.5, d, d);
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(fill);
    p.drawEllipse(badge);

    p.setPen(QPen(Qt::white, qMax(1.4, d / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const auto at = [&badge](qreal x, qreal y) {
        return QPointF(badge.left() + x * badge.width(), badge.top() + y * badge.height());
    };
    switch (m_mark) {
    case ReadyMark::Ready: {
        QPainterPath tick;
        tick.moveTo(at(0.27, 0.52));
        tick.lineTo(at(0.44, 0.69));
        tick.lineTo(at(0.74, 0.33));
        p.drawPath(tick);
        break;
    }
    case ReadyMark::NotReady:
        p.drawLine(at(0.5, 0.24), at(0.5, 0.56));
        p.drawPoint(at(0.5, 0.76));
        break;
    default: {
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(qMax(6, int(d * 0.8)));
        p.setFont(f);
        p.drawText(badge, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

} // namespace ui
