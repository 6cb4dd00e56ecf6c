#pragma once

#include "catalog/amp.h"
#include "catalog/packagestyle.h"
#include "catalog/pwm.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The product summary tables: five comma-separated lists of the catalog for the printed
// selection guide. Linear amplifiers of high output current, high slew rate and high supply
// voltage, and PWM amplifiers of high output current and high supply voltage; each lists the
// parts past its threshold, largest leading figure first.
namespace selectors {

enum class SummaryTable {
    HighCurrentOpAmps,
    HighSpeedOpAmps,
    HighVoltageOpAmps,
    HighCurrentPWM,
    HighVoltagePWM,
};

// The five, in the order they are written.
constexpr SummaryTable summaryTables[] = {
    SummaryTable::HighCurrentOpAmps, SummaryTable::HighSpeedOpAmps, SummaryTable::HighVoltageOpAmps,
    SummaryTable::HighCurrentPWM,    SummaryTable::HighVoltagePWM,
};

// "HighCurrentOpAmps.csv" and so on.
QString summaryFileName(SummaryTable table);

// The lines of one table, without line ends: the header row, the units row, then one row per
// listed part, each linear part followed by the rows of its package variants (the records
// with summary status 2 just before it in the catalog). Fields are separated by ", ".
QStringList summaryTableLines(SummaryTable table, const QVector<amp> &linear,
                              const QVector<pwm> &pwms, const QVector<packageStyle> &packages);

} // namespace selectors
