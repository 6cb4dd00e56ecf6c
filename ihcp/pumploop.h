#pragma once

#include "ihcp/pumpmodel.h"

#include <QString>
#include <QVector>

// The pump's loop: an asymptotic Bode analysis judged by rate of closure, with a suggested
// damping network, and the sweep of the worst-case error over load impedance. Hz, dB, ohms,
// farads, henries, amperes.
namespace ihcp {

enum class NoteColour { Black, Green, Red };

// One paragraph of the page's notes.
struct PumpNote
{
    QString text;
    NoteColour colour = NoteColour::Black;
};

struct LoopInput
{
    double rin = 0, rfn = 0, rfp = 0, rs = 0, rload = 0;
    bool inductive = false; // the load's reactive part is an inductance ("short" capacitance)
    double cload = 0;       // F; 0 for an "open" capacitance
    double lload = 0;       // H
    double rd = 0;          // damping resistor, infiniteValue when "open"
    double cd = 0;          // damping capacitor, 0 when "open"
    bool damping = false;   // R_D and C_D are both given
    double freqHz = 0;      // signal frequency, for the output impedance

    // The amplifier at its compensation option: DC gain (dB), poles (Hz), GBWP (kHz).
    double aolDc = 0, pole1 = 0, pole2 = 0, pole3 = 0, gbwpKHz = 0;

    double iMax = 0, iMin = 0; // load current extremes, for the sense resistor's power; NaN
                               // when a current field cannot be used

    // Why the loop cannot be analysed (a circuit value the model cannot use); empty when it
    // can. The open-loop gain is still computed: it depends on the amplifier alone.
    QString refusal;
};

// NotAnalysed: an input could not be used, or the open-loop gain never meets 1/beta on the grid.
enum class Verdict { Stable, Marginal, Unstable, NotAnalysed };

// The verdict by rate of closure (dB/decade): below 21 stable; below 41 marginal when the
// larger of the load corner and the first amplifier pole lies above a tenth of the closure
// frequency; else (and for an undefined rate) unstable.
Verdict judgeClosure(double roc, double fZero, double pole1, double closureFreq);

struct LoopResult
{
    // 128 points, 1 Hz up in steps of 10^(1/16): 16 per decade to about 86.6 MHz.
    QVector<double> freq;
    QVector<double> aol; // open-loop gain
    // The feedback curves; empty when the loop was refused.
    QVector<double> beta;      // 1/beta of the main path
    QVector<double> beta2;     // 1/beta of path 2, through the damping network
    QVector<double> effective; // the lower of the two paths
    QVector<double> vload;     // the lowest of open-loop gain and the two paths

    // Feedback fractions and the corners of the 1/beta curves.
    double betaMinus = 0, betaPlusDC = 0, betaPlusAC = 0, betaPlusRD = 0;
    double lDC = 0, lAC = 0; // 1/beta at DC and at high frequency, dB
    double fZero = 0, fPole = 0, fD = 0;

    int closureIndex = 127;       // point nearest the crossing with the effective 1/beta
    double closureFreq = 0;       // its frequency; infiniteValue when none is nearer than A_DC
    int closureIndexMain = 127;   // nearest the crossing with the main path alone
    double betaAtClosureMain = 0; // 1/beta there
    double roc = 0, rocMain = 0;  // rates of closure, dB/decade
    double dampingFraction = 0;   // beta- - beta+(R_D) that the suggestion aims for
    Verdict verdict = Verdict::Unstable;
    QString why;                 // the reason for NotAnalysed, or for a net positive feedback
    bool suggestDamping = false; // inductive load with a corner, closing at 21 dB/decade or more
    double rdSuggested = 0, cdSuggested = 0;

    // NaN where a figure cannot be computed (a refused loop, an unusable current).
    double outputImpedance = 0;   // ohms, at the signal frequency
    double outputCapacitance = 0; // F
    double senseRmsPower = 0;     // W in R_sense
    double bandwidth = 0;         // Hz where the loop gain falls to 20 dB; infiniteValue when
                                  // it never does, NaN when the loop was refused

    QVector<PumpNote> notes; // the STABILITY and MISCELLANEOUS DETAILS sections
};

// The loop of the pump. The negative feedback fraction beta- = Rin/(Rfn+Rin) fights the
// positive one through Rfp, which depends on what loads the load node: unloaded at one end of
// the band, R_load at the other (an inductor opens at high frequency, a capacitor shorts).
// 1/beta = 1/(beta- - beta+) moves between the two levels with a zero at the load's corner
// (R_load + R_s against L or C) and a pole where it flattens again. Path 2 is the
// loop through R_D + C_D. Rate of closure is the difference of slopes where the open-loop
// gain meets the effective 1/beta: below 21 dB/decade stable, below 41 marginal when the
// crossing lies within a decade of the corners, else unstable. For an inductive load that
// closes too fast, R_D is chosen so that beta- - beta+(R_D) sets the damping fraction, with
// the damping zero a fifth of the load corner. A non-positive beta difference is taken as an
// infinitely high 1/beta: net positive feedback, judged unstable. A verdict needs the open-loop
// gain to cross the effective 1/beta somewhere on the grid; an open load (R_load open, an open
// inductance, a zero capacitance) leaves the load node unloaded and has no corners.
// The output impedance is that of the load node with the amplifier's gain A at the signal
// frequency: the sense path Rs / (1 - A k / (1 + A beta-)), k = Rin/(Rfp + Rin), in parallel
// with Rip + Rfp, which also loads the node.
LoopResult analyseLoop(const LoopInput &in);

struct SweepResult
{
    QVector<double> impedance;    // ohms, 400 points up to the largest load magnitude
    QVector<double> errorPercent; // worst-case error against the ideal transconductance
    bool defined = false;         // false: no load magnitude or no ideal transconductance
    QString why;                  // when not defined, the reason
};

// The largest load magnitude sqrt(R^2 + X^2) at the signal frequency. Here the capacitance is
// read as typed, so "open" reads as a huge capacitance with a negligible reactance.
double sweepMaxImpedance(const QString &rload, const QString &cload, const QString &lload,
                         const QString &freq);

// The worst-case error |(G_wc - G_ideal)/G_ideal| in percent against resistive loads from
// zmax/400 to zmax, against the page's ideal transconductance -+Rfn/(Rin Rs). An open load
// (zmax at or beyond infiniteValue) has nothing to sweep.
SweepResult sweepLoad(const Resistors &r, const Tolerances &tol, comp zd, bool inv, double zmax);

// The ideal transconductance of the page: -+Rfn/(Rin Rs), negative when inverting.
double idealTransconductance(const Resistors &r, bool inv);

// "<caption><value with unit>", red with the no-result placeholder for a value that is NaN
// or infinite.
PumpNote valueNote(const QString &caption, double value, const QString &unit);

// The page's texts that come from its results; NaN for a result that could not be computed.
QVector<PumpNote> transconductanceNotes(double ideal, double actual, double worst);
// The schematic's ranges; red with the placeholder when the range has no finite value.
PumpNote inputRange(double iMin, double iMax, double gActual);
PumpNote loadRange(double iMin, double iMax, double zMagnitude);
// The bandwidth section: infiniteValue when the loop gain never falls to 20 dB (said so), NaN
// when the loop was refused (the stability section says why).
QVector<PumpNote> bandwidthNotes(double bandwidth);

} // namespace ihcp
