// The catalog tables as shipped: their bytes, their header rows, the cells of every row, and
// the parts that pages and worked examples name, with the properties those pages rely on.
//
// The cell checks read the tables on their own, without the catalog readers: an empty cell in a
// single-valued column is dropped when a row is cut and moves every later value of the row one
// column to the left, and the readers cannot notice that. Here every row must use exactly the
// cells it has, and every value must stand in its own column.
#include "app/resources.h"
#include "catalog/amp.h"
#include "catalog/catalogtable.h"
#include "catalog/heatsink.h"
#include "catalog/packagestyle.h"
#include "catalog/partlists.h"
#include "catalog/pwm.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <cmath>

namespace {

const char *const linearPath = ":/KestLinear/LinearAmpData.txt";
const char *const hostPath = ":/KestLinear/HostAmpData.txt";
const char *const pwmPath = ":/KestLinear/PWMAmpData.txt";
const char *const heatsinkPath = ":/KestLinear/Heatsinks.txt";
const char *const packagePath = ":/KestLinear/PackageStyles.txt";

QStringList repeated(const QString &cell, int n)
{
    QStringList cells;
    for (int i = 0; i < n; ++i)
        cells << cell;
    return cells;
}

// The header rows cell for cell; "" is a spacer or a column reserved for further values of the
// multi-valued column before it.
// clang-format off
QStringList linearHeader()
{
    const QString s;
    return QStringList{"ampName", "released?", "Vss_max", "Vss_min", "I_cont", "I_pk",
                       "channels", "Pd_max", s, s, s, "Iq_max", "Iq_vF", s,
                       "V_cm", "V_os", "I_os", "I_bias", s, "packageStyle", s,
                       "boostOptions", "SRboost", "SROptions", "boost"}
        + QStringList{"Ccomp"} + repeated(s, 5) + QStringList{"Rcomp"} + repeated(s, 5)
        + QStringList{"slewRate"} + repeated(s, 5)
        + QStringList{"PBW", "GBWP", "Aol_DC"}
        + QStringList{"pole1"} + repeated(s, 5) + QStringList{"pole2"} + repeated(s, 5)
        + QStringList{"pole3"} + repeated(s, 5)
        + QStringList{"Zout", "Cfb", "Rfb", "Rin", "CircuitType", s,
                      "Vbe", "CLint", "Rb", "Rfoldover", s,
                      "Tc_max", "Tj_max", "Rtheta_DC", "Rtheta_AC", "Rtheta_JA", s,
                      "SB_slope", "SB_V", "pulse1", "pulse1_V", "pulse2", "pulse2_V",
                      "pulse3", "pulse3_V", "Tc_soa", "pulse_slope",
                      "VswingC", s, "VswingB", s, "VswingA", s, s,
                      "UGS", "Inputs", "Loads", "classBias", "relative_price", "SiteLink",
                      "PreV6Index", "PSGstatus", "MgradeAvailable"};
}

QStringList hostHeader()
{
    const QString s;
    return QStringList{"ampName", "Vss_max", "Vss_min", "I_cont", "I_pk", "Pd_max", "Iq_max", s,
                       "V_cm", "V_os", "I_os", "I_bias", s, "channels", "packageStyle", s,
                       "boostOptions", "SRboost", "SROptions", "boost", "Ccomp", "slewRate",
                       "PBW", "GBWP", "Aol_DC", "pole1", "pole2", "pole3", "Zout", s,
                       "Vbe", "CLint", "Rb", "Rfoldover", s,
                       "Tc_max", "Tj_max", "Rtheta_DC", "Rtheta_AC", "Rtheta_JA", s,
                       "SB_slope", "SB_V", "pulse1", "pulse1_V", "pulse2", "pulse2_V",
                       "pulse3", "pulse3_V", "Tc_soa", "pulse_slope",
                       "VswingC", s, "VswingB", s, "VswingA", s, s,
                       "UGS", "classBias", "PreV6Index"};
}

QStringList pwmHeader()
{
    const QString s;
    return QStringList{"ampName", "released?", "Vs_max", "Vs_nom", "Vs_min",
                       "Vcc_max", "Vcc_nom", "Vcc_min", s,
                       "I_cont", "I_pk", "Pd_max", s,
                       "Iq_Vs", "Iq_Vs_vsF", "Iq_Vs_vsS", "t_rise", "t_fall", s,
                       "Iq_Vcc", "Iq_Vcc_vsF", s,
                       "V_cm_min", "V_cm_max", "V_os", "I_os", "I_bias", s,
                       "outputs", "packageStyle", s,
                       "Fsw_min", "Fsw_nom", "Fsw_max", "Ramp", "Ramp_Vpp", "Ramp_Mid",
                       "PositiveDC", "OutputTech", "Rdiode", "Vdiode", "MaxDutyCycle", s,
                       "Tc_max", "Tj_max", "Rtheta_DC", "Rtheta_JA", "Rtheta_JC_diode", s,
                       "relative_price", s,
                       "top_A", "top_B", "top_C", "top_V", "top_wire",
                       "bot_A", "bot_B", "bot_C", "bot_V", "bot_wire", "SiteLink", s,
                       "I_sense_pins", "ErrorAmp", "PreV6Index", "PSGstatus", "MgradeAvailable"};
}

QStringList heatsinkHeader()
{
    return QStringList{"Name", "FreeAirTheta", "Length", "Width", "Height", "Weight", "AAVID",
                       "numPackages", "packages"}
        + repeated(QString(), 9)
        + QStringList{"A", "B", "C", "relative_price", "drawingLink"};
}
// clang-format on

QStringList packageHeader()
{
    return {"Code", "shortDesc", "fullDesc"};
}

// The counted columns, the count each takes its length from, and whether a count of 0 still
// takes one (placeholder) cell.
enum class Count { Channels, BoostOptions, BoostOptionsPlusOne, SROptions, NumPackages };

struct ListColumn
{
    Count count;
    bool placeholderAtZero;
};

const QHash<QString, ListColumn> &listColumns()
{
    static const QHash<QString, ListColumn> columns{
        {"Pd_max", {Count::Channels, false}},
        {"boost", {Count::BoostOptions, true}},
        {"Ccomp", {Count::SROptions, false}},
        {"Rcomp", {Count::SROptions, false}},
        {"slewRate", {Count::SROptions, false}},
        {"pole1", {Count::SROptions, false}},
        {"pole2", {Count::SROptions, false}},
        {"pole3", {Count::SROptions, false}},
        {"VswingC", {Count::BoostOptionsPlusOne, false}},
        {"VswingB", {Count::BoostOptionsPlusOne, false}},
        {"VswingA", {Count::BoostOptionsPlusOne, false}},
        {"packages", {Count::NumPackages, true}},
    };
    return columns;
}

// The count fields with the values a fresh record holds before its row is read.
struct Counts
{
    int channels = 1;
    int boostOptions = 0;
    int srOptions = 0;
    int numPackages = 0;

