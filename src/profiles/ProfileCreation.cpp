#include "profiles/ProfileCreation.h"

#include "ini/LMDIniCtrl.h"
#include "profiles/ProfileStore.h"
#include "text/Utf8Path.h"
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
    if (request.localFolder.empty() || !fs::is_directory(text::PathFromUtf8(request.localFolder), ec))
        return util::Failed(std::string(kNoLocalFolderMessage));

    const std::string profilesFolder = ProfilesFolderPath(request.localFolder);
    const fs::path profilesPath = text::PathFromUtf8(profilesFolder);
    if (!fs::is_directory(profilesPath, ec)) {
        fs::create_directory(profilesPath, ec);
        if (ec || !fs::is_directory(profilesPath, ec))
            return util::Failed(ProfilesFolderNotCreatedMessage(profilesFolder));
    }

    const std::string folder = ProfileFolderPath(request.localFolder, request.name).value_or(std::string());
    // Anything of that name counts, also a file or a link: the name is taken.
    const fs::path folderPath = text::PathFromUtf8(folder);
    if (fs::exists(fs::symlink_status(folderPath, ec)))
        return util::Failed(std::string(kNameTakenMessage));
    if (!fs::create_directory(folderPath, ec) || ec)
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
