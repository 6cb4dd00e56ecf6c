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

// The signal frequency the sweeps take their default span from when the signal frequency and
// bounds give none (Fsig 0 is a DC output; an Fsig below 1 Hz gives no attenuation span).
constexpr double kDefaultSpanFsigHz = 1000;

// A sweep's span: the typed bounds and the signal frequency, or, when they give no ascending
// span, the default span of the sweep for kDefaultSpanFsigHz (fallback true).
struct Span
{
    double fmin = 0, fmax = 0;
    bool fallback = false;
};
// 0 .. 3 Fsig by default, linear.
Span linearSpan(const SweepRange &range, double FsigHz);
// 1 Hz .. Fsig^2 by default, logarithmic; a typed Fmin of 0 is 1 Hz.
Span logSpan(const SweepRange &range, double FsigHz);

struct OutputSweep
{
    double fmin = 0, fmax = 0; // the x range to show
    bool defaultSpan = false;  // the span is the default one (see Span)
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
    bool defaultSpan = false;
    QVector<double> f, Zout, Aout, Zload, Aload; // ohm, degrees
    double largest = 0;                          // largest magnitude of both curves
};
// 0 .. 3 Fsig by default, 100 equal steps.
ImpedanceSweep impedanceSweep(const Network &net, double FsigHz, const SweepRange &range);

struct AttenuationSweep
{
    double fmin = 0, fmax = 0;
    bool defaultSpan = false;
    QVector<double> f, dB, percent;
};
// 1 Hz .. Fsig^2 by default, 100 points on a geometric scale; a 100 V drive.
AttenuationSweep attenuationSweep(const Network &net, double FsigHz, const SweepRange &range);

} // namespace pwmpower
