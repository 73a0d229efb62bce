#pragma once

#include "platform/AtomicFile.h"

#include <cstdint>
#include <optional>
#include <string>

// The faults that tests inject into atomic writes and copies, as each system's
// version asks for them.
namespace platform {

// Whether the step is to fail now.
bool FaultInjected(AtomicWriteStep step);

// After how many bytes a copy of the source is to fail as a full disk would; none:
// it is not to fail.
std::optional<std::uint64_t> CopyFaultFor(const std::string& source);

} // namespace platform
