#include "motor/bridgesim.h"

#include "motor/bridgestepper.h"
#include "values/engvalues.h"

#include <algorithm>
#include <cmath>

namespace motor {

using namespace detail;

namespace {

void setFlag(quint32 *flags, quint32 bit)
{
    if (flags) *flags |= bit;
}

// Electrical frequency of a speed. A speed so large that n times it overflows still gives its
// frequency, which the run then refuses as too fast, rather than an infinity taken for none.
double electricalHz(double rpm, int n)
{
    const double f = n * rpm / 60;
    return std::isinf(f) && std::isfinite(rpm) ? rpm / 60 * n : f;
}

} // namespace

const QStringList &Waveforms::names()
{
    static const QStringList list{
        "time",   "carrier", "freq", "DCenv", "Angle", "DCA",   "DCB",      "DCC",
        "VA",     "VB",      "VC",   "Vwye",  "VemfA", "VemfB", "VemfC",    "VemfAB",
        "VemfBC", "VemfCA",  "I1",   "I2",    "I3",    "V1",    "V2",       "V3",
        "At",     "Ab",      "Bt",   "Bb",    "Ct",    "Cb",    "loadPower"};
    return list;
}

QVector<double> *Waveforms::list(int signal)
{
    QVector<double> *lists[sig::count] = {
        &time, &carrier, &freq,  &DCenv, &Angle,  &DCA,    &DCB,    &DCC, &VA,       &VB, &VC,
        &Vwye, &VemfA,   &VemfB, &VemfC, &VemfAB, &VemfBC, &VemfCA, &I1,  &I2,       &I3, &V1,
        &V2,   &V3,      &At,    &Ab,    &Bt,     &Bb,     &Ct,     &Cb,  &loadPower};
    return signal >= 0 && signal < sig::count ? lists[signal] : nullptr;
}

const QVector<double> *Waveforms::list(int signal) const
{
    return const_cast<Waveforms *>(this)->list(signal);
}

QVector<double> *Waveforms::byName(const QString &name)
{
    return list(names().indexOf(name));
}

const QVector<double> *Waveforms::byName(const QString &name) const
{
    return list(names().indexOf(name));
}

void Waveforms::clear()
{
    for (int s = 0; s < sig::count; ++s)
        list(s)->clear();
    decimated = false;
}

MotorConstants motorConstants(const MotorModel &m)
{
    MotorConstants c;
    c.R = eng::parseValue(m.R);
    c.L = eng::parseValue(m.L);
    c.Vemf = eng::parseValue(m.Vemf);
    // The dialog keeps 1 to 20 poles; a design file may hold 0, which would divide by zero.
    c.n = std::max(1, m.nPoles);
    c.cycleLength = eng::parseValue(m.cycleLength);
    if (m.isLinear) {
        c.Vemf = c.Vemf * c.cycleLength / 60;
        c.n = 1;
    }
    if (m.isDelta) {
        c.R /= 3;
        c.L /= 3;
        c.Vemf /= 1.732;
    }
    return c;
}

double dcFromIandRPM(double Ipk, double RPM, double Vs, double R, double L, int n, double Vemf,
                     int commutation)
{
    const double X = 2 * kPi * RPM * n * L / 60;
    const double Z = std::sqrt(R * R + X * X);
    const double E = RPM * Vemf;
    if (Vs == 0) return -1;
    switch (commutation) {
    case Sinusoidal:
        return 2 * (Z * Ipk + E) / Vs;
    case Trapezoidal:
        return 2 * (R * Ipk + E) / Vs;
    case SixStep:
        return (1.5 * Ipk * R + E) / Vs;
    default:
        return 0;
    }
}

double rpmFromIandDC(double Ipk, double DCenv, double Vs, double R, double L, int n, double Vemf,
                     int commutation, quint32 *flags)
{
    switch (commutation) {
    case Sinusoidal: {
        const double k = 2 * Ipk * kPi * L * n / 60;
        const double a = k * k - Vemf * Vemf;
        const double b = Vemf * DCenv * Vs;
        const double c = Ipk * Ipk * R * R - (Vs * DCenv) * (Vs * DCenv) / 4;
        if (a == 0) {
            // The reactance rises exactly as fast as the back-EMF: the equation is linear.
            if (b == 0) {
                setFlag(flags, flag::NoRpmSolution);
                return 0;
            }
            return -c / b;
        }
        const double D = b * b - 4 * a * c;
        if (D < 0) {
            setFlag(flags, flag::NoRpmSolution);
            return 0;
        }
        return (std::sqrt(D) - b) / (2 * a);
    }
    case Trapezoidal:
    case SixStep:
        if (Vemf == 0) {
            setFlag(flags, flag::ZeroBackEmf);
            return 0;
        }
        {
            const double rpm = commutation == Trapezoidal ? (Vs * DCenv - 2 * Ipk * R) / (2 * Vemf)
                                                          : (Vs * DCenv - 1.5 * Ipk * R) / Vemf;
            // The drive cannot even hold the current at standstill.
            if (!(rpm >= 0)) {
                setFlag(flags, flag::NoRpmSolution);
                return 0;
            }
            return rpm;
        }
    default:
        return 0;
    }
}

BackwardTime backwardProfileTime(const QVector<double> &times)
{
    BackwardTime back;
    for (int i = 0; i < times.size(); ++i) {
        if (std::isnan(times[i])) continue;
        if (back.before >= 0 && times[i] < times[back.before]) {
            back.point = i;
            return back;
        }
        back.before = i;
    }
    return BackwardTime();
}

QString backwardProfileText(const QStringList &times, const BackwardTime &back)
{
    return QStringLiteral("Profile point %1 time (%2 s) is before point %3 time (%4 s)")
        .arg(back.point + 1)
        .arg(times.value(back.point).trimmed())
        .arg(back.before + 1)
        .arg(times.value(back.before).trimmed());
}

double linterp(const QVector<double> &searchVector, const QVector<double> &returnVector,
               double searchNum, int *startIndex, quint32 *flags)
{
    const int size = std::min(searchVector.size(), returnVector.size());
    if (size == 0) {
        setFlag(flags, flag::BadTimescale);
        return 0;
    }
    int i = std::min(std::max(*startIndex, 0), size - 1);
    if (searchVector[i] > searchNum) {
        setFlag(flags, flag::BadTimescale);
        return 0;
    }
    while (searchNum > searchVector[i]) {
        if (++i >= size) {
            i = size - 1;
            break;
        }
    }
    if (i == 0) return returnVector[0];
    const double x0 = searchVector[i - 1], x1 = searchVector[i];
    *startIndex = i - 1;
    if (x1 == x0) // two profile points at one time: the later one holds
        return returnVector[i];
    return returnVector[i - 1] +
           (searchNum - x0) * (returnVector[i] - returnVector[i - 1]) / (x1 - x0);
}

ControlProfile generateControlVector(const BridgeInput &in, double endTime, quint32 *flags)
{
    ControlProfile p;
    const MotorModel &m = in.motor;
    const MotorConstants c = motorConstants(m);
    const double Vs = in.Vs;
    const double L = c.L, Vemf = c.Vemf;
    const int n = c.n;
    // The solvers see the whole loop resistance: winding plus the mean switch at 25 °C.
    const double R = c.R + (in.part.topResistance(25) + in.part.bottomResistance(25) +
                            in.part.getTop_wire() + in.part.getBot_wire()) /
                               2;

    const bool constant = m.controlType == 0;
    const int points = constant ? 2 : std::min(m.timeVector.size(), m.amplitudeVector.size());
    const double K = eng::parseValue(m.constantAmplitude);
    for (int i = 0; i < points; ++i) {
        const double time = constant ? i * endTime : eng::parseValue(m.timeVector[i]);
        const double a = eng::parseValue(constant ? m.controlAmplitude : m.amplitudeVector[i]);
        double f = 0, D = 0;
        const int cv = m.controlVariable, kv = m.constantVariable;
        if (cv == 0 && kv == 0) {
            f = electricalHz(K, n);
            D = dcFromIandRPM(a, K, Vs, R, L, n, Vemf, in.commutation);
        } else if (cv == 0 && kv == 2) {
            f = electricalHz(rpmFromIandDC(a, K / 100, Vs, R, L, n, Vemf, in.commutation, flags),
                             n);
            D = K / 100;
        } else if (cv == 1 && kv == 1) {
            f = electricalHz(a, n);
            D = std::fabs(a) * K / Vs;
        } else if (cv == 1 && kv == 2) {
            f = electricalHz(a, n);
            D = K / 100;
        } else if (cv == 2 && kv == 0) {
            f = electricalHz(K, n);
            D = a / 100;
        } else if (cv == 2 && kv == 1) {
            D = a / 100;
            f = n * D * Vs / (K * 60);
        }
        // A V/f ratio of 0 or a supply of 0 gives no finite speed or envelope; the run must
        // still be able to interpolate, so the point stands still.
        if (!std::isfinite(f)) {
            setFlag(flags, flag::NoRpmSolution);
            f = 0;
        }
        if (std::isnan(D))
            D = 0;
        else if (std::isinf(D))
            D = D > 0 ? 1e9 : -1e9;
        p.timebase.append(time);
        p.fCycle.append(f);
        p.DutyCycleEnv.append(D);
        // The step is 1/100 of a switching period; a cycle needs some twenty of those periods
        // to be resolved, in whichever direction the motor turns.
        if (in.FswHz < 20 * std::fabs(f)) setFlag(flags, flag::SlowSwitching);
        if (D > in.part.getMaxDutyCycle()) setFlag(flags, flag::DutyHigh);
    }
    return p;
}

BridgeResult simulateBridge(const BridgeInput &in, double Rdson, Waveforms *out)
{
    if (!out) return simulateBridge(in, Rdson, static_cast<StepSink *>(nullptr));
    BridgeRuns runs(in, out);
    return runs.run(Rdson, true);
}

BridgeResult simulateBridge(const BridgeInput &in, double Rdson, StepSink *sink)
{
    return runBridge(in, Rdson, sink);
}

bool streamBridge(const BridgeInput &in, double Rdson, StepSink *sink,
                  const BridgeRuns::RunProgress &progress)
{
    Ticker ticker(progress);
    runBridge(in, Rdson, sink, &ticker);
    return !ticker.stopped();
}

QStringList lossLines(const BridgeResult &r)
{
    static const char *const phases[] = {"A", "B", "C"};
    QStringList lines;
    const auto add = [&lines](const char *device, const char *phase, double watts) {
        lines << QStringLiteral("%1 %2 Power: ").arg(QLatin1String(device), QLatin1String(phase)) +
                     eng::number2String(watts) + QStringLiteral(" W");
    };
    for (int k = 0; k < 3; ++k)
        add("Upper Switch", phases[k], r.upperSwitch[k]);
    for (int k = 0; k < 3; ++k)
        add("Lower Switch", phases[k], r.lowerSwitch[k]);
    for (int k = 0; k < 3; ++k)
        add("Upper Diode", phases[k], r.upperDiode[k]);
    for (int k = 0; k < 3; ++k)
        add("Lower Diode", phases[k], r.lowerDiode[k]);
    return lines;
}

} // namespace motor
