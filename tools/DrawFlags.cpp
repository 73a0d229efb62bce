// Draws the two flag pictures from the flags' official construction sheets and
// writes them as JPEG files: tools/draw_flags <output folder>.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

// Federal flag of Germany: 3:5, three horizontal bands of equal height.
QImage GermanFlag(int height)
{
    const int width = height * 5 / 3;
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    const QColor bands[] = {QColor(0x00, 0x00, 0x00), QColor(0xDD, 0x00, 0x00), QColor(0xFF, 0xCE, 0x00)};
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRect(0, height * i / 3, width, height * (i + 1) / 3 - height * i / 3), bands[i]);
    return image;
}

// Union Flag: 1:2, drawn on a 60 x 30 grid. White saltire 6 wide, red saltire 2
// wide set 1 off the diagonal (counterchanged), white cross 10, red cross 6.
QImage BritishFlag(int height)
{
    const QColor blue(0x01, 0x21, 0x69);
    const QColor red(0xC8, 0x10, 0x2E);
    QImage image(height * 2, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(height / 30.0, height / 30.0);
    p.fillRect(QRectF(0, 0, 60, 30), blue);

    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QLineF(0, 0, 60, 30));
    p.drawLine(QLineF(0, 30, 60, 0));

    // Unit normal of the two diagonals (length 1 on the 60 x 30 grid).
    const double len = std::sqrt(60.0 * 60.0 + 30.0 * 30.0);
    const QPointF n1(-30.0 / len, 60.0 / len); // perpendicular to (0,0)-(60,30), pointing down-left
    const QPointF n2(30.0 / len, 60.0 / len);  // perpendicular to (0,30)-(60,0), pointing down-right
    p.setPen(QPen(red, 2, Qt::SolidLine, Qt::FlatCap));
    const auto quarter = [&](const QRectF& clip, const QLineF& diagonal, const QPointF& offset) {
        p.save();
        p.setClipRect(clip);
        p.drawLine(diagonal.translated(offset));
        p.restore();
    };
    // Hoist top and fly bottom: the red lies on the lower side in the hoist, upper in the fly.
    quarter(QRectF(0, 0, 30, 15), QLineF(0, 0, 60, 30), n1);
    quarter(QRectF(30, 15, 30, 15), QLineF(0, 0, 60, 30), -n1);
    // Fly top and hoist bottom.
    quarter(QRectF(30, 0, 30, 15), QLineF(0, 30, 60, 0), -n2);
    quarter(QRectF(0, 15, 30, 15), QLineF(0, 30, 60, 0), n2);

    p.fillRect(QRectF(25, 0, 10, 30), Qt::white);
    p.fillRect(QRectF(0, 10, 60, 10), Qt::white);
    p.fillRect(QRectF(27, 0, 6, 30), red);
    p.fillRect(QRectF(0, 12, 60, 6), red);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_flags <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = GermanFlag(60).save(folder + "/flag_de.jpg", "JPEG", 95) &&
                    BritishFlag(60).save(folder + "/flag_gb.jpg", "JPEG", 95);
    return ok ? 0 : 1;
}
