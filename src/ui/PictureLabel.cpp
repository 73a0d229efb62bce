#include "ui/PictureLabel.h"

#include <QPainter>

namespace ui {

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent)
{}

void PictureLabel::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = pixmap();
    if (picture.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize fitted = picture.size().scaled(size() * ratio, Qt::KeepAspectRatio);
    QPixmap scaled = picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    const QSize shown = fitted / ratio;
    QPainter p(this);
    p.drawPixmap((width() - shown.width()) / 2, (height() - shown.height()) / 2, scaled);
}

} // namespace ui
