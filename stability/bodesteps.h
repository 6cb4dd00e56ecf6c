#pragma once

#include "stability/bodemodel.h"

#include <QColor>
#include <QString>
#include <QVector>

// Steps that the four Bode models share and that only they use.
namespace stab {
namespace steps {

extern const double kRadToDeg; // 57.29577951308232

// The part's own feedback network replaces the typed one for the booster circuit types;
// R_G is read only when the type is not "normal".
void applyCircuitType(const amp &part, const QString &rgText, double &Rin, double &Rfb,
                      double &Cfb);

// Host op-amp gain at f (dB), and the lag of one host pole; a pole not above 0 Hz is absent.
double hostGain(const HostAmp &host, double f);
double hostLag(double f, double pole);
double hostAtan(double f, double pole);

// "label" + value + "V/V (" + dB + " dB)".
QString ratioLine(const QString &label, double ratio);
QString hzLine(const QString &label, double hz);

void addGraph(QVector<BodeGraph> &graphs, const QString &name, const QVector<double> &keys,
              const QVector<double> &values, const QColor &colour,
              Qt::PenStyle style = Qt::SolidLine);

// Verdict, slew rate, margins and closure marker that every model ends with.
void finishResult(BodeResult &r, const amp &part, int compOption);

} // namespace steps
} // namespace stab
