#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where profiles live on disk: one folder "qPPP_Profile" in the local folder of a
// set, one subfolder per profile, each with its own "qPPP_Profile.ini".
namespace profiles {

inline constexpr std::string_view kProfilesFolderName = "qPPP_Profile";
inline constexpr std::string_view kProfileIniName = "qPPP_Profile.ini";
inline constexpr std::string_view kProfileSection = "Profil";
inline constexpr std::string_view kDescriptionKey = "Beschreibung";
inline constexpr std::string_view kStartFileKey = "StartDatei";
inline constexpr char DescriptionLineBreak = '\x08';

// All paths are formed from the given local folder (normally CurrentLocalFolder).
std::string ProfilesFolderPath(std::string_view localFolder);
std::string ProfileFolderPath(std::string_view localFolder, std::string_view profileName);
std::string ProfileIniPath(std::string_view localFolder, std::string_view profileName);
std::string CurrentSetIniPath(std::string_view localFolder);

// The profile names of the set, in the order the file system lists them: every
// subfolder of the profiles folder (hidden ones too); files there are ignored.
std::vector<std::string> ListProfiles(std::string_view localFolder);

std::string EncodeDescription(std::string_view description);
std::string DecodeDescription(std::string_view stored);

} // namespace profiles
