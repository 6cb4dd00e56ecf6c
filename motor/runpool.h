#pragma once

#include <QSemaphore>
#include <QThreadPool>

#include <functional>

namespace motor {
namespace detail {

// Threads kept for the runs and never let go: starting a thread costs a good part of a
// millisecond here, as much as a stretch of steps takes. One thread steps the drive; beside
// the run's own thread, a run starts one worker fewer than the cores the process may use, and
// one on a single core, so that the stretches go through the same hand-overs on every machine
// (the results do not depend on the count). At most 15 workers: a drive kept whole has at
// most kTraceSteps / kStretchSteps (64) full stretches, most far fewer, and the run's own
// thread notes them one after another, so more workers would mostly wait while kept for good.
class Workers
{
public:
    static Workers &pool();

    // The workers a run may start.
    int size() const { return threads.maxThreadCount() - 1; }

    // Jobs started together, to wait for; the wait comes at the latest with its end. What a
    // job wrote is seen by the thread that waited for it.
    class Group
    {
    public:
        Group() = default;
        Group(const Group &) = delete;
        Group &operator=(const Group &) = delete;
        ~Group() { wait(); }
        void wait();

        // By a job's thread as the job ends.
        void jobEnded() { jobsEnded.release(); }

    private:
        friend class Workers;
        QSemaphore jobsEnded;
        int started = 0; // by the thread that starts and waits
    };

    // A job for the next free thread; what the caller wrote before is seen by the job.
    void start(Group *group, std::function<void()> job);

private:
    Workers();

    QThreadPool threads;
};

} // namespace detail
} // namespace motor
