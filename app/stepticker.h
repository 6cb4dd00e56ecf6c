#pragma once

#include <qcustomplot.h>

#include <QVector>

// How far apart the tick labels of a vertical axis stand, centre to centre, for both tickers
// below: a line and a fifth, so that a fifth of a line stays between neighbouring labels.
double tickLabelPitch(const QCPAxis *axis);

// Ticks at a fixed step chosen from a short list by the length the axis is drawn at: the
// first step whose tick labels stand apart (tickLabelPitch on a vertical axis, a character's
// width between labels on a horizontal one), or the last step where none does. The phase
// axis ticks every 45° where there is room and every 90° or 180° where there is not.
// tickStep() reads the first, preferred step.
class StepTicker : public QCPAxisTickerFixed
{
public:
    // `steps` in increasing order; `subTicks` between ticks, or -1 for the count QCustomPlot
    // derives from the step.
    StepTicker(const QCPAxis *axis, const QVector<double> &steps, int subTicks = -1);

protected:
    double getTickStep(const QCPRange &range) override;
    int getSubTickCount(double tickStep) override;

private:
    // The pixels a tick label takes along the axis, the gap it wants to its neighbour
    // included, for ticks `step` apart.
    double labelExtent(const QCPRange &range, double step);

    const QCPAxis *axis;
    QVector<double> steps;
    int subTicks;
};

// Value-axis ticks for as many labels, six at most, as the axis holds tickLabelPitch apart, on
// the library's readable steps (1, 2, 2.5 or 5 times a power of ten), or where those leave a
// single label on its finer ones (1.5, 3, 4, 4.5 ...) where these set two: for axes whose span
// follows the data, where no short list of steps fits every range.
class RoomTicker : public QCPAxisTicker
{
public:
    explicit RoomTicker(const QCPAxis *axis);

protected:
    double getTickStep(const QCPRange &range) override;

private:
    const QCPAxis *axis;
};
