#include "values/engwidgets.h"

#include "values/engvalues.h"

#include <QBrush>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <qcustomplot.h>

#include <cmath>

namespace eng {

namespace {

void setTextColour(QLineEdit *edit, Qt::GlobalColor colour)
{
    // A fresh palette with only Text set, so every other role stays inherited.
    QPalette palette;
    palette.setBrush(QPalette::Text, QBrush(colour));
    edit->setPalette(palette);
}

} // namespace

void setEngLabel(double value, QLabel *label, const QString &unit)
{
    label->setText(engLabelText(value, unit));
}

void setEngLineEdit(double value, QLineEdit *edit, const QString &unit)
{
    edit->setText(engLineEditText(value, unit));
}

void setEngItemText(double value, QCPItemText *item, const QString &unit)
{
    item->setText(engItemText(value, unit));
}

double parseLineEdit(QLineEdit *edit, const QString &kind, bool *ok)
{
    const QString text = edit->text();
    setTextColour(edit, edit->isEnabled() ? Qt::black : Qt::gray);
    bool valid = true;
    const double value = parseFieldText(text, kind, &valid);
    if (!valid)
        setTextColour(edit, Qt::red);
    if (ok)
        *ok = valid;
    return value;
}

bool inRange(double value, Range range)
{
    if (!std::isfinite(value))
        return false;
    switch (range) {
    case Range::Any:
        return true;
    case Range::NonNegative:
        return value >= 0;
    case Range::Positive:
        return value > 0;
    case Range::Temperature:
        return value >= -273.15;
    }
    return true;
}

double parseLineEdit(QLineEdit *edit, const QString &kind, Range range, bool *ok)
{
    bool readable = true;
    const double value = parseLineEdit(edit, kind, &readable);
    const bool usable = readable && inRange(value, range);
    if (!usable)
        setFieldRed(edit);
    if (ok)
        *ok = usable;
    return value;
}

void setFieldRed(QLineEdit *edit)
{
    setTextColour(edit, Qt::red);
}

void setNoResult(QLabel *label)
{
    label->setText(noResultText());
    setResultRed(label, true);
}

void setResultRed(QLabel *label, bool red)
{
    label->setStyleSheet(red ? QStringLiteral("QLabel { color : red; }")
                             : QStringLiteral("QLabel { color : black; }"));
}

double parseItemValue(const QString &text, QCPItemText *item)
{
    item->setColor(QColor(0, 0, 0));
    bool valid = true;
    const double value = parseItemText(text, &valid);
    if (!valid)
        item->setColor(QColor(255, 0, 0));
    return value;
}

} // namespace eng
