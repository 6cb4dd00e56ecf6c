// The filter design engine: recommended order and ripple, Butterworth ladder values and what
// the labels show, the ideal attenuation, the matching network and the hand-over of a design
// to the power page's network.
#include "pwmpower/filterdesign.h"

#include <QtTest>

#include <cmath>

using namespace pwmpower;

Q_DECLARE_METATYPE(pwmpower::FilterType)
Q_DECLARE_METATYPE(pwmpower::LoadKind)

namespace {

// The page's defaults: 48 V, 20 kHz, 2 kHz, 0.02 V, 15 ohm, order 2, bridge filter.
FilterOrderInput defaults()
{
    FilterOrderInput in;
    in.Vs = 48;
    in.Vrip = 0.02;
    in.FswKHz = 20;
    in.FcutKHz = 2;
    in.RL = 15;
    in.n = 2;
    in.singleEnded = false;
    return in;
}

bool close(double a, double b, double rel)
{
    return std::abs(a - b) <= rel * std::abs(b);
}

} // namespace

class TestPwmFilterDesign : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void orderWithEqualFrequencies();
    void rippleAndLegCapacitor();
    void ladder_data();
    void ladder();
    void labelValues();
    void attenuation();
    void matching_data();
    void matching();
    void handOver_data();
    void handOver();
    void handOverWritesOnlyItsOrder();
};

void TestPwmFilterDesign::order_data()
{
    QTest::addColumn<double>("Vs");
    QTest::addColumn<bool>("singleEnded");
    QTest::addColumn<double>("recommended");
    QTest::addColumn<double>("rippleV");
    // log10(1.25 * 48 / 0.02 * 2 * 0.5) / log10(10) = 3.477
    QTest::newRow("defaults") << 48.0 << false << 4.0 << 0.6;
    // k = 1 halves the numerator: log10(1500) = 3.176
    QTest::newRow("single-ended") << 48.0 << true << 4.0 << 0.3;
    // log10(1000) / log10(10) = 3 exactly: a whole quotient is not raised
    QTest::newRow("whole quotient") << 16.0 << false << 3.0 << 0.2;
}

void TestPwmFilterDesign::order()
{
    QFETCH(double, Vs);
    QFETCH(bool, singleEnded);
    QFETCH(double, recommended);
    QFETCH(double, rippleV);
    FilterOrderInput in = defaults();
    in.Vs = Vs;
    in.singleEnded = singleEnded;
    const FilterOrderResult r = filterOrder(in);
    QCOMPARE(r.recommended, recommended);
    QVERIFY(close(r.rippleV, rippleV, 1e-12));
    // Only the order actually used lowers the ripple, by (Fsw / Fcut)^n.
    in.n = 3;
    QVERIFY(close(filterOrder(in).rippleV, rippleV / 10, 1e-12));
}

void TestPwmFilterDesign::orderWithEqualFrequencies()
{
    FilterOrderInput in = defaults();
    in.FcutKHz = 20;
    const FilterOrderResult r = filterOrder(in);
    QVERIFY(std::isnan(r.recommended)); // no order: the page shows its placeholder
    QCOMPARE(r.notes, QStringList{"Fsw is not above Fcut: no filter order brings the ripple down"});
    // The ripple of the order in use is a figure still: 1.25 x 48 x 2 x 0.5 at a ratio of 1.
    QCOMPARE(r.rippleV, 60.0);

    // Allowed ripple above the unfiltered one: no filter needed, order 0, never negative.
    in = defaults();
    in.Vrip = 600;
    QCOMPARE(filterOrder(in).recommended, 0.0);
    QVERIFY(!std::signbit(filterOrder(in).recommended));

    // An unusable input (NaN) reaches every figure that needs it, and nothing else.
    in = defaults();
    in.RL = std::nan("");
    const FilterOrderResult noLoad = filterOrder(in);
    QCOMPARE(noLoad.recommended, 4.0);
    QVERIFY(std::isnan(noLoad.rippleI) && std::isnan(noLoad.Cleg));
    QVERIFY(noLoad.notes.isEmpty());
}

