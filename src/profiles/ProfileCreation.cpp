#include "profiles/ProfileCreation.h"

#include "ini/LMDIniCtrl.h"
#include "profiles/ProfileStore.h"
#include "util/z_global.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace profiles {
namespace {

CreationResult Refused(CreationOutcome outcome, std::string message)
{
    return {outcome, std::move(message), {}};
}

} // namespace

std::string ProfilesFolderNotCreatedMessage(std::string_view profilesFolder)
{
    std::string text = "Ordner \"";
    text.append(profilesFolder).append("\" kann nicht erstellt werden.");
    return text;
}

CreationResult CreateProfile(const CreationRequest& request, ini::TLMDIniCtrl& ini)
{
    if (request.name.empty())
        return Refused(CreationOutcome::EmptyName, std::string(kEmptyNameMessage));
    // The name check also keeps out delimiters and "..", so the folder always
    // lies directly in the profiles folder.
    if (!util::IsValidName(request.name) || !IsSafeProfileName(request.name))
        return Refused(CreationOutcome::InvalidName, std::string(kInvalidNameMessage));
    std::error_code ec;
    if (request.localFolder.empty() || !fs::is_directory(request.localFolder, ec))
        return Refused(CreationOutcome::NoLocalFolder, std::string(kNoLocalFolderMessage));

    const std::string profilesFolder = ProfilesFolderPath(request.localFolder);
    if (!fs::is_directory(profilesFolder, ec)) {
        fs::create_directory(profilesFolder, ec);
        if (ec || !fs::is_directory(profilesFolder, ec))
            return Refused(CreationOutcome::ProfilesFolderFailed,
                           ProfilesFolderNotCreatedMessage(profilesFolder));
    }

    const std::string folder = ProfileFolderPath(request.localFolder, request.name);
    // Anything of that name counts, also a file or a link: the name is taken.
    if (fs::exists(fs::symlink_status(folder, ec)))
        return Refused(CreationOutcome::NameTaken, std::string(kNameTakenMessage));
    if (!fs::create_directory(folder, ec) || ec)
        return Refused(CreationOutcome::ProfileFolderFailed, std::string(kProfileNotCreatedMessage));

    ini.SetFileName(util::WithTrailingDelimiter(folder) + std::string(kProfileIniName));
    ini.WriteString(kProfileSection, kDescriptionKey, EncodeDescription(request.description));
    ini.WriteString(kProfileSection, kStartFileKey, request.startFile);
    return {CreationOutcome::Created, {}, folder};
}

} // namespace profiles
