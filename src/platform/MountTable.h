#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Linux mount table (the text of /proc/self/mountinfo) and what it tells about
// a path: the kind of storage and the host of a network share. Plain text work, so
// that tests can feed a table of their own.
namespace platform {

struct MountEntry
{
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;
    std::string mountPoint;
    std::string fsType;
    std::string source;
    std::string superOptions;
};

using MountTable = std::vector<MountEntry>;

// Lines that do not have the mountinfo shape are skipped. Octal escapes ("\040"
// for a blank) in paths and sources are decoded.
MountTable ParseMountInfo(std::string_view text);

// The mount that an absolute, canonical path lies on: the longest mount point that
// is a whole-component prefix of the path; of equal ones the last, which hides the
// others. Null when none fits (a relative path).
const MountEntry* FindMountOf(const MountTable& table, std::string_view path);

bool IsNetworkMount(const MountEntry& mount);

// Host named by the source of a network mount; empty for local mounts and for
// network kinds whose source names no host.
std::string HostOfMountSource(const MountEntry& mount);

// A path below a GVFS mount (/run/user/UID/gvfs/TYPE:key=value,.../...): the kind
// of location and its server.
struct GvfsLocation
{
    std::string type;
    std::string host;
};
std::optional<GvfsLocation> ParseGvfsPath(std::string_view path);

// What makes network shares reachable as folders on this machine: the mount table
// and the folder holding the desktop's user mounts ("smb-share:server=...,share=...").
struct ShareSources
{
    MountTable mounts;
    std::string gvfsRoot; // empty when the desktop keeps no user mounts
};

// The folder through which the folder rest (one name per level) of the share
// //host/share is reached: below a CIFS mount of the share or of a folder in it
// (the deepest such mount, of equal ones the last), else below a user mount of the
// share. Host, share and the folders of a mounted subfolder match without regard
// to letter case, as the server treats them. Nothing when the share is not mounted.
std::optional<std::string> MountedShareFolderIn(const ShareSources& sources, std::string_view host,
                                                std::string_view share, const std::vector<std::string>& rest);

// Makes MountedShareFolder answer from these sources instead of the machine's;
// nothing restores the machine's.
void SetShareSourcesForTesting(std::optional<ShareSources> sources);

// Network host of an absolute, canonical path, from the path itself (GVFS) or from
// the mount it lies on. Empty for a local path.
std::string NetworkHostOfPathIn(const MountTable& table, std::string_view path);

// Whether the block device behind a mount is a removable medium.
using RemovableProbe = std::function<bool(const MountEntry&)>;

// Kind of storage of an existing, absolute, canonical path.
DriveType DriveTypeOfPathIn(const MountTable& table, std::string_view path,
                            const RemovableProbe& isRemovable);

} // namespace platform
