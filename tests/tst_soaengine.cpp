// SOA engine without a window: output signals, limit curves, load line, power and temperature.
#include "catalog/amp.h"
#include "soa/loadline.h"
#include "soa/soacurves.h"
#include "soa/soasignal.h"
#include "soa/soathermal.h"
#include "values/comp.h"
#include "values/engvalues.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(soa::Signal)
Q_DECLARE_METATYPE(soa::LoadLineInput)

namespace {

const double kPi = 3.14159265358979323846;

// A part made the way the catalog reader makes one, column by column. The count columns come
// before the lists they size, as in the tables.
amp makePart(const QMap<QString, QStringList> &overrides = {})
{
    const QList<QPair<QString, QStringList>> base = {
        {"ampName", {"TST1"}},    {"Vss_max", {"100"}},    {"Vss_min", {"20"}},
        {"I_cont", {"5"}},        {"I_pk", {"10"}},        {"channels", {"1"}},
        {"Pd_max", {"125"}},      {"Iq_max", {"0"}},       {"Iq_vF", {"0"}},
        {"packageStyle", {"CE"}}, {"boostOptions", {"0"}}, {"SROptions", {"1"}},
        {"boost", {"NA"}},        {"slewRate", {"10"}},    {"Vbe", {"0.65"}},
        {"CLint", {"N"}},         {"Rb", {"0"}},           {"Rfoldover", {"0"}},
        {"Tc_max", {"125"}},      {"Tj_max", {"150"}},     {"Rtheta_DC", {"1.2"}},
        {"Rtheta_AC", {"0.9"}},   {"Rtheta_JA", {"30"}},   {"SB_slope", {"2"}},
        {"SB_V", {"50"}},         {"pulse1", {"10ms"}},    {"pulse1_V", {"40"}},
        {"pulse2", {"1ms"}},      {"pulse2_V", {"60"}},    {"pulse3", {"NA"}},
        {"pulse3_V", {"NA"}},     {"Tc_soa", {"125"}},     {"pulse_slope", {"1.4"}},
        {"VswingC", {"5"}},       {"VswingB", {"0.5"}},    {"VswingA", {"0.03"}},
    };
    amp part;
    for (const auto &column : base) {
        catalog::CellCursor cells(overrides.value(column.first, column.second));
        part.readColumn(column.first, cells);
    }
    return part;
}

// A resistive, series load with the page's defaults for everything else.
soa::LoadLineInput resistiveInput(double R, const soa::Signal &signal, double vs = 50)
{
    soa::LoadLineInput in;
    in.R = R;
    in.L = 0;
    in.C = infiniteValue;
    in.cShortText = true;
    in.series = true;
    in.vsPos = vs;
    in.vsNeg = -vs;
    in.signal = signal;
    in.cycles = 1;
    return in;
}

soa::Signal csvSignal(int lines, double step = 1e-6)
{
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QString::number(i * step, 'g', 17) + QLatin1Char(',') + QString::number(i) +
                QLatin1Char('\n');
    return soa::uploadedSignal(text);
}

// Fundamental phasor of samples over the shown time, by a plain Fourier sum.
comp fundamental(const QVector<double> &t, const QVector<double> &x, double f, int from)
{
    double re = 0, im = 0;
    const int count = x.size() - from;
    for (int j = from; j < x.size(); ++j) {
        re += x.at(j) * std::sin(2 * kPi * f * t.at(j));
        im += x.at(j) * std::cos(2 * kPi * f * t.at(j));
    }
    return comp(2 * re / count, 2 * im / count);
}

} // namespace

class TestSoaEngine : public QObject
{
    Q_OBJECT

private slots:
    void sinePoints_data();
    void sinePoints();
    void trapezoidPoints_data();
    void trapezoidPoints();
    void motorSweep_data();
    void motorSweep();
    void csvLines_data();
    void csvLines();
    void csvResamplingLengths_data();
    void csvResamplingLengths();
    void csvTwoLinesEndpoints();
    void unusableSignals_data();
    void unusableSignals();
    void description_data();
    void description();

    void temperatureCurves_data();
    void temperatureCurves();
    void curveValues_data();
    void curveValues();
    void customTemperature();
    void swingBox_data();
    void swingBox();

    void resistiveDissipation_data();
    void resistiveDissipation();
    void resistiveLoadLineEnds();
    void uploadedPeriod_data();
    void uploadedPeriod();
    void reactiveEllipse_data();
    void reactiveEllipse();
    void settlingRemovesTransient();
    void openSeriesCapacitor_data();
    void openSeriesCapacitor();
    void idealReactanceHasNoLoadPower_data();
    void idealReactanceHasNoLoadPower();
    void loadFlagsAndNotes_data();
    void loadFlagsAndNotes();
    void parallelAndBridge();

    void junctionTemperature_data();
    void junctionTemperature();
    void thermalCase_data();
    void thermalCase();
    void heatsinkText_data();
    void heatsinkText();
    void resistorRatings();
    void powerReport();
    void currentLimitBand_data();
    void currentLimitBand();

    void signalFrequency_data();
    void signalFrequency();
    void trapezoidTimes_data();
    void trapezoidTimes();
    void uncomputableLoadLine_data();
    void uncomputableLoadLine();
    void thermalWithoutUsableInputs_data();
    void thermalWithoutUsableInputs();
};

// ---------------------------------------------------------------------------- signals

void TestSoaEngine::sinePoints_data()
{
    QTest::addColumn<double>("freq");
    QTest::addColumn<double>("maxOut");
    QTest::addColumn<double>("minOut");
    QTest::addColumn<int>("index"); // 1-based point number
    QTest::addColumn<double>("time");
    QTest::addColumn<double>("value");
    QTest::newRow("default: first point at 1/(360 f)")
        << 1000.0 << 40.0 << -40.0 << 1 << 1 / 360000.0 << 40 * std::sin(2 * kPi / 360);
    QTest::newRow("default: 90th point is the crest (0.25 ms, 40)")
        << 1000.0 << 40.0 << -40.0 << 90 << 0.25e-3 << 40.0;
    QTest::newRow("default: 270th point is the trough")
        << 1000.0 << 40.0 << -40.0 << 270 << 0.75e-3 << -40.0;
    QTest::newRow("default: last point at 1 ms") << 1000.0 << 40.0 << -40.0 << 360 << 1e-3 << 0.0;
    QTest::newRow("offset sine 0..10 V at 50 Hz: crest")
        << 50.0 << 10.0 << 0.0 << 90 << 5e-3 << 10.0;
    QTest::newRow("offset sine 0..10 V at 50 Hz: centre at half period")
        << 50.0 << 10.0 << 0.0 << 180 << 10e-3 << 5.0;
}

void TestSoaEngine::sinePoints()
{
    QFETCH(double, freq);
    QFETCH(double, maxOut);
    QFETCH(double, minOut);
    QFETCH(int, index);
    QFETCH(double, time);
    QFETCH(double, value);
    const soa::Signal s = soa::sineSignal(freq, maxOut, minOut);
    QCOMPARE(s.time.size(), 360);
    QCOMPARE(s.value.size(), 360);
    QVERIFY(std::fabs(s.time.at(index - 1) - time) <= 1e-15);
    QVERIFY2(std::fabs(s.value.at(index - 1) - value) <= 1e-12,
             qPrintable(QString::number(s.value.at(index - 1), 'g', 17)));
}

void TestSoaEngine::trapezoidPoints_data()
{
    QTest::addColumn<QVector<double>>("times"); // rise, high, fall, low
    QTest::addColumn<int>("index");             // 1-based
    QTest::addColumn<double>("time");
    QTest::addColumn<double>("value");
    const QVector<double> dflt{25e-6, 25e-6, 25e-6, 25e-6};
    QTest::newRow("default: 100th point (10 us) on the rising edge")
        << dflt << 100 << 10e-6 << -8.0;
    QTest::newRow("default: first point") << dflt << 1 << 0.1e-6 << -40 + 80 * 0.1 / 25;
    QTest::newRow("default: 250th point is the end of the rise") << dflt << 250 << 25e-6 << 40.0;
    QTest::newRow("default: high phase") << dflt << 400 << 40e-6 << 40.0;
    QTest::newRow("default: falling edge halfway") << dflt << 625 << 62.5e-6 << 0.0;
    QTest::newRow("default: last point (100 us)") << dflt << 1000 << 100e-6 << -40.0;
    QTest::newRow("zero rise time: vertical rising edge")
        << QVector<double>{0, 50e-6, 0, 50e-6} << 1 << 0.1e-6 << 40.0;
    QTest::newRow("zero fall time: vertical falling edge")
        << QVector<double>{0, 50e-6, 0, 50e-6} << 501 << 50.1e-6 << -40.0;
}

