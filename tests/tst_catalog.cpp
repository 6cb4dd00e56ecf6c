// Part catalog: the table tokenizer, the five readers, the records and the lookups by name and
// by old index. The fixtures in data/catalog/ follow the shipped layout (see make_fixtures.py);
// the edge cases that need odd tables write their own small ones.
#include "app/mainwindow.h"
#include "app/resources.h"
#include "catalog/amp.h"
#include "catalog/catalogtable.h"
#include "catalog/heatsink.h"
#include "catalog/packagestyle.h"
#include "catalog/partlists.h"
#include "catalog/pwm.h"

#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <type_traits>

using DoubleList = QVector<double>;

// The window's catalog members keep the names and signatures other pages and design files use.
static_assert(std::is_same_v<decltype(&MainWindow::findLinear), amp (MainWindow::*)(QString)>);
static_assert(std::is_same_v<decltype(&MainWindow::findSwitching), pwm (MainWindow::*)(QString)>);
static_assert(std::is_same_v<decltype(&MainWindow::ampVectorIndex), int (MainWindow::*)(QString)>);
static_assert(
    std::is_same_v<decltype(&MainWindow::interpretPackage), QString (MainWindow::*)(QString)>);
static_assert(std::is_same_v<decltype(&MainWindow::interpretPackageFullDesc),
                             QString (MainWindow::*)(QString)>);
static_assert(
    std::is_same_v<decltype(&MainWindow::beforeV7IndextoAmpName), QString (MainWindow::*)(int)>);
static_assert(
    std::is_same_v<decltype(&MainWindow::beforeV7IndextoPwmName), QString (MainWindow::*)(int)>);
static_assert(
    std::is_same_v<decltype(&MainWindow::beforeV7IndextoHostName), QString (MainWindow::*)(int)>);
static_assert(std::is_same_v<decltype(&MainWindow::loadPartLists), void (MainWindow::*)()>);
static_assert(std::is_same_v<decltype(MainWindow::ampVector), QVector<amp>>);
static_assert(std::is_same_v<decltype(MainWindow::hostVector), QVector<amp>>);
static_assert(std::is_same_v<decltype(MainWindow::pwmVector), QVector<pwm>>);
static_assert(std::is_same_v<decltype(MainWindow::heatsinkVector), QVector<heatsink>>);
static_assert(std::is_same_v<decltype(MainWindow::packageVector), QVector<packageStyle>>);

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(AMPWRIGHT_TEST_DATA "/catalog/") + QLatin1String(name);
}

QVector<amp> linearFixture(bool includePreReleased)
{
    QVector<amp> list;
    amp().readFile(list, includePreReleased, fixture("LinearAmpData.txt"));
    return list;
}

QVector<amp> hostFixture()
{
    QVector<amp> list;
    amp().readHostFile(list, fixture("HostAmpData.txt"));
    return list;
}

QVector<pwm> pwmFixture(int outputsFilter, bool includePreReleased)
{
    QVector<pwm> list;
    pwm().readFile(list, outputsFilter, includePreReleased, fixture("PWMAmpData.txt"));
    return list;
}

QVector<heatsink> heatsinkFixture()
{
    QVector<heatsink> list;
    heatsink().readFile(list, fixture("Heatsinks.txt"));
    return list;
}

QVector<packageStyle> packageFixture()
{
    QVector<packageStyle> list;
    packageStyle().readFile(list, fixture("PackageStyles.txt"));
    return list;
}

template <class Record> QStringList namesOf(const QVector<Record> &list)
{
    QStringList names;
    for (const Record &record : list)
        names << record.getAmpName();
    return names;
}

DoubleList listOf(const amp &a, const QString &column)
{
    if (column == "Pd_max") return a.listPd_max();
    if (column == "boost") return a.listBoost();
    if (column == "Ccomp") return a.listCcomp();
    if (column == "Rcomp") return a.listRcomp();
    if (column == "slewRate") return a.listSlewRate();
    if (column == "pole1") return a.listPole1();
    if (column == "pole2") return a.listPole2();
    if (column == "pole3") return a.listPole3();
    if (column == "VswingA") return a.listVswingA();
    if (column == "VswingB") return a.listVswingB();
    if (column == "VswingC") return a.listVswingC();
    qFatal("no list column %s", qPrintable(column));
}

enum class Reader { Linear, Host, Pwm, Heatsink, Package };

} // namespace

Q_DECLARE_METATYPE(Reader)

class TestCatalog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void realCell_data();
    void realCell();
    void wholeAndFlagCells_data();
    void wholeAndFlagCells();
    void cutting_data();
    void cutting();

    void defaultsAndClear();
    void linearLists_data();
    void linearLists();
    void linearSingleValues();
    void linearReleasedFilter();
    void listGettersOutOfRange();
    void hostTable();
    void pwmFilters_data();
    void pwmFilters();
    void pwmValues();
    void heatsinkPackages();
    void packageTable();
    void oddLinearTables_data();
    void oddLinearTables();
    void rereadingReplaces_data();
    void rereadingReplaces();
    void missingTable_data();
    void missingTable();
    void tableFit();
    void shippedTablesFit_data();
    void shippedTablesFit();

    void findByName_data();
    void findByName();
    void findSwitchingByName();
    void packageLookup_data();
    void packageLookup();
    void oldIndex_data();
    void oldIndex();
    void emptyLists();

private:
    QString writeTable(const QByteArray &bytes);

    QTemporaryDir tempDir;
    int tempCount = 0;
};

void TestCatalog::initTestCase()
{
    // The platform 8-bit codec here is UTF-8, under which byte 0xB5 alone is no character:
    // make sure of it, so that a reader decoding with it shows in the micro-sign checks.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    initAmpwrightResources();
    QVERIFY(tempDir.isValid());
}

