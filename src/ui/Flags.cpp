#include "ui/Flags.h"

#include <QImage>

namespace ui {
namespace {

QPixmap Load(const QString& resource)
{
    QImage image(resource);
    return QPixmap::fromImage(image);
}

} // namespace

QPixmap GermanFlag()
{
    static const QPixmap flag = Load(QStringLiteral(":/assets/flag_de.jpg"));
    return flag;
}

QPixmap BritishFlag()
{
    static const QPixmap flag = Load(QStringLiteral(":/assets/flag_gb.jpg"));
    return flag;
}

} // namespace ui
