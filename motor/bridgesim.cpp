#include "motor/bridgesim.h"

#include "values/engvalues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
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

// Keeps a run's steps in a Waveforms: every step while there are few, else min/max pairs per
// slice of the display window (see kRawSteps).
class WaveformRecorder final : public StepSink
{
public:
    WaveformRecorder(Waveforms *w, double start, double end, bool delta)
        : w(w), rows(w->rows), start(start), width((end - start) / kBuckets), delta(delta)
    {
        rows.clear();
    }

    void step(const double *v) override
    {
        if (!decimating) {
            if (int(rows.size()) < kRawSteps) {
                rows.emplace_back();
                std::copy(v, v + sig::count, rows.back().begin());
                return;
            }
            decimating = true;
            // At most two samples a slice: the lists never grow past this.
            for (int s = 0; s < sig::count; ++s) {
                if (keeps(s)) w->list(s)->reserve(2 * kBuckets);
            }
            for (const Row &row : rows)
                addToSlice(row.data());
            rows.clear();
        }
        addToSlice(v);
    }

    void finish()
    {
        w->decimated = decimating;
        if (decimating) {
            flushSlice();
            return;
        }
        const int n = int(rows.size());
        // QVector::clear keeps the capacity: a list that held a run before fills in place.
        for (int s = 0; s < sig::count; ++s) {
            if (!keeps(s)) continue;
            QVector<double> &list = *w->list(s);
            list.resize(n);
            double *out = list.data();
            for (int i = 0; i < n; ++i)
                out[i] = rows[i][s];
        }
    }

private:
    using Row = std::array<double, sig::count>;

    bool keeps(int s) const
    {
        return delta || (s != sig::VemfAB && s != sig::VemfBC && s != sig::VemfCA);
    }

    void addToSlice(const double *v)
    {
        const double t = v[sig::time];
        if (t < start) return;
        const double at = width > 0 ? (t - start) / width : 0;
        const int slice = at < kBuckets - 1 ? int(at) : kBuckets - 1;
        if (slice != current) {
            flushSlice();
            current = slice;
        }
        if (count < 2) {
            std::copy(v, v + sig::count, (count == 0 ? first : second).begin());
        } else {
            if (count == 2) {
                for (int s = 0; s < sig::count; ++s) {
                    const bool firstLower = first[s] <= second[s];
                    lo[s] = firstLower ? first[s] : second[s];
                    hi[s] = firstLower ? second[s] : first[s];
                    loAt[s] = firstLower ? 0 : 1;
                    hiAt[s] = firstLower ? 1 : 0;
                }
            }
            // Without branches: which signal moves on a step is unpredictable.
            for (int s = 0; s < sig::count; ++s) {
                const double x = v[s];
                const bool lower = x < lo[s];
                const bool higher = !lower && x > hi[s];
                lo[s] = lower ? x : lo[s];
                loAt[s] = lower ? count : loAt[s];
                hi[s] = higher ? x : hi[s];
                hiAt[s] = higher ? count : hiAt[s];
            }
            second[sig::time] = t; // the slice's last time
        }
        ++count;
    }

    void append(const double *v)
    {
        for (int s = 0; s < sig::count; ++s) {
            if (keeps(s)) w->list(s)->append(v[s]);
        }
    }

    void flushSlice()
    {
        if (count >= 1 && count <= 2) {
            append(first.data());
            if (count == 2) append(second.data());
        } else if (count > 2) {
            // Both extremes of every signal, in the order they occurred, at the slice's first
            // and last time.
            Row a, b;
            for (int s = 0; s < sig::count; ++s) {
                const bool lowFirst = loAt[s] <= hiAt[s];
                a[s] = lowFirst ? lo[s] : hi[s];
                b[s] = lowFirst ? hi[s] : lo[s];
            }
            a[sig::time] = first[sig::time];
            b[sig::time] = second[sig::time];
            append(a.data());
            append(b.data());
        }
        count = 0;
    }

