#pragma once

#include "sync/CommandResult.h"
#include "sync/FileRow.h"
#include "sync/ServerCopy.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Updating every local copy that is older than the server's or missing, as a plan
// made from the rows and its execution row by row.
namespace filesync {

inline constexpr std::string_view kBulkUpdateQuestion =
    "Auf dem Server befinden sich neuere Dateien\rWollen Sie lokale Dateien jetz aktuallisieren?";

// Status 2 or 3: the server has a newer file, or one the local folder lacks.
bool NeedsUpdate(int status);

// Whether the command has anything to do; without such a row it does nothing at all.
bool HasRowsToUpdate(const std::vector<FileRow>& rows);

// The update needs both local folders, not only the current one.
bool BothLocalFoldersExist(const std::string& germanLocalFolder, const std::string& englishLocalFolder);

// The progress bar's position after the row at position (counting from 1), with
// count rows to update: position times the step 100 / count, rounded to the
// nearest whole number with halves to the even one, at most 100. 0 when count is 0.
int BulkUpdateProgress(std::size_t position, std::size_t count);

struct BulkUpdateStep
{
    std::size_t position = 0; // of the row, counting from 1
    bool copy = false;        // the row needs an update
    std::string source;       // server path, for a copy
    std::string target;       // local path, for a copy
    int progress = 0;         // the bar's position once the row is done
};

// One step for every row, in row order; the bar follows the rows, not the copies.
struct BulkUpdatePlan
{
    std::string localFolder;
    std::size_t count = 0; // rows to update
    std::vector<BulkUpdateStep> steps;
};

BulkUpdatePlan PlanBulkUpdate(const std::vector<FileRow>& rows, const std::string& localFolder,
                              const std::string& serverFolder);

// Reported after each row: code Done for a copy, CopyFailed with the message for a
// failed one, Nothing for a row without update or whose server file is gone.
struct BulkRowReport
{
    std::size_t position = 0;
    int progress = 0;
    CommandResult result;
};
using BulkRowCallback = std::function<void(const BulkRowReport&)>;

struct BulkUpdateSummary
{
    std::size_t copied = 0;
    std::size_t failed = 0;
    std::size_t passedOver = 0; // server file gone
};

// Runs the plan row by row; a failed copy does not stop it. Leftovers of an
// interrupted copy are cleared from the local folder first. The window refreshes
// the list afterwards in any case.
BulkUpdateSummary ExecuteBulkUpdate(const BulkUpdatePlan& plan, const BulkRowCallback& afterRow,
                                    const CopyChunkCallback& afterChunk = {});

} // namespace filesync
