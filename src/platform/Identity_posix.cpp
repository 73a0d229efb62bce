#include "platform/Identity.h"

#include <cerrno>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace platform {

std::string AccountDomain()
{
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return {};
    return host;
}

std::string UserName()
{
    const uid_t uid = geteuid();
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    const int rc = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
    if (rc != 0 || !found)
        throw std::system_error(rc ? rc : ENOENT, std::generic_category(), "user name");
    return entry.pw_name;
}

} // namespace platform
