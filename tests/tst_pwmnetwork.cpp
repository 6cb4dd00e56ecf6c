// The PWM output network (filter ladder with parasitics, matching network, condensed or
// extended load): complex, magnitude-angle and DC evaluations against an independent
// std::complex ladder, textbook Butterworth points and the open/short conventions.
#include "pwmpower/pwmnetwork.h"

#include <QtTest>

#include <cmath>
#include <complex>

using namespace pwmpower;
using cplx = std::complex<double>;

namespace {

constexpr double k2Pi = 6.283185307179586;

Triple t(const char *L, const char *R, const char *C)
{
    return {QString::fromLatin1(L), QString::fromLatin1(R), QString::fromLatin1(C)};
}

// The window's defaults: empty filter, no matching network, L5 open.
Network emptyNetwork()
{
    Network n;
    for (Triple &p : n.P)
        p = t("0", "0", "0");
    n.MN = t("0", "0", "0");
    n.L[0] = n.L[1] = t("0", "0", "short");
    n.L[2] = n.L[3] = t("0", "0", "0");
    n.L[4] = t("0", "open", "short");
    return n;
}

// A fourth-order filter with parasitics on every part, a matching network and a 15 ohm
// inductive load.
Network realisticNetwork(FilterType type, bool extended)
{
    Network n = emptyNetwork();
    n.order = 4;
    n.type = type;
    n.P[0] = t("470u", "20m", "100p");
    n.P[1] = t("15n", "10m", "4.7u");
    n.P[2] = t("220u", "15m", "47p");
    n.P[3] = t("10n", "50m", "1u");
    n.MN = t("0", "15", "2.2u");
    n.L[4] = t("1m", "15", "short");
    if (extended) {
        n.extendedLoad = true;
        n.L[0] = t("10u", "0.5", "short"); // cable in series
        n.L[1] = t("0", "open", "short");  // nothing across it
        n.L[2] = t("0", "1k", "10n");      // snubber across the load
        n.L[3] = t("0", "0", "0");
    }
    return n;
}

// ---- an independent reference: the same ladder with std::complex, parts written out

double value(const QString &s)
{
    if (s == "open") return 4294967295.0;
    if (s == "short" || s == "0") return 0;
    const QChar last = s.at(s.size() - 1);
    double scale = 1;
    QString num = s;
    if (!last.isDigit()) {
        num.chop(1);
        const char c = last.toLatin1();
        scale = c == 'm'   ? 1e-3
                : c == 'u' ? 1e-6
                : c == 'n' ? 1e-9
                : c == 'p' ? 1e-12
                : c == 'k' ? 1e3
                           : 1;
    }
    return num.toDouble() * scale;
}

// Admittance of a capacitance text at w: "short" conducts, "open" / "0" do not.
cplx capAdmittance(const QString &c, double w)
{
    if (c == "short") return cplx(0, 4294967295.0);
    return cplx(0, w * value(c));
}

cplx seriesZ(const Triple &p, double w)
{
    const cplx y = capAdmittance(p.C, w);
    const cplx zc = y == cplx(0, 0) ? cplx(0, -HUGE_VAL) : 1.0 / y;
    return cplx(value(p.R), w * value(p.L)) + zc;
}

cplx inductorZ(const Triple &p, double w)
{
    return 1.0 / (1.0 / cplx(value(p.R), w * value(p.L)) + capAdmittance(p.C, w));
}

cplx par(cplx a, cplx b)
{
    if (std::isinf(std::abs(a))) return b;
    if (std::isinf(std::abs(b))) return a;
    return a * b / (a + b);
}

struct Reference
{
    cplx T, Ztot, Zload;
    double loss = 0; // filter elements, per volt^2 of drive amplitude
};

// The whole ladder; missing inductors are shorts, missing capacitors open.
Reference reference(const Network &n, double f)
{
    const double w = k2Pi * f;
    const double sf = n.seriesFactor(), pf = n.shuntFactor();
    const cplx open(0, -HUGE_VAL);
    cplx z[6];
    for (int k = 0; k < 6; ++k) {
        if (k >= n.order)
            z[k] = k % 2 == 0 ? cplx(0, 0) : open;
        else
            z[k] = k % 2 == 0 ? inductorZ(n.P[k], w) * sf : seriesZ(n.P[k], w) * pf;
    }
    cplx load = seriesZ(n.L[4], w);
    if (n.extendedLoad)
        load = par(seriesZ(n.L[0], w), seriesZ(n.L[1], w)) +
               par(par(seriesZ(n.L[2], w), seriesZ(n.L[3], w)), seriesZ(n.L[4], w));
    const cplx node3 = par(par(load, seriesZ(n.MN, w)), z[5]);
    const cplx zb = node3 + z[4];
    const cplx zd = par(zb, z[3]) + z[2];
    const cplx ztot = par(zd, z[1]) + z[0];
    cplx i[6];
    i[0] = 1.0 / ztot;
    const cplx v1 = 1.0 - i[0] * z[0];
    i[1] = v1 / z[1];
    i[2] = v1 / zd;
    const cplx v2 = v1 - i[2] * z[2];
    i[3] = v2 / z[3];
    i[4] = v2 / zb;
    const cplx v3 = v2 - i[4] * z[4];
    i[5] = v3 / z[5];
    Reference r;
    r.T = v3;
    r.Ztot = ztot;
    r.Zload = load;
    for (int k = 0; k < n.order; ++k)
        r.loss += 0.5 * std::norm(i[k]) * z[k].real();
    return r;
}

// Sixth order, every part with parasitics.
Network sixthOrder(FilterType type)
{
    Network n = realisticNetwork(type, false);
    n.order = 6;
    n.P[4] = t("100u", "8m", "22p");
    n.P[5] = t("5n", "30m", "470n");
    return n;
}

bool near(double a, double b, double rel)
{
    return std::abs(a - b) <= rel * std::max(std::abs(b), 1e-300) || std::abs(a - b) < 1e-12;
}

double degrees(cplx z)
{
    return std::atan(z.imag() / z.real()) * 180 / 3.141592653589793;
}

} // namespace

