#pragma once

#include "util/StepPlan.h"

#include <cstddef>
#include <string>
#include <string_view>

// Copying the files of the current set into a newly made profile folder, as a
// plan made from the folder listing.
namespace profiles {

inline constexpr std::string_view kProfileCopyFailedMessage = "Es gibt Probleme beim Kopieren von Dateien";

// One step for every file lying directly in the local folder, in listing order,
// hidden ones included, except the set's own "qPPP_Profile.ini", the temporary
// files of an unfinished copy and the lock files of documents open in an office
// program. Subfolders (the profiles folder among them) are
// never copied. Each step copies its file through a temporary file in the profile
// folder, keeping its last-write time: Done, or Failed with the message above
// (also for a file that vanished since the listing). An unreadable or missing
// folder, or no profile folder, gives a plan without steps.
util::StepPlan PlanProfileCopy(const std::string& localFolder, const std::string& profileFolder);

// "3 / 12": the position counted from 1 and the count.
std::string CopyCountText(std::size_t position, std::size_t count);

} // namespace profiles
