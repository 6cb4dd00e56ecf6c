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

// Widens the axis by a small share of its span on both sides, so a curve lying on the extreme
// of its data is drawn inside the frame rather than on it, and the outermost tick label of an
// axis fitted to the data is not lost to rounding. A logarithmic axis is widened in decades.
void padRange(QCPAxis *axis, double share = 0.04);

} // namespace plotview
