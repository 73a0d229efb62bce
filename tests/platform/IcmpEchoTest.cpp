#include "platform/IcmpEcho.h"

#include "support/NetworkNamespace.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace std::chrono_literals;
using platform::EchoMethod;
using platform::EchoResult;
using testsupport::IsolatedOutcome;
using testsupport::NetworkSetup;

namespace {

constexpr platform::Ipv4Address kLoopback{127, 0, 0, 1};

IsolatedOutcome EchoInOwnNetwork(EchoMethod method, std::chrono::milliseconds timeout, NetworkSetup setup)
{
    return testsupport::RunInOwnNetwork(
        [=] { return static_cast<int>(platform::SendIcmpEcho(kLoopback, 32, timeout, method)); }, setup);
}

std::string NameOf(EchoMethod method)
{
    switch (method) {
    case EchoMethod::Automatic:
        return "Automatic";
    case EchoMethod::DatagramSocket:
        return "DatagramSocket";
    case EchoMethod::RawSocket:
        return "RawSocket";
    case EchoMethod::PingProgram:
        return "PingProgram";
    }
    return "?";
}

} // namespace

namespace platform {
// Readable test names instead of the enum's bytes.
void PrintTo(EchoMethod method, std::ostream* out)
{
    *out << NameOf(method);
}
} // namespace platform

namespace {

class EachEchoMethod : public testing::TestWithParam<EchoMethod>
{
};

} // namespace

TEST(ResolveIpv4, AsksTheSystemResolver)
{
    EXPECT_EQ(platform::ResolveIpv4("localhost"), kLoopback);
    EXPECT_EQ(platform::ResolveIpv4("127.0.0.1"), kLoopback);
    EXPECT_EQ(platform::ResolveIpv4("10.1.2.3"), (platform::Ipv4Address{10, 1, 2, 3}));
    EXPECT_EQ(platform::ResolveIpv4(""), std::nullopt);
    EXPECT_EQ(platform::ResolveIpv4(std::string("127.0.0.1\0", 10) + "junk"), std::nullopt);
}

TEST_P(EachEchoMethod, GetsTheReplyToItsOneRequest)
{
    const auto outcome = EchoInOwnNetwork(GetParam(), 1000ms, {.allowDatagramPing = true});
    if (!outcome.made)
        GTEST_SKIP() << outcome.whyNot;
    ASSERT_EQ(outcome.whyNot, "");
    if (outcome.value == static_cast<int>(EchoResult::Unavailable))
        GTEST_SKIP() << "this way of sending is not available here";
    EXPECT_EQ(outcome.value, static_cast<int>(EchoResult::Reply));
    EXPECT_EQ(outcome.echoRequestsSent, 1);
    EXPECT_LT(outcome.elapsed, 900ms);
    EXPECT_EQ(outcome.fdsLeaked, 0);
    EXPECT_FALSE(outcome.childrenLeft);
}

TEST_P(EachEchoMethod, GivesUpWhenTheTimeoutIsOver)
{
    // 400 ms is shorter than the ping program's own one-second wait, so that one must be stopped.
    const auto outcome =
        EchoInOwnNetwork(GetParam(), 400ms, {.ignoreEchoRequests = true, .allowDatagramPing = true});
    if (!outcome.made)
        GTEST_SKIP() << outcome.whyNot;
    ASSERT_EQ(outcome.whyNot, "");
    if (outcome.value == static_cast<int>(EchoResult::Unavailable))
        GTEST_SKIP() << "this way of sending is not available here";
    EXPECT_EQ(outcome.value, static_cast<int>(EchoResult::NoReply));
    EXPECT_EQ(outcome.echoRequestsSent, 1);
    EXPECT_GE(outcome.elapsed, 380ms);
    EXPECT_LT(outcome.elapsed, 900ms);
    EXPECT_EQ(outcome.fdsLeaked, 0);
    EXPECT_FALSE(outcome.childrenLeft);
}

INSTANTIATE_TEST_SUITE_P(IcmpEcho, EachEchoMethod,
                         testing::Values(EchoMethod::Automatic, EchoMethod::DatagramSocket,
                                         EchoMethod::RawSocket, EchoMethod::PingProgram),
                         [](const testing::TestParamInfo<EchoMethod>& p) { return NameOf(p.param); });

TEST(IcmpEcho, DatagramSocketIsUnavailableWhereTheGroupRangeForbidsIt)
{
    // A new namespace starts with an empty ping group range.
    const auto outcome = EchoInOwnNetwork(EchoMethod::DatagramSocket, 1000ms, {});
    if (!outcome.made)
        GTEST_SKIP() << outcome.whyNot;
    ASSERT_EQ(outcome.whyNot, "");
    EXPECT_EQ(outcome.value, static_cast<int>(EchoResult::Unavailable));
    EXPECT_EQ(outcome.echoRequestsSent, 0);
    EXPECT_EQ(outcome.fdsLeaked, 0);
}

TEST(IcmpEcho, AutomaticFallsBackWithoutSendingTwice)
{
    const auto outcome = EchoInOwnNetwork(EchoMethod::Automatic, 1000ms, {});
    if (!outcome.made)
        GTEST_SKIP() << outcome.whyNot;
    ASSERT_EQ(outcome.whyNot, "");
    EXPECT_EQ(outcome.value, static_cast<int>(EchoResult::Reply));
    EXPECT_EQ(outcome.echoRequestsSent, 1);
}
