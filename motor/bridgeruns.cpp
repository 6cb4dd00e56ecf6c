// The runs of one input at several on-resistances: the drive stepped once and kept, the
// currents of each run summed stretch by stretch on a pool of threads.
#include "motor/bridgesim.h"

#include "motor/bridgestepper.h"
#include "motor/runpool.h"
#include "motor/steprecorder.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace motor {

using namespace detail;

namespace {

// A thread that waits for another one to get on: a short sleep, which leaves the core to the
// thread it waits for (yielding in a loop would keep the core and the kernel busy, and slow the
// thread that is waited for).
void pause(int microseconds = 20)
{
    std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

// Stores that go past the caches, for the drive's steps: the runs read them on other cores,
// whose copies of the lines of the last refresh would otherwise hold the producer up. The fence
// orders them before the store that publishes them.
inline void streamStore(double *to, double x)
{
#ifdef __SSE2__
    long long bits;
    std::memcpy(&bits, &x, sizeof bits);
    _mm_stream_si64(reinterpret_cast<long long *>(to), bits);
#else
    *to = x;
#endif
}

inline void streamFence()
{
#ifdef __SSE2__
    _mm_sfence();
#endif
}

// The most stretches a kept drive is cut into: each but the last has kStretchSteps steps or
// more.
constexpr int kMaxStretches = kTraceSteps / kStretchSteps + 2;

} // namespace

// The drive of the runs, stepped on a thread of its own while the first run already steps its
// currents from what is there. It notes where each stretch begins, with a copy of its drive
// there: with `out`, the drive's waveforms are recorded stretch by stretch from those copies,
// by the drive's thread once the drive is done, by the runs' workers while they wait for a
// stretch, and at the latest by the first run that records.
struct BridgeRuns::Trace
{
    Trace(const BridgeInput &in, Waveforms *out)
        : setup(in), out(out), steps(out ? out->trace : own)
    {
    }
    ~Trace()
    {
        // Stretches of the drive's waveforms that no thread has taken are no longer wanted.
        driveNext.store(kMaxStretches);
        if (producer.joinable()) producer.join();
    }

    // Steps the drive into `steps`, publishing how far it has got.
    void produce()
    {
        quint32 driveFlags = setup.flags;
        DriveStepper drive(setup, &driveFlags);
        StretchCutter cutter(setup);
        double *const t = steps.t.get();
        std::array<double, 3> *const emf = steps.emf.get();
        quint8 *const levels = steps.levels.get();
        // Stretch 0 begins at step 0 (stretchBegin starts zeroed: the runs read it at once).
        snapshots[0].reset(new DriveStepper(drive, &driveFlags));
        int n = 0, stretches = 1;
        double tPrev = 0;
        DriveStep d;
        while (drive.hasNext()) {
            if (n == kTraceSteps) {
                // Too long to keep: each run steps its drive again.
                finished.store(true, std::memory_order_release);
                return;
            }
            if (n > 0 && cutter.cutsBefore(drive.nextTime(), tPrev)) {
                stretchBegin[stretches] = n;
                snapshots[stretches].reset(new DriveStepper(drive, &driveFlags));
                stretchCount.store(++stretches, std::memory_order_release);
            }
            drive.next(d);
            tPrev = d.t;
            streamStore(&t[n], d.t);
            for (int k = 0; k < 3; ++k)
                streamStore(&emf[n][k], d.emf[k]);
            levels[n] = quint8(d.level[0] | d.level[1] << 2 | d.level[2] << 4 |
                               (d.inWindow ? kInWindow : 0));
            if (++n % 1024 == 0) {
                streamFence();
                produced.store(n, std::memory_order_release);
                if (stop.load(std::memory_order_relaxed)) {
                    finished.store(true, std::memory_order_release);
                    return;
                }
            }
        }
        streamFence();
        produced.store(n, std::memory_order_release);
        flags = driveFlags;
        complete = true;
        finished.store(true, std::memory_order_release);
        if (!out) return;
        // Then the drive's waveforms, beside the runs; their threads take stretches too while
        // they wait.
        driveRecorder.reset(new WaveformRecorder(out, setup.start, setup.end,
                                                 setup.in.motor.isDelta, kDriveSignals, n));
        driveRecorder->byStretches();
        driveReady.store(true, std::memory_order_release);
        while (recordDriveStretch()) {
        }
    }

    void waitUntilFinished() const
    {
        while (!finished.load(std::memory_order_acquire))
            pause();
    }

