// Stability engine without a window: the shared Bode steps, the four loop models, the
// automatic compensation, the R-C calculators and the Bode plot generator's curves.
#include "catalog/amp.h"
#include "stability/autocomp.h"
#include "stability/bodegenerator.h"
#include "stability/bodemodel.h"
#include "stability/rccalc.h"
#include "values/engvalues.h"

#include <QtTest>

#include <cmath>

using namespace stab;

namespace {

// A part made the way the catalog reader makes one, column by column; the option count comes
// before the lists it sizes. The defaults are a plain amplifier with one compensation option:
// 118 dB, poles 10 Hz, 7.5 MHz and 75 MHz, 1700 Ω output impedance, no current-limit input.
amp makePart(const QMap<QString, QStringList> &overrides = {})
{
    const QList<QPair<QString, QStringList>> base = {
        {"ampName", {"TST1"}}, {"SROptions", {"1"}}, {"slewRate", {"30"}},
        {"Aol_DC", {"118"}},   {"pole1", {"10"}},    {"pole2", {"7.5E6"}},
        {"pole3", {"7.5E7"}},  {"Zout", {"1700"}},   {"Cfb", {"0"}},
        {"Rfb", {"0"}},        {"Rin", {"0"}},       {"CircuitType", {"normal"}},
        {"Vbe", {"0"}},        {"CLint", {"N"}},
    };
    amp part;
    for (const auto &column : base) {
        catalog::CellCursor cells(overrides.value(column.first, column.second));
        part.readColumn(column.first, cells);
    }
    return part;
}

BodeInput defaultInput()
{
    BodeInput in;
    in.inverting = true;
    in.phaseShiftComponents = true;
    return in;
}

QStringList graphNames(const QVector<BodeGraph> &graphs)
{
    QStringList names;
    for (const BodeGraph &g : graphs)
        names << g.name;
    return names;
}

const BodeGraph *findGraph(const QVector<BodeGraph> &graphs, const QString &name)
{
    for (const BodeGraph &g : graphs)
        if (g.name == name) return &g;
    return nullptr;
}

// The circuit value of `name` (a member of CircuitValues).
QString &circuitValue(CircuitValues &v, const QString &name)
{
    static const QMap<QString, QString CircuitValues::*> members{
        {"RinC", &CircuitValues::RinC},       {"RngC", &CircuitValues::RngC},
        {"RisoC", &CircuitValues::RisoC},     {"CLoadStab", &CircuitValues::CLoadStab},
        {"RinL", &CircuitValues::RinL},       {"RfbL", &CircuitValues::RfbL},
        {"RsL", &CircuitValues::RsL},         {"LLoadStab", &CircuitValues::LLoadStab},
        {"hostRin", &CircuitValues::hostRin}, {"compCfb", &CircuitValues::compCfb}};
    return v.*members.value(name);
}

BodeResult runModel(int model, const BodeInput &in, const amp &part)
{
    static const LoopKind kinds[] = {LoopKind::Capacitive, LoopKind::Inductive,
                                     LoopKind::CompositeCapacitive, LoopKind::CompositeInductive};
    return runLoop(kinds[model], in, part);
}

bool near(double a, double b, double relTol)
{
    return std::fabs(a - b) <= relTol * std::fabs(b);
}

} // namespace

class TestStabModels : public QObject
{
    Q_OBJECT

private slots:
    // ---- shared steps
    void frequencyGridSpansSevenAndAHalfDecades();
    void asymptoticRules_data();
    void asymptoticRules();
    void verdict_data();
    void verdict();
    void openCapacitorIsNoCapacitor();

    // ---- capacitive load
    void capacitiveWorkedExample_data();
    void capacitiveWorkedExample();
    void capacitiveDetailReport();
    void capacitiveNoLoadDrawsNoLoadCorners();
    void capacitiveIsolationAboveZtCancelsLoadPole();
    void capacitiveNonInvertingIgnoresNoiseGain();
    void capacitiveNoiseGainRaisesBetaAndIsNeverNegative();
    void capacitiveWithoutClosureStaysAtOneHertz();
    void risingBetaClosesAt40_data();
    void risingBetaClosesAt40();
    void capacitiveCurrentLimitResistor_data();
    void capacitiveCurrentLimitResistor();
    void capacitiveCircuitTypes_data();
    void capacitiveCircuitTypes();
    void capacitiveClosedLoopView();
    void capacitiveQuietRunHasNoReport();

    // ---- inductive load
    void inductiveDefaults();
    void inductiveLoadInductance();
    void inductiveSenseAmplifier();
    void inductiveCircuitTypeKeepsTypedSenseDivider();
    void inductiveWithoutClosureStaysAtOneHertz();
    void inductiveClosedLoopView();

    // ---- composite loops
    void compositeCapacitiveDefaults();
    void compositeCapacitiveNoiseGain();
    void compositeCapacitiveFeedbackCapacitor();
    void compositeCapacitiveClosedLoopView();
    void compositeHostWithoutPolesIsFlat();
    void compositeInductiveDefaults();
    void compositeInductiveSenseAmplifierAndFeedbackPole();
    void refusedInputs_data();
    void refusedInputs();
    void verdictRanks();

    // ---- automatic compensation
    void targetFromSlider_data();
    void targetFromSlider();
    void acceptance_data();
    void acceptance();
    void searchModelRuns_data();
    void searchModelRuns();
    void searchWritesRoundedValues();
    void searchIsolationWinLeavesZeros();
    void searchMissedTargetMovesSlider();
    void searchWithoutCandidatesRestoresStartTexts();
    void searchWithoutOptionsAcceptsNothing();
    void searchFindsMarginOnRealLoop();

    // ---- calculators and generator
    void rcCalculators_data();
    void rcCalculators();
    void isolationPowerText_data();
    void isolationPowerText();
    void demoCurves_data();
    void demoCurves();
};

// ------------------------------------------------------------------ shared steps

void TestStabModels::verdictRanks()
{
    QCOMPARE(verdictRank("STABLE"), 3);
    QCOMPARE(verdictRank("MARGINALLY STABLE"), 2);
    QCOMPARE(verdictRank("UNSTABLE"), 1);
    QCOMPARE(verdictRank(kNotAnalysed), 0);
    QCOMPARE(QString(kNotAnalysed), QString("NOT ANALYSED"));
}

void TestStabModels::frequencyGridSpansSevenAndAHalfDecades()
{
    const QVector<double> f = frequencyGrid();
    QCOMPARE(f.size(), 128);
    QCOMPARE(f[0], 1.0);
    QVERIFY(near(f[16], 10, 1e-12));
    QVERIFY(near(f[89], std::pow(10, 89.0 / 16), 1e-12)); // ≈ 365.2 kHz
    QVERIFY(near(f[127], 86596432.3, 1e-9));              // 10^(127/16)
}

void TestStabModels::asymptoticRules_data()
{
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("corner");
    QTest::addColumn<double>("pole");
    QTest::addColumn<double>("lag");

    // Straight lines: -20 dB and 45° per decade.
    QTest::newRow("decade below the corner") << 10.0 << 100.0 << 0.0 << 0.0;
    QTest::newRow("at the corner") << 100.0 << 100.0 << 0.0 << -45.0;
    QTest::newRow("decade above") << 1000.0 << 100.0 << -20.0 << -90.0;
    QTest::newRow("two decades above") << 10000.0 << 100.0 << -40.0 << -90.0;
    QTest::newRow("half a decade below") << 100.0 / std::sqrt(10.0) << 100.0 << 0.0 << -22.5;
    QTest::newRow("zero element's corner") << 86e6 << 1e13 << 0.0 << 0.0;
}

