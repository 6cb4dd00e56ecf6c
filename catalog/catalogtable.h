#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <QtDebug>

// The five compiled-in catalog tables and what their readers share: cutting a table into
// header names and rows of cells, converting cells, and walking a row's cells by header name.
namespace catalog {

constexpr const char *linearTablePath = ":/KestLinear/LinearAmpData.txt";
constexpr const char *hostTablePath = ":/KestLinear/HostAmpData.txt";
constexpr const char *pwmTablePath = ":/KestLinear/PWMAmpData.txt";
constexpr const char *heatsinkTablePath = ":/KestLinear/Heatsinks.txt";
constexpr const char *packageTablePath = ":/KestLinear/PackageStyles.txt";

// Where product and drawing links point when a row gives none.
constexpr const char *makerHomePage = "https://www.kestvoltrane.example/";

// A table cut into cells. Empty lines and empty cells are already gone, so spacer and
// reserved columns have vanished from the header and unused reserved cells from the rows.
struct Table
{
    QStringList header;
    QVector<QStringList> rows;
};

// Cuts table text: lines at LF with every CR dropped, cells at TAB, empty parts dropped.
// A line that holds nothing but tabs has no cell and is dropped like an empty line (it is
// no header and no part). The first remaining line is the header.
Table parseTable(const QString &text);

// Reads and cuts a table file. The tables are 8-bit text whose only byte above ASCII is the
// micro sign 0xB5; they are decoded as ISO 8859-1 whatever the platform's 8-bit codec is, so
// the sign survives on systems whose local encoding is UTF-8. False when the file cannot be
// opened; an opened but empty file gives an empty table.
bool loadTable(const QString &path, Table &table);

// Cell conversions, independent of the user's locale. A cell that is not a number in full
// ("NA", "N", "?", "1.5" for a whole number) reads as 0.
double realValue(const QString &cell);       // "1E-11", " 5 "; never a non-finite value
int wholeValue(const QString &cell);         // "-1"
int flagValue(const QString &cell);          // 1 for exactly "Y"
bool isPreReleasedCell(const QString &cell); // exactly "N" in the "released?" column

// Walks the cells of one row while its header names are visited. Every read advances by the
// cells the column takes; past the row's end nothing is read and the field keeps its
// default, while the cursor still counts what the header asked for so that a row that does
// not fit its header can be found.
class CellCursor
{
public:
    explicit CellCursor(const QStringList &cells) : cells_(cells) {}

    void readText(QString &field);
    void readReal(double &field);
    void readWhole(int &field);
    void readFlag(int &field);
    // Appends up to n values in cell order; a count of 0 or less takes no cell.
    void readReals(QVector<double> &list, int n);
    void readTexts(QStringList &list, int n);
    void skip(int n = 1);

    // The "released?" cell: it fills no field but marks a pre-released row.
    void readReleased();
    bool preReleased() const { return preReleased_; }

    int cellCount() const { return cells_.size(); }
    // Cells the header and the counts asked for, whether the row had them or not.
    qint64 consumed() const { return wanted_; }

private:
    const QString *next();
    int available(int n) const; // of the next n cells, how many the row has

    QStringList cells_;
    qint64 wanted_ = 0; // wide: a corrupt count may ask for billions of cells
    bool preReleased_ = false;
};

// Whether a table's rows fit its header: every row must use exactly the cells it has. A
// misplaced or missing cell shifts every later value of its row by one column, which the
// readers cannot see; this check can.
struct RowFit
{
    int row = 0;       // data row, from 1
    QString firstCell; // usually the part name
    int cells = 0;
    qint64 consumed = 0;
};

struct TableFit
{
    bool opened = false;
    int rows = 0;
    QStringList unknownColumns; // header names no field of the record has
    QVector<RowFit> misfits;
};

// Reads a table into a list of records, replacing the list. Record provides
// bool readColumn(const QString &name, CellCursor &cells) (false for a name it does not know,
// after skipping one cell) and clear(). keep(record, cursor) decides whether a row is listed.
template <class Record, class Keep>
void readTable(QVector<Record> &list, Record &scratch, const QString &path,
               const char *cannotOpenLine, Keep keep)
{
    list.clear();
    Table table;
    if (!loadTable(path, table)) {
        qDebug().noquote() << cannotOpenLine;
        return;
    }
    for (const QStringList &row : qAsConst(table.rows)) {
        scratch.clear();
        CellCursor cells(row);
        for (const QString &name : qAsConst(table.header))
            scratch.readColumn(name, cells);
        if (keep(scratch, cells)) list.append(scratch);
    }
}

template <class Record> TableFit checkTable(const QString &path)
{
    TableFit fit;
    Table table;
    fit.opened = loadTable(path, table);
    if (!fit.opened) return fit;
    for (const QString &name : qAsConst(table.header)) {
        Record probe;
        CellCursor none{QStringList()};
        if (!probe.readColumn(name, none)) fit.unknownColumns << name;
    }
    fit.rows = table.rows.size();
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList &row = table.rows.at(r);
        Record record;
        CellCursor cells(row);
        for (const QString &name : qAsConst(table.header))
            record.readColumn(name, cells);
        if (cells.consumed() != cells.cellCount())
            fit.misfits.append({r + 1, row.value(0), cells.cellCount(), cells.consumed()});
    }
    return fit;
}

// Reads the column `name` into the field that one of `columns` ({name, pointer to a field of
// Record}) maps it to, with `read`; false when no column has that name.
template <class Record, class Columns, class Read>
bool readMappedColumn(Record &record, const QString &name, const Columns &columns, Read read)
{
    for (const auto &c : columns) {
        if (name == QLatin1String(c.name)) {
            read(record.*c.field);
            return true;
        }
    }
    return false;
}

// True when the two records agree in every field that `columns` maps.
template <class Record, class Columns>
bool sameMappedFields(const Record &a, const Record &b, const Columns &columns)
{
    for (const auto &c : columns) {
        if (!(a.*c.field == b.*c.field))
            return false;
    }
    return true;
}

} // namespace catalog