void TestSoaEngine::trapezoidPoints()
{
    QFETCH(QVector<double>, times);
    QFETCH(int, index);
    QFETCH(double, time);
    QFETCH(double, value);
    const soa::Signal s = soa::trapezoidSignal(times[0], times[1], times[2], times[3], 40, -40);
    QCOMPARE(s.size(), 1000);
    QVERIFY(std::fabs(s.time.at(index - 1) - time) <= 1e-15);
    QVERIFY2(std::fabs(s.value.at(index - 1) - value) <= 1e-9,
             qPrintable(QString::number(s.value.at(index - 1), 'g', 17)));
    QVERIFY(soa::signalProblem(s).isEmpty());
}

void TestSoaEngine::motorSweep_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");
    QTest::newRow("Normal on +-50 V") << "Normal" << -50 + 100 / 360.0 << 50.0;
    QTest::newRow("Stall on +-50 V") << "Stall" << -50 + 100 / 360.0 << 50.0;
    QTest::newRow("Reversal with I_pk 10 A") << "Reversal" << -10 * 359 / 360.0 << 0.0;
    QTest::newRow("unknown text sweeps like Normal") << "normal" << -50 + 100 / 360.0 << 50.0;
}

void TestSoaEngine::motorSweep()
{
    QFETCH(QString, mode);
    QFETCH(double, first);
    QFETCH(double, last);
    const soa::Signal s = soa::motorSignal(soa::motorModeFromText(mode), 50, -50, 10);
    QCOMPARE(s.size(), 360);
    QVERIFY(std::fabs(s.value.first() - first) < 1e-12);
    QVERIFY(std::fabs(s.value.last() - last) < 1e-12);
    QCOMPARE(s.time.first(), 1 / 360.0);
    QCOMPARE(s.time.last(), 1.0);
}

void TestSoaEngine::csvLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<double>>("times");
    QTest::addColumn<QVector<double>>("values");
    QTest::newRow("blank and carriage return around the number")
        << "0.001, 5\r\n"
        << QVector<double>{0.001} << QVector<double>{5};
    QTest::newRow("no SI prefixes: 1m is no number") << "1m,5\n"
                                                     << QVector<double>{0} << QVector<double>{5};
    QTest::newRow("empty field dropped") << "1,,2\n" << QVector<double>{1} << QVector<double>{2};
    QTest::newRow("exponent notation, extra fields ignored")
        << "2.5e-3,-1E1,7\n"
        << QVector<double>{2.5e-3} << QVector<double>{-10};
    QTest::newRow("empty lines dropped, file order kept")
        << "\n3,1\n\n1,2\n"
        << QVector<double>{3, 1} << QVector<double>{1, 2};
    QTest::newRow("a line with one field holds no sample")
        << "1,2\r\n\r\n5\n2,3" << QVector<double>{1, 2} << QVector<double>{2, 3};
}

void TestSoaEngine::csvLines()
{
    QFETCH(QString, text);
    QFETCH(QVector<double>, times);
    QFETCH(QVector<double>, values);
    const soa::Signal s = soa::parseCsvSamples(text);
    QCOMPARE(s.time, times);
    QCOMPARE(s.value, values);
}

void TestSoaEngine::csvResamplingLengths_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("points");
    QTest::newRow("1 line -> empty") << 1 << 0;
    QTest::newRow("2 lines -> 500") << 2 << 500;
    QTest::newRow("10 lines -> 900") << 10 << 900;
    QTest::newRow("300 lines -> 897") << 300 << 897;
    QTest::newRow("499 lines -> 996") << 499 << 996;
    QTest::newRow("500 lines -> as read") << 500 << 500;
    QTest::newRow("1200 lines -> as read") << 1200 << 1200;
}

void TestSoaEngine::csvResamplingLengths()
{
    QFETCH(int, lines);
    QFETCH(int, points);
    const soa::Signal s = csvSignal(lines);
    QCOMPARE(s.time.size(), points);
    QCOMPARE(s.value.size(), points);
}

void TestSoaEngine::csvTwoLinesEndpoints()
{
    const soa::Signal s = soa::uploadedSignal(QStringLiteral("0,0\n1e-3,10\n"));
    QCOMPARE(s.size(), 500);
    QCOMPARE(s.time.first(), 0.0);
    QCOMPARE(s.value.first(), 0.0);
    QVERIFY(std::fabs(s.time.last() - 499 * 2e-6) < 1e-15);
    QVERIFY(std::fabs(s.value.last() - 499 * 0.02) < 1e-12);
    // Resampling drops the last input point, so the 500 samples span exactly one period.
    QVERIFY(std::fabs(soa::signalPeriod(s) - 1e-3) < 1e-15);
    QVERIFY(soa::signalProblem(s).isEmpty());
    QCOMPARE(soa::increaseResolution(s, 0).size(), 0);
}

void TestSoaEngine::unusableSignals_data()
{
    QTest::addColumn<soa::Signal>("signal");
    QTest::addColumn<bool>("usable");
    QTest::newRow("default sine") << soa::sineSignal(1000, 40, -40) << true;
    QTest::newRow("default trapezoid")
        << soa::trapezoidSignal(25e-6, 25e-6, 25e-6, 25e-6, 40, -40) << true;
    QTest::newRow("motor sweep") << soa::motorSignal(soa::MotorMode::Normal, 50, -50, 10) << true;
    QTest::newRow("CSV from 0 with two lines") << soa::uploadedSignal("0,0\n1e-3,1") << true;
    QTest::newRow("single sample at a positive time")
        << soa::Signal{QVector<double>{1e-3}, QVector<double>{1}} << true;
    QTest::newRow("sine at 0 Hz") << soa::sineSignal(0, 40, -40) << false;
    QTest::newRow("sine at a negative frequency") << soa::sineSignal(-1000, 40, -40) << false;
    QTest::newRow("all-zero trapezoid") << soa::trapezoidSignal(0, 0, 0, 0, 40, -40) << false;
    QTest::newRow("CSV of one line") << soa::uploadedSignal("1e-3,1\n") << false;
    QTest::newRow("CSV with no line") << soa::uploadedSignal("\n\n") << false;
    QTest::newRow("CSV of two lines at the same time")
        << soa::uploadedSignal("1e-3,1\n1e-3,2\n") << false;
    QTest::newRow("CSV with a header line (reads as time 0) before time 0")
        << soa::uploadedSignal("time,volts\n0,1\n1e-3,2\n") << false;
    QString repeated;
    for (int i = 0; i < 600; ++i)
        repeated += QString::number(i == 300 ? 299 : i) + QStringLiteral("e-6,1\n");
    QTest::newRow("CSV of 600 lines with one repeated time")
        << soa::uploadedSignal(repeated) << false;
    QTest::newRow("CSV with a value that is not a number")
        << soa::uploadedSignal("0,1\n1e-3,nan\n2e-3,1\n") << false;
}

void TestSoaEngine::unusableSignals()
{
    QFETCH(soa::Signal, signal);
    QFETCH(bool, usable);
    const QString problem = soa::signalProblem(signal);
    QCOMPARE(problem.isEmpty(), usable);
    if (!usable) {
        QVERIFY(problem.startsWith(QLatin1String("!!! ")));
        QVERIFY(problem.endsWith(QLatin1String(" !!!")));
    }
}

void TestSoaEngine::description_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("volts");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("default sine") << 0 << true
                                  << QStringList{"Sine Waveform", "-40 V to 40 V", "1kHz",
                                                 "(40 V amplitude centered around 0 V)"};
    QTest::newRow("default trapezoid in amperes")
        << 1 << false << QStringList{"Trapezoidal Waveform",  "-40 A to 40 A",     "25us rise time",
                                     "25us high time",        "25us fall time",    "25us low time",
                                     "(100 us total period)", "(10 kHz frequency)"};
    QTest::newRow("uploaded") << 2 << true << QStringList{"Uploaded Waveform", "Scale Factor of 1"};
    QTest::newRow("motor") << 3 << true
                           << QStringList{"DC Motor", "See Load tab to edit parameters"};
    QTest::newRow("unknown kind: nothing") << 7 << true << QStringList{};
}

void TestSoaEngine::description()
{
    QFETCH(int, kind);
    QFETCH(bool, volts);
    QFETCH(QStringList, lines);
    soa::SignalTexts t;
    t.kind = kind;
    t.voltageOutput = volts;
    t.maxOut = "40";
    t.minOut = "-40";
    t.freq = "1k";
    t.tRise = t.tHigh = t.tFall = t.tLow = "25u";
    t.csvGain = "1";
    QCOMPARE(soa::describeSignal(t), lines);
}

