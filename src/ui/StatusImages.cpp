#include "ui/StatusImages.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace ui {
namespace {

const QColor kIdenticalBlue(0x03, 0x63, 0xBD);
const QColor kFrameBlue(0x03, 0x49, 0xBD);
const QColor kCream(0xFF, 0xE3, 0xB1);
const QColor kOrangeRed(0xFF, 0x48, 0x1D);
const QColor kFrameOrangeRed(0xE9, 0x29, 0x03);
const QColor kCrimson(0xE2, 0x04, 0x72);
const QColor kLocalNewerBlue(0x11, 0x38, 0xFF);
const QColor kDarkViolet(0x1C, 0x09, 0x35);

// The square inside the 16 x 16 cell; the corners stay transparent.
const QRect kSquare(1, 1, 14, 14);

QPixmap Draw(int status)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const auto framed = [&](const QColor& top, const QColor& bottom) {
        p.fillRect(kSquare, kCream);
        p.fillRect(QRect(1, 1, 14, 2), top);     // upper edge
        p.fillRect(QRect(1, 1, 2, 14), top);     // left edge
        p.fillRect(QRect(1, 13, 14, 2), bottom); // lower edge
        p.fillRect(QRect(13, 1, 2, 14), bottom); // right edge
    };
    switch (status) {
    case 0:
        p.fillRect(kSquare, kIdenticalBlue);
        break;
    case 1:
        framed(kFrameBlue, kFrameBlue);
        break;
    case 2:
        p.fillRect(kSquare, kOrangeRed);
        break;
    case 3:
        framed(kFrameOrangeRed, kFrameOrangeRed);
        break;
    case 4: {
        QPainterPath upperLeft;
        upperLeft.moveTo(1, 1);
        upperLeft.lineTo(15, 1);
        upperLeft.lineTo(1, 15);
        upperLeft.closeSubpath();
        p.fillRect(kSquare, kLocalNewerBlue);
        p.fillPath(upperLeft, kCrimson);
        p.setPen(Qt::black);
        p.drawRect(QRect(1, 1, 13, 13));
        break;
    }
    case 5:
        p.fillRect(kSquare, kDarkViolet);
        break;
    case 6:
        p.fillRect(kSquare, Qt::white);
        break;
    case 7:
        framed(kFrameBlue, kFrameOrangeRed);
        break;
    default:
        break;
    }
    return pixmap;
}

} // namespace

const QPixmap& StatusImage(int status)
{
    static const std::array<QPixmap, kStatusImageCount> images = [] {
        std::array<QPixmap, kStatusImageCount> all;
        for (int i = 0; i < kStatusImageCount; ++i)
            all[static_cast<std::size_t>(i)] = Draw(i);
        return all;
    }();
    static const QPixmap none;
    if (status < 0 || status >= kStatusImageCount)
        return none;
    return images[static_cast<std::size_t>(status)];
}

const QIcon& StatusIcon(int status)
{
    static const std::array<QIcon, kStatusImageCount> icons = [] {
        std::array<QIcon, kStatusImageCount> all;
        for (int i = 0; i < kStatusImageCount; ++i) {
            QIcon& icon = all[static_cast<std::size_t>(i)];
            icon.addPixmap(StatusImage(i), QIcon::Normal);
            icon.addPixmap(StatusImage(i), QIcon::Selected);
        }
        return all;
    }();
    static const QIcon none;
    if (status < 0 || status >= kStatusImageCount)
        return none;
    return icons[static_cast<std::size_t>(status)];
}

} // namespace ui
