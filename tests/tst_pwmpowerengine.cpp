// The PWM power engine: quiescent power, ripple, switch currents, the loss and thermal summary
// with its notes, the frequency sweeps and the parasitics and matching-network estimates. The
// part is a made-up row whose numbers make the hand derivations short.
#include "pwmpower/filterdesign.h"
#include "pwmpower/parasitics.h"
#include "pwmpower/powerdetails.h"
#include "pwmpower/powersweeps.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

using namespace pwmpower;

Q_DECLARE_METATYPE(pwmpower::Triple)

namespace {

// A full bridge part: Iq 20 mA at 50 kHz and 50 V (slopes 0.1 mA/kHz, 0.05 mA/V), 10 mA from a
// 12 V Vcc (0.02 mA/kHz), 0.1 ohm switches at every temperature, 10 mohm of wiring each,
// 20 + 20 ns edges, theta_JC 1, theta_JA 20, Tc 125, Tj 150, 10 A continuous, 15 A peak.
const QMap<QString, QString> kPart{
    {"ampName", "TP1"},  {"released?", "Y"},     {"Vs_max", "100"},        {"Vs_nom", "50"},
    {"Vs_min", "10"},    {"Vcc_nom", "12"},      {"I_cont", "10"},         {"I_pk", "15"},
    {"Pd_max", "100"},   {"Iq_Vs", "20"},        {"Iq_Vs_vsF", "0.1"},     {"Iq_Vs_vsS", "0.05"},
    {"Iq_Vcc", "10"},    {"Iq_Vcc_vsF", "0.02"}, {"outputs", "2"},         {"Fsw_min", "10"},
    {"Fsw_nom", "50"},   {"Fsw_max", "200"},     {"MaxDutyCycle", "0.95"}, {"t_rise", "20"},
    {"t_fall", "20"},    {"Tc_max", "125"},      {"Tj_max", "150"},        {"Rtheta_DC", "1"},
    {"Rtheta_JA", "20"}, {"top_A", "0"},         {"top_B", "0"},           {"top_C", "0.1"},
    {"top_V", "0"},      {"top_wire", "0.01"},   {"bot_A", "0"},           {"bot_B", "0"},
    {"bot_C", "0.1"},    {"bot_V", "0"},         {"bot_wire", "0.01"}};

pwm makePart(const QMap<QString, QString> &changes = {})
{
    QMap<QString, QString> cells = kPart;
    for (auto it = changes.begin(); it != changes.end(); ++it)
        cells[it.key()] = it.value();
    QTemporaryDir dir;
    const QString path = dir.filePath("PWMAmpData.txt");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write((QStringList(cells.keys()).join('\t') + "\r\n" +
             QStringList(cells.values()).join('\t') + "\r\n")
                .toUtf8());
    f.close();
    QVector<pwm> list;
    pwm().readFile(list, 0, true, path);
    return list.value(0);
}

Triple t(const char *L, const char *R, const char *C)
{
    return {QString::fromLatin1(L), QString::fromLatin1(R), QString::fromLatin1(C)};
}

// No filter, a plain 10 ohm load.
Network resistiveLoad(double ohm = 10)
{
    Network n;
    for (Triple &p : n.P)
        p = t("0", "0", "0");
    n.MN = t("0", "0", "0");
    n.L[0] = n.L[1] = t("0", "0", "short");
    n.L[2] = n.L[3] = t("0", "0", "0");
    n.L[4] = Triple{"0", QString::number(ohm), "short"};
    return n;
}

// 48 V, 20 kHz, +-10 V at 1 kHz, half-bridge losses (kb = 1), bridge filter, 25 °C, 2 °C/W
// heatsink, 0.1 °C/W compound.
PowerInput baseInput()
{
    PowerInput in;
    in.Vs = 48;
    in.FswHz = 20000;
    in.FsigHz = 1000;
    in.Vmax = 10;
    in.Vmin = -10;
    in.Ta = 25;
    in.heatsink = 2;
    in.compound = 0.1;
    return in;
}

bool near(double a, double b, double tol)
{
    return std::abs(a - b) <= tol;
}

QStringList texts(const QVector<PowerNote> &notes)
{
    QStringList list;
    for (const PowerNote &n : notes)
        list << (n.red ? "red: " : "black: ") + n.text;
    return list;
}

} // namespace