Q_DECLARE_METATYPE(pwmpower::Network)

class TestPwmNetwork : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithComplexLadder_data();
    void agreesWithComplexLadder();
    void butterworthSecondOrder();
    void orderZeroIsLoadAndMatchingNetwork();
    void lineFactors();
    void capacitorWords_data();
    void capacitorWords();
    void openInductance();
    void unloadedNodeStaysDefined();
    void selfResonance();
    void angleLimits();
    void driveKinds();
    void extendedNeutralEqualsCondensed();
    void dcModel_data();
    void dcModel();
};

void TestPwmNetwork::agreesWithComplexLadder_data()
{
    QTest::addColumn<Network>("net");
    QTest::addColumn<double>("f");
    QTest::newRow("single-ended, 1 kHz") << realisticNetwork(FilterType::SingleEnded, false) << 1e3;
    QTest::newRow("split-inductor, 20 kHz")
        << realisticNetwork(FilterType::SplitInductor, false) << 20e3;
    QTest::newRow("dual-capacitor, 5 kHz")
        << realisticNetwork(FilterType::DualCapacitor, false) << 5e3;
    QTest::newRow("extended load, 500 kHz")
        << realisticNetwork(FilterType::SplitInductor, true) << 500e3;
    QTest::newRow("sixth order, dual-capacitor, 30 kHz")
        << sixthOrder(FilterType::DualCapacitor) << 30e3;
    QTest::newRow("sixth order, single-ended, 2 MHz") << sixthOrder(FilterType::SingleEnded) << 2e6;
    QTest::newRow("extended load, 60 Hz")
        << realisticNetwork(FilterType::SingleEnded, true) << 60.0;
}

// The comp ladder, the magnitude-angle ladder and the loss all against std::complex.
void TestPwmNetwork::agreesWithComplexLadder()
{
    QFETCH(Network, net);
    QFETCH(double, f);
    const Reference ref = reference(net, f);

    const Transfer tr = transferAt(net, f);
    QVERIFY(near(tr.Tfil.real(), ref.T.real(), 1e-9));
    QVERIFY(near(tr.Tfil.imag(), ref.T.imag(), 1e-9));
    QVERIFY(near(tr.Ztot.real(), ref.Ztot.real(), 1e-9));
    QVERIFY(near(tr.Ztot.imag(), ref.Ztot.imag(), 1e-9));
    QVERIFY(near(tr.Zload.real(), ref.Zload.real(), 1e-9));
    QVERIFY(near(tr.Zload.imag(), ref.Zload.imag(), 1e-9));

    const double drive = 24;
    const AcResult ac = acResponse(net, f, drive, Drive::Voltage);
    QVERIFY2(near(ac.Vload, drive * std::abs(ref.T), 1e-9),
             qPrintable(QString("%1 vs %2").arg(ac.Vload).arg(drive * std::abs(ref.T))));
    QVERIFY(near(ac.Zout, std::abs(ref.Ztot), 1e-9));
    QVERIFY(near(ac.Aout, degrees(ref.Ztot), 1e-9));
    QVERIFY(near(ac.Zload, std::abs(ref.Zload), 1e-9));
    QVERIFY(near(ac.Aload, degrees(ref.Zload), 1e-9));

    // A current drive of I amperes is a voltage drive of I |Ztot|.
    const AcResult ci = acResponse(net, f, 2, Drive::Current);
    QVERIFY(near(ci.Vload, 2 * std::abs(ref.Ztot) * std::abs(ref.T), 1e-9));

    QVERIFY(near(filterLoss(net, f, drive), drive * drive * ref.loss, 1e-9));
}

