// The inductive-load loops: a transconductance stage whose load current returns through the
// sense resistor R_S, fed back through R_IN / R_FB (path 1) and locally through R_D + C_FB
// (path 2).
#include "stability/bodemodel.h"

#include "stability/bodesteps.h"
#include "values/engvalues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

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

InductiveNetwork readNetwork(const CircuitValues &v, const amp &part, InputCheck &check)
{
    InductiveNetwork n;
    // The typed divider loads R_S even where the part's own network closes the loop.
    const bool typed = !replacesNetwork(part);
    n.Rin = check.value("R_IN", v.RinL, typed ? kBetaUnbounded : nullptr);
    n.Rfb = check.value("R_FB", v.RfbL, typed ? "1/ß of path 2 is unbounded" : nullptr);
    n.Rd = check.value("R_D", v.RdL);
    n.Cfb = check.capacitor("C_FB", v.CfbL);
    n.Rs = check.value("R_S", v.RsL, "the transconductance is unbounded");
    n.G = check.value("R_S GAIN", v.RsGainL);
    n.Rload = check.value("R_LOAD", v.RloadL);
    n.L = check.value("L_LOAD", v.LLoadStab);

    // Without a sense amplifier the feedback divider loads R_S; the typed divider does so even
    // for parts whose own network replaces it in the loop.
    n.RsEff = n.G == 0 ? n.Rs * (n.Rin + n.Rfb) / (n.Rs + n.Rin + n.Rfb) : n.Rs;
    applyCircuitType(part, v.RgStabL, check, n.Rin, n.Rfb, n.Cfb);
    n.Rt = n.Rload + n.RsEff;
    n.betaDC = (n.RsEff / n.Rt) * n.Rin / (n.Rin + n.Rfb);
    if (n.G != 0) n.betaDC *= n.G;
    n.Gdiv = n.G != 0 ? n.G : 1;
    n.Nac = n.Rd * (n.Rin + n.Rfb) / (n.Rin * n.Rfb) + 1;
    n.fzL = n.Rt / (n.L * 6.28318 + 1e-13);
    n.fzC = 1 / (n.Cfb * n.Rd * 6.28318 + 1e-13);
    n.RsTyped = n.Rs;
    return n;
}

