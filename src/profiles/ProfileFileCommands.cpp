#include "profiles/ProfileFileCommands.h"

#include "platform/FileDelete.h"
#include "profiles/ProfileStore.h"
#include "sync/FolderPath.h"
#include "sync/ServerCopy.h"
#include "util/z_global.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace profiles {
namespace {

std::string MarkedQuestion(std::string_view first, std::size_t count, std::string_view last)
{
    std::string text(first);
    text.append("\r(Anzahl der Dateien: ").append(std::to_string(count)).append(")\r").append(last);
    return text;
}

bool IsPlainFileName(std::string_view name)
{
    return IsSafeProfileName(name) && name != kProfileIniName;
}

ProfileFilePlan Plan(const std::vector<std::string>& names, const std::string& localFolder,
                     const std::string& profileName, const std::string& serverFolder, bool withSource)
{
    ProfileFilePlan plan;
    const auto folder = SafeProfileFolderPath(localFolder, profileName);
    if (!folder)
        return plan;
    plan.profileFolder = *folder;
    plan.serverFolder = serverFolder;
    for (const std::string& name : names) {
        if (!IsPlainFileName(name))
            continue;
        ProfileFileStep step{name, {}, filesync::PathInFolder(*folder, name)};
        if (withSource)
            step.source = filesync::PathInFolder(serverFolder, name);
        plan.steps.push_back(std::move(step));
    }
    return plan;
}

// A profile folder configured to be the server folder itself must not be pruned.
bool IsServerFolder(const std::string& folder, const std::string& serverFolder)
{
    std::error_code ec;
    return !serverFolder.empty() && fs::equivalent(folder, serverFolder, ec) && !ec;
}

} // namespace

std::string UpdateMarkedQuestion(std::size_t markedCount)
{
    return MarkedQuestion("Wollen Sie die ausgewählte Datei(en) ", markedCount,
                          "lokal wirklich aktualisieren?");
}

std::string DeleteMarkedQuestion(std::size_t markedCount)
{
    return MarkedQuestion("Wollen Sie die asugewählte Datei(en)  ", markedCount, "lokal wirklich löschen?");
}

std::string DeleteMarkedFailedMessage(std::string_view name)
{
    std::string text = "Datei ";
    text.append(name).append(" konnte nicht gelöscht werden");
    return text;
}

ProfileFilePlan PlanProfileUpdate(const std::vector<std::string>& names, const std::string& localFolder,
                                  const std::string& profileName, const std::string& serverFolder)
{
    return Plan(names, localFolder, profileName, serverFolder, true);
}

ProfileFilePlan PlanProfileDelete(const std::vector<std::string>& names, const std::string& localFolder,
                                  const std::string& profileName, const std::string& serverFolder)
{
    return Plan(names, localFolder, profileName, serverFolder, false);
}

void ExecuteProfileUpdate(const ProfileFilePlan& plan, const ProfileFileCallback& afterFile)
{
    if (plan.steps.empty())
        return;
    filesync::RemoveCopyLeftovers(plan.profileFolder);
    for (const ProfileFileStep& step : plan.steps) {
        filesync::CommandResult result;
        // The copy refuses a target in the source's folder, so the server folder
        // is never written even when it is the profile folder.
        switch (filesync::CopyFromServer(step.source, step.target).outcome) {
        case filesync::ServerCopyOutcome::SourceMissing:
            break;
        case filesync::ServerCopyOutcome::Copied:
            result = {filesync::CommandCode::Done, {}, true};
            break;
        case filesync::ServerCopyOutcome::Failed:
            result = {filesync::CommandCode::CopyFailed, std::string(filesync::kCopyFailedMessage), true};
            break;
        }
        if (afterFile)
            afterFile(step, result);
    }
}

void ExecuteProfileDelete(const ProfileFilePlan& plan, const ProfileFileCallback& afterFile)
{
    if (plan.steps.empty())
        return;
    const bool serverFolder = IsServerFolder(plan.profileFolder, plan.serverFolder);
    for (const ProfileFileStep& step : plan.steps) {
        filesync::CommandResult result;
        std::error_code ec;
        const bool present = fs::is_regular_file(step.target, ec);
        if (present) {
            const auto outcome =
                serverFolder ? platform::DeleteOutcome::Refused : platform::DeleteRegularFile(step.target);
            if (outcome == platform::DeleteOutcome::Deleted)
                result = {filesync::CommandCode::Done, {}, true};
            else if (outcome == platform::DeleteOutcome::Refused)
                result = {filesync::CommandCode::DeleteFailed, DeleteMarkedFailedMessage(step.name), true};
        }
        if (afterFile)
            afterFile(step, result);
    }
}

bool DeleteProfile(const std::string& localFolder, const std::string& profileName)
{
    const auto folder = SafeProfileFolderPath(localFolder, profileName);
    if (!folder)
        return false;
    return util::DeletePathSilently(*folder);
}

} // namespace profiles
