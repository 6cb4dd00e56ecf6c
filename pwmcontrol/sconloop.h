#pragma once

#include "catalog/pwm.h"
#include "pwmcontrol/sconcomponents.h"
#include "pwmcontrol/scontypes.h"

#include <QString>
#include <QVector>

// The closed loop around the integrator of the PWM control circuit: its gain against frequency
// with the peaking and the phase margin estimated from it, and the operating ranges of the
// circuit's nodes for the typed input range.
namespace scon {

// The operating-range texts, one per node.
enum Range {
    IntegratorOut,  // " V"
    PwmOut,         // " V", bridge output, Vs * duty cycle
    DiffAmpOut,     // " V"
    IntegratorCmIn, // " V", Voltage 2 only
    PwmOutCurrent,  // " A", Current 1 only
    LoadCurrent,    // " A"
    LoadVoltage,    // " V"
    RangeCount
};

// "Integrator Output:\n" ...
QString rangeHeading(int range);
// Heading, lower and upper end without prefixes, unit: "V at Load:\n-30 to 30 V".
QString rangeText(int range, double centre, double amplitude);
// Heading and the no-result placeholder: a range that could not be calculated.
QString noRangeText(int range);

struct LoopInput
{
    Topology topology = Topology::Current2;
    bool fullBridge =
        true; // read by the voltage loops only; the current loops assume a full bridge
    ValueStrings values;
    double vs = 0, vcc = 0;        // V
    double fsigHz = 0;             // signal frequency
    double vinMax = 0, vinMin = 0; // input range, V
    FilterPlant plant;
};

struct LoopResult
{
    // Why the loop could not be computed (a value the circuit cannot have, a divisor of 0, a
    // gain that is not finite): one red note; empty when it was. Nothing else is set then.
    QString problem;
    // Why some operating ranges could not be computed; their texts show the placeholder.
    QString rangeProblem;

    // The 400 sweep points, 1 Hz to about 966 kHz, gain in dB.
    QVector<double> freqHz, gainDb;
    double gainMin = 0, gainMax = 0;
    double peakHz = 1; // first frequency of the largest gain
    double peakingDb = 0;
    double phaseDeg = 50; // estimate from the peaking, not clamped

    bool written[RangeCount] = {};   // ranges this topology computes
    bool known[RangeCount] = {true, true, true, true, true, true, true}; // finite when written
    bool showLabel[RangeCount] = {}; // ranges whose label the schematic shows
    double centre[RangeCount] = {};
    double amplitude[RangeCount] = {};
    QString text[RangeCount];
    bool pwmOutRed = false;     // bridge output leaves the supply range
    bool currentOutRed = false; // Current 1: output current beyond the continuous rating
};

// Sweeps 1/X, the closed-loop gain from the integrator's non-inverting input to its output,
// from complex impedances: X = (1/Zint + loop transfer admittance) / (admittance at the
// inverting node). The modulator is k·Vs/Vramp into the divider of output resistance and
// filter input impedance. Ranges: DC point at 0.01 Hz for the middle of the input range,
// AC swing at the signal frequency for half the input span.
LoopResult analyseLoop(const LoopInput &in, const pwm &part);

// Phase margin in degrees estimated from the peaking in dB of the closed-loop gain: a cubic
// fit of the second-order relation between the two, 50° at no peaking.
double phaseFromPeaking(double peakingDb);

} // namespace scon
