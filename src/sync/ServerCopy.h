#pragma once

#include "platform/AtomicFile.h"
#include "util/Outcome.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

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

// Temporary files younger than this may belong to a copy still running.
inline constexpr std::chrono::seconds kLeftoverMinimumAge{60};

// Removes the temporary files that an interrupted copy left in the folder; nothing
// else. Returns how many went.
std::size_t RemoveCopyLeftovers(const std::string& folder,
                                std::chrono::seconds minimumAge = kLeftoverMinimumAge);

} // namespace filesync
