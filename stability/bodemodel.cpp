#include "stability/bodemodel.h"

#include "stability/bodesteps.h"
#include "values/engvalues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace stab {

bool CircuitValues::operator==(const CircuitValues &o) const
{
    return RinC == o.RinC && RfbC == o.RfbC && RngC == o.RngC && CngC == o.CngC && CfbC == o.CfbC &&
           RclC == o.RclC && RisoC == o.RisoC && CLoadStab == o.CLoadStab && RgStab == o.RgStab &&
           RinL == o.RinL && RfbL == o.RfbL && RdL == o.RdL && RsL == o.RsL && CfbL == o.CfbL &&
           RsGainL == o.RsGainL && RloadL == o.RloadL && LLoadStab == o.LLoadStab &&
           RgStabL == o.RgStabL && hostRin == o.hostRin && compRfb == o.compRfb &&
           hostRng == o.hostRng && hostCng == o.hostCng && compCfb == o.compCfb;
}

QVector<double> frequencyGrid()
{
    // Built once: the automatic compensation runs the models thousands of times.
    static const QVector<double> grid = [] {
        QVector<double> f(kGridPoints);
        f[0] = 1.0;
        for (int i = 1; i < kGridPoints; ++i)
            f[i] = f[i - 1] * kGridStep;
        return f;
    }();
    return grid;
}

double poleGain(double f, double x)
{
    return x < f ? -20 * std::log10(f / x) : 0.0;
}

double zeroGain(double f, double x)
{
    return x < f ? 20 * std::log10(f / x) : 0.0;
}

namespace {
double cornerPhase(double f, double x)
{
    const double r = f / x;
    if (r > 10) return 90;
    if (r > 0.1) return 45 * (std::log10(r) + 1);
    return 0;
}
} // namespace

double lagPhase(double f, double x)
{
    return -cornerPhase(f, x);
}

double leadPhase(double f, double x)
{
    return cornerPhase(f, x);
}

const char *const kNotAnalysed = "NOT ANALYSED";

int verdictRank(const QString &verdict)
{
    if (verdict == QLatin1String("STABLE")) return 3;
    if (verdict == QLatin1String("MARGINALLY STABLE")) return 2;
    if (verdict == QLatin1String("UNSTABLE")) return 1;
    return 0;
}

Verdict judgeLoop(double roc, double pm)
{
    if (roc < 21) {
        if (pm > 45) return {QStringLiteral("STABLE"), true};
        if (pm > 10) return {QStringLiteral("MARGINALLY STABLE"), false};
        return {QStringLiteral("UNSTABLE"), false};
    }
    if (roc > 21 && pm > 45) return {QStringLiteral("MARGINALLY STABLE"), false};
    return {QStringLiteral("UNSTABLE"), false};
}

QString verdictStyleSheet(bool stable)
{
    return stable ? QStringLiteral("QLabel { color : green; }")
                  : QStringLiteral("QLabel { color : red; }");
}

double capacitorValue(const QString &text)
{
    return text == QLatin1String("open") ? 0.0 : eng::parseValue(text);
}

