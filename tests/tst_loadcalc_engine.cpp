// Load calculator arithmetic: its reader, the R-L-C circuits and the two-impedance
// combinations, checked to the six digits the dialog shows.
#include "soa/loadcalcengine.h"
#include "values/engvalues.h"

#include <QtTest>

namespace {

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

soa::CalcComponent component(const QString &text)
{
    return soa::calcComponent(text, soa::readCalcEntry(text).value);
}

double value(const QString &text)
{
    return soa::readCalcEntry(text).value;
}

} // namespace

class TestLoadCalcEngine : public QObject
{
    Q_OBJECT

private slots:
    void reader_data();
    void reader();
    void series_data();
    void series();
    void parallel_data();
    void parallel();
    void combinations_data();
    void combinations();
};

void TestLoadCalcEngine::reader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("valid");

    QTest::newRow("prefix k") << "2.2k" << 2200.0 << true;
    QTest::newRow("blank before prefix") << "4.7 n" << 4.7e-9 << true;
    QTest::newRow("meg lower") << "1meg" << 1e6 << true;
    QTest::newRow("MEG upper") << "1MEG" << 1e6 << true;
    QTest::newRow("Meg") << "1Meg" << 1e6 << true;
    QTest::newRow("exponent") << "1e3" << 1000.0 << true;
    QTest::newRow("upper femto") << "3F" << 3e-15 << true;
    QTest::newRow("upper micro") << "10U" << 10e-6 << true;
    QTest::newRow("empty is a valid 0") << "" << 0.0 << true;
    QTest::newRow("no number at all") << "-" << 0.0 << true;
    QTest::newRow("unit after prefix") << "10kHz" << 0.0 << false;
    QTest::newRow("capital Open") << "Open" << 0.0 << false;
    QTest::newRow("capital Short") << "Short" << 0.0 << false;
    QTest::newRow("all is not a word here") << "all" << 0.0 << false;
    QTest::newRow("unknown prefix") << "5x" << 0.0 << false;
    QTest::newRow("micro sign is not a prefix") << u8("5µ") << 0.0 << false;
    QTest::newRow("open") << "open" << infiniteValue << true;
    QTest::newRow("none") << "none" << infiniteValue << true;
    QTest::newRow("foil") << "foil" << infiniteValue << true;
    QTest::newRow("Inf") << "Inf" << infiniteValue << true;
    QTest::newRow("inf") << "inf" << infiniteValue << true;
    QTest::newRow("short") << "short" << 0.0 << true;
    QTest::newRow("Nan") << "Nan" << 0.0 << true;
    QTest::newRow("nan") << "nan" << 0.0 << true;
}

void TestLoadCalcEngine::reader()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(bool, valid);
    const soa::CalcEntry e = soa::readCalcEntry(text);
    QCOMPARE(e.valid, valid);
    QCOMPARE(e.value, value);
}

