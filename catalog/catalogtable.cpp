#include "catalog/catalogtable.h"

#include <QFile>

#include <cmath>

namespace catalog {

Table parseTable(const QString &text)
{
    Table table;
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    const QStringList lines = plain.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    bool haveHeader = false;
    for (const QString &line : lines) {
        const QStringList cells = line.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (cells.isEmpty()) continue;
        if (!haveHeader) {
            table.header = cells;
            haveHeader = true;
        } else {
            table.rows.append(cells);
        }
    }
    return table;
}

bool loadTable(const QString &path, Table &table)
{
    table = Table();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    const QByteArray bytes = file.readAll();
    file.close();
    table = parseTable(QString::fromLatin1(bytes));
    return true;
}

double realValue(const QString &cell)
{
    bool ok = false;
    const double value = cell.toDouble(&ok);
    // toDouble also takes "inf" and "nan"; no catalog value may be one.
    if (!ok || !std::isfinite(value)) return 0;
    return value;
}

int wholeValue(const QString &cell)
{
    bool ok = false;
    const int value = cell.toInt(&ok, 10);
    return ok ? value : 0;
}

int flagValue(const QString &cell)
{
    return cell == QLatin1String("Y") ? 1 : 0;
}

bool isPreReleasedCell(const QString &cell)
{
    return cell == QLatin1String("N");
}

const QString *CellCursor::next()
{
    const qint64 at = wanted_++;
    return at < cells_.size() ? &cells_.at(int(at)) : nullptr;
}

int CellCursor::available(int n) const
{
    const qint64 left = qMax<qint64>(0, cells_.size() - wanted_);
    return int(qMin<qint64>(left, n));
}

void CellCursor::readText(QString &field)
{
    if (const QString *cell = next()) field = *cell;
}

void CellCursor::readReal(double &field)
{
    if (const QString *cell = next()) field = realValue(*cell);
}

void CellCursor::readWhole(int &field)
{
    if (const QString *cell = next()) field = wholeValue(*cell);
}

void CellCursor::readFlag(int &field)
{
    if (const QString *cell = next()) field = flagValue(*cell);
}

void CellCursor::readReals(QVector<double> &list, int n)
{
    // A corrupt count can be huge: take what the row has, count the rest without looping.
    if (n <= 0) return;
    const int have = available(n);
    for (int i = 0; i < have; ++i)
        list.append(realValue(cells_.at(int(wanted_) + i)));
    wanted_ += n;
}

void CellCursor::readTexts(QStringList &list, int n)
{
    if (n <= 0) return;
    const int have = available(n);
    for (int i = 0; i < have; ++i)
        list.append(cells_.at(int(wanted_) + i));
    wanted_ += n;
}

void CellCursor::skip(int n)
{
    if (n > 0) wanted_ += n;
}

void CellCursor::readReleased()
{
    if (const QString *cell = next()) preReleased_ = preReleased_ || isPreReleasedCell(*cell);
}

} // namespace catalog