namespace steps {

const double kRadToDeg = 57.29577951308232;

const char *const kBetaUnbounded = "1/ß is unbounded";

double InputCheck::value(const char *label, const QString &text, const char *zeroWhy)
{
    return read(label, text, false, zeroWhy);
}

double InputCheck::capacitor(const char *label, const QString &text)
{
    return read(label, text, true, nullptr);
}

void InputCheck::fail(const QString &problem)
{
    if (problem_.isEmpty()) problem_ = problem;
}

namespace {

// What a value text reads as.
struct Reading
{
    bool word = false;  // "open", "short", ...
    bool valid = false; // a number, or a word
    bool blank = false;
    double value = 0;
};

const Reading &readText(const QString &text)
{
    thread_local RecentValues<QString, Reading, 32> kept;
    return kept.get(text, [](const QString &t, Reading &r) {
        r = Reading();
        r.word = eng::exactWordValue(t, r.value);
        if (r.word) {
            r.valid = true;
            return;
        }
        const eng::ReadResult number = eng::readNumber(t);
        r.valid = number.status == eng::ReadStatus::Valid;
        r.value = r.valid ? number.value : 0.0;
        r.blank = t.trimmed().isEmpty();
    });
}

} // namespace

double InputCheck::read(const char *label, const QString &text, bool isCapacitor,
                        const char *zeroWhy)
{
    if (isCapacitor && text == QLatin1String("open")) return 0.0;
    const Reading &r = readText(text);
    if (r.word) {
        // "nan" reads as 0 and "inf" as open; a note names them for what they are.
        const QString word = eng::nonFigureWord(text);
        if (r.value == 0 && zeroWhy)
            fail(QStringLiteral("%1 is %2: %3")
                     .arg(QLatin1String(label), word.isEmpty() ? text : word,
                          QString::fromUtf8(zeroWhy)));
        return r.value;
    }
    if (!r.valid) {
        fail(QLatin1String(label) + QStringLiteral(" is unreadable"));
        return 0.0;
    }
    if (r.blank)
        fail(QLatin1String(label) + QStringLiteral(" is empty"));
    else if (r.value < 0)
        fail(QLatin1String(label) + QStringLiteral(" is negative"));
    else if (r.value == 0 && zeroWhy)
        fail(QLatin1String(label) + QStringLiteral(" is 0: ") + QString::fromUtf8(zeroWhy));
    return r.value;
}

bool replacesNetwork(const amp &part)
{
    const QString type = part.getCircuitType();
    return type == QLatin1String("GZ20") || type == QLatin1String("GZ23") ||
           type == QLatin1String("KW314") || type == QLatin1String("KW349");
}

void applyCircuitType(const amp &part, const QString &rgText, InputCheck &check, double &Rin,
                      double &Rfb, double &Cfb)
{
    const QString type = part.getCircuitType();
    if (type == QLatin1String("normal")) return;
    if (type == QLatin1String("GZ20")) {
        const double Rg = check.value("R_G", rgText);
        Rin = part.getRin();
        Rfb = Rg + part.getRfb();
        Cfb = part.getCfb();
    } else if (type == QLatin1String("GZ23")) {
        Rin = check.value("R_G", rgText, kBetaUnbounded);
        Rfb = part.getRfb();
        Cfb = part.getCfb();
    } else if (type == QLatin1String("KW314") || type == QLatin1String("KW349")) {
        Rin = part.getRin();
        Rfb = part.getRfb();
        Cfb = part.getCfb();
    }
}

void readFeedback(const amp &part, const CircuitValues &v, InputCheck &check, double &Rin,
                  double &Rfb, double &Cfb)
{
    if (!replacesNetwork(part)) {
        Rin = check.value("R_IN", v.RinC, kBetaUnbounded);
        Rfb = check.value("R_FB", v.RfbC);
        Cfb = check.capacitor("C_FB", v.CfbC);
    }
    applyCircuitType(part, v.RgStab, check, Rin, Rfb, Cfb);
}

double outputImpedance(const amp &part, const CircuitValues &v, InputCheck &check)
{
    // The sense resistor only sets the output impedance when the part limits its current
    // through an external resistor.
    const bool senseResistor = part.getVbe() != 0 && part.getCLint() == 0;
    const double Rcl = senseResistor ? check.value("R_CL", v.RclC) : 0.0;
    return Rcl + part.getZout();
}

void readHost(const BodeInput &in, InputCheck &check, double &HRin, double &HRfb, double &HCfb)
{
    if (!in.hostProblem.isEmpty()) check.fail(in.hostProblem);
    HRin = check.value("HOST R_IN", in.values.hostRin, kBetaUnbounded);
    HRfb = check.value("HOST R_FB", in.values.compRfb);
    HCfb = check.capacitor("HOST C_FB", in.values.compCfb);
}

HostPoles hostPoleCurves(const HostAmp &host)
{
    HostPoles curves{};
    const double poles[3] = {host.pole1, host.pole2, host.pole3};
    for (int k = 0; k < 3; ++k)
        if (poles[k] > 0) curves[k] = &cornerCurve(poles[k]);
    return curves;
}

double hostGain(const HostAmp &host, const HostPoles &poles, int i)
{
    double g = host.aolDb;
    for (const CornerCurve *pole : poles)
        if (pole) g -= pole->rise[i];
    return g;
}

double hostAtan(double f, double pole)
{
    return pole > 0 ? std::atan(f / pole) : 0.0;
}

QString ratioLine(const QString &label, double ratio)
{
    return label + eng::engString(ratio, QStringLiteral("V/V (")) +
           eng::number2String(20 * std::log10(ratio)) + QStringLiteral(" dB)");
}

QString hzLine(const QString &label, double hz)
{
    return label + eng::engString(hz, QStringLiteral("Hz"));
}

void addGraph(QVector<BodeGraph> &graphs, const QString &name, const QVector<double> &keys,
              const QVector<double> &values, const QColor &colour, Qt::PenStyle style)
{
    graphs.append({name, keys, values, colour, style});
}

const CornerCurve &cornerCurve(double x)
{
    thread_local RecentValues<double, CornerCurve, 32> kept;
    return kept.get(x, [](double corner, CornerCurve &c) {
        const QVector<double> f = frequencyGrid();
        for (int i = 0; i < kGridPoints; ++i) {
            // The ratio and logarithm poleGain() and lagPhase() take, once for both.
            const double fi = f[i];
            const double ratio = fi / corner;
            const bool above = corner < fi;
            const bool turning = ratio > 0.1 && !(ratio > 10);
            const double decades = above || turning ? std::log10(ratio) : 0.0;
            c.rise[i] = above ? 20 * decades : 0.0;
            c.turn[i] = ratio > 10 ? 90 : turning ? 45 * (decades + 1) : 0.0;
        }
    });
}

namespace {

bool allFinite(const BodeResult &r)
{
    const BodeFigures &x = r.figures;
    for (double v : {r.closureFrequency,
                     r.phaseMargin,
                     r.rateOfClosure,
                     r.maxBandwidth,
                     x.Zt,
                     x.invBetaDC,
                     x.invBetaAC,
                     x.noiseGain,
                     x.pole1,
                     x.pole2,
                     x.pole3,
                     x.pCL,
                     x.zISO,
                     x.pCFB,
                     x.zCFB,
                     x.pNG,
                     x.zNG,
                     x.f20,
                     x.powerClosure,
                     x.fCC,
                     x.fZC,
                     x.RsEff,
                     x.Rt,
                     x.fzL,
                     x.fzC,
                     x.gInv,
                     x.gNon,
                     x.zeroCross})
        if (!std::isfinite(v)) return false;
    return true;
}

void refuse(BodeResult &r, const QString &problem)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    r.refusal = problem;
    r.closureFrequency = nan;
    r.closureIndex = -1;
    r.phaseMargin = nan;
    r.rateOfClosure = nan;
    r.maxBandwidth = nan;
    r.verdict = QString::fromLatin1(kNotAnalysed);
    r.verdictStyle = verdictStyleSheet(false);
    r.details = QStringList{problem};
    r.frequency.clear();
    r.curves.clear();
    r.gainGraphs.clear();
    r.phaseGraphs.clear();
}

} // namespace

