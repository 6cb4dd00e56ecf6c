#pragma once

#include "pwmpower/pwmnetwork.h"

// Estimated parasitics of the filter parts from the "Filter Parasitics" coefficients, and the
// matching network that cancels the load's reactance at 1 kHz. Results are typed values
// (engString without unit) written into the parts' triples.
namespace pwmpower {

// Inductors: series resistance = ESR constant + ESR slope x L, parallel capacitance = PC
// constant + PC slope x L; a = ohm, b = F, c = ohm per H, d = F per H. An inductance of 0 or
// "open" gets no parasitics ("0", "0").
void estimateInductorParasitics(Triple &inductor, double a, double b, double c, double d);

// Capacitors: ESR and ESL grow with the decade of the capacitance in uF (flat below 1 uF):
// R = rc + rb log10(C/1uF), L = lc + lb log10(C/1uF); rc ohm, lc H, rb ohm and lb H per decade.
// A capacitance of 0 or "short" gets no parasitics.
void estimateCapacitorParasitics(Triple &capacitor, double rc, double lc, double rb, double lb);

// The series RL (capacitive load) or RC (inductive load) branch that makes the load, of
// magnitude Zload (ohm) and angle AloadDeg at 1 kHz, look like its resistance R: L = R^2 C,
// C = L / R^2. No matching network ("0", "0", "0") for an open load branch, a load that is
// resistive already, or one without resistance (a pure reactance, |angle| at 90 degrees: no
// branch makes it look resistive); *reactiveOnly tells the last case.
Triple autoMatchingNetwork(double Zload, double AloadDeg, const Triple &L5,
                           bool *reactiveOnly = nullptr);

} // namespace pwmpower
