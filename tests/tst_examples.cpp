// The tutorial texts and tables without a window: the 96 compiled-in descriptions, the tutorial
// table of the tutorial page, and which example numbers set something up.
#include "app/resources.h"
#include "examples/exampletable.h"

#include <QFile>
#include <QtTest>

using examples::Family;

class TestExamples : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initAmpwrightResources(); }

    void descriptionResources();
    void descriptionsMatchTheirSources();
    void noDescriptionPastTheLast();
    void tutorialTable_data();
    void tutorialTable();
    void everyNumberBelongsToOneTutorial();
    void comboIndexOutsideTheTable();
    void boundaries();
    void entriesWithoutSetUp_data();
    void entriesWithoutSetUp();
    void setUpPages_data();
    void setUpPages();
    void piezoOnTheSoaPage();
    void compositeStability();
    void inductiveLoadOnThePowerPage();
    void completeControlNetwork();
    void oneAmperePump();
    void smallMotor();
    void repeatedSteps();
};

void TestExamples::descriptionResources()
{
    for (int n = 0; n < examples::descriptionCount; ++n) {
        QFile file(examples::descriptionResource(n));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QByteArray raw = file.readAll();
        QVERIFY2(raw.startsWith("\xff\xfe"), qPrintable(file.fileName()));
        QCOMPARE(raw.size() % 2, 0);
        const QString text = QString::fromUtf16(
            reinterpret_cast<const char16_t *>(raw.constData() + 2), (raw.size() - 2) / 2);
        QVERIFY2(text.trimmed().size() > 40, qPrintable(file.fileName()));
        QVERIFY2(!text.contains(QChar::ReplacementCharacter), qPrintable(file.fileName()));
        // Lines end in CR LF, never in a bare LF.
        QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
        // The reader detects the byte-order mark and hands over plain lines.
        const QString read = examples::readDescription(n);
        QCOMPARE(read, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
}

// The compiled-in UTF-16 files are generated from the UTF-8 sources; a source edited without
// running tools/exampletexts/make_descriptions.py would leave the program with the old text.
void TestExamples::descriptionsMatchTheirSources()
{
    const QString sources =
        QStringLiteral(AMPWRIGHT_TEST_DATA "/../../tutorials/exampleDescriptions/source/");
    for (int n = 0; n < examples::descriptionCount; ++n) {
        QFile file(sources + QString::number(n) + QStringLiteral(".txt"));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QString source = QString::fromUtf8(file.readAll()).trimmed();
        QCOMPARE(examples::readDescription(n), source);
    }
}

void TestExamples::noDescriptionPastTheLast()
{
    QVERIFY(!QFile::exists(examples::descriptionResource(96)));
    QCOMPARE(examples::readDescription(96), QString());
    QCOMPARE(examples::readDescription(-1), QString());
}

void TestExamples::tutorialTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("overview");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("introduction") << 0 << "Non-Technical Introduction" << 61 << 62 << 68;
    QTest::newRow("piezo") << 1 << "LX49 - PZT" << 0 << 1 << 9;
    QTest::newRow("composite") << 2 << "LX356 / OP07 composite" << 10 << 11 << 16;
    QTest::newRow("audio") << 3 << "LX22 - Audio" << 17 << 18 << 22;
    QTest::newRow("coil") << 4 << "LX26 - Coil" << 23 << 24 << 28;
    QTest::newRow("capacitive") << 5 << "LX26 - Capacitive Load" << 29 << 30 << 34;
    QTest::newRow("inductive") << 6 << "NV314 - Inductive Load" << 35 << 36 << 49;
    QTest::newRow("unloaded") << 7 << "NV22 - Don't Run Unloaded!" << 50 << 51 << 53;
    QTest::newRow("heater") << 8 << "JNV307 - Heater" << 54 << 55 << 60;
    QTest::newRow("control") << 9 << "NV21 - Control Loop" << 69 << 70 << 77;
    QTest::newRow("pump") << 10 << "LX58 - IH Current Pump" << 78 << 79 << 85;
    QTest::newRow("motor") << 11 << "NV335 - BLDC Motor" << 86 << 87 << 95;
}

void TestExamples::tutorialTable()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, overview);
    QFETCH(int, first);
    QFETCH(int, last);
    QCOMPARE(examples::tutorials().size(), 12);
    const examples::Tutorial &t = examples::tutorials().at(index);
    QCOMPARE(t.name, name);
    QCOMPARE(t.overview, overview);
    QCOMPARE(t.first, first);
    QCOMPARE(t.last, last);
    QCOMPARE(examples::overviewNumber(index), overview);
    QCOMPARE(examples::firstExample(index), first);
    // A tutorial runs up to the next boundary.
    QVERIFY(examples::isTutorialBoundary(last + 1));
    for (int n = first; n <= last; ++n)
        QVERIFY(!examples::isTutorialBoundary(n));
}

