#pragma once

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

enum class CreationOutcome
{
    Created,
    EmptyName,            // information box
    InvalidName,          // information box
    NoLocalFolder,        // error box
    ProfilesFolderFailed, // error box
    NameTaken,            // error box
    ProfileFolderFailed,  // error box
};

struct CreationResult
{
    CreationOutcome outcome = CreationOutcome::ProfileFolderFailed;
    std::string message;       // empty when created
    std::string profileFolder; // when created
    bool Created() const { return outcome == CreationOutcome::Created; }
    // Information for a wrong entry, error for everything else.
    bool IsInformation() const
    {
        return outcome == CreationOutcome::EmptyName || outcome == CreationOutcome::InvalidName;
    }
};

struct CreationRequest
{
    std::string localFolder; // CurrentLocalFolder
    std::string name;        // as typed
    std::string description; // lines separated by CR LF; stored whole
    std::string startFile;   // as typed, not checked
};

// Checks the request and creates the profile folder (and the profiles folder
// when it is the first profile), then writes "Beschreibung" and "StartDatei"
// through the given INI control. A failed check leaves the disk as it was; a
// failed INI write throws the control's IniWriteError and leaves the new folder.
// The folder path is never cut: a shortened path would name another folder.
CreationResult CreateProfile(const CreationRequest& request, ini::TLMDIniCtrl& ini);

} // namespace profiles
