#pragma once

#include <string>
#include <string_view>

namespace text {

// "%XX" (two hexadecimal digits) turned into its byte, as addresses and the
// desktop's mount names write reserved characters; a '%' not followed by two
// such digits stays as it is.
std::string PercentDecoded(std::string_view s);

} // namespace text
