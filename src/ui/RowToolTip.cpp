#include "ui/RowToolTip.h"

#include "sync/FileStatus.h"
#include "sync/ListSummary.h"

#include <QDateTime>

namespace ui {

QString FullDateTimeText(std::uint32_t dosTime, const QLocale& locale)
{
    const std::uint32_t date = dosTime >> 16;
    const std::uint32_t time = dosTime & 0xFFFF;
    const QDate day(static_cast<int>((date >> 9) & 0x7F) + 1980, static_cast<int>((date >> 5) & 0x0F),
                    static_cast<int>(date & 0x1F));
    const QTime clock(static_cast<int>(time >> 11), static_cast<int>((time >> 5) & 0x3F),
                      static_cast<int>((time & 0x1F) * 2));
    return locale.toString(day, QLocale::LongFormat) + QStringLiteral(", ") +
           locale.toString(clock, QStringLiteral("HH:mm:ss"));
}

QString RowToolTip(const filesync::FileRow& row, const QLocale& locale, const QString& unreachableCause)
{
    const auto dateLine = [&](const QString& side, const std::optional<std::uint32_t>& time) {
        return side + QStringLiteral(": ") +
               (time ? FullDateTimeText(*time, locale) : QStringLiteral("keine Datei"));
    };
    const std::string_view legend = filesync::StatusLegendText(row.status);
    QString tip = QString::fromStdString(row.displayName) + '\n' +
                  QString::fromUtf8(legend.data(), static_cast<qsizetype>(legend.size())) + '\n';
    // The picture alone cannot tell a share that is not mounted here from a missing folder.
    if (row.status == filesync::StatusServerFolderMissing && !unreachableCause.isEmpty())
        tip += QStringLiteral("Ursache: ") + unreachableCause + '\n';
    tip += dateLine(QStringLiteral("Server"), row.serverTime) + '\n' +
           dateLine(QStringLiteral("Lokal"), row.localTime);
    // Times one hour apart are most likely no change at all; the row says so.
    if (row.oneHourApart) {
        const std::string_view hint = filesync::OneHourApartHint();
        tip += '\n' + QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size()));
    }
    return tip;
}

} // namespace ui
