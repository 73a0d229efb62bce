#pragma once

#include "platform/AtomicFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

// A fault injected at the platform seam for one scope: installed when made and
// uninstalled when it goes, also when an assertion ends the test early. Each hook
// (copy, delete, settings write) holds one fault at a time.
namespace testsupport {

class ScopedFault
{
public:
    ~ScopedFault();
    ScopedFault(ScopedFault&& other) noexcept : m_uninstall(std::exchange(other.m_uninstall, {})) {}
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;
    ScopedFault& operator=(ScopedFault&&) = delete;

    // A copy of a source whose file name is `fileName` writes `bytes` bytes and
    // then fails as a full disk would.
    static ScopedFault CopyFailsAfter(std::string fileName, std::uint64_t bytes);
    // Any copy rule: the number of bytes after which the copy of a source fails.
    static ScopedFault Copy(std::function<std::optional<std::uint64_t>(const std::string& source)> rule);
    // Deleting a file whose file name is `fileName` is refused.
    static ScopedFault DeleteRefused(std::string fileName);
    // Any delete rule: true refuses the delete of that path.
    static ScopedFault Delete(std::function<bool(const std::string& path)> refuses);
    // Every atomic settings write fails at the given step.
    static ScopedFault AtomicWriteFailsAt(platform::AtomicWriteStep step);
    // Any atomic write rule (settings writes and the placing of copies): true fails
    // that step.
    static ScopedFault AtomicWrite(std::function<bool(platform::AtomicWriteStep)> fails);

private:
    explicit ScopedFault(std::function<void()> uninstall) : m_uninstall(std::move(uninstall)) {}
    std::function<void()> m_uninstall;
};

} // namespace testsupport
