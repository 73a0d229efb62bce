#pragma once

#include <string>
#include <string_view>

// The small files that office programs put beside a document while it is open:
// ".~lock.NAME#" (LibreOffice) and "~$NAME" (Microsoft Office, which for long
// names drops the first two characters of NAME). They belong to the program that
// holds the document open, so this program never lists, copies or deletes them.
namespace filesync {

bool IsOfficeLockFileName(std::string_view name);

// True when a lock file of either kind for the file `name` lies in `folder`,
// i.e. the local copy is open in an office program right now.
bool IsOpenInOfficeProgram(const std::string& folder, std::string_view name);

} // namespace filesync
