#include "sync/z_ping.h"

#include "support/NetworkNamespace.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace std::chrono_literals;
using testsupport::IsolatedOutcome;
using testsupport::RunInOwnNetwork;

namespace {

std::chrono::milliseconds TimeOf(const std::function<void()>& action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

IsolatedOutcome PingInOwnNetwork(const std::string& hostName, testsupport::NetworkSetup setup = {})
{
    return RunInOwnNetwork([hostName] { return filesync::PingHost(hostName) ? 1 : 0; }, setup);
}

} // namespace

TEST(PingHost, LoopbackAnswersUnderItsNumberAndItsNames)
{
    for (const char* name : {"127.0.0.1", "localhost", "  localhost\t", "localhost.", "LocalHost"})
        EXPECT_TRUE(filesync::PingHost(name)) << '"' << name << '"';
}

TEST(PingHost, UnusableNamesGiveFalseAtOnce)
{
    using namespace std::string_literals;
    for (const std::string& name : {""s, "   "s, "server.invalid"s, "SERVER.Invalid."s, "invalid"s,
                                    "local host"s, "localhost\0.example"s, "."s}) {
        filesync::Ipv4Address address{1, 2, 3, 4};
        EXPECT_FALSE(filesync::ResolveHostAddress(name, address)) << '"' << name << '"';
        EXPECT_EQ(address, (filesync::Ipv4Address{0, 0, 0, 0})) << '"' << name << '"';
        bool answered = true;
        EXPECT_LT(TimeOf([&] { answered = filesync::PingHost(name); }), 900ms) << '"' << name << '"';
        EXPECT_FALSE(answered) << '"' << name << '"';
    }
}

TEST(ResolveHostAddress, TakesLiteralsAsTheyAreAndLocalhostAsLoopback)
{
    filesync::Ipv4Address address{};
    ASSERT_TRUE(filesync::ResolveHostAddress(" 10.20.30.40 ", address));
    EXPECT_EQ(address, (filesync::Ipv4Address{10, 20, 30, 40}));
    ASSERT_TRUE(filesync::ResolveHostAddress("files.localhost.", address));
    EXPECT_EQ(address, (filesync::Ipv4Address{127, 0, 0, 1}));
    // Only whole labels count: this one is an ordinary name that must go to the resolver.
    EXPECT_FALSE(filesync::ResolveHostAddress("notlocalhost.invalid", address));
}

// The rest runs in a network namespace of its own, where the echo counter of the
// stack shows exactly what was sent.

TEST(PingHost, SendsOneRequestAndReportsTheReply)
{
    const auto outcome = PingInOwnNetwork("127.0.0.1");
    if (!outcome.made)
        GTEST_SKIP() << outcome.whyNot;
    ASSERT_EQ(outcome.whyNot, "");
    EXPECT_EQ(outcome.value, 1);
    EXPECT_EQ(outcome.echoRequestsSent, 1);
    EXPECT_LT(outcome.elapsed, 900ms);
}

TEST(PingHost, HostThatIgnoresEchoesGivesFalseAfterTheTimeout)
{
    const auto outcome = PingInOwnNetwork("127.0.0.1", {.ignoreEchoRequests = true});
    if (!outcome.made)
        GTEST_SKIP() << outcome.whyNot;
    ASSERT_EQ(outcome.whyNot, "");
    EXPECT_EQ(outcome.value, 0);
    EXPECT_EQ(outcome.echoRequestsSent, 1);
    EXPECT_GE(outcome.elapsed, 900ms);
    EXPECT_LT(outcome.elapsed, 2000ms);
}

TEST(PingHost, NameTheResolverDoesNotKnowSendsNothing)
{
    // Without a route out of the namespace any name server query fails at once.
    for (const char* name : {"no-such-server", "0.0.0.0"}) {
        const auto outcome = PingInOwnNetwork(name);
        if (!outcome.made)
            GTEST_SKIP() << outcome.whyNot;
        ASSERT_EQ(outcome.whyNot, "");
        EXPECT_EQ(outcome.value, 0) << name;
        EXPECT_EQ(outcome.echoRequestsSent, 0) << name;
        EXPECT_LT(outcome.elapsed, 900ms) << name;
    }
}