void TestStabModels::asymptoticRules()
{
    QFETCH(double, f);
    QFETCH(double, corner);
    QFETCH(double, pole);
    QFETCH(double, lag);
    QVERIFY(std::fabs(poleGain(f, corner) - pole) < 1e-9);
    QVERIFY(std::fabs(zeroGain(f, corner) + pole) < 1e-9);
    QVERIFY(std::fabs(lagPhase(f, corner) - lag) < 1e-9);
    QVERIFY(std::fabs(leadPhase(f, corner) + lag) < 1e-9);
}

void TestStabModels::verdict_data()
{
    QTest::addColumn<double>("roc");
    QTest::addColumn<double>("pm");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("stable");

    QTest::newRow("20 dB/dec, 46°") << 20.0 << 46.0 << "STABLE" << true;
    QTest::newRow("20 dB/dec, exactly 45°") << 20.0 << 45.0 << "MARGINALLY STABLE" << false;
    QTest::newRow("20 dB/dec, just above 10°") << 20.0 << 10.01 << "MARGINALLY STABLE" << false;
    QTest::newRow("20 dB/dec, exactly 10°") << 20.0 << 10.0 << "UNSTABLE" << false;
    QTest::newRow("exactly 21 dB/dec, 90°") << 21.0 << 90.0 << "UNSTABLE" << false;
    QTest::newRow("25 dB/dec, 50°") << 25.0 << 50.0 << "MARGINALLY STABLE" << false;
    QTest::newRow("40 dB/dec, 45°") << 40.0 << 45.0 << "UNSTABLE" << false;
    QTest::newRow("rate not a number") << std::nan("") << 90.0 << "UNSTABLE" << false;
}

void TestStabModels::verdict()
{
    QFETCH(double, roc);
    QFETCH(double, pm);
    QFETCH(QString, text);
    QFETCH(bool, stable);
    const Verdict v = judgeLoop(roc, pm);
    QCOMPARE(v.text, text);
    QCOMPARE(v.stable, stable);
    QCOMPARE(verdictStyleSheet(stable),
             stable ? QString("QLabel { color : green; }") : QString("QLabel { color : red; }"));
}

void TestStabModels::openCapacitorIsNoCapacitor()
{
    QCOMPARE(capacitorValue("open"), 0.0);
    QCOMPARE(capacitorValue("Open"), 0.0); // parseValue: a leading letter reads as 0
    QCOMPARE(capacitorValue("4.7n"), 4.7e-9);
    QCOMPARE(capacitorValue("3.99 p"), 3.99e-12);
    QCOMPARE(eng::parseValue("open"), 4294967295.0); // a resistor's open
}

// ------------------------------------------------------------------ capacitive load

void TestStabModels::capacitiveWorkedExample_data()
{
    QTest::addColumn<QString>("cload");
    QTest::addColumn<QString>("riso");
    QTest::addColumn<int>("closureIndex");
    QTest::addColumn<double>("pm");
    QTest::addColumn<QString>("roc");
    QTest::addColumn<QString>("verdict");

    // Hand derivation: 1/β = 21 (26.44 dB); the loop gain falls from 118 dB at 20 dB/dec
    // above 10 Hz and meets it at 10^5.5625 Hz; pole 1 gives -90° from 100 Hz.
    QTest::newRow("no load") << "0"
                             << "short" << 89 << 90.0 << "20"
                             << "STABLE";
    // 10 nF on 1700 Ω puts a pole at 9.362 kHz: 40 dB/dec closure at 10^4.75 Hz, where
    // that pole adds -45 (lg(56.23k/9.362k) + 1) ≈ -80.04°.
    QTest::newRow("10 nF") << "10n"
                           << "short" << 76 << 9.96 << "40"
                           << "UNSTABLE";
    // R_ISO 10 Ω puts its zero at 1.592 MHz, above the closure: nothing changes.
    QTest::newRow("10 nF, 10 Ω") << "10n"
                                 << "10" << 76 << 9.96 << "40"
                                 << "UNSTABLE";
}

void TestStabModels::capacitiveWorkedExample()
{
    QFETCH(QString, cload);
    QFETCH(QString, riso);
    QFETCH(int, closureIndex);
    QFETCH(double, pm);
    QFETCH(QString, roc);
    QFETCH(QString, verdict);

    BodeInput in = defaultInput();
    in.values.CLoadStab = cload;
    in.values.RisoC = riso;
    const BodeResult r = capacitiveLoadBode(in, makePart());
    const QVector<double> f = frequencyGrid();

    QCOMPARE(r.figures.invBetaDC, 21.0);
    QCOMPARE(r.closureIndex, closureIndex);
    QCOMPARE(r.closureFrequency, f[closureIndex]);
    QCOMPARE(eng::number2String(r.phaseMargin), eng::number2String(pm));
    QCOMPARE(eng::number2String(r.rateOfClosure), roc);
    QCOMPARE(r.verdict, verdict);
    QCOMPARE(r.slewRate, 30.0);
    if (cload == "0") {
        QCOMPARE(r.figures.f20, f[73]); // ≈ 36.52 kHz
        QCOMPARE(r.maxBandwidth, f[73]);
        QCOMPARE(r.phaseMargin, 90.0);
        QCOMPARE(r.figures.pCL, 1e13);
        QCOMPARE(r.figures.zISO, 1e13);
        QCOMPARE(r.figures.pCFB, 1e13);
        QCOMPARE(r.figures.pNG, 1e13);
    } else {
        QVERIFY(near(r.figures.pCL, 9362.06, 1e-6)); // 1 / (6.28318 · 1700 · 10n)
        QVERIFY(near(r.closureFrequency, 56234.13, 1e-6));
        if (riso == "10") QVERIFY(near(r.figures.zISO, 1591550.5, 1e-6));
    }
}

void TestStabModels::capacitiveDetailReport()
{
    const BodeResult r = capacitiveLoadBode(defaultInput(), makePart());
    const QStringList expected = {
        QString::fromUtf8("Total Output Impedance:\t1.7 kΩ"),
        QString::fromUtf8("1/ß (DC):\t\t21 V/V (26.4 dB)"),
        QString::fromUtf8("1/ß (AC):\t\t21 V/V (26.4 dB)"),
        QString::fromUtf8("Noise Gain:\t\t1 V/V (0 dB)"),
        "\nAmplifier Pole 1:\t\t10 Hz",
        "Amplifier Pole 2:\t\t7.5 MHz",
        "Amplifier Pole 3:\t\t75 MHz",
        "\nPole Z_OUT C_LOAD:\t10 THz",
        "Zero R_ISO C_LOAD:\t10 THz",
        "Pole Noise Gain:\t\t10 THz",
        "Zero Noise Gain:\t\t10 THz",
        "Pole C_FB R_FB:\t10 THz",
        "Zero C_FB R_FB:\t210 THz",
    };
    QCOMPARE(r.details, expected);
    QCOMPARE(graphNames(r.gainGraphs), (QStringList{"Open Loop Gain w/ C_LOAD", "1/Beta",
                                                    "Signal at C_LOAD", "Closure Frequency"}));
    const BodeGraph *marker = findGraph(r.gainGraphs, "Closure Frequency");
    QCOMPARE(marker->keys, (QVector<double>{r.closureFrequency, r.closureFrequency}));
    QCOMPARE(marker->values, (QVector<double>{-180, 180}));
    QCOMPARE(marker->style, Qt::DashLine);
    QCOMPARE(findGraph(r.gainGraphs, "Signal at C_LOAD")->style, Qt::DotLine);
    QCOMPARE(findGraph(r.gainGraphs, "1/Beta")->colour, QColor(255, 0, 0));
}

