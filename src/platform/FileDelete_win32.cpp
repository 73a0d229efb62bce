#include "platform/FileDelete.h"

#include "platform/WinSeam_win32.h"

#include <windows.h>

namespace platform {
namespace {

std::function<bool(const std::string&)>& DeleteFaultHook()
{
    static std::function<bool(const std::string&)> hook;
    return hook;
}

} // namespace

DeleteOutcome DeleteRegularFile(const std::string& path)
{
    if (path.empty())
        return DeleteOutcome::NoFile;
    const std::wstring target = win::ExtendedPath(path);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return DeleteOutcome::NoFile;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return DeleteOutcome::Refused;
    if (const auto& hook = DeleteFaultHook(); hook && hook(path))
        return DeleteOutcome::Refused;
    // For good: the recycle bin is the shell's, and the shell is not asked.
    return ::DeleteFileW(target.c_str()) ? DeleteOutcome::Deleted : DeleteOutcome::Refused;
}

void SetDeleteFaultForTesting(std::function<bool(const std::string& path)> refuses)
{
    DeleteFaultHook() = std::move(refuses);
}

} // namespace platform
