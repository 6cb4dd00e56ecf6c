#pragma once

#include <QString>

// The value texts of the pump's schematic: a resistor with its tolerance, and the load.
namespace ihcp {

// A typed value split the way a C++ stream reads it in the C locale: the number up to the
// first character that cannot continue it, then the word after it up to white space
// ("10k" gives 10 and "k", "4.7 MEG" 4.7 and "MEG"). A text that does not begin with a
// number gives 0 and no word.
struct NumberWord
{
    double number = 0;
    QString word;
};
NumberWord splitNumberWord(const QString &text);

// "<number, 6 significant digits> <word><unit>" for a real value; `text` unchanged for the
// words, a zero, unreadable text and magnitudes at or beyond the open-circuit value (`value`
// is the text as read: 0 or infiniteValue for the words).
QString valueText(const QString &text, double value, const QString &unit);

// A resistor: the value line and, for a real value, a tolerance line ("10 kΩ\n0.1%").
QString toleranceLabelText(const QString &text, double value, const QString &tol,
                           const QString &unit);

// The load: resistance, the series element ("\n + 100 uH\n @ ") and the frequency. corL is
// "C" for a series capacitance, "L" for an inductance. A capacitance that reads as 0 or the
// word "open", or an inductance "open" (or as large), opens the load. A capacitance "short" is no
// element at all: the load is then the resistance alone, as the analysis takes it.
QString loadLabelText(const QString &r, double rValue, const QString &corL, const QString &x,
                      double xValue, const QString &freq);

} // namespace ihcp