class TestPwmPowerEngine : public QObject
{
    Q_OBJECT

private slots:
    void quiescent();
    void ripple();
    void rippleVoltageMatchesFilterPage();
    void switchCurrents_data();
    void switchCurrents();
    void handDerivedSummary();
    void loadPower_data();
    void loadPower();
    void currentDriveMatchesVoltageDrive();
    void fullBridgeDoublesSwitchLosses();
    void zeroSignal();
    void heatsinkWords();
    void limitSearchFailsAtAmbient();
    void notes_data();
    void notes();
    void absurdAmbientStillEnds();

    void outputSweepRangeAndPoints();
    void outputSweepZeroSignal();
    void outputSweepStepAt60Hz();
    void outputSweepFilterLossIsPeak();
    void impedanceAndAttenuationRanges();

    void inductorParasitics_data();
    void inductorParasitics();
    void capacitorParasitics_data();
    void capacitorParasitics();
    void autoMatching_data();
    void autoMatching();
};

// Iq_Vs = 20 + 0.1 (20 - 50) + 0.05 (48 - 50) = 16.9 mA; Iq_Vcc = 10 + 0.02 (20 - 50) = 9.4 mA.
void TestPwmPowerEngine::quiescent()
{
    const pwm part = makePart();
    QCOMPARE(part.getAmpName(), QStringLiteral("TP1"));
    const Quiescent q = quiescentPower(part, 48, 20000);
    QVERIFY(near(q.PVs, 16.9 * 48 / 1000, 1e-12));
    QVERIFY(near(q.PVcc, 9.4 * 12 / 1000, 1e-12));
    // Slopes that would give a negative current stop at 0.
    const Quiescent none =
        quiescentPower(makePart({{"Iq_Vs_vsF", "1"}, {"Iq_Vcc_vsF", "1"}}), 48, 1000);
    QCOMPARE(none.PVs, 0.0);
    QCOMPARE(none.PVcc, 0.0);
}

// 0.8 Vs square wave per output into 10 ohm: 48 x 0.8 x 2 x 0.5 / 10 = 3.84 A for a bridge.
void TestPwmPowerEngine::ripple()
{
    const Network n = resistiveLoad();
    QVERIFY(near(rippleCurrent(n, 48, 20000, false), 3.84, 1e-9));
    QVERIFY(near(rippleCurrent(n, 48, 20000, true), 1.92, 1e-9));
    // No filter: the whole 1.25 Vs reaches the load; a half-bridge part swings half.
    QVERIFY(near(rippleVoltage(n, makePart(), 48, 20000), 60, 1e-6));
    QVERIFY(near(rippleVoltage(n, makePart({{"outputs", "1"}}), 48, 20000), 30, 1e-6));
    QVERIFY(near(rippleVoltage(n, makePart({{"outputs", "3"}}), 48, 20000), 60, 1e-6));
}

// The power page's ripple at the load through the filter page's order-2 Butterworth design
// equals the filter page's own estimate, 1.25 x 48 / (20k / 2k)^2 = 0.6 V.
void TestPwmPowerEngine::rippleVoltageMatchesFilterPage()
{
    const Ladder l = butterworthLadder(2, 15, 2000);
    HandOverInput in;
    in.filterValues[0] = l.inductors[0];
    in.filterValues[3] = l.capacitors[0];
    in.order = 2;
    in.type = FilterType::SplitInductor;
    in.RL = 15;
    in.LloadText = "short";
    const HandOver h = handOverFilter(in);
    Network n;
    for (int k = 0; k < 6; ++k)
        n.P[k] = h.P[k];
    n.MN = h.MN;
    for (int i = 0; i < 5; ++i)
        n.L[i] = h.L[i];
    n.order = 2;
    n.type = FilterType::SplitInductor;
    FilterOrderInput fo;
    fo.Vs = 48;
    fo.Vrip = 0.02;
    fo.FswKHz = 20;
    fo.FcutKHz = 2;
    fo.RL = 15;
    fo.n = 2;
    const double page12 = filterOrder(fo).rippleV;
    QVERIFY(near(page12, 0.6, 1e-12));
    QVERIFY2(near(rippleVoltage(n, makePart(), 48, 20000), page12, 0.002),
             qPrintable(QString::number(rippleVoltage(n, makePart(), 48, 20000))));
}

