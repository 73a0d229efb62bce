#include "platform/Identity.h"

#include "platform/AccountDomainRule.h"

#include <cerrno>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

std::string ReadTextFile(const char* path)
{
    std::ifstream in(path);
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    return text.str();
}

// An account that the local user database does not list comes from a directory
// service (SSSD, winbind, LDAP).
bool IsLocalAccount(uid_t uid)
{
    const std::string passwd = ReadTextFile("/etc/passwd");
    const std::string uidText = std::to_string(uid);
    std::istringstream lines(passwd);
    for (std::string line; std::getline(lines, line);) {
        // name:password:uid:...
        const std::size_t first = line.find(':');
        const std::size_t second = first == std::string::npos ? first : line.find(':', first + 1);
        const std::size_t third = second == std::string::npos ? second : line.find(':', second + 1);
        if (third != std::string::npos && line.compare(second + 1, third - second - 1, uidText) == 0)
            return true;
    }
    return false;
}

std::string HostName()
{
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return {};
    return host;
}

} // namespace

std::string AccountDomain()
{
    std::string userName;
    try {
        userName = UserName();
    } catch (const std::system_error&) {
        // Without an account entry only the computer's name is left.
    }
    const bool directoryAccount = !userName.empty() && !IsLocalAccount(geteuid());
    const std::string realm =
        directoryAccount ? KerberosDefaultRealm(ReadTextFile("/etc/krb5.conf")) : std::string{};
    return AccountDomainFrom(userName, directoryAccount, realm, HostName());
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
