#include "pwmpower/plotaxes.h"

#include <cmath>

namespace pwmpower {

QSharedPointer<QCPAxisTickerText> decadeTicker(const QVector<double> &ticks,
                                               const QStringList &labels)
{
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    ticker->setTicks(ticks, labels.toVector());
    ticker->setSubTickCount(8);
    return ticker;
}

void hideAxesAndGrid(QCustomPlot *plot)
{
    plot->legend->setVisible(false);
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis}) {
        axis->setVisible(false);
        axis->grid()->setVisible(false);
        axis->grid()->setSubGridVisible(false);
    }
}

void setFiniteData(QCPGraph *graph, const QVector<double> &x, const QVector<double> &y)
{
    QVector<double> fx, fy;
    const int n = std::min(x.size(), y.size());
    fx.reserve(n);
    fy.reserve(n);
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
        fx << x[i];
        fy << y[i];
    }
    graph->setData(fx, fy);
}

} // namespace pwmpower
