#pragma once

#include "sync/FileRow.h"
#include "sync/ServerCopy.h"
#include "util/Outcome.h"

#include <string>
#include <string_view>

// The two commands on the selected row of the current set: update it from the
// server, or delete its local file.
namespace filesync {

inline constexpr std::string_view kDeleteFailedMessage = "Datei konnte nicht gelöscht werden";

// The confirmation texts, four lines joined by carriage returns; caption is the
// name as the list shows it.
std::string UpdateRowQuestion(std::string_view caption);
std::string DeleteRowQuestion(std::string_view caption);

// Copies the row's server file over its local file: Done, Nothing without a
// server file, Failed with the copy-failed message. Leftovers of an interrupted
// copy are cleared from the local folder first.
util::Outcome<> UpdateRow(const FileRow& row, const std::string& localFolder, const std::string& serverFolder,
                          const CopyChunkCallback& afterChunk = {});

// Deletes the row's local file for good: Done, Nothing without a regular file
// there, Failed with the delete-failed message (also for a read-only file).
util::Outcome<> DeleteRowLocally(const FileRow& row, const std::string& localFolder);

} // namespace filesync
