#include "support/SmallFileSystem.h"

namespace testsupport {

SmallFileSystemOutcome RunWithSmallFileSystem(const std::string&, std::size_t, const std::function<int()>&)
{
    return {false, "no private memory file system on this system", -1};
}

} // namespace testsupport
