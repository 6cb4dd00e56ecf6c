#include "ihcp/pumpmodel.h"

#include "values/engvalues.h"

#include <cmath>

namespace ihcp {

namespace {

const comp kOne(1, 0);

// -1/(2 pi f C) as the imaginary part of a capacitor; 0 F gives an infinite reactance.
double capacitiveReactance(double freqHz, double farads)
{
    return -1.0 / (kTwoPi * freqHz * farads);
}

} // namespace

comp loadImpedance(const QString &rload, const QString &cload, const QString &lload,
                   const QString &freq)
{
    const double c = cload == QLatin1String("open") ? 0 : eng::parseValue(cload);
    const double l = eng::parseValue(lload);
    const double r = eng::parseValue(rload);
    const double f = eng::parseValue(freq);
    if (cload == QLatin1String("short")) return comp(r, kTwoPi * f * l);
    return comp(r, capacitiveReactance(f, c));
}

comp dampingImpedance(const QString &rd, const QString &cd, double freqHz)
{
    double c = cd == QLatin1String("open") ? 0 : eng::parseValue(cd);
    if (cd == QLatin1String("short")) c = infiniteValue;
    return comp(eng::parseValue(rd), capacitiveReactance(freqHz, c));
}

double transconductance(const Resistors &r, comp zl, comp zd, bool inv)
{
    const double k = r.rip / (r.rfp + r.rip);
    const double g = 1 + r.rfn / r.rin;
    const comp d = kOne / ((kOne / zl + kOne / zd) + (1 / r.rs + 1 / r.rfp));
    comp h;
    if (inv) {
        const comp a = (kOne / d - k / r.rfp) * r.rs - g * k;
        h = comp(-r.rfn / r.rin, 0) / a;
    } else {
        const comp m = d * (k * (g / r.rs + 1 / r.rfp));
        const comp a = kOne - kOne / m;
        h = comp(-r.rfp / r.rip, 0) / a;
    }
    return (h / zl).real();
}

double worstCase(const Resistors &r, const Tolerances &tol, comp zl, comp zd, bool inv)
{
    const double g0 = transconductance(r, zl, zd, inv);
    double best = g0;
    double farthest = 0;
    for (int n = 0; n < 243; ++n) {
        const int d0 = n % 3, d1 = (n / 3) % 3, d2 = (n / 9) % 3, d3 = (n / 27) % 3, d4 = n / 81;
        Resistors v;
        v.rin = r.rin + (d0 - 1) * tol.in * r.rin / 100;
        v.rip = r.rip + (d1 - 1) * tol.in * r.rip / 100;
        v.rfn = r.rfn + (d2 - 1) * tol.fn * r.rfn / 100;
        v.rfp = r.rfp + (d3 - 1) * tol.fp * r.rfp / 100;
        v.rs = r.rs + (d4 - 1) * tol.s * r.rs / 100;
        const double g = transconductance(v, zl, zd, inv);
        const double distance = std::fabs(g0 - g);
        if (distance > farthest) {
            farthest = distance;
            best = g;
        }
    }
    return best;
}

QStringList toleranceSteps()
{
    return {QStringLiteral("5"),           QStringLiteral("2"),    QStringLiteral("1"),
            QStringLiteral("0.5"),         QStringLiteral("0.25"), QStringLiteral("0.1"),
            QStringLiteral("0.05"),        QStringLiteral("0.01"), QStringLiteral("0.005"),
            QStringLiteral("0 (trim pot)")};
}

AutoDesign autoDesign(double g, double errorPercent, double rin, double rs, comp zl, bool inv)
{
    AutoDesign out;
    g = std::fabs(g);
    // A zero target has no relative error to meet; leave the design as it is.
    if (!(g > 0) || !std::isfinite(g)) {
        out.why = QStringLiteral("the desired transconductance is 0");
        out.targetAtFault = true;
        return out;
    }
    const auto usable = [](double r) { return r > 0 && r < infiniteValue; };
    if (!usable(rin) || !usable(rs)) {
        out.why = QStringLiteral("R_IN and R_S must be set first");
        return out;
    }
    const double rfn = rs * g * rin;
    const double rfp = rfn - rs;
    out.targetAtFault = true;
    // Rfp = Rs (g Rin - 1): a positive bridge needs g Rin above 1.
    if (!(rfp > 0)) {
        out.why = QStringLiteral("R_FP = R_S (g R_IN - 1) would not be positive: the desired "
                                 "transconductance times R_IN must exceed 1");
        return out;
    }
    if (!usable(rfn)) {
        out.why = QStringLiteral("R_FN = R_S g R_IN would be beyond any real resistance");
        return out;
    }
    out.valid = true;
    out.targetAtFault = false;
    out.rfn = QString::number(rfn, 'g', 6);
    out.rfp = QString::number(rfp, 'g', 6);

    const comp zd(infiniteValue, infiniteValue);
    const double target = inv ? -g : g;
    const Resistors r{rin, rin, rfn, rfp, rs};
    const QStringList steps = toleranceSteps();
    for (int i = 0; i < steps.size(); ++i) {
        out.tolIn = out.tolFn = out.tolFp = steps[i];
        const double bridge = eng::parseValue(steps[i]);
        for (int j = 0; j <= i; ++j) {
            out.tolS = steps[j];
            const Tolerances tol{bridge, bridge, bridge, eng::parseValue(steps[j])};
            const double w = worstCase(r, tol, zl, zd, inv);
            ++out.trials;
            if (std::fabs((w - target) / target) * 100 < std::fabs(errorPercent)) {
                out.met = true;
                return out;
            }
        }
    }
    return out;
}

} // namespace ihcp
