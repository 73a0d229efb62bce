#include "platform/IcmpEcho.h"

#include "platform/IcmpApi_win32.h"
#include "platform/WinSeam_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <iphlpapi.h>

#include <icmpapi.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace platform {
namespace {

win::IcmpApi& TestApi()
{
    static win::IcmpApi api;
    return api;
}

win::IcmpApi SystemApi()
{
    return {
        [] {
            const HANDLE handle = ::IcmpCreateFile();
            return handle == INVALID_HANDLE_VALUE ? nullptr : static_cast<void*>(handle);
        },
        [](void* handle, std::uint32_t address, const void* request, unsigned short requestSize, void* reply,
           unsigned long replySize, unsigned long timeoutMs) {
            return static_cast<unsigned long>(::IcmpSendEcho(static_cast<HANDLE>(handle), address,
                                                             const_cast<void*>(request), requestSize, nullptr,
                                                             reply, replySize, timeoutMs));
        },
        [](void* handle) { ::IcmpCloseHandle(static_cast<HANDLE>(handle)); },
    };
}

const win::IcmpApi& Api()
{
    static const win::IcmpApi system = SystemApi();
    return TestApi().createFile ? TestApi() : system;
}

class WinsockSession
{
public:
    WinsockSession() { m_ok = ::WSAStartup(MAKEWORD(2, 2), &m_data) == 0; }
    ~WinsockSession()
    {
        if (m_ok)
            ::WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool ok() const { return m_ok; }

private:
    WSADATA m_data{};
    bool m_ok = false;
};

} // namespace

void win::SetIcmpApiForTesting(IcmpApi api)
{
    TestApi() = std::move(api);
}

std::optional<Ipv4Address> ResolveIpv4(const std::string& hostName)
{
    if (hostName.empty() || hostName.find('\0') != std::string::npos)
        return std::nullopt;
    const WinsockSession session;
    if (!session.ok())
        return std::nullopt;
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM; // one entry per address instead of one per socket type
    ADDRINFOW* found = nullptr;
    if (::GetAddrInfoW(win::ToWide(hostName).c_str(), nullptr, &hints, &found) != 0)
        return std::nullopt;
    std::optional<Ipv4Address> result;
    for (const ADDRINFOW* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr &&
            entry->ai_addrlen >= sizeof(sockaddr_in)) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            Ipv4Address address{};
            std::memcpy(address.data(), &in->sin_addr, address.size());
            result = address;
            break;
        }
    }
    ::FreeAddrInfoW(found);
    return result;
}

// The system's ICMP library is the one way here; the other ways are not offered.
EchoResult SendIcmpEcho(const Ipv4Address& address, std::size_t payloadSize,
                        std::chrono::milliseconds timeout, EchoMethod method)
{
    if (payloadSize > kMaxEchoPayload)
        throw std::invalid_argument("ICMP echo payload too large");
    if (method != EchoMethod::Automatic)
        return EchoResult::Unavailable;
    const win::IcmpApi& api = Api();
    void* handle = api.createFile();
    if (handle == nullptr)
        return EchoResult::Unavailable;

    // The library matches the reply to the request itself; the payload's content
    // does not matter.
    const std::vector<unsigned char> payload(payloadSize);
    // Room for one reply with the echoed payload, and for an error message in its
    // place, and for the status block that the library appends.
    std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + payloadSize + 8 + 16);
    std::uint32_t target = 0;
    std::memcpy(&target, address.data(), sizeof target);
    const unsigned long timeoutMs =
        static_cast<unsigned long>(std::max<std::chrono::milliseconds::rep>(timeout.count(), 1));
    const unsigned long replies =
        api.sendEcho(handle, target, payload.data(), static_cast<unsigned short>(payload.size()),
                     reply.data(), static_cast<unsigned long>(reply.size()), timeoutMs);
    EchoResult result = EchoResult::NoReply;
    if (replies > 0) {
        // A record also comes back for a router's "unreachable" or an expired hop:
        // only a successful echo from the host itself counts as its answer.
        ICMP_ECHO_REPLY record;
        std::memcpy(&record, reply.data(), sizeof record);
        if (record.Status == IP_SUCCESS && record.Address == target)
            result = EchoResult::Reply;
    }
    api.closeHandle(handle);
    return result;
}

} // namespace platform