    // A count cell that is not a whole number reads as 0, as the readers read it.
    void take(const QString &name, const QString &cell)
    {
        bool ok = false;
        int value = cell.toInt(&ok, 10);
        if (!ok) value = 0;
        if (name == QLatin1String("channels"))
            channels = value;
        else if (name == QLatin1String("boostOptions"))
            boostOptions = value;
        else if (name == QLatin1String("SROptions"))
            srOptions = value;
        else if (name == QLatin1String("numPackages"))
            numPackages = value;
    }

    int cellsFor(const ListColumn &column) const
    {
        int n = 0;
        switch (column.count) {
        case Count::Channels:
            n = channels;
            break;
        case Count::BoostOptions:
            n = boostOptions;
            break;
        case Count::BoostOptionsPlusOne:
            n = boostOptions + 1;
            break;
        case Count::SROptions:
            n = srOptions;
            break;
        case Count::NumPackages:
            n = numPackages;
            break;
        }
        if (n == 0 && column.placeholderAtZero) return 1;
        return qMax(0, n);
    }
};

QStringList nonEmpty(const QStringList &cells)
{
    QStringList kept;
    for (const QString &cell : cells)
        if (!cell.isEmpty()) kept << cell;
    return kept;
}

// The cells a row asks for when its header names are visited in order, read the way the
// catalog readers read it: empty cells already dropped, every list as long as its count at the
// moment the list is reached.
int cellsWanted(const QStringList &names, const QStringList &cells)
{
    Counts counts;
    int at = 0;
    for (const QString &name : names) {
        const auto list = listColumns().constFind(name);
        if (list != listColumns().constEnd()) {
            at += counts.cellsFor(*list);
        } else {
            if (at < cells.size()) counts.take(name, cells.at(at));
            ++at;
        }
    }
    return at;
}

// Where a row breaks the column layout: a value outside its column, an empty single-valued
// cell, a list that is longer or shorter than its count or than the columns reserved for it.
// Empty when the row is sound. rawHeader and rawRow keep their empty cells.
QString layoutFault(const QStringList &rawHeader, const QStringList &rawRow)
{
    if (rawRow.size() != rawHeader.size())
        return QString("%1 cells for %2 columns").arg(rawRow.size()).arg(rawHeader.size());
    Counts counts;
    for (int i = 0; i < rawHeader.size();) {
        const QString &name = rawHeader.at(i);
        if (name.isEmpty()) {
            if (!rawRow.at(i).isEmpty())
                return QString("a value \"%1\" in spacer column %2").arg(rawRow.at(i)).arg(i);
            ++i;
            continue;
        }
        const auto list = listColumns().constFind(name);
        if (list == listColumns().constEnd()) {
            const QString &cell = rawRow.at(i);
            if (cell.isEmpty()) return QString("empty cell under %1").arg(name);
            if (cell.trimmed() != cell)
                return QString("blanks around \"%1\" under %2").arg(cell, name);
            counts.take(name, cell);
            ++i;
            continue;
        }
        int width = 1;
        while (i + width < rawHeader.size() && rawHeader.at(i + width).isEmpty())
            ++width;
        const int n = counts.cellsFor(*list);
        if (n > width)
            return QString("%1 needs %2 cells but has %3 columns").arg(name).arg(n).arg(width);
        for (int k = 0; k < width; ++k) {
            const QString &cell = rawRow.at(i + k);
            if (k < n && (cell.isEmpty() || cell.trimmed() != cell))
                return QString("value %1 of %2 is \"%3\"").arg(k + 1).arg(name, cell);
            if (k >= n && !cell.isEmpty())
                return QString("%1 holds more than %2 values").arg(name).arg(n);
        }
        i += width;
    }
    return QString();
}

QByteArray readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

// Lines without their CR LF, each cut at every TAB with empty cells kept.
QVector<QStringList> rawLines(const QByteArray &bytes)
{
    QVector<QStringList> lines;
    for (const QString &line : QString::fromLatin1(bytes).split(QStringLiteral("\r\n"))) {
        if (!line.isEmpty()) lines << line.split(QLatin1Char('\t'));
    }
    return lines;
}

void addTableRows()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("header");
    QTest::newRow("linear amplifiers") << QString(linearPath) << linearHeader();
    QTest::newRow("host op-amps") << QString(hostPath) << hostHeader();
    QTest::newRow("PWM amplifiers") << QString(pwmPath) << pwmHeader();
    QTest::newRow("heatsinks") << QString(heatsinkPath) << heatsinkHeader();
    QTest::newRow("package styles") << QString(packagePath) << packageHeader();
}

// A property of a named part as the pages read it, by a short key.
QVariant linearProperty(const amp &part, const QString &key)
{
    const bool limitInput = part.getVbe() > 0.0001 && part.getCLint() <= 0.0001;
    const QHash<QString, QVariant> values{
        {"Inputs", part.getInputs()},
        {"Loads", part.getLoads()},
        {"CircuitType", part.getCircuitType()},
        {"packageStyle", part.getPackageStyle()},
        {"SROptions", part.getSROptions()},
        {"boostOptions", part.getBoostOptions()},
        {"SRboost", part.getSRboost()},
        {"channels", part.getChannels()},
        {"PSGstatus", part.getPSGstatus()},
        {"Vss_max", part.getVss_max()},
        {"I_cont", part.getI_cont()},
        {"I_pk", part.getI_pk()},
        {"slew rate of option 0", part.getSlewRate(0)},
        {"slew rate of option 1", part.getSlewRate(1)},
        {"external current limit", limitInput},
        {"foldover", limitInput && part.getRb() > 0 && part.getRfoldover() > 0},
    };
    return values.value(key);
}

QVariant pwmProperty(const pwm &part, const QString &key)
{
    const QHash<QString, QVariant> values{
        {"outputs", part.getOutputs()},       {"Ramp", part.getRamp()},
        {"Ramp_Vpp", part.getRamp_Vpp()},     {"Ramp_Mid", part.getRamp_Mid()},
        {"PositiveDC", part.getPositiveDC()}, {"packageStyle", part.getPackageStyle()},
        {"Vs_max", part.getVs_max()},         {"Vs_min", part.getVs_min()},
        {"Vcc_min", part.getVcc_min()},       {"Vcc_nom", part.getVcc_nom()},
        {"Vcc_max", part.getVcc_max()},       {"Fsw_min", part.getFsw_min()},
        {"Fsw_max", part.getFsw_max()},       {"I_cont", part.getI_cont()},
    };
    return values.value(key);
}

