#include "support/FakeShares.h"

namespace testsupport {

FakeShares::FakeShares(std::filesystem::path userMountRoot)
{
    m_sources.gvfsRoot = userMountRoot.string();
    Apply();
}

FakeShares::~FakeShares()
{
    platform::SetShareSourcesForTesting(std::nullopt);
}

void FakeShares::Mount(const std::string& source, const std::filesystem::path& mountPoint)
{
    platform::MountEntry entry;
    entry.root = "/";
    entry.mountPoint = mountPoint.string();
    entry.fsType = "cifs";
    entry.source = source;
    m_sources.mounts.push_back(std::move(entry));
    Apply();
}

std::filesystem::path FakeShares::UserMount(const std::string& host, const std::string& share)
{
    const auto folder =
        std::filesystem::path(m_sources.gvfsRoot) / ("smb-share:server=" + host + ",share=" + share);
    std::filesystem::create_directories(folder);
    return folder;
}

void FakeShares::Apply()
{
    platform::SetShareSourcesForTesting(m_sources);
}

} // namespace testsupport
