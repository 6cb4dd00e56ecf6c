#include "soa/soacurves.h"

#include <QtGlobal>

#include <cmath>

namespace soa {

namespace {

const int kGridPoints = 1000;

double secondBreakdownLimit(const amp &part, double v)
{
    if (v < part.getSB_V()) return part.getI_cont();
    return part.getI_cont() * std::pow(part.getSB_V() / v, part.getSB_slope());
}

// Power-limited current at case temperature: flat at I_cont up to the corner P / I_cont.
double powerLimit(double power, double iCont, double v)
{
    if (v < power / iCont) return iCont;
    return power / v;
}

double pulseLimit(const amp &part, double breakVoltage, double v)
{
    if (v < breakVoltage) return part.getI_pk();
    return part.getI_pk() * std::pow(breakVoltage / v, part.getPulse_slope());
}

} // namespace

QVector<double> soaVoltageGrid(double vssMax)
{
    QVector<double> grid(kGridPoints);
    const double step = std::pow(vssMax, 0.001);
    grid[0] = 1;
    for (int k = 1; k < kGridPoints - 1; ++k)
        grid[k] = grid[k - 1] * step;
    grid[kGridPoints - 1] = vssMax;
    return grid;
}

QVector<LimitCurve> soaLimitCurves(const amp &part)
{
    const QVector<double> grid = soaVoltageGrid(part.getVss_max());
    const double pd = part.getPd_max(0);
    const double iCont = part.getI_cont();
    const double tcSoa = part.getTc_soa();
    const double p85 = pd - 60 / part.getRtheta_DC();
    const double p125 = pd - 100 / part.getRtheta_DC();
    const double pulseV[3] = {part.getPulse1_V(), part.getPulse2_V(), part.getPulse3_V()};

    QVector<double> c25(kGridPoints), c85(kGridPoints), c125(kGridPoints);
    QVector<double> pulse[3];
    for (auto &p : pulse)
        p.resize(kGridPoints);
    for (int k = 0; k < kGridPoints - 1; ++k) {
        const double v = grid.at(k);
        for (int m = 0; m < 3; ++m)
            pulse[m][k] = pulseLimit(part, pulseV[m], v);
        double sb = secondBreakdownLimit(part, v);
        double i25 = powerLimit(pd, iCont, v);
        double i85 = tcSoa > 84 ? powerLimit(p85, iCont, v) : 0;
        double i125 = tcSoa > 124 ? powerLimit(p125, iCont, v) : 0;
        sb = qMin(sb, i25);
        c25[k] = qMin(i25, sb);
        c85[k] = qMin(i85, sb);
        c125[k] = qMin(i125, sb);
    }
    // Every array already ends at 0 for the last grid point, Vss_max.

    QVector<LimitCurve> curves;
    curves.append(
        {CurveKind::Case25, QString::fromUtf8("25°C Case Temp/\nSteady State Limit"), grid, c25});
    if (tcSoa >= 85)
        curves.append({CurveKind::Case85, QString::fromUtf8("85°C Case Temp"), grid, c85});
    if (tcSoa >= 125)
        curves.append({CurveKind::Case125, QString::fromUtf8("125°C Case Temp"), grid, c125});
    const QString labels[3] = {part.getPulse1(), part.getPulse2(), part.getPulse3()};
    const CurveKind kinds[3] = {CurveKind::Pulse1, CurveKind::Pulse2, CurveKind::Pulse3};
    for (int m = 0; m < 3; ++m) {
        if (labels[m] != QLatin1String("NA")) curves.append({kinds[m], labels[m], grid, pulse[m]});
    }
    return curves;
}

LimitCurve customTempCurve(const amp &part, double caseTempC)
{
    const double tc = qMax(caseTempC, 25.0);
    const QVector<double> grid = soaVoltageGrid(part.getVss_max());
    const double power = part.getPd_max(0) - (tc - 25) / part.getRtheta_DC();
    QVector<double> current(kGridPoints);
    for (int k = 0; k < kGridPoints - 1; ++k) {
        const double v = grid.at(k);
        const double limit = powerLimit(power, part.getI_cont(), v);
        const double sb = qMin(secondBreakdownLimit(part, v), limit);
        current[k] = qMin(limit, sb);
    }
    return {CurveKind::Custom, QStringLiteral("Custom"), grid, current};
}

LimitCurve swingBox(double a, double b, double c0, double iPk, double supplySpan)
{
    const int half = 180;
    QVector<double> x(2 * half), current(2 * half);
    for (int k = 0; k < half; ++k) {
        const double i = (static_cast<double>(k) / half) * iPk;
        current[k] = i;
        x[k] = a * i * i + b * i + c0;
    }
    int nearEnd = half; // points of the near edge kept
    int farEnd = 2 * half;
    for (int k = half; k < 2 * half; ++k) {
        current[k] = current[k - half];
        x[k] = supplySpan - x[k - half];
        if (x[k] < x[k - half]) {
            nearEnd = k - half;
            farEnd = k;
            break;
        }
    }
    LimitCurve box;
    box.kind = CurveKind::Swing;
    box.name = QStringLiteral("Vswing");
    box.voltage = x.mid(0, nearEnd) + x.mid(half, farEnd - half);
    box.current = current.mid(0, nearEnd) + current.mid(half, farEnd - half);
    return box;
}

} // namespace soa
