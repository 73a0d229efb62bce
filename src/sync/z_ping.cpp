#include "sync/z_ping.h"

#include "platform/IcmpEcho.h"

#include <algorithm>
#include <chrono>
#include <string_view>

namespace filesync {

namespace {

constexpr std::size_t kPayloadSize = 32;
constexpr std::chrono::milliseconds kTimeout{1000};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when name is label or ends in ".label", ignoring case and one final dot.
bool IsUnderSpecialDomain(std::string_view name, std::string_view label)
{
    if (!name.empty() && name.back() == '.')
        name.remove_suffix(1);
    if (name.size() < label.size())
        return false;
    const std::string_view tail = name.substr(name.size() - label.size());
    if (!std::equal(tail.begin(), tail.end(), label.begin(),
                    [](char a, char b) { return AsciiLower(a) == b; }))
        return false;
    return name.size() == label.size() || name[name.size() - label.size() - 1] == '.';
}

enum class NameKind
{
    Unusable,
    Loopback,
    Ordinary
};

// Names come from settings and server paths typed by hand: surrounding blanks are
// dropped; blanks or control characters inside (a NUL would cut the name short for
// the resolver) make the name unusable.
NameKind Classify(std::string_view& name)
{
    while (!name.empty() && IsBlank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && IsBlank(name.back()))
        name.remove_suffix(1);
    if (name.empty() || name == ".")
        return NameKind::Unusable;
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7f; }))
        return NameKind::Unusable;
    // Reserved names (RFC 6761): ".invalid" never resolves and "localhost" is always
    // this machine, so neither is worth a query to a name server.
    if (IsUnderSpecialDomain(name, "invalid"))
        return NameKind::Unusable;
    if (IsUnderSpecialDomain(name, "localhost"))
        return NameKind::Loopback;
    return NameKind::Ordinary;
}

} // namespace

bool ResolveHostAddress(const std::string& hostName, Ipv4Address& address)
{
    address = {0, 0, 0, 0};
    std::string_view name = hostName;
    switch (Classify(name)) {
    case NameKind::Unusable:
        return false;
    case NameKind::Loopback:
        address = {127, 0, 0, 1};
        return true;
    case NameKind::Ordinary:
        break;
    }
    const auto resolved = platform::ResolveIpv4(std::string(name));
    if (!resolved)
        return false;
    address = *resolved;
    return true;
}

bool PingHost(const std::string& hostName)
{
    Ipv4Address address{};
    if (!ResolveHostAddress(hostName, address))
        return false;
    // 0.0.0.0 means "this host" to the network stack, which would answer for any
    // server named so.
    if (address == Ipv4Address{0, 0, 0, 0})
        return false;
    return platform::SendIcmpEcho(address, kPayloadSize, kTimeout) == platform::EchoResult::Reply;
}

} // namespace filesync
