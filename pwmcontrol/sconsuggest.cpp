#include "pwmcontrol/sconsuggest.h"

#include "pwmcontrol/sconmath.h"
#include "values/engvalues.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scon {

namespace {

// Bias and pull resistors above this are left out of the circuit.
const double kOpenAbove = 1e9;

// What the four routines share, read once.
struct Common
{
    double vinMid = 0;
    comp dVin; // half the input span, never 0
    double outMid = 0;
    comp dOut;                // half the output span, never 0
    double vpp = 0, vmid = 0; // ramp, V
    double rout = 0;          // bridge output resistance, ohm
    double wc = 0;            // crossover, rad/s: a tenth of the switching frequency
    double fz = 0;            // integrator zero, Hz
    comp jw;                  // the signal point
    comp jw0;                 // the DC point, 0.01 Hz
    comp Tfil, Ztot, Zload;   // filter at the signal frequency
    double Rtot = 0;
};

Common readCommon(const SuggestInput &in, const pwm &part, double m)
{
    Common c;
    const bool current = isCurrentTopology(in.topology);
    c.vinMid = (in.vinMax + in.vinMin) / 2;
    c.dVin = comp((in.vinMax - in.vinMin) / 2, 0);
    if (c.dVin.real() == 0) c.dVin = comp(0.001, 0);
    c.outMid = (in.outMax + in.outMin) / 2;
    c.dOut = comp((in.outMax - in.outMin) / 2, 0);
    if (c.dOut.real() == 0) c.dOut = comp(current ? 0.001 : 0.01, 0);
    c.rout = outputResistance(part, m);
    const Ramp ramp = modulatorRamp(part, in.vcc);
    c.vpp = ramp.vpp;
    c.vmid = ramp.mid;
    c.wc = 2 * kPi * (in.fswHz / 10);
    c.fz = 0.4 * (in.fswHz / 10);
    c.jw = laplace(in.fsigHz);
    c.jw0 = comp(0, 0.06283185307179587);
    in.plant.ac(in.fsigHz, c.Tfil, c.Ztot, c.Zload);
    c.Rtot = in.plant.Rtot;
    return c;
}

// Integrator capacitor for a zero at fz: the input resistor scaled by the modulator input
// swing needed per volt of input swing, against Cint.
double integratorCap(const Common &c, const comp &B, double rin)
{
    return 1 / (2 * kPi * c.fz * (B.magnitude() * rin / c.dVin.magnitude()));
}

// Feedback resistor that makes the wanted output swing A meet the swing at the summing node.
double feedbackResistor(const Common &c, const comp &A, const comp &B, double cint, double rin)
{
    const comp Zc = inv(c.jw) / cint;
    return (A / (B / Zc + c.dVin / rin)).magnitude();
}

struct Bias
{
    double rbias = 0;
    double vbias = 0;
};

// Bias resistor that holds the summing node at Vmid with the integrator output at Vx and the
// difference amplifier at Voff; from Vcc, or when that would need a negative resistor, to 0 V.
Bias biasResistor(const Common &c, double cint, double rin, double rf, double voff, double vx,
                  double vcc)
{
    const comp Zc0 = inv(c.jw0) / cint;
    const comp Z = inv(inv(Zc0) + 1 / rin + 1 / rf);
    const comp D = inv(Z / c.vmid) - inv(Zc0 / vx) - (voff / rf + c.vinMid / rin);
    Bias b;
    b.rbias = inv(D / (vcc - c.vmid)).real();
    b.vbias = vcc;
    if (b.rbias < 0) {
        b.rbias = inv(D / (0 - c.vmid)).real();
        b.vbias = 0;
    }
    return b;
}

QString stored(double v)
{
    return eng::engString(v, QString());
}

QString storedResistor(double v)
{
    return v > kOpenAbove ? QStringLiteral("open") : stored(v);
}

class Writer
{
public:
    explicit Writer(SuggestResult &r) : r(r) {}
    void put(int key, double v, bool openAbove = false)
    {
        r.value[key] = v;
        r.stored.append({key, openAbove ? storedResistor(v) : stored(v)});
    }
    void putZero(int key)
    {
        r.value[key] = 0;
        r.stored.append({key, QStringLiteral("0")});
        leftOut[key] = true;
    }
    // A part the routine leaves out on purpose, written as a computed 0.
    void putLeftOut(int key)
    {
        put(key, 0);
        leftOut[key] = true;
    }
    bool isLeftOut(int key) const { return leftOut[key]; }

private:
    SuggestResult &r;
    bool leftOut[ValueCount] = {};
};

} // namespace

