#pragma once

#include "catalog/amp.h"

#include <QColor>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// Asymptotic (straight-line) Bode models of a power amplifier's loop: capacitive or inductive
// load, alone or inside a composite loop with a host op-amp. Gains in dB, phases in degrees,
// frequencies in Hz, values in SI units. No widgets: each model returns what it found, and the
// stability page shows it.
//
// The corner formulas write 2π as 6.28318 and add 1e-13 to every denominator, so that a zero
// resistance or capacitance puts its corner at 1e13 Hz, far above the grid, instead of
// dividing by zero. The figures our users compare against were made that way.
namespace stab {

// The circuit values of the page as the user typed them ("1k", "4.7n", "open", "short"). A
// capacitor whose text is exactly "open" counts as 0 F; any other "open" is 4294967295.
struct CircuitValues
{
    // Capacitive load.
    QString RinC = QStringLiteral("1k");
    QString RfbC = QStringLiteral("20k");
    QString RngC = QStringLiteral("open");
    QString CngC = QStringLiteral("open");
    QString CfbC = QStringLiteral("open");
    QString RclC = QStringLiteral("short");
    QString RisoC = QStringLiteral("short");
    QString CLoadStab = QStringLiteral("0");
    QString RgStab = QStringLiteral("20k"); // gain resistor of the booster circuit types
    // Inductive load.
    QString RinL = QStringLiteral("10k");
    QString RfbL = QStringLiteral("1k");
    QString RdL = QStringLiteral("open");
    QString RsL = QStringLiteral("2");
    QString CfbL = QStringLiteral("open");
    QString RsGainL = QStringLiteral("short"); // sense amplifier gain, V/V; 0 = none fitted
    QString RloadL = QStringLiteral("10");
    QString LLoadStab = QStringLiteral("0");
    QString RgStabL = QStringLiteral("1k");
    // Composite loop.
    QString hostRin = QStringLiteral("1k");
    QString compRfb = QStringLiteral("30k");
    QString hostRng = QStringLiteral("open");
    QString hostCng = QStringLiteral("open");
    QString compCfb = QStringLiteral("open");

    bool operator==(const CircuitValues &o) const;
    bool operator!=(const CircuitValues &o) const { return !(*this == o); }
};

// The host op-amp of a composite loop: DC gain in dB, poles in Hz. A pole that is not above
// 0 Hz (an empty pole field) is left out.
struct HostAmp
{
    double aolDb = 0;
    double pole1 = 0, pole2 = 0, pole3 = 0;
};

struct BodeInput
{
    CircuitValues values;
    int compOption = 0;               // index into the part's compensation options
    bool inverting = true;            // inverting circuit (the capacitive-load noise-gain network)
    bool phaseShiftComponents = true; // phase view: components (true) or closed loop (false)
    HostAmp host;
    // Why the host cannot be used (no host chosen, an unreadable field), one line naming the
    // field; the composite loops are then not analysed. Empty when it can.
    QString hostProblem;
    bool report = true; // build the detail report, the curves and the graphs
};

// One graph as the page draws it, in drawing order.
struct BodeGraph
{
    QString name;
    QVector<double> keys, values;
    QColor colour;
    Qt::PenStyle style = Qt::SolidLine;
};

// Intermediate figures of a run; each model fills the ones it has, the rest stay 0.
struct BodeFigures
{
    double Zt = 0;        // total output impedance, Ω
    double invBetaDC = 0; // 1/β at low frequency, V/V
    double invBetaAC = 0; // 1/β above the noise-gain network (or path 2 of the inductive load)
    double noiseGain = 0; // 1/β(AC) ÷ 1/β(DC)
    double pole1 = 0, pole2 = 0, pole3 = 0; // the power amplifier's poles
    double pCL = 0;                         // output impedance with C_LOAD
    double zISO = 0;                        // R_ISO (at most Zt) with C_LOAD
    double pCFB = 0, zCFB = 0;              // C_FB with R_FB, and the 1/β zero above it
    double pNG = 0, zNG = 0;                // noise-gain network
    double f20 = 0;                         // grid frequency where the loop gain is nearest 20 dB
    double powerClosure = 0;                // closure of the power stage's own loop (composite)
    double fCC = 0, fZC = 0;                // composite C_FB pole and the 1/β zero above it
    double RsEff = 0;          // sense resistor with the feedback divider across it, Ω
    double Rt = 0;             // R_LOAD + RsEff, Ω
    double fzL = 0;            // load zero R_T / L
    double fzC = 0;            // path-2 zero C_FB R_D
    double gInv = 0, gNon = 0; // transconductance, A/V
    double zeroCross = 0;      // where path 1 meets the lower of the loop gain and path 2
};

struct BodeResult
{
    // Why the loop could not be analysed, one line naming the input ("R_S is 0: the
    // transconductance is unbounded"); empty when it was. A refused loop has the verdict
    // kNotAnalysed, no figures (not a number), no curves and no graphs.
    QString refusal;
    bool analysed() const { return refusal.isEmpty(); }

