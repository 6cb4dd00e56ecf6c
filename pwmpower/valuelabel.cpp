#include "pwmpower/valuelabel.h"

#include "values/engvalues.h"

#include <QRegularExpression>

#include <cmath>

namespace pwmpower {

namespace {

const QString kOhm = QString(QChar(0x03A9));
const QString kIndent = QStringLiteral("\n    ");

} // namespace

namespace {

// Beyond the largest prefix no value of these circuits is meant: such a text is shown as typed.
bool outOfScale(double v)
{
    return v != infiniteValue && std::fabs(v) >= 1e15;
}

} // namespace

bool isShownWithUnit(const QString &text, bool *valid)
{
    const double v = eng::parseItemText(text, valid);
    return v != 0 && v != infiniteValue && !outOfScale(v);
}

QString numberWordUnit(const QString &text, const QString &unit)
{
    // The number as a stream would extract it, then the next run of non-blank characters.
    static const QRegularExpression re(
        QStringLiteral("^\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)\\s*(\\S*)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch()) return text;
    const double number = m.captured(1).toDouble();
    return QString::number(number, 'g', 6) + QLatin1Char(' ') + m.captured(2) + unit;
}

QString valueLabelText(const QString &text, const QString &unit, bool *valid)
{
    bool readable = true;
    if (isShownWithUnit(text, &readable)) {
        if (valid) *valid = true;
        return numberWordUnit(text, unit);
    }
    // A value out of scale is no usable value either: the label turns red.
    if (valid) *valid = readable && !outOfScale(eng::parseItemText(text, nullptr));
    return text;
}

QString inductorLabelText(const QString &L, const QString &R, const QString &C)
{
    if (C == QLatin1String("short")) return C;
    if (R == QLatin1String("open")) return R;
    QString label = isShownWithUnit(L) ? numberWordUnit(L, QStringLiteral("H")) : L;
    if (isShownWithUnit(R)) label += kIndent + numberWordUnit(R, kOhm);
    if (isShownWithUnit(C)) label += kIndent + numberWordUnit(C, QStringLiteral("F"));
    return label;
}

QString capacitorLabelText(const QString &C, const QString &R, const QString &L)
{
    if (L == QLatin1String("open") || R == QLatin1String("open")) return QStringLiteral("open");
    QString label = isShownWithUnit(C) ? numberWordUnit(C, QStringLiteral("F")) : C;
    if (isShownWithUnit(R)) label += kIndent + numberWordUnit(R, kOhm);
    if (isShownWithUnit(L)) label += kIndent + numberWordUnit(L, QStringLiteral("H"));
    return label;
}

} // namespace pwmpower
