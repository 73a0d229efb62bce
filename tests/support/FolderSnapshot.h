#pragma once

#include <filesystem>
#include <map>
#include <ostream>
#include <string>

namespace testsupport {

// What a test cares about of a file: its bytes and its last-write time.
struct FileSnapshot
{
    std::string content;
    std::filesystem::file_time_type time;
    bool operator==(const FileSnapshot&) const = default;
};

// Every entry directly in a folder by name; folders and other non-files show with
// the content "<not a file>".
using FolderSnapshot = std::map<std::string, FileSnapshot>;

FolderSnapshot SnapshotFolder(const std::filesystem::path& folder);

void PrintTo(const FileSnapshot& file, std::ostream* os);

} // namespace testsupport
