#pragma once

#include <functional>
#include <string>

namespace platform {

enum class DeleteOutcome
{
    Deleted,
    NoFile,  // nothing there, or not a regular file: nothing was done
    Refused, // a file without write permission, or the removal itself failed
};

// Removes one regular file for good (no recycle bin). A file without any write
// permission is refused, also for root, as a read-only file is refused elsewhere.
// A symbolic link counts as the file it leads to, and only the link is removed.
DeleteOutcome DeleteRegularFile(const std::string& path);

// Fault injection for tests: a delete of a path for which the function answers
// true is refused. An empty function restores normal work.
void SetDeleteFaultForTesting(std::function<bool(const std::string& path)> refuses);

} // namespace platform
