#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The decade axis the stability plots share, and the curves of the Bode plot generator page,
// which draws gains typed per decade as they are: it computes nothing.
namespace stab {

struct DecadeTicks
{
    QVector<double> positions; // 1 Hz .. 100 MHz
    QVector<QString> labels;   // "1" .. "100M"
};
DecadeTicks decadeTicks();

struct DemoCurves
{
    QVector<double> frequency;  // Hz, one per decade
    QVector<double> openLoop;   // dB
    QVector<double> closedLoop; // dB
};

// Gains are plain numbers in dB; an engineering prefix or any other text that is not a plain
// number reads as 0 dB. Missing entries read as 0 dB, extra ones are ignored.
DemoCurves demoCurves(const QStringList &openLoopTexts, const QStringList &closedLoopTexts);

// The gain axis of the generator: -20 to 140 dB, widened in 20 dB steps to take in every
// typed gain down to -300 dB and up to 300 dB (beyond that the axis would be all ticks).
struct GainSpan
{
    double lower = -20, upper = 140;
};
GainSpan demoGainSpan(const DemoCurves &curves);

} // namespace stab
