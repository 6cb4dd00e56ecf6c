#pragma once

#include "motor/drivestepper.h"

#include <algorithm>
#include <chrono>
#include <cmath>

// The half of a run that the switches' on-resistance changes: the phase currents and the
// losses they cause, and the run in one pass that joins both halves.
namespace motor {
namespace detail {

// The devices of a half bridge, as BridgeStepper indexes them; kNone for a step that no device
// conducts.
enum Device { kUpperSwitch, kLowerSwitch, kUpperDiode, kLowerDiode, kNone, kDevices = kNone };

// What a run adds up over its steps.
struct BridgeSums
{
    // Per phase and device, W; the last column takes the steps no device conducts.
    double losses[3][kDevices + 1] = {};
    double switchingEnergy = 0, loadSum = 0, rmsSum = 0, peak = -999999999;
    bool anyInWindow = false;

    void add(const BridgeSums &o)
    {
        for (int k = 0; k < 3; ++k) {
            for (int d = 0; d <= kDevices; ++d)
                losses[k][d] += o.losses[k][d];
        }
        switchingEnergy += o.switchingEnergy;
        loadSum += o.loadSum;
        rmsSum += o.rmsSum;
        peak = std::max(peak, o.peak);
        anyInWindow = anyInWindow || o.anyInWindow;
    }
};

// Of one step: L/dt and the voltage of the wye point.
struct StepTerms
{
    double Ldt, Vwye;
};

// The half of a run that the switches' on-resistance changes: the phase currents and the
// losses they cause, step by step from the switch nodes and the back-EMFs.
class BridgeStepper
{
public:
    BridgeStepper(const RunSetup &s, double Rdson)
        : s(s), Rdson(Rdson), Rdiode(s.part.getRdiode() / 1000), Vdiode(s.part.getVdiode()),
          tRise(s.part.getT_rise() / 1e9), tFall(s.part.getT_fall() / 1e9),
          Vsw((s.part.getTop_V() + s.part.getBot_V()) / 2),
          Rsw((s.part.getTop_wire() + s.part.getBot_wire()) / 2 + Rdson)
    {
        // By switch node level and the sign of the current (negative, zero, positive). A
        // node above the upper threshold conducts a positive current through the upper
        // switch, one below the lower threshold a negative current through the lower switch;
        // otherwise a negative current flows back through the upper diode, a positive one
        // through the lower diode.
        for (int l = 0; l < 3; ++l) {
            const double v = s.level[l];
            for (int sign = -1; sign <= 1; ++sign) {
                int device = kNone;
                if (v > s.Vhi && sign > 0) device = kUpperSwitch;
                if (v < s.Vlo && sign < 0) device = kLowerSwitch;
                if (v > s.Vlo && sign < 0) device = kUpperDiode;
                if (v < s.Vhi && sign > 0) device = kLowerDiode;
                devices[l * 3 + sign + 1] = device;
            }
        }
    }

    // Continues from the step before a stretch: its phase currents and switch node voltages.
    void resume(const double I[3], const int levels[3])
    {
        for (int k = 0; k < 3; ++k) {
            Iprev[k] = I[k];
            Vprev[k] = s.level[levels[k]];
        }
    }

    // The phase currents of a step and nothing else, as step() finds them: I holds those of
    // the step before and receives the new ones.
    Q_ALWAYS_INLINE void advanceCurrents(const StepTerms &st, const int levels[3],
                                         const double emf[3], double I[3]) const
    {
        const double invZ = 1 / (s.mc.R + Rsw + st.Ldt);
        for (int k = 0; k < 3; ++k)
            I[k] = current(s.level[levels[k]], st.Vwye, emf[k], I[k], st.Ldt, invZ);
    }

    // What a step's currents take that the on-resistance does not change. The divisions are
    // taken at every step, without a branch: the times are sums of steps, so even base steps
    // differ in their last bits.
    Q_ALWAYS_INLINE StepTerms terms(double dt, const int levels[3], const double emf[3]) const
    {
        const double V[3] = {s.level[levels[0]], s.level[levels[1]], s.level[levels[2]]};
        return {s.mc.L / dt, wyeVoltage(V, emf)};
    }

