#include "motor/p3thermal.h"

#include "motor/drivestepper.h"
#include "values/engvalues.h"

#include <algorithm>
#include <cmath>

namespace motor {

namespace {

int thermalShare(const pwm &part)
{
    // Three half bridges share the heat of one package each; a full-bridge or three-phase
    // part carries it all. Unknown output counts are taken as one package.
    const int outputs = part.getOutputs();
    return outputs > 0 ? std::max(1, 3 / outputs) : 1;
}

} // namespace

double heatsinkResistance(const ThermalInput &in, const pwm &part)
{
    return in.heatsinkNone ? part.getRtheta_JA() - part.getRtheta_DC() : in.Rhs;
}

ThermalResult runToEquilibrium(const BridgeInput &in, const ThermalInput &thermal, Waveforms *out,
                               const Progress &progress)
{
    ThermalResult res;
    const pwm &part = in.part;
    const double Rhs = heatsinkResistance(thermal, part);
    const int nf = thermalShare(part);
    const bool diodeOwnPath = part.getRtheta_JC_diode() > 1e-6;

    double T = 85;
    // Only the result of the last run is shown, but whether a run is the last is known only
    // after it. Storing waveforms costs a good part of a run, so a run stores them only when
    // the iteration, which closes in on the equilibrium about geometrically, is expected to
    // settle with it; a last run that did not store is repeated below to fill the waveforms.
    bool record = false, recorded = false;
    double previousChange = 0;
    BridgeRuns runs(in, out);
    // How many runs a refresh takes is known only at its end; the loop closes in about
    // geometrically, so each run is told as half of what is left.
    const auto share = [&res](double runsDone) { return 1 - std::pow(0.5, runsDone); };
    const BridgeRuns::RunProgress runProgress = [&](double done) {
        return progress(share(res.runs + done));
    };
    const BridgeRuns::RunProgress &within = progress ? runProgress : BridgeRuns::RunProgress();
    for (;;) {
        if (progress && !progress(share(res.runs))) {
            res.cancelled = true;
            return res;
        }
        res.Rdson = (part.topResistance(T) + part.bottomResistance(T)) * 0.5;
        recorded = out && record;
        const BridgeResult b = runs.run(res.Rdson, recorded, within);
        if (runs.cancelled()) {
            res.cancelled = true;
            return res;
        }
        const double Psw = b.Pc + (in.removeSwitching ? 0 : b.Ps);
        const double Pdd = in.removeDiode ? 0 : b.Pd;
        res.Tcase = (b.Pq + Psw + Pdd + b.Pw) * (Rhs + thermal.Rtim) + thermal.Tamb;
        if (diodeOwnPath) {
            res.Tj = res.Tcase + Psw * part.getRtheta_DC() / nf;
            res.Tjd = res.Tcase + Pdd * part.getRtheta_JC_diode() / nf;
        } else {
            res.Tj = res.Tcase + (Psw + Pdd) * part.getRtheta_DC() / nf;
        }
        res.bridge = b;
        ++res.runs;
        // A refused run took no step: another one would take none either.
        if (b.flags & flag::Refused) break;
        if (res.runs >= kMaxThermalRuns) {
            res.bridge.flags |= flag::ThermalRunaway;
            break;
        }
        // Within 1 % of the guess; written without a division so that Tj = 0 °C is no fault.
        const double change = res.Tj - T;
        const double tolerance = 0.01 * std::fabs(res.Tj);
        if (std::fabs(change) <= tolerance) break;
        // The next change, from the ratio of the last two (the first guess is far off, so
        // the first ratio is taken as 1/2); half as much again as the tolerance still stores,
        // and so does the run before the cap.
        const double ratio = res.runs > 1 && previousChange != 0 ? change / previousChange : 0.5;
        record = std::fabs(change * ratio) <= 1.5 * tolerance || res.runs + 1 >= kMaxThermalRuns;
        previousChange = change;
        T = res.Tj;
    }
    if (out && !recorded) {
        if (progress && !progress(share(res.runs))) {
            res.cancelled = true;
            return res;
        }
        runs.run(res.Rdson, true, within);
        if (runs.cancelled()) {
            res.cancelled = true;
            return res;
        }
    }
    res.Tjunction = std::max(res.Tjd, res.Tj);
    res.flags = res.bridge.flags;
    if (res.Tcase > part.getTc_max()) res.flags |= flag::CaseHot;
    if (res.Tjunction > part.getTj_max()) res.flags |= flag::JunctionHot;
    return res;
}

double minHeatsink(double Ieffective, double Pother, const pwm &part, double Tamb, double Rtim)
{
    const int nf = thermalShare(part);
    double previous = 0;
    // 0.5 °C steps; the cap only matters for a part whose limits are beyond any real device.
    for (int i = 0; i < 100000; ++i) {
        const double Tj = Tamb + 0.5 * i;
        const double P =
            ((part.topResistance(Tj) + part.bottomResistance(Tj)) * 0.5 * Ieffective * Ieffective +
             (part.getTop_V() + part.getBot_V()) * 0.5 * Ieffective) *
                6 +
            Pother;
        const double Tcase = Tj - part.getRtheta_DC() * P / nf;
        if (Tcase > part.getTc_max() || Tj > part.getTj_max()) return previous;
        previous = P > 0 ? (Tcase - Tamb) / P - Rtim : infiniteValue;
    }
    return previous;
}

QString warningMessage(quint32 bit)
{
    switch (bit) {
    case flag::SlowSwitching:
        return QStringLiteral("\nWarning: Switching Frequency is less than 20 times Cycle "
                              "Frequency. Ampwright's time-stepping function may give "
                              "unexpected results.");
    case flag::NoRpmSolution:
        return QStringLiteral("\nWarning: Could not solve for RPM with the desired inputs, "
                              "setting to 0 RPM. (Try increasing Vs)");
    case flag::ZeroBackEmf:
        return QStringLiteral("\nWarning: Back EMF must be non-zero to solve for RPM in "
                              "trapezoidal or six-step commutation, setting to 0 RPM.");
    case flag::BadTimescale:
        return QStringLiteral("\nWarning: Invalid timescale range.");
    case flag::PowerHigh:
        return QStringLiteral("\n!!! Amplifier Power Dissipation too high !!!");
    case flag::VsHigh:
        return QStringLiteral("\n!!! Vs voltage too high !!!");
    case flag::VccHigh:
        return QStringLiteral("\n!!! Vcc voltage too high !!!");
    case flag::FswHigh:
        return QStringLiteral("\n!!! Switching frequency too high !!!");
    case flag::PeakCurrent:
        return QStringLiteral("\n!!! Peak current too high !!!");
    case flag::RmsCurrent:
        return QStringLiteral("\n!!! Continuous (RMS) current too high !!!");
    case flag::ThermalRunaway:
        return QStringLiteral("\n!!! Thermal Runaway !!! Consider increasing heatsink size "
                              "and/or upgrading to a more robust amplifier. ");
    case flag::CaseHot:
        return QStringLiteral("\n!!! Case temperature too high !!!");
    case flag::JunctionHot:
        return QStringLiteral("\n!!! Junction temperature too high !!!");
    case flag::VsLow:
        return QStringLiteral("\n!!! Vs voltage too low !!!");
    case flag::VccLow:
        return QStringLiteral("\n!!! Vcc voltage too low !!!");
    case flag::DutyHigh:
        return QStringLiteral("\nWarning: Duty Cycle exceeds the device capability; expect "
                              "clipping");
    case flag::WindowTooLong:
        return QStringLiteral("\nWarning: The display window ends after more than %1 "
                              "switching periods, too many to simulate; shorten the display "
                              "window or lower the switching frequency.")
            .arg(kMaxPeriods, 0, 'f', 0);
    case flag::WindowNotFinite:
        return QStringLiteral("\nWarning: The display window's start or end is not a finite "
                              "time, so nothing was simulated.");
    case flag::ProfileSpacing:
        return QStringLiteral("\nWarning: Two profile points are too close in time for the "
                              "change between them: the speed or envelope would change at a "
                              "rate beyond any number. Space the points further apart.");
    case flag::SpeedRunaway:
        return QStringLiteral("\nWarning: The speed is too high to simulate: the rotor would "
                              "turn more than a whole cycle within one time step, or through "
                              "an angle beyond any number over the display window. Lower the "
                              "speed.");
    case flag::CarrierUnusable:
        return QStringLiteral("\nWarning: The switching frequency is too low to simulate: its "
                              "period is too long to step along, or admits a display window "
                              "over which the rotor turns beyond any number. Raise the "
                              "switching frequency or shorten the display window.");
    case flag::ProfileOrder:
        return QStringLiteral("\nWarning: A profile point's time is before the time of the "
                              "point before it, so the profile cannot be followed. Put the "
                              "points in time order.");
    case flag::TravelRunaway:
        return QStringLiteral("\nWarning: Over the display window the linear motor would "
                              "travel a distance beyond any number. Shorten the cycle length "
                              "or the display window.");
    default:
        return QString();
    }
}

QString refusalNote(const BridgeInput &in, quint32 flags)
{
    const QString none = QStringLiteral(": nothing was simulated");
    if (flags & flag::WindowNotFinite)
        return QStringLiteral("The display window needs a finite start and end") + none;
    if (flags & flag::CarrierUnusable)
        return QStringLiteral("The switching period is too long to simulate") + none;
    if (flags & flag::WindowTooLong)
        return QStringLiteral("The display window needs too many switching periods") + none;
    if (flags & flag::ProfileOrder) {
        const detail::RunSetup s(in);
        return backwardProfileText(in.motor.timeVector, backwardProfileTime(s.prof.timebase)) +
               none;
    }
    if (flags & flag::ProfileSpacing)
        return QStringLiteral("Profile points are too close in time for their change of speed") +
               none;
    if (flags & flag::SpeedRunaway) {
        const detail::RunSetup s(in);
        return QStringLiteral("The speed of %1 RPM turns the rotor too far over the display "
                              "window")
                   .arg(eng::number2String(s.fastestRpm())) +
               none;
    }
    if (flags & flag::TravelRunaway) {
        return QStringLiteral("The cycle length of %1 m takes the motor too far over the "
                              "display window")
                   .arg(eng::number2String(eng::parseValue(in.motor.cycleLength))) +
               none;
    }
    return QString();
}

QStringList warningMessages(quint32 flags)
{
    QStringList messages;
    for (int i = 0; i < 32; ++i) {
        const quint32 bit = quint32(1) << i;
        if (flags & bit) {
            const QString text = warningMessage(bit);
            if (!text.isEmpty()) messages << text;
        }
    }
    return messages;
}

} // namespace motor