void TestStabModels::capacitiveNoLoadDrawsNoLoadCorners()
{
    for (const QString &cload : {QString("open"), QString("0")}) {
        BodeInput in = defaultInput();
        in.values.CLoadStab = cload;
        in.values.RisoC = "10";
        const BodeResult r = capacitiveLoadBode(in, makePart());
        QCOMPARE(r.figures.pCL, 1e13);
        QCOMPARE(r.figures.zISO, 1e13);
        // Components view: the three poles, then the open-loop phase; nothing else reaches
        // into the grid.
        QCOMPARE(graphNames(r.phaseGraphs), (QStringList{"Closure Frequency", "Pole 1", "Pole 2",
                                                         "Pole 3", "Open Loop Phase"}));
        QCOMPARE(r.phaseAxisUpper, 135.0);
        QCOMPARE(r.maxBandwidth, r.figures.f20); // min(zISO, f20) without C_FB
    }
}

void TestStabModels::capacitiveIsolationAboveZtCancelsLoadPole()
{
    BodeInput in = defaultInput();
    in.values.CLoadStab = "10n";
    in.values.RisoC = "1MEG"; // far above Zt: the zero uses Zt
    const BodeResult r = capacitiveLoadBode(in, makePart());
    QCOMPARE(r.figures.zISO, r.figures.pCL);
    const QVector<double> ol = r.curves.value("Open Loop Gain w/ C_LOAD");
    const QVector<double> bare =
        capacitiveLoadBode(defaultInput(), makePart()).curves.value("Open Loop Gain w/ C_LOAD");
    for (int i = 0; i < ol.size(); ++i)
        QVERIFY(std::fabs(ol[i] - bare[i]) < 1e-9);
    QVERIFY(findGraph(r.phaseGraphs, "Pole C_LOAD"));
    QVERIFY(findGraph(r.phaseGraphs, "Zero R_ISO"));
}

void TestStabModels::capacitiveNonInvertingIgnoresNoiseGain()
{
    BodeInput in = defaultInput();
    in.inverting = false;
    in.values.RngC = "100";
    in.values.CngC = "100n";
    const BodeResult r = capacitiveLoadBode(in, makePart());
    QCOMPARE(r.figures.invBetaAC, r.figures.invBetaDC);
    QCOMPARE(r.figures.noiseGain, 1.0);
    QCOMPARE(r.figures.pNG, 1e13);
    QCOMPARE(r.figures.zNG, 1e13);
    QCOMPARE(r.details.at(3), QString("Noise Gain:\t\t1 V/V (0 dB)"));
}

void TestStabModels::capacitiveNoiseGainRaisesBetaAndIsNeverNegative()
{
    BodeInput in = defaultInput();
    in.values.RinC = "10k";
    in.values.RfbC = "1k"; // gain 1.1: 1/β would dip below 0 dB with a feedback capacitor
    in.values.CfbC = "1n";
    in.values.RngC = "100";
    in.values.CngC = "100n";
    const BodeResult r = capacitiveLoadBode(in, makePart());
    // (R_IN + R_NG) R_FB / (R_NG R_IN) + 1 = 10100 * 1000 / 1e6 + 1 = 11.1
    QVERIFY(near(r.figures.invBetaAC, 11.1, 1e-12));
    QVERIFY(near(r.figures.pNG, 1 / (6.28318 * 100 * 100e-9 + 1e-13), 1e-12));
    QVERIFY(near(r.figures.zNG, r.figures.pNG / (11.1 / 1.1), 1e-12));
    for (double b : r.curves.value("1/Beta"))
        QVERIFY(b >= 0);
    QVERIFY(findGraph(r.phaseGraphs, "Pole Noise Gain"));
    QVERIFY(findGraph(r.phaseGraphs, "Zero Noise Gain"));
    QVERIFY(findGraph(r.phaseGraphs, "Pole C_FB"));
    // With a feedback capacitor the bandwidth is at most its pole.
    QVERIFY(r.maxBandwidth <= r.figures.pCFB);
}

void TestStabModels::capacitiveWithoutClosureStaysAtOneHertz()
{
    // 0 dB of open-loop gain: the loop gain never reaches 0 dB, so there is no closure to
    // judge (it used to read as a closure at 1 Hz).
    const BodeResult r = capacitiveLoadBode(defaultInput(), makePart({{"Aol_DC", {"0"}}}));
    QCOMPARE(r.refusal,
             QString("The loop gain is not above 0 dB at 1 Hz: the loop does not close"));
    QCOMPARE(r.verdict, QString("NOT ANALYSED"));
    QVERIFY(std::isnan(r.closureFrequency) && std::isnan(r.phaseMargin));
    QVERIFY(r.gainGraphs.isEmpty());

    // An open-loop gain that never falls to 1/β on the grid: no closure either.
    const BodeResult flat = capacitiveLoadBode(
        defaultInput(), makePart({{"pole1", {"1E9"}}, {"pole2", {"1E9"}}, {"pole3", {"1E9"}}}));
    QCOMPARE(flat.refusal, QString("The loop gain does not fall to 0 dB below 86.6 MHz: there "
                                   "is no closure frequency"));
}

void TestStabModels::risingBetaClosesAt40_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<double>("lowHz");
    QTest::addColumn<double>("highHz");

    // A 1/β rising 20 dB/decade meets a loop gain falling 20 dB/decade: 40 dB/decade.
    // Capacitive: noise-gain zero near 100 kHz (R_NG 106, C_NG 1.5n, 1/β 21 -> 210);
    // 26.44 + 20 lg(f / 100k) = 118 - 20 lg(f / 10) at about 194 kHz.
    QTest::newRow("capacitive, noise-gain shelf") << 0 << 1.5e5 << 2.5e5;
    // Inductive: 1 mH puts the load zero at 1.91 kHz; 16.39 + 20 lg(f / 1910) =
    // 118 - 20 lg(f / 10) at 10^4.68, about 48 kHz.
    QTest::newRow("inductive, load zero") << 1 << 4e4 << 6e4;
}

void TestStabModels::risingBetaClosesAt40()
{
    QFETCH(int, model);
    QFETCH(double, lowHz);
    QFETCH(double, highHz);
    BodeInput in = defaultInput();
    in.values.RngC = "106";
    in.values.CngC = "1.5n";
    in.values.LLoadStab = "1m";
    const BodeResult r =
        model == 0 ? capacitiveLoadBode(in, makePart()) : inductiveLoadBode(in, makePart());
    QVERIFY2(r.closureFrequency > lowHz && r.closureFrequency < highHz,
             qPrintable(QString::number(r.closureFrequency)));
    QCOMPARE(eng::number2String(r.rateOfClosure), QString("40"));
}

void TestStabModels::capacitiveCurrentLimitResistor_data()
{
    QTest::addColumn<QString>("vbe");
    QTest::addColumn<QString>("clint");
    QTest::addColumn<double>("zt");

    QTest::newRow("external limit counts") << "0.65"
                                           << "N" << 1702.0;
    QTest::newRow("no sense input") << "0"
                                    << "N" << 1700.0;
    QTest::newRow("internal limit") << "0.65"
                                    << "0.8" << 1700.0;
}

