// The three-phase motor engine: the motor-equation solvers, the profile lookup and builder,
// the bridge simulation against hand-derived DC and phasor values, the thermal loop, the
// minimum heatsink, the warning texts, the graph slots and the PWL text.
#include "catalog/partlists.h"
#include "examples/exampletable.h"
#include "motor/bridgesim.h"
#include "motor/p3signals.h"
#include "motor/p3thermal.h"
#include "values/engvalues.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QtTest>

#include <array>
#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A three-phase part with a temperature-independent on-resistance unless overridden.
pwm makePart(const QMap<QString, QString> &overrides = {})
{
    QMap<QString, QString> cols{
        {"ampName", "TST"},       {"released?", "Y"},    {"Vs_max", "60"},
        {"Vs_min", "8"},          {"Vcc_max", "15"},     {"Vcc_nom", "5"},
        {"Vcc_min", "4.5"},       {"I_cont", "6"},       {"I_pk", "10"},
        {"Pd_max", "104"},        {"Iq_Vcc", "12"},      {"Iq_Vcc_vsF", "0.08"},
        {"outputs", "3"},         {"Fsw_nom", "20"},     {"Fsw_max", "100"},
        {"Rdiode", "14"},         {"Vdiode", "0.85"},    {"MaxDutyCycle", "0.98"},
        {"t_rise", "20"},         {"t_fall", "20"},      {"Tc_max", "85"},
        {"Tj_max", "150"},        {"Rtheta_DC", "1.2"},  {"Rtheta_JA", "22"},
        {"Rtheta_JC_diode", "4"}, {"top_A", "0"},        {"top_B", "0"},
        {"top_C", "0.07"},        {"top_wire", "0.005"}, {"top_V", "0"},
        {"bot_A", "0"},           {"bot_B", "0"},        {"bot_C", "0.07"},
        {"bot_wire", "0.005"},    {"bot_V", "0"}};
    for (auto it = overrides.begin(); it != overrides.end(); ++it)
        cols[it.key()] = it.value();
    QTemporaryDir dir;
    const QString path = dir.filePath("pwm.txt");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(
        (QStringList(cols.keys()).join('\t') + '\n' + QStringList(cols.values()).join('\t') + '\n')
            .toLatin1());
    f.close();
    QVector<pwm> list;
    pwm().readFile(list, 0, true, path);
    return list.value(0);
}

// A wye motor of 3 ohm, 10 mH and 2 mV/RPM, four poles, 600 RPM at 80 % duty cycle, on a
// 20 kHz bridge: ripple and step error stay well below a percent.
motor::BridgeInput baseInput()
{
    motor::BridgeInput in;
    in.part = makePart();
    in.Vs = 50;
    in.Vcc = 5;
    in.FswHz = 20000;
    in.commutation = motor::Sinusoidal;
    in.start = 0.025;
    in.end = 0.075;
    in.motor.R = "3";
    in.motor.L = "10m";
    in.motor.Vemf = "2m";
    in.motor.nPoles = 4;
    in.motor.isDelta = false;
    in.motor.controlVariable = 1; // RPM
    in.motor.controlType = 0;
    in.motor.constantVariable = 2; // duty cycle
    in.motor.controlAmplitude = "600";
    in.motor.constantAmplitude = "80";
    return in;
}

// Every step of a run as the single pass hands it over.
struct StepRows final : motor::StepSink
{
    void step(const double *values) override
    {
        rows.emplace_back();
        std::copy(values, values + motor::sig::count, rows.back().begin());
    }
    std::vector<std::array<double, motor::sig::count>> rows;
};

double sum3(const double v[3])
{
    return v[0] + v[1] + v[2];
}

// The thermal loop stores waveforms only in runs it expects to be the last: whichever run
// that turns out to be, the waveforms are those of a run at the final on-resistance.
void verifyWaveformsOfLastRun(const motor::BridgeInput &in, const motor::ThermalResult &r,
                              const motor::Waveforms &w)
{
    QCOMPARE(w.Rdson, r.Rdson);
    motor::Waveforms fresh;
    motor::simulateBridge(in, r.Rdson, &fresh);
    QVERIFY(w.steps() > 0);
    QCOMPARE(w.I1, fresh.I1);
    QCOMPARE(w.V1, fresh.V1);
}

} // namespace

namespace {

// A worked example of the three-phase page as the engine reads it: the part it names, its
// fields and its motor, with the commutation chosen.
motor::BridgeInput exampleInput(int number, int commutation)
{
    static const QVector<pwm> parts = [] {
        QVector<pwm> list;
        pwm().readFile(list, 0, true);
        return list;
    }();
    const examples::ThreePhaseSetup s = examples::example(number).motor;
    motor::BridgeInput in;
    in.part = catalog::findSwitching(parts, QStringLiteral("NV335"));
    in.Vs = eng::parseValue(s.vs);
    in.Vcc = eng::parseValue(s.vcc);
    in.FswHz = eng::parseValue(s.fsw) * 1000;
    in.commutation = commutation;
    in.start = eng::parseValue(s.start);
    in.end = eng::parseValue(s.end);
    motor::MotorModel &m = in.motor;
    m.R = s.r;
    m.L = s.l;
    m.Vemf = s.vemf;
    m.nPoles = s.poles;
    m.isDelta = s.delta;
    m.controlVariable = s.controlVariable;
    m.controlType = s.controlType;
    m.constantVariable = s.constantVariable;
    m.controlAmplitude = s.controlAmplitude;
    m.constantAmplitude = s.constantAmplitude;
    m.timeVector = s.times;
    m.amplitudeVector = s.amplitudes;
    return in;
}

// The largest phase current in the window of a block-commutated run stepped at the base step,
// 1/100 of the switching period, throughout: the model with none of the engine's jumps,
// written out step by step (backward Euler on each wye leg, the sector of the wrapped angle).
double peakSteppedThroughout(const motor::BridgeInput &in, double Rdson)
{
    const motor::MotorConstants mc = motor::motorConstants(in.motor);
    const motor::ControlProfile p = motor::generateControlVector(in, in.end, nullptr);
    const double h = 1 / (100 * in.FswHz);
    const double Vsw = (in.part.getTop_V() + in.part.getBot_V()) / 2;
    const double Rsw = (in.part.getTop_wire() + in.part.getBot_wire()) / 2 + Rdson;
    const double Ldt = mc.L / h, Z = mc.R + Rsw + Ldt;
    const double emfPerHz = mc.Vemf * 60 / mc.n;
    static const int sixStep[6][3] = {{0, 0, 2}, {2, 0, 2}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 2, 2}};
    static const int trapezoidal[6][3] = {{1, 0, 2}, {2, 0, 1}, {2, 1, 0}, {1, 2, 0}, {0, 2, 1}, {0, 1, 2}};
    const auto &table = in.commutation == motor::Trapezoidal ? trapezoidal : sixStep;
    double I[3] = {0, 0, 0}, angle = 0, peak = 0;
    int index = 0;
    const long long steps = std::llround(in.end / h);
    for (long long k = 0; k <= steps; ++k) {
        const double t = k * h;
        const double D = std::min(1.0, std::max(0.0, motor::linterp(p.timebase, p.DutyCycleEnv, t, &index, nullptr)));
        const double f = motor::linterp(p.timebase, p.fCycle, t, &index, nullptr);
        if (k > 0) angle = std::fmod(angle + 2 * kPi * f * h + 2 * kPi, 2 * kPi);
        const int sector = std::min(5, int(angle / (kPi / 3)));
        const double r = 6 * (angle - sector * kPi / 3) / kPi - 1;
        const double E = std::fabs(f) * emfPerHz;
        const double shape[6][3] = {{r, -1, 1}, {1, -1, -r}, {1, r, -1},
                                    {-r, 1, -1}, {-1, 1, r}, {-1, -r, 1}};
        const double x = t * in.FswHz;
        const double carrier = 1 - 2 * std::fabs(x - std::nearbyint(x));
        double V[3], emf[3];
        for (int j = 0; j < 3; ++j) {
            V[j] = (D > carrier ? table[sector][j] : 1) * in.Vs / 2;
            emf[j] = shape[sector][j] * E;
        }
        const double Vwye = (V[0] + V[1] + V[2] - emf[0] - emf[1] - emf[2]) / 3;
        for (int j = 0; j < 3; ++j) {
            I[j] = (V[j] - Vwye - emf[j] - Vsw + I[j] * Ldt) / Z;
            if (t >= in.start) peak = std::max(peak, std::fabs(I[j]));
        }
    }
    return peak;
}

} // namespace

class TestMotorEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dcFromIandRPM_data();
    void dcFromIandRPM();
    void rpmFromIandDC_data();
    void rpmFromIandDC();
    void rpmWhenReactanceMatchesBackEmf();
    void linterp_data();
    void linterp();
    void controlProfile_data();
    void controlProfile();
    void profileFlags();

    void standingBridgeMatchesDcCircuit();
    void switchingLossByEdge_data();
    void switchingLossByEdge();
    void turningMotorMatchesPhasors();
    void deltaSimulatesAsEquivalentWye();
    void waveformLengths_data();
    void waveformLengths();
    void trapezoidalBackEmf();
    void emptyAndReversedWindow();
    void profileStartingLate();
    void profileTimeOrder_data();
    void profileTimeOrder();
    void profileStepRuns();
    void supplyAndFrequencyFlags_data();
    void supplyAndFrequencyFlags();
    void powerRatingByOutputs();
    void removedDiodeLossesStillReturned();
    void firstSampleCarriesOneStep();
    void linearMotorPosition();
    void runawayInputsAreRefused_data();
    void runawayInputsAreRefused();
    void extremeInputsAreRefused_data();
    void extremeInputsAreRefused();
    void fastSpeedsStillRun_data();
    void fastSpeedsStillRun();
    void longWindowInBoundedMemory();
    void progressStopsLongRefresh_data();
    void progressStopsLongRefresh();
    void longRunCoversItsWindow();
    void reverseRotation_data();
    void reverseRotation();
    void runsOnKeptDrive_data();
    void runsOnKeptDrive();
    void steadyCase_data();
    void steadyCase();
    void blockPeakAsSteppedThroughout_data();
    void blockPeakAsSteppedThroughout();

    void thermalLoop_data();
    void thermalLoop();
    void thermalRunaway();
    void slowThermalLoop_data();
    void slowThermalLoop();
    void minHeatsink_data();
    void minHeatsink();
    void warningTexts_data();
    void warningTexts();
    void warningOrder();

    void toggleGraphable_data();
    void toggleGraphable();
    void graphSources_data();
    void graphSources();
    void pwlText_data();
    void pwlText();
};

