#pragma once

#include "sync/CommandResult.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The commands on the files of the selected profile (update marked files from the
// server, delete marked files) and the delete of a whole profile. Each writes or
// deletes only inside the folder of the profile concerned.
namespace profiles {

std::string UpdateMarkedQuestion(std::size_t markedCount);
std::string DeleteMarkedQuestion(std::size_t markedCount);
// "Datei <name> konnte nicht gelöscht werden"
std::string DeleteMarkedFailedMessage(std::string_view name);

inline constexpr std::string_view kDeleteProfileQuestion =
    "Wollen Sie wirklich die Datein in dem Profil\runwiederuflich löschen";
inline constexpr std::string_view kDeleteProfileFailedMessage =
    "Das Profil bzw. einige Dateien konnte man nicht löschen";

struct ProfileFileStep
{
    std::string name;   // as the row holds it
    std::string source; // server file (update only)
    std::string target; // file in the profile folder
};

// One step per marked name, in the order given. Empty when the profile has no
// safe folder (no local folder, empty or stale name). Names that are not a plain
// file name, and the profile's own INI file, are left out.
struct ProfileFilePlan
{
    std::string profileFolder;
    std::string serverFolder;
    std::vector<ProfileFileStep> steps;
};

ProfileFilePlan PlanProfileUpdate(const std::vector<std::string>& names, const std::string& localFolder,
                                  const std::string& profileName, const std::string& serverFolder);
ProfileFilePlan PlanProfileDelete(const std::vector<std::string>& names, const std::string& localFolder,
                                  const std::string& profileName, const std::string& serverFolder);

// Called after each name: the message to show (if any) and whether to refresh the
// list. A name without a file to work on gives Nothing and no refresh.
using ProfileFileCallback = std::function<void(const ProfileFileStep&, const filesync::CommandResult&)>;

// Copies each server file over the profile's file, keeping its time; a failure
// leaves the profile's file as it was and the others are still done.
void ExecuteProfileUpdate(const ProfileFilePlan& plan, const ProfileFileCallback& afterFile);
// Deletes each file of the profile for good; never a file in the server folder.
void ExecuteProfileDelete(const ProfileFilePlan& plan, const ProfileFileCallback& afterFile);

// Deletes the profile's folder with everything in it, for good. False when that
// failed in part or in full, and for a name that does not address a profile
// folder (nothing is touched then).
bool DeleteProfile(const std::string& localFolder, const std::string& profileName);

} // namespace profiles
