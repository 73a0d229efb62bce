#include "platform/MountTable.h"

#include "platform/TextCase.h"
#include "text/PercentDecode.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>

namespace platform {
namespace {

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// mountinfo writes blank, tab, newline and backslash as "\ooo".
std::string DecodeOctalEscapes(std::string_view s)
{
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && isOctal(s[i + 1]) && isOctal(s[i + 2]) && isOctal(s[i + 3])) {
            out.push_back(
                static_cast<char>(((s[i + 1] - '0') << 6) | ((s[i + 2] - '0') << 3) | (s[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start)
            fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool ParseDeviceNumbers(std::string_view field, unsigned& major, unsigned& minor)
{
    const std::size_t colon = field.find(':');
    if (colon == std::string_view::npos)
        return false;
    const char* end = field.data() + field.size();
    const auto a = std::from_chars(field.data(), field.data() + colon, major);
    const auto b = std::from_chars(field.data() + colon + 1, end, minor);
    return a.ec == std::errc{} && a.ptr == field.data() + colon && b.ec == std::errc{} && b.ptr == end;
}

bool HasOption(std::string_view options, std::string_view wanted)
{
    std::size_t i = 0;
    while (i <= options.size()) {
        std::size_t comma = options.find(',', i);
        if (comma == std::string_view::npos)
            comma = options.size();
        if (options.substr(i, comma - i) == wanted)
            return true;
        i = comma + 1;
    }
    return false;
}

std::string StripBrackets(std::string_view host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    return std::string(host);
}

// "host" or "[v6]" at the start of s, ended by ':' or '/' or the end; empty when
// a bracket is left open.
std::string_view LeadingHost(std::string_view s)
{
    if (!s.empty() && s.front() == '[') {
        const std::size_t close = s.find(']');
        return close == std::string_view::npos ? std::string_view{} : s.substr(0, close + 1);
    }
    return s.substr(0, s.find_first_of(":/"));
}

// "//host/share" as CIFS writes it (backslashes are accepted too).
std::string HostOfDoubleSlash(std::string_view source)
{
    if (!(StartsWith(source, "//") || StartsWith(source, "\\\\")))
        return {};
    std::string_view rest = source.substr(2);
    rest = rest.substr(0, rest.find_first_of("/\\"));
    if (const std::size_t at = rest.rfind('@'); at != std::string_view::npos)
        rest = rest.substr(at + 1);
    return StripBrackets(rest);
}

// "scheme://[user@]host[:port]/path"
std::string HostOfUrl(std::string_view source)
{
    const std::size_t sep = source.find("://");
    if (sep == std::string_view::npos || sep == 0)
        return {};
    std::string_view authority = source.substr(sep + 3);
    authority = authority.substr(0, authority.find('/'));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority = authority.substr(at + 1);
    return StripBrackets(LeadingHost(authority));
}

// "[user@]host:path" and "[user@][v6]:path" as NFS and SSHFS write them.
std::string HostOfHostColonPath(std::string_view source, bool allowUser)
{
    if (allowUser) {
        // The user ends at the last '@' before the host, which ends at ':' or starts with '['.
        const std::size_t limit = std::min(source.find(':'), source.find('['));
        const std::size_t at = source.rfind('@', limit);
        if (at != std::string_view::npos && (limit == std::string_view::npos || at < limit))
            source = source.substr(at + 1);
    }
    const std::string_view host = LeadingHost(source);
    if (host.empty() || host.size() >= source.size() || source[host.size()] != ':')
        return {};
    return StripBrackets(host);
}

std::string_view FuseSubtype(std::string_view fsType)
{
    return StartsWith(fsType, "fuse.") ? fsType.substr(5) : std::string_view{};
}

bool IsFuse(std::string_view fsType)
{
    return fsType == "fuse" || StartsWith(fsType, "fuse.");
}

bool LooksLikeNetworkSource(std::string_view source)
{
    if (!HostOfDoubleSlash(source).empty() || !HostOfUrl(source).empty())
        return true;
    // A bare "a:b" is too loose (pooling file systems join folders with ':'); with
    // a user it is the ssh form.
    return source.find('@') != std::string_view::npos && !HostOfHostColonPath(source, true).empty();
}

constexpr std::array<std::string_view, 12> kNetworkKernelTypes = {
    "cifs", "smb3", "smbfs", "nfs", "nfs4", "ceph", "afs", "ncpfs", "coda", "glusterfs", "lustre", "davfs"};

constexpr std::array<std::string_view, 10> kNetworkFuseSubtypes = {
    "sshfs",     "rclone",   "s3fs",       "curlftpfs", "glusterfs",
    "ceph-fuse", "smbnetfs", "gvfsd-fuse", "gcsfuse",   "davfs"};

// File systems without a device of their own that still keep data on local disks.
constexpr std::array<std::string_view, 6> kLocalDevicelessTypes = {"overlay",  "zfs",  "btrfs",
                                                                   "bcachefs", "aufs", "fuse.mergerfs"};

template <std::size_t N> bool Contains(const std::array<std::string_view, N>& list, std::string_view value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsNetworkGvfsType(std::string_view type)
{
    constexpr std::array<std::string_view, 12> kTypes = {
        "smb-share", "smb-server", "sftp",    "ftp", "ftps",       "dav",
        "davs",      "dav+sd",     "davs+sd", "nfs", "afp-volume", "afp-server"};
    return Contains(kTypes, type);
}

// The value of key in a user mount's name "type:key=value,key=value", decoded.
std::optional<std::string> GvfsParameter(std::string_view name, std::string_view key)
{
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::string_view params = name.substr(colon + 1);
    while (!params.empty()) {
        const std::size_t comma = params.find(',');
        const std::string_view param = params.substr(0, comma);
        params = comma == std::string_view::npos ? std::string_view{} : params.substr(comma + 1);
        const std::size_t eq = param.find('=');
        if (eq != std::string_view::npos && param.substr(0, eq) == key)
            return text::PercentDecoded(param.substr(eq + 1));
    }
    return std::nullopt;
}

std::vector<std::string_view> SplitPathNames(std::string_view path)
{
    std::vector<std::string_view> names;
    std::size_t i = 0;
    while (i < path.size()) {
        const std::size_t end = std::min(path.find_first_of("/\\", i), path.size());
        if (end > i)
            names.push_back(path.substr(i, end - i));
        i = end + 1;
    }
    return names;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a == b || FoldCase(a) == FoldCase(b);
}

std::string JoinBelow(std::string folder, const std::vector<std::string>& names, std::size_t from)
{
    for (std::size_t i = from; i < names.size(); ++i) {
        if (folder.empty() || folder.back() != '/')
            folder.push_back('/');
        folder += names[i];
    }
    return folder;
}

// How many names of rest a CIFS mount of the share covers, or nothing when it is
// no mount of that share. The source may name a folder in the share, and the
// mount's root may name a folder below the source (a bind mount) or repeat the
// source's folder (as some kernels show it).
std::optional<std::size_t> NamesCoveredByMount(const MountEntry& mount, std::string_view host,
                                               std::string_view share, const std::vector<std::string>& rest)
{
    if (mount.fsType != "cifs" && mount.fsType != "smb3" && mount.fsType != "smbfs")
        return std::nullopt;
    if (!(StartsWith(mount.source, "//") || StartsWith(mount.source, "\\\\")))
        return std::nullopt;
    std::vector<std::string_view> names = SplitPathNames(mount.source);
    if (names.size() < 2 || !SameNameIgnoringCase(names[0], host) || !SameNameIgnoringCase(names[1], share))
        return std::nullopt;
    std::vector<std::string_view> below(names.begin() + 2, names.end());
    const std::vector<std::string_view> root = SplitPathNames(mount.root);
    if (root.size() >= below.size() && std::equal(below.begin(), below.end(), root.begin()))
        below = root;
    else
        below.insert(below.end(), root.begin(), root.end());
    if (below.size() > rest.size())
        return std::nullopt;
    for (std::size_t i = 0; i < below.size(); ++i)
        if (!SameNameIgnoringCase(below[i], rest[i]))
            return std::nullopt;
    return below.size();
}

std::optional<std::string> UserMountOfShare(const std::string& gvfsRoot, std::string_view host,
                                            std::string_view share)
{
    if (gvfsRoot.empty())
        return std::nullopt;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(gvfsRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!StartsWith(name, "smb-share:"))
            continue;
        const auto server = GvfsParameter(name, "server");
        const auto shareName = GvfsParameter(name, "share");
        if (server && shareName && SameNameIgnoringCase(*server, host) &&
            SameNameIgnoringCase(*shareName, share))
            return it->path().string();
    }
    return std::nullopt;
}
} // namespace

MountTable ParseMountInfo(std::string_view text)
{
    MountTable table;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = text.size();
        const auto fields = SplitFields(text.substr(pos, eol - pos));
        pos = eol + 1;

        // id parent major:minor root mount-point options [optional...] - type source super-options
        const auto dash =
            std::find(fields.begin() + std::min<std::ptrdiff_t>(std::ssize(fields), 6), fields.end(), "-");
        if (fields.size() < 9 || dash == fields.end() || fields.end() - dash < 3)
            continue;
        MountEntry entry;
        if (!ParseDeviceNumbers(fields[2], entry.major, entry.minor))
            continue;
        entry.root = DecodeOctalEscapes(fields[3]);
        entry.mountPoint = DecodeOctalEscapes(fields[4]);
        entry.fsType = std::string(dash[1]);
        entry.source = DecodeOctalEscapes(dash[2]);
        if (fields.end() - dash >= 4)
            entry.superOptions = std::string(dash[3]);
        table.push_back(std::move(entry));
    }
    return table;
}

const MountEntry* FindMountOf(const MountTable& table, std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return nullptr;
    const MountEntry* best = nullptr;
    for (const MountEntry& m : table) {
        std::string_view mp = m.mountPoint;
        while (mp.size() > 1 && mp.back() == '/')
            mp.remove_suffix(1);
        const bool fits =
            mp == "/" || (StartsWith(path, mp) && (path.size() == mp.size() || path[mp.size()] == '/'));
        if (fits && (!best || mp.size() >= best->mountPoint.size()))
            best = &m;
    }
    return best;
}

bool IsNetworkMount(const MountEntry& mount)
{
    if (Contains(kNetworkKernelTypes, mount.fsType))
        return true;
    if (mount.fsType == "9p") // a virtual machine's host folder unless it goes over the network
        return HasOption(mount.superOptions, "trans=tcp") || HasOption(mount.superOptions, "trans=rdma");
    if (IsFuse(mount.fsType))
        return Contains(kNetworkFuseSubtypes, FuseSubtype(mount.fsType)) ||
               LooksLikeNetworkSource(mount.source);
    return false;
}

std::string HostOfMountSource(const MountEntry& mount)
{
    if (!IsNetworkMount(mount))
        return {};
    const std::string_view type = mount.fsType;
    const std::string_view source = mount.source;
    if (type == "cifs" || type == "smb3" || type == "smbfs")
        return HostOfDoubleSlash(source);
    if (type == "nfs" || type == "nfs4" || type == "glusterfs")
        return HostOfHostColonPath(source, false);
    if (type == "ceph") {
        // "mon1[:port][,mon2...]:/path"; the newer "user@fsid.name=/path" names no host.
        if (source.find('=') != std::string_view::npos)
            return {};
        return StripBrackets(LeadingHost(source.substr(0, source.find(','))));
    }
    if (type == "9p")
        return std::string(source);
    if (IsFuse(type)) {
        if (std::string host = HostOfDoubleSlash(source); !host.empty())
            return host;
        if (std::string host = HostOfUrl(source); !host.empty())
            return host;
        // rclone's "remote:path" names a configuration, not a host.
        if (FuseSubtype(type) == "sshfs" || source.find('@') != std::string_view::npos)
            return HostOfHostColonPath(source, true);
    }
    return {};
}

std::optional<GvfsLocation> ParseGvfsPath(std::string_view path)
{
    constexpr std::string_view kRunUser = "/run/user/";
    if (!StartsWith(path, kRunUser))
        return std::nullopt;
    std::string_view rest = path.substr(kRunUser.size());
    const std::size_t digits = rest.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos || !StartsWith(rest.substr(digits), "/gvfs/"))
        return std::nullopt;
    rest = rest.substr(digits + 6);
    const std::string_view name = rest.substr(0, rest.find('/'));
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return std::nullopt;

    GvfsLocation location;
    location.type = std::string(name.substr(0, colon));
    if (auto host = GvfsParameter(name, "server"))
        location.host = StripBrackets(*host);
    else if (auto other = GvfsParameter(name, "host"))
        location.host = StripBrackets(*other);
    return location;
}

std::string NetworkHostOfPathIn(const MountTable& table, std::string_view path)
{
    if (const auto gvfs = ParseGvfsPath(path))
        return IsNetworkGvfsType(gvfs->type) ? gvfs->host : std::string{};
    const MountEntry* mount = FindMountOf(table, path);
    return mount ? HostOfMountSource(*mount) : std::string{};
}

DriveType DriveTypeOfPathIn(const MountTable& table, std::string_view path, const RemovableProbe& isRemovable)
{
    if (const auto gvfs = ParseGvfsPath(path)) {
        if (IsNetworkGvfsType(gvfs->type))
            return DriveType::Remote;
        if (gvfs->type == "mtp" || gvfs->type == "gphoto2" || gvfs->type == "afc")
            return DriveType::Removable;
        if (gvfs->type == "cdda")
            return DriveType::CdRom;
        return DriveType::Unknown;
    }
    const MountEntry* mount = FindMountOf(table, path);
    if (!mount)
        return DriveType::Unknown;
    if (IsNetworkMount(*mount))
        return DriveType::Remote;
    const std::string_view type = mount->fsType;
    if (type == "iso9660" || type == "udf")
        return DriveType::CdRom;
    if (type == "tmpfs" || type == "ramfs")
        return DriveType::RamDisk;
    if (mount->major != 0 || StartsWith(mount->source, "/dev/"))
        return isRemovable && isRemovable(*mount) ? DriveType::Removable : DriveType::Fixed;
    if (Contains(kLocalDevicelessTypes, type))
        return DriveType::Fixed;
    return DriveType::Unknown;
}

std::optional<std::string> MountedShareFolderIn(const ShareSources& sources, std::string_view host,
                                                std::string_view share, const std::vector<std::string>& rest)
{
    if (host.empty() || share.empty())
        return std::nullopt;
    const MountEntry* best = nullptr;
    std::size_t bestCovered = 0;
    for (const MountEntry& mount : sources.mounts) {
        const auto covered = NamesCoveredByMount(mount, host, share, rest);
        if (covered && (!best || *covered >= bestCovered)) {
            best = &mount;
            bestCovered = *covered;
        }
    }
    if (best)
        return JoinBelow(best->mountPoint, rest, bestCovered);
    if (auto folder = UserMountOfShare(sources.gvfsRoot, host, share))
        return JoinBelow(std::move(*folder), rest, 0);
    return std::nullopt;
}

} // namespace platform