// ---------------------------------------------------------------------------- limit curves

void TestSoaEngine::temperatureCurves_data()
{
    QTest::addColumn<QString>("tcSoa");
    QTest::addColumn<QString>("pulse2");
    QTest::addColumn<QStringList>("names");
    const QString c25 = QString::fromUtf8("25°C Case Temp/\nSteady State Limit");
    const QString c85 = QString::fromUtf8("85°C Case Temp");
    const QString c125 = QString::fromUtf8("125°C Case Temp");
    QTest::newRow("Tc_soa 125: three temperature curves")
        << "125"
        << "1ms" << QStringList{c25, c85, c125, "10ms", "1ms", "100us"};
    QTest::newRow("Tc_soa 85: two") << "85"
                                    << "1ms" << QStringList{c25, c85, "10ms", "1ms", "100us"};
    QTest::newRow("Tc_soa 84: only 25 C") << "84"
                                          << "1ms" << QStringList{c25, "10ms", "1ms", "100us"};
    QTest::newRow("pulse2 NA is left out, pulse3 kept")
        << "125"
        << "NA" << QStringList{c25, c85, c125, "10ms", "100us"};
}

void TestSoaEngine::temperatureCurves()
{
    QFETCH(QString, tcSoa);
    QFETCH(QString, pulse2);
    QFETCH(QStringList, names);
    const amp part = makePart(
        {{"Tc_soa", {tcSoa}}, {"pulse2", {pulse2}}, {"pulse3", {"100us"}}, {"pulse3_V", {"80"}}});
    QStringList got;
    for (const soa::LimitCurve &c : soa::soaLimitCurves(part)) {
        got << c.name;
        QCOMPARE(c.voltage.size(), 1000);
        QCOMPARE(c.current.size(), 1000);
        QCOMPARE(c.voltage.first(), 1.0);
        QCOMPARE(c.voltage.last(), 100.0);
        QCOMPARE(c.current.last(), 0.0);
    }
    QCOMPARE(got, names);
}

void TestSoaEngine::curveValues_data()
{
    // Hand values for the test part: Pd 125 W, I_cont 5 A, I_pk 10 A, Rtheta_DC 1.2 C/W,
    // second breakdown from 50 V with slope 2, pulse lines at 40 V and 60 V with slope 1.4.
    // Grid point 500 lies at 100^0.5 = 10 V, point 900 at 100^0.9 = 63.0957 V.
    QTest::addColumn<int>("curve");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("current");
    QTest::newRow("25 C at 1 V: flat at I_cont") << 0 << 0 << 5.0;
    QTest::newRow("25 C at 10 V: below Pd/I_cont = 25 V, flat") << 0 << 500 << 5.0;
    QTest::newRow("85 C at 10 V: below (125-60/1.2)/5 = 15 V, flat") << 1 << 500 << 5.0;
    QTest::newRow("125 C at 10 V: (125-100/1.2)/10 = 4.1667 A") << 2 << 500 << 4.1666666667;
    QTest::newRow("25 C at 63.1 V: Pd/V = 1.9811 below SB 3.14") << 0 << 900 << 1.9811164906;
    QTest::newRow("85 C at 63.1 V: 75/V = 1.1887") << 1 << 900 << 1.1886698943;
    QTest::newRow("125 C at 63.1 V: 41.67/V = 0.66037") << 2 << 900 << 0.6603721635;
    QTest::newRow("pulse 1 at 63.1 V: 10 (40/V)^1.4 = 5.2830") << 3 << 900 << 5.2830410820;
    QTest::newRow("pulse 2 at 63.1 V: 10 (60/V)^1.4 = 9.3199") << 4 << 900 << 9.3199106875;
    QTest::newRow("pulse 1 at 10 V: flat at I_pk") << 3 << 500 << 10.0;
}

void TestSoaEngine::curveValues()
{
    QFETCH(int, curve);
    QFETCH(int, index);
    QFETCH(double, current);
    const QVector<soa::LimitCurve> curves = soa::soaLimitCurves(makePart());
    const double got = curves.at(curve).current.at(index);
    QVERIFY2(std::fabs(got - current) <= 1e-8 * current, qPrintable(QString::number(got, 'g', 12)));
}

void TestSoaEngine::customTemperature()
{
    // Second breakdown steeper than the power line: slope 3 puts it below Pd/V above ~56 V.
    const amp part = makePart({{"SB_slope", {"3"}}});
    const soa::LimitCurve c25 = soa::soaLimitCurves(part).first();
    const soa::LimitCurve cold = soa::customTempCurve(part, 10);
    QCOMPARE(cold.name, QStringLiteral("Custom"));
    QCOMPARE(cold.current, c25.current); // raised to 25 C
    // At 63.1 V: breakdown 5 (50/V)^3 = 2.4883 A limits the 25 C line (Pd/V = 1.98 is lower)
    // and the 100 C line (62.5/V = 0.9906 A) is lower still.
    const soa::LimitCurve hot = soa::customTempCurve(part, 100);
    QVERIFY(std::fabs(hot.current.at(900) - 62.5 / 63.0957344480) < 1e-8);
    QCOMPARE(hot.current.last(), 0.0);
    // Above about 86 V breakdown wins over the 25 C power line: 5 (50/V)^3 < 125/V.
    const double v = c25.voltage.at(980);
    QVERIFY(std::fabs(c25.current.at(980) - 5 * std::pow(50 / v, 3)) < 1e-9);
}

void TestSoaEngine::swingBox_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("topCurrent");
    // Near edge 0.03 I^2 + 0.5 I + 5, I_pk 10 A. With 100 V of supplies the edges never meet:
    // the box reaches the last current step, 179/180 of I_pk.
    QTest::newRow("ample supplies: box reaches I_pk") << 100.0 << 360 << 10 * 179 / 180.0;
    // With 20 V they meet where 0.03 I^2 + 0.5 I + 5 = 10, I = 7.0313 A (quadratic formula).
    QTest::newRow("20 V: box stops near 7.03 A") << 20.0 << -1 << 7.0313;
    QTest::newRow("supplies below twice the headroom: no box") << 9.0 << 0 << 0.0;
}

void TestSoaEngine::swingBox()
{
    QFETCH(double, span);
    QFETCH(int, points);
    QFETCH(double, topCurrent);
    const soa::LimitCurve box = soa::swingBox(0.03, 0.5, 5, 10, span);
    QCOMPARE(box.name, QStringLiteral("Vswing"));
    QCOMPARE(box.voltage.size(), box.current.size());
    if (points >= 0) QCOMPARE(box.voltage.size(), points);
    if (box.current.isEmpty()) return;
    const double top = *std::max_element(box.current.begin(), box.current.end());
    QVERIFY2(top <= topCurrent + 1e-9 && top > topCurrent - 10 / 180.0,
             qPrintable(QString::number(top)));
    // Near edge first, then far edge: the halves mirror each other about span / 2.
    const int half = box.voltage.size() / 2;
    QCOMPARE(box.voltage.size() % 2, 0);
    for (int k = 0; k < half; ++k)
        QVERIFY(std::fabs(box.voltage.at(k) + box.voltage.at(half + k) - span) < 1e-9);
}

// ---------------------------------------------------------------------------- load line

void TestSoaEngine::resistiveDissipation_data()
{
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("vs");
    QTest::addColumn<double>("pAmp");
    QTest::addColumn<double>("pLoad");
    // Class-B stage on +-Vs into R, sine of peak Vp and Ip = Vp/R: each half-wave pair
    // dissipates 2 Vs Ip / pi - Vp Ip / 2 on average and delivers Vp^2 / (2 R).
    auto classB = [](double vp, double r, double vs) {
        const double ip = vp / r;
        return 2 * vs * ip / kPi - vp * ip / 2;
    };
    QTest::newRow("class B: 40 Vp, 10 ohm, +-50 V (2VsIp/pi - VpIp/2)")
        << 40.0 << 0.0 << 10.0 << 50.0 << classB(40, 10, 50) << 80.0;
    QTest::newRow("class B: 20 Vp, 8 ohm, +-30 V (2VsIp/pi - VpIp/2)")
        << 20.0 << 0.0 << 8.0 << 30.0 << classB(20, 8, 30) << 25.0;
    QTest::newRow("class B: 2Vs/pi = 31.8 Vp is the worst case, Vs^2 2/(pi^2 R)")
        << 100 / kPi << 0.0 << 10.0 << 50.0 << 2 * 2500 / (kPi * kPi * 10)
        << std::pow(100 / kPi, 2) / 20;
    QTest::newRow("DC at Vs/2 into 10 ohm: Vs^2/(4R)")
        << 0.0 << 25.0 << 10.0 << 50.0 << 2500 / 40.0 << 62.5;
    QTest::newRow("DC at -Vs/2 into 10 ohm: Vs^2/(4R)")
        << 0.0 << -25.0 << 10.0 << 50.0 << 2500 / 40.0 << 62.5;
    QTest::newRow("DC at Vs/4 into 10 ohm: (Vs - V) V / R")
        << 0.0 << 12.5 << 10.0 << 50.0 << 37.5 * 12.5 / 10 << 12.5 * 12.5 / 10;
}

