#include "motor/bridgesim.h"

#include "values/engvalues.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

#ifdef __linux__
#include <sched.h>
#endif
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace motor {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Sector states of the two block commutations and the trapezoidal back-EMF shape, by sector
// of 60 electrical degrees; r runs from −1 to 1 across the sector.
constexpr double kTrapezoidal[6][3] = {{0.5, 0, 1}, {1, 0, 0.5}, {1, 0.5, 0},
                                       {0.5, 1, 0}, {0, 1, 0.5}, {0, 0.5, 1}};
constexpr double kSixStep[6][3] = {{0, 0, 1}, {1, 0, 1}, {1, 0, 0},
                                   {1, 1, 0}, {0, 1, 0}, {0, 1, 1}};

void trapezoidalEmf(int sector, double r, double E, double emf[3])
{
    const double rE = r * E;
    const double rows[6][3] = {{rE, -E, E},  {E, -E, -rE}, {E, rE, -E},
                               {-rE, E, -E}, {-E, E, rE},  {-E, -rE, E}};
    for (int k = 0; k < 3; ++k)
        emf[k] = rows[sector][k];
}

// The envelope as the bridge can use it; NaN (an unusable profile) counts as no drive.
double clampUnit(double x)
{
    return x > 1 ? 1 : (x > 0 ? x : 0);
}

void setFlag(quint32 *flags, quint32 bit)
{
    if (flags) *flags |= bit;
}

} // namespace

const QStringList &Waveforms::names()
{
    static const QStringList list{
        "time",   "carrier", "freq", "DCenv", "Angle", "DCA",   "DCB",      "DCC",
        "VA",     "VB",      "VC",   "Vwye",  "VemfA", "VemfB", "VemfC",    "VemfAB",
        "VemfBC", "VemfCA",  "I1",   "I2",    "I3",    "V1",    "V2",       "V3",
        "At",     "Ab",      "Bt",   "Bb",    "Ct",    "Cb",    "loadPower"};
    return list;
}

QVector<double> *Waveforms::list(int signal)
{
    QVector<double> *lists[sig::count] = {
        &time, &carrier, &freq,  &DCenv, &Angle,  &DCA,    &DCB,    &DCC, &VA,       &VB, &VC,
        &Vwye, &VemfA,   &VemfB, &VemfC, &VemfAB, &VemfBC, &VemfCA, &I1,  &I2,       &I3, &V1,
        &V2,   &V3,      &At,    &Ab,    &Bt,     &Bb,     &Ct,     &Cb,  &loadPower};
    return signal >= 0 && signal < sig::count ? lists[signal] : nullptr;
}

const QVector<double> *Waveforms::list(int signal) const
{
    return const_cast<Waveforms *>(this)->list(signal);
}

QVector<double> *Waveforms::byName(const QString &name)
{
    return list(names().indexOf(name));
}

const QVector<double> *Waveforms::byName(const QString &name) const
{
    return list(names().indexOf(name));
}

void Waveforms::clear()
{
    for (int s = 0; s < sig::count; ++s)
        list(s)->clear();
    decimated = false;
}

MotorConstants motorConstants(const MotorModel &m)
{
    MotorConstants c;
    c.R = eng::parseValue(m.R);
    c.L = eng::parseValue(m.L);
    c.Vemf = eng::parseValue(m.Vemf);
    // The dialog keeps 1 to 20 poles; a design file may hold 0, which would divide by zero.
    c.n = std::max(1, m.nPoles);
    c.cycleLength = eng::parseValue(m.cycleLength);
    if (m.isLinear) {
        c.Vemf = c.Vemf * c.cycleLength / 60;
        c.n = 1;
    }
    if (m.isDelta) {
        c.R /= 3;
        c.L /= 3;
        c.Vemf /= 1.732;
    }
    return c;
}

double dcFromIandRPM(double Ipk, double RPM, double Vs, double R, double L, int n, double Vemf,
                     int commutation)
{
    const double X = 2 * kPi * RPM * n * L / 60;
    const double Z = std::sqrt(R * R + X * X);
    const double E = RPM * Vemf;
    if (Vs == 0) return -1;
    switch (commutation) {
    case Sinusoidal:
        return 2 * (Z * Ipk + E) / Vs;
    case Trapezoidal:
        return 2 * (R * Ipk + E) / Vs;
    case SixStep:
        return (1.5 * Ipk * R + E) / Vs;
    default:
        return 0;
    }
}

double rpmFromIandDC(double Ipk, double DCenv, double Vs, double R, double L, int n, double Vemf,
                     int commutation, quint32 *flags)
{
    switch (commutation) {
    case Sinusoidal: {
        const double k = 2 * Ipk * kPi * L * n / 60;
        const double a = k * k - Vemf * Vemf;
        const double b = Vemf * DCenv * Vs;
        const double c = Ipk * Ipk * R * R - (Vs * DCenv) * (Vs * DCenv) / 4;
        if (a == 0) {
            // The reactance rises exactly as fast as the back-EMF: the equation is linear.
            if (b == 0) {
                setFlag(flags, flag::NoRpmSolution);
                return 0;
            }
            return -c / b;
        }
        const double D = b * b - 4 * a * c;
        if (D < 0) {
            setFlag(flags, flag::NoRpmSolution);
            return 0;
        }
        return (std::sqrt(D) - b) / (2 * a);
    }
    case Trapezoidal:
    case SixStep:
        if (Vemf == 0) {
            setFlag(flags, flag::ZeroBackEmf);
            return 0;
        }
    {
        const double rpm = commutation == Trapezoidal ? (Vs * DCenv - 2 * Ipk * R) / (2 * Vemf)
                                                      : (Vs * DCenv - 1.5 * Ipk * R) / Vemf;
        // The drive cannot even hold the current at standstill.
        if (!(rpm >= 0)) {
            setFlag(flags, flag::NoRpmSolution);
            return 0;
        }
        return rpm;
    }
    default:
        return 0;
    }
}

