#pragma once

#include "sync/FileRow.h"
#include "sync/ServerCopy.h"
#include "util/StepPlan.h"

#include <string>
#include <string_view>
#include <vector>

// Updating every local copy that is older than the server's or missing, as a plan
// made from the rows.
namespace filesync {

inline constexpr std::string_view kBulkUpdateQuestion =
    "Auf dem Server befinden sich neuere Dateien\rWollen Sie lokale Dateien jetz aktuallisieren?";

// Whether the command has anything to do; without such a row it does nothing at all.
bool HasRowsToUpdate(const std::vector<FileRow>& rows);

// The update needs both local folders, not only the current one.
bool BothLocalFoldersExist(const std::string& germanLocalFolder, const std::string& englishLocalFolder);

// One step for every row, in row order, so the bar follows the rows, not the
// copies: a row that needs an update copies its server file over the local one
// (Done, Nothing when the server file is gone, Failed with the copy-failed
// message), any other row does nothing. The copies share one CopyBatch: they reach
// the disk a batch at a time, all are in place by the report of the last row with a
// copy, and one that cannot be placed is told as a late failure (StepObserver).
// Leftovers of an interrupted copy are cleared from the local folder first.
util::StepPlan PlanBulkUpdate(const std::vector<FileRow>& rows, const std::string& localFolder,
                              const std::string& serverFolder, const CopyChunkCallback& afterChunk = {});

} // namespace filesync
