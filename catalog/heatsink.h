#pragma once

#include "catalog/catalogtable.h"

#include <QString>
#include <QStringList>
#include <QVector>

// One heatsink of the catalog. A plain value: filled only by its reader, read through getters.
// Sizes in inches, weight in ounces, thermal resistances in °C/W. Under forced cooling the
// thermal resistance is A·exp(B·flow) + C, flow in linear feet per minute of air, or in
// gallons per minute of water for a water-cooled heatsink (a name containing "H2O").
class heatsink
{
public:
    heatsink() = default;

    void clear() { *this = heatsink(); }

    // Reads ":/KestLinear/Heatsinks.txt" into `list`, replacing its contents; every row is
    // kept. Uses this record as row buffer.
    void readFile(QVector<heatsink> &list,
                  const QString &path = QString::fromLatin1(catalog::heatsinkTablePath));

    // Fills the field of column `name` from the cells at the cursor. False for a name that is
    // no column of this table; that name still takes one cell.
    bool readColumn(const QString &name, catalog::CellCursor &cells);

    bool operator==(const heatsink &other) const;
    bool operator!=(const heatsink &other) const { return !(*this == other); }

    QString getName() const { return Name; }
    double getFreeAirTheta() const { return FreeAirTheta; } // °C/W, natural convection
    double getLength() const { return Length; }             // in
    double getWidth() const { return Width; }               // in
    double getHeight() const { return Height; }             // in
    double getWeight() const { return Weight; }             // oz
    int getNumPackages() const { return numPackages; }
    // Package code i, 0 <= i < getNumPackages(); outside the list an empty code.
    QString getPackage(int i) const { return packages.value(i); }
    double getA() const { return A; }                           // °C/W
    double getB() const { return B; }                           // per unit of flow, negative
    double getC() const { return C; }                           // °C/W, approached at high flow
    double getRelative_price() const { return relative_price; } // US dollars
    QString getDrawingLink() const { return drawingLink; }

    // Every package code, for code that walks them all.
    QStringList listPackages() const { return packages; }

private:
    QString Name = QStringLiteral("TK20");
    double FreeAirTheta = 0;
    double Length = 0;
    double Width = 0;
    double Height = 0;
    double Weight = 0;
    int numPackages = 0;
    QStringList packages;
    double A = 0;
    double B = 0;
    double C = 0;
    double relative_price = 0;
    QString drawingLink = QString::fromLatin1(catalog::makerHomePage);
};