void TestPwmPowerEngine::switchCurrents_data()
{
    QTest::addColumn<double>("Idc");
    QTest::addColumn<double>("Iac");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("bot");
    // Each switch carries one half of a centred sine: Iac sqrt(1/4).
    QTest::newRow("centred sine") << 0.0 << 1.0 << 0.5 << 0.5;
    // x = 0.6 and 0.4: sqrt(0.3 + 0.04) and sqrt(0.2).
    QTest::newRow("offset sine") << 0.2 << 1.0 << std::sqrt(0.34) << std::sqrt(0.2);
    // The upper switch carries it all: 0.5 sqrt(0.5) with the DC on top.
    QTest::newRow("sine above zero") << 0.5 << 0.5 << std::sqrt(0.125 + 0.25) << 0.0;
    QTest::newRow("sine below zero") << -0.5 << 0.5 << 0.0 << std::sqrt(0.125 + 0.25);
    QTest::newRow("DC positive") << 1.0 << 0.0 << 1.0 << 0.0;
    QTest::newRow("DC negative") << -1.0 << 0.0 << 0.0 << 1.0;
    QTest::newRow("nothing") << 0.0 << 0.0 << 0.0 << 0.0;
}

void TestPwmPowerEngine::switchCurrents()
{
    QFETCH(double, Idc);
    QFETCH(double, Iac);
    QFETCH(double, top);
    QFETCH(double, bot);
    const SwitchCurrents s = pwmpower::switchCurrents(Idc, Iac);
    QVERIFY(near(s.top, top, 1e-12));
    QVERIFY(near(s.bot, bot, 1e-12));
}

// Hand derivation, +-10 V at 1 kHz into 10 ohm: Iac = 1 A, Itop = Ibot = 0.5 A rms,
// Irms = 0.707 A; Pwire = 0.02 x 0.5 = 10 mW; Ptop = 0.1 x 0.25 + 40 ns x 0.5 x 48 x 0.5 x
// 20 kHz = 34.6 mW, Pbot the same; Piq = 0.8112 + 0.1128 = 0.924 W; Pamp = 1.0032 W.
// Tc(T) = T - (0.8112 + 0.0692) x 1; heatsink needed (T - 25.8804) / 1.0032 - 0.1. With 2 °C/W
// the balance lies at T = 27.99 °C: the search stops at the first 0.1 °C step above, 28.0.
void TestPwmPowerEngine::handDerivedSummary()
{
    const PowerDetails r = analysePwmPower(baseInput(), makePart(), resistiveLoad());
    QVERIFY(near(r.Piq, 0.924, 1e-9));
    QVERIFY(near(r.Iripple, 3.84, 1e-9));
    QVERIFY(near(r.Pout, 5, 1e-6));
    QVERIFY(near(r.Pwire, 0.01, 1e-9));
    QVERIFY(near(r.Ptop, 0.0346, 1e-9));
    QVERIFY(near(r.Pbot, 0.0346, 1e-9));
    QVERIFY(near(r.Pamp, 1.0032, 1e-9));
    QVERIFY(near(r.Tj, 28.0, 1e-6));
    QVERIFY(near(r.Tc, 28.0 - 0.8804, 1e-6));
    QVERIFY(!r.runaway);
    // The limit: Tc reaches 125 °C at T = 125.88; the last step within is T = 125.8.
    QVERIFY(near(r.TcLimit, 125.8 - 0.8804, 1e-6));
    QVERIFY(near(r.thetaMax, (125.8 - 25.8804) / 1.0032 - 0.1, 1e-6));
    // 0.1 + 99.5 is more than the 19 °C/W of the part's own path: no heatsink needed.
    QVERIFY(!r.heatsinkNeeded);
    // Swing: 0.95 x 48 - 0.1 x 0.5 on either side.
    QVERIFY(near(r.Vhi, 45.55, 1e-9));
    QVERIFY(near(r.Vlo, -45.55, 1e-9));
    QVERIFY(r.notes.isEmpty());
    QVERIFY(!r.heatsinkRed && !r.TcRed && !r.TjRed && !r.PampRed && !r.TcLimitRed);

    PowerInput se = baseInput();
    se.singleEnded = true;
    const PowerDetails s = analysePwmPower(se, makePart(), resistiveLoad());
    QVERIFY(near(s.Vlo, 0.05 * 48 + 0.05, 1e-9)); // (1 - 0.95) Vs + Rb Ibot
    QVERIFY(near(s.Iripple, 1.92, 1e-9));
}