void TestExamples::everyNumberBelongsToOneTutorial()
{
    int overviews = 0;
    int steps = 0;
    for (int n = 0; n < examples::descriptionCount; ++n) {
        int owners = 0;
        for (const examples::Tutorial &t : examples::tutorials()) {
            if (n == t.overview) {
                ++owners;
                ++overviews;
            } else if (n >= t.first && n <= t.last) {
                ++owners;
                ++steps;
            }
        }
        QVERIFY2(owners == 1, qPrintable(QString::number(n)));
    }
    QCOMPARE(overviews, 12);
    QCOMPARE(steps, 84);
}

void TestExamples::comboIndexOutsideTheTable()
{
    for (int index : {-1, 12, 1000}) {
        QCOMPARE(examples::overviewNumber(index), 0);
        QCOMPARE(examples::firstExample(index), -1);
    }
}

void TestExamples::boundaries()
{
    const QList<int> expected = {0, 10, 17, 23, 29, 35, 50, 54, 61, 69, 78, 86, 96};
    QList<int> found;
    for (int n = -5; n < 120; ++n)
        if (examples::isTutorialBoundary(n)) found << n;
    QCOMPARE(found, expected);
}

void TestExamples::entriesWithoutSetUp_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("page");
    for (int n : {10, 17, 23, 29, 35, 50, 54, 61, 69, 78, 86, 96, 97, 1000, -1, -96})
        QTest::addRow("%d no action", n) << n << int(Family::None) << -1;
    QTest::newRow("0 tutorial page") << 0 << int(Family::PageOnly) << 11;
    QTest::newRow("62 home page") << 62 << int(Family::PageOnly) << 0;
    QTest::newRow("68 home page") << 68 << int(Family::PageOnly) << 0;
}

void TestExamples::entriesWithoutSetUp()
{
    QFETCH(int, number);
    QFETCH(int, family);
    QFETCH(int, page);
    const examples::Example e = examples::example(number);
    QCOMPARE(int(e.family), family);
    QCOMPARE(e.page, page);
}

void TestExamples::setUpPages_data()
{
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("page");
    QTest::newRow("SOA") << QList<int>{1, 2, 3, 15, 16, 18, 19, 20, 21, 26, 34, 49, 64, 65}
                         << int(Family::Soa) << 2;
    QTest::newRow("stability") << QList<int>{4,  5,  6,  7,  8,  11, 12, 13, 14,
                                             24, 25, 28, 30, 31, 32, 33, 67}
                               << int(Family::Stability) << 4;
    QTest::newRow("heatsinks") << QList<int>{9, 22, 27, 66, 77, 85} << int(Family::Heatsink) << 7;
    QTest::newRow("linear selector") << QList<int>{48, 63, 79} << int(Family::LinearSelector) << 1;
    QTest::newRow("switching selector")
        << QList<int>{36, 55} << int(Family::SwitchingSelector) << 8;
    QTest::newRow("filter") << QList<int>{37, 38, 46, 51, 56, 70} << int(Family::Filter) << 12;
    QTest::newRow("PWM power") << QList<int>{39, 40, 41, 42, 43, 44, 45, 47,
                                             52, 53, 57, 58, 59, 60, 71}
                               << int(Family::Power) << 9;
    QTest::newRow("control step 1") << QList<int>{72} << int(Family::Control) << 13;
    QTest::newRow("control step 2") << QList<int>{73} << int(Family::Control) << 14;
    QTest::newRow("control step 3") << QList<int>{74, 75, 76} << int(Family::Control) << 15;
    QTest::newRow("current pump") << QList<int>{80, 81, 82, 83, 84} << int(Family::CurrentPump)
                                  << 5;
    QTest::newRow("three-phase") << QList<int>{87, 88, 89, 90, 91, 92, 93, 94, 95}
                                 << int(Family::ThreePhase) << 10;
}

