// PWM control wizard engines without a window: validation notes, topology texts, component
// reading, the loop model with its ranges, the component suggestion and the schematic geometry.
#include "catalog/pwm.h"
#include "pwmcontrol/sconcomponents.h"
#include "pwmcontrol/sconloop.h"
#include "pwmcontrol/sconschematic.h"
#include "pwmcontrol/sconsuggest.h"
#include "pwmcontrol/scontopology.h"
#include "pwmcontrol/sconvalidate.h"
#include "values/engvalues.h"

#include <QtTest>

#include <cmath>
#include <complex>

using scon::Topology;
using cplx = std::complex<double>;

Q_DECLARE_METATYPE(scon::Topology)

namespace {

const double kPi = 3.141592653589793;

// A two-output part like those the wizard offers, made the way the catalog reader makes one.
// Its ramp follows Vcc (Vcc/3 peak to peak around Vcc/2); switches 0.449875 ohm each at 25 °C.
pwm makePart(const QMap<QString, QString> &overrides = {})
{
    const QList<QPair<QString, QString>> base = {
        {"ampName", "TST300"}, {"Vs_max", "400"},     {"Vs_nom", "300"},     {"Vs_min", "50"},
        {"Vcc_max", "16"},     {"Vcc_nom", "12"},     {"Vcc_min", "10"},     {"I_cont", "5"},
        {"I_pk", "10"},        {"outputs", "2"},      {"Fsw_min", "5"},      {"Fsw_nom", "20"},
        {"Fsw_max", "50"},     {"Ramp", "VccDep"},    {"Ramp_Vpp", "3"},     {"Ramp_Mid", "2"},
        {"PositiveDC", "B"},   {"top_A", "9E-6"},     {"top_B", "0.00225"},  {"top_C", "0.388"},
        {"top_V", "0"},        {"top_wire", "0.008"}, {"bot_A", "9E-6"},     {"bot_B", "0.00225"},
        {"bot_C", "0.388"},    {"bot_V", "0"},        {"bot_wire", "0.008"}, {"ErrorAmp", "0"},
    };
    pwm part;
    for (const auto &column : base) {
        catalog::CellCursor cells({overrides.value(column.first, column.second)});
        part.readColumn(column.first, cells);
    }
    return part;
}

// Series 100 µH, 2 µF across an 8 ohm load: the output network of the tests.
scon::FilterPlant lcPlant(double R = 8)
{
    scon::FilterPlant p;
    p.ac = [R](double f, comp &Tfil, comp &Ztot, comp &Zload) {
        const double w = 2 * kPi * f;
        const cplx zp = 1.0 / (cplx(0, w * 2e-6) + 1.0 / R);
        const cplx zt = cplx(0, w * 100e-6) + zp;
        const cplx t = zp / zt;
        Tfil = comp(t.real(), t.imag());
        Ztot = comp(zt.real(), zt.imag());
        Zload = comp(R, 0);
    };
    p.Gfil = 1;
    p.Rtot = R;
    p.Rload = R;
    return p;
}

// A load straight on the bridge: no frequency dependence at all.
scon::FilterPlant resistivePlant(double R)
{
    scon::FilterPlant p;
    p.ac = [R](double, comp &Tfil, comp &Ztot, comp &Zload) {
        Tfil = comp(1, 0);
        Ztot = comp(R, 0);
        Zload = comp(R, 0);
    };
    p.Gfil = 1;
    p.Rtot = R;
    p.Rload = R;
    return p;
}

scon::ValueStrings defaultValues()
{
    scon::ValueStrings s;
    const char *defaults[scon::ValueCount] = {"1k",   "4.7n", "2.5",  "15",   "83333", "10k", "14k",
                                              "0",    "0",    "6.2k", "1.2n", "90k",   "9k",  "1n",
                                              "open", "open", "0.2",  "open", "open"};
    for (int i = 0; i < scon::ValueCount; ++i)
        s[i] = QString::fromLatin1(defaults[i]);
    return s;
}

scon::LoopInput loopInput(Topology t, bool full = true)
{
    scon::LoopInput in;
    in.topology = t;
    in.fullBridge = full;
    in.values = defaultValues();
    in.vs = 72;
    in.vcc = 15;
    in.fsigHz = 100;
    in.vinMax = 3.2;
    in.vinMin = -1.2;
    in.plant = lcPlant();
    return in;
}

scon::SuggestInput suggestInput(Topology t, bool full, double outMin, double outMax)
{
    scon::SuggestInput in;
    in.topology = t;
    in.fullBridge = full;
    in.fsigHz = 100;
    in.fswHz = 20e3;
    in.vinMax = 3.2;
    in.vinMin = -1.2;
    in.outMin = outMin;
    in.outMax = outMax;
    in.vs = 72;
    in.vcc = 15;
    in.values = defaultValues();
    in.peakText = QStringLiteral("10 kHz");
    in.plant = lcPlant();
    return in;
}

// "R:text" for a red note, "B:text" for a black one.
QStringList noteList(const QVector<scon::Note> &notes)
{
    QStringList out;
    for (const scon::Note &n : notes)
        out << (n.red ? QStringLiteral("R:") : QStringLiteral("B:")) + n.text;
    return out;
}

QStringList storedList(const scon::SuggestResult &r)
{
    QStringList out;
    for (const auto &e : r.stored)
        out << scon::valueKey(e.first).mid(4) + QLatin1Char('=') + e.second;
    return out;
}

} // namespace

class TestSconEngine : public QObject
{
    Q_OBJECT

private slots:
    void validation_data();
    void validation();
    void validationFixedSupplyAndFrequency();
    void outputCaptions_data();
    void outputCaptions();
    void descriptions();
    void componentReading_data();
    void componentReading();
    void pairsMakeThirtyTwoLabels();

    void loopMatchesClosedForm_data();
    void loopMatchesClosedForm();
    void flatResponse();
    void gainBelowZeroAtOneHertz();
    void phaseEstimate();
    void rangeTexts();
    void voltage1PwmRangeColour_data();
    void voltage1PwmRangeColour();
    void openVoltageFeedbackBranchDropsOut();
    void infiniteCapacitorIsAShort();
    void signalAboveSweepChangesOnlyRanges();
    void loopRefusesZeroDivisors_data();
    void loopRefusesZeroDivisors();
    void openIntegratorCapacitorInVoltage2_data();
    void openIntegratorCapacitorInVoltage2();
    void loopOverflowIsNoFigure();
    void currentLoopRanges();

    void suggestion_data();
    void suggestion();
    void suggestionPutsOutputRangeWhereAsked_data();
    void suggestionPutsOutputRangeWhereAsked();
    void suggestionEdges();
    void suggestionRefuses_data();
    void suggestionRefuses();

    void schematicSlots_data();
    void schematicSlots();
    void schematicVariants();
};

// ------------------------------------------------------------------ validation

