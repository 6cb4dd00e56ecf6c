#pragma once

#include "motor/bridgesim.h"

#include <QString>
#include <QStringList>

#include <functional>

// The thermal side of the three-phase page: runs of the bridge until the junction temperature
// settles, the warnings of the collected flags, and the largest heatsink that keeps the part
// within its limits. °C, °C/W, W, ohm.
namespace motor {

constexpr int kMaxThermalRuns = 21;

struct ThermalInput
{
    double Tamb = 25;
    bool heatsinkNone = false; // the field says "none": the part in free air
    double Rhs = 0;            // heatsink to air, as read from the field
    double Rtim = 0;           // thermal interface material
};

struct ThermalResult
{
    BridgeResult bridge; // of the last run
    double Rdson = 0;    // on-resistance of one switch in the last run, ohm
    double Tcase = 0;
    double Tj = 0;        // switch junction
    double Tjd = -273;    // diode junction; stays −273 without a diode resistance of its own
    double Tjunction = 0; // the hotter of the two, as the page shows it
    int runs = 0;
    quint32 flags = 0;      // those of the last run plus the thermal ones
    bool cancelled = false; // stopped through Progress: nothing above is a result
};

// Told how far a refresh has come (0 to 1); answers false to stop it. Called on the thread
// that started the refresh, and only there, every few tens of milliseconds while runs go on.
using Progress = std::function<bool(double done)>;

// Heatsink to air (°C/W) for the heatsink field: its value, or the part's own junction-to-air
// path less the junction-to-case resistance when the field says "none".
double heatsinkResistance(const ThermalInput &in, const pwm &part);

// Runs the bridge with the on-resistance at the junction temperature of the previous run,
// starting at 85 °C, until two runs agree within 1 % or 21 runs are done (then
// flag::ThermalRunaway). Tcase = P·(Rhs + Rtim) + Tamb with P all the amplifier's power;
// the switch junction sits Psw·Rtheta_DC/nf above the case, nf = 3 ÷ outputs (integer).
// `out` holds the waveforms of the last run. A stopped refresh returns with `cancelled` set;
// `out` may then hold part of a run.
ThermalResult runToEquilibrium(const BridgeInput &in, const ThermalInput &thermal, Waveforms *out,
                               const Progress &progress = Progress());

// The largest heatsink resistance (°C/W) that keeps case and junction within the part's
// limits with a current Ieffective (A) in each of the six switches' paths plus Pother (W):
// the junction is raised from Tamb in 0.5 °C steps until a limit is passed. 0 when even
// Tj = Tamb passes one (no heatsink helps), infiniteValue when no power flows.
double minHeatsink(double Ieffective, double Pother, const pwm &part, double Tamb, double Rtim);

// The message of one flag bit ("" for an unknown bit), and of every set bit in bit order.
QString warningMessage(quint32 bit);
QStringList warningMessages(quint32 flags);

// For flags of a refused run of `in` (flag::Refused): one line naming the cause, for a page
// that shows no result; "" for a run that was not refused.
QString refusalNote(const BridgeInput &in, quint32 flags);

} // namespace motor
