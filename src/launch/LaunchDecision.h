#pragma once

#include "platform/Launcher.h"
#include "sync/FileRow.h"
#include "util/Outcome.h"

#include <string>
#include <string_view>

// Which file "Ausführen" and "Bearbeiten" act on, and how, on the two pages with a
// file list. The pages differ in their folder, in their messages and in which
// extensions count as presentations; everything here decides, nothing starts.
namespace launch {

enum class ListPage
{
    CurrentSet, // "Aktuelle PPP"
    Profile,    // "Ausgewähltes Profil"
};

enum class LaunchButton
{
    Show, // "Ausführen", also a double-click on a row
    Edit, // "Bearbeiten"
};

// Done with the request to hand on, or Refused with the message to show (in an
// information box).
using LaunchDecision = util::Outcome<platform::LaunchRequest>;

// The text from the last '.' of the file name to its end, dot included, ASCII
// letters in upper case; empty without a dot.
std::string UpperExtension(std::string_view fileName);

// The folder whose files the page lists: the current local folder, or the folder
// of the selected profile. Empty when the page has no folder (no profile chosen).
std::string PageFolder(ListPage page, std::string_view currentLocalFolder, std::string_view currentProfile);

// The decision for a click. `row` is the first marked row, or none. The file is
// looked for at the folder and the row's name; a folder there counts as missing.
LaunchDecision DecideLaunch(ListPage page, LaunchButton button, const filesync::FileRow* row,
                            std::string_view folder);

} // namespace launch
