#include "pwmpower/powerdetails.h"

#include <algorithm>
#include <cmath>

namespace pwmpower {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRunawayC = 500;  // a junction this hot has no balance to find
constexpr int kMaxSteps = 2000000; // 0.1 °C steps: bounds the searches for absurd ambients

} // namespace

Quiescent quiescentPower(const pwm &part, double Vs, double FswHz)
{
    const double fk = FswHz / 1000;
    double IVs = part.getIq_Vs() + part.getIq_Vs_vsF() * (fk - part.getFsw_nom()) +
                 part.getIq_Vs_vsS() * (Vs - part.getVs_nom());
    if (IVs < 0) IVs = 0;
    double IVcc = part.getIq_Vcc() + part.getIq_Vcc_vsF() * (fk - part.getFsw_nom());
    if (IVcc < 0) IVcc = 0;
    return {IVs * Vs / 1000, IVcc * part.getVcc_nom() / 1000};
}

double rippleCurrent(const Network &net, double Vs, double FswHz, bool singleEnded)
{
    const double k = singleEnded ? 1 : 2;
    const double Zsw = acResponse(net, FswHz, 0, Drive::Voltage).Zout;
    return Vs * 0.8 * k * 0.5 / Zsw;
}

double rippleVoltage(const Network &net, const pwm &part, double Vs, double FswHz)
{
    // The transfer is taken for a unit drive: it is the same ratio the signal amplitude
    // would give, and stays defined when there is no signal.
    const double kv = part.getOutputs() >= 2 ? 1.0 : 0.5;
    const double transfer = acResponse(net, FswHz, 1, Drive::Voltage).Vload;
    return kv * 1.25 * Vs * transfer;
}

OperatingPoint operatingPoint(const Network &net, double D, double A, double freqHz,
                              bool currentMode)
{
    OperatingPoint op;
    const Drive drive = currentMode ? Drive::Current : Drive::Voltage;
    const DcResult dc = dcResponse(net, D, drive);
    op.VloadDC = dc.Vload;
    if (currentMode) {
        op.Idc = D;
        op.Vdc = dc.Rtot * D;
    } else {
        op.Vdc = D;
        op.Idc = D == 0 ? 0 : D / dc.Rtot;
    }
    op.IdcL = dc.Vload == 0 ? 0 : dc.Vload / dc.Rload;

    const AcResult ac = acResponse(net, freqHz, A, drive);
    if (currentMode) {
        op.Iac = A;
        op.Vac = A * ac.Zout;
    } else {
        op.Vac = A;
        op.Iac = A == 0 ? 0 : A / ac.Zout;
    }
    op.Vload = ac.Vload;
    op.IacL = ac.Vload == 0 ? 0 : ac.Vload / ac.Zload;
    op.Aload = ac.Aload;
    return op;
}

SwitchCurrents switchCurrents(double Idc, double Iac)
{
    SwitchCurrents s;
    if (Iac != 0) {
        const double xTop = std::min(1.0, std::max(0.0, (Idc + Iac) / (2 * Iac)));
        const double xBot = std::min(1.0, std::max(0.0, (Iac - Idc) / (2 * Iac)));
        s.top = Iac * std::sqrt(0.5 * xTop);
        s.bot = Iac * std::sqrt(0.5 * xBot);
    }
    if (Idc > 0) s.top = std::sqrt(s.top * s.top + Idc * Idc);
    if (Idc < 0) s.bot = std::sqrt(s.bot * s.bot + Idc * Idc);
    return s;
}

