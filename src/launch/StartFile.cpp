#include "launch/StartFile.h"

#include "profiles/ProfileStore.h"
#include "settings/Settings.h"

namespace launch {
namespace {

util::Outcome<> WriteStartFile(ini::TLMDIniCtrl& ini, const std::string& iniPath, const std::string& name,
                               std::string& startFile)
{
    ini.SetFileName(iniPath);
    try {
        ini.WriteString(profiles::kProfileSection, profiles::kStartFileKey, name);
    } catch (const ini::IniWriteError& e) {
        return util::Failed(e.what());
    }
    startFile = name;
    return util::Done();
}

} // namespace

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
    return profiles::ProfileIniPath(state.CurrentLocalFolder, state.CurrentProfile).value_or(std::string());
}

util::Outcome<> DefineCurrentSetStartFile(ini::TLMDIniCtrl& ini, util::RuntimeState& state,
                                          const std::string& name)
{
    const std::string iniPath = CurrentSetStartFileIni(state);
    if (iniPath.empty())
        return util::Failed("Es ist kein lokaler Ordner eingestellt.");
    return WriteStartFile(ini, iniPath, name, state.CurrentSetStartFile);
}

util::Outcome<> DefineProfileStartFile(ini::TLMDIniCtrl& ini, util::RuntimeState& state,
                                       const std::string& name)
{
    const std::string iniPath = ProfileStartFileIni(state);
    // The profiles folder's own INI file would otherwise be written.
    if (iniPath.empty())
        return util::Failed("Es ist kein Profil ausgewählt.");
    return WriteStartFile(ini, iniPath, name, state.ProfileStartFile);
}

bool IsStartFile(std::string_view caption, std::string_view startFile)
{
    return !startFile.empty() && caption == startFile;
}

} // namespace launch