void TestSconEngine::validation_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<bool>("full");
    QTest::addColumn<double>("fsw");
    QTest::addColumn<double>("fsig");
    QTest::addColumn<double>("vs");
    QTest::addColumn<double>("vcc");
    QTest::addColumn<double>("outMin");
    QTest::addColumn<double>("outMax");
    QTest::addColumn<QStringList>("notes");

    const QString ratio = QStringLiteral("B:Warning: Switching Frequency should be at least 50 "
                                         "times Signal Frequency for reasonable circuit "
                                         "suggestions.");
    const QString overVs = QStringLiteral("R:!!! Vout must not exceed Vs !!!");
    const QString halfBridge = QStringLiteral("B:Current Feedback Configurations are not "
                                              "recommended for Half Bridges. A Full Bridge will "
                                              "be assumed.");
    const QString continuous =
        QStringLiteral("B:Iout exceeds continuous rating. Unsafe for steady-state conditions.");
    const Topology V1 = Topology::Voltage1, V2 = Topology::Voltage2, I1 = Topology::Current1,
                   I2 = Topology::Current2;

    QTest::newRow("defaults: nothing to say")
        << V1 << true << 20e3 << 100. << 72. << 15. << -30. << 30. << QStringList();
    QTest::newRow("signal frequency 0: no ratio warning")
        << V1 << true << 20e3 << 0. << 72. << 15. << -30. << 30. << QStringList();
    QTest::newRow("half a hertz under 50 times: within the allowance")
        << V1 << true << 9999.5 << 200. << 72. << 15. << -30. << 30. << QStringList();
    QTest::newRow("2 Hz under 50 times: warning")
        << V1 << true << 9998. << 200. << 72. << 15. << -30. << 30. << QStringList{ratio};
    QTest::newRow("Vs above maximum") << V2 << true << 20e3 << 100. << 401. << 15. << -30. << 30.
                                      << QStringList{"R:!!! Vs exceeds ABS MAX !!!"};
    QTest::newRow("Vs below minimum") << V1 << true << 20e3 << 100. << 49. << 15. << -30. << 30.
                                      << QStringList{"R:!!! Vs too low !!!"};
    QTest::newRow("Vcc above maximum") << V1 << true << 20e3 << 100. << 72. << 16.5 << -30. << 30.
                                       << QStringList{"R:!!! Vcc exceeds ABS MAX !!!"};
    QTest::newRow("Vcc below minimum") << V1 << true << 20e3 << 100. << 72. << 9. << -30. << 30.
                                       << QStringList{"R:!!! Vcc too low !!!"};
    QTest::newRow("Fsw above maximum") << V1 << true << 60e3 << 100. << 72. << 15. << -30. << 30.
                                       << QStringList{"R:!!! Fsw exceeds ABS MAX !!!"};
    QTest::newRow("Fsw below minimum, with the ratio warning first")
        << V1 << true << 4e3 << 100. << 72. << 15. << -30. << 30.
        << QStringList{ratio, "R:!!! Fsw too low !!!"};
    QTest::newRow("minimum above maximum")
        << V1 << true << 20e3 << 100. << 72. << 15. << 10. << 5.
        << QStringList{"R:!!! Vout_Min must not exceed Vout_Max !!!"};
    QTest::newRow("maximum above Vs")
        << V1 << true << 20e3 << 100. << 72. << 15. << -30. << 80. << QStringList{overVs};
    QTest::newRow("half bridge, minimum -1")
        << V1 << false << 20e3 << 100. << 72. << 15. << -1. << 30.
        << QStringList{"R:!!! Vout cannot go negative in a half bridge !!!"};
    QTest::newRow("full bridge, both ends beyond Vs: the note twice")
        << V2 << true << 20e3 << 100. << 72. << 15. << -80. << 80. << QStringList{overVs, overVs};
    QTest::newRow("full bridge, minimum -Vs exactly")
        << V1 << true << 20e3 << 100. << 72. << 15. << -72. << 30. << QStringList();
    QTest::newRow("Current 2, half bridge, between continuous and peak")
        << I2 << false << 20e3 << 100. << 72. << 15. << 0. << 7.
        << QStringList{continuous, halfBridge};
    QTest::newRow("Current 1 beyond peak current")
        << I1 << true << 20e3 << 100. << 72. << 15. << -11. << 3.
        << QStringList{"R:!!! Iout exceeds ABS MAX !!!"};
    QTest::newRow("current topology: a negative minimum is no voltage fault")
        << I1 << false << 20e3 << 100. << 72. << 15. << -3. << 3. << QStringList{halfBridge};
    QTest::newRow("current topology still compares the maximum with Vs")
        << I1 << true << 20e3 << 100. << 2. << 15. << -3. << 3.
        << QStringList{"R:!!! Vs too low !!!", overVs};
}

void TestSconEngine::validation()
{
    QFETCH(Topology, topology);
    QFETCH(bool, full);
    QFETCH(double, fsw);
    QFETCH(double, fsig);
    QFETCH(double, vs);
    QFETCH(double, vcc);
    QFETCH(double, outMin);
    QFETCH(double, outMax);
    QFETCH(QStringList, notes);

    scon::ValidateInput in;
    in.topology = topology;
    in.fullBridge = full;
    in.fswHz = fsw;
    in.fsigHz = fsig;
    in.vs = vs;
    in.vcc = vcc;
    in.outMin = outMin;
    in.outMax = outMax;
    const scon::ValidateResult r = scon::validate(in, makePart());
    QCOMPARE(noteList(r.notes), notes);
    QVERIFY(!r.vccFixed);
    QVERIFY(!r.fswFixed);
}

void TestSconEngine::validationFixedSupplyAndFrequency()
{
    // One allowed Vcc and one allowed Fsw: the part's values win and nothing is said about them.
    const pwm part = makePart({{"Vcc_max", "7.5"},
                               {"Vcc_nom", "7.5"},
                               {"Vcc_min", "7.5"},
                               {"Fsw_min", "500"},
                               {"Fsw_max", "500"}});
    scon::ValidateInput in;
    in.vs = 72;
    in.vcc = 100;
    in.fswHz = 1;
    in.outMin = -30;
    in.outMax = 30;
    const scon::ValidateResult r = scon::validate(in, part);
    QVERIFY(r.vccFixed);
    QCOMPARE(r.vccFixedValue, 7.5);
    QVERIFY(r.fswFixed);
    QCOMPARE(r.fswFixedValue, 500000.);
    QVERIFY(r.notes.isEmpty());
}

void TestSconEngine::outputCaptions_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("Voltage 1") << Topology::Voltage1
                               << QStringList{"V_out Max", "V_out Min", "V",
                                              "V_out = Vs * Duty Cycle",
                                              "V_out is differential across the filter input"};
    QTest::newRow("Voltage 2") << Topology::Voltage2
                               << QStringList{"V_out Max", "V_out Min", "V",
                                              "V_out = Vs * Duty Cycle",
                                              "V_out is differential across the filter input"};
    QTest::newRow("Current 1") << Topology::Current1
                               << QStringList{"I_out Max", "I_out Min", "A", "I_out ignores ripple",
                                              "I_out is current immediately out of amplifier"};
    QTest::newRow("Current 2") << Topology::Current2
                               << QStringList{"I_load Max", "I_load Min", "A",
                                              "I_load ignores ripple",
                                              "I_load is current through load"};
}

void TestSconEngine::outputCaptions()
{
    QFETCH(Topology, topology);
    QFETCH(QStringList, captions);
    const scon::OutputCaptions c = scon::outputCaptions(topology);
    QCOMPARE((QStringList{c.maxLabel, c.minLabel, c.unit, c.note1, c.note2}), captions);
}