void TestMotorEngine::initTestCase()
{
    Q_INIT_RESOURCE(tables); // the parts catalog, for the steady case
}

void TestMotorEngine::dcFromIandRPM_data()
{
    QTest::addColumn<double>("Vs");
    QTest::addColumn<int>("commutation");
    QTest::addColumn<double>("expected");
    // Ipk 2 A, 600 RPM, R 3 ohm, L 10 mH, 4 poles, 5 mV/RPM: X = 2π·600·4·0.01/60 = 2.513274 ohm,
    // |Z| = 3.913636 ohm, E = 3 V (hand derivation).
    QTest::newRow("sinusoidal: 2(|Z|I+E)/Vs") << 50.0 << 0 << 0.43309088;
    QTest::newRow("trapezoidal: 2(RI+E)/Vs") << 50.0 << 1 << 0.36;
    QTest::newRow("six-step: (1.5IR+E)/Vs") << 50.0 << 2 << 0.24;
    QTest::newRow("unknown commutation") << 50.0 << 3 << 0.0;
    QTest::newRow("no supply") << 0.0 << 0 << -1.0;
}

void TestMotorEngine::dcFromIandRPM()
{
    QFETCH(double, Vs);
    QFETCH(int, commutation);
    QFETCH(double, expected);
    const double dc = motor::dcFromIandRPM(2, 600, Vs, 3, 0.01, 4, 0.005, commutation);
    QVERIFY2(std::fabs(dc - expected) < 1e-6, qPrintable(QString::number(dc, 'g', 10)));
}

void TestMotorEngine::rpmFromIandDC_data()
{
    QTest::addColumn<double>("Ipk");
    QTest::addColumn<double>("dc");
    QTest::addColumn<double>("Vemf");
    QTest::addColumn<int>("commutation");
    QTest::addColumn<double>("expected");
    QTest::addColumn<quint32>("flags");
    // The inverses of the rows above give back 600 RPM.
    QTest::newRow("sinusoidal inverse") << 2.0 << 0.4330908808 << 0.005 << 0 << 600.0 << quint32(0);
    QTest::newRow("trapezoidal inverse") << 2.0 << 0.36 << 0.005 << 1 << 600.0 << quint32(0);
    QTest::newRow("six-step inverse") << 2.0 << 0.24 << 0.005 << 2 << 600.0 << quint32(0);
    // 10 A through 3 ohm needs 30 V; 10 % of 50 V cannot: negative discriminant.
    QTest::newRow("unreachable current")
        << 10.0 << 0.1 << 0.005 << 0 << 0.0 << motor::flag::NoRpmSolution;
    QTest::newRow("trapezoidal without back-EMF")
        << 2.0 << 0.36 << 0.0 << 1 << 0.0 << motor::flag::ZeroBackEmf;
    QTest::newRow("six-step without back-EMF")
        << 2.0 << 0.24 << 0.0 << 2 << 0.0 << motor::flag::ZeroBackEmf;
    QTest::newRow("unknown commutation") << 2.0 << 0.36 << 0.005 << 5 << 0.0 << quint32(0);
    // 2 A through 3 ohm needs 12 V (trapezoidal) or 9 V (six-step); 10 % of 50 V cannot hold
    // it even at standstill: no speed, rather than a negative one.
    QTest::newRow("trapezoidal, current beyond the duty cycle")
        << 2.0 << 0.1 << 0.005 << 1 << 0.0 << motor::flag::NoRpmSolution;
    QTest::newRow("six-step, current beyond the duty cycle")
        << 2.0 << 0.1 << 0.005 << 2 << 0.0 << motor::flag::NoRpmSolution;
}

void TestMotorEngine::rpmFromIandDC()
{
    QFETCH(double, Ipk);
    QFETCH(double, dc);
    QFETCH(double, Vemf);
    QFETCH(int, commutation);
    QFETCH(double, expected);
    QFETCH(quint32, flags);
    quint32 got = 0;
    const double rpm = motor::rpmFromIandDC(Ipk, dc, 50, 3, 0.01, 4, Vemf, commutation, &got);
    QVERIFY2(std::fabs(rpm - expected) < 1e-3, qPrintable(QString::number(rpm, 'g', 10)));
    QCOMPARE(got, flags);
}

void TestMotorEngine::rpmWhenReactanceMatchesBackEmf()
{
    // k = Vemf makes the quadratic linear; the speed found must still need the given duty.
    const double Ipk = 1, L = 0.01;
    const int n = 4;
    const double Vemf = 2 * Ipk * kPi * L * n / 60;
    quint32 flags = 0;
    const double rpm = motor::rpmFromIandDC(Ipk, 0.5, 50, 3, L, n, Vemf, 0, &flags);
    QVERIFY(std::isfinite(rpm));
    QCOMPARE(flags, quint32(0));
    QVERIFY(std::fabs(motor::dcFromIandRPM(Ipk, rpm, 50, 3, L, n, Vemf, 0) - 0.5) < 1e-9);
}

void TestMotorEngine::linterp_data()
{
    QTest::addColumn<QVector<double>>("search");
    QTest::addColumn<QVector<double>>("values");
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("startIndex");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("indexAfter");
    QTest::addColumn<quint32>("flags");
    const QVector<double> s{0, 1, 2, 4}, v{0, 10, 20, 0};
    QTest::newRow("first point") << s << v << 0.0 << 0 << 0.0 << 0 << quint32(0);
    QTest::newRow("interior") << s << v << 1.5 << 0 << 15.0 << 1 << quint32(0);
    QTest::newRow("resumes at the start index") << s << v << 3.0 << 2 << 10.0 << 2 << quint32(0);
    QTest::newRow("past the end extends the last segment")
        << s << v << 5.0 << 0 << -10.0 << 2 << quint32(0);
    QTest::newRow("before the first point") << QVector<double>{1, 2} << QVector<double>{5, 6} << 0.5
                                            << 0 << 0.0 << 0 << motor::flag::BadTimescale;
    QTest::newRow("one point") << QVector<double>{3} << QVector<double>{7} << 5.0 << 0 << 7.0 << 0
                               << quint32(0);
    QTest::newRow("empty profile") << QVector<double>{} << QVector<double>{} << 1.0 << 0 << 0.0 << 0
                                   << motor::flag::BadTimescale;
    QTest::newRow("shorter value list reads no further")
        << QVector<double>{0, 1, 2} << QVector<double>{0, 10} << 1.5 << 0 << 15.0 << 0
        << quint32(0);
    QTest::newRow("two points at one time")
        << QVector<double>{0, 1, 1, 2} << QVector<double>{0, 10, 30, 40} << 1.0 << 2 << 30.0 << 1
        << quint32(0);
    QTest::newRow("start index beyond the list") << s << v << 5.0 << 9 << -10.0 << 2 << quint32(0);
}

void TestMotorEngine::linterp()
{
    QFETCH(QVector<double>, search);
    QFETCH(QVector<double>, values);
    QFETCH(double, x);
    QFETCH(int, startIndex);
    QFETCH(double, expected);
    QFETCH(int, indexAfter);
    QFETCH(quint32, flags);
    quint32 got = 0;
    QCOMPARE(motor::linterp(search, values, x, &startIndex, &got), expected);
    QCOMPARE(startIndex, indexAfter);
    QCOMPARE(got, flags);
}

void TestMotorEngine::controlProfile_data()
{
    QTest::addColumn<int>("controlVariable");
    QTest::addColumn<int>("constantVariable");
    QTest::addColumn<QString>("amplitude");
    QTest::addColumn<QString>("constant");
    QTest::addColumn<double>("f");
    QTest::addColumn<double>("D");
    // Four poles: f = 4·RPM/60. Vs 50 V. Loop resistance for the solvers: 3 ohm + 0.075 ohm.
    QTest::newRow("RPM at constant duty") << 1 << 2 << "600"
                                          << "75" << 40.0 << 0.75;
    QTest::newRow("RPM at constant V/f") << 1 << 1 << "-600"
                                         << "20m" << -40.0 << 600 * 0.02 / 50;
    QTest::newRow("duty at constant RPM") << 2 << 0 << "50"
                                          << "300" << 20.0 << 0.5;
    QTest::newRow("duty at constant V/f: f = n·D·Vs/(K·60)")
        << 2 << 1 << "50"
        << "25m" << 4 * 0.5 * 50 / (0.025 * 60) << 0.5;
    // Current at constant speed: 2(|Z|·I + E)/Vs with R = 3.075, X = 2.51327, E = 1.2 V.
    QTest::newRow("current at constant RPM")
        << 0 << 0 << "2"
        << "600" << 40.0 << 2 * (std::sqrt(3.075 * 3.075 + 2.513274 * 2.513274) * 2 + 1.2) / 50;
    // The inverse: the speed at which 2 A needs that duty is 600 RPM.
    QTest::newRow("current at constant duty")
        << 0 << 2 << "2"
        << QString::number(
               100 * 2 * (std::sqrt(3.075 * 3.075 + 2.513274 * 2.513274) * 2 + 1.2) / 50, 'g', 12)
        << 40.0 << 2 * (std::sqrt(3.075 * 3.075 + 2.513274 * 2.513274) * 2 + 1.2) / 50;
    QTest::newRow("pair the dialog does not offer") << 1 << 0 << "600"
                                                    << "600" << 0.0 << 0.0;
}

void TestMotorEngine::controlProfile()
{
    QFETCH(int, controlVariable);
    QFETCH(int, constantVariable);
    QFETCH(QString, amplitude);
    QFETCH(QString, constant);
    QFETCH(double, f);
    QFETCH(double, D);
    motor::BridgeInput in = baseInput();
    in.motor.controlVariable = controlVariable;
    in.motor.constantVariable = constantVariable;
    in.motor.controlAmplitude = amplitude;
    in.motor.constantAmplitude = constant;
    quint32 flags = 0;
    const motor::ControlProfile p = motor::generateControlVector(in, 0.075, &flags);
    QCOMPARE(p.timebase, (QVector<double>{0, 0.075}));
    QCOMPARE(p.fCycle.size(), 2);
    QCOMPARE(p.DutyCycleEnv.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(std::fabs(p.fCycle[i] - f) < 1e-4, qPrintable(QString::number(p.fCycle[i])));
        QVERIFY2(std::fabs(p.DutyCycleEnv[i] - D) < 1e-6,
                 qPrintable(QString::number(p.DutyCycleEnv[i])));
    }
}

