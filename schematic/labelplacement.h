#pragma once

#include <QPointF>
#include <QRectF>
#include <QVector>

class QCPItemText;
class QCustomPlot;

namespace schem {

// Keeps the texts of a page's schematic clear of its drawing at whatever size and font the plot
// has: after each layout, a text whose glyphs meet a stroke (symbol, wire or block frame),
// another text or the edge of the axis rect tries the other alignments about its anchor,
// nearest first, and takes the first that is clear. The anchor itself never moves: clicks and
// design files find a label by it. A text that is clear nowhere takes the alignment that meets
// the fewest. Call once per plot; the alignment each text was given stays its first choice.
void keepLabelsClear(QCustomPlot *plot);

// One round of it, for a plot whose layout is current.
void placeLabelsClear(QCustomPlot *plot);

// What the placement measures, in pixels of the plot as last laid out: every segment of every
// visible graph with half its pen's width, and the box of a text's glyphs (the item's box less
// the padding that holds it off its anchor).
struct PixelSegment
{
    QPointF a, b;
    double halfPen;
};
QVector<PixelSegment> strokeSegments(QCustomPlot *plot);
QRectF glyphBox(const QCPItemText *text);

} // namespace schem