// Hand derivation with the defaults: L1 = 1.4142 x 15 / (2 pi 2) = 1.688 (mH),
// I = 48 x 0.5 / 20 / 1.688 x 2 x 0.25 = 0.355 A, C_leg = 6.8966 / 2 / 15 / 1e6 = 230 nF.
void TestPwmFilterDesign::rippleAndLegCapacitor()
{
    const FilterOrderResult r = filterOrder(defaults());
    QVERIFY(close(r.L1mH, 1.4142 * 15 / (2 * M_PI * 2), 1e-12));
    QVERIFY(close(r.L1mH, 1.688, 1e-3));
    QVERIFY(close(r.rippleI, 48 * 0.5 / 20 / r.L1mH * 0.5, 1e-12));
    QVERIFY(close(r.rippleI, 0.3554, 1e-3));
    QVERIFY(close(r.Cleg, 1 / (0.145 * 2 * 15) * 1e-6, 1e-12)); // kHz in, uF out

    FilterOrderInput first = defaults();
    for (int n : {1, 3, 4, 5, 6}) {
        first.n = n;
        const double g1[] = {1.0, 1.4142, 1.5, 1.5307, 1.5451, 1.5529};
        QVERIFY(close(filterOrder(first).L1mH, g1[n - 1] * 15 / (2 * M_PI * 2), 1e-12));
    }
}

void TestPwmFilterDesign::ladder_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QVector<double>>("inductors");  // in units of L_base
    QTest::addColumn<QVector<double>>("capacitors"); // in units of C_base
    QTest::newRow("1") << 1 << QVector<double>{1.0} << QVector<double>{};
    QTest::newRow("2") << 2 << QVector<double>{1.4142} << QVector<double>{0.7071};
    QTest::newRow("3: C1 = 4/3, L2 = 1/2")
        << 3 << QVector<double>{1.5, 0.5} << QVector<double>{4.0 / 3.0};
    QTest::newRow("4") << 4 << QVector<double>{1.5307, 1.0824} << QVector<double>{1.5772, 0.3827};
    QTest::newRow("5") << 5 << QVector<double>{1.5451, 1.382, 0.309}
                       << QVector<double>{1.6944, 0.8944};
    QTest::newRow("6: L1 = L2") << 6 << QVector<double>{1.5529, 1.5529, 0.7579}
                                << QVector<double>{1.7593, 1.2016, 0.2588};
}

// 15 ohm, 2 kHz: L_base = 15 / (2 pi 2000) = 1.1937 mH, C_base = 1 / (2 pi 2000 15) = 5.3052 uF.
void TestPwmFilterDesign::ladder()
{
    QFETCH(int, n);
    QFETCH(QVector<double>, inductors);
    QFETCH(QVector<double>, capacitors);
    const double Lbase = 15 / (2 * M_PI * 2000), Cbase = 1 / (2 * M_PI * 2000 * 15);
    QVERIFY(close(Lbase, 1.1937e-3, 1e-4) && close(Cbase, 5.3052e-6, 1e-4));
    const Ladder l = butterworthLadder(n, 15, 2000);
    QCOMPARE(l.inductorCount, inductors.size());
    QCOMPARE(l.capacitorCount, capacitors.size());
    for (int i = 0; i < inductors.size(); ++i)
        QVERIFY(close(l.inductors[i], inductors[i] * Lbase, 1e-12));
    for (int i = 0; i < capacitors.size(); ++i)
        QVERIFY(close(l.capacitors[i], capacitors[i] * Cbase, 1e-12));
    for (int i = capacitors.size(); i < 3; ++i)
        QCOMPARE(l.capacitors[i], 0.0);
}

// Order 2, 15 ohm, 2 kHz: 1.688 mH and 3.75 uF. Two lines halve the inductors; dual
// capacitors double the capacitor.
void TestPwmFilterDesign::labelValues()
{
    const Ladder l = butterworthLadder(2, 15, 2000);
    QVERIFY(close(l.inductors[0], 1.688e-3, 1e-3));
    QVERIFY(close(l.capacitors[0], 3.7513e-6, 1e-4));
    QCOMPARE(inductorLabelValue(l.inductors[0], FilterType::SingleEnded), l.inductors[0]);
    QCOMPARE(inductorLabelValue(l.inductors[0], FilterType::SplitInductor), l.inductors[0] / 2);
    QCOMPARE(inductorLabelValue(l.inductors[0], FilterType::DualCapacitor), l.inductors[0] / 2);
    QCOMPARE(capacitorLabelValue(l.capacitors[0], FilterType::SingleEnded), l.capacitors[0]);
    QCOMPARE(capacitorLabelValue(l.capacitors[0], FilterType::SplitInductor), l.capacitors[0]);
    QCOMPARE(capacitorLabelValue(l.capacitors[0], FilterType::DualCapacitor), 2 * l.capacitors[0]);
}

