#pragma once
// The legend rule of app/plotview.h, and the layout pass the page plots share with it.

#include <qcustomplot.h>

#include <QList>
#include <QPointer>

namespace plotview {
namespace detail {

// A legend beside the axes leaves them this share of the plot's width.
constexpr double kWidthShare = 0.6;

// Lays the plot out for its viewport as it is now, as a replot would, without drawing it.
void layOut(QCustomPlot *plot);

// Places the legends of `group` by the rule of plotview::keepLegendFitted for the size each
// plot is shown at; plots not shown are left until they show. `drawing` is the plot about to
// be drawn; the others are drawn again when their legends move.
void fitLegends(const QList<QPointer<QCustomPlot>> &group, QCustomPlot *drawing);

} // namespace detail
} // namespace plotview
