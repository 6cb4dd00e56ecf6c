// Layout of the SOA supply schematic: the load variants, parallel amplifiers, bridge, boost
// pins, labels and the visible window, without a plot; and the schematic in the window, where
// every value stands clear of the others and of the drawing.
#include "soa/supplyschematic.h"
#include "values/engvalues.h"

#include "schematicwindow.h"

#include <QtTest>

namespace {

using Input = soa::SupplySchematicInput;
using Load = Input::Load;
using L = soa::SupplyLabel;

const double inf = infiniteValue;

QString strokeText(const soa::SchStroke &s)
{
    static const char *names[] = {"Whor", "Wver", "Wdia", "Rhor", "Lhor",
                                  "Chor", "Jhor", "G",    "PA",   "PAR"};
    QString t =
        QString::fromLatin1(names[int(s.kind)]) + QStringLiteral(" %1 %2").arg(s.x).arg(s.y);
    switch (s.kind) {
    case soa::SchPrimitive::Whor:
    case soa::SchPrimitive::Wver:
    case soa::SchPrimitive::Jhor:
        t += QStringLiteral(" %1").arg(s.a);
        break;
    case soa::SchPrimitive::Wdia:
        t += QStringLiteral(" %1 %2").arg(s.a).arg(s.b);
        break;
    default:
        break;
    }
    return s.shorted ? QStringLiteral("red ") + t : t;
}

// The load and its return path: everything drawn before the first amplifier.
QStringList loadStrokes(const soa::SupplySchematic &s)
{
    QStringList out;
    for (const soa::SchStroke &st : s.strokes) {
        if (st.kind == soa::SchPrimitive::PA) break;
        out << strokeText(st);
    }
    return out;
}

QStringList strokesOf(const soa::SupplySchematic &s, soa::SchPrimitive kind)
{
    QStringList out;
    for (const soa::SchStroke &st : s.strokes)
        if (st.kind == kind) out << strokeText(st);
    return out;
}

const soa::SchLabel *label(const soa::SupplySchematic &s, L role)
{
    for (const soa::SchLabel &l : s.labels)
        if (l.role == role) return &l;
    return nullptr;
}

const soa::SchText *loadText(const soa::SupplySchematic &s)
{
    for (const soa::SchText &t : s.texts)
        if (t.text == QLatin1String("LOAD")) return &t;
    return nullptr;
}

Input seriesLoad(double R, double Lh, double C)
{
    Input in;
    in.partName = QStringLiteral("LX30A");
    in.load = Load::Series;
    in.R = R;
    in.L = Lh;
    in.C = C;
    return in;
}

Input parallelLoad(double R, double Lh, double C)
{
    Input in = seriesLoad(R, Lh, C);
    in.load = Load::Parallel;
    return in;
}

} // namespace

Q_DECLARE_METATYPE(soa::SupplySchematicInput)

class TestSupplySchematic : public QObject
{
    Q_OBJECT

private slots:
    void loads_data();
    void loads();
    void oneAmplifierWindowAndLabels();
    void threeAmplifiers();
    void bridgeSupplies_data();
    void bridgeSupplies();
    void boostPins_data();
    void boostPins();
    void badParallelCount();
    void cleanup() { QApplication::setFont(QFont()); }
    void labelsStandClear_data();
    void labelsStandClear();
};

