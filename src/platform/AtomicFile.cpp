#include "platform/AtomicFile.h"

#include <utility>

// What the batch does the same way on every system: its bookkeeping, and the copy
// of one file as a batch of one.
namespace platform {

ReplaceBatch::ReplaceBatch() = default;
ReplaceBatch::~ReplaceBatch() = default;

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
