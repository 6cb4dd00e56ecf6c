#include "pwmpower/plotaxes.h"

namespace pwmpower {

FixedStepTicker::FixedStepTicker(double step, int subTicks) : mSubTicks(subTicks)
{
    setTickStep(step);
    setScaleStrategy(QCPAxisTickerFixed::ssNone);
}

int FixedStepTicker::getSubTickCount(double)
{
    return mSubTicks;
}

QSharedPointer<QCPAxisTickerText> decadeTicker(const QVector<double> &ticks,
                                               const QStringList &labels)
{
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    ticker->setTicks(ticks, labels.toVector());
    ticker->setSubTickCount(8);
    return ticker;
}

} // namespace pwmpower
