#include "platform/DosTime.h"

#include <chrono>
#include <ctime>

namespace platform {
namespace {

// Empty for a year the format cannot hold.
std::optional<std::uint32_t> Pack(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1980 || year > 2107)
        return std::nullopt;
    const auto date = static_cast<std::uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    const auto tod = static_cast<std::uint32_t>((hour << 11) | (minute << 5) | (second / 2));
    return (date << 16) | tod;
}

} // namespace

std::optional<std::uint32_t> ToDosDateTime(std::filesystem::file_time_type time)
{
    const auto sys = std::chrono::floor<std::chrono::seconds>(std::chrono::file_clock::to_sys(time));
    const std::time_t seconds = sys.time_since_epoch().count();
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return std::nullopt;
    return Pack(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec);
}

std::optional<std::uint32_t> DosTimeConverter::ToDos(std::filesystem::file_time_type time)
{
    using namespace std::chrono;
    const auto sys = floor<seconds>(file_clock::to_sys(time));
    const auto day = floor<days>(sys);
    const std::int64_t dayNumber = day.time_since_epoch().count();
    KnownDay& known = m_days[static_cast<std::size_t>(dayNumber) % m_days.size()];
    if (known.kind == Day::Unknown || known.number != dayNumber) {
        // A zone never changes its offset and back within one day, so equal
        // offsets at the day's first and last second hold for all of it.
        const std::time_t first = sys_seconds(day).time_since_epoch().count();
        const std::time_t last = first + 86'399;
        std::tm atFirst{};
        std::tm atLast{};
        const bool fixed = localtime_r(&first, &atFirst) && localtime_r(&last, &atLast) &&
                           atFirst.tm_gmtoff == atLast.tm_gmtoff;
        known = KnownDay{fixed ? Day::FixedOffset : Day::OffsetChanges, dayNumber, atFirst.tm_gmtoff};
    }
    if (known.kind == Day::OffsetChanges)
        return ToDosDateTime(time);

    const auto local = sys + seconds(known.offset);
    const auto localDay = floor<days>(local);
    const year_month_day date{localDay};
    const hh_mm_ss tod{local - localDay};
    return Pack(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(tod.hours().count()),
                static_cast<int>(tod.minutes().count()), static_cast<int>(tod.seconds().count()));
}

std::filesystem::file_time_type FromDosDateTime(std::uint32_t dosTime)
{
    std::tm local{};
    const std::uint32_t date = dosTime >> 16;
    const std::uint32_t tod = dosTime & 0xFFFF;
    local.tm_year = static_cast<int>((date >> 9) & 0x7F) + 80;
    local.tm_mon = static_cast<int>((date >> 5) & 0x0F) - 1;
    local.tm_mday = static_cast<int>(date & 0x1F);
    local.tm_hour = static_cast<int>((tod >> 11) & 0x1F);
    local.tm_min = static_cast<int>((tod >> 5) & 0x3F);
    local.tm_sec = static_cast<int>((tod & 0x1F) * 2);
    local.tm_isdst = -1;
    const std::time_t seconds = mktime(&local);
    return std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(seconds)));
}

} // namespace platform