double linterp(const QVector<double> &searchVector, const QVector<double> &returnVector,
               double searchNum, int *startIndex, quint32 *flags)
{
    const int size = std::min(searchVector.size(), returnVector.size());
    if (size == 0) {
        setFlag(flags, flag::BadTimescale);
        return 0;
    }
    int i = std::min(std::max(*startIndex, 0), size - 1);
    if (searchVector[i] > searchNum) {
        setFlag(flags, flag::BadTimescale);
        return 0;
    }
    while (searchNum > searchVector[i]) {
        if (++i >= size) {
            i = size - 1;
            break;
        }
    }
    if (i == 0) return returnVector[0];
    const double x0 = searchVector[i - 1], x1 = searchVector[i];
    *startIndex = i - 1;
    if (x1 == x0) // two profile points at one time: the later one holds
        return returnVector[i];
    return returnVector[i - 1] +
           (searchNum - x0) * (returnVector[i] - returnVector[i - 1]) / (x1 - x0);
}

ControlProfile generateControlVector(const BridgeInput &in, double endTime, quint32 *flags)
{
    ControlProfile p;
    const MotorModel &m = in.motor;
    const MotorConstants c = motorConstants(m);
    const double Vs = in.Vs;
    const double L = c.L, Vemf = c.Vemf;
    const int n = c.n;
    // The solvers see the whole loop resistance: winding plus the mean switch at 25 °C.
    const double R = c.R + (in.part.topResistance(25) + in.part.bottomResistance(25) +
                            in.part.getTop_wire() + in.part.getBot_wire()) /
                               2;

    const bool constant = m.controlType == 0;
    const int points = constant ? 2 : std::min(m.timeVector.size(), m.amplitudeVector.size());
    const double K = eng::parseValue(m.constantAmplitude);
    for (int i = 0; i < points; ++i) {
        const double time = constant ? i * endTime : eng::parseValue(m.timeVector[i]);
        const double a = eng::parseValue(constant ? m.controlAmplitude : m.amplitudeVector[i]);
        double f = 0, D = 0;
        const int cv = m.controlVariable, kv = m.constantVariable;
        if (cv == 0 && kv == 0) {
            f = n * K / 60;
            D = dcFromIandRPM(a, K, Vs, R, L, n, Vemf, in.commutation);
        } else if (cv == 0 && kv == 2) {
            f = n * rpmFromIandDC(a, K / 100, Vs, R, L, n, Vemf, in.commutation, flags) / 60;
            D = K / 100;
        } else if (cv == 1 && kv == 1) {
            f = n * a / 60;
            D = std::fabs(a) * K / Vs;
        } else if (cv == 1 && kv == 2) {
            f = n * a / 60;
            D = K / 100;
        } else if (cv == 2 && kv == 0) {
            f = n * K / 60;
            D = a / 100;
        } else if (cv == 2 && kv == 1) {
            D = a / 100;
            f = n * D * Vs / (K * 60);
        }
        // A V/f ratio of 0 or a supply of 0 gives no finite speed or envelope; the run must
        // still be able to interpolate, so the point stands still.
        if (!std::isfinite(f)) {
            setFlag(flags, flag::NoRpmSolution);
            f = 0;
        }
        if (std::isnan(D))
            D = 0;
        else if (std::isinf(D))
            D = D > 0 ? 1e9 : -1e9;
        p.timebase.append(time);
        p.fCycle.append(f);
        p.DutyCycleEnv.append(D);
        // The step is 1/100 of a switching period; a cycle needs some twenty of those periods
        // to be resolved, in whichever direction the motor turns.
        if (in.FswHz < 20 * std::fabs(f)) setFlag(flags, flag::SlowSwitching);
        if (D > in.part.getMaxDutyCycle()) setFlag(flags, flag::DutyHigh);
    }
    return p;
}

