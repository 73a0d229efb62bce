#include "profiles/ProfileStore.h"

#include "util/z_global.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace profiles {

std::string ProfilesFolderPath(std::string_view localFolder)
{
    return util::WithTrailingDelimiter(localFolder) + std::string(kProfilesFolderName);
}

std::string ProfileFolderPath(std::string_view localFolder, std::string_view profileName)
{
    return util::WithTrailingDelimiter(ProfilesFolderPath(localFolder)) + std::string(profileName);
}

std::string ProfileIniPath(std::string_view localFolder, std::string_view profileName)
{
    return util::WithTrailingDelimiter(ProfileFolderPath(localFolder, profileName)) +
           std::string(kProfileIniName);
}

std::string CurrentSetIniPath(std::string_view localFolder)
{
    return util::WithTrailingDelimiter(localFolder) + std::string(kProfileIniName);
}

std::vector<std::string> ListProfiles(std::string_view localFolder)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(ProfilesFolderPath(localFolder)), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            names.push_back(it->path().filename().string());
    }
    return names;
}

std::string EncodeDescription(std::string_view description)
{
    return util::ReplaceText(description, "\r\n", std::string(1, DescriptionLineBreak), -1,
                             util::ReplaceIgnoreCase | util::ReplacePreserveCase);
}

std::string DecodeDescription(std::string_view stored)
{
    return util::ReplaceText(stored, std::string(1, DescriptionLineBreak), "\r\n", -1,
                             util::ReplaceIgnoreCase | util::ReplacePreserveCase);
}

} // namespace profiles