void TestStabModels::capacitiveCurrentLimitResistor()
{
    QFETCH(QString, vbe);
    QFETCH(QString, clint);
    QFETCH(double, zt);
    BodeInput in = defaultInput();
    in.values.RclC = "2";
    const amp part = makePart({{"Vbe", {vbe}}, {"CLint", {clint}}});
    QCOMPARE(capacitiveLoadBode(in, part).figures.Zt, zt);
    QCOMPARE(compositeCapacitiveBode(in, part).figures.Zt, zt);
}

void TestStabModels::capacitiveCircuitTypes_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("invBeta");
    QTest::addColumn<double>("pCFB");

    // Part network: R_IN 2k, R_FB 50k, C_FB 5p; typed 1k / 20k / open; R_G "20k".
    const double partPole = 1 / (5e-12 * 50000 * 6.28318 + 1e-13);
    QTest::newRow("normal keeps the typed network") << "normal" << 21.0 << 1e13;
    QTest::newRow("GZ23: R_G is R_IN") << "GZ23" << 50000.0 / 20000 + 1 << partPole;
    QTest::newRow("GZ20: R_G adds to R_FB")
        << "GZ20" << 70000.0 / 2000 + 1 << 1 / (5e-12 * 70000 * 6.28318 + 1e-13);
    QTest::newRow("KW314: all from the part") << "KW314" << 50000.0 / 2000 + 1 << partPole;
    QTest::newRow("KW349: all from the part") << "KW349" << 50000.0 / 2000 + 1 << partPole;
    QTest::newRow("other types keep the typed network") << "GZ99" << 21.0 << 1e13;
}

void TestStabModels::capacitiveCircuitTypes()
{
    QFETCH(QString, type);
    QFETCH(double, invBeta);
    QFETCH(double, pCFB);
    const amp part = makePart(
        {{"CircuitType", {type}}, {"Rin", {"2000"}}, {"Rfb", {"50000"}}, {"Cfb", {"5E-12"}}});
    const BodeResult r = capacitiveLoadBode(defaultInput(), part);
    QVERIFY(near(r.figures.invBetaDC, invBeta, 1e-12));
    QVERIFY(near(r.figures.pCFB, pCFB, 1e-12));
}

void TestStabModels::capacitiveClosedLoopView()
{
    BodeInput in = defaultInput();
    in.phaseShiftComponents = false;
    const BodeResult r = capacitiveLoadBode(in, makePart());
    QCOMPARE(graphNames(r.phaseGraphs),
             (QStringList{"Closure Frequency", "Closed Loop Phase", "Closed * 10", "Closed * 100",
                          "Closed * 1000", "Open Loop Phase"}));
    QCOMPARE(r.phaseAxisUpper, 45.0);
    const BodeGraph *clp = findGraph(r.phaseGraphs, "Closed Loop Phase");
    const BodeGraph *x100 = findGraph(r.phaseGraphs, "Closed * 100");
    const double f = r.frequency[40];
    const double expected = -57.29577951308232 * (std::atan(f / r.closureFrequency) +
                                                  std::atan(f / 7.5e6) + std::atan(f / 7.5e7));
    QCOMPARE(clp->values[40], expected);
    QCOMPARE(x100->values[40], expected * 100);
}

void TestStabModels::capacitiveQuietRunHasNoReport()
{
    BodeInput in = defaultInput();
    in.report = false;
    const BodeResult quiet = capacitiveLoadBode(in, makePart());
    const BodeResult loud = capacitiveLoadBode(defaultInput(), makePart());
    QVERIFY(quiet.details.isEmpty());
    QVERIFY(quiet.gainGraphs.isEmpty());
    QCOMPARE(quiet.phaseMargin, loud.phaseMargin);
    QCOMPARE(quiet.maxBandwidth, loud.maxBandwidth);
    QCOMPARE(quiet.closureFrequency, loud.closureFrequency);
    QCOMPARE(quiet.verdict, loud.verdict);
}

// ------------------------------------------------------------------ inductive load

void TestStabModels::inductiveDefaults()
{
    const BodeResult r = inductiveLoadBode(defaultInput(), makePart());
    const BodeFigures &x = r.figures;
    // R_S' = 2 || 11k; 1/β = R_T / R_S' * (R_IN + R_FB) / R_IN.
    QVERIFY(near(x.RsEff, 1.9996364, 1e-7));
    QVERIFY(near(x.Rt, 11.9996364, 1e-7));
    QCOMPARE(eng::number2String(x.invBetaDC), QString("6.6"));
    QVERIFY(near(x.invBetaDC, 6.601, 1e-3));
    QVERIFY(near(x.invBetaAC, 4294967295.0 * 11000 / 1e7 + 1, 1e-12));
    QVERIFY(near(x.fzL, 1.2e14, 1e-3));
    QCOMPARE(x.fzC, 1e13);
    QVERIFY(near(x.gInv, -0.05, 1e-12));
    QVERIFY(near(x.gNon, 0.55, 1e-12));

    const QVector<double> b1 = r.curves.value("1/Beta Path 1");
    for (double v : b1)
        QVERIFY(std::fabs(v - 16.39) < 0.01);
    for (double v : r.curves.value("1/Beta Path 2"))
        QVERIFY(v > 234);
    QCOMPARE(graphNames(r.gainGraphs), (QStringList{"Open Loop Gain", "1/Beta Path 1",
                                                    "Signal at L_LOAD", "Closure Frequency"}));
    QVERIFY(!findGraph(r.phaseGraphs, "Zero R_LOAD / L_LOAD"));
    QCOMPARE(r.details.at(0),
             QString("Transconductance:\t-50 mA/V inverting, 550 mA/V non-inverting"));
    QCOMPARE(r.details.at(1), QString::fromUtf8("1/ß (DC):\t\t6.6 V/V (16.4 dB)"));
    QCOMPARE(r.details.at(6), QString("\nZero R_LOAD L_LOAD:\t120 THz"));
    QCOMPARE(r.details.at(7), QString("Zero C_FB R_D:\t\t10 THz"));
    QVERIFY(r.details.at(8).startsWith("Zero Cross:\t\t"));
    QCOMPARE(r.details.size(), 9);

    // A flat 1/β of 16.39 dB under a 118 dB, 10 Hz loop: 118 - 20 lg(f / 10) meets it at
    // 10^6.08 Hz, nearest grid point 97 (10^6.0625); one pole's -90° up to it.
    QCOMPARE(r.closureIndex, 97);
    QCOMPARE(r.phaseMargin, 90.0);
    QCOMPARE(eng::number2String(r.rateOfClosure), QString("20"));
    QCOMPARE(r.verdict, QString("STABLE"));
}

void TestStabModels::inductiveLoadInductance()
{
    BodeInput in = defaultInput();
    in.values.LLoadStab = "1m";
    const BodeResult r = inductiveLoadBode(in, makePart());
    QVERIFY(near(r.figures.fzL, 1909.803, 1e-6));
    const QVector<double> f = r.frequency;
    const QVector<double> b1 = r.curves.value("1/Beta Path 1");
    const QVector<double> phL = r.curves.value("Zero R_LOAD / L_LOAD");
    // B1 rises 20 dB/decade above the zero; its phase is -90° above ten times it.
    QVERIFY(std::fabs((b1[96] - b1[80]) - 20) < 1e-9);
    for (int i = 0; i < f.size(); ++i)
        if (f[i] > 19098.03) QCOMPARE(phL[i], -90.0);
    QVERIFY(findGraph(r.phaseGraphs, "Zero R_LOAD / L_LOAD"));
    // The current lags the voltage by the load's own phase.
    const double fi = f[60];
    QCOMPARE(r.curves.value("I Out")[60],
             r.curves.value("V Out")[60] -
                 std::atan(1e-3 * fi * 6.283185307179586 / r.figures.Rt) * 180 / 3.141592653589793);
}