namespace {

// sin and cos of a small angle by their series, to double precision for |d| <= 0.25; larger
// angles (a slow carrier or a long jump) go to the library.
inline void smallSinCos(double d, double *s, double *c)
{
    if (std::fabs(d) > 0.25) {
        *s = std::sin(d);
        *c = std::cos(d);
        return;
    }
    // Reciprocals of the factorial ratios: a division per term would cost more than the rest.
    const double d2 = d * d;
    if (std::fabs(d) < 1.0 / 512) {
        // The fine steps: the terms from d^7 and d^6 on are below 1e-19 of the result.
        *s = d * (1 - d2 * (1.0 / 6) * (1 - d2 * (1.0 / 20)));
        *c = 1 - d2 * (1.0 / 2) * (1 - d2 * (1.0 / 12));
        return;
    }
    *s = d * (1 - d2 * (1.0 / 6) *
                      (1 - d2 * (1.0 / 20) *
                               (1 - d2 * (1.0 / 42) * (1 - d2 * (1.0 / 72) * (1 - d2 * (1.0 / 110))))));
    *c = 1 - d2 * (1.0 / 2) *
                 (1 - d2 * (1.0 / 12) *
                          (1 - d2 * (1.0 / 30) *
                                   (1 - d2 * (1.0 / 56) * (1 - d2 * (1.0 / 90) * (1 - d2 * (1.0 / 132))))));
}

// An angle whose sine and cosine follow it by rotation; every 512 advances they are taken
// afresh from the library, so rounding cannot build up over millions of steps.
class Rotor
{
public:
    void set(double angle)
    {
        a = angle;
        s = std::sin(angle);
        c = std::cos(angle);
        sinceExact = 0;
    }
    void advance(double d, double sd, double cd)
    {
        a += d;
        if (++sinceExact == 512) {
            set(a);
            return;
        }
        const double s1 = s * cd + c * sd;
        c = c * cd - s * sd;
        s = s1;
    }
    // sin(a), sin(a + 2π/3), sin(a + 4π/3)
    void threePhase(double out[3]) const
    {
        constexpr double kHalfRoot3 = 0.86602540378443864676;
        out[0] = s;
        out[1] = -0.5 * s + kHalfRoot3 * c;
        out[2] = -0.5 * s - kHalfRoot3 * c;
    }
    double angle() const { return a; }

private:
    double a = 0, s = 0, c = 1;
    int sinceExact = 0;
};

// The signals a run's two halves produce: those that the switches' on-resistance changes
// (phase currents, output voltages, load power) and the rest.
constexpr quint64 kAllSignals = (quint64(1) << sig::count) - 1;
constexpr quint64 kBridgeSignals = quint64(1) << sig::I1 | quint64(1) << sig::I2 |
                                   quint64(1) << sig::I3 | quint64(1) << sig::V1 |
                                   quint64(1) << sig::V2 | quint64(1) << sig::V3 |
                                   quint64(1) << sig::loadPower;
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

// The profile's envelope and frequency at the run's time, which only grows: while it stays
// inside the segment of the last lookup the values come from that segment's slopes (what
// linterp finds there, to the rounding); anything else goes to linterp.
class ProfileCursor
{
public:
    explicit ProfileCursor(const ControlProfile &p)
        : p(p), size(std::min(p.timebase.size(), std::min(p.fCycle.size(), p.DutyCycleEnv.size())))
    {
    }

    void at(double t, double *DCenv, double *f, quint32 *flags)
    {
        if (!(t > x0 && t <= x1)) {
            *DCenv = linterp(p.timebase, p.DutyCycleEnv, t, &index, flags);
            *f = linterp(p.timebase, p.fCycle, t, &index, flags);
            cache(t);
            return;
        }
        const double dt = t - x0;
        *DCenv = d0 + dt * slopeD;
        *f = f0 + dt * slopeF;
    }

private:
    // The segment linterp used for t, when it is an ordinary one: its lower end is at or after
    // the resumed index, and t lies strictly inside (lower, upper]; the last one extends.
    void cache(double t)
    {
        x0 = 1, x1 = 0; // empty
        const int i = index + 1;
        if (i <= 0 || i >= size) return;
        const double *tb = p.timebase.constData();
        if (!(tb[i] > tb[i - 1]) || !(t > tb[i - 1]) || !(t <= tb[i] || i == size - 1)) return;
        x0 = tb[i - 1];
        x1 = i == size - 1 ? std::numeric_limits<double>::infinity() : tb[i];
        dx = tb[i] - tb[i - 1];
        d0 = p.DutyCycleEnv[i - 1];
        slopeD = (p.DutyCycleEnv[i] - d0) / dx;
        f0 = p.fCycle[i - 1];
        slopeF = (p.fCycle[i] - f0) / dx;
    }

    const ControlProfile &p;
    const int size;
    int index = 0;
    double x0 = 1, x1 = 0, dx = 1, d0 = 0, slopeD = 0, f0 = 0, slopeF = 0;
};

// The carrier triangle, 1 at whole periods and −1 half way: t·Fsw less its nearest integer, by
// adding and taking away 1.5·2^52 (rounds to nearest in double arithmetic), which is what
// remainder(t, 1/Fsw)·Fsw gives without a library call per step.
inline double carrierAt(double t, double Fsw)
{
    constexpr double kRound = 6755399441055744.0; // 1.5 * 2^52
    const double x = t * Fsw;
    if (!(std::fabs(x) < 1e15)) return 1 - 2 * std::fabs(std::remainder(t, 1 / Fsw) * Fsw);
    return 1 - 2 * std::fabs(x - ((x + kRound) - kRound));
}

// What both halves of a run read: the input as the run uses it.
struct RunSetup
{
    explicit RunSetup(const BridgeInput &in) : in(in), part(in.part), mc(motorConstants(in.motor))
    {
        Vs = in.Vs;
        Fsw = in.FswHz;
        if (Vs > part.getVs_max()) flags |= flag::VsHigh;
        if (in.Vcc > part.getVcc_max()) flags |= flag::VccHigh;
        if (Fsw > 1000 * part.getFsw_max()) flags |= flag::FswHigh;
        if (Vs < part.getVs_min()) flags |= flag::VsLow;
        if (in.Vcc < part.getVcc_min()) flags |= flag::VccLow;
        Vhi = Vs - Vs / 100;
        Vlo = Vs / 100;
        level[0] = 0 * Vs;
        level[1] = Vs / 2;
        level[2] = 1 * Vs;
        block = in.commutation == Trapezoidal || in.commutation == SixStep;
        table = in.commutation == Trapezoidal ? kTrapezoidal : kSixStep;
        angleScale = in.motor.isLinear ? mc.cycleLength / (2 * kPi) : 1;

        start = std::max(in.start, 0.0);
        end = std::max(in.end, 0.0);
        if (start > end) {
            flags |= flag::BadTimescale;
            end = start;
        }
        span = end - start;
        prof = generateControlVector(in, end, &flags);

        // Without a positive switching frequency there is no carrier to step along.
        h = 1.0 / (100.0 * Fsw);
        canStep = Fsw > 0 && end > 0;
        if (canStep && !(end * Fsw <= kMaxPeriods)) {
            flags |= flag::WindowTooLong;
            canStep = false;
        }
        period = 1 / Fsw;
        invSpan = span > 0 ? 1 / span : 0;
        emfPerHz = mc.Vemf * 60 / mc.n;
    }

