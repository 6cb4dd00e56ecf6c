#pragma once

#include "values/comp.h"

#include <QString>
#include <QStringList>

// The improved Howland current pump: one amplifier and five resistors that turn an input
// voltage into a load current. Ohms, farads, henries, hertz, A/V; tolerances in percent.
namespace ihcp {

constexpr double kTwoPi = 6.283185307179586;

// The five resistors: the two input resistors (inverting and non-inverting side), the
// feedback resistors to each input, and the sense resistor between amplifier and load.
struct Resistors
{
    double rin = 0;
    double rip = 0;
    double rfn = 0;
    double rfp = 0;
    double rs = 0;
};

// The tolerance bands, percent. The input tolerance serves both input resistors.
struct Tolerances
{
    double in = 0;
    double fn = 0;
    double fp = 0;
    double s = 0;
};

// The load as the page keeps it: a resistance in series with a capacitance or, when the
// capacitance text is "short", an inductance, at the signal frequency. A reactive part that
// reads 0 ("short") leaves a pure resistance; an "open" capacitance an infinite reactance.
// Capacitive reactance carries the usual negative sign, so that a damping capacitor and an
// inductive load behave as a real circuit does.
comp loadImpedance(const QString &rload, const QString &cload, const QString &lload,
                   const QString &freq);

// The damping network R_D + C_D of the load node. "open" C_D removes the branch (infinite
// reactance, whatever R_D is); "short" C_D leaves R_D alone.
comp dampingImpedance(const QString &rd, const QString &cd, double freqHz);

// Load current per volt of input (real part), by nodal analysis of the pump with an ideal
// amplifier. k = Rip/(Rfp+Rip) divides the load voltage onto the non-inverting input,
// g = 1 + Rfn/Rin is the gain from there to the output, D the impedance seen at the load node;
// H (load volts per input volt) solved for each input mode and divided by Zl. Negative when
// inverting. A zero divisor follows the comp rule (infiniteValue), an infinite one gives 0.
double transconductance(const Resistors &r, comp zl, comp zd, bool inv);

// The transconductance at the tolerance corner farthest from the nominal one: all 3^5
// combinations of each resistor at -tol, nominal and +tol (both input resistors vary on their
// own). Ties keep the earlier combination; all tolerances 0 give the nominal value.
double worstCase(const Resistors &r, const Tolerances &tol, comp zl, comp zd, bool inv);

// The tolerance steps the automatic design tries, loosest first; the last reads as 0 %.
QStringList toleranceSteps();

// Result of the automatic design: feedback resistors for the requested transconductance and
// the loosest tolerances whose worst case stays within the allowed error.
struct AutoDesign
{
    bool valid = false; // false: nothing to design for (a zero or unreadable target, R_IN or
                        // R_S unusable, a target whose resistors would not be positive)
    QString why;        // when not valid, the reason
    bool targetAtFault = false; // the reason lies with the requested transconductance
    bool met = false; // some pair of tolerances met the error; else all are "0 (trim pot)"
    QString rfn, rfp; // 6 significant digits, shortest form ("10000", "9999")
    QString tolIn, tolFn, tolFp, tolS;
    int trials = 0; // worst cases computed
};

// Rfn = Rs * g * Rin makes the ideal transconductance g; Rfp = Rfn - Rs balances the bridge
// (Rfp + Rs = Rfn). The three bridge tolerances tighten one step at a time while the sense
// tolerance runs from the loosest step down to the same one; the first pair whose worst-case
// error is strictly below |errorPercent| is kept. The damping network is taken as open.
// The sign of g is ignored: the input mode alone sets the sign. Nothing is designed unless
// Rin and Rs are positive and not open and both feedback resistors come out positive.
AutoDesign autoDesign(double g, double errorPercent, double rin, double rs, comp zl, bool inv);

} // namespace ihcp
