#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace filesync {

struct FileRow
{
    std::string name;        // the name's real bytes as the file system has them (used to build paths)
    std::string displayName; // UTF-8 for showing: name itself when valid UTF-8, else util::Windows1252FallbackToUtf8(name)
    std::optional<std::uint32_t> serverTime; // packed DOS date-time, local time
    std::optional<std::uint32_t> localTime;
    int status = 1;
};

} // namespace filesync
