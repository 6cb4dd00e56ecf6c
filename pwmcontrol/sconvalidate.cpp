#include "pwmcontrol/sconvalidate.h"

#include <cmath>

namespace scon {

namespace {

Note red(const char *text)
{
    return {QString::fromLatin1(text), true};
}

Note black(const char *text)
{
    return {QString::fromLatin1(text), false};
}

} // namespace

ValidateResult validate(const ValidateInput &in, const pwm &part)
{
    ValidateResult r;
    r.captions = outputCaptions(in.topology);
    const double fk = in.fswHz / 1000;

    // The thousandth of a kHz keeps a ratio of exactly 50 from warning through rounding.
    if (fk + 0.001 < 50 * in.fsigHz / 1000)
        r.notes << black("Warning: Switching Frequency should be at least 50 times Signal "
                         "Frequency for reasonable circuit suggestions.");

    if (in.vs > part.getVs_max())
        r.notes << red("!!! Vs exceeds ABS MAX !!!");
    else if (in.vs < part.getVs_min())
        r.notes << red("!!! Vs too low !!!");

    if (part.getVcc_max() == part.getVcc_min()) {
        r.vccFixed = true;
        r.vccFixedValue = part.getVcc_nom();
    } else if (in.vcc > part.getVcc_max()) {
        r.notes << red("!!! Vcc exceeds ABS MAX !!!");
    } else if (in.vcc < part.getVcc_min()) {
        r.notes << red("!!! Vcc too low !!!");
    }

    if (part.getFsw_max() == part.getFsw_min()) {
        r.fswFixed = true;
        r.fswFixedValue = part.getFsw_max() * 1000;
    } else if (fk > part.getFsw_max()) {
        r.notes << red("!!! Fsw exceeds ABS MAX !!!");
    } else if (fk < part.getFsw_min()) {
        r.notes << red("!!! Fsw too low !!!");
    }

    const double vmin = in.outMin;
    const double vmax = in.outMax;
    if (vmin > vmax) r.notes << red("!!! Vout_Min must not exceed Vout_Max !!!");
    // Also in the current topologies, where the field holds amperes: kept as the users know it.
    if (vmax > in.vs) r.notes << red("!!! Vout must not exceed Vs !!!");

    if (!isCurrentTopology(in.topology)) {
        if (!in.fullBridge) {
            if (vmin < 0) r.notes << red("!!! Vout cannot go negative in a half bridge !!!");
        } else if (vmin < -in.vs) {
            r.notes << red("!!! Vout must not exceed Vs !!!");
        }
    } else {
        const double a = std::fabs(vmin);
        const double b = std::fabs(vmax);
        if (a > part.getI_pk() || b > part.getI_pk())
            r.notes << red("!!! Iout exceeds ABS MAX !!!");
        else if (a > part.getI_cont() || b > part.getI_cont())
            r.notes << black("Iout exceeds continuous rating. Unsafe for steady-state "
                             "conditions.");
        if (!in.fullBridge)
            r.notes << black("Current Feedback Configurations are not recommended for Half "
                             "Bridges. A Full Bridge will be assumed.");
    }
    return r;
}

} // namespace scon
