#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Copying the files of the current set into a newly made profile folder, as a
// plan from the folder listing and its execution file by file.
namespace profiles {

struct ProfileCopyStep
{
    std::string source; // in the local folder
    std::string target; // in the profile folder, same name
};

struct ProfileCopyPlan
{
    std::vector<ProfileCopyStep> steps; // in listing order
};

// Every file lying directly in the local folder, hidden ones included, except the
// set's own "qPPP_Profile.ini" and the temporary files of an unfinished copy.
// Subfolders (the profiles folder among them) are never copied. An unreadable or
// missing folder, or no profile folder, gives an empty plan.
ProfileCopyPlan PlanProfileCopy(const std::string& localFolder, const std::string& profileFolder);

// "3 / 12": the position counted from 1 and the count.
std::string CopyCountText(std::size_t position, std::size_t count);

struct ProfileCopyReport
{
    std::size_t position = 0; // counting from 1
    std::size_t count = 0;
    int progress = 0;    // the bar's position, 0..100
    bool copied = false; // false: the file could not be copied
};

struct ProfileCopyCallbacks
{
    std::function<void(std::size_t position, std::size_t count)> beforeFile;
    std::function<void(const ProfileCopyReport&)> afterFile;
};

// Copies each file through a temporary file in the profile folder, keeping its
// last-write time; a failed file does not stop the others. Returns the number of
// failed files.
std::size_t ExecuteProfileCopy(const ProfileCopyPlan& plan, const ProfileCopyCallbacks& callbacks);

} // namespace profiles
