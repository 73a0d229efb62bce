#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The seam between the program's UTF-8 text and the system's UTF-16, for the
// Windows side of the platform layer only.
namespace platform::win {

// Bytes that are no valid UTF-8 become U+FFFD.
std::wstring ToWide(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);

// The form of a path that the system takes past the 260-character limit:
// "\\?\C:\..." or "\\?\UNC\host\share\...", made absolute and normalised by the
// system's rules first (slashes, "." and "..", trailing dots and blanks). A path
// that names a device ("\\.\CON") comes back in that form.
std::wstring ExtendedPath(std::string_view utf8Path);

// True for a last path part that the system does not keep as a file name:
// a device name ("CON", "aux.ppt", "LPT1 .txt") or a name that ends in a dot or
// a blank.
bool IsUnusableFileName(std::wstring_view name);

// File times as the system counts them: 100-nanosecond steps since 1601-01-01 UTC.
std::uint64_t ToFileTimeTicks(std::filesystem::file_time_type time);
std::filesystem::file_time_type FromFileTimeTicks(std::uint64_t ticks);

// Closes a system handle when it goes out of scope.
class HandleCloser
{
public:
    explicit HandleCloser(void* handle) : m_handle(handle) {}
    ~HandleCloser();
    HandleCloser(const HandleCloser&) = delete;
    HandleCloser& operator=(const HandleCloser&) = delete;

private:
    void* m_handle;
};

// The system's message for an error code, for diagnostics.
std::string ErrorText(unsigned long error);

} // namespace platform::win
