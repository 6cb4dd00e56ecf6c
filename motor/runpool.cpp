#include "motor/runpool.h"

#include <algorithm>
#include <thread>

#ifdef __linux__
#include <sched.h>
#endif

// QThreadPool hands a job to its thread, and QSemaphore hands its end back, through Qt's own
// code, which the thread sanitizer does not see: in that build the hand-overs are announced.
//
// Nor does it see Qt's locks, so everything Qt's threads hand each other under them looks
// unguarded. In that build, a thread that Qt starts is not watched (the sanitizer still sees
// its locks and hand-overs) but while it runs a job of ours: Qt's helper threads, its own
// pools' and ours between jobs run no code of ours. The threads of ours, the GUI thread and
// the jobs, stay watched wherever they are, Qt's code on them too, so that data a job writes
// while the GUI thread has Qt copy it is reported.
#ifdef AMPWRIGHT_TSAN
#include <QThread>
#include <pthread.h>

extern "C" void __tsan_acquire(void *addr);
extern "C" void __tsan_release(void *addr);
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();

// Qt's hook on every signal emitted, as QtCore exports it (its private qobject_p.h).
struct QSignalSpyCallbackSet
{
    void (*signalBegin)(QObject *sender, int signal, void **argv);
    void (*slotBegin)(QObject *receiver, int method, void **argv);
    void (*signalEnd)(QObject *sender, int signal);
    void (*slotEnd)(QObject *receiver, int method);
};
void qt_register_signal_spy_callbacks(QSignalSpyCallbackSet *callbacks);

namespace {

// Whether the thread is one Qt started. It is watched again as it ends: the sanitizer wants a
// thread to end watched.
struct Unwatched
{
    bool on = false;
    ~Unwatched()
    {
        if (on) __tsan_ignore_thread_end();
    }
};
thread_local Unwatched unwatched;
const pthread_t mainThread = pthread_self(); // static initialisation runs on it

// A thread Qt starts emits its QThread's started() on itself before anything else.
void signalBegins(QObject *sender, int, void **)
{
    if (unwatched.on || pthread_equal(pthread_self(), mainThread) ||
        !qobject_cast<QThread *>(sender) || sender != QThread::currentThread())
        return;
    unwatched.on = true;
    __tsan_ignore_thread_begin();
}

QSignalSpyCallbackSet threadWatch{signalBegins, nullptr, nullptr, nullptr};
[[maybe_unused]] const bool threadWatchSet =
    (qt_register_signal_spy_callbacks(&threadWatch), true);

// A job of ours is watched, wherever it runs.
struct WatchedJob
{
    WatchedJob()
    {
        if (unwatched.on) __tsan_ignore_thread_end();
    }
    ~WatchedJob()
    {
        if (unwatched.on) __tsan_ignore_thread_begin();
    }
};

} // namespace

#define HANDED_OVER(addr) __tsan_release(addr)
#define TAKEN_OVER(addr) __tsan_acquire(addr)
#define WATCHED_JOB const WatchedJob watched
#else
#define HANDED_OVER(addr) static_cast<void>(addr)
#define TAKEN_OVER(addr) static_cast<void>(addr)
#define WATCHED_JOB static_cast<void>(0)
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
        WATCHED_JOB;
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