    // The sums of the stretch being stepped, and the end of it.
    const BridgeSums &stretchSums() const { return sum; }
    void endStretch()
    {
        total.add(sum);
        sum = BridgeSums();
    }
    // A stretch stepped by another stepper, in its turn.
    void addStretch(const BridgeSums &stretch) { total.add(stretch); }

    // One step: the phase currents I, the output voltages Vout and the load power.
    Q_ALWAYS_INLINE void step(double dt, const StepTerms &st, bool first, bool inWindow,
                              const int levels[3], const double emf[3], double I[3], double Vout[3],
                              double *loadOut)
    {
        const double weight = inWindow ? dt * s.invSpan : 0;
        sum.anyInWindow = sum.anyInWindow || (inWindow && s.span > 0);
        const double Vwye = st.Vwye, Ldt = st.Ldt;
        // Backward Euler on each leg: L dI/dt + (R + Rsw) I = V − Vwye − Vemf − Vsw.
        const double invZ = 1 / (s.mc.R + Rsw + Ldt);
        // Phase by phase with the phase a constant, so that the compiler keeps each phase's
        // values in registers.
        double load = 0;
        phase<0>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        phase<1>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        phase<2>(levels, emf, Vwye, Ldt, invZ, weight, first, inWindow, I, Vout, &load);
        if (inWindow)
            sum.peak = std::max(
                sum.peak, std::max(std::fabs(I[0]), std::max(std::fabs(I[1]), std::fabs(I[2]))));
        sum.loadSum += load * weight;
        sum.rmsSum += I[0] * I[0] * weight;
        *loadOut = load;
    }

    BridgeResult finish(quint32 flags) const
    {
        BridgeResult res;
        res.flags = flags;
        const pwm &part = s.part;
        BridgeSums all = total;
        all.add(sum);
        const auto &losses = all.losses;
        double switchSum = 0;
        for (int k = 0; k < 3; ++k)
            switchSum += losses[k][kUpperSwitch] + losses[k][kLowerSwitch];
        // The on-resistance share of the switch losses; the rest is lost in wires and bonds.
        const double ratio = Rsw > 0 ? Rdson / Rsw : 1;
        res.Pc = switchSum * ratio;
        res.Pw = switchSum - res.Pc;
        for (int k = 0; k < 3; ++k) {
            res.upperSwitch[k] = losses[k][kUpperSwitch] * ratio;
            res.lowerSwitch[k] = losses[k][kLowerSwitch] * ratio;
            res.upperDiode[k] = losses[k][kUpperDiode];
            res.lowerDiode[k] = losses[k][kLowerDiode];
            res.Pd += losses[k][kUpperDiode] + losses[k][kLowerDiode];
        }
        res.Ps = all.switchingEnergy * s.invSpan;
        res.Pq = s.in.Vcc *
                 (part.getIq_Vcc_vsF() * (s.Fsw / 1000 - part.getFsw_nom()) + part.getIq_Vcc()) /
                 1000;
        res.ampPower = res.Pw + res.Pq + res.Pc;
        if (!s.in.removeSwitching) res.ampPower += res.Ps;
        if (!s.in.removeDiode) res.ampPower += res.Pd;
        res.loadPower = all.loadSum;
        const double total = res.ampPower + res.loadPower;
        res.efficiency = total != 0 ? res.loadPower * 100 / total : 0;
        res.Ipeak = all.anyInWindow ? all.peak : 0;
        res.Irms = std::sqrt(all.rmsSum);

        const int outputs = part.getOutputs();
        const int nf = outputs > 0 ? std::max(1, 3 / outputs) : 1;
        if (res.ampPower > part.getPd_max() * nf) res.flags |= flag::PowerHigh;
        if (res.Ipeak > part.getI_pk()) res.flags |= flag::PeakCurrent;
        if (res.Irms > part.getI_cont()) res.flags |= flag::RmsCurrent;
        return res;
    }