BodeResult refusedResult(const QString &problem, const amp &part, int compOption)
{
    BodeResult r;
    r.slewRate = part.getSlewRate(compOption);
    refuse(r, problem);
    return r;
}

bool finishResult(BodeResult &r, const amp &part, int compOption, double loopGainAt1Hz,
                  double lowestLoopGain)
{
    r.slewRate = part.getSlewRate(compOption);
    if (!std::isfinite(loopGainAt1Hz) || !std::isfinite(lowestLoopGain) || !allFinite(r)) {
        refuse(r, QStringLiteral("A value is out of range: the loop gain is not finite"));
    } else if (!(loopGainAt1Hz > 0)) {
        refuse(r, QStringLiteral("The loop gain is not above 0 dB at 1 Hz: the loop does not "
                                 "close"));
    } else if (!(lowestLoopGain <= 0)) {
        refuse(r, QStringLiteral("The loop gain does not fall to 0 dB below 86.6 MHz: there is "
                                 "no closure frequency"));
    } else {
        const Verdict v = judgeLoop(r.rateOfClosure, r.phaseMargin);
        r.verdict = v.text;
        r.verdictStyle = verdictStyleSheet(v.stable);
    }
    return r.analysed();
}

} // namespace steps

using namespace steps;

// ---------------------------------------------------------------- capacitive load

namespace {

// The gain graphs, the closure marker and the closed-loop phase view that both capacitive-load
// models draw. Returns true when the phase plot shows the components instead, which the model
// then adds.
bool addCapacitiveGraphs(BodeResult &r, const QString &gainName, const QVector<double> &gain,
                         const QVector<double> &beta, const QVector<double> &signal, double closure,
                         bool components, const QVector<double> &closedPhase)
{
    const QVector<double> f = frequencyGrid();
    const QVector<double> markerKeys{closure, closure}, markerValues{-180, 180};
    addGraph(r.gainGraphs, gainName, f, gain, {0, 0, 255});
    addGraph(r.gainGraphs, QStringLiteral("1/Beta"), f, beta, {255, 0, 0});
    addGraph(r.gainGraphs, QStringLiteral("Signal at C_LOAD"), f, signal, {0, 0, 0}, Qt::DotLine);
    addGraph(r.gainGraphs, QStringLiteral("Closure Frequency"), markerKeys, markerValues,
             {128, 128, 128}, Qt::DashLine);
    addGraph(r.phaseGraphs, QStringLiteral("Closure Frequency"), markerKeys, markerValues,
             {128, 128, 128}, Qt::DashLine);
    if (components) {
        r.phaseAxisUpper = 135;
        return true;
    }
    r.phaseAxisUpper = 45;
    addGraph(r.phaseGraphs, QStringLiteral("Closed Loop Phase"), f, closedPhase, {0, 0, 255});
    const struct
    {
        const char *name;
        double factor;
        QColor colour;
    } magnified[] = {{"Closed * 10", 10, {0, 200, 0}},
                     {"Closed * 100", 100, {235, 235, 0}},
                     {"Closed * 1000", 1000, {255, 0, 0}}};
    for (const auto &m : magnified) {
        QVector<double> values(closedPhase.size());
        for (int i = 0; i < values.size(); ++i)
            values[i] = closedPhase[i] * m.factor;
        addGraph(r.phaseGraphs, QString::fromLatin1(m.name), f, values, m.colour);
    }
    return false;
}

// The open loop with C_LOAD on the grid: its gain (dB) and the phase of its five corners
// summed in table order, for {A_OL, pole 1..3, C_LOAD pole, R_ISO zero}. The automatic
// compensation meets only a few open loops (one per compensation option while it sweeps the
// feedback network), so the last few are kept.
struct OpenLoop
{
    std::array<double, kGridPoints> gain, phase;
};

const OpenLoop &openLoop(const std::array<double, 6> &key)
{
    thread_local RecentValues<std::array<double, 6>, OpenLoop, 8> kept;
    return kept.get(key, [](const std::array<double, 6> &corners, OpenLoop &e) {
        const auto [Aol, p1, p2, p3, pCL, zISO] = corners;
        const CornerCurve *poles[] = {&cornerCurve(p1), &cornerCurve(p2), &cornerCurve(p3),
                                      &cornerCurve(pCL)};
        const CornerCurve &zero = cornerCurve(zISO);
        for (int i = 0; i < kGridPoints; ++i) {
            double gain = Aol, phase = 0;
            for (const CornerCurve *pole : poles) {
                gain -= pole->rise[i];
                phase -= pole->turn[i];
            }
            e.gain[i] = gain + zero.rise[i];
            e.phase[i] = phase + zero.turn[i];
        }
    });
}

} // namespace

