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
    return std::isfinite(b) ? QString::number(b, 'g', 6) : eng::noResultText();
}

// A corner of 1/beta: the placeholder when the loop was refused, "none" for a corner that
// does not exist (an infinite or open element puts it at zero or infinity).
PumpNote cornerNote(const QString &caption, double f, bool refused)
{
    if (refused) return valueNote(caption, std::numeric_limits<double>::quiet_NaN(), QString());
    if (!(f > 0 && f < infiniteValue)) return PumpNote{caption + QStringLiteral("none")};
    return PumpNote{caption + eng::engString(f, QStringLiteral("Hz"))};
}

// The open-loop gain must meet the effective 1/beta: at some point it lies above (or on) it
// and at the next one below (or on) it.
bool crosses(const QVector<double> &aol, const QVector<double> &effective)
{
    for (int i = 1; i < aol.size(); ++i) {
        const double before = aol[i - 1] - effective[i - 1], after = aol[i] - effective[i];
        if (std::isfinite(before) && std::isfinite(after) && before >= 0 && after <= 0) return true;
    }
    return false;
}

QVector<PumpNote> stabilityNotes(const LoopResult &r, bool damping)
{
    const bool refused = r.beta.isEmpty();
    const bool analysed = r.verdict != Verdict::NotAnalysed;
    QVector<PumpNote> n;
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
    case Verdict::NotAnalysed:
        n << PumpNote{QStringLiteral("\tCOULD NOT BE ANALYSED"), NoteColour::Red};
        break;
    }
    if (!r.why.isEmpty()) n << PumpNote{QStringLiteral("\t") + r.why, NoteColour::Red};
    n << PumpNote{QStringLiteral("\t(Based only on Rate of Closure)")};
    const double roc = analysed ? r.roc : std::numeric_limits<double>::quiet_NaN();
    n << (std::isfinite(roc) ? PumpNote{QStringLiteral("\tRate of Closure: ") +
                                        eng::number2String(roc) + QStringLiteral(" dB/dec")}
                             : valueNote(QStringLiteral("\tRate of Closure: "), roc, QString()));
    if (!analysed) {
        const double none = std::numeric_limits<double>::quiet_NaN();
        n << valueNote(QStringLiteral("\tSuggested R_D: "), none, QString());
        n << valueNote(QStringLiteral("\tSuggested C_D: "), none, QString());
    } else if (r.suggestDamping) {
        n << valueNote(QStringLiteral("\tSuggested R_D: "), r.rdSuggested, QStringLiteral("Ω"));
        n << valueNote(QStringLiteral("\tSuggested C_D: "), r.cdSuggested, QStringLiteral("F"));
        if (!std::isfinite(r.rdSuggested))
            n << PumpNote{QStringLiteral("\tNo positive R_D gives the damping this loop needs"),
                          NoteColour::Red};
    } else {
        n << PumpNote{QStringLiteral("\tSuggested R_D: open")};
        n << PumpNote{QStringLiteral("\tSuggested C_D: open")};
    }
    n << PumpNote{QStringLiteral("\nMISCELLANEOUS DETAILS")};
    n << valueNote(QStringLiteral("\tOutput Impedance: "), r.outputImpedance, QStringLiteral("Ω"));
    n << valueNote(QStringLiteral("\tEquiv. Output Capacitance: "), r.outputCapacitance,
                   QStringLiteral("F"));
    if (!refused && !std::isfinite(r.outputCapacitance))
        n << PumpNote{QStringLiteral("\tThe amplifier has no gain-bandwidth product: no "
                                     "output capacitance"),
                      NoteColour::Red};
    n << valueNote(QStringLiteral("\tRMS Power in R_sense: "), r.senseRmsPower,
                   QStringLiteral("W"));
    const auto beta = [&n](const QString &caption, double b) {
        n << PumpNote{caption + betaText(b),
                      std::isfinite(b) ? NoteColour::Black : NoteColour::Red};
    };
    beta(QStringLiteral("\tß-: "), r.betaMinus);
    beta(QStringLiteral("\tß+(DC): "), r.betaPlusDC);
    beta(QStringLiteral("\tß+(AC): "), r.betaPlusAC);
    n << cornerNote(QStringLiteral("\t1/ß F_zero: "), r.fZero, refused);
    n << cornerNote(QStringLiteral("\t1/ß F_pole: "), r.fPole, refused);
    n << cornerNote(QStringLiteral("\t1/ß #2 F_zero: "), damping ? r.fD : kInf, refused);
    return n;
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
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double f = 1;
    for (int i = 0; i < kPoints; ++i) {
        if (i > 0) f *= kStep;
        r.freq << f;
        r.aol << openLoopGain(in, f);
    }
    if (!in.refusal.isEmpty()) {
        r.betaMinus = r.betaPlusDC = r.betaPlusAC = r.betaPlusRD = nan;
        r.lDC = r.lAC = r.fZero = r.fPole = r.fD = nan;
        r.closureFreq = r.roc = r.rocMain = r.dampingFraction = nan;
        r.verdict = Verdict::NotAnalysed;
        r.why = in.refusal;
        r.outputImpedance = r.outputCapacitance = r.senseRmsPower = r.bandwidth = nan;
        r.notes = stabilityNotes(r, in.damping);
        return r;
    }

    // An open load never loads the node: beta+ stays the unloaded one and there is no corner.
    const bool unloaded =
        in.rload >= infiniteValue || (in.inductive ? in.lload >= infiniteValue : in.cload == 0);
    const double s = in.rfp + in.rin + in.rs;
    const double p = (in.rfp + in.rin) * in.rs;
    r.betaMinus = in.rin / (in.rfn + in.rin);
    const double open = in.rin / s;
    const double loaded = unloaded ? open : in.rin * in.rload / (s * in.rload + p);
    r.betaPlusDC = in.inductive ? loaded : open;
    r.betaPlusAC = in.inductive ? open : loaded;
    r.betaPlusRD = in.rin * in.rd / (s * in.rd + p);

    r.fZero = unloaded ? kInf
                       : corner(in.inductive ? (in.rload + in.rs) / (kTwoPi * in.lload)
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

    for (int i = 0; i < kPoints; ++i) {
        f = r.freq[i];
        const double aol = r.aol[i];
        const double b = mainPath(r, in.inductive, f);
        const double b2 = f < r.fD ? path2 - 20 * std::log10(f / r.fD) : path2;
        const double e = b <= b2 ? b : b2;
        double vl = aol;
        if (b < vl) vl = b;
        if (b2 < vl) vl = b2;

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

    // Net positive feedback somewhere in the band latches the pump whatever the slopes say.
    const bool netPositive =
        std::any_of(r.beta.cbegin(), r.beta.cend(), [](double b) { return std::isinf(b); });
    if (netPositive) {
        r.verdict = Verdict::Unstable;
        r.why = QStringLiteral("R_FP + R_S is not above R_FN: the positive feedback outweighs "
                               "the negative");
    } else if (!crosses(r.aol, r.effective) || !(r.closureFreq < infiniteValue)) {
        r.verdict = Verdict::NotAnalysed;
        r.why = QStringLiteral("The open-loop gain does not cross 1/ß between 1 Hz and 86.6 MHz");
    } else {
        r.verdict = judgeClosure(r.roc, r.fZero, in.pole1, r.closureFreq);
    }

    // The damping zero goes below the load's corner: a load without one needs no network.
    r.suggestDamping = in.inductive && r.fZero < kInf && r.rocMain >= 21;
    if (r.suggestDamping) {
        const double y = r.betaMinus - r.dampingFraction;
        r.rdSuggested = in.rs * y * (in.rfp + in.rin) / (in.rin - y * s);
        r.cdSuggested = 5 / (r.rdSuggested * r.fZero * kTwoPi);
        if (!(r.rdSuggested > 0 && r.rdSuggested < kInf && r.cdSuggested > 0 &&
              r.cdSuggested < kInf))
            r.rdSuggested = r.cdSuggested = nan;
    }

    const double aF = std::pow(10, openLoopGain(in, in.freqHz) / 20);
    const double k = in.rin / (in.rfp + in.rin);
    r.outputImpedance =
        1 / ((1 - (aF / (r.betaMinus * aF + 1)) * k) / in.rs + 1 / (in.rin + in.rfp));
    r.outputCapacitance =
        in.gbwpKHz > 0 ? (in.rfn + in.rin) / (in.gbwpKHz * kTwoPi * 1000 * in.rin * in.rs) : nan;
    const double iMid = (in.iMax + in.iMin) * 0.5;
    const double iPk = (in.iMax - in.iMin) * 0.5;
    r.senseRmsPower = (iMid * iMid + 0.5 * iPk * iPk) * in.rs;

    r.notes = stabilityNotes(r, in.damping);
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

double idealTransconductance(const Resistors &r, bool inv)
{
    return (inv ? -r.rfn : r.rfn) / (r.rin * r.rs);
}

SweepResult sweepLoad(const Resistors &r, const Tolerances &tol, comp zd, bool inv, double zmax)
{
    SweepResult out;
    const double ideal = idealTransconductance(r, inv);
    if (!(zmax > 0 && zmax < infiniteValue)) {
        out.why = zmax > 0 ? QStringLiteral("The load is open: there is no load impedance to sweep")
                           : QStringLiteral("The load impedance is 0: there is nothing to sweep");
        return out;
    }
    if (!(ideal != 0 && std::isfinite(ideal))) {
        out.why = QStringLiteral("The ideal transconductance is 0: the error has no reference");
        return out;
    }
    out.defined = true;
    for (int i = 0; i < 400; ++i) {
        const double z = (i + 1) * zmax / 400;
        const double g = worstCase(r, tol, comp(z, 0), zd, inv);
        out.impedance << z;
        out.errorPercent << std::fabs((g - ideal) / ideal) * 100;
    }
    return out;
}

PumpNote valueNote(const QString &caption, double value, const QString &unit)
{
    if (!std::isfinite(value)) return PumpNote{caption + eng::noResultText(), NoteColour::Red};
    return PumpNote{caption + eng::engString(value, unit)};
}

QVector<PumpNote> transconductanceNotes(double ideal, double actual, double worst)
{
    return {PumpNote{QStringLiteral("Notes:\n")},
            PumpNote{QStringLiteral("TRANSCONDUCTANCE")},
            valueNote(QStringLiteral("\tIdeal: "), ideal, QStringLiteral("A/V")),
            valueNote(QStringLiteral("\tActual: "), actual, QStringLiteral("A/V")),
            valueNote(QStringLiteral("\tWorst Case: "), worst, QStringLiteral("A/V")),
            PumpNote{QStringLiteral("\tSee below for maximum bandwidth")}};
}

namespace {

// "<caption>\n<low> to <high>V", or the placeholder in red when either end is not finite.
PumpNote rangeNote(const QString &caption, double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return PumpNote{caption + eng::noResultText(), NoteColour::Red};
    // A figure without a prefix letter ends in the blank before its (empty) unit; the range
    // reads with one blank before "to".
    return PumpNote{caption + eng::engString(low, QString()).trimmed() + QStringLiteral(" to ") +
                    eng::engString(high, QStringLiteral("V"))};
}

} // namespace

PumpNote inputRange(double iMin, double iMax, double gActual)
{
    // No transconductance, no input voltage that makes the current.
    const double g = gActual == 0 ? std::numeric_limits<double>::quiet_NaN() : gActual;
    return rangeNote(QStringLiteral("V_IN = \n"), iMin / g, iMax / g);
}

PumpNote loadRange(double iMin, double iMax, double zMagnitude)
{
    // No current means no voltage, even across an open load.
    const auto volts = [zMagnitude](double i) { return i == 0 ? 0.0 : zMagnitude * i; };
    return rangeNote(QStringLiteral("V at Load = \n"), volts(iMin), volts(iMax));
}

QVector<PumpNote> bandwidthNotes(double bandwidth)
{
    QVector<PumpNote> n{PumpNote{QStringLiteral("\nMAXIMUM BANDWIDTH")}};
    const bool found = bandwidth < infiniteValue;
    n << valueNote(QStringLiteral("\t"),
                   found ? bandwidth : std::numeric_limits<double>::quiet_NaN(),
                   QStringLiteral("Hz"));
    // A refused loop (NaN) has said why already.
    if (bandwidth == infiniteValue)
        n << PumpNote{QStringLiteral("\tThe loop gain does not fall to 20 dB between 1 Hz and "
                                     "86.6 MHz"),
                      NoteColour::Red};
    n << PumpNote{QStringLiteral("\t(Where Loop Gain falls to 20dB)")};
    return n;
}

} // namespace ihcp