void TestPwmPowerEngine::loadPower_data()
{
    // ±10 V at 1 kHz straight into a series load (no filter): the load takes
    // P = ½ · (10 V)² · R / |Z|², which the summary and the output sweep must both give
    // (hand derivation). The true power is the apparent power times cos of the load angle.
    QTest::addColumn<Triple>("load");
    QTest::addColumn<double>("watts");
    QTest::newRow("10 ohm: 50 · 10 / 100 = 5 W") << t("0", "10", "short") << 5.0;
    // 2π · 1 kHz · 1.59155 mH = 10 ohm: 45°, |Z|² = 200.
    QTest::newRow("10 ohm + 1.59155 mH, 45 degrees: 500 / 200 = 2.5 W")
        << t("1.5915494309m", "10", "short") << 2.5;
    // 1 / (2π · 1 kHz · 10 uF) = 15.9155 ohm: -57.86°, |Z|² = 100 + 253.3030 = 353.3030.
    QTest::newRow("10 ohm + 10 uF, -57.86 degrees: 500 / 353.3030 = 1.415216 W")
        << t("0", "10", "10u") << 1.415216;
}

void TestPwmPowerEngine::loadPower()
{
    QFETCH(Triple, load);
    QFETCH(double, watts);
    Network n = resistiveLoad();
    n.L[4] = load;
    const double Pout = analysePwmPower(baseInput(), makePart(), n).Pout;
    QVERIFY2(near(Pout, watts, 1e-6 * watts), qPrintable(QString::number(Pout, 'g', 8)));
    SweepRange at1k; // 100 Hz to 1.1 kHz in 10 Hz steps: the 91st point is 1 kHz
    at1k.minAuto = false;
    at1k.fmin = 100;
    at1k.maxAuto = false;
    at1k.fmax = 1100;
    const OutputSweep s = outputSweep(n, makePart(), baseInput(), 0.924, at1k);
    QCOMPARE(s.f[90], 1000.0);
    QVERIFY2(near(s.Pload[90], watts, 1e-6 * watts),
             qPrintable(QString::number(s.Pload[90], 'g', 8)));
}

// 1 A into 10 ohm is the same operating point as 10 V.
void TestPwmPowerEngine::currentDriveMatchesVoltageDrive()
{
    PowerInput in = baseInput();
    in.currentMode = true;
    in.Vmax = 1;
    in.Vmin = -1;
    const PowerDetails i = analysePwmPower(in, makePart(), resistiveLoad());
    const PowerDetails v = analysePwmPower(baseInput(), makePart(), resistiveLoad());
    QVERIFY(near(i.Pout, v.Pout, 1e-9));
    QVERIFY(near(i.Pamp, v.Pamp, 1e-9));
    QVERIFY(near(i.Tj, v.Tj, 1e-9));
}

void TestPwmPowerEngine::fullBridgeDoublesSwitchLosses()
{
    PowerInput in = baseInput();
    in.fullBridge = true;
    const PowerDetails fb = analysePwmPower(in, makePart(), resistiveLoad());
    QVERIFY(near(fb.Ptop, 2 * 0.0346, 1e-9));
    QVERIFY(near(fb.Pamp, 0.924 + 0.01 + 4 * 0.0346, 1e-9));
}

// No signal: no switch or wiring loss, the amplifier dissipates its quiescent power.
void TestPwmPowerEngine::zeroSignal()
{
    PowerInput in = baseInput();
    in.Vmax = in.Vmin = 0;
    const PowerDetails r = analysePwmPower(in, makePart(), resistiveLoad());
    QCOMPARE(r.Ptop, 0.0);
    QCOMPARE(r.Pbot, 0.0);
    QCOMPARE(r.Pwire, 0.0);
    QCOMPARE(r.Pout, 0.0);
    QVERIFY(near(r.Pamp, r.Piq, 1e-12));
    QVERIFY(std::isfinite(r.Tj) && std::isfinite(r.Tc) && std::isfinite(r.Vripple));
    QVERIFY(near(r.Vripple, 60, 1e-6));
}

