#include "launch/StartFile.h"

#include "profiles/ProfileStore.h"
#include "settings/Settings.h"

#include <stdexcept>

namespace launch {

std::string StartFileName(std::string_view caption)
{
    return util::CutText(caption);
}

std::string ReadStartFile(ini::TLMDIniCtrl& ini, const std::string& iniPath)
{
    ini.SetFileName(iniPath);
    return util::CutText(ini.ReadString(profiles::kProfileSection, profiles::kStartFileKey, ""));
}

std::string StartFileQuestion(std::string_view name)
{
    return "Wollen Sie die Datei \"" + std::string(name) + "\" als Startdatei definieren";
}

std::string CurrentSetStartFileIni(const util::RuntimeState& state)
{
    // An empty folder would put the file into the root folder.
    if (state.CurrentLocalFolder.empty())
        return {};
    return profiles::CurrentSetIniPath(state.CurrentLocalFolder);
}

std::string ProfileStartFileIni(const util::RuntimeState& state)
{
    if (state.CurrentProfile.empty())
        return {};
    return profiles::ProfileIniPath(state.CurrentLocalFolder, state.CurrentProfile);
}

void DefineCurrentSetStartFile(ini::TLMDIniCtrl& ini, util::RuntimeState& state, const std::string& name)
{
    const std::string iniPath = CurrentSetStartFileIni(state);
    if (iniPath.empty())
        throw std::runtime_error("Es ist kein lokaler Ordner eingestellt.");
    ini.SetFileName(iniPath);
    ini.WriteString(profiles::kProfileSection, profiles::kStartFileKey, name);
    state.CurrentSetStartFile = name;
}

void DefineProfileStartFile(ini::TLMDIniCtrl& ini, util::RuntimeState& state, const std::string& name)
{
    const std::string iniPath = ProfileStartFileIni(state);
    // The profiles folder's own INI file would otherwise be written.
    if (iniPath.empty())
        throw std::runtime_error("Es ist kein Profil ausgewählt.");
    ini.SetFileName(iniPath);
    ini.WriteString(profiles::kProfileSection, profiles::kStartFileKey, name);
    state.ProfileStartFile = name;
}

bool IsStartFile(std::string_view caption, std::string_view startFile)
{
    return !startFile.empty() && caption == startFile;
}

} // namespace launch