void TestStabModels::inductiveSenseAmplifier()
{
    BodeInput in = defaultInput();
    in.values.RsGainL = "10";
    const BodeResult r = inductiveLoadBode(in, makePart());
    QCOMPARE(r.figures.RsEff, 2.0);
    QVERIFY(near(r.figures.invBetaDC, 0.66, 1e-12));
    QCOMPARE(eng::number2String(20 * std::log10(r.figures.invBetaDC)), QString("-3.61"));
    QVERIFY(near(r.figures.gInv, -0.005, 1e-12));
    QVERIFY(near(r.figures.gNon, 0.055, 1e-12));
}

void TestStabModels::inductiveCircuitTypeKeepsTypedSenseDivider()
{
    const amp part = makePart(
        {{"CircuitType", {"GZ23"}}, {"Rin", {"0"}}, {"Rfb", {"50000"}}, {"Cfb", {"5E-12"}}});
    BodeInput in = defaultInput();
    in.values.RgStabL = "4k";
    const BodeResult r = inductiveLoadBode(in, part);
    QVERIFY(near(r.figures.RsEff, 2.0 * 11000 / 11002, 1e-12)); // typed 10k + 1k
    // Loop network: R_IN = R_G = 4k, R_FB = 50k.
    QVERIFY(
        near(r.figures.invBetaDC, 1 / ((r.figures.RsEff / r.figures.Rt) * 4000 / 54000), 1e-12));
    QVERIFY(near(r.figures.gInv, (-50000.0 / 4000) / 2, 1e-12));
}

void TestStabModels::inductiveWithoutClosureStaysAtOneHertz()
{
    const BodeResult r = inductiveLoadBode(defaultInput(), makePart({{"Aol_DC", {"0"}}}));
    QCOMPARE(r.refusal,
             QString("The loop gain is not above 0 dB at 1 Hz: the loop does not close"));
    QCOMPARE(r.verdict, QString("NOT ANALYSED"));
    QVERIFY(std::isnan(r.maxBandwidth) && std::isnan(r.rateOfClosure));
    QVERIFY(r.curves.isEmpty());
}

void TestStabModels::inductiveClosedLoopView()
{
    BodeInput in = defaultInput();
    in.host = {100, 10, 5e6, 2e7};
    in.phaseShiftComponents = false;
    for (const BodeResult &r :
         {inductiveLoadBode(in, makePart()), compositeInductiveBode(in, makePart())}) {
        QCOMPARE(graphNames(r.phaseGraphs),
                 (QStringList{"Closure Frequency", "V Out", "I Out", "Open Loop Phase"}));
        QCOMPARE(r.phaseAxisUpper, 90.0);
    }
}

// ------------------------------------------------------------------ composite loops

void TestStabModels::compositeCapacitiveDefaults()
{
    BodeInput in = defaultInput();
    in.host = {100, 10, 5e6, 2e7};
    const BodeResult r = compositeCapacitiveBode(in, makePart());
    const BodeResult power = capacitiveLoadBode(in, makePart());
    QCOMPARE(r.figures.powerClosure, power.closureFrequency);
    QVERIFY(near(r.figures.invBetaDC, 31, 1e-12)); // 30k / 1k + 1
    QCOMPARE(r.figures.noiseGain, 1.0);
    QCOMPARE(r.figures.fCC, 1e13);
    QCOMPARE(r.maxBandwidth, std::min(r.figures.zISO, r.figures.f20));
    for (double n : r.curves.value("1/Beta"))
        QVERIFY(n >= 0);
    QCOMPARE(graphNames(r.gainGraphs), (QStringList{"Composite Open Loop Gain", "1/Beta",
                                                    "Signal at C_LOAD", "Closure Frequency"}));
    QCOMPARE(r.details.size(), 13);
    QCOMPARE(r.details.at(8).left(25), QString("Power Closure Frequency:\t"));
    // Power stage limited by its own 1/β (26.44 dB) below its closure: G = host + 26.44.
    const QVector<double> g = r.curves.value("Composite Open Loop Gain");
    QVERIFY(std::fabs(g[0] - (100 + 20 * std::log10(21.0))) < 1e-9);
    QVERIFY(r.phaseMargin <= 180);
    QVERIFY(!findGraph(r.phaseGraphs, "Pole C_FB"));
    QVERIFY(!findGraph(r.phaseGraphs, "Pole Noise Gain"));
    if (r.verdict == "STABLE")
        QCOMPARE(r.verdictStyle, QString("QLabel { color : green; } "));
    else
        QCOMPARE(r.verdictStyle, QString("QLabel { color : red; }"));
}

void TestStabModels::compositeCapacitiveNoiseGain()
{
    BodeInput in = defaultInput();
    in.host = {100, 10, 5e6, 2e7};
    in.values.hostRng = "100";
    in.values.hostCng = "100n";
    const BodeResult inv = compositeCapacitiveBode(in, makePart());
    // (1k + 100) * (30k / (100 * 1k)) + 1 = 331
    QVERIFY(near(inv.figures.invBetaAC, 331, 1e-12));
    QVERIFY(inv.figures.noiseGain > 1);
    QVERIFY(findGraph(inv.phaseGraphs, "Pole Noise Gain"));
    QVERIFY(findGraph(inv.phaseGraphs, "Zero Noise Gain"));
    // The 1/β shelf: from the zero up to the pole a straight line in log frequency.
    const QVector<double> n = inv.curves.value("1/Beta");
    const QVector<double> f = inv.frequency;
    const double zdB = 20 * std::log10(31.0);
    const double full = 20 * std::log10(inv.figures.noiseGain);
    for (int i = 0; i < f.size(); ++i) {
        if (f[i] < inv.figures.zNG)
            QVERIFY(std::fabs(n[i] - zdB) < 1e-9);
        else if (f[i] > inv.figures.pNG)
            QVERIFY(std::fabs(n[i] - (zdB + full)) < 1e-9);
        else
            QVERIFY(std::fabs(n[i] - (zdB + full * std::log(f[i] / inv.figures.zNG) /
                                                std::log(inv.figures.pNG / inv.figures.zNG))) <
                    1e-9);
    }

    in.inverting = false;
    const BodeResult non = compositeCapacitiveBode(in, makePart());
    QCOMPARE(non.figures.invBetaAC, non.figures.invBetaDC);
    QCOMPARE(non.figures.noiseGain, 1.0);
    QCOMPARE(non.figures.pNG, 1e13);
    QCOMPARE(non.figures.zNG, 1e13);
    QVERIFY(!findGraph(non.phaseGraphs, "Pole Noise Gain"));
    QCOMPARE(non.details.at(1).mid(11), non.details.at(2).mid(11)); // same DC and AC 1/ß
}

void TestStabModels::compositeCapacitiveFeedbackCapacitor()
{
    BodeInput in = defaultInput();
    in.host = {100, 10, 5e6, 2e7};
    in.values.compCfb = "1n";
    const BodeResult r = compositeCapacitiveBode(in, makePart());
    QVERIFY(near(r.figures.fCC, 5305.17, 1e-6)); // 1 / (6.28318 * 30k * 1n)
    QVERIFY(near(r.figures.fZC, 31 * r.figures.fCC, 1e-12));
    QVERIFY(r.maxBandwidth <= r.figures.fCC);
    if (r.closureFrequency > r.figures.fCC) QVERIFY(findGraph(r.phaseGraphs, "Pole C_FB"));
}

