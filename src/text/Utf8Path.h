#pragma once

#include "text/Utf8.h"

#include <filesystem>
#include <string>
#include <string_view>

// Paths from and to the program's UTF-8 text. The standard library takes a narrow
// string as a path in the system's own narrow encoding, which is not UTF-8 on every
// system (an ANSI code page on Windows): a name like "Präsentation.ppt" would
// become another name there.
namespace text {

// Text that is no valid UTF-8 (a name's raw bytes) is handed on as it is.
inline std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    if (!IsValidUtf8(utf8))
        return {utf8};
    return {std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size())};
}

inline std::string Utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

} // namespace text
