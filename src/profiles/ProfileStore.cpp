#include "profiles/ProfileStore.h"

#include "text/Utf8Path.h"
#include "util/z_global.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace profiles {

std::string ProfilesFolderPath(std::string_view localFolder)
{
    return util::WithTrailingDelimiter(localFolder) + std::string(kProfilesFolderName);
}

std::string CurrentSetIniPath(std::string_view localFolder)
{
    return util::WithTrailingDelimiter(localFolder) + std::string(kProfileIniName);
}

bool IsSafeProfileName(std::string_view profileName)
{
    if (profileName.empty() || profileName == "." || profileName == "..")
        return false;
    // Both delimiters: a name from a settings file written on the other platform
    // must not climb out either.
    return profileName.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::optional<std::string> ProfileFolderPath(std::string_view localFolder, std::string_view profileName)
{
    if (localFolder.empty() || !IsSafeProfileName(profileName))
        return std::nullopt;
    return util::WithTrailingDelimiter(ProfilesFolderPath(localFolder)) + std::string(profileName);
}

std::optional<std::string> ProfileIniPath(std::string_view localFolder, std::string_view profileName)
{
    auto folder = ProfileFolderPath(localFolder, profileName);
    if (folder)
        *folder = util::WithTrailingDelimiter(*folder) + std::string(kProfileIniName);
    return folder;
}

std::vector<std::string> ListProfiles(std::string_view localFolder)
{
    std::vector<std::string> names;
    // Without a local folder the path would lie in the root folder.
    if (localFolder.empty())
        return names;
    std::error_code ec;
    fs::directory_iterator it(text::PathFromUtf8(ProfilesFolderPath(localFolder)), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            names.push_back(text::Utf8FromPath(it->path().filename()));
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

std::string CutDescription(std::string_view description, std::size_t maxChars)
{
    std::string cut = util::CutText(description, maxChars);
    if (!cut.empty() && cut.back() == '\r' && cut.size() < description.size() &&
        description[cut.size()] == '\n')
        cut.pop_back();
    return cut;
}

} // namespace profiles
