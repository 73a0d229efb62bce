#include "sync/OfficeLockFile.h"

#include "sync/FolderPath.h"
#include "text/Utf8Path.h"

#include <filesystem>
#include <system_error>

namespace filesync {
namespace {

constexpr std::string_view kLibreOfficePrefix = ".~lock.";
constexpr std::string_view kMicrosoftOfficePrefix = "~$";

bool ExistsAsFile(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(text::PathFromUtf8(path), ec);
}

} // namespace

bool IsOfficeLockFileName(std::string_view name)
{
    if (name.starts_with(kLibreOfficePrefix) && name.ends_with('#') &&
        name.size() > kLibreOfficePrefix.size() + 1)
        return true;
    return name.starts_with(kMicrosoftOfficePrefix) && name.size() > kMicrosoftOfficePrefix.size();
}

bool IsOpenInOfficeProgram(const std::string& folder, std::string_view name)
{
    if (name.empty() || folder.empty())
        return false;
    const std::string libreOffice = std::string(kLibreOfficePrefix) + std::string(name) + "#";
    if (ExistsAsFile(PathInFolder(folder, libreOffice)))
        return true;
    const std::string office = std::string(kMicrosoftOfficePrefix) + std::string(name);
    if (ExistsAsFile(PathInFolder(folder, office)))
        return true;
    // Word and PowerPoint keep the lock name as long as the document's name by
    // putting "~$" in place of its first two characters.
    return name.size() > 2 && ExistsAsFile(PathInFolder(folder, std::string(kMicrosoftOfficePrefix) +
                                                                    std::string(name.substr(2))));
}

std::string OpenDocumentQuestion(std::string_view caption)
{
    return "Die Datei \"" + std::string(caption) +
           "\" ist gerade in einem anderen Programm geöffnet.\rWenn sie jetzt aktualisiert wird, kann das "
           "andere "
           "Programm sie beim Speichern wieder überschreiben.\rTrotzdem aktualisieren?";
}

void ConfirmOpenDocuments(util::StepPlan& plan, const std::string& localFolder,
                          const std::function<bool(std::string_view name)>& updateAnyway,
                          const OpenDocumentCheck& isOpen)
{
    for (util::PlanStep& step : plan.steps)
        if (step.work && isOpen(localFolder, step.name) && !updateAnyway(step.name))
            step.work = nullptr;
}

} // namespace filesync
