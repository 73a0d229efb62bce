#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Four bytes in network byte order, as the resolver delivers them.
using Ipv4Address = std::array<std::uint8_t, 4>;

// Largest echo payload that SendIcmpEcho accepts.
inline constexpr std::size_t kMaxEchoPayload = 1024;

// First IPv4 address of hostName from the system's resolver (host file, DNS, ...);
// nullopt when the name has none. A dotted IPv4 literal comes back unchanged.
std::optional<Ipv4Address> ResolveIpv4(const std::string& hostName);

// How the echo request leaves the machine. Automatic takes the first of the others
// that the system allows; the rest exist so that each way can be tested on its own.
enum class EchoMethod
{
    Automatic,
    DatagramSocket, // unprivileged ICMP socket, where the system's ping group range allows it
    RawSocket,      // needs the privilege to open raw sockets
    PingProgram,    // the system's ping program, if installed
};

enum class EchoResult
{
    Reply,      // our request was answered in time
    NoReply,    // the request went out (or failed on the way), no answer in time
    Unavailable // the chosen way cannot be used here; nothing was sent
};

// Sends exactly one ICMP echo request with payloadSize bytes to address and waits for
// its reply for at most timeout; returns no later than that. Throws
// std::invalid_argument for a payload above kMaxEchoPayload.
EchoResult SendIcmpEcho(const Ipv4Address& address, std::size_t payloadSize,
                        std::chrono::milliseconds timeout, EchoMethod method = EchoMethod::Automatic);

} // namespace platform
