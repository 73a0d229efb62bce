#include "ui/Fonts.h"

#include <QFont>
#include <QStringList>

namespace ui {

void InstallFontSubstitutes()
{
    // Tahoma and MS Sans Serif are narrower than the usual fallback sans; a
    // condensed face of the same width keeps long captions inside their labels.
    const QStringList narrow = {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans")};
    for (const char* family : {"Tahoma", "MS Sans Serif"})
        QFont::insertSubstitutions(QString::fromLatin1(family), narrow);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans Condensed")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("Nimbus Mono PS"),
                                QStringLiteral("DejaVu Sans Mono")});
}

} // namespace ui
