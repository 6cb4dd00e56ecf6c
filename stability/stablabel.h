#pragma once

#include <QString>

// Value labels of the schematics (stability, SOA supplies, Howland pump): a caption over the
// value the user typed, with its unit.
namespace stab {

// The value line of a label. `value` is the text as read (0 or 4294967295 for the words and
// for unreadable text). A real value repeats the typed mantissa (6 significant digits), a
// blank, the typed prefix letters as they are, and the unit: "2.2k" with "Ω" gives
// "2.2 kΩ", "1MEG" gives "1 MEGΩ". Words, 0, unreadable text and a mantissa of 1e10 or more
// are shown as typed.
QString valueDisplay(const QString &text, double value, const QString &unit);

} // namespace stab