// "=" and "!=" compare as text (so 2 equals "2"), ">=" and "<=" as numbers.
bool holds(const QVariant &actual, const QString &relation, const QVariant &expected)
{
    if (!actual.isValid()) return false;
    if (relation == QLatin1String(">=")) return actual.toDouble() >= expected.toDouble();
    if (relation == QLatin1String("<=")) return actual.toDouble() <= expected.toDouble();
    if (relation == QLatin1String("!=")) return actual.toString() != expected.toString();
    return actual.toString() == expected.toString();
}

template <class Record> const Record *named(const QVector<Record> &list, const QString &name)
{
    for (const Record &record : list)
        if (record.getAmpName() == name) return &record;
    return nullptr;
}

// The thermal resistance a heatsink reaches under the flow the heatsink selector judges it at.
double forcedTheta(const heatsink &sink)
{
    const double flow = sink.getName().contains("H2O") ? 4.0 : 1000.0;
    return sink.getA() * std::exp(sink.getB() * flow) + sink.getC();
}

bool fits(const heatsink &sink, const QString &code)
{
    for (int i = 0; i < sink.getNumPackages(); ++i)
        if (sink.getPackage(i) == code) return true;
    return false;
}

const QString micro = QString(QChar(0xB5));

// One row of the named-part tables: part, property key, relation and expected value.
void propertyRow(const QString &tag, const char *part, const char *property, const char *relation,
                 const QVariant &expected)
{
    QTest::newRow(qPrintable(tag))
        << QString(part) << QString(property) << QString(relation) << expected;
}
} // namespace

class TestCatalogData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void bytes_data();
    void bytes();
    void headerRow_data();
    void headerRow();
    void rowsConsumeTheirCells_data();
    void rowsConsumeTheirCells();
    void cellsStandInTheirColumns_data();
    void cellsStandInTheirColumns();
    void checksCatchAShiftedRow_data();
    void checksCatchAShiftedRow();
    void readersTakeEveryCell_data();
    void readersTakeEveryCell();

    void namedLinearParts_data();
    void namedLinearParts();
    void namedPwmParts_data();
    void namedPwmParts();
    void variantsStandBeforeTheirMainPart();
    void preReleasedPartsOnlyOnRequest();
    void hostOpAmps();
    void pwmCatalogCoversEveryKind();
    void heatsinksForTheWorkedExamples_data();
    void heatsinksForTheWorkedExamples();
    void heatsinkTable();
    void packageCodes();
    void partNames();
    void linearValuesAreConsistent();
    void pwmValuesAreConsistent();

private:
    QVector<amp> linear;    // as at start-up: pre-released parts left out
    QVector<amp> linearAll; // with the pre-released parts
    QVector<amp> hosts;
    QVector<pwm> pwms;
    QVector<pwm> pwmsAll;
    QVector<heatsink> heatsinks;
    QVector<packageStyle> packages;
};

void TestCatalogData::initTestCase()
{
    initAmpwrightResources();
    catalog::loadPartLists(linear, hosts, pwms, packages, heatsinks);
    amp().readFile(linearAll, true);
    pwm().readFile(pwmsAll, 0, true);
    QVERIFY(!linear.isEmpty() && !hosts.isEmpty() && !pwms.isEmpty());
    QVERIFY(!heatsinks.isEmpty() && !packages.isEmpty());
}

void TestCatalogData::bytes_data()
{
    addTableRows();
}

// 8-bit text: ASCII apart from the micro sign 0xB5, CR LF after every line, no empty line.
void TestCatalogData::bytes()
{
    QFETCH(QString, path);
    const QByteArray bytes = readResource(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path));
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY2(!bytes.contains("\r\n\r\n"), "an empty line");
    for (int i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        const QByteArray where = QByteArray::number(i);
        QVERIFY2(byte == '\t' || byte == '\r' || byte == '\n' || (byte >= 0x20 && byte < 0x7F) ||
                     byte == 0xB5,
                 "unexpected byte at offset " + where);
        if (byte == '\n')
            QVERIFY2(i > 0 && bytes.at(i - 1) == '\r', "LF without CR at offset " + where);
        if (byte == '\r')
            QVERIFY2(i + 1 < bytes.size() && bytes.at(i + 1) == '\n',
                     "CR without LF at offset " + where);
    }
}

void TestCatalogData::headerRow_data()
{
    addTableRows();
}

void TestCatalogData::headerRow()
{
    QFETCH(QString, path);
    QFETCH(QStringList, header);
    const QVector<QStringList> lines = rawLines(readResource(path));
    QVERIFY(lines.size() > 1);
    QCOMPARE(lines.first(), header);
}

void TestCatalogData::rowsConsumeTheirCells_data()
{
    addTableRows();
}

// Cut the way the readers cut: empty cells dropped, then consumed by header name and count.
void TestCatalogData::rowsConsumeTheirCells()
{
    QFETCH(QString, path);
    QFETCH(QStringList, header);
    const QVector<QStringList> lines = rawLines(readResource(path));
    QVERIFY(lines.size() > 1);
    const QStringList names = nonEmpty(lines.first());
    for (int r = 1; r < lines.size(); ++r) {
        const QStringList cells = nonEmpty(lines.at(r));
        const int wanted = cellsWanted(names, cells);
        QVERIFY2(wanted == cells.size(),
                 qPrintable(QString("row %1 (%2): %3 cells, header and counts take %4")
                                .arg(r)
                                .arg(cells.value(0))
                                .arg(cells.size())
                                .arg(wanted)));
    }
}

void TestCatalogData::cellsStandInTheirColumns_data()
{
    addTableRows();
}

// Stricter than the readers need: every value under its own column, so the table stays
// readable in a spreadsheet and a fault is reported at the cell where it is.
void TestCatalogData::cellsStandInTheirColumns()
{
    QFETCH(QString, path);
    const QVector<QStringList> lines = rawLines(readResource(path));
    QVERIFY(lines.size() > 1);
    for (int r = 1; r < lines.size(); ++r) {
        const QString fault = layoutFault(lines.first(), lines.at(r));
        QVERIFY2(fault.isEmpty(),
                 qPrintable(QString("row %1 (%2): %3").arg(r).arg(lines.at(r).value(0), fault)));
    }
}