void TestSoaEngine::resistiveDissipation()
{
    QFETCH(double, amplitude);
    QFETCH(double, offset);
    QFETCH(double, R);
    QFETCH(double, vs);
    QFETCH(double, pAmp);
    QFETCH(double, pLoad);
    const amp part = makePart({{"Vss_max", {"200"}}, {"SB_V", {"200"}}});
    soa::LoadLineInput in =
        resistiveInput(R, soa::sineSignal(1000, offset + amplitude, offset - amplitude), vs);
    in.cycles = 2;
    const soa::LoadLineResult r = soa::simulateLoadLine(in, part);
    QCOMPARE(r.T.size(), 720);
    // 360 samples of a sine put the mean of |sin| 2.5e-5 below 2/pi (2 cot(pi/360) / 360),
    // which lowers the class-B dissipation by up to 1e-4 of itself.
    QVERIFY2(std::fabs(r.PampAvg - pAmp) <= 2e-4 * pAmp, qPrintable(QString::number(r.PampAvg)));
    QVERIFY2(std::fabs(r.PloadAvg - pLoad) <= 1e-5 * pLoad,
             qPrintable(QString::number(r.PloadAvg)));
    QVERIFY(r.connected);
    QVERIFY(!r.outputShorted);
    if (amplitude == 0) QVERIFY(std::fabs(r.PampPeak - pAmp) < 1e-9);
}

void TestSoaEngine::resistiveLoadLineEnds()
{
    // Load line of a resistive load: from (Vs+, 0) at zero current to (Vs+ - a, a/R) at the
    // crest; the current is V/R at every sample.
    const soa::LoadLineResult r =
        soa::simulateLoadLine(resistiveInput(10, soa::sineSignal(1000, 40, -40)), makePart());
    QCOMPARE(r.T.size(), 360);
    for (int j = 0; j < r.T.size(); ++j)
        QVERIFY(std::fabs(r.I.at(j) - r.V.at(j) / 10) < 1e-12);
    QCOMPARE(r.Vd.at(89), 10.0);
    QCOMPARE(r.Iamp.at(89), 4.0);
    QCOMPARE(r.maxIout, 4.0);
    QCOMPARE(r.minIout, -4.0);
    QCOMPARE(r.maxVout, 40.0);
    QCOMPARE(r.minVout, -40.0);
    QVERIFY(std::abs(r.direction) <= 2);
    QCOMPARE(r.T.first(), 1 / 360000.0);
    QVERIFY(std::fabs(r.T.last() - 1e-3) < 1e-15);
    // Zero current at the end of the period: the stage sees the whole positive supply.
    QVERIFY(std::fabs(r.Vd.last() - 50) < 1e-9);
}

void TestSoaEngine::uploadedPeriod_data()
{
    // A DC level of 25 V into 10 ohm on +-50 V dissipates Vs^2/(4R) = 62.5 W whatever the
    // file's time axis; the averages must weigh the samples by their steps over one period.
    QTest::addColumn<QString>("file");
    QTest::newRow("two lines from 0 (resampled, last line dropped)") << "0,25\n1e-3,25\n";
    QTest::newRow("two lines from -0.5 ms, as a scope exports them") << "-5e-4,25\n5e-4,25\n";
    QString many;
    for (int i = 0; i < 600; ++i)
        many += QString::number((i - 300) * 1e-6, 'g', 17) + QStringLiteral(",25\n");
    QTest::newRow("600 lines from -0.3 ms, as read") << many;
}

void TestSoaEngine::uploadedPeriod()
{
    QFETCH(QString, file);
    const soa::Signal s = soa::uploadedSignal(file);
    QVERIFY(soa::signalProblem(s).isEmpty());
    soa::LoadLineInput in = resistiveInput(10, s);
    in.signalKind = 2;
    const soa::LoadLineResult r = soa::simulateLoadLine(in, makePart());
    QVERIFY2(std::fabs(r.PampAvg - 62.5) < 1e-9, qPrintable(QString::number(r.PampAvg)));
    QVERIFY(std::fabs(r.PloadAvg - 62.5) < 1e-9);
}

void TestSoaEngine::reactiveEllipse_data()
{
    QTest::addColumn<bool>("series");
    QTest::addColumn<bool>("voltageOutput");
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("L");
    QTest::addColumn<double>("C"); // 0 with series: C shorted (no capacitor)
    QTest::newRow("series R-C, voltage drive") << true << true << 10.0 << 0.0 << 10e-6;
    QTest::newRow("series R-L, voltage drive") << true << true << 10.0 << 1.6e-3 << 0.0;
    QTest::newRow("series R-L-C, voltage drive") << true << true << 10.0 << 2e-3 << 20e-6;
    QTest::newRow("parallel R-C, voltage drive") << false << true << 20.0 << infiniteValue << 5e-6;
    QTest::newRow("series R-L, current drive") << true << false << 10.0 << 1.6e-3 << 0.0;
    QTest::newRow("parallel R-L, current drive") << false << false << 20.0 << 3e-3 << 0.0;
}

void TestSoaEngine::reactiveEllipse()
{
    // Reference: the steady-state phasor solution Z(jw) of the same circuit at 1 kHz. The
    // samples (V, I) must lie on the ellipse V = Va sin(wt), I = Ia sin(wt - phi). Backward
    // Euler at 360 steps per period adds a resistance of about (w dt)/2 = 0.9 % of each
    // reactance; with both L and C that makes up to 1.6 % of |Z|.
    QFETCH(bool, series);
    QFETCH(bool, voltageOutput);
    QFETCH(double, R);
    QFETCH(double, L);
    QFETCH(double, C);
    const double f = 1000, w = 2 * kPi * f, a = 10;

    comp Z;
    if (series) {
        Z = comp(R, w * L);
        if (C > 0) Z = Z + comp(0, -1 / (w * C));
    } else {
        comp Y(1 / R, w * C);
        if (L != infiniteValue) Y = Y + comp(0, -1 / (w * L));
        Z = comp(1, 0) / Y;
    }
    const double phi = std::atan2(Z.imag(), Z.real());

    soa::LoadLineInput in;
    in.series = series;
    in.R = R;
    in.L = L;
    in.C = series && C == 0 ? infiniteValue : C;
    in.cShortText = series && C == 0;
    in.voltageOutput = voltageOutput;
    in.vsPos = 50;
    in.vsNeg = -50;
    in.signal = soa::sineSignal(f, a, -a);
    in.settle = 20;
    in.cycles = 1;
    const soa::LoadLineResult r = soa::simulateLoadLine(in, makePart());
    QCOMPARE(r.T.size(), 360);
    QVERIFY(r.connected);

    const double Va = voltageOutput ? a : a * Z.magnitude();
    const double Ia = voltageOutput ? a / Z.magnitude() : a;
    const comp V1 = fundamental(r.T, r.V, f, 0);
    const comp I1 = fundamental(r.T, r.I, f, 0);
    const comp Zsim = V1 / I1;
    QVERIFY2(std::fabs(Zsim.magnitude() / Z.magnitude() - 1) < 0.02,
             qPrintable(Zsim.toString() + " vs " + Z.toString()));
    const double phiSim = std::atan2(Zsim.imag(), Zsim.real());
    QVERIFY2(std::fabs(phiSim - phi) < 0.01, qPrintable(QString::number(phiSim - phi)));
    for (int j = 0; j < r.T.size(); ++j) {
        const double v = r.V.at(j) / Va, i = r.I.at(j) / Ia;
        const double residual =
            v * v + i * i - 2 * v * i * std::cos(phi) - std::sin(phi) * std::sin(phi);
        QVERIFY2(std::fabs(residual) < 0.03,
                 qPrintable(QString("sample %1: %2").arg(j).arg(residual)));
    }
    // Out of phase: the load line is an open loop, not a line through its centre.
    QVERIFY(std::fabs(std::sin(phi)) > 0.3);
}

