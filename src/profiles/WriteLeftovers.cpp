#include "profiles/WriteLeftovers.h"

#include "profiles/ProfileStore.h"
#include "sync/ServerCopy.h"

namespace profiles {

std::vector<std::string> FoldersWrittenTo(const std::string& settingsFolder,
                                          const std::vector<std::string>& localFolders)
{
    std::vector<std::string> folders;
    if (!settingsFolder.empty())
        folders.push_back(settingsFolder);
    for (const auto& local : localFolders) {
        if (local.empty())
            continue;
        folders.push_back(local);
        folders.push_back(ProfilesFolderPath(local));
        for (const auto& name : ListProfiles(local)) {
            if (auto folder = ProfileFolderPath(local, name))
                folders.push_back(std::move(*folder));
        }
    }
    return folders;
}

std::size_t RemoveWriteLeftovers(const std::vector<std::string>& folders)
{
    std::size_t removed = 0;
    for (const auto& folder : folders)
        removed += filesync::RemoveCopyLeftovers(folder);
    return removed;
}

} // namespace profiles
