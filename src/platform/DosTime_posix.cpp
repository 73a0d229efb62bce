#include "platform/DosTime.h"

#include <chrono>
#include <ctime>

namespace platform {

std::optional<std::uint32_t> ToDosDateTime(std::filesystem::file_time_type time)
{
    const auto sys = std::chrono::floor<std::chrono::seconds>(std::chrono::file_clock::to_sys(time));
    const std::time_t seconds = sys.time_since_epoch().count();
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return std::nullopt;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107)
        return std::nullopt;
    const auto date =
        static_cast<std::uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    const auto tod =
        static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    return (date << 16) | tod;
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
