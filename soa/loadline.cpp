#include "soa/loadline.h"

#include "values/engvalues.h"

#include <QtGlobal>

#include <cmath>

namespace soa {

namespace {

// The circuit as the integrator sees it, after the flags have been read from the typed words.
struct LoadModel
{
    double R, L, C;
    bool series;
    bool cShorted;
};

// State of the reactive parts, carried from sample to sample and period to period.
struct LoadState
{
    double Iprev = 0; // load current of the previous sample
    double Vprev = 0; // load voltage of the previous sample
    double Vc = 0;    // voltage of the series capacitor
    double IL = 0;    // current of the parallel inductor
};

struct Sample
{
    double V;
    double I;
};

// One backward Euler step of the R-L-C load driven by voltage or current s.
Sample stepRlc(const LoadModel &m, LoadState &st, bool voltageOutput, double s, double dt)
{
    Sample out{0, 0};
    if (voltageOutput) {
        const double V = s;
        double I;
        if (!m.series) {
            st.IL += V * dt / m.L;
            I = V / m.R + st.IL + m.C * (V - st.Vprev) / dt;
        } else if (m.cShorted) {
            I = (V + st.Iprev * m.L / dt) / (m.R + m.L / dt);
        } else if (m.C == 0) {
            I = 0; // an open series capacitor: no current can flow through the branch
        } else {
            I = (V + st.Iprev * m.L / dt - st.Vc) / (m.R + m.L / dt + dt / m.C);
            st.Vc += I * dt / m.C;
        }
        out = {V, I};
    } else {
        double I = s;
        double V;
        if (!m.series) {
            V = (I - st.IL + st.Vprev * m.C / dt) / (dt / m.L + 1 / m.R + m.C / dt);
            st.IL += V * dt / m.L;
        } else if (m.cShorted) {
            V = I * m.R + (I - st.Iprev) * m.L / dt;
        } else if (m.C == 0) {
            // No current through an open series capacitor, whatever the source asks for.
            I = 0;
            V = I * m.R + (I - st.Iprev) * m.L / dt;
        } else {
            V = I * m.R + (I - st.Iprev) * m.L / dt + I * dt / m.C + st.Vc;
            st.Vc += I * dt / m.C;
        }
        out = {V, I};
    }
    st.Iprev = out.I;
    st.Vprev = out.V;
    return out;
}

Sample stepMotor(const LoadLineInput &in, double R, double s)
{
    switch (in.motorMode) {
    case MotorMode::Stall:
        return {s, s / R};
    case MotorMode::Reversal:
        return {(s - in.motorCurrent) * R + in.motorEMF, s};
    case MotorMode::Normal:
        break;
    }
    return {in.motorVDC, in.motorCurrent};
}

// Why the samples are not numbers, named by the input that makes them so.
QString unboundedNote(const LoadLineInput &in, const LoadLineResult &r)
{
    if (in.signalKind == 3 && in.motorMode == MotorMode::Stall && r.R == 0)
        return QStringLiteral("!!! Motor ESR is 0: the stall current is unbounded !!!");
    if (in.signalKind != 3 && r.outputShorted && in.voltageOutput)
        return QStringLiteral("!!! The load shorts the output: the load current is unbounded !!!");
    return QStringLiteral("!!! The load current or voltage overflows with the load as typed: "
                          "power and temperatures cannot be computed !!!");
}

} // namespace

void dropFigures(LoadLineResult &r)
{
    r.computable = false;
    for (QVector<double> *v : {&r.T, &r.V, &r.I, &r.Iamp, &r.Vo, &r.Vd, &r.Pload, &r.Pamp})
        v->clear();
    const double none = std::nan("");
    r.maxIout = r.minIout = r.maxVout = r.minVout = none;
    r.PloadAvg = r.PampAvg = r.IampAvg = r.PampPeak = none;
    r.direction = 0;
    r.clipping = r.slewExceeded = false;
    r.continuousExceeded = r.peakExceeded = r.secondBreakdown = false;
}

LoadLineResult simulateLoadLine(const LoadLineInput &in, const amp &part)
{
    LoadLineResult r;

    // Flags come from the fields as typed, also when a DC motor replaces the load.
    LoadModel m{in.R, in.L, in.C, in.series, in.cShortText};
    if (in.series) {
        r.connected =
            !(in.rOpenText || in.lOpenText || in.cOpenText) && !(in.C == 0 && !in.cShortText);
        r.outputShorted = in.R == 0 && in.L == 0 && in.cShortText;
    } else {
        if (in.cShortText) {
            m.R = 0;
            m.L = 0;
        }
        r.connected =
            !(in.rOpenText && in.lOpenText && (in.cOpenText || in.C == 0) && !in.cShortText);
        r.outputShorted = in.R == 0 || in.L == 0 || in.cShortText;
    }
    if (r.outputShorted) r.notes.append({QStringLiteral("!!! Do Not Short the Output !!!"), true});
    if (!in.usable) {
        dropFigures(r);
        return r;
    }

    const bool motor = in.signalKind == 3;
    int cycles = qMax(1, in.cycles);
    int settle = qMax(0, in.settle);
    double gain = in.signalKind == 2 ? in.gain : 1;
    if (motor) {
        m = LoadModel{in.motorESR, 0, 0, true, true};
        cycles = 1;
        settle = 0;
    }
    r.R = m.R;
    r.cycles = cycles;

    const int n = qMin(in.signal.time.size(), in.signal.value.size());
    r.points = n;
    const int parallel = qMax(1, in.parallel);
    const int swing = in.boost ? 1 : 0;
    r.A = part.getVswingA(swing);
    r.B = part.getVswingB(swing) + (parallel > 1 ? in.rCS : 0);
    r.C0 = part.getVswingC(swing);
    if (n == 0) return r;

    const QVector<double> &t = in.signal.time;
    const QVector<double> &s = in.signal.value;
    const double firstStep = firstTimeStep(in.signal);
    const double period = signalPeriod(in.signal);
    auto stepOf = [&](int i) { return i == 0 ? firstStep : t.at(i) - t.at(i - 1); };

    LoadState state;
    auto advance = [&](int i) -> Sample {
        if (motor) return stepMotor(in, m.R, s.at(i));
        return stepRlc(m, state, in.voltageOutput, gain * s.at(i), stepOf(i));
    };
    for (int j = 0; j < settle * n; ++j)
        advance(j % n);

    const int shown = n * cycles;
    for (QVector<double> *v : {&r.T, &r.V, &r.I, &r.Iamp, &r.Vo, &r.Vd, &r.Pload, &r.Pamp})
        v->reserve(shown);

    const double slewLimit = part.getSlewRate(0);
    const bool checkBreakdown = part.getSB_V() < part.getVss_max();
    const double weight = 1 / (period * cycles);
    double time = t.at(0);
    for (int j = 0; j < shown; ++j) {
        const int i = j % n;
        const double dt = stepOf(i);
        if (j > 0) time += dt;
        const Sample x = advance(i);
        const double V = x.V;
        const double I = x.I;

        const double Iamp = std::fabs(I) / parallel;
        double Vo = V;
        if (in.bridgeSame)
            Vo = V / 2 + (in.vsPos + in.vsNeg) / 2;
        else if (in.bridgeInverted)
            Vo = V / 2;

        const double headroom = r.A * Iamp * Iamp + r.B * Iamp + r.C0;
        if (Vo > in.vsPos - headroom || Vo < in.vsNeg + headroom) r.clipping = true;
        if (j > 0 && std::fabs(V - r.V.last()) / dt / 1000000 > slewLimit) r.slewExceeded = true;

        if (I > r.maxIout) r.maxIout = I;
        if (I < r.minIout) r.minIout = I;
        if (V > r.maxVout) r.maxVout = V;
        if (V < r.minVout) r.minVout = V;

        double Vd;
        if (I > 0) {
            Vd = in.vsPos - Vo;
            ++r.direction;
        } else if (I < 0) {
            Vd = Vo - in.vsNeg;
            --r.direction;
        } else {
            Vd = in.vsPos - Vo;
        }
        if (parallel > 1 && I != 0) Vd -= in.rCS * Iamp;

        const double Pload = V * I;
        const double Pamp = Iamp * Vd;
        r.PloadAvg += Pload * dt * weight;
        r.PampAvg += Pamp * dt * weight;
        r.IampAvg += Iamp * dt * weight;
        if (j == 0 || Pamp > r.PampPeak) r.PampPeak = Pamp;

        if (Iamp > part.getI_cont()) r.continuousExceeded = true;
        if (Iamp > part.getI_pk()) r.peakExceeded = true;
        if (checkBreakdown) {
            const double limit =
                Vd < part.getSB_V()
                    ? part.getI_cont()
                    : part.getI_cont() * std::pow(part.getSB_V() / Vd, part.getSB_slope());
            if (Iamp > limit) r.secondBreakdown = true;
        }

        r.T.append(time);
        r.V.append(V);
        r.I.append(I);
        r.Iamp.append(Iamp);
        r.Vo.append(Vo);
        r.Vd.append(Vd);
        r.Pload.append(Pload);
        r.Pamp.append(Pamp);
        if (!std::isfinite(Pload) || !std::isfinite(Pamp)) r.computable = false;
    }
    for (const double sum : {r.PloadAvg, r.PampAvg, r.IampAvg})
        if (!std::isfinite(sum)) r.computable = false;
    if (!r.computable) {
        dropFigures(r);
        r.problem = unboundedNote(in, r);
        return r;
    }

    if (r.clipping)
        r.notes.append({QStringLiteral("Clipping Likely. Based on Worst-Case Voltage Swing "
                                       "Characteristics. See Datasheet for Details."),
                        false});
    if (r.slewExceeded)
        r.notes.append({QStringLiteral("Output exceeds maximum slew rate of chosen device. Real "
                                       "output will not look like the displayed waveform."),
                        false});
    if (r.peakExceeded)
        r.notes.append({QStringLiteral("!!! Peak Current Specification Exceeded !!!"), true});
    else if (r.continuousExceeded)
        r.notes.append({QStringLiteral("Continuous Current Specification Exceeded. Unsafe for "
                                       "Steady State Conditions."),
                        false});
    if (r.secondBreakdown)
        r.notes.append(
            {QStringLiteral("Second Breakdown Violation. Unsafe for Steady State Conditions."),
             false});

    if (r.R == 0 || r.R == infiniteValue) r.PloadAvg = 0;
    return r;
}

} // namespace soa
