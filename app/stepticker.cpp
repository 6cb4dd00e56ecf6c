#include "app/stepticker.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

StepTicker::StepTicker(const QCPAxis *axis, const QVector<double> &steps, int subTicks)
    : axis(axis), steps(steps), subTicks(subTicks)
{
    setScaleStrategy(QCPAxisTickerFixed::ssNone);
    if (!steps.isEmpty()) setTickStep(steps.first());
}

double StepTicker::labelExtent(const QCPRange &range, double step) const
{
    const QFontMetricsF metrics(axis->tickLabelFont());
    if (axis->orientation() == Qt::Vertical) return 1.2 * metrics.height();
    // The widest label of the ticks this step makes, and a character's width between labels.
    double widest = 0;
    const QLocale locale = axis->parentPlot()->locale();
    const QString format = axis->numberFormat();
    const QChar formatChar = format.isEmpty() ? QLatin1Char('g') : format.at(0);
    int count = 0;
    for (double tick = std::ceil(range.lower / step) * step; tick <= range.upper && count < 100;
         tick += step, ++count) {
        const double shown = std::abs(tick) < 1e-9 * step ? 0.0 : tick;
        widest = std::max(widest, metrics.horizontalAdvance(locale.toString(
                                      shown, formatChar.toLatin1(), axis->numberPrecision())));
    }
    return widest + metrics.averageCharWidth();
}

double StepTicker::stepFor(const QCPRange &range) const
{
    if (steps.isEmpty()) return tickStep();
    const QCPAxisRect *rect = axis->axisRect();
    const double length = axis->orientation() == Qt::Vertical ? rect->height() : rect->width();
    const double span = range.size();
    if (!(span > 0) || !std::isfinite(span) || length <= 0) return steps.first();
    for (double step : steps)
        if (step / span * length >= labelExtent(range, step)) return step;
    return steps.last();
}

double StepTicker::getTickStep(const QCPRange &range)
{
    return stepFor(range);
}

int StepTicker::getSubTickCount(double tickStep)
{
    return subTicks >= 0 ? subTicks : QCPAxisTickerFixed::getSubTickCount(tickStep);
}

double RoomTicker::getTickStep(const QCPRange &range)
{
    const double height = std::max(1, axis->axisRect()->height());
    const double gap = QFontMetricsF(axis->tickLabelFont()).height();
    const double least = std::max(range.size() * gap / height, range.size() / 6);
    if (!(least > 0) || !std::isfinite(least)) return QCPAxisTicker::getTickStep(range);
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (const double m : {1.0, 2.0, 2.5, 5.0})
        if (m * decade >= least * (1 - 1e-9)) return m * decade;
    return 10 * decade;
}
