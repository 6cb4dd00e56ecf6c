#include "stability/stablabel.h"

#include "values/engvalues.h"

#include <cmath>
#include <locale>
#include <sstream>
#include <string>

namespace stab {

QString valueDisplay(const QString &text, double value, const QString &unit)
{
    if (value == 0 || value == infiniteValue) return text;
    // The mantissa and the word after it, read the way a C++ stream reads them in the C
    // locale, so that the label shows the digits and letters the user typed.
    std::istringstream in(text.toUtf8().toStdString());
    in.imbue(std::locale::classic());
    double mantissa = 0;
    std::string rest;
    if (in >> mantissa)
        in >> rest;
    else
        mantissa = 0;
    // Ten digits and more are no part value; repeated as typed, they cannot pass for one.
    if (std::fabs(mantissa) >= 1e10) return text;
    return QString::number(mantissa, 'g', 6) + QLatin1Char(' ') + QString::fromStdString(rest) +
           unit;
}

} // namespace stab