void TestExamples::setUpPages()
{
    QFETCH(QList<int>, numbers);
    QFETCH(int, family);
    QFETCH(int, page);
    for (int n : numbers) {
        const examples::Example e = examples::example(n);
        QVERIFY2(int(e.family) == family, qPrintable(QString::number(n)));
        QVERIFY2(e.page == page, qPrintable(QString::number(n)));
    }
}

// The set-ups below are the fully specified ones: every value as the tutorials teach it.
void TestExamples::piezoOnTheSoaPage()
{
    const examples::SoaSetup s = examples::example(1).soa;
    QCOMPARE(s.rLoad, QStringLiteral("short"));
    QCOMPARE(s.cLoad, QStringLiteral("10.6n"));
    QCOMPARE(s.lLoad, QStringLiteral("short"));
    QCOMPARE(s.freq, QStringLiteral("10k"));
    QCOMPARE(s.part, QStringLiteral("LX49"));
    QCOMPARE(s.vsPos, QStringLiteral("200"));
    QCOMPARE(s.vsNeg, QStringLiteral("-200"));
    QVERIFY(s.voltageOut);
    QCOMPARE(s.maxOut, QStringLiteral("180"));
    QCOMPARE(s.minOut, QStringLiteral("-180"));
    QCOMPARE(s.tempA, QStringLiteral("25"));
    QCOMPARE(s.inputTab, 1);
    QCOMPARE(s.signalType, 0);
    QCOMPARE(s.rCL, QStringLiteral("short"));
    QCOMPARE(s.heatsink, QStringLiteral("0"));
    QCOMPARE(s.compound, QStringLiteral("0.1"));
    QVERIFY(!s.boostFollowsSupplies);
    QVERIFY(!s.writesTrapezoid);
    for (int n : {49, 64, 65})
        QVERIFY(examples::example(n).soa.boostFollowsSupplies);
}

void TestExamples::compositeStability()
{
    const examples::StabilitySetup s = examples::example(13).stability;
    QCOMPARE(s.part, QStringLiteral("LX356DF"));
    QVERIFY(s.capacitiveLoad);
    QVERIFY(s.inverting);
    QCOMPARE(s.tab, 3);
    const QStringList cap = {s.cap.cLoad, s.cap.rIso, s.cap.rIn, s.cap.rFb,
                             s.cap.cFb,   s.cap.rNg,  s.cap.cNg, s.cap.rCl};
    QCOMPARE(cap, (QStringList{"100n", "0", "34k", "340k", "10p", "open", "0n", "15"}));
    QVERIFY(s.composite);
    const QStringList host = {s.host.rIn, s.host.rFb, s.host.cFb, s.host.rNg, s.host.cNg};
    QCOMPARE(host, (QStringList{"21k", "340k", "open", "open", "open"}));
    QCOMPARE(s.compOption, 3);
    QVERIFY(s.phaseComponents);
    QCOMPARE(int(s.calculator.kind), int(examples::RcCalculator::Kind::None));

    const examples::StabilitySetup t = examples::example(14).stability;
    QCOMPARE((QStringList{t.host.cFb, t.host.rNg, t.host.cNg}),
             (QStringList{"15p", "3.4k", "10n"}));
    QCOMPARE(t.tab, 1);
    // Only these two look the host up; the others leave the composite box unticked.
    for (int n = 0; n < examples::descriptionCount; ++n) {
        const examples::Example e = examples::example(n);
        if (e.family == Family::Stability) QCOMPARE(e.stability.composite, n == 13 || n == 14);
    }
}

