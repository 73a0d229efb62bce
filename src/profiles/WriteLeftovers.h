#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace profiles {

// Every folder the program writes into: the settings folder, and for each local
// folder the folder itself, its profiles folder and each profile folder in it.
// Empty names are left out.
std::vector<std::string> FoldersWrittenTo(const std::string& settingsFolder,
                                          const std::vector<std::string>& localFolders);

// Removes the temporary files that interrupted settings, profile and copy writes
// left in those folders (only the program's own, and none a running write still
// holds). Returns how many went.
std::size_t RemoveWriteLeftovers(const std::vector<std::string>& folders);

} // namespace profiles
