// The thread sanitizer does not see Qt's locks, so everything Qt's threads hand each other
// under them looks unguarded. In its build, a thread that Qt starts is not watched (the
// sanitizer still sees its pthread calls) but while it runs a job of ours: Qt's helper threads,
// Qt's own pools, and ours between jobs, run no code of ours. The GUI thread and the jobs stay
// watched wherever they are, Qt's code on them too, so that data a job writes while the GUI
// thread has Qt copy it is reported.
#include "motor/threadwatch.h"

#ifdef AMPWRIGHT_TSAN

#include <QThread>

#include <pthread.h>

extern "C" void __tsan_acquire(void *addr);
extern "C" void __tsan_release(void *addr);
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();

// Qt's hook on every signal emitted, as QtCore exports it (declared in its private qobject_p.h).
struct QSignalSpyCallbackSet
{
    void (*signalBegin)(QObject *sender, int signal, void **argv);
    void (*slotBegin)(QObject *receiver, int method, void **argv);
    void (*signalEnd)(QObject *sender, int signal);
    void (*slotEnd)(QObject *receiver, int method);
};
void qt_register_signal_spy_callbacks(QSignalSpyCallbackSet *callbacks);

namespace motor {
namespace detail {

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
[[maybe_unused]] const bool threadWatchSet = (qt_register_signal_spy_callbacks(&threadWatch), true);

} // namespace

void handedOver(const void *addr)
{
    __tsan_release(const_cast<void *>(addr));
}

void takenOver(const void *addr)
{
    __tsan_acquire(const_cast<void *>(addr));
}

WatchedJob::WatchedJob()
{
    if (unwatched.on) __tsan_ignore_thread_end();
}

WatchedJob::~WatchedJob()
{
    if (unwatched.on) __tsan_ignore_thread_begin();
}

} // namespace detail
} // namespace motor

#endif
