#include "profiles/ProfileFileCommands.h"

#include "platform/FileDelete.h"
#include "profiles/ProfileStore.h"
#include "sync/FolderPath.h"
#include "sync/ServerCopy.h"
#include "sync/ServerFolder.h"
#include "text/Utf8Path.h"
#include "util/z_global.h"

#include <filesystem>
#include <functional>
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

using StepFor = std::function<util::StepWork(const filesync::FileRow& row, const std::string& target)>;

util::StepPlan Plan(const std::vector<filesync::FileRow>& rows, const std::string& folder,
                    const StepFor& stepFor)
{
    util::StepPlan plan;
    for (const filesync::FileRow& row : rows)
        if (IsPlainFileName(row.name))
            plan.steps.push_back({row.name, 0, stepFor(row, filesync::PathInFolder(folder, row.name))});
    return plan;
}

// A profile folder configured to be the server folder itself must not be pruned.
bool IsServerFolder(const std::string& folder, const std::string& serverFolder)
{
    const std::string serverHere = filesync::LocateServerFolder(serverFolder).path;
    std::error_code ec;
    return !serverHere.empty() &&
           fs::equivalent(text::PathFromUtf8(folder), text::PathFromUtf8(serverHere), ec) && !ec;
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

util::StepPlan PlanProfileUpdate(const std::vector<filesync::FileRow>& rows, const std::string& localFolder,
                                 const std::string& profileName, const std::string& serverFolder)
{
    const auto folder = ProfileFolderPath(localFolder, profileName);
    if (!folder)
        return {};
    util::StepPlan plan =
        Plan(rows, *folder, [&serverFolder](const filesync::FileRow& row, const std::string& target) {
            // The copy refuses a target in the source's folder, so the server folder
            // is never written even when it is the profile folder.
            return [serverFolder, name = filesync::ServerNameOf(row), target] {
                return filesync::CopyFromServer(filesync::ServerFilePath(serverFolder, name), target);
            };
        });
    plan.prepare = [profileFolder = *folder] { filesync::RemoveCopyLeftovers(profileFolder); };
    return plan;
}

util::StepPlan PlanProfileDelete(const std::vector<filesync::FileRow>& rows, const std::string& localFolder,
                                 const std::string& profileName, const std::string& serverFolder)
{
    const auto folder = ProfileFolderPath(localFolder, profileName);
    if (!folder)
        return {};
    return Plan(rows, *folder, [&](const filesync::FileRow& row, const std::string& target) {
        return [name = row.name, target, profileFolder = *folder, serverFolder]() -> util::Outcome<> {
            std::error_code ec;
            if (!fs::is_regular_file(text::PathFromUtf8(target), ec))
                return util::Nothing();
            const auto outcome = IsServerFolder(profileFolder, serverFolder)
                                     ? platform::DeleteOutcome::Refused
                                     : platform::DeleteRegularFile(target);
            switch (outcome) {
            case platform::DeleteOutcome::Deleted:
                return util::Done();
            case platform::DeleteOutcome::NoFile:
                return util::Nothing();
            case platform::DeleteOutcome::Refused:
                break;
            }
            return util::Failed(DeleteMarkedFailedMessage(name));
        };
    });
}

util::Outcome<> DeleteProfile(const std::string& localFolder, const std::string& profileName)
{
    const auto folder = ProfileFolderPath(localFolder, profileName);
    if (folder && util::DeletePathSilently(*folder))
        return util::Done();
    return util::Failed(std::string(kDeleteProfileFailedMessage));
}

} // namespace profiles
