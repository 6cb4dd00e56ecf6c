#pragma once

#include "pwmpower/pwmnetwork.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The ideal LC output filter of a PWM amplifier: the Butterworth order that brings the
// switching ripple down to what is allowed, the ladder values for that order, the matching
// network that makes a series RC or RL load look resistive, and the hand-over of the design
// to the power page's network. Volts, ohms, henries, farads; the order computation works with
// frequencies in kHz as the page does.
namespace pwmpower {

// Normalised value of the first series inductor of the Butterworth ladder of order n (1..6).
// Orders outside 1..6 are clamped into the table.
double firstElement(int n);

struct FilterOrderInput
{
    double Vs = 0;      // supply, V
    double Vrip = 0;    // allowed peak ripple at the load, V
    double FswKHz = 0;  // switching frequency, kHz
    double FcutKHz = 0; // cutoff frequency, kHz
    double RL = 0;      // load resistance, ohm
    int n = 1;          // order actually used
    bool singleEnded = false;
};

struct FilterOrderResult
{
    double recommended = 0; // whole order (or inf / nan for Fsw = Fcut), not limited to 1..6
    double rippleV = 0;     // peak ripple voltage at the load for order n, V
    double L1mH = 0;        // first inductor, mH (the frequency is in kHz)
    double rippleI = 0;     // peak ripple current, A
    double Cleg = 0;        // leg capacitor of the split-inductor filter, F
    QStringList notes;      // why the order is NaN although every input was usable
};

// The ripple left at the load falls by (Fsw / Fcut)^n; a bridge doubles the square wave's
// amplitude (k = 2), 1.25 covers the square wave's fundamental (4/pi) with margin. The ripple
// current is the first inductor's triangle at half duty; C_leg = 1 / (0.145 Fcut R_L) uF
// with Fcut in kHz. An input that is NaN (unusable) leaves NaN in every figure that needs it;
// Fsw not above Fcut leaves the recommended order NaN, since no order brings the ripple down.
// An order below 0 (the allowed ripple exceeds the unfiltered one) is 0.
FilterOrderResult filterOrder(const FilterOrderInput &in);

// Full ladder values of order n (1..6) for load R_L and cutoff Fcut (Hz): the singly
// terminated Butterworth prototype scaled by L_base = R_L / (2 pi Fcut), C_base = 1 / (2 pi
// Fcut R_L). inductors[k] and capacitors[k] exist for k < count; the rest stay 0.
struct Ladder
{
    int inductorCount = 0;
    int capacitorCount = 0;
    double inductors[3] = {0, 0, 0};
    double capacitors[3] = {0, 0, 0};
};
Ladder butterworthLadder(int n, double RL, double FcutHz);

// The value each label of the drawn ladder shows for one physical part: a two-line filter
// splits each inductor into two halves, a dual-capacitor filter puts two capacitors of twice
// the value in series from the lines to the return.
double inductorLabelValue(double full, FilterType type);
double capacitorLabelValue(double full, FilterType type);

// Ideal attenuation of an n-th order Butterworth filter over 400 points from 1 Hz, each 10^0.015
// above the last: gain in dB and the share of the amplitude removed in per cent.
struct AttenuationCurve
{
    QVector<double> freq, gainDb, percent;
};
AttenuationCurve butterworthAttenuation(double FcutHz, int n);

// Matching network for a series RC load (C in uF as typed) or series RL load (L in mH): a
// branch across the load of the same R with the dual reactive part, so the two together are
// the resistance R at every frequency (R^2 C = L). `none` when the load has no reactive part.
struct Matching
{
    bool none = true;
    bool capacitiveLoad = true; // the branch holds L (else C); R = 0 makes L 0, C unbounded
    double R = 0;
    double L = 0; // H, for a capacitive load
    double C = 0; // F, for an inductive load
};
Matching matchingForCapacitiveLoad(double R, const QString &CloadText, double CloadMicro);
Matching matchingForInductiveLoad(double R, const QString &LloadText, double LloadMilli);

// The filter page's design as the power page's network parts. filterValues holds inductors
// 1..3 then capacitors 1..3 (full values); only elements up to `order` are written.
enum class LoadKind { Capacitive, Inductive, Unset };
struct HandOverInput
{
    double filterValues[6] = {0, 0, 0, 0, 0, 0};
    int order = 1;
    FilterType type = FilterType::SingleEnded;
    LoadKind load = LoadKind::Inductive;
    double RL = 0;         // the ladder's load resistance
    QString CloadText;     // as typed, uF
    double CloadMicro = 0; // its value
    QString LloadText;     // as typed, mH
    double LloadMilli = 0; // its value
};
struct HandOver
{
    Triple P[6];
    Triple MN;
    Triple L[5];
};
// Every number is written with engString and no unit, so that it reads back.
HandOver handOverFilter(const HandOverInput &in);

// The note a page shows after a hand-over whose part it does not offer: it names the part and
// the one the design was taken over with.
QString partNotTakenOverNote(const QString &part, const QString &kept);

} // namespace pwmpower
