#include "selectors/heatsinkselector.h"

#include "values/engvalues.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace selectors {

namespace {

struct PackageChoice
{
    const char *text;
    const char *code;
};

constexpr PackageChoice packageChoices[] = {
    {"All Packages", "ALL"},    {"8-pin TO-3", "CE"},    {"12-pin Power DIP (MO-127)", "CR"},
    {"10-pin Power Dip", "DE"}, {"18-pin DIP", "EL"},    {"TO-220", "CD"},
    {"Open Frame", "OF"},       {"Surface Mount", "SM"}, {"Power SIP", "DP"},
};

bool takesPackage(const heatsink &sink, const QString &code)
{
    if (code == QLatin1String(allPackagesCode)) return true;
    // numPackages may claim more codes than the row holds; only codes it holds count.
    const QStringList codes = sink.listPackages();
    const int n = std::min(sink.getNumPackages(), int(codes.size()));
    for (int i = 0; i < n; ++i)
        if (codes.at(i) == code) return true;
    return false;
}

HeatsinkRow catalogRow(const heatsink &sink, int index, bool metric)
{
    HeatsinkRow row;
    row.index = index;
    row.name = sink.getName();
    row.naturalTheta = sink.getFreeAirTheta();
    row.height = metric ? metricLengthMm(sink.getHeight()) : sink.getHeight();
    row.length = metric ? metricLengthMm(sink.getLength()) : sink.getLength();
    row.width = metric ? metricLengthMm(sink.getWidth()) : sink.getWidth();
    row.weight = metric ? metricWeightG(sink.getWeight()) : sink.getWeight();
    row.relativePrice = sink.getRelative_price();
    return row;
}

} // namespace

QStringList heatsinkPackageChoices()
{
    QStringList texts;
    for (const PackageChoice &choice : packageChoices)
        texts << QString::fromLatin1(choice.text);
    return texts;
}

QString heatsinkPackageChoiceCode(int index)
{
    if (index < 0 || index >= int(std::size(packageChoices)))
        return QString::fromLatin1(allPackagesCode);
    return QString::fromLatin1(packageChoices[index].code);
}

QString heatsinkPartChoiceCode(int entry, const QVector<amp> &linear, const QVector<pwm> &pwms)
{
    if (entry <= 0) return QString::fromLatin1(allPackagesCode);
    const int k = entry - 1;
    if (k < linear.size()) return linear.at(k).getPackageStyle();
    const int p = k - linear.size();
    if (p < pwms.size()) return pwms.at(p).getPackageStyle();
    return QString();
}

double metricLengthMm(double inches)
{
    return std::ceil(inches * 254) / 10;
}

double metricWeightG(double ounces)
{
    return std::ceil(ounces * gramsPerOunce);
}

bool isWaterCooled(const heatsink &sink)
{
    return sink.getName().contains(QLatin1String("H2O"));
}

double ratedFlow(const heatsink &sink)
{
    return isWaterCooled(sink) ? 4.0 : 1000.0;
}

double forcedTheta(const heatsink &sink, double flow)
{
    return sink.getA() * std::exp(sink.getB() * flow) + sink.getC();
}

HeatsinkEnvelope heatsinkEnvelope(bool constrained, double height, double length, double width,
                                  double weight, bool metric)
{
    HeatsinkEnvelope env;
    if (!constrained) {
        env.heightIn = env.lengthIn = env.widthIn = env.weightOz = infiniteValue;
        return env;
    }
    const double lengthFactor = metric ? millimetresPerInch : 1;
    const double weightFactor = metric ? gramsPerOunce : 1;
    env.heightIn = height / lengthFactor;
    env.lengthIn = length / lengthFactor;
    env.widthIn = width / lengthFactor;
    env.weightOz = weight / weightFactor;
    if (env.widthIn > env.lengthIn) std::swap(env.widthIn, env.lengthIn);
    return env;
}

QVector<HeatsinkRow> heatsinkCatalogRows(const QVector<heatsink> &sinks, bool metric)
{
    QVector<HeatsinkRow> rows;
    rows.reserve(sinks.size());
    for (int k = 0; k < sinks.size(); ++k)
        rows.append(catalogRow(sinks.at(k), k, metric));
    return rows;
}

QVector<HeatsinkRow> selectHeatsinks(const QVector<heatsink> &sinks, const HeatsinkRequirement &req,
                                     bool metric)
{
    const HeatsinkEnvelope &env = req.envelope;
    const double widen = 1 + req.relax;

    QVector<HeatsinkRow> rows;
    rows.reserve(sinks.size());
    for (int k = 0; k < sinks.size(); ++k) {
        const heatsink &sink = sinks.at(k);
        HeatsinkRow row = catalogRow(sink, k, metric);

        const double R =
            req.forcedFlow ? forcedTheta(sink, ratedFlow(sink)) : sink.getFreeAirTheta();
        const bool match = takesPackage(sink, req.packageCode);
        const double h = sink.getHeight();
        const double l = sink.getLength();
        const double w = sink.getWidth();
        const double wt = sink.getWeight();

        const bool strict = match && R <= req.thetaCW && h <= env.heightIn && l <= env.lengthIn &&
                            w <= env.widthIn && wt <= env.weightOz;
        const bool thetaClose = req.forcedFlow ? R <= req.thetaCW : R <= widen * req.thetaCW;
        const bool close = match && h <= widen * env.heightIn && l <= widen * env.lengthIn &&
                           w <= widen * env.widthIn && wt <= widen * env.weightOz && thetaClose;

        if (strict) {
            row.verdict = Verdict::Fits;
        } else if (close) {
            row.verdict = Verdict::Close;
            row.tintTheta = R > req.thetaCW;
            row.tintHeight = h > env.heightIn;
            row.tintLength = l > env.lengthIn;
            row.tintWidth = w > env.widthIn;
            row.tintWeight = wt > env.weightOz;
        } else {
            row.verdict = Verdict::Hidden;
        }
        rows.append(row);
    }
    return rows;
}

} // namespace selectors
