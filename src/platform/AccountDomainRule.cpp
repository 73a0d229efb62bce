#include "platform/AccountDomainRule.h"

namespace platform {
namespace {

std::string_view Trim(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::string AccountDomainFrom(std::string_view userName, bool directoryAccount,
                              std::string_view kerberosRealm, std::string_view hostName)
{
    if (const std::size_t slash = userName.find('\\'); slash != std::string_view::npos && slash > 0)
        return std::string(userName.substr(0, slash));
    if (const std::size_t at = userName.rfind('@'); at != std::string_view::npos && at + 1 < userName.size())
        return std::string(userName.substr(at + 1));
    if (directoryAccount && !kerberosRealm.empty())
        return std::string(kerberosRealm);
    return std::string(hostName.substr(0, hostName.find('.')));
}

std::string KerberosDefaultRealm(std::string_view krb5Conf)
{
    bool inLibdefaults = false;
    std::size_t pos = 0;
    while (pos < krb5Conf.size()) {
        std::size_t eol = krb5Conf.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = krb5Conf.size();
        const std::string_view line = Trim(krb5Conf.substr(pos, eol - pos));
        pos = eol + 1;
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[') {
            inLibdefaults = line == "[libdefaults]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inLibdefaults && eq != std::string_view::npos && Trim(line.substr(0, eq)) == "default_realm")
            return std::string(Trim(line.substr(eq + 1)));
    }
    return {};
}

} // namespace platform
