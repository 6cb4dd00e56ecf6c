#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

class QCPItemText;
class QCustomPlot;

namespace schem {

// Keeps the texts of a page's schematic clear of its drawing at whatever size and font the plot
// has: after each layout (of a plot on a hidden page, once it is shown), a text whose glyphs meet
// a stroke (symbol, wire or block frame), another text or the edge of the axis rect tries the
// other alignments and nudges of up to two lines about its given place, nearest first, and takes
// the first that is clear. The anchor itself never moves: clicks and design files find a label by
// it. A text that is clear nowhere takes the place that meets the fewest and an opaque backdrop in
// the plot's background colour, so that no stroke runs through its glyphs. Call once per plot;
// the alignment and offset each text was given stay its first choice.
void keepLabelsClear(QCustomPlot *plot);

// Gives a text an offset in plot units from its anchor to the point its alignment holds: a label
// whose anchor stays where clicks find it can still stand on the far side of its part. Kept
// across font and size changes (the placement turns it into padding at each layout).
void setLabelOffset(QCPItemText *text, const QPointF &offset);

// One round of it, for a plot whose layout is current.
void placeLabelsClear(QCustomPlot *plot);

// What the placement measures, in pixels of the plot as last laid out: every segment of every
// visible graph with half its pen's width and whether it is part of a symbol (see symbolsOf) or
// a wire, and the box of a text's glyphs (the item's box less the padding that holds it off its
// anchor).
struct PixelSegment
{
    QPointF a, b;
    double halfPen;
    bool ofSymbol = false;
};
QVector<PixelSegment> strokeSegments(QCustomPlot *plot);
QRectF glyphBox(const QCPItemText *text);

// The symbols of a schematic in pixels: the figures (schem::addFigure) of more than one
// segment, a wire being one. Two symbols are of a kind when their strokes have the same shape.
// A text names the symbol nearest its anchor, and stands by it while no other symbol of its kind
// is nearer its glyphs.
struct PixelSymbol
{
    QVector<PixelSegment> segments;
    QString shape; // the points in plot units from the figure's first point
};
QVector<PixelSymbol> symbolsOf(QCustomPlot *plot);
int nearestSymbol(const QVector<PixelSymbol> &symbols, const QPointF &p); // -1: none
bool nearerAnother(const QVector<PixelSymbol> &symbols, int own, const QRectF &box);
// Pixels from the box to the nearest of the segments (0 where one meets it).
double distanceToSegments(const QRectF &box, const QVector<PixelSegment> &segments);

// The colour the plot paints under its drawing, and whether the placement gave a text a backdrop
// of it (such a text stays readable over the strokes it covers).
QColor plotBackground(const QCustomPlot *plot);
bool hasBackdrop(const QCPItemText *text);

} // namespace schem