void TestSupplySchematic::loads_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<QStringList>("strokes");
    QTest::addColumn<QPointF>("loadAt");
    QTest::addColumn<double>("xMax");

    QTest::newRow("series 1k, L and C short")
        << seriesLoad(1000, 0, inf)
        << QStringList{"Whor 1000 0 200", "Rhor 1200 0", "Whor 1600 0 200", "Wver 1800 0 200",
                       "G 1800 -200"}
        << QPointF(1400, 300) << 3300.0;
    QTest::newRow("series R open leaves a gap")
        << seriesLoad(inf, 0, inf)
        << QStringList{"Whor 1000 0 200", "Wver 1600 0 200", "G 1600 -200"} << QPointF(1300, 300)
        << 3100.0;
    QTest::newRow("series R, L, C")
        << seriesLoad(10, 1e-3, 1e-6)
        << QStringList{"Whor 1000 0 200", "Rhor 1200 0",     "Whor 1600 0 200",
                       "Lhor 1800 0",     "Whor 2200 0 200", "Chor 2400 0",
                       "Whor 2800 0 200", "Wver 3000 0 200", "G 3000 -200"}
        << QPointF(2000, 300) << 4500.0;
    QTest::newRow("series C open (0 F) leaves a gap")
        << seriesLoad(10, 0, 0)
        << QStringList{"Whor 1000 0 200", "Rhor 1200 0", "Whor 1600 0 200", "Wver 2200 0 200",
                       "G 2200 -200"}
        << QPointF(1600, 300) << 3700.0;
    QTest::newRow("parallel R short: red wire in the top row")
        << parallelLoad(0, inf, 0)
        << QStringList{"Whor 1000 0 200",     "Whor 1200 0 200", "Whor 1800 0 200",
                       "red Whor 1400 0 400", "Whor 2000 0 200", "Wver 2200 0 200",
                       "G 2200 -200"}
        << QPointF(1600, 300) << 3700.0;
    QTest::newRow("parallel R open: the inductor row moves up")
        << parallelLoad(inf, 1e-3, 0)
        << QStringList{"Whor 1000 0 200", "Whor 1200 0 200", "Whor 1800 0 200", "Lhor 1400 0",
                       "Whor 2000 0 200", "Wver 2200 0 200", "G 2200 -200"}
        << QPointF(1600, 300) << 3700.0;
    QTest::newRow("parallel R, L, C in three rows")
        << parallelLoad(10, 1e-3, 1e-6)
        << QStringList{"Whor 1000 0 200",      "Whor 1200 0 200",     "Whor 1800 0 200",
                       "Rhor 1400 0",          "Whor 1200 -600 200",  "Whor 1800 -600 200",
                       "Wver 1200 -600 -600",  "Wver 2000 -600 -600", "Lhor 1400 -600",
                       "Whor 1200 -1200 200",  "Whor 1800 -1200 200", "Wver 1200 -1200 -600",
                       "Wver 2000 -1200 -600", "Chor 1400 -1200",     "Whor 2000 0 200",
                       "Wver 2200 0 200",      "G 2200 -200"}
        << QPointF(1600, 300) << 3700.0;
    QTest::newRow("parallel L and C shorted: red wires") << parallelLoad(10, 0, inf)
                                                         << QStringList{"Whor 1000 0 200",
                                                                        "Whor 1200 0 200",
                                                                        "Whor 1800 0 200",
                                                                        "Rhor 1400 0",
                                                                        "Whor 1200 -600 200",
                                                                        "Whor 1800 -600 200",
                                                                        "Wver 1200 -600 -600",
                                                                        "Wver 2000 -600 -600",
                                                                        "red Whor 1400 -600 400",
                                                                        "Whor 1200 -1200 200",
                                                                        "Whor 1800 -1200 200",
                                                                        "Wver 1200 -1200 -600",
                                                                        "Wver 2000 -1200 -600",
                                                                        "red Whor 1400 -1200 400",
                                                                        "Whor 2000 0 200",
                                                                        "Wver 2200 0 200",
                                                                        "G 2200 -200"}
                                                         << QPointF(1600, 300) << 3700.0;

    Input motor = seriesLoad(10, 0, inf);
    motor.load = Load::DcMotor;
    QTest::newRow("DC motor") << motor
                              << QStringList{"Whor 1000 0 200",      "Wver 1200 200 400",
                                             "Whor 1200 200 180",    "Whor 1200 -200 180",
                                             "Jhor 1600 0 300",      "Jhor 1600 0 -300",
                                             "Whor 2000 200 -180",   "Whor 2000 -200 -180",
                                             "Wver 2000 200 400",    "Whor 2000 0 200",
                                             "Wver 1500 100 200",    "Wdia 1500 100 1600 0",
                                             "Wdia 1700 100 1600 0", "Wver 1700 100 200",
                                             "Wver 2200 0 200",      "G 2200 -200"}
                              << QPointF(1600, 380) << 3700.0; // above the circle's top at 300

    Input none = seriesLoad(10, 0, inf);
    none.load = Load::None;
    QTest::newRow("no load kind: nothing, no ground")
        << none << QStringList{} << QPointF(1000, 300) << 2500.0;
}

