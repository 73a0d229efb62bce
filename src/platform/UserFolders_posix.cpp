#include "platform/UserFolders.h"

#include <cctype>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::string UserAppDataFolder()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return config;
    return HomeFolder() + "/.config";
}

std::string DriveRootFolder(char driveLetter)
{
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(driveLetter)));
    if (lower == 'c')
        return HomeFolder();
    return std::string("/mnt/") + lower;
}

} // namespace platform