void TestSoaEngine::settlingRemovesTransient()
{
    // Series R-C with a time constant of two periods: the first period still carries the
    // charging current (a DC offset); after settling periods the mean current is 0.
    soa::LoadLineInput in = resistiveInput(20, soa::sineSignal(1000, 10, -10));
    in.C = 100e-6;
    in.cShortText = false;
    auto meanCurrent = [](const soa::LoadLineResult &r) {
        double sum = 0;
        for (double i : r.I)
            sum += i;
        return sum / r.I.size();
    };
    const double fresh = meanCurrent(soa::simulateLoadLine(in, makePart()));
    in.settle = 30;
    const double settled = meanCurrent(soa::simulateLoadLine(in, makePart()));
    QVERIFY2(std::fabs(fresh) > 0.02, qPrintable(QString::number(fresh)));
    QVERIFY2(std::fabs(settled) < 1e-4, qPrintable(QString::number(settled)));
}

void TestSoaEngine::openSeriesCapacitor_data()
{
    QTest::addColumn<bool>("voltageOutput");
    QTest::addColumn<bool>("openText");
    QTest::newRow("voltage drive, C typed open") << true << true;
    QTest::newRow("voltage drive, C typed 0") << true << false;
    QTest::newRow("current drive, C typed open") << false << true;
}

void TestSoaEngine::openSeriesCapacitor()
{
    // An open series capacitor (0 F) used to make the update 0/0: every later sample NaN and
    // the extremes left at their +-999999999 start values. No current flows instead.
    QFETCH(bool, voltageOutput);
    QFETCH(bool, openText);
    soa::LoadLineInput in = resistiveInput(10, soa::sineSignal(1000, 40, -40));
    in.L = 1e-3;
    in.C = 0;
    in.cShortText = false;
    in.cOpenText = openText;
    in.voltageOutput = voltageOutput;
    in.settle = 2;
    const soa::LoadLineResult r = soa::simulateLoadLine(in, makePart());
    QVERIFY(!r.connected);
    QCOMPARE(r.I.size(), 360);
    for (int j = 0; j < r.I.size(); ++j) {
        QCOMPARE(r.I.at(j), 0.0);
        QVERIFY(std::isfinite(r.V.at(j)));
        QVERIFY(std::isfinite(r.Vd.at(j)));
    }
    QCOMPARE(r.maxIout, 0.0);
    QCOMPARE(r.minIout, 0.0);
    QVERIFY(std::isfinite(r.PampAvg) && std::isfinite(r.PloadAvg));
    QVERIFY(std::fabs(r.maxVout) <= 40 && std::fabs(r.minVout) <= 40);
}

void TestSoaEngine::idealReactanceHasNoLoadPower_data()
{
    QTest::addColumn<bool>("series");
    QTest::addColumn<double>("R");
    QTest::addColumn<double>("L");
    QTest::addColumn<double>("C");
    // Without resistance a load takes no real power; the sum over a start-up transient would
    // say otherwise, so load power is reported as 0.
    QTest::newRow("series L, R short") << true << 0.0 << 1e-3 << infiniteValue;
    QTest::newRow("parallel C, R open") << false << infiniteValue << infiniteValue << 10e-6;
}

void TestSoaEngine::idealReactanceHasNoLoadPower()
{
    QFETCH(bool, series);
    QFETCH(double, R);
    QFETCH(double, L);
    QFETCH(double, C);
    soa::LoadLineInput in = resistiveInput(R, soa::sineSignal(1000, 10, -10));
    in.series = series;
    in.L = L;
    in.C = C;
    in.cShortText = series;
    const soa::LoadLineResult r = soa::simulateLoadLine(in, makePart());
    QVERIFY(r.connected);
    QCOMPARE(r.PloadAvg, 0.0);
    QVERIFY(r.PampAvg > 0);
}

void TestSoaEngine::loadFlagsAndNotes_data()
{
    QTest::addColumn<bool>("series");
    QTest::addColumn<QStringList>("rlc"); // as typed
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<QStringList>("breakdown"); // SB_V, SB_slope
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QStringList>("notes"); // the first notes, in order
    const QString shorted = "!!! Do Not Short the Output !!!";
    const QString clip = "Clipping Likely. Based on Worst-Case Voltage Swing Characteristics. "
                         "See Datasheet for Details.";
    const QString cont =
        "Continuous Current Specification Exceeded. Unsafe for Steady State Conditions.";
    const QString sb = "Second Breakdown Violation. Unsafe for Steady State Conditions.";
    const QStringList noSb{"100", "2"};
    QTest::newRow("series 1k: nothing to say")
        << true << QStringList{"1k", "short", "short"} << 40.0 << noSb << true << QStringList{};
    QTest::newRow("series all short: shorted output")
        << true << QStringList{"short", "short", "short"} << 40.0 << noSb << true
        << QStringList{shorted};
    QTest::newRow("series R open: not connected")
        << true << QStringList{"open", "short", "short"} << 40.0 << noSb << false << QStringList{};
    QTest::newRow("series L open: not connected")
        << true << QStringList{"10", "open", "short"} << 40.0 << noSb << false << QStringList{};
    QTest::newRow("parallel C short: shorted output")
        << false << QStringList{"1k", "open", "short"} << 40.0 << noSb << true
        << QStringList{shorted};
    QTest::newRow("parallel L short: shorted output")
        << false << QStringList{"1k", "short", "open"} << 40.0 << noSb << true
        << QStringList{shorted};
    QTest::newRow("parallel all open: not connected")
        << false << QStringList{"open", "open", "open"} << 40.0 << noSb << false << QStringList{};
    QTest::newRow("parallel R and L open, C 1u: connected")
        << false << QStringList{"open", "open", "1u"} << 40.0 << noSb << true << QStringList{};
    // 6 ohm at 40 Vp: 6.67 A crest, above I_cont 5 A and below I_pk 10 A. The headroom there
    // is 0.03*44.4 + 0.5*6.67 + 5 = 9.67 V < the 10 V the stage has: no clipping.
    QTest::newRow("6 ohm: continuous current exceeded")
        << true << QStringList{"6", "short", "short"} << 40.0 << noSb << true << QStringList{cont};
    // 25 ohm at 45 Vp: 1.8 A crest needs 6.0 V of headroom, the stage has 5 V.
    QTest::newRow("25 ohm, 45 Vp: clipping")
        << true << QStringList{"25", "short", "short"} << 45.0 << noSb << true << QStringList{clip};
    // 5 ohm at 20 Vp: at V = 10 V the stage drops 40 V at 2 A; the breakdown line from 20 V
    // with slope 3 allows 5 (20/40)^3 = 0.625 A there.
    QTest::newRow("5 ohm, 20 Vp, breakdown from 20 V: breakdown")
        << true << QStringList{"5", "short", "short"} << 20.0 << QStringList{"20", "3"} << true
        << QStringList{sb};
}

void TestSoaEngine::loadFlagsAndNotes()
{
    QFETCH(bool, series);
    QFETCH(QStringList, rlc);
    QFETCH(double, amplitude);
    QFETCH(QStringList, breakdown);
    QFETCH(bool, connected);
    QFETCH(QStringList, notes);
    soa::LoadLineInput in;
    in.series = series;
    in.R = eng::parseFieldText(rlc[0], "R", nullptr);
    in.L = eng::parseFieldText(rlc[1], "R", nullptr);
    in.C = eng::parseFieldText(rlc[2], "C", nullptr);
    in.rOpenText = rlc[0] == "open";
    in.lOpenText = rlc[1] == "open";
    in.cOpenText = rlc[2] == "open";
    in.cShortText = rlc[2] == "short";
    in.vsPos = 50;
    in.vsNeg = -50;
    in.signal = soa::sineSignal(1000, amplitude, -amplitude);
    // Slew 10 V/us is far above the 0.25 V/us of a 40 V, 1 kHz sine.
    const amp part = makePart({{"SB_V", {breakdown[0]}}, {"SB_slope", {breakdown[1]}}});
    const soa::LoadLineResult r = soa::simulateLoadLine(in, part);
    QCOMPARE(r.connected, connected);
    QStringList got;
    for (const soa::SoaNote &n : r.notes) {
        got << n.text;
        QCOMPARE(n.red, n.text.startsWith("!!!"));
    }
    // A shorted output goes on to infinite currents; only its own note is certain.
    if (r.outputShorted) got = got.mid(0, 1);
    QCOMPARE(got, notes);
}

