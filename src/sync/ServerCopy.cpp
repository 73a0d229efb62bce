#include "sync/ServerCopy.h"
#include "text/Utf8Path.h"
#include "util/FileWork.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace filesync {
namespace {

// Compares the folders as the file system sees them (links and bind mounts
// resolved). A link at the target itself does not count: the copy replaces the
// link and never writes where it points.
bool TargetInSourceFolder(const std::string& source, const std::string& target)
{
    std::error_code ec;
    fs::path sourceFolder = text::PathFromUtf8(source).parent_path();
    if (sourceFolder.empty())
        sourceFolder = ".";
    fs::path targetFolder = text::PathFromUtf8(target).parent_path();
    if (targetFolder.empty())
        targetFolder = ".";
    return fs::equivalent(sourceFolder, targetFolder, ec) && !ec;
}

util::Outcome<> CopyFailed()
{
    return util::Failed(std::string(kCopyFailedMessage));
}

} // namespace

util::Outcome<> CopyFromServer(const std::string& source, const std::string& target,
                               const CopyChunkCallback& afterChunk)
{
    CopyBatch one;
    util::Outcome<> outcome = one.Copy(source, target, afterChunk);
    if (one.Waiting() == 0)
        return outcome;
    return std::move(one.Finish().front());
}

util::Outcome<> CopyBatch::Copy(const std::string& source, const std::string& target,
                                const CopyChunkCallback& afterChunk)
{
    if (source.empty())
        return util::Nothing();
    if (target.empty() || TargetInSourceFolder(source, target))
        return CopyFailed();

    platform::FileCopyOptions options;
    // Whoever waits for this copy as file work sees it move with every chunk.
    options.afterChunk = [&afterChunk](std::uint64_t copied, std::uint64_t total) {
        util::TickFileWork();
        if (afterChunk)
            afterChunk(copied, total);
    };
    // A replaced file is flushed before the rename, or a crash could lose the old
    // copy with the new one. A new file is not: waiting for the disk made a bulk
    // update 2.5 to 4 times slower than a plain copy, and the server still holds
    // whatever a crash might cut short.
    options.sync = platform::SyncPolicy::WhenReplacing;
    switch (m_batch.Copy(source, target, options).failure) {
    case platform::CopyFailure::None:
        break;
    case platform::CopyFailure::SourceMissing:
        return util::Nothing();
    default:
        return CopyFailed();
    }
    if (m_waiting.fetch_add(1) == 0)
        m_firstWaitingSince = std::chrono::steady_clock::now().time_since_epoch().count();
    m_bytes = m_batch.Bytes();
    return util::Done();
}

void CopyBatch::ReadAhead(const std::string& source)
{
    m_batch.ReadAhead(source);
}

void CopyBatch::StopReadingAhead()
{
    m_batch.ReleaseHeldSources();
}

std::size_t CopyBatch::Waiting() const
{
    return m_waiting;
}

bool CopyBatch::Due() const
{
    if (m_waiting == 0)
        return false;
    const auto since =
        std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(m_firstWaitingSince));
    return m_waiting >= platform::ReplaceBatch::MostWaiting() || m_bytes >= kBatchBytes ||
           std::chrono::steady_clock::now() - since >= kBatchDelay;
}

std::vector<util::Outcome<>> CopyBatch::Finish()
{
    std::vector<util::Outcome<>> outcomes;
    for (const platform::FileCopyResult& result : m_batch.Commit())
        outcomes.push_back(result.Succeeded() ? util::Done() : CopyFailed());
    m_waiting = 0;
    m_bytes = 0;
    return outcomes;
}

std::size_t RemoveCopyLeftovers(const std::string& folder, std::chrono::seconds minimumAge)
{
    if (folder.empty())
        return 0;
    return platform::RemoveStaleTemporaryFiles(folder, minimumAge);
}

} // namespace filesync