QString TestCatalog::writeTable(const QByteArray &bytes)
{
    const QString path = tempDir.filePath(QStringLiteral("table%1.txt").arg(++tempCount));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    return path;
}

// ---------------------------------------------------------------------------------- tokenizer

void TestCatalog::realCell_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<double>("value");
    QTest::newRow("placeholder NA") << "NA" << 0.0;
    QTest::newRow("placeholder N") << "N" << 0.0;
    QTest::newRow("placeholder ?") << "?" << 0.0;
    QTest::newRow("exponent") << "1E-11" << 1e-11;
    QTest::newRow("blanks around") << " 5 " << 5.0;
    QTest::newRow("signed decimal") << "-1.7" << -1.7;
    QTest::newRow("leading point") << "+.5" << 0.5;
    QTest::newRow("group separator") << "1,000" << 0.0;
    QTest::newRow("decimal comma") << "0,5" << 0.0;
    QTest::newRow("trailing unit") << "5V" << 0.0;
    QTest::newRow("inf is no number") << "inf" << 0.0;
    QTest::newRow("nan is no number") << "nan" << 0.0;
    QTest::newRow("overflow") << "1e999" << 0.0;
}

void TestCatalog::realCell()
{
    QFETCH(QString, cell);
    QFETCH(double, value);
    QCOMPARE(catalog::realValue(cell), value);
}

void TestCatalog::wholeAndFlagCells_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("whole");
    QTest::addColumn<int>("flag");
    QTest::addColumn<bool>("preReleased");
    QTest::newRow("minus one") << "-1" << -1 << 0 << false;
    QTest::newRow("not whole") << "1.5" << 0 << 0 << false;
    QTest::newRow("NA") << "NA" << 0 << 0 << false;
    QTest::newRow("too large") << "99999999999" << 0 << 0 << false;
    QTest::newRow("Y") << "Y" << 0 << 1 << false;
    QTest::newRow("lower-case y") << "y" << 0 << 0 << false;
    QTest::newRow("Y with blank") << "Y " << 0 << 0 << false;
    QTest::newRow("INPUT") << "INPUT" << 0 << 0 << false;
    QTest::newRow("N") << "N" << 0 << 0 << true;
    QTest::newRow("lower-case n") << "n" << 0 << 0 << false;
    QTest::newRow("N with blank") << "N " << 0 << 0 << false;
    QTest::newRow("No") << "No" << 0 << 0 << false;
}

void TestCatalog::wholeAndFlagCells()
{
    QFETCH(QString, cell);
    QFETCH(int, whole);
    QFETCH(int, flag);
    QFETCH(bool, preReleased);
    QCOMPARE(catalog::wholeValue(cell), whole);
    QCOMPARE(catalog::flagValue(cell), flag);
    QCOMPARE(catalog::isPreReleasedCell(cell), preReleased);
}

void TestCatalog::cutting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QVector<QStringList>>("rows");
    const QStringList ab{"a", "b"};
    QTest::newRow("LF") << "a\tb\n1\t2\n" << ab << QVector<QStringList>{{"1", "2"}};
    QTest::newRow("CR LF: no CR in the last cell") << "a\tb\r\n1\t2\r\n"
                                                   << ab << QVector<QStringList>{{"1", "2"}};
    QTest::newRow("empty lines between rows")
        << "a\tb\r\n\r\n1\t2\r\n\n\r\n3\t4" << ab << QVector<QStringList>{{"1", "2"}, {"3", "4"}};
    QTest::newRow("spacer and reserved cells dropped") << "a\t\t\tb\r\n1\t\t2\t\r\n"
                                                       << ab << QVector<QStringList>{{"1", "2"}};
    QTest::newRow("blanks inside cells kept") << "a\tb\r\nN \t 2\r\n"
                                              << ab << QVector<QStringList>{{"N ", " 2"}};
    QTest::newRow("line of tabs is no row") << "a\tb\r\n\t\t\r\n1\t2\r\n"
                                            << ab << QVector<QStringList>{{"1", "2"}};
    QTest::newRow("header only") << "a\tb\r\n" << ab << QVector<QStringList>{};
    QTest::newRow("empty text") << "" << QStringList{} << QVector<QStringList>{};
}

void TestCatalog::cutting()
{
    QFETCH(QString, text);
    QFETCH(QStringList, header);
    QFETCH(QVector<QStringList>, rows);
    const catalog::Table table = catalog::parseTable(text);
    QCOMPARE(table.header, header);
    QCOMPARE(table.rows, rows);
}

// ---------------------------------------------------------------------------------- records

