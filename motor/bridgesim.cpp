#include "motor/bridgesim.h"

#include "values/engvalues.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

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
        for (int s = 0; s < sig::count; ++s) {
            const bool lineEmf = s == sig::VemfAB || s == sig::VemfBC || s == sig::VemfCA;
            if (s != sig::time && (signalSet >> s & 1) && (delta || !lineEmf)) kept[nKept++] = s;
        }
        wide = (nKept + kBlock - 1) / kBlock * kBlock;
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
        // The recorder of the time says it; another one may record beside it.
        if (keepsTime) w->decimated = decimating;
        if (decimating) flushSlice();
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
        for (int i = 0; i < std::min(count, 2); ++i) {
            if (written >= capacity) break;
            for (int j = 0; j < nKept; ++j)
                out[j][written] = slice_[i * wide + j];
            if (keepsTime) outTime[written] = i == 0 ? firstTime : lastTime;
            ++written;
        }
        count = 0;
        buffered = 0;
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
    double *out[sig::count] = {};
    double *outTime = nullptr;
    int capacity = 0, written = 0;
    int current = -1, count = 0, buffered = 0;
    double sliceEnd = -std::numeric_limits<double>::infinity();
    double firstTime = 0, lastTime = 0;
    std::vector<double> slice_ = std::vector<double>(kSliceRows * kMaxWide);
};

// The profile's envelope and frequency at the run's time, which only grows: while it stays
// inside the segment of the last lookup the values come straight from that segment, which is
// what linterp would find from there; anything else goes to linterp.
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
        *DCenv = d0 + dt * dd / dx;
        *f = f0 + dt * df / dx;
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
        dd = p.DutyCycleEnv[i] - d0;
        f0 = p.fCycle[i - 1];
        df = p.fCycle[i] - f0;
    }

    const ControlProfile &p;
    const int size;
    int index = 0;
    double x0 = 1, x1 = 0, dx = 1, d0 = 0, dd = 0, f0 = 0, df = 0;
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
    DriveStepper(const RunSetup &s, quint32 *flags) : s(s), flags(*flags), profile(s.prof) {}

    // The next step; false once the window is done.
    Q_ALWAYS_INLINE bool next(DriveStep &o)
    {
        if (done || !s.canStep || !(t < s.end)) return false;
        // The first sample stands for one base step: the run starts from rest, and a longer
        // first interval would weigh that one sample heavily in every window average.
        const double dt = first ? s.h : t - tPrev;
        if (!inWindow && t >= s.start) inWindow = true;
        o.t = t;
        o.dt = dt;
        o.first = first;
        o.inWindow = inWindow;

        double DCenv, f;
        profile.at(t, &DCenv, &f, &flags);
        DCenv = clampUnit(DCenv);
        const double carrier = carrierAt(t, s.Fsw);
        o.carrier = carrier;
        o.f = f;
        o.DCenv = DCenv;

        const double E = std::fabs(f) * s.mc.Vemf * 60 / s.mc.n;
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
            flags |= flag::WindowTooLong;
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
    const RunSetup &s;
    quint32 &flags;
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

    // One step: the phase currents I, the output voltages Vout and the load power.
    Q_ALWAYS_INLINE void step(double dt, bool first, bool inWindow, const int levels[3],
                              const double emf[3], double I[3], double Vout[3], double *loadOut)
    {
        const double weight = inWindow ? dt * s.invSpan : 0;
        anyInWindow = anyInWindow || (inWindow && s.span > 0);
        const double V[3] = {s.level[levels[0]], s.level[levels[1]], s.level[levels[2]]};
        const double Vwye = wyeVoltage(V, emf);
        // Backward Euler on each leg: L dI/dt + (R + Rsw) I = V − Vwye − Vemf − Vsw. The
        // divisions are taken at every step, without a branch: the times are sums of steps,
        // so even base steps differ in their last bits.
        const double Ldt = s.mc.L / dt;
        const double invZ = 1 / (s.mc.R + Rsw + Ldt);
        // Phase by phase with the phase a constant, so that the compiler keeps each phase's
        // values in registers.
        double load = 0;
        phase<0>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        phase<1>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        phase<2>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        if (inWindow)
            peak = std::max(peak, std::max(std::fabs(I[0]), std::max(std::fabs(I[1]), std::fabs(I[2]))));
        loadSum += load * weight;
        rmsSum += I[0] * I[0] * weight;
        *loadOut = load;
    }

    BridgeResult finish(quint32 flags) const
    {
        BridgeResult res;
        res.flags = flags;
        const pwm &part = s.part;
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
        res.Ps = switchingEnergy * s.invSpan;
        res.Pq = s.in.Vcc *
                 (part.getIq_Vcc_vsF() * (s.Fsw / 1000 - part.getFsw_nom()) + part.getIq_Vcc()) /
                 1000;
        res.ampPower = res.Pw + res.Pq + res.Pc;
        if (!s.in.removeSwitching) res.ampPower += res.Ps;
        if (!s.in.removeDiode) res.ampPower += res.Pd;
        res.loadPower = loadSum;
        const double total = res.ampPower + res.loadPower;
        res.efficiency = total != 0 ? res.loadPower * 100 / total : 0;
        res.Ipeak = anyInWindow ? peak : 0;
        res.Irms = std::sqrt(rmsSum);

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
        const double i = (v - Vwye - emf[k] - Vsw + Iprev[k] * Ldt) * invZ;
        I[k] = i;

        // Which device carries the phase current (at most one does), and the output voltage
        // it leaves. Picked by index, without branches: the device changes at every edge.
        const int device = devices[levels[k] * 3 + (i > 0) - (i < 0) + 1];
        const double loss[2] = {(std::fabs(i) * Vsw + Rsw * i * i) * weight,
                                (i * i * Rdiode + Vdiode * std::fabs(i)) * weight};
        losses[k][device] += loss[device >= kUpperDiode];
        const double out[kDevices + 1] = {v - Rsw * i - Vsw, v - Rsw * i + Vsw,
                                          s.Vs + Vdiode - i * Rdiode, -Vdiode - i * Rdiode, v};
        Vout[k] = out[device];

        *load += (emf[k] + s.mc.R * i) * i;

        // Hard switching: each edge of a node costs half of V·I over the transition time.
        if (!first && inWindow) {
            const double vp = Vprev[k];
            const double edge[3] = {0, (v - vp) * 0.5 * std::fabs(i) * tRise,
                                    (vp - v) * 0.5 * std::fabs(i) * tFall};
            switchingEnergy += edge[(v > vp) + 2 * (v < vp)];
        }
        Iprev[k] = i;
        Vprev[k] = v;
    }

    const RunSetup &s;
    const double Rdson, Rdiode, Vdiode, tRise, tFall, Vsw, Rsw;
    enum { kUpperSwitch, kLowerSwitch, kUpperDiode, kLowerDiode, kNone, kDevices = kNone };
    int devices[9] = {};
    // Per phase and device, W; the last column takes the steps no device conducts.
    double losses[3][kDevices + 1] = {};
    double switchingEnergy = 0, loadSum = 0, rmsSum = 0, peak = -999999999;
    bool anyInWindow = false;
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
    DriveStep d;
    double v[sig::count] = {};
    while (drive.next(d)) {
        double I[3], Vout[3], load;
        bridge.step(d.dt, d.first, d.inWindow, d.level, d.emf, I, Vout, &load);
        if (sink) {
            drive.signalsOf(d, v);
            BridgeStepper::signalsOf(I, Vout, load, v);
            sink->step(v);
        }
    }
    return bridge.finish(flags);
}

} // namespace

