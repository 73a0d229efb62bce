#include "util/z_global.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <vector>

namespace {

class DelayWithMessagesTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        util::InstallTickSource({});
        util::InstallMessagePump({});
    }
};

} // namespace

TEST_F(DelayWithMessagesTest, WaitsUntilMoreThanTheTimeHasPassedAcrossAWrapOfTheCounter)
{
    std::uint32_t now = 0xFFFFFFF0u;
    std::vector<std::uint32_t> seenAtPump;
    util::InstallTickSource([&] {
        const std::uint32_t t = now;
        now += 5;
        return t;
    });
    util::InstallMessagePump([&] { seenAtPump.push_back(now); });

    util::DelayWithMessages(20);

    // Readings 0xFFFFFFF0 (start), F5, FA, FF, 0x04 (20 ms: not more), 0x09 (25 ms).
    EXPECT_EQ(seenAtPump.size(), 5u);
    EXPECT_EQ(now, 0x0Eu);
}

TEST_F(DelayWithMessagesTest, ZeroProcessesMessagesUntilTheCounterHasMoved)
{
    const std::vector<std::uint32_t> readings = {100, 100, 100, 101};
    std::size_t next = 0;
    int pumped = 0;
    util::InstallTickSource([&] { return readings[std::min(next++, readings.size() - 1)]; });
    util::InstallMessagePump([&] { ++pumped; });

    util::DelayWithMessages(0);

    EXPECT_EQ(pumped, 3);
}

TEST_F(DelayWithMessagesTest, NegativeTimeStillProcessesMessagesOnce)
{
    int pumped = 0;
    util::InstallTickSource([] { return 7u; });
    util::InstallMessagePump([&] { ++pumped; });
    util::DelayWithMessages(-1);
    EXPECT_EQ(pumped, 1);
}

TEST_F(DelayWithMessagesTest, RealClockWithoutPumpWaitsWithoutKeepingTheProcessorBusy)
{
    const auto wallStart = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();

    util::DelayWithMessages(100);

    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    EXPECT_GE(wallMs, 100.0);
    EXPECT_LT(wallMs, 5000.0);
    EXPECT_LT(cpuMs, wallMs / 2);
}