// Rows without a source are the calculator's own published figures.
void TestLoadCalcEngine::series_data()
{
    QTest::addColumn<QString>("R");
    QTest::addColumn<QString>("L");
    QTest::addColumn<QString>("C");
    QTest::addColumn<QString>("F");
    QTest::addColumn<QString>("magnitude");
    QTest::addColumn<QString>("angle");

    QTest::newRow("defaults") << "short"
                              << "short"
                              << "short"
                              << "1k"
                              << "0"
                              << "0";
    QTest::newRow("R L C at 1k") << "100"
                                 << "10m"
                                 << "1u"
                                 << "1k"
                                 << "138.846"
                                 << "-43.9271";
    QTest::newRow("pure inductance, zero-R branch") << "short"
                                                    << "1m"
                                                    << "short"
                                                    << "1k"
                                                    << "6.28318"
                                                    << "90";
    QTest::newRow("tiny R, arctangent branch") << "1n"
                                               << "1"
                                               << "short"
                                               << "1k"
                                               << "6283.18"
                                               << "90.0001";
    QTest::newRow("C of 0 opens") << "100"
                                  << "10m"
                                  << "0"
                                  << "1k"
                                  << "open"
                                  << "0";
    QTest::newRow("L open") << "100"
                            << "open"
                            << "1u"
                            << "1k"
                            << "open"
                            << "0";
    QTest::newRow("R open") << "open"
                            << "1m"
                            << "1u"
                            << "1k"
                            << "open"
                            << "0";
    QTest::newRow("unreadable R reads 0: zero-R branch") << "Short"
                                                         << "1m"
                                                         << "short"
                                                         << "1k"
                                                         << "6.28318"
                                                         << "90";
    // 1/(2π·1k·1µ) = 159.155 Ω, capacitive.
    QTest::newRow("pure capacitance") << "short"
                                      << "short"
                                      << "1u"
                                      << "1k"
                                      << "159.155"
                                      << "-90";
    QTest::newRow("0 Hz with a capacitor is open") << "100"
                                                   << "1m"
                                                   << "1u"
                                                   << "0"
                                                   << "open"
                                                   << "0";
    // A negative resistance leaves the right half-plane: 180° - 45°, not -45°.
    QTest::newRow("negative R keeps its quadrant") << "-6.28318"
                                                   << "1m"
                                                   << "short"
                                                   << "1k"
                                                   << "8.88576"
                                                   << "135";
}

void TestLoadCalcEngine::series()
{
    QFETCH(QString, R);
    QFETCH(QString, L);
    QFETCH(QString, C);
    QFETCH(QString, F);
    QFETCH(QString, magnitude);
    QFETCH(QString, angle);
    const soa::CalcImpedance z = soa::seriesRlc(component(R), component(L), component(C), value(F));
    QCOMPARE(z.magnitudeText(), magnitude);
    QCOMPARE(z.angleText(), angle);
}

void TestLoadCalcEngine::parallel_data()
{
    QTest::addColumn<QString>("R");
    QTest::addColumn<QString>("L");
    QTest::addColumn<QString>("C");
    QTest::addColumn<QString>("F");
    QTest::addColumn<QString>("magnitude");
    QTest::addColumn<QString>("angle");

    QTest::newRow("defaults") << "open"
                              << "open"
                              << "open"
                              << "1k"
                              << "open"
                              << "0";
    QTest::newRow("R L C at 1k") << "100"
                                 << "10m"
                                 << "1u"
                                 << "1k"
                                 << "72.0223"
                                 << "43.9271";
    // B_L = 1/(6283.18·1m) and B_C = 6283.18·C cancel to 1.1e-11 S: 8.8e10 Ω, no figure;
    // with C = B_L/ω to the last digit they cancel exactly, an ideal tank at resonance.
    QTest::newRow("near resonance, no resistor")
        << "open"
        << "1m"
        << "25.3303387u"
        << "1k" << QString(QChar(0x2014)) << QString(QChar(0x2014));
    QTest::newRow("exact resonance, no resistor") << "open"
                                                  << "1m"
                                                  << "25.33033870180996u"
                                                  << "1k"
                                                  << "open"
                                                  << "0";
    QTest::newRow("inductor alone") << "open"
                                    << "1m"
                                    << "open"
                                    << "1k"
                                    << "6.28318"
                                    << "90";
    QTest::newRow("capacitor alone") << "open"
                                     << "open"
                                     << "1u"
                                     << "1k"
                                     << "159.155"
                                     << "-90";
    QTest::newRow("R and C") << "1k"
                             << "open"
                             << "1u"
                             << "1k"
                             << "157.177"
                             << "-80.957";
    QTest::newRow("R short") << "short"
                             << "1m"
                             << "1u"
                             << "1k"
                             << "0"
                             << "0";
    QTest::newRow("L short") << "100"
                             << "short"
                             << "1u"
                             << "1k"
                             << "0"
                             << "0";
    QTest::newRow("C short") << "100"
                             << "1m"
                             << "short"
                             << "1k"
                             << "0"
                             << "0";
    QTest::newRow("R typed 0") << "0"
                               << "1m"
                               << "1u"
                               << "1k"
                               << "0"
                               << "0";
    QTest::newRow("L typed 0") << "100"
                               << "0"
                               << "1u"
                               << "1k"
                               << "0"
                               << "0";
    QTest::newRow("all open, C of 0") << "open"
                                      << "open"
                                      << "0"
                                      << "1k"
                                      << "open"
                                      << "0";
    QTest::newRow("0 Hz: the inductor shorts") << "100"
                                               << "1m"
                                               << "1u"
                                               << "0"
                                               << "0"
                                               << "0";
    // G = -0.01 S, B = 0.01 S: 1/|Y| = 70.7107 Ω at 180° - 45°.
    QTest::newRow("negative R keeps its quadrant") << "-100"
                                                   << "15.9155m"
                                                   << "open"
                                                   << "1k"
                                                   << "70.7107"
                                                   << "135";
}

