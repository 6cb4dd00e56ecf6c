#include "stability/rccalc.h"

#include "values/engvalues.h"

#include <cmath>

namespace stab {

double capacitorForPole(double R, double f)
{
    return 1 / ((R * kTwoPi) * f);
}

double poleFrequency(double R, double C)
{
    return 1 / ((R * kTwoPi) * C);
}

double resistorForPole(double f, double C)
{
    return 1 / ((kTwoPi * f) * C);
}

double isolationResistorPower(double R, double I)
{
    return (I * I) * R;
}

QString isolationPowerText(double watts)
{
    const QString figure = std::isfinite(watts)
                               ? QString::number(watts, 'g', 6) + QStringLiteral(" W")
                               : eng::noResultText();
    return QStringLiteral("Minimum R_ISO Power Rating: ") + figure;
}

} // namespace stab