namespace {

QStringList tripleTexts(const examples::Triple &t)
{
    return {t.l, t.r, t.c};
}

} // namespace

void TestExamples::inductiveLoadOnThePowerPage()
{
    const examples::PowerSetup p = examples::example(39).power;
    QCOMPARE(p.tab.value_or(-1), 0);
    const examples::PowerNetwork &n = p.net;
    QCOMPARE(tripleTexts(n.p[0]), (QStringList{"199u", "0", "0"}));
    QCOMPARE(tripleTexts(n.p[1]), (QStringList{"0", "0", "14.1u"}));
    QCOMPARE(tripleTexts(n.p[2]), (QStringList{"66.3u", "0", "0"}));
    for (int i : {3, 4, 5})
        QCOMPARE(tripleTexts(n.p[i]), (QStringList{"0", "0", "0"}));
    QCOMPARE(tripleTexts(n.mn), (QStringList{"0", "5", "28u"}));
    QCOMPARE(tripleTexts(n.load[0]), (QStringList{"0", "0", "short"}));
    QCOMPARE(tripleTexts(n.load[1]), (QStringList{"0", "0", "short"}));
    QCOMPARE(tripleTexts(n.load[2]), (QStringList{"0", "0", "0"}));
    QCOMPARE(tripleTexts(n.load[3]), (QStringList{"0", "0", "0"}));
    QCOMPARE(tripleTexts(n.load[4]), (QStringList{"700u", "5", "short"}));
    QCOMPARE(n.order, 3);
    QCOMPARE(p.part, QStringLiteral("NV314"));
    QCOMPARE(p.vs, QStringLiteral("48"));
    QCOMPARE(p.fsw, QStringLiteral("30k"));
    QCOMPARE(p.fsig.value_or(QString()), QStringLiteral("2k"));
    QCOMPARE(int(p.output), int(examples::OutputStage::FullBridgeSplitInductor));
    QCOMPARE(p.yVariable.value_or(-1), 6);
    QCOMPARE(p.fmin, QStringLiteral("auto"));
    QCOMPARE(p.fmax, QStringLiteral("auto"));
    QCOMPARE(p.heatsink, QStringLiteral("0"));
}

void TestExamples::completeControlNetwork()
{
    const examples::ControlSetup c = examples::example(75).control;
    QCOMPARE(c.step, 3);
    QCOMPARE(tripleTexts(c.net.p[0]), (QStringList{"440u", "0", "0"}));
    QCOMPARE(tripleTexts(c.net.p[1]), (QStringList{"0", "0", "27u"}));
    QCOMPARE(tripleTexts(c.net.mn), (QStringList{"6.8m", "4", "short"}));
    QCOMPARE(tripleTexts(c.net.load[4]), (QStringList{"0", "3.8", "400u"}));
    QCOMPARE(c.net.order, 2);
    QCOMPARE(
        (QStringList{c.part, c.vs, c.fsw, c.fsig, c.outMax, c.outMin, c.vcc, c.vinMax, c.vinMin}),
        (QStringList{"NV21", "65", "42k", "400", "60", "-60", "7.5", "2.5", "-2.5"}));
    const examples::ControlNetwork &v = c.values;
    const QStringList values = {*v.rint, *v.cint, *v.vref, *v.vbias, *v.rbias, *v.rin,  *v.rf,
                                *v.rnf,  *v.cnf,  *v.rdf,  *v.cdf,   *v.rdin,  *v.rdif, *v.cdif};
    QCOMPARE(values, (QStringList{"0", "9.4n", "5", "7.5", "5k", "10k", "5.31k", "0", "0", "10k",
                                  "3.79n", "394k", "39.4k", "962p"}));
    // Step 3 without the full network writes only the designer's two resistors.
    const examples::ControlNetwork w = examples::example(74).control.values;
    QCOMPARE(w.rin.value_or(QString()), QStringLiteral("10k"));
    QCOMPARE(w.rdf.value_or(QString()), QStringLiteral("6.2k"));
    QVERIFY(!w.rint && !w.cint && !w.vref && !w.rf && !w.cdf && !w.rdin && !w.cdif);
}