void TestCatalogData::checksCatchAShiftedRow_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("consumptionSeesIt");

    // A dropped cell shifts the row: the reader sees one cell too few.
    QTest::newRow("empty Vss_min") << QString("Vss_min") << QString("") << true;
    QTest::newRow("empty CircuitType") << QString("CircuitType") << QString("") << true;
    // The boost column takes its placeholder even when the part has no boost supplies.
    QTest::newRow("no boost placeholder") << QString("boost") << QString("") << true;
    // A count that disagrees with the cells written under its lists.
    QTest::newRow("one option more than written") << QString("SROptions") << QString("5") << true;
    QTest::newRow("count that is no number") << QString("channels") << QString("one") << true;
    // Blanks make "N " differ from "N": the readers keep them, the layout check refuses them.
    QTest::newRow("blank after a placeholder") << QString("CLint") << QString("N ") << false;
}

// A fixture from the shipped linear table with one cell spoiled: the checks must object.
void TestCatalogData::checksCatchAShiftedRow()
{
    QFETCH(QString, column);
    QFETCH(QString, cell);
    QFETCH(bool, consumptionSeesIt);

    const QVector<QStringList> lines = rawLines(readResource(linearPath));
    QVERIFY(lines.size() > 1);
    const QStringList header = lines.first();
    QStringList row;
    for (int r = 1; r < lines.size() && row.isEmpty(); ++r) {
        // a part with four options and no boost, so that each spoiling changes something
        if (lines.at(r).at(header.indexOf("SROptions")) == QLatin1String("4") &&
            lines.at(r).at(header.indexOf("boostOptions")) == QLatin1String("0"))
            row = lines.at(r);
    }
    QVERIFY(!row.isEmpty());
    QVERIFY(layoutFault(header, row).isEmpty());
    QCOMPARE(cellsWanted(nonEmpty(header), nonEmpty(row)), nonEmpty(row).size());

    row[header.indexOf(column)] = cell;
    QVERIFY(!layoutFault(header, row).isEmpty());
    QCOMPARE(cellsWanted(nonEmpty(header), nonEmpty(row)) != nonEmpty(row).size(),
             consumptionSeesIt);
}

void TestCatalogData::readersTakeEveryCell_data()
{
    QTest::addColumn<int>("table");
    QTest::newRow("linear amplifiers") << 0;
    QTest::newRow("host op-amps") << 1;
    QTest::newRow("PWM amplifiers") << 2;
    QTest::newRow("heatsinks") << 3;
    QTest::newRow("package styles") << 4;
}

// The readers' own account of the same rule: every row uses exactly the cells it has.
void TestCatalogData::readersTakeEveryCell()
{
    QFETCH(int, table);
    catalog::TableFit fit;
    switch (table) {
    case 0:
        fit = catalog::checkTable<amp>(linearPath);
        break;
    case 1:
        fit = catalog::checkTable<amp>(hostPath);
        break;
    case 2:
        fit = catalog::checkTable<pwm>(pwmPath);
        break;
    case 3:
        fit = catalog::checkTable<heatsink>(heatsinkPath);
        break;
    default:
        fit = catalog::checkTable<packageStyle>(packagePath);
        break;
    }
    QVERIFY(fit.opened);
    QVERIFY(fit.rows > 0);
    for (const catalog::RowFit &row : qAsConst(fit.misfits))
        QFAIL(qPrintable(QString("row %1 (%2): %3 cells, %4 taken")
                             .arg(row.row)
                             .arg(row.firstCell)
                             .arg(row.cells)
                             .arg(row.consumed)));
}

void TestCatalogData::namedLinearParts_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("relation");
    QTest::addColumn<QVariant>("expected");

    // Parts the pages select at start: the selector label, the SOA, stability and pump pages.
    propertyRow("LX21 on the linear selector", "LX21", "Vss_max", ">=", QVariant(1));
    propertyRow("LX30A on the SOA page", "LX30A", "Vss_max", ">=", QVariant(1));
    propertyRow("LX27 on the stability page", "LX27", "SROptions", ">=", QVariant(1));
    propertyRow("LX26 drives the current pump", "LX26", "Inputs", "=", QVariant("both"));
    propertyRow("LX58 drives the current pump", "LX58", "Inputs", "=", QVariant("both"));
    for (const char *name : {"LX21", "LX22", "LX24", "LX25"})
        propertyRow(QString("%1 takes both inputs").arg(name), name, "Inputs", "=",
                    QVariant("both"));

    // Tutorial 1: a piezo at +-200 V and 10 kHz, 180 V peak, with compensation option 1.
    propertyRow("LX49 takes +-200 V", "LX49", "Vss_max", ">=", QVariant(400));
    propertyRow("LX49 has option 1", "LX49", "SROptions", ">=", QVariant(2));
    propertyRow("LX49A has option 1", "LX49A", "SROptions", ">=", QVariant(2));
    propertyRow("LX49 option 1 slews 2 pi 10 kHz 180 V", "LX49", "slew rate of option 1",
                ">=", QVariant(11.3));
    propertyRow("LX49 takes R_CL", "LX49", "external current limit", "=", QVariant(true));
    // Tutorial 2: the composite amplifier with OP07, both input configurations, option 3,
    // "foil" as heatsink.
    propertyRow("LX356DF has option 3", "LX356DF", "SROptions", ">=", QVariant(4));
    propertyRow("LX356DF takes both inputs", "LX356DF", "Inputs", "=", QVariant("both"));
    propertyRow("LX356DF sits on foil", "LX356DF", "packageStyle", "=", QVariant("DF"));
    propertyRow("LX356DF takes +-60 V", "LX356DF", "Vss_max", ">=", QVariant(120));
    propertyRow("LX356DF takes R_CL", "LX356DF", "external current limit", "=", QVariant(true));
    // Tutorials 3 to 5: audio into 4 ohm, a coil and a capacitive load.
    propertyRow("LX22 takes +-18 V", "LX22", "Vss_max", ">=", QVariant(36));
    propertyRow("LX22 gives 14 V into 4 ohm", "LX22", "I_cont", ">=", QVariant(3.5));
    propertyRow("LX26 takes +-40 V", "LX26", "Vss_max", ">=", QVariant(80));
    propertyRow("LX26 drives inductive loads", "LX26", "Loads", "=", QVariant("all"));
    propertyRow("LX26 takes R_CL", "LX26", "external current limit", "=", QVariant(true));
    // Boost supplies that the examples set equal to the supplies.
    propertyRow("KW20 has boost supplies", "KW20", "boostOptions", "=", QVariant(1));
    propertyRow("KW20 takes +-48 V", "KW20", "Vss_max", ">=", QVariant(96));
    propertyRow("KW20 gives 6 A", "KW20", "I_cont", ">=", QVariant(6));
    propertyRow("KW321 has boost supplies", "KW321", "boostOptions", "=", QVariant(1));
    propertyRow("KW321 takes 130 V and -10 V", "KW321", "Vss_max", ">=", QVariant(140));
    propertyRow("KW321 rises 120 V in 1 us", "KW321", "slew rate of option 0", ">=", QVariant(120));
    propertyRow("KW321 takes both inputs", "KW321", "Inputs", "=", QVariant("both"));
    // The foldover resistor's status tip names these parts.
    for (const char *name : {"LX29", "LX30", "LX31", "LX24", "LX25", "KW321", "KW328", "KW335"})
        propertyRow(QString("%1 has foldover").arg(name), name, "foldover", "=", QVariant(true));
    // Parts with their own current-limit treatment on the SOA page.
    for (const char *name :
         {"LX33", "LX33A", "LX43", "LX44", "LX60", "LX60A", "LX61", "LX61A", "LX300", "LX307",
          "LX307A", "KW307", "KW307A", "KW314", "KW349", "KW363"})
        propertyRow(QString("%1 exists").arg(name), name, "Vss_max", ">=", QVariant(1));
    // One part of every circuit type the stability schematic draws.
    propertyRow("GZ20 circuit", "GZ20", "CircuitType", "=", QVariant("GZ20"));
    propertyRow("GZ23 circuit", "GZ23", "CircuitType", "=", QVariant("GZ23"));
    propertyRow("KW314 circuit", "KW314", "CircuitType", "=", QVariant("KW314"));
    propertyRow("KW363 has the KW314 circuit", "KW363", "CircuitType", "=", QVariant("KW314"));
    propertyRow("KW349 circuit", "KW349", "CircuitType", "=", QVariant("KW349"));
    propertyRow("KW314 may run composite", "KW314", "Inputs", "!=", QVariant("inv"));
    propertyRow("KW349 may run composite", "KW349", "Inputs", "!=", QVariant("inv"));
    propertyRow("a normal part", "LX27", "CircuitType", "=", QVariant("normal"));
}

