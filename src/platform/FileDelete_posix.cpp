#include "platform/FileDelete.h"

#include <sys/stat.h>
#include <unistd.h>

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
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return DeleteOutcome::NoFile;
    if ((st.st_mode & 0222) == 0)
        return DeleteOutcome::Refused;
    if (const auto& hook = DeleteFaultHook(); hook && hook(path))
        return DeleteOutcome::Refused;
    return ::unlink(path.c_str()) == 0 ? DeleteOutcome::Deleted : DeleteOutcome::Refused;
}

void SetDeleteFaultForTesting(std::function<bool(const std::string& path)> refuses)
{
    DeleteFaultHook() = std::move(refuses);
}

} // namespace platform
