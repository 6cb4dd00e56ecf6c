#pragma once

#include "catalog/pwm.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

#include <array>
#include <functional>
#include <memory>
#include <vector>

// The three-phase bridge of a PWM amplifier driving a motor: the control profile, the two
// motor-equation solvers and the time-stepped simulation of one run. Volts, amperes, ohms,
// henries, seconds, hertz, watts; the part's values in the catalog's units as pwm gives them.
namespace motor {

// Commutation of the bridge, as the page's combo box orders it.
enum Commutation { Sinusoidal = 0, Trapezoidal = 1, SixStep = 2 };

// Warning flags of a run and of the thermal loop; warningMessage() gives their texts.
namespace flag {
constexpr quint32 SlowSwitching = 0x1; // Fsw below 20 times the electrical frequency
constexpr quint32 NoRpmSolution = 0x2; // the sinusoidal speed equation has no real root
constexpr quint32 ZeroBackEmf = 0x4;   // speed asked for with a zero back-EMF constant
constexpr quint32 BadTimescale = 0x8;  // window reversed, or a lookup before the profile
constexpr quint32 PowerHigh = 0x10;    // amplifier dissipation above its rating
constexpr quint32 VsHigh = 0x20;
constexpr quint32 VccHigh = 0x40;
constexpr quint32 FswHigh = 0x80;
constexpr quint32 PeakCurrent = 0x100;
constexpr quint32 RmsCurrent = 0x200;
constexpr quint32 ThermalRunaway = 0x400; // the thermal loop ran its 21 runs
constexpr quint32 CaseHot = 0x800;
constexpr quint32 JunctionHot = 0x1000;
constexpr quint32 VsLow = 0x2000;
constexpr quint32 VccLow = 0x4000;
constexpr quint32 DutyHigh = 0x8000;   // a profile duty cycle beyond the part's maximum
constexpr quint32 WindowTooLong = 0x10000; // more switching periods than a run may take
// Inputs that leave nothing to simulate: the run is refused, no step is taken.
constexpr quint32 WindowNotFinite = 0x20000; // a window start or end that is not a number
constexpr quint32 ProfileSpacing = 0x40000;  // profile points too close for the change between
constexpr quint32 SpeedRunaway = 0x80000;    // the rotor turns more than a cycle per step
constexpr quint32 CarrierUnusable = 0x100000; // a switching period too long to step along
constexpr quint32 ProfileOrder = 0x200000;    // a profile time before the time before it
constexpr quint32 TravelRunaway = 0x400000;   // a linear motor's position beyond any number
constexpr quint32 Refused = WindowTooLong | WindowNotFinite | ProfileSpacing | SpeedRunaway |
                            CarrierUnusable | ProfileOrder | TravelRunaway;
} // namespace flag

// A run covers its whole window, however many steps that takes, but a window that ends after
// more switching periods than this (up to a hundred million steps) is refused with
// flag::WindowTooLong and no step is taken: it would block the page for minutes, and is
// almost always a switching frequency typed in the wrong unit.
constexpr double kMaxPeriods = 1e6;

// A run of up to kRawSteps steps keeps every step in its waveforms. A longer one keeps, for
// each of kBuckets equal slices of the display window, the lowest and the highest value of
// every signal in the order they occurred (a slice with one or two steps keeps them as they
// are): every peak and edge stays visible on a graph, and memory stays bounded.
constexpr int kRawSteps = 1 << 16;
constexpr int kBuckets = 8192;
constexpr int kMaxStoredSamples = kRawSteps > 2 * kBuckets ? kRawSteps : 2 * kBuckets;

// The signals of one simulation step, in the order of Waveforms::names().
namespace sig {
enum : int {
    time, carrier, freq, DCenv, Angle, DCA, DCB, DCC, VA, VB, VC, Vwye, VemfA, VemfB, VemfC,
    VemfAB, VemfBC, VemfCA, I1, I2, I3, V1, V2, V3, At, Ab, Bt, Bb, Ct, Cb, loadPower,
    count
};
} // namespace sig

// Receives every step of a run as sig::count values (the line EMFs are 0 for a wye motor).
class StepSink
{
public:
    virtual ~StepSink() = default;
    virtual void step(const double *values) = 0;
};

// The motor and its control profile as the user typed them (the page's ThreePhase* values).
struct MotorModel
{
    QString R = QStringLiteral("10");    // one winding leg, ohm
    QString L = QStringLiteral("33m");   // one leg, H
    QString Vemf = QStringLiteral("5m"); // V per RPM; linear motor: N/A (= V·s/m)
    int nPoles = 4;                      // electrical cycles per mechanical turn
    bool isDelta = true;
    int controlVariable = 1;  // 0 current (A peak), 1 RPM, 2 duty-cycle envelope (%)
    int controlType = 0;      // 0 constant amplitude, 1 profile pattern
    int constantVariable = 2; // 0 RPM, 1 V/f ratio (V per RPM), 2 duty-cycle envelope (%)
    QString controlAmplitude = QStringLiteral("600");
    QString constantAmplitude = QStringLiteral("75");
    QStringList timeVector{"0", "1", "2", "3", "4"};
    QStringList amplitudeVector{"0", "600", "600", "0", "0"};
    bool isLinear = false;
    QString cycleLength = QStringLiteral("5m"); // linear motor: metres per electrical cycle
};

// The motor reduced to what the simulation uses: an equivalent wye leg. A linear motor's force
// constant becomes volts per "RPM" of electrical cycles (Vemf · CycleLength / 60, n = 1); a
// delta leg becomes R/3, L/3, Vemf/1.732.
struct MotorConstants
{
    double R = 0, L = 0, Vemf = 0;
    int n = 1;
    double cycleLength = 0;
};
MotorConstants motorConstants(const MotorModel &m);

// Everything one run reads.
struct BridgeInput
{
    pwm part;
    double Vs = 50, Vcc = 5; // V
    double FswHz = 1000;
    int commutation = Sinusoidal;
    double start = 0.025, end = 0.075; // display window, s, as typed
    bool removeDiode = false, removeSwitching = false;
    MotorModel motor;
};

// The control profile: three parallel lists, one entry per profile point.
struct ControlProfile
{
    QVector<double> timebase;     // s
    QVector<double> fCycle;       // electrical frequency, Hz
    QVector<double> DutyCycleEnv; // duty-cycle envelope, fraction of full drive
};

// The 31 waveforms of a run: one entry per simulation step from t = 0, or, for a run of more
// than kRawSteps steps, min/max pairs over the display window (decimated). The line EMFs are
// filled for a delta motor only; every other list has one entry per stored sample.
struct Waveforms
{
    QVector<double> time, carrier, freq, DCenv, Angle, DCA, DCB, DCC, VA, VB, VC, Vwye, VemfA,
        VemfB, VemfC, VemfAB, VemfBC, VemfCA, I1, I2, I3, V1, V2, V3, At, Ab, Bt, Bb, Ct, Cb,
        loadPower;

