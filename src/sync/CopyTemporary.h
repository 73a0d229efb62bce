#pragma once

#include "platform/AtomicFile.h"

#include <string_view>

namespace filesync {

// A copy over a local file is written under a name with this prefix in the same
// folder and renamed when complete; such names are never presentations.
inline constexpr std::string_view kCopyTemporaryPrefix = platform::kTemporaryFilePrefix;

inline bool IsCopyTemporaryName(std::string_view name)
{
    return name.starts_with(kCopyTemporaryPrefix);
}

} // namespace filesync