void TestCatalogData::namedLinearParts()
{
    QFETCH(QString, part);
    QFETCH(QString, property);
    QFETCH(QString, relation);
    QFETCH(QVariant, expected);
    const amp *record = named(linear, part);
    QVERIFY2(record, qPrintable(part + " is not in the linear table"));
    const QVariant actual = linearProperty(*record, property);
    QVERIFY2(holds(actual, relation, expected),
             qPrintable(QString("%1 is %2").arg(property, actual.toString())));
}

void TestCatalogData::namedPwmParts_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("relation");
    QTest::addColumn<QVariant>("expected");

    // Start-up choices: the switching selector, filter and power pages, control wizard and
    // three-phase page (half bridge or three phase there).
    propertyRow("NV21 on the switching selector", "NV21", "outputs", ">=", QVariant(1));
    propertyRow("NV22 on the power page", "NV22", "outputs", "<=", QVariant(2));
    propertyRow("JNV300 in the control wizard", "JNV300", "outputs", "=", QVariant(2));
    propertyRow("JNV300 has an analog ramp", "JNV300", "Ramp", "!=", QVariant("Digital"));
    propertyRow("NV321 on the three-phase page", "NV321", "outputs", "=", QVariant(3));
    // Tutorial 7: a half bridge at 90 V and 22.5 kHz.
    propertyRow("NV22 is a half bridge", "NV22", "outputs", "=", QVariant(1));
    propertyRow("NV22 takes 90 V", "NV22", "Vs_max", ">=", QVariant(90));
    // Tutorial 6: a full bridge at 48 V and 30 kHz, 8 A.
    propertyRow("NV314 is a full bridge", "NV314", "outputs", "=", QVariant(2));
    propertyRow("NV314 takes 48 V", "NV314", "Vs_max", ">=", QVariant(48));
    propertyRow("NV314 gives 8 A", "NV314", "I_cont", ">=", QVariant(8));
    propertyRow("NV314 runs at 30 kHz", "NV314", "Fsw_max", ">=", QVariant(30));
    // Tutorial 8: a heater at 178 V and 20 kHz through the control wizard's list.
    propertyRow("JNV307 is a full bridge", "JNV307", "outputs", "=", QVariant(2));
    propertyRow("JNV307 has an analog ramp", "JNV307", "Ramp", "!=", QVariant("Digital"));
    propertyRow("JNV307 takes 178 V", "JNV307", "Vs_max", ">=", QVariant(178));
    // Tutorial 9: the control loop of NV21 at 65 V and 42 kHz. NV21 has no Vcc pin: its Vcc is
    // fixed at 7.5 V, and its ramp centre of 5 V is the Vref the example's network is built on.
    propertyRow("NV21 is a full bridge", "NV21", "outputs", "=", QVariant(2));
    propertyRow("NV21 has an analog ramp", "NV21", "Ramp", "=", QVariant("Fixed"));
    propertyRow("NV21 takes 65 V", "NV21", "Vs_max", ">=", QVariant(65));
    propertyRow("NV21 runs at 42 kHz", "NV21", "Fsw_max", ">=", QVariant(42));
    propertyRow("NV21 ramp centre", "NV21", "Ramp_Mid", "=", QVariant(5));
    propertyRow("NV21 ramp span", "NV21", "Ramp_Vpp", "=", QVariant(5));
    propertyRow("NV21 lowest Vcc", "NV21", "Vcc_min", "=", QVariant(7.5));
    propertyRow("NV21 highest Vcc", "NV21", "Vcc_max", "=", QVariant(7.5));
    propertyRow("NV21 Vcc", "NV21", "Vcc_nom", "=", QVariant(7.5));
    // Tutorial 11: a three-phase motor from 50 V at 5 V Vcc and 1 kHz up to 650 V at 18 V
    // Vcc and 20 kHz.
    propertyRow("NV335 is three phase", "NV335", "outputs", "=", QVariant(3));
    propertyRow("NV335 takes 650 V", "NV335", "Vs_max", ">=", QVariant(650));
    propertyRow("NV335 takes 50 V", "NV335", "Vs_min", "<=", QVariant(50));
    propertyRow("NV335 takes Vcc 5 V", "NV335", "Vcc_min", "<=", QVariant(5));
    propertyRow("NV335 takes Vcc 18 V", "NV335", "Vcc_max", ">=", QVariant(18));
    propertyRow("NV335 runs at 1 kHz", "NV335", "Fsw_min", "<=", QVariant(1));
    propertyRow("NV335 runs at 20 kHz", "NV335", "Fsw_max", ">=", QVariant(20));
    // The three-phase page's own defaults (50 V, Vcc 5 V, 1 kHz) suit its start-up part.
    propertyRow("NV321 takes 50 V", "NV321", "Vs_max", ">=", QVariant(50));
    propertyRow("NV321 takes Vcc 5 V", "NV321", "Vcc_min", "<=", QVariant(5));
    propertyRow("NV321 runs at 1 kHz", "NV321", "Fsw_min", "<=", QVariant(1));
}