    double closureFrequency = 1.0; // Hz
    int closureIndex = 1;          // grid index of the closure
    double phaseMargin = 0;        // degrees, at most 180
    double rateOfClosure = 0;      // dB/decade
    double maxBandwidth = 1.0;     // Hz
    double slewRate = 0;           // V/µs, of the selected option

    QString verdict;      // "STABLE", "MARGINALLY STABLE", "UNSTABLE" or kNotAnalysed
    QString verdictStyle; // style sheet of the verdict label

    BodeFigures figures;

    // Only with BodeInput::report:
    QStringList details;                   // the detail report, one paragraph each
    QVector<double> frequency;             // the grid
    QMap<QString, QVector<double>> curves; // every curve on the grid by name, drawn or not
    QVector<BodeGraph> gainGraphs, phaseGraphs;
    double phaseAxisUpper = 135; // upper end of the phase axis for the graphs
};

// The grid: 128 points, 16 per decade from 1 Hz (last about 86.6 MHz).
constexpr int kGridPoints = 128;
constexpr double kGridStep = 1.1547819846894583; // 10^(1/16)
QVector<double> frequencyGrid();

// Straight-line gain of a pole (negative) or zero (positive) at corner x, in dB.
double poleGain(double f, double x);
double zeroGain(double f, double x);
// Straight-line phase of a corner: 0 up to a tenth of it, 45° per decade for two decades,
// then 90°. Lag negative, lead positive.
double lagPhase(double f, double x);
double leadPhase(double f, double x);

// The verdict of a loop that could not be analysed.
extern const char *const kNotAnalysed; // "NOT ANALYSED"
// Verdicts ordered from worst to best: not analysed 0, unstable 1, marginally stable 2,
// stable 3.
int verdictRank(const QString &verdict);

struct Verdict
{
    QString text;
    bool stable = false; // green; every other verdict is red
};
// A rate of closure above 21 dB/decade (a 40 dB/decade closure) marks a loop that rings
// whatever its margin; exactly 21, or a rate that is not a number, is unstable.
Verdict judgeLoop(double rateOfClosure, double phaseMargin);
QString verdictStyleSheet(bool stable);

// A capacitor text: exactly "open" is no capacitor (0 F), anything else is read as typed.
double capacitorValue(const QString &text);

// Capacitive load through R_ISO, inverting or non-inverting, with C_FB and (inverting only)
// the noise-gain network R_NG + C_NG.
BodeResult capacitiveLoadBode(const BodeInput &in, const amp &part);

// Inductive load R_LOAD + L_LOAD with current sense R_S (optionally amplified by R_S GAIN):
// feedback path 1 through R_IN / R_FB, local path 2 through R_D + C_FB.
BodeResult inductiveLoadBode(const BodeInput &in, const amp &part);

// Host op-amp around the capacitive-load power stage, outer feedback HOST R_FB || HOST C_FB,
// HOST R_NG + HOST C_NG in the inverting circuit.
BodeResult compositeCapacitiveBode(const BodeInput &in, const amp &part);

// Host op-amp around the inductive-load power stage.
BodeResult compositeInductiveBode(const BodeInput &in, const amp &part);

} // namespace stab
