#pragma once

#include <cstdint>

namespace filesync {

// True when two packed DOS date-times lie one hour apart, give or take one step of
// the format (two seconds), either way round. A copy whose file system keeps its
// times in local time shows exactly this gap after a change to or from summer
// time, although nobody touched the file.
bool IsOneHourApart(std::uint32_t a, std::uint32_t b);

} // namespace filesync
