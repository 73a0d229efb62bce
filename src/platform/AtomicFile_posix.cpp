#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::function<bool(AtomicWriteStep)>& FaultHook()
{
    static std::function<bool(AtomicWriteStep)> hook;
    return hook;
}

bool FaultInjected(AtomicWriteStep step)
{
    const auto& hook = FaultHook();
    return hook && hook(step);
}

bool Fail(std::string* errorText, const std::string& what, int error)
{
    if (errorText)
        *errorText = what + ": " + std::strerror(error);
    return false;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Renaming over a symbolic link would replace the link; replace the file it names.
std::string ResolveLink(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec)))
        return path;
    const auto resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

bool WriteAll(int fd, const char* data, std::size_t size, int& error)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

struct AtomicFileWriter::State
{
    std::string target;
    std::string temp;
    int fd = -1;
    bool targetExists = false;
    struct stat targetStat = {};
};

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : m_state(std::make_unique<State>())
{
    m_state->target = ResolveLink(targetPath);
}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

std::string AtomicFileWriter::TemporaryPath() const
{
    return m_state->temp;
}

bool AtomicFileWriter::Open(std::string* errorText)
{
    Discard();
    State& s = *m_state;
    s.targetExists = false;
    if (::stat(s.target.c_str(), &s.targetStat) == 0) {
        if (!S_ISREG(s.targetStat.st_mode))
            return Fail(errorText, s.target, EISDIR);
        // A file without any write permission is meant to stay as it is, also for
        // root, whom access() never refuses.
        if ((s.targetStat.st_mode & 0222) == 0 || ::access(s.target.c_str(), W_OK) != 0)
            return Fail(errorText, s.target, EACCES);
        s.targetExists = true;
    } else if (errno != ENOENT) {
        return Fail(errorText, s.target, errno);
    }

    if (FaultInjected(AtomicWriteStep::Create))
        return Fail(errorText, s.target, EIO);

    // Hidden name in the same folder, so that the rename stays on one file system.
    const std::string stem = FolderOf(s.target) + "/." + NameOf(s.target) + ".";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        const std::string candidate = stem + suffix + ".tmp";
        // Mode 0666 lets the umask decide for a new file; an existing file's mode is copied in Commit().
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            s.fd = fd;
            s.temp = candidate;
            return true;
        }
        if (errno != EEXIST)
            return Fail(errorText, candidate, errno);
    }
    return Fail(errorText, stem, EEXIST);
}

bool AtomicFileWriter::Write(std::string_view chunk, std::string* errorText)
{
    State& s = *m_state;
    if (s.fd < 0)
        return Fail(errorText, s.target, EBADF);
    int error = 0;
    if (FaultInjected(AtomicWriteStep::Write)) {
        WriteAll(s.fd, chunk.data(), chunk.size() / 2, error);
        Discard();
        return Fail(errorText, s.target, ENOSPC);
    }
    if (!WriteAll(s.fd, chunk.data(), chunk.size(), error)) {
        Discard();
        return Fail(errorText, s.target, error);
    }
    return true;
}

bool AtomicFileWriter::Commit(std::string* errorText)
{
    State& s = *m_state;
    if (s.fd < 0)
        return Fail(errorText, s.target, EBADF);
    if (s.targetExists) {
        // Owner first: changing it may clear set-id bits that the mode then restores.
        // Only root can give a file away; for anyone else the owner is already right.
        if (::geteuid() == 0)
            (void)::fchown(s.fd, s.targetStat.st_uid, s.targetStat.st_gid);
        if (::fchmod(s.fd, s.targetStat.st_mode & 07777) != 0) {
            const int error = errno;
            Discard();
            return Fail(errorText, s.temp, error);
        }
    }
    if (const int error = FaultInjected(AtomicWriteStep::Sync) ? EIO : (::fsync(s.fd) != 0 ? errno : 0)) {
        Discard();
        return Fail(errorText, s.temp, error);
    }
    const int fd = s.fd;
    s.fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        Discard();
        return Fail(errorText, s.temp, error);
    }
    if (const int error = FaultInjected(AtomicWriteStep::Rename)
                              ? EIO
                              : (::rename(s.temp.c_str(), s.target.c_str()) != 0 ? errno : 0)) {
        Discard();
        return Fail(errorText, s.target, error);
    }
    s.temp.clear();
    // Makes the rename itself durable. The new content is in place already, so a
    // folder that cannot be synced is no reason to report a failure.
    const int dir = ::open(FolderOf(s.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

void AtomicFileWriter::Discard()
{
    State& s = *m_state;
    if (s.fd >= 0) {
        ::close(s.fd);
        s.fd = -1;
    }
    if (!s.temp.empty()) {
        ::unlink(s.temp.c_str());
        s.temp.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string* errorText)
{
    AtomicFileWriter writer(path);
    return writer.Open(errorText) && writer.Write(content, errorText) && writer.Commit(errorText);
}

void SetAtomicWriteFaultForTesting(std::function<bool(AtomicWriteStep)> fails)
{
    FaultHook() = std::move(fails);
}

} // namespace platform
