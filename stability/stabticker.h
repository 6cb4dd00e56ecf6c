#pragma once

#include <qcustomplot.h>

// A fixed tick step with a fixed number of sub-ticks between ticks: the gain axes tick every
// 20 dB, the phase axis every 45°, each with its own sub-division.
class FixedStepTicker : public QCPAxisTickerFixed
{
public:
    FixedStepTicker(double step, int subTicks) : mSubTicks(subTicks)
    {
        setTickStep(step);
        setScaleStrategy(QCPAxisTickerFixed::ssNone);
    }

protected:
    int getSubTickCount(double) override { return mSubTicks; }

private:
    int mSubTicks;
};
