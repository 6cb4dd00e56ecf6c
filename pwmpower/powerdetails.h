#pragma once

#include "catalog/pwm.h"
#include "pwmpower/pwmnetwork.h"

#include <QString>
#include <QVector>

// What a PWM amplifier dissipates and how hot it runs while it drives the output network with
// the user's signal: quiescent power, ripple, switch and wiring losses with an on-resistance
// that rises with junction temperature, output swing, case and junction temperatures, the
// largest heatsink that keeps the part inside its limits, and the warnings. W, V, A, °C,
// °C/W, Hz; the catalog's own units (mA, kHz, ns) are converted here.
namespace pwmpower {

// The power page's inputs as read from its fields.
struct PowerInput
{
    double Vs = 0;     // high-current supply, V
    double FswHz = 0;  // switching frequency
    double FsigHz = 0; // signal frequency
    double Vmax = 0;   // largest output, V (A in current mode)
    double Vmin = 0;   // smallest output
    bool currentMode = false;
    bool singleEnded = false; // single-ended output filter
    bool fullBridge = false;
    double Ta = 25;          // ambient, °C
    bool noHeatsink = false; // the heatsink field reads exactly "none"
    double heatsink = 0;     // heatsink-to-air, °C/W
    double compound = 0;     // thermal interface, °C/W
};

struct Quiescent
{
    double PVs = 0;  // drawn from Vs, W
    double PVcc = 0; // drawn from Vcc at its nominal value, W
};
// Iq from the catalog's value at nominal Fsw and Vs, moved along its slopes (never below 0).
Quiescent quiescentPower(const pwm &part, double Vs, double FswHz);

// Peak ripple current: a square wave of 0.8 Vs (per output) into the impedance the amplifier
// drives at the switching frequency.
double rippleCurrent(const Network &net, double Vs, double FswHz, bool singleEnded);

// Peak ripple voltage at the load: 1.25 Vs times the filter's voltage transfer at Fsw, for a
// bridge part (outputs 2 or 3); a half-bridge part swings half of that.
double rippleVoltage(const Network &net, const pwm &part, double Vs, double FswHz);

// DC and AC operating point for the signal offset D and amplitude A (volts or amperes).
struct OperatingPoint
{
    double Vdc = 0, Idc = 0;      // amplifier output, DC
    double VloadDC = 0, IdcL = 0; // load, DC
    double Vac = 0, Iac = 0;      // amplifier output, amplitude
    double Vload = 0, IacL = 0;   // load, amplitude
    double Aload = 0;             // load angle, degrees
};
OperatingPoint operatingPoint(const Network &net, double D, double A, double freqHz,
                              bool currentMode);

// RMS currents of the upper and lower switch for a sine of amplitude Iac on the offset Idc:
// each switch carries the half-wave its polarity conducts, plus the whole DC of its sign.
struct SwitchCurrents
{
    double top = 0, bot = 0;
};
SwitchCurrents switchCurrents(double Idc, double Iac);

struct PowerNote
{
    QString text;
    bool red = false;
};

struct PowerDetails
{
    Quiescent quiescent;
    double Piq = 0;
    double Iripple = 0;        // peak, A
    double Vripple = 0;        // peak at the load, V
    double Pout = 0;           // true power in the load, W
    double Ptop = 0, Pbot = 0; // switch losses at the operating junction temperature (both
                               // channels of a full bridge)
    double Pwire = 0;
    double Pamp = 0;         // everything the amplifier dissipates
    double Vlo = 0, Vhi = 0; // linear output range, V

    double TcLimit = 0;         // highest case temperature that keeps case and junction in limits
    double thetaMax = 0;        // largest heatsink resistance for that, °C/W
    bool heatsinkNeeded = true; // false: the part's own path to air suffices
    double Tc = 0, Tj = 0;      // operating temperatures with the heatsink given
    bool runaway = false;       // no balance below 500 °C

    bool heatsinkRed = false, TcRed = false, TjRed = false, PampRed = false, TcLimitRed = false;
    QVector<PowerNote> notes; // in order, after the heading "Notes:"
};

// Thermal model: the switches' conduction loss follows the on-resistance at the junction
// temperature, Tc = Tj - (PVs + Pswitch) theta_JC, and the heatsink needed is
// (Tc - Ta) / Ptotal - theta_TIM. Junction temperatures are searched in 0.1 °C steps.
PowerDetails analysePwmPower(const PowerInput &in, const pwm &part, const Network &net);

} // namespace pwmpower
