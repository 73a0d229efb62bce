#include "util/StepPlan.h"

#include "support/OutcomePrint.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

util::PlanStep Step(std::string name, util::Outcome<> outcome, std::vector<std::string>& log)
{
    return {name, 0, [name, outcome, &log] {
                log.push_back("work " + name);
                return outcome;
            }};
}

} // namespace

TEST(StepPlan, RunsEveryStepThroughTheRunnerInOrderAndGoesOnAfterAFailure)
{
    std::vector<std::string> log;
    util::StepPlan plan;
    plan.prepare = [&] { log.push_back("prepare"); };
    plan.steps.push_back(Step("a", util::Failed("kaputt"), log));
    plan.steps.push_back({"leer", 50, {}});
    plan.steps.push_back(Step("b", util::Done(), log));

    int runnerCalls = 0;
    const util::StepRunner runner = [&](const util::StepWork& work) {
        ++runnerCalls;
        return work();
    };
    const util::StepObserver observer{
        [&](std::size_t position, std::size_t count) {
            log.push_back("before " + std::to_string(position) + "/" + std::to_string(count));
        },
        [&](const util::StepReport& r) {
            log.push_back("after " + r.step.name + " " + util::CodeName(r.outcome.code) + " " +
                          r.outcome.message);
        }};
    const util::StepSummary summary = util::ExecutePlan(plan, observer, runner);

    EXPECT_EQ(log, (std::vector<std::string>{"prepare", "before 1/3", "work a", "after a Failed kaputt",
                                             "before 2/3", "after leer Nothing ", "before 3/3", "work b",
                                             "after b Done "}));
    EXPECT_EQ(runnerCalls, 3) << "the preparation and each step with work go through the runner";
    EXPECT_EQ(summary.done, 1u);
    EXPECT_EQ(summary.nothing, 1u);
    EXPECT_EQ(summary.failed, 1u);
}

TEST(StepPlan, APlanWithoutStepsDoesNotPrepare)
{
    bool prepared = false;
    util::StepPlan plan;
    plan.prepare = [&] { prepared = true; };
    const auto summary = util::ExecutePlan(plan, {});
    EXPECT_FALSE(prepared);
    EXPECT_EQ(summary.done + summary.nothing + summary.failed, 0u);
}

TEST(StepPlan, TheBarRoundsHalvesToEvenAndStopsAtHundred)
{
    const auto progression = [](std::size_t count, std::size_t steps) {
        std::vector<int> values;
        for (std::size_t p = 1; p <= steps; ++p)
            values.push_back(util::StepProgress(p, count));
        return values;
    };
    EXPECT_EQ(progression(2, 3), (std::vector<int>{50, 100, 100}));
    EXPECT_EQ(progression(3, 3), (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(progression(8, 8), (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    // Step 0.5: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
    EXPECT_EQ(progression(200, 5), (std::vector<int>{0, 1, 2, 2, 2}));
    EXPECT_EQ(util::StepProgress(200, 200), 100);
    EXPECT_EQ(util::StepProgress(1, 0), 0);
}

namespace {

// Parts wait until two are there; "a" and "b" fail when finished.
class PairBatch : public util::StepBatch
{
public:
    explicit PairBatch(std::vector<std::string>& log) : m_log(log) {}
    util::Outcome<> Add(const std::string& name)
    {
        m_waiting.push_back(name);
        return util::Done();
    }
    std::size_t Waiting() const override { return m_waiting.size(); }
    bool Due() const override { return m_waiting.size() >= 2; }
    std::vector<util::Outcome<>> Finish() override
    {
        std::vector<util::Outcome<>> outcomes;
        for (const std::string& name : m_waiting) {
            m_log.push_back("finish " + name);
            outcomes.push_back(name == "c" ? util::Done() : util::Failed("spät"));
        }
        m_waiting.clear();
        return outcomes;
    }

private:
    std::vector<std::string>& m_log;
    std::vector<std::string> m_waiting;
};

} // namespace

TEST(StepPlan, ABatchIsFinishedWhenDueAndAtTheLastStepWithWorkAndItsLateFailuresAreTold)
{
    std::vector<std::string> log;
    const auto batch = std::make_shared<PairBatch>(log);
    const auto add = [&](std::string name) -> util::StepWork {
        return [&log, batch, name] {
            log.push_back("work " + name);
            return batch->Add(name);
        };
    };
    util::StepPlan plan;
    plan.batch = batch;
    plan.steps.push_back(Step("vorher", util::Done(), log));
    plan.steps.push_back({"a", 0, add("a")});
    plan.steps.push_back(Step("kaputt", util::Failed("sofort"), log));
    plan.steps.push_back({"b", 0, add("b")}); // due: a fails late, b at once
    plan.steps.push_back({"c", 0, add("c")}); // the last step with work
    plan.steps.push_back({"leer", 0, {}});

    int runnerCalls = 0;
    const util::StepRunner runner = [&](const util::StepWork& work) {
        ++runnerCalls;
        return work();
    };
    const auto logged = [&](const char* what) {
        return [&log, what](const util::StepReport& r) {
            log.push_back(std::string(what) + " " + r.step.name + " " + util::CodeName(r.outcome.code) + " " +
                          r.outcome.message);
        };
    };
    util::StepObserver observer{{}, logged("after")};
    observer.afterLateFailure = logged("late");
    const auto summary = util::ExecutePlan(plan, observer, runner);

    EXPECT_EQ(log, (std::vector<std::string>{
                       "work vorher", "after vorher Done ", "work a", "after a Done ", "work kaputt",
                       "after kaputt Failed sofort", "work b", "finish a", "finish b", "late a Failed spät",
                       "after b Failed spät", "work c", "finish c", "after c Done ", "after leer Nothing "}));
    EXPECT_EQ(runnerCalls, 7) << "five steps with work and two finishes, each through the runner";
    EXPECT_EQ(summary.done, 2u);
    EXPECT_EQ(summary.failed, 3u);
    EXPECT_EQ(summary.nothing, 1u);
}
