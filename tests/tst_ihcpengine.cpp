// The Howland pump engine: transconductance, worst case, automatic design, loop analysis,
// load sweep and the schematic's value texts. References that do not come from the engine's
// own formulas are a nodal solution of the pump with an ideal amplifier (solved here by
// Cramer's rule) and closed forms derived by hand in the rows that use them.
#include "ihcp/pumpcheck.h"
#include "ihcp/pumplabels.h"
#include "ihcp/pumploop.h"
#include "ihcp/pumpmodel.h"
#include "pumpnodal.h"
#include "values/engvalues.h"

#include <QtTest>

#include <cmath>
#include <complex>
#include <limits>

using namespace ihcp;
using cplx = std::complex<double>;

namespace {

// Load current per input volt of the pump, by nodal analysis with an ideal amplifier
// (both inputs at v). Unknowns v, vo (amplifier output), vl (load node); admittances
// yl and yd of the load and the damping branch.
double nodalTransconductance(const Resistors &r, cplx yl, cplx yd, bool inv)
{
    const double sInv = inv ? 1 : 0, sNon = inv ? 0 : 1;
    const cplx a[3][3] = {{-1 / r.rin - 1 / r.rfn, 1 / r.rfn, 0},
                          {-1 / r.rip - 1 / r.rfp, 0, 1 / r.rfp},
                          {1 / r.rfp, 1 / r.rs, -1 / r.rs - yl - yd - 1 / r.rfp}};
    const cplx b[3] = {-sInv / r.rin, -sNon / r.rip, 0};
    const auto det = [](const cplx m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    cplx m[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = j == 2 ? b[i] : a[i][j];
    const cplx vl = det(m) / det(a);
    return std::real(vl * yl);
}

cplx admittance(comp z)
{
    return cplx(1, 0) / cplx(z.real(), z.imag());
}

// Worst case by brute force over the nodal solution.
double nodalWorstCase(const Resistors &r, const Tolerances &t, cplx yl, cplx yd, bool inv)
{
    const double g0 = nodalTransconductance(r, yl, yd, inv);
    double best = g0, far = 0;
    for (int d0 = -1; d0 <= 1; ++d0)
        for (int d1 = -1; d1 <= 1; ++d1)
            for (int d2 = -1; d2 <= 1; ++d2)
                for (int d3 = -1; d3 <= 1; ++d3)
                    for (int d4 = -1; d4 <= 1; ++d4) {
                        const Resistors v{
                            r.rin * (1 + d0 * t.in / 100), r.rip * (1 + d1 * t.in / 100),
                            r.rfn * (1 + d2 * t.fn / 100), r.rfp * (1 + d3 * t.fp / 100),
                            r.rs * (1 + d4 * t.s / 100)};
                        const double g = nodalTransconductance(v, yl, yd, inv);
                        if (std::fabs(g - g0) > far) {
                            far = std::fabs(g - g0);
                            best = g;
                        }
                    }
    return best;
}

const comp kOpen(infiniteValue, infiniteValue);
const Resistors kDefault{10e3, 10e3, 10e3, 10e3, 1};

// The loop of the page's default design around an amplifier with 108 dB, poles at 9.95 Hz,
// 3.5 MHz and 22 MHz and a 2.5 MHz gain-bandwidth product.
LoopInput defaultLoop()
{
    LoopInput in;
    in.rin = 10e3;
    in.rfn = 10e3;
    in.rfp = 10e3;
    in.rs = 1;
    in.rload = 10;
    in.inductive = true;
    in.cload = 0;
    in.lload = 0;
    in.rd = infiniteValue;
    in.cd = 0;
    in.damping = false;
    in.freqHz = 1000;
    in.aolDc = 108;
    in.pole1 = 9.95;
    in.pole2 = 3.5e6;
    in.pole3 = 22e6;
    in.gbwpKHz = 2500;
    in.iMax = 2;
    in.iMin = -2;
    return in;
}

QStringList noteTexts(const QVector<PumpNote> &notes)
{
    QStringList out;
    for (const PumpNote &n : notes)
        out << n.text;
    return out;
}

// The grid point (1 Hz times 10^(1/16) per step) nearest to f on a log scale.
double nearestGridPoint(double f)
{
    const int k = int(std::lround(16 * std::log10(f)));
    double g = 1;
    for (int i = 0; i < k; ++i)
        g *= 1.1547819846894583;
    return g;
}

bool relClose(double a, double b, double rel)
{
    return std::fabs(a - b) <= rel * std::max(std::fabs(a), std::fabs(b));
}

} // namespace

class TestIhcpEngine : public QObject
{
    Q_OBJECT

private slots:
    void loadImpedanceRule_data();
    void loadImpedanceRule();
    void dampingImpedanceRule_data();
    void dampingImpedanceRule();

    void transconductanceWorkedValues_data();
    void transconductanceWorkedValues();
    void transconductanceAgainstNodalSolution_data();
    void transconductanceAgainstNodalSolution();

    void worstCase_data();
    void worstCase();
    void worstCaseMovesInputResistorsApart();

    void autoDesignWorkedValues();
    void autoDesignStopsAtFirstPassingPair_data();
    void autoDesignStopsAtFirstPassingPair();
    void autoDesignNoPairPasses();
    void autoDesignRefusesZeroTarget_data();
    void autoDesignRefusesZeroTarget();
    void autoDesignUsesMagnitudeOfTarget();
    void autoDesignRefusesUnusableResistors_data();
    void autoDesignRefusesUnusableResistors();

    void loopFrequencyGrid();
    void loopDefaultDesign();
    void loopPoleOnGridPointIsStrict();
    void loopClosureAtFirstPoint();
    void loopInductiveLoadSuggestsDamping();
    void loopCapacitiveLoadNeverSuggests();
    void loopResistiveLoadNeedsNoDamping();
    void loopDampingNetwork_data();
    void loopDampingNetwork();
    void loopNetPositiveFeedbackIsUnstable();
    void loopRefusedShowsNoFigures();
    void loopThatNeverClosesIsNotJudged();
    void loopCorners_data();
    void loopCorners();
    void outputImpedanceAgainstNodalSolution_data();
    void outputImpedanceAgainstNodalSolution();
    void judgeClosureBoundaries_data();
    void judgeClosureBoundaries();

    void sweepDefaultDesign();
    void sweepUndefined_data();
    void sweepUndefined();
    void sweepMaxImpedance_data();
    void sweepMaxImpedance();
    void sweepBalancedPumpHasNoError_data();
    void sweepBalancedPumpHasNoError();

    void checkValues_data();
    void checkValues();

    void pageTexts();
    void splitNumberWord_data();
    void splitNumberWord();
    void toleranceLabel_data();
    void toleranceLabel();
    void loadLabel_data();
    void loadLabel();
};

void TestIhcpEngine::loadImpedanceRule_data()
{
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("l");
    QTest::addColumn<QString>("f");
    QTest::addColumn<double>("re");
    QTest::addColumn<double>("im");
    const double inf = std::numeric_limits<double>::infinity();
    // 2 pi 1k 100u = 0.6283185307179586; 1/(2 pi 1k 100n) = 1591.5494309189535
    QTest::newRow("both short: pure resistance") << "10"
                                                 << "short"
                                                 << "short"
                                                 << "1k" << 10.0 << 0.0;
    QTest::newRow("inductance") << "10"
                                << "short"
                                << "100u"
                                << "1k" << 10.0 << 0.6283185307179586;
    QTest::newRow("capacitance, negative reactance") << "10"
                                                     << "100n"
                                                     << "short"
                                                     << "1k" << 10.0 << -1591.5494309189535;
    QTest::newRow("capacitance counts when both given") << "10"
                                                        << "100n"
                                                        << "100u"
                                                        << "1k" << 10.0 << -1591.5494309189535;
    QTest::newRow("open capacitance: infinite reactance") << "10"
                                                          << "open"
                                                          << "short"
                                                          << "1k" << 10.0 << -inf;
    QTest::newRow("zero capacitance: infinite reactance") << "10"
                                                          << "0"
                                                          << "short"
                                                          << "1k" << 10.0 << -inf;
}

void TestIhcpEngine::loadImpedanceRule()
{
    QFETCH(QString, r);
    QFETCH(QString, c);
    QFETCH(QString, l);
    QFETCH(QString, f);
    QFETCH(double, re);
    QFETCH(double, im);
    const comp z = loadImpedance(r, c, l, f);
    QCOMPARE(z.real(), re);
    if (std::isinf(im))
        QCOMPARE(z.imag(), im);
    else
        QVERIFY(relClose(z.imag(), im, 1e-14) || (im == 0 && z.imag() == 0));
}

void TestIhcpEngine::dampingImpedanceRule_data()
{
    QTest::addColumn<QString>("rd");
    QTest::addColumn<QString>("cd");
    QTest::addColumn<bool>("addsNothing");
    QTest::addColumn<double>("re");
    QTest::newRow("open C_D removes the branch whatever R_D is") << "100"
                                                                 << "open" << true << 100.0;
    QTest::newRow("short C_D leaves R_D alone") << "100"
                                                << "short" << false << 100.0;
    QTest::newRow("R_D with C_D") << "100"
                                  << "1u" << false << 100.0;
}

void TestIhcpEngine::dampingImpedanceRule()
{
    QFETCH(QString, rd);
    QFETCH(QString, cd);
    QFETCH(bool, addsNothing);
    QFETCH(double, re);
    const comp zd = dampingImpedance(rd, cd, 1000);
    QCOMPARE(zd.real(), re);
    const comp y = comp(1, 0) / zd;
    if (addsNothing) {
        QCOMPARE(y.real(), 0.0);
        QCOMPARE(y.imag(), 0.0);
    } else {
        // "short": 1/(2 pi 1k 4294967295) is far below a milliohm.
        if (cd == QLatin1String("short")) QVERIFY(std::fabs(zd.imag()) < 1e-9);
        QVERIFY(y.real() > 0);
    }
}

void TestIhcpEngine::transconductanceWorkedValues_data()
{
    QTest::addColumn<double>("rfp");
    QTest::addColumn<bool>("inv");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // Hand derivation for Rfp = 10k: 1/D = 0.1 + 1 + 1e-4; inverting A = 0.10005,
    // H = -9.995, G = -0.9995002; non-inverting 1/M = 1.1001/1.00005, G = 0.99955.
    QTest::newRow("inverting -0.9995 A/V") << 10e3 << true << -0.99950025 << -0.99950024;
    QTest::newRow("non-inverting slightly above 0.9995") << 10e3 << false << 0.9995 << 0.9996;
    // Rfp + Rs = Rfn balances the bridge: the load has no effect, G = -+Rfn/(Rin Rs).
    QTest::newRow("balanced inverting -1") << 9999.0 << true << -1 - 1e-12 << -1 + 1e-12;
    QTest::newRow("balanced non-inverting +1") << 9999.0 << false << 1 - 1e-12 << 1 + 1e-12;
}

void TestIhcpEngine::transconductanceWorkedValues()
{
    QFETCH(double, rfp);
    QFETCH(bool, inv);
    QFETCH(double, low);
    QFETCH(double, high);
    Resistors r = kDefault;
    r.rfp = rfp;
    // The open damping network as the page builds it: an infinite reactance adds nothing.
    const comp zd = dampingImpedance("open", "open", 1000);
    const double g = transconductance(r, comp(10, 0), zd, inv);
    QVERIFY2(g >= low && g <= high, qPrintable(QString::number(g, 'g', 17)));
}

void TestIhcpEngine::transconductanceAgainstNodalSolution_data()
{
    QTest::addColumn<double>("rfp");
    QTest::addColumn<double>("rs");
    QTest::addColumn<double>("zlRe");
    QTest::addColumn<double>("zlIm");
    QTest::addColumn<double>("zdRe");
    QTest::addColumn<double>("zdIm");
    QTest::addColumn<bool>("inv");
    const double open = infiniteValue;
    QTest::newRow("resistive, inverting") << 10e3 << 1.0 << 10.0 << 0.0 << open << open << true;
    QTest::newRow("resistive, non-inverting")
        << 10e3 << 1.0 << 10.0 << 0.0 << open << open << false;
    QTest::newRow("inductive load") << 9.9e3 << 0.5 << 20.0 << 50.0 << open << open << true;
    QTest::newRow("capacitive load") << 10.2e3 << 2.0 << 5.0 << -30.0 << open << open << false;
    QTest::newRow("inductive load with damping")
        << 9999.0 << 1.0 << 10.0 << 80.0 << 30.0 << -15.0 << true;
    QTest::newRow("unbalanced bridge, heavy load")
        << 12e3 << 1.0 << 200.0 << 0.0 << open << open << false;
}

void TestIhcpEngine::transconductanceAgainstNodalSolution()
{
    QFETCH(double, rfp);
    QFETCH(double, rs);
    QFETCH(double, zlRe);
    QFETCH(double, zlIm);
    QFETCH(double, zdRe);
    QFETCH(double, zdIm);
    QFETCH(bool, inv);
    Resistors r = kDefault;
    r.rfp = rfp;
    r.rs = rs;
    const comp zl(zlRe, zlIm), zd(zdRe, zdIm);
    const double g = transconductance(r, zl, zd, inv);
    const double ref = nodalTransconductance(r, admittance(zl), admittance(zd), inv);
    QVERIFY2(relClose(g, ref, 1e-9), qPrintable(QStringLiteral("%1 vs %2").arg(g).arg(ref)));
}

void TestIhcpEngine::worstCase_data()
{
    QTest::addColumn<double>("tin");
    QTest::addColumn<double>("tfn");
    QTest::addColumn<double>("tfp");
    QTest::addColumn<double>("ts");
    QTest::addColumn<bool>("inv");
    QTest::newRow("page defaults, inverting") << 0.1 << 0.1 << 0.1 << 1.0 << true;
    QTest::newRow("page defaults, non-inverting") << 0.1 << 0.1 << 0.1 << 1.0 << false;
    QTest::newRow("sense resistor only") << 0.0 << 0.0 << 0.0 << 1.0 << true;
    QTest::newRow("loose bridge") << 5.0 << 2.0 << 1.0 << 0.5 << false;
}

void TestIhcpEngine::worstCase()
{
    QFETCH(double, tin);
    QFETCH(double, tfn);
    QFETCH(double, tfp);
    QFETCH(double, ts);
    QFETCH(bool, inv);
    const Tolerances t{tin, tfn, tfp, ts};
    const comp zl(10, 0);
    const double w = ihcp::worstCase(kDefault, t, zl, kOpen, inv);
    const double ref = nodalWorstCase(kDefault, t, admittance(zl), admittance(kOpen), inv);
    QVERIFY2(relClose(w, ref, 1e-9), qPrintable(QStringLiteral("%1 vs %2").arg(w).arg(ref)));

    // All tolerances 0: every corner is the nominal design.
    QCOMPARE(ihcp::worstCase(kDefault, Tolerances{}, zl, kOpen, inv),
             transconductance(kDefault, zl, kOpen, inv));
}

void TestIhcpEngine::worstCaseMovesInputResistorsApart()
{
    // With only the input tolerance, moving both input resistors together cannot reach the
    // worst case: the farthest corner has them apart.
    const Tolerances t{1, 0, 0, 0};
    const comp zl(10, 0);
    const double w = ihcp::worstCase(kDefault, t, zl, kOpen, true);
    const double g0 = transconductance(kDefault, zl, kOpen, true);
    double together = 0;
    for (int d = -1; d <= 1; ++d) {
        Resistors r = kDefault;
        r.rin *= 1 + d * 0.01;
        r.rip *= 1 + d * 0.01;
        together = std::max(together, std::fabs(transconductance(r, zl, kOpen, true) - g0));
    }
    QVERIFY(std::fabs(w - g0) > together);
    QVERIFY(
        relClose(w, nodalWorstCase(kDefault, t, admittance(zl), admittance(kOpen), true), 1e-9));
}

void TestIhcpEngine::autoDesignWorkedValues()
{
    const AutoDesign d = autoDesign(1, 5, 10e3, 1, comp(10, 0), true);
    QVERIFY(d.valid);
    QCOMPARE(d.rfn, QStringLiteral("10000"));
    QCOMPARE(d.rfp, QStringLiteral("9999"));

    // The loosest pair meets a wide error: all four read "5". (With 5 % parts the worst
    // corner misses 1 A/V by about 31 % into 1 ohm.)
    const AutoDesign wide = autoDesign(1, 35, 10e3, 1, comp(1, 0), true);
    QCOMPARE(wide.tolIn, QStringLiteral("5"));
    QCOMPARE(wide.tolFn, QStringLiteral("5"));
    QCOMPARE(wide.tolFp, QStringLiteral("5"));
    QCOMPARE(wide.tolS, QStringLiteral("5"));
    QCOMPARE(wide.trials, 1);
}

void TestIhcpEngine::autoDesignStopsAtFirstPassingPair_data()
{
    QTest::addColumn<double>("g");
    QTest::addColumn<double>("error");
    QTest::addColumn<double>("rload");
    QTest::addColumn<bool>("inv");
    QTest::newRow("1 A/V within 5 %, inverting") << 1.0 << 5.0 << 10.0 << true;
    QTest::newRow("1 A/V within 1 %, non-inverting") << 1.0 << 1.0 << 10.0 << false;
    QTest::newRow("0.1 A/V within 0.5 %, 100 ohm") << 0.1 << 0.5 << 100.0 << true;
}

void TestIhcpEngine::autoDesignStopsAtFirstPassingPair()
{
    QFETCH(double, g);
    QFETCH(double, error);
    QFETCH(double, rload);
    QFETCH(bool, inv);
    const double rin = 10e3, rs = 1;
    const AutoDesign d = autoDesign(g, error, rin, rs, comp(rload, 0), inv);
    QVERIFY(d.valid && d.met);

    // Walk the trial order independently: (bridge i, sense j) for j <= i.
    const QStringList steps = toleranceSteps();
    const double rfn = rs * g * rin;
    const Resistors r{rin, rin, rfn, rfn - rs, rs};
    const double target = inv ? -g : g;
    const cplx yl(1 / rload, 0);
    QString firstBridge, firstSense;
    for (int i = 0; i < steps.size() && firstBridge.isEmpty(); ++i) {
        for (int j = 0; j <= i; ++j) {
            const double b = eng::parseValue(steps[i]);
            const Tolerances t{b, b, b, eng::parseValue(steps[j])};
            // The damping network of the automatic design: 4294967295 + j4294967295.
            const cplx yd = cplx(1, 0) / cplx(infiniteValue, infiniteValue);
            const double w = nodalWorstCase(r, t, yl, yd, inv);
            if (std::fabs((w - target) / target) * 100 < error) {
                firstBridge = steps[i];
                firstSense = steps[j];
                break;
            }
        }
    }
    QCOMPARE(d.tolIn, firstBridge);
    QCOMPARE(d.tolFn, firstBridge);
    QCOMPARE(d.tolFp, firstBridge);
    QCOMPARE(d.tolS, firstSense);
}

void TestIhcpEngine::autoDesignNoPairPasses()
{
    // An error of 0 % cannot be met: every trial runs, all end at the trim pot.
    const AutoDesign d = autoDesign(1, 0, 10e3, 1, comp(10, 0), true);
    QVERIFY(d.valid);
    QVERIFY(!d.met);
    QCOMPARE(d.trials, 55);
    for (const QString &t : {d.tolIn, d.tolFn, d.tolFp, d.tolS})
        QCOMPARE(t, QStringLiteral("0 (trim pot)"));
}

void TestIhcpEngine::autoDesignRefusesZeroTarget_data()
{
    QTest::addColumn<double>("g");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
}

void TestIhcpEngine::autoDesignRefusesZeroTarget()
{
    QFETCH(double, g);
    const AutoDesign d = autoDesign(g, 5, 10e3, 1, comp(10, 0), true);
    QVERIFY(!d.valid);
    QVERIFY(d.rfn.isEmpty() && d.rfp.isEmpty() && d.tolS.isEmpty());
}

void TestIhcpEngine::autoDesignUsesMagnitudeOfTarget()
{
    const AutoDesign neg = autoDesign(-2, 5, 10e3, 1, comp(10, 0), false);
    const AutoDesign pos = autoDesign(2, 5, 10e3, 1, comp(10, 0), false);
    QCOMPARE(neg.rfn, QStringLiteral("20000"));
    QCOMPARE(neg.rfp, QStringLiteral("19999"));
    QCOMPARE(neg.tolS, pos.tolS);
    QCOMPARE(neg.tolIn, pos.tolIn);
}

void TestIhcpEngine::autoDesignRefusesUnusableResistors_data()
{
    QTest::addColumn<double>("g");
    QTest::addColumn<double>("rin");
    QTest::addColumn<double>("rs");
    QTest::addColumn<bool>("targetAtFault");
    QTest::newRow("R_IN 0") << 1.0 << 0.0 << 1.0 << false;
    QTest::newRow("R_S 0") << 1.0 << 10e3 << 0.0 << false;
    QTest::newRow("R_IN open") << 1.0 << infiniteValue << 1.0 << false;
    QTest::newRow("R_S negative") << 1.0 << 10e3 << -1.0 << false;
    // Rfp = Rs (g Rin - 1) = 1 (1e-5 * 10k - 1) = -0.9 ohm.
    QTest::newRow("g Rin below 1: negative R_FP") << 1e-5 << 10e3 << 1.0 << true;
    QTest::newRow("g Rin exactly 1: R_FP 0") << 1e-4 << 10e3 << 1.0 << true;
    QTest::newRow("R_FN overflows") << 1e308 << 10e3 << 1.0 << true;
}

void TestIhcpEngine::autoDesignRefusesUnusableResistors()
{
    QFETCH(double, g);
    QFETCH(double, rin);
    QFETCH(double, rs);
    QFETCH(bool, targetAtFault);
    const AutoDesign d = autoDesign(g, 5, rin, rs, comp(10, 0), true);
    QVERIFY(!d.valid);
    QVERIFY(!d.why.isEmpty());
    QCOMPARE(d.targetAtFault, targetAtFault);
    QVERIFY(d.rfn.isEmpty() && d.rfp.isEmpty() && d.tolIn.isEmpty() && d.tolS.isEmpty());
}

void TestIhcpEngine::loopFrequencyGrid()
{
    const LoopResult r = analyseLoop(defaultLoop());
    QCOMPARE(r.freq.size(), 128);
    QCOMPARE(r.freq.first(), 1.0);
    QVERIFY(relClose(r.freq[16], 10.0, 1e-13));
    QVERIFY(relClose(r.freq.last(), std::pow(10, 127.0 / 16), 1e-12)); // about 86.6 MHz
    for (const QVector<double> *v : {&r.aol, &r.beta, &r.beta2, &r.effective, &r.vload})
        QCOMPARE(v->size(), 128);
}

void TestIhcpEngine::loopDefaultDesign()
{
    const LoopResult r = analyseLoop(defaultLoop());
    // beta- = 1/2; beta+ open = 10k/20001; loaded = 10k*10/(20001*10 + 20000*1).
    QCOMPARE(r.betaMinus, 0.5);
    QCOMPARE(r.betaPlusDC, 1e5 / 220010);
    QCOMPARE(r.betaPlusAC, 1e4 / 20001.0);
    const double lDC = 20 * std::log10(1 / (0.5 - 1e5 / 220010));
    QVERIFY(relClose(r.lDC, lDC, 1e-12));

    // A resistive load: 1/beta is flat at L_DC, the amplifier falls at 20 dB/decade from
    // 9.95 Hz, so the crossing and the 20 dB point are where 108 - 20 log(f/9.95) meets
    // L_DC and L_DC + 20.
    for (double b : r.beta)
        QVERIFY(relClose(b, lDC, 1e-12));
    QVERIFY(
        relClose(r.closureFreq, nearestGridPoint(9.95 * std::pow(10, (108 - lDC) / 20)), 1e-12));
    QVERIFY(
        relClose(r.bandwidth, nearestGridPoint(9.95 * std::pow(10, (108 - 20 - lDC) / 20)), 1e-12));
    QCOMPARE(r.verdict, Verdict::Stable);

    const QStringList notes = noteTexts(r.notes);
    const QStringList expected = {
        QStringLiteral("\nSTABILITY"), QStringLiteral("\tSTABLE"),
        QStringLiteral("\t(Based only on Rate of Closure)"),
        QStringLiteral("\tRate of Closure: 20 dB/dec"), QStringLiteral("\tSuggested R_D: open"),
        QStringLiteral("\tSuggested C_D: open"), QStringLiteral("\nMISCELLANEOUS DETAILS"),
        // A = 10^(108/20) * 9.95/1000 at 1 kHz: the sense path Rs (A + 2)/2 = 1250.7 ohm in
        // parallel with Rip + Rfp = 20 kohm, 1177 ohm.
        QStringLiteral("\tOutput Impedance: 1.18 kΩ"),
        // (10k + 10k)/(2.5 MHz * 2 pi * 10k * 1) = 127.3 nF.
        QStringLiteral("\tEquiv. Output Capacitance: 127 nF"),
        // +-2 A: I_mid 0, I_pk 2; 0.5 * 4 * 1 ohm.
        QStringLiteral("\tRMS Power in R_sense: 2 W"), QStringLiteral("\tß-: 0.5"),
        QStringLiteral("\tß+(DC): 0.454525"), QStringLiteral("\tß+(AC): 0.499975"),
        // A resistive load and no damping network: no corners at all.
        QStringLiteral("\t1/ß F_zero: none"), QStringLiteral("\t1/ß F_pole: none"),
        QStringLiteral("\t1/ß #2 F_zero: none")};
    QCOMPARE(notes, expected);
    QCOMPARE(r.notes[1].colour, NoteColour::Green);
    QCOMPARE(r.notes[0].colour, NoteColour::Black);
    QCOMPARE(r.notes[2].colour, NoteColour::Black);
}

void TestIhcpEngine::loopPoleOnGridPointIsStrict()
{
    LoopInput in = defaultLoop();
    in.pole1 = 1.1547819846894583; // exactly grid point 1
    const LoopResult r = analyseLoop(in);
    QCOMPARE(r.aol[0], 108.0);
    QCOMPARE(r.aol[1], 108.0);
    QVERIFY(r.aol[2] < 108.0);
}

void TestIhcpEngine::loopClosureAtFirstPoint()
{
    // The amplifier's DC gain equal to 1/beta: the curves touch from the first point on, and
    // no later point is strictly nearer. The rates then use points 0 and 1.
    LoopInput in = defaultLoop();
    in.aolDc = 20 * std::log10(1 / (0.5 - 1e5 / 220010));
    in.pole1 = 1e3;
    const LoopResult r = analyseLoop(in);
    QCOMPARE(r.closureIndex, 0);
    QCOMPARE(r.closureFreq, 1.0);
    QCOMPARE(r.closureIndexMain, 0);
    QCOMPARE(r.roc, 0.0);
    QCOMPARE(r.rocMain, 0.0);
    QCOMPARE(r.verdict, Verdict::Stable);
}

void TestIhcpEngine::loopInductiveLoadSuggestsDamping()
{
    LoopInput in = defaultLoop();
    in.lload = 100e-6; // zero at (10 + 1)/(2 pi 100u) = 17.5 kHz
    const LoopResult r = analyseLoop(in);
    QVERIFY(relClose(r.fZero, 11 / (kTwoPi * 100e-6), 1e-14));
    // The amplifier falls and 1/beta rises at 20 dB/decade each where they meet: 40 dB/decade,
    // and the load corner is within a decade of the crossing (about 44 kHz).
    QVERIFY(relClose(r.roc, 40, 1e-9));
    QCOMPARE(r.verdict, Verdict::Marginal);
    QVERIFY(r.suggestDamping);
    // The suggestion makes beta- - beta+(R_D) the damping fraction and puts the damping zero
    // at a fifth of the load corner.
    const double s = in.rfp + in.rin + in.rs, p = (in.rfp + in.rin) * in.rs;
    const double betaRD = in.rin * r.rdSuggested / (s * r.rdSuggested + p);
    QVERIFY(relClose(r.betaMinus - betaRD, r.dampingFraction, 1e-9));
    QVERIFY(relClose(1 / (kTwoPi * r.rdSuggested * r.cdSuggested), r.fZero / 5, 1e-12));
    const QStringList notes = noteTexts(r.notes);
    QCOMPARE(notes[1], QStringLiteral("\tMARGINALLY STABLE"));
    QCOMPARE(r.notes[1].colour, NoteColour::Red);
    QCOMPARE(notes[3], QStringLiteral("\tRate of Closure: 40 dB/dec"));
    QCOMPARE(notes[4], QStringLiteral("\tSuggested R_D: ") + eng::engString(r.rdSuggested, "Ω"));
    QCOMPARE(notes[5], QStringLiteral("\tSuggested C_D: ") + eng::engString(r.cdSuggested, "F"));
    QVERIFY(r.rdSuggested > 10 && r.rdSuggested < 30); // about 16.6 ohm by hand

    // Between the corner and the pole (31.8 MHz) 1/beta rises at 20 dB/decade.
    QVERIFY(relClose(r.beta[96] - r.beta[80], 20, 1e-9)); // 1 MHz against 100 kHz
}

void TestIhcpEngine::loopCapacitiveLoadNeverSuggests()
{
    LoopInput in = defaultLoop();
    in.inductive = false;
    in.cload = 100e-9;
    const LoopResult r = analyseLoop(in);
    // Capacitive: beta+ is the unloaded one at DC and the loaded one above the corner.
    QCOMPARE(r.betaPlusDC, 1e4 / 20001.0);
    QCOMPARE(r.betaPlusAC, 1e5 / 220010);
    // Flat at L_DC below the pole, at L_AC above the zero.
    QVERIFY(relClose(r.beta.first(), r.lDC, 1e-9));
    QVERIFY(relClose(r.beta.last(), r.lAC, 1e-12));
    QVERIFY(!r.suggestDamping);
    const QStringList notes = noteTexts(r.notes);
    QCOMPARE(notes[4], QStringLiteral("\tSuggested R_D: open"));
    QCOMPARE(notes[5], QStringLiteral("\tSuggested C_D: open"));

    // An open capacitance leaves the load node unloaded at every frequency.
    in.cload = 0;
    const LoopResult open = analyseLoop(in);
    for (double b : open.beta)
        QVERIFY(relClose(b, open.lDC, 1e-12));
}

void TestIhcpEngine::loopResistiveLoadNeedsNoDamping()
{
    // A second amplifier pole at 100 Hz closes a flat 1/beta at 40 dB/decade (near 3.4 kHz).
    // Without a load corner there is nothing to put the damping zero under: the suggestion
    // stays open (it used to read a resistor with "C_D: 0 F").
    LoopInput in = defaultLoop();
    in.pole2 = 100;
    const LoopResult r = analyseLoop(in);
    QVERIFY(relClose(r.rocMain, 40, 1e-9));
    QVERIFY(!r.suggestDamping);
    const QStringList notes = noteTexts(r.notes);
    QCOMPARE(notes[4], QStringLiteral("\tSuggested R_D: open"));
    QCOMPARE(notes[5], QStringLiteral("\tSuggested C_D: open"));
}

void TestIhcpEngine::loopDampingNetwork_data()
{
    QTest::addColumn<double>("rd");
    QTest::addColumn<double>("cd");
    QTest::addColumn<bool>("path2Finite");
    QTest::newRow("no C_D: path 2 infinitely high") << 100.0 << 0.0 << false;
    QTest::newRow("R_D open with C_D: still a path") << infiniteValue << 1e-6 << true;
    QTest::newRow("R_D with C_D") << 20.0 << 2.2e-6 << true;
}

void TestIhcpEngine::loopDampingNetwork()
{
    QFETCH(double, rd);
    QFETCH(double, cd);
    QFETCH(bool, path2Finite);
    LoopInput in = defaultLoop();
    in.lload = 100e-6;
    in.rd = rd;
    in.cd = cd;
    const LoopResult r = analyseLoop(in);
    for (int i = 0; i < 128; ++i) {
        QCOMPARE(std::isfinite(r.beta2[i]), path2Finite);
        QCOMPARE(r.effective[i], std::min(r.beta[i], r.beta2[i]));
        QCOMPARE(r.vload[i], std::min({r.aol[i], r.beta[i], r.beta2[i]}));
    }
    if (path2Finite) QVERIFY(relClose(r.fD, 1 / (kTwoPi * rd * cd), 1e-14));
}

void TestIhcpEngine::loopNetPositiveFeedbackIsUnstable()
{
    // Rfp far below Rfn: the positive feedback outweighs the negative one.
    LoopInput in = defaultLoop();
    in.rfp = 100;
    const LoopResult r = analyseLoop(in);
    QVERIFY(r.betaMinus - r.betaPlusDC < 0);
    for (double b : r.beta)
        QVERIFY(std::isinf(b) && b > 0);
    QCOMPARE(r.verdict, Verdict::Unstable);
    const QStringList notes = noteTexts(r.notes);
    QCOMPARE(notes[1], QStringLiteral("\tUNSTABLE"));
    QCOMPARE(notes[2], QStringLiteral("\tR_FP + R_S is not above R_FN: the positive feedback "
                                      "outweighs the negative"));
    QCOMPARE(r.notes[2].colour, NoteColour::Red);
    QCOMPARE(notes[4], QStringLiteral("\tRate of Closure: —"));
    QCOMPARE(r.notes[4].colour, NoteColour::Red);
    const QVector<PumpNote> bw = bandwidthNotes(r.bandwidth);
    QCOMPARE(noteTexts(bw),
             (QStringList{"\nMAXIMUM BANDWIDTH", "\t—",
                          "\tThe loop gain does not fall to 20 dB between 1 Hz and 86.6 MHz",
                          "\t(Where Loop Gain falls to 20dB)"}));
    QCOMPARE(bw[1].colour, NoteColour::Red);
}

void TestIhcpEngine::loopRefusedShowsNoFigures()
{
    LoopInput in = defaultLoop();
    in.rin = 0;
    in.refusal = QStringLiteral("R_IN is 0: the transconductance is unbounded");
    const LoopResult r = analyseLoop(in);
    QCOMPARE(r.verdict, Verdict::NotAnalysed);
    // The amplifier is still there; the feedback curves are not.
    QCOMPARE(r.aol.size(), 128);
    QVERIFY(r.beta.isEmpty() && r.effective.isEmpty() && r.vload.isEmpty());
    const QStringList expected = {"\nSTABILITY",
                                  "\tCOULD NOT BE ANALYSED",
                                  "\tR_IN is 0: the transconductance is unbounded",
                                  "\t(Based only on Rate of Closure)",
                                  "\tRate of Closure: —",
                                  "\tSuggested R_D: —",
                                  "\tSuggested C_D: —",
                                  "\nMISCELLANEOUS DETAILS",
                                  "\tOutput Impedance: —",
                                  "\tEquiv. Output Capacitance: —",
                                  "\tRMS Power in R_sense: —",
                                  "\tß-: —",
                                  "\tß+(DC): —",
                                  "\tß+(AC): —",
                                  "\t1/ß F_zero: —",
                                  "\t1/ß F_pole: —",
                                  "\t1/ß #2 F_zero: —"};
    QCOMPARE(noteTexts(r.notes), expected);
    for (const PumpNote &n : r.notes) {
        if (n.text.contains(eng::noResultText()) || n.text.contains("ANALYSED") ||
            n.text.contains("R_IN"))
            QCOMPARE(n.colour, NoteColour::Red);
        else
            QCOMPARE(n.colour, NoteColour::Black);
    }
    QVERIFY(std::isnan(r.bandwidth));
    // The stability section said why: the bandwidth only shows the placeholder.
    QCOMPARE(noteTexts(bandwidthNotes(r.bandwidth)),
             (QStringList{"\nMAXIMUM BANDWIDTH", "\t—", "\t(Where Loop Gain falls to 20dB)"}));
}

void TestIhcpEngine::loopThatNeverClosesIsNotJudged()
{
    // 1/beta (26.8 dB) above an amplifier of 20 dB: the loop gain is below 0 dB everywhere.
    // The nearest approach would otherwise be judged by its slopes (and come out STABLE).
    LoopInput in = defaultLoop();
    in.aolDc = 20;
    const LoopResult r = analyseLoop(in);
    QCOMPARE(r.verdict, Verdict::NotAnalysed);
    const QStringList notes = noteTexts(r.notes);
    QCOMPARE(notes[1], QStringLiteral("\tCOULD NOT BE ANALYSED"));
    QCOMPARE(notes[2],
             QStringLiteral("\tThe open-loop gain does not cross 1/ß between 1 Hz and 86.6 MHz"));
    QCOMPARE(notes[4], QStringLiteral("\tRate of Closure: —"));
    QVERIFY(!notes.contains(QStringLiteral("\tSTABLE")));
    // The circuit itself was usable: its figures stay.
    QVERIFY(std::isfinite(r.outputImpedance) && std::isfinite(r.betaMinus));

    // An amplifier with no data at all (0 dB, no poles) is not judged either.
    in.aolDc = 0;
    in.pole1 = in.pole2 = in.pole3 = 0;
    in.gbwpKHz = 0;
    const LoopResult none = analyseLoop(in);
    QCOMPARE(none.verdict, Verdict::NotAnalysed);
    QVERIFY(noteTexts(none.notes).contains("\tEquiv. Output Capacitance: —"));
    QVERIFY(noteTexts(none.notes)
                .contains("\tThe amplifier has no gain-bandwidth product: no output capacitance"));
}

void TestIhcpEngine::loopCorners_data()
{
    QTest::addColumn<bool>("inductive");
    QTest::addColumn<double>("rload");
    QTest::addColumn<double>("reactive"); // H or F
    QTest::addColumn<double>("rd");
    QTest::addColumn<double>("cd");
    QTest::addColumn<QString>("zero");
    QTest::addColumn<QString>("pole");
    QTest::addColumn<QString>("zeroD");
    const double open = infiniteValue;
    QTest::newRow("resistive load: none") << true << 10.0 << 0.0 << open << 0.0 << "none"
                                          << "none"
                                          << "none";
    // (10 + 1)/(2 pi 100u) = 17.5 kHz; the pole at (b- - b+DC)/(b- - b+AC) times it, 31.8 MHz.
    QTest::newRow("inductive load") << true << 10.0 << 100e-6 << open << 0.0 << "17.5 kHz"
                                    << "31.8 MHz"
                                    << "none";
    QTest::newRow("open capacitance: none") << false << 10.0 << 0.0 << open << 0.0 << "none"
                                            << "none"
                                            << "none";
    // An open load never loads the node, whatever it is in series with.
    QTest::newRow("open load with inductance") << true << open << 100e-6 << open << 0.0 << "none"
                                               << "none"
                                               << "none";
    QTest::newRow("open load with capacitance") << false << open << 100e-9 << open << 0.0 << "none"
                                                << "none"
                                                << "none";
    QTest::newRow("open inductance") << true << 10.0 << open << open << 0.0 << "none"
                                     << "none"
                                     << "none";
    // 1/(2 pi 20 2.2u) = 3.62 kHz
    QTest::newRow("damping network") << true << 10.0 << 100e-6 << 20.0 << 2.2e-6 << "17.5 kHz"
                                     << "31.8 MHz"
                                     << "3.62 kHz";
    // R_D open with C_D: path 2 still takes part, but there is no damping network to show.
    QTest::newRow("R_D open") << true << 10.0 << 100e-6 << open << 2.2e-6 << "17.5 kHz"
                              << "31.8 MHz"
                              << "none";
}

void TestIhcpEngine::loopCorners()
{
    QFETCH(bool, inductive);
    QFETCH(double, rload);
    QFETCH(double, reactive);
    QFETCH(double, rd);
    QFETCH(double, cd);
    QFETCH(QString, zero);
    QFETCH(QString, pole);
    QFETCH(QString, zeroD);
    LoopInput in = defaultLoop();
    in.inductive = inductive;
    in.rload = rload;
    (inductive ? in.lload : in.cload) = reactive;
    in.rd = rd;
    in.cd = cd;
    in.damping = rd != infiniteValue && cd != 0;
    const LoopResult r = analyseLoop(in);
    const QStringList notes = noteTexts(r.notes);
    QCOMPARE(notes[notes.size() - 3], QStringLiteral("\t1/ß F_zero: ") + zero);
    QCOMPARE(notes[notes.size() - 2], QStringLiteral("\t1/ß F_pole: ") + pole);
    QCOMPARE(notes.last(), QStringLiteral("\t1/ß #2 F_zero: ") + zeroD);
    for (const QString &n : notes)
        QVERIFY2(!n.contains("inf") && !n.contains("nan"), qPrintable(n));
    for (const QVector<double> *v : {&r.beta, &r.effective, &r.vload})
        for (double x : *v)
            QVERIFY(!std::isnan(x));
}

void TestIhcpEngine::outputImpedanceAgainstNodalSolution_data()
{
    QTest::addColumn<double>("rin");
    QTest::addColumn<double>("rfn");
    QTest::addColumn<double>("rfp");
    QTest::addColumn<double>("rs");
    QTest::addColumn<double>("freq");
    QTest::newRow("page defaults at 1 kHz") << 10e3 << 10e3 << 10e3 << 1.0 << 1e3;
    // The design "Auto" makes for 0.1 A/V with Rin 2k, Rs 10: a nearly balanced bridge whose
    // sense path alone has a negative impedance (-5.87 kohm); Rip + Rfp loading the node
    // makes the whole +12.5 kohm.
    QTest::newRow("balanced 0.1 A/V at 1 kHz") << 2e3 << 2000.0 << 1990.0 << 10.0 << 1e3;
    QTest::newRow("balanced at 100 kHz") << 2e3 << 2000.0 << 1990.0 << 10.0 << 1e5;
    QTest::newRow("unbalanced, heavy sense") << 10e3 << 12e3 << 9e3 << 47.0 << 50.0;
    QTest::newRow("at DC") << 10e3 << 10e3 << 9999.0 << 1.0 << 0.0;
}

void TestIhcpEngine::outputImpedanceAgainstNodalSolution()
{
    QFETCH(double, rin);
    QFETCH(double, rfn);
    QFETCH(double, rfp);
    QFETCH(double, rs);
    QFETCH(double, freq);
    LoopInput in = defaultLoop();
    in.rin = rin;
    in.rfn = rfn;
    in.rfp = rfp;
    in.rs = rs;
    in.freqHz = freq;
    const LoopResult r = analyseLoop(in);
    const double a = pumpnodal::openLoopGain(in.aolDc, {in.pole1, in.pole2, in.pole3}, freq);
    const double ref = pumpnodal::outputImpedance(rin, rin, rfn, rfp, rs, a);
    QVERIFY2(relClose(r.outputImpedance, ref, 1e-9),
             qPrintable(QStringLiteral("%1 vs %2").arg(r.outputImpedance).arg(ref)));
    if (QByteArray(QTest::currentDataTag()) == "balanced 0.1 A/V at 1 kHz") {
        QVERIFY(relClose(ref, 12.475e3, 1e-3));
        QVERIFY(noteTexts(r.notes).contains(QStringLiteral("\tOutput Impedance: 12.5 kΩ")));
    }
}

void TestIhcpEngine::judgeClosureBoundaries_data()
{
    QTest::addColumn<double>("roc");
    QTest::addColumn<double>("fZero");
    QTest::addColumn<double>("closure");
    QTest::addColumn<int>("verdict");
    QTest::newRow("20.9 stable") << 20.9 << 1e3 << 1e5 << int(Verdict::Stable);
    QTest::newRow("exactly 21 is not stable") << 21.0 << 1e5 << 1e5 << int(Verdict::Marginal);
    QTest::newRow("40.9 with corner near the crossing")
        << 40.9 << 2e4 << 1e5 << int(Verdict::Marginal);
    QTest::newRow("corner a decade below") << 40.0 << 1e4 << 1e5 << int(Verdict::Unstable);
    QTest::newRow("exactly 41 is unstable") << 41.0 << 1e5 << 1e5 << int(Verdict::Unstable);
    QTest::newRow("undefined rate")
        << std::numeric_limits<double>::quiet_NaN() << 1e5 << 1e5 << int(Verdict::Unstable);
}

void TestIhcpEngine::judgeClosureBoundaries()
{
    QFETCH(double, roc);
    QFETCH(double, fZero);
    QFETCH(double, closure);
    QFETCH(int, verdict);
    QCOMPARE(int(judgeClosure(roc, fZero, 10, closure)), verdict);
}

void TestIhcpEngine::sweepDefaultDesign()
{
    const Tolerances t{0.1, 0.1, 0.1, 1};
    const SweepResult s = sweepLoad(kDefault, t, kOpen, true, 10);
    QVERIFY(s.defined);
    QCOMPARE(s.impedance.size(), 400);
    QCOMPARE(s.errorPercent.size(), 400);
    QCOMPARE(s.impedance.first(), 10.0 / 400);
    QCOMPARE(s.impedance.last(), 10.0);
    // Against the ideal -Rfn/(Rin Rs) = -1 A/V.
    const double w = nodalWorstCase(kDefault, t, cplx(0.1, 0), admittance(kOpen), true);
    QVERIFY(relClose(s.errorPercent.last(), std::fabs(w + 1) * 100, 1e-9));
    // Errors grow with load impedance.
    QVERIFY(s.errorPercent.last() > s.errorPercent.first());
}

void TestIhcpEngine::sweepUndefined_data()
{
    QTest::addColumn<double>("rfn");
    QTest::addColumn<double>("zmax");
    QTest::newRow("no ideal transconductance") << 0.0 << 10.0;
    QTest::newRow("no load magnitude") << 10e3 << 0.0;
    QTest::newRow("infinite load magnitude") << 10e3 << std::numeric_limits<double>::infinity();
    QTest::newRow("open load") << 10e3 << infiniteValue;
}

void TestIhcpEngine::sweepUndefined()
{
    QFETCH(double, rfn);
    QFETCH(double, zmax);
    Resistors r = kDefault;
    r.rfn = rfn;
    const SweepResult s = sweepLoad(r, Tolerances{}, kOpen, true, zmax);
    QVERIFY(!s.defined);
    QVERIFY(!s.why.isEmpty());
    QVERIFY(s.impedance.isEmpty() && s.errorPercent.isEmpty());
}

void TestIhcpEngine::sweepMaxImpedance_data()
{
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("l");
    QTest::addColumn<double>("expected");
    QTest::newRow("resistive") << "short"
                               << "short" << 10.0;
    // sqrt(10^2 + (2 pi 1k 10m)^2) = sqrt(100 + 3947.84)
    QTest::newRow("inductive") << "short"
                               << "10m" << std::sqrt(100 + std::pow(kTwoPi * 10, 2));
    QTest::newRow("capacitive") << "1u"
                                << "short" << std::sqrt(100 + std::pow(1 / (kTwoPi * 1e-3), 2));
    // "open" reads as 4294967295 F here: its reactance is negligible.
    QTest::newRow("open capacitance reads as huge") << "open"
                                                    << "short" << 10.0;
}

void TestIhcpEngine::sweepMaxImpedance()
{
    QFETCH(QString, c);
    QFETCH(QString, l);
    QFETCH(double, expected);
    QVERIFY(relClose(ihcp::sweepMaxImpedance("10", c, l, "1k"), expected, 1e-12));
}

void TestIhcpEngine::sweepBalancedPumpHasNoError_data()
{
    QTest::addColumn<bool>("inv");
    QTest::newRow("inverting") << true;
    // Measured against Rfp/(Rs Rip) = 1990/(10 * 2000) this pump read 0.5025 % everywhere.
    QTest::newRow("non-inverting") << false;
}

void TestIhcpEngine::sweepBalancedPumpHasNoError()
{
    // Rfp + Rs = Rfn with trim pots: the pump gives Rfn/(Rin Rs) = 0.1 A/V into any load.
    QFETCH(bool, inv);
    const Resistors r{2e3, 2e3, 2000, 1990, 10};
    const SweepResult s = sweepLoad(r, Tolerances{}, kOpen, inv, 50);
    QVERIFY(s.defined);
    QCOMPARE(idealTransconductance(r, inv), inv ? -0.1 : 0.1);
    for (int i = 0; i < s.errorPercent.size(); ++i)
        QVERIFY2(s.errorPercent[i] < 1e-6, qPrintable(QString::number(s.errorPercent[i])));
    // The reference is the nodal solution's transconductance, not a resistor ratio.
    QVERIFY(relClose(nodalTransconductance(r, cplx(1 / 50.0, 0), 0, inv), inv ? -0.1 : 0.1, 1e-12));
}

void TestIhcpEngine::checkValues_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("circuit");
    QTest::addColumn<bool>("tolerances");
    QTest::addColumn<bool>("openLoad");
    QTest::addColumn<QString>("note"); // empty: no note at all
    const QString unbounded = QStringLiteral("\tR_IN is 0: the transconductance is unbounded");
    QTest::newRow("defaults") << ""
                              << "" << true << true << false << QString();
    QTest::newRow("R_IN 0") << "rin"
                            << "0" << false << true << false << unbounded;
    QTest::newRow("R_IN short") << "rin"
                                << "short" << false << true << false << unbounded;
    QTest::newRow("R_IN empty") << "rin"
                                << "" << false << true << false << unbounded;
    QTest::newRow("R_IN negative")
        << "rin"
        << "-10k" << false << true << false
        << QStringLiteral("\tR_IN is -10 kΩ: a resistance cannot be negative");
    QTest::newRow("R_IN unreadable")
        << "rin"
        << "abc" << false << true << false << QStringLiteral("\tR_IN cannot be read");
    QTest::newRow("R_IN open") << "rin"
                               << "open" << false << true << false
                               << QStringLiteral("\tR_IN is open: no input reaches the amplifier");
    QTest::newRow("R_S 0") << "rs"
                           << "0" << false << true << false
                           << QStringLiteral("\tR_S is 0: the transconductance is unbounded");
    QTest::newRow("R_S open") << "rs"
                              << "open" << false << true << false
                              << QStringLiteral("\tR_S is open: no current reaches the load");
    QTest::newRow("R_FN 0 is a design") << "rfn"
                                        << "0" << true << true << false << QString();
    QTest::newRow("R_FN open") << "rfn"
                               << "open" << false << true << false
                               << QStringLiteral("\tR_FN is open: the amplifier has no negative "
                                                 "feedback");
    QTest::newRow("R_FP 0") << "rfp"
                            << "0" << false << true << false
                            << QStringLiteral(
                                   "\tR_FP is 0: the load node is tied to the non-inverting input");
    QTest::newRow("R_FP open is a design") << "rfp"
                                           << "open" << true << true << false << QString();
    QTest::newRow("R_D negative") << "rd"
                                  << "-1" << false << true << false
                                  << QStringLiteral(
                                         "\tR_D is -1 Ω: a resistance cannot be negative");
    QTest::newRow("C_D negative") << "cd"
                                  << "-1u" << false << true << false
                                  << QStringLiteral(
                                         "\tC_D is -1 uF: a capacitance cannot be negative");
    const QString open = QStringLiteral("\tThe load is open: no current can flow into it");
    QTest::newRow("R_LOAD open") << "rload"
                                 << "open" << true << true << true << open;
    QTest::newRow("R_LOAD 0 is a short") << "rload"
                                         << "0" << true << true << false << QString();
    QTest::newRow("C_LOAD 0") << "cload"
                              << "0" << true << true << true << open;
    QTest::newRow("C_LOAD open") << "cload"
                                 << "open" << true << true << true << open;
    QTest::newRow("C_LOAD negative")
        << "cload"
        << "-1u" << false << true << false
        << QStringLiteral("\tC_LOAD is -1 uF: a capacitance cannot be negative");
    QTest::newRow("L_LOAD open") << "lload"
                                 << "open" << true << true << true << open;
    QTest::newRow("L_LOAD negative")
        << "lload"
        << "-1m" << false << true << false
        << QStringLiteral("\tL_LOAD is -1 mH: an inductance cannot be negative");
    QTest::newRow("F negative") << "freq"
                                << "-1k" << false << true << false
                                << QStringLiteral("\tF is -1 kHz: a frequency cannot be negative");
    QTest::newRow("tolerance negative")
        << "rinT"
        << "-1" << true << false << false
        << QStringLiteral("\tThe tolerance of R_IN is -1 %: a tolerance cannot be negative");
    QTest::newRow("tolerance of 100 %")
        << "rsT"
        << "100" << true << false << false
        << QStringLiteral("\tThe tolerance of R_S is 100 % or more: its band reaches 0 Ω");
    QTest::newRow("tolerance unreadable")
        << "rfnT"
        << "x" << true << false << false
        << QStringLiteral("\tThe tolerance of R_FN cannot be read");
    QTest::newRow("trim pot") << "rfpT"
                              << "0 (trim pot)" << true << true << false << QString();
}

void TestIhcpEngine::checkValues()
{
    QFETCH(QString, member);
    QFETCH(QString, text);
    QFETCH(bool, circuit);
    QFETCH(bool, tolerances);
    QFETCH(bool, openLoad);
    QFETCH(QString, note);
    // The page's defaults; a capacitive load where the row is about a capacitance.
    PumpTexts t{"10k", "0.1",  "10k",  "0.1", "10k",   "0.1",   "1",
                "1",   "open", "open", "10",  "short", "short", "1k"};
    if (member == "cload" || member == "freq") t.cload = "100n";
    if (member == "lload") t.lload = "100u";
    if (member == "cd") t.rd = "10";
    QString *field = member == "rin"     ? &t.rin
                     : member == "rs"    ? &t.rs
                     : member == "rfn"   ? &t.rfn
                     : member == "rfp"   ? &t.rfp
                     : member == "rd"    ? &t.rd
                     : member == "cd"    ? &t.cd
                     : member == "rload" ? &t.rload
                     : member == "cload" ? &t.cload
                     : member == "lload" ? &t.lload
                     : member == "freq"  ? &t.freq
                     : member == "rinT"  ? &t.rinT
                     : member == "rsT"   ? &t.rsT
                     : member == "rfnT"  ? &t.rfnT
                     : member == "rfpT"  ? &t.rfpT
                                         : nullptr;
    if (field) *field = text;
    const PumpCheck c = checkPump(t);
    QCOMPARE(c.circuit, circuit);
    QCOMPARE(c.tolerances, tolerances);
    QCOMPARE(c.openLoad, openLoad);
    QCOMPARE(noteTexts(c.notes), note.isEmpty() ? QStringList() : QStringList{note});
    for (const PumpNote &n : c.notes)
        QCOMPARE(n.colour, NoteColour::Red);
    // The value's label is marked when the model cannot use it; an open load is a design.
    const bool marked = !circuit || !tolerances;
    QCOMPARE(c.unusable.size(), marked ? 1 : 0);
    if (!circuit) QCOMPARE(QStringLiteral("\t") + c.circuitWhy, note);
}

void TestIhcpEngine::pageTexts()
{
    QCOMPARE(noteTexts(transconductanceNotes(-1, -0.9995, -1.0203)),
             (QStringList{"Notes:\n", "TRANSCONDUCTANCE", "\tIdeal: -1 A/V", "\tActual: -1 A/V",
                          "\tWorst Case: -1.02 A/V", "\tSee below for maximum bandwidth"}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QVector<PumpNote> none = transconductanceNotes(nan, nan, -1.0203);
    QCOMPARE(noteTexts(none).mid(2, 3),
             (QStringList{"\tIdeal: —", "\tActual: —", "\tWorst Case: -1.02 A/V"}));
    QCOMPARE(none[2].colour, NoteColour::Red);
    QCOMPARE(none[3].colour, NoteColour::Red);
    QCOMPARE(none[4].colour, NoteColour::Black);

    // -2 A / -0.9995 A/V = 2.001 V; the order follows I_min then I_max.
    QCOMPARE(inputRange(-2, 2, -0.9995).text, QStringLiteral("V_IN = \n2 to -2 V"));
    QCOMPARE(inputRange(-2, 2, -0.9995).colour, NoteColour::Black);
    QCOMPARE(loadRange(-2, 2, 10).text, QStringLiteral("V at Load = \n-20 to 20 V"));
    // No transconductance, an open load, an unusable current: the placeholder, in red.
    const double inf = std::numeric_limits<double>::infinity();
    for (const PumpNote &n : {inputRange(-2, 2, 0), inputRange(nan, 2, -1), inputRange(-2, 2, nan),
                              loadRange(0, 2, inf), loadRange(-2, 2, nan), loadRange(-2, nan, 10),
                              loadRange(-1e308, 1e308, 10)}) {
        QVERIFY2(n.text == QStringLiteral("V_IN = \n—") ||
                     n.text == QStringLiteral("V at Load = \n—"),
                 qPrintable(n.text));
        QCOMPARE(n.colour, NoteColour::Red);
    }
    // No current, no voltage, even across an open load.
    QCOMPARE(loadRange(0, 0, inf).text, QStringLiteral("V at Load = \n0 to 0 V"));
    QCOMPARE(noteTexts(bandwidthNotes(11.5e3)), (QStringList{"\nMAXIMUM BANDWIDTH", "\t11.5 kHz",
                                                             "\t(Where Loop Gain falls to 20dB)"}));
}

void TestIhcpEngine::splitNumberWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("word");
    QTest::newRow("prefix") << "10k" << 10.0 << "k";
    QTest::newRow("mega") << "4.7MEG" << 4.7 << "MEG";
    QTest::newRow("blank before the word") << "2.2 u" << 2.2 << "u";
    QTest::newRow("plain") << "0.1" << 0.1 << "";
    QTest::newRow("no number") << "open" << 0.0 << "";
}

void TestIhcpEngine::splitNumberWord()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(QString, word);
    const NumberWord nw = ihcp::splitNumberWord(text);
    QCOMPARE(nw.number, number);
    QCOMPARE(nw.word, word);
}

void TestIhcpEngine::toleranceLabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tol");
    QTest::addColumn<QString>("expected");
    QTest::newRow("10k at 0.1 %") << "10k"
                                  << "0.1" << QStringLiteral("10 kΩ\n0.1%");
    QTest::newRow("trim pot") << "9999"
                              << "0 (trim pot)" << QStringLiteral("9999 Ω\n0 (trim pot)%");
    QTest::newRow("short without tolerance") << "short"
                                             << "1"
                                             << "short";
    QTest::newRow("open without tolerance") << "open"
                                            << "1"
                                            << "open";
    QTest::newRow("unreadable shown as typed") << "abc"
                                               << "1"
                                               << "abc";
}

