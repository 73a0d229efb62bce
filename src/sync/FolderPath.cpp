#include "sync/FolderPath.h"

#include "util/z_global.h"

namespace filesync {

std::string PathInFolder(std::string_view folder, std::string_view name)
{
    // An empty folder must never turn into the root folder.
    if (folder.empty())
        return {};
    return util::WithTrailingDelimiter(folder) + std::string(name);
}

} // namespace filesync
