#pragma once

#include <string>
#include <string_view>

// Letter case by the rules of the user's locale, for text in UTF-8.
// Bytes that are not valid UTF-8 pass through unchanged.
namespace platform {

char32_t ToLowerChar(char32_t c);
char32_t ToUpperChar(char32_t c);

// Appends to out a key under which two names that differ only in letter case are
// equal; keys of many names can so share one buffer.
void AppendFoldedCase(std::string& out, std::string_view utf8);

// The key of AppendFoldedCase as a string of its own.
inline std::string FoldCase(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    AppendFoldedCase(out, utf8);
    return out;
}

} // namespace platform
