#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Kinds of storage a path can lie on.
enum class DriveType : int
{
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// Kind of storage that the path lies on. NoRootDir when the path does not exist.
DriveType DriveTypeOf(const std::string& path);

// The host of the network share that the path lies on, taken from the mount table
// (CIFS/SMB "//host/share", NFS "host:/export", SSHFS "user@host:path") or from a
// GVFS path ".../gvfs/smb-share:server=host,share=..."; empty for a local path.
std::string NetworkHostOfPath(const std::string& path);

// Where the folder rest (one name per level) of the network share \\host\share is
// reached on this machine; nothing when the share is not mounted here.
std::optional<std::string> MountedShareFolder(const std::string& host, const std::string& share,
                                              const std::vector<std::string>& rest);

// Permanently removes a file or a folder with everything in it, asking nothing.
bool DeletePathSilently(const std::string& path);

} // namespace platform
