#pragma once

#include "values/engwidgets.h"

#include <QString>
#include <QStringList>

class QLineEdit;

// Reading the PWM pages' fields for a computation that must not run on an impossible value:
// each field that cannot be used turns red and leaves one note line that names it and says why
// ("Fcut is 0: the filter cannot be sized").
namespace pwmpower {

struct FieldRule
{
    eng::Range range = eng::Range::Positive;
    bool openAllowed = false;  // "open" (4294967295) is a meaningful value of this field
    double largest = 1e12;     // beyond this magnitude no figure of the page means anything
};

class FieldReader
{
public:
    // consequence ends every note line of a field that cannot be used.
    explicit FieldReader(const QString &consequence) : consequence(consequence) {}

    // The typed value, or NaN when the field cannot be used; *ok as the usability.
    double read(QLineEdit *edit, const QString &name, const FieldRule &rule = FieldRule(),
                bool *ok = nullptr);

    bool allUsable() const { return notes.isEmpty(); }
    QStringList notes;

private:
    QString consequence;
};

// The field's value, or NaN (field red) when it cannot be used; no note.
double usableValue(QLineEdit *edit, const FieldRule &rule = FieldRule());

// A figure a page can print: finite, and below 1e15 in magnitude, where the prefixes end (a
// larger one comes only from inputs at the edge of the number range, e.g. a 1e-308 ohm load).
bool isShowable(double value);

// The note a page adds when usable inputs still gave a figure it cannot print.
QString beyondRangeNote();

// Why a field's text and value cannot be used under rule ("is 0", "reads \"abc\""), or an
// empty text when they can.
QString unusableReason(const QString &text, double value, bool readable, const FieldRule &rule);

} // namespace pwmpower
