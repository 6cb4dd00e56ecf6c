#include "ihcp/pumploop.h"

#include "values/engvalues.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ihcp {

namespace {

constexpr int kPoints = 128;
constexpr double kStep = 1.1547819846894583; // 10^(1/16)
const double kInf = std::numeric_limits<double>::infinity();

// 1/beta in dB of a feedback difference; net positive feedback has no finite level.
double level(double difference)
{
    return difference > 0 ? 20 * std::log10(1 / difference) : kInf;
}

// A corner that came out negative or undefined is never reached.
double corner(double f)
{
    return f >= 0 ? f : kInf;
}

double openLoopGain(const LoopInput &in, double f)
{
    double a = in.aolDc;
    for (double p : {in.pole1, in.pole2, in.pole3}) {
        if (p > 0 && p < f) a -= 20 * std::log10(f / p);
    }
    return a;
}

// Main-path 1/beta at f, as the sum of its level and the slopes of the corners passed.
// Below (inductive: above) both corners the two slopes cancel and the curve sits on the other
// level; taking that level directly keeps an infinite corner from turning the sum into
// inf - inf.
double mainPathSum(const LoopResult &r, bool inductive, double f)
{
    if (inductive) {
        const bool rise = r.fZero < f, fall = r.fPole < f;
        const double up = rise ? 20 * std::log10(f / r.fZero) : 0;
        const double down = fall ? 20 * std::log10(f / r.fPole) : 0;
        if (rise && fall && !(std::isfinite(up) && std::isfinite(down))) return r.lAC;
        return r.lDC + up - down;
    }
    const bool below = f < r.fZero, belowPole = f < r.fPole;
    const double down = below ? 20 * std::log10(f / r.fZero) : 0;
    const double up = belowPole ? 20 * std::log10(f / r.fPole) : 0;
    if (below && belowPole && !(std::isfinite(up) && std::isfinite(down))) return r.lDC;
    return r.lAC - down + up;
}

// What stays undefined comes from an infinite level: infinitely high.
double mainPath(const LoopResult &r, bool inductive, double f)
{
    const double b = mainPathSum(r, inductive, f);
    return std::isnan(b) ? kInf : b;
}

QString betaText(double b)
{
    return QString::number(b, 'g', 6);
}

} // namespace

Verdict judgeClosure(double roc, double fZero, double pole1, double closureFreq)
{
    if (roc < 21) return Verdict::Stable;
    if (roc < 41 && std::max(fZero, pole1) > closureFreq / 10) return Verdict::Marginal;
    return Verdict::Unstable;
}

