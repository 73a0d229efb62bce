// The echo through the system's ICMP library, with a fake library in its place:
// what is handed to it, and how its answers are read.
#include "platform/IcmpApi_win32.h"
#include "platform/IcmpEcho.h"
#include "sync/z_ping.h"

#include <gtest/gtest.h>

#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <icmpapi.h>

#include <cstring>
#include <optional>

namespace {

using platform::EchoResult;
using platform::Ipv4Address;

struct EchoCall
{
    std::uint32_t address = 0;
    unsigned short requestSize = 0;
    unsigned long replySize = 0;
    unsigned long timeoutMs = 0;
};

class FakeIcmp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::win::SetIcmpApiForTesting({
            [this]() -> void* {
                ++opened;
                return openFails ? nullptr : &handle;
            },
            [this](void* h, std::uint32_t address, const void*, unsigned short requestSize, void* reply,
                   unsigned long replySize, unsigned long timeoutMs) -> unsigned long {
                EXPECT_EQ(h, &handle);
                calls.push_back({address, requestSize, replySize, timeoutMs});
                if (!answer)
                    return 0;
                EXPECT_GE(replySize, sizeof(ICMP_ECHO_REPLY) + requestSize + 8);
                std::memcpy(reply, &*answer, sizeof(ICMP_ECHO_REPLY));
                return 1;
            },
            [this](void* h) {
                EXPECT_EQ(h, &handle);
                ++closed;
            },
        });
    }
    void TearDown() override { platform::win::SetIcmpApiForTesting({}); }

    // The library's reply record: a status and the address that answered.
    void Answer(ULONG status, const Ipv4Address& from)
    {
        ICMP_ECHO_REPLY record{};
        std::memcpy(&record.Address, from.data(), 4);
        record.Status = status;
        answer = record;
    }

    static std::uint32_t Raw(const Ipv4Address& a)
    {
        std::uint32_t raw = 0;
        std::memcpy(&raw, a.data(), 4);
        return raw;
    }

    int handle = 0;
    bool openFails = false;
    int opened = 0;
    int closed = 0;
    std::optional<ICMP_ECHO_REPLY> answer;
    std::vector<EchoCall> calls;
};

const Ipv4Address kServer{192, 0, 2, 10};
const Ipv4Address kRouter{192, 0, 2, 1};

TEST_F(FakeIcmp, OnlyASuccessfulEchoFromTheHostItselfIsAReply)
{
    Answer(IP_SUCCESS, kServer);
    EXPECT_EQ(platform::SendIcmpEcho(kServer, 32, std::chrono::milliseconds(1000)), EchoResult::Reply);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].address, Raw(kServer)); // network byte order, as resolved
    EXPECT_EQ(calls[0].requestSize, 32u);
    EXPECT_EQ(calls[0].timeoutMs, 1000u);

    // A router's "unreachable" and a stray answer come back as records too.
    Answer(IP_DEST_HOST_UNREACHABLE, kRouter);
    EXPECT_EQ(platform::SendIcmpEcho(kServer, 32, std::chrono::milliseconds(1000)), EchoResult::NoReply);
    Answer(IP_TTL_EXPIRED_TRANSIT, kRouter);
    EXPECT_EQ(platform::SendIcmpEcho(kServer, 32, std::chrono::milliseconds(1000)), EchoResult::NoReply);
    Answer(IP_SUCCESS, kRouter);
    EXPECT_EQ(platform::SendIcmpEcho(kServer, 32, std::chrono::milliseconds(1000)), EchoResult::NoReply);
    answer.reset();
    EXPECT_EQ(platform::SendIcmpEcho(kServer, 32, std::chrono::milliseconds(1000)), EchoResult::NoReply);
    EXPECT_EQ(opened, 5);
    EXPECT_EQ(closed, 5);
}

TEST_F(FakeIcmp, WithoutAHandleNothingIsSentAndOtherWaysAreNotOffered)
{
    openFails = true;
    EXPECT_EQ(platform::SendIcmpEcho(kServer, 32, std::chrono::milliseconds(1000)), EchoResult::Unavailable);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(closed, 0);
    openFails = false;
    for (const auto method : {platform::EchoMethod::DatagramSocket, platform::EchoMethod::RawSocket,
                              platform::EchoMethod::PingProgram})
        EXPECT_EQ(platform::SendIcmpEcho(kServer, 32, std::chrono::milliseconds(1000), method),
                  EchoResult::Unavailable);
    EXPECT_TRUE(calls.empty());
    EXPECT_THROW(
        platform::SendIcmpEcho(kServer, platform::kMaxEchoPayload + 1, std::chrono::milliseconds(1000)),
        std::invalid_argument);
}

TEST_F(FakeIcmp, PingHostSendsOneEchoToTheResolvedAddressAndNoneForAnUnresolvableName)
{
    Answer(IP_SUCCESS, {127, 0, 0, 1});
    EXPECT_TRUE(filesync::PingHost("127.0.0.1"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].address, Raw({127, 0, 0, 1}));
    EXPECT_EQ(calls[0].requestSize, 32u);
    EXPECT_EQ(calls[0].timeoutMs, 1000u);
    EXPECT_TRUE(filesync::PingHost("localhost"));

    calls.clear();
    EXPECT_FALSE(filesync::PingHost("kein-server.invalid"));
    EXPECT_FALSE(filesync::PingHost("name mit blank"));
    EXPECT_TRUE(calls.empty());
}

TEST(WinResolver, GivesDottedAddressesBackAndFindsTheLocalHost)
{
    EXPECT_EQ(platform::ResolveIpv4("127.0.0.1"), (Ipv4Address{127, 0, 0, 1}));
    EXPECT_EQ(platform::ResolveIpv4("192.0.2.77"), (Ipv4Address{192, 0, 2, 77}));
    const auto local = platform::ResolveIpv4("localhost");
    ASSERT_TRUE(local);
    EXPECT_EQ((*local)[0], 127);
    EXPECT_FALSE(platform::ResolveIpv4(""));
    EXPECT_FALSE(platform::ResolveIpv4(std::string("a\0b", 3)));
}

} // namespace
