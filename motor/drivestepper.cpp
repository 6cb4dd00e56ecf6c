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

quint32 RunSetup::refusal() const
{
    if (!(std::isfinite(h) && std::isfinite(period) && h > 0)) return flag::CarrierUnusable;
    if (!(end * Fsw <= kMaxPeriods)) return flag::WindowTooLong;

    const int n =
        std::min(prof.timebase.size(), std::min(prof.fCycle.size(), prof.DutyCycleEnv.size()));
    const double *tb = prof.timebase.constData();
    const double *f = prof.fCycle.constData();
    const double *D = prof.DutyCycleEnv.constData();
    // Each segment's slopes, and the angle the rotor turns over the window: at most the faster
    // end's speed over each stretch, the last segment extended to the end as the lookup does.
    double turns = 0, fastest = 0, fastestPoint = 0;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(tb[i])) return flag::ProfileSpacing;
        if (tb[i] <= end) fastestPoint = std::max(fastestPoint, std::fabs(f[i]));
        if (i == 0) continue;
        const double dt = tb[i] - tb[i - 1];
        if (dt > 0 &&
            !(std::isfinite((f[i] - f[i - 1]) / dt) && std::isfinite((D[i] - D[i - 1]) / dt)))
            return flag::ProfileSpacing;
        const double a = std::max(tb[i - 1], 0.0), b = std::min(tb[i], end);
        const double faster = std::max(std::fabs(f[i - 1]), std::fabs(f[i]));
        if (b > a) turns += faster * (b - a);
        fastest = std::max(fastest, faster);
    }
    if (n > 0 && end > tb[n - 1]) {
        double fEnd = f[n - 1];
        if (n > 1 && tb[n - 1] > tb[n - 2])
            fEnd += (end - tb[n - 1]) * (f[n - 1] - f[n - 2]) / (tb[n - 1] - tb[n - 2]);
        const double faster = std::max(std::fabs(f[n - 1]), std::fabs(fEnd));
        turns += faster * (end - std::max(tb[n - 1], 0.0));
        fastest = std::max(fastest, faster);
    }
    if (std::isfinite(2 * kPi * turns) && std::isfinite(fastest * emfPerHz)) return 0;
    // The angle is the speed times the window, and the window may span up to kMaxPeriods
    // switching periods: of a speed of very many hertz and a period of very many seconds, the
    // one further from a turn a second is named.
    return fastestPoint * Fsw < 1 ? flag::CarrierUnusable : flag::SpeedRunaway;
}

} // namespace detail
} // namespace motor
