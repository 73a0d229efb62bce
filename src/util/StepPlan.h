#pragma once

#include "util/Outcome.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Work on files as a plan of steps and one executor for it: the bulk update, the
// profile copy and the profile file commands are each a plan made from the rows,
// run here step by step with progress after each step and every failure as a value.
namespace util {

using StepWork = std::function<Outcome<>()>;

struct PlanStep
{
    std::string name; // the file the step is about, as the row holds it
    int progress = 0; // the bar's position once the step is done, 0..100
    StepWork work;    // the step's file work; none: the step has nothing to do (Nothing)
};

// Work that several steps share and that is finished for them together: copies
// that wait, complete in their temporary files, for one flush to disk. A step's
// work adds at most one waiting part and hands back Done for it; Finish() settles
// every waiting part. The executor finishes the batch when it is due and at the
// last step with work, before reporting that step. Waiting() and Due() are asked
// on the executor's thread between steps, while no step's work runs.
class StepBatch
{
public:
    virtual ~StepBatch() = default;
    virtual std::size_t Waiting() const = 0;
    // Whether the waiting parts are to be finished now rather than after more steps.
    virtual bool Due() const = 0;
    // File work: one outcome per waiting part, in the order the parts were added.
    virtual std::vector<Outcome<>> Finish() = 0;
};

struct StepPlan
{
    // File work before the first step (clearing leftovers of an interrupted copy);
    // not run for a plan without steps.
    std::function<void()> prepare;
    std::vector<PlanStep> steps;
    // The work the steps share, if any. Dropping the plan drops what still waits.
    std::shared_ptr<StepBatch> batch = {};
};

// Runs one piece of file work and hands back its outcome. The window installs one
// that runs the work off its own thread and keeps repainting meanwhile; the work
// touches files only, never a widget.
using StepRunner = std::function<Outcome<>(const StepWork& work)>;

// The default runner: the work runs where the plan runs.
Outcome<> RunInline(const StepWork& work);

struct StepReport
{
    std::size_t position = 0; // counting from 1
    std::size_t count = 0;
    const PlanStep& step;
    const Outcome<>& outcome;
};

struct StepObserver
{
    std::function<void(std::size_t position, std::size_t count)> beforeStep;
    std::function<void(const StepReport&)> afterStep;
    // A step already reported Done whose part failed when the batch was finished:
    // called for each such step, in step order, before the report of the step at
    // which the batch was finished.
    std::function<void(const StepReport&)> afterLateFailure = {};
};

struct StepSummary
{
    std::size_t done = 0;
    std::size_t nothing = 0;
    std::size_t failed = 0; // Failed or Refused
};

// Runs the steps in order; a failed step does not stop the others. The observer
// is called on the executor's own thread, before and after every step. The summary
// counts a late failure as failed.
StepSummary ExecutePlan(const StepPlan& plan, const StepObserver& observer,
                        const StepRunner& runner = RunInline);

// The bar's position after step `position` (counting from 1) of `count`:
// position times 100 / count, rounded to the nearest whole number with halves to
// the even one, at most 100. 0 when count is 0.
int StepProgress(std::size_t position, std::size_t count);

} // namespace util
