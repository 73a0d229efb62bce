#pragma once

#include <cstddef>
#include <optional>
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
std::string CurrentSetIniPath(std::string_view localFolder);

// Whether a name held in the state may address a profile folder: one plain
// folder name, so that a stale or hand-edited name can never lead to the profiles
// folder itself, its parent or anywhere else.
bool IsSafeProfileName(std::string_view profileName);

// A profile's folder and its INI file; empty when there is no local folder or the
// name is not safe. The only way to a profile's path: a profile name comes from the
// settings file, which may have been edited by hand.
std::optional<std::string> ProfileFolderPath(std::string_view localFolder, std::string_view profileName);
std::optional<std::string> ProfileIniPath(std::string_view localFolder, std::string_view profileName);

// The profile names of the set, in the order the file system lists them: every
// subfolder of the profiles folder (hidden ones too); files there are ignored.
std::vector<std::string> ListProfiles(std::string_view localFolder);

std::string EncodeDescription(std::string_view description);
std::string DecodeDescription(std::string_view stored);

// Longest description kept when it is edited on the profiles page.
inline constexpr std::size_t kMaxEditedDescription = 255;

// The first maxChars characters of a description whose lines end in CR LF, each
// of the two counting. A cut between CR and LF drops the lone CR: half a line
// break cannot be stored as one value.
std::string CutDescription(std::string_view description, std::size_t maxChars = kMaxEditedDescription);

} // namespace profiles
