// The inductive-load loops: a transconductance stage whose load current returns through the
// sense resistor R_S, fed back through R_IN / R_FB (path 1) and locally through R_D + C_FB
// (path 2).
#include "stability/bodemodel.h"

#include "stability/bodesteps.h"
#include "values/engvalues.h"

#include <algorithm>
#include <cmath>

namespace stab {

using namespace steps;

namespace {

// The network of the inductive-load circuit, as both inductive models read it.
struct InductiveNetwork
{
    double L = 0, Rload = 0, Rin = 0, Rfb = 0, Cfb = 0, Rd = 0, Rs = 0, G = 0;
    double RsEff = 0, Rt = 0, betaDC = 0, Gdiv = 1, Nac = 0, fzL = 0, fzC = 0;
    double RsTyped = 0; // R_S as typed, for the transconductance
};

InductiveNetwork readNetwork(const CircuitValues &v, const amp &part)
{
    InductiveNetwork n;
    n.L = eng::parseValue(v.LLoadStab);
    n.Rload = eng::parseValue(v.RloadL);
    n.Rin = eng::parseValue(v.RinL);
    n.Rfb = eng::parseValue(v.RfbL);
    n.Cfb = capacitorValue(v.CfbL);
    n.Rd = eng::parseValue(v.RdL);
    n.Rs = eng::parseValue(v.RsL);
    n.G = eng::parseValue(v.RsGainL);

    // Without a sense amplifier the feedback divider loads R_S; the typed divider does so even
    // for parts whose own network replaces it in the loop.
    n.RsEff = n.G == 0 ? n.Rs * (n.Rin + n.Rfb) / (n.Rs + n.Rin + n.Rfb) : n.Rs;
    applyCircuitType(part, v.RgStabL, n.Rin, n.Rfb, n.Cfb);
    n.Rt = n.Rload + n.RsEff;
    n.betaDC = (n.RsEff / n.Rt) * n.Rin / (n.Rin + n.Rfb);
    if (n.G != 0) n.betaDC *= n.G;
    n.Gdiv = n.G != 0 ? n.G : 1;
    n.Nac = n.Rd * (n.Rin + n.Rfb) / (n.Rin * n.Rfb) + 1;
    n.fzL = n.Rt / (n.L * 6.28318 + 1e-13);
    n.fzC = 1 / (n.Cfb * n.Rd * 6.28318 + 1e-13);
    n.RsTyped = eng::parseValue(v.RsL);
    return n;
}

double path1(const InductiveNetwork &n, double f)
{
    double b1 = 20 * std::log10(1 / n.betaDC);
    if (f > n.fzL) b1 += 20 * std::log10(f / n.fzL);
    return b1;
}

double path2(const InductiveNetwork &n, double f)
{
    double b2 = 20 * std::log10(n.Nac);
    if (f < n.fzC) b2 += 20 * std::log10(n.fzC / f);
    return b2;
}

bool inDrawnRange(double dB)
{
    return dB > -20 && dB < 140;
}

void fillFigures(BodeFigures &x, const InductiveNetwork &n, double p1, double p2, double p3)
{
    x.invBetaDC = 1 / n.betaDC;
    x.invBetaAC = n.Nac;
    x.pole1 = p1;
    x.pole2 = p2;
    x.pole3 = p3;
    x.RsEff = n.RsEff;
    x.Rt = n.Rt;
    x.fzL = n.fzL;
    x.fzC = n.fzC;
}

QStringList networkLines(double gInv, double gNon, const InductiveNetwork &n)
{
    return {QStringLiteral("Transconductance:\t") +
                eng::engString(gInv, QStringLiteral("A/V inverting, ")) +
                eng::engString(gNon, QStringLiteral("A/V non-inverting")),
            ratioLine(QStringLiteral("1/ß (DC):\t\t"), 1 / n.betaDC),
            ratioLine(QStringLiteral("1/ß (AC):\t\t"), n.Nac)};
}

// Graphs of both inductive models, which differ only in the name of the loop gain and the
// phase components of the loop.
struct InductiveCurves
{
    QVector<double> A, B1, B2, S, Phi, V, I;
    bool path1Shown = false, path2Shown = false;
};

void addInductiveGainGraphs(BodeResult &r, const QVector<double> &f, const QString &gainName,
                            const InductiveCurves &c, const QVector<double> &markerKeys)
{
    const QVector<double> markerValues{-180, 180};
    addGraph(r.gainGraphs, gainName, f, c.A, {0, 0, 255});
    if (c.path1Shown) addGraph(r.gainGraphs, QStringLiteral("1/Beta Path 1"), f, c.B1, {255, 0, 0});
    if (c.path2Shown)
        addGraph(r.gainGraphs, QStringLiteral("1/Beta Path 2"), f, c.B2, {255, 128, 0});
    addGraph(r.gainGraphs, QStringLiteral("Signal at L_LOAD"), f, c.S, {0, 0, 0}, Qt::DotLine);
    addGraph(r.gainGraphs, QStringLiteral("Closure Frequency"), markerKeys, markerValues,
             {128, 128, 128}, Qt::DashLine);
    addGraph(r.phaseGraphs, QStringLiteral("Closure Frequency"), markerKeys, markerValues,
             {128, 128, 128}, Qt::DashLine);
}

} // namespace

// ---------------------------------------------------------------- inductive load

BodeResult inductiveLoadBode(const BodeInput &in, const amp &part)
{
    const int opt = in.compOption;
    BodeResult r;
    const double A0 = part.getAol_DC();
    const double p1 = part.getPole1(opt);
    const double p2 = part.getPole2(opt);
    const double p3 = part.getPole3(opt);
    const InductiveNetwork n = readNetwork(in.values, part);
    const double gInv = (-n.Rfb / n.Rin) / n.RsTyped / n.Gdiv;
    const double gNon = (n.Rfb / n.Rin + 1) / n.RsTyped / n.Gdiv;
    fillFigures(r.figures, n, p1, p2, p3);
    r.figures.gInv = gInv;
    r.figures.gNon = gNon;

    if (in.report) {
        r.details << networkLines(gInv, gNon, n)
                  << hzLine(QStringLiteral("\nAmplifier Pole 1:\t\t"), p1)
                  << hzLine(QStringLiteral("Amplifier Pole 2:\t\t"), p2)
                  << hzLine(QStringLiteral("Amplifier Pole 3:\t\t"), p3)
                  << hzLine(QStringLiteral("\nZero R_LOAD L_LOAD:\t"), n.fzL)
                  << hzLine(QStringLiteral("Zero C_FB R_D:\t\t"), n.fzC);
    }

    const QVector<double> f = frequencyGrid();
    InductiveCurves c;
    c.A.resize(kGridPoints);
    c.B1.resize(kGridPoints);
    c.B2.resize(kGridPoints);
    c.S.resize(kGridPoints);
    QVector<double> B(kGridPoints), ph1(kGridPoints), ph2(kGridPoints), ph3(kGridPoints),
        phL(kGridPoints), phX(kGridPoints);
    bool loadZeroShown = false, zeroCrossShown = false;

    double fc = 1.0, fBW = 1.0, fX = 1.0;
    int nc = 1;
    double best = A0, bestBW = A0, bestX = A0;
    for (int i = 0; i < kGridPoints; ++i) {
        const double fi = f[i];
        double a = A0;
        for (double p : {p1, p2, p3})
            if (fi > p) a -= 20 * std::log10(fi / p);
        const double b1 = path1(n, fi);
        const double b2 = path2(n, fi);
        const double b = std::min(b1, b2);
        c.A[i] = a;
        c.B1[i] = b1;
        c.B2[i] = b2;
        B[i] = b;
        c.S[i] = std::min(a, b);
        if (inDrawnRange(b1)) c.path1Shown = true;
        if (inDrawnRange(b2)) c.path2Shown = true;

        const double d = std::fabs(a - b);
        if (d < best) {
            best = d;
            fc = fi;
            nc = i;
        }
        const double dBW = std::fabs(std::min(a, b2) - b1 - 10);
        if (dBW < bestBW) {
            bestBW = dBW;
            fBW = fi;
        }
        const double dX = std::fabs(b1 - std::min(a, b2));
        if (dX < bestX) {
            bestX = dX;
            fX = fi;
        }

        ph1[i] = lagPhase(fi, p1);
        ph2[i] = lagPhase(fi, p2);
        ph3[i] = lagPhase(fi, p3);
        phL[i] = lagPhase(fi, n.fzL);
        if (fi / n.fzL > 0.1) loadZeroShown = true;
    }
    r.figures.zeroCross = fX;
    if (in.report) r.details << hzLine(QStringLiteral("Zero Cross:\t\t"), fX);

    c.Phi.resize(kGridPoints);
    c.V.resize(kGridPoints);
    c.I.resize(kGridPoints);
    double lowest = 0;
    for (int i = 0; i < kGridPoints; ++i) {
        const double fi = f[i];
        phX[i] = leadPhase(fi, fX);
        if (fi / fX > 0.1) zeroCrossShown = true;
        const double phi = ph1[i] + ph2[i] + ph3[i] + phL[i] + phX[i];
        c.Phi[i] = phi;
        c.V[i] = (std::atan(fi / n.fzL) - std::atan(fi / fX) - std::atan(fi / fc) -
                  std::atan(fi / p2) - std::atan(fi / p3)) *
                 kRadToDeg;
        c.I[i] = c.V[i] - std::atan(n.L * fi * 6.283185307179586 / n.Rt) * 180 / 3.141592653589793;
        if (fi <= fc) lowest = std::min(lowest, phi);
    }

    int lo = nc - 1, hi = nc;
    if (nc == 0) {
        lo = 0;
        hi = 1;
    }
    r.closureFrequency = fc;
    r.closureIndex = nc;
    r.phaseMargin = 180 + lowest;
    r.rateOfClosure = ((c.A[lo] - c.A[hi]) + (B[hi] - B[lo])) * 16;
    r.maxBandwidth = fBW;
    finishResult(r, part, opt);

    if (!in.report) return r;

    r.frequency = f;
    r.curves.insert(QStringLiteral("Open Loop Gain"), c.A);
    r.curves.insert(QStringLiteral("1/Beta Path 1"), c.B1);
    r.curves.insert(QStringLiteral("1/Beta Path 2"), c.B2);
    r.curves.insert(QStringLiteral("1/Beta"), B);
    r.curves.insert(QStringLiteral("Signal at L_LOAD"), c.S);
    r.curves.insert(QStringLiteral("Pole 1"), ph1);
    r.curves.insert(QStringLiteral("Pole 2"), ph2);
    r.curves.insert(QStringLiteral("Pole 3"), ph3);
    r.curves.insert(QStringLiteral("Zero R_LOAD / L_LOAD"), phL);
    r.curves.insert(QStringLiteral("Zero Cross"), phX);
    r.curves.insert(QStringLiteral("Open Loop Phase"), c.Phi);
    r.curves.insert(QStringLiteral("V Out"), c.V);
    r.curves.insert(QStringLiteral("I Out"), c.I);

    addInductiveGainGraphs(r, f, QStringLiteral("Open Loop Gain"), c, {fc, fc});
    if (!in.phaseShiftComponents) {
        r.phaseAxisUpper = 90;
        addGraph(r.phaseGraphs, QStringLiteral("V Out"), f, c.V, {0, 0, 255});
        addGraph(r.phaseGraphs, QStringLiteral("I Out"), f, c.I, {255, 0, 0});
    } else {
        r.phaseAxisUpper = 135;
        addGraph(r.phaseGraphs, QStringLiteral("Pole 1"), f, ph1, {255, 150, 150});
        addGraph(r.phaseGraphs, QStringLiteral("Pole 2"), f, ph2, {255, 0, 0});
        addGraph(r.phaseGraphs, QStringLiteral("Pole 3"), f, ph3, {150, 0, 0});
        if (loadZeroShown)
            addGraph(r.phaseGraphs, QStringLiteral("Zero R_LOAD / L_LOAD"), f, phL,
                     {100, 180, 255});
        if (zeroCrossShown)
            addGraph(r.phaseGraphs, QStringLiteral("Zero Cross"), f, phX, {0, 0, 255});
    }
    addGraph(r.phaseGraphs, QStringLiteral("Open Loop Phase"), f, c.Phi, {0, 0, 0});
    return r;
}

// ---------------------------------------------------------------- composite, inductive load

BodeResult compositeInductiveBode(const BodeInput &in, const amp &part)
{
    // The power stage's own loop closes first; its closure lags the composite loop.
    BodeInput inner = in;
    inner.report = false;
    const double fPC = inductiveLoadBode(inner, part).closureFrequency;

    const CircuitValues &v = in.values;
    const int opt = in.compOption;
    const HostAmp &host = in.host;
    BodeResult r;
    const double A0 = part.getAol_DC();
    const InductiveNetwork n = readNetwork(v, part);
    const double HRin = eng::parseValue(v.hostRin);
    const double HRfb = eng::parseValue(v.compRfb);
    const double HCfb = capacitorValue(v.compCfb);
    const double p1 = part.getPole1(opt);
    const double p2 = part.getPole2(opt);
    const double p3 = part.getPole3(opt);
    const double fCC = 1 / (6.28318 * HRfb * HCfb + 1e-13);
    const double gInv = (-HRfb / HRin) / n.RsTyped / n.Gdiv;
    const double gNon = (HRfb / HRin + 1) / n.RsTyped / n.Gdiv;
    fillFigures(r.figures, n, p1, p2, p3);
    r.figures.gInv = gInv;
    r.figures.gNon = gNon;
    r.figures.fCC = fCC;
    r.figures.powerClosure = fPC;

    if (in.report) {
        r.details << networkLines(gInv, gNon, n)
                  << hzLine(QStringLiteral("\nPower Amplifier Pole 1:\t"), p1)
                  << hzLine(QStringLiteral("Power Amplifier Pole 2:\t"), p2)
                  << hzLine(QStringLiteral("Power Amplifier Pole 3:\t"), p3)
                  << hzLine(QStringLiteral("\nZero R_LOAD L_LOAD:\t"), n.fzL)
                  << hzLine(QStringLiteral("Zero C_FB R_D:\t\t"), n.fzC)
                  << hzLine(QStringLiteral("Zero Power Fclosure:\t"), fPC)
                  << hzLine(QStringLiteral("Pole C_FB R_FB (composite):\t"), fCC);
    }

    const QVector<double> f = frequencyGrid();
    InductiveCurves c;
    c.A.resize(kGridPoints);
    c.B1.resize(kGridPoints);
    c.B2.resize(kGridPoints);
    c.S.resize(kGridPoints);
    QVector<double> powerGain(kGridPoints), Q(kGridPoints), B(kGridPoints);
    QVector<double> phH1(kGridPoints), phH2(kGridPoints), phH3(kGridPoints), phPC(kGridPoints),
        phP2(kGridPoints), phL(kGridPoints), phX(kGridPoints);
    bool pcShown = false, p2Shown = false, loadZeroShown = false, zeroCrossShown = false;

    double fc = 1.0, fBW = 1.0, fX = 1.0;
    int nc = 1;
    double best = A0, bestBW = A0, bestX = A0;
    for (int i = 0; i < kGridPoints; ++i) {
        const double fi = f[i];
        double a = A0;
        for (double p : {p1, p2, p3})
            if (fi > p) a -= 20 * std::log10(fi / p);
        double q = 20 * std::log10(1 / n.betaDC);
        if (fi > fCC) q -= 20 * std::log10(fi / fCC);
        if (a > q) a = q;
        const double ac = a + hostGain(host, fi);
        const double b1 = path1(n, fi);
        const double b2 = path2(n, fi);
        const double b = b2 <= b1 ? b2 : b1;
        powerGain[i] = a;
        Q[i] = q;
        c.A[i] = ac;
        c.B1[i] = b1;
        c.B2[i] = b2;
        B[i] = b;
        c.S[i] = ac > b ? b : ac;
        if (inDrawnRange(b1)) c.path1Shown = true;
        if (inDrawnRange(b2)) c.path2Shown = true;

        const double d = std::fabs(ac - b);
        if (d < best) {
            best = d;
            fc = fi;
            nc = i;
        }
        const double dBW = std::fabs(std::min(ac, b2) - b1 - 10);
        if (dBW < bestBW) {
            bestBW = dBW;
            fBW = fi;
        }
        const double dX = std::fabs(b1 - std::min(ac, b2));
        if (dX < bestX) {
            bestX = dX;
            fX = fi;
        }

        phH1[i] = hostLag(fi, host.pole1);
        phH2[i] = hostLag(fi, host.pole2);
        phH3[i] = hostLag(fi, host.pole3);
        phPC[i] = lagPhase(fi, fPC);
        phP2[i] = lagPhase(fi, p2);
        phL[i] = lagPhase(fi, n.fzL);
        if (fi / fPC > 0.1) pcShown = true;
        if (fi / p2 > 0.1) p2Shown = true;
        if (fi / n.fzL > 0.1) loadZeroShown = true;
    }
    r.figures.zeroCross = fX;
    if (in.report) r.details << hzLine(QStringLiteral("Zero Cross:\t\t"), fX);

    c.Phi.resize(kGridPoints);
    c.V.resize(kGridPoints);
    c.I.resize(kGridPoints);
    double lowest = 0;
    for (int i = 0; i < kGridPoints; ++i) {
        const double fi = f[i];
        phX[i] = leadPhase(fi, fX);
        if (fi / fX > 0.1) zeroCrossShown = true;
        const double phi = phH1[i] + phH2[i] + phH3[i] + phPC[i] + phP2[i] + phL[i] + phX[i];
        c.Phi[i] = phi;
        c.V[i] = (std::atan(fi / n.fzL) - std::atan(fi / fX) - std::atan(fi / fc) -
                  hostAtan(fi, host.pole2) - hostAtan(fi, host.pole3)) *
                 kRadToDeg;
        c.I[i] = c.V[i] - std::atan(6.283185307179586 * fi * n.L / n.Rt) * 180 / 3.141592653589793;
        if (fi <= fc) lowest = std::min(lowest, phi);
    }

    int lo = nc - 1, hi = nc;
    if (nc == 0) {
        lo = 0;
        hi = 1;
    }
    r.closureFrequency = fc;
    r.closureIndex = nc;
    r.phaseMargin = 180 + lowest;
    r.rateOfClosure = ((c.A[lo] - c.A[hi]) + (B[hi] - B[lo])) * 16;
    r.maxBandwidth = fBW;
    finishResult(r, part, opt);

    if (!in.report) return r;

    r.frequency = f;
    r.curves.insert(QStringLiteral("Power Open Loop Gain"), powerGain);
    r.curves.insert(QStringLiteral("Power Stage Limit"), Q);
    r.curves.insert(QStringLiteral("Composite Open Loop Gain"), c.A);
    r.curves.insert(QStringLiteral("1/Beta Path 1"), c.B1);
    r.curves.insert(QStringLiteral("1/Beta Path 2"), c.B2);
    r.curves.insert(QStringLiteral("1/Beta"), B);
    r.curves.insert(QStringLiteral("Signal at L_LOAD"), c.S);
    r.curves.insert(QStringLiteral("Pole 1"), phH1);
    r.curves.insert(QStringLiteral("Pole 2"), phH2);
    r.curves.insert(QStringLiteral("Pole 3"), phH3);
    r.curves.insert(QStringLiteral("Pole Fcl (PWR)"), phPC);
    r.curves.insert(QStringLiteral("Pole 2 (PWR)"), phP2);
    r.curves.insert(QStringLiteral("Zero R_LOAD / L_LOAD"), phL);
    r.curves.insert(QStringLiteral("Zero Cross"), phX);
    r.curves.insert(QStringLiteral("Open Loop Phase"), c.Phi);
    r.curves.insert(QStringLiteral("V Out"), c.V);
    r.curves.insert(QStringLiteral("I Out"), c.I);

    addInductiveGainGraphs(r, f, QStringLiteral("Composite Open Loop Gain"), c, {fc, fc});
    if (!in.phaseShiftComponents) {
        r.phaseAxisUpper = 90;
        addGraph(r.phaseGraphs, QStringLiteral("V Out"), f, c.V, {0, 0, 255});
        addGraph(r.phaseGraphs, QStringLiteral("I Out"), f, c.I, {255, 0, 0});
    } else {
        r.phaseAxisUpper = 135;
        addGraph(r.phaseGraphs, QStringLiteral("Pole 1"), f, phH1, {255, 150, 150});
        addGraph(r.phaseGraphs, QStringLiteral("Pole 2"), f, phH2, {255, 0, 0});
        addGraph(r.phaseGraphs, QStringLiteral("Pole 3"), f, phH3, {150, 0, 0});
        if (pcShown)
            addGraph(r.phaseGraphs, QStringLiteral("Pole Fcl (PWR)"), f, phPC, {235, 235, 0});
        if (p2Shown)
            addGraph(r.phaseGraphs, QStringLiteral("Pole 2 (PWR)"), f, phP2, {255, 180, 0});
        if (loadZeroShown)
            addGraph(r.phaseGraphs, QStringLiteral("Zero R_LOAD / L_LOAD"), f, phL,
                     {100, 180, 255});
        if (zeroCrossShown)
            addGraph(r.phaseGraphs, QStringLiteral("Zero Cross"), f, phX, {0, 0, 255});
    }
    addGraph(r.phaseGraphs, QStringLiteral("Open Loop Phase"), f, c.Phi, {0, 0, 0});
    return r;
}

} // namespace stab
