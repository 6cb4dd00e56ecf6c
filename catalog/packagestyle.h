#pragma once

#include "catalog/catalogtable.h"

#include <QString>
#include <QVector>

// A package code as the amplifier and heatsink tables use it, with its short name (a standard
// outline name) and its full description (pin count and outline).
class packageStyle
{
public:
    packageStyle() = default;

    void clear() { *this = packageStyle(); }

    // Reads ":/KestLinear/PackageStyles.txt" into `list`, replacing its contents; every row
    // is kept. Uses this record as row buffer.
    void readFile(QVector<packageStyle> &list,
                  const QString &path = QString::fromLatin1(catalog::packageTablePath));

    // Fills the field of column `name` from the cell at the cursor. False for a name that is
    // no column of this record; that name still takes one cell.
    bool readColumn(const QString &name, catalog::CellCursor &cells);

    bool operator==(const packageStyle &other) const
    {
        return Code == other.Code && shortDesc == other.shortDesc && fullDesc == other.fullDesc;
    }
    bool operator!=(const packageStyle &other) const { return !(*this == other); }

    QString getCode() const { return Code; }
    QString getShortDesc() const { return shortDesc; }
    QString getFullDesc() const { return fullDesc; }

private:
    QString Code;
    QString shortDesc;
    QString fullDesc;
};
