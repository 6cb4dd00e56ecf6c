#include "motor/runpool.h"

#include "motor/threadwatch.h"

#include <algorithm>
#include <thread>

#ifdef __linux__
#include <sched.h>
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
    takenOver(this);
}

namespace {

// A job as the pool runs it; the pool deletes it after the run. QThreadPool hands it to its
// thread, and QSemaphore hands its end back, through Qt's own code, which the thread sanitizer
// does not see: the hand-overs are announced to it.
class Job : public QRunnable
{
public:
    Job(Workers::Group *group, std::function<void()> job) : group(group), job(std::move(job)) {}

    void run() override
    {
        const WatchedJob watched;
        takenOver(this);
        job();
        handedOver(group);
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
    handedOver(handed);
    threads.start(handed);
}

} // namespace detail
} // namespace motor
