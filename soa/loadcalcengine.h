#pragma once

#include <QString>

// Arithmetic of the load calculator: the impedance of an R-L-C combination at one frequency,
// and the series or parallel combination of two impedances given as magnitude and angle.
// Ohms, henries, farads, hertz; angles in degrees, positive for an inductive load.
//
// The calculator has always used 2π = 6.28318 and π = 3.14159, and users compare its figures
// with earlier printouts, so those constants stay (an angle of a nearly pure reactance shows
// 90.0001, not 90).
namespace soa {

// A typed entry of the calculator as its own reader sees it.
struct CalcEntry
{
    double value = 0;
    bool valid = true; // false: the field turns red and the value is 0
};

// The calculator's reader: the exact words "open", "none", "foil", "Inf", "inf" are infinite
// (4294967295), "short", "Nan", "nan" are 0; otherwise a number with one optional SI prefix
// letter (K/k M G/g T/t m U/u N/n P/p F/f, or "MEG"/"meg") and nothing after it. A text that
// starts with a letter, or holds anything else after the number, is invalid. An empty text,
// or one that holds no number at all, reads as a valid 0.
CalcEntry readCalcEntry(const QString &text);

// One component of the R-L-C circuits: its value as read and whether its text is exactly one
// of the two words, which decide the circuit before any value does.
struct CalcComponent
{
    double value = 0;
    bool open = false;    // text exactly "open"
    bool shorted = false; // text exactly "short"
};

CalcComponent calcComponent(const QString &text, double value);

// The entry a result that cannot be shown is blamed on; its field turns red.
enum class CalcField { None, R, L, C, Frequency, Z1, Z2, Angle1, Angle2 };

// The largest magnitude the calculator shows. Far beyond any load a power stage drives, and
// small enough that six digits never need an exponent of more than one digit.
constexpr double kLargestCalcImpedance = 1e9; // Ω

struct CalcImpedance
{
    // Beyond: the magnitude overflows or lies above kLargestCalcImpedance; no figure.
    enum class Kind { Finite, Open, Short, Beyond };
    Kind kind = Kind::Finite;
    double magnitude = 0; // Ω
    double angle = 0;     // degrees
    // For Beyond: a one-line note on why, and the entry that makes it so.
    QString note;
    CalcField cause = CalcField::None;

    // The texts the result labels show: six significant digits, "open"/"0" for an open
    // circuit, "0"/"0" for a short, and the placeholder for both when there is no figure.
    QString magnitudeText() const;
    QString angleText() const;
};

// R, L and C in series. Any of the three "open", or a capacitance of 0, opens the circuit.
// An infinite impedance (a capacitor at 0 Hz) is reported as open too; a finite one beyond
// kLargestCalcImpedance is Beyond, blamed on the term that makes it so.
CalcImpedance seriesRlc(const CalcComponent &R, const CalcComponent &L, const CalcComponent &C,
                        double freqHz);

// R, L and C in parallel. Any of the three "short", or an R or L of 0, shorts the circuit; all
// three open (C "open" or 0) opens it. An infinite susceptance (an inductor at 0 Hz) is a
// short; an exact resonance with no resistor is open, a near one beyond the largest magnitude
// is Beyond, as is a circuit whose every branch passes next to nothing.
CalcImpedance parallelRlc(const CalcComponent &R, const CalcComponent &L, const CalcComponent &C,
                          double freqHz);

// Two impedances Z1∠A1 and Z2∠A2 in series: the phasor sum. The angle is the four-quadrant
// angle of the sum, so a sum with a negative real part is not folded into ±90°. A sum beyond
// the largest magnitude, or an angle too large to turn, is Beyond.
CalcImpedance combineSeries(double z1, double a1Deg, double z2, double a2Deg);

// In parallel: 1 / (1/Z1 + 1/Z2). Summing the admittance magnitudes at the impedances' own
// angles gives the conjugate of the admittance, whose angle is the impedance's angle. A zero
// impedance shorts the pair; two that cancel exactly open it, two that nearly cancel, or
// that are both beyond the largest magnitude, are Beyond.
CalcImpedance combineParallel(double z1, double a1Deg, double z2, double a2Deg);

} // namespace soa
