#pragma once

namespace motor {
namespace detail {

// What the thread sanitizer sees of our threads, in its build (AMPWRIGHT_TSAN); nothing
// elsewhere. Qt is not built with the sanitizer, so neither Qt's locks nor its hand-overs
// are seen. Our own hand-overs through Qt are announced; and a thread Qt starts is watched only
// while it runs a job of ours (see threadwatch.cpp).

#ifdef AMPWRIGHT_TSAN
// Everything written before handedOver(addr) is seen after takenOver(addr), on any thread.
void handedOver(const void *addr);
void takenOver(const void *addr);

// A job of ours on a thread Qt started, watched for the object's lifetime.
class WatchedJob
{
public:
    WatchedJob();
    ~WatchedJob();
    WatchedJob(const WatchedJob &) = delete;
    WatchedJob &operator=(const WatchedJob &) = delete;
};
#else
inline void handedOver(const void *) {}
inline void takenOver(const void *) {}

class WatchedJob
{
public:
    WatchedJob() {}
};
#endif

} // namespace detail
} // namespace motor
