#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct FolderEntry
{
    std::string name; // the name's bytes as the file system holds them
    std::filesystem::file_time_type lastWriteTime;
    std::uint64_t size = 0; // in bytes
};

// The regular files lying directly in the folder, in the order the file system
// returns them, each with its last-write time. A link counts as the file it leads
// to; a dangling link, subfolders and other kinds of entry are left out, and so is
// an entry that vanishes while the folder is read. Hidden files are included.
// Empty when the folder cannot be read: missing, not a folder, no permission, or a
// read error part way through (a partial listing would pass for a complete one).
// One folder read and at most one status query per entry; files are not opened.
std::optional<std::vector<FolderEntry>> ListFolderFlat(const std::string& folder);

} // namespace platform