    const BridgeInput &in;
    const pwm &part;
    const MotorConstants mc;
    quint32 flags = 0; // of the supplies and the profile
    double Vs = 0, Fsw = 0, Vhi = 0, Vlo = 0;
    double level[3] = {}; // a switch node at level 0, 1, 2: 0, Vs/2, Vs
    bool block = false, canStep = false;
    const double (*table)[3] = kSixStep;
    double angleScale = 1;
    double start = 0, end = 0, span = 0, invSpan = 0, h = 0, period = 0;
    double emfPerHz = 0; // back-EMF amplitude per hertz of electrical frequency, V
    ControlProfile prof;
};

// One step of the half of a run that the switches' on-resistance does not change: its time,
// the drive, the switch nodes and the back-EMFs.
struct DriveStep
{
    double t = 0, dt = 0;
    bool first = true, inWindow = false;
    double carrier = 0, f = 0, DCenv = 0, angle = 0; // angle in radians
    double DC[3] = {}, emf[3] = {};
    int level[3] = {}; // the switch nodes, as RunSetup::level indices
};

inline double wyeVoltage(const double V[3], const double emf[3])
{
    return (V[0] + V[1] + V[2] - emf[0] - emf[1] - emf[2]) / 3;
}

// Steps the drive from t = 0 to the end of the window: fine steps around the switching edges,
// a jump to just before the next expected one.
class DriveStepper
{
public:
    DriveStepper(const RunSetup &s, quint32 *flags) : s(s), flags(flags), profile(s.prof) {}
    // Goes on from where `from` has got to, noting its flags in *flags.
    DriveStepper(const DriveStepper &from, quint32 *flags) : DriveStepper(from)
    {
        this->flags = flags;
    }

    // Whether there is a next step, and its time.
    bool hasNext() const { return !done && s.canStep && t < s.end; }
    double nextTime() const { return t; }

    // The next step; false once the window is done.
    Q_ALWAYS_INLINE bool next(DriveStep &o)
    {
        if (!hasNext()) return false;
        // The first sample stands for one base step: the run starts from rest, and a longer
        // first interval would weigh that one sample heavily in every window average.
        const double dt = first ? s.h : t - tPrev;
        if (!inWindow && t >= s.start) inWindow = true;
        o.t = t;
        o.dt = dt;
        o.first = first;
        o.inWindow = inWindow;

        double DCenv, f;
        profile.at(t, &DCenv, &f, flags);
        DCenv = clampUnit(DCenv);
        const double carrier = carrierAt(t, s.Fsw);
        o.carrier = carrier;
        o.f = f;
        o.DCenv = DCenv;

        const double E = std::fabs(f) * s.emfPerHz;
        const double d = 2 * kPi * f * dt;
        if (first) {
            drive.set(d);
            rotor.set(0);
        } else {
            // At a steady speed the advance repeats from one base step to the next.
            if (d != lastD) {
                lastD = d;
                smallSinCos(d, &sd, &cd);
            }
            drive.advance(d, sd, cd);
            rotor.advance(d, sd, cd);
        }
        const double angle = rotor.angle();
        o.angle = angle;
        int sector = 0;
        if (s.block) {
            // Wrapped into [0, 2π): a motor turning backwards has negative angles, and their
            // sectors count down from 5.
            double turn = std::fmod(angle, 2 * kPi);
            if (turn < 0) turn += 2 * kPi;
            if (turn >= 2 * kPi) turn = 0;
            sector = std::min(5, static_cast<int>(turn / (kPi / 3)));
            // The position within the sector comes from the same reduction as the sector: a
            // separate reduction can fall on the other side of a boundary by a rounding, and
            // the trapezoidal EMF would jump by 2E for that sample.
            const double x = turn - sector * (kPi / 3);
            const double r = 6 * x / kPi - 1;
            const bool on = DCenv > carrier;
            for (int k = 0; k < 3; ++k) {
                o.DC[k] = s.table[sector][k];
                o.level[k] = on ? int(o.DC[k] * 2) : 1;
            }
            trapezoidalEmf(sector, r, E, o.emf);
        } else {
            double sinDrive[3], sinRotor[3];
            drive.threePhase(sinDrive);
            rotor.threePhase(sinRotor);
            for (int k = 0; k < 3; ++k) {
                o.DC[k] = DCenv * 0.5 * sinDrive[k] + 0.5;
                o.level[k] = o.DC[k] > carrier ? 2 : 0;
                o.emf[k] = E * sinRotor[k];
            }
        }

        if (!first) {
            for (int k = 0; k < 3; ++k) {
                if (o.level[k] != levelPrev[k]) {
                    lastEdge[k] = t;
                    lastEdgeRising[k] = o.level[k] > levelPrev[k];
                }
            }
        }
        for (int k = 0; k < 3; ++k)
            levelPrev[k] = o.level[k];

        // Next time: fine steps around the edges, a jump to just before the next expected one.
        double step = s.h;
        const bool edgesSeen = lastEdge[0] > 1e-9 && lastEdge[1] > 1e-9 && lastEdge[2] > 1e-9;
        if (edgesSeen) {
            if (stepsInGroup < 7) {
                ++stepsInGroup;
            } else {
                stepsInGroup = 0;
                const double period = s.period;
                double smallest = 0;
                for (int k = 0; k < 3; ++k) {
                    const double elapsed = t - lastEdge[k];
                    const double dk = lastEdgeRising[k] ? o.DC[k] : 1 - o.DC[k];
                    double next = std::fabs(dk * period - elapsed);
                    if (s.block) {
                        const double e = DCenv > carrier ? DCenv * period : (1 - DCenv) * period;
                        const double envelopeEdge = std::fabs(e - elapsed);
                        if (envelopeEdge < next) next = envelopeEdge;
                        if (k == 0) {
                            // The next sector boundary in the direction of rotation.
                            const double boundary = std::floor(angle / (2 * kPi)) * 2 * kPi +
                                                    (f >= 0 ? sector + 1 : sector) * kPi / 3;
                            const double sectorEdge = std::fabs((boundary - angle) / (2 * kPi * f));
                            if (sectorEdge < next) next = sectorEdge;
                        }
                    }
                    smallest = k == 0 ? next : std::min(smallest, next);
                }
                step = smallest - 2 * s.h;
                if (!(step >= s.h)) step = s.h;
            }
        }
        tPrev = t;
        first = false;
        const double nextT = t + step;
        if (!(nextT > t)) { // the step is lost in the rounding of t: no progress is possible
            *flags |= flag::WindowTooLong;
            done = true;
        } else {
            t = nextT;
        }
        return true;
    }