void TestCatalogData::namedPwmParts()
{
    QFETCH(QString, part);
    QFETCH(QString, property);
    QFETCH(QString, relation);
    QFETCH(QVariant, expected);
    const pwm *record = named(pwms, part);
    QVERIFY2(record, qPrintable(part + " is not in the PWM table"));
    const QVariant actual = pwmProperty(*record, property);
    QVERIFY2(holds(actual, relation, expected),
             qPrintable(QString("%1 is %2").arg(property, actual.toString())));
}

// A package variant (status 2) is listed in the summary tables under the next part that is
// not a variant: that part must be its main part, the variant's name without its package code.
void TestCatalogData::variantsStandBeforeTheirMainPart()
{
    int variants = 0;
    for (int i = 0; i < linearAll.size(); ++i) {
        const amp &part = linearAll.at(i);
        if (part.getPSGstatus() != 2) continue;
        ++variants;
        int main = i + 1;
        while (main < linearAll.size() && linearAll.at(main).getPSGstatus() == 2)
            ++main;
        QVERIFY2(main < linearAll.size(), qPrintable(part.getAmpName() + " ends the table"));
        QCOMPARE(part.getAmpName(), linearAll.at(main).getAmpName() + part.getPackageStyle());
    }
    QVERIFY(variants >= 1);
    QCOMPARE(named(linear, "LX356DF")->getPSGstatus(), 2);
}

void TestCatalogData::preReleasedPartsOnlyOnRequest()
{
    QVERIFY(linearAll.size() > linear.size());
    QVERIFY(pwmsAll.size() > pwms.size());
    // every released part stays, in the same order
    QVector<amp> released;
    for (const amp &part : qAsConst(linearAll))
        if (named(linear, part.getAmpName())) released << part;
    QCOMPARE(released, linear);
    QVector<pwm> releasedPwm;
    for (const pwm &part : qAsConst(pwmsAll))
        if (named(pwms, part.getAmpName())) releasedPwm << part;
    QCOMPARE(releasedPwm, pwms);
    // pre-released parts stay out of the product summary
    for (const amp &part : qAsConst(linearAll))
        if (!named(linear, part.getAmpName())) QCOMPARE(part.getPSGstatus(), 0);
    for (const pwm &part : qAsConst(pwmsAll))
        if (!named(pwms, part.getAmpName())) QCOMPARE(part.getPSGstatus(), 0);
}

// Worked examples 13 and 14 read the host at position 11.
void TestCatalogData::hostOpAmps()
{
    QCOMPARE(hosts.size(), 15);
    QCOMPARE(hosts.at(11).getAmpName(), QString("OP07"));
    for (const amp &host : qAsConst(hosts)) {
        const QString name = host.getAmpName();
        QVERIFY2(host.getSROptions() == 1, qPrintable(name));
        QVERIFY2(host.getAol_DC() > 80, qPrintable(name));
        QVERIFY2(host.getPole1(0) > 0 && host.getPole1(0) < host.getPole2(0) &&
                     host.getPole2(0) < host.getPole3(0),
                 qPrintable(name));
        QVERIFY2(host.getSlewRate(0) > 0, qPrintable(name));
        // the gain-bandwidth product (kHz) is the first pole times the DC gain
        const double gbw = host.getPole1(0) * std::pow(10.0, host.getAol_DC() / 20) / 1000;
        QVERIFY2(qAbs(gbw / host.getGBWP() - 1) < 0.05, qPrintable(name));
        QCOMPARE(host.listPd_max().size(), 1);
    }
}

void TestCatalogData::pwmCatalogCoversEveryKind()
{
    QSet<int> outputs;
    QSet<QString> ramps;
    QSet<QString> positiveDC;
    bool errorAmpInWizard = false;
    bool fixedFrequency = false;
    for (const pwm &part : qAsConst(pwms)) {
        outputs << part.getOutputs();
        ramps << part.getRamp();
        positiveDC << part.getPositiveDC();
        const bool inWizard = part.getOutputs() == 2 && part.getRamp() != QLatin1String("Digital");
        errorAmpInWizard = errorAmpInWizard || (inWizard && part.getErrorAmp());
        fixedFrequency =
            fixedFrequency || (part.getFsw_min() > 0 && part.getFsw_min() == part.getFsw_max());
    }
    QCOMPARE(outputs, (QSet<int>{1, 2, 3}));
    QCOMPARE(ramps, (QSet<QString>{"Digital", "Fixed", "VccDep"}));
    QCOMPARE(positiveDC, (QSet<QString>{"A", "B", "NA"}));
    QVERIFY(errorAmpInWizard);
    QVERIFY(fixedFrequency);
}

void TestCatalogData::heatsinksForTheWorkedExamples_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<double>("theta");
    QTest::addColumn<bool>("forced");
    QTest::newRow("tutorial 1: LX49, 2.28 C/W in free air") << "LX49" << 2.28 << false;
    QTest::newRow("tutorial 3: LX22, 3.41 C/W cooled") << "LX22" << 3.41 << true;
    QTest::newRow("tutorial 4: LX26, 1 C/W in free air") << "LX26" << 1.0 << false;
    QTest::newRow("tutorial 10: LX58, 4.8 C/W in free air") << "LX58" << 4.8 << false;
}

// The heatsink selector finds at least one heatsink for the example's part and target.
void TestCatalogData::heatsinksForTheWorkedExamples()
{
    QFETCH(QString, part);
    QFETCH(double, theta);
    QFETCH(bool, forced);
    const amp *record = named(linear, part);
    QVERIFY(record);
    int found = 0;
    for (const heatsink &sink : qAsConst(heatsinks)) {
        const double r = forced ? forcedTheta(sink) : sink.getFreeAirTheta();
        if (fits(sink, record->getPackageStyle()) && r <= theta) ++found;
    }
    QVERIFY(found > 0);
}

