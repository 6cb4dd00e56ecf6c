#include "pwmpower/powersweeps.h"

#include "values/engvalues.h"

#include <cmath>

namespace pwmpower {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kSqrt2 = 1.4142135623730951;

// The smallest span a plot axis can show; anything narrower is no span.
constexpr double kNarrowestSpanHz = 1e-6;

bool ascending(double fmin, double fmax)
{
    return std::isfinite(fmin) && std::isfinite(fmax) && fmax - fmin > kNarrowestSpanHz;
}

QVector<double> linearFrequencies(double fmin, double fmax)
{
    QVector<double> f(100);
    for (int i = 0; i < 100; ++i)
        f[i] = fmin + i * (fmax - fmin) / 100;
    return f;
}

// The matching network's capacitance as a capacitor reads it: "short" conducts, "open" not.
double capacitance(const QString &text)
{
    if (text == QLatin1String("short")) return infiniteValue;
    if (text == QLatin1String("open")) return 0;
    return eng::parseValue(text);
}

} // namespace

Span linearSpan(const SweepRange &range, double FsigHz)
{
    Span s;
    s.fmin = range.minAuto ? 0 : range.fmin;
    s.fmax = range.maxAuto ? 3 * FsigHz : range.fmax;
    if (!ascending(s.fmin, s.fmax)) s = {0, 3 * kDefaultSpanFsigHz, true};
    return s;
}

Span logSpan(const SweepRange &range, double FsigHz)
{
    Span s;
    s.fmin = range.minAuto || range.fmin == 0 ? 1 : range.fmin;
    s.fmax = range.maxAuto ? std::pow(10.0, 2 * std::log10(FsigHz)) : range.fmax;
    if (!ascending(s.fmin, s.fmax) || s.fmax / s.fmin < 1.001)
        s = {1, kDefaultSpanFsigHz * kDefaultSpanFsigHz, true};
    return s;
}

OutputSweep outputSweep(const Network &net, const pwm &part, const PowerInput &in, double Piq,
                        const SweepRange &range)
{
    OutputSweep s;
    const Span span = linearSpan(range, in.FsigHz);
    s.fmin = span.fmin;
    s.fmax = span.fmax;
    s.defaultSpan = span.fallback;
    s.f = linearFrequencies(s.fmin, s.fmax);
    s.f << 59.9 << 60.1;

    const double A = (in.Vmax - in.Vmin) / 2;
    const double D = (in.Vmax + in.Vmin) / 2;
    const double Rt25 = part.topResistance(25), Rb25 = part.bottomResistance(25);
    const double wires = part.getTop_wire() + part.getBot_wire();
    const double edges = part.getT_rise() + part.getT_fall(); // ns
    const double Rm = eng::parseValue(net.MN.R);
    const double Lm = eng::parseValue(net.MN.L);
    const double Cm = capacitance(net.MN.C);

    const int n = s.f.size();
    for (QVector<double> *v : {&s.Iout, &s.IL, &s.Vout, &s.VL, &s.Pfil, &s.Sload, &s.Pload, &s.PRm,
                               &s.Pint, &s.effApparent, &s.effTrue})
        v->resize(n);

    double hottest = 0;
    for (int i = 0; i < n; ++i) {
        const double f = s.f[i];
        const OperatingPoint op = operatingPoint(net, D, A, f, in.currentMode);
        const double Iout = std::sqrt(op.Iac * op.Iac / 2 + op.Idc * op.Idc);
        const double IL = std::sqrt(op.IacL * op.IacL / 2 + op.IdcL * op.IdcL);
        const double Vout = std::sqrt(op.Vac * op.Vac / 2 + op.Vdc * op.Vdc);
        const double VL = std::sqrt(op.VloadDC * op.VloadDC + op.Vload * op.Vload / 2);

        SwitchCurrents sw = switchCurrents(op.Idc, op.Iac);
        if (f < 60) { // a switch then heats through a whole half-cycle
            sw.top *= kSqrt2;
            sw.bot *= kSqrt2;
        }

        const double w = kTwoPi * f;
        const double Xm = Lm * w - 1 / (w * Cm);
        const double Zm2 = Xm * Xm + Rm * Rm;
        const double PRm = Rm == 0 ? 0 : VL * VL * Rm / Zm2;

        const double Sload = IL * VL;
        const double Pload = Sload * std::cos(op.Aload * kPi / 180);
        // The loss formula takes a peak drive: the rms output as the amplitude of the same
        // power.
        const double Pfil = filterLoss(net, f, kSqrt2 * Vout);

        const double Ptop = part.getTop_V() * sw.top + Rt25 * sw.top * sw.top +
                            sw.top * in.Vs * 0.5 * in.FswHz * edges / 1e9;
        const double Pbot = part.getBot_V() * sw.bot + Rb25 * sw.bot * sw.bot +
                            sw.bot * in.Vs * 0.5 * in.FswHz * edges / 1e9;
        double Pint = Iout * Iout * wires + Piq + Ptop + Pbot;
        if (in.fullBridge) Pint += Ptop + Pbot;

        const double Ptot = Pint + Pfil + PRm + Pload;
        s.Iout[i] = Iout;
        s.IL[i] = IL;
        s.Vout[i] = Vout;
        s.VL[i] = VL;
        s.Pfil[i] = Pfil;
        s.Sload[i] = Sload;
        s.Pload[i] = Pload;
        s.PRm[i] = PRm;
        s.Pint[i] = Pint;
        s.effApparent[i] = Ptot == 0 ? 0 : Sload * 100 / Ptot;
        s.effTrue[i] = Ptot == 0 ? 0 : Pload * 100 / Ptot;
        if (Pint > hottest) {
            hottest = Pint;
            s.hotSpot = f;
        }
    }
    return s;
}

ImpedanceSweep impedanceSweep(const Network &net, double FsigHz, const SweepRange &range)
{
    ImpedanceSweep s;
    const Span span = linearSpan(range, FsigHz);
    s.fmin = span.fmin;
    s.fmax = span.fmax;
    s.defaultSpan = span.fallback;
    s.f = linearFrequencies(s.fmin, s.fmax);
    for (double f : qAsConst(s.f)) {
        const AcResult ac = acResponse(net, f, 0, Drive::Voltage);
        s.Zout << ac.Zout;
        s.Aout << ac.Aout;
        s.Zload << ac.Zload;
        s.Aload << ac.Aload;
        s.largest = std::max(s.largest, std::max(ac.Zout, ac.Zload));
    }
    return s;
}

AttenuationSweep attenuationSweep(const Network &net, double FsigHz, const SweepRange &range)
{
    AttenuationSweep s;
    const Span span = logSpan(range, FsigHz);
    s.fmin = span.fmin;
    s.fmax = span.fmax;
    s.defaultSpan = span.fallback;
    const double step = std::pow(s.fmax / s.fmin, 0.01);
    double f = s.fmin;
    for (int i = 0; i < 100; ++i) {
        if (i > 0) f *= step;
        const double v = acResponse(net, f, 100, Drive::Voltage).Vload;
        s.f << f;
        s.dB << 20 * std::log10(v / 100);
        s.percent << (1 - v / 100) * 100;
    }
    return s;
}

} // namespace pwmpower
