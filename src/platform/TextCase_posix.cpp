#include "platform/TextCase.h"

#include "text/Utf8.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace platform {
namespace {

// The user's LC_CTYPE where it is a UTF-8 locale, else C.UTF-8, so that case
// mapping covers all of Unicode whatever the process's global locale is.
locale_t CaseLocale()
{
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "", locale_t{});
        if (l) {
            locale_t probe = uselocale(l);
            const bool utf8 = std::towupper(L'\u00e4') == L'\u00c4';
            uselocale(probe);
            if (utf8)
                return l;
            freelocale(l);
        }
        l = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        return l ? l : newlocale(LC_CTYPE_MASK, "C", locale_t{});
    }();
    return loc;
}

} // namespace

char32_t ToLowerChar(char32_t c)
{
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), CaseLocale()));
}

char32_t ToUpperChar(char32_t c)
{
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), CaseLocale()));
}

void AppendFoldedCase(std::string& out, std::string_view utf8)
{
    if (text::IsAscii(utf8)) {
        text::AppendAsciiInCase(out, utf8, text::LetterCase::Lower);
        return;
    }
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : static_cast<char>(b));
            ++i;
            continue;
        }
        const auto decoded = text::DecodeUtf8At(utf8, i);
        if (!decoded) {
            // Keep stray bytes as they are: such names only match byte for byte.
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        text::AppendUtf8(out, ToLowerChar(decoded->codePoint));
        i += decoded->length;
    }
}

} // namespace platform