void TestCatalog::defaultsAndClear()
{
    const QString home = QString::fromLatin1(catalog::makerHomePage);

    const amp a;
    QCOMPARE(a.getAmpName(), QString("LX20"));
    QCOMPARE(a.getChannels(), 1);
    QCOMPARE(a.getPreV6Index(), -1);
    QCOMPARE(a.getPSGstatus(), 1);
    QCOMPARE(a.getSiteLink(), home);
    QCOMPARE(a.getVss_max(), 0.0);
    QCOMPARE(a.getSROptions(), 0);
    QCOMPARE(a.getBoostOptions(), 0);
    QCOMPARE(a.getMgradeAvailable(), 0);
    QCOMPARE(a.getPackageStyle(), QString());
    QCOMPARE(a.getCircuitType(), QString());
    QVERIFY(a.listPd_max().isEmpty());
    QVERIFY(a.listVswingC().isEmpty());
    amp readA = linearFixture(true).at(1);
    QVERIFY(readA != a);
    readA.clear();
    QVERIFY(readA == a);

    const pwm p;
    QCOMPARE(p.getAmpName(), QString("NV20"));
    QCOMPARE(p.getOutputs(), 2);
    QCOMPARE(p.getPSGstatus(), 1);
    QCOMPARE(p.getPreV6Index(), 0);
    QCOMPARE(p.getErrorAmp(), false);
    QCOMPARE(p.getSiteLink(), home);
    QCOMPARE(p.getRamp(), QString());
    QCOMPARE(p.topResistance(25), 0.0);
    pwm readP = pwmFixture(0, true).at(2);
    QVERIFY(readP != p);
    readP.clear();
    QVERIFY(readP == p);

    const heatsink h;
    QCOMPARE(h.getName(), QString("TK20"));
    QCOMPARE(h.getNumPackages(), 0);
    QCOMPARE(h.getDrawingLink(), home);
    QVERIFY(h.listPackages().isEmpty());
    heatsink readH = heatsinkFixture().at(2);
    QVERIFY(readH != h);
    readH.clear();
    QVERIFY(readH == h);

    const packageStyle s;
    QCOMPARE(s.getCode(), QString());
    packageStyle readS = packageFixture().at(0);
    QVERIFY(readS != s);
    readS.clear();
    QVERIFY(readS == s);
}

void TestCatalog::linearLists_data()
{
    QTest::addColumn<int>("row"); // in the list with pre-released parts
    QTest::addColumn<QString>("column");
    QTest::addColumn<DoubleList>("values");
    QTest::newRow("one channel") << 0 << "Pd_max" << DoubleList{125};
    QTest::newRow("two channels") << 1 << "Pd_max" << DoubleList{40, 38};
    QTest::newRow("four channels") << 4 << "Pd_max" << DoubleList{12, 12, 12, 12};
    QTest::newRow("no channel takes no cell") << 2 << "Pd_max" << DoubleList{};
    QTest::newRow("boost count 0 drops its cell") << 0 << "boost" << DoubleList{};
    QTest::newRow("boost count 1") << 1 << "boost" << DoubleList{10};
    // The boost cell dropped for a count of 0 must not shift the option lists.
    QTest::newRow("one option Ccomp") << 0 << "Ccomp" << DoubleList{0};
    QTest::newRow("one option pole2") << 0 << "pole2" << DoubleList{3e6};
    QTest::newRow("four options Ccomp") << 1 << "Ccomp" << DoubleList{0, 4.7, 10, 33};
    QTest::newRow("four options Rcomp") << 1 << "Rcomp" << DoubleList{0, 1000, 2200, 4700};
    QTest::newRow("four options slewRate") << 1 << "slewRate" << DoubleList{50, 30, 20, 8};
    QTest::newRow("four options pole1") << 1 << "pole1" << DoubleList{5, 6, 7, 8};
    QTest::newRow("four options pole2") << 1 << "pole2" << DoubleList{2e6, 1.5e6, 1e6, 5e5};
    QTest::newRow("four options pole3") << 1 << "pole3" << DoubleList{8e6, 7e6, 6e6, 5e6};
    QTest::newRow("two options after no channel") << 2 << "Ccomp" << DoubleList{2.2, 6.8};
    QTest::newRow("swing C without boost") << 0 << "VswingC" << DoubleList{2.1};
    QTest::newRow("swing A without boost") << 0 << "VswingA" << DoubleList{0.01};
    // Table and getters run C, B, A while the record declares A, B, C.
    QTest::newRow("swing C with boost") << 1 << "VswingC" << DoubleList{5, 1.5};
    QTest::newRow("swing B with boost") << 1 << "VswingB" << DoubleList{0.4, 0.3};
    QTest::newRow("swing A with boost") << 1 << "VswingA" << DoubleList{0.02, 0.015};
}

void TestCatalog::linearLists()
{
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(DoubleList, values);
    const QVector<amp> list = linearFixture(true);
    QCOMPARE(list.size(), 5);
    QCOMPARE(listOf(list.at(row), column), values);
}

void TestCatalog::linearSingleValues()
{
    const QVector<amp> list = linearFixture(true);
    QCOMPARE(namesOf(list), QStringList({"LXA", "LXB", "LXC", "LXA", "LXD"}));

    const amp &lxa = list.at(0);
    QCOMPARE(lxa.getVss_max(), 100.0);
    QCOMPARE(lxa.getI_os(), 0.0); // "NA"
    QCOMPARE(lxa.getI_bias(), 20e-12);
    QCOMPARE(lxa.getCLint(), 0.0);     // "N": no internal limit
    QCOMPARE(lxa.getRtheta_AC(), 0.0); // "?"
    QCOMPARE(lxa.getSRboost(), 0);
    QCOMPARE(lxa.getAol_DC(), 108.0);
    QCOMPARE(lxa.getZout(), 25.0);
    QCOMPARE(lxa.getCircuitType(), QString("normal"));
    QCOMPARE(lxa.getPulse3(), QString("NA"));
    QCOMPARE(lxa.getPulse_slope(), -1.3);
    QCOMPARE(lxa.getSiteLink(), QString("https://www.kestvoltrane.example/parts/lxa"));
    QCOMPARE(lxa.getPreV6Index(), 3);
    QCOMPARE(lxa.getMgradeAvailable(), 0);
    // The micro sign is the single byte 0xB5 in the table.
    QCOMPARE(lxa.getPulse1(), QString("100") + QChar(0x00B5) + "s");

    const amp &lxb = list.at(1);
    QCOMPARE(lxb.getChannels(), 2);
    QCOMPARE(lxb.getBoostOptions(), 1);
    QCOMPARE(lxb.getSROptions(), 4);
    QCOMPARE(lxb.getSRboost(), 1);
    QCOMPARE(lxb.getCLint(), 0.05);
    QCOMPARE(lxb.getCfb(), 1e-11);
    QCOMPARE(lxb.getCircuitType(), QString("LXA"));
    QCOMPARE(lxb.getPSGstatus(), 2);
    QCOMPARE(lxb.getPreV6Index(), 7);
    QCOMPARE(lxb.getInputs(), QString("both"));
    QCOMPARE(lxb.getRelative_price(), 48.5);

    const amp &lxc = list.at(2);
    QCOMPARE(lxc.getChannels(), 0);
    QCOMPARE(lxc.getSRboost(), 0); // "INPUT"
    QCOMPARE(lxc.getIq_max(), 26.0);
    QCOMPARE(lxc.getMgradeAvailable(), 1);

    QCOMPARE(list.at(4).getVss_max(), 1200.0);
    QCOMPARE(list.at(4).getPackageStyle(), QString("DK"));
}

