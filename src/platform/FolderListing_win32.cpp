#include "platform/FolderListing.h"

#include "platform/WinSeam_win32.h"

#include <windows.h>

namespace platform {
namespace {

std::uint64_t Ticks(const FILETIME& t)
{
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

class FindCloser
{
public:
    explicit FindCloser(HANDLE find) : m_find(find) {}
    ~FindCloser() { ::FindClose(m_find); }
    FindCloser(const FindCloser&) = delete;
    FindCloser& operator=(const FindCloser&) = delete;

private:
    HANDLE m_find;
};

struct FileFacts
{
    std::uint64_t lastWrite = 0;
    std::uint64_t size = 0;
};

// A link counts as the file it leads to: its own entry tells nothing of that file.
std::optional<FileFacts> LinkedFile(const std::wstring& path)
{
    const HANDLE file = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    if (!ok || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return FileFacts{Ticks(info.ftLastWriteTime),
                     (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow};
}

} // namespace

std::optional<std::vector<FolderEntry>> ListFolderFlat(const std::string& folder)
{
    if (folder.empty())
        return std::nullopt;
    std::wstring base = win::ExtendedPath(folder);
    if (!base.ends_with(L'\\'))
        base.push_back(L'\\');
    WIN32_FIND_DATAW data;
    // Large fetches spare round trips to a file server; the basic level leaves out
    // the short 8.3 names, which nothing here needs.
    const HANDLE find = ::FindFirstFileExW((base + L"*").c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        // Only a folder without any entry (a drive's empty root) ends here and is listed.
        if (::GetLastError() != ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        const DWORD attributes = ::GetFileAttributesW(base.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return std::nullopt;
        return std::vector<FolderEntry>{};
    }
    const FindCloser closer(find);
    std::vector<FolderEntry> entries;
    do {
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
            continue;
        FileFacts facts{Ticks(data.ftLastWriteTime),
                        (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            const auto linked = LinkedFile(base + data.cFileName);
            if (!linked)
                continue;
            facts = *linked;
        }
        entries.push_back(
            FolderEntry{win::ToUtf8(data.cFileName), win::FromFileTimeTicks(facts.lastWrite), facts.size});
    } while (::FindNextFileW(find, &data));
    if (::GetLastError() != ERROR_NO_MORE_FILES)
        return std::nullopt;
    return entries;
}

} // namespace platform
