#include "util/FileWork.h"

#include "util/z_global.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class FileWorkTest : public testing::Test
{
protected:
    void TearDown() override
    {
        util::InstallMessagePump({});
        util::InstallNoProgressNotice({});
        util::EndClosingForTesting();
    }
};

TEST_F(FileWorkTest, RunsOffTheWaitingThreadWhichKeepsPumpingAndGetsTheResultOrTheError)
{
    std::vector<Clock::time_point> pumped;
    util::InstallMessagePump([&] { pumped.push_back(Clock::now()); });
    const auto waiting = std::this_thread::get_id();

    const auto started = Clock::now();
    const auto worker = util::RunFileWorkFor([](util::WorkProgress&) {
        std::this_thread::sleep_for(300ms);
        return std::this_thread::get_id();
    });
    ASSERT_TRUE(worker.has_value());
    EXPECT_NE(*worker, waiting);
    // The window's timers run all along: no gap between passes of the pump is long
    // (the bound leaves room for a busy machine; a pass comes every 10 ms).
    ASSERT_GE(pumped.size(), 10u);
    auto last = started;
    for (const auto at : pumped) {
        EXPECT_LT(at - last, 250ms);
        last = at;
    }

    // Quick work needs no pass of the pump.
    pumped.clear();
    EXPECT_EQ(util::RunFileWorkFor([](util::WorkProgress&) { return 7; }), 7);
    EXPECT_LE(pumped.size(), 1u);

    EXPECT_THROW(util::RunFileWork([](util::WorkProgress&) { throw std::runtime_error("kaputt"); }),
                 std::runtime_error);
}

TEST_F(FileWorkTest, PlanStepsRunOneAtATimeInOrderOffTheWaitingThreadWithTheirOutcomes)
{
    const auto waiting = std::this_thread::get_id();
    std::vector<std::string> ran;
    std::vector<util::OutcomeCode> outcomes;
    const auto step = [&](std::string name, util::Outcome<> outcome) -> util::StepWork {
        return [&ran, &waiting, name, outcome] {
            EXPECT_NE(std::this_thread::get_id(), waiting);
            ran.push_back(name);
            return outcome;
        };
    };
    util::StepPlan plan{[&] { ran.push_back("prepare"); },
                        {{"a", 33, step("a", util::Done())},
                         {"b", 67, step("b", util::Failed("kaputt"))},
                         {"c", 100, step("c", util::Nothing())}}};
    const util::StepSummary summary =
        util::ExecutePlan(plan, {{}, [&](const util::StepReport& r) { outcomes.push_back(r.outcome.code); }},
                          util::RunStepAsFileWork);

    EXPECT_EQ(ran, (std::vector<std::string>{"prepare", "a", "b", "c"}));
    EXPECT_EQ(outcomes, (std::vector<util::OutcomeCode>{util::OutcomeCode::Done, util::OutcomeCode::Failed,
                                                        util::OutcomeCode::Nothing}));
    EXPECT_EQ(summary.done + summary.failed + summary.nothing, 3u);
}

TEST_F(FileWorkTest, SaysSoOnceWhenWorkStallsAndTakesItBackWhenItMovesOrEnds)
{
    std::vector<std::pair<bool, Clock::time_point>> notices;
    util::InstallNoProgressNotice([&](bool stalled) { notices.emplace_back(stalled, Clock::now()); }, 300ms);

    const auto started = Clock::now();
    ASSERT_TRUE(util::RunFileWork([](util::WorkProgress& progress) {
        // Moving steadily: no notice.
        for (int i = 0; i < 15; ++i) {
            std::this_thread::sleep_for(20ms);
            progress.Tick();
        }
        std::this_thread::sleep_for(700ms); // stuck
        progress.Tick();
        std::this_thread::sleep_for(700ms); // stuck again, then ends
    }));

    ASSERT_EQ(notices.size(), 4u);
    EXPECT_TRUE(notices[0].first);
    EXPECT_FALSE(notices[1].first);
    EXPECT_TRUE(notices[2].first);
    EXPECT_FALSE(notices[3].first);
    EXPECT_GE(notices[0].second - started, 300ms + 300ms);
}

TEST_F(FileWorkTest, ANoticeInstalledForAWhileTakesThePlaceOfTheOneBeforeWithItsDelay)
{
    int window = 0;
    int dialog = 0;
    util::InstallNoProgressNotice([&](bool stalled) { window += stalled ? 1 : 0; }, 100ms);
    const auto stall = [] {
        ASSERT_TRUE(util::RunFileWork([](util::WorkProgress&) { std::this_thread::sleep_for(400ms); }));
    };
    {
        const util::ScopedNoProgressNotice inDialog([&](bool stalled) { dialog += stalled ? 1 : 0; });
        stall();
    }
    EXPECT_EQ(dialog, 1);
    EXPECT_EQ(window, 0);
    stall();
    EXPECT_EQ(window, 1);
    EXPECT_EQ(dialog, 1);
}

TEST_F(FileWorkTest, ClosingGivesUpOnHungWorkWithinTheGraceAndNeverWaitsForIt)
{
    std::promise<void> release;
    auto released = release.get_future().share();
    std::thread closer([] {
        std::this_thread::sleep_for(200ms);
        util::BeginClosing();
    });

    const auto started = Clock::now();
    const bool finished = util::RunFileWork([released](util::WorkProgress&) { released.wait(); });
    const auto waited = Clock::now() - started;
    closer.join();

    EXPECT_FALSE(finished);
    EXPECT_TRUE(util::FileWorkAbandoned());
    EXPECT_LT(waited, 200ms + util::kClosingGrace + 300ms);
    // Work asked for while closing cannot outlast the grace either.
    EXPECT_FALSE(util::RunFileWorkFor([](util::WorkProgress&) { return 1; }).has_value());

    // A plan's steps are not started behind it: the rest of the plan counts as
    // nothing and ends at once, so the window can close.
    std::atomic<int> ran{0};
    util::StepPlan rest;
    for (int i = 0; i < 20; ++i)
        rest.steps.push_back({"f" + std::to_string(i), 5 * (i + 1), [&ran] {
                                  ++ran;
                                  return util::Done();
                              }});
    const auto planStarted = Clock::now();
    const util::StepSummary summary = util::ExecutePlan(rest, {}, util::RunStepAsFileWork);
    EXPECT_EQ(summary.nothing, 20u);
    EXPECT_LT(Clock::now() - planStarted, 100ms);

    // Let the worker go on, for the tests that follow.
    release.set_value();
    util::EndClosingForTesting();
    EXPECT_EQ(util::RunFileWorkFor([&ran] { return ran.load(); }), 0) << "steps were queued behind it";
    EXPECT_EQ(util::RunFileWorkFor([](util::WorkProgress&) { return 2; }), 2);
}

} // namespace
