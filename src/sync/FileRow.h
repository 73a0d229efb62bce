#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace filesync {

// One row of a file list: a file of the local folder, of the server folder, or of both.
struct FileRow
{
    // The name's bytes as the file system holds them; paths for copy, delete and
    // open are built from this, never from displayName.
    std::string name;
    // The name as UTF-8 for showing: name itself when it is valid UTF-8, else read
    // as Windows-1252 (names on older shares are written in that code page).
    std::string displayName;
    // Packed DOS date-times of the last write, local time; empty where that side
    // has no file (or the server side was not looked at).
    std::optional<std::uint32_t> serverTime;
    std::optional<std::uint32_t> localTime;
    int status = 0; // a FileStatus
    // Both sides present with equal sizes and times exactly one hour apart: most
    // likely the same file read through a summer-time shift. The status stays.
    bool oneHourApart = false;
    // The server entry's own name where it differs from name in letter case only
    // (the two were matched ignoring case), else empty. An update reads the server's
    // entry and writes over the local one, keeping the local spelling.
    std::string serverName{};

    bool operator==(const FileRow&) const = default;
};

// The name of the row's file on the server.
inline const std::string& ServerNameOf(const FileRow& row)
{
    return row.serverName.empty() ? row.name : row.serverName;
}

} // namespace filesync
