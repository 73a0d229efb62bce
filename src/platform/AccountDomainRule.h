#pragma once

#include <string>
#include <string_view>

// How the account domain is found from what the system tells about the account.
namespace platform {

// The realm or domain in a directory account's name as SSSD ("user@REALM") or
// winbind ("DOMAIN\user") present it; else, for an account that the local user
// database does not hold, the Kerberos default realm; else the computer's short
// name (up to its first dot).
std::string AccountDomainFrom(std::string_view userName, bool directoryAccount,
                              std::string_view kerberosRealm, std::string_view hostName);

// The default_realm of the [libdefaults] section of a krb5.conf text; empty if none.
std::string KerberosDefaultRealm(std::string_view krb5Conf);

} // namespace platform