// Textbook: the second-order Butterworth ladder (1.4142 R / wc, 0.7071 / (wc R)) into its
// 15 ohm load is 3.01 dB down at the cutoff and 40 dB down a decade above.
void TestPwmNetwork::butterworthSecondOrder()
{
    Network n = emptyNetwork();
    n.order = 2;
    n.type = FilterType::SplitInductor;
    n.P[0] = t("844.05u", "0", "0"); // per line: 1.6881 mH in all
    n.P[1] = t("0", "0", "3.7513u");
    n.L[4] = t("0", "15", "short");
    const double atCut = std::abs(
        std::complex<double>(transferAt(n, 2000).Tfil.real(), transferAt(n, 2000).Tfil.imag()));
    QVERIFY2(std::abs(atCut - 1 / std::sqrt(2.0)) < 1e-4, qPrintable(QString::number(atCut)));
    const AcResult at20k = acResponse(n, 20000, 1, Drive::Voltage);
    QVERIFY2(std::abs(20 * std::log10(at20k.Vload) + 40) < 0.01,
             qPrintable(QString::number(at20k.Vload)));
    QVERIFY(near(filterLoss(n, 2000, 10), 0, 0)); // ideal parts lose nothing
}

void TestPwmNetwork::orderZeroIsLoadAndMatchingNetwork()
{
    Network n = emptyNetwork();
    n.P[0] = t("1m", "5", "0"); // present in the triples, but not in an order-0 network
    n.L[4] = t("0", "10", "short");
    n.MN = t("0", "10", "short");
    const Transfer tr = transferAt(n, 1000);
    QVERIFY(std::abs(tr.Tfil.real() - 1) < 1e-9 && std::abs(tr.Tfil.imag()) < 1e-9);
    QVERIFY(std::abs(tr.Ztot.real() - 5) < 1e-6); // 10 || 10
    const AcResult ac = acResponse(n, 1000, 1, Drive::Voltage);
    QVERIFY(std::abs(ac.Vload - 1) < 1e-9);
    QVERIFY(std::abs(ac.Zout - 5) < 1e-6);
    QCOMPARE(filterLoss(n, 1000, 1), 0.0);
}

// Order 2 into 10 ohm: Ztot = Z1 + (Z2 || Zload). Split inductor doubles Z1 only, dual
// capacitor doubles both.
void TestPwmNetwork::lineFactors()
{
    Network n = emptyNetwork();
    n.order = 2;
    n.P[0] = t("100u", "0.1", "0");
    n.P[1] = t("0", "0.2", "2u");
    n.L[4] = t("0", "10", "short");
    const double f = 3000, w = k2Pi * f;
    const cplx z1(0.1, w * 100e-6), z2(0.2, -1 / (w * 2e-6)), zl(10, -1 / 4294967295.0);
    const struct
    {
        FilterType type;
        double s, p;
    } rows[] = {{FilterType::SingleEnded, 1, 1},
                {FilterType::SplitInductor, 2, 1},
                {FilterType::DualCapacitor, 2, 2}};
    for (const auto &row : rows) {
        n.type = row.type;
        const cplx expected = z1 * row.s + par(z2 * row.p, zl);
        const Transfer tr = transferAt(n, f);
        QVERIFY(near(tr.Ztot.real(), expected.real(), 1e-9));
        QVERIFY(near(tr.Ztot.imag(), expected.imag(), 1e-9));
        QVERIFY(near(acResponse(n, f, 0, Drive::Voltage).Zout, std::abs(expected), 1e-9));
    }
}

