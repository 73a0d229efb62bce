#pragma once

#include "util/StepPlan.h"

#include <functional>
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

// Asked before a local copy that is open in an office program is replaced; the
// program holding it would otherwise show or save its old content.
std::string OpenDocumentQuestion(std::string_view caption);

using OpenDocumentCheck = std::function<bool(const std::string& folder, std::string_view name)>;

// For each step of the plan that would replace a file of `localFolder` open right
// now (as `isOpen` finds), asks `updateAnyway` with the file's name; a file it
// declines stays as it is (its step does nothing and still counts for the bar).
void ConfirmOpenDocuments(util::StepPlan& plan, const std::string& localFolder,
                          const std::function<bool(std::string_view name)>& updateAnyway,
                          const OpenDocumentCheck& isOpen = IsOpenInOfficeProgram);

} // namespace filesync
