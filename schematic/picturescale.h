#pragma once

#include <QRectF>

class QCPItemText;
class QCustomPlot;

namespace schem {

// A schematic drawn to scale is one picture whose texts grow and shrink with the drawing, so that
// a label placed beside its part in plot units stays there at any size of the plot. Its texts
// follow the pixels a plot unit takes (across or up, whichever way the drawing is the more
// squeezed), never below kLeastTextPoints; the plot asks, as its minimum size, for the room that
// holds the drawing with its texts at that size. Applied at each layout of the plot, before it is
// drawn and before its labels are placed (placeAfterScaling).
constexpr double kLeastTextPoints = 7;

// Two ways to draw to scale; a plot takes the one last asked for.
//
// The page's own view: the page sets the axis ranges (and may pan and zoom), texts are `em` plot
// units high. Applied only while the plot is shown: a hidden plot's size is not the one it will
// have, and the room it asked for would hold its window open. Call once per plot.
void scaleTextsToPageView(QCustomPlot *plot, double em);

// The view fitted to a picture: one scale on both axes with the drawing's box centred in the axis
// rect; a line of text is `lineUnits` plot units high, and no text larger than the plot's own
// font. Applied hidden or shown: the view follows from the drawing alone. Call after each
// drawing with its box, before the replot that shows it.
void fitViewToPicture(QCustomPlot *plot, const QRectF &drawing, double lineUnits);

// The box of a text anchored in plot units, in plot units, as large as a line of `lineUnits`
// makes it at most: its shape taken at its plot's font, with room for the rounding of small
// sizes. Padding left out. Its y runs up, as the plot's does: top() is the lower edge.
QRectF textBoxInUnits(const QCPItemText *text, double lineUnits);

// What a plot draws, in plot units: the points of its graphs and the boxes of its texts anchored
// in plot units (textBoxInUnits). The box to fit the view to.
QRectF drawnBox(const QCustomPlot *plot, double lineUnits);

// After the texts are scaled at each layout, `place` runs on the plot, while it is shown: a plot
// laid out while hidden is laid out again as it is shown. Once per plot.
void placeAfterScaling(QCustomPlot *plot, void (*place)(QCustomPlot *));

// Pixels per plot unit of such a plot as last laid out; 0 for a plot not drawn to scale.
double pixelsPerUnit(const QCustomPlot *plot);

} // namespace schem
