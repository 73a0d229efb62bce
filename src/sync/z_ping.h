#pragma once

#include <array>
#include <cstdint>
#include <string>

// Namespace filesync, not sync: POSIX declares a global function sync().
// Whether the file server answers at all, asked before a refresh looks into the
// server folder.
namespace filesync {

// Four bytes in network byte order.
using Ipv4Address = std::array<std::uint8_t, 4>;

// Fills address with the first IPv4 address of hostName. A name that does not
// resolve is not an error for the caller: address becomes 0.0.0.0 and the result is
// false. Blanks around the name are ignored; an IPv4 literal is taken as it is.
bool ResolveHostAddress(const std::string& hostName, Ipv4Address& address);

// One ICMP echo request with 32 bytes of payload; true only when the host answered
// within 1000 ms. A name that does not resolve gives false without sending anything.
bool PingHost(const std::string& hostName);

} // namespace filesync
