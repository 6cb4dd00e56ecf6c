#include "pwmpower/pwmnetwork.h"

#include "values/engvalues.h"

#include <cmath>
#include <limits>

namespace pwmpower {

Triple tripleOf(const QString t[3])
{
    return {t[0], t[1], t[2]};
}

void storeTriple(QString t[3], const Triple &v)
{
    t[0] = v.L;
    t[1] = v.R;
    t[2] = v.C;
}

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.141592653589793;
const double kInf = std::numeric_limits<double>::infinity();

// A missing inductor is a short, a missing capacitor open: both are what a part typed as
// "0", "0", "0" evaluates to, without the line factors.
const Triple kMissing{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};

struct Parsed
{
    double L = 0, R = 0;
    double wC = 0; // capacitive term, siemens
};

// The capacitance is tested as a word first: "short" is a capacitor of no reactance at any
// frequency (even DC), "open" none; any other text is a value, so "0" or "" are open.
Parsed parse(const Triple &t, double w)
{
    Parsed p;
    p.L = eng::parseValue(t.L);
    p.R = eng::parseValue(t.R);
    if (t.C == QLatin1String("short"))
        p.wC = infiniteValue;
    else if (t.C == QLatin1String("open"))
        p.wC = 0;
    else
        p.wC = eng::parseValue(t.C) * w;
    return p;
}

// ---- complex form

comp seriesBranch(const Parsed &p, double w)
{
    return comp(p.R, w * p.L - 1.0 / p.wC); // 1/0 is +inf: the open capacitor
}

comp inductorElement(const Parsed &p, double w, double factor)
{
    const comp one(1, 0);
    return one / (one / comp(p.R, w * p.L) + comp(0, p.wC)) * factor;
}

comp parallel(const comp &a, const comp &b)
{
    const comp one(1, 0);
    return one / (one / a + one / b);
}

comp parallel(const comp &a, const comp &b, const comp &c)
{
    const comp one(1, 0);
    return one / (one / a + one / b + one / c);
}

// ---- magnitude and angle form

struct Polar
{
    double mag = 0;
    double ang = 0; // radians, principal value
};

// arctan(num / den); 0/0 (a part of no impedance at all) lies at angle 0.
double principalAngle(double num, double den)
{
    if (num == 0 && den == 0) return 0;
    return std::atan(num / den);
}

Polar branchPolar(const Parsed &p, double w)
{
    const double X = w * p.L - 1.0 / p.wC;
    return {std::sqrt(p.R * p.R + X * X), principalAngle(X, p.R)};
}

// R in series with L, with the parasitic capacitance across both, as an admittance G + jB
// whose B counts inductive susceptance positive.
Polar inductorPolar(const Parsed &p, double w, double factor)
{
    const double wL = w * p.L;
    const double zRL = std::sqrt(wL * wL + p.R * p.R);
    if (zRL == 0) return {0, 0}; // no resistance and no reactance: a short, whatever C is across it
    double G = 0, B = 0;
    if (p.L == 0) {
        G = 1 / zRL;
    } else {
        const double theta = principalAngle(wL, p.R);
        G = std::cos(theta) / zRL;
        B = std::sin(theta) / zRL;
    }
    B -= p.wC;
    return {factor / std::sqrt(G * G + B * B), principalAngle(B, G)};
}

template <typename... Parts> Polar parallelPolar(const Parts &...parts)
{
    double G = 0, B = 0;
    for (const Polar &p : {parts...}) {
        if (p.mag == 0) return {0, 0}; // a short across the node
        G += std::cos(p.ang) / p.mag;
        B += std::sin(p.ang) / p.mag;
    }
    if (G == 0 && B == 0)
        return {kInf, 0}; // nothing conducts: an open node, infinite but not undefined
    return {1 / std::sqrt(G * G + B * B), principalAngle(B, G)};
}

template <typename... Parts> Polar seriesPolar(const Parts &...parts)
{
    double re = 0, im = 0;
    for (const Polar &p : {parts...}) {
        re += p.mag * std::cos(p.ang);
        if (p.ang != 0) // keeps an infinite magnitude at angle 0 from making inf * 0
            im += p.mag * std::sin(p.ang);
    }
    return {std::sqrt(re * re + im * im), principalAngle(im, re)};
}

struct Phasor
{
    double re = 0, im = 0;
    double mag() const { return std::sqrt(re * re + im * im); }
    double arg() const { return std::atan2(im, re); }
    Phasor operator-(const Phasor &o) const { return {re - o.re, im - o.im}; }
};

// Everything of one magnitude-angle evaluation: the element impedances (with their line
// factors), the impedances looking into each inductor, and the node voltages V0..V3.
struct PolarNetwork
{
    Polar Z[6];
    Polar load, Zin1, Zin3, Zin5; // Zin1 = Ztot, Zin3 = ZD, Zin5 = ZB
    Phasor V[4];
};

PolarNetwork evaluatePolar(const Network &net, double freqHz, double drive, Drive kind)
{
    const double w = kTwoPi * freqHz;
    PolarNetwork pn;
    for (int k = 0; k < 6; ++k) {
        const bool present = k < net.order;
        const Parsed p = parse(present ? net.P[k] : kMissing, w);
        if (k % 2 == 0) {
            pn.Z[k] = inductorPolar(p, w, present ? net.seriesFactor() : 1.0);
        } else {
            pn.Z[k] = branchPolar(p, w);
            if (present) pn.Z[k].mag *= net.shuntFactor();
        }
    }
    if (net.extendedLoad) {
        Polar b[5];
        for (int i = 0; i < 5; ++i)
            b[i] = branchPolar(parse(net.L[i], w), w);
        pn.load = seriesPolar(parallelPolar(b[0], b[1]), parallelPolar(b[2], b[3], b[4]));
    } else {
        pn.load = branchPolar(parse(net.L[4], w), w);
    }
    const Polar mn = branchPolar(parse(net.MN, w), w);

    const Polar ZA = parallelPolar(pn.load, mn, pn.Z[5]);
    pn.Zin5 = seriesPolar(ZA, pn.Z[4]);
    const Polar ZC = parallelPolar(pn.Zin5, pn.Z[3]);
    pn.Zin3 = seriesPolar(ZC, pn.Z[2]);
    const Polar ZE = parallelPolar(pn.Zin3, pn.Z[1]);
    pn.Zin1 = seriesPolar(ZE, pn.Z[0]);

    double v0 = 0;
    if (kind == Drive::Voltage)
        v0 = drive;
    else if (kind == Drive::Current && drive != 0)
        v0 = drive * pn.Zin1.mag;
    pn.V[0] = {v0, 0};

    // Down the ladder: each series inductor drops its share of the voltage it is fed.
    const Polar *series[3] = {&pn.Z[0], &pn.Z[2], &pn.Z[4]};
    const Polar *into[3] = {&pn.Zin1, &pn.Zin3, &pn.Zin5};
    for (int s = 0; s < 3; ++s) {
        const Phasor &prev = pn.V[s];
        Phasor drop;
        const double vm = prev.mag();
        if (series[s]->mag != 0 && vm != 0) {
            const double dm = vm * series[s]->mag / into[s]->mag;
            const double da = prev.arg() + series[s]->ang - into[s]->ang;
            drop = {dm * std::cos(da), dm * std::sin(da)};
        }
        pn.V[s + 1] = prev - drop;
    }
    return pn;
}

// ---- DC form

double dcInductor(const Triple &t, double factor)
{
    double r = factor * eng::parseValue(t.R);
    if (t.L == QLatin1String("open")) r = infiniteValue;
    if (t.C == QLatin1String("short")) r = 0;
    return r;
}

// A capacitor, the matching network or a load branch blocks DC unless its capacitance is
// the word "short".
double dcBlocking(const Triple &t, double factor)
{
    double r = factor * eng::parseValue(t.R);
    if (t.L == QLatin1String("open")) r = infiniteValue;
    if (t.C != QLatin1String("short")) r = infiniteValue;
    return r;
}

// The voltage lost across a series resistance; none across a part of no resistance, even when
// everything behind it is shorted too.
double dcDrop(double rSeries, double v, double rInto)
{
    return rSeries == 0 ? 0 : rSeries * v / rInto;
}

} // namespace