void TestSconEngine::descriptions()
{
    const struct
    {
        Topology t;
        const char *start;
        bool current;
    } rows[] = {
        {Topology::Voltage1,
         "Voltage 1\n\nAdvantages: Lends itself very well to level-shifting the input signals "
         "with a single bias resistor.",
         false},
        {Topology::Voltage2, "Voltage 2\n\nAdvantages: Simpler circuit design than Voltage 1.",
         false},
        {Topology::Current1,
         "Current 1\n\nAdvantages: Difference amplifier does not need high CMRR.", true},
        {Topology::Current2,
         "Current 2\n\nAdvantages: Senses Load current independently of filter and matching "
         "network.",
         true},
    };
    for (const auto &row : rows) {
        const QString text = scon::topologyDescription(row.t);
        QVERIFY2(text.startsWith(QString::fromLatin1(row.start)), qPrintable(text));
        const QStringList paragraphs = text.split(QStringLiteral("\n\n"));
        QCOMPARE(paragraphs.size(), row.current ? 4 : 3);
        QVERIFY(paragraphs[2].startsWith(QStringLiteral("Disadvantages: ")));
        QCOMPARE(paragraphs.last() == QLatin1String("Not Recommended for Half-Bridges."),
                 row.current);
    }
}

void TestSconEngine::componentReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("capacitor");
    QTest::addColumn<double>("value");
    QTest::newRow("capacitor 4.7n") << "4.7n" << true << 4.7e-9;
    QTest::newRow("open capacitor is 0 F") << "open" << true << 0.;
    QTest::newRow("none capacitor is 0 F") << "none" << true << 0.;
    QTest::newRow("shorted capacitor") << "short" << true << infiniteValue;
    QTest::newRow("Inf capacitor is a short") << "Inf" << true << infiniteValue;
    QTest::newRow("inf capacitor is a short") << "inf" << true << infiniteValue;
    QTest::newRow("Open is no word: 0") << "Open" << true << 0.;
    QTest::newRow("open resistor") << "open" << false << infiniteValue;
    QTest::newRow("Inf resistor is open") << "Inf" << false << infiniteValue;
    QTest::newRow("shorted resistor") << "short" << false << 0.;
    QTest::newRow("suggested form with blank") << "11.5 k" << false << 11500.;
    QTest::newRow("unreadable") << "abc" << false << 0.;
}

void TestSconEngine::componentReading()
{
    QFETCH(QString, text);
    QFETCH(bool, capacitor);
    QFETCH(double, value);
    QCOMPARE(scon::readValue(text, capacitor), value);
}

void TestSconEngine::pairsMakeThirtyTwoLabels()
{
    int labels = 0;
    for (int v = 0; v < scon::ValueCount; ++v)
        labels += scon::isPaired(v) ? 2 : 1;
    QCOMPARE(labels, 32);
    QCOMPARE(scon::valueKey(scon::Rint), QStringLiteral("SConRint"));
    QCOMPARE(scon::valueKey(scon::Cv), QStringLiteral("SConCv"));
    QCOMPARE(scon::valueUnit(scon::Rbh), QString(QChar(0x03A9)));
    QCOMPARE(scon::valueUnit(scon::Cdif), QStringLiteral("F"));
    QCOMPARE(scon::valueUnit(scon::Vbias), QStringLiteral("V"));
}

// ------------------------------------------------------------------ loop model

void TestSconEngine::loopMatchesClosedForm_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<bool>("full");
    QTest::newRow("Voltage 1, full bridge") << Topology::Voltage1 << true;
    QTest::newRow("Voltage 1, half bridge") << Topology::Voltage1 << false;
    QTest::newRow("Voltage 2, full bridge") << Topology::Voltage2 << true;
    QTest::newRow("Current 1") << Topology::Current1 << true;
    QTest::newRow("Current 2") << Topology::Current2 << true;
}

void TestSconEngine::loopMatchesClosedForm()
{
    // Reference: the gain written as (admittance at the inverting node) / (1/Zint + loop
    // transfer admittance), with std::complex and every part finite (a noise filter, a
    // voltage feedback branch), at a few sweep points.
    QFETCH(Topology, topology);
    QFETCH(bool, full);
    scon::LoopInput in = loopInput(topology, full);
    in.values[scon::Rnf] = "1k";
    in.values[scon::Cnf] = "1n";
    in.values[scon::Rbh] = "47k";
    in.values[scon::Rbl] = "100k";
    in.values[scon::Rv] = "100k";
    in.values[scon::Cv] = "1n";
    const scon::LoopResult r = scon::analyseLoop(in, makePart());
    QVERIFY2(r.problem.isEmpty(), qPrintable(r.problem));
    QCOMPARE(r.freqHz.size(), 400);
    QCOMPARE(r.freqHz[0], 1.0);
    QVERIFY(std::fabs(r.freqHz[399] / 966051.0 - 1) < 1e-3); // 10^(0.015 * 399)

    const bool current = scon::isCurrentTopology(topology);
    const double k = (current || full) ? 2 : 1;
    const double vramp = 15.0 / 3;
    const double rsw = 2 * (9e-6 * 625 + 0.00225 * 25 + 0.388);
    double rout = current ? rsw + 0.016 : rsw + 0.008 + 0.008 * k * 0.5;
    if (topology == Topology::Current1) rout += 0.2;
    const double kmod = k * 72 / vramp;
    for (int i : {0, 150, 250, 330, 399}) {
        const double f = r.freqHz[i];
        const cplx s(0, 2 * kPi * f);
        const double w = 2 * kPi * f;
        const cplx zp = 1.0 / (cplx(0, w * 2e-6) + 1.0 / 8.0);
        const cplx ztot = cplx(0, w * 100e-6) + zp;
        const cplx tfil = zp / ztot;
        const cplx zload = 8;
        const cplx zint = 1e3 + 1.0 / (s * 4.7e-9);
        const cplx hnf = 1.0 / (1.0 + s * 1e3 * 1e-9);
        const cplx P = kmod * ztot / (ztot + rout);
        const cplx Dd = 90e3 + 9e3 + s * 90e3 * 9e3 * 1e-9;
        const cplx zv = 100e3 + 1.0 / (s * 1e-9);
        double inverseGain = 0;
        switch (topology) {
        case Topology::Voltage1: {
            const cplx hdiff = 1.0 / (Dd * (1.0 / 6.2e3 + s * 1.2e-9));
            const double gsum = 1 / 14e3 + 1 / 10e3 + 1 / 83333.0;
            inverseGain = std::abs((1.0 / zint + hnf * P * hdiff / 14e3) / (1.0 / zint + gsum));
            break;
        }
        case Topology::Voltage2: {
            const cplx zd = 1.0 / (s * 1e-9 + 1 / 9e3 + 1 / 90e3);
            const double g2 = 1 / 90e3 + 1 / 10e3 + 1 / 47e3 + 1 / 100e3;
            const cplx zpar = 1.0 / (1.0 / zint + g2);
            inverseGain = std::abs((1.0 / zint + hnf * P * zd / (90e3 * 9e3)) /
                                   (1.0 / zpar - zd / (90e3 * 90e3)));
            break;
        }
        case Topology::Current1:
        case Topology::Current2: {
            const double gsum = 1 / 10e3 + 1 / 14e3 + 1 / 83333.0;
            const cplx node = 1.0 / zint + 1.0 / zv + gsum;
            cplx loop;
            if (topology == Topology::Current1) {
                const cplx hd1 = 1.0 / (Dd * (1.0 / 6.2e3 + s * 1.2e-9));
                loop = ((0.2 / ztot) * hd1 / 14e3 + tfil / zv / 2.0) * hnf * P;
            } else {
                const cplx hd = 6.2e3 / Dd;
                const cplx A = hnf * P * tfil;
                loop = A * (0.2 / zload) * hd / 14e3 + A / zv / 2.0;
            }
            inverseGain = std::abs((loop + 1.0 / zint) / node);
            break;
        }
        }
        const double expected = 20 * std::log10(1 / inverseGain);
        QVERIFY2(std::fabs(r.gainDb[i] - expected) < 1e-9,
                 qPrintable(QStringLiteral("point %1: %2 dB, expected %3 dB")
                                .arg(i)
                                .arg(r.gainDb[i], 0, 'g', 12)
                                .arg(expected, 0, 'g', 12)));
    }
}