void TestStabModels::compositeCapacitiveClosedLoopView()
{
    BodeInput in = defaultInput();
    in.host = {100, 10, 5e6, 2e7};
    in.phaseShiftComponents = false;
    const BodeResult r = compositeCapacitiveBode(in, makePart());
    QCOMPARE(graphNames(r.phaseGraphs),
             (QStringList{"Closure Frequency", "Closed Loop Phase", "Closed * 10", "Closed * 100",
                          "Closed * 1000", "Open Loop Phase"}));
    QCOMPARE(r.phaseAxisUpper, 45.0);
}

void TestStabModels::compositeHostWithoutPolesIsFlat()
{
    // Empty host fields read as 0: a flat 0 dB host, under which the composite loop never has
    // gain. Such a loop is not analysed: no figure, no curve (it used to show STABLE at 1 Hz).
    BodeInput in = defaultInput();
    in.host = {};
    for (const BodeResult &r :
         {compositeCapacitiveBode(in, makePart()), compositeInductiveBode(in, makePart())}) {
        QVERIFY(!r.analysed());
        QCOMPARE(r.verdict, QString("NOT ANALYSED"));
        QVERIFY(std::isnan(r.phaseMargin));
        QVERIFY(r.gainGraphs.isEmpty() && r.phaseGraphs.isEmpty());
    }
    // A host with 100 dB but no poles keeps the loop gain above 0 dB over the whole grid.
    in.host = {100, 0, 0, 0};
    for (const BodeResult &r :
         {compositeCapacitiveBode(in, makePart()), compositeInductiveBode(in, makePart())}) {
        QCOMPARE(r.refusal, QString("The loop gain does not fall to 0 dB below 86.6 MHz: "
                                    "there is no closure frequency"));
        QVERIFY(std::isnan(r.phaseMargin));
    }
}

void TestStabModels::refusedInputs_data()
{
    QTest::addColumn<int>("model"); // 0 capacitive, 1 inductive, 2 and 3 their composites
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("R_S short") << 1 << "RsL"
                               << "short"
                               << "R_S is short: the transconductance is unbounded";
    QTest::newRow("R_S 0") << 1 << "RsL"
                           << "0"
                           << "R_S is 0: the transconductance is unbounded";
    QTest::newRow("R_S abc") << 1 << "RsL"
                             << "abc"
                             << "R_S is unreadable";
    QTest::newRow("inductive R_IN 0") << 1 << "RinL"
                                      << "0"
                                      << "R_IN is 0: 1/ß is unbounded";
    QTest::newRow("inductive R_FB 0") << 1 << "RfbL"
                                      << "0"
                                      << "R_FB is 0: 1/ß of path 2 is unbounded";
    QTest::newRow("L_LOAD negative") << 1 << "LLoadStab"
                                     << "-1m"
                                     << "L_LOAD is negative";
    QTest::newRow("R_IN abc") << 0 << "RinC"
                              << "abc"
                              << "R_IN is unreadable";
    QTest::newRow("R_IN 0") << 0 << "RinC"
                            << "0"
                            << "R_IN is 0: 1/ß is unbounded";
    QTest::newRow("R_IN dash") << 0 << "RinC"
                               << "-"
                               << "R_IN is unreadable";
    QTest::newRow("R_IN short") << 0 << "RinC"
                                << "short"
                                << "R_IN is short: 1/ß is unbounded";
    QTest::newRow("R_IN empty") << 0 << "RinC"
                                << ""
                                << "R_IN is empty";
    QTest::newRow("R_ISO -10") << 0 << "RisoC"
                               << "-10"
                               << "R_ISO is negative";
    QTest::newRow("R_NG overflowing prefix") << 0 << "RngC"
                                             << "1e308k"
                                             << "R_NG is unreadable";
    QTest::newRow("C_LOAD huge") << 0 << "CLoadStab"
                                 << "1e308"
                                 << "A value is out of range: the loop gain is not finite";
    QTest::newRow("no host") << 2 << "host"
                             << "HOST AOL is empty: no host op-amp is chosen"
                             << "HOST AOL is empty: no host op-amp is chosen";
    QTest::newRow("HOST R_IN 0") << 2 << "hostRin"
                                 << "0"
                                 << "HOST R_IN is 0: 1/ß is unbounded";
    QTest::newRow("power stage of a composite") << 2 << "RinC"
                                                << "abc"
                                                << "R_IN is unreadable";
    QTest::newRow("composite R_S 0") << 3 << "RsL"
                                     << "0"
                                     << "R_S is 0: the transconductance is unbounded";
    QTest::newRow("HOST C_FB negative") << 3 << "compCfb"
                                        << "-1p"
                                        << "HOST C_FB is negative";
}

void TestStabModels::refusedInputs()
{
    QFETCH(int, model);
    QFETCH(QString, member);
    QFETCH(QString, text);
    QFETCH(QString, refusal);

    BodeInput in = defaultInput();
    in.host = {100, 10, 5e6, 2e7};
    const amp part = makePart();
    QVERIFY(runModel(model, in, part).analysed());
    if (member == "host")
        in.hostProblem = text;
    else
        circuitValue(in.values, member) = text;

    for (bool report : {true, false}) {
        in.report = report;
        const BodeResult r = runModel(model, in, part);
        QVERIFY(!r.analysed());
        QCOMPARE(r.refusal, refusal);
        QCOMPARE(r.verdict, QString("NOT ANALYSED"));
        QCOMPARE(r.verdictStyle, verdictStyleSheet(false));
        QVERIFY(std::isnan(r.closureFrequency) && std::isnan(r.phaseMargin));
        QVERIFY(std::isnan(r.rateOfClosure) && std::isnan(r.maxBandwidth));
        QCOMPARE(r.details, QStringList{refusal});
        QVERIFY(r.curves.isEmpty() && r.gainGraphs.isEmpty() && r.phaseGraphs.isEmpty());
        QCOMPARE(r.slewRate, 30.0);
    }
    // The search never takes a refused loop.
    const Margins m = evaluateLoop(LoopKind::Capacitive, in, part);
    if (model == 0) QVERIFY(!acceptsCandidate(m, 0, Margins{}));
}

void TestStabModels::compositeInductiveDefaults()
{
    BodeInput in = defaultInput();
    in.host = {100, 10, 5e6, 2e7};
    const BodeResult r = compositeInductiveBode(in, makePart());
    QCOMPARE(r.figures.fCC, 1e13);
    QVERIFY(near(r.figures.gInv, -15, 1e-12));
    QVERIFY(near(r.figures.gNon, 15.5, 1e-12));
    QCOMPARE(r.figures.powerClosure, inductiveLoadBode(in, makePart()).closureFrequency);
    // The power stage never rises above its own 1/β, which is flat at 16.39 dB.
    const QVector<double> q = r.curves.value("Power Stage Limit");
    const QVector<double> a = r.curves.value("Power Open Loop Gain");
    for (int i = 0; i < q.size(); ++i) {
        QVERIFY(std::fabs(q[i] - 16.39) < 0.01);
        QVERIFY(a[i] <= q[i]);
    }
    QCOMPARE(graphNames(r.gainGraphs), (QStringList{"Composite Open Loop Gain", "1/Beta Path 1",
                                                    "Signal at L_LOAD", "Closure Frequency"}));
    QVERIFY(!findGraph(r.phaseGraphs, "Zero R_LOAD / L_LOAD"));
    QCOMPARE(r.details.size(), 11);
    QCOMPARE(r.details.at(0),
             QString("Transconductance:\t-15 A/V inverting, 15.5 A/V non-inverting"));
    QCOMPARE(r.details.at(9), QString("Pole C_FB R_FB (composite):\t10 THz"));
}

