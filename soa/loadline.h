#pragma once

#include "catalog/amp.h"
#include "soa/soanote.h"
#include "soa/soasignal.h"

#include <QVector>

// The load line: the page's output signal driven into an R-L-C or DC-motor load, sample by
// sample, giving at each instant the current one amplifier delivers and the voltage across
// its conducting output stage. Volts, amperes, ohms, henries, farads, seconds, watts.
namespace soa {

struct LoadLineInput
{
    // The load as computed: "open" reads 4294967295 for R and L and 0 for C, "short" the
    // reverse. The words decide the flags, so they are passed as typed too.
    double R = 0, L = 0, C = 0;
    bool rOpenText = false, lOpenText = false, cOpenText = false; // text exactly "open"
    bool cShortText = false;                                      // text exactly "short"
    bool series = true;                                           // false: R, L and C in parallel

    double vsPos = 50, vsNeg = -50; // supplies of one amplifier
    double rCS = 0;                 // current-sharing resistor of paralleled amplifiers
    bool bridgeSame = false;        // bridge, both amplifiers on the same supplies
    bool bridgeInverted = false;    // bridge, the second amplifier on mirrored supplies
    int parallel = 1;               // amplifiers in parallel
    int cycles = 1;                 // periods shown
    int settle = 0;                 // periods run and discarded before those shown

    int signalKind = 0;        // 0 sine, 1 trapezoid, 2 uploaded, 3 DC motor
    bool voltageOutput = true; // signal values are volts (true) or amperes
    double gain = 1;           // scale of an uploaded waveform
    Signal signal;             // one period

    // DC motor: the winding resistance replaces the load; the mode picks the model.
    MotorMode motorMode = MotorMode::Normal;
    double motorESR = 0, motorEMF = 0, motorCurrent = 0, motorVDC = 0;

    bool boost = false; // boost supplies in use: swing coefficients at index 1

    // Every value the model reads could be read and is physically possible; when not, the
    // load line is not run (the flags and their notes are still found).
    bool usable = true;
};

struct LoadLineResult
{
    // Every sample's voltage and current is a number. When not, the series are empty, the
    // extremes and averages are NaN and the notes say which input prevents the figures.
    bool computable = true;
    QString problem; // why the samples are not numbers, when the inputs were usable
    bool connected = false; // a load line is drawn only for a connected load
    bool outputShorted = false;

    double R = 0;                // load resistance the model used
    double A = 0, B = 0, C0 = 0; // headroom A I² + B I + C0, B with R_CS when paralleled
    int points = 0;              // samples per period
    int cycles = 1;              // periods shown

    // One entry per shown sample.
    QVector<double> T;    // time, s
    QVector<double> V;    // load voltage
    QVector<double> I;    // load current
    QVector<double> Iamp; // current of one amplifier, |I| / N
    QVector<double> Vo;   // output voltage of one amplifier
    QVector<double> Vd;   // voltage across its conducting output stage
    QVector<double> Pload, Pamp;

    // Extremes of the shown load current and voltage; the start values stay when no sample
    // is shown or every sample is not a number.
    double maxIout = -999999999, minIout = 999999999;
    double maxVout = -999999999, minVout = 999999999;

    double PloadAvg = 0, PampAvg = 0, IampAvg = 0, PampPeak = 0;
    int direction = 0; // samples with positive current less those with negative current

    bool clipping = false, slewExceeded = false;
    bool continuousExceeded = false, peakExceeded = false, secondBreakdown = false;

    QVector<SoaNote> notes;
};

// The load model is integrated by the backward Euler rule with the signal's own time steps;
// the state carries over from period to period so that settle periods remove the start-up
// transient of reactive loads. Averages are over the shown periods. A series capacitor of 0 F
// (open) passes no current.
LoadLineResult simulateLoadLine(const LoadLineInput &in, const amp &part);

// A load line without figures: no samples, NaN extremes and averages, no sample flags; the
// load flags and the notes about them stay.
void dropFigures(LoadLineResult &r);

} // namespace soa
