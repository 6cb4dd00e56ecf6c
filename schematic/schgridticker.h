#pragma once

#include <qcustomplot.h>

// Places an axis's ticks, and so its grid lines, on the multiples of the editor's snap step
// within the visible range, recomputed on every replot. Far zoomed out the lines thin out to
// multiples of the step (see schem::gridLinePositions) instead of growing without bound.
class SchGridTicker : public QCPAxisTicker
{
public:
    void setStep(int step) { mStep = step; }
    int step() const { return mStep; }

protected:
    double getTickStep(const QCPRange &range) override;
    int getSubTickCount(double tickStep) override;
    QVector<double> createTickVector(double tickStep, const QCPRange &range) override;

private:
    int mStep = 200;
};
