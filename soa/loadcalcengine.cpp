#include "soa/loadcalcengine.h"

#include "values/engvalues.h"

#include <cmath>

namespace soa {

namespace {

const double kTwoPi = 6.28318;
const double kPi = 3.14159;

double degrees(double radians)
{
    return radians * 180 / kPi;
}

double radians(double degrees)
{
    return degrees * kPi / 180;
}

CalcImpedance openCircuit()
{
    CalcImpedance z;
    z.kind = CalcImpedance::Kind::Open;
    return z;
}

CalcImpedance shortCircuit()
{
    CalcImpedance z;
    z.kind = CalcImpedance::Kind::Short;
    return z;
}

// Division by a zero frequency or an exact resonance gives infinite or undefined numbers;
// they are reported as the circuit they stand for instead of "inf" or "nan" in a label.
CalcImpedance finite(double magnitude, double angle)
{
    if (std::isnan(magnitude) || std::isinf(magnitude)) return openCircuit();
    if (magnitude == 0) return shortCircuit();
    CalcImpedance z;
    z.magnitude = magnitude;
    z.angle = std::isnan(angle) ? 0 : angle;
    return z;
}

} // namespace

CalcEntry readCalcEntry(const QString &text)
{
    CalcEntry e;
    if (text == QLatin1String("open") || text == QLatin1String("none") ||
        text == QLatin1String("foil") || text == QLatin1String("Inf") ||
        text == QLatin1String("inf")) {
        e.value = infiniteValue;
        return e;
    }
    if (text == QLatin1String("short") || text == QLatin1String("Nan") ||
        text == QLatin1String("nan"))
        return e;
    const eng::ReadResult r = eng::readNumber(text);
    if (r.status == eng::ReadStatus::Invalid)
        e.valid = false;
    else if (r.status == eng::ReadStatus::Valid)
        e.value = r.value;
    return e;
}

CalcComponent calcComponent(const QString &text, double value)
{
    CalcComponent c;
    c.value = value;
    c.open = text == QLatin1String("open");
    c.shorted = text == QLatin1String("short");
    return c;
}

QString CalcImpedance::magnitudeText() const
{
    switch (kind) {
    case Kind::Open:
        return QStringLiteral("open");
    case Kind::Short:
        return QStringLiteral("0");
    case Kind::Finite:
        break;
    }
    return QString::number(magnitude, 'g', 6);
}

QString CalcImpedance::angleText() const
{
    if (kind != Kind::Finite) return QStringLiteral("0");
    return QString::number(angle, 'g', 6);
}

CalcImpedance seriesRlc(const CalcComponent &R, const CalcComponent &L, const CalcComponent &C,
                        double freqHz)
{
    const double w = freqHz * kTwoPi;
    if (R.open || L.open || C.open) return openCircuit();
    const double r = R.shorted ? 0 : R.value;
    const double l = L.shorted ? 0 : L.value;
    double xC = 0;
    if (!C.shorted) {
        if (C.value == 0) return openCircuit();
        xC = 1 / (C.value * w);
    }
    const double xL = l * w;
    const double x = xL - xC;
    if (r == 0) {
        const double angle = xL > xC ? 90 : (xL < xC ? -90 : 0);
        return finite(std::fabs(x), angle);
    }
    return finite(std::sqrt(x * x + r * r), degrees(std::atan2(x, r)));
}

CalcImpedance parallelRlc(const CalcComponent &R, const CalcComponent &L, const CalcComponent &C,
                          double freqHz)
{
    const double w = freqHz * kTwoPi;
    if (R.shorted || L.shorted || C.shorted) return shortCircuit();
    if (R.open && L.open && (C.open || C.value == 0)) return openCircuit();

    const double bC = (C.value == 0 || C.open) ? 0 : w * C.value;
    double bL = 0;
    if (!L.open) {
        if (L.value == 0) return shortCircuit();
        bL = 1 / (w * L.value);
    }
    const double d = bL - bC;

    double g = 0;
    if (!R.open) {
        if (R.value == 0) return shortCircuit();
        g = 1 / R.value;
    }
    if (g == 0) {
        // A pure reactance; at exact resonance it is an open circuit.
        const double angle = bL > bC ? 90 : -90;
        return finite(1 / std::fabs(d), angle);
    }
    return finite(1 / std::sqrt(d * d + g * g), degrees(std::atan2(d, g)));
}

CalcImpedance combineSeries(double z1, double a1Deg, double z2, double a2Deg)
{
    const double a1 = radians(a1Deg);
    const double a2 = radians(a2Deg);
    const double re = z1 * std::cos(a1) + z2 * std::cos(a2);
    const double im = z1 * std::sin(a1) + z2 * std::sin(a2);
    CalcImpedance z;
    z.magnitude = std::sqrt(im * im + re * re);
    z.angle = (re == 0 && im == 0) ? 0 : degrees(std::atan2(im, re));
    if (std::isnan(z.magnitude) || std::isinf(z.magnitude)) return openCircuit();
    return z;
}

CalcImpedance combineParallel(double z1, double a1Deg, double z2, double a2Deg)
{
    if (z1 == 0 || z2 == 0) return shortCircuit();
    const double a1 = radians(a1Deg);
    const double a2 = radians(a2Deg);
    const double y1 = 1 / z1;
    const double y2 = 1 / z2;
    const double re = y1 * std::cos(a1) + y2 * std::cos(a2);
    const double im = y1 * std::sin(a1) + y2 * std::sin(a2);
    // Two impedances that cancel exactly leave no admittance: an open circuit.
    return finite(1 / std::sqrt(im * im + re * re), degrees(std::atan2(im, re)));
}

} // namespace soa