void TestMotorEngine::profileFlags()
{
    motor::BridgeInput in = baseInput();
    in.motor.controlType = 1;
    in.motor.timeVector = QStringList{"0", "1", "2"};
    in.motor.amplitudeVector = QStringList{"0", "600", "3k"}; // 200 Hz at the last point
    in.motor.constantAmplitude = "99";                        // above the part's 98 %
    in.FswHz = 3000;                                          // below 20 · 200 Hz
    quint32 flags = 0;
    const motor::ControlProfile p = motor::generateControlVector(in, 0.075, &flags);
    QCOMPARE(p.timebase, (QVector<double>{0, 1, 2}));
    QCOMPARE(p.fCycle, (QVector<double>{0, 40, 200}));
    QCOMPARE(flags, motor::flag::SlowSwitching | motor::flag::DutyHigh);

    // A shorter value list: the profile has as many points as both lists have.
    in.motor.amplitudeVector = QStringList{"0"};
    QCOMPARE(motor::generateControlVector(in, 0.075, &flags).timebase.size(), 1);

    // A V/f ratio of 0 gives no finite speed: the point stands still and says so.
    in.motor.controlType = 0;
    in.motor.controlVariable = 2;
    in.motor.constantVariable = 1;
    in.motor.constantAmplitude = "0";
    flags = 0;
    const motor::ControlProfile still = motor::generateControlVector(in, 0.075, &flags);
    QCOMPARE(still.fCycle, (QVector<double>{0, 0}));
    QVERIFY(flags & motor::flag::NoRpmSolution);
}

void TestMotorEngine::standingBridgeMatchesDcCircuit()
{
    // No rotation (0 RPM) at a 90 % envelope: the sinusoidal commands stand at
    // DCA = 0.5, DCB = 0.5 + 0.45·sin 120° = 0.88971, DCC = 0.11029. Averaged over the
    // carrier, B sits at 44.486 V, C at 5.514 V and the star point at 25 V, so
    // IB = −IC = 19.486 V / 3.075 ohm = 6.3369 A and IA = 0 (hand derivation).
    motor::BridgeInput in = baseInput();
    in.motor.controlVariable = 2;
    in.motor.constantVariable = 0;
    in.motor.controlAmplitude = "90";
    in.motor.constantAmplitude = "0";
    motor::Waveforms w;
    const motor::BridgeResult r = motor::simulateBridge(in, 0.07, &w);
    const double dcB = 0.5 + 0.45 * std::sin(2 * kPi / 3);
    const double I = (dcB - 0.5) * 50 / 3.075;
    QCOMPARE(r.flags, quint32(0));
    const auto near = [](double got, double want, double rel) {
        return std::fabs(got - want) <= rel * std::fabs(want);
    };
    QVERIFY2(near(w.I2.last(), I, 0.01), qPrintable(QString::number(w.I2.last())));
    QVERIFY2(near(w.I3.last(), -I, 0.01), qPrintable(QString::number(w.I3.last())));
    QVERIFY(std::fabs(w.I1.last()) < 0.05);
    // Load: R (IB² + IC²) = 240.9 W.
    QVERIFY2(near(r.loadPower, 3 * 2 * I * I, 0.01), qPrintable(QString::number(r.loadPower)));
    // B's current leaves through the upper switch for the duty cycle, and returns through
    // the lower diode for the rest; C is the mirror image.
    const double ratio = 0.07 / 0.075;
    const double switchB = 0.075 * I * I * dcB * ratio;           // 2.502 W
    const double diodeB = (0.014 * I * I + 0.85 * I) * (1 - dcB); // 0.656 W
    QVERIFY2(near(r.upperSwitch[1], switchB, 0.02), qPrintable(QString::number(r.upperSwitch[1])));
    QVERIFY2(near(r.lowerSwitch[2], switchB, 0.02), qPrintable(QString::number(r.lowerSwitch[2])));
    QVERIFY2(near(r.lowerDiode[1], diodeB, 0.03), qPrintable(QString::number(r.lowerDiode[1])));
    QVERIFY2(near(r.upperDiode[2], diodeB, 0.03), qPrintable(QString::number(r.upperDiode[2])));
    QVERIFY(r.upperDiode[1] < 1e-3 && r.lowerSwitch[1] < 1e-3);
    // The wires take the rest of the switch loss: 0.005/0.075 of it.
    QVERIFY(near(r.Pw, 2 * 0.075 * I * I * dcB * (1 - ratio), 0.02));
    QVERIFY(near(r.Pc, sum3(r.upperSwitch) + sum3(r.lowerSwitch), 1e-12));
    QVERIFY(near(r.Pd, sum3(r.upperDiode) + sum3(r.lowerDiode), 1e-12));
    // Each of the two loaded phases switches 50 V twice per period: 2 · ½·50 V·I·20 ns · 20 kHz.
    QVERIFY2(near(r.Ps, 2 * 2 * 0.5 * 50 * I * 20e-9 * 20000, 0.02),
             qPrintable(QString::number(r.Ps)));
    // Quiescent: 5 V · (0.08 mA/kHz · (20 − 20) kHz + 12 mA) = 60 mW, exactly.
    QCOMPARE(r.Pq, 0.06);
    QVERIFY(near(r.ampPower, r.Pc + r.Pw + r.Pd + r.Ps + r.Pq, 1e-12));
    QVERIFY(near(r.efficiency, r.loadPower * 100 / (r.loadPower + r.ampPower), 1e-12));
    QVERIFY(near(r.Ipeak, I, 0.01));
    QVERIFY(r.Irms < 0.05); // phase A carries nothing
}

void TestMotorEngine::switchingLossByEdge_data()
{
    // The standing bridge above, whose currents do not depend on the edge times: B and C
    // carry I = 0.389711 · 50 V / 3.075 ohm = 6.33677 A and their nodes swing 50 V up and
    // down once each per period. An edge costs ½ · 50 V · I · its own time, so at 20 kHz
    // Ps = 2 · ½ · 50 V · 6.33677 A · (t_rise + t_fall) · 20e3 (hand derivation).
    QTest::addColumn<QString>("rise");
    QTest::addColumn<QString>("fall");
    QTest::addColumn<double>("watts");
    QTest::newRow("20 ns both ways: 0.253471 W") << "20" << "20" << 0.253471;
    QTest::newRow("rise 90 ns, fall 140 ns (as JNV310): 1.457457 W") << "90" << "140" << 1.457457;
}

void TestMotorEngine::switchingLossByEdge()
{
    QFETCH(QString, rise);
    QFETCH(QString, fall);
    QFETCH(double, watts);
    motor::BridgeInput in = baseInput();
    in.part = makePart({{"t_rise", rise}, {"t_fall", fall}});
    in.motor.controlVariable = 2;
    in.motor.constantVariable = 0;
    in.motor.controlAmplitude = "90";
    in.motor.constantAmplitude = "0";
    const motor::BridgeResult r =
        motor::simulateBridge(in, 0.07, static_cast<motor::StepSink *>(nullptr));
    QVERIFY2(std::fabs(r.Ps - watts) < 0.02 * watts, qPrintable(QString::number(r.Ps)));
}

void TestMotorEngine::turningMotorMatchesPhasors()
{
    // 600 RPM, four poles: 40 Hz. Phase voltage 0.8 · 25 V = 20 V against E = 600 · 2 mV =
    // 1.2 V in phase; Z = 3.075 + j2.5133 ohm, |Z| = 3.9714 ohm: I = 18.8 V / |Z| = 4.7338 A.
    // Load = 3/2 (R I² + E I cos φ), cos φ = 3.075/3.9714: 107.42 W; RMS = I/√2 = 3.3473 A.
    motor::Waveforms w;
    const motor::BridgeResult r = motor::simulateBridge(baseInput(), 0.07, &w);
    const double Z = std::hypot(3.075, 2 * kPi * 40 * 0.01);
    const double I = (20 - 1.2) / Z;
    const double load = 1.5 * (3 * I * I + 1.2 * I * 3.075 / Z);
    QVERIFY2(std::fabs(r.loadPower - load) < 0.01 * load, qPrintable(QString::number(r.loadPower)));
    QVERIFY2(std::fabs(r.Irms - I / std::sqrt(2.0)) < 0.01 * I,
             qPrintable(QString::number(r.Irms)));
    QVERIFY2(std::fabs(r.Ipeak - I) < 0.02 * I, qPrintable(QString::number(r.Ipeak)));
    QCOMPARE(r.flags, quint32(0));
}

void TestMotorEngine::deltaSimulatesAsEquivalentWye()
{
    motor::BridgeInput wye = baseInput();
    motor::BridgeInput delta = wye;
    delta.motor.isDelta = true;
    delta.motor.R = "9";
    delta.motor.L = "30m";
    delta.motor.Vemf = "3.464m"; // 1.732 · 2 mV
    motor::Waveforms ww, wd;
    const motor::BridgeResult rw = motor::simulateBridge(wye, 0.07, &ww);
    const motor::BridgeResult rd = motor::simulateBridge(delta, 0.07, &wd);
    QCOMPARE(wd.steps(), ww.steps());
    for (int i = 0; i < ww.steps(); i += 97)
        QVERIFY(std::fabs(wd.I1[i] - ww.I1[i]) < 1e-9);
    QVERIFY(std::fabs(rd.loadPower - rw.loadPower) < 1e-9 * rw.loadPower);
    QVERIFY(ww.VemfAB.isEmpty());
    QCOMPARE(wd.VemfCA.size(), wd.steps());
    for (int i = 0; i < wd.steps(); i += 97) {
        QCOMPARE(wd.VemfAB[i], wd.VemfA[i] - wd.VemfB[i]);
        QCOMPARE(wd.VemfCA[i], wd.VemfC[i] - wd.VemfA[i]);
    }
}

void TestMotorEngine::waveformLengths_data()
{
    QTest::addColumn<int>("commutation");
    QTest::addColumn<bool>("delta");
    QTest::newRow("sinusoidal, wye") << 0 << false;
    QTest::newRow("trapezoidal, delta") << 1 << true;
    QTest::newRow("six-step, wye") << 2 << false;
}

void TestMotorEngine::waveformLengths()
{
    QFETCH(int, commutation);
    QFETCH(bool, delta);
    motor::BridgeInput in = baseInput();
    in.commutation = commutation;
    in.motor.isDelta = delta;
    motor::Waveforms w;
    motor::simulateBridge(in, 0.07, &w);
    QVERIFY(w.steps() > 1000);
    QCOMPARE(w.time.first(), 0.0);
    QVERIFY(w.time.last() < in.end);
    for (const QString &name : motor::Waveforms::names()) {
        const bool lineEmf = name.startsWith("Vemf") && name.size() == 6;
        QCOMPARE(w.byName(name)->size(), lineEmf && !delta ? 0 : w.steps());
    }
    // Block commutation drives a phase at 0, Vs/2 or Vs.
    if (commutation != 0) {
        for (double v : qAsConst(w.VA))
            QVERIFY(v == 0 || v == 25 || v == 50);
    }
}