void TestSupplySchematic::loads()
{
    QFETCH(Input, in);
    QFETCH(QStringList, strokes);
    QFETCH(QPointF, loadAt);
    QFETCH(double, xMax);
    const soa::SupplySchematic s = soa::layoutSupplySchematic(in);
    QCOMPARE(loadStrokes(s), strokes);
    QVERIFY(loadText(s));
    QCOMPARE(loadText(s)->pos, loadAt);
    QCOMPARE(loadText(s)->align, Qt::AlignBottom | Qt::AlignHCenter);
    QCOMPARE(s.xMin, -1500.0);
    QCOMPARE(s.xMax, xMax);
    QCOMPARE(s.yMin, -1600.0);
    QCOMPARE(s.yMax, 1600.0);
}

void TestSupplySchematic::oneAmplifierWindowAndLabels()
{
    const soa::SupplySchematic s = soa::layoutSupplySchematic(seriesLoad(1000, 0, inf));
    QCOMPARE(strokesOf(s, soa::SchPrimitive::PA), QStringList{"PA 0 0"});
    QVERIFY(strokesOf(s, soa::SchPrimitive::PAR).isEmpty());
    QCOMPARE(s.labels.size(), 2); // the two supplies, no boost, no R_CS
    const soa::SchLabel *pos = label(s, L::PosSupply);
    const soa::SchLabel *neg = label(s, L::NegSupply);
    QVERIFY(pos && neg);
    QCOMPARE(pos->caption, QStringLiteral("+V_S ="));
    QCOMPARE(pos->value, QStringLiteral("50"));
    QCOMPARE(pos->unit, QStringLiteral("V"));
    QCOMPARE(pos->pos, QPointF(500, 1000));
    QCOMPARE(pos->align, Qt::AlignBottom | Qt::AlignHCenter);
    QCOMPARE(neg->caption, QStringLiteral("-V_S ="));
    QCOMPARE(neg->value, QStringLiteral("-50"));
    QCOMPARE(neg->pos, QPointF(500, -1000));
    QCOMPARE(neg->align, Qt::AlignTop | Qt::AlignHCenter);
    // The supply pins: a lead up from the amplifier and a bar at its end.
    const QStringList wires = strokesOf(s, soa::SchPrimitive::Wver);
    QVERIFY(wires.contains("Wver 500 250 -650"));
    QVERIFY(wires.contains("Wver 500 -250 650"));
    // The part's name sits in the amplifier.
    QCOMPARE(s.texts.first().text, QStringLiteral("LX30A"));
    QCOMPARE(s.texts.first().pos, QPointF(350, 0));
    QCOMPARE(s.texts.first().align, Qt::Alignment(Qt::AlignCenter));
}

