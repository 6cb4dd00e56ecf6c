#include "soa/soawarnings.h"

namespace soa {

namespace {

SoaNote red(const char *text)
{
    return SoaNote{QString::fromLatin1(text), true};
}

} // namespace

double resultLabelNumber(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? v : 0;
}

PowerWarnings powerWarnings(const PowerWarningInput &in, const amp &part)
{
    PowerWarnings w;
    const double pdMax = part.getPd_max(0);
    w.pdRed = in.Pd > pdMax;
    if (in.Rhs < 0) {
        w.heatsinkRed = true;
        w.notes << red("!!! Heatsink Requirements Unreasonable !!! ");
    }
    if (in.Tc > part.getTc_max()) {
        w.tcRed = true;
        w.notes << red("!!! Case Temperature too High !!! ");
    }
    w.tcMaxRed = in.ambient > in.TcMax;
    if (in.Tj > part.getTj_max()) {
        w.tjRed = true;
        w.notes << red("!!! Junction Temperature too High !!! ");
    }
    if (w.pdRed) w.notes << red("!!! Power Dissipation too High !!! ");
    return w;
}

SupplyWarnings supplyWarnings(const SupplyWarningInput &in, const amp &part)
{
    SupplyWarnings w;
    const double span = in.vsPos - in.vsNeg;
    if (span > part.getVss_max()) {
        w.suppliesRed = true;
        w.notes << red("!!! Total Supply Voltage too High !!!");
    } else if (in.vsPos < in.vsNeg) {
        w.suppliesRed = true;
        w.notes << red("!!! Vs_neg may not exceed Vs_pos !!!");
    } else if (span < part.getVss_min()) {
        w.suppliesRed = true;
        w.notes << red("!!! Total Supply Voltage too Low !!!");
    }

    for (const double v : {in.maxVout, in.minVout}) {
        if (in.bridgeSame) {
            if (v > span || v < -span)
                w.notes << red("!!! V_out May Not Exceed Vs_pos - Vs_neg !!!");
        } else if (in.bridgeInverted) {
            if (v > 2 * in.vsPos || v < 2 * in.vsNeg)
                w.notes << red("!!! V_out May Not Exceed 2 * Supply !!!");
        } else if (v > in.vsPos || v < in.vsNeg) {
            w.notes << red("!!! V_out May Not Exceed Supply !!!");
        }
    }

    if (!in.dcMotor && in.minOut > in.maxOut)
        w.notes << red("!!! V_out min May Not Exceed V_out max !!!");
    return w;
}

} // namespace soa
