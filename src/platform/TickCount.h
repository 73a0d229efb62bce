#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, wrapping around at 2^32.
std::uint32_t TickCount();

} // namespace platform
