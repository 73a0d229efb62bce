// A file system for tests that shows a backing folder read-only and stops answering
// on demand, as a share whose server has gone away does: while the hold file
// exists, every look-up, listing, open and read waits until it is gone.
//
//   quintor_hangfs BACKING HOLD_FILE MOUNTPOINT [fuse options]
#define FUSE_USE_VERSION 35
#include <fuse.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string g_backing;
std::string g_hold;

void WaitWhileHeld()
{
    struct stat st;
    while (::stat(g_hold.c_str(), &st) == 0)
        ::usleep(10'000);
}

std::string Backing(const char* path)
{
    return g_backing + path;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info*)
{
    WaitWhileHeld();
    return ::lstat(Backing(path).c_str(), st) == 0 ? 0 : -errno;
}

int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*, fuse_readdir_flags)
{
    WaitWhileHeld();
    DIR* dir = ::opendir(Backing(path).c_str());
    if (!dir)
        return -errno;
    while (const dirent* ent = ::readdir(dir)) {
        struct stat st = {};
        st.st_ino = ent->d_ino;
        st.st_mode = static_cast<mode_t>(DTTOIF(ent->d_type));
        if (fill(buffer, ent->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0)) != 0)
            break;
    }
    ::closedir(dir);
    return 0;
}

int Open(const char* path, fuse_file_info* info)
{
    WaitWhileHeld();
    if ((info->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    const int fd = ::open(Backing(path).c_str(), info->flags);
    if (fd < 0)
        return -errno;
    info->fh = static_cast<std::uint64_t>(fd);
    return 0;
}

int Read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* info)
{
    WaitWhileHeld();
    const ssize_t n = ::pread(static_cast<int>(info->fh), buffer, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int Release(const char*, fuse_file_info* info)
{
    ::close(static_cast<int>(info->fh));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s BACKING HOLD_FILE MOUNTPOINT [fuse options]\n", argv[0]);
        return 2;
    }
    g_backing = argv[1];
    g_hold = argv[2];
    fuse_operations ops = {};
    ops.getattr = GetAttr;
    ops.readdir = ReadDir;
    ops.open = Open;
    ops.read = Read;
    ops.release = Release;
    // Foreground, so that the test owns the process; the mount point and options follow.
    std::vector<char*> args{argv[0], const_cast<char*>("-f")};
    for (int i = 3; i < argc; ++i)
        args.push_back(argv[i]);
    return fuse_main(static_cast<int>(args.size()), args.data(), &ops, nullptr);
}
