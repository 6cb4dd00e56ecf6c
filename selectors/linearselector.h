#pragma once

#include "catalog/amp.h"
#include "catalog/packagestyle.h"
#include "selectors/verdict.h"

#include <QString>
#include <QVector>

// The linear product selector without its widgets: which linear amplifiers meet an output
// requirement (current, peak-to-peak swing, frequency or slew rate), which come close, and
// which do as a bridge pair or a parallel group. Units are those the user types on the page:
// A, V, kHz and V/µs.
namespace selectors {

// The constant the selector uses for π when it turns a frequency into a slew rate and back.
// Kept short so that the derived figures match those our users have written down for years.
constexpr double selectorPi = 3.14159;

// Which of the two rate fields the user typed; the other is derived from it.
enum class RateInput { Frequency, SlewRate, None };

struct LinearRequirement
{
    double currentA = 0; // magnitude of the required output current
    double vpp = 0;      // magnitude of the peak-to-peak output voltage, V
    RateInput rate = RateInput::Frequency;
    double frequencyKHz = 0; // typed when rate is Frequency (sign ignored)
    double slewRateVus = 0;  // typed when rate is SlewRate, magnitude
    int relaxPercent = 0;    // tolerance of close matches
    bool showBridge = false;
    bool showParallel = false;
    int maxParallel = 0; // largest number of amplifiers in parallel
};

// One row of the selector table. The values are those its cells show: after the catalog
// fill they describe the part alone; after a selection they include the requirement's swing
// and bandwidth and any bridge or parallel conversion.
struct LinearRow
{
    int index = 0;     // position of the part in the part list
    QString partName;  // catalog name
    QString shownName; // with "-BRIDGE" or "-PARALLEL (N)" for converted rows
    int channels = 1;
    double vssMaxV = 0;
    double currentA = 0; // continuous output current (of the group for parallel rows)
    double swingVpp = 0; // whole volts
    double slewRateVus = 0;
    double bandwidthKHz = 0; // whole kHz
    double iqMaxMA = 0;
    double pdMaxW = 0;
    QString package;          // short package description, "-" when unknown
    double relativePrice = 0; // sort key: includes the bridge and parallel multipliers
    Verdict verdict = Verdict::Fits;
    int parallelCount = 0; // N of a parallel row

    // Cells of a close match that fall short of the requirement.
    bool tintName = false;
    bool tintCurrent = false;
    bool tintSwing = false;
    bool tintSlewRate = false;
    bool tintBandwidth = false;
};

struct LinearSelection
{
    double slewRateVus = 0;  // required slew rate, typed or derived from the frequency
    double frequencyKHz = 0; // frequency at full swing, typed or derived (inf or nan at 0 V)
    QVector<LinearRow> rows; // one per part, in part-list order
};

// Peak-to-peak swing of a part at the output current (V, not truncated): the supply less the
// headroom c + b·I + a·I² on both sides, with the coefficients of its boost option. Two parts
// run with fixed 10 V headroom per side whatever the current.
double linearSwing(const amp &part, double currentA);

// The table before any requirement: swing at no load, GBWP as the bandwidth.
QVector<LinearRow> linearCatalogRows(const QVector<amp> &parts,
                                     const QVector<packageStyle> &packages);

// Applies the requirement to every part. A part fits when its swing at the current, its
// continuous current and its slew rate each meet the requirement; a close match when each
// reaches (1 - relax) of it; otherwise a bridge (twice the swing and slew rate, same current)
// or a parallel group of N parts (the current shared N ways, half the slew rate and
// bandwidth) when the user asks for those. A close match is never converted, and a bridge is
// preferred to a parallel group.
LinearSelection selectLinear(const QVector<amp> &parts, const QVector<packageStyle> &packages,
                             const LinearRequirement &req);

} // namespace selectors
