#pragma once

#include "catalog/packagestyle.h"
#include "catalog/pwm.h"
#include "selectors/verdict.h"

#include <QString>
#include <QVector>

// The switching product selector without its widgets: which PWM amplifiers deliver an output
// current and peak voltage up to a signal frequency after the output filter, which come
// close, and which do as a parallel group. Units as typed on the page: A, V and kHz.
namespace selectors {

struct PwmRequirement
{
    double currentA = 0;     // magnitude of the required output current
    double voltageV = 0;     // magnitude of the peak output voltage
    double frequencyKHz = 0; // magnitude of the highest signal frequency after filtering
    int relaxPercent = 0;    // tolerance of close matches
    bool showParallel = false;
    int maxParallel = 0; // largest number of amplifiers in parallel
};

struct PwmRow
{
    int index = 0;
    QString partName;
    QString shownName;  // with "-PARALLEL (N)" for parallel rows
    QString outputType; // "Half Bridge", "Full Bridge", "Three Phase" or empty
    double vsMaxV = 0;
    double currentA = 0;     // continuous (of the group for parallel rows)
    double peakCurrentA = 0; // peak (of the group for parallel rows)
    double outputVpk = 0;    // whole volts left after the output switches' drops
    double fswMaxKHz = 0;
    double bandwidthKHz = 0; // a tenth of the switching frequency
    double pdMaxW = 0;
    QString package;          // short package description, "-" when unknown
    double relativePrice = 0; // sort key: N times the price for parallel rows
    Verdict verdict = Verdict::Fits;
    int parallelCount = 0;

    bool tintName = false;
    bool tintCurrent = false;
    bool tintVoltage = false;
    bool tintFrequency = false; // both the switching frequency and the bandwidth cell
};

// The output type text of an `outputs` count.
QString pwmOutputType(int outputs);

// Peak output voltage at the output current (V, not truncated): the supply less the voltage
// terms and the on-resistance drops of the upper and lower switch at 25 °C.
double pwmOutputVoltage(const pwm &part, double currentA);

// The table before any requirement: the output voltage with no load.
QVector<PwmRow> pwmCatalogRows(const QVector<pwm> &parts, const QVector<packageStyle> &packages);

// Applies the requirement to every part. The highest signal frequency a part serves is a tenth
// of its maximum switching frequency. A part fits when its output voltage at the current, its
// continuous current and that bandwidth each meet the requirement; a close match when each
// reaches (1 - relax) of it; otherwise a parallel group of N parts (the current shared N ways)
// when the user asks for one. The group's frequency is judged with the tolerance and its
// voltage without. A close match is never converted.
QVector<PwmRow> selectPwm(const QVector<pwm> &parts, const QVector<packageStyle> &packages,
                          const PwmRequirement &req);

} // namespace selectors
