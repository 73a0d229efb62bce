#pragma once

#include "sync/FileRow.h"
#include "util/Outcome.h"
#include "util/StepPlan.h"

#include <cstddef>
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

// One step per marked row, in the order given; none when the profile has no safe
// folder (no local folder, empty or stale name). Rows whose name is not a plain file
// name, and the profile's own INI file, are left out.
//
// Update: each step copies the row's server file over the profile's file, keeping
// its time: Done, Nothing without a server file, Failed with the copy-failed message
// (the profile's file as it was). Leftovers of an interrupted copy are cleared
// from the profile folder first.
util::StepPlan PlanProfileUpdate(const std::vector<filesync::FileRow>& rows, const std::string& localFolder,
                                 const std::string& profileName, const std::string& serverFolder);
// Delete: each step deletes the profile's file for good: Done, Nothing without a
// regular file there, Failed with DeleteMarkedFailedMessage when refused. Never a
// file in the server folder, even when the profile folder is the server folder.
util::StepPlan PlanProfileDelete(const std::vector<filesync::FileRow>& rows, const std::string& localFolder,
                                 const std::string& profileName, const std::string& serverFolder);

// Deletes the profile's folder with everything in it, for good. Failed with
// kDeleteProfileFailedMessage when that failed in part or in full, and for a name
// that does not address a profile folder (nothing is touched then).
util::Outcome<> DeleteProfile(const std::string& localFolder, const std::string& profileName);

} // namespace profiles
