#pragma once

#include "catalog/amp.h"

#include <QString>
#include <QVector>

// The limit curves drawn on the SOA plot: the part's safe operating area at fixed and custom
// case temperatures, its pulse lines, and the box of output-stage voltages the supplies leave
// reachable. Voltages are across the conducting output stage (V), currents are output
// currents (A).
namespace soa {

enum class CurveKind { Case25, Case85, Case125, Pulse1, Pulse2, Pulse3, Custom, Swing };

struct LimitCurve
{
    CurveKind kind = CurveKind::Case25;
    QString name; // the legend text
    QVector<double> voltage;
    QVector<double> current;
};

// The shared voltage grid: 1000 points from 1 V growing by Vss_max^0.001 per step, the last
// one exactly Vss_max.
QVector<double> soaVoltageGrid(double vssMax);

// The part's curves in drawing order, those the part has no data for left out: 25 °C (with
// second breakdown folded in), 85 °C and 125 °C when Tc_soa reaches them, and the pulse lines
// not labelled "NA". Each curve ends at (Vss_max, 0).
//
// A case-temperature line is the power limit Pd_max - (Tc - 25)/Rtheta_DC over V, capped at
// I_cont and at the second-breakdown line I_cont (SB_V / V)^SB_slope.
QVector<LimitCurve> soaLimitCurves(const amp &part);

// The case-temperature line at a temperature the user types (raised to 25 °C when lower).
LimitCurve customTempCurve(const amp &part, double caseTempC);

// The reachable box for supplies spanning supplySpan volts: the near edge is the least stage
// voltage A I² + B I + C0 at current I (0..I_pk), the far edge the supply span less it; both
// stop where they cross. Points in the order near edge, far edge.
LimitCurve swingBox(double a, double b, double c0, double iPk, double supplySpan);

} // namespace soa