    static void signalsOf(const double I[3], const double Vout[3], double load, double *v)
    {
        for (int k = 0; k < 3; ++k) {
            v[sig::I1 + k] = I[k];
            v[sig::V1 + k] = Vout[k];
        }
        v[sig::loadPower] = load;
    }

private:
    template <int k>
    Q_ALWAYS_INLINE void phase(const int levels[3], const double emf[3], double Vwye, double Ldt,
                               double invZ, double weight, bool first, bool inWindow, double I[3],
                               double Vout[3], double *load)
    {
        const double v = s.level[levels[k]];
        const double i = current(v, Vwye, emf[k], Iprev[k], Ldt, invZ);
        I[k] = i;

        // Which device carries the phase current (at most one does), and the output voltage
        // it leaves. Picked by index, without branches: the device changes at every edge.
        const int device = devices[levels[k] * 3 + (i > 0) - (i < 0) + 1];
        const double loss[2] = {(std::fabs(i) * Vsw + Rsw * i * i) * weight,
                                (i * i * Rdiode + Vdiode * std::fabs(i)) * weight};
        sum.losses[k][device] += loss[device >= kUpperDiode];
        const double out[kDevices + 1] = {v - Rsw * i - Vsw, v - Rsw * i + Vsw,
                                          s.Vs + Vdiode - i * Rdiode, -Vdiode - i * Rdiode, v};
        Vout[k] = out[device];

        *load += (emf[k] + s.mc.R * i) * i;

        // Hard switching: each edge of a node costs half of V·I over the transition time.
        if (!first && inWindow) {
            const double vp = Vprev[k];
            const double edge[3] = {0, (v - vp) * 0.5 * std::fabs(i) * tRise,
                                    (vp - v) * 0.5 * std::fabs(i) * tFall};
            sum.switchingEnergy += edge[(v > vp) + 2 * (v < vp)];
        }
        Iprev[k] = i;
        Vprev[k] = v;
    }

    // Backward Euler on one leg: L dI/dt + (R + Rsw) I = V − Vwye − Vemf − Vsw.
    Q_ALWAYS_INLINE double current(double v, double Vwye, double emf, double Iprev, double Ldt,
                                   double invZ) const
    {
        return (v - Vwye - emf - Vsw + Iprev * Ldt) * invZ;
    }

    const RunSetup &s;
    const double Rdson, Rdiode, Vdiode, tRise, tFall, Vsw, Rsw;
    int devices[9] = {};
    BridgeSums sum, total; // of the stretch being stepped; of those before it
    double Iprev[3] = {0, 0, 0}, Vprev[3] = {0, 0, 0};
};

// Tells a run's progress how far it has come, at most every few tens of milliseconds, and
// keeps its answer: once told to stop, it stays stopped. The fractions it passes on never go
// back, whichever part of a run reports them.
class Ticker
{
public:
    explicit Ticker(const BridgeRuns::RunProgress &report) : report(report ? &report : nullptr) {}

    // Whether the run goes on after `done` (0 to 1) of it.
    bool keepGoing(double done)
    {
        if (!report || halted) return !halted;
        const auto now = std::chrono::steady_clock::now();
        if (now - last < std::chrono::milliseconds(25)) return true;
        last = now;
        // A NaN (a run without a window) counts as no progress.
        highest = std::max(highest, std::min(1.0, done >= 0 ? done : 0.0));
        halted = !(*report)(highest);
        return !halted;
    }
    bool stopped() const { return halted; }

private:
    const BridgeRuns::RunProgress *report;
    std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
    double highest = 0;
    bool halted = false;
};

// One run in one pass, handing each step to `sink` (may be null). A template so that the
// recorder's step is inlined into the loop.
template <class Sink>
BridgeResult runBridge(const BridgeInput &in, double Rdson, Sink *sink, Ticker *ticker = nullptr)
{
    const RunSetup s(in);
    quint32 flags = s.flags;
    DriveStepper drive(s, &flags);
    BridgeStepper bridge(s, Rdson);
    StretchCutter cutter(s);
    DriveStep d;
    double v[sig::count] = {};
    double tPrev = 0;
    int sinceTicked = 0;
    while (drive.next(d)) {
        if (ticker && ++sinceTicked == 4096) {
            sinceTicked = 0;
            if (!ticker->keepGoing(d.t / s.end)) break;
        }
        if (!d.first && cutter.cutsBefore(d.t, tPrev)) bridge.endStretch();
        tPrev = d.t;
        double I[3], Vout[3], load;
        bridge.step(d.dt, bridge.terms(d.dt, d.level, d.emf), d.first, d.inWindow, d.level, d.emf,
                    I, Vout, &load);
        if (sink) {
            drive.signalsOf(d, v);
            BridgeStepper::signalsOf(I, Vout, load, v);
            sink->step(v);
        }
    }
    return bridge.finish(flags);
}

} // namespace detail
} // namespace motor
