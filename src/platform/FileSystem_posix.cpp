#include "platform/FileSystem.h"

#include "platform/MountTable.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

MountTable ReadMountTable()
{
    std::ifstream in("/proc/self/mountinfo");
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return ParseMountInfo(text.str());
}

// Where the desktop's session keeps its user mounts.
std::string UserMountRoot()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string base =
        runtime && *runtime == '/' ? std::string(runtime) : "/run/user/" + std::to_string(getuid());
    return base + "/gvfs";
}

std::mutex g_shareSourcesMutex;
std::optional<ShareSources> g_shareSourcesForTesting;

bool ReadFlagFile(const fs::path& file)
{
    std::ifstream in(file);
    char c = '0';
    return in.get(c) && c == '1';
}

// Removable by the kernel's own flag, which a partition takes from its disk.
bool IsRemovableDevice(const MountEntry& mount)
{
    std::error_code ec;
    fs::path device;
    if (mount.major != 0)
        device = fs::canonical(fs::path("/sys/dev/block") /
                                   (std::to_string(mount.major) + ":" + std::to_string(mount.minor)),
                               ec);
    if (device.empty() && mount.source.starts_with("/dev/")) {
        // Some file systems (btrfs) report an anonymous device number.
        const fs::path node = fs::canonical(mount.source, ec);
        if (!ec)
            device = fs::canonical(fs::path("/sys/class/block") / node.filename(), ec);
    }
    if (device.empty() || ec)
        return false;
    if (ReadFlagFile(device / "removable"))
        return true;
    return fs::exists(device / "partition", ec) && ReadFlagFile(device.parent_path() / "removable");
}

// An entry that is gone already counts as removed: the goal is that nothing is left.
bool Gone()
{
    return errno == ENOENT;
}

bool RemoveTreeAt(int parentFd, const char* name);

bool RemoveDirectoryContents(int dirFd)
{
    // Collect the names first: removing entries while reading the stream is
    // allowed but may skip some on certain file systems.
    const int readFd = dup(dirFd);
    if (readFd < 0)
        return false;
    DIR* dir = fdopendir(readFd);
    if (!dir) {
        close(readFd);
        return false;
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view n = entry->d_name;
        if (n != "." && n != "..")
            names.emplace_back(n);
    }
    const bool readOk = errno == 0;
    closedir(dir);

    bool ok = readOk;
    for (const std::string& n : names)
        ok = RemoveTreeAt(dirFd, n.c_str()) && ok;
    return ok;
}

bool RemoveTreeAt(int parentFd, const char* name)
{
    struct stat st
    {
    };
    if (fstatat(parentFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Gone();
    if (!S_ISDIR(st.st_mode))
        return unlinkat(parentFd, name, 0) == 0 || Gone();

    // A folder that we may not read or change is ours to open up first, as a
    // silent delete of read-only items would.
    if ((st.st_mode & S_IRWXU) != S_IRWXU && st.st_uid == geteuid())
        (void)fchmodat(parentFd, name, (st.st_mode & 07777) | S_IRWXU, AT_SYMLINK_NOFOLLOW);

    // O_NOFOLLOW: should the folder be swapped for a link meanwhile, we remove the
    // link below instead of descending into what it points to.
    const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOTDIR || errno == ELOOP)
            return unlinkat(parentFd, name, 0) == 0 || Gone();
        return Gone();
    }
    bool ok = RemoveDirectoryContents(fd);
    close(fd);
    if (unlinkat(parentFd, name, AT_REMOVEDIR) != 0 && !Gone())
        ok = false;
    return ok;
}

} // namespace

DriveType DriveTypeOf(const std::string& path)
{
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found)
        return DriveType::NoRootDir;
    if (ec)
        return DriveType::Unknown;
    const fs::path canonical = fs::canonical(path, ec);
    if (ec)
        return DriveType::Unknown;
    return DriveTypeOfPathIn(ReadMountTable(), canonical.string(), IsRemovableDevice);
}

std::optional<std::string> MountedShareFolder(const std::string& host, const std::string& share,
                                              const std::vector<std::string>& rest)
{
    {
        const std::lock_guard lock(g_shareSourcesMutex);
        if (g_shareSourcesForTesting)
            return MountedShareFolderIn(*g_shareSourcesForTesting, host, share, rest);
    }
    return MountedShareFolderIn({ReadMountTable(), UserMountRoot()}, host, share, rest);
}

void SetShareSourcesForTesting(std::optional<ShareSources> sources)
{
    const std::lock_guard lock(g_shareSourcesMutex);
    g_shareSourcesForTesting = std::move(sources);
}

std::string NetworkHostOfPath(const std::string& path)
{
    if (path.empty())
        return {};
    std::error_code ec;
    // Weakly: a server folder that does not exist (yet) still lies on its share.
    const fs::path absolute = fs::absolute(path, ec);
    if (ec)
        return {};
    const fs::path canonical = fs::weakly_canonical(absolute, ec);
    if (ec)
        return {};
    return NetworkHostOfPathIn(ReadMountTable(), canonical.string());
}

bool DeletePathSilently(const std::string& path)
{
    std::string_view p = path;
    // "link/" would name the link's target, not the link.
    while (p.size() > 1 && p.back() == '/')
        p.remove_suffix(1);
    const std::string_view last = p.substr(p.rfind('/') == std::string_view::npos ? 0 : p.rfind('/') + 1);
    if (p.empty() || p == "/" || last == "." || last == "..")
        return false;

    const std::string target(p);
    struct stat st
    {
    };
    if (fstatat(AT_FDCWD, target.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return RemoveTreeAt(AT_FDCWD, target.c_str());
}

} // namespace platform
