#pragma once

#include <QThreadPool>

#include <condition_variable>
#include <functional>
#include <mutex>

namespace motor {
namespace detail {

// Threads kept for the runs, one fewer than there are cores, and never let go: starting a
// thread costs a good part of a millisecond here, as much as a stretch of steps takes.
class Workers
{
public:
    static Workers &pool();

    int size() const { return threads.maxThreadCount(); }

    // Jobs started together, to wait for; the wait comes at the latest with its end.
    class Group
    {
    public:
        Group() = default;
        Group(const Group &) = delete;
        Group &operator=(const Group &) = delete;
        ~Group() { wait(); }
        void wait();

    private:
        friend class Workers;
        std::mutex m;
        std::condition_variable done;
        int pending = 0;
    };

    // A job for the next free thread.
    void start(Group *group, std::function<void()> job);

private:
    Workers();

    QThreadPool threads;
};

} // namespace detail
} // namespace motor
