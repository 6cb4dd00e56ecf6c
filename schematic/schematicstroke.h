#pragma once

#include "schematic/figures.h"

#include <qcustomplot.h>

#include <QPen>

// One stroke of a schematic figure on a plot: a graph that keeps its points in the order they
// were given and draws them in that order, whatever their x values do. A plain graph assumes its
// keys ascend: it searches the visible part of its data by bisection and thins dense data by
// pixel columns, both of which break a stroke that turns back in x (an inductor's lead, a plate
// drawn downward, a zigzag segment). It is still a QCPGraph, so pages count it with graphCount()
// and remove it with clearGraphs() like any graph.
//
// Strokes are never hit by the pointer: a wire drawn through a value label must not take the
// label's click.
class SchematicStroke : public QCPGraph
{
    Q_OBJECT

public:
    SchematicStroke(QCPAxis *keyAxis, QCPAxis *valueAxis);

    double selectTest(const QPointF &pos, bool onlySelectable,
                      QVariant *details = nullptr) const override;
    QCPRange getKeyRange(bool &foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool &foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange &inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter *painter) override;
};

namespace schem {

// Adds one stroke to the plot as a new graph on its default axes, drawn in `pen`, points in the
// given order. Returns the graph (owned by the plot), or null when the plot has no default axes.
QCPGraph *addStroke(QCustomPlot *plot, const QPen &pen, const Stroke &stroke);

// Adds every stroke of the figure, in order: one graph per stroke. Each graph carries the
// figure's number (property kFigureNumber, counted per plot), so that the strokes of one symbol
// can be told from the next symbol's.
void addFigure(QCustomPlot *plot, const QPen &pen, const Figure &figure);
inline constexpr const char *kFigureNumber = "schem_figure";

} // namespace schem