LoopResult analyseLoop(const LoopInput &in)
{
    LoopResult r;
    const double s = in.rfp + in.rin + in.rs;
    const double p = (in.rfp + in.rin) * in.rs;
    r.betaMinus = in.rin / (in.rfn + in.rin);
    const double open = in.rin / s;
    const double loaded = in.rin * in.rload / (s * in.rload + p);
    r.betaPlusDC = in.inductive ? loaded : open;
    r.betaPlusAC = in.inductive ? open : loaded;
    r.betaPlusRD = in.rin * in.rd / (s * in.rd + p);

    r.fZero = corner(in.inductive ? (in.rload + in.rs) / (kTwoPi * in.lload)
                                  : 1 / ((in.rload + in.rs) * in.cload * kTwoPi));
    r.fPole = corner((r.betaMinus - r.betaPlusDC) * r.fZero / (r.betaMinus - r.betaPlusAC));
    r.fD = corner(1 / (in.cd * in.rd * kTwoPi));

    r.lDC = level(r.betaMinus - r.betaPlusDC);
    r.lAC = level(r.betaMinus - r.betaPlusAC);
    const double path2 = level(r.betaMinus - r.betaPlusRD);

    double minClosure = in.aolDc, min20 = in.aolDc, minMain = in.aolDc;
    r.closureFreq = infiniteValue;
    r.bandwidth = infiniteValue;
    r.betaAtClosureMain = in.aolDc;

    double f = 1;
    for (int i = 0; i < kPoints; ++i) {
        if (i > 0) f *= kStep;
        const double aol = openLoopGain(in, f);
        const double b = mainPath(r, in.inductive, f);
        const double b2 = f < r.fD ? path2 - 20 * std::log10(f / r.fD) : path2;
        const double e = b <= b2 ? b : b2;
        double vl = aol;
        if (b < vl) vl = b;
        if (b2 < vl) vl = b2;

        r.freq << f;
        r.aol << aol;
        r.beta << b;
        r.beta2 << b2;
        r.effective << e;
        r.vload << vl;

        const double closure = std::fabs(aol - e);
        if (closure < minClosure) {
            minClosure = closure;
            r.closureIndex = i;
            r.closureFreq = f;
        }
        const double to20 = std::fabs((aol - e) - 20);
        if (to20 < min20) {
            min20 = to20;
            r.bandwidth = f;
        }
        const double closureMain = std::fabs(aol - b);
        if (closureMain < minMain) {
            minMain = closureMain;
            r.closureIndexMain = i;
            r.betaAtClosureMain = b;
        }
    }

    // Slopes between the closure point and the one before it, in dB per decade.
    const int a = r.closureIndex == 0 ? 0 : r.closureIndex - 1;
    const int bIdx = r.closureIndex == 0 ? 1 : r.closureIndex;
    r.roc = 16 * ((r.aol[a] - r.aol[bIdx]) + (r.effective[bIdx] - r.effective[a]));
    const int j = r.closureIndexMain == 0 ? 0 : r.closureIndexMain - 1;
    r.rocMain = 16 * ((r.aol[j] - r.aol[j + 1]) + (r.beta[j + 1] - r.beta[j]));

    r.dampingFraction = std::pow(10, -(r.betaAtClosureMain + r.lDC) / 40);

    r.verdict = judgeClosure(r.roc, r.fZero, in.pole1, r.closureFreq);

    r.suggestDamping = in.inductive && r.rocMain >= 21;
    if (r.suggestDamping) {
        const double y = r.betaMinus - r.dampingFraction;
        r.rdSuggested = in.rs * y * (in.rfp + in.rin) / (in.rin - y * s);
        r.cdSuggested = 5 / (r.rdSuggested * r.fZero * kTwoPi);
    }

    const double aF = std::pow(10, openLoopGain(in, in.freqHz) / 20);
    r.outputImpedance = in.rs / (1 - (aF / (r.betaMinus * aF + 1)) * (in.rin / (in.rfp + in.rin)));
    r.outputCapacitance = (in.rfn + in.rin) / (in.gbwpKHz * kTwoPi * 1000 * in.rin * in.rs);
    const double iMid = (in.iMax + in.iMin) * 0.5;
    const double iPk = (in.iMax - in.iMin) * 0.5;
    r.senseRmsPower = (iMid * iMid + 0.5 * iPk * iPk) * in.rs;

    QVector<PumpNote> &n = r.notes;
    n << PumpNote{QStringLiteral("\nSTABILITY")};
    switch (r.verdict) {
    case Verdict::Stable:
        n << PumpNote{QStringLiteral("\tSTABLE"), NoteColour::Green};
        break;
    case Verdict::Marginal:
        n << PumpNote{QStringLiteral("\tMARGINALLY STABLE"), NoteColour::Red};
        break;
    case Verdict::Unstable:
        n << PumpNote{QStringLiteral("\tUNSTABLE"), NoteColour::Red};
        break;
    }
    n << PumpNote{QStringLiteral("\t(Based only on Rate of Closure)")};
    n << PumpNote{QStringLiteral("\tRate of Closure: ") +
                  (std::isfinite(r.roc) ? eng::number2String(r.roc) : QStringLiteral("undefined")) +
                  QStringLiteral(" dB/dec")};
    if (r.suggestDamping) {
        n << PumpNote{QStringLiteral("\tSuggested R_D: ") +
                      eng::engString(r.rdSuggested, QStringLiteral("Ω"))};
        n << PumpNote{QStringLiteral("\tSuggested C_D: ") +
                      eng::engString(r.cdSuggested, QStringLiteral("F"))};
    } else {
        n << PumpNote{QStringLiteral("\tSuggested R_D: open")};
        n << PumpNote{QStringLiteral("\tSuggested C_D: open")};
    }
    n << PumpNote{QStringLiteral("\nMISCELLANEOUS DETAILS")};
    n << PumpNote{QStringLiteral("\tOutput Impedance: ") +
                  eng::engString(r.outputImpedance, QStringLiteral("Ω"))};
    n << PumpNote{QStringLiteral("\tEquiv. Output Capacitance: ") +
                  eng::engString(r.outputCapacitance, QStringLiteral("F"))};
    n << PumpNote{QStringLiteral("\tRMS Power in R_sense: ") +
                  eng::engString(r.senseRmsPower, QStringLiteral("W"))};
    n << PumpNote{QStringLiteral("\tß-: ") + betaText(r.betaMinus)};
    n << PumpNote{QStringLiteral("\tß+(DC): ") + betaText(r.betaPlusDC)};
    n << PumpNote{QStringLiteral("\tß+(AC): ") + betaText(r.betaPlusAC)};
    n << PumpNote{QStringLiteral("\t1/ß F_zero: ") + eng::engString(r.fZero, QStringLiteral("Hz"))};
    n << PumpNote{QStringLiteral("\t1/ß F_pole: ") + eng::engString(r.fPole, QStringLiteral("Hz"))};
    n << PumpNote{QStringLiteral("\t1/ß #2 F_zero: ") + eng::engString(r.fD, QStringLiteral("Hz"))};
    return r;
}

