#include "platform/UserFolders.h"

#include "platform/WinSeam_win32.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>

namespace platform {
namespace {

std::string KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::string result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        result = win::ToUtf8(path);
    ::CoTaskMemFree(path);
    return result;
}

std::string EnvironmentFolder(const wchar_t* name)
{
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), size));
    return win::ToUtf8(value);
}

} // namespace

std::string HomeFolder()
{
    std::string folder = KnownFolder(FOLDERID_Profile);
    if (folder.empty())
        folder = EnvironmentFolder(L"USERPROFILE");
    return folder.empty() ? "C:\\" : folder;
}

std::string UserAppDataFolder()
{
    std::string folder = KnownFolder(FOLDERID_RoamingAppData);
    if (folder.empty())
        folder = EnvironmentFolder(L"APPDATA");
    return folder.empty() ? HomeFolder() : folder;
}

// Default paths name their drive as they are written, "C:" or "c:".
std::string DriveRootFolder(char driveLetter)
{
    return std::string(1, driveLetter) + ":";
}

} // namespace platform
