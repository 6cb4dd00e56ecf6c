#pragma once

#include <QString>

// The number that stands for an open circuit, a missing heatsink or any infinite quantity.
// Analyses compare against it for equality, so parsers return exactly this, never a true infinity.
constexpr double infiniteValue = 4294967295.0; // 2^32 - 1

// Engineering values: SI-prefixed text out, typed values in. Widget-free so that engines and
// tests use them directly; the MainWindow members of the same names are thin wrappers.
namespace eng {

// What a page shows in place of a figure that could not be computed (an em dash). Every
// formatter below returns it for an infinite or not-a-number value, so no "nan" or "inf"
// ever reaches the screen; pages also colour such a label red and say why in their notes.
const QString &noResultText();

// Plain number without prefix; more significant digits for larger magnitudes, ties to even.
QString number2String(double number);
// Truncate to three significant digits by stepwise scaling (0.0987 -> 0.0986 is intended).
double roundTo3Sig(double value);
// "4.7 k" + unit: signed, limits at 0.9995 of each decade so rounding never prints 1e+03.
QString engString(double value, const QString &unit);
// Label text: exact decade limits, micro sign; a negative value is its magnitude after "-".
QString engLabelText(double value, const QString &unit);
// Line-edit text that reads back: bare prefix letter, micro as "u" (4700 -> "4.7k"); signed.
QString engLineEditText(double value, const QString &unit);
// Schematic value text: only the small prefixes p n µ m (0 -> "0 p"); signed.
QString engItemText(double value, const QString &unit);

// Outcome of reading a typed value with the shared number reader.
enum class ReadStatus {
    Valid,    // a number (with an optional prefix), or an empty/blank text
    Invalid,  // unreadable: a leading letter, a stray character or word after the number
    NoNumber, // non-blank text that holds no number at all ("-", "1e", "-abc")
};

struct ReadResult {
    double value = 0;
    ReadStatus status = ReadStatus::Valid;
};

// The shared number reader: a decimal number, one optional prefix letter, nothing else.
// With acceptUpperFemto false, "F" after the number is not femto (schematic texts: F is farad).
ReadResult readNumber(const QString &text, bool acceptUpperFemto = true);

// The words of the exact, case-sensitive parsers; returns true and sets value on a match.
bool exactWordValue(const QString &text, double &value);
// The words of a line edit, compared lower-cased; kind "C" swaps open and short.
bool fieldWordValue(const QString &text, const QString &kind, double &value);

// How a note names a typed word that stands for no figure, after "is": "not a number" for nan
// and "too large" for inf, in any case. The parsers read these words as 0 and as the open
// value, so a note that repeated them would present them as figures. Empty for any other text.
QString nonFigureWord(const QString &text);

// A typed value as a note names it after "is": `shown` (the figure as the page writes it), or
// "out of range" where the value lies 1e10 or more from 0, as far as no quantity of the pages
// goes; such a figure would read as a runaway result.
QString noteFigure(double value, const QString &shown);

// Typed value to number, reporting nothing: words first, then the number reader (invalid -> 0).
double parseValue(const QString &text);

// A line-edit text as parseLineEdit reads it; valid is false when the field must turn red.
double parseFieldText(const QString &text, const QString &kind, bool *valid);
// A schematic value text as parseItemValue reads it; valid is false when the item turns red.
double parseItemText(const QString &text, bool *valid);

} // namespace eng
