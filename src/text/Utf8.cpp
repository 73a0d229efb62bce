#include "text/Utf8.h"

namespace text {
namespace {

// Windows-1252 at 0x80..0x9F. The five positions the code page leaves undefined map
// to the C1 controls of the same number, so that no byte is dropped or replaced and
// two names that differ only in such a byte still show as different names.
constexpr char32_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::string Windows1252FallbackToUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (std::size_t i = 0; i < s.size();) {
        if (const auto d = DecodeUtf8At(s, i)) {
            out.append(s.substr(i, d->length));
            i += d->length;
            continue;
        }
        const auto b = static_cast<unsigned char>(s[i]);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char32_t{b});
        ++i;
    }
    return out;
}

} // namespace text
