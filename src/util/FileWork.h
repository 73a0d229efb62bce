#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "util/StepPlan.h"

// File work (listing, copying, flushing, deleting) runs on a worker thread while
// the window thread waits for it pumping messages, as DelayWithMessages does: a
// slow or hung share can then never freeze the window. The pump lets no user input
// through and the operation gate stays as it is, so everything the window does
// happens in the same order as if the work ran in place.
namespace util {

// How long work may make no progress before the window says that the server does
// not answer.
inline constexpr std::chrono::milliseconds kNoProgressNotice{5000};
// How long a wait for file work may still last once the program is closing.
inline constexpr std::chrono::milliseconds kClosingGrace{1000};

// Handed to the work, which ticks it after each piece done (a chunk copied, a file
// placed), so that the waiting thread sees it move. Any thread may tick.
class WorkProgress
{
public:
    void Tick() { m_ticks.fetch_add(1, std::memory_order_relaxed); }
    std::uint64_t Ticks() const { return m_ticks.load(std::memory_order_relaxed); }

private:
    std::atomic<std::uint64_t> m_ticks{0};
};

// Ticks the progress of the file work running on the calling thread, so that work
// deep inside a piece (the chunks of a copy) shows that it moves without being
// handed the progress; on any other thread it does nothing.
void TickFileWork();

// What the window says while file work makes no progress.
inline constexpr char kServerNotAnswering[] = "Der Server antwortet nicht …";

// Called on the waiting thread with true once a piece of file work has made no
// progress for `after`, and with false when it moves again or ends.
using NoProgressNotice = std::function<void(bool stalled)>;
void InstallNoProgressNotice(NoProgressNotice notice, std::chrono::milliseconds after = kNoProgressNotice);

// Puts the notice somewhere else while it lives (a dialog over the window says it
// in the dialog), then back where it was.
class ScopedNoProgressNotice
{
public:
    explicit ScopedNoProgressNotice(NoProgressNotice notice);
    ~ScopedNoProgressNotice();
    ScopedNoProgressNotice(const ScopedNoProgressNotice&) = delete;
    ScopedNoProgressNotice& operator=(const ScopedNoProgressNotice&) = delete;

private:
    NoProgressNotice m_before;
    std::chrono::milliseconds m_after;
};

// Runs the work on the worker thread and waits for it; pieces of work run one at a
// time in the order given. An exception of the work is thrown again here. False
// only when the program is closing and the wait gave up: the work is then left to
// itself (a thread stuck in the kernel is never waited for), so it must own
// everything it touches; capture by value. Once a wait has given up, nothing new
// is started: the worker is still held by the work left to itself.
bool RunFileWork(std::function<void(WorkProgress&)> work);

// The same for work with a result, taking the progress or nothing; empty when the
// wait gave up.
template <class Work> auto RunFileWorkFor(Work work)
{
    constexpr bool kTakesProgress = std::is_invocable_v<Work&, WorkProgress&>;
    using Result = typename std::conditional_t<kTakesProgress, std::invoke_result<Work&, WorkProgress&>,
                                               std::invoke_result<Work&>>::type;
    // Shared, so that work left running still has somewhere to put its result.
    auto result = std::make_shared<std::optional<Result>>();
    if (!RunFileWork([result, work = std::move(work)](WorkProgress& progress) mutable {
            if constexpr (kTakesProgress)
                result->emplace(work(progress));
            else
                result->emplace(work());
        }))
        return std::optional<Result>();
    return std::move(*result);
}

// The window's step runner: every step of a plan runs as file work, one at a time
// and in the plan's order. A step whose wait was given up because the program is
// closing counts as Nothing: how it ended is unknown and nobody is left to tell.
Outcome<> RunStepAsFileWork(const StepWork& work);

// From now on every wait for file work ends within kClosingGrace of this call.
void BeginClosing();

// Whether a wait gave up on work still running. The program must then end without
// tearing down what that work may still use.
bool FileWorkAbandoned();

// Tests only: back to normal after BeginClosing().
void EndClosingForTesting();

} // namespace util
