#include "settings/Settings.h"

#include "platform/PathDelimiter.h"
#include "platform/UserFolders.h"

#include <algorithm>
#include <initializer_list>

namespace settings {
namespace {

// A path under a drive root, written with the platform's delimiter.
std::string OnDrive(char driveLetter, std::initializer_list<std::string_view> parts)
{
    std::string path = platform::DriveRootFolder(driveLetter);
    for (const std::string_view part : parts)
        path.append(1, platform::kPathDelimiter).append(part);
    return path;
}

} // namespace

bool IsSiteDomain(std::string_view accountDomain)
{
    return accountDomain == kSiteDomain;
}

std::string StatusBarNotice(std::string_view accountDomain)
{
    return IsSiteDomain(accountDomain) ? "Im Firmennetz angemeldet: Serverpfade der Firma voreingestellt"
                                       : "Außerhalb des Firmennetzes: Serverpfade bitte selbst festlegen";
}

FolderDefaults DefaultFolders(std::string_view userName, std::string_view accountDomain)
{
    FolderDefaults d;
    // A blank before the German user name, an underscore before the English one.
    d.localGerman = OnDrive('C', {"quintor3P_de " + std::string(userName)});
    d.localEnglish = OnDrive('c', {"quintor3P_en_" + std::string(userName)});
    if (IsSiteDomain(accountDomain)) {
        d.serverGerman = OnDrive('F', {"Quintor", "Allgemein", "Praesentationen",
                                       "Firmenpraesentation_deutsch", "Firmenpraesentation_neu"});
        d.serverEnglish = OnDrive('F', {"Quintor", "Allgemein", "Praesentationen",
                                        "Firmenpraesentation_englisch", "Firmenpraesentation_neu_engl"});
    } else {
        d.serverGerman = std::string(kServerFolderPrompt);
        d.serverEnglish = std::string(kServerFolderPrompt);
    }
    return d;
}

StartupSettings LoadStartupSettings(const ini::TLMDIniCtrl& ini, const std::string& userName,
                                    const std::string& accountDomain)
{
    const auto text = [&](std::string_view key, std::string_view fallback) {
        return util::CutText(ini.ReadString(kSectionAllgemein, key, fallback));
    };
    const FolderDefaults defaults = DefaultFolders(userName, accountDomain);
    StartupSettings s;
    s.localFolderGerman = text(key::EditLPfadDeutsch, defaults.localGerman);
    s.statusBarNotice = StatusBarNotice(accountDomain);
    s.serverFolderGerman = text(key::EditSPfadDeutsch, defaults.serverGerman);
    s.localFolderEnglish = text(key::EditLPfadEnglisch, defaults.localEnglish);
    s.serverFolderEnglish = text(key::EditSPfadEnglisch, defaults.serverEnglish);
    s.hostNameGerman = text(key::ServerNameDeutsch, "");
    s.hostNameEnglish = text(key::ServerNameEnglisch, "");
    s.chosenProfileGerman = text(key::wahlProfilDeutsch, "");
    s.chosenProfileEnglish = text(key::wahlProfilEnglisch, "");
    s.designIndex = ini.ReadInteger(kSectionAllgemein, key::ComboBoxDesign, 0);
    s.languageFlag = ini.ReadBool(kSectionAllgemein, key::CheckFlage, true) ? 1 : 0;
    s.compareAtStart = ini.ReadBool(kSectionAllgemein, key::CheckBoxStart, true);
    s.intervalEnabled = ini.ReadBool(kSectionAllgemein, key::CheckBoxInterval, false);
    s.intervalHours = ClampIntervalHours(ini.ReadInteger(kSectionAllgemein, key::RxSpinEditInterval, 2));
    s.activePage = ini.ReadInteger(kSectionAllgemein, key::AktivPage, 0);
    return s;
}

void ApplyStartupSettings(const StartupSettings& loaded, util::RuntimeState& state)
{
    state.LocalFolderGerman = loaded.localFolderGerman;
    state.ServerFolderGerman = loaded.serverFolderGerman;
    state.LocalFolderEnglish = loaded.localFolderEnglish;
    state.ServerFolderEnglish = loaded.serverFolderEnglish;
    state.HostNameGerman = loaded.hostNameGerman;
    state.HostNameEnglish = loaded.hostNameEnglish;
    state.ChosenProfileGerman = loaded.chosenProfileGerman;
    state.ChosenProfileEnglish = loaded.chosenProfileEnglish;
    state.DesignIndex = loaded.designIndex;
    state.LanguageFlag = loaded.languageFlag;
    const bool german = loaded.languageFlag == 1;
    state.CurrentLocalFolder = german ? loaded.localFolderGerman : loaded.localFolderEnglish;
    state.CurrentServerFolder = german ? loaded.serverFolderGerman : loaded.serverFolderEnglish;
    state.CurrentProfile = german ? loaded.chosenProfileGerman : loaded.chosenProfileEnglish;
    if (loaded.compareAtStart)
        state.CompareWithServer = true;
}

int ClampIntervalHours(int hours)
{
    return std::clamp(hours, kMinIntervalHours, kMaxIntervalHours);
}

int IntervalMilliseconds(int hours)
{
    return ClampIntervalHours(hours) * 3'600'000;
}

} // namespace settings
