#pragma once

#include <qcustomplot.h>

#include <QFontMetrics>

#include <algorithm>

// The plot leaves a label whose half reaches past the widget's edge undrawn, so the decade
// axes keep room right of the axis rect for half of their last label ("100M").
inline void keepLastTickLabel(QCustomPlot *plot, const QString &lastLabel)
{
    const QFontMetrics metrics(plot->xAxis->tickLabelFont());
    const int half = metrics.horizontalAdvance(lastLabel) / 2 + metrics.averageCharWidth();
    QMargins margins = plot->axisRect()->minimumMargins();
    margins.setRight(std::max(margins.right(), half));
    plot->axisRect()->setMinimumMargins(margins);
}