SuggestResult suggest(const SuggestInput &in, const pwm &part)
{
    SuggestResult r;
    std::fill(std::begin(r.value), std::end(r.value), std::numeric_limits<double>::quiet_NaN());
    auto fail = [&r](const QString &why) {
        r.problem = why + QStringLiteral(": no values were suggested.");
        r.stored.clear();
        return r;
    };

    const Topology t = in.topology;
    const bool current = isCurrentTopology(t);
    const bool full = current || in.fullBridge;
    const double m = full ? 2 : 1;
    const Common c = readCommon(in, part, m);

    const double rin = eng::parseValue(in.values[Rin]);
    const double rdf = eng::parseValue(in.values[Rdf]);
    const double rs = eng::parseValue(in.values[Rs]);

    if (!std::isfinite(c.vpp) || c.vpp == 0 || !std::isfinite(in.vs / c.vpp))
        return fail(QStringLiteral("The PWM ramp amplitude is 0 (check Vcc)"));
    if (!(in.fswHz > 0)) return fail(QStringLiteral("The switching frequency must be above 0"));
    if (!isFinite(c.dVin) || !std::isfinite(c.vinMid))
        return fail(QStringLiteral("V_in Max and V_in Min are too large"));
    if (!isFinite(c.dOut) || !std::isfinite(c.outMid))
        return fail(QStringLiteral("The output range is too large"));
    // The values the user keeps must be parts the circuit can have.
    QVector<QPair<double, const char *>> kept = {{rin, "Rin"}};
    if (t != Topology::Voltage2) kept.append({rdf, "Rdf"});
    if (current) kept.append({rs, "Rs"});
    for (const auto &k : kept) {
        const QString name = QString::fromLatin1(k.second);
        if (k.first == 0) return fail(name + QStringLiteral(" cannot be 0"));
        if (k.first < 0) return fail(name + QStringLiteral(" cannot be negative"));
    }
    if (c.Rtot == 0 || c.Rtot + c.rout == 0)
        return fail(QStringLiteral("The filter and load are a short at DC"));

    Writer w(r);
    // The noise filter and the integrator's series resistor are left out.
    w.putZero(Rnf);
    w.putZero(Cnf);
    w.putZero(Rint);

    switch (t) {
    case Topology::Voltage1: {
        const double s = full ? 2 : -1; // a half bridge is sensed against the reference
        const double Gm = s * in.vs / c.vpp;
        const double vmidOut = full ? c.vmid : c.vmid + c.vpp / 2;
        const double Gdc = Gm * c.Rtot / (c.Rtot + c.rout);
        const comp H = (c.Ztot * Gm) / (c.Ztot + c.rout);
        // The largest gain that keeps the difference amplifier 1 V inside its supply.
        const double k = full
                             ? std::min((c.vmid - 1) / (in.vs - c.outMid),
                                        (in.vcc - 1 - c.vmid) / (c.outMid + in.vs))
                             : std::min((1 - c.vmid) / (c.vmid - in.vs), (in.vcc - 1) / c.vmid - 1);
        if (!std::isfinite(k) || k <= 0)
            return fail(QStringLiteral("The difference amplifier cannot keep its output inside "
                                       "Vcc for this ramp, Vs and output range"));
        const double Rsum = rdf / k;
        const double rdin = Rsum / 1.1;
        const double rdif = Rsum - rdin;
        const double cdif = 1 / (c.wc * rdif);
        const double cdf = 1 / (c.wc * rdf);
        const comp Xt = tNetwork(c.jw, rdin, rdif, cdif);
        const comp Yf = c.jw * cdf + 1 / rdf;
        const comp P = inv(Xt) / Yf;
        const comp A = P * c.dOut;
        const comp B = c.dOut / H;
        const double cint = integratorCap(c, B, rin);
        const double rf = feedbackResistor(c, A, B, cint, rin);
        const double voff = full ? c.vmid + k * c.outMid : (k + 1) * c.vmid - k * c.outMid;
        const double vx = vmidOut + c.outMid / Gdc;
        const Bias b = biasResistor(c, cint, rin, rf, voff, vx, in.vcc);
        w.put(Rbias, b.rbias, true);
        w.put(Cint, cint);
        w.put(Rdif, rdif);
        w.put(Cdif, cdif);
        w.put(Rdin, rdin);
        w.put(Cdf, cdf);
        w.put(Rf, rf);
        w.put(Vbias, b.vbias);
        w.put(Vref, c.vmid);
        break;
    }
    case Topology::Voltage2: {
        const double Gm = m * in.vs / c.vpp;
        const double vmid = full ? c.vmid : c.vmid - c.vpp / 2;
        const double Gdc = Gm * c.Rtot / (c.Rtot + c.rout);
        const comp H = (c.Ztot * Gm) / (c.Ztot + c.rout);
        const comp B = c.dOut / H;
        // The feedback resistance that gives the wanted gain, split into the T network.
        const double Rsum = rin * c.dOut.magnitude() / c.dVin.magnitude();
        const double rdin = Rsum / 1.1;
        const double rdif = Rsum - rdin;
        const double cdif = 1 / (c.wc * rdif);
        const double cint = integratorCap(c, B, rin);
        const double Gpar = 1 / Rsum + 1 / rin;
        double rbh = infiniteValue;
        double rbl = infiniteValue;
        double vref = 0;
        if (!full) {
            vref = in.vcc / 2;
            const comp Zc0 = inv(c.jw0) / cint;
            const comp Zpar = inv(c.jw0 * cint + Gpar);
            const double vx = c.outMid / Gdc + vmid;
            const double I0 = (vmid - vx) * Gdc / Rsum - c.vinMid / rin;
            const comp D = (over(vref, Zpar) - over(vx, Zc0)) + I0;
            rbh = over(in.vcc - vref, D).real();
            if (rbh < 0) {
                rbl = over(0 - vref, D).real();
                rbh = infiniteValue;
            }
        } else {
            // Keep both inputs within the middle third of Vcc.
            vref = c.outMid * rin / Rsum + c.vinMid;
            const double low = in.vcc / 3;
            const double high = in.vcc - in.vcc / 3;
            const double Rpar = 1 / Gpar;
            const double V0 = (vref / rin) * Rpar;
            double Gbh = 2.3283064370807974e-10;
            if (V0 < low) {
                rbh = (high / (low - V0)) * Rpar;
                Gbh = 1 / rbh;
            }
            const double Rpar2 = 1 / (Gpar + Gbh);
            const double V1 = (in.vs / Rsum + vref / rin + in.vcc / rbh) * Rpar2;
            if (V1 > high) rbl = Rpar2 * high / (low + V1 - in.vcc);
        }
        w.put(Rbh, rbh, true);
        w.put(Rbl, rbl, true);
        w.put(Cint, cint);
        w.put(Rdif, rdif);
        w.put(Cdif, cdif);
        w.put(Rdin, rdin);
        w.put(Vbias, in.vcc);
        w.put(Vref, vref);
        break;
    }
    case Topology::Current1:
    case Topology::Current2: {
        const bool one = t == Topology::Current1;
        const double Gm = 2 * in.vs / c.vpp;
        const double Gdc = Gm * c.Rtot / (c.Rtot + c.rout);
        const comp H = (c.Ztot * Gm) / (c.Ztot + c.rout);
        const double ks = rs / c.Rtot;
        // Bridge output swing for the wanted current swing: out of the amplifier (Current 1)
        // or through the load (Current 2).
        const comp Vamp = one ? c.dOut * c.Ztot : (c.dOut * c.Zload) / c.Tfil;
        const comp B = Vamp / H;
        double k = 0, rdin = 0, rdif = 0, cdif = 0, cdf = 0;
        comp P, A;
        if (one) {
            k = std::min((in.vcc - 1 - c.vmid) / (in.vs * ks), (c.vmid - 1) / (in.vs * ks));
            if (!std::isfinite(k) || k <= 0)
                return fail(QStringLiteral("The difference amplifier cannot keep its output "
                                           "inside Vcc for this ramp, Vs and Rs"));
            const double Rsum = rdf / k;
            rdin = Rsum / 1.1;
            rdif = Rsum - rdin;
            cdif = 1 / (c.wc * rdif);
            cdf = 1 / (c.wc * rdf);
            const comp Xt = tNetwork(c.jw, rdin, rdif, cdif);
            P = inv(Xt) / (c.jw * cdf + 1 / rdf);
            A = (P * over(rs, c.Ztot)) * Vamp;
        } else {
            rdin = eng::parseValue(in.values[Rdin]);
            if (!(rdin > 0)) return fail(QStringLiteral("Rdin must be above 0"));
            rdif = 0.1 * rdin;
            k = rdf / (rdin + rdif);
            cdif = 1 / (c.wc * rdif);
            const comp Xt = tNetwork(c.jw, rdin, rdif, cdif);
            P = over(rdf, Xt);
            A = ((P * over(rs, c.Zload)) * c.Tfil) * Vamp;
        }
        const double cint = integratorCap(c, B, rin);
        const double rf = feedbackResistor(c, A, B, cint, rin);
        const double voutDC = c.outMid * c.Rtot;
        const double voff = c.vmid + k * ks * voutDC;
        const double vx = voutDC / Gdc + c.vmid;
        const Bias b = biasResistor(c, cint, rin, rf, voff, vx, in.vcc);

        // Voltage feedback branch: sized against the DC loop, its zero placed below the
        // frequency where the last calculation found the peaking.
        const comp Zc0 = inv(c.jw0) / cint;
        const double Rp = 1 / (1 / rf + 1 / rin + 1 / b.rbias);
        const comp E = inv(over(Rp, Zc0) + 1);
        const comp F = inv(Zc0) + ks * Gdc * k / rf;
        const double rv = ((over(1.65 * Gdc, E)) / F).magnitude();
        const double fpk =
            eng::parseValue(in.peakText.chopped(std::min(2, int(in.peakText.size()))));
        // No peaking found: the branch is left out.
        const bool noBranch = fpk == 1 || !(fpk > 0) || !std::isfinite(fpk);
        const double cv = noBranch ? 0 : 7 / (fpk * 2 * kPi * rv);

        w.put(Rbias, b.rbias, true);
        w.put(Cint, cint);
        w.put(Rdif, rdif);
        w.put(Cdif, cdif);
        w.put(Rdin, rdin);
        if (one) w.put(Cdf, cdf);
        w.put(Rf, rf);
        if (noBranch) {
            w.putLeftOut(Cv);
            w.putLeftOut(Rv);
        } else {
            w.put(Cv, cv);
            w.put(Rv, rv);
        }
        w.put(Vbias, b.vbias);
        w.put(Vref, c.vmid);
        break;
    }
    }

    // Every value written must be usable: a voltage a number, a part a positive number that
    // its three-digit text still reads as (infiniteValue, a left-out pull resistor, is one).
    // What fails is most likely an input far beyond the part's ratings.
    for (const auto &entry : r.stored) {
        const int key = entry.first;
        if (w.isLeftOut(key)) continue;
        const double v = r.value[key];
        const bool voltage = key == Vref || key == Vbias;
        if (std::isfinite(v) && (voltage || (v > 0 && eng::parseValue(entry.second) > 0)))
            continue;
        const QString input = beyondRating(part, in.vs, in.vcc, in.fswHz);
        return fail(input.isEmpty()
                        ? QStringLiteral("The inputs give no usable %1").arg(valueKey(key).mid(4))
                        : input + QStringLiteral(" exceeds the part's rating and gives no "
                                                 "usable component values"));
    }
    return r;
}

} // namespace scon
