#include "platform/AtomicFile.h"
#include "platform/AtomicFileFaults.h"
#include "platform/TemporaryName.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {
namespace {

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
    Link link = Link::Follow;
    bool targetExists = false; // a file or, with Link::Replace, a link is there
    struct stat targetStat = {};
    SyncPolicy sync = SyncPolicy::Always;
    bool setTimes = false;
    struct timespec times[2] = {}; // access, last write
};

AtomicFileWriter::AtomicFileWriter(std::string targetPath, Link link) : m_state(std::make_unique<State>())
{
    m_state->link = link;
    m_state->target = link == Link::Follow ? ResolveLink(targetPath) : std::move(targetPath);
}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

void AtomicFileWriter::SetSyncPolicy(SyncPolicy policy)
{
    m_state->sync = policy;
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
    const int found = s.link == Link::Follow ? ::stat(s.target.c_str(), &s.targetStat)
                                             : ::lstat(s.target.c_str(), &s.targetStat);
    if (found == 0 && S_ISLNK(s.targetStat.st_mode)) {
        s.targetExists = true;
    } else if (found == 0) {
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

    // Same folder, so that the rename stays on one file system. The target's name
    // is left out: with it a long name would exceed the length limit.
    const std::string stem = FolderOf(s.target) + "/" + std::string(kTemporaryFilePrefix);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", TemporaryNameNumber());
        const std::string candidate = stem + suffix + ".tmp";
        // Mode 0666 lets the umask decide for a new file; an existing file's mode is copied in Commit().
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // Held until the file is renamed or removed, and released by the kernel
            // when the process dies: the leftover sweep tells a live write from debris
            // by it.
            (void)::flock(fd, LOCK_EX | LOCK_NB);
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

bool AtomicFileWriter::PrepareCommit(std::string* errorText)
{
    State& s = *m_state;
    if (s.fd < 0)
        return Fail(errorText, s.target, EBADF);
    if (s.targetExists && !S_ISLNK(s.targetStat.st_mode)) {
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
    // Set last: every write changes the last-write time.
    if (s.setTimes && ::futimens(s.fd, s.times) != 0) {
        const int error = errno;
        Discard();
        return Fail(errorText, s.temp, error);
    }
    return true;
}

namespace {

void SyncFolder(const std::string& folder)
{
    // Makes renames durable. The new content is in place already, so a folder that
    // cannot be synced is no reason to report a failure.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

} // namespace

bool AtomicFileWriter::FinishCommit(bool syncFolder, std::string* errorText)
{
    State& s = *m_state;
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
    if (syncFolder)
        SyncFolder(FolderOf(s.target));
    return true;
}

bool AtomicFileWriter::Commit(std::string* errorText)
{
    State& s = *m_state;
    if (!PrepareCommit(errorText))
        return false;
    const bool sync = s.sync == SyncPolicy::Always || s.targetExists;
    if (const int error = FaultInjected(AtomicWriteStep::Sync) ? EIO
                          : sync && ::fsync(s.fd) != 0         ? errno
                                                               : 0) {
        Discard();
        return Fail(errorText, s.temp, error);
    }
    return FinishCommit(sync, errorText);
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

namespace {

class FdCloser
{
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

FileCopyResult CopyFailed(CopyFailure failure, const std::string& what, int error)
{
    FileCopyResult result{failure, {}};
    Fail(&result.errorText, what, error);
    return result;
}

// How the bytes move: in the kernel where it can (copy_file_range within one file
// system, sendfile across file systems), else through a buffer.
enum class TransferMethod
{
    CopyRange,
    SendFile,
    ReadWrite,
};

bool IsUnsupported(int error)
{
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EBADF;
}

// Moves up to `want` bytes from the source's position to the target's. Returns the
// number moved (0 at the end of the source) or -1 with error set.
ssize_t TransferChunk(int in, int out, std::size_t want, TransferMethod& method, std::vector<char>& buffer,
                      int& error)
{
    for (;;) {
        ssize_t n = -1;
        switch (method) {
        case TransferMethod::CopyRange:
            n = ::copy_file_range(in, nullptr, out, nullptr, want, 0);
            break;
        case TransferMethod::SendFile:
            n = ::sendfile(out, in, nullptr, want);
            break;
        case TransferMethod::ReadWrite: {
            if (buffer.empty())
                buffer.resize(std::size_t{1} << 20);
            n = ::read(in, buffer.data(), std::min(want, buffer.size()));
            if (n > 0 && !WriteAll(out, buffer.data(), static_cast<std::size_t>(n), error))
                return -1;
            break;
        }
        }
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        if (method != TransferMethod::ReadWrite && IsUnsupported(errno)) {
            // Nothing moved in the failed call, so both positions are still right.
            method =
                method == TransferMethod::CopyRange ? TransferMethod::SendFile : TransferMethod::ReadWrite;
            continue;
        }
        error = errno;
        return -1;
    }
}

bool SameTime(const struct timespec& a, const struct timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A copy of the whole source into the writer's temporary file, checked for being
// complete. The writer is open; on failure the caller discards it.
FileCopyResult CopyInto(int in, const struct stat& sourceStat, int out, const std::string& source,
                        const std::string& target, const FileCopyOptions& options)
{
    const std::optional<std::uint64_t> failAfter = CopyFaultFor(source);

    constexpr std::size_t kMinChunk = std::size_t{1} << 20;
    const std::size_t maxChunk = std::max(options.maxChunkSize, kMinChunk);
    std::size_t chunkSize = std::clamp(options.chunkSize, kMinChunk, maxChunk);
    const auto total = static_cast<std::uint64_t>(sourceStat.st_size);
    std::uint64_t copied = 0;
    TransferMethod method = TransferMethod::CopyRange;
    std::vector<char> buffer;
    for (;;) {
        // One byte past the size taken at the start is enough to tell that the
        // source grew; a file that keeps growing is never read to its end.
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, total - copied + 1));
        if (failAfter) {
            if (copied >= *failAfter)
                return CopyFailed(CopyFailure::TransferFailed, target, ENOSPC);
            want = static_cast<std::size_t>(std::min<std::uint64_t>(want, *failAfter - copied));
        }
        int error = 0;
        const auto started = std::chrono::steady_clock::now();
        ssize_t n = TransferChunk(in, out, want, method, buffer, error);
        if (n == 0 && copied < total && method != TransferMethod::ReadWrite) {
            // Some file systems report an end in the kernel paths that a plain read
            // would not see; let a read have the last word.
            method = TransferMethod::ReadWrite;
            n = TransferChunk(in, out, want, method, buffer, error);
        }
        if (n < 0)
            return CopyFailed(CopyFailure::TransferFailed, target, error);
        if (n == 0)
            break;
        copied += static_cast<std::uint64_t>(n);
        if (copied > total)
            break;
        const auto took = std::chrono::steady_clock::now() - started;
        if (took < options.chunkTime && static_cast<std::size_t>(n) == chunkSize)
            chunkSize = std::min(chunkSize * 2, maxChunk);
        else if (took > 4 * options.chunkTime)
            chunkSize = std::max(chunkSize / 2, kMinChunk);
        if (options.afterChunk)
            options.afterChunk(copied, total);
    }
    // An end of file before the size, bytes past it, or a source written meanwhile
    // (a share that dropped, a file being replaced on the server) give a copy that
    // would pass for current while it is not.
    struct stat after;
    if (::fstat(in, &after) != 0)
        return CopyFailed(CopyFailure::TransferFailed, source, errno);
    if (copied != total || static_cast<std::uint64_t>(after.st_size) != total ||
        !SameTime(after.st_mtim, sourceStat.st_mtim))
        return CopyFailed(CopyFailure::SourceChanged, source, ESTALE);
    return {};
}

} // namespace

std::size_t ReplaceBatch::MostWaiting()
{
    constexpr rlim_t kMost = 1024;
    // A quarter leaves the rest of the program its files, sockets and pipes.
    struct rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kMost;
    return static_cast<std::size_t>(std::clamp<rlim_t>(limit.rlim_cur / 4, 16, kMost));
}

namespace {

// Without waiting: a pipe would wait for a writer, a device or a share's special
// file for who knows what. The type is checked on what was opened, so a name
// swapped for a pipe after a check cannot slip through.
int OpenSource(const std::string& source)
{
    return ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Enough to have a small file whole and a large one's first chunks under way; the
// copy's own sequential reading takes over from there.
constexpr off_t kReadAheadBytes = off_t{1} << 20;

} // namespace

void ReplaceBatch::ReadAhead(const std::string& source)
{
    if (std::any_of(m_ahead.begin(), m_ahead.end(), [&](const HeldSource& h) { return h.path == source; }))
        return;
    const int fd = OpenSource(source);
    if (fd < 0)
        return;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    (void)::posix_fadvise(fd, 0, std::min(st.st_size, kReadAheadBytes), POSIX_FADV_WILLNEED);
    if (m_ahead.size() >= kMostAhead) {
        ::close(m_ahead.front().fd);
        m_ahead.erase(m_ahead.begin());
    }
    m_ahead.push_back({source, fd});
}

int ReplaceBatch::TakeHeldSource(const std::string& source)
{
    const auto held =
        std::find_if(m_ahead.begin(), m_ahead.end(), [&](const HeldSource& h) { return h.path == source; });
    if (held == m_ahead.end())
        return -1;
    int fd = held->fd;
    m_ahead.erase(held);
    // The name may have been given to another file since (a server file replaced
    // meanwhile), or taken away: the copy is of what the name holds now.
    struct stat now;
    struct stat opened;
    if (::stat(source.c_str(), &now) != 0 || ::fstat(fd, &opened) != 0 || now.st_dev != opened.st_dev ||
        now.st_ino != opened.st_ino) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}

void ReplaceBatch::ReleaseHeldSources()
{
    for (const HeldSource& held : m_ahead)
        ::close(held.fd);
    m_ahead.clear();
}

FileCopyResult ReplaceBatch::Copy(const std::string& source, const std::string& target,
                                  const FileCopyOptions& options)
{
    int in = TakeHeldSource(source);
    if (in < 0)
        in = OpenSource(source);
    if (in < 0) {
        const int error = errno;
        return CopyFailed(error == ENOENT || error == ENOTDIR ? CopyFailure::SourceMissing
                          : error == ENXIO                    ? CopyFailure::NotARegularFile
                                                              : CopyFailure::SourceUnreadable,
                          source, error);
    }
    const FdCloser closeSource(in);
    struct stat sourceStat;
    if (::fstat(in, &sourceStat) != 0)
        return CopyFailed(CopyFailure::SourceUnreadable, source, errno);
    if (S_ISDIR(sourceStat.st_mode))
        return CopyFailed(CopyFailure::SourceMissing, source, EISDIR);
    if (!S_ISREG(sourceStat.st_mode))
        return CopyFailed(CopyFailure::NotARegularFile, source, EINVAL);
    // Reads of a regular file block as reads do; some network file systems would
    // otherwise answer a slow read with EAGAIN.
    (void)::fcntl(in, F_SETFL, ::fcntl(in, F_GETFL) & ~O_NONBLOCK);
    // Reads far ahead, as the whole file is read once from start to end.
    (void)::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);

    auto writer = std::make_unique<AtomicFileWriter>(target, AtomicFileWriter::Link::Replace);
    writer->SetSyncPolicy(options.sync);
    FileCopyResult result;
    if (!writer->Open(&result.errorText)) {
        result.failure = CopyFailure::TargetRefused;
        return result;
    }
    AtomicFileWriter::State& s = *writer->m_state;
    if (s.targetExists && s.targetStat.st_dev == sourceStat.st_dev &&
        s.targetStat.st_ino == sourceStat.st_ino)
        return CopyFailed(CopyFailure::SameFile, target, EEXIST);

    result = CopyInto(in, sourceStat, s.fd, source, target, options);
    if (!result.Succeeded())
        return result;
    s.setTimes = true;
    s.times[0] = sourceStat.st_atim;
    s.times[1] = sourceStat.st_mtim;
    if (!writer->PrepareCommit(&result.errorText)) {
        result.failure = CopyFailure::TransferFailed;
        return result;
    }
    m_bytes += static_cast<std::uint64_t>(sourceStat.st_size);
    m_pending.push_back({std::move(writer), static_cast<std::uint64_t>(sourceStat.st_size)});
    return result;
}

std::vector<FileCopyResult> ReplaceBatch::Commit()
{
    std::vector<Pending> pending = std::exchange(m_pending, {});
    m_bytes = 0;
    std::vector<FileCopyResult> results(pending.size());
    const auto needsSync = [](const Pending& p) {
        const auto& s = *p.writer->m_state;
        return s.sync == SyncPolicy::Always || s.targetExists;
    };
    const bool sync = std::any_of(pending.begin(), pending.end(), needsSync);
    if (sync) {
        // A handful of files is flushed one by one. For more, one flush of each file
        // system they are on does the same work with one wait for the disk instead of
        // one per file.
        constexpr std::size_t kFilesForWholeFlush = 4;
        std::set<dev_t> flushed;
        bool whole = pending.size() >= kFilesForWholeFlush;
        if (whole) {
            for (const Pending& p : pending) {
                const auto& s = *p.writer->m_state;
                if (flushed.insert(s.targetStat.st_dev).second && ::syncfs(s.fd) != 0) {
                    whole = false;
                    break;
                }
            }
        }
        for (std::size_t i = 0; i < pending.size(); ++i) {
            auto& s = *pending[i].writer->m_state;
            const int error = FaultInjected(AtomicWriteStep::Sync)                    ? EIO
                              : !whole && needsSync(pending[i]) && ::fsync(s.fd) != 0 ? errno
                                                                                      : 0;
            if (error) {
                Fail(&results[i].errorText, s.temp, error);
                results[i].failure = CopyFailure::TransferFailed;
                pending[i].writer->Discard();
            }
        }
    }
    std::set<std::string> folders;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (!results[i].Succeeded())
            continue;
        if (!pending[i].writer->FinishCommit(false, &results[i].errorText))
            results[i].failure = CopyFailure::TransferFailed;
        else if (sync)
            folders.insert(FolderOf(pending[i].writer->m_state->target));
    }
    for (const auto& folder : folders)
        SyncFolder(folder);
    return results;
}

std::size_t RemoveStaleTemporaryFiles(const std::string& folder, std::chrono::seconds minimumAge)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    const int dirFd = ::dirfd(dir);
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::size_t removed = 0;
    while (const dirent* ent = ::readdir(dir)) {
        if (!std::string_view(ent->d_name).starts_with(kTemporaryFilePrefix))
            continue;
        const int fd =
            ::openat(dirFd, ent->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const FdCloser closeFile(fd);
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        bool stale = false;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            stale = true;
        else if (errno != EWOULDBLOCK)
            // The status-change time cannot be set back by hand, so it tells how long
            // nobody has written to the file.
            stale = now.tv_sec - st.st_ctim.tv_sec >= minimumAge.count();
        // Removing the entry while holding the lock: no writer can be using it.
        if (stale && ::unlinkat(dirFd, ent->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace platform
