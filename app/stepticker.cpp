#include "app/stepticker.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>

double tickLabelPitch(const QCPAxis *axis)
{
    return 1.2 * QFontMetricsF(axis->tickLabelFont()).height();
}

namespace {

// The pixels the axis is drawn along.
double axisLength(const QCPAxis *axis)
{
    const QCPAxisRect *rect = axis->axisRect();
    return axis->orientation() == Qt::Vertical ? rect->height() : rect->width();
}

} // namespace

StepTicker::StepTicker(const QCPAxis *axis, const QVector<double> &steps, int subTicks)
    : axis(axis), steps(steps), subTicks(subTicks)
{
    setScaleStrategy(QCPAxisTickerFixed::ssNone);
    if (!steps.isEmpty()) setTickStep(steps.first());
}

double StepTicker::labelExtent(const QCPRange &range, double step)
{
    if (axis->orientation() == Qt::Vertical) return tickLabelPitch(axis);
    // More ticks than any axis can label apart.
    if (range.size() / step > 500) return std::numeric_limits<double>::infinity();
    // The widest label of the ticks this step makes, as the axis draws them, and a
    // character's width between labels.
    const QFontMetricsF metrics(axis->tickLabelFont());
    const QString format = axis->numberFormat();
    const QChar formatChar = format.isEmpty() ? QLatin1Char('g') : format.at(0);
    QVector<double> ticks = createTickVector(step, range);
    trimTicks(range, ticks, false);
    double widest = 0;
    for (double tick : qAsConst(ticks))
        widest = std::max(
            widest, metrics.horizontalAdvance(getTickLabel(tick, axis->parentPlot()->locale(),
                                                           formatChar, axis->numberPrecision())));
    return widest + metrics.averageCharWidth();
}

double StepTicker::getTickStep(const QCPRange &range)
{
    if (steps.isEmpty()) return tickStep();
    const double length = axisLength(axis);
    const double span = range.size();
    if (!(span > 0) || !std::isfinite(span) || length <= 0) return steps.first();
    for (double step : qAsConst(steps))
        if (step / span * length >= labelExtent(range, step)) return step;
    return steps.last();
}

int StepTicker::getSubTickCount(double tickStep)
{
    return subTicks >= 0 ? subTicks : QCPAxisTickerFixed::getSubTickCount(tickStep);
}

RoomTicker::RoomTicker(const QCPAxis *axis) : axis(axis)
{
    setTickStepStrategy(QCPAxisTicker::tssReadability);
}

double RoomTicker::getTickStep(const QCPRange &range)
{
    const double span = range.size();
    // The least step that sets the labels a pitch apart, and no more than six of them.
    const double least =
        std::max(span * tickLabelPitch(axis) / std::max(1.0, axisLength(axis)), span / 6);
    if (!(least > 0) || !std::isfinite(least)) return QCPAxisTicker::getTickStep(range);
    const auto labels = [&](double step) {
        return std::floor(range.upper / step) - std::ceil(range.lower / step) + 1;
    };
    // The library takes the step nearest the span over the tick count, which may round below
    // the least step: then one tick fewer. Its readable steps first; where they leave a single
    // label, its finer ones (1.5, 3, 4, 4.5, ...) where those set two a pitch apart.
    double step = 0;
    for (const TickStepStrategy strategy : {tssReadability, tssMeetTickCount}) {
        setTickStepStrategy(strategy);
        for (int count = int(std::min(6.0, span / least)); count >= 1; --count) {
            setTickCount(count);
            const double tried = QCPAxisTicker::getTickStep(range);
            if (tried < least * (1 - 1e-9)) continue;
            if (step == 0 || labels(tried) >= 2) step = tried;
            break;
        }
        if (step > 0 && labels(step) >= 2) break;
    }
    setTickStepStrategy(tssReadability);
    if (step > 0) return step;
    // Not two labels fit: the least readable step that keeps them apart.
    step = cleanMantissa(least);
    for (int i = 0; i < 4 && step < least * (1 - 1e-9); ++i)
        step = cleanMantissa(2 * step);
    return step;
}