// The amplifier's open-loop gain at grid point i: A_OL less the rise of its three poles, dB.
double amplifierGain(double A0, const std::array<const CornerCurve *, 3> &poles, int i)
{
    double a = A0;
    for (const CornerCurve *pole : poles)
        a -= pole->rise[i];
    return a;
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

// A lag of the loop's phase: a corner of the amplifier, or a host pole (absent when it is
// not above 0 Hz).
struct Lag
{
    double corner;
    bool hostPole;
};

// What both inductive models find on the grid: the loop gain against the lower of the two
// paths' 1/β, the closure, the bandwidth, the zero cross and the phase margin. Without report
// only the verdict's figures: no drawn curves, phases only up to the closure.
struct InductiveScan
{
    InductiveCurves c;
    QVector<double> B;
    QVector<double> lagPhases[5], phL, phX; // drawn phase components
    bool lagShown[5] = {false, false, false, false, false};
    bool loadZeroShown = false, zeroCrossShown = false;
    double fc = 1.0, fBW = 1.0, fX = 1.0;
    int nc = 1;
    double lowestLoopGain = std::numeric_limits<double>::infinity();
    double lowestPhase = 0;
};

// `gain(i)`: the loop's open-loop gain at grid point i, dB. `lags`: the lag components in
// summing order; `closedLag2`, `closedLag3`: the last two arctangents of the closed-loop phase.
template <class Gain>
InductiveScan scanInductive(const InductiveNetwork &n, double A0, bool report, Gain gain,
                            const QVector<Lag> &lags, const Lag &closedLag2, const Lag &closedLag3)
{
    InductiveScan s;
    InductiveCurves &c = s.c;
    const QVector<double> f = frequencyGrid();
    const int drawn = report ? kGridPoints : 0;
    c.A.resize(kGridPoints);
    c.B1.resize(drawn);
    c.B2.resize(drawn);
    c.S.resize(drawn);
    s.B.resize(kGridPoints);

    // Path 1 rises above the load zero; path 2 falls to its AC level at the C_FB zero.
    const double path1DC = 20 * std::log10(1 / n.betaDC), path2AC = 20 * std::log10(n.Nac);
    const CornerCurve &loadZero = cornerCurve(n.fzL);
    double best = A0, bestBW = A0, bestX = A0;
    for (int i = 0; i < kGridPoints; ++i) {
        const double fi = f[i];
        const double a = gain(i);
        const double b1 = path1DC + loadZero.rise[i];
        double b2 = path2AC;
        if (fi < n.fzC) b2 += 20 * std::log10(n.fzC / fi);
        const double b = std::min(b1, b2);
        c.A[i] = a;
        s.B[i] = b;
        trackLoopGain(s.lowestLoopGain, a - b);
        if (report) {
            c.B1[i] = b1;
            c.B2[i] = b2;
            c.S[i] = std::min(a, b);
            if (inDrawnRange(b1)) c.path1Shown = true;
            if (inDrawnRange(b2)) c.path2Shown = true;
        }

        const double d = std::fabs(a - b);
        if (d < best) {
            best = d;
            s.fc = fi;
            s.nc = i;
        }
        const double dBW = std::fabs(std::min(a, b2) - b1 - 10);
        if (dBW < bestBW) {
            bestBW = dBW;
            s.fBW = fi;
        }
        const double dX = std::fabs(b1 - std::min(a, b2));
        if (dX < bestX) {
            bestX = dX;
            s.fX = fi;
        }
    }

    // A host pole not above 0 Hz is absent.
    QVector<const CornerCurve *> lagCurves;
    for (const Lag &l : lags)
        lagCurves << (l.hostPole && !(l.corner > 0) ? nullptr : &cornerCurve(l.corner));
    const CornerCurve &crossZero = cornerCurve(s.fX);
    const auto atanOf = [](double fi, const Lag &l) {
        return l.hostPole ? hostAtan(fi, l.corner) : std::atan(fi / l.corner);
    };
    const int phasePoints = report ? kGridPoints : std::min(s.nc + 1, int(kGridPoints));
    for (auto &p : s.lagPhases)
        p.resize(report ? kGridPoints : 0);
    s.phL.resize(drawn);
    s.phX.resize(drawn);
    c.Phi.resize(drawn);
    c.V.resize(drawn);
    c.I.resize(drawn);
    for (int i = 0; i < phasePoints; ++i) {
        const double fi = f[i];
        double phi = 0;
        for (int k = 0; k < lags.size(); ++k) {
            const double phase = lagCurves[k] ? -lagCurves[k]->turn[i] : 0.0;
            phi += phase;
            if (!report) continue;
            s.lagPhases[k][i] = phase;
            if (fi / lags[k].corner > 0.1) s.lagShown[k] = true;
        }
        const double load = -loadZero.turn[i];
        const double cross = crossZero.turn[i];
        phi = phi + load + cross;
        if (fi <= s.fc) s.lowestPhase = std::min(s.lowestPhase, phi);
        if (!report) continue;
        s.phL[i] = load;
        s.phX[i] = cross;
        if (fi / n.fzL > 0.1) s.loadZeroShown = true;
        if (fi / s.fX > 0.1) s.zeroCrossShown = true;
        c.Phi[i] = phi;
        c.V[i] = (std::atan(fi / n.fzL) - std::atan(fi / s.fX) - std::atan(fi / s.fc) -
                  atanOf(fi, closedLag2) - atanOf(fi, closedLag3)) *
                 kRadToDeg;
        c.I[i] = c.V[i] - std::atan(n.L * fi * 6.283185307179586 / n.Rt) * 180 / 3.141592653589793;
    }
    return s;
}

// The margins and the verdict of a scan; false when the loop is not analysed.
bool finishInductive(BodeResult &r, const InductiveScan &s, const amp &part, int opt)
{
    const int nc = s.nc;
    const int lo = nc == 0 ? 0 : nc - 1, hi = nc == 0 ? 1 : nc;
    r.figures.zeroCross = s.fX;
    r.closureFrequency = s.fc;
    r.closureIndex = nc;
    r.phaseMargin = 180 + s.lowestPhase;
    r.rateOfClosure = ((s.c.A[lo] - s.c.A[hi]) + (s.B[hi] - s.B[lo])) * 16;
    r.maxBandwidth = s.fBW;
    return finishResult(r, part, opt, s.c.A[0] - s.B[0], s.lowestLoopGain);
}

// Curves and graphs both inductive models draw; `lagNames` name the lag components.
void addInductiveCurves(BodeResult &r, const InductiveScan &s, const QStringList &lagNames)
{
    const InductiveCurves &c = s.c;
    r.frequency = frequencyGrid();
    r.curves.insert(QStringLiteral("1/Beta Path 1"), c.B1);
    r.curves.insert(QStringLiteral("1/Beta Path 2"), c.B2);
    r.curves.insert(QStringLiteral("1/Beta"), s.B);
    r.curves.insert(QStringLiteral("Signal at L_LOAD"), c.S);
    for (int k = 0; k < lagNames.size(); ++k)
        r.curves.insert(lagNames[k], s.lagPhases[k]);
    r.curves.insert(QStringLiteral("Zero R_LOAD / L_LOAD"), s.phL);
    r.curves.insert(QStringLiteral("Zero Cross"), s.phX);
    r.curves.insert(QStringLiteral("Open Loop Phase"), c.Phi);
    r.curves.insert(QStringLiteral("V Out"), c.V);
    r.curves.insert(QStringLiteral("I Out"), c.I);
}

// The phase graphs; `drawnLags` are the lag components drawn, with their colours, and
// whether each is drawn only once it reaches into the grid.
struct DrawnLag
{
    int component;
    QColor colour;
    bool whenShown;
};

void addInductivePhaseGraphs(BodeResult &r, const InductiveScan &s, bool components,
                             const QStringList &lagNames, const QVector<DrawnLag> &drawnLags)
{
    const QVector<double> f = frequencyGrid();
    const InductiveCurves &c = s.c;
    if (!components) {
        r.phaseAxisUpper = 90;
        addGraph(r.phaseGraphs, QStringLiteral("V Out"), f, c.V, {0, 0, 255});
        addGraph(r.phaseGraphs, QStringLiteral("I Out"), f, c.I, {255, 0, 0});
    } else {
        r.phaseAxisUpper = 135;
        for (const DrawnLag &d : drawnLags)
            if (!d.whenShown || s.lagShown[d.component])
                addGraph(r.phaseGraphs, lagNames[d.component], f, s.lagPhases[d.component],
                         d.colour);
        if (s.loadZeroShown)
            addGraph(r.phaseGraphs, QStringLiteral("Zero R_LOAD / L_LOAD"), f, s.phL,
                     {100, 180, 255});
        if (s.zeroCrossShown)
            addGraph(r.phaseGraphs, QStringLiteral("Zero Cross"), f, s.phX, {0, 0, 255});
    }
    addGraph(r.phaseGraphs, QStringLiteral("Open Loop Phase"), f, c.Phi, {0, 0, 0});
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
    InputCheck check;
    const InductiveNetwork n = readNetwork(in.values, part, check);
    if (!check.usable()) return refusedResult(check.problem(), part, opt);
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

    const std::array<const CornerCurve *, 3> poles{&cornerCurve(p1), &cornerCurve(p2),
                                                   &cornerCurve(p3)};
    const InductiveScan s =
        scanInductive(n, A0, in.report, [&](int i) { return amplifierGain(A0, poles, i); },
                      {{p1, false}, {p2, false}, {p3, false}}, {p2, false}, {p3, false});
    if (in.report) r.details << hzLine(QStringLiteral("Zero Cross:\t\t"), s.fX);
    if (!finishInductive(r, s, part, opt) || !in.report) return r;

    const QStringList lagNames{QStringLiteral("Pole 1"), QStringLiteral("Pole 2"),
                               QStringLiteral("Pole 3")};
    addInductiveCurves(r, s, lagNames);
    r.curves.insert(QStringLiteral("Open Loop Gain"), s.c.A);
    addInductiveGainGraphs(r, frequencyGrid(), QStringLiteral("Open Loop Gain"), s.c, {s.fc, s.fc});
    addInductivePhaseGraphs(
        r, s, in.phaseShiftComponents, lagNames,
        {{0, {255, 150, 150}, false}, {1, {255, 0, 0}, false}, {2, {150, 0, 0}, false}});
    return r;
}

// ---------------------------------------------------------------- composite, inductive load

BodeResult compositeInductiveBode(const BodeInput &in, const amp &part)
{
    // The power stage's own loop closes first; its closure lags the composite loop.
    BodeInput powerStage = in;
    powerStage.report = false;
    const BodeResult inner = inductiveLoadBode(powerStage, part);

    const CircuitValues &v = in.values;
    const int opt = in.compOption;
    const HostAmp &host = in.host;
    BodeResult r;
    const double A0 = part.getAol_DC();
    InputCheck check;
    double HRin = 0, HRfb = 0, HCfb = 0;
    readHost(in, check, HRin, HRfb, HCfb);
    const InductiveNetwork n = readNetwork(v, part, check);
    if (!check.usable()) return refusedResult(check.problem(), part, opt);
    if (!inner.analysed()) return refusedResult(inner.refusal, part, opt);
    const double fPC = inner.closureFrequency;
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

    const bool report = in.report;
    // The power stage's own 1/β, falling above the composite C_FB pole.
    const double stageDC = 20 * std::log10(1 / n.betaDC);
    const CornerCurve &hostFeedback = cornerCurve(fCC);
    const std::array<const CornerCurve *, 3> poles{&cornerCurve(p1), &cornerCurve(p2),
                                                   &cornerCurve(p3)};
    const HostPoles hostPoles = hostPoleCurves(host);
    QVector<double> powerGain(report ? kGridPoints : 0), Q(report ? kGridPoints : 0);
    const InductiveScan s = scanInductive(
        n, A0, report,
        [&](int i) {
            double a = amplifierGain(A0, poles, i);
            double q = stageDC;
            q -= hostFeedback.rise[i];
            if (a > q) a = q;
            if (report) {
                powerGain[i] = a;
                Q[i] = q;
            }
            return a + hostGain(host, hostPoles, i);
        },
        {{host.pole1, true}, {host.pole2, true}, {host.pole3, true}, {fPC, false}, {p2, false}},
        {host.pole2, true}, {host.pole3, true});
    if (report) r.details << hzLine(QStringLiteral("Zero Cross:\t\t"), s.fX);
    if (!finishInductive(r, s, part, opt) || !report) return r;

    const QStringList lagNames{QStringLiteral("Pole 1"), QStringLiteral("Pole 2"),
                               QStringLiteral("Pole 3"), QStringLiteral("Pole Fcl (PWR)"),
                               QStringLiteral("Pole 2 (PWR)")};
    addInductiveCurves(r, s, lagNames);
    r.curves.insert(QStringLiteral("Power Open Loop Gain"), powerGain);
    r.curves.insert(QStringLiteral("Power Stage Limit"), Q);
    r.curves.insert(QStringLiteral("Composite Open Loop Gain"), s.c.A);
    addInductiveGainGraphs(r, frequencyGrid(), QStringLiteral("Composite Open Loop Gain"), s.c,
                           {s.fc, s.fc});
    addInductivePhaseGraphs(r, s, in.phaseShiftComponents, lagNames,
                            {{0, {255, 150, 150}, false},
                             {1, {255, 0, 0}, false},
                             {2, {150, 0, 0}, false},
                             {3, {235, 235, 0}, true},
                             {4, {255, 180, 0}, true}});
    return r;
}

} // namespace stab
