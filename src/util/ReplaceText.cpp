#include "util/z_global.h"

#include "platform/TextCase.h"
#include "text/Utf8.h"

#include <algorithm>
#include <vector>

namespace util {
namespace {

// One character of the text: a code point, or a byte that is not part of a
// well-formed sequence, which is kept as it is and never changes case.
struct Char
{
    char32_t value;
    bool raw;
    std::size_t offset;
    std::size_t length;

    bool operator==(const Char& other) const { return value == other.value && raw == other.raw; }
};

std::vector<Char> SplitChars(std::string_view text)
{
    std::vector<Char> chars;
    for (std::size_t i = 0; i < text.size();) {
        if (const auto d = ::text::DecodeUtf8At(text, i)) {
            chars.push_back({d->codePoint, false, i, d->length});
            i += d->length;
        } else {
            chars.push_back({static_cast<unsigned char>(text[i]), true, i, 1});
            ++i;
        }
    }
    return chars;
}

Char Lower(Char c)
{
    if (!c.raw)
        c.value = platform::ToLowerChar(c.value);
    return c;
}

bool IsUpperLetter(const Char& c)
{
    return !c.raw && platform::ToLowerChar(c.value) != c.value;
}

void AppendChar(std::string& out, std::string_view text, const Char& c)
{
    if (c.raw)
        out += text.substr(c.offset, 1);
    else
        ::text::AppendUtf8(out, c.value);
}

} // namespace

std::string ReplaceText(std::string_view source, std::string_view pattern, std::string_view replacement,
                        int maxCount, int options)
{
    if (pattern.empty())
        return std::string(source);
    const bool ignoreCase = (options & ReplaceIgnoreCase) != 0;
    const bool preserveCase = (options & ReplacePreserveCase) != 0;

    const std::vector<Char> src = SplitChars(source);
    std::vector<Char> pat = SplitChars(pattern);
    if (ignoreCase)
        for (Char& c : pat)
            c = Lower(c);
    const std::vector<Char> rep = SplitChars(replacement);

    std::string out;
    out.reserve(source.size());
    int count = 0;
    std::size_t pos = 0;
    while (src.size() - pos >= pat.size()) {
        bool match = true;
        for (std::size_t k = 0; k < pat.size() && match; ++k)
            match = (ignoreCase ? Lower(src[pos + k]) : src[pos + k]) == pat[k];
        if (!match) {
            out += source.substr(src[pos].offset, src[pos].length);
            ++pos;
            continue;
        }
        for (std::size_t k = 0; k < rep.size(); ++k) {
            if (!preserveCase) {
                out += replacement.substr(rep[k].offset, rep[k].length);
                continue;
            }
            // Beyond the end of the match the last matched character sets the case.
            const Char& model = src[pos + std::min(k, pat.size() - 1)];
            Char c = rep[k];
            if (!c.raw)
                c.value =
                    IsUpperLetter(model) ? platform::ToUpperChar(c.value) : platform::ToLowerChar(c.value);
            AppendChar(out, replacement, c);
        }
        pos += pat.size();
        if (++count == maxCount)
            break;
    }
    if (pos < src.size())
        out += source.substr(src[pos].offset);
    return out;
}

} // namespace util
