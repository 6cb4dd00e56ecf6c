#pragma once

#include "catalog/heatsink.h"

#include <QVector>

// Thermal resistance of a heatsink against the flow of cooling air or water, and the least
// flow that reaches a desired thermal resistance. The catalog's fit R(F) = A·exp(B·F) + C
// (B < 0) takes F in linear feet per minute of air (LFM) or, for a water-cooled heatsink, in
// US gallons per minute of water per channel (GPM); everything here works in those units and
// the page converts for display.
namespace selectors {

// The plotted range: air from 100 to 1000 LFM, water from 0 to 2 GPM, in 128 points.
constexpr int rthetaCurvePoints = 128;

// The lowest flows that the results report: the start of the plotted air range, and a
// trickle of water.
constexpr double minimumAirFlowLfm = 100;
constexpr double minimumWaterFlowGpm = 0.1;

struct RthetaCurve
{
    bool water = false;
    QVector<double> flow;  // LFM (whole numbers) or GPM
    QVector<double> theta; // °C/W
    double thetaMax = 0;   // largest theta, at least 0
};

RthetaCurve rthetaCurve(const heatsink &sink);

// Display units.
double lfmToMetresPerSecond(double lfm);
double gpmToLitresPerMinute(double gpm);
double cfmToLitresPerMinute(double cfm);

enum class FlowNeed {
    Natural,     // natural convection already reaches the requirement: no flow needed
    Forced,      // `flow` reaches it
    Unreachable, // no flow does: the requirement is at or below what the heatsink approaches
};

struct RequiredFlow
{
    FlowNeed need = FlowNeed::Natural;
    double flow = 0; // LFM or GPM; 0 unless need is Forced
    bool water = false;
};

// Least flow for `thetaCW`: F = ln((thetaCW - C) / A) / B when the requirement is below the
// free-air value, raised to the minimum flow above; Unreachable when the logarithm has no
// finite value or the fit does not fall with flow (A or B zero) and stays above thetaCW.
RequiredFlow requiredFlow(const heatsink &sink, double thetaCW);

// Area of the fan opening in square inches, from sizes typed in inches or, when metric, in
// millimetres: a circle of `diameter`, or a rectangle of sideX by sideY.
double fanAreaSqIn(bool round, double diameter, double sideX, double sideY, bool metric);

// Volume of air through an opening of areaSqIn at a linear speed, in cubic feet per minute.
double airVolumeFlowCfm(double areaSqIn, double lfm);

} // namespace selectors