void TestSconEngine::flatResponse()
{
    // No integrator path (Cint open) and nothing frequency dependent: every gain is equal.
    scon::LoopInput in = loopInput(Topology::Voltage1);
    in.plant = resistivePlant(8);
    in.values[scon::Cint] = "open";
    in.values[scon::Cdf] = "open";
    in.values[scon::Cdif] = "open";
    const scon::LoopResult r = scon::analyseLoop(in, makePart());
    QVERIFY(r.problem.isEmpty());
    QVERIFY(r.gainDb[0] > 0);
    for (double y : r.gainDb)
        QCOMPARE(y, r.gainDb[0]);
    QCOMPARE(r.peakingDb, 0.0);
    QCOMPARE(r.phaseDeg, 50.0);
    QCOMPARE(r.peakHz, 1.0);
    QCOMPARE(r.gainMin, r.gainMax);
}

void TestSconEngine::gainBelowZeroAtOneHertz()
{
    // The same flat circuit with a large difference-amplifier gain: below 0 dB, so the peaking
    // is the magnitude of the largest gain itself.
    scon::LoopInput in = loopInput(Topology::Voltage1);
    in.plant = resistivePlant(8);
    in.values[scon::Cint] = "open";
    in.values[scon::Cdf] = "open";
    in.values[scon::Cdif] = "open";
    in.values[scon::Rdf] = "200k";
    const scon::LoopResult r = scon::analyseLoop(in, makePart());
    QVERIFY(r.gainDb[0] < 0);
    QCOMPARE(r.peakingDb, std::fabs(r.gainMax));
    QCOMPARE(r.phaseDeg, scon::phaseFromPeaking(std::fabs(r.gainMax)));
}

void TestSconEngine::phaseEstimate()
{
    QCOMPARE(scon::phaseFromPeaking(0), 50.0);
    // 50 - 5.63·3 + 0.223·9 - 0.00305·27 by hand.
    QVERIFY(std::fabs(scon::phaseFromPeaking(3) - 35.03465) < 1e-9);
    QVERIFY(scon::phaseFromPeaking(28.6) > 0);
    QVERIFY(scon::phaseFromPeaking(28.8) < 0); // not clamped
}

void TestSconEngine::rangeTexts()
{
    QCOMPARE(scon::rangeText(scon::PwmOut, 0, 30),
             QStringLiteral("PWM Output (Vs * Duty Cycle):\n-30 to 30 V"));
    QCOMPARE(scon::rangeText(scon::DiffAmpOut, 7.5, 2.71),
             QStringLiteral("Diff Amp Output: \n4.79 to 10.2 V"));
    QCOMPARE(scon::rangeText(scon::LoadCurrent, 0.25, 3),
             QStringLiteral("I through Load:\n-2.75 to 3.25 A"));
    // Four digits from 1000 on, rounded to tens.
    QCOMPARE(scon::rangeText(scon::PwmOutCurrent, 1234.4, 0),
             QStringLiteral("PWM Output Current (w/o ripple):\n1230 to 1230 A"));
    QCOMPARE(scon::rangeText(scon::IntegratorCmIn, 2.5, 0),
             QStringLiteral("Integrator CM Input:\n2.5 to 2.5 V"));
    QCOMPARE(scon::rangeHeading(scon::LoadVoltage), QStringLiteral("V at Load:\n"));
    QCOMPARE(scon::rangeHeading(scon::IntegratorOut), QStringLiteral("Integrator Output:\n"));
}

void TestSconEngine::voltage1PwmRangeColour_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("vref");
    QTest::addColumn<bool>("red");
    // With the default values the bridge output swings about -49 to 49 V.
    QTest::newRow("full bridge within -Vs to Vs") << true << "2.5" << false;
    QTest::newRow("half bridge below 0 V") << false << "2.5" << true;
}

void TestSconEngine::voltage1PwmRangeColour()
{
    QFETCH(bool, full);
    QFETCH(QString, vref);
    QFETCH(bool, red);
    scon::LoopInput in = loopInput(Topology::Voltage1, full);
    in.values[scon::Vref] = vref;
    const scon::LoopResult r = scon::analyseLoop(in, makePart());
    const double low = r.centre[scon::PwmOut] - r.amplitude[scon::PwmOut];
    QCOMPARE(r.pwmOutRed, red);
    QVERIFY(full ? low > -72 : low < 0);
    QVERIFY(r.written[scon::IntegratorOut] && r.written[scon::PwmOut] &&
            r.written[scon::DiffAmpOut] && r.written[scon::LoadVoltage]);
    QVERIFY(!r.written[scon::IntegratorCmIn] && !r.written[scon::PwmOutCurrent] &&
            !r.written[scon::LoadCurrent]);
}

void TestSconEngine::openVoltageFeedbackBranchDropsOut()
{
    // Cv "open" is 0 F: the branch has no admittance whatever Rv is.
    for (Topology t : {Topology::Current1, Topology::Current2}) {
        scon::LoopInput a = loopInput(t);
        scon::LoopInput b = loopInput(t);
        b.values[scon::Rv] = "1k";
        const scon::LoopResult ra = scon::analyseLoop(a, makePart());
        const scon::LoopResult rb = scon::analyseLoop(b, makePart());
        QCOMPARE(ra.gainDb, rb.gainDb);
        for (int i = 0; i < scon::RangeCount; ++i)
            QCOMPARE(ra.text[i], rb.text[i]);
    }
}

void TestSconEngine::infiniteCapacitorIsAShort()
{
    scon::LoopInput a = loopInput(Topology::Voltage1);
    scon::LoopInput b = loopInput(Topology::Voltage1);
    a.values[scon::Cdf] = "Inf";
    b.values[scon::Cdf] = "short";
    QCOMPARE(scon::analyseLoop(a, makePart()).gainDb, scon::analyseLoop(b, makePart()).gainDb);
    // A resistor typed "Inf" is open, as "open" is.
    a.values[scon::Rbias] = "Inf";
    b.values[scon::Rbias] = "open";
    b.values[scon::Cdf] = "Inf";
    QCOMPARE(scon::analyseLoop(a, makePart()).gainDb, scon::analyseLoop(b, makePart()).gainDb);
}

void TestSconEngine::signalAboveSweepChangesOnlyRanges()
{
    scon::LoopInput a = loopInput(Topology::Voltage1);
    scon::LoopInput b = loopInput(Topology::Voltage1);
    b.fsigHz = 2e6;
    const scon::LoopResult ra = scon::analyseLoop(a, makePart());
    const scon::LoopResult rb = scon::analyseLoop(b, makePart());
    QCOMPARE(ra.gainDb, rb.gainDb);
    QCOMPARE(ra.peakHz, rb.peakHz);
    QVERIFY(ra.amplitude[scon::PwmOut] != rb.amplitude[scon::PwmOut]);
    QCOMPARE(ra.centre[scon::PwmOut], rb.centre[scon::PwmOut]);
}