void TestSupplySchematic::threeAmplifiers()
{
    Input in = seriesLoad(1000, 0, inf);
    in.parallel = 3;
    in.rCS = QStringLiteral("0.1");
    const soa::SupplySchematic s = soa::layoutSupplySchematic(in);
    QCOMPARE(strokesOf(s, soa::SchPrimitive::PA),
             QStringList({"PA 0 0", "PA 0 -1200", "PA 0 -2400"}));
    // Each row has its current-sharing resistor; rows below the first join the output node.
    QCOMPARE(strokesOf(s, soa::SchPrimitive::Rhor),
             QStringList({"Rhor 2000 0", "Rhor 1200 0", "Rhor 1200 -1200", "Rhor 1200 -2400"}));
    const QStringList wires = strokesOf(s, soa::SchPrimitive::Wver);
    QVERIFY(wires.contains("Wver 1800 -1200 -1200"));
    QVERIFY(wires.contains("Wver 1800 -2400 -1200"));
    // One R_CS label, on the top row.
    int rcsLabels = 0;
    for (const soa::SchLabel &l : s.labels)
        rcsLabels += l.role == L::RCS;
    QCOMPARE(rcsLabels, 1);
    const soa::SchLabel *rcs = label(s, L::RCS);
    QCOMPARE(rcs->caption, QStringLiteral("R_CS"));
    QCOMPARE(rcs->value, QStringLiteral("0.1"));
    QCOMPARE(rcs->unit, QString::fromUtf8("Ω"));
    QCOMPARE(rcs->pos, QPointF(1400, 300));
    QCOMPARE(label(s, L::NegSupply)->pos, QPointF(500, -3400));
    QCOMPARE(s.yL, -2400.0);
    QCOMPARE(s.yMin, -4000.0);
    // The load starts at the output node 1800: "LOAD" over (x + 1800) / 2.
    QCOMPARE(loadText(s)->pos, QPointF((2600 + 1800) / 2.0, 300));
    QCOMPARE(s.xMax, 4100.0);
}

void TestSupplySchematic::bridgeSupplies_data()
{
    QTest::addColumn<bool>("unipolar");
    QTest::addColumn<bool>("same");
    QTest::addColumn<QString>("vsPos");
    QTest::addColumn<QString>("vsNeg");
    QTest::addColumn<QString>("pos2");
    QTest::addColumn<QString>("neg2");

    QTest::newRow("unipolar 50/-50") << true << false << "50"
                                     << "-50"
                                     << "50"
                                     << "-50";
    QTest::newRow("same supplies") << false << true << "60"
                                   << "-40"
                                   << "60"
                                   << "-40";
    QTest::newRow("unipolar 60/-40") << true << false << "60"
                                     << "-40"
                                     << "40"
                                     << "-60";
    QTest::newRow("neither: no second labels") << false << false << "60"
                                               << "-40"
                                               << ""
                                               << "";
}

void TestSupplySchematic::bridgeSupplies()
{
    QFETCH(bool, unipolar);
    QFETCH(bool, same);
    QFETCH(QString, vsPos);
    QFETCH(QString, vsNeg);
    QFETCH(QString, pos2);
    QFETCH(QString, neg2);
    Input in = seriesLoad(1000, 0, inf);
    in.bridge = true;
    in.bridgeUnipolar = unipolar;
    in.bridgeSame = same;
    in.vsPos = vsPos;
    in.vsNeg = vsNeg;
    const soa::SupplySchematic s = soa::layoutSupplySchematic(in);
    // The load ends at 1800; the mirrored amplifier's back edge is 1000 further.
    QCOMPARE(s.xR, 2800.0);
    QCOMPARE(strokesOf(s, soa::SchPrimitive::PAR), QStringList{"PAR 2800 0"});
    QVERIFY(strokesOf(s, soa::SchPrimitive::G).isEmpty());
    QCOMPARE(s.texts.at(1).text, QStringLiteral("LX30A"));
    QCOMPARE(s.texts.at(1).pos, QPointF(2450, 0));
    QCOMPARE(loadText(s)->pos, QPointF(1400, 300));
    QCOMPARE(s.xMax, 4300.0);

    const soa::SchLabel *p2 = label(s, L::PosSupply2);
    const soa::SchLabel *n2 = label(s, L::NegSupply2);
    if (pos2.isEmpty()) {
        QVERIFY(!p2 && !n2);
        return;
    }
    QVERIFY(p2 && n2);
    QCOMPARE(p2->value, pos2);
    QCOMPARE(n2->value, neg2);
    QCOMPARE(p2->pos, QPointF(2300, 1000));
    QCOMPARE(n2->pos, QPointF(2300, -1000));
}