    // The drive's signals of a step (sig:: indices; the line EMFs always).
    void signalsOf(const DriveStep &o, double *v) const
    {
        v[sig::time] = o.t;
        v[sig::carrier] = o.carrier;
        v[sig::freq] = o.f;
        v[sig::DCenv] = o.DCenv;
        v[sig::Angle] = o.angle * s.angleScale;
        double V[3];
        for (int k = 0; k < 3; ++k) {
            V[k] = s.level[o.level[k]];
            v[sig::DCA + k] = o.DC[k];
            v[sig::VA + k] = V[k];
            v[sig::VemfA + k] = o.emf[k];
            const bool bottom = V[k] < s.Vlo;
            v[sig::At + 2 * k] = V[k] > s.Vhi && !bottom ? 1 : 0;
            v[sig::Ab + 2 * k] = bottom ? 1 : 0;
        }
        v[sig::VemfAB] = o.emf[0] - o.emf[1];
        v[sig::VemfBC] = o.emf[1] - o.emf[2];
        v[sig::VemfCA] = o.emf[2] - o.emf[0];
        v[sig::Vwye] = wyeVoltage(V, o.emf);
    }

private:
    DriveStepper(const DriveStepper &) = default;

    const RunSetup &s;
    quint32 *flags;
    ProfileCursor profile;
    double t = 0, tPrev = 0;
    bool first = true, inWindow = false, done = false;
    // The drive phase (2π·cycles) runs one base step ahead of the rotor angle: it advances
    // on the first step, the angle only after it.
    Rotor drive, rotor;
    int levelPrev[3] = {0, 0, 0};
    double lastEdge[3] = {0, 0, 0};
    bool lastEdgeRising[3] = {false, false, false};
    int stepsInGroup = 0;
    double lastD = 0, sd = 0, cd = 1; // sin and cos of lastD
};

// The devices of a half bridge, as BridgeStepper indexes them; kNone for a step that no device
// conducts.
enum Device { kUpperSwitch, kLowerSwitch, kUpperDiode, kLowerDiode, kNone, kDevices = kNone };

// What a run adds up over its steps.
struct BridgeSums
{
    // Per phase and device, W; the last column takes the steps no device conducts.
    double losses[3][kDevices + 1] = {};
    double switchingEnergy = 0, loadSum = 0, rmsSum = 0, peak = -999999999;
    bool anyInWindow = false;

    void add(const BridgeSums &o)
    {
        for (int k = 0; k < 3; ++k) {
            for (int d = 0; d <= kDevices; ++d)
                losses[k][d] += o.losses[k][d];
        }
        switchingEnergy += o.switchingEnergy;
        loadSum += o.loadSum;
        rmsSum += o.rmsSum;
        peak = std::max(peak, o.peak);
        anyInWindow = anyInWindow || o.anyInWindow;
    }
};

// A run is cut into stretches of steps, each summed on its own and the sums added in order, so
// that threads can take the stretches side by side and find what one thread finds. A stretch
// ends after at least kStretchSteps steps, where the next step falls into another slice of the
// display window (or, before the window, into another slice's width): no slice of the
// decimated waveforms spans two stretches.
constexpr int kStretchSteps = 16384;

class StretchCutter
{
public:
    explicit StretchCutter(const RunSetup &s)
        : start(s.start), width((s.end - s.start) / kBuckets), Fsw(s.Fsw)
    {
    }

