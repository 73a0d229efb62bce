#pragma once

#include "ini/LMDIniCtrl.h"
#include "sync/ServerHost.h"
#include "util/Outcome.h"
#include "util/z_global.h"

#include <string>
#include <string_view>

// The four folders of the storage-locations dialog: checking them, creating a
// missing local folder, and storing them in the settings file and the run-time state.
namespace settings {

inline constexpr std::string_view kGermanPairEqualMessage =
    "Bereich \"Deutsch\": Die Pfade dürfen nicht gleich sein.";
inline constexpr std::string_view kEnglishPairEqualMessage =
    "Bereich \"Englisch\": Die Pfade dürfen nicht gleich sein.";
inline constexpr std::string_view kEqualPathsMessage = "Es existieren gleiche Pfade. Bitte korrigieren.";
inline constexpr std::string_view kLocalFolderNotCreatedMessage = "Lokaler Ordner wurde nicht erstellt";

// The fields in tab order: German local, German server, English local, English server.
struct StorageLocations
{
    std::string localGerman;
    std::string serverGerman;
    std::string localEnglish;
    std::string serverEnglish;

    bool operator==(const StorageLocations&) const = default;
};

// Blanks and tabs at either end removed. The settings file keeps no blanks at the
// ends of a value, so a folder ending in one would be lost at the next start.
StorageLocations TrimmedLocations(const StorageLocations& fields);

// The checks that need only the texts, first failure wins: a pair holding the same
// text (letter case counts; an empty local field never counts), any two of the
// four equal without regard to case (empty fields never equal), then a path that
// is not a full one (a server folder may also be a share written as a network path
// that names its host), two fields naming one folder in different spelling, and a
// local folder inside a server folder or the reverse. Done when all pass, else
// Refused with the message to show.
util::Outcome<> CheckLocationTexts(const StorageLocations& fields);

// The checks that look at the disk, after the text checks: a local path that is
// an existing file, and nesting of a local and a server folder once links are
// resolved and shares taken where they are mounted. Done, or Refused with the
// message to show.
util::Outcome<> CheckLocationsOnDisk(const StorageLocations& fields);

bool LocalFolderExists(const std::string& path);

// The folders of a language are not set up yet: no server folder given (empty,
// or still the prompt text of the defaults) or no local folder there. An empty
// list then says how to set them.
bool FoldersNotSetUp(const std::string& localFolder, const std::string& serverFolder);
// Asks whether to create the missing folder; \r between the lines.
std::string CreateLocalFolderQuestion(const std::string& path);
std::string FolderNotCreatableMessage(const std::string& path);
// One level only: the parent must exist. Failed with FolderNotCreatableMessage
// otherwise, also for an empty path.
util::Outcome<> CreateLocalFolder(const std::string& path);

struct HostNames
{
    std::string german;
    std::string english;
};
HostNames DeriveHostNames(const StorageLocations& fields, const filesync::MountedShareHost& mountedShareHost);

// Stores confirmed fields with their host names (found by DeriveHostNames
// beforehand, as that waits on the shares): the four folder keys in tab order, then
// the run-time state (each folder cut to 255 characters, the current pair by the
// language flag), then the two host names into the state and the keys
// ServerNameDeutsch and ServerNameEnglisch. A failed write gives Failed with the
// write error's message; what was written before it stays written.
util::Outcome<> StoreLocations(const StorageLocations& fields, const HostNames& hosts, ini::TLMDIniCtrl& ini,
                               util::RuntimeState& state);
// What StoreLocations sets in the run-time state, from a copy it was stored in
// (as file work) into the state in use.
void TakeStoredLocations(const util::RuntimeState& from, util::RuntimeState& to);

} // namespace settings
