#include "util/z_global.h"

#include "text/Utf8.h"

#include <algorithm>
#include <array>

namespace util {
namespace {

constexpr std::array<std::string_view, 23> kReservedNames = {
    "AUX",  "NUL",  "PRN",  "CON",  "CLOCK$", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3",   "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

constexpr std::string_view kRefusedChars = "\"*/<>?\\|";

std::size_t CharCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const auto d = ::text::DecodeUtf8At(text, i);
        i += d ? d->length : 1;
    }
    return count;
}

} // namespace

bool IsValidName(std::string_view name)
{
    if (name.empty() || name.back() == '.')
        return false;
    // A zero character would cut the folder name short where the system reads it.
    if (name.find_first_of(kRefusedChars) != std::string_view::npos ||
        name.find('\0') != std::string_view::npos)
        return false;
    const std::size_t chars = CharCount(name);
    if (chars >= 3 && chars <= 6) {
        std::string upper(name);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
        if (std::find(kReservedNames.begin(), kReservedNames.end(), upper) != kReservedNames.end())
            return false;
    }
    return true;
}

} // namespace util
