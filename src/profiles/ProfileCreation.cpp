#include "profiles/ProfileCreation.h"

#include "ini/LMDIniCtrl.h"
#include "profiles/ProfileStore.h"
#include "util/z_global.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace profiles {

std::string ProfilesFolderNotCreatedMessage(std::string_view profilesFolder)
{
    std::string text = "Ordner \"";
    text.append(profilesFolder).append("\" kann nicht erstellt werden.");
    return text;
}

util::Outcome<std::string> CreateProfile(const CreationRequest& request, ini::TLMDIniCtrl& ini)
{
    if (request.name.empty())
        return util::Refused(std::string(kEmptyNameMessage));
    // The name check also keeps out delimiters and "..", so the folder always
    // lies directly in the profiles folder.
    if (!util::IsValidName(request.name) || !IsSafeProfileName(request.name))
        return util::Refused(std::string(kInvalidNameMessage));
    std::error_code ec;
    if (request.localFolder.empty() || !fs::is_directory(request.localFolder, ec))
        return util::Failed(std::string(kNoLocalFolderMessage));

    const std::string profilesFolder = ProfilesFolderPath(request.localFolder);
    if (!fs::is_directory(profilesFolder, ec)) {
        fs::create_directory(profilesFolder, ec);
        if (ec || !fs::is_directory(profilesFolder, ec))
            return util::Failed(ProfilesFolderNotCreatedMessage(profilesFolder));
    }

    const std::string folder = ProfileFolderPath(request.localFolder, request.name);
    // Anything of that name counts, also a file or a link: the name is taken.
    if (fs::exists(fs::symlink_status(folder, ec)))
        return util::Failed(std::string(kNameTakenMessage));
    if (!fs::create_directory(folder, ec) || ec)
        return util::Failed(std::string(kProfileNotCreatedMessage));

    ini.SetFileName(util::WithTrailingDelimiter(folder) + std::string(kProfileIniName));
    try {
        ini.WriteString(kProfileSection, kDescriptionKey, EncodeDescription(request.description));
        ini.WriteString(kProfileSection, kStartFileKey, request.startFile);
    } catch (const ini::IniWriteError& e) {
        return util::Failed(e.what());
    }
    return util::Done(folder);
}

} // namespace profiles