void TestCatalog::linearReleasedFilter()
{
    QCOMPARE(namesOf(linearFixture(false)), QStringList({"LXA", "LXC", "LXA", "LXD"}));

    const QByteArray allPreReleased = "ampName\treleased?\tVss_max\r\n"
                                      "LXP\tN\t40\r\nLXQ\tN\t60\r\n";
    const QString path = writeTable(allPreReleased);
    QVector<amp> list;
    amp().readFile(list, false, path);
    QVERIFY(list.isEmpty());
    amp().readFile(list, true, path);
    QCOMPARE(namesOf(list), QStringList({"LXP", "LXQ"}));
}

void TestCatalog::listGettersOutOfRange()
{
    const amp empty;
    QCOMPARE(empty.getPd_max(0), 0.0);
    QCOMPARE(empty.getBoost(0), 0.0);
    QCOMPARE(empty.getSlewRate(0), 0.0);
    QCOMPARE(empty.getVswingC(0), 0.0);
    const amp lxb = linearFixture(true).at(1);
    QCOMPARE(lxb.getPd_max(1), 38.0);
    QCOMPARE(lxb.getPd_max(2), 0.0);
    QCOMPARE(lxb.getPd_max(-1), 0.0);
    QCOMPARE(lxb.getCcomp(3), 33.0);
    QCOMPARE(lxb.getCcomp(4), 0.0);
    QCOMPARE(lxb.getRcomp(-5), 0.0);
    QCOMPARE(lxb.getPole3(1000000), 0.0);
    QCOMPARE(lxb.getVswingA(1), 0.015);
    QCOMPARE(lxb.getVswingA(2), 0.0);
    const heatsink tk21 = heatsinkFixture().at(0);
    QCOMPARE(tk21.getPackage(2), QString("CD"));
    QCOMPARE(tk21.getPackage(3), QString());
    QCOMPARE(tk21.getPackage(-1), QString());
}

void TestCatalog::hostTable()
{
    const QVector<amp> hosts = hostFixture();
    QCOMPARE(namesOf(hosts), QStringList({"HOP1", "HOP2", "HOP3"}));

    // channels stands behind Pd_max in the host table, so Pd_max takes the default count 1.
    const amp &hop1 = hosts.at(0);
    QCOMPARE(hop1.getChannels(), 2);
    QCOMPARE(hop1.listPd_max(), DoubleList{0.5});
    QCOMPARE(hop1.getIq_max(), 1.5);
    QCOMPARE(hop1.getCLint(), 0.025);
    QCOMPARE(hop1.getRtheta_JA(), 160.0);

    const amp &hop2 = hosts.at(1);
    QCOMPARE(hop2.listCcomp(), DoubleList({0, 30}));
    QCOMPARE(hop2.listSlewRate(), DoubleList({2, 0.5}));
    QCOMPARE(hop2.listPole1(), DoubleList({3, 1}));
    QCOMPARE(hop2.getZout(), 60.0);
    QCOMPARE(hop2.getPreV6Index(), 1);
    // Columns the host table lacks keep their defaults.
    QVERIFY(hop2.listRcomp().isEmpty());
    QCOMPARE(hop2.getPSGstatus(), 1);
    QCOMPARE(hop2.getIq_vF(), 0.0);
    QCOMPARE(hop2.getCircuitType(), QString());
    QCOMPARE(hop2.getInputs(), QString());
    QCOMPARE(hop2.getSiteLink(), QString::fromLatin1(catalog::makerHomePage));
    QCOMPARE(hop2.getClassBias(), QString("?"));
}

void TestCatalog::pwmFilters_data()
{
    QTest::addColumn<int>("outputsFilter");
    QTest::addColumn<bool>("includePreReleased");
    QTest::addColumn<QStringList>("names");
    // NVC is pre-released with three outputs; NVD's "released?" is "No" and its outputs "NA".
    QTest::newRow("all types, released") << 0 << false << QStringList{"NVA", "NVB", "NVD"};
    QTest::newRow("all types, pre-released too")
        << 0 << true << QStringList{"NVA", "NVB", "NVC", "NVD"};
    QTest::newRow("half bridge") << 1 << false << QStringList{"NVA"};
    QTest::newRow("full bridge") << 2 << true << QStringList{"NVB"};
    QTest::newRow("three phase, released") << 3 << false << QStringList{};
    QTest::newRow("three phase, pre-released too") << 3 << true << QStringList{"NVC"};
}

void TestCatalog::pwmFilters()
{
    QFETCH(int, outputsFilter);
    QFETCH(bool, includePreReleased);
    QFETCH(QStringList, names);
    QCOMPARE(namesOf(pwmFixture(outputsFilter, includePreReleased)), names);
}