void TestPwmNetwork::capacitorWords_data()
{
    QTest::addColumn<QString>("capacitance");
    QTest::addColumn<bool>("acShort");
    QTest::addColumn<bool>("dcConducts");
    QTest::newRow("short") << "short" << true << true;
    QTest::newRow("open") << "open" << false << false;
    QTest::newRow("zero") << "0" << false << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("none reads as infinite capacitance") << "none" << true << false;
    QTest::newRow("inf") << "inf" << true << false;
}

// The only capacitor across a 10 ohm load, with no parasitics.
void TestPwmNetwork::capacitorWords()
{
    QFETCH(QString, capacitance);
    QFETCH(bool, acShort);
    QFETCH(bool, dcConducts);
    Network n = emptyNetwork();
    n.order = 2;
    n.P[1] = Triple{"0", "0", capacitance};
    n.L[4] = t("0", "10", "short");
    const Transfer tr = transferAt(n, 1000);
    if (acShort) {
        QVERIFY(tr.Ztot.magnitude() < 1e-6);
        QVERIFY(tr.Ztot.imag() <= 0); // what is left of it is capacitive
    } else {
        QVERIFY(std::abs(tr.Ztot.real() - 10) < 1e-6);
    }
    const DcResult dc = dcResponse(n, 1, Drive::Voltage);
    if (dcConducts)
        QCOMPARE(dc.Rtot, 0.0);
    else
        QVERIFY(std::abs(dc.Rtot - 10) < 1e-6);
}

// An inductance typed "open" is 4294967295 H for AC (huge but finite) and an open part at DC.
void TestPwmNetwork::openInductance()
{
    Network n = emptyNetwork();
    n.order = 1;
    n.P[0] = t("open", "1", "0");
    n.L[4] = t("0", "10", "short");
    const Transfer tr = transferAt(n, 1);
    QVERIFY(std::abs(tr.Ztot.imag() - k2Pi * 4294967295.0) < 1);
    QVERIFY(std::isfinite(tr.Ztot.imag()));
    const DcResult dc = dcResponse(n, 1, Drive::Voltage);
    QVERIFY(std::abs(dc.Rtot - (4294967295.0 + 10)) < 1e-3);
    QVERIFY(dc.Vload < 1e-8);
}

// Load capacitance "open", no matching network, order 2: the load node has no admittance.
// The amplifier sees Z1 + Z2, the load node shows the unloaded LC resonance, nothing is NaN.
void TestPwmNetwork::unloadedNodeStaysDefined()
{
    Network n = emptyNetwork();
    n.order = 2;
    n.P[0] = t("100u", "0.1", "0");
    n.P[1] = t("0", "0.05", "1u");
    n.L[4] = t("0", "10", "open");
    const double f0 = 1 / (k2Pi * std::sqrt(100e-6 * 1e-6)); // 15.9 kHz
    for (double f : {100.0, f0, 100e3}) {
        const double w = k2Pi * f;
        const cplx z1(0.1, w * 100e-6), z2(0.05, -1 / (w * 1e-6));
        const AcResult ac = acResponse(n, f, 1, Drive::Voltage);
        QVERIFY(near(ac.Zout, std::abs(z1 + z2), 1e-9));
        QVERIFY(near(ac.Vload, std::abs(z2 / (z1 + z2)), 1e-9));
        const double loss = filterLoss(n, f, 1);
        QVERIFY(std::isfinite(loss));
        QVERIFY(near(loss, 0.5 * std::norm(1.0 / (z1 + z2)) * 0.15, 1e-9));
        QCOMPARE(ac.Aload, -90.0);
    }
    // The resonance: the load node rises to Q = sqrt(L/C)/R = 10/0.15 times the drive.
    QVERIFY(acResponse(n, f0, 1, Drive::Voltage).Vload > 60);
}

