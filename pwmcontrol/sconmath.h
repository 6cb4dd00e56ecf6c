#pragma once

#include "catalog/pwm.h"
#include "values/comp.h"

#include <cmath>

// The arithmetic the loop model and the component suggestion share: the comp divisions of a
// real by a complex number, the Laplace variable, the input T network, and the modulator of
// the chosen part (its ramp and its output resistance).
namespace scon {

constexpr double kPi = 3.141592653589793;

// Divisions of a real number by a complex one keep the comp rules: a zero divisor gives
// infiniteValue, an infinite one (an open capacitor's reactance) gives 0.
inline comp over(double numerator, const comp &z)
{
    return comp(numerator, 0) / z;
}

inline comp inv(const comp &z)
{
    return over(1, z);
}

inline bool isFinite(const comp &z)
{
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// s = j·2π·f, formed as ((j·2)·π)·f.
inline comp laplace(double f)
{
    return ((comp(0, 1) * 2) * kPi) * f;
}

// Transimpedance of the input T network: Rdin + Rdif + s·Rdin·Rdif·Cdif.
inline comp tNetwork(const comp &s, double rdin, double rdif, double cdif)
{
    return (((s * rdin) * rdif) * cdif + rdin) + rdif;
}

// The modulator's ramp, V: a part whose ramp follows its logic supply gives its columns as
// divisors of Vcc.
struct Ramp
{
    double vpp = 0, mid = 0;
};

inline Ramp modulatorRamp(const pwm &part, double vcc)
{
    if (part.getRamp() == QLatin1String("VccDep"))
        return {vcc / part.getRamp_Vpp(), vcc / part.getRamp_Mid()};
    return {part.getRamp_Vpp(), part.getRamp_Mid()};
}

// Switches at 25 °C plus wiring, ohm; m is 2 for a full bridge and 1 for a half bridge, whose
// lower wiring carries the current of one leg only.
inline double outputResistance(const pwm &part, double m)
{
    return part.topResistance(25) + part.bottomResistance(25) + part.getTop_wire() +
           part.getBot_wire() * m * 0.5;
}

// The first step-2 input beyond the part's ratings ("Vs", "Vcc", "F_switch"), empty when none
// is: the likely cause when a formula overflows. fswHz 0 leaves the frequency out.
inline QString beyondRating(const pwm &part, double vs, double vcc, double fswHz)
{
    if (vs > part.getVs_max()) return QStringLiteral("Vs");
    if (vcc > part.getVcc_max()) return QStringLiteral("Vcc");
    if (fswHz / 1000 > part.getFsw_max()) return QStringLiteral("F_switch");
    return QString();
}

} // namespace scon