    // Records the drive's waveforms of the next stretch that no thread has taken, once the
    // drive is done; false if there is none.
    bool recordDriveStretch()
    {
        if (!driveReady.load(std::memory_order_acquire) || stop.load(std::memory_order_relaxed))
            return false;
        const int known = stretchCount.load(std::memory_order_acquire);
        int c = driveNext.load();
        for (;;) {
            if (c >= known) return false;
            if (driveNext.compare_exchange_weak(c, c + 1)) break;
        }
        const int first = stretchBegin[c];
        const int end =
            c + 1 < known ? stretchBegin[c + 1] : produced.load(std::memory_order_acquire);
        WaveformRecorder part(*driveRecorder, first);
        quint32 flags = 0;
        DriveStepper drive(*snapshots[c], &flags);
        DriveStep d;
        double v[sig::count] = {};
        for (int i = first; i < end && drive.next(d); ++i) {
            drive.signalsOf(d, v);
            part.step(v);
        }
        part.finish();
        driveRecorded.fetch_add(1, std::memory_order_release);
        return true;
    }

    // Records what is left of the drive's waveforms, waits for the stretches other threads
    // record, and closes them up (once); false if `ticker` stopped it first.
    bool recordDrive(Ticker *ticker)
    {
        waitUntilFinished();
        while (!driveReady.load(std::memory_order_acquire))
            pause();
        const double count = stretchCount.load();
        while (recordDriveStretch()) {
            if (!ticker->keepGoing(0.5 + 0.5 * driveNext.load() / count)) stop.store(true);
        }
        while (driveRecorded.load(std::memory_order_acquire) < stretchCount.load()) {
            if (stop.load()) return false;
            pause();
        }
        if (!driveClosed) driveRecorder->finish();
        driveClosed = true;
        return true;
    }

    // The switch nodes of a step, from its levels byte.
    static void unpack(int packed, int levels[3])
    {
        levels[0] = packed & 3;
        levels[1] = packed >> 2 & 3;
        levels[2] = packed >> 4 & 3;
    }

    static constexpr int kInWindow = 0x40; // in the levels byte: the step is in the window

    const RunSetup setup;
    Waveforms *const out;
    Waveforms::DriveTrace own;
    Waveforms::DriveTrace &steps;
    // Where the drive has got to: the steps before `produced` are written, and the stretches
    // before `stretchCount` have begun. Once `finished` (stored last) is set, `complete` and
    // `flags` are final. Each on a cache line of its own: the threads that write them do not
    // slow the readers of the rest.
    alignas(64) std::atomic<int> produced{0};
    alignas(64) std::atomic<int> stretchCount{1};
    alignas(64) std::atomic<bool> finished{false};
    // Set when a run is stopped through its progress: every thread leaves its work.
    alignas(64) std::atomic<bool> stop{false};
    bool complete = false;
    quint32 flags = 0;
    bool termsKept = false; // steps.Ldt and steps.Vwye are filled
    int stretchBegin[kMaxStretches] = {};
    std::unique_ptr<DriveStepper> snapshots[kMaxStretches];
    // The drive's waveforms by stretch: the next to be taken, how many are done.
    std::unique_ptr<WaveformRecorder> driveRecorder; // set before driveReady
    alignas(64) std::atomic<bool> driveReady{false};
    alignas(64) std::atomic<int> driveNext{0};
    alignas(64) std::atomic<int> driveRecorded{0};
    bool driveClosed = false;
    std::thread producer;
};

BridgeRuns::BridgeRuns(const BridgeInput &input, Waveforms *out) : in(input), out(out)
{
    trace.reset(new Trace(in, out));
    Trace &tr = *trace;
    Waveforms::DriveTrace &st = tr.steps;
    // Allocated once and kept: only the pages a run writes are taken from the system.
    if (!st.t) {
        st.t.reset(new double[kTraceSteps]);
        st.emf.reset(new std::array<double, 3>[kTraceSteps]);
        st.levels.reset(new quint8[kTraceSteps]);
        st.Ldt.reset(new double[kTraceSteps]);
        st.Vwye.reset(new double[kTraceSteps]);
    }
    if (out) out->clear();
    tr.producer = std::thread([&tr] { tr.produce(); });
}

BridgeRuns::~BridgeRuns() = default;

namespace {

// One run over a kept drive. The thread of the run steps the phase currents alone along the
// drive as far as it has got, noting them where each stretch begins; workers take the
// stretches, each from its noted currents, for the losses and, in a recording run, the
// waveforms of the currents; the stretches' sums are added in order.
class StretchRun
{
public:
    StretchRun(BridgeRuns::Trace &tr, double Rdson, WaveformRecorder *recorder, Ticker *ticker)
        : tr(tr), s(tr.setup), Rdson(Rdson), recorder(recorder), ticker(ticker)
    {
    }

