#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Replacing a file so that a crash or a failure at any moment leaves either the
// old file or the new one, never a mixture: the content goes to a temporary file
// beside the target, is flushed to disk, and only then renamed over the target.
namespace platform {

// Every temporary file of this module has a name starting so, and nothing else
// the program writes does; listings leave such names out, and the leftovers of a
// crash are found by it.
inline constexpr std::string_view kTemporaryFilePrefix = ".qPPP-kopie-";

// Writes the content through a temporary file in the target's folder. The old
// file's permissions carry over; a file that is read-only is refused. A target
// that is a symbolic link keeps its link: the file it names is replaced (settings
// files kept elsewhere on purpose). Any failure leaves the old file untouched and
// no temporary file behind; errorText (if given) then says what went wrong, for
// diagnostics.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string* errorText = nullptr);

// When Commit() flushes the content to disk before the rename.
enum class SyncPolicy
{
    Always,
    // Only when an existing file is replaced: that is where a crash could lose
    // data that was there before.
    WhenReplacing,
};

enum class CopyFailure
{
    None,
    SourceMissing,    // nothing, or a folder, at the source path
    SourceUnreadable, // the source exists but cannot be opened
    NotARegularFile,  // a pipe, socket or device: never read, as it could block or never end
    SourceChanged,    // the source changed its size or last-write time while it was read
    TargetRefused,    // a folder, a read-only file, or a folder that takes no new file
    TransferFailed,   // reading or writing part way (disk full, read error)
    SameFile,         // source and target are one file
};

struct FileCopyResult
{
    CopyFailure failure = CopyFailure::None;
    std::string errorText; // for diagnostics
    bool Succeeded() const { return failure == CopyFailure::None; }
};

// Called after each chunk, with the bytes copied so far and the source's size.
using CopyChunkCallback = std::function<void(std::uint64_t copiedBytes, std::uint64_t totalBytes)>;

struct FileCopyOptions
{
    // Chunks grow from the first size up to the largest while one takes less than
    // chunkTime, and shrink when one takes much longer: large chunks copy fastest,
    // the time bound keeps the callback coming on a slow share.
    std::size_t chunkSize = std::size_t{4} << 20;
    std::size_t maxChunkSize = std::size_t{64} << 20;
    std::chrono::milliseconds chunkTime{50};
    SyncPolicy sync = SyncPolicy::Always;
    CopyChunkCallback afterChunk;
};

// Copies the source over the target through a temporary file in the target's
// folder, chunk by chunk; the copy takes the source's last-write and access times.
// The source is opened for reading only, without waiting, and only a regular file
// is read. The copy counts only when it holds exactly as many bytes as the source
// had when it was opened and the source's size and last-write time are still the
// same at the end; else, as on any failure, the target stays as it was and no
// temporary file is left. A target that is a read-only file is refused, as
// WriteFileAtomically does. A target that is a symbolic link is replaced by the
// copy; the file it names is never written.
FileCopyResult CopyFileAtomically(const std::string& source, const std::string& target,
                                  const FileCopyOptions& options = {});

class AtomicFileWriter;

// Copies whose flush and rename are put off, so that many finished copies reach the
// disk with one flush instead of one each. Copy() leaves a complete temporary file
// beside its target; Commit() flushes them all and then renames each over its
// target, in the order they were added. Whatever is not committed is removed when
// the batch goes.
class ReplaceBatch
{
public:
    ReplaceBatch();
    ~ReplaceBatch();
    ReplaceBatch(const ReplaceBatch&) = delete;
    ReplaceBatch& operator=(const ReplaceBatch&) = delete;

    // As CopyFileAtomically, up to the rename. A failure adds nothing.
    FileCopyResult Copy(const std::string& source, const std::string& target,
                        const FileCopyOptions& options = {});

    // Starts reading a source that a later Copy() will take, so that the disk or the
    // server is already at work on it while the files before it are copied: one read
    // at a time left a bulk update of small files waiting on every one. At most
    // kMostAhead sources are held open, the oldest giving way. Copy() takes the one
    // it names only if that name still leads to the same file, and opens it anew
    // otherwise; nothing here can fail a copy.
    void ReadAhead(const std::string& source);
    static constexpr std::size_t kMostAhead = 8;
    // Lets go of every source still held, as the batch does when it goes. For the
    // last copy, so that closing them is done by whoever copies, never by whoever
    // drops the batch: closing a file can wait for a share that stopped answering.
    void ReleaseHeldSources();

    std::size_t Count() const;
    std::uint64_t Bytes() const;
    // How many copies a batch should hold at most: each keeps its temporary file
    // open (and locked) until Commit(), so a share of the files the process may have
    // open, never more than 1024.
    static std::size_t MostWaiting();

    // One result per copy added since the last Commit(), in that order. A copy whose
    // flush or rename fails leaves its target as it was.
    std::vector<FileCopyResult> Commit();

private:
    struct Pending
    {
        std::unique_ptr<AtomicFileWriter> writer;
        std::uint64_t bytes = 0;
    };
    std::vector<Pending> m_pending;
    std::uint64_t m_bytes = 0;

    struct HeldSource
    {
        std::string path;
        int fd = -1;
    };
    // What ReadAhead() holds open, oldest first.
    std::vector<HeldSource> m_ahead;
    int TakeHeldSource(const std::string& source);
};

// Removes the temporary files that an interrupted write or copy left in the folder:
// regular files with the prefix that no running writer holds (a writer keeps a lock
// on its temporary file until it is renamed or removed; the lock goes with a killed
// process). Where the file system keeps no locks, a file counts as left over when its
// status has not changed for minimumAge. Nothing else is touched. Returns the number
// removed.
std::size_t RemoveStaleTemporaryFiles(const std::string& folder, std::chrono::seconds minimumAge);

// The same in steps, for writers that produce their content piece by piece. Nothing
// is visible at the target before Commit(); an object destroyed without a
// successful Commit() removes its temporary file.
class AtomicFileWriter
{
public:
    enum class Link
    {
        Follow,  // a link at the target keeps pointing at the replaced file
        Replace, // a link at the target is itself replaced
    };
    explicit AtomicFileWriter(std::string targetPath, Link link = Link::Follow);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void SetSyncPolicy(SyncPolicy policy);
    bool Open(std::string* errorText = nullptr);
    bool Write(std::string_view chunk, std::string* errorText = nullptr);
    bool Commit(std::string* errorText = nullptr);
    void Discard();

    // The name of the temporary file while one exists, else empty.
    std::string TemporaryPath() const;

private:
    friend class ReplaceBatch;
    struct State; // what the operating system needs
    bool PrepareCommit(std::string* errorText);
    bool FinishCommit(bool synced, std::string* errorText);
    std::unique_ptr<State> m_state;
};

// Fault injection for tests: the function is asked before each step and makes
// it fail by returning true. A failing Write step first writes half of its chunk,
// as a full disk would. An empty function restores normal work.
enum class AtomicWriteStep
{
    Create,
    Write,
    Sync,
    Rename,
};
void SetAtomicWriteFaultForTesting(std::function<bool(AtomicWriteStep)> fails);

// Fault injection for tests: a copy of a source for which the function answers N
// writes N bytes and then fails as a full disk would. An empty function restores
// normal work.
void SetCopyFaultForTesting(
    std::function<std::optional<std::uint64_t>(const std::string& source)> failAfterBytes);

} // namespace platform