void TestMotorEngine::trapezoidalBackEmf()
{
    // The block commutations see a trapezoidal back-EMF of E = 600 RPM · 2 mV = 1.2 V: flat
    // for 120° on either side, ramping through zero between, and continuous everywhere.
    motor::BridgeInput in = baseInput();
    in.commutation = motor::Trapezoidal;
    motor::Waveforms w;
    motor::simulateBridge(in, 0.07, &w);
    const double E = 1.2;
    const QVector<double> *emf[3] = {&w.VemfA, &w.VemfB, &w.VemfC};
    int flatTops = 0;
    for (int i = 1; i < w.steps(); ++i) {
        const double dAngle = w.Angle[i] - w.Angle[i - 1];
        for (int k = 0; k < 3; ++k) {
            const double v = (*emf[k])[i];
            QVERIFY(std::fabs(v) <= E + 1e-12);
            QVERIFY(std::fabs(v - (*emf[k])[i - 1]) <= 2 * E * dAngle / (kPi / 3) + 1e-9);
        }
        // Phase k's positive flat top spans 60° to 180°, shifted by 120° per phase.
        const double a = std::fmod(w.Angle[i], 2 * kPi);
        for (int k = 0; k < 3; ++k) {
            const double from = kPi / 3 + k * 2 * kPi / 3;
            const double at = std::fmod(a - from + 4 * kPi, 2 * kPi);
            if (at > 0.01 && at < 2 * kPi / 3 - 0.01) {
                QCOMPARE((*emf[k])[i], E);
                ++flatTops;
            } else if (at > kPi + 0.01 && at < 5 * kPi / 3 - 0.01) {
                QCOMPARE((*emf[k])[i], -E);
            }
        }
    }
    QVERIFY(flatTops > 1000);
}

void TestMotorEngine::emptyAndReversedWindow()
{
    motor::BridgeInput in = baseInput();
    motor::Waveforms w;
    in.start = 0;
    in.end = 0;
    motor::BridgeResult r = motor::simulateBridge(in, 0.07, &w);
    QCOMPARE(w.steps(), 0);
    QCOMPARE(r.flags, quint32(0));
    QCOMPARE(r.Ipeak, 0.0);
    QCOMPARE(r.loadPower, 0.0);

    in.start = -1;
    in.end = -0.5; // both clamped to 0: no window and no warning
    r = motor::simulateBridge(in, 0.07, &w);
    QCOMPARE(w.steps(), 0);
    QCOMPARE(r.flags, quint32(0));

    in.start = 0.02;
    in.end = 0.01; // reversed: the run goes to the start and averages nothing
    r = motor::simulateBridge(in, 0.07, &w);
    QCOMPARE(r.flags, motor::flag::BadTimescale);
    QVERIFY(w.steps() > 0);
    QVERIFY(w.time.last() < 0.02 && w.time.last() > 0.019);
    QCOMPARE(r.loadPower, 0.0);
    QCOMPARE(r.Pc + r.Pd + r.Ps + r.Pw, 0.0);
    QCOMPARE(r.Ipeak, 0.0);
}

void TestMotorEngine::profileStartingLate()
{
    motor::BridgeInput in = baseInput();
    in.motor.controlType = 1;
    in.motor.timeVector = QStringList{"10m", "1"};
    in.motor.amplitudeVector = QStringList{"600", "600"};
    motor::Waveforms w;
    const motor::BridgeResult r = motor::simulateBridge(in, 0.07, &w);
    QVERIFY(r.flags & motor::flag::BadTimescale);
    for (int i = 0; i < w.steps(); ++i) {
        if (w.time[i] < 0.01) {
            QCOMPARE(w.DCenv[i], 0.0);
            QCOMPARE(w.freq[i], 0.0);
        } else {
            QCOMPARE(w.freq[i], 40.0);
        }
    }
}

void TestMotorEngine::profileTimeOrder_data()
{
    QTest::addColumn<QVector<double>>("times");
    QTest::addColumn<int>("point"); // the first time going back, -1 for none
    QTest::addColumn<int>("before");
    const double skipped = std::nan("");
    QTest::newRow("in order") << QVector<double>{0, 1, 2} << -1 << -1;
    QTest::newRow("a step: two points at one time") << QVector<double>{0, 1, 1, 2} << -1 << -1;
    QTest::newRow("a skipped time between two in order")
        << QVector<double>{0, skipped, 1} << -1 << -1;
    QTest::newRow("a step across a skipped time") << QVector<double>{0, 1, skipped, 1} << -1 << -1;
    QTest::newRow("going back") << QVector<double>{0, 2, 1} << 2 << 1;
    QTest::newRow("going back past a skipped time") << QVector<double>{0, 2, skipped, 1} << 3 << 1;
    QTest::newRow("going back after a skipped first time")
        << QVector<double>{skipped, 2, 1} << 2 << 1;
}

void TestMotorEngine::profileTimeOrder()
{
    // Equal times are a step change; a time that cannot be read is passed over, the next one
    // compared with the one before it.
    QFETCH(QVector<double>, times);
    QFETCH(int, point);
    QFETCH(int, before);
    const motor::BackwardTime back = motor::backwardProfileTime(times);
    QCOMPARE(back.point, point);
    QCOMPARE(back.before, before);
}

void TestMotorEngine::profileStepRuns()
{
    // A profile with a step change runs: 600 RPM (40 Hz on four poles) up to 40 ms, 1200 RPM
    // from there on, with no ramp between.
    motor::BridgeInput in = baseInput();
    in.motor.controlType = 1;
    in.motor.timeVector = QStringList{"0", "40m", "40m", "1"};
    in.motor.amplitudeVector = QStringList{"600", "600", "1200", "1200"};
    motor::Waveforms w;
    const motor::BridgeResult r = motor::simulateBridge(in, 0.07, &w);
    QCOMPARE(r.flags & motor::flag::Refused, quint32(0));
    QVERIFY(!w.decimated);
    int before = 0, after = 0;
    for (int i = 0; i < w.steps(); ++i) {
        if (w.time[i] < 0.04) {
            QCOMPARE(w.freq[i], 40.0);
            ++before;
        } else if (w.time[i] > 0.04) {
            QCOMPARE(w.freq[i], 80.0);
            ++after;
        }
    }
    QVERIFY(before > 0 && after > 0);
}

void TestMotorEngine::supplyAndFrequencyFlags_data()
{
    QTest::addColumn<double>("Vs");
    QTest::addColumn<double>("Vcc");
    QTest::addColumn<double>("fswKHz");
    QTest::addColumn<quint32>("flags");
    QTest::newRow("within ratings") << 50.0 << 5.0 << 20.0 << quint32(0);
    QTest::newRow("Vs above Vs_max") << 61.0 << 5.0 << 20.0 << motor::flag::VsHigh;
    QTest::newRow("Vs below Vs_min") << 7.0 << 5.0 << 20.0 << motor::flag::VsLow;
    QTest::newRow("Vcc above Vcc_max") << 50.0 << 16.0 << 20.0 << motor::flag::VccHigh;
    QTest::newRow("Vcc below Vcc_min") << 50.0 << 4.0 << 20.0 << motor::flag::VccLow;
    QTest::newRow("Fsw above Fsw_max") << 50.0 << 5.0 << 101.0 << motor::flag::FswHigh;
}

void TestMotorEngine::supplyAndFrequencyFlags()
{
    QFETCH(double, Vs);
    QFETCH(double, Vcc);
    QFETCH(double, fswKHz);
    QFETCH(quint32, flags);
    motor::BridgeInput in = baseInput();
    in.motor.constantAmplitude = "10"; // light drive: no current or power limit comes near
    in.Vs = Vs;
    in.Vcc = Vcc;
    in.FswHz = fswKHz * 1000;
    in.start = 0.001;
    in.end = 0.003;
    motor::Waveforms w;
    QCOMPARE(motor::simulateBridge(in, 0.07, &w).flags, flags);
}

void TestMotorEngine::powerRatingByOutputs()
{
    // Rated at a third of what the default drive dissipates: a full-bridge part is checked
    // against its rating once, a half-bridge part (three of them) against three times it.
    motor::BridgeInput in = baseInput();
    motor::Waveforms w;
    const double P = motor::simulateBridge(in, 0.07, &w).ampPower;
    const QString rating = QString::number(P / 2.5);
    in.part = makePart({{"Pd_max", rating}, {"outputs", "2"}});
    QVERIFY(motor::simulateBridge(in, 0.07, &w).flags & motor::flag::PowerHigh);
    in.part = makePart({{"Pd_max", rating}, {"outputs", "1"}});
    QVERIFY(!(motor::simulateBridge(in, 0.07, &w).flags & motor::flag::PowerHigh));
    in.part = makePart({{"Pd_max", rating}, {"outputs", "0"}}); // no divide by zero
    QVERIFY(motor::simulateBridge(in, 0.07, &w).flags & motor::flag::PowerHigh);
}

void TestMotorEngine::removedDiodeLossesStillReturned()
{
    motor::BridgeInput in = baseInput();
    motor::Waveforms w;
    const motor::BridgeResult all = motor::simulateBridge(in, 0.07, &w);
    in.removeDiode = true;
    const motor::BridgeResult noDiode = motor::simulateBridge(in, 0.07, &w);
    QVERIFY(all.Pd > 0.1);
    QCOMPARE(noDiode.Pd, all.Pd);
    QVERIFY(std::fabs(all.ampPower - noDiode.ampPower - all.Pd) < 1e-12);
    in.removeSwitching = true;
    const motor::BridgeResult neither = motor::simulateBridge(in, 0.07, &w);
    QCOMPARE(neither.Ps, all.Ps);
    QVERIFY(std::fabs(noDiode.ampPower - neither.ampPower - all.Ps) < 1e-12);
}

void TestMotorEngine::firstSampleCarriesOneStep()
{
    // A window from 0 s holds the first sample. It weighs one base step like any other: with
    // it the averages hardly differ from a window that starts just after it.
    motor::BridgeInput in = baseInput();
    in.motor.controlType = 1; // full drive from the first instant
    in.motor.timeVector = QStringList{"0", "1"};
    in.motor.amplitudeVector = QStringList{"600", "600"};
    in.start = 0;
    motor::Waveforms w;
    const motor::BridgeResult withFirst = motor::simulateBridge(in, 0.07, &w);
    in.start = 1e-9;
    const motor::BridgeResult withoutFirst = motor::simulateBridge(in, 0.07, &w);
    QVERIFY2(std::fabs(withFirst.loadPower - withoutFirst.loadPower) <
                 1e-3 * withoutFirst.loadPower,
             qPrintable(
                 QStringLiteral("%1 vs %2").arg(withFirst.loadPower).arg(withoutFirst.loadPower)));
    QVERIFY(std::fabs(withFirst.Pd - withoutFirst.Pd) < 1e-3 * withoutFirst.Pd);
    QVERIFY(std::fabs(w.I1.first()) < 0.1); // the winding starts from rest
}