// The drive of a run, step by step: the time, the switch nodes (two bits each) and the
// back-EMFs. A window of up to kTraceSteps steps keeps it; a longer one repeats the drive in
// every run instead of holding that much memory.
namespace {

// Steps a drive of its own to record the drive's waveforms, beside the runs that step the
// currents: it writes none of the lists they write.
void recordDrive(const RunSetup &s, Waveforms *out, const std::atomic<bool> *cancel)
{
    WaveformRecorder recorder(out, s.start, s.end, s.in.motor.isDelta, kDriveSignals);
    quint32 flags = 0;
    DriveStepper drive(s, &flags);
    DriveStep d;
    double v[sig::count] = {};
    while (drive.next(d)) {
        if (cancel->load(std::memory_order_relaxed)) return;
        drive.signalsOf(d, v);
        recorder.step(v);
    }
    recorder.finish();
}

} // namespace

// The drive of the runs, stepped on a thread of its own while the first run already steps its
// currents from what is there; the drive's waveforms are recorded on another thread, from a
// drive of their own. Nothing is shared but the setup, which no thread changes.
struct BridgeRuns::Trace
{
    Trace(const BridgeInput &in, Waveforms *out) : setup(in), steps(out ? out->trace : own) {}
    ~Trace()
    {
        if (producer.joinable()) producer.join();
        if (recording.joinable()) recording.join();
    }

