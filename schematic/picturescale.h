#pragma once

#include <QRectF>

class QCustomPlot;

namespace schem {

// A schematic drawn to scale is one picture whose texts grow and shrink with the drawing, so that
// a label placed beside its part in plot units stays there at any size of the plot. Its texts
// follow the pixels a plot unit takes (across or up, whichever way the drawing is the more
// squeezed), never below kLeastTextPoints; the plot asks, as its minimum size, for the room that
// holds the drawing with its texts at that size. Applied as the plot is laid out, before it is
// drawn, and before its labels are placed.
constexpr double kLeastTextPoints = 7;

// The page keeps the axis ranges it sets (it may pan and zoom); texts are `em` plot units high.
// Call once per plot, with keepLabelsClear, which applies it at each layout of the plot as shown.
void drawToScale(QCustomPlot *plot, double em);

// One scale on both axes with the drawing's box centred in the axis rect; a line of text is
// `lineUnits` plot units high, and no text larger than the plot's own font. Call after each
// drawing with its box, before the replot that shows it.
void showAsPicture(QCustomPlot *plot, const QRectF &drawing, double lineUnits);

// Applies it to a plot whose layout is current; nothing for a plot not drawn to scale.
void scaleToDrawing(QCustomPlot *plot);

// Pixels per plot unit of such a plot as last laid out; 0 for a plot not drawn to scale.
double pixelsPerUnit(const QCustomPlot *plot);

} // namespace schem
