#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Replacing a file so that a crash or a failure at any moment leaves either the
// old file or the new one, never a mixture: the content goes to a temporary file
// beside the target, is flushed to disk, and only then renamed over the target.
namespace platform {

// Every temporary file of this module has a name starting so, and nothing else
// the program writes does; listings leave such names out, and the leftovers of a
// crash are found by it.
inline constexpr std::string_view kTemporaryFilePrefix = ".qPPP-kopie-";

// Writes the content through a temporary file in the target's folder. The old
// file's permissions carry over; a file that is read-only is refused. Any failure
// leaves the old file untouched and no temporary file behind; errorText (if given)
// then says what went wrong, for diagnostics.
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
    SourceMissing,    // no regular file at the source path
    SourceUnreadable, // the source exists but cannot be opened
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
// The source is opened for reading only. The target is replaced only when the copy
// is complete; a failure leaves it as it was and no temporary file behind. A
// target that is a read-only file is refused, as WriteFileAtomically does.
FileCopyResult CopyFileAtomically(const std::string& source, const std::string& target,
                                  const FileCopyOptions& options = {});

// Removes the temporary files that a crash left in the folder: regular files with
// the prefix whose status has not changed for minimumAge (a running writer changes
// it with every write). Nothing else is touched. Returns the number removed.
std::size_t RemoveStaleTemporaryFiles(const std::string& folder, std::chrono::seconds minimumAge);

// The same in steps, for writers that produce their content piece by piece. Nothing
// is visible at the target before Commit(); an object destroyed without a
// successful Commit() removes its temporary file.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(std::string targetPath);
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
    friend FileCopyResult CopyFileAtomically(const std::string&, const std::string&, const FileCopyOptions&);
    struct State; // what the operating system needs
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