void TestCatalog::pwmValues()
{
    const QVector<pwm> list = pwmFixture(0, true);
    QCOMPARE(list.size(), 4);
    const pwm &nva = list.at(0);
    QCOMPARE(nva.getOutputs(), 1);
    QCOMPARE(nva.getErrorAmp(), true);
    QCOMPARE(nva.getPreV6Index(), 4);
    QCOMPARE(nva.getVs_max(), 100.0);
    QCOMPARE(nva.getVcc_nom(), 12.0);
    QCOMPARE(nva.getIq_Vs_vsS(), 0.05);
    QCOMPARE(nva.getT_rise(), 20.0);
    QCOMPARE(nva.getT_fall(), 25.0);
    QCOMPARE(nva.getIq_Vcc(), 30.0);
    QCOMPARE(nva.getFsw_max(), 500.0);
    QCOMPARE(nva.getRamp(), QString("Fixed"));
    QCOMPARE(nva.getPositiveDC(), QString("A"));
    QCOMPARE(nva.getOutputTech(), QString("nFET"));
    QCOMPARE(nva.getMaxDutyCycle(), 0.95);
    QCOMPARE(nva.getRtheta_JC_diode(), 2.0);
    QCOMPARE(nva.getRelative_price(), 65.0);
    // The table writes top_V before top_wire; columns are found by name.
    QCOMPARE(nva.getTop_V(), 0.0);
    QCOMPARE(nva.getTop_wire(), 0.005);
    QCOMPARE(nva.getBot_V(), 0.1);
    QCOMPARE(nva.getBot_wire(), 0.004);
    QCOMPARE(nva.getI_sense_pins(), 2);
    QCOMPARE(nva.getSiteLink(), QString("https://www.kestvoltrane.example/parts/nva"));
    // top_A 0.0001, top_B 0.01, top_C 0.1: 0.1, 0.0625 + 0.25 + 0.1, 1 + 1 + 0.1.
    QCOMPARE(nva.topResistance(0), 0.1);
    QCOMPARE(nva.topResistance(25), 0.4125);
    QCOMPARE(nva.topResistance(100), 2.1);
    // bot_A 0.0002, bot_B 0.02, bot_C 0.2 at 25 °C: 0.125 + 0.5 + 0.2.
    QCOMPARE(nva.bottomResistance(25), 0.825);

    const pwm &nvb = list.at(1);
    QCOMPARE(nvb.getI_pk(), 0.0); // "NA"
    QCOMPARE(nvb.getErrorAmp(), false);
    QCOMPARE(nvb.getPreV6Index(), -1);
    QCOMPARE(nvb.getRamp(), QString("Digital"));
    QCOMPARE(nvb.getPositiveDC(), QString("NA"));

    QCOMPARE(list.at(2).getErrorAmp(), false); // "NA"
    QCOMPARE(list.at(2).getRamp(), QString("VccDep"));
    QCOMPARE(list.at(3).getOutputs(), 0);     // "NA"
    QCOMPARE(list.at(3).getErrorAmp(), true); // "2": any whole number but 0
    QCOMPARE(list.at(3).getFsw_min(), list.at(3).getFsw_max());
}

void TestCatalog::heatsinkPackages()
{
    const QVector<heatsink> list = heatsinkFixture();
    QCOMPARE(list.size(), 3);

    const heatsink &tk21 = list.at(0);
    QCOMPARE(tk21.getName(), QString("TK21"));
    QCOMPARE(tk21.getNumPackages(), 3);
    QCOMPARE(tk21.listPackages(), QStringList({"CE", "CC", "CD"}));
    QCOMPARE(tk21.getFreeAirTheta(), 2.1);
    QCOMPARE(tk21.getHeight(), 1.2);
    QCOMPARE(tk21.getWeight(), 5.5);
    // The values after the codes come from the cells after the last code.
    QCOMPARE(tk21.getA(), 1.6);
    QCOMPARE(tk21.getB(), -0.005);
    QCOMPARE(tk21.getC(), 0.4);
    QCOMPARE(tk21.getRelative_price(), 22.0);
    QCOMPARE(tk21.getDrawingLink(), QString("https://www.kestvoltrane.example/drawings/tk21"));

    // No package: one placeholder cell is skipped.
    const heatsink &tk22 = list.at(1);
    QCOMPARE(tk22.getNumPackages(), 0);
    QVERIFY(tk22.listPackages().isEmpty());
    QCOMPARE(tk22.getA(), 0.9);
    QCOMPARE(tk22.getC(), 0.4);

    const heatsink &water = list.at(2);
    QVERIFY(water.getName().contains("H2O"));
    QCOMPARE(water.getNumPackages(), 10);
    QCOMPARE(water.getPackage(9), QString("OF"));
    QCOMPARE(water.getA(), 0.08);
    QCOMPARE(water.getDrawingLink(), QString("https://www.kestvoltrane.example/drawings/tk21"));
}

void TestCatalog::packageTable()
{
    const QVector<packageStyle> list = packageFixture();
    QCOMPARE(list.size(), 3);
    QCOMPARE(list.at(1).getCode(), QString("DK"));
    QCOMPARE(list.at(1).getShortDesc(), QString("PSOP"));
    QCOMPARE(list.at(1).getFullDesc(), QString("20-pin power SOP"));
}

