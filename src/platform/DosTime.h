#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

// File times as the packed DOS date-time of the local time zone: date in the upper
// 16 bits, time of day (two-second steps) in the lower 16 bits.
namespace platform {

// Empty when the time lies outside what the format holds (before 1980, after 2107).
std::optional<std::uint32_t> ToDosDateTime(std::filesystem::file_time_type time);

// The instant that a DOS date-time names in the local time zone.
std::filesystem::file_time_type FromDosDateTime(std::uint32_t dosTime);

} // namespace platform
