#include "sync/TimeShift.h"

#include <chrono>

namespace filesync {
namespace {

// The wall-clock time the value names, in seconds since 1980, read without any
// time zone: what matters is how far apart two clocks read, not when that was.
std::int64_t WallClockSeconds(std::uint32_t dosTime)
{
    using namespace std::chrono;
    const std::uint32_t date = dosTime >> 16;
    const year_month_day day{year(static_cast<int>((date >> 9) & 0x7F) + 1980), month((date >> 5) & 0x0F),
                             std::chrono::day(date & 0x1F)};
    const std::int64_t days = sys_days(day).time_since_epoch().count();
    const std::uint32_t tod = dosTime & 0xFFFF;
    const std::int64_t hours = (tod >> 11) & 0x1F;
    const std::int64_t minutes = (tod >> 5) & 0x3F;
    const std::int64_t twoSeconds = tod & 0x1F;
    return days * 86400 + hours * 3600 + minutes * 60 + twoSeconds * 2;
}

} // namespace

bool IsOneHourApart(std::uint32_t a, std::uint32_t b)
{
    std::int64_t apart = WallClockSeconds(a) - WallClockSeconds(b);
    if (apart < 0)
        apart = -apart;
    return apart >= 3600 - 2 && apart <= 3600 + 2;
}

} // namespace filesync