Drive driveFromChar(char VorI)
{
    if (VorI == 'V') return Drive::Voltage;
    if (VorI == 'I') return Drive::Current;
    return Drive::None;
}

Transfer transferAt(const Network &net, double freqHz)
{
    const double w = kTwoPi * freqHz;
    comp Z[6];
    for (int k = 0; k < 6; ++k) {
        const bool present = k < net.order;
        const Parsed p = parse(present ? net.P[k] : kMissing, w);
        if (k % 2 == 0)
            Z[k] = inductorElement(p, w, present ? net.seriesFactor() : 1.0);
        else
            Z[k] = seriesBranch(p, w) * (present ? net.shuntFactor() : 1.0);
    }
    comp Zload;
    if (net.extendedLoad) {
        comp b[5];
        for (int i = 0; i < 5; ++i)
            b[i] = seriesBranch(parse(net.L[i], w), w);
        Zload = parallel(b[0], b[1]) + parallel(b[2], b[3], b[4]);
    } else {
        Zload = seriesBranch(parse(net.L[4], w), w);
    }
    const comp Zmn = seriesBranch(parse(net.MN, w), w);

    const comp ZA = parallel(Zload, Zmn, Z[5]);
    const comp ZB = ZA + Z[4];
    const comp ZC = parallel(ZB, Z[3]);
    const comp ZD = ZC + Z[2];
    const comp ZE = parallel(ZD, Z[1]);
    const comp Ztot = ZE + Z[0];

    const comp V0(1, 0);
    const comp V1 = V0 - (V0 / Ztot) * Z[0];
    const comp V2 = V1 - (V1 / ZD) * Z[2];
    const comp V3 = V2 - (V2 / ZB) * Z[4];
    return {V3, Ztot, Zload};
}

