#include "platform/FileSystem.h"

#include "platform/MountTable.h"
#include "platform/WinSeam_win32.h"

#include <windows.h>

#include <winnetwk.h>

#include <algorithm>
#include <cwctype>
#include <mutex>
#include <vector>

namespace platform {
namespace {

bool IsDriveLetterPath(std::wstring_view p)
{
    return p.size() >= 2 && std::iswalpha(p[0]) && p[1] == L':' &&
           (p.size() == 2 || p[2] == L'\\' || p[2] == L'/');
}

// "\\host\share\...", "//host/share/..." and the long form "\\?\UNC\host\share\...".
std::wstring HostOfUncPath(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    if (path.starts_with(L"\\\\?\\UNC\\"))
        path.erase(0, 8);
    else if (path.starts_with(L"\\\\") && !path.starts_with(L"\\\\?\\") && !path.starts_with(L"\\\\.\\"))
        path.erase(0, 2);
    else
        return {};
    return path.substr(0, path.find(L'\\'));
}

std::mutex g_shareSourcesMutex;
std::optional<ShareSources> g_shareSourcesForTesting;

bool Gone(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool RemoveTree(const std::wstring& path, DWORD attributes)
{
    // Read-only items go too, as in a delete that asks nothing.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ::DeleteFileW(path.c_str()) || Gone(::GetLastError());
    // A linked folder (junction, symbolic link) is removed as the link, never
    // emptied: what it leads to lies outside the tree.
    bool ok = true;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        std::vector<std::pair<std::wstring, DWORD>> entries;
        WIN32_FIND_DATAW data;
        const HANDLE find = ::FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &data,
                                               FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE)
            return Gone(::GetLastError());
        do {
            const std::wstring_view name = data.cFileName;
            if (name != L"." && name != L"..")
                entries.emplace_back(path + L"\\" + data.cFileName, data.dwFileAttributes);
        } while (::FindNextFileW(find, &data));
        ok = ::GetLastError() == ERROR_NO_MORE_FILES;
        ::FindClose(find);
        for (const auto& [child, childAttributes] : entries)
            ok = RemoveTree(child, childAttributes) && ok;
    }
    if (!::RemoveDirectoryW(path.c_str()) && !Gone(::GetLastError()))
        ok = false;
    return ok;
}

} // namespace

// The type of the drive that the path lies on. A drive's root is asked about as a
// drive, so that a mapped network drive that is disconnected still shows as one.
DriveType DriveTypeOf(const std::string& path)
{
    const std::wstring wide = win::ToWide(path);
    std::wstring root;
    if (IsDriveLetterPath(wide) && wide.size() <= 3) {
        root = wide.substr(0, 2) + L"\\";
    } else {
        const std::wstring extended = win::ExtendedPath(path);
        if (::GetFileAttributesW(extended.c_str()) == INVALID_FILE_ATTRIBUTES)
            return DriveType::NoRootDir;
        std::vector<wchar_t> volume(extended.size() + 2);
        if (!::GetVolumePathNameW(extended.c_str(), volume.data(), static_cast<DWORD>(volume.size())))
            return DriveType::Unknown;
        root = volume.data();
    }
    const UINT type = ::GetDriveTypeW(root.c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
}

std::string NetworkHostOfPath(const std::string& path)
{
    const std::wstring wide = win::ToWide(path);
    if (IsDriveLetterPath(wide)) {
        // The connection of a mapped drive is remembered also while it is
        // disconnected, and still names the host.
        const std::wstring drive = wide.substr(0, 2);
        DWORD size = MAX_PATH;
        std::wstring remote(size, L'\0');
        DWORD rc = ::WNetGetConnectionW(drive.c_str(), remote.data(), &size);
        if (rc == ERROR_MORE_DATA) {
            remote.assign(size, L'\0');
            rc = ::WNetGetConnectionW(drive.c_str(), remote.data(), &size);
        }
        if (rc != NO_ERROR && rc != ERROR_CONNECTION_UNAVAIL)
            return {};
        remote.resize(remote.find(L'\0'));
        return win::ToUtf8(HostOfUncPath(remote));
    }
    return win::ToUtf8(HostOfUncPath(wide));
}

// A share needs no mount here: its network path reaches it directly.
std::optional<std::string> MountedShareFolder(const std::string& host, const std::string& share,
                                              const std::vector<std::string>& rest)
{
    {
        const std::lock_guard lock(g_shareSourcesMutex);
        if (g_shareSourcesForTesting)
            return MountedShareFolderIn(*g_shareSourcesForTesting, host, share, rest);
    }
    if (host.empty() || share.empty())
        return std::nullopt;
    std::string path = "\\\\" + host + "\\" + share;
    for (const std::string& folder : rest)
        path += "\\" + folder;
    return path;
}

void SetShareSourcesForTesting(std::optional<ShareSources> sources)
{
    const std::lock_guard lock(g_shareSourcesMutex);
    g_shareSourcesForTesting = std::move(sources);
}

bool DeletePathSilently(const std::string& path)
{
    // "." and ".." name no item of their own; checked before the system's rules
    // resolve them to the folder above.
    std::string_view given = path;
    while (given.size() > 1 && (given.back() == '\\' || given.back() == '/'))
        given.remove_suffix(1);
    const std::string_view last = given.substr(given.find_last_of("\\/") + 1);
    if (given.empty() || last == "." || last == "..")
        return false;
    std::wstring target = win::ExtendedPath(path);
    while (target.back() == L'\\')
        target.pop_back();
    // A drive's root or a share's is no item to delete.
    const bool isRoot =
        (target.size() == 6 && target[5] == L':') ||
        (target.starts_with(L"\\\\?\\UNC\\") && std::count(target.begin(), target.end(), L'\\') <= 5);
    if (!target.starts_with(L"\\\\?\\") || isRoot)
        return false;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return RemoveTree(target, attributes);
}

} // namespace platform