void TestSconEngine::loopRefusesZeroDivisors_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("vcc");
    QTest::addColumn<double>("rtot");
    QTest::addColumn<QString>("problem");
    const QString none;
    QTest::newRow("Rin short") << Topology::Voltage1 << int(scon::Rin) << "short" << 15. << 8.
                               << "!!! Rin cannot be 0: the loop was not calculated !!!";
    QTest::newRow("Rf unreadable") << Topology::Current2 << int(scon::Rf) << "x" << 15. << 8.
                                   << "!!! Rf cannot be 0: the loop was not calculated !!!";
    QTest::newRow("Rbl 0 in Voltage 2") << Topology::Voltage2 << int(scon::Rbl) << "0" << 15. << 8.
                                        << "!!! Rbl cannot be 0: the loop was not calculated !!!";
    QTest::newRow("Rbl 0 means nothing in Voltage 1")
        << Topology::Voltage1 << int(scon::Rbl) << "0" << 15. << 8. << none;
    QTest::newRow("no ramp without Vcc")
        << Topology::Voltage1 << int(scon::Rin) << "10k" << 0. << 8.
        << "!!! The PWM ramp amplitude is 0 (check Vcc): the loop was not calculated !!!";
    QTest::newRow("shorted output network, current loop")
        << Topology::Current1 << int(scon::Rin) << "10k" << 15. << 0.
        << "!!! The filter and load are a short at DC: the loop was not calculated !!!";
    QTest::newRow("negative resistor") << Topology::Voltage1 << int(scon::Rbias) << "-10k" << 15.
                                       << 8.
                                       << "!!! Rbias cannot be negative: the loop was not "
                                          "calculated !!!";
    QTest::newRow("negative capacitor") << Topology::Voltage2 << int(scon::Cdif) << "-1n" << 15.
                                        << 8.
                                        << "!!! Cdif cannot be negative: the loop was not "
                                           "calculated !!!";
    QTest::newRow("negative value the topology does not read")
        << Topology::Voltage2 << int(scon::Rbias) << "-10k" << 15. << 8. << none;
    QTest::newRow("ramp of a vanishing Vcc")
        << Topology::Current2 << int(scon::Rin) << "10k" << 1e-308 << 8.
        << "!!! The PWM ramp amplitude is 0 (check Vcc): the loop was not calculated !!!";
    QTest::newRow("component values out of any scale")
        << Topology::Voltage1 << int(scon::Rf) << "1e-308" << 15. << 8.
        << "!!! The loop gain is not finite for these component values: the loop was not "
           "calculated !!!";
}

void TestSconEngine::loopRefusesZeroDivisors()
{
    QFETCH(Topology, topology);
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(double, vcc);
    QFETCH(double, rtot);
    QFETCH(QString, problem);
    scon::LoopInput in = loopInput(topology);
    in.values[value] = text;
    in.vcc = vcc;
    in.plant.Rtot = rtot;
    const scon::LoopResult r = scon::analyseLoop(in, makePart());
    QCOMPARE(r.problem, problem);
    QCOMPARE(r.freqHz.isEmpty(), !problem.isEmpty());
    for (double y : r.gainDb)
        QVERIFY(!std::isnan(y));
}

void TestSconEngine::openIntegratorCapacitorInVoltage2_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("cint");
    QTest::newRow("full bridge, 0") << true << "0";
    QTest::newRow("full bridge, open") << true << "open";
    QTest::newRow("half bridge, none") << false << "none";
}

void TestSconEngine::openIntegratorCapacitorInVoltage2()
{
    // No capacitor is the limit of a vanishing one: the same response as 1e-30 F, a number at
    // every point, with a peaking and phase to show.
    QFETCH(bool, full);
    QFETCH(QString, cint);
    scon::LoopInput open = loopInput(Topology::Voltage2, full);
    open.values[scon::Rbh] = "47k";
    scon::LoopInput tiny = open;
    open.values[scon::Cint] = cint;
    tiny.values[scon::Cint] = "1e-30";
    const scon::LoopResult ro = scon::analyseLoop(open, makePart());
    const scon::LoopResult rt = scon::analyseLoop(tiny, makePart());
    QVERIFY2(ro.problem.isEmpty(), qPrintable(ro.problem));
    QVERIFY(ro.rangeProblem.isEmpty());
    QCOMPARE(ro.gainDb.size(), 400);
    for (int i = 0; i < 400; ++i)
        QVERIFY2(std::fabs(ro.gainDb[i] - rt.gainDb[i]) < 1e-6,
                 qPrintable(QStringLiteral("point %1: %2 against %3")
                                .arg(i)
                                .arg(ro.gainDb[i])
                                .arg(rt.gainDb[i])));
    QVERIFY(std::isfinite(ro.peakingDb) && std::isfinite(ro.phaseDeg));
    for (int i = 0; i < scon::RangeCount; ++i)
        QVERIFY2(!ro.written[i] || ro.known[i], qPrintable(ro.text[i]));
}

void TestSconEngine::loopOverflowIsNoFigure()
{
    // A supply far beyond the part's rating overflows the gain: no peaking, phase or sweep.
    scon::LoopInput in = loopInput(Topology::Voltage2);
    in.vs = 1e300;
    const scon::LoopResult r = scon::analyseLoop(in, makePart());
    QCOMPARE(r.problem, QStringLiteral("!!! Vs exceeds the part's rating and the loop gain is not "
                                       "finite: the loop was not calculated !!!"));
    QVERIFY(r.gainDb.isEmpty() && r.freqHz.isEmpty());

    // An input range beyond any number leaves the loop but not the ranges.
    scon::LoopInput wide = loopInput(Topology::Current1);
    wide.vinMax = 1e308;
    wide.vinMin = -1e308;
    const scon::LoopResult rw = scon::analyseLoop(wide, makePart());
    QVERIFY(rw.problem.isEmpty());
    QCOMPARE(rw.rangeProblem, QStringLiteral("!!! V_in Max and V_in Min are too large: the "
                                             "operating ranges were not calculated !!!"));
    QCOMPARE(rw.text[scon::IntegratorOut],
             QStringLiteral("Integrator Output:\n") + eng::noResultText());
    QVERIFY(!rw.known[scon::IntegratorOut]);
}

void TestSconEngine::currentLoopRanges()
{
    const scon::LoopResult one = scon::analyseLoop(loopInput(Topology::Current1), makePart());
    const scon::LoopResult two = scon::analyseLoop(loopInput(Topology::Current2), makePart());
    const bool expectOne[] = {true, true, true, false, true, true, true};
    const bool expectTwo[] = {true, true, true, false, false, true, true};
    for (int i = 0; i < scon::RangeCount; ++i) {
        QCOMPARE(one.written[i], expectOne[i]);
        QCOMPARE(two.written[i], expectTwo[i]);
    }
    // With a plain 8 ohm load at DC the load current is the bridge output over 8 ohm.
    QVERIFY(std::fabs(one.centre[scon::LoadCurrent] - one.centre[scon::PwmOut] / 8) < 1e-9);
    QVERIFY(std::fabs(one.centre[scon::PwmOutCurrent] - one.centre[scon::PwmOut] / 8) < 1e-9);
    // The default circuit swings the bridge far beyond a 72 V supply and 5 A.
    QVERIFY(one.pwmOutRed);
    QVERIFY(one.currentOutRed);
    QVERIFY(two.pwmOutRed);
    QVERIFY(!two.currentOutRed);
}

// ------------------------------------------------------------------ suggestion