void TestStabModels::compositeInductiveSenseAmplifierAndFeedbackPole()
{
    BodeInput in = defaultInput();
    in.host = {100, 10, 5e6, 2e7};
    in.values.RsGainL = "10";
    const BodeResult gained = compositeInductiveBode(in, makePart());
    QVERIFY(near(gained.figures.invBetaDC, 0.66, 1e-12));
    QVERIFY(near(gained.figures.gInv, -1.5, 1e-12));
    QVERIFY(near(gained.figures.gNon, 1.55, 1e-12));

    in.values.RsGainL = "short";
    in.values.compCfb = "1n";
    const BodeResult r = compositeInductiveBode(in, makePart());
    QVERIFY(near(r.figures.fCC, 5305.17, 1e-6));
    const QVector<double> q = r.curves.value("Power Stage Limit");
    const QVector<double> f = r.frequency;
    // 20 dB/decade fall above the composite pole.
    QVERIFY(std::fabs((q[100] - q[84]) + 20) < 1e-9);
    QVERIFY(f[84] > 5305.17);
}

// ------------------------------------------------------------------ automatic compensation

void TestStabModels::targetFromSlider_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<double>("target");
    QTest::newRow("maximize stability") << 0 << 75.0;
    QTest::newRow("1") << 1 << 65.0;
    QTest::newRow("default") << 2 << 55.0;
    QTest::newRow("3") << 3 << 45.0;
    QTest::newRow("maximize bandwidth") << 4 << 35.0;
}

void TestStabModels::targetFromSlider()
{
    QFETCH(int, slider);
    QFETCH(double, target);
    QCOMPARE(targetPhaseMargin(slider), target);
}

void TestStabModels::acceptance_data()
{
    QTest::addColumn<double>("pm");
    QTest::addColumn<double>("bw");
    QTest::addColumn<double>("bestPm");
    QTest::addColumn<double>("bestBw");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("wider and above target") << 60.0 << 2e5 << 70.0 << 1e5 << true;
    QTest::newRow("exactly at target") << 55.0 << 2e5 << 70.0 << 1e5 << false;
    QTest::newRow("narrower") << 80.0 << 5e4 << 70.0 << 1e5 << false;
    QTest::newRow("same bandwidth, more margin") << 75.0 << 1e5 << 70.0 << 1e5 << true;
    QTest::newRow("full tie keeps the first") << 70.0 << 1e5 << 70.0 << 1e5 << false;
    QTest::newRow("0 Hz, beats first run's margin") << 91.0 << 0.0 << 90.0 << 0.0 << true;
    QTest::newRow("0 Hz, below first run's margin") << 89.0 << 0.0 << 90.0 << 0.0 << false;
    QTest::newRow("margin not a number") << std::nan("") << 2e5 << 70.0 << 1e5 << false;
    QTest::newRow("bandwidth not a number") << 60.0 << std::nan("") << 70.0 << 1e5 << false;
}

void TestStabModels::acceptance()
{
    QFETCH(double, pm);
    QFETCH(double, bw);
    QFETCH(double, bestPm);
    QFETCH(double, bestBw);
    QFETCH(bool, accepted);
    QCOMPARE(acceptsCandidate({pm, bw}, 55, {bestPm, bestBw}), accepted);
}

void TestStabModels::searchModelRuns_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("inverting");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("runs");

    // Sweeps: C_FB 86; noise gain 18 x 18; C_FB x R_NG x C_NG 12 x 12 x 10; R_ISO 49 for
    // any positive Zout; inductive 27 x 27; host 12 x 12 x 18.
    QTest::newRow("capacitive, non-inverting, 3 options")
        << int(LoopKind::Capacitive) << false << 3 << 1 + 3 * (1 + 86 + 49);
    QTest::newRow("capacitive, inverting, 2 options")
        << int(LoopKind::Capacitive) << true << 2 << 1 + 2 * (1 + 86 + 324 + 1440 + 49);
    QTest::newRow("inductive, 3 options") << int(LoopKind::Inductive) << true << 3 << 1 + 3 * 730;
    QTest::newRow("composite capacitive, non-inverting")
        << int(LoopKind::CompositeCapacitive) << false << 3 << 87;
    QTest::newRow("composite capacitive, inverting")
        << int(LoopKind::CompositeCapacitive) << true << 3 << 87 + 324 + 2592;
    QTest::newRow("composite inductive") << int(LoopKind::CompositeInductive) << true << 3 << 87;
}

void TestStabModels::searchModelRuns()
{
    QFETCH(int, kind);
    QFETCH(bool, inverting);
    QFETCH(int, options);
    QFETCH(int, runs);
    BodeInput in = defaultInput();
    in.inverting = inverting;
    in.compOption = 1;
    int count = 0;
    QSet<int> optionsSeen;
    const AutoCompResult r =
        autoCompensate(LoopKind(kind), in, makePart({{"SROptions", {QString::number(options)}}}), 2,
                       [&](const BodeInput &c) {
                           ++count;
                           optionsSeen.insert(c.compOption);
                           return Margins{90, 1e3};
                       });
    QCOMPARE(r.modelRuns, runs);
    QCOMPARE(count, runs);
    QCOMPARE(r.searchRuns, 1);
    const bool single =
        LoopKind(kind) == LoopKind::Capacitive || LoopKind(kind) == LoopKind::Inductive;
    QCOMPARE(optionsSeen.size(), single ? options : 1);
    if (!single) QCOMPARE(r.compOption, 1); // as it stood
}

void TestStabModels::searchWritesRoundedValues()
{
    BodeInput in = defaultInput();
    in.inverting = false;
    QStringList cfb;
    QStringList firstRun;
    autoCompensate(LoopKind::Capacitive, in, makePart(), 2, [&](const BodeInput &c) {
        if (firstRun.isEmpty())
            firstRun << c.values.CngC << c.values.RngC << c.values.CfbC << c.values.RisoC;
        cfb << c.values.CfbC;
        return Margins{90, 1e3};
    });
    QCOMPARE(firstRun, (QStringList{"open", "short", "open", "short"}));
    // Repeated multiplication by 1.1, stored with three digits: the fourth step 3.993e-12
    // is evaluated as 3.99 p.
    // Evaluated: the first run and the option sweep on the start texts, then the sweep.
    QCOMPARE(cfb.mid(0, 7),
             (QStringList{"open", "open", "3 p", "3.3 p", "3.63 p", "3.99 p", "4.39 p"}));
    QCOMPARE(cfb.at(87), QString("9.9 n")); // 3p * 1.1^85
}

void TestStabModels::searchIsolationWinLeavesZeros()
{
    // Only R_ISO candidates clear the target; the widest one wins.
    BodeInput in = defaultInput();
    in.inverting = true;
    const AutoCompResult r = autoCompensate(
        LoopKind::Capacitive, in, makePart({{"SROptions", {"2"}}}), 2, [](const BodeInput &c) {
            const double riso = eng::parseValue(c.values.RisoC);
            if (riso == 0) return Margins{30, 1e5};
            // Option 1 is better; wider with smaller R_ISO.
            return Margins{60, (c.compOption == 1 ? 2e6 : 1e6) / riso};
        });
    QVERIFY(r.accepted);
    QCOMPARE(r.values.CfbC, QString("0 "));
    QCOMPARE(r.values.CngC, QString("0 "));
    QCOMPARE(r.values.RngC, QString("0 "));
    QCOMPARE(r.values.RisoC, QString("17 ")); // Zout / 100 = 17 Ω, the first step
    QCOMPARE(r.compOption, 1);
    QCOMPARE(r.best.phaseMargin, 60.0);
    QCOMPARE(r.sliderValue, 2);
}

