#include "platform/AccountDomainRule.h"
#include "platform/Identity.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using platform::AccountDomainFrom;

TEST(AccountDomain, DirectoryNamesCarryTheirDomainOtherwiseTheRealmOrTheComputer)
{
    EXPECT_EQ(AccountDomainFrom("anna@FIRMA.LAN", true, "OTHER.LAN", "pc01.firma.lan"), "FIRMA.LAN");
    EXPECT_EQ(AccountDomainFrom("FIRMA\\anna", true, "", "pc01"), "FIRMA");
    EXPECT_EQ(AccountDomainFrom("anna", true, "FIRMA.LAN", "pc01.firma.lan"), "FIRMA.LAN");
    EXPECT_EQ(AccountDomainFrom("anna", true, "", "pc01.firma.lan"), "pc01");
    // A local account is not in the realm just because the machine knows one.
    EXPECT_EQ(AccountDomainFrom("anna", false, "FIRMA.LAN", "pc01.firma.lan"), "pc01");
    EXPECT_EQ(AccountDomainFrom("anna@", false, "", "pc01"), "pc01");
    EXPECT_EQ(AccountDomainFrom("", false, "", ""), "");
}

TEST(AccountDomain, DefaultRealmComesOnlyFromTheLibdefaultsSection)
{
    EXPECT_EQ(platform::KerberosDefaultRealm("[libdefaults]\n  default_realm = FIRMA.LAN\n"), "FIRMA.LAN");
    EXPECT_EQ(platform::KerberosDefaultRealm(
                  "# default_realm = X\n[realms]\n default_realm = Y\n"
                  "[libdefaults]\n\tdns_lookup_realm = false\r\n\tdefault_realm=Z.LAN\r\n"),
              "Z.LAN");
    EXPECT_EQ(platform::KerberosDefaultRealm(""), "");
}

TEST(AccountDomain, RealAccountWithoutDirectoryServiceBelongsToTheComputer)
{
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    const std::string shortHost = std::string(host).substr(0, std::string(host).find('.'));
    const std::string user = platform::UserName();
    if (user.find_first_of("@\\") != std::string::npos || std::filesystem::exists("/etc/krb5.conf"))
        GTEST_SKIP() << "this machine's account may belong to a directory";
    EXPECT_EQ(platform::AccountDomain(), shortHost);
}
