#pragma once

#include "motor/bridgesim.h"

#include <algorithm>
#include <limits>
#include <vector>

// The waveforms a run keeps of its steps.
namespace motor {
namespace detail {

// The signals a run's two halves produce: those that the switches' on-resistance changes
// (phase currents, output voltages, load power) and the rest.
constexpr quint64 kAllSignals = (quint64(1) << sig::count) - 1;
constexpr quint64 kBridgeSignals =
    quint64(1) << sig::I1 | quint64(1) << sig::I2 | quint64(1) << sig::I3 | quint64(1) << sig::V1 |
    quint64(1) << sig::V2 | quint64(1) << sig::V3 | quint64(1) << sig::loadPower;
constexpr quint64 kDriveSignals = kAllSignals & ~kBridgeSignals;

// Keeps some signals of a run's steps in a Waveforms: every step while there are few, else
// min/max pairs per slice of the display window (see kRawSteps). Recorders of different
// signals of the same steps fill one Waveforms alike: their slices match.
class WaveformRecorder final : public StepSink
{
public:
    // `steps`: how many steps the run takes, or -1 when that is known only at its end; until
    // then the steps wait in the scratch rows as long as they fit.
    WaveformRecorder(Waveforms *w, double start, double end, bool delta, quint64 signalSet,
                     int steps = -1)
        : w(w), rows(w->rows), start(start), width((end - start) / kBuckets),
          keepsTime(signalSet >> sig::time & 1)
    {
        keep(signalSet, delta);
        if (steps < 0) {
            rows.clear();
            // Reserved room costs nothing until it is written; growing would copy every row.
            rows.reserve(kRawSteps);
        }
        if (steps > kRawSteps) {
            startDecimating();
        } else if (steps >= 0) {
            // Every step, written in place.
            direct = true;
            sizeLists(steps);
        }
    }

    // Makes a recorder that knows its steps take them from stretch recorders instead.
    void byStretches()
    {
        if (decimating)
            sparse = true;
        else
            written = capacity; // the stretches fill every step
    }

    // A recorder of one stretch of the steps, beside others that record the rest on other
    // threads, writing where `whole` (byStretches) would: a run kept step by step in place, a
    // decimated one at its slices' places (the stretch must cover whole slices), which
    // whole.finish() closes up.
    WaveformRecorder(const WaveformRecorder &whole, int first)
        : w(whole.w), rows(whole.rows), start(whole.start), width(whole.width),
          keepsTime(whole.keepsTime), nKept(whole.nKept), wide(whole.wide),
          decimating(whole.decimating), direct(whole.direct), part(true), capacity(whole.capacity),
          written(first)
    {
        std::copy(whole.kept, whole.kept + sig::count, kept);
        std::copy(whole.out, whole.out + sig::count, out);
        outTime = whole.outTime;
        if (decimating) samplesInSlice = whole.slices.data();
    }

    void step(const double *v) override
    {
        if (direct) {
            if (written < capacity) {
                for (int j = 0; j < nKept; ++j)
                    out[j][written] = v[kept[j]];
                if (keepsTime) outTime[written] = v[sig::time];
            }
            ++written;
            return;
        }
        if (!decimating) {
            if (int(rows.size()) < kRawSteps) {
                rows.emplace_back();
                std::copy(v, v + sig::count, rows.back().begin());
                return;
            }
            startDecimating();
            for (const Row &row : rows)
                addToSlice(row.data());
            rows.clear();
        }
        addToSlice(v);
    }

    void finish()
    {
        if (part) {
            if (decimating) flushSlice();
            return;
        }
        // The recorder of the time says it; another one may record beside it.
        if (keepsTime) w->decimated = decimating;
        if (decimating) flushSlice();
        if (sparse) closeUp();
        if (decimating || direct) {
            if (written < capacity) sizeLists(written);
            return;
        }
        const int n = int(rows.size());
        sizeLists(n);
        for (int j = 0; j < nKept; ++j) {
            for (int i = 0; i < n; ++i)
                out[j][i] = rows[i][kept[j]];
        }
        for (int i = 0; keepsTime && i < n; ++i)
            outTime[i] = rows[i][sig::time];
    }

private:
    using Row = std::array<double, sig::count>;

    void keep(quint64 signalSet, bool delta)
    {
        for (int s = 0; s < sig::count; ++s) {
            const bool lineEmf = s == sig::VemfAB || s == sig::VemfBC || s == sig::VemfCA;
            if (s != sig::time && (signalSet >> s & 1) && (delta || !lineEmf)) kept[nKept++] = s;
        }
        wide = (nKept + kBlock - 1) / kBlock * kBlock;
    }

    // QVector::resize keeps the capacity: a list that held a run before fills in place.
    void sizeLists(int n)
    {
        for (int j = 0; j < nKept; ++j) {
            QVector<double> &list = *w->list(kept[j]);
            list.resize(n);
            out[j] = list.data();
        }
        if (keepsTime) {
            w->time.resize(n);
            outTime = w->time.data();
        }
        capacity = n;
    }

