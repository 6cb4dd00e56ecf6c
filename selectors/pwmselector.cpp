#include "selectors/pwmselector.h"

#include "catalog/partlists.h"

#include <cmath>

namespace selectors {

namespace {

// The on-resistances are rated at this case temperature for selection.
constexpr double selectionTempC = 25;

double switchResistance(const pwm &part)
{
    return part.topResistance(selectionTempC) + part.bottomResistance(selectionTempC);
}

PwmRow catalogRow(const pwm &part, int index, const QVector<packageStyle> &packages)
{
    PwmRow row;
    row.index = index;
    row.partName = part.getAmpName();
    row.shownName = row.partName;
    row.outputType = pwmOutputType(part.getOutputs());
    row.vsMaxV = part.getVs_max();
    row.currentA = part.getI_cont();
    row.peakCurrentA = part.getI_pk();
    row.outputVpk = std::trunc(part.getVs_max() - part.getTop_V() - part.getBot_V());
    row.fswMaxKHz = part.getFsw_max();
    row.bandwidthKHz = part.getFsw_max() / 10;
    row.pdMaxW = part.getPd_max();
    row.package = catalog::interpretPackage(packages, part.getPackageStyle());
    row.relativePrice = part.getRelative_price();
    return row;
}

} // namespace

QString pwmOutputType(int outputs)
{
    switch (outputs) {
    case 1:
        return QStringLiteral("Half Bridge");
    case 2:
        return QStringLiteral("Full Bridge");
    case 3:
        return QStringLiteral("Three Phase");
    default:
        return QString();
    }
}

double pwmOutputVoltage(const pwm &part, double currentA)
{
    return part.getVs_max() - part.getTop_V() - part.getBot_V() - switchResistance(part) * currentA;
}

QVector<PwmRow> pwmCatalogRows(const QVector<pwm> &parts, const QVector<packageStyle> &packages)
{
    QVector<PwmRow> rows;
    rows.reserve(parts.size());
    for (int k = 0; k < parts.size(); ++k)
        rows.append(catalogRow(parts.at(k), k, packages));
    return rows;
}

QVector<PwmRow> selectPwm(const QVector<pwm> &parts, const QVector<packageStyle> &packages,
                          const PwmRequirement &req)
{
    const double I = req.currentA;
    const double V = req.voltageV;
    const double f = req.frequencyKHz;
    const double r = 1 - req.relaxPercent / 100.0;

    QVector<PwmRow> rows;
    rows.reserve(parts.size());
    for (int k = 0; k < parts.size(); ++k) {
        const pwm &part = parts.at(k);
        PwmRow row = catalogRow(part, k, packages);
        const double iCont = part.getI_cont();
        // A PWM output filter passes signals up to about a tenth of the switching frequency.
        const double bwMax = part.getFsw_max() / 10;

        int n = ampsToShare(I, iCont, req.maxParallel);

        const double vout = std::trunc(pwmOutputVoltage(part, I));
        row.outputVpk = vout;

        const bool fits = vout >= V && iCont >= I && f <= bwMax;
        const bool near = iCont >= r * I && vout >= r * V && bwMax >= r * f;

        double vp = 0;
        if (n != 0) {
            vp = std::trunc(pwmOutputVoltage(part, I / n));
            if (vp < V) n = 0;
            if (bwMax < r * f) n = 0;
        }

        if (fits) {
            row.verdict = Verdict::Fits;
        } else if (near) {
            row.verdict = Verdict::Close;
            if (vout < V) row.tintVoltage = row.tintName = true;
            if (iCont < I) row.tintCurrent = row.tintName = true;
            if (bwMax < f) row.tintFrequency = row.tintName = true;
        } else if (req.showParallel && n != 0) {
            row.verdict = Verdict::Parallel;
            row.parallelCount = n;
            row.outputVpk = vp;
            row.currentA = iCont * n;
            row.peakCurrentA = part.getI_pk() * n;
            row.shownName = row.partName + QStringLiteral("-PARALLEL (") +
                            QString::number(double(n), 'g', 6) + QLatin1Char(')');
            row.relativePrice = n * part.getRelative_price();
        } else {
            row.verdict = Verdict::Hidden;
        }
        rows.append(row);
    }
    return rows;
}

} // namespace selectors
