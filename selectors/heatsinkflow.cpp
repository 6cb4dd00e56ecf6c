#include "selectors/heatsinkflow.h"

#include "selectors/heatsinkselector.h"

#include <cmath>

namespace selectors {

namespace {

constexpr double feetPerMetre = 3.28084;
constexpr double litresPerGallon = 3.78541;
constexpr double litresPerCubicFoot = 28.31685;
constexpr double squareMmPerSquareInch = 645.16;
constexpr double squareInchesPerSquareFoot = 144;

} // namespace

RthetaCurve rthetaCurve(const heatsink &sink)
{
    RthetaCurve curve;
    curve.water = isWaterCooled(sink);
    curve.flow.reserve(rthetaCurvePoints);
    curve.theta.reserve(rthetaCurvePoints);
    const int last = rthetaCurvePoints - 1;
    for (int i = 0; i < rthetaCurvePoints; ++i) {
        // Whole LFM steps for air, as the curve has always been drawn.
        const double F = curve.water ? 2.0 * i / last : 100 + (900 * i) / last;
        const double R = forcedTheta(sink, F);
        curve.flow.append(F);
        curve.theta.append(R);
        if (R > curve.thetaMax) curve.thetaMax = R;
    }
    return curve;
}

double lfmToMetresPerSecond(double lfm)
{
    return lfm / 60 / feetPerMetre;
}

double gpmToLitresPerMinute(double gpm)
{
    return gpm * litresPerGallon;
}

double cfmToLitresPerMinute(double cfm)
{
    return cfm * litresPerCubicFoot;
}

RequiredFlow requiredFlow(const heatsink &sink, double thetaCW)
{
    RequiredFlow out;
    out.water = isWaterCooled(sink);
    if (thetaCW >= sink.getFreeAirTheta()) return out; // natural convection suffices

    const double A = sink.getA();
    const double B = sink.getB();
    const double C = sink.getC();
    const double minimum = out.water ? minimumWaterFlowGpm : minimumAirFlowLfm;

    // A fit that does not change with flow: either any flow does or none does.
    if (A == 0 || B == 0) {
        const double flat = A + C;
        out.need = thetaCW >= flat ? FlowNeed::Forced : FlowNeed::Unreachable;
        out.flow = out.need == FlowNeed::Forced ? minimum : 0;
        return out;
    }
    const double ratio = (thetaCW - C) / A;
    const double F = ratio > 0 ? std::log(ratio) / B : std::nan("");
    if (!std::isfinite(F)) {
        out.need = FlowNeed::Unreachable;
        return out;
    }
    out.need = FlowNeed::Forced;
    out.flow = F < minimum ? minimum : F;
    return out;
}

double fanAreaSqIn(bool round, double diameter, double sideX, double sideY, bool metric)
{
    const double area = round ? M_PI * diameter * diameter * 0.25 : sideX * sideY;
    return metric ? area / squareMmPerSquareInch : area;
}

double airVolumeFlowCfm(double areaSqIn, double lfm)
{
    return areaSqIn / squareInchesPerSquareFoot * lfm;
}

} // namespace selectors
