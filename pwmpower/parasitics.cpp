#include "pwmpower/parasitics.h"

#include "values/engvalues.h"

#include <cmath>

namespace pwmpower {

namespace {

QString eng0(double v)
{
    return eng::engString(v, QString());
}

const QString kZero = QStringLiteral("0");

} // namespace

void estimateInductorParasitics(Triple &inductor, double a, double b, double c, double d)
{
    const double L = eng::parseValue(inductor.L);
    if (L == 0 || inductor.L == QLatin1String("open")) {
        inductor.R = kZero;
        inductor.C = kZero;
        return;
    }
    inductor.R = eng0(a + c * L);
    inductor.C = eng0(b + d * L);
}

void estimateCapacitorParasitics(Triple &capacitor, double rc, double lc, double rb, double lb)
{
    const double C = eng::parseValue(capacitor.C);
    const double micro = C * 1e6 >= 1 ? C * 1e6 : 1;
    if (C == 0 || capacitor.C == QLatin1String("short")) {
        capacitor.L = kZero;
        capacitor.R = kZero;
        return;
    }
    capacitor.R = eng0(rc + rb * std::log10(micro));
    capacitor.L = eng0(lc + lb * std::log10(micro));
}

Triple autoMatchingNetwork(double Zload, double AloadDeg, const Triple &L5, bool *reactiveOnly)
{
    if (reactiveOnly) *reactiveOnly = false;
    const double theta = AloadDeg / 180 * 3.141592653589793;
    const QLatin1String open("open");
    if (L5.L == open || L5.R == open || L5.C == open || L5.C == QLatin1String("0") ||
        std::fabs(theta) < 0.0001)
        return {kZero, kZero, kZero};
    const double R = Zload * std::cos(theta);
    const double X = Zload * std::sin(theta);
    // Without a resistive part the R^2 C and L / R^2 branches degenerate into a near short
    // across the output (or an unbounded part).
    if (!std::isfinite(R) || !std::isfinite(X) || !(std::fabs(R) > 1e-6 * std::fabs(X))) {
        if (reactiveOnly) *reactiveOnly = true;
        return {kZero, kZero, kZero};
    }
    const double w = kTwoPi * 1000;
    if (theta < 0) // capacitive: series R and L
        return {eng0(R * R / (w * std::fabs(X))), eng0(R), QStringLiteral("short")};
    return {kZero, eng0(R), eng0(std::fabs(X) / (w * R * R))}; // inductive: series R and C
}

} // namespace pwmpower
