#pragma once

#include <string>

namespace platform {

// Drive type codes, numbered as the original platform numbers them.
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

// Permanently removes a file or a folder with everything in it, asking nothing.
bool DeletePathSilently(const std::string& path);

} // namespace platform