void TestMotorEngine::linearMotorPosition()
{
    // A linear motor: 600 "RPM" of electrical cycles is 10 Hz; with 5 mm per cycle the
    // position grows at 50 mm/s.
    motor::BridgeInput in = baseInput();
    in.motor.isLinear = true;
    in.motor.cycleLength = "5m";
    motor::Waveforms w;
    motor::simulateBridge(in, 0.07, &w);
    QVERIFY(std::fabs(w.freq.last() - 10) < 1e-12);
    QVERIFY2(std::fabs(w.Angle.last() - 0.05 * w.time.last()) < 1e-6,
             qPrintable(QString::number(w.Angle.last())));
}

void TestMotorEngine::runawayInputsAreRefused_data()
{
    QTest::addColumn<double>("fswHz");
    QTest::addColumn<double>("end");
    QTest::addColumn<quint32>("flag");
    QTest::newRow("no switching frequency") << 0.0 << 0.075 << quint32(0);
    QTest::newRow("negative switching frequency") << -1000.0 << 0.075 << quint32(0);
    QTest::newRow("switching frequency typed in Hz as kHz")
        << 1e9 << 0.075 << motor::flag::WindowTooLong;
    QTest::newRow("window of hours") << 20000.0 << 36000.0 << motor::flag::WindowTooLong;
}

void TestMotorEngine::runawayInputsAreRefused()
{
    // Nothing is simulated, at once: no partial run whose averages would mislead.
    QFETCH(double, fswHz);
    QFETCH(double, end);
    QFETCH(quint32, flag);
    motor::BridgeInput in = baseInput();
    in.FswHz = fswHz;
    in.end = end;
    motor::Waveforms w;
    QElapsedTimer timer;
    timer.start();
    const motor::BridgeResult r = motor::simulateBridge(in, 0.07, &w);
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(w.steps(), 0);
    QCOMPARE(r.flags & motor::flag::WindowTooLong, flag);
    QVERIFY(std::isfinite(r.loadPower) && std::isfinite(r.ampPower));
}

void TestMotorEngine::extremeInputsAreRefused_data()
{
    QTest::addColumn<int>("design");
    QTest::addColumn<int>("commutation");
    QTest::addColumn<quint32>("flag");
    QTest::addColumn<QString>("note");
    const char *const names[] = {"sinusoidal", "trapezoidal", "six-step"};
    const QString none = ": nothing was simulated";
    const QString spacing =
        "Profile points are too close in time for their change of speed" + none;
    const QString speed =
        "The speed of %1 RPM turns the rotor too far over the display window" + none;
    const QString carrier = "The switching period is too long to simulate" + none;
    const QString window = "The display window needs a finite start and end" + none;
    for (int c = 0; c < 3; ++c) {
        const QString on = QStringLiteral(", ") + names[c];
        QTest::newRow(qPrintable("0 to 6000 RPM between 0 and 1e-320 s" + on))
            << 0 << c << motor::flag::ProfileSpacing << spacing;
        QTest::newRow(qPrintable("3.5e307 RPM on a 0.001 kHz carrier for 100 s" + on))
            << 1 << c << motor::flag::SpeedRunaway << speed.arg("3.5e+307");
        QTest::newRow(qPrintable("1e-303 kHz carrier, 2e305 s window" + on))
            << 2 << c << motor::flag::CarrierUnusable << carrier;
        QTest::newRow(qPrintable("window starting at NaN" + on))
            << 3 << c << motor::flag::WindowNotFinite << window;
        // The example's own 20 kHz and 1 s: an angle that stays finite, but grows by 1e301 rad
        // a step, once stepped for minutes.
        QTest::newRow(qPrintable("3.5e307 RPM at a constant duty cycle" + on))
            << 4 << c << motor::flag::SpeedRunaway << speed.arg("3.5e+307");
        // n times the speed overflows; it once stood for no speed at all.
        QTest::newRow(qPrintable("1.7e308 RPM at a constant duty cycle" + on))
            << 5 << c << motor::flag::SpeedRunaway << speed.arg("1.7e+308");
        // 2.41e7 RPM is 2.008 MHz on five poles, the base steps 2 MHz (1/100 of 20 kHz).
        QTest::newRow(qPrintable("2.41e7 RPM, just over a turn a step" + on))
            << 6 << c << motor::flag::SpeedRunaway << speed.arg("2.41e+07");
        QTest::newRow(qPrintable("linear motor without force, 1e308 m a cycle" + on))
            << 7 << c << motor::flag::TravelRunaway
            << "The cycle length of 1e+308 m takes the motor too far over the display window" +
                   none;
        QTest::newRow(qPrintable("profile times 1e-320 s, then 0 s" + on))
            << 8 << c << motor::flag::ProfileOrder
            << "Profile point 2 time (0 s) is before point 1 time (1e-320 s)" + none;
    }
}

void TestMotorEngine::extremeInputsAreRefused()
{
    // Inputs every field and design file accepts, once made the rotor angle run to infinity,
    // a sector index out of its table, a standstill out of an overflow, positions of inf, or
    // minutes of stepping. Now no step is taken, at once, and the note names the cause.
    QFETCH(int, design);
    QFETCH(int, commutation);
    QFETCH(quint32, flag);
    QFETCH(QString, note);
    motor::BridgeInput in = exampleInput(95, commutation);
    const auto constantSpeed = [&in](const char *rpm) {
        in.motor.controlType = 0;
        in.motor.controlAmplitude = rpm;
        in.motor.constantVariable = 2; // duty cycle
        in.motor.constantAmplitude = "75";
    };
    if (design == 0) {
        in.motor.timeVector = QStringList{"0", "1e-320"};
        in.motor.amplitudeVector = QStringList{"0", "6000"};
    } else if (design == 1) {
        in.motor.controlType = 0;
        in.motor.controlAmplitude = "3.5e307";
        in.FswHz = 1;
        in.end = 100;
    } else if (design == 2) {
        in.FswHz = 1e-300;
        in.end = 2e305;
    } else if (design == 3) {
        in.start = std::nan("");
    } else if (design == 4) {
        constantSpeed("3.5e307");
    } else if (design == 5) {
        constantSpeed("1.7e308");
    } else if (design == 6) {
        constantSpeed("2.41e7");
    } else if (design == 7) {
        in.motor.isLinear = true;
        in.motor.Vemf = "0";
        in.motor.cycleLength = "1e308";
    } else {
        in.motor.timeVector = QStringList{"1e-320", "0"};
        in.motor.amplitudeVector = QStringList{"0", "6000"};
    }
    motor::ThermalInput thermal;
    thermal.Rhs = 0.4;
    motor::Waveforms w;
    QElapsedTimer timer;
    timer.start();
    const motor::ThermalResult r = motor::runToEquilibrium(in, thermal, &w);
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(r.flags & motor::flag::Refused, flag);
    QCOMPARE(r.runs, 1);
    QCOMPARE(motor::refusalNote(in, r.flags), note);
    QCOMPARE(w.steps(), 0);
    QCOMPARE(r.bridge.Ipeak, 0.0);
    QCOMPARE(r.bridge.loadPower, 0.0);
    QVERIFY(std::isfinite(r.bridge.ampPower) && std::isfinite(r.Tjunction));
    // The single pass refuses alike.
    StepRows steps;
    const motor::BridgeResult single = motor::simulateBridge(in, r.Rdson, &steps);
    QCOMPARE(single.flags & motor::flag::Refused, flag);
    QVERIFY(steps.rows.empty());
}

void TestMotorEngine::fastSpeedsStillRun_data()
{
    QTest::addColumn<int>("commutation");
    QTest::addColumn<bool>("linear");
    QTest::newRow("sinusoidal") << 0 << false;
    QTest::newRow("six-step") << 2 << false;
    QTest::newRow("linear motor, 1e300 m a cycle") << 1 << true;
}

void TestMotorEngine::fastSpeedsStillRun()
{
    // Just under a turn a base step (2.39e7 RPM is 1.99 MHz on five poles against 2 MHz of
    // base steps), and a linear motor's travel of 1e302 m or so: odd, but numbers; they run,
    // with every position sample a number.
    QFETCH(int, commutation);
    QFETCH(bool, linear);
    motor::BridgeInput in = exampleInput(95, commutation);
    in.end = 0.002;
    in.motor.controlType = 0;
    in.motor.constantVariable = 2;
    in.motor.constantAmplitude = "75";
    in.motor.controlAmplitude = linear ? "6000" : "2.39e7";
    in.motor.isLinear = linear;
    if (linear) in.motor.Vemf = "0";
    in.motor.cycleLength = "1e300";
    motor::Waveforms w;
    const motor::BridgeResult r = motor::simulateBridge(in, 0.05, &w);
    QCOMPARE(r.flags & motor::flag::Refused, quint32(0));
    QVERIFY(w.steps() > 1000);
    for (double x : qAsConst(w.Angle))
        QVERIFY(std::isfinite(x));
}

void TestMotorEngine::longWindowInBoundedMemory()
{
    // Five seconds at 60 kHz, 300,000 switching periods: more steps than the drive kept for
    // the runs holds, so each run steps its own drive; the waveforms stay decimated within
    // their bound and the recorder's scratch within its own.
    motor::BridgeInput in = baseInput();
    in.FswHz = 60000;
    in.start = 0;
    in.end = 5;
    motor::Waveforms w;
    motor::BridgeRuns runs(in, &w);
    const motor::BridgeResult r = runs.run(0.07, true);
    QCOMPARE(r.flags & motor::flag::Refused, quint32(0));
    QVERIFY(r.loadPower > 0 && r.Ipeak > 0);
    QVERIFY(w.decimated);
    QVERIFY(w.steps() <= motor::kMaxStoredSamples);
    QVERIFY(w.rows.capacity() <= std::size_t(motor::kRawSteps));
    QVERIFY2(w.time.last() > in.end - 2 / in.FswHz, qPrintable(QString::number(w.time.last())));
}

void TestMotorEngine::progressStopsLongRefresh_data()
{
    QTest::addColumn<int>("answersYes");
    QTest::newRow("stopped before the first run") << 0;
    QTest::newRow("stopped during the first run") << 2;
}