PowerDetails analysePwmPower(const PowerInput &in, const pwm &part, const Network &net)
{
    PowerDetails r;
    const double fk = in.FswHz / 1000;
    r.quiescent = quiescentPower(part, in.Vs, in.FswHz);
    const double PVs = r.quiescent.PVs;
    r.Piq = r.quiescent.PVs + r.quiescent.PVcc;
    r.Iripple = rippleCurrent(net, in.Vs, in.FswHz, in.singleEnded);
    r.Vripple = rippleVoltage(net, part, in.Vs, in.FswHz);

    const double A = (in.Vmax - in.Vmin) * 0.5;
    const double D = (in.Vmax + in.Vmin) * 0.5;
    const OperatingPoint op = operatingPoint(net, D, A, in.FsigHz, in.currentMode);

    const double VLrms = std::sqrt(op.VloadDC * op.VloadDC + op.Vload * op.Vload / 2);
    const double ILrms = std::sqrt(op.IdcL * op.IdcL + op.IacL * op.IacL / 2);
    const double Irms = std::sqrt(op.Idc * op.Idc + op.Iac * op.Iac / 2);
    r.Pout = VLrms * ILrms * std::cos(op.Aload * kPi / 180);

    const SwitchCurrents sw = switchCurrents(op.Idc, op.Iac);
    const double Itop = sw.top, Ibot = sw.bot;
    r.Pwire = (part.getTop_wire() + part.getBot_wire()) * Irms * Irms;

    const double thetaJC = part.getRtheta_DC();
    const double thetaFree = part.getRtheta_JA() - part.getRtheta_DC();
    const double thetaTIM = in.compound;
    const double thetaSink = in.noHeatsink ? thetaFree : in.heatsink;

    const double tEdges = part.getT_rise() + part.getT_fall(); // ns
    const double Ptop0 = tEdges * Itop * in.Vs * 0.5 * fk / 1e6 + part.getTop_V() * Itop;
    const double Pbot0 = tEdges * in.Vs * 0.5 * Ibot * fk / 1e6 + part.getBot_V() * Ibot;
    const double kb = in.fullBridge ? 2 : 1;
    auto Ptop = [&](double T) { return (part.topResistance(T) * Itop * Itop + Ptop0) * kb; };
    auto Pbot = [&](double T) { return (part.bottomResistance(T) * Ibot * Ibot + Pbot0) * kb; };
    auto Psw = [&](double T) { return Ptop(T) + Pbot(T); };
    auto Tc = [&](double T) { return T - (PVs + Psw(T)) * thetaJC; };
    auto thetaReq = [&](double T) {
        return (Tc(T) - in.Ta) / (Psw(T) + r.Piq + r.Pwire) - thetaTIM;
    };

    // The hottest case (and the heatsink for it) at which neither limit is passed yet.
    double T = in.Ta;
    for (int step = 0; step < kMaxSteps; ++step) {
        if (Tc(T) > part.getTc_max() || T > part.getTj_max()) break;
        r.TcLimit = Tc(T);
        r.thetaMax = thetaReq(T);
        T = T + 0.1;
    }

    // The junction temperature at which the heatsink given carries the heat away.
    T = in.Ta;
    for (int step = 0; step < kMaxSteps; ++step) {
        if (thetaReq(T) > thetaSink || T > kRunawayC) break;
        T = T + 0.1;
    }
    r.Tj = T;
    r.Tc = Tc(T);
    r.Ptop = Ptop(T);
    r.Pbot = Pbot(T);
    r.runaway = r.Tj > kRunawayC;
    r.Pamp = r.Piq + r.Pwire + r.Ptop + r.Pbot;
    r.heatsinkNeeded = thetaTIM + r.thetaMax < thetaFree;

    const double Rt = part.topResistance(r.Tj), Rb = part.bottomResistance(r.Tj);
    const double Dmax = part.getMaxDutyCycle();
    const double Vs = in.Vs;
    double Shi = 0, Slo = 0;
    r.Vhi = Dmax * Vs - Rt * Itop - part.getTop_V();
    Shi = Vs - Rt * Itop - part.getTop_V();
    if (in.singleEnded) {
        r.Vlo = (1 - Dmax) * Vs + Rb * Ibot + part.getBot_V();
        Slo = Rb * Ibot + part.getBot_V();
    } else {
        r.Vlo = -Dmax * Vs + Rb * Ibot + part.getBot_V();
        Slo = Rb * Ibot - Vs + part.getBot_V();
    }

    const double top = op.Vdc + op.Vac, bottom = op.Vdc - op.Vac;
    if (top > Shi || bottom < Slo)
        r.notes.append({QStringLiteral("Clipping Likely. Based on saturation voltage of output "
                                       "elements. Consider increasing headroom voltage between "
                                       "maximum output and supply."),
                        false});
    else if (top > r.Vhi || bottom < r.Vlo)
        r.notes.append({QStringLiteral("Duty Cycle in non-linear region. Consider increasing "
                                       "headroom voltage between maximum output and supply."),
                        false});

    const double Ipk = std::fabs(op.Idc) + op.Iac + r.Iripple;
    if (Ipk > part.getI_pk())
        r.notes.append({QStringLiteral("!!! Peak Current Specification Exceeded !!!"), true});
    else if (Ipk > part.getI_cont())
        r.notes.append({QStringLiteral("Continuous Current Specification Exceeded. Unsafe for "
                                       "Steady State Conditions."),
                        false});

    r.heatsinkRed = r.thetaMax < 0;
    if (r.heatsinkRed)
        r.notes.append({QStringLiteral("!!! Heatsink Requirements Unreasonable !!!"), true});
    r.TcRed = r.Tc > part.getTc_max();
    if (r.TcRed) r.notes.append({QStringLiteral("!!! Case Temperature too High !!!"), true});
    r.TjRed = r.Tj > part.getTj_max();
    if (r.TjRed) r.notes.append({QStringLiteral("!!! Junction Temperature too High !!!"), true});
    r.PampRed = r.Pamp > part.getPd_max();
    if (r.PampRed) r.notes.append({QStringLiteral("!!! Power Dissipation too High !!!"), true});
    if (in.Vmin > in.Vmax)
        r.notes.append(
            {QStringLiteral("!!! Minimum Output cannot exceed Maximum Output !!!"), true});
    r.TcLimitRed = in.Ta > r.TcLimit;
    return r;
}

} // namespace pwmpower
