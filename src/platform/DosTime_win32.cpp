#include "platform/DosTime.h"

#include "platform/WinSeam_win32.h"

#include <windows.h>

namespace platform {
namespace {

FILETIME ToFileTime(std::uint64_t ticks)
{
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

} // namespace

// Local time by the zone's present offset, as the system's own tools show file
// times; the conversion back uses the same offset, so a time survives the round trip.
std::optional<std::uint32_t> ToDosDateTime(std::filesystem::file_time_type time)
{
    const FILETIME utc = ToFileTime(win::ToFileTimeTicks(time));
    FILETIME local;
    SYSTEMTIME calendar;
    WORD date = 0;
    WORD tod = 0;
    // The year is checked here as well: not every implementation of the packing
    // refuses the years past 2107 that would wrap around.
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &calendar) ||
        calendar.wYear < 1980 || calendar.wYear > 2107 || !::FileTimeToDosDateTime(&local, &date, &tod))
        return std::nullopt;
    return (static_cast<std::uint32_t>(date) << 16) | tod;
}

// The present offset is one value for every time, so there is nothing to remember.
std::optional<std::uint32_t> DosTimeConverter::ToDos(std::filesystem::file_time_type time)
{
    return ToDosDateTime(time);
}

std::filesystem::file_time_type FromDosDateTime(std::uint32_t dosTime)
{
    FILETIME local{};
    FILETIME utc{};
    ::DosDateTimeToFileTime(static_cast<WORD>(dosTime >> 16), static_cast<WORD>(dosTime & 0xFFFF), &local);
    ::LocalFileTimeToFileTime(&local, &utc);
    return win::FromFileTimeTicks((static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime);
}

} // namespace platform
