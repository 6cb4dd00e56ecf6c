#pragma once

#include <qcustomplot.h>

#include <QSharedPointer>
#include <QStringList>
#include <QVector>

// Axis tickers and curve data of the PWM pages' frequency plots.
namespace pwmpower {

// Decade ticks labelled with SI prefixes ("1", "10", "1k", ...) and 8 sub-ticks, which on a
// logarithmic axis fall on 2 .. 9 of each decade.
QSharedPointer<QCPAxisTickerText> decadeTicker(const QVector<double> &ticks,
                                               const QStringList &labels);

// A drawing canvas rather than a chart: no legend, no axes, no grid lines.
void hideAxesAndGrid(QCustomPlot *plot);

// The curve's points, without those where x or y is not finite (a curve never shows NaN or
// infinity as a point; the line simply skips them).
void setFiniteData(QCPGraph *graph, const QVector<double> &x, const QVector<double> &y);

} // namespace pwmpower
