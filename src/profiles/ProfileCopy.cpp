#include "profiles/ProfileCopy.h"

#include "platform/FolderListing.h"
#include "profiles/ProfileStore.h"
#include "sync/BulkUpdate.h"
#include "sync/CopyTemporary.h"
#include "sync/FolderPath.h"
#include "sync/ServerCopy.h"

namespace profiles {

ProfileCopyPlan PlanProfileCopy(const std::string& localFolder, const std::string& profileFolder)
{
    ProfileCopyPlan plan;
    if (localFolder.empty() || profileFolder.empty())
        return plan;
    const auto entries = platform::ListFolderFlat(localFolder);
    if (!entries)
        return plan;
    for (const auto& entry : *entries) {
        if (entry.name == kProfileIniName || filesync::IsCopyTemporaryName(entry.name))
            continue;
        plan.steps.push_back({filesync::PathInFolder(localFolder, entry.name),
                              filesync::PathInFolder(profileFolder, entry.name)});
    }
    return plan;
}

std::string CopyCountText(std::size_t position, std::size_t count)
{
    return std::to_string(position) + " / " + std::to_string(count);
}

std::size_t ExecuteProfileCopy(const ProfileCopyPlan& plan, const ProfileCopyCallbacks& callbacks)
{
    const std::size_t count = plan.steps.size();
    std::size_t failed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const ProfileCopyStep& step = plan.steps[i];
        if (callbacks.beforeFile)
            callbacks.beforeFile(i + 1, count);
        // A file that vanished since the listing could not be copied either.
        const bool copied =
            filesync::CopyFromServer(step.source, step.target).outcome == filesync::ServerCopyOutcome::Copied;
        if (!copied)
            ++failed;
        if (callbacks.afterFile)
            callbacks.afterFile({i + 1, count, filesync::BulkUpdateProgress(i + 1, count), copied});
    }
    return failed;
}

} // namespace profiles
