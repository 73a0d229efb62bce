#include "platform/TickCount.h"

#include <windows.h>

namespace platform {

std::uint32_t TickCount()
{
    return static_cast<std::uint32_t>(::GetTickCount());
}

} // namespace platform
