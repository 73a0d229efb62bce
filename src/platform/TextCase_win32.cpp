#include "platform/TextCase.h"

#include "platform/WinSeam_win32.h"
#include "text/Utf8.h"

#include <windows.h>

namespace platform {
namespace {

std::wstring Utf16Of(char32_t c)
{
    if (c < 0x10000)
        return std::wstring(1, static_cast<wchar_t>(c));
    const char32_t v = c - 0x10000;
    return {static_cast<wchar_t>(0xD800 + (v >> 10)), static_cast<wchar_t>(0xDC00 + (v & 0x3FF))};
}

std::wstring MapCase(const wchar_t* locale, DWORD flags, const std::wstring& text)
{
    if (text.empty())
        return text;
    const int size = static_cast<int>(text.size());
    const int length = ::LCMapStringEx(locale, flags, text.data(), size, nullptr, 0, nullptr, nullptr, 0);
    if (length <= 0)
        return text;
    std::wstring mapped(static_cast<std::size_t>(length), L'\0');
    ::LCMapStringEx(locale, flags, text.data(), size, mapped.data(), length, nullptr, nullptr, 0);
    return mapped;
}

// One character by the user's locale; a character whose mapping is no single
// character stays as it is.
char32_t MapChar(char32_t c, DWORD flags)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return c;
    const std::wstring mapped =
        MapCase(LOCALE_NAME_USER_DEFAULT, flags | LCMAP_LINGUISTIC_CASING, Utf16Of(c));
    if (mapped.size() == 1 && !(mapped[0] >= 0xD800 && mapped[0] <= 0xDFFF))
        return mapped[0];
    if (mapped.size() == 2 && mapped[0] >= 0xD800 && mapped[0] <= 0xDBFF && mapped[1] >= 0xDC00 &&
        mapped[1] <= 0xDFFF)
        return 0x10000 + ((static_cast<char32_t>(mapped[0]) - 0xD800) << 10) + (mapped[1] - 0xDC00);
    return c;
}

} // namespace

char32_t ToLowerChar(char32_t c)
{
    return MapChar(c, LCMAP_LOWERCASE);
}

char32_t ToUpperChar(char32_t c)
{
    return MapChar(c, LCMAP_UPPERCASE);
}

// The file system matches names by the system's own upper-case table, whatever
// the user's language: the invariant upper case gives the same key.
void AppendFoldedCase(std::string& out, std::string_view utf8)
{
    if (text::IsAscii(utf8)) {
        // The invariant upper case of plain ASCII, without the round trip through UTF-16.
        text::AppendAsciiInCase(out, utf8, text::LetterCase::Upper);
        return;
    }
    std::size_t i = 0;
    while (i < utf8.size()) {
        // A run of well-formed text is mapped in one go; stray bytes stay as they
        // are, so that such names only match byte for byte.
        const std::size_t start = i;
        while (i < utf8.size()) {
            const auto decoded = text::DecodeUtf8At(utf8, i);
            if (!decoded)
                break;
            i += decoded->length;
        }
        if (i > start)
            out += win::ToUtf8(
                MapCase(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, win::ToWide(utf8.substr(start, i - start))));
        if (i < utf8.size())
            out.push_back(utf8[i++]);
    }
}

} // namespace platform
