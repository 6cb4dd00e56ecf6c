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

} // namespace stab
