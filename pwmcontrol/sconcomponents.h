#pragma once

#include <QString>

// The nineteen component values of the control circuit, as the user typed them, and how each
// is read and shown.
namespace scon {

// In the order of their design-file keys SConRint ... SConCv.
enum Value {
    Rint, // integrator: resistor in series with Cint
    Cint,
    Vref,  // reference at the integrator's non-inverting input, V
    Vbias, // bias source, V
    Rbias, // bias resistor into the summing node (Voltage 1, Current 1 and 2)
    Rin,   // input resistor
    Rf,    // feedback resistor from the difference amplifier
    Rnf,   // noise filter between integrator and modulator
    Cnf,
    Rdf, // difference amplifier feedback, with Cdf across it
    Cdf,
    Rdin, // input T network: series resistor at the amplifier side
    Rdif, // input T network: series resistor at the sensed side
    Cdif, // input T network: capacitor to ground at the junction
    Rbh,  // Voltage 2: pull-up from Vbias
    Rbl,  // Voltage 2: pull-down to ground
    Rs,   // current-sense resistor
    Rv,   // voltage feedback branch of the current loops, in series with Cv
    Cv,
    ValueCount
};

// "SConRint" ...
QString valueKey(int v);
// "Ω", "F" or "V": the unit written after a value on the schematic.
QString valueUnit(int v);
bool isCapacitor(int v);
// Values drawn twice in some circuit (both labels show and edit the same string).
bool isPaired(int v);

struct ValueStrings
{
    QString text[ValueCount];
    const QString &operator[](int v) const { return text[v]; }
    QString &operator[](int v) { return text[v]; }
};

// A value as the loop reads it: the typed text through the shared parser; for a capacitor the
// words count as a circuit would ("open" and "none" remove it, 0 F; "short", "inf" and "Inf"
// make it a short, infiniteValue F), where the parser alone would read "open" as huge.
double readValue(const QString &text, bool capacitor);

struct Values
{
    double v[ValueCount] = {};
    double operator[](int i) const { return v[i]; }
};

Values readValues(const ValueStrings &s);

} // namespace scon
