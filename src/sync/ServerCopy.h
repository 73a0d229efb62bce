#pragma once

#include "platform/AtomicFile.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace filesync {

enum class ServerCopyOutcome
{
    Copied,
    SourceMissing, // no regular file at the source: a command passes over it silently
    Failed,        // the local file is as it was before
};

struct ServerCopyResult
{
    ServerCopyOutcome outcome = ServerCopyOutcome::Failed;
    std::string detail; // for diagnostics, never shown
};

// Called after each chunk of a copy, so that the window can repaint during a long one.
using CopyChunkCallback = platform::CopyChunkCallback;

// Copies a server file over its local copy. The target is replaced only once the
// copy is complete and takes the source's last-write time; any failure leaves the
// old local file byte for byte and no temporary file. The source is only read; a
// target in the source's own folder is refused, so the server folder is never
// written to, even through a link.
ServerCopyResult CopyFromServer(const std::string& source, const std::string& target,
                                const CopyChunkCallback& afterChunk = {});

// Temporary files younger than this may belong to a copy still running.
inline constexpr std::chrono::seconds kLeftoverMinimumAge{60};

// Removes the temporary files that an interrupted copy left in the folder; nothing
// else. Returns how many went.
std::size_t RemoveCopyLeftovers(const std::string& folder,
                                std::chrono::seconds minimumAge = kLeftoverMinimumAge);

} // namespace filesync
