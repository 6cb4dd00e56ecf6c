#include "soa/soathermal.h"

#include "values/engvalues.h"

#include <QtGlobal>

#include <cmath>

namespace soa {

namespace {

const char kSeeDatasheet[] = "See datasheet for details.";

bool present(double v)
{
    return std::fabs(v) > 0.0001;
}

bool nameIn(const QString &name, std::initializer_list<const char *> names)
{
    for (const char *n : names)
        if (name == QLatin1String(n)) return true;
    return false;
}

// The part's current-limit circuit with its resistors, evaluated at an output voltage.
struct CurrentLimit
{
    enum Kind { None, Internal, Foldover, SenseWithRb, Sense } kind = None;
    double vbeT = 0; // sense voltage at the case temperature
    double vbe = 0, clint = 0, rb = 0, rfold = 0;
    double rcl = 0, rfo = 0;
    double offset = 0;

    double at(double vo) const
    {
        switch (kind) {
        case Internal:
            return vbeT * clint / vbe + offset;
        case Foldover:
            return ((rb * vo / 2) / ((rb + rfold) / 2 + rfo) + vbeT) / rcl + offset;
        case SenseWithRb:
            return (rb * vo / (rb + rfo) + vbeT) / rcl + offset;
        case Sense:
            return vbeT / rcl + offset;
        case None:
            break;
        }
        return infiniteValue;
    }
};

CurrentLimit currentLimit(const amp &part, const ThermalInput &in, double rcl, double tc)
{
    CurrentLimit cl;
    cl.vbe = part.getVbe();
    cl.clint = part.getCLint();
    cl.rb = part.getRb();
    cl.rfold = part.getRfoldover();
    cl.vbeT = cl.vbe - (tc - 25) * 0.0022;
    cl.rfo = in.rfoText == QLatin1String("open") ? infiniteValue : in.rfo;
    cl.rcl = in.rclText == QLatin1String("open") ? infiniteValue : rcl;

    const QString name = part.getAmpName();
    if (nameIn(name, {"LX43", "LX44", "KW363"})) {
        cl.offset = 0.022;
    } else if (nameIn(name, {"LX307", "LX307A"})) {
        cl.offset = 0.54;
    } else if (nameIn(name, {"LX49", "LX49A", "LX60", "LX60A"})) {
        cl.offset = 0.016;
    } else if (nameIn(name, {"LX33", "LX33A"})) {
        cl.rcl += 0.01; // the part's internal sense path in series with the resistor
    }

    const bool noResistor = in.rclText == QLatin1String("short") || rcl == 0;
    if (present(cl.clint))
        cl.kind = CurrentLimit::Internal;
    else if (noResistor)
        cl.kind = CurrentLimit::None;
    else if (present(cl.rb) && present(cl.rfold) && present(cl.vbe))
        cl.kind = CurrentLimit::Foldover;
    else if (present(cl.rb) && !present(cl.rfold) && present(cl.vbe))
        cl.kind = CurrentLimit::SenseWithRb;
    else if (!present(cl.rb) && !present(cl.rfold) && present(cl.vbe))
        cl.kind = CurrentLimit::Sense;
    return cl;
}

QString heatsinkFreeText(const QString &package)
{
    if (package == QLatin1String("DK") || package == QLatin1String("DF"))
        return QStringLiteral("1 square inch foil");
    if (package == QLatin1String("CC")) return QStringLiteral("foil - see datasheet");
    return QStringLiteral("none");
}

bool hasFoilOption(const QString &package)
{
    return package == QLatin1String("DK") || package == QLatin1String("DF") ||
           package == QLatin1String("CC");
}

} // namespace

ThermalResult analysePower(const LoadLineResult &line, const ThermalInput &in, const amp &part)
{
    ThermalResult r;
    const double fk = in.freqHz / 1000;
    const int N = qMax(1, in.parallel);
    const bool bridge = in.bridgeSame || in.bridgeInverted;
    const bool several = bridge || N > 1;
    const QString name = part.getAmpName();

    // 1. Quiescent power of one amplifier.
    const double iq = part.getIq_max() + part.getIq_vF() * fk; // mA
    double span = in.vsPos - in.vsNeg;
    if (in.boost) span += 2 * part.getBoost(0);
    r.Pq = iq / 1000 * span;
    if (name == QLatin1String("LX300")) {
        r.Pq = (iq + fk * fk * 0.000025) / 1000 * (in.vsPos - in.vsNeg) + 0.63;
        r.notes.append({QStringLiteral("Warning: LX300 Supply Current is highly dependent on "
                                       "signal frequency and may rise to over 1 Ampere, even "
                                       "unloaded. This behavior is modeled in Ampwright"),
                        false});
    } else if (name == QLatin1String("LX43") || name == QLatin1String("LX44")) {
        r.notes.append({QStringLiteral("Warning: LX43/44 Supply Current is dependent on both "
                                       "signal frequency and common mode voltage. The analysis "
                                       "above assumes a common mode input voltage of 6 Vp-p."),
                        false});
    }

    // 2. Power report.
    const double pload = line.PloadAvg;
    const double pamp = line.PampAvg;
    r.inputPower = bridge ? 2 * pamp * N + pload : pamp * N + pload;
    r.totalPower = bridge ? (2 * pamp + 2 * r.Pq) * N + pload : (pamp + r.Pq) * N + pload;

    const double A = line.A, B = line.B, C0 = line.C0;
    const double imax = line.maxIout, imin = line.minIout;
    double vmax = line.maxVout, vmin = line.minVout;
    if (in.bridgeSame) {
        const double m = qMax(std::fabs(vmax), std::fabs(vmin));
        r.efficientVsPos = A * imax * imax + B * imax + C0 + m / 2;
        r.efficientVsNeg = -m / 2 - C0 + B * imin - A * imin * imin;
    } else {
        if (in.bridgeInverted) {
            vmax /= 2;
            vmin /= 2;
        }
        r.efficientVsPos = A * imax * imax + B * imax + C0 + vmax;
        r.efficientVsNeg = vmin - C0 + B * imin - A * imin * imin;
    }

    const QString perAmp = several ? QStringLiteral(" per amplifier") : QString();
    const QString total = several ? QStringLiteral(" total") : QString();
    r.powerDetails << QStringLiteral("\nLoad Power: \t\t") + figureText(pload, "W RMS")
                   << QStringLiteral("Amplifier Power (w/o quiescent): \t") +
                          figureText(pamp, "W RMS") + perAmp
                   << QStringLiteral("Input Power (w/o quiescent): \t") +
                          figureText(r.inputPower, "W") + total
                   << QStringLiteral("Quiescent Power: \t") + figureText(r.Pq, "W") + perAmp
                   << QStringLiteral("Total Power: \t\t") + figureText(r.totalPower, "W") +
                          total
                   << QStringLiteral("\nMost Efficient Supplies: \t") +
                          figureText(r.efficientVsPos, "V and ") +
                          figureText(r.efficientVsNeg, "V");

    // 3. Resistor ratings.
    const double rcl = in.rclText == QLatin1String(kSeeDatasheet) ? 0 : in.rcl;
    if (rcl != 0 && std::isfinite(rcl))
        r.powerDetails << QStringLiteral("\nSuggested Power Rating for R_CL: \t>") +
                              figureText(part.getVbe() * part.getVbe() * 1.414 / rcl, "W");
    if (N > 1)
        r.powerDetails << QStringLiteral("\nSuggested Power Rating for R_CS: \t>") +
                              figureText(2 * line.IampAvg * line.IampAvg * in.rCS, "W");

    // 4. Thermal resistance and dissipation.
    const int shown = line.points * line.cycles;
    const bool oneWay = shown > 0 && std::abs(line.direction) / double(shown) >= 0.9;
    if (fk <= 0.06 || oneWay || !line.connected) {
        r.acBidirectional = false;
        r.Rjc = part.getRtheta_DC();
        r.Pj = line.PampPeak + 0.1 * r.Pq;
    } else {
        r.acBidirectional = true;
        r.Rjc = part.getRtheta_AC();
        r.Pj = pamp + 0.1 * r.Pq;
    }
    r.Pd = r.Pj + 0.9 * r.Pq;
    r.TcMax = qMin(part.getTc_max(), part.getTj_max() - r.Rjc * r.Pj);

    // 5. Heatsink needed.
    const QString package = part.getPackageStyle();
    r.Tc0 = (part.getRtheta_JA() - r.Rjc) * r.Pd + in.ambient;
    if (!std::isfinite(r.Tc0) || !std::isfinite(r.TcMax)) {
        r.Rhs = std::nan("");
        r.minHeatsinkText = eng::noResultText();
    } else if (r.Tc0 <= r.TcMax) {
        r.minHeatsinkText = heatsinkFreeText(package);
    } else {
        r.heatsinkNeeded = true;
        r.Rhs = (r.TcMax - in.ambient) / r.Pd - in.compound;
        r.minHeatsinkText =
            !isFigure(r.Rhs) ? eng::noResultText()
            : r.Rhs > 0           ? eng::number2String(eng::roundTo3Sig(r.Rhs))
                                  : eng::number2String(-eng::roundTo3Sig(std::fabs(r.Rhs)));
    }

    // 6. Case and junction temperature with the heatsink given. An open heatsink ("open",
    // "inf", foil on a package without a foil option) takes no heat: the part runs without.
    if (in.heatsinkText == QLatin1String("none") ||
        (in.heatsinkText == QLatin1String("foil") && hasFoilOption(package)) ||
        in.heatsink >= infiniteValue) {
        r.Tc = r.Tc0;
        r.Tj = part.getRtheta_JA() * r.Pj + in.ambient;
    } else {
        r.Tc = (in.heatsink + in.compound) * r.Pd + in.ambient;
        r.Tj = r.Tc + r.Rjc * r.Pj;
    }

    // 7. Current limit, at the sense voltage of the case temperature just found.
    if (name == QLatin1String("LX61") || name == QLatin1String("LX61A")) {
        r.rclSeeDatasheet = true;
        return r;
    }
    // The sense voltage follows the case temperature, and the limit the resistors.
    if (!std::isfinite(r.Tc) || std::isnan(rcl) || std::isnan(in.rfo)) return r;
    const CurrentLimit cl = currentLimit(part, in, rcl, r.Tc);
    if (cl.kind == CurrentLimit::None) return r;
    r.limitExists = true;
    const double spread = in.rangePercent / 100.0;
    const int firstPeriod = qMin(line.points, line.I.size());
    for (int j = 0; j < firstPeriod; ++j) {
        if (line.I.at(j) >= 0 && line.Iamp.at(j) > (1 - spread) * cl.at(line.Vo.at(j)))
            r.limitActivates = true;
    }
    for (int k = 0; k < 100; ++k) {
        const double vo = in.vsNeg + k * (in.vsPos - in.vsNeg) / 100;
        const double limit = cl.at(vo);
        r.bandX.append(in.vsPos - vo);
        r.bandUpper.append((1 + spread) * limit);
        r.bandLower.append((1 - spread) * limit);
        if (!std::isfinite(r.bandX.last()) || !std::isfinite(r.bandUpper.last()) ||
            !std::isfinite(r.bandLower.last())) {
            // A limit that overflows (a sense resistor of next to nothing) has no band to draw.
            r.limitExists = r.limitActivates = false;
            r.bandX.clear();
            r.bandUpper.clear();
            r.bandLower.clear();
            return r;
        }
    }
    if (r.limitActivates)
        r.notes.append(
            {QStringLiteral("!!! Current Limit Should Not Activate During Normal Operation !!!"),
             true});
    return r;
}

} // namespace soa