    // Steps the drive into `steps`, publishing how far it has got.
    void produce()
    {
        quint32 driveFlags = setup.flags;
        DriveStepper drive(setup, &driveFlags);
        DriveStep d;
        int n = 0;
        while (drive.next(d)) {
            if (n == kTraceSteps) {
                // Too long to keep: each run steps its drive again.
                cancel = true;
                finished.store(true, std::memory_order_release);
                return;
            }
            steps.t.push_back(d.t);
            steps.emf.push_back({d.emf[0], d.emf[1], d.emf[2]});
            steps.levels.push_back(quint8(d.level[0] | d.level[1] << 2 | d.level[2] << 4 |
                                          (d.inWindow ? kInWindow : 0)));
            if (++n % 1024 == 0) produced.store(n, std::memory_order_release);
        }
        produced.store(n, std::memory_order_release);
        flags = driveFlags;
        complete = true;
        finished.store(true, std::memory_order_release);
    }

    void waitUntilFinished() const
    {
        while (!finished.load(std::memory_order_acquire))
            std::this_thread::yield();
    }

    static constexpr int kInWindow = 0x40; // in the levels byte: the step is in the window

    const RunSetup setup;
    Waveforms::DriveTrace own;
    Waveforms::DriveTrace &steps;
    // Where the drive has got to: the steps before `produced` are written. Once `finished`
    // (stored last) is set, `complete` and `flags` are final.
    // Each on a cache line of its own: the threads that write them do not slow the readers
    // of the rest.
    alignas(64) std::atomic<int> produced{0};
    alignas(64) std::atomic<bool> finished{false};
    alignas(64) std::atomic<bool> cancel{false}; // the recording thread stops
    bool complete = false;
    quint32 flags = 0;
    const double *t = nullptr;
    const std::array<double, 3> *emf = nullptr;
    const quint8 *levels = nullptr;
    std::thread producer, recording;
};

BridgeRuns::BridgeRuns(const BridgeInput &input, Waveforms *out) : in(input), out(out)
{
    trace.reset(new Trace(in, out));
    Trace &tr = *trace;
    Waveforms::DriveTrace &st = tr.steps;
    st.t.clear();
    st.emf.clear();
    st.levels.clear();
    // Only the pages a run writes are taken from the system; reserved room costs nothing, and
    // the lists never move while the runs read them.
    st.t.reserve(kTraceSteps);
    st.emf.reserve(kTraceSteps);
    st.levels.reserve(kTraceSteps);
    tr.t = st.t.data();
    tr.emf = st.emf.data();
    tr.levels = st.levels.data();
    if (out) {
        out->clear();
        tr.recording = std::thread(recordDrive, std::cref(tr.setup), out, &tr.cancel);
    }
    tr.producer = std::thread([&tr] { tr.produce(); });
}

BridgeRuns::~BridgeRuns() = default;

BridgeResult BridgeRuns::run(double Rdson, bool record)
{
    Trace &tr = *trace;
    const RunSetup &s = tr.setup;
    Waveforms *const w = record ? out : nullptr;
    // A recording run must know how many steps there are before the first.
    if (w) tr.waitUntilFinished();

    BridgeStepper bridge(s, Rdson);
    std::unique_ptr<WaveformRecorder> recorder;
    if (w && tr.complete) {
        w->Rdson = Rdson;
        recorder.reset(new WaveformRecorder(w, s.start, s.end, in.motor.isDelta, kBridgeSignals,
                                            tr.produced.load(std::memory_order_relaxed)));
    }
    double v[sig::count] = {};
    const double *const t = tr.t;
    const quint8 *const packedLevels = tr.levels;
    const std::array<double, 3> *const emf = tr.emf;
    int i = 0;
    for (;;) {
        const bool done = tr.finished.load(std::memory_order_acquire);
        const int available = tr.produced.load(std::memory_order_acquire);
        if (done && !tr.complete) break;
        for (; i < available; ++i) {
            const double dt = i == 0 ? s.h : t[i] - t[i - 1];
            const int packed = packedLevels[i];
            const int levels[3] = {packed & 3, packed >> 2 & 3, packed >> 4 & 3};
            double I[3], Vout[3], load;
            bridge.step(dt, i == 0, packed & Trace::kInWindow, levels, emf[i].data(), I, Vout,
                        &load);
            if (recorder) {
                v[sig::time] = t[i];
                BridgeStepper::signalsOf(I, Vout, load, v);
                recorder->step(v);
            }
        }
        if (done) break;
        std::this_thread::yield();
    }
    if (tr.complete) {
        if (recorder) recorder->finish();
        return bridge.finish(tr.flags);
    }

    // The drive was too long to keep: a run in one pass, which records every signal.
    if (!w) return runBridge(in, Rdson, static_cast<WaveformRecorder *>(nullptr));
    if (tr.recording.joinable()) tr.recording.join();
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
