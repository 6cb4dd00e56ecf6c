#pragma once

#include <qcustomplot.h>

// Small layout aids shared by the pages' charts.
namespace plotview {

// Keeps the plot's legend where the size the plot is shown at gives it room, decided afresh
// before every drawing of the shown plot (a plot on a hidden tab is fitted as it shows):
// beside the axes, in as many columns as the height from the top of the axes to the foot of
// the widget needs, where the axis rect keeps 60 % of the plot's width; else inside the axis
// rect, wrapped to its height, in the corner with the least of the curves on a translucent
// brush, where it covers at most a quarter of the room inside the axis rect; else in rows
// above the axis rect, where the axis rect keeps 40 % of the plot's height. Where none of
// these holds, the legend's text gets smaller, a point at a time down to 7 pt, and the rule is
// tried again; at the floor the legend goes inside the axis rect where it fits there, else
// above, else beside. A legend never leaves its widget, nor drops an entry. A hidden legend
// takes no room. The widget's minimum size counts no more of the legend than its largest
// entry: the room it was wrapped to at one size never holds the widget at that size. Beside the
// axes, the legend stands clear of the key axis's last tick label.
void keepLegendFitted(QCustomPlot *plot);

// The same for plots drawn one above the other on a common key axis: their legends go beside
// the axes all together, as wide as the widest so that the key axes line up; else each takes
// inside or above its axes, and only one that fits nowhere even at the smallest text stands
// beside its axes on its own.
void keepLegendsFitted(const QList<QCustomPlot *> &plots);

// Fits the legends of `plots`, taken as one group, once and now, for their current sizes.
void fitLegendsNow(const QList<QCustomPlot *> &plots);

// Ticks the axis at the first of `steps` (increasing) whose tick labels stand apart at the
// length the axis is drawn at, with `subTicks` sub-ticks between ticks (-1: as QCustomPlot
// derives them); see StepTicker.
void setTickSteps(QCPAxis *axis, const QVector<double> &steps, int subTicks = -1);

// The unit at the end of an axis title, its brackets matched: "[W (or VA) rms]" of
// "Power [W (or VA) rms]"; empty when the title does not end in a whole bracketed group.
QString unitOf(const QString &title);

// Keeps the title of the plot's left axis readable whatever the plot's height: where the axis
// rect is tall enough the title reads along the axis; on a shorter plot it stands whole in a
// line above the axis rect, at the tick labels' size, and the axis keeps the unit alone (the
// bracketed end of the title). The page goes on setting the full title with setLabel.
void keepValueTitleReadable(QCustomPlot *plot);

// The object name of that line above the axis rect.
inline const char *valueTitleLineName()
{
    return "plotview_valueTitle";
}

// Widens the plot's value axis before every drawing, where its ticker would number it with fewer
// than two labels at the height it is drawn at, out to the round step that gives it two: a short
// graph keeps a scale to read its curve by. The range the page sets is the least it shows.
void keepTwoValueLabels(QCustomPlot *plot);

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