void TestSconEngine::suggestion_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<bool>("full");
    QTest::addColumn<double>("outMin");
    QTest::addColumn<double>("outMax");
    QTest::addColumn<QString>("peak");
    QTest::addColumn<QStringList>("stored");
    // Expected strings from an independent evaluation of the same closed forms in Python's
    // complex arithmetic (three significant digits as stored).
    QTest::newRow("Voltage 1, full bridge")
        << Topology::Voltage1 << true << -30. << 30. << "10 kHz"
        << QStringList{"Rnf=0",       "Cnf=0",       "Rint=0",      "Rbias=11.5 k",
                       "Cint=37.7 n", "Rdif=6.24 k", "Cdif=12.7 n", "Rdin=62.4 k",
                       "Cdf=12.8 n",  "Rf=12.2 k",   "Vbias=15 ",   "Vref=7.5 "};
    QTest::newRow("Voltage 1, half bridge")
        << Topology::Voltage1 << false << 5. << 60. << "10 kHz"
        << QStringList{"Rnf=0",       "Cnf=0",       "Rint=0",      "Rbias=8.8 k",
                       "Cint=20.6 n", "Rdif=5.59 k", "Cdif=14.2 n", "Rdin=55.9 k",
                       "Cdf=12.8 n",  "Rf=12.5 k",   "Vbias=15 ",   "Vref=7.5 "};
    QTest::newRow("Voltage 2, full bridge")
        << Topology::Voltage2 << true << -30. << 30. << "10 kHz"
        << QStringList{"Rnf=0",      "Cnf=0",       "Rint=0",      "Rbh=22.9 k",
                       "Rbl=open",   "Cint=37.7 n", "Rdif=12.4 k", "Cdif=6.42 n",
                       "Rdin=124 k", "Vbias=15 ",   "Vref=1 "};
    QTest::newRow("Voltage 2, half bridge")
        << Topology::Voltage2 << false << 5. << 60. << "10 kHz"
        << QStringList{"Rnf=0",      "Cnf=0",       "Rint=0",      "Rbh=16.7 k",
                       "Rbl=open",   "Cint=20.6 n", "Rdif=11.4 k", "Cdif=7 n",
                       "Rdin=114 k", "Vbias=15 ",   "Vref=7.5 "};
    QTest::newRow("Current 1") << Topology::Current1 << true << -3. << 3. << "10 kHz"
                               << QStringList{"Rnf=0",        "Cnf=0",       "Rint=0",
                                              "Rbias=11.5 k", "Cint=47.1 n", "Rdif=156 ",
                                              "Cdif=510 n",   "Rdin=1.56 k", "Cdf=12.8 n",
                                              "Rf=9.75 k",    "Cv=625 p",    "Rv=178 k",
                                              "Vbias=15 ",    "Vref=7.5 "};
    QTest::newRow("Current 2") << Topology::Current2 << true << -3. << 3. << "10 kHz"
                               << QStringList{"Rnf=0",        "Cnf=0",       "Rint=0",
                                              "Rbias=11.5 k", "Cint=47.1 n", "Rdif=9 k",
                                              "Cdif=8.84 n",  "Rdin=90 k",   "Rf=169 ",
                                              "Cv=624 p",     "Rv=179 k",    "Vbias=15 ",
                                              "Vref=7.5 "};
    QTest::newRow("Current 1, one-sided range")
        << Topology::Current1 << true << 0. << 4. << "10 kHz"
        << QStringList{"Rnf=0",     "Cnf=0",      "Rint=0",      "Rbias=17.5 k", "Cint=70.7 n",
                       "Rdif=156 ", "Cdif=510 n", "Rdin=1.56 k", "Cdf=12.8 n",   "Rf=6.5 k",
                       "Cv=938 p",  "Rv=119 k",   "Vbias=15 ",   "Vref=7.5 "};
    QTest::newRow("Current 2, one-sided range")
        << Topology::Current2 << true << 0. << 4. << "10 kHz"
        << QStringList{"Rnf=0",    "Cnf=0",       "Rint=0",    "Rbias=17.5 k", "Cint=70.7 n",
                       "Rdif=9 k", "Cdif=8.84 n", "Rdin=90 k", "Rf=113 ",      "Cv=936 p",
                       "Rv=119 k", "Vbias=15 ",   "Vref=7.5 "};
    QTest::newRow("Current 2, peak at 1 Hz: no voltage feedback branch")
        << Topology::Current2 << true << -3. << 3. << "1 Hz"
        << QStringList{"Rnf=0",    "Cnf=0",       "Rint=0",    "Rbias=11.5 k", "Cint=47.1 n",
                       "Rdif=9 k", "Cdif=8.84 n", "Rdin=90 k", "Rf=169 ",      "Cv=0 ",
                       "Rv=0 ",    "Vbias=15 ",   "Vref=7.5 "};
}

void TestSconEngine::suggestion()
{
    QFETCH(Topology, topology);
    QFETCH(bool, full);
    QFETCH(double, outMin);
    QFETCH(double, outMax);
    QFETCH(QString, peak);
    QFETCH(QStringList, stored);
    scon::SuggestInput in = suggestInput(topology, full, outMin, outMax);
    in.peakText = peak;
    const scon::SuggestResult r = scon::suggest(in, makePart());
    QVERIFY2(r.problem.isEmpty(), qPrintable(r.problem));
    QCOMPARE(storedList(r), stored);
}

void TestSconEngine::suggestionPutsOutputRangeWhereAsked_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<bool>("full");
    QTest::addColumn<double>("outMin");
    QTest::addColumn<double>("outMax");
    QTest::newRow("Voltage 1, full bridge") << Topology::Voltage1 << true << -30. << 30.;
    QTest::newRow("Voltage 1, half bridge") << Topology::Voltage1 << false << 5. << 60.;
    QTest::newRow("Voltage 2, full bridge") << Topology::Voltage2 << true << -30. << 30.;
    QTest::newRow("Voltage 2, half bridge") << Topology::Voltage2 << false << 5. << 60.;
    QTest::newRow("Current 1") << Topology::Current1 << true << 0. << 4.;
    QTest::newRow("Current 2") << Topology::Current2 << true << 0. << 4.;
}

void TestSconEngine::suggestionPutsOutputRangeWhereAsked()
{
    // The suggestion and the loop model are separate derivations of one circuit: the values
    // suggested for an output range must make the loop model's regulated quantity (bridge
    // voltage, amplifier current or load current) span that range, to within 1 % of the span
    // (the three-digit rounding of the stored values).
    QFETCH(Topology, topology);
    QFETCH(bool, full);
    QFETCH(double, outMin);
    QFETCH(double, outMax);
    const scon::SuggestResult s =
        scon::suggest(suggestInput(topology, full, outMin, outMax), makePart());
    QVERIFY(s.problem.isEmpty());
    scon::LoopInput in = loopInput(topology, full);
    for (const auto &e : s.stored)
        in.values[e.first] = e.second;
    const scon::LoopResult r = scon::analyseLoop(in, makePart());
    const int range = topology == Topology::Current1   ? scon::PwmOutCurrent
                      : topology == Topology::Current2 ? scon::LoadCurrent
                                                       : scon::PwmOut;
    const double low = r.centre[range] - r.amplitude[range];
    const double high = r.centre[range] + r.amplitude[range];
    const double tolerance = 0.01 * (outMax - outMin);
    QVERIFY2(std::fabs(low - outMin) < tolerance && std::fabs(high - outMax) < tolerance,
             qPrintable(r.text[range]));
}