void TestSoaEngine::parallelAndBridge()
{
    const amp part = makePart();
    // Two amplifiers in parallel halve Iamp and take R_CS * Iamp off the stage voltage.
    soa::LoadLineInput in = resistiveInput(10, soa::sineSignal(1000, 40, -40));
    in.parallel = 2;
    in.rCS = 0.1;
    soa::LoadLineResult r = soa::simulateLoadLine(in, part);
    QCOMPARE(r.Iamp.at(89), 2.0);
    QVERIFY(std::fabs(r.Vd.at(89) - (10 - 0.2)) < 1e-12);
    QVERIFY(std::fabs(r.B - 0.6) < 1e-12);

    // A bridge on the same supplies +100 / 0 V: each output swings about 50 V.
    in = resistiveInput(10, soa::sineSignal(1000, 40, -40));
    in.vsPos = 100;
    in.vsNeg = 0;
    in.bridgeSame = true;
    r = soa::simulateLoadLine(in, part);
    QVERIFY(std::fabs(r.Vo.at(89) - 70) < 1e-12);
    QVERIFY(std::fabs(r.Vo.at(269) - 30) < 1e-12);
    QVERIFY(std::fabs(r.Vd.at(89) - 30) < 1e-12);

    // Inverted supplies: half the load voltage on each output.
    in.vsPos = 50;
    in.vsNeg = -50;
    in.bridgeSame = false;
    in.bridgeInverted = true;
    r = soa::simulateLoadLine(in, part);
    QVERIFY(std::fabs(r.Vo.at(89) - 20) < 1e-12);
}

// ---------------------------------------------------------------------------- power

void TestSoaEngine::junctionTemperature_data()
{
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<double>("offset");
    QTest::addColumn<double>("freq");
    QTest::addColumn<QString>("heatsinkText");
    QTest::addColumn<double>("tj");
    QTest::addColumn<double>("tc");
    // Thermal chain with Ta 30 C, compound 0.1 C/W, sink 2 C/W; the test part has no
    // quiescent current, so the dissipation is the stage power alone.
    const double ta = 30, cs = 0.1, sa = 2;
    // 40 Vp, 4 Ap on +-50 V: Pd = 2*50*4/pi - 40*4/2 = 47.324 W (class B, AC resistance).
    const double pAC = 2 * 50 * 4 / kPi - 80;
    QTest::newRow("1 kHz sine, 2 C/W sink: Tj = Ta + P(jc_AC + cs + sa)")
        << 40.0 << 0.0 << 1000.0 << "2" << ta + pAC * (0.9 + cs + sa) << ta + pAC * (cs + sa);
    // 50 Hz counts as DC: the peak stage power through Rtheta_DC. A 50 Vp sine passes
    // through 25 V (at 30 degrees), where the stage drops 25 V at 2.5 A: Vs^2/(4R) = 62.5 W.
    QTest::newRow("50 Hz sine: peak power Vs^2/(4R) through Rtheta_DC")
        << 50.0 << 0.0 << 50.0 << "2" << ta + 62.5 * (1.2 + cs + sa) << ta + 62.5 * (cs + sa);
    QTest::newRow("DC at Vs/2: Vs^2/(4R) through Rtheta_DC")
        << 0.0 << 25.0 << 1000.0 << "2" << ta + 62.5 * (1.2 + cs + sa) << ta + 62.5 * (cs + sa);
    QTest::newRow("no heatsink: Tj = Ta + P Rtheta_JA, Tc = Ta + P (JA - jc)")
        << 40.0 << 0.0 << 1000.0 << "none" << ta + pAC * 30 << ta + pAC * (30 - 0.9);
}

void TestSoaEngine::junctionTemperature()
{
    QFETCH(double, amplitude);
    QFETCH(double, offset);
    QFETCH(double, freq);
    QFETCH(QString, heatsinkText);
    QFETCH(double, tj);
    QFETCH(double, tc);
    const amp part = makePart({{"Vss_max", {"200"}}, {"SB_V", {"200"}}});
    soa::LoadLineInput in =
        resistiveInput(10, soa::sineSignal(freq, offset + amplitude, offset - amplitude));
    const soa::LoadLineResult line = soa::simulateLoadLine(in, part);

    soa::ThermalInput th;
    th.freqHz = freq;
    th.ambient = 30;
    th.compound = 0.1;
    th.heatsinkText = heatsinkText;
    th.heatsink = eng::parseFieldText(heatsinkText, "R", nullptr);
    th.rclText = "short";
    th.rfoText = "open";
    th.rfo = infiniteValue;
    const soa::ThermalResult r = soa::analysePower(line, th, part);
    QCOMPARE(r.Pq, 0.0);
    // The sampled sine's dissipation is up to 1e-4 low (see resistiveDissipation).
    QVERIFY2(std::fabs(r.Tj - tj) <= 2e-4 * (tj - 30), qPrintable(QString::number(r.Tj, 'g', 10)));
    QVERIFY2(std::fabs(r.Tc - tc) <= 2e-4 * (tc - 30), qPrintable(QString::number(r.Tc, 'g', 10)));
}

void TestSoaEngine::thermalCase_data()
{
    QTest::addColumn<double>("freq");
    QTest::addColumn<double>("positiveShare"); // of samples with positive current
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("ac");
    QTest::newRow("1 kHz, both directions: AC") << 1000.0 << 0.5 << true << true;
    QTest::newRow("60 Hz: DC") << 60.0 << 0.5 << true << false;
    QTest::newRow("61 Hz: AC") << 61.0 << 0.5 << true << true;
    QTest::newRow("95 % one way at 1 kHz: DC") << 1000.0 << 0.95 << true << false;
    QTest::newRow("89 % one way at 1 kHz: AC") << 1000.0 << 0.89 << true << true;
    QTest::newRow("load not connected: DC") << 1000.0 << 0.5 << false << false;
}

void TestSoaEngine::thermalCase()
{
    QFETCH(double, freq);
    QFETCH(double, positiveShare);
    QFETCH(bool, connected);
    QFETCH(bool, ac);
    soa::LoadLineResult line;
    line.points = 100;
    line.cycles = 2;
    line.connected = connected;
    const int positive = qRound(positiveShare * 200);
    line.direction = positive - (200 - positive);
    line.PampAvg = 10;
    line.PampPeak = 30;
    soa::ThermalInput th;
    th.freqHz = freq;
    th.rclText = "short";
    th.heatsinkText = "0";
    // Iq 10 mA on 100 V: Pq = 1 W; the junction takes a tenth, the case the rest.
    const soa::ThermalResult r = soa::analysePower(line, th, makePart({{"Iq_max", {"10"}}}));
    QCOMPARE(r.acBidirectional, ac);
    QCOMPARE(r.Rjc, ac ? 0.9 : 1.2);
    QVERIFY(std::fabs(r.Pj - ((ac ? 10 : 30) + 0.1)) < 1e-12);
    QVERIFY(std::fabs(r.Pd - (r.Pj + 0.9)) < 1e-12);
    QVERIFY(std::fabs(r.TcMax - qMin(125.0, 150 - r.Rjc * r.Pj)) < 1e-12);
}

void TestSoaEngine::heatsinkText_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<double>("pampAvg");
    QTest::addColumn<double>("ambient");
    QTest::addColumn<QString>("text");
    // 1 W AC: Tc0 = (30 - 0.9) * 1 + 25 = 54.1 C, below TcMax 125 C.
    QTest::newRow("1 W in CE: none") << "CE" << 1.0 << 25.0 << "none";
    QTest::newRow("1 W in DK: foil") << "DK" << 1.0 << 25.0 << "1 square inch foil";
    QTest::newRow("1 W in DF: foil") << "DF" << 1.0 << 25.0 << "1 square inch foil";
    QTest::newRow("1 W in CC: see datasheet") << "CC" << 1.0 << 25.0 << "foil - see datasheet";
    // 40 W: TcMax = min(125, 150 - 0.9*40) = 114; Rhs = (114 - 25)/40 - 0.1 = 2.125 -> 2.12.
    QTest::newRow("40 W: 2.12 C/W") << "CE" << 40.0 << 25.0 << "2.12";
    // Ambient 120 C above TcMax 114: Rhs = (114 - 120)/40 - 0.1 = -0.25.
    QTest::newRow("ambient above TcMax: negative") << "CE" << 40.0 << 120.0 << "-0.25";
}

void TestSoaEngine::heatsinkText()
{
    QFETCH(QString, package);
    QFETCH(double, pampAvg);
    QFETCH(double, ambient);
    QFETCH(QString, text);
    soa::LoadLineResult line;
    line.points = 100;
    line.connected = true;
    line.PampAvg = pampAvg;
    soa::ThermalInput th;
    th.freqHz = 1000;
    th.ambient = ambient;
    th.compound = 0.1;
    th.heatsinkText = "0";
    th.rclText = "short";
    const soa::ThermalResult r =
        soa::analysePower(line, th, makePart({{"packageStyle", {package}}}));
    QCOMPARE(r.minHeatsinkText, text);
}

