#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

// File times as the packed DOS date-time of the local time zone: date in the upper
// 16 bits, time of day (two-second steps) in the lower 16 bits.
namespace platform {

// Empty when the time lies outside what the format holds (before 1980, after 2107).
std::optional<std::uint32_t> ToDosDateTime(std::filesystem::file_time_type time);

// Converts the times of one folder listing: the same values as ToDosDateTime, but
// the zone's offset is looked up once for each day the times fall on rather than
// once for each file, as a folder of thousands of files mostly holds few days.
// Made anew for each listing, so that a change of the zone shows at the next one.
class DosTimeConverter
{
public:
    std::optional<std::uint32_t> ToDos(std::filesystem::file_time_type time);

private:
    enum class Day
    {
        Unknown,
        FixedOffset,
        OffsetChanges
    };
    struct KnownDay
    {
        Day kind = Day::Unknown;
        std::int64_t number = 0; // days since 1970-01-01, universal time
        std::int64_t offset = 0; // seconds east of universal time, all that day
    };
    // The days met so far, each in the place of its number modulo the size: a
    // listing comes in no order of time, so one remembered day would not do.
    std::array<KnownDay, 64> m_days{};
};

// The instant that a DOS date-time names in the local time zone.
std::filesystem::file_time_type FromDosDateTime(std::uint32_t dosTime);

} // namespace platform
