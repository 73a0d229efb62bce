#pragma once

#include "sync/CommandResult.h"
#include "sync/FileRow.h"
#include "sync/ServerCopy.h"

#include <string>
#include <string_view>

// The two commands on the selected row of the current set: update it from the
// server, or delete its local file.
namespace filesync {

// The confirmation texts, four lines joined by carriage returns; caption is the
// name as the list shows it.
std::string UpdateRowQuestion(std::string_view caption);
std::string DeleteRowQuestion(std::string_view caption);

// Copies the row's server file over its local file. No server file: nothing, and
// no refresh. Otherwise a refresh, with the copy-failed message when it failed.
// Leftovers of an interrupted copy are cleared from the local folder first.
CommandResult UpdateRow(const FileRow& row, const std::string& localFolder, const std::string& serverFolder,
                        const CopyChunkCallback& afterChunk = {});

// Deletes the row's local file for good. No regular file there: nothing. Refused
// (also a read-only file): the delete-failed message and no refresh. Deleted: a
// refresh.
CommandResult DeleteRowLocally(const FileRow& row, const std::string& localFolder);

} // namespace filesync
