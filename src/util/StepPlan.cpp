#include "util/StepPlan.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace util {
namespace {

int RoundHalfToEven(double value)
{
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return static_cast<int>(whole);
}

void Count(StepSummary& summary, OutcomeCode code)
{
    switch (code) {
    case OutcomeCode::Done:
        ++summary.done;
        break;
    case OutcomeCode::Nothing:
        ++summary.nothing;
        break;
    case OutcomeCode::Refused:
    case OutcomeCode::Failed:
        ++summary.failed;
        break;
    }
}

} // namespace

Outcome<> RunInline(const StepWork& work)
{
    return work();
}

int StepProgress(std::size_t position, std::size_t count)
{
    if (count == 0)
        return 0;
    const double step = 100.0 / static_cast<double>(count);
    return std::min(RoundHalfToEven(static_cast<double>(position) * step), 100);
}

StepSummary ExecutePlan(const StepPlan& plan, const StepObserver& observer, const StepRunner& runner)
{
    StepSummary summary;
    if (plan.steps.empty())
        return summary;
    const StepRunner& run = runner ? runner : StepRunner(RunInline);
    if (plan.prepare)
        // By value: the runner may leave the work to itself when the program closes.
        (void)run([prepare = plan.prepare] {
            prepare();
            return Done();
        });
    const std::size_t count = plan.steps.size();
    const auto reportFor = [&](std::size_t i, const Outcome<>& outcome) {
        return StepReport{i + 1, count, plan.steps[i], outcome};
    };

    // The batch is finished at the last step with work at the latest.
    std::size_t lastWithWork = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (plan.steps[i].work)
            lastWithWork = i;
    // The steps whose part waits in the batch, in the order the parts were added.
    std::vector<std::size_t> waiting;
    // Finishes the batch; hands back the current step's final outcome, and tells of
    // earlier steps that fail only now.
    const auto finishBatch = [&](std::size_t current, Outcome<> outcome) {
        // Shared with the work, not borrowed: a runner that gives up on work still
        // running must not leave it writing into this frame.
        auto finished = std::make_shared<std::vector<Outcome<>>>();
        const Outcome<> ran = run([batch = plan.batch, finished] {
            *finished = batch->Finish();
            return Done();
        });
        for (std::size_t k = 0; k < waiting.size(); ++k) {
            const Outcome<>& settled = k < finished->size() ? (*finished)[k] : ran;
            if (settled.IsDone())
                continue;
            if (waiting[k] == current) {
                outcome = settled;
                continue;
            }
            --summary.done; // counted when its step was reported
            Count(summary, settled.code);
            if (observer.afterLateFailure)
                observer.afterLateFailure(reportFor(waiting[k], settled));
        }
        waiting.clear();
        return outcome;
    };

    for (std::size_t i = 0; i < count; ++i) {
        const PlanStep& step = plan.steps[i];
        if (observer.beforeStep)
            observer.beforeStep(i + 1, count);
        const std::size_t waitingBefore = plan.batch ? plan.batch->Waiting() : 0;
        Outcome<> outcome = step.work ? run(step.work) : Nothing();
        if (plan.batch) {
            if (plan.batch->Waiting() > waitingBefore)
                waiting.push_back(i);
            if (!waiting.empty() && (i >= lastWithWork || plan.batch->Due()))
                outcome = finishBatch(i, std::move(outcome));
        }
        Count(summary, outcome.code);
        if (observer.afterStep)
            observer.afterStep(reportFor(i, outcome));
    }
    return summary;
}

} // namespace util
