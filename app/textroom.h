#pragma once
// Texts that keep their room whatever size the Font menu picks: headings stay larger than the
// text under them, a caption stands clear of the text before it in its row, a boxed text clear
// of its box.

#include <QHash>

class QWidget;

namespace textroom {

// The point sizes the form's style sheets give texts of their own (headings, part names, the
// stability verdict), by widget, among `root` and its descendants.
QHash<QWidget *, double> formSizes(QWidget *root);

// Sets each of those texts to its form size, or to two points above the body text where that is
// larger: a heading never reads smaller than the text under it.
void keepAboveBody(const QHash<QWidget *, double> &sizes, double bodyPoints);

// Sets each caption (a label of words, not a value or a unit) that follows another label in its
// row of a layout two word spaces of its font further in: nearer, a value or unit before it reads as
// part of it ("2.92 dB Phase Margin"). Run again when the font changes.
void keepCaptionsApart(QWidget *root);

// Gives each boxed label two word spaces of room inside its box on each side, and a least width
// that keeps each of its lines whole.
void keepRoomInBoxes(QWidget *root);

} // namespace textroom
