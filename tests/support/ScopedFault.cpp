#include "support/ScopedFault.h"

#include "platform/FileDelete.h"

#include <filesystem>

namespace testsupport {
namespace {

bool NamedLike(const std::string& path, const std::string& fileName)
{
    return std::filesystem::path(path).filename() == fileName;
}

} // namespace

ScopedFault::~ScopedFault()
{
    if (m_uninstall)
        m_uninstall();
}

ScopedFault ScopedFault::Copy(std::function<std::optional<std::uint64_t>(const std::string& source)> rule)
{
    platform::SetCopyFaultForTesting(std::move(rule));
    return ScopedFault([] { platform::SetCopyFaultForTesting({}); });
}

ScopedFault ScopedFault::CopyFailsAfter(std::string fileName, std::uint64_t bytes)
{
    return Copy(
        [fileName = std::move(fileName), bytes](const std::string& source) -> std::optional<std::uint64_t> {
            if (NamedLike(source, fileName))
                return bytes;
            return std::nullopt;
        });
}

ScopedFault ScopedFault::Delete(std::function<bool(const std::string& path)> refuses)
{
    platform::SetDeleteFaultForTesting(std::move(refuses));
    return ScopedFault([] { platform::SetDeleteFaultForTesting({}); });
}

ScopedFault ScopedFault::DeleteRefused(std::string fileName)
{
    return Delete(
        [fileName = std::move(fileName)](const std::string& path) { return NamedLike(path, fileName); });
}

ScopedFault ScopedFault::AtomicWriteFailsAt(platform::AtomicWriteStep step)
{
    return AtomicWrite([step](platform::AtomicWriteStep now) { return now == step; });
}

ScopedFault ScopedFault::AtomicWrite(std::function<bool(platform::AtomicWriteStep)> fails)
{
    platform::SetAtomicWriteFaultForTesting(std::move(fails));
    return ScopedFault([] { platform::SetAtomicWriteFaultForTesting({}); });
}

} // namespace testsupport
