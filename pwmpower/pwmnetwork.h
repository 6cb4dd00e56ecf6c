#pragma once

#include "values/comp.h"

#include <QString>

// The circuit between a PWM amplifier's output and its load: a ladder of up to six filter
// elements (P1, P3, P5 series inductors; P2, P4, P6 shunt capacitors), a matching-network
// branch across the load node and a load of one or five branches. Every part is kept as the
// user typed it and parsed on each evaluation. Frequencies in Hz, impedances in ohm, angles
// of results in degrees (positive: inductive, the voltage leads the current).
namespace pwmpower {

constexpr double kTwoPi = 6.283185307179586; // the 2 pi of every angular frequency

// One part as typed: inductance (H), resistance (ohm), capacitance (F), always in this order.
// For a filter inductor the resistance and capacitance are its parasitics (R in series with L,
// C across both); for a filter capacitor the inductance and resistance are (all in series).
// The matching network and the load branches are L, R and C in series.
struct Triple
{
    QString L, R, C;
};

// The window keeps each part as three strings in the order L, R, C; these move them into and
// out of a Triple.
Triple tripleOf(const QString t[3]);
void storeTriple(QString t[3], const Triple &v);

// How the filter is wired between the two outputs: a split inductor puts an identical
// inductor in each output line, a dual capacitor also an identical capacitor from each line
// to the return.
enum class FilterType { SingleEnded, DualCapacitor, SplitInductor };

struct Network
{
    Triple P[6];   // P1..P6
    Triple MN;     // matching network
    Triple L[5];   // load branches L1..L5
    int order = 0; // P1..P(order) take part; missing inductors short, capacitors open
    FilterType type = FilterType::SingleEnded;
    bool extendedLoad = false; // (L1 || L2) + (L3 || L4 || L5), else L5 alone

    // Each inductor element stands for the inductors of both lines in series.
    double seriesFactor() const { return type == FilterType::SingleEnded ? 1.0 : 2.0; }
    // Each capacitor element of a dual-capacitor filter stands for two in series.
    double shuntFactor() const { return type == FilterType::DualCapacitor ? 2.0 : 1.0; }
};

// What the amplifier forces into the network: a voltage, a current, or (for any other
// request) nothing, which leaves every voltage 0 but still evaluates the impedances.
enum class Drive { Voltage, Current, None };

// 'V' and 'I' as the page code names the drives; any other character is no drive.
Drive driveFromChar(char VorI);

// Complex evaluation with the comp division rules (0 + j0 divides to 4294967295, an infinite
// part divides to 0): load-node voltage per 1 V of drive, impedance the amplifier sees, load
// impedance.
struct Transfer
{
    comp Tfil;
    comp Ztot;
    comp Zload;
};
Transfer transferAt(const Network &net, double freqHz);

// Magnitude-and-angle evaluation for a drive amplitude (V, or A for a current drive). Vload is
// the load-node amplitude (V); Zout/Aout the impedance the amplifier drives; Zload/Aload the
// load. An open load node counts as infinite at angle 0, so nothing comes out undefined.
struct AcResult
{
    double Vload = 0;
    double Zout = 0, Aout = 0;
    double Zload = 0, Aload = 0;
};
AcResult acResponse(const Network &net, double freqHz, double drive, Drive kind);

// Average power (W) taken by the resistances of the filter elements P1..P(order) for a
// voltage drive of amplitude driveVolts (peak), sum of |U|^2 cos(phi) / (2 |Z|) per element.
// The matching network and the load are not counted.
double filterLoss(const Network &net, double freqHz, double driveVolts);

// DC: each part reduced to its resistance. A capacitor conducts only when its capacitance is
// the word "short"; an inductance "open" opens the part. Vload for the drive (V or A), Rtot the
// resistance the amplifier sees, Rload the load's.
struct DcResult
{
    double Vload = 0;
    double Rtot = 0;
    double Rload = 0;
};
DcResult dcResponse(const Network &net, double drive, Drive kind);

} // namespace pwmpower
