#include "ihcp/pumplabels.h"

#include "values/engvalues.h"

#include <cmath>
#include <locale>
#include <sstream>
#include <string>

namespace ihcp {

NumberWord splitNumberWord(const QString &text)
{
    NumberWord out;
    std::istringstream in(text.toUtf8().toStdString());
    in.imbue(std::locale::classic());
    double number = 0;
    if (!(in >> number)) return out;
    out.number = number;
    std::string rest;
    in >> rest;
    out.word = QString::fromUtf8(rest.c_str());
    return out;
}

QString valueText(const QString &text, double value, const QString &unit)
{
    // At or beyond the open-circuit value a number is shown as typed: its 6-digit form would
    // be a runaway exponent ("1e+308 Ω") that reads like a figure.
    if (value == 0 || std::fabs(value) >= infiniteValue) return text;
    const NumberWord nw = splitNumberWord(text);
    return QString::number(nw.number, 'g', 6) + QLatin1Char(' ') + nw.word + unit;
}

QString toleranceLabelText(const QString &text, double value, const QString &tol,
                           const QString &unit)
{
    if (value == 0 || std::fabs(value) >= infiniteValue) return text;
    return valueText(text, value, unit) + QLatin1Char('\n') + tol + QLatin1Char('%');
}

QString loadLabelText(const QString &r, double rValue, const QString &corL, const QString &x,
                      double xValue, const QString &freq)
{
    QString resistance = valueText(r, rValue, QStringLiteral("Ω"));
    QString reactance;
    const bool real = xValue != 0 && std::fabs(xValue) < infiniteValue;
    if (corL == QLatin1String("C")) {
        if (real) reactance = valueText(x, xValue, QStringLiteral("F"));
        if (x == QLatin1String("open") || (xValue == 0 && x != QLatin1String("short")))
            resistance = QStringLiteral("open");
    } else if (corL == QLatin1String("L")) {
        if (real) reactance = valueText(x, xValue, QStringLiteral("H"));
        if (x == QLatin1String("open") || xValue >= infiniteValue)
            resistance = QStringLiteral("open");
    }
    const NumberWord f = splitNumberWord(freq);
    const QString frequency =
        std::fabs(f.number) >= infiniteValue
            ? freq
            : QString::number(f.number, 'g', 6) + QLatin1Char(' ') + f.word + QStringLiteral("Hz");
    const QString middle = reactance.isEmpty()
                               ? QStringLiteral("\n\n @ ")
                               : QStringLiteral("\n + ") + reactance + QStringLiteral("\n @ ");
    return resistance + middle + frequency;
}

} // namespace ihcp