void TestSoaEngine::resistorRatings()
{
    soa::LoadLineResult line;
    line.points = 100;
    line.IampAvg = 1;
    soa::ThermalInput th;
    th.rclText = "1";
    th.rcl = 1;
    th.heatsinkText = "0";
    // 0.65^2 * 1.414 / 1 ohm = 0.597415 W, three significant digits.
    soa::ThermalResult r = soa::analysePower(line, th, makePart());
    QCOMPARE(r.powerDetails.last(), QStringLiteral("\nSuggested Power Rating for R_CL: \t>597 mW"));
    // Two amplifiers, IampAvg 1 A, R_CS 0.1 ohm: 2 * 1 * 0.1 = 200 mW.
    th.rclText = "short";
    th.rcl = 0;
    th.parallel = 2;
    th.rCS = 0.1;
    r = soa::analysePower(line, th, makePart());
    QCOMPARE(r.powerDetails.last(), QStringLiteral("\nSuggested Power Rating for R_CS: \t>200 mW"));
    th.parallel = 1;
    r = soa::analysePower(line, th, makePart());
    QCOMPARE(r.powerDetails.size(), 6);
    // A resistor the part's data sheet sizes writes no rating.
    th.rclText = "See datasheet for details.";
    th.rcl = 0;
    r = soa::analysePower(line, th, makePart());
    QCOMPARE(r.powerDetails.size(), 6);
}

void TestSoaEngine::powerReport()
{
    // 40 Vp sine into 10 ohm on +-50 V, Iq 26 mA: Pq = 26 mA * 100 V = 2.6 W.
    const amp part = makePart({{"Iq_max", {"26"}}, {"Vss_max", {"200"}}, {"SB_V", {"200"}}});
    soa::LoadLineInput in = resistiveInput(10, soa::sineSignal(1000, 40, -40));
    const soa::LoadLineResult line = soa::simulateLoadLine(in, part);
    soa::ThermalInput th;
    th.freqHz = 1000;
    th.heatsinkText = "0";
    th.rclText = "short";
    soa::ThermalResult r = soa::analysePower(line, th, part);
    QVERIFY(std::fabs(r.Pq - 2.6) < 1e-12);
    // Most efficient supplies: headroom at 4 A (0.03*16 + 0.5*4 + 5 = 7.48 V) over 40 V.
    QVERIFY(std::fabs(r.efficientVsPos - 47.48) < 1e-9);
    QVERIFY(std::fabs(r.efficientVsNeg - (-40 - 5 - 2 - 0.48)) < 1e-9);
    QCOMPARE(
        r.powerDetails,
        (QStringList{"\nLoad Power: \t\t80 W RMS", "Amplifier Power (w/o quiescent): \t47.3 W RMS",
                     "Input Power (w/o quiescent): \t127 W", "Quiescent Power: \t2.6 W",
                     "Total Power: \t\t130 W", "\nMost Efficient Supplies: \t47.5 V and -47.5 V"}));
    // A bridge counts both amplifiers; the suffixes say so.
    th.bridgeInverted = true;
    r = soa::analysePower(line, th, part);
    QCOMPARE(r.powerDetails.at(1),
             QStringLiteral("Amplifier Power (w/o quiescent): \t47.3 W RMS per amplifier"));
    QCOMPARE(r.powerDetails.at(2), QStringLiteral("Input Power (w/o quiescent): \t175 W total"));
    QCOMPARE(r.powerDetails.at(4), QStringLiteral("Total Power: \t\t180 W total"));
}

void TestSoaEngine::currentLimitBand_data()
{
    QTest::addColumn<QString>("rcl");
    QTest::addColumn<QString>("clint");
    QTest::addColumn<int>("range");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<double>("limitAtZero"); // limit at Vo = 0 before the spread
    QTest::addColumn<bool>("activates");
    QTest::addColumn<double>("sink"); // C/W
    // Sense resistor only: I = VbeT / R_CL with VbeT = 0.65 - (Tc - 25) * 0.0022, the case
    // held at 25 C by an ideal heatsink (0 C/W, no compound).
    QTest::newRow("R_CL short, no internal limit: none")
        << "short"
        << "N" << 20 << false << 0.0 << false << 0.0;
    QTest::newRow("R_CL 0.1 ohm: 6.5 A, +-20 %") << "0.1"
                                                 << "N" << 20 << true << 6.5 << false << 0.0;
    QTest::newRow("R_CL 0.1 ohm, range 0: a single line")
        << "0.1"
        << "N" << 0 << true << 6.5 << false << 0.0;
    QTest::newRow("R_CL 0.15 ohm: 4.33 A acts on 4 A peaks with 20 % spread")
        << "0.15"
        << "N" << 20 << true << 0.65 / 0.15 << true << 0.0;
    QTest::newRow("internal limit CLint 8 A, R_CL short")
        << "short"
        << "8" << 20 << true << 8.0 << false << 0.0;
    // A 1 C/W sink warms the case by Pd = 47.3 W: VbeT = 0.65 - 47.3 * 0.0022 = 0.546 V.
    QTest::newRow("R_CL 0.1 ohm on a 1 C/W sink: the limit falls with the case temperature")
        << "0.1"
        << "N" << 20 << true << (0.65 - 47.3208 * 0.0022) / 0.1 << false << 1.0;
}

void TestSoaEngine::currentLimitBand()
{
    QFETCH(QString, rcl);
    QFETCH(QString, clint);
    QFETCH(int, range);
    QFETCH(bool, exists);
    QFETCH(double, limitAtZero);
    QFETCH(bool, activates);
    QFETCH(double, sink);
    const amp part = makePart({{"CLint", {clint}}, {"Vss_max", {"200"}}, {"SB_V", {"200"}}});
    const soa::LoadLineResult line =
        soa::simulateLoadLine(resistiveInput(10, soa::sineSignal(1000, 40, -40)), part);
    soa::ThermalInput th;
    th.freqHz = 1000;
    th.ambient = 25;
    th.compound = 0;
    th.heatsinkText = QString::number(sink);
    th.heatsink = sink;
    th.rclText = rcl;
    th.rcl = eng::parseFieldText(rcl, "R", nullptr);
    th.rfoText = "open";
    th.rfo = infiniteValue;
    th.rangePercent = range;
    const soa::ThermalResult r = soa::analysePower(line, th, part);
    QCOMPARE(r.limitExists, exists);
    QCOMPARE(r.limitActivates, activates);
    QCOMPARE(r.notes.size(), activates ? 1 : 0);
    if (activates) {
        QCOMPARE(
            r.notes.first().text,
            QStringLiteral("!!! Current Limit Should Not Activate During Normal Operation !!!"));
        QVERIFY(r.notes.first().red);
    }
    if (!exists) {
        QVERIFY(r.bandX.isEmpty());
        return;
    }
    QCOMPARE(r.bandX.size(), 100);
    QCOMPARE(r.bandX.first(), 100.0); // Vo = Vs- : the stage sees both supplies
    QCOMPARE(r.bandX.last(), 1.0);
    // Point 50 lies at Vo = 0.
    const double spread = range / 100.0;
    QVERIFY2(std::fabs(r.bandUpper.at(50) - (1 + spread) * limitAtZero) < 1e-4,
             qPrintable(QString::number(r.bandUpper.at(50), 'g', 10)));
    QVERIFY(std::fabs(r.bandLower.at(50) - (1 - spread) * limitAtZero) < 1e-4);
    if (range == 0) QCOMPARE(r.bandUpper, r.bandLower);
}

// ------------------------------------------------------------- inputs the model cannot use

void TestSoaEngine::signalFrequency_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<soa::Signal>("inUse");
    QTest::addColumn<double>("typedSine");
    QTest::addColumn<bool>("sineAdopted");
    QTest::addColumn<double>("expected");
    const soa::Signal sine1k = soa::sineSignal(1000, 40, -40);
    // 10 + 40 + 10 + 40 us: 100 us, 10 kHz.
    const soa::Signal trap10k = soa::trapezoidSignal(10e-6, 40e-6, 10e-6, 40e-6, 30, -30);
    QTest::newRow("sine as typed") << 0 << sine1k << 1000.0 << true << 1000.0;
    QTest::newRow("sine typed 60 Hz stays exactly 60")
        << 0 << soa::sineSignal(60, 1, -1) << 60.0 << true << 60.0;
    QTest::newRow("rejected sine: the kept signal's own") << 0 << sine1k << 0.0 << false << 1000.0;
    QTest::newRow("trapezoid: one over its period, whatever the sine field")
        << 1 << trap10k << 50.0 << true << 10000.0;
    QTest::newRow("upload: one over its span") << 2 << csvSignal(1000) << 1000.0 << false << 1000.0;
    QTest::newRow("motor sweep: direct current") << 3 << soa::motorSignal(soa::MotorMode::Stall,
                                                                          50, -50, 10)
                                                 << 1000.0 << false << 0.0;
}