void TestMotorEngine::progressStopsLongRefresh()
{
    // Asked on the thread of the refresh, with a fraction that never goes back; the first
    // "no" ends the refresh: it is not asked again, and the result says it was cancelled.
    QFETCH(int, answersYes);
    motor::BridgeInput in = baseInput();
    in.FswHz = 60000;
    in.start = 4;
    in.end = 5;
    QVector<double> told;
    bool otherThread = false;
    QThread *const thread = QThread::currentThread();
    const motor::Progress progress = [&](double done) {
        otherThread = otherThread || QThread::currentThread() != thread;
        told << done;
        return told.size() <= answersYes;
    };
    motor::Waveforms w;
    const motor::ThermalResult r = motor::runToEquilibrium(in, motor::ThermalInput(), &w, progress);
    QVERIFY(r.cancelled);
    QCOMPARE(told.size(), answersYes + 1);
    // The first run takes far longer than the reports' interval: it is asked during that run.
    QCOMPARE(r.runs, 0);
    QVERIFY(!otherThread);
    for (int i = 0; i < told.size(); ++i) {
        QVERIFY(told[i] >= 0 && told[i] <= 1);
        if (i > 0) QVERIFY(told[i] >= told[i - 1]);
    }
}

void TestMotorEngine::longRunCoversItsWindow()
{
    // Two seconds at 50 kHz take some millions of steps. The run reaches the end of its
    // window, its sums cover every step (the window split in two gives the same averages),
    // and the stored waveforms stay within their bound yet keep every peak.
    motor::BridgeInput in = baseInput();
    in.FswHz = 50000;
    in.start = 0.5;
    in.end = 2;
    motor::Waveforms w;
    const motor::BridgeResult whole = motor::simulateBridge(in, 0.07, &w);
    QCOMPARE(whole.flags, quint32(0));
    QVERIFY(w.decimated);
    QVERIFY(w.steps() <= motor::kMaxStoredSamples);
    QVERIFY(w.steps() > motor::kBuckets);
    for (int s = 0; s < motor::sig::count; ++s) {
        const bool lineEmf = s == motor::sig::VemfAB || s == motor::sig::VemfBC ||
                             s == motor::sig::VemfCA;
        QCOMPARE(w.list(s)->size(), lineEmf ? 0 : w.steps());
    }
    QVERIFY(w.time.first() >= in.start && w.time.first() < in.start + 1e-4);
    QVERIFY2(w.time.last() > in.end - 2 / in.FswHz, qPrintable(QString::number(w.time.last())));
    for (int i = 1; i < w.steps(); ++i)
        QVERIFY(w.time[i] > w.time[i - 1]);
    double peak = 0;
    for (const QVector<double> *I : {&w.I1, &w.I2, &w.I3}) {
        for (double x : *I)
            peak = std::max(peak, std::fabs(x));
    }
    QCOMPARE(peak, whole.Ipeak);

    // The same run split at 1.2 s; no waveforms are kept for these.
    const double split = 1.2;
    motor::BridgeInput early = in, late = in;
    early.end = split;
    late.start = split;
    const motor::BridgeResult a = motor::simulateBridge(early, 0.07, static_cast<motor::StepSink *>(nullptr));
    const motor::BridgeResult b = motor::simulateBridge(late, 0.07, static_cast<motor::StepSink *>(nullptr));
    const double ta = split - in.start, tb = in.end - split, t = in.end - in.start;
    const auto joined = [&](double x, double y) { return (x * ta + y * tb) / t; };
    const auto same = [](double got, double want) {
        return std::fabs(got - want) <= 1e-9 * std::fabs(want);
    };
    QVERIFY2(same(joined(a.loadPower, b.loadPower), whole.loadPower),
             qPrintable(QStringLiteral("%1 vs %2")
                            .arg(joined(a.loadPower, b.loadPower), 0, 'g', 15)
                            .arg(whole.loadPower, 0, 'g', 15)));
    QVERIFY(same(joined(a.Pc, b.Pc), whole.Pc));
    QVERIFY(same(joined(a.Pd, b.Pd), whole.Pd));
    QVERIFY(same(joined(a.Ps, b.Ps), whole.Ps));
    QVERIFY(same(std::sqrt(joined(a.Irms * a.Irms, b.Irms * b.Irms)), whole.Irms));
    QCOMPARE(std::max(a.Ipeak, b.Ipeak), whole.Ipeak);
}

void TestMotorEngine::reverseRotation_data()
{
    QTest::addColumn<int>("commutation");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("trapezoidal") << int(motor::Trapezoidal) << 0.01;
    // Six-step's sector table is not its own mirror image: the winding current lags the
    // other way round, and the power differs by some percent.
    QTest::newRow("six-step") << int(motor::SixStep) << 0.1;
    QTest::newRow("sinusoidal") << int(motor::Sinusoidal) << 0.01;
}

void TestMotorEngine::reverseRotation()
{
    // A motor turning backwards runs through the same sectors in the opposite order: the
    // same power, and phase currents that alternate rather than stand still.
    QFETCH(int, commutation);
    QFETCH(double, tolerance);
    motor::BridgeInput in = baseInput();
    in.commutation = commutation;
    motor::Waveforms w;
    const motor::BridgeResult forward = motor::simulateBridge(in, 0.07, &w);
    in.motor.controlAmplitude = "-600";
    const motor::BridgeResult backward = motor::simulateBridge(in, 0.07, &w);
    QVERIFY2(std::fabs(backward.loadPower - forward.loadPower) < tolerance * forward.loadPower,
             qPrintable(QStringLiteral("%1 vs %2").arg(backward.loadPower).arg(forward.loadPower)));
    QVERIFY(std::fabs(backward.Irms - forward.Irms) < tolerance * forward.Irms);
    double lowest = 0, highest = 0;
    for (int i = 0; i < w.steps(); ++i) {
        if (w.time[i] < in.start) continue;
        lowest = std::min(lowest, w.I1[i]);
        highest = std::max(highest, w.I1[i]);
    }
    QVERIFY(lowest < -0.5 * forward.Ipeak && highest > 0.5 * forward.Ipeak);
}

namespace {

// Equal to the last bit: QCOMPARE lets two doubles differ in their last few digits, and a
// sum taken in another order differs only there.
bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What a decimated recording keeps of a run's steps: for each slice of the display window with
// one or two steps those steps, else each signal's lowest and highest value in the order they
// first occur, at the slice's first and last time.
std::vector<std::array<double, motor::sig::count>> decimated(const StepRows &steps, double start,
                                                             double end)
{
    using Row = std::array<double, motor::sig::count>;
    std::vector<std::vector<Row>> slices(motor::kBuckets);
    const double width = (end - start) / motor::kBuckets;
    for (const Row &row : steps.rows) {
        if (row[motor::sig::time] < start) continue;
        const double at = (row[motor::sig::time] - start) / width;
        slices[at < motor::kBuckets - 1 ? int(at) : motor::kBuckets - 1].push_back(row);
    }
    std::vector<Row> kept;
    for (const std::vector<Row> &slice : slices) {
        if (slice.size() <= 2) {
            kept.insert(kept.end(), slice.begin(), slice.end());
            continue;
        }
        Row first = slice.front(), second = slice.back();
        for (int s = 0; s < motor::sig::count; ++s) {
            if (s == motor::sig::time) continue;
            int lo = 0, hi = 0;
            for (int i = 1; i < int(slice.size()); ++i) {
                if (slice[i][s] < slice[lo][s]) lo = i;
                if (slice[i][s] > slice[hi][s]) hi = i;
            }
            first[s] = slice[std::min(lo, hi)][s];
            second[s] = slice[hi < lo ? lo : hi][s];
        }
        kept.push_back(first);
        kept.push_back(second);
    }
    return kept;
}

} // namespace

void TestMotorEngine::runsOnKeptDrive_data()
{
    QTest::addColumn<int>("commutation");
    QTest::addColumn<bool>("delta");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::newRow("sinusoidal wye") << int(motor::Sinusoidal) << false << 0.025 << 0.075;
    QTest::newRow("trapezoidal delta") << int(motor::Trapezoidal) << true << 0.025 << 0.075;
    QTest::newRow("six-step wye") << int(motor::SixStep) << false << 0.0 << 0.075;
    // More steps than are stored one by one: the waveforms are decimated.
    QTest::newRow("sinusoidal, long window") << int(motor::Sinusoidal) << false << 0.05 << 0.2;
}

void TestMotorEngine::runsOnKeptDrive()
{
    // The thermal loop steps the drive once and each run only the currents: every run gives
    // what a single pass at its on-resistance gives to the last bit, whatever ran before and
    // however many threads took its stretches (run it on one, two and all cores).
    QFETCH(int, commutation);
    QFETCH(bool, delta);
    QFETCH(double, start);
    QFETCH(double, end);
    motor::BridgeInput in = baseInput();
    in.commutation = commutation;
    in.motor.isDelta = delta;
    in.start = start;
    in.end = end;
    motor::Waveforms w;
    motor::BridgeRuns runs(in, &w);
    for (const double Rdson : {0.2, 0.02, 0.07}) {
        const bool record = Rdson == 0.02;
        const motor::BridgeResult kept = runs.run(Rdson, record);
        StepRows single;
        const motor::BridgeResult r = motor::simulateBridge(in, Rdson, &single);
        const double keptValues[] = {kept.Pc, kept.Pd, kept.Ps, kept.Pq, kept.Pw,
                                     kept.loadPower, kept.ampPower, kept.efficiency,
                                     kept.Ipeak, kept.Irms, kept.upperSwitch[2],
                                     kept.lowerSwitch[1], kept.upperDiode[0], kept.lowerDiode[2]};
        const double singleValues[] = {r.Pc, r.Pd, r.Ps, r.Pq, r.Pw,
                                       r.loadPower, r.ampPower, r.efficiency,
                                       r.Ipeak, r.Irms, r.upperSwitch[2],
                                       r.lowerSwitch[1], r.upperDiode[0], r.lowerDiode[2]};
        for (int i = 0; i < int(std::size(keptValues)); ++i)
            QVERIFY2(sameBits(keptValues[i], singleValues[i]),
                     qPrintable(QStringLiteral("figure %1: %2 vs %3")
                                    .arg(i)
                                    .arg(keptValues[i], 0, 'g', 17)
                                    .arg(singleValues[i], 0, 'g', 17)));
        QCOMPARE(kept.flags, r.flags);
        QVERIFY(r.loadPower > 0);
        if (!record) continue;
        // The waveforms of the recording run are those of its single pass, step by step or
        // decimated, whichever threads recorded which stretch.
        const std::vector<std::array<double, motor::sig::count>> expected =
            w.decimated ? decimated(single, start, end) : single.rows;
        QCOMPARE(w.steps(), int(expected.size()));
        for (int s = 0; s < motor::sig::count; ++s) {
            const QVector<double> &list = *w.list(s);
            if (list.isEmpty() && !delta) continue; // no line EMFs for a wye motor
            for (int i = 0; i < w.steps(); ++i) {
                if (!sameBits(list[i], expected[i][s]))
                    QFAIL(qPrintable(QStringLiteral("signal %1, sample %2: %3 vs %4")
                                         .arg(s)
                                         .arg(i)
                                         .arg(list[i], 0, 'g', 17)
                                         .arg(expected[i][s], 0, 'g', 17)));
            }
        }
    }
    QCOMPARE(w.Rdson, 0.02);
    QCOMPARE(w.decimated, end == 0.2);
}