void TestCatalogData::heatsinkTable()
{
    QSet<int> counts;
    bool water = false;
    QSet<QString> names;
    for (const heatsink &sink : qAsConst(heatsinks)) {
        const QString name = sink.getName();
        QVERIFY2(!names.contains(name), qPrintable(name));
        names << name;
        counts << sink.getNumPackages();
        water = water || name.contains("H2O");
        for (int i = 0; i < sink.getNumPackages(); ++i)
            QVERIFY2(catalog::interpretPackage(packages, sink.getPackage(i)) != "-",
                     qPrintable(name));
        // forced cooling beats natural convection and falls with the flow
        QVERIFY2(sink.getA() > 0 && sink.getB() < 0 && sink.getC() > 0, qPrintable(name));
        QVERIFY2(forcedTheta(sink) < sink.getFreeAirTheta(), qPrintable(name));
        QVERIFY2(sink.getLength() > 0 && sink.getWidth() > 0 && sink.getHeight() > 0 &&
                     sink.getWeight() > 0 && sink.getRelative_price() > 0,
                 qPrintable(name));
        QVERIFY2(sink.getDrawingLink().startsWith("https://"), qPrintable(name));
    }
    QVERIFY(names.contains("TK21")); // the picture the heatsink page opens with
    QVERIFY(water);
    for (int n = 0; n <= 10; ++n)
        QVERIFY2(counts.contains(n), qPrintable(QString::number(n) + " packages"));
}

void TestCatalogData::packageCodes()
{
    QSet<QString> codes;
    for (const packageStyle &style : qAsConst(packages)) {
        const QString code = style.getCode();
        QVERIFY2(QRegularExpression("^[A-Z]{2}$").match(code).hasMatch(), qPrintable(code));
        QVERIFY2(!codes.contains(code), qPrintable(code));
        codes << code;
        // the summary tables are comma-separated
        QVERIFY2(!style.getShortDesc().isEmpty() && !style.getShortDesc().contains(','),
                 qPrintable(code));
        QVERIFY2(!style.getFullDesc().isEmpty() && !style.getFullDesc().contains(','),
                 qPrintable(code));
    }
    QVERIFY(codes.size() >= 12 && codes.size() <= 16);
    for (const char *code : {"CE", "CC", "CD", "CR", "DE", "DF", "DK", "DP", "EL", "OF", "SM"})
        QVERIFY2(codes.contains(code), code);
    // the heatsink page's package filter names these by their outline
    QCOMPARE(catalog::interpretPackage(packages, "CE"), QString("8-pin TO-3"));
    QCOMPARE(catalog::interpretPackage(packages, "CR"), QString("12-pin Power DIP (MO-127)"));
    QCOMPARE(catalog::interpretPackage(packages, "CD"), QString("TO-220"));

    // every code a part uses has a description and at least one heatsink
    QSet<QString> used;
    for (const amp &part : qAsConst(linearAll))
        used << part.getPackageStyle();
    for (const pwm &part : qAsConst(pwmsAll))
        used << part.getPackageStyle();
    for (const QString &code : qAsConst(used)) {
        QVERIFY2(codes.contains(code), qPrintable(code));
        bool fitted = false;
        for (const heatsink &sink : qAsConst(heatsinks))
            fitted = fitted || fits(sink, code);
        QVERIFY2(fitted, qPrintable("no heatsink for " + code));
    }
    for (const amp &host : qAsConst(hosts))
        QVERIFY2(codes.contains(host.getPackageStyle()), qPrintable(host.getAmpName()));
}

// Selectors cut names at "-", the summary tables are comma-separated, and a name is a key.
void TestCatalogData::partNames()
{
    QStringList all;
    for (const amp &part : qAsConst(linearAll))
        all << part.getAmpName();
    for (const pwm &part : qAsConst(pwmsAll))
        all << part.getAmpName();
    const int parts = all.size();
    for (const amp &host : qAsConst(hosts))
        all << host.getAmpName();
    for (const heatsink &sink : qAsConst(heatsinks))
        all << sink.getName();
    for (const QString &name : qAsConst(all)) {
        QVERIFY2(!name.isEmpty() && !name.contains('-') && !name.contains(','), qPrintable(name));
        QVERIFY2(name.trimmed() == name && !name.contains(' '), qPrintable(name));
    }
    QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), all.size());
    QVERIFY(linearAll.size() >= 30 && parts - linearAll.size() >= 12);
    QVERIFY(heatsinks.size() >= 24);
}

