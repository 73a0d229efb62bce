#pragma once

#include "sync/FileRow.h"

#include <cstdint>
#include <optional>
#include <string>

namespace testsupport {

// A row as a refresh would make it, shown under its own name.
inline filesync::FileRow Row(const std::string& name, int status = 0,
                             std::optional<std::uint32_t> serverTime = std::nullopt,
                             std::optional<std::uint32_t> localTime = std::nullopt)
{
    filesync::FileRow row;
    row.name = name;
    row.displayName = name;
    row.serverTime = serverTime;
    row.localTime = localTime;
    row.status = status;
    return row;
}

} // namespace testsupport