AcResult acResponse(const Network &net, double freqHz, double drive, Drive kind)
{
    const PolarNetwork pn = evaluatePolar(net, freqHz, drive, kind);
    AcResult r;
    r.Vload = pn.V[3].mag();
    r.Zout = pn.Zin1.mag;
    r.Aout = pn.Zin1.ang * kDegreesPerRadian;
    r.Zload = pn.load.mag;
    r.Aload = pn.load.ang * kDegreesPerRadian;
    return r;
}

double filterLoss(const Network &net, double freqHz, double driveVolts)
{
    const PolarNetwork pn = evaluatePolar(net, freqHz, driveVolts, Drive::Voltage);
    // Inductors see the difference of the nodes around them, capacitors their node voltage.
    const Phasor across[6] = {pn.V[0] - pn.V[1], pn.V[1],           pn.V[1] - pn.V[2],
                              pn.V[2],           pn.V[2] - pn.V[3], pn.V[3]};
    double P = 0;
    for (int k = 0; k < net.order && k < 6; ++k) {
        const Polar &z = pn.Z[k];
        if (z.mag == 0 || std::isinf(z.mag)) continue;
        const double u = across[k].mag();
        P += u * u * std::cos(z.ang) / (2 * z.mag);
    }
    return P;
}

DcResult dcResponse(const Network &net, double drive, Drive kind)
{
    double R[6];
    for (int k = 0; k < 6; ++k) {
        const bool present = k < net.order;
        if (k % 2 == 0)
            R[k] = present ? dcInductor(net.P[k], net.seriesFactor()) : 0;
        else
            R[k] = present ? dcBlocking(net.P[k], net.shuntFactor()) : infiniteValue;
    }
    // Capacitor elements enter as conductances; an open one still leaks 1/4294967295 S.
    const double G2 = 1 / R[1], G4 = 1 / R[3], G6 = 1 / R[5];

    double Rl[5];
    for (int i = 0; i < 5; ++i)
        Rl[i] = dcBlocking(net.L[i], 1.0);
    const double Rload = net.extendedLoad
                             ? 1 / (1 / Rl[2] + 1 / Rl[3] + 1 / Rl[4]) + 1 / (1 / Rl[0] + 1 / Rl[1])
                             : Rl[4];
    const double Rmn = dcBlocking(net.MN, 1.0);

    const double RB = 1 / (1 / Rmn + 1 / Rload + G6) + R[4];
    const double RD = 1 / (G4 + 1 / RB) + R[2];
    const double Rtot = 1 / (G2 + 1 / RD) + R[0];

    double V1 = 0;
    if (kind == Drive::Voltage)
        V1 = drive - dcDrop(R[0], drive, Rtot);
    else if (kind == Drive::Current)
        V1 = drive * Rtot - drive * R[0];
    const double V2 = V1 - dcDrop(R[2], V1, RD);
    const double V3 = V2 - dcDrop(R[4], V2, RB);
    return {V3, Rtot, Rload};
}

} // namespace pwmpower