    // Whether a stretch begins with the step at t; asked for every step after the first, with
    // the time of the step before.
    bool cutsBefore(double t, double tPrev)
    {
        if (++steps < kStretchSteps || slice(t) == slice(tPrev)) return false;
        steps = 0;
        return true;
    }

private:
    // The slice the recorder puts t in, counted on to negative numbers before the window.
    double slice(double t) const
    {
        if (!(width > 0)) return std::floor(t * Fsw);
        const double at = (t - start) / width;
        return at < kBuckets - 1 ? std::floor(at) : kBuckets - 1;
    }

    const double start, width, Fsw;
    int steps = 0;
};

// Of one step: L/dt and the voltage of the wye point.
struct StepTerms
{
    double Ldt, Vwye;
};

// The half of a run that the switches' on-resistance changes: the phase currents and the
// losses they cause, step by step from the switch nodes and the back-EMFs.
class BridgeStepper
{
public:
    BridgeStepper(const RunSetup &s, double Rdson)
        : s(s), Rdson(Rdson), Rdiode(s.part.getRdiode() / 1000), Vdiode(s.part.getVdiode()),
          tRise(s.part.getT_rise() / 1e9), tFall(s.part.getT_fall() / 1e9),
          Vsw((s.part.getTop_V() + s.part.getBot_V()) / 2),
          Rsw((s.part.getTop_wire() + s.part.getBot_wire()) / 2 + Rdson)
    {
        // By switch node level and the sign of the current (negative, zero, positive). A
        // node above the upper threshold conducts a positive current through the upper
        // switch, one below the lower threshold a negative current through the lower switch;
        // otherwise a negative current flows back through the upper diode, a positive one
        // through the lower diode.
        for (int l = 0; l < 3; ++l) {
            const double v = s.level[l];
            for (int sign = -1; sign <= 1; ++sign) {
                int device = kNone;
                if (v > s.Vhi && sign > 0) device = kUpperSwitch;
                if (v < s.Vlo && sign < 0) device = kLowerSwitch;
                if (v > s.Vlo && sign < 0) device = kUpperDiode;
                if (v < s.Vhi && sign > 0) device = kLowerDiode;
                devices[l * 3 + sign + 1] = device;
            }
        }
    }

    // Continues from the step before a stretch: its phase currents and switch node voltages.
    void resume(const double I[3], const int levels[3])
    {
        for (int k = 0; k < 3; ++k) {
            Iprev[k] = I[k];
            Vprev[k] = s.level[levels[k]];
        }
    }

    // The phase currents of a step and nothing else, as step() finds them: I holds those of
    // the step before and receives the new ones.
    Q_ALWAYS_INLINE void advanceCurrents(const StepTerms &st, const int levels[3],
                                         const double emf[3], double I[3]) const
    {
        const double invZ = 1 / (s.mc.R + Rsw + st.Ldt);
        for (int k = 0; k < 3; ++k)
            I[k] = current(s.level[levels[k]], st.Vwye, emf[k], I[k], st.Ldt, invZ);
    }

    // What a step's currents take that the on-resistance does not change. The divisions are
    // taken at every step, without a branch: the times are sums of steps, so even base steps
    // differ in their last bits.
    Q_ALWAYS_INLINE StepTerms terms(double dt, const int levels[3], const double emf[3]) const
    {
        const double V[3] = {s.level[levels[0]], s.level[levels[1]], s.level[levels[2]]};
        return {s.mc.L / dt, wyeVoltage(V, emf)};
    }

    // The sums of the stretch being stepped, and the end of it.
    const BridgeSums &stretchSums() const { return sum; }
    void endStretch()
    {
        total.add(sum);
        sum = BridgeSums();
    }
    // A stretch stepped by another stepper, in its turn.
    void addStretch(const BridgeSums &stretch) { total.add(stretch); }

    // One step: the phase currents I, the output voltages Vout and the load power.
    Q_ALWAYS_INLINE void step(double dt, const StepTerms &st, bool first, bool inWindow,
                              const int levels[3], const double emf[3], double I[3], double Vout[3],
                              double *loadOut)
    {
        const double weight = inWindow ? dt * s.invSpan : 0;
        sum.anyInWindow = sum.anyInWindow || (inWindow && s.span > 0);
        const double Vwye = st.Vwye, Ldt = st.Ldt;
        // Backward Euler on each leg: L dI/dt + (R + Rsw) I = V − Vwye − Vemf − Vsw.
        const double invZ = 1 / (s.mc.R + Rsw + Ldt);
        // Phase by phase with the phase a constant, so that the compiler keeps each phase's
        // values in registers.
        double load = 0;
        phase<0>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        phase<1>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        phase<2>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        if (inWindow)
            sum.peak = std::max(
                sum.peak, std::max(std::fabs(I[0]), std::max(std::fabs(I[1]), std::fabs(I[2]))));
        sum.loadSum += load * weight;
        sum.rmsSum += I[0] * I[0] * weight;
        *loadOut = load;
    }

