#include "motor/runpool.h"

#include <algorithm>
#include <thread>

#ifdef __linux__
#include <sched.h>
#endif

// QThreadPool hands a job to its thread, and QSemaphore hands its end back, through Qt's own
// code, which the thread sanitizer does not see: in that build the hand-overs are announced.
#ifdef AMPWRIGHT_TSAN
extern "C" void __tsan_acquire(void *addr);
extern "C" void __tsan_release(void *addr);
#define HANDED_OVER(addr) __tsan_release(addr)
#define TAKEN_OVER(addr) __tsan_acquire(addr)
#else
#define HANDED_OVER(addr) static_cast<void>(addr)
#define TAKEN_OVER(addr) static_cast<void>(addr)
#endif

namespace motor {
namespace detail {

Workers &Workers::pool()
{
    static Workers workers;
    return workers;
}

Workers::Workers()
{
    // The cores this process may run on, which can be fewer than the machine has.
    int cores = int(std::thread::hardware_concurrency());
#ifdef __linux__
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) cores = CPU_COUNT(&allowed);
#endif
    threads.setMaxThreadCount((cores > 1 ? std::min(cores, 16) - 1 : 1) + 1);
    threads.setExpiryTimeout(-1);
}

void Workers::Group::wait()
{
    jobsEnded.acquire(started);
    started = 0;
    TAKEN_OVER(this);
}

namespace {

// A job as the pool runs it; the pool deletes it after the run.
class Job : public QRunnable
{
public:
    Job(Workers::Group *group, std::function<void()> job) : group(group), job(std::move(job)) {}

    void run() override
    {
        TAKEN_OVER(this);
        job();
        HANDED_OVER(group);
        group->jobEnded();
    }

private:
    Workers::Group *const group;
    const std::function<void()> job;
};

} // namespace

void Workers::start(Group *group, std::function<void()> job)
{
    ++group->started;
    // Made here rather than by the pool, so that everything the thread reads of it is written
    // before the hand-over.
    Job *const handed = new Job(group, std::move(job));
    HANDED_OVER(handed);
    threads.start(handed);
}

} // namespace detail
} // namespace motor