// An inductor with capacitance across it and no resistance resonates at 1/(2 pi sqrt(LC)):
// its impedance peaks there and turns from inductive to capacitive.
void TestPwmNetwork::selfResonance()
{
    Network n = emptyNetwork();
    n.order = 1;
    n.P[0] = t("1m", "0", "1n");
    n.L[4] = t("0", "10", "short");
    const double f0 = 1 / (k2Pi * std::sqrt(1e-3 * 1e-9)); // 159.15 kHz
    const AcResult below = acResponse(n, f0 * 0.99, 1, Drive::Voltage);
    const AcResult above = acResponse(n, f0 * 1.01, 1, Drive::Voltage);
    const AcResult at = acResponse(n, f0, 1, Drive::Voltage);
    QVERIFY(at.Zout > 1e6 && at.Zout > 1000 * below.Zout && at.Zout > 1000 * above.Zout);
    QVERIFY(below.Aout > 80 && above.Aout < -80);
    // The complex ladder sees the same resonance, and no resistance means no loss.
    QVERIFY(transferAt(n, f0).Ztot.magnitude() > 1e6);
    QVERIFY(transferAt(n, f0).Tfil.magnitude() < 1e-3);
    for (double f : {f0 * 0.99, f0 * 1.01}) {
        const Transfer tr = transferAt(n, f);
        const AcResult ac = acResponse(n, f, 1, Drive::Voltage);
        QVERIFY(near(tr.Ztot.magnitude(), ac.Zout, 1e-9));
        QVERIFY(near(tr.Tfil.magnitude(), ac.Vload, 1e-9));
    }
    QVERIFY(std::abs(filterLoss(n, f0, 1)) < 1e-12);
}

void TestPwmNetwork::angleLimits()
{
    Network n = emptyNetwork();
    n.L[4] = t("0", "0", "1u");
    QCOMPARE(acResponse(n, 1000, 1, Drive::Voltage).Aload, -90.0);
    n.L[4] = t("1m", "0", "short");
    QVERIFY(std::abs(acResponse(n, 1000, 1, Drive::Voltage).Aload - 90) < 1e-6);
    Network r = realisticNetwork(FilterType::DualCapacitor, true);
    for (double f = 1; f < 1e7; f *= 3.7) {
        const AcResult ac = acResponse(r, f, 1, Drive::Voltage);
        QVERIFY(ac.Aout >= -90 && ac.Aout <= 90);
        QVERIFY(ac.Aload >= -90 && ac.Aload <= 90);
    }
}

// Any drive other than 'V' or 'I' gives no voltages but every impedance; a zero drive too.
void TestPwmNetwork::driveKinds()
{
    QCOMPARE(driveFromChar('V'), Drive::Voltage);
    QCOMPARE(driveFromChar('I'), Drive::Current);
    QCOMPARE(driveFromChar('x'), Drive::None);
    const Network n = realisticNetwork(FilterType::SingleEnded, false);
    const AcResult v = acResponse(n, 20e3, 10, Drive::Voltage);
    for (const AcResult &r :
         {acResponse(n, 20e3, 10, Drive::None), acResponse(n, 20e3, 0, Drive::Voltage),
          acResponse(n, 20e3, 0, Drive::Current)}) {
        QCOMPARE(r.Vload, 0.0);
        QCOMPARE(r.Zout, v.Zout);
        QCOMPARE(r.Aout, v.Aout);
        QCOMPARE(r.Zload, v.Zload);
        QCOMPARE(r.Aload, v.Aload);
    }
    QCOMPARE(dcResponse(n, 10, Drive::None).Vload, 0.0);
}

// L1, L2 shorted and L3, L4 open leave the extended load equal to L5 alone. (At DC an open
// branch is 4294967295 ohm, so two of them across 15 ohm move it by 7e-9 of its value.)
void TestPwmNetwork::extendedNeutralEqualsCondensed()
{
    Network condensed = realisticNetwork(FilterType::SplitInductor, false);
    Network extended = condensed;
    extended.extendedLoad = true;
    for (double f : {0.0, 50.0, 2e3, 20e3, 1e6}) {
        const Transfer a = transferAt(condensed, f), b = transferAt(extended, f);
        QVERIFY(near(b.Tfil.real(), a.Tfil.real(), 1e-9));
        QVERIFY(near(b.Tfil.imag(), a.Tfil.imag(), 1e-9));
        QVERIFY(near(b.Ztot.magnitude(), a.Ztot.magnitude(), 1e-9));
        QVERIFY(near(b.Zload.magnitude(), a.Zload.magnitude(), 1e-9));
        const AcResult x = acResponse(condensed, f, 5, Drive::Voltage);
        const AcResult y = acResponse(extended, f, 5, Drive::Voltage);
        QVERIFY(near(y.Vload, x.Vload, 1e-9));
        QVERIFY(near(y.Zout, x.Zout, 1e-9));
        QVERIFY(near(y.Zload, x.Zload, 1e-9));
        QVERIFY(std::abs(y.Aload - x.Aload) < 1e-9);
        QVERIFY(near(filterLoss(extended, f, 5), filterLoss(condensed, f, 5), 1e-9));
    }
    const DcResult a = dcResponse(condensed, 1, Drive::Voltage);
    const DcResult b = dcResponse(extended, 1, Drive::Voltage);
    QVERIFY(near(b.Rload, a.Rload, 1e-8));
    QVERIFY(near(b.Vload, a.Vload, 1e-8));
}

