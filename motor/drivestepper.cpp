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

} // namespace detail
} // namespace motor
