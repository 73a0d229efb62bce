#pragma once

#include <string>

namespace platform {

// The per-user folder for application settings (the roaming application-data
// folder on Windows; $XDG_CONFIG_HOME, by default ~/.config, elsewhere).
std::string UserAppDataFolder();

// The user's home folder.
std::string HomeFolder();

// Where a default path written with a drive letter lives on this platform:
// "C:" is the home folder, another letter X a folder "/mnt/x"; on Windows the
// drive itself.
std::string DriveRootFolder(char driveLetter);

} // namespace platform
