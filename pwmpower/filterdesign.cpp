#include "pwmpower/filterdesign.h"

#include "values/engvalues.h"

#include <algorithm>
#include <cmath>

namespace pwmpower {

namespace {

// Singly terminated Butterworth prototype, series inductor first, one row per order 1..6:
// L1, C1, L2, C2, L3, C3. The third-order C1 (4/3) is computed where it is used.
const double kPrototype[6][6] = {
    {1.0, 0, 0, 0, 0, 0},
    {1.4142, 0.7071, 0, 0, 0, 0},
    {1.5, 0, 0.5, 0, 0, 0},
    {1.5307, 1.5772, 1.0824, 0.3827, 0, 0},
    {1.5451, 1.6944, 1.382, 0.8944, 0.309, 0},
    {1.5529, 1.7593, 1.5529, 1.2016, 0.7579, 0.2588},
};

int clampOrder(int n)
{
    return std::min(6, std::max(1, n));
}

QString eng0(double v)
{
    return eng::engString(v, QString());
}

Triple zeros()
{
    return {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
}

Triple shortedBranch()
{
    return {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("short")};
}

} // namespace

double firstElement(int n)
{
    return kPrototype[clampOrder(n) - 1][0];
}

FilterOrderResult filterOrder(const FilterOrderInput &in)
{
    const double k = in.singleEnded ? 1.0 : 2.0;
    const double ratio = in.FswKHz / in.FcutKHz;
    FilterOrderResult r;
    if (ratio > 1) {
        r.recommended =
            std::ceil(std::log10((1.25 * in.Vs / in.Vrip) * k * 0.5) / std::log10(ratio));
        if (r.recommended <= 0) r.recommended = 0; // no filter needed (and never "-0")
    } else {
        r.recommended = std::nan("");
        if (!std::isnan(ratio))
            r.notes << QStringLiteral("Fsw is not above Fcut: no filter order brings the "
                                      "ripple down");
    }
    r.rippleV = (1.25 * in.Vs * k * 0.5) / std::pow(ratio, in.n);
    r.L1mH = firstElement(in.n) * in.RL / (kTwoPi * in.FcutKHz);
    // kHz and mH: the two factors of 1000 cancel.
    r.rippleI = (in.Vs * 0.5 / in.FswKHz / r.L1mH) * k * 0.5 * 0.5;
    r.Cleg = 6.8965517241379315 / in.FcutKHz / in.RL / 1000000.0;
    return r;
}

Ladder butterworthLadder(int n, double RL, double FcutHz)
{
    n = clampOrder(n);
    const double wk = (FcutHz / 1000) * kTwoPi;
    const double Lbase = (RL / wk) / 1000;
    const double Cbase = (1 / (wk * RL)) / 1000;
    const double *row = kPrototype[n - 1];
    Ladder ladder;
    ladder.inductorCount = (n + 1) / 2;
    ladder.capacitorCount = n / 2;
    for (int i = 0; i < ladder.inductorCount; ++i)
        ladder.inductors[i] = row[2 * i] * Lbase;
    for (int i = 0; i < ladder.capacitorCount; ++i)
        ladder.capacitors[i] = row[2 * i + 1] * Cbase;
    if (n == 3) ladder.capacitors[0] = Cbase * 4.0 / 3.0;
    return ladder;
}

double inductorLabelValue(double full, FilterType type)
{
    return type == FilterType::SingleEnded ? full : full / 2;
}

double capacitorLabelValue(double full, FilterType type)
{
    return type == FilterType::DualCapacitor ? full * 2 : full;
}

AttenuationCurve butterworthAttenuation(double FcutHz, int n)
{
    AttenuationCurve c;
    c.freq.resize(400);
    c.gainDb.resize(400);
    c.percent.resize(400);
    double f = 1.0;
    for (int i = 0; i < 400; ++i) {
        if (i > 0) f *= 1.035142166679344; // 10^0.015
        const double gain = -10 * std::log10(1 + std::pow(f / FcutHz, 2.0 * n));
        c.freq[i] = f;
        c.gainDb[i] = gain;
        c.percent[i] = (1 - std::pow(10.0, gain / 20)) * 100;
    }
    return c;
}

Matching matchingForCapacitiveLoad(double R, const QString &CloadText, double CloadMicro)
{
    Matching m;
    if (CloadText == QLatin1String("short") || CloadText == QLatin1String("open") ||
        CloadMicro == 0)
        return m;
    m.none = false;
    m.R = R;
    m.L = R * R * CloadMicro / 1000000;
    return m;
}

Matching matchingForInductiveLoad(double R, const QString &LloadText, double LloadMilli)
{
    Matching m;
    m.capacitiveLoad = false;
    if (LloadText == QLatin1String("short") || LloadText == QLatin1String("open") ||
        LloadMilli == 0)
        return m;
    m.none = false;
    m.R = R;
    m.C = LloadMilli / (R * R) / 1000;
    return m;
}

HandOver handOverFilter(const HandOverInput &in)
{
    HandOver h;
    for (Triple &p : h.P)
        p = zeros();
    h.MN = zeros();
    h.L[0] = h.L[1] = h.L[4] = shortedBranch();
    h.L[2] = h.L[3] = zeros();

    const double m = in.type == FilterType::SingleEnded ? 1.0 : 2.0;
    const double c = in.type == FilterType::DualCapacitor ? 2.0 : 1.0;
    const double *fv = in.filterValues;
    const int n = in.order;
    if (n >= 1) h.P[0].L = eng0(fv[0] / m);
    if (n >= 2) h.P[1].C = eng0(c * fv[3]);
    if (n >= 3) h.P[2].L = eng0(fv[1] / m);
    if (n >= 4) h.P[3].C = eng0(c * fv[4]);
    if (n >= 5) h.P[4].L = eng0(fv[2] / m);
    if (n >= 6) h.P[5].C = eng0(c * fv[5]);

    Triple &load = h.L[4];
    const QString RL = eng0(in.RL);
    if (in.load == LoadKind::Capacitive) {
        load.R = RL;
        if (in.CloadText == QLatin1String("open")) {
            load.C = eng0(0); // an open branch
        } else if (in.CloadText == QLatin1String("short")) {
            // a plain resistor
        } else if (in.CloadMicro == 0) {
            load.C = eng0(0);
        } else {
            const double C = in.CloadMicro / 1000000;
            h.MN = {eng0(in.RL * in.RL * C), RL, QStringLiteral("short")}; // series RL
            load.C = eng0(C);
        }
    } else if (in.load == LoadKind::Inductive) {
        load.R = RL;
        if (in.LloadText == QLatin1String("open")) {
            load.L = QStringLiteral("open");
        } else if (in.LloadText == QLatin1String("short") || in.LloadMilli == 0) {
            // a plain resistor
        } else {
            const double L = in.LloadMilli / 1000;
            h.MN.R = RL; // series RC
            h.MN.C = eng0(L / (in.RL * in.RL));
            load.L = eng0(L);
        }
    }
    return h;
}

QString partNotTakenOverNote(const QString &part, const QString &kept)
{
    return QStringLiteral("%1 is not offered on this page: the design was taken over with %2")
        .arg(part, kept);
}

} // namespace pwmpower
