#pragma once

#include <qcustomplot.h>

#include <QSharedPointer>
#include <QStringList>
#include <QVector>

// Axis tickers of the PWM pages' frequency plots.
namespace pwmpower {

// A fixed tick step with a fixed number of sub-ticks between ticks.
class FixedStepTicker : public QCPAxisTickerFixed
{
public:
    explicit FixedStepTicker(double step, int subTicks);

protected:
    int getSubTickCount(double tickStep) override;

private:
    int mSubTicks;
};

// Decade ticks labelled with SI prefixes ("1", "10", "1k", ...) and 8 sub-ticks, which on a
// logarithmic axis fall on 2 .. 9 of each decade.
QSharedPointer<QCPAxisTickerText> decadeTicker(const QVector<double> &ticks,
                                               const QStringList &labels);

} // namespace pwmpower