double sweepMaxImpedance(const QString &rload, const QString &cload, const QString &lload,
                         const QString &freq)
{
    const double r = eng::parseValue(rload);
    const double f = eng::parseValue(freq);
    const double x = cload == QLatin1String("short") ? kTwoPi * f * eng::parseValue(lload)
                                                     : 1 / (kTwoPi * f * eng::parseValue(cload));
    return std::sqrt(r * r + x * x);
}

SweepResult sweepLoad(const Resistors &r, const Tolerances &tol, comp zd, bool inv, double zmax)
{
    SweepResult out;
    const double ideal = inv ? -r.rfn / (r.rin * r.rs) : r.rfp / (r.rs * r.rip);
    out.defined = zmax > 0 && std::isfinite(zmax) && ideal != 0 && std::isfinite(ideal);
    if (!out.defined) return out;
    for (int i = 0; i < 400; ++i) {
        const double z = (i + 1) * zmax / 400;
        const double g = worstCase(r, tol, comp(z, 0), zd, inv);
        out.impedance << z;
        out.errorPercent << std::fabs((g - ideal) / ideal) * 100;
    }
    return out;
}

QVector<PumpNote> transconductanceNotes(double ideal, double actual, double worst)
{
    return {
        PumpNote{QStringLiteral("Notes:\n")},
        PumpNote{QStringLiteral("TRANSCONDUCTANCE")},
        PumpNote{QStringLiteral("\tIdeal: ") + eng::engString(ideal, QStringLiteral("A/V"))},
        PumpNote{QStringLiteral("\tActual: ") + eng::engString(actual, QStringLiteral("A/V"))},
        PumpNote{QStringLiteral("\tWorst Case: ") + eng::engString(worst, QStringLiteral("A/V"))},
        PumpNote{QStringLiteral("\tSee below for maximum bandwidth")}};
}

QString inputRangeText(double iMin, double iMax, double gActual)
{
    // No transconductance, no input voltage that makes the current.
    if (gActual == 0 || !std::isfinite(gActual)) return QStringLiteral("V_IN = \nundefined");
    return QStringLiteral("V_IN = \n") + eng::engString(iMin / gActual, QString()) +
           QStringLiteral(" to ") + eng::engString(iMax / gActual, QStringLiteral("V"));
}

QString loadRangeText(double iMin, double iMax, double zMagnitude)
{
    // No current means no voltage, even across an open load.
    const auto volts = [zMagnitude](double i) { return i == 0 ? 0.0 : zMagnitude * i; };
    return QStringLiteral("V at Load = \n") + eng::engString(volts(iMin), QString()) +
           QStringLiteral(" to ") + eng::engString(volts(iMax), QStringLiteral("V"));
}

QString bandwidthText(double bandwidth)
{
    const QString value = bandwidth == infiniteValue
                              ? QStringLiteral("undefined")
                              : eng::engString(bandwidth, QStringLiteral("Hz"));
    return QStringLiteral("\nMAXIMUM BANDWIDTH\n\t") + value +
           QStringLiteral("\n\t(Where Loop Gain falls to 20dB)");
}

} // namespace ihcp
