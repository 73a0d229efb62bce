#pragma once

#include "platform/AtomicFile.h"
#include "util/Outcome.h"
#include "util/StepPlan.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace filesync {

inline constexpr std::string_view kCopyFailedMessage = "Datei konnte nicht kopiert werden.";

// Called after each chunk of a copy, so that the window can repaint during a long one.
using CopyChunkCallback = platform::CopyChunkCallback;

// Copies a server file over its local copy. The target is replaced only once the
// copy is complete and takes the source's last-write time; any failure leaves the
// old local file byte for byte and no temporary file. The source is only read; a
// target in the source's own folder is refused, so the server folder is never
// written to, even through a link. Done when copied; Nothing when there is no
// regular file at the source (a command passes over it silently); Failed with the
// copy-failed message otherwise, the local file as it was before.
util::Outcome<> CopyFromServer(const std::string& source, const std::string& target,
                               const CopyChunkCallback& afterChunk = {});

// The copies of one plan's steps, placed together: each copy waits complete in its
// temporary file beside its target; the waiting ones reach the disk with one flush
// and are then renamed over their targets in order. A replaced file's data is thus
// on disk before its rename, as with a single copy, but the wait for the disk comes
// once per batch instead of once per file. Copies are placed when as many wait as
// a batch may hold (platform::ReplaceBatch::MostWaiting) or kBatchBytes wait, when
// the first has waited kBatchDelay (so that on a slow share a copy is not left
// unplaced for long, nor a failure to place it untold), and at the plan's last step
// with a copy. A batch dropped unfinished (a plan given up) removes its temporary
// files and the old local files stay; the temporary files of a process that ended
// meanwhile are swept at the next start.
class CopyBatch final : public util::StepBatch
{
public:
    static constexpr std::uint64_t kBatchBytes = std::uint64_t{64} << 20;
    static constexpr std::chrono::milliseconds kBatchDelay{1000};

    // As CopyFromServer, except that a complete copy waits for Finish(): Done then
    // means "waiting", the target is still the old file.
    util::Outcome<> Copy(const std::string& source, const std::string& target,
                         const CopyChunkCallback& afterChunk = {});
    // Starts reading a source that comes a few copies later (at most
    // kMostReadAhead are held); see platform::ReplaceBatch::ReadAhead.
    void ReadAhead(const std::string& source);
    static constexpr std::size_t kMostReadAhead = platform::ReplaceBatch::kMostAhead;
    // After the last copy: lets go of what is still read ahead (see
    // platform::ReplaceBatch::ReleaseHeldSources).
    void StopReadingAhead();

    std::size_t Waiting() const override;
    bool Due() const override;
    // Done for each copy now in place; Failed, its target as it was, for each whose
    // flush or rename failed.
    std::vector<util::Outcome<>> Finish() override;

private:
    platform::ReplaceBatch m_batch;
    // Read between steps by the plan's executor, which may be another thread than
    // the one that copies.
    std::atomic<std::size_t> m_waiting{0};
    std::atomic<std::uint64_t> m_bytes{0};
    std::atomic<std::chrono::steady_clock::rep> m_firstWaitingSince{0};
};

// Temporary files younger than this may belong to a copy still running.
inline constexpr std::chrono::seconds kLeftoverMinimumAge{60};

// Removes the temporary files that an interrupted copy left in the folder; nothing
// else. Returns how many went.
std::size_t RemoveCopyLeftovers(const std::string& folder,
                                std::chrono::seconds minimumAge = kLeftoverMinimumAge);

} // namespace filesync
