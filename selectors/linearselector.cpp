#include "selectors/linearselector.h"

#include "catalog/partlists.h"

#include <cmath>

namespace selectors {

namespace {

// These two parts drop a fixed 10 V per side at any current (their data sheets give no
// current-dependent headroom).
bool hasFixedHeadroom(const amp &part)
{
    const QString name = part.getAmpName();
    return name == QLatin1String("KW307") || name == QLatin1String("KW307A");
}

LinearRow catalogRow(const amp &part, int index, const QVector<packageStyle> &packages)
{
    LinearRow row;
    row.index = index;
    row.partName = part.getAmpName();
    row.shownName = row.partName;
    row.channels = part.getChannels();
    row.vssMaxV = part.getVss_max();
    row.currentA = part.getI_cont();
    row.swingVpp = std::trunc(linearSwing(part, 0));
    row.slewRateVus = part.getSlewRate(0);
    row.bandwidthKHz = part.getGBWP();
    row.iqMaxMA = part.getIq_max();
    row.pdMaxW = part.getPd_max(0);
    row.package = catalog::interpretPackage(packages, part.getPackageStyle());
    row.relativePrice = part.getRelative_price();
    return row;
}

// Packages needed for n amplifiers; a part that states no channel count is one per package.
double packagesFor(int n, int channels)
{
    return std::ceil(double(n) / double(channels > 0 ? channels : 1));
}

} // namespace

double linearSwing(const amp &part, double currentA)
{
    if (hasFixedHeadroom(part)) return part.getVss_max() - 20;
    const int b = part.getBoostOptions();
    const double a = part.getVswingA(b);
    const double bb = part.getVswingB(b);
    const double c = part.getVswingC(b);
    return part.getVss_max() - 2 * (c + bb * currentA + a * currentA * currentA);
}

QVector<LinearRow> linearCatalogRows(const QVector<amp> &parts,
                                     const QVector<packageStyle> &packages)
{
    QVector<LinearRow> rows;
    rows.reserve(parts.size());
    for (int k = 0; k < parts.size(); ++k)
        rows.append(catalogRow(parts.at(k), k, packages));
    return rows;
}

LinearSelection selectLinear(const QVector<amp> &parts, const QVector<packageStyle> &packages,
                             const LinearRequirement &req)
{
    LinearSelection out;
    const double I = req.currentA;
    const double vpp = req.vpp;

    // Full-power bandwidth of a sine: SR = π · f · Vpp (f in kHz, SR in V/µs).
    switch (req.rate) {
    case RateInput::SlewRate:
        out.slewRateVus = req.slewRateVus;
        out.frequencyKHz = out.slewRateVus * 1000 / selectorPi / vpp;
        break;
    case RateInput::Frequency:
        out.frequencyKHz = req.frequencyKHz;
        out.slewRateVus = std::fabs(req.frequencyKHz) * selectorPi * vpp / 1000;
        break;
    case RateInput::None:
        break;
    }
    const double SR = out.slewRateVus;
    const double r = 1 - req.relaxPercent / 100.0;

    out.rows.reserve(parts.size());
    for (int k = 0; k < parts.size(); ++k) {
        const amp &part = parts.at(k);
        LinearRow row = catalogRow(part, k, packages);
        const double iCont = part.getI_cont();
        const double sr0 = part.getSlewRate(0);
        const double gbwp = std::trunc(part.getGBWP());

        int n = ampsToShare(I, iCont, req.maxParallel);

        const double S = std::trunc(linearSwing(part, I));
        row.swingVpp = S;

        double bw = gbwp;
        if (vpp != 0) bw = std::min(std::trunc(sr0 * 1000 / selectorPi / vpp), gbwp);
        row.bandwidthKHz = bw;

        const bool fits = S >= vpp && iCont >= I && sr0 >= SR;
        const bool near = iCont >= r * I && S >= r * vpp && sr0 >= r * SR;
        const bool bridge = S >= 0.5 * vpp && iCont >= I && sr0 >= 0.5 * SR;

        double sp = 0;
        if (n != 0) {
            sp = std::trunc(linearSwing(part, I / n));
            if (sp < vpp || sr0 < 2 * SR) n = 0;
        }

        if (fits) {
            row.verdict = Verdict::Fits;
        } else if (near) {
            row.verdict = Verdict::Close;
            if (S < vpp) row.tintSwing = row.tintName = true;
            if (iCont < I) row.tintCurrent = row.tintName = true;
            if (sr0 < SR) row.tintSlewRate = row.tintName = row.tintBandwidth = true;
        } else if (req.showBridge && bridge) {
            row.verdict = Verdict::Bridge;
            row.bandwidthKHz = 2 * bw;
            row.swingVpp = 2 * S;
            row.slewRateVus = 2 * sr0;
            row.shownName = row.partName + QStringLiteral("-BRIDGE");
            // A dual or quad package holds both halves of the bridge.
            row.relativePrice =
                part.getChannels() <= 1 ? 2 * part.getRelative_price() : part.getRelative_price();
        } else if (req.showParallel && n != 0) {
            row.verdict = Verdict::Parallel;
            row.parallelCount = n;
            row.currentA = iCont * n;
            row.swingVpp = sp;
            row.bandwidthKHz = std::trunc(bw / 2);
            row.slewRateVus = 0.5 * sr0;
            row.shownName = row.partName + QStringLiteral("-PARALLEL (") +
                            QString::number(double(n), 'g', 6) + QLatin1Char(')');
            row.relativePrice = part.getRelative_price() * packagesFor(n, part.getChannels());
        } else {
            row.verdict = Verdict::Hidden;
        }
        out.rows.append(row);
    }
    return out;
}

} // namespace selectors
