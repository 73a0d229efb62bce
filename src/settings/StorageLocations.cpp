#include "settings/StorageLocations.h"

#include "platform/TextCase.h"
#include "settings/Settings.h"
#include "sync/ServerFolder.h"
#include "text/Utf8Path.h"

#include <array>
#include <filesystem>

namespace settings {
namespace {

namespace fs = std::filesystem;

enum class Kind
{
    Local,
    Server,
};

struct Field
{
    const std::string& text;
    Kind kind;
};

std::array<Field, 4> Fields(const StorageLocations& f)
{
    return {Field{f.localGerman, Kind::Local}, Field{f.serverGerman, Kind::Server},
            Field{f.localEnglish, Kind::Local}, Field{f.serverEnglish, Kind::Server}};
}

std::string Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

// The folder a path names, for comparing: "." and ".." resolved, no trailing
// delimiter, letter case folded; a share in any of its spellings as "//host/share/...".
// Case is folded on every platform: a false "same folder" only refuses a setting,
// a missed one could let copies land in a server folder.
fs::path ComparisonForm(const std::string& text)
{
    fs::path path = ::text::PathFromUtf8(text);
    if (const auto address = filesync::ParseShareAddress(text); address && address->complete) {
        path = "//" + address->host + "/" + address->share;
        for (const std::string& folder : address->folders)
            path /= folder;
    }
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path())
        normal = normal.parent_path();
    const std::u8string generic = normal.generic_u8string();
    return ::text::PathFromUtf8(platform::FoldCase(std::string(generic.begin(), generic.end())));
}

// Whether inner is outer itself or lies somewhere below it.
bool IsSameOrInside(const fs::path& inner, const fs::path& outer)
{
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (i == inner.end() || *i != *o)
            return false;
    }
    return true;
}

std::string NestedMessage(const std::string& local, const std::string& server)
{
    return "Der lokale Ordner " + Quoted(local) + " und der Serverpfad " + Quoted(server) +
           " liegen ineinander. Der lokale Ordner muss außerhalb des Serverordners liegen.";
}

// A local and a server folder where one holds the other: copies would be written
// into the server folder, or a profile delete could remove it.
template <typename Resolve> util::Outcome<> CheckNesting(const StorageLocations& fields, Resolve resolve)
{
    for (const Field& local : Fields(fields)) {
        if (local.kind != Kind::Local || local.text.empty())
            continue;
        const fs::path localForm = resolve(local);
        for (const Field& server : Fields(fields)) {
            if (server.kind != Kind::Server || server.text.empty())
                continue;
            const fs::path serverForm = resolve(server);
            if (localForm.empty() || serverForm.empty())
                continue;
            if (IsSameOrInside(localForm, serverForm) || IsSameOrInside(serverForm, localForm))
                return util::Refused(NestedMessage(local.text, server.text));
        }
    }
    return util::Done();
}

void WriteLocations(const StorageLocations& fields, const HostNames& hosts, ini::TLMDIniCtrl& ini,
                    util::RuntimeState& state)
{
    ini.WriteString(kSectionAllgemein, key::EditLPfadDeutsch, fields.localGerman);
    ini.WriteString(kSectionAllgemein, key::EditSPfadDeutsch, fields.serverGerman);
    ini.WriteString(kSectionAllgemein, key::EditLPfadEnglisch, fields.localEnglish);
    ini.WriteString(kSectionAllgemein, key::EditSPfadEnglisch, fields.serverEnglish);

    state.LocalFolderGerman = util::CutText(fields.localGerman);
    state.ServerFolderGerman = util::CutText(fields.serverGerman);
    state.LocalFolderEnglish = util::CutText(fields.localEnglish);
    state.ServerFolderEnglish = util::CutText(fields.serverEnglish);
    const bool german = state.LanguageFlag != 0;
    state.CurrentServerFolder = german ? state.ServerFolderGerman : state.ServerFolderEnglish;
    state.CurrentLocalFolder = german ? state.LocalFolderGerman : state.LocalFolderEnglish;

    state.HostNameGerman = hosts.german;
    state.HostNameEnglish = hosts.english;
    ini.WriteString(kSectionAllgemein, key::ServerNameDeutsch, hosts.german);
    ini.WriteString(kSectionAllgemein, key::ServerNameEnglisch, hosts.english);
}

} // namespace

StorageLocations TrimmedLocations(const StorageLocations& fields)
{
    return {Trimmed(fields.localGerman), Trimmed(fields.serverGerman), Trimmed(fields.localEnglish),
            Trimmed(fields.serverEnglish)};
}

