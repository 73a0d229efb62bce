#include "util/StepPlan.h"

#include <algorithm>
#include <cmath>

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
    for (std::size_t i = 0; i < count; ++i) {
        const PlanStep& step = plan.steps[i];
        if (observer.beforeStep)
            observer.beforeStep(i + 1, count);
        const Outcome<> outcome = step.work ? run(step.work) : Nothing();
        switch (outcome.code) {
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
        if (observer.afterStep)
            observer.afterStep({i + 1, count, step, outcome});
    }
    return summary;
}

} // namespace util