void TestExamples::oneAmperePump()
{
    const examples::PumpSetup p = examples::example(81).pump;
    QVERIFY(p.writesDrive);
    QVERIFY(p.inverting);
    QVERIFY(p.writesCircuit);
    QCOMPARE(
        (QStringList{p.rLoad, p.lLoad, p.cLoad, p.freq, p.rs, p.rfn, p.rfp, p.rinT, p.rfnT, p.rfpT,
                     p.rsT}),
        (QStringList{"18", "2u", "short", "1M", "0.1", "100", "99.9", "0.1", "0.1", "0.1", "1"}));
    QVERIFY(!p.sweep);
    QVERIFY(!p.uncheckSoaBridgeParallel);
    QVERIFY(examples::example(83).pump.sweep);
    QVERIFY(!examples::example(83).pump.inverting);
    QVERIFY(examples::example(84).pump.uncheckSoaBridgeParallel);
    QVERIFY(!examples::example(80).pump.writesDrive);
}

void TestExamples::smallMotor()
{
    const examples::ThreePhaseSetup m = examples::example(87).motor;
    QCOMPARE((QStringList{m.vs, m.vcc, m.fsw, m.heatsink, m.tim, m.start, m.end}),
             (QStringList{"50", "5", "1", "0", "0", "25m", "75m"}));
    QCOMPARE(m.outputTab, 0);
    QVERIFY(m.uncheckDisplayDC);
    QCOMPARE((QStringList{m.r, m.l, m.vemf}), (QStringList{"10", "33m", "5m"}));
    QCOMPARE(m.poles, 4);
    QVERIFY(m.delta);
    QCOMPARE(m.controlVariable, 1);
    QCOMPARE(m.controlType, 0);
    QCOMPARE(m.constantVariable, 2);
    QCOMPARE(m.controlAmplitude, QStringLiteral("600"));
    QCOMPARE(m.constantAmplitude, QStringLiteral("75"));
    QCOMPARE(m.times, (QStringList{"0", "1", "2", "3", "4"}));
    QCOMPARE(m.amplitudes, (QStringList{"0", "600", "600", "0", "0"}));
    QCOMPARE(m.graphs, (QStringList{"I1", "null", "null", "null", "null", "null"}));
    const examples::ThreePhaseSetup r = examples::example(94).motor;
    QCOMPARE(r.times, (QStringList{"0", "0.5", "1"}));
    QCOMPARE(r.amplitudes, (QStringList{"6000", "0", "-6000"}));
    QCOMPARE(r.controlType, 1);
    QCOMPARE(r.constantVariable, 1);
    QCOMPARE(r.graphs, (QStringList{"I1", "I2", "I3", "null", "null", "null"}));
}

// Some steps set the page up exactly as the step before and only the text differs.
void TestExamples::repeatedSteps()
{
    const auto motorTexts = [](int n) {
        const examples::ThreePhaseSetup m = examples::example(n).motor;
        return QStringList{m.vs,
                           m.vcc,
                           m.fsw,
                           m.heatsink,
                           m.tim,
                           m.start,
                           m.end,
                           m.r,
                           m.l,
                           m.vemf,
                           m.controlAmplitude,
                           m.constantAmplitude} +
               m.times + m.amplitudes + m.graphs;
    };
    QCOMPARE(motorTexts(89), motorTexts(88));
    QCOMPARE(motorTexts(93), motorTexts(92));
    QCOMPARE(motorTexts(95), motorTexts(94));
    const examples::InductiveStage a = examples::example(24).stability.ind;
    const examples::InductiveStage b = examples::example(25).stability.ind;
    QCOMPARE((QStringList{a.lLoad, a.rLoad, a.rIn, a.rFb, a.cFb, a.rD, a.rS, a.rSGain}),
             (QStringList{b.lLoad, b.rLoad, b.rIn, b.rFb, b.cFb, b.rD, b.rS, b.rSGain}));
}

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