void TestMotorEngine::steadyCase_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("expected");
    QTest::newRow("phase RMS current, A") << "Irms" << "10.7";
    QTest::newRow("load, W") << "load" << "342";
    QTest::newRow("amplifier, W") << "amplifier" << "35.5";
    QTest::newRow("efficiency, %") << "efficiency" << "90.6";
    QTest::newRow("junction, degC") << "Tj" << "57.5";
    QTest::newRow("on-resistance, ohm") << "Rdson" << "0.0974";
}

void TestMotorEngine::steadyCase()
{
    // NV321 on 48 V at 20 kHz, Vcc 5 V, case at 25 °C: a four-pole wye motor of 1 ohm,
    // 1 mH and no back-EMF at 1500 RPM and an 80 % envelope, seen from 100 to 200 ms.
    QFETCH(QString, quantity);
    QFETCH(QString, expected);
    static const motor::ThermalResult r = [] {
        QVector<pwm> parts;
        pwm().readFile(parts, 0, true);
        motor::BridgeInput in;
        in.part = catalog::findSwitching(parts, QStringLiteral("NV321"));
        in.Vs = 48;
        in.Vcc = 5;
        in.FswHz = 20000;
        in.commutation = motor::Sinusoidal;
        in.start = 0.1;
        in.end = 0.2;
        in.motor.R = "1";
        in.motor.L = "1m";
        in.motor.Vemf = "0";
        in.motor.nPoles = 4;
        in.motor.isDelta = false;
        in.motor.controlVariable = 2;  // duty-cycle envelope
        in.motor.controlType = 0;
        in.motor.constantVariable = 0; // at a constant speed
        in.motor.controlAmplitude = "80";
        in.motor.constantAmplitude = "1500";
        motor::ThermalInput th;
        th.Tamb = 25;
        th.Rhs = 0; // the case held at the ambient
        th.Rtim = 0;
        motor::Waveforms w;
        return motor::runToEquilibrium(in, th, &w);
    }();
    // 10.7 A is beyond what the part carries: the current warnings, and no other.
    QCOMPARE(r.flags, motor::flag::PeakCurrent | motor::flag::RmsCurrent);
    const QMap<QString, double> values{{"Irms", r.bridge.Irms},
                                       {"load", r.bridge.loadPower},
                                       {"amplifier", r.bridge.ampPower},
                                       {"efficiency", r.bridge.efficiency},
                                       {"Tj", r.Tjunction},
                                       {"Rdson", r.Rdson}};
    QCOMPARE(eng::number2String(values.value(quantity)), expected);
}

void TestMotorEngine::blockPeakAsSteppedThroughout_data()
{
    QTest::addColumn<int>("commutation");
    QTest::addColumn<QString>("shown");
    // Example 94 switched to block commutation: its speed runs through zero, where the
    // envelope's on-time is shorter than a base step. 31.1 A from the run stepped throughout.
    QTest::newRow("trapezoidal") << int(motor::Trapezoidal) << "31.1";
}

void TestMotorEngine::blockPeakAsSteppedThroughout()
{
    QFETCH(int, commutation);
    QFETCH(QString, shown);
    const motor::BridgeInput in = exampleInput(94, commutation);
    // At the on-resistance of the example's thermal equilibrium.
    motor::ThermalInput thermal;
    thermal.Rhs = 0.4;
    thermal.Rtim = 0.05;
    const motor::ThermalResult equilibrium = motor::runToEquilibrium(in, thermal, nullptr);
    const double Rdson = equilibrium.Rdson;
    const double reference = peakSteppedThroughout(in, Rdson);
    if (!shown.isEmpty()) QCOMPARE(eng::number2String(reference), shown);
    const motor::BridgeResult r =
        motor::simulateBridge(in, Rdson, static_cast<motor::StepSink *>(nullptr));
    // The jumps may step over the very sample of the peak; they may not invent one.
    QVERIFY2(std::fabs(r.Ipeak - reference) < 0.02 * reference,
             qPrintable(QStringLiteral("%1 A, stepped throughout %2 A").arg(r.Ipeak).arg(reference)));
    QCOMPARE(bool(r.flags & motor::flag::PeakCurrent), reference > in.part.getI_pk());
}

void TestMotorEngine::thermalLoop_data()
{
    QTest::addColumn<QString>("outputs");
    QTest::addColumn<QString>("diodeRth");
    QTest::addColumn<bool>("heatsinkNone");
    QTest::newRow("three-phase part, own diode path") << "3"
                                                      << "4" << false;
    QTest::newRow("half bridges, no diode path") << "1"
                                                 << "0" << false;
    QTest::newRow("no heatsink") << "3"
                                 << "4" << true;
}

void TestMotorEngine::thermalLoop()
{
    QFETCH(QString, outputs);
    QFETCH(QString, diodeRth);
    QFETCH(bool, heatsinkNone);
    motor::BridgeInput in = baseInput();
    in.part = makePart({{"outputs", outputs}, {"Rtheta_JC_diode", diodeRth}});
    motor::ThermalInput th;
    th.Tamb = 30;
    th.Rhs = 2;
    th.Rtim = 0.5;
    th.heatsinkNone = heatsinkNone;
    motor::Waveforms w;
    const motor::ThermalResult r = motor::runToEquilibrium(in, th, &w);
    // The on-resistance does not depend on temperature: the second run confirms the first.
    QCOMPARE(r.runs, 2);
    QCOMPARE(r.Rdson, 0.07);
    const motor::BridgeResult &b = r.bridge;
    const double Rhs = heatsinkNone ? 22 - 1.2 : 2;
    const double P = b.Pq + b.Pc + b.Ps + b.Pd + b.Pw;
    QVERIFY(std::fabs(r.Tcase - (P * (Rhs + 0.5) + 30)) < 1e-9);
    const int nf = outputs == "1" ? 3 : 1;
    if (diodeRth == "4") {
        QVERIFY(std::fabs(r.Tj - (r.Tcase + (b.Pc + b.Ps) * 1.2 / nf)) < 1e-9);
        QVERIFY(std::fabs(r.Tjd - (r.Tcase + b.Pd * 4 / nf)) < 1e-9);
    } else {
        QVERIFY(std::fabs(r.Tj - (r.Tcase + (b.Pc + b.Ps + b.Pd) * 1.2 / nf)) < 1e-9);
        QCOMPARE(r.Tjd, -273.0);
    }
    QCOMPARE(r.Tjunction, std::max(r.Tj, r.Tjd));
    QCOMPARE(bool(r.flags & motor::flag::CaseHot), r.Tcase > 85);
    QCOMPARE(bool(r.flags & motor::flag::ThermalRunaway), false);
    verifyWaveformsOfLastRun(in, r, w);
}

void TestMotorEngine::thermalRunaway()
{
    // An on-resistance that climbs steeply with temperature on a poor heatsink: a hot run
    // chokes the current, the next one runs cooler and conducts again, and so on; the loop
    // gives up after 21 runs.
    motor::BridgeInput in = baseInput();
    in.end = 0.03;
    in.start = 0.02;
    in.part = makePart({{"top_A", "0.01"}, {"bot_A", "0.01"}});
    motor::ThermalInput th;
    th.Rhs = 200;
    motor::Waveforms w;
    const motor::ThermalResult r = motor::runToEquilibrium(in, th, &w);
    QCOMPARE(r.runs, motor::kMaxThermalRuns);
    QVERIFY(r.flags & motor::flag::ThermalRunaway);
    verifyWaveformsOfLastRun(in, r, w);
}

void TestMotorEngine::slowThermalLoop_data()
{
    QTest::addColumn<QString>("tempco");
    QTest::addColumn<double>("Rhs");
    QTest::newRow("settles in a few runs") << "0.001" << 1.0;
    QTest::newRow("settles slowly") << "0.001" << 1.5;
    QTest::newRow("settles very slowly") << "0.001" << 2.0;
}

// An on-resistance that rises with temperature on a modest heatsink: each run closes part of
// the way to the equilibrium, and the waveforms shown are still those of the last run.
void TestMotorEngine::slowThermalLoop()
{
    QFETCH(QString, tempco);
    QFETCH(double, Rhs);
    motor::BridgeInput in = baseInput();
    in.end = 0.03;
    in.start = 0.02;
    in.part = makePart({{"top_A", tempco}, {"bot_A", tempco}});
    motor::ThermalInput th;
    th.Rhs = Rhs;
    motor::Waveforms w;
    const motor::ThermalResult r = motor::runToEquilibrium(in, th, &w);
    QVERIFY(r.runs > 3);
    QVERIFY(!(r.flags & motor::flag::ThermalRunaway));
    verifyWaveformsOfLastRun(in, r, w);
}

void TestMotorEngine::minHeatsink_data()
{
    QTest::addColumn<double>("Ieff");
    QTest::addColumn<double>("Pother");
    QTest::addColumn<double>("Tamb");
    QTest::addColumn<double>("expected");
    // P = (0.07 ohm · 4 A² + 0) · 6 + 1 W = 2.68 W whatever Tj; the case sits 3.216 °C below
    // the junction and passes 85 °C first, at Tj = 88.5: the last good step is Tj = 88,
    // (88 − 3.216 − 25)/2.68 − 0.2 (hand derivation).
    QTest::newRow("case limit") << 2.0 << 1.0 << 25.0 << (88 - 3.216 - 25) / 2.68 - 0.2;
    QTest::newRow("too hot already") << 2.0 << 1.0 << 100.0 << 0.0;
    QTest::newRow("no power") << 0.0 << 0.0 << 25.0 << infiniteValue;
}

void TestMotorEngine::minHeatsink()
{
    QFETCH(double, Ieff);
    QFETCH(double, Pother);
    QFETCH(double, Tamb);
    QFETCH(double, expected);
    const double got = motor::minHeatsink(Ieff, Pother, makePart(), Tamb, 0.2);
    QVERIFY2(std::fabs(got - expected) < 1e-9 * std::max(1.0, expected),
             qPrintable(QString::number(got, 'g', 12)));
}

