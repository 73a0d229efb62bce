#pragma once

#include "ini/LMDIniCtrl.h"
#include "util/Outcome.h"
#include "util/z_global.h"

#include <string>
#include <string_view>

// The start file of a folder: a bare file name kept under "StartDatei" in section
// "Profil" of the folder's "qPPP_Profile.ini", marked in bold in the file lists.
namespace launch {

// The name as it is stored: the row's caption cut to 255 characters.
std::string StartFileName(std::string_view caption);

// The question asked before a start file is defined.
std::string StartFileQuestion(std::string_view name);

// Where the start file of the current set, and of the selected profile, is kept.
// Empty while there is no folder (no local folder set, no profile selected).
std::string CurrentSetStartFileIni(const util::RuntimeState& state);
std::string ProfileStartFileIni(const util::RuntimeState& state);

// Writes the name into the INI file and then takes it as the start file in
// memory. Failed with a message, the state as it was, for a failed write and
// when there is no folder (nothing is written then).
util::Outcome<> DefineCurrentSetStartFile(ini::TLMDIniCtrl& ini, util::RuntimeState& state,
                                          const std::string& name);
util::Outcome<> DefineProfileStartFile(ini::TLMDIniCtrl& ini, util::RuntimeState& state,
                                       const std::string& name);

// Binds the control to the profile INI at iniPath and reads its start file (empty
// when missing), cut to 255 characters. The control stays bound to that file.
std::string ReadStartFile(ini::TLMDIniCtrl& ini, const std::string& iniPath);

// Bold marking: exact and case-sensitive.
bool IsStartFile(std::string_view caption, std::string_view startFile);

} // namespace launch
