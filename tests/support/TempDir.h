#pragma once

#include "text/Utf8Path.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

// A fresh folder below the system's temporary folder, removed with everything in
// it when the object goes.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    // Names are UTF-8, as everywhere in the program.
    std::filesystem::path operator/(std::string_view name) const { return m_path / text::PathFromUtf8(name); }

private:
    std::filesystem::path m_path;
};

void WriteFile(const std::filesystem::path& path, std::string_view content);
std::string ReadFile(const std::filesystem::path& path);

// Writes a file and sets its last-write time to the given DOS date-time (local time).
void WriteFileAt(const std::filesystem::path& path, std::string_view content, std::uint32_t dosTime);

// DOS date-time from calendar values, local time.
std::uint32_t Dos(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

} // namespace testsupport
