#include "pwmcontrol/sconcomponents.h"

#include "values/engvalues.h"

namespace scon {

namespace {

const char *const kKeys[ValueCount] = {"SConRint", "SConCint", "SConVref", "SConVbias", "SConRbias",
                                       "SConRin",  "SConRf",   "SConRnf",  "SConCnf",   "SConRdf",
                                       "SConCdf",  "SConRdin", "SConRdif", "SConCdif",  "SConRbh",
                                       "SConRbl",  "SConRs",   "SConRv",   "SConCv"};

} // namespace

QString valueKey(int v)
{
    return (v >= 0 && v < ValueCount) ? QString::fromLatin1(kKeys[v]) : QString();
}

bool isCapacitor(int v)
{
    return v == Cint || v == Cnf || v == Cdf || v == Cdif || v == Cv;
}

QString valueUnit(int v)
{
    if (v == Vref || v == Vbias) return QStringLiteral("V");
    if (isCapacitor(v)) return QStringLiteral("F");
    return QString(QChar(0x03A9)); // Ω
}

bool isPaired(int v)
{
    switch (v) {
    case Rbias:
    case Rf:
    case Rnf:
    case Cnf:
    case Rv:
    case Cv:
        return false;
    default:
        return v >= 0 && v < ValueCount;
    }
}

double readValue(const QString &text, bool capacitor)
{
    const double value = eng::parseValue(text);
    if (!capacitor) return value;
    if (text == QLatin1String("open") || text == QLatin1String("none")) return 0;
    if (text == QLatin1String("short") || text == QLatin1String("inf") ||
        text == QLatin1String("Inf"))
        return infiniteValue;
    return value;
}

Values readValues(const ValueStrings &s)
{
    Values out;
    for (int i = 0; i < ValueCount; ++i)
        out.v[i] = readValue(s[i], isCapacitor(i));
    return out;
}

} // namespace scon
