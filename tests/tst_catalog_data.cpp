// The catalog tables as shipped: their bytes, their header rows, the cells of every row, and
// the parts that pages and worked examples name, with the properties those pages rely on.
//
// The cell checks read the tables on their own, without the catalog readers: an empty cell in a
// single-valued column is dropped when a row is cut and moves every later value of the row one
// column to the left, and the readers cannot notice that. Here every row must use exactly the
// cells it has, and every value must stand in its own column.
#include "app/resources.h"

#include <QFile>
#include <QHash>
#include <QtTest>

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
QStringList linearHeader()
{
    const QString s;
    return QStringList{"ampName", "released?", "Vss_max", "Vss_min", "I_cont", "I_pk",
                       "channels", "Pd_max", s, s, s, "Iq_max", "Iq_vF", s, "V_cm", "V_os",
                       "I_os", "I_bias", s, "packageStyle", s, "boostOptions", "SRboost",
                       "SROptions", "boost", "Ccomp"}
           + repeated(s, 5) + QStringList{"Rcomp"} + repeated(s, 5) + QStringList{"slewRate"}
           + repeated(s, 5) + QStringList{"PBW", "GBWP", "Aol_DC", "pole1"} + repeated(s, 5)
           + QStringList{"pole2"} + repeated(s, 5) + QStringList{"pole3"} + repeated(s, 5)
           + QStringList{"Zout",      "Cfb",         "Rfb",       "Rin",     "CircuitType",
                         s,           "Vbe",         "CLint",     "Rb",      "Rfoldover",
                         s,           "Tc_max",      "Tj_max",    "Rtheta_DC", "Rtheta_AC",
                         "Rtheta_JA", s,             "SB_slope",  "SB_V",    "pulse1",
                         "pulse1_V",  "pulse2",      "pulse2_V",  "pulse3",  "pulse3_V",
                         "Tc_soa",    "pulse_slope", "VswingC",   s,         "VswingB",
                         s,           "VswingA",     s,           s,         "UGS",
                         "Inputs",    "Loads",       "classBias", "relative_price",
                         "SiteLink",  "PreV6Index",  "PSGstatus", "MgradeAvailable"};
}

QStringList hostHeader()
{
    const QString s;
    return QStringList{"ampName",   "Vss_max",   "Vss_min",      "I_cont",    "I_pk",
                       "Pd_max",    "Iq_max",    s,              "V_cm",      "V_os",
                       "I_os",      "I_bias",    s,              "channels",  "packageStyle",
                       s,           "boostOptions", "SRboost",   "SROptions", "boost",
                       "Ccomp",     "slewRate",  "PBW",          "GBWP",      "Aol_DC",
                       "pole1",     "pole2",     "pole3",        "Zout",      s,
                       "Vbe",       "CLint",     "Rb",           "Rfoldover", s,
                       "Tc_max",    "Tj_max",    "Rtheta_DC",    "Rtheta_AC", "Rtheta_JA",
                       s,           "SB_slope",  "SB_V",         "pulse1",    "pulse1_V",
                       "pulse2",    "pulse2_V",  "pulse3",       "pulse3_V",  "Tc_soa",
                       "pulse_slope", "VswingC", s,              "VswingB",   s,
                       "VswingA",   s,           s,              "UGS",       "classBias",
                       "PreV6Index"};
}

QStringList pwmHeader()
{
    const QString s;
    return QStringList{"ampName",      "released?",  "Vs_max",          "Vs_nom",
                       "Vs_min",       "Vcc_max",    "Vcc_nom",         "Vcc_min",
                       s,              "I_cont",     "I_pk",            "Pd_max",
                       s,              "Iq_Vs",      "Iq_Vs_vsF",       "Iq_Vs_vsS",
                       "t_rise",       "t_fall",     s,                 "Iq_Vcc",
                       "Iq_Vcc_vsF",   s,            "V_cm_min",        "V_cm_max",
                       "V_os",         "I_os",       "I_bias",          s,
                       "outputs",      "packageStyle", s,               "Fsw_min",
                       "Fsw_nom",      "Fsw_max",    "Ramp",            "Ramp_Vpp",
                       "Ramp_Mid",     "PositiveDC", "OutputTech",      "Rdiode",
                       "Vdiode",       "MaxDutyCycle", s,               "Tc_max",
                       "Tj_max",       "Rtheta_DC",  "Rtheta_JA",       "Rtheta_JC_diode",
                       s,              "relative_price", s,             "top_A",
                       "top_B",        "top_C",      "top_V",           "top_wire",
                       "bot_A",        "bot_B",      "bot_C",           "bot_V",
                       "bot_wire",     "SiteLink",   s,                 "I_sense_pins",
                       "ErrorAmp",     "PreV6Index", "PSGstatus",       "MgradeAvailable"};
}

QStringList heatsinkHeader()
{
    return QStringList{"Name",   "FreeAirTheta", "Length", "Width",     "Height",
                       "Weight", "AAVID",        "numPackages", "packages"}
           + repeated(QString(), 9) + QStringList{"A", "B", "C", "relative_price", "drawingLink"};
}

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
        if (!ok)
            value = 0;
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
        if (n == 0 && column.placeholderAtZero)
            return 1;
        return qMax(0, n);
    }
};

QStringList nonEmpty(const QStringList &cells)
{
    QStringList kept;
    for (const QString &cell : cells)
        if (!cell.isEmpty())
            kept << cell;
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
            if (at < cells.size())
                counts.take(name, cells.at(at));
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
            if (cell.isEmpty())
                return QString("empty cell under %1").arg(name);
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
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Lines without their CR LF, each cut at every TAB with empty cells kept.
QVector<QStringList> rawLines(const QByteArray &bytes)
{
    QVector<QStringList> lines;
    for (const QString &line : QString::fromLatin1(bytes).split(QStringLiteral("\r\n"))) {
        if (!line.isEmpty())
            lines << line.split(QLatin1Char('\t'));
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
};

void TestCatalogData::initTestCase()
{
    initAmpwrightResources();
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
        QVERIFY2(byte == '\t' || byte == '\r' || byte == '\n' || (byte >= 0x20 && byte < 0x7F)
                     || byte == 0xB5,
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
    QTest::newRow("empty Vss_min") << "Vss_min" << "" << true;
    QTest::newRow("empty CircuitType") << "CircuitType" << "" << true;
    // The boost column takes its placeholder even when the part has no boost supplies.
    QTest::newRow("no boost placeholder") << "boost" << "" << true;
    // A count that disagrees with the cells written under its lists.
    QTest::newRow("one option more than written") << "SROptions" << "5" << true;
    QTest::newRow("count that is no number") << "channels" << "one" << true;
    // Blanks make "N " differ from "N": the readers keep them, the layout check refuses them.
    QTest::newRow("blank after a placeholder") << "CLint" << "N " << false;
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
        if (lines.at(r).at(header.indexOf("SROptions")) == QLatin1String("4")
            && lines.at(r).at(header.indexOf("boostOptions")) == QLatin1String("0"))
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

QTEST_GUILESS_MAIN(TestCatalogData)
#include "tst_catalog_data.moc"