void TestStabModels::searchMissedTargetMovesSlider()
{
    // Margins of 60° only: missed at slider 1 (65°), met at 2 (55°).
    BodeInput in = defaultInput();
    in.inverting = false;
    const AutoCompResult r =
        autoCompensate(LoopKind::CompositeInductive, in, makePart(), 1, [](const BodeInput &c) {
            return Margins{60, c.values.compCfb == "open" ? 0.0 : 1e3};
        });
    QCOMPARE(r.sliderValue, 2);
    QCOMPARE(r.searchRuns, 2);
    QCOMPARE(r.modelRuns, 2 * 87);
    QVERIFY(r.accepted);
    QCOMPARE(r.values.compCfb, QString("3 p")); // first of equal candidates
}

void TestStabModels::searchWithoutCandidatesRestoresStartTexts()
{
    BodeInput in = defaultInput();
    in.values.CfbC = "100p";
    in.values.RisoC = "5";
    in.compOption = 1;
    const AutoCompResult r = autoCompensate(
        LoopKind::Capacitive, in, makePart({{"SROptions", {"2"}}}), 2, [](const BodeInput &) {
            return Margins{20, 1e5};
        });
    QCOMPARE(r.sliderValue, 4);
    QCOMPARE(r.searchRuns, 3);
    QVERIFY(!r.accepted);
    QCOMPARE(r.values.CfbC, QString("open"));
    QCOMPARE(r.values.RisoC, QString("short"));
    QCOMPARE(r.values.RngC, QString("short"));
    QCOMPARE(r.values.CngC, QString("open"));
    QCOMPARE(r.compOption, 0);

    in.values.compCfb = "1n";
    const AutoCompResult host =
        autoCompensate(LoopKind::CompositeCapacitive, in, makePart(), 4, [](const BodeInput &) {
            return Margins{20, 1e5};
        });
    QCOMPARE(host.values.compCfb, QString("open"));
    QCOMPARE(host.values.hostRng, QString("short"));
    QCOMPARE(host.values.hostCng, QString("open"));
    QCOMPARE(host.compOption, 1);
}

void TestStabModels::searchWithoutOptionsAcceptsNothing()
{
    // No options: only the first run; with Zout 0 no R_ISO is tried either.
    int runs = 0;
    const AutoCompResult r = autoCompensate(LoopKind::Capacitive, defaultInput(),
                                            makePart({{"SROptions", {"0"}}, {"Zout", {"0"}}}), 2,
                                            [&](const BodeInput &) {
                                                ++runs;
                                                return Margins{30, 1e5};
                                            });
    QCOMPARE(r.sliderValue, 4);
    QCOMPARE(runs, 3);
    QVERIFY(!r.accepted);
    QCOMPARE(r.compOption, 0);
}

void TestStabModels::searchFindsMarginOnRealLoop()
{
    // The 10 nF load that leaves 9.96°: the search must find a circuit above 55° and the
    // model, run on the values it wrote, must agree.
    BodeInput in = defaultInput();
    in.inverting = false;
    in.values.CLoadStab = "10n";
    const amp part = makePart();
    const AutoCompResult r = autoCompensate(LoopKind::Capacitive, in, part, 2);
    QVERIFY(r.accepted);
    QCOMPARE(r.sliderValue, 2);
    QVERIFY(r.best.phaseMargin > 55);
    BodeInput check = in;
    check.values = r.values;
    check.compOption = r.compOption;
    const BodeResult model = capacitiveLoadBode(check, part);
    QCOMPARE(model.phaseMargin, r.best.phaseMargin);
    QCOMPARE(model.maxBandwidth, r.best.bandwidth);
}

// ------------------------------------------------------------------ calculators, generator

void TestStabModels::rcCalculators_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<int>("which");
    QTest::addColumn<double>("value");

    // 1 / (2π · 10k · 10k) = 1.5915494e-9
    QTest::newRow("C for 10 kΩ at 10 kHz") << 1e4 << 1e4 << 0 << 1.5915494309189535e-9;
    QTest::newRow("f of 10 kΩ, 10 nF") << 1e4 << 1e-8 << 1 << 1591.5494309189535;
    QTest::newRow("R for 10 kHz, 10 nF") << 1e4 << 1e-8 << 2 << 1591.5494309189535;
    // "open" is 4294967295 F here: 1 / (2π · 10k · 4294967295)
    QTest::newRow("f with an open capacitor") << 1e4 << 4294967295.0 << 1 << 3.7056e-15;
    QTest::newRow("R_ISO 2 Ω at 2.5 A") << 2.0 << 2.5 << 3 << 12.5;
    QTest::newRow("R_ISO short") << 0.0 << 1.0 << 3 << 0.0;
}

void TestStabModels::rcCalculators()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(int, which);
    QFETCH(double, value);
    double got = 0;
    switch (which) {
    case 0:
        got = capacitorForPole(a, b);
        break;
    case 1:
        got = poleFrequency(a, b);
        break;
    case 2:
        got = resistorForPole(a, b);
        break;
    default:
        got = isolationResistorPower(a, b);
        break;
    }
    QVERIFY2(value == 0 ? got == 0 : near(got, value, 1e-4), qPrintable(QString::number(got)));
    QVERIFY(std::isinf(poleFrequency(0, 1e-9))); // a zero input: infinite, no guard
}

void TestStabModels::isolationPowerText_data()
{
    QTest::addColumn<double>("watts");
    QTest::addColumn<QString>("text");
    QTest::newRow("short") << 0.0 << "Minimum R_ISO Power Rating: 0 W";
    QTest::newRow("12.5 W") << 12.5 << "Minimum R_ISO Power Rating: 12.5 W";
    QTest::newRow("open") << 4294967295.0 << "Minimum R_ISO Power Rating: 4.29497e+09 W";
}

void TestStabModels::isolationPowerText()
{
    QFETCH(double, watts);
    QFETCH(QString, text);
    QCOMPARE(stab::isolationPowerText(watts), text);
}

void TestStabModels::demoCurves_data()
{
    QTest::addColumn<QStringList>("open");
    QTest::addColumn<QVector<double>>("openDb");

    QTest::newRow("defaults") << QStringList{"100", "100", "80",  "60", "40",
                                             "20",  "0",   "-20", "-40"}
                              << QVector<double>{100, 100, 80, 60, 40, 20, 0, -20, -40};
    QTest::newRow("prefixes and words are 0 dB")
        << QStringList{"1k", "abc", "", " 40 ", "1e1", "inf", "-3.5", "open", "12dB"}
        << QVector<double>{0, 0, 0, 40, 10, 0, -3.5, 0, 0};
    QTest::newRow("missing entries are 0 dB")
        << QStringList{"10"} << QVector<double>{10, 0, 0, 0, 0, 0, 0, 0, 0};
}

void TestStabModels::demoCurves()
{
    QFETCH(QStringList, open);
    QFETCH(QVector<double>, openDb);
    const DemoCurves c = stab::demoCurves(open, QVector<QString>(9, "20").toList());
    QCOMPARE(c.frequency, (QVector<double>{1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8}));
    QCOMPARE(c.openLoop, openDb);
    QCOMPARE(c.closedLoop, QVector<double>(9, 20));
    QCOMPARE(decadeTicks().labels,
             (QVector<QString>{"1", "10", "100", "1k", "10k", "100k", "1M", "10M", "100M"}));
}

QTEST_GUILESS_MAIN(TestStabModels)
#include "tst_stabmodels.moc"
