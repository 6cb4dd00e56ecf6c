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

CalcImpedance beyond(CalcField cause, const QString &why)
{
    CalcImpedance z;
    z.kind = CalcImpedance::Kind::Beyond;
    z.cause = cause;
    z.note = QStringLiteral("|Z| beyond 1 G\u03a9: ") + why;
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

bool showable(double magnitude)
{
    return std::fabs(magnitude) <= kLargestCalcImpedance; // false for NaN too
}

// Of a component and the frequency that together make a reactance, the one further (in
// decades) from what a power stage meets every day is the one to question.
bool frequencyToBlame(double component, double everyday, double freqHz)
{
    const auto decades = [](double v, double usual) {
        return std::fabs(std::log10(std::fabs(v) / usual));
    };
    return decades(freqHz, 1e3) > decades(component, everyday);
}

CalcImpedance beyondByInductance(double l, double freqHz)
{
    if (frequencyToBlame(l, 1e-3, freqHz))
        return beyond(CalcField::Frequency, QStringLiteral("frequency too high for this L"));
    return beyond(CalcField::L, QStringLiteral("L too large for this frequency"));
}

CalcImpedance beyondByCapacitance(double c, double freqHz)
{
    if (frequencyToBlame(c, 1e-6, freqHz))
        return beyond(CalcField::Frequency, QStringLiteral("frequency too low for this C"));
    return beyond(CalcField::C, QStringLiteral("C too small for this frequency"));
}

// The larger of two magnitudes, a non-finite one counting as the largest.
bool firstLarger(double a, double b)
{
    return !std::isfinite(a) || std::fabs(a) > std::fabs(b);
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
    case Kind::Beyond:
        return eng::noResultText();
    case Kind::Finite:
        break;
    }
    return QString::number(magnitude, 'g', 6);
}

QString CalcImpedance::angleText() const
{
    if (kind == Kind::Beyond) return eng::noResultText();
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
    if (!C.shorted && w == 0) return openCircuit(); // a capacitor at 0 Hz
    const double magnitude = r == 0 ? std::fabs(x) : std::hypot(x, r);
    if (!showable(magnitude)) {
        if (!std::isfinite(w) || std::isnan(xL))
            return beyond(CalcField::Frequency, QStringLiteral("frequency too high"));
        if (firstLarger(r, xL) && firstLarger(r, xC))
            return beyond(CalcField::R, QStringLiteral("R too large"));
        return firstLarger(xL, xC) ? beyondByInductance(l, freqHz)
                                   : beyondByCapacitance(C.value, freqHz);
    }
    if (r == 0) {
        const double angle = xL > xC ? 90 : (xL < xC ? -90 : 0);
        return finite(magnitude, angle);
    }
    return finite(magnitude, degrees(std::atan2(x, r)));
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
    // A pure reactance at exact resonance is an open circuit.
    if (g == 0 && d == 0) return openCircuit();
    const double magnitude = g == 0 ? 1 / std::fabs(d) : 1 / std::hypot(d, g);
    if (!showable(magnitude)) {
        // Every branch passes next to nothing; the one passing the most is what holds the
        // magnitude up there, unless the two reactances all but cancel.
        if (std::fabs(bL) * kLargestCalcImpedance >= 1 ||
            std::fabs(bC) * kLargestCalcImpedance >= 1)
            return beyond(CalcField::Frequency,
                          QStringLiteral("L and C resonate at this frequency"));
        if (!R.open && std::fabs(g) >= std::fabs(bL) && std::fabs(g) >= std::fabs(bC))
            return beyond(CalcField::R, QStringLiteral("R too large"));
        if (!L.open && std::fabs(bL) >= std::fabs(bC)) return beyondByInductance(L.value, freqHz);
        return beyondByCapacitance(C.value, freqHz);
    }
    if (g == 0) return finite(magnitude, bL > bC ? 90 : -90);
    return finite(magnitude, degrees(std::atan2(d, g)));
}

CalcImpedance combineSeries(double z1, double a1Deg, double z2, double a2Deg)
{
    const double a1 = radians(a1Deg);
    const double a2 = radians(a2Deg);
    if (!std::isfinite(a1)) return beyond(CalcField::Angle1, QStringLiteral("angle 1 too large"));
    if (!std::isfinite(a2)) return beyond(CalcField::Angle2, QStringLiteral("angle 2 too large"));
    const double re = z1 * std::cos(a1) + z2 * std::cos(a2);
    const double im = z1 * std::sin(a1) + z2 * std::sin(a2);
    CalcImpedance z;
    z.magnitude = std::hypot(im, re);
    z.angle = (re == 0 && im == 0) ? 0 : degrees(std::atan2(im, re));
    if (!showable(z.magnitude))
        return firstLarger(z1, z2) ? beyond(CalcField::Z1, QStringLiteral("Z1 too large"))
                                   : beyond(CalcField::Z2, QStringLiteral("Z2 too large"));
    return z;
}

CalcImpedance combineParallel(double z1, double a1Deg, double z2, double a2Deg)
{
    if (z1 == 0 || z2 == 0) return shortCircuit();
    const double a1 = radians(a1Deg);
    const double a2 = radians(a2Deg);
    if (!std::isfinite(a1)) return beyond(CalcField::Angle1, QStringLiteral("angle 1 too large"));
    if (!std::isfinite(a2)) return beyond(CalcField::Angle2, QStringLiteral("angle 2 too large"));
    const double y1 = 1 / z1;
    const double y2 = 1 / z2;
    const double re = y1 * std::cos(a1) + y2 * std::cos(a2);
    const double im = y1 * std::sin(a1) + y2 * std::sin(a2);
    // Two impedances that cancel exactly leave no admittance: an open circuit.
    if (re == 0 && im == 0) return openCircuit();
    const double magnitude = 1 / std::hypot(im, re);
    if (!showable(magnitude)) {
        if (std::fabs(y1) * kLargestCalcImpedance >= 1 ||
            std::fabs(y2) * kLargestCalcImpedance >= 1)
            return beyond(CalcField::Z2, QStringLiteral("Z2 all but cancels Z1"));
        return firstLarger(z2, z1) ? beyond(CalcField::Z1, QStringLiteral("Z1 too large"))
                                   : beyond(CalcField::Z2, QStringLiteral("Z2 too large"));
    }
    return finite(magnitude, degrees(std::atan2(im, re)));
}

} // namespace soa
