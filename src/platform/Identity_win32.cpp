#include "platform/Identity.h"

#include "platform/WinSeam_win32.h"

#include <windows.h>

#include <system_error>
#include <vector>

namespace platform {

// The domain that the account look-up names for the process's user: a domain
// account's domain, the computer's name for a local account.
std::string AccountDomain()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | READ_CONTROL, &token))
        return {};
    const win::HandleCloser closer(token);
    DWORD needed = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
    if (needed == 0)
        return {};
    std::vector<unsigned char> buffer(needed);
    if (!::GetTokenInformation(token, TokenUser, buffer.data(), needed, &needed))
        return {};
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    DWORD nameSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use;
    ::LookupAccountSidW(nullptr, user->User.Sid, nullptr, &nameSize, nullptr, &domainSize, &use);
    if (domainSize == 0)
        return {};
    std::wstring name(nameSize, L'\0');
    std::wstring domain(domainSize, L'\0');
    if (!::LookupAccountSidW(nullptr, user->User.Sid, name.data(), &nameSize, domain.data(), &domainSize,
                             &use))
        return {};
    domain.resize(domainSize);
    return win::ToUtf8(domain);
}

std::string UserName()
{
    DWORD size = 0;
    ::GetUserNameW(nullptr, &size);
    std::wstring name(size ? size : 1, L'\0');
    if (!::GetUserNameW(name.data(), &size))
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "user name");
    // The size includes the terminating zero.
    name.resize(size > 0 ? size - 1 : 0);
    return win::ToUtf8(name);
}

} // namespace platform
