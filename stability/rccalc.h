#pragma once

#include <QString>

// The R-C pole calculators of the stability page and the power rating of the isolation
// resistor. Ω, F, Hz, A, W. The formulas do not guard against a zero input (the pole of a
// zero resistor or capacitor is infinite); the page does not show such a result.
namespace stab {

constexpr double kTwoPi = 6.283185307179586;

// C = 1 / (2π R f): the capacitor that puts a pole at f with R.
double capacitorForPole(double R, double f);
// f = 1 / (2π R C).
double poleFrequency(double R, double C);
// R = 1 / (2π f C).
double resistorForPole(double f, double C);
// P = I² R: what R_ISO dissipates at the largest output current.
double isolationResistorPower(double R, double I);
// "Minimum R_ISO Power Rating: " + P (6 significant digits) + " W"; the placeholder in place
// of P and its unit when P is not finite.
QString isolationPowerText(double watts);

} // namespace stab
