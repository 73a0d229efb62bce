#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Small UTF-8 helpers shared by the core and the platform layer (header-only so
// that the platform library does not depend on the core library).
namespace text {

struct DecodedChar
{
    char32_t codePoint;
    std::size_t length;
};

// The code point that starts at byte i, or nothing when the bytes there are not
// well-formed UTF-8 (overlong forms and surrogates count as malformed).
inline std::optional<DecodedChar> DecodeUtf8At(std::string_view s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80)
        return DecodedChar{b0, 1};
    std::size_t len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + len > s.size())
        return std::nullopt;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    return DecodedChar{cp, len};
}

inline void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Whether every byte is below 0x80. Most file names are plain ASCII, and the
// checks and case folds of a folder's listing take this quick way for them.
inline bool IsAscii(std::string_view s)
{
    unsigned char any = 0;
    for (const char c : s)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

enum class LetterCase
{
    Lower,
    Upper
};

// Appends plain ASCII text with its letters in the one case. One loop without a
// branch per letter, which the compiler turns into wide instructions.
inline void AppendAsciiInCase(std::string& out, std::string_view ascii, LetterCase letterCase)
{
    const char first = letterCase == LetterCase::Lower ? 'A' : 'a';
    const char shift = letterCase == LetterCase::Lower ? 'a' - 'A' : 'A' - 'a';
    const std::size_t start = out.size();
    out.append(ascii);
    char* const end = out.data() + out.size();
    for (char* c = out.data() + start; c != end; ++c)
        *c = static_cast<char>(*c >= first && *c <= first + 25 ? *c + shift : *c);
}

inline bool IsValidUtf8(std::string_view s)
{
    if (IsAscii(s))
        return true;
    for (std::size_t i = 0; i < s.size();) {
        const auto d = DecodeUtf8At(s, i);
        if (!d)
            return false;
        i += d->length;
    }
    return true;
}

// Text for display: valid UTF-8 stays as it is; otherwise every byte that is not
// part of a well-formed sequence is read as Windows-1252, the code page that older
// settings files, profile descriptions and file names on older shares are written in.
std::string Windows1252FallbackToUtf8(std::string_view s);

} // namespace text
