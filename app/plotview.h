#pragma once

#include <qcustomplot.h>

// Small layout aids shared by the pages' charts.
namespace plotview {

// Moves the plot's legend (an inset of the main axis rect) to the inner corner where its box
// covers the least of the drawn curves, judged in pixels on the current axis ranges. The
// current corner is kept unless another one is clearer. When every corner would hide part of a
// curve and the plot is wide enough, the legend goes beside the axis rect on its right instead
// (the axis rect narrows to make room) and comes back once a corner is clear. Call it after the
// curves are set and the ranges chosen, right before replot.
void placeLegendClear(QCustomPlot *plot);

// Re-places the legend as above before every replot of the plot, whatever redraws it.
void keepLegendClear(QCustomPlot *plot);

// Moves the plot's legend out of the axis rect into a column on its right, at the top, where
// no curve can pass under it: for plots whose curves leave no inner corner free. A hidden
// legend leaves the whole width to the axis rect.
void legendBesideAxes(QCustomPlot *plot);

// Keeps the legends beside the axes of plots drawn one above the other (each made so by
// legendBesideAxes) fitted to the room each plot has when it is drawn: a legend wraps into more
// columns where its entries would run below the plot, and all take the width of the widest, so
// their key axes line up. Where that width would leave an axis rect less than 60 % of its
// plot's width, each legend goes inside its axis rect instead, wrapped to its height, in its
// clearest corner. A plot on a hidden tab is fitted when it shows; until then its legend takes
// no room from the window. Call it once, after legendBesideAxes.
void keepLegendsBesideAxes(const QList<QCustomPlot *> &plots);

// The unit at the end of an axis title, its brackets matched: "[W (or VA) rms]" of
// "Power [W (or VA) rms]"; empty when the title does not end in a whole bracketed group.
QString unitOf(const QString &title);

// Keeps the title of the plot's left axis readable whatever the plot's height: where the axis
// rect is tall enough the title reads along the axis; on a shorter plot it stands whole in a
// line above the axis rect, at the tick labels' size, and the axis keeps the unit alone (the
// bracketed end of the title). The page goes on setting the full title with setLabel.
void keepValueTitleReadable(QCustomPlot *plot);

// The object name of that line above the axis rect.
inline const char *valueTitleLineName() { return "plotview_valueTitle"; }

// Widens the axes before every replot so that each text item clipped to the axis rect stands
// whole inside it, `margin` pixels clear of its edges: for drawings laid out in plot
// coordinates whose texts keep the font's size in pixels. The ranges the page sets are the
// least the drawing shows.
void keepTextsInside(QCustomPlot *plot, int margin = 3);

// Widens the axis by a small share of its span on both sides, so a curve lying on the extreme
// of its data is drawn inside the frame rather than on it, and the outermost tick label of an
// axis fitted to the data is not lost to rounding. A logarithmic axis is widened in decades.
void padRange(QCPAxis *axis, double share = 0.04);

} // namespace plotview
