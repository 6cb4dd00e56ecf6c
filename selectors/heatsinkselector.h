#pragma once

#include "catalog/amp.h"
#include "catalog/heatsink.h"
#include "catalog/pwm.h"
#include "selectors/verdict.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The heatsink selector without its widgets: which heatsinks fit a package, reach a thermal
// resistance in free air or under the rated forced flow, and fit a size and weight envelope.
// The catalog keeps sizes in inches and weights in ounces; the metric table shows them in
// millimetres and grams, rounded up so that a heatsink is never shown smaller than it is.
namespace selectors {

constexpr double millimetresPerInch = 25.4;
constexpr double gramsPerOunce = 28.3495;

// The package code that matches every heatsink.
constexpr const char *allPackagesCode = "ALL";

// The package filter's entries and the codes they stand for, in combo order.
QStringList heatsinkPackageChoices();
QString heatsinkPackageChoiceCode(int index); // "ALL" outside the list

// The code behind an entry of the part combo: entry 0 is "All Parts", then one entry per
// linear amplifier and one per PWM amplifier, in list order. Nothing chosen (a negative
// entry) is all parts; an entry past the lists is a code no heatsink has.
QString heatsinkPartChoiceCode(int entry, const QVector<amp> &linear, const QVector<pwm> &pwms);

// Metric display of a catalog size: up to the next tenth of a millimetre, the next gram.
double metricLengthMm(double inches);
double metricWeightG(double ounces);

// A water-cooled heatsink carries "H2O" in its name; its flow is water in gallons per minute
// per channel, that of the others air in linear feet per minute.
bool isWaterCooled(const heatsink &sink);

// Flow at which the filter judges a heatsink under forced flow: 4 GPM per channel of water,
// 1000 LFM of air.
double ratedFlow(const heatsink &sink);

// Thermal resistance A·exp(B·flow) + C at a flow, °C/W.
double forcedTheta(const heatsink &sink, double flow);

// The size and weight envelope in catalog units (inches, ounces); infiniteValue where there
// is no limit. Length is the larger and width the smaller of the two footprint sides, so the
// envelope may be typed either way round.
struct HeatsinkEnvelope
{
    double heightIn = 0;
    double lengthIn = 0;
    double widthIn = 0;
    double weightOz = 0;
};

// From the typed limits in the page's units (inches and ounces, or millimetres and grams when
// metric). Without constraints every limit is infiniteValue.
HeatsinkEnvelope heatsinkEnvelope(bool constrained, double height, double length, double width,
                                  double weight, bool metric);

struct HeatsinkRequirement
{
    QString packageCode = QString::fromLatin1(allPackagesCode);
    double thetaCW = 0; // desired thermal resistance, °C/W
    HeatsinkEnvelope envelope;
    double relax = 0; // tolerance as a fraction (0.1 for 10 %)
    bool forcedFlow = false;
};

// One row of the heatsink table, in the units of the table (English or metric).
struct HeatsinkRow
{
    int index = 0;
    QString name;
    double naturalTheta = 0; // free-air thermal resistance, °C/W (also under forced flow)
    double height = 0;       // in or mm
    double length = 0;
    double width = 0;
    double weight = 0; // oz or g
    double relativePrice = 0;
    Verdict verdict = Verdict::Fits; // Fits, Close or Hidden

    bool tintTheta = false;
    bool tintHeight = false;
    bool tintLength = false;
    bool tintWidth = false;
    bool tintWeight = false;
};

QVector<HeatsinkRow> heatsinkCatalogRows(const QVector<heatsink> &sinks, bool metric);

// A heatsink fits when it takes the package, reaches the thermal resistance (at the rated
// flow under forced flow) and fits the envelope; it is a close match when it takes the
// package and misses the envelope, or the free-air thermal resistance, by no more than the
// tolerance. The thermal resistance under forced flow is never relaxed.
QVector<HeatsinkRow> selectHeatsinks(const QVector<heatsink> &sinks, const HeatsinkRequirement &req,
                                     bool metric);

} // namespace selectors