void TestSconEngine::suggestionEdges()
{
    const pwm part = makePart();
    // Equal input ends: the span counts as 1 mV, so the integrator capacitor scales with it.
    scon::SuggestInput a = suggestInput(Topology::Voltage1, true, -30, 30);
    scon::SuggestInput b = a;
    b.vinMax = b.vinMin = 1;
    const double cintSpan = scon::suggest(a, part).value[scon::Cint];
    b.vinMax = 1.001;
    b.vinMin = 0.999;
    const double cintMilli = scon::suggest(b, part).value[scon::Cint];
    b.vinMax = b.vinMin = 1;
    QCOMPARE(scon::suggest(b, part).value[scon::Cint], cintMilli);
    QVERIFY(cintSpan > cintMilli);

    // Equal output ends: 10 mV for a voltage, 1 mA for a current.
    scon::SuggestInput v = suggestInput(Topology::Voltage2, true, 5, 5);
    scon::SuggestInput vRef = suggestInput(Topology::Voltage2, true, 4.99, 5.01);
    QCOMPARE(scon::suggest(v, part).value[scon::Rdin], scon::suggest(vRef, part).value[scon::Rdin]);
    scon::SuggestInput i = suggestInput(Topology::Current2, true, 1, 1);
    scon::SuggestInput iRef = suggestInput(Topology::Current2, true, 0.999, 1.001);
    QCOMPARE(scon::suggest(i, part).value[scon::Cint], scon::suggest(iRef, part).value[scon::Cint]);

    // An input range centred so high that the bias must pull down: Vbias 0.
    scon::SuggestInput low = suggestInput(Topology::Voltage1, true, -30, 30);
    low.vinMax = 14;
    low.vinMin = 12;
    const scon::SuggestResult rl = scon::suggest(low, part);
    QVERIFY(rl.problem.isEmpty());
    QVERIFY(storedList(rl).contains("Vbias=0 "));
    QVERIFY(rl.value[scon::Rbias] > 0);

    // A bias current that is almost nothing: the resistor is left out.
    scon::SuggestInput open = suggestInput(Topology::Voltage1, true, -30, 30);
    open.vinMax = 100;
    open.vinMin = -84.8;
    const scon::SuggestResult ro = scon::suggest(open, part);
    bool found = false;
    for (const auto &e : ro.stored)
        if (e.first == scon::Rbias) {
            found = true;
            QCOMPARE(e.second == QLatin1String("open"), ro.value[scon::Rbias] > 1e9);
        }
    QVERIFY(found);

    // Voltage 2, full bridge, with the node already inside the middle third of Vcc.
    scon::SuggestInput inside = suggestInput(Topology::Voltage2, true, -60, 60);
    inside.vinMax = 9.2;
    inside.vinMin = 4.8; // Vref = 7
    const QStringList ri = storedList(scon::suggest(inside, part));
    QVERIFY(ri.contains("Rbh=open"));
    QVERIFY(ri.contains("Rbl=open"));

    // Half bridge: Voltage 1 takes a negative modulator gain, so its summing node sees the
    // output inverted; both keep their reference at the ramp's middle.
    const scon::SuggestResult h1 =
        scon::suggest(suggestInput(Topology::Voltage1, false, 5, 60), part);
    QCOMPARE(h1.value[scon::Vref], 7.5);
}

void TestSconEngine::suggestionRefuses_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("vcc");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<double>("fswHz");
    QTest::newRow("no ramp without Vcc") << Topology::Voltage1 << int(scon::Rin) << "10k" << 0.
                                         << "The PWM ramp amplitude is 0 (check Vcc): no values "
                                            "were suggested." << 0.;
    QTest::newRow("Rin short") << Topology::Voltage2 << int(scon::Rin) << "short" << 15.
                               << "Rin cannot be 0: no values were suggested." << 0.;
    QTest::newRow("Rdf 0") << Topology::Current1 << int(scon::Rdf) << "0" << 15.
                           << "Rdf cannot be 0: no values were suggested." << 0.;
    QTest::newRow("Rs 0") << Topology::Current2 << int(scon::Rs) << "0" << 15.
                          << "Rs cannot be 0: no values were suggested." << 0.;
    QTest::newRow("difference amplifier without headroom")
        << Topology::Voltage1 << int(scon::Rin) << "10k" << 2.
        << "The difference amplifier cannot keep its output inside Vcc for this ramp, Vs and "
           "output range: no values were suggested." << 0.;
    QTest::newRow("negative Rin kept by the user")
        << Topology::Current1 << int(scon::Rin) << "-10k" << 15.
        << "Rin cannot be negative: no values were suggested." << 0.;
    QTest::newRow("Vcc far beyond the part")
        << Topology::Current2 << int(scon::Rin) << "10k" << 1e300
        << "Vcc exceeds the part's rating and gives no usable component values: no values were "
           "suggested." << 0.;
    QTest::newRow("Fsw far beyond the part")
        << Topology::Current2 << int(scon::Rin) << "10k" << 15.
        << "F_switch exceeds the part's rating and gives no usable component values: no values "
           "were suggested."
        << 1e300;
}

void TestSconEngine::suggestionRefuses()
{
    QFETCH(Topology, topology);
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(double, vcc);
    QFETCH(QString, problem);
    QFETCH(double, fswHz);
    scon::SuggestInput in = suggestInput(topology, true, -3, 3);
    in.values[value] = text;
    in.vcc = vcc;
    if (fswHz > 0) in.fswHz = fswHz;
    const scon::SuggestResult r = scon::suggest(in, makePart());
    QCOMPARE(r.problem, problem);
    QVERIFY(r.stored.isEmpty());
}

// ------------------------------------------------------------------ schematic geometry

void TestSconEngine::schematicSlots_data()
{
    QTest::addColumn<Topology>("topology");
    QTest::addColumn<bool>("full");
    QTest::addColumn<QStringList>("values"); // key minus "SCon", copy
    QTest::addColumn<QList<int>>("ranges");
    QTest::newRow("Voltage 1, full bridge")
        << Topology::Voltage1 << true
        << QStringList{"Rint1", "Cint1", "Vref1", "Vref2", "Vbias1", "Rbias1", "Rin1",
                       "Rf1",   "Rnf1",  "Cnf1",  "Rdf1",  "Rdf2",   "Cdf1",   "Cdf2",
                       "Rdin1", "Rdin2", "Rdif1", "Rdif2", "Cdif1",  "Cdif2"}
        << QList<int>{0, 1, 2, 6};
    QTest::newRow("Voltage 1, half bridge")
        << Topology::Voltage1 << false
        << QStringList{"Rint1", "Cint1", "Vref1", "Vref2", "Vbias1", "Rbias1", "Rin1", "Rf1",
                       "Rnf1",  "Cnf1",  "Rdf1",  "Cdf1",  "Rdin1",  "Rdif1",  "Cdif1"}
        << QList<int>{0, 1, 2, 6};
    QTest::newRow("Voltage 2, full bridge")
        << Topology::Voltage2 << true
        << QStringList{"Rint1", "Rint2", "Cint1", "Cint2", "Vref1", "Vbias1", "Vbias2",
                       "Rin1",  "Rin2",  "Rnf1",  "Cnf1",  "Rdin1", "Rdin2",  "Rdif1",
                       "Rdif2", "Cdif1", "Cdif2", "Rbh1",  "Rbh2",  "Rbl1",   "Rbl2"}
        << QList<int>{0, 1, 3, 6};
    QTest::newRow("Voltage 2, half bridge")
        << Topology::Voltage2 << false
        << QStringList{"Rint1", "Cint1", "Vref1", "Vbias1", "Rin1", "Rnf1",
                       "Cnf1",  "Rdin1", "Rdif1", "Cdif1",  "Rbh1", "Rbl1"}
        << QList<int>{0, 1, 6};
    QTest::newRow("Current 1, half bridge asked: full bridge drawn")
        << Topology::Current1 << false
        << QStringList{"Rint1", "Cint1", "Vref1", "Vref2", "Vbias1", "Rbias1", "Rin1",  "Rf1",
                       "Rnf1",  "Cnf1",  "Rdf1",  "Rdf2",  "Cdf1",   "Cdf2",   "Rdin1", "Rdin2",
                       "Rdif1", "Rdif2", "Cdif1", "Cdif2", "Rs1",    "Rs2",    "Rv1",   "Cv1"}
        << QList<int>{0, 1, 2, 4, 5, 6};
    QTest::newRow("Current 2") << Topology::Current2 << true
                               << QStringList{"Rint1",  "Cint1", "Vref1", "Vref2", "Vbias1",
                                              "Rbias1", "Rin1",  "Rf1",   "Rnf1",  "Cnf1",
                                              "Rdf1",   "Rdf2",  "Rdin1", "Rdin2", "Rdif1",
                                              "Rdif2",  "Cdif1", "Cdif2", "Rs1",   "Rv1",
                                              "Cv1"}
                               << QList<int>{0, 1, 2, 5, 6};
}

