#pragma once

#include <QString>

// Texts of the value labels on the PWM schematics (power page and control wizard). A label
// shows the value the user typed, tidied and with its unit: "4.7n" with "F" reads "4.7 nF".
namespace pwmpower {

// True when the typed value is a real number for the labels' purposes: it reads as a value
// (schematic rules: exact words, an upper-case F is no prefix) that is neither 0 nor the open
// value 4294967295, and lies below 1e15 in magnitude. Sets *valid to whether the text reads at all.
bool isShownWithUnit(const QString &text, bool *valid = nullptr);

// The leading number printed with up to six significant digits, a blank, the word that
// follows it as typed (normally the prefix letter) and the unit: "2.2 k" + "Ω" -> "2.2 kΩ",
// "1e6" -> "1e+06 Ω". Meant for texts that isShownWithUnit accepts.
QString numberWordUnit(const QString &text, const QString &unit);

// A value label: numberWordUnit for a value, the text unchanged (no unit) for "open",
// "short", "0", unreadable text or a value beyond the largest prefix (1e15 and more). *valid is
// false for unreadable text and for such a value (the label turns red).
QString valueLabelText(const QString &text, const QString &unit, bool *valid = nullptr);

// The label of a filter inductor: its inductance, then its series resistance and parallel
// capacitance each on an indented line of its own when it is a value. A capacitance of
// "short" makes the whole label "short", else a resistance of "open" makes it "open".
QString inductorLabelText(const QString &L, const QString &R, const QString &C);

// The label of a filter capacitor: capacitance, then series resistance and inductance. An
// inductance or resistance of "open" makes the whole label "open".
QString capacitorLabelText(const QString &C, const QString &R, const QString &L);

} // namespace pwmpower
