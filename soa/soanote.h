#pragma once

#include "values/engvalues.h"

#include <QString>

#include <cmath>

namespace soa {

// One line for the page's notes box. Red lines are the violations framed by "!!!"; black
// lines are advice.
struct SoaNote
{
    QString text;
    bool red = false;
};

// A result the page shows as a figure: finite and below the program's open-circuit value,
// from which on a quantity reads as infinite. Anything else shows the placeholder.
inline bool isFigure(double value)
{
    return std::fabs(value) < infiniteValue; // false for NaN too
}

// A value with its unit for the page's texts, or the placeholder before the unit.
inline QString figureText(double value, const QString &unit)
{
    return isFigure(value) ? eng::engString(value, unit)
                           : eng::noResultText() + QLatin1Char(' ') + unit;
}

} // namespace soa
