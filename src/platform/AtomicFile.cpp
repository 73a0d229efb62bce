#include "platform/AtomicFile.h"
#include "platform/AtomicFileFaults.h"

#include <functional>
#include <utility>

// What is the same on every system: writing a whole file, the batch's bookkeeping,
// the copy of one file as a batch of one, and the faults tests inject.
namespace platform {
namespace {

std::function<bool(AtomicWriteStep)>& FaultHook()
{
    static std::function<bool(AtomicWriteStep)> hook;
    return hook;
}

std::function<std::optional<std::uint64_t>(const std::string&)>& CopyFaultHook()
{
    static std::function<std::optional<std::uint64_t>(const std::string&)> hook;
    return hook;
}

} // namespace

bool FaultInjected(AtomicWriteStep step)
{
    const auto& hook = FaultHook();
    return hook && hook(step);
}

std::optional<std::uint64_t> CopyFaultFor(const std::string& source)
{
    const auto& hook = CopyFaultHook();
    return hook ? hook(source) : std::nullopt;
}

void SetCopyFaultForTesting(
    std::function<std::optional<std::uint64_t>(const std::string& source)> failAfterBytes)
{
    CopyFaultHook() = std::move(failAfterBytes);
}

void SetAtomicWriteFaultForTesting(std::function<bool(AtomicWriteStep)> fails)
{
    FaultHook() = std::move(fails);
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string* errorText)
{
    AtomicFileWriter writer(path);
    return writer.Open(errorText) && writer.Write(content, errorText) && writer.Commit(errorText);
}

ReplaceBatch::ReplaceBatch() = default;
ReplaceBatch::~ReplaceBatch()
{
    ReleaseHeldSources();
}

std::size_t ReplaceBatch::Count() const
{
    return m_pending.size();
}

std::uint64_t ReplaceBatch::Bytes() const
{
    return m_bytes;
}

FileCopyResult CopyFileAtomically(const std::string& source, const std::string& target,
                                  const FileCopyOptions& options)
{
    ReplaceBatch batch;
    FileCopyResult result = batch.Copy(source, target, options);
    if (!result.Succeeded())
        return result;
    return std::move(batch.Commit().front());
}

} // namespace platform
