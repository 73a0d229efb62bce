#pragma once

#include "platform/MountTable.h"

#include <filesystem>
#include <string>

namespace testsupport {

// Network paths of a test reach folders of the test: shares mounted as if by CIFS
// (one mount table line each) and a folder standing in for the desktop's user
// mounts. The machine's own mounts are not consulted while the object lives.
class FakeShares
{
public:
    explicit FakeShares(std::filesystem::path userMountRoot = {});
    ~FakeShares();
    FakeShares(const FakeShares&) = delete;
    FakeShares& operator=(const FakeShares&) = delete;

    // "//host/share" (or a folder in it) mounted at the folder.
    void Mount(const std::string& source, const std::filesystem::path& mountPoint);
    // A user mount of host/share below the user-mount root, made as a folder; its path.
    std::filesystem::path UserMount(const std::string& host, const std::string& share);

private:
    void Apply();

    platform::ShareSources m_sources;
};

} // namespace testsupport
