#pragma once

#include <QRectF>

class QCustomPlot;

namespace schem {

// A schematic shown as one picture: one scale on both axes, the drawing's box centred in the
// axis rect, and texts that grow and shrink with the drawing, so that a label placed beside its
// part in plot units stays there at any size of the plot. `lineUnits` is the height, in plot
// units, that the drawing leaves for a line of text: a text line is never taller than that, nor
// larger than the plot's own font, nor smaller than kSmallestTextPoints. Kept across redraws:
// call after each drawing with its box, before the replot that shows it: axis ranges and text
// sizes are set as the plot is laid out, before it is drawn. The plot then asks for the room
// its texts need at their smallest size.
void showAsPicture(QCustomPlot *plot, const QRectF &drawing, double lineUnits);

constexpr double kSmallestTextPoints = 7;

} // namespace schem