void TestCatalog::oddLinearTables_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<double>("firstVss_max");
    QTest::addColumn<DoubleList>("firstPd_max");
    QTest::addColumn<double>("firstIq_max");

    QTest::newRow("short row keeps the missing fields at their defaults")
        << QByteArray("ampName\tVss_max\tchannels\tPd_max\tIq_max\r\nLXS\t50\r\n")
        << QStringList{"LXS"} << 50.0 << DoubleList{} << 0.0;
    QTest::newRow("count larger than the row")
        << QByteArray("ampName\tVss_max\tchannels\tPd_max\tIq_max\r\nLXH\t50\t2000000000\t1\t2\r\n")
        << QStringList{"LXH"} << 50.0 << DoubleList{1, 2} << 0.0;
    QTest::newRow("negative count takes no cell")
        << QByteArray("ampName\tchannels\tPd_max\tIq_max\r\nLXN\t-3\t7\r\n") << QStringList{"LXN"}
        << 0.0 << DoubleList{} << 7.0;
    QTest::newRow("count column after its list uses the default count")
        << QByteArray("ampName\tPd_max\tchannels\tIq_max\r\nLXL\t5\t3\t9\r\n") << QStringList{"LXL"}
        << 0.0 << DoubleList{5} << 9.0;
    QTest::newRow("swapped columns")
        << QByteArray("Iq_max\tchannels\tPd_max\tampName\tVss_max\r\n4\t2\t8\t9\tLXW\t60\r\n")
        << QStringList{"LXW"} << 60.0 << DoubleList{8, 9} << 4.0;
    QTest::newRow("unknown column with a cell")
        << QByteArray("ampName\tNotes\tVss_max\r\nLXU\tspare\t70\r\n") << QStringList{"LXU"} << 70.0
        << DoubleList{} << 0.0;
    QTest::newRow("extra cells ignored") << QByteArray("ampName\tVss_max\r\nLXE\t80\t1\t2\t3\r\n")
                                         << QStringList{"LXE"} << 80.0 << DoubleList{} << 0.0;
    QTest::newRow("LF only, blank lines and a line of tabs")
        << QByteArray("\n\nampName\tVss_max\n\n\t\t\nLX1\t10\n\nLX2\t20")
        << QStringList{"LX1", "LX2"} << 10.0 << DoubleList{} << 0.0;
    QTest::newRow("header without rows")
        << QByteArray("ampName\tVss_max\r\n") << QStringList{} << 0.0 << DoubleList{} << 0.0;
    QTest::newRow("empty table") << QByteArray() << QStringList{} << 0.0 << DoubleList{} << 0.0;
}

void TestCatalog::oddLinearTables()
{
    QFETCH(QByteArray, table);
    QFETCH(QStringList, names);
    QFETCH(double, firstVss_max);
    QFETCH(DoubleList, firstPd_max);
    QFETCH(double, firstIq_max);

    QVector<amp> list;
    amp().readFile(list, false, writeTable(table));
    QCOMPARE(namesOf(list), names);
    if (list.isEmpty()) return;
    QCOMPARE(list.at(0).getVss_max(), firstVss_max);
    QCOMPARE(list.at(0).listPd_max(), firstPd_max);
    QCOMPARE(list.at(0).getIq_max(), firstIq_max);
}

void TestCatalog::rereadingReplaces_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::newRow("linear") << Reader::Linear;
    QTest::newRow("host") << Reader::Host;
    QTest::newRow("pwm") << Reader::Pwm;
    QTest::newRow("heatsink") << Reader::Heatsink;
    QTest::newRow("package style") << Reader::Package;
}

void TestCatalog::rereadingReplaces()
{
    QFETCH(Reader, reader);
    switch (reader) {
    case Reader::Linear: {
        const QVector<amp> once = linearFixture(true);
        QVector<amp> twice = once;
        amp().readFile(twice, true, fixture("LinearAmpData.txt"));
        QCOMPARE(twice, once);
        // Switching pre-released parts off again gives back the shorter list.
        amp().readFile(twice, false, fixture("LinearAmpData.txt"));
        QCOMPARE(twice, linearFixture(false));
        break;
    }
    case Reader::Host: {
        QVector<amp> list = hostFixture();
        amp().readHostFile(list, fixture("HostAmpData.txt"));
        QCOMPARE(list, hostFixture());
        break;
    }
    case Reader::Pwm: {
        QVector<pwm> list = pwmFixture(0, true);
        pwm().readFile(list, 0, true, fixture("PWMAmpData.txt"));
        QCOMPARE(list, pwmFixture(0, true));
        break;
    }
    case Reader::Heatsink: {
        QVector<heatsink> list = heatsinkFixture();
        heatsink().readFile(list, fixture("Heatsinks.txt"));
        QCOMPARE(list, heatsinkFixture());
        break;
    }
    case Reader::Package: {
        QVector<packageStyle> list = packageFixture();
        packageStyle().readFile(list, fixture("PackageStyles.txt"));
        QCOMPARE(list, packageFixture());
        break;
    }
    }
}

void TestCatalog::missingTable_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("debugLine");
    QTest::newRow("linear") << Reader::Linear << "Could not open Linear Amp File";
    QTest::newRow("host") << Reader::Host << "Could not open Host Amp File";
    QTest::newRow("pwm") << Reader::Pwm << "Could not open PWM Amp File";
    QTest::newRow("heatsink") << Reader::Heatsink << "Could not open Heatsink File";
    QTest::newRow("package style") << Reader::Package << "Could not open Package Style File";
}