util::Outcome<> CheckLocationTexts(const StorageLocations& fields)
{
    if (!fields.localGerman.empty() && fields.localGerman == fields.serverGerman)
        return util::Refused(std::string(kGermanPairEqualMessage));
    if (!fields.localEnglish.empty() && fields.localEnglish == fields.serverEnglish)
        return util::Refused(std::string(kEnglishPairEqualMessage));

    const auto all = Fields(fields);
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
            if (!all[i].text.empty() && platform::FoldCase(all[i].text) == platform::FoldCase(all[j].text))
                return util::Refused(std::string(kEqualPathsMessage));

    for (const Field& field : all) {
        if (field.text.empty())
            continue;
        // A server folder may be a share written as a network path, as long as it names a host.
        const auto address =
            field.kind == Kind::Server ? filesync::ParseShareAddress(field.text) : std::nullopt;
        if (address ? !address->host.empty() : ::text::PathFromUtf8(field.text).is_absolute())
            continue;
        if (field.kind == Kind::Local)
            return util::Refused("Lokaler Ordner " + Quoted(field.text) +
                                 ": Bitte einen vollständigen Pfad angeben.");
        return util::Refused("Serverpfad " + Quoted(field.text) +
                             ": Bitte einen vollständigen Pfad angeben oder das Feld leer lassen.");
    }

    // The same folder spelt differently ("/a/b" and "/a/b/") counts as equal too.
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
            if (!all[i].text.empty() && !all[j].text.empty() &&
                ComparisonForm(all[i].text) == ComparisonForm(all[j].text))
                return util::Refused(std::string(kEqualPathsMessage));

    return CheckNesting(fields, [](const Field& field) { return ComparisonForm(field.text); });
}

util::Outcome<> CheckLocationsOnDisk(const StorageLocations& fields)
{
    for (const Field& field : Fields(fields)) {
        std::error_code ec;
        if (field.kind == Kind::Local && !field.text.empty() &&
            fs::exists(::text::PathFromUtf8(field.text), ec) &&
            !fs::is_directory(::text::PathFromUtf8(field.text), ec))
            return util::Refused("Lokaler Ordner " + Quoted(field.text) +
                                 " ist eine Datei. Bitte einen Ordner angeben.");
    }
    // Links resolved and shares taken where they are mounted: a local folder that
    // leads into a server folder through a link or a mount. A share not mounted
    // here cannot hold a local folder.
    return CheckNesting(fields, [](const Field& field) {
        const std::string path =
            field.kind == Kind::Server ? filesync::LocateServerFolder(field.text).path : field.text;
        if (path.empty())
            return fs::path();
        std::error_code ec;
        const fs::path resolved = fs::weakly_canonical(::text::PathFromUtf8(path), ec);
        return ComparisonForm(ec ? path : ::text::Utf8FromPath(resolved));
    });
}

bool LocalFolderExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(::text::PathFromUtf8(path), ec);
}

bool FoldersNotSetUp(const std::string& localFolder, const std::string& serverFolder)
{
    const std::string_view server = serverFolder;
    const bool noServer =
        server.find_first_not_of(' ') == std::string_view::npos || server == kServerFolderPrompt;
    return noServer || !LocalFolderExists(localFolder);
}

std::string CreateLocalFolderQuestion(const std::string& path)
{
    return "Lokaler Ordner " + Quoted(path) + " existiert nicht.\rWollen Sie es jetzt erstellen?";
}

std::string FolderNotCreatableMessage(const std::string& path)
{
    return "Ordner " + Quoted(path) + " kann nicht erstellt werden.";
}

util::Outcome<> CreateLocalFolder(const std::string& path)
{
    std::error_code ec;
    // create_directory makes one level only: a missing parent fails.
    if (!path.empty() && fs::create_directory(::text::PathFromUtf8(path), ec) && !ec)
        return util::Done();
    return util::Failed(FolderNotCreatableMessage(path));
}

HostNames DeriveHostNames(const StorageLocations& fields, const filesync::MountedShareHost& mountedShareHost)
{
    return {filesync::HostNameOfServerFolder(fields.serverGerman, mountedShareHost),
            filesync::HostNameOfServerFolder(fields.serverEnglish, mountedShareHost)};
}

util::Outcome<> StoreLocations(const StorageLocations& fields, const HostNames& hosts, ini::TLMDIniCtrl& ini,
                               util::RuntimeState& state)
{
    try {
        WriteLocations(fields, hosts, ini, state);
    } catch (const ini::IniWriteError& e) {
        return util::Failed(e.what());
    }
    return util::Done();
}

void TakeStoredLocations(const util::RuntimeState& from, util::RuntimeState& to)
{
    to.LocalFolderGerman = from.LocalFolderGerman;
    to.ServerFolderGerman = from.ServerFolderGerman;
    to.LocalFolderEnglish = from.LocalFolderEnglish;
    to.ServerFolderEnglish = from.ServerFolderEnglish;
    to.CurrentLocalFolder = from.CurrentLocalFolder;
    to.CurrentServerFolder = from.CurrentServerFolder;
    to.HostNameGerman = from.HostNameGerman;
    to.HostNameEnglish = from.HostNameEnglish;
}

} // namespace settings