void TestSconEngine::schematicSlots()
{
    QFETCH(Topology, topology);
    QFETCH(bool, full);
    QFETCH(QStringList, values);
    QFETCH(QList<int>, ranges);
    scon::SchematicInput in;
    in.topology = topology;
    in.fullBridge = full;
    in.partName = QStringLiteral("TST300");
    const scon::Drawing d = scon::controlSchematic(in);
    QStringList seenValues;
    QList<int> seenRanges;
    QSet<QPair<double, double>> clickable;
    int supplies = 0;
    for (const scon::Text &t : d.texts) {
        if (t.role == scon::TextRole::Value) {
            seenValues << scon::valueKey(t.value).mid(4) + QString::number(t.copy);
            QVERIFY(t.copy == 1 || scon::isPaired(t.value));
        }
        if (t.role == scon::TextRole::Range) seenRanges << t.range;
        if (t.role == scon::TextRole::VsSupply || t.role == scon::TextRole::VccSupply) ++supplies;
        if (t.role != scon::TextRole::Plain && t.role != scon::TextRole::Range) {
            // A click is matched by position: no two clickable labels may share one.
            const QPair<double, double> at(t.x, t.y);
            QVERIFY2(!clickable.contains(at),
                     qPrintable(QStringLiteral("%1, %2").arg(t.x).arg(t.y)));
            clickable.insert(at);
        }
        QCOMPARE(std::fmod(t.x, 50.0), 0.0);
        QCOMPARE(std::fmod(t.y, 50.0), 0.0);
    }
    seenValues.sort();
    values.sort();
    QCOMPARE(seenValues, values);
    std::sort(seenRanges.begin(), seenRanges.end());
    QCOMPARE(seenRanges, ranges);
    QCOMPARE(supplies, 2);
}

void TestSconEngine::schematicVariants()
{
    auto texts = [](const scon::Drawing &d) {
        QMultiMap<QString, QPointF> out;
        for (const scon::Text &t : d.texts)
            if (t.role == scon::TextRole::Plain) out.insert(t.text, QPointF(t.x, t.y));
        return out;
    };
    auto frames = [](const scon::Drawing &d) {
        int n = 0;
        for (const scon::Stroke &s : d.strokes)
            n += s.ink == scon::Ink::Frame;
        return n;
    };
    auto blocks = [](const scon::Drawing &d) {
        int n = 0;
        for (const scon::Stroke &s : d.strokes)
            n += s.ink == scon::Ink::IntegratorBlock || s.ink == scon::Ink::NoiseBlock ||
                 s.ink == scon::Ink::DiffBlock;
        return n;
    };
    scon::SchematicInput in;
    in.partName = QStringLiteral("TST300");

    // Half bridge, positive output A: Voltage 1 senses B, Voltage 2 shows A.
    in.fullBridge = false;
    in.positiveDC = QStringLiteral("A");
    in.topology = Topology::Voltage1;
    QCOMPARE(texts(scon::controlSchematic(in)).values("B"), QList<QPointF>{QPointF(7800, 0)});
    in.topology = Topology::Voltage2;
    QCOMPARE(texts(scon::controlSchematic(in)).values("A"), QList<QPointF>{QPointF(7800, 0)});
    in.positiveDC = QStringLiteral("NA");
    QCOMPARE(texts(scon::controlSchematic(in)).values("B"), QList<QPointF>{QPointF(7800, 0)});
    in.topology = Topology::Voltage1;
    QCOMPARE(texts(scon::controlSchematic(in)).values("A"), QList<QPointF>{QPointF(7800, 0)});

    // Full bridge with positive output B: B above A; Current 1 swaps the sense pins too.
    in.fullBridge = true;
    in.positiveDC = QStringLiteral("B");
    in.topology = Topology::Current1;
    auto t = texts(scon::controlSchematic(in));
    QCOMPARE(t.value("B"), QPointF(7800, 200));
    QCOMPARE(t.value("A"), QPointF(7800, -200));
    QCOMPARE(t.value("As"), QPointF(7500, -800));
    QCOMPARE(t.value("Bs"), QPointF(7000, -800));
    in.positiveDC = QStringLiteral("A");
    t = texts(scon::controlSchematic(in));
    QCOMPARE(t.value("A"), QPointF(7800, 200));
    QCOMPARE(t.value("As"), QPointF(7000, -800));

    // Hiding the blocks keeps the black frame around the difference op-amp.
    in.topology = Topology::Voltage1;
    in.hideBlocks = true;
    scon::Drawing d = scon::controlSchematic(in);
    QCOMPARE(blocks(d), 0);
    QCOMPARE(frames(d), 1);
    QVERIFY(!texts(d).contains("INTEGRATOR"));
    in.hideBlocks = false;
    d = scon::controlSchematic(in);
    QCOMPARE(blocks(d), 3);
    QCOMPARE(texts(d).value("DIFFERENCE AMPLIFIER"), QPointF(8000, -4000));
    in.fullBridge = false;
    QCOMPARE(frames(scon::controlSchematic(in)), 0);
    in.topology = Topology::Voltage2;
    in.fullBridge = true;
    QCOMPARE(frames(scon::controlSchematic(in)), 0);
    QCOMPARE(blocks(scon::controlSchematic(in)), 2);

    // A part with an error amplifier: a star and the note, placed per topology.
    in.errorAmp = true;
    const QString note = QStringLiteral(
        "* This product includes an internal error amplifier for use as an integrator");
    QCOMPARE(texts(scon::controlSchematic(in)).value(note), QPointF(10000, 3900));
    QVERIFY(texts(scon::controlSchematic(in)).contains("TST300*"));
    in.topology = Topology::Current2;
    QCOMPARE(texts(scon::controlSchematic(in)).value(note), QPointF(10000, -5000));

    // A part whose name holds "NV21" has no Vcc pin.
    in.partName = QStringLiteral("NV21");
    d = scon::controlSchematic(in);
    int vcc = 0;
    for (const scon::Text &x : d.texts)
        vcc += x.role == scon::TextRole::VccSupply;
    QCOMPARE(vcc, 0);
    QVERIFY(!texts(d).contains("Vcc"));

    // Visible ranges by topology.
    QCOMPARE(QRectF(d.xMin, d.yMin, d.xMax - d.xMin, d.yMax - d.yMin),
             QRectF(-6000, -5400, 21500, 7600));
    in.topology = Topology::Voltage2;
    d = scon::controlSchematic(in);
    QCOMPARE(QRectF(d.xMin, d.yMin, d.xMax - d.xMin, d.yMax - d.yMin),
             QRectF(-6600, -3150, 21500, 7600));
}

QTEST_GUILESS_MAIN(TestSconEngine)
#include "tst_sconengine.moc"
