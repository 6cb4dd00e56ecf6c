#pragma once

#include <QSemaphore>
#include <QThreadPool>

#include <functional>

namespace motor {
namespace detail {

// Threads kept for the runs and never let go: starting a thread costs a good part of a
// millisecond here, as much as a stretch of steps takes. A run's stretches take one fewer than
// there are cores, beside the run's own thread, and one more thread steps the drive beside
// them.
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
