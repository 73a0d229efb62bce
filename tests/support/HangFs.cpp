// A file system for tests that shows a backing folder and stops answering on demand,
// as a share whose server has gone away does: while the hold file exists, every
// look-up, listing, open, read and write waits until it is gone.
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
#include <sys/statvfs.h>
#include <sys/time.h>
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
    const int fd = ::open(Backing(path).c_str(), info->flags);
    if (fd < 0)
        return -errno;
    info->fh = static_cast<std::uint64_t>(fd);
    return 0;
}

int Create(const char* path, mode_t mode, fuse_file_info* info)
{
    WaitWhileHeld();
    const int fd = ::open(Backing(path).c_str(), info->flags | O_CREAT, mode);
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

int Write(const char*, const char* buffer, size_t size, off_t offset, fuse_file_info* info)
{
    WaitWhileHeld();
    const ssize_t n = ::pwrite(static_cast<int>(info->fh), buffer, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int Fsync(const char*, int, fuse_file_info* info)
{
    WaitWhileHeld();
    return ::fsync(static_cast<int>(info->fh)) == 0 ? 0 : -errno;
}

int Release(const char*, fuse_file_info* info)
{
    ::close(static_cast<int>(info->fh));
    return 0;
}

// The rest passes straight through to the backing folder, after the same wait.
int Result(int returned)
{
    return returned == 0 ? 0 : -errno;
}

int Mkdir(const char* path, mode_t mode)
{
    WaitWhileHeld();
    return Result(::mkdir(Backing(path).c_str(), mode));
}

int Rmdir(const char* path)
{
    WaitWhileHeld();
    return Result(::rmdir(Backing(path).c_str()));
}

int Unlink(const char* path)
{
    WaitWhileHeld();
    return Result(::unlink(Backing(path).c_str()));
}

int Rename(const char* from, const char* to, unsigned int flags)
{
    WaitWhileHeld();
    if (flags != 0)
        return -EINVAL;
    return Result(::rename(Backing(from).c_str(), Backing(to).c_str()));
}

int Truncate(const char* path, off_t size, fuse_file_info* info)
{
    WaitWhileHeld();
    return Result(info ? ::ftruncate(static_cast<int>(info->fh), size)
                       : ::truncate(Backing(path).c_str(), size));
}

int Chmod(const char* path, mode_t mode, fuse_file_info*)
{
    WaitWhileHeld();
    return Result(::chmod(Backing(path).c_str(), mode));
}

int Chown(const char* path, uid_t uid, gid_t gid, fuse_file_info*)
{
    WaitWhileHeld();
    return Result(::lchown(Backing(path).c_str(), uid, gid));
}

int Utimens(const char* path, const timespec times[2], fuse_file_info*)
{
    WaitWhileHeld();
    return Result(::utimensat(AT_FDCWD, Backing(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int Statfs(const char* path, struct statvfs* st)
{
    WaitWhileHeld();
    return Result(::statvfs(Backing(path).c_str(), st));
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
    ops.create = Create;
    ops.read = Read;
    ops.write = Write;
    ops.fsync = Fsync;
    ops.release = Release;
    ops.mkdir = Mkdir;
    ops.rmdir = Rmdir;
    ops.unlink = Unlink;
    ops.rename = Rename;
    ops.truncate = Truncate;
    ops.chmod = Chmod;
    ops.chown = Chown;
    ops.utimens = Utimens;
    ops.statfs = Statfs;
    // Foreground, so that the test owns the process; the mount point and options follow.
    std::vector<char*> args{argv[0], const_cast<char*>("-f")};
    for (int i = 3; i < argc; ++i)
        args.push_back(argv[i]);
    return fuse_main(static_cast<int>(args.size()), args.data(), &ops, nullptr);
}
