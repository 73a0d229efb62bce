#include "sync/FolderPath.h"

#include "platform/PathDelimiter.h"

namespace filesync {

std::string PathInFolder(std::string_view folder, std::string_view name)
{
    if (folder.empty())
        return {};
    std::string path(folder);
    if (path.back() != platform::kPathDelimiter)
        path.push_back(platform::kPathDelimiter);
    path.append(name);
    return path;
}

} // namespace filesync
