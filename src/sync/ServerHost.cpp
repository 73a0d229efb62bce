#include "sync/ServerHost.h"

#include "platform/FileSystem.h"

#include <string_view>

namespace filesync {
namespace {

// "\\host\share" and "//host/share": the host is what stands between the two
// leading delimiters and the next one; without a next one there is no host
// ("\\srv01" is not a share path, "\\srv01\" names srv01).
std::string HostOfUncForm(std::string_view path, char delimiter)
{
    const std::string_view rest = path.substr(2);
    const std::size_t end = rest.find(delimiter);
    return end == std::string_view::npos ? std::string{} : std::string(rest.substr(0, end));
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = s[i] >= 'A' && s[i] <= 'Z' ? static_cast<char>(s[i] - 'A' + 'a') : s[i];
        if (c != prefix[i])
            return false;
    }
    return true;
}

// smb://[user[:password]@]host[:port]/share; an IPv6 address stands in brackets.
std::string HostOfSmbUrl(std::string_view path)
{
    std::string_view authority = path.substr(6);
    authority = authority.substr(0, authority.find('/'));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority = authority.substr(at + 1);
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        return close == std::string_view::npos ? std::string{} : std::string(authority.substr(1, close - 1));
    }
    return std::string(authority.substr(0, authority.find(':')));
}

} // namespace

std::string HostNameOfServerFolder(const std::string& path)
{
    return HostNameOfServerFolder(path, platform::NetworkHostOfPath);
}

std::string HostNameOfServerFolder(const std::string& path, const MountedShareHost& mountedShareHost)
{
    if (path.size() > 2 && path.starts_with("\\\\"))
        return HostOfUncForm(path, '\\');
    if (path.size() > 2 && path.starts_with("//"))
        return HostOfUncForm(path, '/');
    if (StartsWithNoCase(path, "smb://"))
        return HostOfSmbUrl(path);
    if (path.empty() || !mountedShareHost)
        return {};
    return mountedShareHost(path);
}

} // namespace filesync
