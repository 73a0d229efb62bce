#pragma once

#include <string>
#include <string_view>

// Letter case by the rules of the user's locale, for text in UTF-8.
// Bytes that are not valid UTF-8 pass through unchanged.
namespace platform {

char32_t ToLowerChar(char32_t c);
char32_t ToUpperChar(char32_t c);

// A key under which two names that differ only in letter case are equal.
std::string FoldCase(std::string_view utf8);

} // namespace platform
