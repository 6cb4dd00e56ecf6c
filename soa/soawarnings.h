#pragma once

#include "catalog/amp.h"
#include "soa/soanote.h"

#include <QString>
#include <QVector>

// The SOA page's verdicts on power, temperature and supplies: which results to mark red and
// which notes to add. Watts, °C, °C/W, volts.
namespace soa {

// A result label read back as a plain number, as the warnings see it: the label holds what
// number2String wrote, and a word ("none", a foil text) counts as 0.
double resultLabelNumber(const QString &text);

struct PowerWarningInput
{
    double Pd = 0;    // dissipation of one amplifier
    double Tc = 0;    // case temperature
    double Tj = 0;    // junction temperature as shown (never below the case)
    double Rhs = 0;   // heatsink needed, 0 when the label holds a word
    double TcMax = 0; // suggested maximum case temperature
    double ambient = 25;
};

struct PowerWarnings
{
    bool pdRed = false;       // PdAmpAvg
    bool heatsinkRed = false; // minHeatsink
    bool tcRed = false;       // TempC
    bool tcMaxRed = false;    // SuggTcMax: the ambient alone is too hot; no note
    bool tjRed = false;       // TempJ
    QVector<SoaNote> notes;   // all red, in page order
};

// Against the part's steady-state dissipation rating Pd_max[0], Tc_max and Tj_max. A heatsink
// of negative resistance is what the thermal chain asks for when no heatsink can do.
PowerWarnings powerWarnings(const PowerWarningInput &in, const amp &part);

struct SupplyWarningInput
{
    double vsPos = 50, vsNeg = -50;
    bool bridgeSame = false;          // bridge, both amplifiers on the same supplies
    bool bridgeInverted = false;      // bridge, the second amplifier on mirrored supplies
    double maxVout = 0, minVout = 0;  // extremes of the load voltage of the load line
    bool dcMotor = false;             // the load is a DC motor: the signal range is not checked
    double maxOut = 40, minOut = -40; // the signal's range as typed
};

struct SupplyWarnings
{
    bool suppliesRed = false; // the +V_S and -V_S values of the schematic
    QVector<SoaNote> notes;   // all red, in page order
};

// The supply span against Vss_max and Vss_min (the first failing check only), then the load
// voltage against what the supplies can give in the chosen configuration, its maximum and its
// minimum each on their own, then the order of the signal's range.
SupplyWarnings supplyWarnings(const SupplyWarningInput &in, const amp &part);

} // namespace soa
