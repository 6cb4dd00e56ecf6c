// Power and supply warnings of the SOA page: exact note texts, their order, and the results
// they mark red.
#include "catalog/amp.h"
#include "soa/soawarnings.h"

#include <QtTest>

namespace {

// Pd_max 125 W, Tc_max 125 °C, Tj_max 150 °C, Vss_max 100 V, Vss_min 20 V.
amp makePart()
{
    const QList<QPair<QString, QStringList>> columns = {
        {"ampName", {"TST1"}}, {"Vss_max", {"100"}}, {"Vss_min", {"20"}}, {"channels", {"1"}},
        {"Pd_max", {"125"}},   {"Tc_max", {"125"}},  {"Tj_max", {"150"}},
    };
    amp part;
    for (const auto &column : columns) {
        catalog::CellCursor cells(column.second);
        part.readColumn(column.first, cells);
    }
    return part;
}

QStringList texts(const QVector<soa::SoaNote> &notes)
{
    QStringList out;
    for (const soa::SoaNote &n : notes) {
        out << n.text;
        if (!n.red) out << QStringLiteral("(not red)");
    }
    return out;
}

const QString kSupply = QStringLiteral("!!! V_out May Not Exceed Supply !!!");

} // namespace

class TestSoaWarnings : public QObject
{
    Q_OBJECT

private slots:
    void labelNumbers_data();
    void labelNumbers();
    void power_data();
    void power();
    void supplies_data();
    void supplies();
};

void TestSoaWarnings::labelNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("number2String text") << "12.3" << 12.3;
    QTest::newRow("negative heatsink") << "-1.25" << -1.25;
    QTest::newRow("large") << "1e+07" << 1e7;
    QTest::newRow("none") << "none" << 0.0;
    QTest::newRow("foil text") << "1 square inch foil" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
}

void TestSoaWarnings::labelNumbers()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(soa::resultLabelNumber(text), value);
}

void TestSoaWarnings::power_data()
{
    QTest::addColumn<double>("Pd");
    QTest::addColumn<double>("Tc");
    QTest::addColumn<double>("Tj");
    QTest::addColumn<double>("Rhs");
    QTest::addColumn<double>("TcMax");
    QTest::addColumn<double>("ambient");
    QTest::addColumn<QString>("redLabels"); // P(d) H(eatsink) C(ase) M(ax case) J(unction)
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("all within") << 50.0 << 80.0 << 100.0 << 2.0 << 100.0 << 25.0 << ""
                                << QStringList{};
    QTest::newRow("heatsink label holds none")
        << 50.0 << 80.0 << 100.0 << 0.0 << 100.0 << 25.0 << "" << QStringList{};
    QTest::newRow("negative heatsink")
        << 50.0 << 80.0 << 100.0 << -1.5 << 100.0 << 25.0 << "H"
        << QStringList{"!!! Heatsink Requirements Unreasonable !!! "};
    QTest::newRow("ambient above suggested case: no note")
        << 50.0 << 80.0 << 100.0 << 2.0 << 60.0 << 70.0 << "M" << QStringList{};
    QTest::newRow("limits themselves are allowed")
        << 125.0 << 125.0 << 150.0 << 0.0 << 25.0 << 25.0 << "" << QStringList{};
    QTest::newRow("everything over, in page order")
        << 130.0 << 130.0 << 160.0 << -0.5 << 20.0 << 30.0 << "PHCMJ"
        << QStringList{
               "!!! Heatsink Requirements Unreasonable !!! ", "!!! Case Temperature too High !!! ",
               "!!! Junction Temperature too High !!! ", "!!! Power Dissipation too High !!! "};
    QTest::newRow("junction only") << 50.0 << 100.0 << 151.0 << 1.0 << 110.0 << 25.0 << "J"
                                   << QStringList{"!!! Junction Temperature too High !!! "};
}

void TestSoaWarnings::power()
{
    QFETCH(double, Pd);
    QFETCH(double, Tc);
    QFETCH(double, Tj);
    QFETCH(double, Rhs);
    QFETCH(double, TcMax);
    QFETCH(double, ambient);
    QFETCH(QString, redLabels);
    QFETCH(QStringList, notes);
    const soa::PowerWarnings w =
        soa::powerWarnings(soa::PowerWarningInput{Pd, Tc, Tj, Rhs, TcMax, ambient}, makePart());
    QString red;
    if (w.pdRed) red += 'P';
    if (w.heatsinkRed) red += 'H';
    if (w.tcRed) red += 'C';
    if (w.tcMaxRed) red += 'M';
    if (w.tjRed) red += 'J';
    QCOMPARE(red, redLabels);
    QCOMPARE(texts(w.notes), notes);
}