void TestCatalog::missingTable()
{
    QFETCH(Reader, reader);
    QFETCH(QString, debugLine);
    const QString missing = tempDir.filePath("no such table.txt");
    QTest::ignoreMessage(QtDebugMsg, qPrintable(debugLine));
    // Each list starts full: a failed reading must not leave the old rows behind.
    switch (reader) {
    case Reader::Linear: {
        QVector<amp> list = linearFixture(true);
        amp().readFile(list, true, missing);
        QVERIFY(list.isEmpty());
        break;
    }
    case Reader::Host: {
        QVector<amp> list = hostFixture();
        amp().readHostFile(list, missing);
        QVERIFY(list.isEmpty());
        break;
    }
    case Reader::Pwm: {
        QVector<pwm> list = pwmFixture(0, true);
        pwm().readFile(list, 0, true, missing);
        QVERIFY(list.isEmpty());
        break;
    }
    case Reader::Heatsink: {
        QVector<heatsink> list = heatsinkFixture();
        heatsink().readFile(list, missing);
        QVERIFY(list.isEmpty());
        break;
    }
    case Reader::Package: {
        QVector<packageStyle> list = packageFixture();
        packageStyle().readFile(list, missing);
        QVERIFY(list.isEmpty());
        break;
    }
    }
}

void TestCatalog::tableFit()
{
    for (const char *name : {"LinearAmpData.txt", "HostAmpData.txt"}) {
        const catalog::TableFit fit = catalog::checkTable<amp>(fixture(name));
        QVERIFY2(fit.opened && fit.rows > 0 && fit.misfits.isEmpty(), name);
        QVERIFY2(fit.unknownColumns.isEmpty(), name);
    }
    QVERIFY(catalog::checkTable<pwm>(fixture("PWMAmpData.txt")).misfits.isEmpty());
    QVERIFY(catalog::checkTable<heatsink>(fixture("Heatsinks.txt")).misfits.isEmpty());
    QVERIFY(catalog::checkTable<packageStyle>(fixture("PackageStyles.txt")).misfits.isEmpty());

    // An empty single-valued cell vanishes and shifts the row; a count that asks for more
    // cells than the row has; a stray cell at the end; a misspelt column name.
    const QString path = writeTable("ampName\tVss_max\tchannels\tPd_max\tIq_max\r\n"
                                    "LXOK\t50\t2\t10\t10\t3\r\n"
                                    "LXGAP\t\t2\t10\t10\t3\r\n"
                                    "LXMORE\t50\t3\t10\t10\t3\r\n"
                                    "LXEXTRA\t50\t1\t10\t3\t1\r\n");
    catalog::TableFit fit = catalog::checkTable<amp>(path);
    QVERIFY(fit.opened);
    QCOMPARE(fit.rows, 4);
    QCOMPARE(fit.misfits.size(), 3);
    QCOMPARE(fit.misfits.at(0).firstCell, QString("LXGAP"));
    QCOMPARE(fit.misfits.at(0).row, 2);
    QCOMPARE(fit.misfits.at(0).cells, 5);
    // The cell 10 meant for Pd_max became the channel count.
    QCOMPARE(fit.misfits.at(0).consumed, qint64(14));
    QCOMPARE(fit.misfits.at(1).firstCell, QString("LXMORE"));
    QCOMPARE(fit.misfits.at(2).firstCell, QString("LXEXTRA"));

    fit = catalog::checkTable<amp>(writeTable("ampName\tVss_Max\r\nLX1\t5\r\n"));
    QCOMPARE(fit.unknownColumns, QStringList{"Vss_Max"});
    QVERIFY(!catalog::checkTable<amp>(tempDir.filePath("missing.txt")).opened);
}

void TestCatalog::shippedTablesFit_data()
{
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("path");
    QTest::newRow("linear") << Reader::Linear << catalog::linearTablePath;
    QTest::newRow("host") << Reader::Host << catalog::hostTablePath;
    QTest::newRow("pwm") << Reader::Pwm << catalog::pwmTablePath;
    QTest::newRow("heatsink") << Reader::Heatsink << catalog::heatsinkTablePath;
    QTest::newRow("package style") << Reader::Package << catalog::packageTablePath;
}

void TestCatalog::shippedTablesFit()
{
    QFETCH(Reader, reader);
    QFETCH(QString, path);
    if (!QFile::exists(path)) QSKIP("the catalog tables are not compiled in");

    catalog::TableFit fit;
    switch (reader) {
    case Reader::Linear:
    case Reader::Host:
        fit = catalog::checkTable<amp>(path);
        break;
    case Reader::Pwm:
        fit = catalog::checkTable<pwm>(path);
        break;
    case Reader::Heatsink:
        fit = catalog::checkTable<heatsink>(path);
        break;
    case Reader::Package:
        fit = catalog::checkTable<packageStyle>(path);
        break;
    }
    QVERIFY(fit.opened);
    QVERIFY(fit.rows > 0);
    QStringList problems;
    for (const catalog::RowFit &row : qAsConst(fit.misfits))
        problems << QStringLiteral("row %1 (%2): %3 cells, header takes %4")
                        .arg(row.row)
                        .arg(row.firstCell)
                        .arg(row.cells)
                        .arg(row.consumed);
    for (const QString &name : qAsConst(fit.unknownColumns))
        problems << QStringLiteral("unknown column \"%1\"").arg(name);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

// ---------------------------------------------------------------------------------- lookups

void TestCatalog::findByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("found"); // position of the record returned
    QTest::addColumn<int>("index"); // ampVectorIndex
    // The list without pre-released parts: LXA, LXC, LXA (Vss_max 999), LXD.
    QTest::newRow("first record") << "LXA" << 0 << 0;
    QTest::newRow("later record") << "LXD" << 3 << 3;
    QTest::newRow("letter case differs") << "lxd" << 0 << 4;
    QTest::newRow("trailing blank") << "LXD " << 0 << 4;
    QTest::newRow("pre-released part left out") << "LXB" << 0 << 4;
    QTest::newRow("empty name") << "" << 0 << 4;
}