void TestPwmPowerEngine::heatsinkWords()
{
    // "none": the part's own 19 °C/W path: (T - 25.8804) / 1.0032 - 0.1 > 19 at T = 45.04.
    PowerInput in = baseInput();
    in.noHeatsink = true;
    in.heatsink = 4294967295.0;
    const PowerDetails none = analysePwmPower(in, makePart(), resistiveLoad());
    QVERIFY(near(none.Tj, 45.1, 1e-6));
    // "open" is a heatsink of 4294967295 °C/W: no balance below 500 °C.
    in.noHeatsink = false;
    const PowerDetails open = analysePwmPower(in, makePart(), resistiveLoad());
    QVERIFY(open.runaway);
    QVERIFY(open.Tj > 500);
    QVERIFY(open.TcRed && open.TjRed);
    QVERIFY(texts(open.notes).contains("red: !!! Junction Temperature too High !!!"));
    QVERIFY(texts(open.notes).contains("red: !!! Case Temperature too High !!!"));
}

// Ambient above the junction limit: the first step already fails, both results stay 0.
void TestPwmPowerEngine::limitSearchFailsAtAmbient()
{
    PowerInput in = baseInput();
    in.Ta = 160;
    const PowerDetails r = analysePwmPower(in, makePart(), resistiveLoad());
    QCOMPARE(r.TcLimit, 0.0);
    QCOMPARE(r.thetaMax, 0.0);
    QVERIFY(r.TcLimitRed);
    QVERIFY(r.heatsinkNeeded); // 0.1 + 0 is below 19

    // A case that may run hotter than the junction: the junction limit ends the search.
    const PowerDetails j =
        analysePwmPower(baseInput(), makePart({{"Tc_max", "200"}}), resistiveLoad());
    QVERIFY2(near(j.TcLimit, 150 - 0.8804, 0.11), qPrintable(QString::number(j.TcLimit)));
}

void TestPwmPowerEngine::notes_data()
{
    QTest::addColumn<double>("Vmax");
    QTest::addColumn<double>("Vmin");
    QTest::addColumn<QString>("pd");
    QTest::addColumn<double>("Ta");
    QTest::addColumn<double>("compound");
    QTest::addColumn<QStringList>("expected");
    const QString clip = "black: Clipping Likely. Based on saturation voltage of output "
                         "elements. Consider increasing headroom voltage between maximum "
                         "output and supply.";
    const QString duty = "black: Duty Cycle in non-linear region. Consider increasing headroom "
                         "voltage between maximum output and supply.";
    const QString cont = "black: Continuous Current Specification Exceeded. Unsafe for Steady "
                         "State Conditions.";
    const QString peak = "red: !!! Peak Current Specification Exceeded !!!";

    // 46.5 V: Iac 4.65 A, Itop 2.325 A: Vhi = 45.6 - 0.23 < 46.5 < Shi = 48 - 0.23.
    QTest::newRow("non-linear duty cycle")
        << 46.5 << -46.5 << "100" << 25.0 << 0.1 << QStringList{duty};
    // 80 V: 8 A + 3.84 A ripple is above 10 A continuous, below 15 A peak.
    QTest::newRow("clipping, continuous current")
        << 80.0 << -80.0 << "100" << 25.0 << 0.1 << QStringList{clip, cont};
    QTest::newRow("peak current") << 120.0 << -120.0 << "1000" << 25.0 << 0.1
                                  << QStringList{clip, peak};
    QTest::newRow("power dissipation") << 10.0 << -10.0 << "0.5" << 25.0 << 0.1
                                       << QStringList{"red: !!! Power Dissipation too High !!!"};
    // 120 °C ambient, 10 °C/W compound: (125 - 120) / 1 - 10 < 0; the case then settles at
    // 130.5 °C.
    QTest::newRow("unreasonable heatsink")
        << 10.0 << -10.0 << "100" << 120.0 << 10.0
        << QStringList{"red: !!! Heatsink Requirements Unreasonable !!!",
                       "red: !!! Case Temperature too High !!!"};
    QTest::newRow("minimum above maximum")
        << -10.0 << 10.0 << "100" << 25.0 << 0.1
        << QStringList{"red: !!! Minimum Output cannot exceed Maximum Output !!!"};
}

