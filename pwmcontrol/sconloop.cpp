#include "pwmcontrol/sconloop.h"

#include "pwmcontrol/sconmath.h"
#include "values/engvalues.h"

#include <algorithm>
#include <cmath>

namespace scon {

namespace {

// What every frequency point needs of the part, the supplies and the components.
struct Circuit
{
    Topology topology = Topology::Current2;
    Values v;
    double vs = 0, vcc = 0;
    double vramp = 0, mid = 0; // modulator ramp, V
    double rout = 0;           // bridge output resistance, ohm
    double kmod = 0;           // modulator gain, V per V
    bool full = true;
    double k = 2; // 2 for a full bridge, 1 for a half bridge
    FilterPlant plant;
};

// The loop quantities at one frequency; which are set depends on the topology.
struct Point
{
    comp s, Zint, Tfil, Ztot, Zload, Hnf, P, X;
    comp Hdiff, L;           // Voltage 1
    comp Zd, Zp;             // Voltage 2 (Zp also in the current loops)
    comp Zv, Ks, Hd, Hd1, A; // current loops
    double Gsum = 0;
};

comp inputNetwork(const comp &s, const Values &v)
{
    return tNetwork(s, v[Rdin], v[Rdif], v[Cdif]);
}

Point evaluate(const Circuit &c, double f)
{
    const Values &v = c.v;
    Point p;
    p.s = laplace(f);
    p.Zint = inv(p.s) / v[Cint] + v[Rint];
    c.plant.ac(f, p.Tfil, p.Ztot, p.Zload);
    p.Hnf = inv(p.s * (v[Cnf] * v[Rnf]) + 1);
    p.P = (p.Ztot / (p.Ztot + c.rout)) * c.kmod;

    switch (c.topology) {
    case Topology::Voltage1: {
        const comp Dd = inputNetwork(p.s, v);
        const comp Ydf = p.s * v[Cdf] + 1 / v[Rdf];
        p.Hdiff = inv(Dd) / Ydf;
        p.Gsum = 1 / v[Rf] + 1 / v[Rin] + 1 / v[Rbias];
        p.Zp = inv(inv(p.Zint) + p.Gsum);
        p.L = ((p.Hnf * p.P) * p.Hdiff) / v[Rf];
        p.X = (p.L + inv(p.Zint)) * p.Zp;
        break;
    }
    case Topology::Voltage2: {
        p.Zd = inv(p.s * v[Cdif] + (1 / v[Rdif] + 1 / v[Rdin]));
        p.Gsum = 1 / v[Rdin] + 1 / v[Rin] + 1 / v[Rbh] + 1 / v[Rbl];
        p.Zp = inv(inv(p.Zint) + p.Gsum);
        if (isFinite(p.Zint)) {
            const comp num = ((((p.Hnf * p.P) * p.Zint) * p.Zd) * p.Zp) * v[Rdin] +
                             ((p.Zp * v[Rdin]) * v[Rdin]) * v[Rdif];
            const comp den =
                ((p.Zint * v[Rdin]) * v[Rdin]) * v[Rdif] - ((p.Zint * p.Zd) * p.Zp) * v[Rdif];
            p.X = num / den;
        } else {
            // An open integrator capacitor: the products above have no value, the same
            // quotient in admittances does (the integrator branch adds none).
            p.X = (inv(p.Zint) + ((p.Hnf * p.P) * p.Zd) / (v[Rdin] * v[Rdif])) /
                  (inv(p.Zp) - p.Zd / (v[Rdin] * v[Rdin]));
        }
        break;
    }
    case Topology::Current2: {
        p.Zv = inv(p.s) / v[Cv] + v[Rv];
        p.Ks = over(v[Rs], p.Zload);
        p.Hd = over(v[Rdf], inputNetwork(p.s, v));
        p.Gsum = 1 / v[Rin] + 1 / v[Rf] + 1 / v[Rbias];
        p.Zp = inv((inv(p.Zint) + inv(p.Zv)) + p.Gsum);
        p.A = (p.Hnf * p.P) * p.Tfil;
        p.X = (((p.A * p.Ks) * p.Hd) / v[Rf] + (p.A / p.Zv) / 2 + inv(p.Zint)) * p.Zp;
        break;
    }
    case Topology::Current1: {
        p.Zv = inv(p.s) / v[Cv] + v[Rv];
        p.Gsum = 1 / v[Rin] + 1 / v[Rf] + 1 / v[Rbias];
        p.Zp = inv((inv(p.Zint) + inv(p.Zv)) + p.Gsum);
        p.Ks = over(v[Rs], p.Ztot);
        const comp Ydf = p.s * v[Cdf] + 1 / v[Rdf];
        p.Hd1 = inv(inputNetwork(p.s, v)) / Ydf;
        p.X =
            (((((p.Ks * p.Hd1) / v[Rf] + (p.Tfil / p.Zv) / 2) * p.Hnf) * p.P) + inv(p.Zint)) * p.Zp;
        break;
    }
    }
    return p;
}

// The component values the topology reads.
QVector<int> valuesRead(Topology t)
{
    QVector<int> read = {Rint, Cint, Rnf, Cnf, Rdif, Cdif, Rdin};
    switch (t) {
    case Topology::Voltage1:
        return read << Rdf << Cdf << Rf << Rin << Rbias;
    case Topology::Voltage2:
        return read << Rin << Rbh << Rbl;
    case Topology::Current1:
        return read << Rdf << Cdf << Rf << Rin << Rbias << Rs << Cv << Rv;
    case Topology::Current2:
        return read << Rdf << Rf << Rin << Rbias << Rs << Cv << Rv;
    }
    return read;
}

QString notCalculated(const QString &why)
{
    return QStringLiteral("!!! %1: the loop was not calculated !!!").arg(why);
}

// What keeps the topology's formulas from a value: a part the circuit cannot have (a negative
// resistor or capacitor) or a divisor the user set to zero.
QString unusableValue(const Circuit &c)
{
    const Values &v = c.v;
    auto name = [](int value) { return valueKey(value).mid(4); };
    for (int value : valuesRead(c.topology))
        if (v[value] < 0) return notCalculated(name(value) + QStringLiteral(" cannot be negative"));
    // A ramp so small that Vs over it is no number counts as none.
    if (!std::isfinite(c.vramp) || c.vramp == 0 || !std::isfinite(c.vs / c.vramp))
        return notCalculated(QStringLiteral("The PWM ramp amplitude is 0 (check Vcc)"));
    if (c.rout + c.plant.Rtot == 0)
        return notCalculated(QStringLiteral("The amplifier output sees 0 ohm at DC"));
    QVector<int> divisors;
    switch (c.topology) {
    case Topology::Voltage1:
    case Topology::Current1:
        divisors = {Rin, Rf, Rbias, Rdf};
        break;
    case Topology::Voltage2:
        divisors = {Rin, Rbh, Rbl, Rdin, Rdif};
        break;
    case Topology::Current2:
        divisors = {Rin, Rf, Rbias};
        break;
    }
    for (int value : divisors)
        if (v[value] == 0) return notCalculated(name(value) + QStringLiteral(" cannot be 0"));
    if (c.topology != Topology::Voltage2 && v[Rdin] + v[Rdif] == 0)
        return notCalculated(QStringLiteral("Rdin + Rdif cannot be 0"));
    if (isCurrentTopology(c.topology)) {
        if (c.plant.Rtot == 0)
            return notCalculated(QStringLiteral("The filter and load are a short at DC"));
        if (c.plant.Rload == 0)
            return notCalculated(QStringLiteral("The load is a short at DC"));
    }
    return QString();
}

// Why the gain has no value at some frequency: a supply beyond the part's ratings is the
// likely cause; otherwise the component values are out of any usable scale.
QString overflow(const Circuit &c, const pwm &part)
{
    const QString input = beyondRating(part, c.vs, c.vcc, 0);
    if (!input.isEmpty())
        return notCalculated(input +
                             QStringLiteral(" exceeds the part's rating and the loop gain is not "
                                            "finite"));
    return notCalculated(QStringLiteral("The loop gain is not finite for these component values"));
}

void setRange(LoopResult &r, int range, double centre, double amplitude, bool label = true)
{
    r.written[range] = true;
    r.showLabel[range] = label;
    r.centre[range] = centre;
    r.amplitude[range] = amplitude;
    // Beyond a gigavolt or gigaampere a range is the stand-in of a division by zero (the comp
    // rules' infiniteValue), not a figure.
    const double kNoFigureAbove = 1e9;
    r.known[range] = std::isfinite(centre) && std::isfinite(amplitude) &&
                     std::fabs(centre) + std::fabs(amplitude) < kNoFigureAbove;
    r.text[range] = r.known[range] ? rangeText(range, centre, amplitude) : noRangeText(range);
}

bool outside(double centre, double amplitude, double low, double high)
{
    return centre + amplitude > high || centre - amplitude < low;
}

} // namespace

QString rangeHeading(int range)
{
    switch (range) {
    case IntegratorOut:
        return QStringLiteral("Integrator Output:\n");
    case PwmOut:
        return QStringLiteral("PWM Output (Vs * Duty Cycle):\n");
    case DiffAmpOut:
        return QStringLiteral("Diff Amp Output: \n");
    case IntegratorCmIn:
        return QStringLiteral("Integrator CM Input:\n");
    case PwmOutCurrent:
        return QStringLiteral("PWM Output Current (w/o ripple):\n");
    case LoadCurrent:
        return QStringLiteral("I through Load:\n");
    case LoadVoltage:
        return QStringLiteral("V at Load:\n");
    default:
        return QString();
    }
}

QString noRangeText(int range)
{
    return rangeHeading(range) + eng::noResultText();
}

QString rangeText(int range, double centre, double amplitude)
{
    const bool amperes = range == PwmOutCurrent || range == LoadCurrent;
    return rangeHeading(range) + eng::number2String(centre - amplitude) + QStringLiteral(" to ") +
           eng::number2String(centre + amplitude) +
           (amperes ? QStringLiteral(" A") : QStringLiteral(" V"));
}

double phaseFromPeaking(double pk)
{
    return 50 - 5.63 * pk + 0.223 * pk * pk - 0.00305 * std::pow(pk, 3.0);
}

LoopResult analyseLoop(const LoopInput &in, const pwm &part)
{
    LoopResult r;
    Circuit c;
    c.topology = in.topology;
    c.v = readValues(in.values);
    c.vs = in.vs;
    c.vcc = in.vcc;
    c.plant = in.plant;
    const bool current = isCurrentTopology(in.topology);
    c.full = current ? true : in.fullBridge;
    c.k = c.full ? 2 : 1;

    const Ramp ramp = modulatorRamp(part, c.vcc);
    c.vramp = ramp.vpp;
    c.mid = ramp.mid;
    c.rout = outputResistance(part, c.k);
    if (in.topology == Topology::Current1) c.rout += c.v[Rs];
    c.kmod = current ? (c.vs + c.vs) / c.vramp : c.k * c.vs / c.vramp;

    r.problem = unusableValue(c);
    if (!r.problem.isEmpty()) return r;

    // Sweep: 400 points from 1 Hz in steps of 10^0.015, then the signal frequency.
    r.freqHz.resize(400);
    r.gainDb.resize(400);
    double f = 1;
    Point atSignal;
    for (int i = 0; i <= 400; ++i) {
        if (i == 400)
            f = in.fsigHz;
        else if (i > 0)
            f *= 1.035142166679344;
        const Point p = evaluate(c, f);
        if (i == 400) {
            atSignal = p;
            break;
        }
        const double y = std::log10(1.0 / p.X.magnitude()) * 20;
        r.freqHz[i] = f;
        r.gainDb[i] = y;
        if (i == 0) {
            r.gainMax = r.gainMin = y;
            r.peakHz = 1;
        } else {
            if (y > r.gainMax) {
                r.gainMax = y;
                r.peakHz = f;
            }
            if (y < r.gainMin) r.gainMin = y;
        }
    }
    r.peakingDb = r.gainDb[0] > 0 ? std::fabs(r.gainMax - r.gainDb[0]) : std::fabs(r.gainMax);
    r.phaseDeg = phaseFromPeaking(r.peakingDb);
    const bool finiteGain = std::all_of(r.gainDb.cbegin(), r.gainDb.cend(),
                                        [](double y) { return std::isfinite(y); });
    if (!finiteGain || !std::isfinite(r.phaseDeg)) {
        // No peaking or phase can be read from a response that is not a number somewhere.
        r.problem = overflow(c, part);
        r.freqHz.clear();
        r.gainDb.clear();
        return r;
    }

    // Operating ranges: DC point at 0.01 Hz, AC swing at the signal frequency.
    const Values &v = c.v;
    const double vref = v[Vref];
    const double vbias = v[Vbias];
    const double vinMid = (in.vinMax + in.vinMin) * 0.5;
    const double vinHalf = (in.vinMax - in.vinMin) * 0.5;
    const comp sdc = laplace(0.01);
    const comp ZintDc = inv(sdc) / v[Cint] + v[Rint];
    const comp ZvDc = inv(sdc) / v[Cv] + v[Rv];
    const double Gfil = c.plant.Gfil;
    const double Rtot = c.plant.Rtot;
    const double Rload = c.plant.Rload;
    const double Gd = v[Rdf] / (v[Rdin] + v[Rdif]);
    const Point &p = atSignal;
    const comp HP = p.Hnf * p.P;

    switch (in.topology) {
    case Topology::Voltage1: {
        // A half bridge senses one output against the reference: the difference amplifier
        // then adds (1 + Gd)·Vref and inverts the output.
        const double a = c.full ? 1 : 1 + Gd;
        const double b = c.full ? Gd : -Gd;
        const double M = c.full ? c.mid : c.mid + c.vramp / 2;
        const double kdc = c.full ? 2 : -1;
        const double Kdc = (c.vs / c.vramp) * kdc * (Rtot / (c.rout + Rtot));
        const comp ZparDc = inv(inv(ZintDc) + p.Gsum);
        const comp Y = inv(ZparDc);
        const comp N =
            (Y - a / v[Rf]) * vref + (M * b * Kdc / v[Rf] - vbias / v[Rbias] - vinMid / v[Rin]);
        const comp D = inv(ZintDc) + b * Kdc / v[Rf];
        const double Vint = (N / D).magnitude();
        const double Vpwm = (Vint - M) * Kdc;
        const double Vload = Gfil * Vpwm;
        const double Vdiff = a * vref + b * Vpwm;
        const comp Vo = inv((p.L + inv(p.Zint)) / (-vinHalf / v[Rin]));
        setRange(r, IntegratorOut, Vint, Vo.magnitude());
        const double pwmAmp = (HP * Vo).magnitude();
        setRange(r, PwmOut, Vpwm, pwmAmp);
        setRange(r, DiffAmpOut, Vdiff, (p.Hdiff * (HP * Vo)).magnitude());
        setRange(r, LoadVoltage, Vload, ((HP * Vo) * p.Tfil).magnitude());
        r.pwmOutRed = outside(Vpwm, pwmAmp, c.full ? -c.vs : 0, c.vs);
        break;
    }
    case Topology::Voltage2: {
        const double M = c.full ? c.mid : c.mid - c.vramp / 2;
        const double kdc = c.full ? 2 : 1;
        const double Kdc = (c.vs / c.vramp) * kdc * Rtot / (c.rout + Rtot);
        const double Rd = v[Rdif] + v[Rdin];
        const double Gdc = 1 / v[Rbl] + 1 / v[Rbh] + 1 / v[Rin] + 1 / Rd;
        const comp ZpDc = inv(inv(ZintDc) + Gdc);
        comp N;
        if (!c.full)
            N = inv(ZpDc / vref) + (-vinMid / v[Rin] - vbias / v[Rbh] + Kdc * M / Rd);
        else
            // The bias of both inputs of the differential integrator cancels.
            N = comp((vref - vinMid) / v[Rin] + Kdc * M / Rd, 0);
        const comp D = inv(ZintDc) + Kdc / Rd;
        const double Vint = (N / D).magnitude();
        const double Vpwm = (Vint - M) * Kdc;
        const double Vload = Gfil * Vpwm;
        double cm = vref;
        if (c.full)
            cm = (ZpDc * (comp(vref / v[Rin] + vbias / v[Rbh], 0) +
                          0.5 * Kdc * (c.mid + c.vramp / 2 - Vint) / Rd))
                     .magnitude();
        const comp Vo = comp(0 - vinHalf, 0) /
                        ((((p.Zd * p.Hnf) * p.P) / v[Rdin] / v[Rdif] + inv(p.Zint)) * v[Rin]);
        const comp Vp = HP * Vo;
        double cmAmp = 0;
        if (c.full) {
            const comp ZpSig = inv(inv(p.Zint) + p.Gsum);
            cmAmp = ((Vp / ((over(v[Rdin] * v[Rdif], ZpSig) / p.Zd) - v[Rdif] / v[Rdin])) / 2)
                        .magnitude();
        }
        setRange(r, IntegratorOut, Vint, Vo.magnitude());
        setRange(r, PwmOut, Vpwm, Vp.magnitude());
        setRange(r, IntegratorCmIn, cm, cmAmp, c.full);
        setRange(r, LoadVoltage, Vload, (Vp * p.Tfil).magnitude());
        r.pwmOutRed = outside(Vpwm, Vp.magnitude(), c.full ? -c.vs : 0, c.vs);
        break;
    }
    case Topology::Current1:
    case Topology::Current2: {
        const bool one = in.topology == Topology::Current1;
        const double M = c.mid;
        const double Kdc = (c.vs / c.vramp + c.vs / c.vramp) * Rtot / (c.rout + Rtot);
        const comp ZpDc = inv((inv(ZintDc) + inv(ZvDc)) + p.Gsum);
        // The voltage feedback branch sees half the load voltage.
        const comp Lc = one ? (over(Kdc * Gfil, ZvDc)) / 2 + Gd * (v[Rs] / Rtot) * Kdc / v[Rf]
                            : (over(Kdc * ((Rload + Rtot) / (2 * Rtot)), ZvDc)) / 2 +
                                  Gd * (v[Rs] / Rtot) * Kdc / v[Rf];
        const comp N =
            (((inv(ZpDc) - 1 / v[Rf]) * vref - (vbias / v[Rbias] + vinMid / v[Rin])) + Lc * M) -
            (over((0.5 * c.vramp) * Kdc, ZvDc)) / 2;
        const comp D = inv(ZintDc) + Lc;
        const double Vint = (N / D).real();
        const double Vpwm = (Vint - M) * Kdc;
        const double Vload = Gfil * Vpwm;
        const double Iload = Vload / Rload;
        const double Vdiff = vref + Gd * (v[Rs] / Rtot) * Vpwm;
        comp Vo;
        if (one)
            Vo = inv(
                (((((p.Ks * p.Hd1) / v[Rf] + (p.Tfil / p.Zv) / 2) * p.P) * p.Hnf) + inv(p.Zint)) /
                (-vinHalf / v[Rin]));
        else
            Vo = comp(-vinHalf / v[Rin], 0) /
                 (((p.A * p.Ks) * p.Hd) / v[Rf] + (p.A / p.Zv) / 2 + inv(p.Zint));
        const comp Vp = HP * Vo;
        const double pwmAmp = Vp.magnitude();
        setRange(r, IntegratorOut, Vint, Vo.magnitude());
        setRange(r, PwmOut, Vpwm, pwmAmp);
        if (one) {
            const double Iout = Vpwm / Rtot;
            const double ioutAmp = (Vp / p.Ztot).magnitude();
            setRange(r, PwmOutCurrent, Iout, ioutAmp);
            setRange(r, DiffAmpOut, Vdiff, ((p.Hd1 * p.Ks) * Vp).magnitude());
            r.currentOutRed = std::fabs(Iout + ioutAmp) > part.getI_cont() ||
                              std::fabs(Iout - ioutAmp) > part.getI_cont();
        } else {
            setRange(r, DiffAmpOut, Vdiff,
                     ((((Vp * p.Tfil) / p.Zload) * v[Rs]) * p.Hd).magnitude());
        }
        setRange(r, LoadCurrent, Iload, ((Vp * p.Tfil) / p.Zload).magnitude());
        setRange(r, LoadVoltage, Vload, (Vp * p.Tfil).magnitude());
        r.pwmOutRed = outside(Vpwm, pwmAmp, -c.vs, c.vs);
        break;
    }
    }
    // The comp rules turn a division by an infinite swing into a stand-in number: an input
    // range beyond any number leaves every range unknown.
    const bool inputKnown = std::isfinite(vinMid) && std::isfinite(vinHalf);
    for (int i = 0; i < RangeCount && !inputKnown; ++i) {
        if (!r.written[i]) continue;
        r.known[i] = false;
        r.text[i] = noRangeText(i);
    }
    if (!std::all_of(std::begin(r.known), std::end(r.known), [](bool k) { return k; })) {
        if (!inputKnown)
            r.rangeProblem = QStringLiteral("!!! V_in Max and V_in Min are too large: the "
                                            "operating ranges were not calculated !!!");
        else
            r.rangeProblem = QStringLiteral("!!! The operating ranges have no usable value for "
                                            "these component values: they were not "
                                            "calculated !!!");
    }
    return r;
}

} // namespace scon
