#pragma once

#include "motor/bridgesim.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The half of a run that the switches' on-resistance does not change: the profile as the run
// reads it, the carrier, the rotor angle and the switch nodes, stepped from t = 0 to the end of
// the window. Shared by the single pass and the runs on a kept drive.
namespace motor {
namespace detail {

constexpr double kPi = 3.14159265358979323846;

// Sector states of the two block commutations and the trapezoidal back-EMF shape, by sector
// of 60 electrical degrees; r runs from −1 to 1 across the sector.
constexpr double kTrapezoidal[6][3] = {{0.5, 0, 1}, {1, 0, 0.5}, {1, 0.5, 0},
                                       {0.5, 1, 0}, {0, 1, 0.5}, {0, 0.5, 1}};
constexpr double kSixStep[6][3] = {{0, 0, 1}, {1, 0, 1}, {1, 0, 0},
                                   {1, 1, 0}, {0, 1, 0}, {0, 1, 1}};

inline void trapezoidalEmf(int sector, double r, double E, double emf[3])
{
    const double rE = r * E;
    const double rows[6][3] = {{rE, -E, E},  {E, -E, -rE}, {E, rE, -E},
                               {-rE, E, -E}, {-E, E, rE},  {-E, -rE, E}};
    for (int k = 0; k < 3; ++k)
        emf[k] = rows[sector][k];
}

// The envelope as the bridge can use it; NaN (an unusable profile) counts as no drive.
inline double clampUnit(double x)
{
    return x > 1 ? 1 : (x > 0 ? x : 0);
}

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
        // The fine steps: the terms from d^7 and d^6 on are below 1e-19 of the result. (The
        // drive row of bench_motor takes about a sixth longer without this shortcut, and
        // over a third longer with the library's sin and cos for every advance.)
        *s = d * (1 - d2 * (1.0 / 6) * (1 - d2 * (1.0 / 20)));
        *c = 1 - d2 * (1.0 / 2) * (1 - d2 * (1.0 / 12));
        return;
    }
    *s = d *
         (1 - d2 * (1.0 / 6) *
                  (1 - d2 * (1.0 / 20) *
                           (1 - d2 * (1.0 / 42) * (1 - d2 * (1.0 / 72) * (1 - d2 * (1.0 / 110))))));
    *c = 1 - d2 * (1.0 / 2) *
                 (1 - d2 * (1.0 / 12) *
                          (1 - d2 * (1.0 / 30) *
                                   (1 - d2 * (1.0 / 56) *
                                            (1 - d2 * (1.0 / 90) * (1 - d2 * (1.0 / 132))))));
}

// An angle whose sine and cosine follow it by rotation; every 512 advances they are taken
// afresh from the library, so rounding cannot build up over millions of steps. At that point
// an angle past a million turns either way is also brought back within them, the whole turns
// counted apart: however far a runaway speed turns it, it stays finite, its sector a number
// from 0 to 5 and its sine a sine. No run the page accepts comes near the bound, so no ordinary
// run's angle is ever reduced. (Checked at each advance, the bound costs the drive a few percent
// of its time.)
class Rotor
{
public:
    void set(double angle)
    {
        a = angle;
        if (!(std::fabs(a) < kBound)) wrap();
        s = std::sin(a);
        c = std::cos(a);
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
    // The angle run through since the start, radians, and the same less whole turns (within
    // kBound).
    double angle() const { return turns * kTwoPi + a; }
    double bounded() const { return a; }

private:
    static constexpr double kTwoPi = 2 * kPi;
    static constexpr double kBound = kTwoPi * (1 << 20);

    void wrap()
    {
        // fmod is exact; a non-finite angle (a speed no run accepts) starts the turn afresh.
        double r = std::fmod(a, kTwoPi);
        if (r < 0) r += kTwoPi;
        if (!(r >= 0 && r < kTwoPi)) r = 0;
        if (std::isfinite(a)) turns += std::nearbyint((a - r) / kTwoPi);
        a = r;
    }

    double a = 0, s = 0, c = 1;
    double turns = 0;
    int sinceExact = 0;
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

// The carrier triangle against which the duty cycles (0 to 1) are compared: 1 at whole
// periods and 0 half way, that is, 1 less twice the distance of t·Fsw from its nearest
// integer (remainder(t, 1/Fsw)·Fsw where that product is too large to round).
inline double carrierAt(double t, double Fsw)
{
    const double x = t * Fsw;
    if (!(std::fabs(x) < 1e15)) return 1 - 2 * std::fabs(std::remainder(t, 1 / Fsw) * Fsw);
    return 1 - 2 * std::fabs(x - std::nearbyint(x));
}
// What both halves of a run read: the input as the run uses it.
struct RunSetup
{
    explicit RunSetup(const BridgeInput &in);

    // The flag of an input that leaves nothing to simulate (flag::Refused), or 0.
    quint32 refusal() const;
    // The fastest speed of the profile while the run steps, RPM (electrical cycles per minute
    // for a linear motor).
    double fastestRpm() const;

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
            // sectors count down from 5. The index stays in 0 .. 5 whatever the angle.
            const double bounded = rotor.bounded();
            double turn = std::fmod(bounded, 2 * kPi);
            if (turn < 0) turn += 2 * kPi;
            if (!(turn >= 0 && turn < 2 * kPi)) turn = 0;
            sector = std::max(0, std::min(5, static_cast<int>(turn / (kPi / 3))));
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
                            const double bounded = rotor.bounded();
                            const double boundary = std::floor(bounded / (2 * kPi)) * 2 * kPi +
                                                    (f >= 0 ? sector + 1 : sector) * kPi / 3;
                            const double sectorEdge =
                                std::fabs((boundary - bounded) / (2 * kPi * f));
                            if (sectorEdge < next) next = sectorEdge;
                        }
                    }
                    smallest = k == 0 ? next : std::min(smallest, next);
                }
                step = smallest - 2 * s.h;
                if (!(step >= s.h)) step = s.h;
                // The predictions come from the last edges seen: where the envelope's on-time
                // is shorter than a base step no edge is seen, and they go stale. No jump holds
                // the bridge past one switching period, whatever they say.
                if (step > s.period) step = s.period;
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

} // namespace detail
} // namespace motor
