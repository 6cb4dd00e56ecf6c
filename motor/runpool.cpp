#include "motor/runpool.h"

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
    threads.setMaxThreadCount(cores > 1 ? std::min(cores, 16) - 1 : 1);
    threads.setExpiryTimeout(-1);
}

void Workers::Group::wait()
{
    std::unique_lock<std::mutex> lock(m);
    done.wait(lock, [this] { return pending == 0; });
}

void Workers::start(Group *group, std::function<void()> job)
{
    {
        std::lock_guard<std::mutex> lock(group->m);
        ++group->pending;
    }
    threads.start([group, job = std::move(job)] {
        job();
        std::lock_guard<std::mutex> lock(group->m);
        if (--group->pending == 0) group->done.notify_all();
    });
}

} // namespace detail
} // namespace motor
