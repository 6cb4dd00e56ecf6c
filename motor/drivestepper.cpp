#include "motor/drivestepper.h"

namespace motor {
namespace detail {

RunSetup::RunSetup(const BridgeInput &in) : in(in), part(in.part), mc(motorConstants(in.motor))
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

    // A window that is not a number has no steps to place: every stretch would start at once.
    const bool windowFinite = std::isfinite(in.start) && std::isfinite(in.end);
    if (!windowFinite) flags |= flag::WindowNotFinite;
    start = windowFinite ? std::max(in.start, 0.0) : 0;
    end = windowFinite ? std::max(in.end, 0.0) : 0;
    if (start > end) {
        flags |= flag::BadTimescale;
        end = start;
    }
    span = end - start;
    prof = generateControlVector(in, end, &flags);

    // Without a positive switching frequency there is no carrier to step along.
    h = 1.0 / (100.0 * Fsw);
    period = 1 / Fsw;
    emfPerHz = mc.Vemf * 60 / mc.n;
    canStep = Fsw > 0 && end > 0;
    if (canStep) flags |= refusal();
    if (flags & flag::Refused) canStep = false;
    invSpan = span > 0 ? 1 / span : 0;
}

namespace {

// How far and how fast the profile turns the rotor over the run.
struct Reach
{
    double turns = 0;        // at most, from t = 0 to the end of the window
    double fastest = 0;      // Hz: the faster end of every segment that reaches into the run
    double fastestPoint = 0; // Hz: the fastest profile point up to the end of the window
    double inRun = 0;        // Hz: the fastest the run itself meets
};

// Each segment's speeds at its ends and where the run enters and leaves it, the last segment
// extended to the end as the lookup does. The segments' slopes must be finite.
Reach reachOf(const ControlProfile &prof, double end)
{
    Reach r;
    const int n =
        std::min(prof.timebase.size(), std::min(prof.fCycle.size(), prof.DutyCycleEnv.size()));
    const double *tb = prof.timebase.constData();
    const double *f = prof.fCycle.constData();
    for (int i = 0; i < n; ++i) {
        if (tb[i] <= end) r.fastestPoint = std::max(r.fastestPoint, std::fabs(f[i]));
        if (i == 0) continue;
        const double a = std::max(tb[i - 1], 0.0), b = std::min(tb[i], end);
        const double faster = std::max(std::fabs(f[i - 1]), std::fabs(f[i]));
        if (b > a) {
            r.turns += faster * (b - a);
            const double slope = (f[i] - f[i - 1]) / (tb[i] - tb[i - 1]);
            r.inRun = std::max({r.inRun, std::fabs(f[i - 1] + (a - tb[i - 1]) * slope),
                                std::fabs(f[i - 1] + (b - tb[i - 1]) * slope)});
        }
        r.fastest = std::max(r.fastest, faster);
    }
    if (n > 0 && end > tb[n - 1]) {
        double fEnd = f[n - 1];
        if (n > 1 && tb[n - 1] > tb[n - 2])
            fEnd += (end - tb[n - 1]) * (f[n - 1] - f[n - 2]) / (tb[n - 1] - tb[n - 2]);
        const double faster = std::max(std::fabs(f[n - 1]), std::fabs(fEnd));
        r.turns += faster * (end - std::max(tb[n - 1], 0.0));
        r.fastest = std::max(r.fastest, faster);
        r.inRun = std::max(r.inRun, faster);
    }
    return r;
}

} // namespace

quint32 RunSetup::refusal() const
{
    if (!(std::isfinite(h) && std::isfinite(period) && h > 0)) return flag::CarrierUnusable;
    if (!(end * Fsw <= kMaxPeriods)) return flag::WindowTooLong;

    const int n =
        std::min(prof.timebase.size(), std::min(prof.fCycle.size(), prof.DutyCycleEnv.size()));
    const double *tb = prof.timebase.constData();
    const double *f = prof.fCycle.constData();
    const double *D = prof.DutyCycleEnv.constData();
    // The lookup reads the times in order: one that goes back leaves the profile without a
    // meaning, whatever the slopes between.
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(tb[i])) return flag::ProfileSpacing;
        if (i > 0 && tb[i] < tb[i - 1]) return flag::ProfileOrder;
    }
    for (int i = 1; i < n; ++i) {
        const double dt = tb[i] - tb[i - 1];
        if (dt > 0 &&
            !(std::isfinite((f[i] - f[i - 1]) / dt) && std::isfinite((D[i] - D[i - 1]) / dt)))
            return flag::ProfileSpacing;
    }
    const Reach r = reachOf(prof, end);
    if (!(std::isfinite(2 * kPi * r.turns) && std::isfinite(r.fastest * emfPerHz))) {
        // The angle is the speed times the window, and the window may span up to kMaxPeriods
        // switching periods: of a speed of very many hertz and a period of very many seconds,
        // the one further from a turn a second is named.
        return r.fastestPoint * Fsw < 1 ? flag::CarrierUnusable : flag::SpeedRunaway;
    }
    // A rotor that turns more than a whole cycle within a base step is sampled at random
    // angles: nothing of such a run means anything, and its angle grows by up to 512 turns of
    // that size before it is reduced, which the block commutations pay for at every step.
    if (r.inRun * h > 1) return flag::SpeedRunaway;
    if (in.motor.isLinear) {
        // The position samples: the stepped angle may pass the turns counted above by one
        // step's worth at each profile point, as a step takes the speed at its end.
        const double turns = r.turns + (n + 1) * (r.fastest * period + 1);
        if (!std::isfinite(2 * turns * mc.cycleLength)) return flag::TravelRunaway;
    }
    return 0;
}

double RunSetup::fastestRpm() const
{
    const double rpm = reachOf(prof, end).inRun / mc.n * 60;
    return std::isfinite(rpm) ? rpm : std::numeric_limits<double>::max();
}

} // namespace detail
} // namespace motor