void TestSupplySchematic::boostPins_data()
{
    QTest::addColumn<int>("boostOptions");
    QTest::addColumn<bool>("boostSup");
    QTest::addColumn<bool>("bridge");
    QTest::addColumn<int>("boostLabels");
    QTest::addColumn<int>("hops");

    QTest::newRow("no boost options") << 0 << false << false << 0 << 0;
    QTest::newRow("boost pins tied to the supplies") << 1 << false << false << 2 << 2;
    QTest::newRow("boost supplies in use") << 1 << true << false << 2 << 0;
    QTest::newRow("bridge, tied") << 1 << false << true << 4 << 4;
    QTest::newRow("bridge, no boost options") << 0 << false << true << 0 << 0;
}

void TestSupplySchematic::boostPins()
{
    QFETCH(int, boostOptions);
    QFETCH(bool, boostSup);
    QFETCH(bool, bridge);
    QFETCH(int, boostLabels);
    QFETCH(int, hops);
    Input in = seriesLoad(1000, 0, inf);
    in.boostOptions = boostOptions;
    in.boostSup = boostSup;
    in.bridge = bridge;
    in.bridgeSame = bridge;
    in.vbPos = QStringLiteral("60");
    in.vbNeg = QStringLiteral("-60");
    const soa::SupplySchematic s = soa::layoutSupplySchematic(in);
    int count = 0;
    for (const soa::SchLabel &l : s.labels)
        count += l.role == L::PosBoost || l.role == L::NegBoost || l.role == L::PosBoost2 ||
                 l.role == L::NegBoost2;
    QCOMPARE(count, boostLabels);
    QCOMPARE(strokesOf(s, soa::SchPrimitive::Jhor).size(), hops);
    if (boostOptions > 0) {
        QCOMPARE(label(s, L::PosBoost)->caption, QStringLiteral("+V_B ="));
        QCOMPARE(label(s, L::PosBoost)->value, QStringLiteral("60"));
        // Left of their pins' bars (50 to 150), away from the supplies' values above theirs.
        QCOMPARE(label(s, L::PosBoost)->pos, QPointF(-20, 900));
        QCOMPARE(label(s, L::PosBoost)->align, Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(label(s, L::NegBoost)->caption, QStringLiteral("-V_B ="));
        QCOMPARE(label(s, L::NegBoost)->pos, QPointF(-20, -900));
        if (bridge) {
            // The mirrored amplifier's stand right of its bars.
            QCOMPARE(label(s, L::PosBoost2)->pos, QPointF(s.xR + 20, 900));
            QCOMPARE(label(s, L::PosBoost2)->align, Qt::AlignLeft | Qt::AlignVCenter);
            QCOMPARE(label(s, L::NegBoost2)->pos, QPointF(s.xR + 20, -900));
        }
    }
    if (hops > 0)
        QCOMPARE(strokesOf(s, soa::SchPrimitive::Jhor).first(), QStringLiteral("Jhor 300 600 50"));
}

void TestSupplySchematic::badParallelCount()
{
    // A count that is no number reads 0: still one amplifier, not an empty drawing.
    Input in = seriesLoad(1000, 0, inf);
    in.parallel = 0;
    const soa::SupplySchematic s = soa::layoutSupplySchematic(in);
    QCOMPARE(strokesOf(s, soa::SchPrimitive::PA), QStringList{"PA 0 0"});
    QCOMPARE(s.yL, 0.0);
}

void TestSupplySchematic::labelsStandClear_data()
{
    QTest::addColumn<int>("example"); // 0: the home page's button and the part below
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("bridge");
    QTest::addColumn<bool>("boostSupplies");
    QTest::addColumn<int>("parallel");
    QTest::addColumn<QString>("load"); // empty: the page's own
    QTest::addColumn<int>("points");
    QTest::addColumn<QSize>("size");
    // An empty size: the smallest window the page allows.
    const QList<QPair<int, QSize>> screens = {
        {10, QSize(1366, 720)}, {12, QSize(1536, 864)}, {10, QSize(1920, 1080)}, {10, QSize()}};
    for (const auto &screen : screens) {
        const QString at = screen.second.isEmpty()
                               ? QStringLiteral(", %1 pt, smallest window").arg(screen.first)
                               : QStringLiteral(", %1 pt, %2x%3")
                                     .arg(screen.first)
                                     .arg(screen.second.width())
                                     .arg(screen.second.height());
        // newRow copies the name while the text it comes from still stands.
        const auto row = [&](const QString &name) -> QTestData & {
            return QTest::newRow(qPrintable(name + at));
        };
        for (int n : {49, 64, 65})
            row(QStringLiteral("example %1").arg(n))
                << n << QString() << false << false << 1 << QString() << screen.first
                << screen.second;
        struct Setting
        {
            const char *name;
            bool bridge, boost;
            int parallel;
            const char *load;
        };
        for (const Setting &c :
             {Setting{"KW321", false, false, 1, ""},
              Setting{"KW321, boost supplies", false, true, 1, ""},
              Setting{"KW321, bridge", true, false, 1, ""},
              Setting{"KW321, bridge, boost supplies", true, true, 1, ""},
              Setting{"KW321, bridge, boost supplies, 3 in parallel", true, true, 3, ""},
              Setting{"KW321, 3 in parallel, parallel R-L-C", false, true, 3, "RLC"},
              Setting{"KW321, bridge, boost supplies, DC motor", true, true, 1, "motor"}})
            row(QLatin1String(c.name))
                << 0 << "KW321" << c.bridge << c.boost << c.parallel << QString(c.load)
                << screen.first << screen.second;
    }
}

// Reached as the user does, each value of the supply schematic stands clear of every other text
// and of the drawing; in a bridge the second amplifier's negative supply reads whole, its minus
// included, apart from the boost value beside it.
void TestSupplySchematic::labelsStandClear()
{
    QFETCH(int, example);
    QFETCH(QString, part);
    QFETCH(bool, bridge);
    QFETCH(bool, boostSupplies);
    QFETCH(int, parallel);
    QFETCH(QString, load);
    QFETCH(int, points);
    QFETCH(QSize, size);
    const auto window = schematicwindow::windowAt(points, size);
    MainWindow &w = *window;
    if (example) {
        schematicwindow::nextToExample(w, example);
    } else {
        w.ui->SOAbutton->click();
        w.ui->AmpSelecterSOA->setCurrentText(part);
        w.ui->NumParallel->setValue(parallel);
        if (bridge) w.ui->BridgeCheckBox->setChecked(true);
        if (load == QLatin1String("motor")) {
            w.ui->loadTypeBox->setCurrentText(QStringLiteral("DC Motor"));
        } else if (load == QLatin1String("RLC")) {
            w.ui->SOA_parallel->click();
            w.ui->SOA_Rload->setText(QStringLiteral("8"));
            w.ui->SOA_Lload->setText(QStringLiteral("1m"));
            w.ui->SOA_Cload->setText(QStringLiteral("1u"));
        }
        if (boostSupplies) {
            w.boostSup = true;
            w.SOAVb_pos = QStringLiteral("60");
            w.SOAVb_neg = QStringLiteral("-60");
        }
        w.refreshSOA();
    }
    QCOMPARE(w.ui->Page->currentIndex(), 2);
    QCustomPlot *plot = w.ui->SOAsch;
    if (size.isEmpty()) {
        schematicwindow::showTabOf(plot);
        w.resize(1, 1); // the window keeps its minimum size
        windowtest::settle();
    }
    else
        QCOMPARE(w.size(), size); // the schematic's room takes none beyond the screen
    const QStringList faults = schematicwindow::schematicFaults(plot);
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults").arg(faults.size())));
    QVERIFY(plotcheck::smallestPoints(plot) >= 7 - 1e-9);

    if (bridge && boostSupplies) {
        QCPItemText *supply = w.SOAschLabels[int(L::NegSupply2)];
        QCPItemText *boost = w.SOAschLabels[int(L::NegBoost2)];
        QVERIFY(supply && boost);
        QVERIFY2(supply->text().startsWith(QStringLiteral("-V_S =")), qPrintable(supply->text()));
        QVERIFY(!schem::glyphBox(supply).intersects(schem::glyphBox(boost)));
    }
}

QTEST_MAIN(TestSupplySchematic)
#include "tst_supplyschematic.moc"
