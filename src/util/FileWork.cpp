#include "util/FileWork.h"

#include "util/z_global.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace util {
namespace {

using Clock = std::chrono::steady_clock;

struct Job
{
    std::function<void(WorkProgress&)> work;
    WorkProgress progress;
    std::exception_ptr error;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
};

// The progress of the job the worker runs right now; none on any other thread.
thread_local WorkProgress* t_running = nullptr;

// One thread for the whole run, started with the first job. It is never joined or
// destroyed: it may be stuck in the kernel on a dead share when the program ends.
class Worker
{
public:
    void Post(std::shared_ptr<Job> job)
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(job));
        if (!m_started) {
            m_started = true;
            std::thread([this] { Loop(); }).detach();
        }
        m_wake.notify_one();
    }

private:
    void Loop()
    {
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_queue.empty(); });
                job = std::move(m_queue.front());
                m_queue.pop_front();
            }
            t_running = &job->progress;
            try {
                job->work(job->progress);
            } catch (...) {
                job->error = std::current_exception();
            }
            t_running = nullptr;
            job->work = nullptr; // what it captured goes on this thread, as it was used here
            {
                const std::lock_guard lock(job->mutex);
                job->done = true;
            }
            job->finished.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<Job>> m_queue;
    bool m_started = false;
};

Worker& TheWorker()
{
    static auto* const worker = new Worker;
    return *worker;
}

struct NoticeSetting
{
    NoProgressNotice notice;
    std::chrono::milliseconds after = kNoProgressNotice;
};

NoticeSetting& Notice()
{
    static NoticeSetting setting;
    return setting;
}

// Nanoseconds of the steady clock at which waits give up; 0 while not closing.
std::atomic<std::int64_t> g_closingDeadline{0};
std::atomic<bool> g_abandoned{false};

bool PastClosingDeadline(Clock::time_point now)
{
    const std::int64_t deadline = g_closingDeadline.load();
    return deadline != 0 && now.time_since_epoch().count() >= deadline;
}

} // namespace

void InstallNoProgressNotice(NoProgressNotice notice, std::chrono::milliseconds after)
{
    Notice() = {std::move(notice), after};
}

ScopedNoProgressNotice::ScopedNoProgressNotice(NoProgressNotice notice)
    : m_before(Notice().notice), m_after(Notice().after)
{
    Notice().notice = std::move(notice);
}

ScopedNoProgressNotice::~ScopedNoProgressNotice()
{
    Notice() = {std::move(m_before), m_after};
}

void TickFileWork()
{
    if (t_running)
        t_running->Tick();
}

bool RunFileWork(std::function<void(WorkProgress&)> work)
{
    if (g_abandoned)
        return false;
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    TheWorker().Post(job);

    // Short waits on the job between passes of the pump: quick work costs no pump
    // pass at all, and a timer is never more than one slice late.
    constexpr auto kSlice = std::chrono::milliseconds(10);
    const NoticeSetting notice = Notice();
    std::uint64_t lastTicks = 0;
    auto lastMove = Clock::now();
    bool stalled = false;
    const auto setStalled = [&](bool value) {
        if (stalled != value && notice.notice) {
            stalled = value;
            notice.notice(value);
        }
    };
    for (;;) {
        {
            std::unique_lock lock(job->mutex);
            if (job->finished.wait_for(lock, kSlice, [&] { return job->done; }))
                break;
        }
        const auto now = Clock::now();
        if (PastClosingDeadline(now)) {
            g_abandoned = true;
            setStalled(false);
            return false;
        }
        PumpMessages();
        if (const std::uint64_t ticks = job->progress.Ticks(); ticks != lastTicks) {
            lastTicks = ticks;
            lastMove = now;
            setStalled(false);
        } else if (now - lastMove >= notice.after) {
            setStalled(true);
        }
    }
    setStalled(false);
    if (job->error)
        std::rethrow_exception(job->error);
    return true;
}

Outcome<> RunStepAsFileWork(const StepWork& work)
{
    return RunFileWorkFor([work] { return work(); }).value_or(Nothing());
}

void BeginClosing()
{
    const auto deadline = (Clock::now() + kClosingGrace).time_since_epoch().count();
    std::int64_t notSet = 0;
    g_closingDeadline.compare_exchange_strong(notSet, deadline);
}

bool FileWorkAbandoned()
{
    return g_abandoned;
}

void EndClosingForTesting()
{
    g_closingDeadline = 0;
    g_abandoned = false;
}

} // namespace util
