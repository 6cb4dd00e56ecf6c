#include "pwmpower/fieldcheck.h"

#include "values/engvalues.h"

#include <QLineEdit>

#include <cmath>
#include <limits>

namespace pwmpower {

QString unusableReason(const QString &text, double value, bool readable, const FieldRule &rule)
{
    if (!readable)
        return text.trimmed().isEmpty() ? QStringLiteral("is empty")
                                         : QStringLiteral("reads \"%1\"").arg(text);
    if (value == infiniteValue && !rule.openAllowed) return QStringLiteral("is open");
    if (std::isfinite(value) && std::fabs(value) > rule.largest && value != infiniteValue)
        return QStringLiteral("is too large");
    if (eng::inRange(value, rule.range)) return QString();
    if (rule.range == eng::Range::Temperature) return QStringLiteral("is below absolute zero");
    if (value == 0) return QStringLiteral("is 0");
    return QStringLiteral("is negative");
}

double FieldReader::read(QLineEdit *edit, const QString &name, const FieldRule &rule, bool *ok)
{
    bool readable = true;
    const double value = eng::parseLineEdit(edit, QStringLiteral("R"), &readable);
    const QString why = unusableReason(edit->text(), value, readable, rule);
    if (ok) *ok = why.isEmpty();
    if (why.isEmpty()) return value;
    eng::setFieldRed(edit);
    notes << QStringLiteral("%1 %2: %3").arg(name, why, consequence);
    return std::numeric_limits<double>::quiet_NaN();
}

bool isShowable(double value)
{
    return std::isfinite(value) && std::fabs(value) < 1e15;
}

QString beyondRangeNote()
{
    return QStringLiteral("The values given lie beyond the computable range: some figures "
                          "cannot be shown");
}

double usableValue(QLineEdit *edit, const FieldRule &rule)
{
    return FieldReader(QString()).read(edit, QString(), rule);
}

} // namespace pwmpower
