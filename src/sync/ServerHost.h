#pragma once

#include <functional>
#include <string>

namespace filesync {

// The host of the network share that a local path lies on (a mounted share), empty
// for a local path. By default the platform's mount table answers; tests pass their own.
using MountedShareHost = std::function<std::string(const std::string& path)>;

// The host that the reachability check pings for a server folder: from the path
// itself ("\\host\share\...", "//host/share/...", "smb://[user@]host/share/...") or
// else from the share the path is mounted from. Empty when there is no host.
std::string HostNameOfServerFolder(const std::string& path);
std::string HostNameOfServerFolder(const std::string& path, const MountedShareHost& mountedShareHost);

} // namespace filesync