    static const QStringList &names();                        // the 31 names above, in that order
    const QVector<double> *byName(const QString &name) const; // null for another name
    QVector<double> *byName(const QString &name);
    QVector<double> *list(int signal); // by sig:: index; null outside 0 .. sig::count - 1
    const QVector<double> *list(int signal) const;
    void clear();
    int steps() const { return time.size(); } // stored samples
    bool decimated = false;
    double Rdson = 0; // switch on-resistance of the run that filled them: a re-run repeats it

    // The recorder's scratch: a run's steps until it is known whether they fit. Kept between
    // runs, so that a refresh does not allocate and fault in its memory again.
    std::vector<std::array<double, sig::count>> rows;
    // The drive of the last BridgeRuns, kept for the same reason: its time, back-EMFs and
    // switch nodes by step.
    struct DriveTrace
    {
        std::unique_ptr<double[]> t;
        std::unique_ptr<std::array<double, 3>[]> emf;
        std::unique_ptr<quint8[]> levels;
        // Filled by the first run for the runs after it: L/dt and the wye point voltage.
        std::unique_ptr<double[]> Ldt, Vwye;
    };
    DriveTrace trace;
};

// What one run found. Losses are averages over the display window.
struct BridgeResult
{
    double Pc = 0;         // conduction loss in the switches' on-resistance, W
    double Pd = 0;         // all diodes, W
    double Ps = 0;         // switching, W
    double Pq = 0;         // quiescent, from Vcc, W
    double Pw = 0;         // conduction loss in wires and bonds, W
    double loadPower = 0;  // into the motor, W
    double ampPower = 0;   // amplifier total, without what the user chose to leave out, W
    double efficiency = 0; // percent
    double Ipeak = 0;      // largest phase current in the window, A (0 for an empty window)
    double Irms = 0;       // RMS current of phase A, A
    // Per device, W, in the order A, B, C. Switch losses are the on-resistance share (Pc).
    double upperSwitch[3] = {0, 0, 0}, lowerSwitch[3] = {0, 0, 0};
    double upperDiode[3] = {0, 0, 0}, lowerDiode[3] = {0, 0, 0};
    quint32 flags = 0;
};

// Duty cycle needed to drive a peak current Ipk at a speed RPM: sinusoidal 2(|Z|·Ipk + E)/Vs
// with Z = R + jX, X = 2π·RPM·n·L/60, E = RPM·Vemf; trapezoidal 2(R·Ipk + E)/Vs; six-step
// (1.5·Ipk·R + E)/Vs. −1 when Vs is 0, 0 for another commutation.
double dcFromIandRPM(double Ipk, double RPM, double Vs, double R, double L, int n, double Vemf,
                     int commutation);

// The speed the duty cycle DCenv reaches with a peak current Ipk: the inverse of
// dcFromIandRPM. The sinusoidal case solves a·RPM² + b·RPM + c = 0 (k = 2π·Ipk·L·n/60,
// a = k² − Vemf², b = Vemf·DCenv·Vs, c = Ipk²R² − (Vs·DCenv)²/4) and takes (√D − b)/2a, or −c/b
// when a is 0. An unsolvable speed gives 0 with flag::NoRpmSolution, and so does a negative
// speed in trapezoidal and six-step (the duty cycle cannot hold the current even at
// standstill); those two with Vemf 0 give 0 with flag::ZeroBackEmf.
double rpmFromIandDC(double Ipk, double DCenv, double Vs, double R, double L, int n, double Vemf,
                     int commutation, quint32 *flags);

// A profile point whose time is before the time of the point before it (indices from 0; −1
// when the times never go back). Equal times are a step change, and allowed; a NaN (a time
// that cannot be read) is passed over, the next time compared with the one before it.
struct BackwardTime
{
    int point = -1, before = -1;
};
BackwardTime backwardProfileTime(const QVector<double> &times);
// "Profile point 2 time (0 s) is before point 1 time (1e-320 s)", the times as typed.
QString backwardProfileText(const QStringList &times, const BackwardTime &back);

// Piecewise-linear lookup of searchNum in the ascending searchVector, resuming at *startIndex
// and leaving there the lower end of the segment used. Before the first point: 0 and
// flag::BadTimescale; past the last point the last segment is extended. Reads only as far as
// the shorter list; an empty list gives 0 with flag::BadTimescale.
double linterp(const QVector<double> &searchVector, const QVector<double> &returnVector,
               double searchNum, int *startIndex, quint32 *flags);

// The profile of the motor values up to endTime (s). Two points at 0 and endTime with constant
// amplitude, else one per profile point. The speed converts as f = n·RPM/60 (a speed too large
// for that product, as n·(RPM/60), so that the run can refuse it by its size); the motor is the
// equivalent wye leg plus the mean switch resistance at 25 °C. A control and constant variable
// pair the motor dialog does not offer drives nothing (f and envelope 0). Sets
// flag::SlowSwitching and flag::DutyHigh by point.
ControlProfile generateControlVector(const BridgeInput &in, double endTime, quint32 *flags);

// One run of the bridge with switch on-resistance Rdson (ohm): returns the losses, results and
// flags, and hands every step to `sink` (may be null). The phase currents follow backward
// Euler on R + Rsw + L/dt; steps are 1/100 of the switching period near edges and jump between
// them. The block commutations take the sector of the electrical angle wrapped into [0, 2π),
// so a motor turning backwards runs through the sectors backwards.
BridgeResult simulateBridge(const BridgeInput &in, double Rdson, StepSink *sink);
// The same run storing its waveforms in `out` (cleared first; may be null).
BridgeResult simulateBridge(const BridgeInput &in, double Rdson, Waveforms *out);

// Runs of one input at several switch on-resistances, as the thermal loop takes them. The
// time steps, the switch nodes and the back-EMFs do not depend on the on-resistance: they are
// stepped once, by a job on a kept pool of threads started when the runs are set up (the first
// run follows it as it goes), and kept for up to kTraceSteps steps (about 49 bytes a step, in
// `out`'s scratch so that the next refresh finds the memory ready). Each run then steps the
// phase currents alone and hands stretches of steps to the pool for the losses; the
// stretches' sums are added in order, so the results are those of simulateBridge whatever the
// number of threads. With `out`, the drive's waveforms are recorded stretch by stretch beside
// the runs, and a recording run waits for them. A longer window steps everything in every run.
// `out` must not be read, nor given to other runs, while the runs exist: the threads end with
// them.
constexpr int kTraceSteps = 1 << 20;

class BridgeRuns
{
public:
    // `out` (may be null) receives the waveforms of the runs that record.
    BridgeRuns(const BridgeInput &in, Waveforms *out);
    ~BridgeRuns();
    BridgeRuns(const BridgeRuns &) = delete;
    BridgeRuns &operator=(const BridgeRuns &) = delete;

    // Told how far a run has come (0 to 1); answers false to stop it.
    using RunProgress = std::function<bool(double done)>;

    // One run with switch on-resistance Rdson; with `record`, its waveforms replace those in
    // `out`. A long run tells `progress` (may be empty) how far it has come, on this thread
    // and every few tens of milliseconds; answered false, it stops within a few milliseconds,
    // its threads idle again, and returns an empty result: the runs are then cancelled() and
    // every later run returns an empty result at once.
    BridgeResult run(double Rdson, bool record, const RunProgress &progress = RunProgress());
    bool cancelled() const { return stopped; }

    struct Trace; // the kept drive

private:
    const BridgeInput in;
    Waveforms *const out;
    std::unique_ptr<Trace> trace;
    bool stopped = false;
};

// The single pass of simulateBridge handing every step to `sink`, and telling `progress` how
// far it has come as BridgeRuns::run does. False when `progress` stopped it: `sink` then has
// the steps before.
bool streamBridge(const BridgeInput &in, double Rdson, StepSink *sink,
                  const BridgeRuns::RunProgress &progress);

// The twelve per-device lines of the page's notes ("Upper Switch A Power: 1.23 W", ...).
QStringList lossLines(const BridgeResult &r);

} // namespace motor
