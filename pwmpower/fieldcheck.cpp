#include "pwmpower/fieldcheck.h"

#include "values/engvalues.h"

#include <QLineEdit>
#include <QPalette>

#include <cmath>
#include <limits>

namespace pwmpower {

QString unusableReason(double value, bool readable, const FieldRule &rule)
{
    if (!readable) return QStringLiteral("not a value");
    if (value == infiniteValue && !rule.openAllowed) return QStringLiteral("open");
    if (std::isfinite(value) && std::fabs(value) > rule.largest && value != infiniteValue)
        return QStringLiteral("too large");
    if (eng::inRange(value, rule.range)) return QString();
    if (rule.range == eng::Range::Temperature) return QStringLiteral("below absolute zero");
    if (value == 0) return QStringLiteral("0");
    return QStringLiteral("negative");
}

double FieldReader::read(QLineEdit *edit, const QString &name, const FieldRule &rule, bool *ok)
{
    bool readable = true;
    const double value = eng::parseLineEdit(edit, QStringLiteral("R"), &readable);
    const QString why = unusableReason(value, readable, rule);
    if (ok) *ok = why.isEmpty();
    if (why.isEmpty()) return value;
    QPalette palette;
    palette.setBrush(QPalette::Text, QBrush(Qt::red));
    edit->setPalette(palette);
    notes << QStringLiteral("%1 is %2: %3").arg(name, why, consequence);
    return std::numeric_limits<double>::quiet_NaN();
}

double usableValue(QLineEdit *edit, const FieldRule &rule)
{
    return FieldReader(QString()).read(edit, QString(), rule);
}

} // namespace pwmpower