BodeResult capacitiveLoadBode(const BodeInput &in, const amp &part)
{
    const CircuitValues &v = in.values;
    const int opt = in.compOption;
    BodeResult r;
    BodeFigures &x = r.figures;

    const double Aol = part.getAol_DC();
    double fc = 1.0;

    InputCheck check;
    double Rin = 0, Rfb = 0, Cfb = 0, Rng = 0, Cng = 0;
    readFeedback(part, v, check, Rin, Rfb, Cfb);
    if (in.inverting) {
        Rng = check.value("R_NG", v.RngC);
        Cng = check.capacitor("C_NG", v.CngC);
    }
    const double Zt = outputImpedance(part, v, check);
    const double Riso = check.value("R_ISO", v.RisoC);
    const double Cload = check.capacitor("C_LOAD", v.CLoadStab);
    if (!check.usable()) return refusedResult(check.problem(), part, opt);

    const double invBetaDC = Rfb / (Rin + 1e-13) + 1;
    const bool ngActive =
        v.RngC != QLatin1String("open") && Cng != 0 && v.CngC != QLatin1String("open");
    const double invBetaAC = ngActive ? (Rin + Rng) * (Rfb / (Rng * Rin + 1e-13)) + 1 : invBetaDC;
    const double NGR = invBetaAC / invBetaDC;

    const double p1 = part.getPole1(opt);
    const double p2 = part.getPole2(opt);
    const double p3 = part.getPole3(opt);

    const double pCL = 1 / (6.28318 * Zt * Cload + 1e-13);
    const double zISO = 1 / (Cload * std::min(Zt, Riso) * 6.28318 + 1e-13);
    const double pCFB = 1 / (Cfb * Rfb * 6.28318 + 1e-13);
    const double zCFB = invBetaAC * pCFB;
    const double pNG = ngActive ? 1 / (6.28318 * Rng * Cng + 1e-13) : 1e13;
    const double zNG = pNG / NGR;

    x.Zt = Zt;
    x.invBetaDC = invBetaDC;
    x.invBetaAC = invBetaAC;
    x.noiseGain = NGR;
    x.pole1 = p1;
    x.pole2 = p2;
    x.pole3 = p3;
    x.pCL = pCL;
    x.zISO = zISO;
    x.pCFB = pCFB;
    x.zCFB = zCFB;
    x.pNG = pNG;
    x.zNG = zNG;

    if (in.report) {
        r.details << QStringLiteral("Total Output Impedance:\t") +
                         eng::engString(Zt, QStringLiteral("Ω"))
                  << ratioLine(QStringLiteral("1/ß (DC):\t\t"), invBetaDC)
                  << ratioLine(QStringLiteral("1/ß (AC):\t\t"), invBetaAC)
                  << ratioLine(QStringLiteral("Noise Gain:\t\t"), NGR)
                  << hzLine(QStringLiteral("\nAmplifier Pole 1:\t\t"), p1)
                  << hzLine(QStringLiteral("Amplifier Pole 2:\t\t"), p2)
                  << hzLine(QStringLiteral("Amplifier Pole 3:\t\t"), p3)
                  << hzLine(QStringLiteral("\nPole Z_OUT C_LOAD:\t"), pCL)
                  << hzLine(QStringLiteral("Zero R_ISO C_LOAD:\t"), zISO)
                  << hzLine(QStringLiteral("Pole Noise Gain:\t\t"), pNG)
                  << hzLine(QStringLiteral("Zero Noise Gain:\t\t"), zNG)
                  << hzLine(QStringLiteral("Pole C_FB R_FB:\t"), pCFB)
                  << hzLine(QStringLiteral("Zero C_FB R_FB:\t"), zCFB);
    }

    const QVector<double> f = frequencyGrid();
    // Without report only the verdict's figures are needed: the phases only where the closure
    // moves, no drawn curves.
    const int drawn = in.report ? kGridPoints : 0;
    std::array<double, kGridPoints> B;
    QVector<double> S(drawn), OLP(drawn);
    // Components in table order: three amplifier poles, then the six that are drawn only
    // where they reach into the grid.
    QVector<double> ph[9];
    for (auto &c : ph)
        c.resize(drawn);
    const double corners[9] = {p1, p2, p3, pCL, zISO, pNG, zNG, pCFB, zCFB};
    const bool lead[9] = {false, false, false, false, true, true, false, true, false};
    bool shown[9] = {true, true, true, false, false, false, false, false, false};
    // The open loop's corners come summed; the report draws each corner on its own.
    const OpenLoop &open = openLoop({Aol, p1, p2, p3, pCL, zISO});
    const CornerCurve &cISO = cornerCurve(zISO), &cPNG = cornerCurve(pNG), &cZNG = cornerCurve(zNG),
                      &cPCFB = cornerCurve(pCFB), &cZCFB = cornerCurve(zCFB);
    const CornerCurve *drawnCurve[9] = {};
    if (in.report)
        for (int k = 0; k < 9; ++k)
            drawnCurve[k] = &cornerCurve(corners[k]);

    double best = Aol, best20 = Aol;
    double f20 = 1.0;
    int ci = 1;
    double m = 0;
    double lowestLoopGain = std::numeric_limits<double>::infinity();
    const double dcBeta = 20 * std::log10(invBetaDC);
    for (int i = 0; i < kGridPoints; ++i) {
        const double fi = f[i];
        const double ol = open.gain[i];
        double b = dcBeta - cPCFB.rise[i];
        b += cZCFB.rise[i];
        b -= cPNG.rise[i];
        b += cZNG.rise[i];
        if (b < 0) b = 0;
        B[i] = b;
        if (in.report) {
            double s = dcBeta - cPCFB.rise[i];
            if (s > ol) s = ol;
            s -= cISO.rise[i];
            S[i] = s;
        }
        trackLoopGain(lowestLoopGain, ol - b);

        const double d = std::fabs(ol - b);
        if (d < best) {
            best = d;
            fc = fi;
            ci = i;
        }
        const double d20 = std::fabs(ol - b - 20);
        if (d20 < best20) {
            best20 = d20;
            f20 = fi;
        }

        // The lowest phase met among the points that were closure candidates when reached.
        const bool candidate = fi <= fc;
        if (!candidate && !in.report) continue;
        double sum = open.phase[i];
        sum += cPNG.turn[i];
        sum -= cZNG.turn[i];
        sum += cPCFB.turn[i];
        sum -= cZCFB.turn[i];
        if (candidate) m = std::min(m, sum);
        if (!in.report) continue;
        OLP[i] = sum;
        for (int k = 0; k < 9; ++k) {
            const double turn = drawnCurve[k]->turn[i];
            ph[k][i] = lead[k] ? turn : -turn;
            if (k >= 3 && fi / corners[k] > 0.1) shown[k] = true;
        }
    }

    r.closureFrequency = fc;
    r.closureIndex = ci;
    r.phaseMargin = 180 + m;
    r.maxBandwidth = std::min(zISO, std::min(pCFB, f20));
    {
        int j = ci, k = ci - 1;
        if (ci == 0) {
            j = 1;
            k = 0;
        }
        r.rateOfClosure = ((open.gain[k] - open.gain[j]) - (B[k] - B[j])) * 16;
    }
    x.f20 = f20;
    if (!finishResult(r, part, opt, open.gain[0] - B[0], lowestLoopGain) || !in.report) return r;

    QVector<double> CLP(kGridPoints);
    for (int i = 0; i < kGridPoints; ++i) {
        const double fi = f[i];
        double clp = -kRadToDeg * (std::atan(fi / fc) + std::atan(fi / p2) + std::atan(fi / p3));
        if (fc > pCFB) clp -= kRadToDeg * std::atan(fi / pCFB);
        CLP[i] = clp;
    }

    static const char *const names[9] = {"Pole 1",          "Pole 2",     "Pole 3",
                                         "Pole C_LOAD",     "Zero R_ISO", "Pole Noise Gain",
                                         "Zero Noise Gain", "Pole C_FB",  "Zero C_FB"};
    static const QColor colours[9] = {{255, 150, 150}, {255, 0, 0},   {150, 0, 0},
                                      {235, 235, 0},   {255, 180, 0}, {100, 180, 255},
                                      {0, 0, 255},     {0, 200, 0},   {0, 128, 0}};

    r.frequency = f;
    const QVector<double> OL(open.gain.begin(), open.gain.end()), beta(B.begin(), B.end());
    r.curves.insert(QStringLiteral("Open Loop Gain w/ C_LOAD"), OL);
    r.curves.insert(QStringLiteral("1/Beta"), beta);
    r.curves.insert(QStringLiteral("Signal at C_LOAD"), S);
    r.curves.insert(QStringLiteral("Open Loop Phase"), OLP);
    r.curves.insert(QStringLiteral("Closed Loop Phase"), CLP);
    for (int k = 0; k < 9; ++k)
        r.curves.insert(QString::fromLatin1(names[k]), ph[k]);

    if (addCapacitiveGraphs(r, QStringLiteral("Open Loop Gain w/ C_LOAD"), OL, beta, S, fc,
                            in.phaseShiftComponents, CLP)) {
        for (int k = 0; k < 9; ++k)
            if (shown[k])
                addGraph(r.phaseGraphs, QString::fromLatin1(names[k]), f, ph[k], colours[k]);
    }
    addGraph(r.phaseGraphs, QStringLiteral("Open Loop Phase"), f, OLP, {0, 0, 0});
    return r;
}