void TestPwmNetwork::dcModel_data()
{
    QTest::addColumn<Network>("net");
    QTest::addColumn<double>("gain");
    QTest::addColumn<double>("rtot");
    QTest::addColumn<double>("rload");

    // Every part that blocks DC (a capacitor, a missing capacitor, the matching network) still
    // leaks 1/4294967295 S; k of them across r give 1 / (k g + 1/r).
    const double g = 1 / 4294967295.0;
    auto leak = [g](int k, double r) { return 1 / (k * g + 1 / r); };

    // Hand derivation: 2 x 0.1 ohm of split inductor into 10 ohm, four leaking shunts
    // (matching network, missing P6 and P4, blocking P2).
    Network a = emptyNetwork();
    a.order = 2;
    a.type = FilterType::SplitInductor;
    a.P[0] = t("100u", "0.1", "0");
    a.P[1] = t("0", "0.05", "2u");
    a.L[4] = t("1m", "10", "short");
    const double node = leak(4, 10);
    QTest::newRow("split inductor into 10 ohm") << a << node / (node + 0.2) << node + 0.2 << 10.0;

    // A matching network of series R and C carries no DC: nothing changes.
    Network b = a;
    b.MN = t("0", "10", "2.2u");
    QTest::newRow("matching network blocks") << b << node / (node + 0.2) << node + 0.2 << 10.0;

    // Parasitic capacitance typed "short" shorts the inductor at DC.
    Network c = a;
    c.P[0] = t("100u", "0.1", "short");
    QTest::newRow("inductor shorted") << c << 1.0 << node << 10.0;

    // A capacitor that conducts ("short") across the load: 0.05 ohm || 10 ohm.
    Network d = a;
    d.P[1] = t("0", "0.05", "short");
    d.type = FilterType::SingleEnded;
    const double nodeD = 1 / (1 / 0.05 + 1 / leak(3, 10));
    QTest::newRow("capacitor shorted") << d << nodeD / (nodeD + 0.1) << nodeD + 0.1 << 10.0;

    // Extended, no filter: (L1 || L2) + (L3 || L4 || L5) = (2 || 2) + (6 || 3 || open).
    Network e = emptyNetwork();
    e.extendedLoad = true;
    e.L[0] = t("0", "2", "short");
    e.L[1] = t("0", "2", "short");
    e.L[2] = t("0", "6", "short");
    e.L[3] = t("0", "3", "short");
    e.L[4] = t("open", "1", "short");
    const double rl = 1 / (1 / 6.0 + 1 / 3.0 + g) + 1.0;
    QTest::newRow("extended load") << e << 1.0 << leak(4, rl) << rl;

    // Everything shorted: no resistance to drop a voltage across, the gain stays 1.
    Network f = emptyNetwork();
    f.order = 1;
    f.L[4] = t("0", "0", "short");
    QTest::newRow("all shorted") << f << 1.0 << 0.0 << 0.0;
}

void TestPwmNetwork::dcModel()
{
    QFETCH(Network, net);
    QFETCH(double, gain);
    QFETCH(double, rtot);
    QFETCH(double, rload);
    const DcResult v = dcResponse(net, 1, Drive::Voltage);
    QVERIFY2(near(v.Vload, gain, 1e-12), qPrintable(QString::number(v.Vload, 'g', 17)));
    QVERIFY2(near(v.Rtot, rtot, 1e-12), qPrintable(QString::number(v.Rtot, 'g', 17)));
    QVERIFY(near(v.Rload, rload, 1e-12));
    QVERIFY(near(dcResponse(net, 12, Drive::Voltage).Vload, 12 * gain, 1e-12));
    // A current drive of 2 A: the node behind R1 is at 2 (Rtot - R1).
    const DcResult i = dcResponse(net, 2, Drive::Current);
    QVERIFY(std::isfinite(i.Vload));
}

QTEST_GUILESS_MAIN(TestPwmNetwork)
#include "tst_pwmnetwork.moc"
