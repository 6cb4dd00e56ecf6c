#pragma once
// What a chart shows of its curves: the places where its legend box hides one. Used by the
// window tests of the pages whose charts carry a legend.

#include <qcustomplot.h>

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace plotcheck {

// The curves the legend hides, one line per curve: its name and the first hidden point as
// (key, value). Lines drawn between data points count too; they are followed pixel by pixel,
// as far as they run inside the axis rect. Draw the plot first (replot), so that the legend
// stands where the user sees it.
inline QStringList curvesUnderLegend(QCustomPlot *plot)
{
    QStringList hidden;
    const QCPLegend *legend = plot->legend;
    if (!legend || !legend->visible())
        return hidden;
    const QRectF box = legend->outerRect();
    const QRectF area = plot->axisRect()->rect();
    for (int i = 0; i < plot->graphCount(); ++i) {
        QCPGraph *g = plot->graph(i);
        if (!g->visible() || g->keyAxis()->axisRect() != plot->axisRect())
            continue;
        const auto pixel = [&](const QCPGraphData &d) {
            return QPointF(g->keyAxis()->coordToPixel(d.key), g->valueAxis()->coordToPixel(d.value));
        };
        bool found = false;
        for (auto it = g->data()->constBegin(); it != g->data()->constEnd() && !found; ++it) {
            const QPointF a = pixel(*it);
            const QPointF b = it + 1 != g->data()->constEnd() ? pixel(*(it + 1)) : a;
            const int steps =
                std::min(4000, std::max(1, int(std::hypot(b.x() - a.x(), b.y() - a.y()))));
            for (int s = 0; s <= steps && !found; ++s) {
                const QPointF p = a + (b - a) * (double(s) / steps);
                if (area.contains(p) && box.contains(p)) {
                    found = true;
                    hidden << QStringLiteral("%1 (%2, %3)")
                                  .arg(g->name())
                                  .arg(g->keyAxis()->pixelToCoord(p.x()))
                                  .arg(g->valueAxis()->pixelToCoord(p.y()));
                }
            }
        }
    }
    return hidden;
}

} // namespace plotcheck
