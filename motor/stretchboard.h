#pragma once

#include <condition_variable>
#include <mutex>

namespace motor {
namespace detail {

// The drive's job tells the board how far it has got once every this many steps: often
// enough that the run following it, and a stop, wait little (some 30 us of stepping), seldom
// enough that the lock is no cost to the drive. A power of two, so that the count is a mask.
constexpr int kPublishSteps = 1024;

// What the threads of the runs on one kept drive tell each other, and the one place where
// they wait: every count below is read and written under one mutex, and every wait blocks on
// its condition variable. Three kinds of thread take part:
//  - the drive's job, on the pool: steps the drive into the trace, noting where each stretch
//    begins (its first step and a copy of the drive there), then, if the runs record, the
//    drive's waveforms of the stretches it claims;
//  - a run's own thread, the caller of BridgeRuns::run: follows the phase currents along the
//    steps written, noting the currents where each stretch begins, and takes stretches too;
//  - the run's workers, on the pool once the drive is done: take noted stretches, and record
//    the drive's stretches while none is noted.
// Invariants:
//  - The drive's job alone writes the trace. Steps [0, stepped) and the beginnings of
//    stretches [0, begun) are written and do not change again; any thread may read those it
//    has seen counted here. Once driveDone(), the counts are final and so is whether the drive
//    is complete (false: too long to keep, or stopped); so are the trace's flags.
//  - One run at a time (runs follow one another on their own thread). A run's stretch c may
//    be taken once c < noted, that is, once its beginning currents are written; each stretch,
//    of the run and of the drive's waveforms, is claimed here by exactly one thread, which
//    alone writes what it finds. What the workers found is read after their Group's wait.
//  - The drive's stretches are claimed once recordingReady(), that is, once the drive is done
//    and its recorder is set; recorded counts those whose waveforms are in.
//  - stop() (a run told to stop by its progress, on its own thread) is for good: every wait
//    returns at once, nothing more is claimed, and the drive's job leaves at its next
//    publication, within kPublishSteps steps. endRecording() (the runs are over) only ends the
//    claims of the drive's stretches: the drive itself is stepped to its end.
class StretchBoard
{
public:
    // What the drive's job has stepped, as the run's thread sees it.
    struct Steps
    {
        int stepped = 0, begun = 1;
        bool done = false;
    };

    // The drive's job: steps and stretches so far; false once stopped.
    bool publish(int stepped, int begun)
    {
        std::lock_guard<std::mutex> lock(m);
        steps.stepped = stepped;
        steps.begun = begun;
        if (stepped >= wanted) changed.notify_all();
        return !stopped;
    }
    void finishDrive(int stepped, int begun, bool isComplete)
    {
        std::lock_guard<std::mutex> lock(m);
        steps = {stepped, begun, true};
        complete = isComplete;
        changed.notify_all();
    }
    void recordingReady()
    {
        std::lock_guard<std::mutex> lock(m);
        driveReady = true;
        changed.notify_all();
    }

    // The run's thread: waits until `want` steps are stepped or the drive is done; false once
    // stopped.
    bool waitForSteps(int want, Steps *seen)
    {
        std::unique_lock<std::mutex> lock(m);
        wanted = want;
        changed.wait(lock, [&] { return steps.stepped >= want || steps.done || stopped; });
        wanted = kNone;
        *seen = steps;
        return !stopped;
    }
    bool driveDone() const
    {
        std::lock_guard<std::mutex> lock(m);
        return steps.done;
    }
    // After driveDone(): the whole drive, or none when it was not kept whole.
    bool driveComplete(Steps *all) const
    {
        std::lock_guard<std::mutex> lock(m);
        *all = steps;
        return complete;
    }
    void waitUntilDriveDone()
    {
        std::unique_lock<std::mutex> lock(m);
        changed.wait(lock, [&] { return steps.done || stopped; });
    }
    // A new run, before it notes or starts workers.
    void startRun()
    {
        std::lock_guard<std::mutex> lock(m);
        noted = taken = 0;
    }
    void note(int stretches)
    {
        std::lock_guard<std::mutex> lock(m);
        noted = stretches;
        changed.notify_all();
    }
    void stop()
    {
        std::lock_guard<std::mutex> lock(m);
        stopped = true;
        changed.notify_all();
    }
    bool isStopped() const
    {
        std::lock_guard<std::mutex> lock(m);
        return stopped;
    }

    // A thread's next piece of work: a stretch of the run, a stretch of the drive's waveforms
    // (while no stretch of the run is noted, and after the run's stretches with
    // `recordAfter`), or none, once nothing is left or the runs are stopped.
    // Only once driveDone(): until then `begun` grows in publish() without a notify, and a
    // claim that found every stretch so far taken would give up before the drive's last ones.
    struct Claim
    {
        enum Kind { None, RunStretch, DriveStretch } kind = None;
        int stretch = 0;
    };
    Claim claim(bool recordAfter)
    {
        std::unique_lock<std::mutex> lock(m);
        for (;;) {
            if (stopped) return {};
            if (taken < steps.begun) {
                if (taken < noted) return {Claim::RunStretch, taken++};
                if (driveStretchLeft()) return {Claim::DriveStretch, driveNext++};
                changed.wait(lock);
                continue;
            }
            if (recordAfter && driveStretchLeft()) return {Claim::DriveStretch, driveNext++};
            return {};
        }
    }
    // The drive's stretches alone (by the drive's job and the recording run's thread); -1
    // when none is left.
    int claimDriveStretch()
    {
        std::lock_guard<std::mutex> lock(m);
        return driveStretchLeft() ? driveNext++ : -1;
    }
    void driveStretchRecorded()
    {
        std::lock_guard<std::mutex> lock(m);
        if (++driveRecorded == steps.begun) changed.notify_all();
    }
    // Waits until every stretch of the drive's waveforms is in; false once stopped.
    bool waitUntilRecorded()
    {
        std::unique_lock<std::mutex> lock(m);
        changed.wait(lock, [&] { return driveRecorded == steps.begun || stopped; });
        return !stopped;
    }
    // How far the claims of the drive's stretches have come, 0 to 1.
    double driveClaimed() const
    {
        std::lock_guard<std::mutex> lock(m);
        return double(driveNext) / steps.begun;
    }
    void endRecording()
    {
        std::lock_guard<std::mutex> lock(m);
        recordingEnded = true;
    }

private:
    static constexpr int kNone = 1 << 30;

    bool driveStretchLeft() const
    {
        return driveReady && !recordingEnded && !stopped && driveNext < steps.begun;
    }

    mutable std::mutex m;
    std::condition_variable changed;
    Steps steps;
    bool complete = false;
    int wanted = kNone; // the steps the run's thread waits for
    bool stopped = false;
    int noted = 0, taken = 0; // of the run's stretches
    bool driveReady = false, recordingEnded = false;
    int driveNext = 0, driveRecorded = 0; // of the drive's stretches
};

} // namespace detail
} // namespace motor