    BridgeResult finish(quint32 flags) const
    {
        BridgeResult res;
        res.flags = flags;
        const pwm &part = s.part;
        BridgeSums all = total;
        all.add(sum);
        const auto &losses = all.losses;
        double switchSum = 0;
        for (int k = 0; k < 3; ++k)
            switchSum += losses[k][kUpperSwitch] + losses[k][kLowerSwitch];
        // The on-resistance share of the switch losses; the rest is lost in wires and bonds.
        const double ratio = Rsw > 0 ? Rdson / Rsw : 1;
        res.Pc = switchSum * ratio;
        res.Pw = switchSum - res.Pc;
        for (int k = 0; k < 3; ++k) {
            res.upperSwitch[k] = losses[k][kUpperSwitch] * ratio;
            res.lowerSwitch[k] = losses[k][kLowerSwitch] * ratio;
            res.upperDiode[k] = losses[k][kUpperDiode];
            res.lowerDiode[k] = losses[k][kLowerDiode];
            res.Pd += losses[k][kUpperDiode] + losses[k][kLowerDiode];
        }
        res.Ps = all.switchingEnergy * s.invSpan;
        res.Pq = s.in.Vcc *
                 (part.getIq_Vcc_vsF() * (s.Fsw / 1000 - part.getFsw_nom()) + part.getIq_Vcc()) /
                 1000;
        res.ampPower = res.Pw + res.Pq + res.Pc;
        if (!s.in.removeSwitching) res.ampPower += res.Ps;
        if (!s.in.removeDiode) res.ampPower += res.Pd;
        res.loadPower = all.loadSum;
        const double total = res.ampPower + res.loadPower;
        res.efficiency = total != 0 ? res.loadPower * 100 / total : 0;
        res.Ipeak = all.anyInWindow ? all.peak : 0;
        res.Irms = std::sqrt(all.rmsSum);

        const int outputs = part.getOutputs();
        const int nf = outputs > 0 ? std::max(1, 3 / outputs) : 1;
        if (res.ampPower > part.getPd_max() * nf) res.flags |= flag::PowerHigh;
        if (res.Ipeak > part.getI_pk()) res.flags |= flag::PeakCurrent;
        if (res.Irms > part.getI_cont()) res.flags |= flag::RmsCurrent;
        return res;
    }

    static void signalsOf(const double I[3], const double Vout[3], double load, double *v)
    {
        for (int k = 0; k < 3; ++k) {
            v[sig::I1 + k] = I[k];
            v[sig::V1 + k] = Vout[k];
        }
        v[sig::loadPower] = load;
    }

private:
    template <int k>
    Q_ALWAYS_INLINE void phase(const int levels[3], const double emf[3], double Vwye,
                               double Ldt, double invZ, double weight, bool first,
                               bool inWindow, double I[3], double Vout[3], double *load)
    {
        const double v = s.level[levels[k]];
        const double i = current(v, Vwye, emf[k], Iprev[k], Ldt, invZ);
        I[k] = i;

        // Which device carries the phase current (at most one does), and the output voltage
        // it leaves. Picked by index, without branches: the device changes at every edge.
        const int device = devices[levels[k] * 3 + (i > 0) - (i < 0) + 1];
        const double loss[2] = {(std::fabs(i) * Vsw + Rsw * i * i) * weight,
                                (i * i * Rdiode + Vdiode * std::fabs(i)) * weight};
        sum.losses[k][device] += loss[device >= kUpperDiode];
        const double out[kDevices + 1] = {v - Rsw * i - Vsw, v - Rsw * i + Vsw,
                                          s.Vs + Vdiode - i * Rdiode, -Vdiode - i * Rdiode, v};
        Vout[k] = out[device];

        *load += (emf[k] + s.mc.R * i) * i;

        // Hard switching: each edge of a node costs half of V·I over the transition time.
        if (!first && inWindow) {
            const double vp = Vprev[k];
            const double edge[3] = {0, (v - vp) * 0.5 * std::fabs(i) * tRise,
                                    (vp - v) * 0.5 * std::fabs(i) * tFall};
            sum.switchingEnergy += edge[(v > vp) + 2 * (v < vp)];
        }
        Iprev[k] = i;
        Vprev[k] = v;
    }

    // Backward Euler on one leg: L dI/dt + (R + Rsw) I = V − Vwye − Vemf − Vsw.
    Q_ALWAYS_INLINE double current(double v, double Vwye, double emf, double Iprev, double Ldt,
                                   double invZ) const
    {
        return (v - Vwye - emf - Vsw + Iprev * Ldt) * invZ;
    }

    const RunSetup &s;
    const double Rdson, Rdiode, Vdiode, tRise, tFall, Vsw, Rsw;
    int devices[9] = {};
    BridgeSums sum, total; // of the stretch being stepped; of those before it
    double Iprev[3] = {0, 0, 0}, Vprev[3] = {0, 0, 0};
};

// One run in one pass, handing each step to `sink` (may be null). A template so that the
// recorder's step is inlined into the loop.
template <class Sink>
BridgeResult runBridge(const BridgeInput &in, double Rdson, Sink *sink)
{
    const RunSetup s(in);
    quint32 flags = s.flags;
    DriveStepper drive(s, &flags);
    BridgeStepper bridge(s, Rdson);
    StretchCutter cutter(s);
    DriveStep d;
    double v[sig::count] = {};
    double tPrev = 0;
    while (drive.next(d)) {
        if (!d.first && cutter.cutsBefore(d.t, tPrev)) bridge.endStretch();
        tPrev = d.t;
        double I[3], Vout[3], load;
        bridge.step(d.dt, bridge.terms(d.dt, d.level, d.emf), d.first, d.inWindow, d.level, d.emf,
                    I, Vout, &load);
        if (sink) {
            drive.signalsOf(d, v);
            BridgeStepper::signalsOf(I, Vout, load, v);
            sink->step(v);
        }
    }
    return bridge.finish(flags);
}

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

// Threads kept for the runs, one fewer than there are cores: starting a thread costs a good
// part of a millisecond here, as much as a stretch of steps takes.
class Workers
{
public:
    static Workers &pool()
    {
        static Workers workers;
        return workers;
    }

    ~Workers()
    {
        {
            std::lock_guard<std::mutex> lock(m);
            stopping = true;
        }
        wake.notify_all();
        for (std::thread &t : threads)
            t.join();
    }