void TestMotorEngine::warningTexts_data()
{
    QTest::addColumn<quint32>("bit");
    QTest::addColumn<QString>("text");
    QTest::newRow("0x1") << quint32(0x1)
                         << "\nWarning: Switching Frequency is less than 20 times Cycle Frequency. "
                            "Ampwright's time-stepping function may give unexpected results.";
    QTest::newRow("0x2") << quint32(0x2)
                         << "\nWarning: Could not solve for RPM with the desired inputs, setting "
                            "to 0 RPM. (Try increasing Vs)";
    QTest::newRow("0x4") << quint32(0x4)
                         << "\nWarning: Back EMF must be non-zero to solve for RPM in trapezoidal "
                            "or six-step commutation, setting to 0 RPM.";
    QTest::newRow("0x8") << quint32(0x8) << "\nWarning: Invalid timescale range.";
    QTest::newRow("0x10") << quint32(0x10) << "\n!!! Amplifier Power Dissipation too high !!!";
    QTest::newRow("0x20") << quint32(0x20) << "\n!!! Vs voltage too high !!!";
    QTest::newRow("0x40") << quint32(0x40) << "\n!!! Vcc voltage too high !!!";
    QTest::newRow("0x80") << quint32(0x80) << "\n!!! Switching frequency too high !!!";
    QTest::newRow("0x100") << quint32(0x100) << "\n!!! Peak current too high !!!";
    QTest::newRow("0x200") << quint32(0x200) << "\n!!! Continuous (RMS) current too high !!!";
    QTest::newRow("0x400") << quint32(0x400)
                           << "\n!!! Thermal Runaway !!! Consider increasing heatsink size "
                              "and/or upgrading to a more robust amplifier. ";
    QTest::newRow("0x800") << quint32(0x800) << "\n!!! Case temperature too high !!!";
    QTest::newRow("0x1000") << quint32(0x1000) << "\n!!! Junction temperature too high !!!";
    QTest::newRow("0x2000") << quint32(0x2000) << "\n!!! Vs voltage too low !!!";
    QTest::newRow("0x4000") << quint32(0x4000) << "\n!!! Vcc voltage too low !!!";
    QTest::newRow("0x8000") << quint32(0x8000)
                            << "\nWarning: Duty Cycle exceeds the device capability; expect "
                               "clipping";
    QTest::newRow("0x10000") << quint32(0x10000)
                             << "\nWarning: The display window ends after more than 1000000 "
                                "switching periods, too many to simulate; shorten the display "
                                "window or lower the switching frequency.";
    QTest::newRow("0x20000") << quint32(0x20000)
                             << "\nWarning: The display window's start or end is not a finite "
                                "time, so nothing was simulated.";
    QTest::newRow("0x40000") << quint32(0x40000)
                             << "\nWarning: Two profile points are too close in time for the "
                                "change between them: the speed or envelope would change at a "
                                "rate beyond any number. Space the points further apart.";
    QTest::newRow("0x80000") << quint32(0x80000)
                             << "\nWarning: The speed is too high to simulate: the rotor would "
                                "turn more than a whole cycle within one time step, or through "
                                "an angle beyond any number over the display window. Lower the "
                                "speed.";
    QTest::newRow("0x100000")
        << quint32(0x100000)
        << "\nWarning: The switching frequency is too low to simulate: its period is too long "
           "to step along, or admits a display window over which the rotor turns beyond any "
           "number. Raise the switching frequency or shorten the display window.";
    QTest::newRow("0x200000") << quint32(0x200000)
                              << "\nWarning: A profile point's time is before the time of the "
                                 "point before it, so the profile cannot be followed. Put the "
                                 "points in time order.";
    QTest::newRow("0x400000") << quint32(0x400000)
                              << "\nWarning: Over the display window the linear motor would "
                                 "travel a distance beyond any number. Shorten the cycle length "
                                 "or the display window.";
    QTest::newRow("unknown bit") << quint32(0x80000000) << QString();
}

void TestMotorEngine::warningTexts()
{
    QFETCH(quint32, bit);
    QFETCH(QString, text);
    QCOMPARE(motor::warningMessage(bit), text);
}

void TestMotorEngine::warningOrder()
{
    const QStringList m = motor::warningMessages(0x1000 | 0x1 | 0x20);
    QCOMPARE(m.size(), 3);
    QCOMPARE(m[0], motor::warningMessage(0x1));
    QCOMPARE(m[1], motor::warningMessage(0x20));
    QCOMPARE(m[2], motor::warningMessage(0x1000));
    QVERIFY(motor::warningMessages(0).isEmpty());
}

void TestMotorEngine::toggleGraphable_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("after");
    const QStringList start{"I1", "null", "null", "null", "null", "null"};
    QTest::newRow("added to the first empty slot")
        << start << "V1" << QStringList{"I1", "V1", "null", "null", "null", "null"};
    QTest::newRow("removed, others keep their places")
        << QStringList{"I1", "V1", "I2", "null", "null", "null"} << "V1"
        << QStringList{"I1", "null", "I2", "null", "null", "null"};
    QTest::newRow("fills a gap before the end")
        << QStringList{"I1", "null", "I2", "null", "null", "null"} << "Vwye"
        << QStringList{"I1", "Vwye", "I2", "null", "null", "null"};
    const QStringList full{"I1", "I2", "I3", "V1", "V2", "V3"};
    QTest::newRow("a seventh is refused") << full << "Vwye" << full;
    QTest::newRow("a shown one leaves a full list")
        << full << "I3" << QStringList{"I1", "I2", "null", "V1", "V2", "V3"};
}

void TestMotorEngine::toggleGraphable()
{
    QFETCH(QStringList, before);
    QFETCH(QString, name);
    QFETCH(QStringList, after);
    motor::toggleGraphable(before, name);
    QCOMPARE(before, after);
}

void TestMotorEngine::graphSources_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("dispDC");
    QTest::addColumn<bool>("delta");
    QTest::addColumn<bool>("linear");
    QTest::addColumn<QString>("waveform");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("unitAxis");
    QTest::newRow("gate") << "Bb" << false << false << false << "Bb"
                          << "Bb in" << false;
    QTest::newRow("current") << "I3" << false << false << false << "I3"
                             << "C Line Current [A]" << false;
    QTest::newRow("phase voltage") << "V1" << false << false << false << "V1"
                                   << "A Voltage [V]" << false;
    QTest::newRow("phase voltage as duty cycle") << "V1" << true << false << false << "DCA"
                                                 << "A Duty Cycle" << false;
    QTest::newRow("duty cycle") << "DCA" << false << false << false << "DCA"
                                << "A Duty Cycle" << true;
    QTest::newRow("wye EMF") << "VemfB" << false << false << false << "VemfB"
                             << "B EMF Voltage [V]" << false;
    QTest::newRow("delta EMF of B is C minus A") << "VemfB" << false << true << false << "VemfCA"
                                                 << "C-A EMF Voltage [V]" << false;
    QTest::newRow("delta EMF of C") << "VemfC" << false << true << false << "VemfBC"
                                    << "B-C EMF Voltage [V]" << false;
    QTest::newRow("star point") << "Vwye" << false << false << false << "Vwye"
                                << "Wye Voltage [V]" << false;
    QTest::newRow("envelope") << "DCenv" << false << false << false << "DCenv"
                              << "Duty Cycle Envelope" << true;
    QTest::newRow("frequency") << "freq" << false << false << false << "freq"
                               << "frequency (Hz)" << false;
    QTest::newRow("rotor angle") << "Angle" << false << false << false << "Angle"
                                 << "Rotor Angle [rad]" << false;
    QTest::newRow("linear position") << "Angle" << false << false << true << "Angle"
                                     << "Motor Position [m]" << false;
    QTest::newRow("load power") << "loadPower" << false << false << false << "loadPower"
                                << "load Power [W]" << false;
    QTest::newRow("empty slot") << "null" << false << false << false << QString() << QString()
                                << false;
    QTest::newRow("unknown key") << "carrier" << false << false << false << QString() << QString()
                                 << false;
}

void TestMotorEngine::graphSources()
{
    QFETCH(QString, key);
    QFETCH(bool, dispDC);
    QFETCH(bool, delta);
    QFETCH(bool, linear);
    QFETCH(QString, waveform);
    QFETCH(QString, label);
    QFETCH(bool, unitAxis);
    const motor::Waveforms w;
    const motor::GraphSource s = motor::graphSource(key, w, {dispDC, delta, linear});
    QCOMPARE(s.values, waveform.isEmpty() ? nullptr : w.byName(waveform));
    QCOMPARE(s.label, label);
    QCOMPARE(motor::isUnitAxisKey(key), unitAxis);
}

void TestMotorEngine::pwlText_data()
{
    QTest::addColumn<QStringList>("graphSlots");
    QTest::addColumn<bool>("dispDC");
    QTest::addColumn<QString>("text");
    QTest::newRow("one current, six significant digits")
        << QStringList{"I1", "null", "null", "null", "null", "null"} << false
        << "0,1.5\n1e-05,-0.000123457\n2.5e-05,1.23457e+06\n";
    QTest::newRow("slot order, empty slots give no column")
        << QStringList{"null", "V1", "null", "I1", "carrier", "null"} << false
        << "0,50,1.5\n1e-05,-0.85,-0.000123457\n2.5e-05,49.5,1.23457e+06\n";
    QTest::newRow("phase voltage as duty cycle")
        << QStringList{"V1", "null", "null", "null", "null", "null"} << true
        << "0,0.5\n1e-05,0.25\n2.5e-05,1\n";
    QTest::newRow("no signal: the time alone")
        << QStringList{"null", "null", "null", "null", "null", "null"} << false
        << "0\n1e-05\n2.5e-05\n";
}

void TestMotorEngine::pwlText()
{
    QFETCH(QStringList, graphSlots);
    QFETCH(bool, dispDC);
    QFETCH(QString, text);
    motor::Waveforms w;
    w.time = {0, 1e-5, 2.5e-5};
    w.I1 = {1.5, -0.000123456789, 1234567.8};
    w.V1 = {50, -0.85, 49.5};
    w.DCA = {0.5, 0.25, 1};
    QString out;
    QTextStream stream(&out);
    motor::writePwl(stream, w, graphSlots, {dispDC, false, false});
    stream.flush();
    QCOMPARE(out, text);
}

QTEST_GUILESS_MAIN(TestMotorEngine)
#include "tst_motorengine.moc"