    void startDecimating()
    {
        decimating = true;
        slices.assign(kBuckets, 0);
        // At most two samples a slice: the lists never grow past this.
        sizeLists(2 * kBuckets);
        written = 0;
    }

    void addToSlice(const double *v)
    {
        const double t = v[sig::time];
        if (t < start) return;
        // Times only grow: below sliceEnd a step is surely in the current slice, and the
        // division that places it is taken only near the slice's end.
        if (!(t < sliceEnd)) {
            const double at = width > 0 ? (t - start) / width : 0;
            const int slice = at < kBuckets - 1 ? int(at) : kBuckets - 1;
            if (slice != current) {
                flushSlice();
                current = slice;
                sliceEnd = width > 0 && slice < kBuckets - 1
                               ? start + (slice + 1 - 1e-6) * width
                               : std::numeric_limits<double>::infinity();
            }
        }
        if (count == 0) firstTime = t;
        lastTime = t;
        if (buffered == kSliceRows) {
            reduce();
            buffered = 2;
        }
        double *row = &slice_[buffered * wide];
        for (int j = 0; j < nKept; ++j)
            row[j] = v[kept[j]];
        ++buffered;
        ++count;
    }

    // Replaces the buffered steps by two rows that hold, signal by signal, its lowest and its
    // highest value in the order they first occurred. Further steps and a further reduction
    // find the same extremes, in the same order, as they would in the steps themselves.
    void reduce()
    {
        double lo[kMaxWide], hi[kMaxWide];
        std::copy(&slice_[0], &slice_[wide], lo);
        std::copy(&slice_[0], &slice_[wide], hi);
        for (int i = 1; i < buffered; ++i) {
            const double *r = &slice_[i * wide];
            // Blocks of a fixed width, taken a few signals at a time.
            for (int b = 0; b < wide; b += kBlock) {
                for (int q = 0; q < kBlock; ++q) {
                    const double x = r[b + q];
                    lo[b + q] = x < lo[b + q] ? x : lo[b + q];
                    hi[b + q] = x > hi[b + q] ? x : hi[b + q];
                }
            }
        }
        double *a = &slice_[0], *z = &slice_[wide];
        for (int j = 0; j < nKept; ++j) {
            bool highFirst = false;
            for (int i = 0; i < buffered; ++i) {
                const double x = slice_[i * wide + j];
                if (x == lo[j]) break;
                if (x == hi[j]) {
                    highFirst = true;
                    break;
                }
            }
            a[j] = highFirst ? hi[j] : lo[j];
            z[j] = highFirst ? lo[j] : hi[j];
        }
    }

    void flushSlice()
    {
        // Both extremes of every signal, in the order they occurred, at the slice's first and
        // last time; a slice of one or two steps as it is.
        if (count > 2) reduce();
        const int n = std::min(count, 2);
        if (part && n > 0) {
            // At the slice's own two places.
            written = 2 * current;
            samplesInSlice[current] = quint8(n);
        }
        for (int i = 0; i < n; ++i)
            storeSample(&slice_[i * wide], i == 0 ? firstTime : lastTime);
        count = 0;
        buffered = 0;
    }

    // Moves the samples that stretches left at their slices' places down into one run.
    void closeUp()
    {
        written = 0;
        for (int slice = 0; slice < kBuckets; ++slice) {
            for (int i = 0; i < slices[slice]; ++i) {
                const int from = 2 * slice + i;
                if (from != written) {
                    for (int j = 0; j < nKept; ++j)
                        out[j][written] = out[j][from];
                    if (keepsTime) outTime[written] = outTime[from];
                }
                ++written;
            }
        }
    }

    // One stored sample: the kept signals and the time.
    void storeSample(const double *row, double time)
    {
        if (written >= capacity) return;
        for (int j = 0; j < nKept; ++j)
            out[j][written] = row[j];
        if (keepsTime) outTime[written] = time;
        ++written;
    }

    // Steps of the current slice held before they are reduced, in rows of whole blocks.
    static constexpr int kSliceRows = 256;
    static constexpr int kBlock = 8;
    static constexpr int kMaxWide = (sig::count + kBlock - 1) / kBlock * kBlock;

    Waveforms *w;
    std::vector<Row> &rows;
    const double start, width;
    const bool keepsTime;
    int kept[sig::count] = {}; // the recorded signals but the time
    int nKept = 0, wide = 0;
    bool decimating = false, direct = false;
    const bool part = false;
    bool sparse = false;                // stretches wrote at their slices' places
    mutable std::vector<quint8> slices; // samples by slice, as the stretches left them
    quint8 *samplesInSlice = nullptr;   // a stretch's: the whole's slices
    double *out[sig::count] = {};
    double *outTime = nullptr;
    int capacity = 0, written = 0;
    int current = -1, count = 0, buffered = 0;
    double sliceEnd = -std::numeric_limits<double>::infinity();
    double firstTime = 0, lastTime = 0;
    std::vector<double> slice_ = std::vector<double>(kSliceRows * kMaxWide);
};

} // namespace detail
} // namespace motor
