// The runs of one input at several on-resistances: the drive stepped once and kept, the
// currents of each run summed stretch by stretch on a pool of threads.
#include "motor/bridgesim.h"

#include "motor/bridgestepper.h"
#include "motor/runpool.h"
#include "motor/steprecorder.h"
#include "motor/stretchboard.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

// Not in the sanitizer builds: neither sanitizer sees a store that goes past the caches, so a
// step written out of bounds, or read by another thread before its hand-over, would go unseen.
#if defined(__x86_64__) && !defined(AMPWRIGHT_SANITIZE) // no _mm_stream_si64 on 32-bit x86
#define STREAM_STORES
#include <emmintrin.h>
#endif

namespace motor {

using namespace detail;

namespace {

// Stores that go past the caches, for the drive's steps: the runs read them on other cores,
// whose copies of the lines of the last refresh would otherwise hold the producer up (the
// drive row of bench_motor takes about a quarter longer with plain stores). The fence orders
// them before the board is told of them.
inline void streamStore(double *to, double x)
{
#ifdef STREAM_STORES
    long long bits;
    std::memcpy(&bits, &x, sizeof bits);
    _mm_stream_si64(reinterpret_cast<long long *>(to), bits);
#else
    *to = x;
#endif
}

inline void streamFence()
{
#ifdef STREAM_STORES
    _mm_sfence();
#endif
}

// The most stretches a kept drive is cut into: each but the last has kStretchSteps steps or
// more.
constexpr int kMaxStretches = kTraceSteps / kStretchSteps + 2;

} // namespace

// The drive of the runs, stepped by a job on the pool while the first run already steps its
// currents from what is there. It notes where each stretch begins, with a copy of its drive
// there: with `out`, the drive's waveforms are recorded stretch by stretch from those copies,
// by the drive's job once the drive is done, by the runs' workers while they wait for a
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
        board.endRecording();
        driveJob.wait();
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
        snapshots[0].reset(new DriveStepper(drive, &driveFlags));
        int n = 0, stretches = 1;
        double tPrev = 0;
        DriveStep d;
        while (drive.hasNext()) {
            if (n == kTraceSteps) {
                // Too long to keep: each run steps its drive again.
                board.finishDrive(n, stretches, false);
                return;
            }
            if (n > 0 && cutter.cutsBefore(drive.nextTime(), tPrev)) {
                stretchBegin[stretches] = n;
                snapshots[stretches++].reset(new DriveStepper(drive, &driveFlags));
            }
            drive.next(d);
            tPrev = d.t;
            streamStore(&t[n], d.t);
            for (int k = 0; k < 3; ++k)
                streamStore(&emf[n][k], d.emf[k]);
            levels[n] = quint8(d.level[0] | d.level[1] << 2 | d.level[2] << 4 |
                               (d.inWindow ? kInWindow : 0));
            if (++n % kPublishSteps == 0) {
                streamFence();
                if (!board.publish(n, stretches)) {
                    board.finishDrive(n, stretches, false);
                    return;
                }
            }
        }
        streamFence();
        flags = driveFlags;
        board.finishDrive(n, stretches, true);
        if (!out) return;
        // Then the drive's waveforms, beside the runs; their threads take stretches too while
        // they wait.
        driveRecorder.reset(new WaveformRecorder(out, setup.start, setup.end,
                                                 setup.in.motor.isDelta, kDriveSignals, n));
        driveRecorder->byStretches();
        board.recordingReady();
        for (int c; (c = board.claimDriveStretch()) >= 0;)
            recordDriveStretch(c);
    }

    // Records the drive's waveforms of stretch c, claimed from the board.
    void recordDriveStretch(int c)
    {
        StretchBoard::Steps all;
        board.driveComplete(&all);
        const int first = stretchBegin[c];
        const int end = c + 1 < all.begun ? stretchBegin[c + 1] : all.stepped;
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
        board.driveStretchRecorded();
    }

    // Records what is left of the drive's waveforms, waits for the stretches other threads
    // record, and closes them up (once); false if `ticker` stopped it first.
    bool recordDrive(Ticker *ticker)
    {
        for (int c; (c = board.claimDriveStretch()) >= 0;) {
            recordDriveStretch(c);
            if (!ticker->keepGoing(0.5 + 0.5 * board.driveClaimed())) board.stop();
        }
        if (!board.waitUntilRecorded()) return false;
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
    // The drive's job writes the steps, the stretches' beginnings and the snapshots, and
    // `flags` before the drive is done; the board tells the other threads how far they may
    // read (see there).
    StretchBoard board;
    quint32 flags = 0;
    int stretchBegin[kMaxStretches] = {}; // stretch 0 begins at step 0
    std::unique_ptr<DriveStepper> snapshots[kMaxStretches];
    std::unique_ptr<WaveformRecorder> driveRecorder; // set before the board's recordingReady()
    // By the runs' own thread alone.
    bool termsKept = false; // steps.Ldt and steps.Vwye are filled
    bool driveClosed = false;
    Workers::Group driveJob;
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
    Workers::pool().start(&tr.driveJob, [&tr] { tr.produce(); });
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
        : tr(tr), board(tr.board), s(tr.setup), Rdson(Rdson), recorder(recorder), ticker(ticker)
    {
        board.startRun();
    }

    // False when the drive turned out too long to keep, or the run was stopped: nothing is
    // summed.
    bool run(BridgeStepper *bridge)
    {
        // While the drive is still being stepped, work beside it slows it down more than it
        // gains: the workers start once it is done.
        const bool following = !board.driveDone();
        if (following && !followCurrents(*bridge)) return false;
        // The drive is done here (followed to its end, or found done), but the workers may go
        // only over a drive kept whole: one cut short, too long to keep (which it may have
        // turned out since the caller looked) or stopped, holds only its first steps, and the
        // run then goes in a single pass.
        StretchBoard::Steps all;
        if (!board.driveComplete(&all)) return false;
        // Once the currents have been followed, every step's terms are kept.
        termsKept = tr.termsKept || following;
        stretches = all.begun;
        stepped = all.stepped;
        Workers &pool = Workers::pool();
        const int workers = std::min(pool.size(), stretches - 1);
        Workers::Group group;
        for (int k = 0; k < workers; ++k)
            pool.start(&group, [this] { work(nullptr); });
        if (!following) followCurrents(*bridge);
        work(ticker);
        group.wait();
        if (board.isStopped()) return false;
        tr.termsKept = true;
        for (int c = 0; c < stretches; ++c)
            bridge->addStretch(sums[c]);
        return true;
    }

private:
    // The phase currents of every step, noted where each stretch begins; false when the drive
    // turned out too long to keep, or the run was stopped. The first run keeps each step's
    // terms for the runs after it.
    bool followCurrents(const BridgeStepper &bridge)
    {
        return tr.termsKept ? followCurrents<true>(bridge) : followCurrents<false>(bridge);
    }

    template <bool kept> bool followCurrents(const BridgeStepper &bridge)
    {
        const double *const t = tr.steps.t.get();
        double *const Ldt = tr.steps.Ldt.get();
        double *const Vwye = tr.steps.Vwye.get();
        const quint8 *const packedLevels = tr.steps.levels.get();
        const std::array<double, 3> *const emf = tr.steps.emf.get();
        double I[3] = {0, 0, 0};
        int i = 0, c = 0;
        StretchBoard::Steps seen;
        // The drive takes some 30 ns a step, this loop a tenth of that: it waits for a
        // stretch's worth of new steps at a time, and so wakes seldom.
        while (board.waitForSteps(i + kStretchSteps, &seen)) {
            if (seen.done && !board.driveComplete(&seen)) return false;
            // The first half of the run's progress, by the time of the step it has got to.
            if (i > 0 && !ticker->keepGoing(0.5 * t[i - 1] / s.end)) {
                board.stop();
                return false;
            }
            int nextBegin = c < seen.begun ? tr.stretchBegin[c] : seen.stepped;
            for (; i < seen.stepped; ++i) {
                if (i == nextBegin) {
                    note(c++, I);
                    nextBegin = c < seen.begun ? tr.stretchBegin[c] : seen.stepped;
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
            if (seen.done) {
                // A run without steps has one stretch, empty.
                while (c < seen.begun)
                    note(c++, I);
                streamFence();
                return true;
            }
        }
        return false;
    }

    void note(int c, const double I[3])
    {
        std::copy(I, I + 3, begins[c]);
        board.note(c + 1);
    }

    // Takes stretches in turn until every one is taken. Waiting for the next, it records the
    // drive's waveforms of a stretch, and a recording run goes on until they are all recorded.
    // The run's own thread tells `ticker` of its progress; the others have none.
    void work(Ticker *progress)
    {
        double done = 0;
        for (;;) {
            if (progress && !progress->keepGoing(0.5 + 0.5 * done)) {
                board.stop();
                return;
            }
            const StretchBoard::Claim next = board.claim(recorder);
            const int c = next.stretch;
            switch (next.kind) {
            case StretchBoard::Claim::None:
                return;
            case StretchBoard::Claim::RunStretch:
                take(c, tr.stretchBegin[c], c + 1 < stretches ? tr.stretchBegin[c + 1] : stepped);
                done = double(c + 1) / stretches;
                break;
            case StretchBoard::Claim::DriveStretch:
                tr.recordDriveStretch(c);
                break;
            }
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
    StretchBoard &board;
    const RunSetup &s;
    const double Rdson;
    WaveformRecorder *const recorder;
    Ticker *const ticker;
    // Set by the run's thread before it starts the workers.
    bool termsKept = false; // by the stretches
    int stretches = 0, stepped = 0; // the drive's, once it is done
    // The currents of the step before each stretch, written before the board counts them
    // noted; what each stretch found, read after the workers' wait.
    double begins[kMaxStretches][3] = {};
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
        tr.board.stop();
        return BridgeResult();
    };
    // A recording run must know how many steps there are before the first.
    if (w) tr.board.waitUntilDriveDone();

    StretchBoard::Steps drive;
    if (!tr.board.driveDone() || tr.board.driveComplete(&drive)) {
        BridgeStepper bridge(s, Rdson);
        std::unique_ptr<WaveformRecorder> recorder;
        if (w) {
            // The drive's waveforms are recorded beside the runs, into the same Waveforms.
            w->Rdson = Rdson;
            recorder.reset(new WaveformRecorder(w, s.start, s.end, in.motor.isDelta, kBridgeSignals,
                                                drive.stepped));
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
        if (tr.board.isStopped()) return stop();
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