void TestIhcpEngine::toleranceLabel()
{
    QFETCH(QString, text);
    QFETCH(QString, tol);
    QFETCH(QString, expected);
    QCOMPARE(toleranceLabelText(text, eng::parseValue(text), tol, QStringLiteral("Ω")), expected);
}

void TestIhcpEngine::loadLabel_data()
{
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("corL");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("f");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pure resistance") << "10"
                                     << "L"
                                     << "short"
                                     << "1k" << QStringLiteral("10 Ω\n\n @ 1 kHz");
    QTest::newRow("series inductance") << "10"
                                       << "L"
                                       << "100u"
                                       << "1k" << QStringLiteral("10 Ω\n + 100 uH\n @ 1 kHz");
    QTest::newRow("series capacitance") << "2.2k"
                                        << "C"
                                        << "100n"
                                        << "50" << QStringLiteral("2.2 kΩ\n + 100 nF\n @ 50 Hz");
    QTest::newRow("open inductance opens the load") << "10"
                                                    << "L"
                                                    << "open"
                                                    << "1k" << QStringLiteral("open\n\n @ 1 kHz");
    QTest::newRow("zero capacitance opens the load") << "10"
                                                     << "C"
                                                     << "0"
                                                     << "1k" << QStringLiteral("open\n\n @ 1 kHz");
    QTest::newRow("open capacitance opens the load") << "10"
                                                     << "C"
                                                     << "open"
                                                     << "1k" << QStringLiteral("open\n\n @ 1 kHz");
    QTest::newRow("capacitance short is no element") << "10"
                                                     << "C"
                                                     << "short"
                                                     << "1k" << QStringLiteral("10 Ω\n\n @ 1 kHz");
    QTest::newRow("frequency without number") << "10"
                                              << "L"
                                              << "short"
                                              << "x" << QStringLiteral("10 Ω\n\n @ 0 Hz");
}

void TestIhcpEngine::loadLabel()
{
    QFETCH(QString, r);
    QFETCH(QString, corL);
    QFETCH(QString, x);
    QFETCH(QString, f);
    QFETCH(QString, expected);
    QCOMPARE(loadLabelText(r, eng::parseValue(r), corL, x, eng::parseValue(x), f), expected);
}

QTEST_GUILESS_MAIN(TestIhcpEngine)
#include "tst_ihcpengine.moc"