// Butterworth magnitude: -3.01 dB (29.3 % removed) at the cutoff, -40n dB a decade above.
void TestPwmFilterDesign::attenuation()
{
    const AttenuationCurve c = butterworthAttenuation(1000, 2);
    QCOMPARE(c.freq.size(), 400);
    QCOMPARE(c.freq.first(), 1.0);
    QVERIFY(close(c.freq.last(), std::pow(10.0, 0.015 * 399), 1e-9)); // 966 kHz
    // 10^0.015 per point: 1 kHz is point 200.
    QVERIFY(close(c.freq[200], 1000, 1e-9));
    QVERIFY(std::abs(c.gainDb[200] + 3.0103) < 1e-3);
    QVERIFY(std::abs(c.percent[200] - 29.29) < 0.01);
    QVERIFY(std::abs(c.gainDb[266] + 39.600) < 0.001); // 9.77 kHz: 40 log10(9.77)
    QVERIFY(c.percent.last() > 99.99 && c.percent.last() < 100);
    QCOMPARE(c.gainDb.first() > -1e-5, true);
    const AttenuationCurve c4 = butterworthAttenuation(1000, 4);
    QVERIFY(std::abs(c4.gainDb[266] + 79.200) < 0.001);
}

void TestPwmFilterDesign::matching_data()
{
    QTest::addColumn<bool>("capacitive");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("none");
    QTest::addColumn<double>("L");
    QTest::addColumn<double>("C");
    // 15^2 x 10 uF = 2.25 mH; 2.25 mH / 15^2 = 10 uF.
    QTest::newRow("RC load") << true << "10" << 10.0 << false << 2.25e-3 << 0.0;
    QTest::newRow("RL load") << false << "2.25" << 2.25 << false << 0.0 << 10e-6;
    QTest::newRow("C short") << true << "short" << 0.0 << true << 0.0 << 0.0;
    QTest::newRow("C open") << true << "open" << 4294967295.0 << true << 0.0 << 0.0;
    QTest::newRow("C zero") << true << "0" << 0.0 << true << 0.0 << 0.0;
    QTest::newRow("L unreadable reads 0") << false << "x" << 0.0 << true << 0.0 << 0.0;
    QTest::newRow("L open") << false << "open" << 4294967295.0 << true << 0.0 << 0.0;
    // Without resistance a capacitive load takes the R^2 C inductance, 0, and still no capacitor.
    QTest::newRow("RC load, R 0") << true << "10" << 10.0 << false << 0.0 << 0.0;
}

void TestPwmFilterDesign::matching()
{
    QFETCH(bool, capacitive);
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(bool, none);
    QFETCH(double, L);
    QFETCH(double, C);
    const double R = QByteArray(QTest::currentDataTag()).endsWith("R 0") ? 0 : 15;
    const Matching m = capacitive ? matchingForCapacitiveLoad(R, text, value)
                                  : matchingForInductiveLoad(R, text, value);
    QCOMPARE(m.none, none);
    QCOMPARE(m.capacitiveLoad, capacitive);
    if (!none) {
        QCOMPARE(m.R, R);
        QVERIFY(close(m.L, L, 1e-12));
        QVERIFY(close(m.C, C, 1e-12));
    }
}