void TestPwmPowerEngine::notes()
{
    QFETCH(double, Vmax);
    QFETCH(double, Vmin);
    QFETCH(QString, pd);
    QFETCH(double, Ta);
    QFETCH(double, compound);
    QFETCH(QStringList, expected);
    PowerInput in = baseInput();
    in.Vmax = Vmax;
    in.Vmin = Vmin;
    in.Ta = Ta;
    in.compound = compound;
    in.heatsink = 0.5;
    // Heavy rows would also overheat the part: their limits are raised out of the way, except
    // where the heatsink limit is the point.
    QMap<QString, QString> part{{"Pd_max", pd}};
    if (Ta < 100) part.insert({{"Tj_max", "1000"}, {"Tc_max", "1000"}});
    const PowerDetails r = analysePwmPower(in, makePart(part), resistiveLoad());
    QCOMPARE(texts(r.notes), expected);
    QCOMPARE(r.PampRed, pd == "0.5");
}

// An ambient typed as -1T would take 10^13 steps of 0.1 °C: the searches are bounded.
void TestPwmPowerEngine::absurdAmbientStillEnds()
{
    PowerInput in = baseInput();
    in.Ta = -1e12;
    QElapsedTimer timer;
    timer.start();
    const PowerDetails r = analysePwmPower(in, makePart(), resistiveLoad());
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(std::isfinite(r.Tj));
}

void TestPwmPowerEngine::outputSweepRangeAndPoints()
{
    const PowerInput in = baseInput();
    const OutputSweep s = outputSweep(resistiveLoad(), makePart(), in, 0.924, SweepRange{});
    QCOMPARE(s.fmin, 0.0);
    QCOMPARE(s.fmax, 3000.0);
    QCOMPARE(s.f.size(), 102);
    QCOMPARE(s.f[1], 30.0);
    QCOMPARE(s.f[100], 59.9);
    QCOMPARE(s.f[101], 60.1);
    for (const QVector<double> *v : {&s.Iout, &s.IL, &s.Vout, &s.VL, &s.Pfil, &s.Sload, &s.Pload,
                                     &s.PRm, &s.Pint, &s.effApparent, &s.effTrue})
        QCOMPARE(v->size(), 102);
    // 10 V into 10 ohm, no filter: 0.707 A and 7.07 V rms everywhere, 5 W in the load.
    QVERIFY(near(s.Iout[50], std::sqrt(0.5), 1e-9));
    QVERIFY(near(s.VL[50], std::sqrt(50.0), 1e-9));
    QVERIFY(near(s.Pload[50], 5, 1e-6));
    const double Ptot = s.Pint[50] + s.Pfil[50] + s.PRm[50] + s.Pload[50];
    QVERIFY(near(s.effTrue[50], 5 * 100 / Ptot, 1e-6));

    SweepRange typed;
    typed.minAuto = false;
    typed.fmin = 100;
    typed.maxAuto = false;
    typed.fmax = 1100;
    const OutputSweep t = outputSweep(resistiveLoad(), makePart(), in, 0.924, typed);
    QCOMPARE(t.f[0], 100.0);
    QCOMPARE(t.f[99], 1090.0);
}

// Every current, voltage and load power is 0 and the amplifier dissipates Piq alone.
void TestPwmPowerEngine::outputSweepZeroSignal()
{
    PowerInput in = baseInput();
    in.Vmax = in.Vmin = 0;
    Network n = resistiveLoad();
    n.order = 2;
    n.P[0] = t("100u", "0.1", "0");
    n.P[1] = t("0", "0.01", "10u");
    const OutputSweep s = outputSweep(n, makePart(), in, 0.924, SweepRange{});
    for (int i = 0; i < s.f.size(); ++i) {
        for (const QVector<double> *v :
             {&s.Iout, &s.IL, &s.Vout, &s.VL, &s.Pfil, &s.Sload, &s.Pload, &s.PRm})
            QCOMPARE(v->at(i), 0.0);
        QCOMPARE(s.Pint[i], 0.924);
        QVERIFY(std::isfinite(s.effTrue[i]));
    }
    QCOMPARE(s.hotSpot, s.f[0]); // all equal: the first point
    // Nothing dissipates at all: no hot spot.
    QCOMPARE(outputSweep(n, makePart(), in, 0, SweepRange{}).hotSpot, 0.0);
}