    int size() const { return int(threads.size()); }

    // Jobs started together, to wait for; the wait comes at the latest with its end.
    class Group
    {
    public:
        Group() = default;
        Group(const Group &) = delete;
        Group &operator=(const Group &) = delete;
        ~Group() { wait(); }
        void wait()
        {
            std::unique_lock<std::mutex> lock(m);
            done.wait(lock, [this] { return pending == 0; });
        }

    private:
        friend class Workers;
        std::mutex m;
        std::condition_variable done;
        int pending = 0;
    };

    // A job for the next free thread.
    void start(Group *group, std::function<void()> job)
    {
        {
            std::lock_guard<std::mutex> lock(group->m);
            ++group->pending;
        }
        {
            std::lock_guard<std::mutex> lock(m);
            jobs.push_back({group, std::move(job)});
        }
        wake.notify_one();
    }

private:
    struct Job
    {
        Group *group = nullptr;
        std::function<void()> run;
    };

    Workers()
    {
        // The cores this process may run on, which can be fewer than the machine has.
        int cores = int(std::thread::hardware_concurrency());
#ifdef __linux__
        cpu_set_t allowed;
        if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) cores = CPU_COUNT(&allowed);
#endif
        const int n = cores > 1 ? std::min(cores, 16) - 1 : 1;
        for (int k = 0; k < n; ++k)
            threads.emplace_back([this] { serve(); });
    }

    void serve()
    {
        for (;;) {
            Job job;
            {
                std::unique_lock<std::mutex> lock(m);
                wake.wait(lock, [this] { return stopping || !jobs.empty(); });
                if (jobs.empty()) return;
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            job.run();
            std::lock_guard<std::mutex> lock(job.group->m);
            if (--job.group->pending == 0) job.group->done.notify_all();
        }
    }

    std::mutex m;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool stopping = false;
    std::vector<std::thread> threads;
};

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
        if (!driveReady.load(std::memory_order_acquire)) return false;
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
    // record, and closes them up (once).
    void recordDrive()
    {
        waitUntilFinished();
        while (!driveReady.load(std::memory_order_acquire))
            pause();
        while (recordDriveStretch()) {
        }
        while (driveRecorded.load(std::memory_order_acquire) < stretchCount.load())
            pause();
        if (!driveClosed) driveRecorder->finish();
        driveClosed = true;
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
    StretchRun(BridgeRuns::Trace &tr, double Rdson, WaveformRecorder *recorder)
        : tr(tr), s(tr.setup), Rdson(Rdson), recorder(recorder)
    {
    }

    // False when the drive turned out too long to keep: nothing is summed.
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
            pool.start(&group, [this] { work(); });
        if (!following) followCurrents(*bridge);
        work();
        group.wait();
        if (abandoned.load()) return false;
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
    void work()
    {
        for (;;) {
            const int c = next.fetch_add(1);
            const int known = tr.stretchCount.load(std::memory_order_acquire);
            if (c >= known) {
                if (recorder) {
                    while (tr.recordDriveStretch()) {
                    }
                }
                return;
            }
            while (c >= noted.load(std::memory_order_acquire)) {
                if (abandoned.load(std::memory_order_relaxed)) return;
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

BridgeResult BridgeRuns::run(double Rdson, bool record)
{
    Trace &tr = *trace;
    const RunSetup &s = tr.setup;
    Waveforms *const w = record ? out : nullptr;
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
        std::unique_ptr<StretchRun> stretches(new StretchRun(tr, Rdson, recorder.get()));
        if (stretches->run(&bridge)) {
            if (w) {
                recorder->finish();
                tr.recordDrive();
            }
            return bridge.finish(tr.flags);
        }
    }

    // The drive was too long to keep: a run in one pass.
    if (!w) return runBridge(in, Rdson, static_cast<WaveformRecorder *>(nullptr));
    w->clear();
    w->Rdson = Rdson;
    WaveformRecorder all(w, s.start, s.end, in.motor.isDelta, kAllSignals);
    const BridgeResult r = runBridge(in, Rdson, &all);
    all.finish();
    return r;
}

BridgeResult simulateBridge(const BridgeInput &in, double Rdson, Waveforms *out)
{
    if (!out) return simulateBridge(in, Rdson, static_cast<StepSink *>(nullptr));
    BridgeRuns runs(in, out);
    return runs.run(Rdson, true);
}

BridgeResult simulateBridge(const BridgeInput &in, double Rdson, StepSink *sink)
{
    return runBridge(in, Rdson, sink);
}

QStringList lossLines(const BridgeResult &r)
{
    static const char *const phases[] = {"A", "B", "C"};
    QStringList lines;
    const auto add = [&lines](const char *device, const char *phase, double watts) {
        lines << QStringLiteral("%1 %2 Power: ").arg(QLatin1String(device), QLatin1String(phase)) +
                     eng::number2String(watts) + QStringLiteral(" W");
    };
    for (int k = 0; k < 3; ++k)
        add("Upper Switch", phases[k], r.upperSwitch[k]);
    for (int k = 0; k < 3; ++k)
        add("Lower Switch", phases[k], r.lowerSwitch[k]);
    for (int k = 0; k < 3; ++k)
        add("Upper Diode", phases[k], r.upperDiode[k]);
    for (int k = 0; k < 3; ++k)
        add("Lower Diode", phases[k], r.lowerDiode[k]);
    return lines;
}

} // namespace motor
