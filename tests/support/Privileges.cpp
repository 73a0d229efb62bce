#include "support/Privileges.h"

#include <unistd.h>

namespace testsupport {

bool RunningAsRoot()
{
    return geteuid() == 0;
}

} // namespace testsupport
