#pragma once

#include "util/Outcome.h"

#include <string>
#include <string_view>

namespace ini {
class TLMDIniCtrl;
}

// Making a new, empty profile of the current set: the checks of the save dialog in
// their order, the folders, and the profile's INI file.
namespace profiles {

inline constexpr std::string_view kEmptyNameMessage = "Profilname bitte eintragen.";
inline constexpr std::string_view kInvalidNameMessage = "Profilname ist ungültig. Bitte keine Sonderzeichen";
inline constexpr std::string_view kNoLocalFolderMessage =
    "Bitte zuerst den Profilordner definieren.\r"
    "Wählen Sie in Hautfenster den Reiter \"Einstellungen\"\r"
    "und dann auf die Schaltfläche Speicherorte.";
inline constexpr std::string_view kNameTakenMessage =
    "Profil mit diesem Namen existiert schon.\rLöschen Sie zuerst das alte Profil.";
inline constexpr std::string_view kProfileNotCreatedMessage = "Profil konnte nicht erstellt werden.";

// "Ordner "<path>" kann nicht erstellt werden."
std::string ProfilesFolderNotCreatedMessage(std::string_view profilesFolder);

struct CreationRequest
{
    std::string localFolder; // CurrentLocalFolder
    std::string name;        // as typed
    std::string description; // lines separated by CR LF; stored whole
    std::string startFile;   // as typed, not checked
};

// Checks the request and creates the profile folder (and the profiles folder
// when it is the first profile), then writes "Beschreibung" and "StartDatei"
// through the given INI control. Done with the new profile folder; Refused with
// its message for an empty or invalid name (nothing written); Failed with its
// message for the other checks (disk as it was) and for a failed INI write (the
// new folder stays). The folder path is never cut: a shortened path would name
// another folder.
util::Outcome<std::string> CreateProfile(const CreationRequest& request, ini::TLMDIniCtrl& ini);

} // namespace profiles
