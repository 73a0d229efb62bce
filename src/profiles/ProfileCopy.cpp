#include "profiles/ProfileCopy.h"

#include "platform/FolderListing.h"
#include "profiles/ProfileStore.h"
#include "sync/CopyTemporary.h"
#include "sync/FolderPath.h"
#include "sync/OfficeLockFile.h"
#include "sync/ServerCopy.h"

namespace profiles {
namespace {

util::Outcome<> CopyIntoProfile(const std::string& source, const std::string& target)
{
    if (filesync::CopyFromServer(source, target).IsDone())
        return util::Done();
    return util::Failed(std::string(kProfileCopyFailedMessage));
}

} // namespace

util::StepPlan PlanProfileCopy(const std::string& localFolder, const std::string& profileFolder)
{
    util::StepPlan plan;
    if (localFolder.empty() || profileFolder.empty())
        return plan;
    const auto entries = platform::ListFolderFlat(localFolder);
    if (!entries)
        return plan;
    std::vector<std::string> names;
    for (const auto& entry : *entries)
        if (entry.name != kProfileIniName && !filesync::IsCopyTemporaryName(entry.name) &&
            !filesync::IsOfficeLockFileName(entry.name))
            names.push_back(entry.name);
    for (std::size_t i = 0; i < names.size(); ++i)
        plan.steps.push_back({names[i], util::StepProgress(i + 1, names.size()),
                              [source = filesync::PathInFolder(localFolder, names[i]),
                               target = filesync::PathInFolder(profileFolder, names[i])] {
                                  return CopyIntoProfile(source, target);
                              }});
    return plan;
}

std::string CopyCountText(std::size_t position, std::size_t count)
{
    return std::to_string(position) + " / " + std::to_string(count);
}

} // namespace profiles