void TestCatalog::findByName()
{
    QFETCH(QString, name);
    QFETCH(int, found);
    QFETCH(int, index);
    const QVector<amp> list = linearFixture(false);
    QCOMPARE(catalog::findLinear(list, name), list.at(found));
    QCOMPARE(catalog::ampVectorIndex(list, name), index);
    // Of two records with one name the first wins.
    QCOMPARE(catalog::findLinear(list, "LXA").getVss_max(), 100.0);
}

void TestCatalog::findSwitchingByName()
{
    const QVector<pwm> list = pwmFixture(0, false);
    QCOMPARE(catalog::findSwitching(list, "NVD"), list.at(2));
    QCOMPARE(catalog::findSwitching(list, "NVC").getAmpName(), QString("NVA"));
    QCOMPARE(catalog::findSwitching(list, "nvd").getAmpName(), QString("NVA"));
    QCOMPARE(catalog::findSwitching(pwmFixture(0, true), "NVC").getAmpName(), QString("NVC"));
}

void TestCatalog::packageLookup_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("shortDesc");
    QTest::addColumn<QString>("fullDesc");
    QTest::newRow("first of two entries") << "CE"
                                          << "TO-3"
                                          << "8-pin TO-3";
    QTest::newRow("second code") << "DK"
                                 << "PSOP"
                                 << "20-pin power SOP";
    QTest::newRow("lower case") << "ce"
                                << "-"
                                << "-";
    QTest::newRow("trailing blank") << "CE "
                                    << "-"
                                    << "-";
    QTest::newRow("empty code") << ""
                                << "-"
                                << "-";
    QTest::newRow("unknown code") << "ZZ"
                                  << "-"
                                  << "-";
}

void TestCatalog::packageLookup()
{
    QFETCH(QString, code);
    QFETCH(QString, shortDesc);
    QFETCH(QString, fullDesc);
    const QVector<packageStyle> list = packageFixture();
    QCOMPARE(catalog::interpretPackage(list, code), shortDesc);
    QCOMPARE(catalog::interpretPackageFullDesc(list, code), fullDesc);
}

void TestCatalog::oldIndex_data()
{
    QTest::addColumn<Reader>("list");
    QTest::addColumn<bool>("includePreReleased");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    // Linear old indices: LXA 3, LXB 7 (pre-released), LXC 7, LXA 3, LXD -1.
    QTest::newRow("linear, first record") << Reader::Linear << false << 3 << "LXA";
    QTest::newRow("linear, pre-released left out") << Reader::Linear << false << 7 << "LXC";
    QTest::newRow("linear, earlier of two") << Reader::Linear << true << 7 << "LXB";
    QTest::newRow("linear, -1 is an index like any") << Reader::Linear << false << -1 << "LXD";
    QTest::newRow("linear, unknown gives the last") << Reader::Linear << true << 42 << "LXD";
    // Host old indices: HOP1 0, HOP2 1, HOP3 2.
    QTest::newRow("host, third record") << Reader::Host << false << 2 << "HOP3";
    QTest::newRow("host, index only a linear part has") << Reader::Host << false << 7 << "HOP3";
    QTest::newRow("host, first record") << Reader::Host << false << 0 << "HOP1";
    // PWM old indices: NVA 4, NVB -1, NVC 9 (pre-released), NVD -1.
    QTest::newRow("pwm, first record") << Reader::Pwm << false << 4 << "NVA";
    QTest::newRow("pwm, earlier of two") << Reader::Pwm << false << -1 << "NVB";
    QTest::newRow("pwm, pre-released left out") << Reader::Pwm << false << 9 << "NVD";
    QTest::newRow("pwm, pre-released included") << Reader::Pwm << true << 9 << "NVC";
    QTest::newRow("pwm, the record default 0") << Reader::Pwm << true << 0 << "NVD";
}

void TestCatalog::oldIndex()
{
    QFETCH(Reader, list);
    QFETCH(bool, includePreReleased);
    QFETCH(int, index);
    QFETCH(QString, name);
    switch (list) {
    case Reader::Linear:
        QCOMPARE(catalog::beforeV7IndexToName(linearFixture(includePreReleased), index), name);
        break;
    case Reader::Host:
        QCOMPARE(catalog::beforeV7IndexToName(hostFixture(), index), name);
        break;
    case Reader::Pwm:
        QCOMPARE(catalog::beforeV7IndexToName(pwmFixture(0, includePreReleased), index), name);
        break;
    default:
        QFAIL("no old indices in this list");
    }
}

void TestCatalog::emptyLists()
{
    // A table that cannot be opened leaves its list empty; no lookup may read a record that
    // is not there.
    const QVector<amp> noAmps;
    const QVector<pwm> noPwms;
    const QVector<packageStyle> noStyles;
    QCOMPARE(catalog::findLinear(noAmps, "LXA"), amp());
    QCOMPARE(catalog::findLinear(noAmps, ""), amp());
    QCOMPARE(catalog::findSwitching(noPwms, "NVA"), pwm());
    QCOMPARE(catalog::ampVectorIndex(noAmps, "LXA"), 0);
    QCOMPARE(catalog::interpretPackage(noStyles, "CE"), QString("-"));
    QCOMPARE(catalog::interpretPackageFullDesc(noStyles, "CE"), QString("-"));
    QCOMPARE(catalog::beforeV7IndexToName(noAmps, 3), QString());
    QCOMPARE(catalog::beforeV7IndexToName(noAmps, -1), QString());
    QCOMPARE(catalog::beforeV7IndexToName(noPwms, 0), QString());
}

QTEST_GUILESS_MAIN(TestCatalog)
#include "tst_catalog.moc"