// Below 60 Hz each switch carries sqrt 2 more rms current: with conduction loss only, twice
// the switch loss.
void TestPwmPowerEngine::outputSweepStepAt60Hz()
{
    const pwm part =
        makePart({{"t_rise", "0"}, {"t_fall", "0"}, {"top_wire", "0"}, {"bot_wire", "0"}});
    const OutputSweep s = outputSweep(resistiveLoad(), part, baseInput(), 0, SweepRange{});
    QVERIFY(near(s.Pint[101], 0.1 * 0.25 * 2, 1e-9));  // 60.1 Hz: 0.5 A in each switch
    QVERIFY(near(s.Pint[100], 2 * s.Pint[101], 1e-9)); // 59.9 Hz
    QCOMPARE(s.hotSpot, 0.0);                          // the first of the points below 60 Hz
}

// The filter loss of a pure sine is that of its peak amplitude.
void TestPwmPowerEngine::outputSweepFilterLossIsPeak()
{
    Network n = resistiveLoad();
    n.order = 2;
    n.P[0] = t("100u", "0.2", "0");
    n.P[1] = t("0", "0.05", "10u");
    const OutputSweep s = outputSweep(n, makePart(), baseInput(), 0.924, SweepRange{});
    for (int i : {10, 50, 99})
        QVERIFY(near(s.Pfil[i], filterLoss(n, s.f[i], 10), 1e-9 * filterLoss(n, s.f[i], 10)));
    // Hand check at a low frequency: 10 V into 10.2 ohm, 0.98 A peak through 0.2 ohm.
    QVERIFY(near(s.Pfil[1], 0.5 * std::pow(10 / 10.2, 2) * 0.2, 1e-3));
}

void TestPwmPowerEngine::impedanceAndAttenuationRanges()
{
    const Network n = resistiveLoad();
    const ImpedanceSweep z = impedanceSweep(n, 1000, SweepRange{});
    QCOMPARE(z.f.size(), 100);
    QCOMPARE(z.fmin, 0.0);
    QCOMPARE(z.fmax, 3000.0);
    QVERIFY(near(z.largest, 10, 1e-9));
    QVERIFY(near(z.Zout[40], 10, 1e-9));

    const AttenuationSweep a = attenuationSweep(n, 1000, SweepRange{});
    QCOMPARE(a.f.size(), 100);
    QCOMPARE(a.fmin, 1.0);
    QVERIFY(near(a.fmax, 1e6, 1e-3)); // Fsig squared
    QVERIFY(near(a.f.last(), std::pow(1e6, 0.99), 1e-3));
    QVERIFY(near(a.dB[20], 0, 1e-9));
    QVERIFY(near(a.percent[20], 0, 1e-9));

    // A typed Fmin of 0 starts at 1 Hz.
    SweepRange zero;
    zero.minAuto = false;
    zero.fmin = 0;
    QCOMPARE(attenuationSweep(n, 1000, zero).fmin, 1.0);
    QVERIFY(!a.defaultSpan && !z.defaultSpan);

    // Fsig below 1 Hz would run downwards, Fsig 0 would collapse the linear span: both take the
    // default span of a 1 kHz signal instead, and say so.
    const AttenuationSweep down = attenuationSweep(n, 0.5, SweepRange{});
    QCOMPARE(down.f.size(), 100);
    QVERIFY(down.defaultSpan);
    QCOMPARE(down.fmin, 1.0);
    QCOMPARE(down.fmax, 1e6);
    QVERIFY(down.f.last() > down.f.first());
    const ImpedanceSweep dc = impedanceSweep(n, 0, SweepRange{});
    QVERIFY(dc.defaultSpan);
    QCOMPARE(dc.fmin, 0.0);
    QCOMPARE(dc.fmax, 3000.0);
    SweepRange inverted;
    inverted.minAuto = inverted.maxAuto = false;
    inverted.fmin = 5000;
    inverted.fmax = 1000;
    const Span fallback = linearSpan(inverted, 1000);
    QVERIFY(fallback.fallback);
    QCOMPARE(fallback.fmax, 3000.0);
    QVERIFY(logSpan(inverted, 1000).fallback);
}

