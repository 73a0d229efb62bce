#pragma once

#include "ini/LMDIniCtrl.h"
#include "util/z_global.h"

#include <string>
#include <string_view>

// The settings file: its keys, their defaults, and what start-up reads from it.
namespace settings {

inline constexpr std::string_view kSettingsFileName = "optionen.ini";
inline constexpr std::string_view kSectionAllgemein = "Allgemein";

// Keys of section Allgemein, named after the controls they feed.
namespace key {
inline constexpr std::string_view EditLPfadDeutsch = "EditLPfadDeutsch";
inline constexpr std::string_view EditSPfadDeutsch = "EditSPfadDeutsch";
inline constexpr std::string_view EditLPfadEnglisch = "EditLPfadEnglisch";
inline constexpr std::string_view EditSPfadEnglisch = "EditSPfadEnglisch";
inline constexpr std::string_view ServerNameDeutsch = "ServerNameDeutsch";
inline constexpr std::string_view ServerNameEnglisch = "ServerNameEnglisch";
inline constexpr std::string_view wahlProfilDeutsch = "wahlProfilDeutsch";
inline constexpr std::string_view wahlProfilEnglisch = "wahlProfilEnglisch";
inline constexpr std::string_view ComboBoxDesign = "ComboBoxDesign";
inline constexpr std::string_view CheckFlage = "CheckFlage";
inline constexpr std::string_view CheckBoxStart = "CheckBoxStart";
inline constexpr std::string_view CheckBoxInterval = "CheckBoxInterval";
inline constexpr std::string_view RxSpinEditInterval = "RxSpinEditInterval";
inline constexpr std::string_view AktivPage = "AktivPage";
} // namespace key

// The one site whose server folders are known in advance.
inline constexpr std::string_view kSiteDomain = "PELLINOR";
// Shown for both languages; the German wording is the program's own.
inline constexpr std::string_view kServerFolderPrompt = "Bitte hier Serverpfad für deutsch eintragen";

// Exact and case-sensitive: "Pellinor" is not the site.
bool IsSiteDomain(std::string_view accountDomain);

// The notice of the status bar's first panel.
std::string StatusBarNotice(std::string_view accountDomain);

struct FolderDefaults
{
    std::string localGerman;
    std::string serverGerman;
    std::string localEnglish;
    std::string serverEnglish;
};

// Defaults of the four folders. Drive letters map through platform::DriveRootFolder.
FolderDefaults DefaultFolders(std::string_view userName, std::string_view accountDomain);

// What start-up takes from the settings file. Texts are cut to 255 characters.
struct StartupSettings
{
    std::string localFolderGerman;    // EditLPfadDeutsch
    std::string serverFolderGerman;   // EditSPfadDeutsch
    std::string localFolderEnglish;   // EditLPfadEnglisch
    std::string serverFolderEnglish;  // EditSPfadEnglisch
    std::string hostNameGerman;       // ServerNameDeutsch
    std::string hostNameEnglish;      // ServerNameEnglisch
    std::string chosenProfileGerman;  // wahlProfilDeutsch
    std::string chosenProfileEnglish; // wahlProfilEnglisch
    std::string statusBarNotice;
    int designIndex = 0;          // ComboBoxDesign, as stored (may lie outside 0..3)
    int languageFlag = 1;         // CheckFlage: 1 German, 0 English
    bool compareAtStart = true;   // CheckBoxStart
    bool intervalEnabled = false; // CheckBoxInterval
    int intervalHours = 2;        // RxSpinEditInterval, brought into 1..10 as the spin edit does
    int activePage = 0;           // AktivPage, as stored
};

// Reads section Allgemein of the file the control is bound to, key by key in the
// order of start-up. Never fails and writes nothing.
StartupSettings LoadStartupSettings(const ini::TLMDIniCtrl& ini, const std::string& userName,
                                    const std::string& accountDomain);

// Puts the loaded values into the run-time state: the four folders, host names,
// chosen profiles, language with the current pair and profile, design index, and
// CompareWithServer when the start comparison is on. Start files are not touched.
void ApplyStartupSettings(const StartupSettings& loaded, util::RuntimeState& state);

// The spin edit's range for the refresh period in hours.
inline constexpr int kMinIntervalHours = 1;
inline constexpr int kMaxIntervalHours = 10;
int ClampIntervalHours(int hours);

// Timer period for a period in hours (brought into 1..10 first).
int IntervalMilliseconds(int hours);

} // namespace settings
