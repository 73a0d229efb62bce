#include "sync/ServerHost.h"

#include "platform/FileSystem.h"
#include "sync/ServerFolder.h"

namespace filesync {

std::string HostNameOfServerFolder(const std::string& path)
{
    return HostNameOfServerFolder(path, platform::NetworkHostOfPath);
}

std::string HostNameOfServerFolder(const std::string& path, const MountedShareHost& mountedShareHost)
{
    // A network path names its host only when a delimiter ends it: "\\srv01\"
    // names srv01, "\\srv01" names none.
    if (const auto address = ParseShareAddress(path))
        return address->hostEnded ? address->host : std::string{};
    if (path.empty() || !mountedShareHost)
        return {};
    return mountedShareHost(path);
}

} // namespace filesync