void TestPwmFilterDesign::handOver_data()
{
    QTest::addColumn<FilterType>("type");
    QTest::addColumn<LoadKind>("load");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<QStringList>("P1P2");
    QTest::addColumn<QStringList>("mn");
    QTest::addColumn<QStringList>("l5");

    const QStringList noMN{"0", "0", "0"};
    QTest::newRow("split inductor, resistive")
        << FilterType::SplitInductor << LoadKind::Inductive << "short" << 0.0
        << QStringList{"844 u", "3.75 u"} << noMN << QStringList{"0", "15 ", "short"};
    QTest::newRow("dual capacitor halves L, doubles C")
        << FilterType::DualCapacitor << LoadKind::Inductive << "0" << 0.0
        << QStringList{"844 u", "7.5 u"} << noMN << QStringList{"0", "15 ", "short"};
    QTest::newRow("single-ended, full values")
        << FilterType::SingleEnded << LoadKind::Inductive << "short" << 0.0
        << QStringList{"1.69 m", "3.75 u"} << noMN << QStringList{"0", "15 ", "short"};
    QTest::newRow("RL load: series RC matching")
        << FilterType::SplitInductor << LoadKind::Inductive << "2.25" << 2.25
        << QStringList{"844 u", "3.75 u"} << QStringList{"0", "15 ", "10 u"}
        << QStringList{"2.25 m", "15 ", "short"};
    QTest::newRow("open inductance")
        << FilterType::SplitInductor << LoadKind::Inductive << "open" << 4294967295.0
        << QStringList{"844 u", "3.75 u"} << noMN << QStringList{"open", "15 ", "short"};
    QTest::newRow("RC load: series RL matching")
        << FilterType::SplitInductor << LoadKind::Capacitive << "10" << 10.0
        << QStringList{"844 u", "3.75 u"} << QStringList{"2.25 m", "15 ", "short"}
        << QStringList{"0", "15 ", "10 u"};
    QTest::newRow("capacitance short: a resistor")
        << FilterType::SplitInductor << LoadKind::Capacitive << "short" << 0.0
        << QStringList{"844 u", "3.75 u"} << noMN << QStringList{"0", "15 ", "short"};
    QTest::newRow("capacitance open: open branch")
        << FilterType::SplitInductor << LoadKind::Capacitive << "open" << 4294967295.0
        << QStringList{"844 u", "3.75 u"} << noMN << QStringList{"0", "15 ", "0 "};
    QTest::newRow("capacitance 0: open branch")
        << FilterType::SplitInductor << LoadKind::Capacitive << "0" << 0.0
        << QStringList{"844 u", "3.75 u"} << noMN << QStringList{"0", "15 ", "0 "};
}

void TestPwmFilterDesign::handOver()
{
    QFETCH(FilterType, type);
    QFETCH(LoadKind, load);
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(QStringList, P1P2);
    QFETCH(QStringList, mn);
    QFETCH(QStringList, l5);

    const Ladder l = butterworthLadder(2, 15, 2000);
    HandOverInput in;
    in.filterValues[0] = l.inductors[0];
    in.filterValues[3] = l.capacitors[0];
    in.order = 2;
    in.type = type;
    in.load = load;
    in.RL = 15;
    if (load == LoadKind::Capacitive) {
        in.CloadText = text;
        in.CloadMicro = value;
        in.LloadText = "short";
    } else {
        in.LloadText = text;
        in.LloadMilli = value;
        in.CloadText = "short";
    }
    const HandOver h = handOverFilter(in);
    QCOMPARE(h.P[0].L, P1P2[0]);
    QCOMPARE(h.P[0].R, QStringLiteral("0"));
    QCOMPARE(h.P[0].C, QStringLiteral("0"));
    QCOMPARE(h.P[1].C, P1P2[1]);
    QCOMPARE(h.P[1].L, QStringLiteral("0"));
    QCOMPARE((QStringList{h.MN.L, h.MN.R, h.MN.C}), mn);
    QCOMPARE((QStringList{h.L[4].L, h.L[4].R, h.L[4].C}), l5);
    // The other load branches are reset to their neutral values.
    QCOMPARE(h.L[0].C, QStringLiteral("short"));
    QCOMPARE(h.L[1].C, QStringLiteral("short"));
    QCOMPARE(h.L[2].C, QStringLiteral("0"));
    QCOMPARE(h.L[3].C, QStringLiteral("0"));
}

// Values of a higher order drawn earlier stay in filterValues; an order-2 hand-over still
// writes only P1 and P2.
void TestPwmFilterDesign::handOverWritesOnlyItsOrder()
{
    const Ladder six = butterworthLadder(6, 15, 2000);
    HandOverInput in;
    for (int i = 0; i < 3; ++i) {
        in.filterValues[i] = six.inductors[i];
        in.filterValues[3 + i] = six.capacitors[i];
    }
    in.order = 6;
    in.type = FilterType::SingleEnded;
    in.RL = 15;
    in.LloadText = "short";
    const HandOver all = handOverFilter(in);
    for (int k = 0; k < 6; ++k) {
        const QString &value = k % 2 == 0 ? all.P[k].L : all.P[k].C;
        QVERIFY2(value != QLatin1String("0"), qPrintable(QString::number(k)));
    }
    in.order = 2;
    const HandOver two = handOverFilter(in);
    for (int k = 2; k < 6; ++k) {
        QCOMPARE(two.P[k].L, QStringLiteral("0"));
        QCOMPARE(two.P[k].C, QStringLiteral("0"));
    }
}

QTEST_GUILESS_MAIN(TestPwmFilterDesign)
#include "tst_pwmfilterdesign.moc"
