#pragma once

#include "catalog/pwm.h"
#include "pwmpower/powerdetails.h"
#include "pwmpower/pwmnetwork.h"

#include <QVector>

// The power page's curves against frequency: output and load currents, voltages and powers
// with the amplifier's own loss, the impedances and their angles, and the filter's
// attenuation. Hz, A rms, V rms, W, ohm, degrees.
namespace pwmpower {

// Plot bounds as typed: a bound marked automatic takes the default of its sweep.
struct SweepRange
{
    bool minAuto = true;
    double fmin = 0;
    bool maxAuto = true;
    double fmax = 0;
};

struct OutputSweep
{
    double fmin = 0, fmax = 0; // the x range to show
    QVector<double> f;
    QVector<double> Iout, IL;             // A rms, amplifier output and load
    QVector<double> Vout, VL;             // V rms
    QVector<double> Pfil;                 // true power lost in the filter
    QVector<double> Sload, Pload;         // apparent and true power in the load
    QVector<double> PRm;                  // true power in the matching network's resistor
    QVector<double> Pint;                 // amplifier dissipation with 25 °C junctions
    QVector<double> effApparent, effTrue; // per cent of the total true power
    double hotSpot = 0; // frequency of the largest Pint, 0 when nothing dissipates
};

// 0 .. 3 Fsig by default, in 100 equal steps, plus 59.9 and 60.1 Hz around the step at 60 Hz
// below which a switch carries the whole half-cycle's current (sqrt 2 more rms current).
// Piq is the quiescent power; MN the matching-network part as typed.
OutputSweep outputSweep(const Network &net, const pwm &part, const PowerInput &in, double Piq,
                        const SweepRange &range);

struct ImpedanceSweep
{
    double fmin = 0, fmax = 0;
    QVector<double> f, Zout, Aout, Zload, Aload; // ohm, degrees
    double largest = 0;                          // largest magnitude of both curves
};
// 0 .. 3 Fsig by default, 100 equal steps.
ImpedanceSweep impedanceSweep(const Network &net, double FsigHz, const SweepRange &range);

struct AttenuationSweep
{
    double fmin = 0, fmax = 0;
    QVector<double> f, dB, percent;
};
// 1 Hz .. Fsig^2 by default, 100 points on a geometric scale; a 100 V drive.
AttenuationSweep attenuationSweep(const Network &net, double FsigHz, const SweepRange &range);

} // namespace pwmpower
