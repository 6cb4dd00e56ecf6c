#pragma once

#include "catalog/amp.h"
#include "soa/loadline.h"
#include "soa/soanote.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Power, temperature, heatsink and current limit of the SOA page, from a load line. Watts,
// °C, °C/W, volts, amperes, ohms; the part's quiescent currents are in mA as the catalog
// gives them.
namespace soa {

struct ThermalInput
{
    double freqHz = 0;   // frequency of the signal in use (signalFrequency)
    bool boost = false;  // boost supplies in use
    double ambient = 25; // °C
    double compound = 0; // case-to-heatsink interface resistance, °C/W

    QString heatsinkText; // "none" and "foil" are words here, not values
    double heatsink = 0;  // heatsink-to-air resistance as read, °C/W; infiniteValue: none

    QString rclText;       // the current-limit resistor as typed
    double rcl = 0;        // and as read
    QString rfoText;       // the foldover resistor as typed
    double rfo = 0;        // and as read
    int rangePercent = 20; // spread of the current-limit band, ± percent

    double vsPos = 50, vsNeg = -50, rCS = 0;
    int parallel = 1;
    bool bridgeSame = false, bridgeInverted = false;
};

struct ThermalResult
{
    double Pq = 0; // quiescent power of one amplifier

    double inputPower = 0; // without quiescent power, all amplifiers
    double totalPower = 0; // with quiescent power, all amplifiers, and the load
    double efficientVsPos = 0, efficientVsNeg = 0; // supplies that would just not clip

    bool acBidirectional = false; // current flows both ways: AC thermal resistance applies
    double Rjc = 0;               // junction-to-case resistance used
    double Pj = 0;                // power that heats the junction
    double Pd = 0;                // dissipation of one amplifier
    double TcMax = 0;             // suggested maximum case temperature

    double Tc0 = 0;              // case temperature without heatsink
    bool heatsinkNeeded = false; // Tc0 above TcMax
    double Rhs = 0;              // heatsink-to-air resistance needed, when heatsinkNeeded
    QString minHeatsinkText;     // "none", a foil text or the needed resistance

    double Tc = 0; // case temperature with the heatsink given
    double Tj = 0; // junction temperature

    // Current limit: a band of limit currents over the stage voltage Vs+ - Vo.
    bool limitExists = false;
    bool limitActivates = false;  // the limit reaches into the first period of the load line
    bool rclSeeDatasheet = false; // the part's limit is set another way
    QVector<double> bandX, bandUpper, bandLower;

    QStringList powerDetails; // the power report, one paragraph each
    QVector<SoaNote> notes;
};

// A value the page could not use (an unreadable, negative or open field) arrives as NaN: the
// figures that depend on it come out NaN, and the current limit is not evaluated.
//
// Thermal chain: Tj = Ta + Pd (Rhs + Rcomp) + Pj Rjc with a heatsink, Tj = Ta + Pj Rtheta_JA
// without. The junction sees the stage power plus a tenth of the quiescent power; the rest of
// the quiescent power heats the case. Signals of 60 Hz or less, current that flows one way 90 %
// of the time, and an unconnected load use the DC thermal resistance and the peak power.
ThermalResult analysePower(const LoadLineResult &line, const ThermalInput &in, const amp &part);

} // namespace soa
