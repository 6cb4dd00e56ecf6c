#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QCPItemText;

// The engineering values applied to widgets: write a value into a label, field or schematic
// text, or read a field or schematic text and colour it by whether it could be read.
namespace eng {

void setEngLabel(double value, QLabel *label, const QString &unit);
void setEngLineEdit(double value, QLineEdit *edit, const QString &unit);
void setEngItemText(double value, QCPItemText *item, const QString &unit);

// Text black (gray when disabled), red when unreadable; an unreadable text reads as 0.
// With ok given, it tells whether the text could be read (a limit message such as
// "Fsw too Low" that a refresh wrote into the field cannot).
double parseLineEdit(QLineEdit *edit, const QString &kind, bool *ok = nullptr);

// What a quantity must be for a page to compute with it.
enum class Range {
    Any,
    NonNegative, // a magnitude: resistance, capacitance, inductance, tolerance, time
    Positive,    // a magnitude that divides: frequency, supply, load that must conduct
    Temperature, // degrees Celsius, not below absolute zero
};

// parseLineEdit, and the field also turns red when the value lies outside range (a negative
// resistance, a zero frequency where one must divide, -300 degC). ok tells whether the value
// is usable; the value returned is the one typed, so callers must not compute with it when
// ok is false.
double parseLineEdit(QLineEdit *edit, const QString &kind, Range range, bool *ok);
bool inRange(double value, Range range);

// Turns a field's text red, as the parsers do for a text they cannot read; for a field whose
// text reads but whose value the page cannot use.
void setFieldRed(QLineEdit *edit);

// A result label that could not be computed: the placeholder, in red.
void setNoResult(QLabel *label);
// A result label's colour: red for out-of-range results, black otherwise.
void setResultRed(QLabel *label, bool red);
// Item black, red when unreadable; an unreadable text reads as 0.
double parseItemValue(const QString &text, QCPItemText *item);

} // namespace eng