void TestSoaWarnings::supplies_data()
{
    QTest::addColumn<double>("vsPos");
    QTest::addColumn<double>("vsNeg");
    QTest::addColumn<int>("bridge"); // 0 none, 1 same supplies, 2 inverted supplies
    QTest::addColumn<double>("maxVout");
    QTest::addColumn<double>("minVout");
    QTest::addColumn<bool>("dcMotor");
    QTest::addColumn<double>("maxOut");
    QTest::addColumn<double>("minOut");
    QTest::addColumn<bool>("suppliesRed");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("defaults") << 50.0 << -50.0 << 0 << 40.0 << -40.0 << false << 40.0 << -40.0
                              << false << QStringList{};
    QTest::newRow("span too high, not too low")
        << 60.0 << -60.0 << 0 << 40.0 << -40.0 << false << 40.0 << -40.0 << true
        << QStringList{"!!! Total Supply Voltage too High !!!"};
    // Span -30 V is also below Vss_min: the first failing check wins. No output voltage
    // fits between crossed supplies.
    QTest::newRow("negative above positive")
        << 0.0 << 30.0 << 0 << 0.0 << 0.0 << false << 0.0 << 0.0 << true
        << QStringList{"!!! Vs_neg may not exceed Vs_pos !!!", kSupply, kSupply};
    QTest::newRow("span too low") << 5.0 << -5.0 << 0 << 4.0 << -4.0 << false << 4.0 << -4.0 << true
                                  << QStringList{"!!! Total Supply Voltage too Low !!!"};
    QTest::newRow("sine of 40 on 30 V supplies: twice")
        << 30.0 << -30.0 << 0 << 40.0 << -40.0 << false << 40.0 << -40.0 << false
        << QStringList{kSupply, kSupply};
    QTest::newRow("only the maximum over") << 30.0 << -30.0 << 0 << 40.0 << -20.0 << false << 40.0
                                           << -20.0 << false << QStringList{kSupply};
    QTest::newRow("bridge, same supplies, within span")
        << 100.0 << 0.0 << 1 << 90.0 << -90.0 << false << 90.0 << -90.0 << false << QStringList{};
    QTest::newRow("bridge, same supplies, beyond span")
        << 100.0 << 0.0 << 1 << 110.0 << -90.0 << false << 110.0 << -90.0 << false
        << QStringList{"!!! V_out May Not Exceed Vs_pos - Vs_neg !!!"};
    QTest::newRow("bridge, inverted supplies, within twice")
        << 40.0 << -40.0 << 2 << 75.0 << -75.0 << false << 75.0 << -75.0 << false << QStringList{};
    QTest::newRow("bridge, inverted supplies, beyond twice")
        << 40.0 << -40.0 << 2 << 85.0 << -85.0 << false << 85.0 << -85.0 << false
        << QStringList{"!!! V_out May Not Exceed 2 * Supply !!!",
                       "!!! V_out May Not Exceed 2 * Supply !!!"};
    QTest::newRow("range upside down")
        << 50.0 << -50.0 << 0 << 10.0 << -10.0 << false << -10.0 << 10.0 << false
        << QStringList{"!!! V_out min May Not Exceed V_out max !!!"};
    QTest::newRow("range not checked for a DC motor")
        << 50.0 << -50.0 << 0 << 10.0 << -10.0 << true << -10.0 << 10.0 << false << QStringList{};
    QTest::newRow("supply note comes first")
        << 60.0 << -60.0 << 0 << 70.0 << -40.0 << false << 40.0 << 45.0 << true
        << QStringList{"!!! Total Supply Voltage too High !!!", kSupply,
                       "!!! V_out min May Not Exceed V_out max !!!"};
}

void TestSoaWarnings::supplies()
{
    QFETCH(double, vsPos);
    QFETCH(double, vsNeg);
    QFETCH(int, bridge);
    QFETCH(double, maxVout);
    QFETCH(double, minVout);
    QFETCH(bool, dcMotor);
    QFETCH(double, maxOut);
    QFETCH(double, minOut);
    QFETCH(bool, suppliesRed);
    QFETCH(QStringList, notes);
    soa::SupplyWarningInput in;
    in.vsPos = vsPos;
    in.vsNeg = vsNeg;
    in.bridgeSame = bridge == 1;
    in.bridgeInverted = bridge == 2;
    in.maxVout = maxVout;
    in.minVout = minVout;
    in.dcMotor = dcMotor;
    in.maxOut = maxOut;
    in.minOut = minOut;
    const soa::SupplyWarnings w = soa::supplyWarnings(in, makePart());
    QCOMPARE(w.suppliesRed, suppliesRed);
    QCOMPARE(texts(w.notes), notes);
}

QTEST_GUILESS_MAIN(TestSoaWarnings)
#include "tst_soawarnings.moc"