void TestSoaEngine::signalFrequency()
{
    QFETCH(int, kind);
    QFETCH(soa::Signal, inUse);
    QFETCH(double, typedSine);
    QFETCH(bool, sineAdopted);
    QFETCH(double, expected);
    const double f = soa::signalFrequency(kind, inUse, typedSine, sineAdopted);
    QVERIFY2(std::fabs(f - expected) <= 1e-9 * expected, qPrintable(QString::number(f, 'g', 17)));
}

void TestSoaEngine::trapezoidTimes_data()
{
    QTest::addColumn<double>("rise");
    QTest::addColumn<double>("low");
    QTest::addColumn<bool>("refused");
    QTest::newRow("square wave: rise 0") << 0.0 << 25e-6 << false;
    QTest::newRow("negative rise") << -1e-6 << 25e-6 << true;
    QTest::newRow("negative low") << 25e-6 << -1e-3 << true;
    QTest::newRow("NaN") << std::nan("") << 25e-6 << true;
}

void TestSoaEngine::trapezoidTimes()
{
    QFETCH(double, rise);
    QFETCH(double, low);
    QFETCH(bool, refused);
    const QString note = soa::trapezoidProblem(rise, 25e-6, 25e-6, low);
    QCOMPARE(!note.isEmpty(), refused);
    if (refused)
        QCOMPARE(note, QStringLiteral("!!! Trapezoid times may not be negative: the previous "
                                      "signal is kept !!!"));

    // All four 0: the description shows the period, and no frequency figure.
    soa::SignalTexts t;
    t.kind = 1;
    t.maxOut = "40";
    t.minOut = "-40";
    t.tRise = t.tHigh = t.tFall = t.tLow = "0";
    const QStringList lines = soa::describeSignal(t);
    QCOMPARE(lines.last(), QStringLiteral("(") + eng::noResultText() + " Hz frequency)");
}

void TestSoaEngine::uncomputableLoadLine_data()
{
    QTest::addColumn<soa::LoadLineInput>("in");
    QTest::addColumn<bool>("computable");
    QTest::addColumn<QString>("problem");
    const soa::Signal sine = soa::sineSignal(1000, 40, -40);
    const QString shorted =
        QStringLiteral("!!! The load shorts the output: the load current is unbounded !!!");

    QTest::newRow("voltage into a series short") << resistiveInput(0, sine) << false << shorted;
    soa::LoadLineInput parallel = resistiveInput(0, sine);
    parallel.series = false;
    parallel.cShortText = false;
    parallel.C = 0;
    parallel.L = infiniteValue;
    QTest::newRow("voltage into a parallel R of 0") << parallel << false << shorted;
    soa::LoadLineInput current = resistiveInput(0, sine);
    current.voltageOutput = false;
    QTest::newRow("current into a short: 0 V, computable") << current << true << QString();
    QTest::newRow("tiny R: the current overflows")
        << resistiveInput(1e-308, sine) << false
        << "!!! The load current or voltage overflows with the load as typed: power and "
           "temperatures cannot be computed !!!";
    soa::LoadLineInput stall = resistiveInput(1000, soa::motorSignal(soa::MotorMode::Stall, 50,
                                                                     -50, 10));
    stall.signalKind = 3;
    stall.motorMode = soa::MotorMode::Stall;
    stall.motorESR = 0;
    QTest::newRow("motor stall with ESR 0")
        << stall << false << "!!! Motor ESR is 0: the stall current is unbounded !!!";
    soa::LoadLineInput unusable = resistiveInput(std::nan(""), sine);
    unusable.usable = false;
    QTest::newRow("unusable field: not run, the field's note says why")
        << unusable << false << QString();
}

void TestSoaEngine::uncomputableLoadLine()
{
    QFETCH(soa::LoadLineInput, in);
    QFETCH(bool, computable);
    QFETCH(QString, problem);
    const soa::LoadLineResult r = soa::simulateLoadLine(in, makePart());
    QCOMPARE(r.computable, computable);
    QCOMPARE(r.problem, problem);
    if (computable) {
        QCOMPARE(r.PloadAvg, 0.0);
        QVERIFY(std::isfinite(r.PampAvg) && r.PampAvg > 0);
        return;
    }
    // No sample reaches the plots, and nothing stands in for the missing figures.
    QVERIFY(r.T.isEmpty() && r.I.isEmpty() && r.Vd.isEmpty());
    for (double v : {r.maxIout, r.minIout, r.maxVout, r.minVout, r.PloadAvg, r.PampAvg,
                     r.PampPeak})
        QVERIFY(std::isnan(v));
    QVERIFY(!r.peakExceeded && !r.clipping);

    soa::ThermalInput th;
    th.freqHz = 1000;
    th.heatsinkText = "none";
    th.heatsink = infiniteValue;
    th.rclText = "1";
    th.rcl = 1;
    th.rfoText = "open";
    th.rfo = infiniteValue;
    const soa::ThermalResult power = soa::analysePower(r, th, makePart());
    QVERIFY(std::isnan(power.Pd) && std::isnan(power.Tc) && std::isnan(power.Tj));
    QCOMPARE(power.minHeatsinkText, eng::noResultText());
    QVERIFY(!power.limitExists && power.bandX.isEmpty());
    const QString details = power.powerDetails.join('\n');
    QVERIFY2(!details.contains("nan") && !details.contains("e+"), qPrintable(details));
}

void TestSoaEngine::thermalWithoutUsableInputs_data()
{
    QTest::addColumn<double>("ambient");
    QTest::addColumn<double>("heatsink");
    QTest::addColumn<double>("rcl");
    QTest::addColumn<bool>("temperatures");
    QTest::addColumn<bool>("band");
    QTest::newRow("all usable") << 25.0 << 1.0 << 1.0 << true << true;
    QTest::newRow("ambient unusable") << std::nan("") << 1.0 << 1.0 << false << false;
    QTest::newRow("heatsink unusable") << 25.0 << std::nan("") << 1.0 << false << false;
    QTest::newRow("R_CL unusable") << 25.0 << 1.0 << std::nan("") << true << false;
    QTest::newRow("R_CL of next to nothing: the limit overflows")
        << 25.0 << 1.0 << 1e-310 << true << false;
}

void TestSoaEngine::thermalWithoutUsableInputs()
{
    QFETCH(double, ambient);
    QFETCH(double, heatsink);
    QFETCH(double, rcl);
    QFETCH(bool, temperatures);
    QFETCH(bool, band);
    const amp part = makePart();
    const soa::LoadLineResult line =
        soa::simulateLoadLine(resistiveInput(10, soa::sineSignal(1000, 40, -40)), part);
    soa::ThermalInput th;
    th.freqHz = 1000;
    th.ambient = ambient;
    th.heatsinkText = QString::number(heatsink);
    th.heatsink = heatsink;
    th.rclText = QString::number(rcl);
    th.rcl = rcl;
    th.rfoText = "open";
    th.rfo = infiniteValue;
    const soa::ThermalResult r = soa::analysePower(line, th, part);
    QVERIFY(std::isfinite(r.Pd)); // the dissipation needs none of these
    QCOMPARE(std::isfinite(r.Tc) && std::isfinite(r.Tj), temperatures);
    QCOMPARE(r.limitExists, band);
    for (const QVector<double> *v : {&r.bandX, &r.bandUpper, &r.bandLower})
        for (double x : *v)
            QVERIFY(std::isfinite(x));
    for (const QString &line : r.powerDetails)
        QVERIFY2(!line.contains("R_CL") || std::isfinite(rcl), qPrintable(line));

    // An open heatsink takes no heat: the part runs as without one.
    th.heatsinkText = "open";
    th.heatsink = infiniteValue;
    const soa::ThermalResult open = soa::analysePower(line, th, part);
    if (std::isfinite(ambient)) {
        QCOMPARE(open.Tc, open.Tc0);
        QCOMPARE(open.Tj, part.getRtheta_JA() * open.Pj + ambient);
    }
}

QTEST_GUILESS_MAIN(TestSoaEngine)
#include "tst_soaengine.moc"