// ---------------------------------------------------------------- composite, capacitive load

BodeResult compositeCapacitiveBode(const BodeInput &in, const amp &part)
{
    // The power stage's own loop closes first; its closure is a pole of the composite loop.
    BodeInput powerStage = in;
    powerStage.report = false;
    const BodeResult inner = capacitiveLoadBode(powerStage, part);

    const CircuitValues &v = in.values;
    const int opt = in.compOption;
    BodeResult r;
    BodeFigures &x = r.figures;

    const double AP = part.getAol_DC();
    const HostAmp &host = in.host;

    InputCheck check;
    double HRin = 0, HRfb = 0, HCfb = 0;
    readHost(in, check, HRin, HRfb, HCfb);
    double HRng = 0, HCng = 0;
    if (in.inverting) {
        HRng = check.value("HOST R_NG", v.hostRng);
        HCng = check.capacitor("HOST C_NG", v.hostCng);
    }
    double Rin = 0, Rfb = 0, Cfb = 0;
    readFeedback(part, v, check, Rin, Rfb, Cfb);
    const double Zt = outputImpedance(part, v, check);
    const double Riso = check.value("R_ISO", v.RisoC);
    const double Cload = check.capacitor("C_LOAD", v.CLoadStab);
    if (!check.usable()) return refusedResult(check.problem(), part, opt);
    if (!inner.analysed()) return refusedResult(inner.refusal, part, opt);
    const double fPC = inner.closureFrequency;

    const double BP = Rfb / (Rin + 1e-13) + 1;
    const double BDC = HRfb / (HRin + 1e-13) + 1;
    const bool ngActive =
        v.hostRng != QLatin1String("open") && v.hostCng != QLatin1String("open") && HCng != 0;
    const double BAC = ngActive ? (HRin + HRng) * (HRfb / (HRng * HRin + 1e-13)) + 1 : BDC;
    const double NG = BAC / BDC;
    const double fP1 = part.getPole1(opt);
    const double fP2 = part.getPole2(opt);
    const double fP3 = part.getPole3(opt);
    const double fOUT = 1 / (6.28318 * Zt * Cload + 1e-13);
    const double fISO = 1 / (Cload * 6.28318 * std::min(Zt, Riso) + 1e-13);
    const double fCFB = 1 / (6.28318 * Rfb * Cfb + 1e-13);
    const double fCC = 1 / (6.28318 * HRfb * HCfb + 1e-13);
    const double fZC = BAC * fCC;
    const double fNGP = ngActive ? 1 / (6.28318 * HRng * HCng + 1e-13) : 10000000000000.0;
    const double fNGZ = fNGP / NG;

    x.Zt = Zt;
    x.invBetaDC = BDC;
    x.invBetaAC = BAC;
    x.noiseGain = NG;
    x.pole1 = fP1;
    x.pole2 = fP2;
    x.pole3 = fP3;
    x.pCL = fOUT;
    x.zISO = fISO;
    x.pCFB = fCFB;
    x.powerClosure = fPC;
    x.fCC = fCC;
    x.fZC = fZC;
    x.pNG = fNGP;
    x.zNG = fNGZ;

    if (in.report) {
        r.details << QStringLiteral("Total Output Impedance:\t") +
                         eng::engString(Zt, QStringLiteral("Ω"))
                  << ratioLine(QStringLiteral("1/ß (DC):\t\t"), BDC)
                  << ratioLine(QStringLiteral("1/ß (AC):\t\t"), BAC)
                  << ratioLine(QStringLiteral("Noise Gain:\t\t"), NG)
                  << hzLine(QStringLiteral("\nPower Amplifier Pole 1:\t"), fP1)
                  << hzLine(QStringLiteral("Power Amplifier Pole 2:\t"), fP2)
                  << hzLine(QStringLiteral("Power Amplifier Pole 3:\t"), fP3)
                  << hzLine(QStringLiteral("Power Pole C_FB R_FB:\t"), fCFB)
                  << hzLine(QStringLiteral("Power Closure Frequency:\t"), fPC)
                  << hzLine(QStringLiteral("\nPole Noise Gain:\t\t"), fNGP)
                  << hzLine(QStringLiteral("Zero Noise Gain:\t\t"), fNGZ)
                  << hzLine(QStringLiteral("Pole Composite C_FB R_FB:\t"), fCC)
                  << hzLine(QStringLiteral("Zero Composite C_FB R_FB:\t"), fZC);
    }

    const QVector<double> f = frequencyGrid();
    const int drawn = in.report ? kGridPoints : 0;
    QVector<double> P(kGridPoints), G(kGridPoints), N(kGridPoints), S(drawn);
    // Components: host poles 1-3, power pole 2, power closure, power C_FB pole, noise-gain
    // pole and zero, composite C_FB zero, composite C_FB pole.
    enum { H1, H2, H3, PP2, PFCL, PCF, NGP, NGZ, ZCFB, PCFB, kComponents };
    QVector<double> ph[kComponents];
    for (auto &c : ph)
        c.fill(0.0, drawn);
    bool shown[kComponents] = {true, true, true, true, false, false, false, false, false, false};

    double best = AP, best20 = AP;
    double fCL = 1.0, f20 = 1.0;
    int iCL = 1;
    double lowestLoopGain = std::numeric_limits<double>::infinity();
    const double ngDb = 20 * std::log10(NG);
    const double span = std::log(fNGP / fNGZ); // width of the noise-gain ramp, natural log
    const CornerCurve &cP1 = cornerCurve(fP1), &cP2 = cornerCurve(fP2), &cP3 = cornerCurve(fP3),
                      &cOUT = cornerCurve(fOUT), &cISO = cornerCurve(fISO),
                      &cCFB = cornerCurve(fCFB), &cCC = cornerCurve(fCC);
    const HostPoles hostPoles = hostPoleCurves(host);
    for (int i = 0; i < kGridPoints; ++i) {
        const double fi = f[i];
        double p = AP;
        for (const CornerCurve *c : {&cP1, &cP2, &cP3, &cOUT})
            p -= c->rise[i];
        p += cISO.rise[i];
        double q = 20 * std::log10(BP);
        q -= cCFB.rise[i];
        double b = 20 * std::log10(BDC);
        b -= cCC.rise[i];
        const double h = hostGain(host, hostPoles, i);
        // Seen from the host, the power stage is the lower of its loop gain and its own 1/β.
        const double g = p > q ? h + q : h + p;
        double n = b;
        if (!(fi < fNGZ)) {
            if (fi > fNGP || span == 0)
                n += ngDb;
            else
                n += ngDb * std::log(fi / fNGZ) / span;
        }
        if (n < 0) n = 0;
        if (in.report) {
            double s = 20 * std::log10(BDC);
            s -= cCC.rise[i];
            if (s > g) s = g;
            s -= cISO.rise[i];
            S[i] = s;
        }
        P[i] = p;
        G[i] = g;
        N[i] = n;
        trackLoopGain(lowestLoopGain, g - n);

        const double d = std::fabs(g - n);
        if (d < best) {
            best = d;
            fCL = fi;
            iCL = i;
        }
        const double e = std::fabs(g - n - 20);
        if (e < best20) {
            best20 = e;
            f20 = fi;
        }
    }

    // The phase of each component; those the circuit does not have stay 0.
    const CornerCurve &cPC = cornerCurve(fPC), &cZC = cornerCurve(fZC);
    const CornerCurve *cNGP = NG > 1 ? &cornerCurve(fNGP) : nullptr;
    const CornerCurve *cNGZ = NG > 1 ? &cornerCurve(fNGZ) : nullptr;
    const auto phasesAt = [&](int i, double(&c)[kComponents]) {
        for (int k = 0; k < 3; ++k)
            c[H1 + k] = hostPoles[k] ? -hostPoles[k]->turn[i] : 0.0;
        c[PP2] = -cP2.turn[i];
        c[PFCL] = -cPC.turn[i];
        c[PCF] = fPC > fCFB ? -cCFB.turn[i] : 0.0;
        c[NGP] = cNGP ? cNGP->turn[i] : 0.0;
        c[NGZ] = cNGZ ? -cNGZ->turn[i] : 0.0;
        c[ZCFB] = -cZC.turn[i];
        c[PCFB] = fCL > fCC ? cCC.turn[i] : 0.0;
    };

    // Without report only the points up to the closure count for the margin.
    const int phasePoints = in.report ? kGridPoints : std::min(iCL + 1, int(kGridPoints));
    QVector<double> T(drawn), K(drawn);
    double worst = 0;
    for (int i = 0; i < phasePoints; ++i) {
        const double fi = f[i];
        double c[kComponents];
        phasesAt(i, c);
        double t = 0;
        for (double phase : c)
            t += phase;
        const double w = fi <= fCL ? t : 0.0;
        worst = std::min(w, worst);
        if (!in.report) continue;

        for (int k = 0; k < kComponents; ++k)
            ph[k][i] = c[k];
        if (fi / fPC > 0.1) shown[PFCL] = true;
        if (fPC > fCFB && fi / fCFB > 0.1) shown[PCF] = true;
        if (NG > 1 && fi / fNGP > 0.1) shown[NGP] = true;
        if (NG > 1 && fi / fNGZ > 0.1) shown[NGZ] = true;
        if (fi / fZC > 0.1) shown[ZCFB] = true;
        if (fCL > fCC && fi / fCC > 0.1) shown[PCFB] = true;
        T[i] = t;
        double k = -kRadToDeg * (std::atan(fi / fPC) + std::atan(fi / fCL) +
                                 hostAtan(fi, host.pole2) + hostAtan(fi, host.pole3));
        if (fCL > fCC) k -= kRadToDeg * std::atan(fi / fCC);
        if (N[i] > P[i]) k -= kRadToDeg * std::atan(fi / fP2);
        K[i] = k;
    }

    int i0 = iCL - 1, i1 = iCL;
    if (iCL == 0) {
        i0 = 0;
        i1 = 1;
    }
    r.closureFrequency = fCL;
    r.closureIndex = iCL;
    r.phaseMargin = worst + 180;
    r.maxBandwidth = std::min(fISO, std::min(fCC, f20));
    r.rateOfClosure = ((G[i0] + N[i1]) - G[i1] - N[i0]) * 16;
    x.f20 = f20;
    if (!finishResult(r, part, opt, G[0] - N[0], lowestLoopGain)) return r;
    if (r.verdict == QLatin1String("STABLE"))
        r.verdictStyle = QStringLiteral("QLabel { color : green; } ");

    if (!in.report) return r;

    static const char *const names[kComponents] = {
        "Pole 1",        "Pole 2",          "Pole 3",          "Pole 2 (PWR)", "Pole Fcl (PWR)",
        "Pole Cf (PWR)", "Pole Noise Gain", "Zero Noise Gain", "Zero C_FB",    "Pole C_FB"};
    r.frequency = f;
    r.curves.insert(QStringLiteral("Power Open Loop Gain"), P);
    r.curves.insert(QStringLiteral("Composite Open Loop Gain"), G);
    r.curves.insert(QStringLiteral("1/Beta"), N);
    r.curves.insert(QStringLiteral("Signal at C_LOAD"), S);
    r.curves.insert(QStringLiteral("Open Loop Phase"), T);
    r.curves.insert(QStringLiteral("Closed Loop Phase"), K);
    for (int k = 0; k < kComponents; ++k)
        r.curves.insert(QString::fromLatin1(names[k]), ph[k]);

    if (addCapacitiveGraphs(r, QStringLiteral("Composite Open Loop Gain"), G, N, S, fCL,
                            in.phaseShiftComponents, K)) {
        // Drawing order differs from the component order: the composite pole before its zero.
        struct Drawn
        {
            int component;
            QColor colour;
        };
        const Drawn drawn[] = {{H1, {255, 150, 150}},  {H2, {255, 0, 0}},     {H3, {150, 0, 0}},
                               {PP2, {235, 235, 0}},   {PFCL, {255, 180, 0}}, {PCF, {220, 140, 0}},
                               {NGP, {100, 180, 255}}, {NGZ, {0, 0, 255}},    {PCFB, {0, 200, 0}},
                               {ZCFB, {0, 128, 0}}};
        for (const Drawn &d : drawn)
            if (shown[d.component])
                addGraph(r.phaseGraphs, QString::fromLatin1(names[d.component]), f, ph[d.component],
                         d.colour);
    }
    addGraph(r.phaseGraphs, QStringLiteral("Open Loop Phase"), f, T, {0, 0, 0});
    return r;
}

} // namespace stab