    // False when the drive turned out too long to keep, or the run was stopped: nothing is
    // summed.
    bool run(BridgeStepper *bridge)
    {
        // While the drive is still being stepped, work beside it slows it down more than it
        // gains: the workers start once it is done.
        const bool following = !tr.finished.load(std::memory_order_acquire);
        if (following) followCurrents(*bridge);
        // Once the currents have been followed, every step's terms are kept.
        termsKept = tr.termsKept || following;
        Workers &pool = Workers::pool();
        const int workers = std::min(pool.size(), tr.stretchCount.load() - 1);
        Workers::Group group;
        for (int k = 0; k < workers; ++k)
            pool.start(&group, [this] { work(nullptr); });
        if (!following) followCurrents(*bridge);
        work(ticker);
        group.wait();
        if (abandoned.load() || tr.stop.load()) return false;
        tr.termsKept = true;
        const int n = tr.stretchCount.load(std::memory_order_acquire);
        for (int c = 0; c < n; ++c)
            bridge->addStretch(sums[c]);
        return true;
    }

private:
    // The phase currents of every step, noted where each stretch begins. The first run keeps
    // each step's terms for the runs after it.
    void followCurrents(const BridgeStepper &bridge)
    {
        if (tr.termsKept)
            followCurrents<true>(bridge);
        else
            followCurrents<false>(bridge);
    }

    template <bool kept> void followCurrents(const BridgeStepper &bridge)
    {
        const double *const t = tr.steps.t.get();
        double *const Ldt = tr.steps.Ldt.get();
        double *const Vwye = tr.steps.Vwye.get();
        const quint8 *const packedLevels = tr.steps.levels.get();
        const std::array<double, 3> *const emf = tr.steps.emf.get();
        double I[3] = {0, 0, 0};
        int i = 0, c = 0;
        for (;;) {
            const bool done = tr.finished.load(std::memory_order_acquire);
            if (done && !tr.complete) {
                abandoned.store(true);
                return;
            }
            // The first half of the run's progress, by the time of the step it has got to.
            if (i > 0 && !ticker->keepGoing(0.5 * t[i - 1] / s.end)) {
                tr.stop.store(true);
                return;
            }
            const int available = tr.produced.load(std::memory_order_acquire);
            const int known = tr.stretchCount.load(std::memory_order_acquire);
            int nextBegin = c < known ? tr.stretchBegin[c] : available;
            for (; i < available; ++i) {
                if (i == nextBegin) {
                    note(c++, I);
                    nextBegin = c < known ? tr.stretchBegin[c] : available;
                }
                int levels[3];
                BridgeRuns::Trace::unpack(packedLevels[i], levels);
                StepTerms st;
                if (kept) {
                    st = {Ldt[i], Vwye[i]};
                } else {
                    st = bridge.terms(i == 0 ? s.h : t[i] - t[i - 1], levels, emf[i].data());
                    streamStore(&Ldt[i], st.Ldt);
                    streamStore(&Vwye[i], st.Vwye);
                }
                bridge.advanceCurrents(st, levels, emf[i].data(), I);
            }
            if (done) {
                // A run without steps has one stretch, empty.
                while (c < known)
                    note(c++, I);
                streamFence();
                return;
            }
            // The drive takes some 30 ns a step, this loop a tenth of that: it catches up at once.
            pause(50);
        }
    }

    void note(int c, const double I[3])
    {
        std::copy(I, I + 3, begins[c]);
        noted.store(c + 1, std::memory_order_release);
    }

    // Takes stretches in turn until every one is taken. Waiting for the next, it records the
    // drive's waveforms of a stretch, and a recording run goes on until they are all recorded.
    // The run's own thread tells `ticker` of its progress; the others have none.
    void work(Ticker *progress)
    {
        for (;;) {
            if (tr.stop.load(std::memory_order_relaxed)) return;
            const int c = next.fetch_add(1);
            const int known = tr.stretchCount.load(std::memory_order_acquire);
            if (progress && !progress->keepGoing(0.5 + 0.5 * c / known)) {
                tr.stop.store(true);
                return;
            }
            if (c >= known) {
                if (recorder) {
                    while (tr.recordDriveStretch()) {
                    }
                }
                return;
            }
            while (c >= noted.load(std::memory_order_acquire)) {
                if (abandoned.load(std::memory_order_relaxed) ||
                    tr.stop.load(std::memory_order_relaxed))
                    return;
                if (!tr.recordDriveStretch()) pause();
            }
            take(c, tr.stretchBegin[c],
                 c + 1 < known ? tr.stretchBegin[c + 1]
                               : tr.produced.load(std::memory_order_acquire));
        }
    }

