#include "platform/WinSeam_win32.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cwctype>

namespace platform::win {

std::wstring ToWide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string ToUtf8(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::wstring ExtendedPath(std::string_view utf8Path)
{
    std::wstring path = ToWide(utf8Path);
    if (path.empty() || path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\"))
        return path;
    // The system's own rules first (slashes, "." and "..", trailing dots and
    // blanks), so that the long form names the same item as the short one.
    DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    full.resize(size);
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\"))
        return full;
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool IsUnusableFileName(std::wstring_view name)
{
    if (name.empty() || name.back() == L'.' || name.back() == L' ')
        return true;
    // The device names count with any extension and with blanks before it.
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.remove_suffix(1);
    if (stem.size() != 3 && stem.size() != 4)
        return false;
    std::wstring upper(stem);
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    static constexpr std::array<std::wstring_view, 4> kDevices{L"CON", L"PRN", L"AUX", L"NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end())
        return true;
    return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
           upper[3] >= L'1' && upper[3] <= L'9';
}

namespace {

// 100-nanosecond steps between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kUnixEpochInTicks = 116444736000000000;
using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;

} // namespace

std::uint64_t ToFileTimeTicks(std::filesystem::file_time_type time)
{
    const auto sys = std::chrono::file_clock::to_sys(time);
    return static_cast<std::uint64_t>(std::chrono::floor<Ticks>(sys.time_since_epoch()).count() +
                                      kUnixEpochInTicks);
}

std::filesystem::file_time_type FromFileTimeTicks(std::uint64_t ticks)
{
    const std::chrono::sys_time<Ticks> sys(Ticks(static_cast<std::int64_t>(ticks) - kUnixEpochInTicks));
    return std::chrono::time_point_cast<std::filesystem::file_time_type::duration>(
        std::chrono::file_clock::from_sys(sys));
}

std::string ErrorText(unsigned long error)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"error " + std::to_wstring(error);
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return ToUtf8(text);
}

HandleCloser::~HandleCloser()
{
    ::CloseHandle(m_handle);
}

} // namespace platform::win