// Engineering sense over every linear row, pre-released ones included.
void TestCatalogData::linearValuesAreConsistent()
{
    const QSet<QString> pulseLabels{"10ms", "1ms", "100" + micro + "s", "NA"};
    const QSet<QString> circuitTypes{"normal", "GZ20", "GZ23", "KW314", "KW349"};
    QSet<int> oldIndexes;
    bool microSign = false;
    for (const amp &part : qAsConst(linearAll)) {
        const QByteArray name = part.getAmpName().toLatin1();
        const char *n = name.constData();
        QVERIFY2(part.getVss_min() > 0 && part.getVss_min() < part.getVss_max(), n);
        QVERIFY2(part.getI_cont() > 0 && part.getI_pk() >= part.getI_cont(), n);
        QVERIFY2(part.getTj_max() > part.getTc_max(), n);
        QVERIFY2(part.getRtheta_AC() > 0 && part.getRtheta_AC() <= part.getRtheta_DC() &&
                     part.getRtheta_DC() < part.getRtheta_JA(),
                 n);
        QVERIFY2(part.getChannels() >= 1 && part.getChannels() <= 4, n);
        QCOMPARE(part.listPd_max().size(), part.getChannels());
        // rated dissipation: junction at Tj_max with the case held at 25 C
        const double pd = (part.getTj_max() - 25) / part.getRtheta_DC();
        for (double p : part.listPd_max())
            QVERIFY2(qAbs(p / pd - 1) < 0.1, n);

        const int options = part.getSROptions();
        QVERIFY2(options >= 1 && options <= 6, n);
        QCOMPARE(part.listCcomp().size(), options);
        QCOMPARE(part.listRcomp().size(), options);
        QCOMPARE(part.listSlewRate().size(), options);
        QCOMPARE(part.listPole3().size(), options);
        // slower, more stable options: more capacitance, less slew rate, a lower first pole
        const int half = part.getSRboost() ? options / 2 : options;
        QVERIFY2(!part.getSRboost() || options % 2 == 0, n);
        for (int i = 0; i < options; ++i) {
            QVERIFY2(part.getSlewRate(i) > 0, n);
            QVERIFY2(part.getPole1(i) > 0 && part.getPole1(i) < part.getPole2(i) &&
                         part.getPole2(i) <= part.getPole3(i),
                     n);
            if (i % half == 0) continue;
            QVERIFY2(part.getCcomp(i) > part.getCcomp(i - 1), n);
            QVERIFY2(part.getSlewRate(i) < part.getSlewRate(i - 1), n);
            QVERIFY2(part.getPole1(i) < part.getPole1(i - 1), n);
        }
        // the gain-bandwidth product (kHz) of option 0 agrees with the first pole and the gain
        const double gbw = part.getPole1(0) * std::pow(10.0, part.getAol_DC() / 20) / 1000;
        QVERIFY2(gbw > 0.8 * part.getGBWP() && gbw < 1.25 * part.getGBWP(), n);

        const int boost = part.getBoostOptions();
        QVERIFY2(boost == 0 || boost == 1, n);
        QCOMPARE(part.listBoost().size(), boost);
        QCOMPARE(part.listVswingC().size(), boost + 1);
        QCOMPARE(part.listVswingA().size(), boost + 1);
        if (boost) QVERIFY2(part.getBoost(0) > 0 && part.getVswingC(1) < part.getVswingC(0), n);
        for (int i = 0; i <= boost; ++i)
            QVERIFY2(part.getVswingC(i) > 0 && part.getVswingB(i) >= 0 && part.getVswingA(i) >= 0 &&
                         2 * part.getVswingC(i) < part.getVss_max(),
                     n);

        // safe operating area
        QVERIFY2(part.getTc_soa() == 85 || part.getTc_soa() == 125, n);
        QVERIFY2(part.getSB_slope() >= 1 && part.getSB_V() > 0 &&
                     part.getSB_V() <= part.getVss_max(),
                 n);
        QVERIFY2(part.getPulse_slope() >= 1, n);
        const QString labels[] = {part.getPulse1(), part.getPulse2(), part.getPulse3()};
        const double breaks[] = {part.getPulse1_V(), part.getPulse2_V(), part.getPulse3_V()};
        for (int m = 0; m < 3; ++m) {
            QVERIFY2(pulseLabels.contains(labels[m]), n);
            microSign = microSign || labels[m].contains(micro);
            if (labels[m] != QLatin1String("NA"))
                QVERIFY2(breaks[m] > 0 && breaks[m] < part.getVss_max(), n);
        }

        // current limit: an internal limit needs the sense voltage it is scaled by
        QVERIFY2(part.getCLint() == 0 || part.getVbe() > 0, n);
        QVERIFY2(part.getRfoldover() == 0 || part.getRb() > 0, n);

        // circuits, loads and inputs the stability and pump pages know
        QVERIFY2(circuitTypes.contains(part.getCircuitType()), n);
        const bool normal = part.getCircuitType() == QLatin1String("normal");
        QVERIFY2(normal == (part.getCfb() == 0), n);
        QVERIFY2((QSet<QString>{"both", "non", "inv"}).contains(part.getInputs()), n);
        QVERIFY2((QSet<QString>{"all", "voltage", "Printhead", "PrintheadFixedGain"})
                     .contains(part.getLoads()),
                 n);
        QVERIFY2(part.getZout() > 0 && part.getIq_max() > 0, n);
        QVERIFY2(part.getRelative_price() > 0, n);
        QVERIFY2(part.getSiteLink().startsWith("https://"), n);
        QVERIFY2(part.getPSGstatus() >= 0 && part.getPSGstatus() <= 2, n);
        if (part.getPreV6Index() >= 0) {
            QVERIFY2(!oldIndexes.contains(part.getPreV6Index()), n);
            oldIndexes << part.getPreV6Index();
        }
    }
    // the micro sign is decoded from its single byte, not replaced
    QVERIFY(microSign);
}

void TestCatalogData::pwmValuesAreConsistent()
{
    QSet<int> oldIndexes;
    for (const pwm &part : qAsConst(pwmsAll)) {
        const QByteArray name = part.getAmpName().toLatin1();
        const char *n = name.constData();
        QVERIFY2(part.getVs_min() > 0 && part.getVs_min() <= part.getVs_nom() &&
                     part.getVs_nom() <= part.getVs_max(),
                 n);
        QVERIFY2(part.getVcc_min() > 0 && part.getVcc_min() <= part.getVcc_nom() &&
                     part.getVcc_nom() <= part.getVcc_max(),
                 n);
        QVERIFY2(part.getFsw_min() >= 0 && part.getFsw_min() <= part.getFsw_nom() &&
                     part.getFsw_nom() <= part.getFsw_max() && part.getFsw_max() > 0,
                 n);
        QVERIFY2(part.getI_cont() > 0 && part.getI_pk() >= part.getI_cont(), n);
        QVERIFY2(part.getTj_max() > part.getTc_max(), n);
        QVERIFY2(part.getRtheta_DC() > 0 && part.getRtheta_DC() < part.getRtheta_JA(), n);
        const double pd = (part.getTj_max() - 25) / part.getRtheta_DC();
        QVERIFY2(qAbs(part.getPd_max() / pd - 1) < 0.1, n);
        QVERIFY2(part.getOutputs() >= 1 && part.getOutputs() <= 3, n);
        QVERIFY2(part.getMaxDutyCycle() > 0.5 && part.getMaxDutyCycle() <= 1, n);
        QVERIFY2(part.getT_rise() > 0 && part.getT_fall() > 0, n);
        // the on-resistance is positive and rises with temperature
        QVERIFY2(part.topResistance(25) > 0 && part.bottomResistance(25) > 0, n);
        QVERIFY2(part.topResistance(125) > part.topResistance(25), n);
        QVERIFY2(part.bottomResistance(125) > part.bottomResistance(25), n);
        QVERIFY2(part.getTop_wire() > 0 && part.getBot_wire() > 0, n);
        QVERIFY2(part.getRdiode() > 0 && part.getVdiode() > 0, n);
        // a digital part has no ramp; an analog ramp has a span and a centre
        const QString ramp = part.getRamp();
        QVERIFY2((QSet<QString>{"Digital", "Fixed", "VccDep"}).contains(ramp), n);
        if (ramp == QLatin1String("Digital"))
            QVERIFY2(part.getRamp_Vpp() == 0 && part.getRamp_Mid() == 0, n);
        else
            QVERIFY2(part.getRamp_Vpp() > 0 && part.getRamp_Mid() > 0, n);
        QVERIFY2((QSet<QString>{"A", "B", "NA"}).contains(part.getPositiveDC()), n);
        QVERIFY2(part.getRelative_price() > 0, n);
        QVERIFY2(part.getSiteLink().startsWith("https://"), n);
        if (part.getPreV6Index() >= 0) {
            QVERIFY2(!oldIndexes.contains(part.getPreV6Index()), n);
            oldIndexes << part.getPreV6Index();
        }
    }
}

QTEST_GUILESS_MAIN(TestCatalogData)
#include "tst_catalog_data.moc"
