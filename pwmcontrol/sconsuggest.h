#pragma once

#include "catalog/pwm.h"
#include "pwmcontrol/sconcomponents.h"
#include "pwmcontrol/scontypes.h"

#include <QPair>
#include <QString>
#include <QVector>

// Closed-form component values for a control loop: the crossover is put at a tenth of the
// switching frequency and the integrator zero at 0.4 of it, the difference amplifier keeps
// its output inside its supply, and the bias resistor centres the output range.
namespace scon {

struct SuggestInput
{
    Topology topology = Topology::Voltage1;
    bool fullBridge = true; // voltage topologies only; the current ones assume a full bridge
    double fsigHz = 0, fswHz = 0;
    double vinMax = 0, vinMin = 0; // V
    double outMax = 0, outMin = 0; // V (voltage topologies) or A (current topologies)
    double vs = 0, vcc = 0;        // V
    // The values the user chooses and the routine keeps: Rin always, Rdf (not in Voltage 2),
    // Rs (current topologies), Rdin (Current 2).
    ValueStrings values;
    // The peak frequency the last loop calculation reported, as the page shows it ("10 kHz").
    QString peakText;
    FilterPlant plant; // its AC part is evaluated at the signal frequency
};

struct SuggestResult
{
    // Why nothing was suggested (an input that leaves the formulas without a finite result);
    // empty when values were computed.
    QString problem;
    // The new strings, in the order they are stored; every other value stays as it is.
    QVector<QPair<int, QString>> stored;
    // The numbers behind them (NaN for a value not computed), for checks.
    double value[ValueCount];
};

SuggestResult suggest(const SuggestInput &in, const pwm &part);

} // namespace scon
