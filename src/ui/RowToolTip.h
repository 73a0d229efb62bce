#pragma once

#include "sync/FileRow.h"

#include <QLocale>
#include <QString>

// What hovering a row of a file list tells: the file's name, its status in the
// legend's words and both dates in full. The one place that composes it, so that
// whatever a row has to say later is added here.
namespace ui {

// unreachableCause: why the server folder could not be reached, shown on the rows
// that say so; empty when the cause is an ordinary one.
QString RowToolTip(const filesync::FileRow& row, const QLocale& locale, const QString& unreachableCause = {});

// A packed DOS date-time written out in full: weekday, date and time of day.
QString FullDateTimeText(std::uint32_t dosTime, const QLocale& locale);

} // namespace ui
