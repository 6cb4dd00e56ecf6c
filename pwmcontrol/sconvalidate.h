#pragma once

#include "catalog/pwm.h"
#include "pwmcontrol/scontopology.h"
#include "pwmcontrol/scontypes.h"

#include <QVector>

// Step 2 of the wizard: the typed signal, supplies, switching frequency and output range
// checked against the chosen PWM amplifier.
namespace scon {

struct ValidateInput
{
    Topology topology = Topology::Voltage1;
    bool fullBridge = true;
    double fswHz = 0;  // switching frequency as typed, Hz (the part's limits are in kHz)
    double fsigHz = 0; // signal frequency, Hz
    double vs = 0, vcc = 0;
    double outMin = 0, outMax = 0; // V in the voltage topologies, A in the current ones
};

struct ValidateResult
{
    OutputCaptions captions;
    QVector<Note> notes; // after the leading "Notes:" line

    // A part that allows one value only: the field shows it and is locked.
    bool vccFixed = false;
    double vccFixedValue = 0; // V
    bool fswFixed = false;
    double fswFixedValue = 0; // Hz
};

// The notes in the order the user reads them: frequency ratio, Vs, Vcc, Fsw, then the output
// range. A supply or frequency the part fixes is not checked (the field is overwritten instead).
ValidateResult validate(const ValidateInput &in, const pwm &part);

} // namespace scon