void TestLoadCalcEngine::parallel()
{
    QFETCH(QString, R);
    QFETCH(QString, L);
    QFETCH(QString, C);
    QFETCH(QString, F);
    QFETCH(QString, magnitude);
    QFETCH(QString, angle);
    const soa::CalcImpedance z =
        soa::parallelRlc(component(R), component(L), component(C), value(F));
    QCOMPARE(z.magnitudeText(), magnitude);
    QCOMPARE(z.angleText(), angle);
}

void TestLoadCalcEngine::combinations_data()
{
    QTest::addColumn<bool>("series");
    QTest::addColumn<double>("z1");
    QTest::addColumn<double>("a1");
    QTest::addColumn<double>("z2");
    QTest::addColumn<double>("a2");
    QTest::addColumn<QString>("magnitude");
    QTest::addColumn<QString>("angle");

    QTest::newRow("series of zeros") << true << 0.0 << 0.0 << 0.0 << 0.0 << "0"
                                     << "0";
    QTest::newRow("series 10@30 + 20@-45") << true << 10.0 << 30.0 << 20.0 << -45.0 << "24.5668"
                                           << "-21.8473";
    QTest::newRow("parallel 10@30 || 20@-45") << false << 10.0 << 30.0 << 20.0 << -45.0 << "8.14107"
                                              << "6.84727";
    // Phasor sum -13.66 + j13.66: 19.3185 at 135°, where the arctangent of the ratio said -45°.
    QTest::newRow("series with negative real part")
        << true << 10.0 << 120.0 << 10.0 << 150.0 << "19.3185"
        << "135";
    QTest::newRow("parallel with negative real part")
        << false << 10.0 << 170.0 << 10.0 << 170.0 << "5"
        << "170";
    QTest::newRow("parallel with a zero impedance is a short")
        << false << 0.0 << 0.0 << 10.0 << 30.0 << "0"
        << "0";
    QTest::newRow("parallel impedances that cancel are open")
        << false << 10.0 << 0.0 << -10.0 << 0.0 << "open"
        << "0";
}

void TestLoadCalcEngine::combinations()
{
    QFETCH(bool, series);
    QFETCH(double, z1);
    QFETCH(double, a1);
    QFETCH(double, z2);
    QFETCH(double, a2);
    QFETCH(QString, magnitude);
    QFETCH(QString, angle);
    const soa::CalcImpedance z =
        series ? soa::combineSeries(z1, a1, z2, a2) : soa::combineParallel(z1, a1, z2, a2);
    QCOMPARE(z.magnitudeText(), magnitude);
    QCOMPARE(z.angleText(), angle);
}

QTEST_GUILESS_MAIN(TestLoadCalcEngine)
#include "tst_loadcalc_engine.moc"