void TestPwmPowerEngine::inductorParasitics_data()
{
    QTest::addColumn<QString>("L");
    QTest::addColumn<QString>("R");
    QTest::addColumn<QString>("C");
    // The page's coefficients: 0.01 ohm + 0.3 ohm/mH, 20 pF + 25 pF/mH.
    QTest::newRow("1 mH: 0.31 ohm, 45 pF") << "1m"
                                           << "310 m"
                                           << "45 p";
    QTest::newRow("470 uH: 0.151 ohm, 31.75 pF") << "470u"
                                                 << "151 m"
                                                 << "31.8 p";
    QTest::newRow("open") << "open"
                          << "0"
                          << "0";
    QTest::newRow("zero") << "0"
                          << "0"
                          << "0";
}

void TestPwmPowerEngine::inductorParasitics()
{
    QFETCH(QString, L);
    QFETCH(QString, R);
    QFETCH(QString, C);
    Triple part{L, "5", "5"};
    estimateInductorParasitics(part, 0.01, 20e-12, 0.3 * 1000, 25 / 1e9);
    QCOMPARE(part.L, L);
    QCOMPARE(part.R, R);
    QCOMPARE(part.C, C);
}

void TestPwmPowerEngine::capacitorParasitics_data()
{
    QTest::addColumn<QString>("C");
    QTest::addColumn<QString>("R");
    QTest::addColumn<QString>("L");
    // Plastic: 0.05 ohm + 0.05 ohm and 10 nH + 13 nH per decade of uF; log10(4.7) = 0.672.
    QTest::newRow("4.7 uF") << "4.7u"
                            << "83.6 m"
                            << "18.7 n";
    QTest::newRow("100 uF: two decades") << "100u"
                                         << "150 m"
                                         << "36 n";
    QTest::newRow("below 1 uF: constants") << "100n"
                                           << "50 m"
                                           << "10 n";
    QTest::newRow("short") << "short"
                           << "0"
                           << "0";
    QTest::newRow("zero") << "0"
                          << "0"
                          << "0";
}

void TestPwmPowerEngine::capacitorParasitics()
{
    QFETCH(QString, C);
    QFETCH(QString, R);
    QFETCH(QString, L);
    Triple part{"5", "5", C};
    estimateCapacitorParasitics(part, 0.05, 10 / 1e9, 0.05, 13 / 1e9);
    QCOMPARE(part.C, C);
    QCOMPARE(part.R, R);
    QCOMPARE(part.L, L);
}

void TestPwmPowerEngine::autoMatching_data()
{
    QTest::addColumn<Triple>("load");
    QTest::addColumn<QStringList>("mn");
    // At 1 kHz: 10 uF is -15.9 ohm, so L = 15^2 x 10 uF; 2.25 mH is +14.1 ohm, C = L / 15^2.
    QTest::newRow("RC load") << t("0", "15", "10u") << QStringList{"2.25 m", "15 ", "short"};
    QTest::newRow("RL load") << t("2.25m", "15", "short") << QStringList{"0", "15 ", "10 u"};
    QTest::newRow("resistive") << t("0", "15", "short") << QStringList{"0", "0", "0"};
    QTest::newRow("open resistance") << t("2.25m", "open", "short") << QStringList{"0", "0", "0"};
    QTest::newRow("capacitance 0") << t("0", "15", "0") << QStringList{"0", "0", "0"};
    // A capacitor alone once got a near short (9.5e-21 H in series with 0.975 fohm).
    QTest::newRow("capacitor alone") << t("0", "short", "10u") << QStringList{"0", "0", "0"};
    QTest::newRow("inductor alone") << t("10m", "short", "short") << QStringList{"0", "0", "0"};
}

void TestPwmPowerEngine::autoMatching()
{
    QFETCH(Triple, load);
    QFETCH(QStringList, mn);
    Network n = resistiveLoad();
    n.L[4] = load;
    const AcResult ac = acResponse(n, 1000, 0, Drive::Voltage);
    bool reactiveOnly = true;
    const Triple m = autoMatchingNetwork(ac.Zload, ac.Aload, load, &reactiveOnly);
    QCOMPARE((QStringList{m.L, m.R, m.C}), mn);
    QCOMPARE(reactiveOnly, load.R == QLatin1String("short"));
}

QTEST_GUILESS_MAIN(TestPwmPowerEngine)
#include "tst_pwmpowerengine.moc"