    void take(int c, int first, int end)
    {
        if (termsKept)
            take<true>(c, first, end);
        else
            take<false>(c, first, end);
    }

    template <bool kept> void take(int c, int first, int end)
    {
        const double *const t = tr.steps.t.get();
        const double *const Ldt = tr.steps.Ldt.get();
        const double *const Vwye = tr.steps.Vwye.get();
        const quint8 *const packedLevels = tr.steps.levels.get();
        const std::array<double, 3> *const emf = tr.steps.emf.get();
        BridgeStepper bridge(s, Rdson);
        if (first > 0) {
            int levels[3];
            BridgeRuns::Trace::unpack(packedLevels[first - 1], levels);
            bridge.resume(begins[c], levels);
        }
        double I[3], Vout[3], load;
        std::unique_ptr<WaveformRecorder> part;
        if (recorder) part.reset(new WaveformRecorder(*recorder, first));
        double v[sig::count] = {};
        for (int i = first; i < end; ++i) {
            const double dt = i == 0 ? s.h : t[i] - t[i - 1];
            const int packed = packedLevels[i];
            int levels[3];
            BridgeRuns::Trace::unpack(packed, levels);
            const StepTerms st =
                kept ? StepTerms{Ldt[i], Vwye[i]} : bridge.terms(dt, levels, emf[i].data());
            bridge.step(dt, st, i == 0, packed & BridgeRuns::Trace::kInWindow, levels,
                        emf[i].data(), I, Vout, &load);
            if (part) {
                v[sig::time] = t[i];
                BridgeStepper::signalsOf(I, Vout, load, v);
                part->step(v);
            }
        }
        if (part) part->finish();
        sums[c] = bridge.stretchSums();
    }

    BridgeRuns::Trace &tr;
    const RunSetup &s;
    const double Rdson;
    WaveformRecorder *const recorder;
    Ticker *const ticker;
    bool termsKept = false; // by the stretches
    // The currents of the step before each stretch, noted up to `noted`; what each stretch
    // found.
    double begins[kMaxStretches][3] = {};
    alignas(64) std::atomic<int> noted{0};
    alignas(64) std::atomic<int> next{0};
    alignas(64) std::atomic<bool> abandoned{false};
    BridgeSums sums[kMaxStretches];
};

} // namespace

BridgeResult BridgeRuns::run(double Rdson, bool record, const RunProgress &progress)
{
    Trace &tr = *trace;
    const RunSetup &s = tr.setup;
    Waveforms *const w = record ? out : nullptr;
    if (stopped) return BridgeResult();
    Ticker ticker(progress);
    const auto stop = [this, &tr] {
        stopped = true;
        tr.stop.store(true);
        return BridgeResult();
    };
    // A recording run must know how many steps there are before the first.
    if (w) tr.waitUntilFinished();

    if (!tr.finished.load(std::memory_order_acquire) || tr.complete) {
        BridgeStepper bridge(s, Rdson);
        std::unique_ptr<WaveformRecorder> recorder;
        if (w) {
            // The drive's waveforms are recorded beside the runs, into the same Waveforms.
            w->Rdson = Rdson;
            recorder.reset(new WaveformRecorder(w, s.start, s.end, in.motor.isDelta, kBridgeSignals,
                                                tr.produced.load(std::memory_order_acquire)));
            recorder->byStretches();
        }
        std::unique_ptr<StretchRun> stretches(new StretchRun(tr, Rdson, recorder.get(), &ticker));
        if (stretches->run(&bridge)) {
            if (w) {
                recorder->finish();
                if (!tr.recordDrive(&ticker)) return stop();
            }
            return bridge.finish(tr.flags);
        }
        if (tr.stop.load()) return stop();
    }

    // The drive was too long to keep: a run in one pass.
    if (!w) {
        const BridgeResult r =
            runBridge(in, Rdson, static_cast<WaveformRecorder *>(nullptr), &ticker);
        return ticker.stopped() ? stop() : r;
    }
    w->clear();
    w->Rdson = Rdson;
    WaveformRecorder all(w, s.start, s.end, in.motor.isDelta, kAllSignals);
    const BridgeResult r = runBridge(in, Rdson, &all, &ticker);
    if (ticker.stopped()) return stop();
    all.finish();
    return r;
}

} // namespace motor
