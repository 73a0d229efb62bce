#include "launch/LaunchDecision.h"

#include "profiles/ProfileStore.h"
#include "sync/FolderPath.h"
#include "text/Utf8Path.h"

#include <filesystem>

namespace launch {
namespace {

constexpr std::string_view kNoFileChosen = "Biite eine Datei auswählen.";
constexpr std::string_view kNoPresentationChosen = "Bitte eine Präsentation wählen.";
constexpr std::string_view kNotAPresentation = "Das ist keine PowerPoint Datei.";

bool IsFile(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(text::PathFromUtf8(path), ec);
}

LaunchDecision Message(std::string text)
{
    return util::Refused(std::move(text));
}

LaunchDecision Request(platform::LaunchAction action, std::string path, std::string slideShowSwitch = {})
{
    return util::Done(platform::LaunchRequest{action, std::move(path), std::move(slideShowSwitch)});
}

} // namespace

std::string UpperExtension(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    std::string extension(fileName.substr(dot));
    for (char& c : extension)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return extension;
}

std::string PageFolder(ListPage page, std::string_view currentLocalFolder, std::string_view currentProfile)
{
    if (page == ListPage::CurrentSet)
        return std::string(currentLocalFolder);
    // Without a plain profile name the profiles folder itself, or a folder elsewhere,
    // would be taken for one.
    return profiles::ProfileFolderPath(currentLocalFolder, currentProfile).value_or(std::string());
}

LaunchDecision DecideLaunch(ListPage page, LaunchButton button, const filesync::FileRow* row,
                            std::string_view folder)
{
    if (!row)
        return Message(std::string(button == LaunchButton::Show ? kNoFileChosen : kNoPresentationChosen));
    const std::string path = filesync::PathInFolder(folder, row->name);
    if (!IsFile(path))
        return Message("Die Datei " + row->displayName + " befindet sich nicht auf lokalem Datenträger.");

    // The profile page counts only the old format as a presentation.
    const std::string extension = UpperExtension(row->name);
    const bool presentation = extension == ".PPT" || (page == ListPage::CurrentSet && extension == ".PPTX");
    if (button == LaunchButton::Edit) {
        if (!presentation)
            return Message(std::string(kNotAPresentation));
        return Request(platform::LaunchAction::Edit, path);
    }
    if (!presentation)
        return Request(platform::LaunchAction::OpenAssociated, path);
    return Request(platform::LaunchAction::SlideShow, path, page == ListPage::CurrentSet ? "/S" : "/s");
}

} // namespace launch