    Waveforms *w;
    std::vector<Row> &rows;
    const double start, width;
    const bool delta;
    bool decimating = false;
    int current = -1, count = 0;
    Row first{}, second{}, lo{}, hi{};
    std::array<int, sig::count> loAt{}, hiAt{};
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

// One run, handing each step to `sink` (may be null). A template so that the recorder's step
// is inlined into the loop.
template <class Sink>
BridgeResult runBridge(const BridgeInput &in, double Rdson, Sink *sink)
{
    BridgeResult res;
    quint32 &flags = res.flags;
    const pwm &part = in.part;
    const double Vs = in.Vs, Vcc = in.Vcc, Fsw = in.FswHz;
    if (Vs > part.getVs_max()) flags |= flag::VsHigh;
    if (Vcc > part.getVcc_max()) flags |= flag::VccHigh;
    if (Fsw > 1000 * part.getFsw_max()) flags |= flag::FswHigh;
    if (Vs < part.getVs_min()) flags |= flag::VsLow;
    if (Vcc < part.getVcc_min()) flags |= flag::VccLow;

    const double Rdiode = part.getRdiode() / 1000;
    const double Vdiode = part.getVdiode();
    const double tRise = part.getT_rise() / 1e9, tFall = part.getT_fall() / 1e9;
    const double Vsw = (part.getTop_V() + part.getBot_V()) / 2;
    const double Rsw = (part.getTop_wire() + part.getBot_wire()) / 2 + Rdson;
    const double Vhi = Vs - Vs / 100, Vlo = Vs / 100;
    const MotorConstants mc = motorConstants(in.motor);
    const double R = mc.R, L = mc.L, Vemf = mc.Vemf;
    const int n = mc.n;
    const bool delta = in.motor.isDelta;
    const bool blockCommutation = in.commutation == Trapezoidal || in.commutation == SixStep;
    const auto &table = in.commutation == Trapezoidal ? kTrapezoidal : kSixStep;
    const double angleScale = in.motor.isLinear ? mc.cycleLength / (2 * kPi) : 1;

    double start = in.start, end = in.end;
    if (start < 0) start = 0;
    if (end < 0) end = 0;
    if (start > end) {
        flags |= flag::BadTimescale;
        end = start;
    }
    const double span = end - start;

    const ControlProfile prof = generateControlVector(in, end, &flags);

    double upperSw[3] = {0, 0, 0}, lowerSw[3] = {0, 0, 0};
    double upperD[3] = {0, 0, 0}, lowerD[3] = {0, 0, 0};
    double switchingEnergy = 0, loadSum = 0, rmsSum = 0, peak = -999999999;
    bool anyInWindow = false;

    // Without a positive switching frequency there is no carrier to step along.
    const double h = 1.0 / (100.0 * Fsw);
    bool canStep = Fsw > 0 && end > 0;
    if (canStep && !(end * Fsw <= kMaxPeriods)) {
        flags |= flag::WindowTooLong;
        canStep = false;
    }
    const double period = 1 / Fsw;
    const double invSpan = span > 0 ? 1 / span : 0;

    double t = 0, tPrev = 0;
    bool first = true, inWindow = false;
    ProfileCursor profile(prof);
    // The drive phase (2π·cycles) runs one base step ahead of the rotor angle: it advances
    // on the first step, the angle only after it.
    Rotor drive, rotor;
    double turn = 0; // the rotor angle wrapped into [0, 2π), for the block commutations
    double Iprev[3] = {0, 0, 0}, Vprev[3] = {0, 0, 0};
    double lastEdge[3] = {0, 0, 0};
    bool lastEdgeRising[3] = {false, false, false};
    int stepsInGroup = 0;
    double v[sig::count] = {};
    double lastDt = 0, Ldt = 0, invZ = 0;
    double lastD = 0, sd = 0, cd = 1; // sin and cos of lastD

    while (canStep && t < end) {
        // The first sample stands for one base step: the run starts from rest, and a longer
        // first interval would weigh that one sample heavily in every window average.
        const double dt = first ? h : t - tPrev;
        if (!inWindow && t >= start) inWindow = true;
        const double weight = inWindow ? dt * invSpan : 0;
        anyInWindow = anyInWindow || (inWindow && span > 0);

        double DCenv, f;
        profile.at(t, &DCenv, &f, &flags);
        DCenv = clampUnit(DCenv);
        const double carrier = carrierAt(t, Fsw);

        const double E = std::fabs(f) * Vemf * 60 / n;
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
        if (blockCommutation) {
            // Wrapped into [0, 2π): a motor turning backwards has negative angles, and their
            // sectors count down from 5.
            turn = std::fmod(angle, 2 * kPi);
            if (turn < 0) turn += 2 * kPi;
            if (turn >= 2 * kPi) turn = 0;
        }
        int sector = 0;
        double r = 0;
        if (blockCommutation) {
            sector = std::min(5, static_cast<int>(turn / (kPi / 3)));
            // The position within the sector comes from the same reduction as the sector: a
            // separate reduction can fall on the other side of a boundary by a rounding, and
            // the trapezoidal EMF would jump by 2E for that sample.
            const double x = turn - sector * (kPi / 3);
            r = 6 * x / kPi - 1;
        }

        double DC[3], V[3], emf[3];
        if (blockCommutation) {
            for (int k = 0; k < 3; ++k) {
                DC[k] = table[sector][k];
                V[k] = DCenv > carrier ? DC[k] * Vs : Vs / 2;
            }
            trapezoidalEmf(sector, r, E, emf);
        } else {
            double sinDrive[3], sinRotor[3];
            drive.threePhase(sinDrive);
            rotor.threePhase(sinRotor);
            for (int k = 0; k < 3; ++k) {
                DC[k] = DCenv * 0.5 * sinDrive[k] + 0.5;
                V[k] = DC[k] > carrier ? Vs : 0;
                emf[k] = E * sinRotor[k];
            }
        }
        const double Vwye = (V[0] + V[1] + V[2] - emf[0] - emf[1] - emf[2]) / 3;

        // Backward Euler on each leg: L dI/dt + (R + Rsw) I = V − Vwye − Vemf − Vsw.
        // Most steps are base steps: their two divisions are taken once.
        if (dt != lastDt) {
            lastDt = dt;
            Ldt = L / dt;
            invZ = 1 / (R + Rsw + Ldt);
        }
        double I[3];
        for (int k = 0; k < 3; ++k)
            I[k] = (V[k] - Vwye - emf[k] - Vsw + Iprev[k] * Ldt) * invZ;
        if (inWindow)
            peak = std::max(peak, std::max(std::fabs(I[0]), std::max(std::fabs(I[1]), std::fabs(I[2]))));

        // Which device carries each phase current, and the output voltage it leaves.
        double top[3] = {0, 0, 0}, bottom[3] = {0, 0, 0}, Vout[3] = {V[0], V[1], V[2]};
        for (int k = 0; k < 3; ++k) {
            if (V[k] > Vhi) {
                top[k] = 1;
                bottom[k] = 0;
                if (I[k] > 0) {
                    upperSw[k] += (std::fabs(I[k]) * Vsw + Rsw * I[k] * I[k]) * weight;
                    Vout[k] = V[k] - Rsw * I[k] - Vsw;
                }
            }
        }
        for (int k = 0; k < 3; ++k) {
            if (V[k] < Vlo) {
                top[k] = 0;
                bottom[k] = 1;
                if (I[k] < 0) {
                    lowerSw[k] += (std::fabs(I[k]) * Vsw + Rsw * I[k] * I[k]) * weight;
                    Vout[k] = V[k] - Rsw * I[k] + Vsw;
                }
            }
        }
        for (int k = 0; k < 3; ++k) {
            if (V[k] > Vlo && I[k] < 0) {
                upperD[k] += (I[k] * I[k] * Rdiode + Vdiode * std::fabs(I[k])) * weight;
                Vout[k] = Vs + Vdiode - I[k] * Rdiode;
            }
        }
        for (int k = 0; k < 3; ++k) {
            if (V[k] < Vhi && I[k] > 0) {
                lowerD[k] += (I[k] * I[k] * Rdiode + Vdiode * I[k]) * weight;
                Vout[k] = -Vdiode - I[k] * Rdiode;
            }
        }

        double load = 0;
        for (int k = 0; k < 3; ++k)
            load += (emf[k] + R * I[k]) * I[k];
        loadSum += load * weight;
        rmsSum += I[0] * I[0] * weight;

        if (sink) {
            v[sig::time] = t;
            v[sig::carrier] = carrier;
            v[sig::freq] = f;
            v[sig::DCenv] = DCenv;
            v[sig::Angle] = angle * angleScale;
            for (int k = 0; k < 3; ++k) {
                v[sig::DCA + k] = DC[k];
                v[sig::VA + k] = V[k];
                v[sig::VemfA + k] = emf[k];
                v[sig::I1 + k] = I[k];
                v[sig::V1 + k] = Vout[k];
                v[sig::At + 2 * k] = top[k];
                v[sig::Ab + 2 * k] = bottom[k];
            }
            if (delta) {
                v[sig::VemfAB] = emf[0] - emf[1];
                v[sig::VemfBC] = emf[1] - emf[2];
                v[sig::VemfCA] = emf[2] - emf[0];
            }
            v[sig::Vwye] = Vwye;
            v[sig::loadPower] = load;
            sink->step(v);
        }

        // Hard switching: each edge of a node costs half of V·I over the transition time.
        if (!first) {
            for (int k = 0; k < 3; ++k) {
                if (V[k] > Vprev[k]) {
                    if (inWindow)
                        switchingEnergy += (V[k] - Vprev[k]) * 0.5 * std::fabs(I[k]) * tRise;
                    lastEdge[k] = t;
                    lastEdgeRising[k] = true;
                } else if (V[k] < Vprev[k]) {
                    if (inWindow)
                        switchingEnergy += (Vprev[k] - V[k]) * 0.5 * std::fabs(I[k]) * tFall;
                    lastEdge[k] = t;
                    lastEdgeRising[k] = false;
                }
            }
        }
        for (int k = 0; k < 3; ++k) {
            Iprev[k] = I[k];
            Vprev[k] = V[k];
        }

        // Next time: fine steps around the edges, a jump to just before the next expected one.
        double step = h;
        const bool edgesSeen = lastEdge[0] > 1e-9 && lastEdge[1] > 1e-9 && lastEdge[2] > 1e-9;
        if (edgesSeen) {
            if (stepsInGroup < 7) {
                ++stepsInGroup;
            } else {
                stepsInGroup = 0;
                double smallest = 0;
                for (int k = 0; k < 3; ++k) {
                    const double elapsed = t - lastEdge[k];
                    const double dk = lastEdgeRising[k] ? DC[k] : 1 - DC[k];
                    double next = std::fabs(dk * period - elapsed);
                    if (blockCommutation) {
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
                step = smallest - 2 * h;
                if (!(step >= h)) step = h;
            }
        }
        tPrev = t;
        first = false;
        const double nextT = t + step;
        if (!(nextT > t)) { // the step is lost in the rounding of t: no progress is possible
            flags |= flag::WindowTooLong;
            break;
        }
        t = nextT;
    }

    double switchSum = 0;
    for (int k = 0; k < 3; ++k)
        switchSum += upperSw[k] + lowerSw[k];
    // The on-resistance share of the switch losses; the rest is lost in wires and bonds.
    const double ratio = Rsw > 0 ? Rdson / Rsw : 1;
    res.Pc = switchSum * ratio;
    res.Pw = switchSum - res.Pc;
    for (int k = 0; k < 3; ++k) {
        res.upperSwitch[k] = upperSw[k] * ratio;
        res.lowerSwitch[k] = lowerSw[k] * ratio;
        res.upperDiode[k] = upperD[k];
        res.lowerDiode[k] = lowerD[k];
        res.Pd += upperD[k] + lowerD[k];
    }
    res.Ps = switchingEnergy * invSpan;
    res.Pq =
        Vcc * (part.getIq_Vcc_vsF() * (Fsw / 1000 - part.getFsw_nom()) + part.getIq_Vcc()) / 1000;
    res.ampPower = res.Pw + res.Pq + res.Pc;
    if (!in.removeSwitching) res.ampPower += res.Ps;
    if (!in.removeDiode) res.ampPower += res.Pd;
    res.loadPower = loadSum;
    const double total = res.ampPower + res.loadPower;
    res.efficiency = total != 0 ? res.loadPower * 100 / total : 0;
    res.Ipeak = anyInWindow ? peak : 0;
    res.Irms = std::sqrt(rmsSum);

    const int outputs = part.getOutputs();
    const int nf = outputs > 0 ? std::max(1, 3 / outputs) : 1;
    if (res.ampPower > part.getPd_max() * nf) flags |= flag::PowerHigh;
    if (res.Ipeak > part.getI_pk()) flags |= flag::PeakCurrent;
    if (res.Irms > part.getI_cont()) flags |= flag::RmsCurrent;
    return res;
}

} // namespace

BridgeResult simulateBridge(const BridgeInput &in, double Rdson, Waveforms *out)
{
    if (!out) return simulateBridge(in, Rdson, static_cast<StepSink *>(nullptr));
    out->clear();
    out->Rdson = Rdson;
    // The recorder needs the window as the run clamps it.
    const double end = std::max(in.end, 0.0);
    const double start = std::min(std::max(in.start, 0.0), end);
    WaveformRecorder recorder(out, start, end, in.motor.isDelta);
    const BridgeResult r = runBridge(in, Rdson, &recorder);
    recorder.finish();
    return r;
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
