#include "catalog/heatsink.h"

bool heatsink::readColumn(const QString &name, catalog::CellCursor &cells)
{
    static const struct
    {
        const char *name;
        double heatsink::*field;
    } reals[] = {
        {"FreeAirTheta", &heatsink::FreeAirTheta},
        {"Length", &heatsink::Length},
        {"Width", &heatsink::Width},
        {"Height", &heatsink::Height},
        {"Weight", &heatsink::Weight},
        {"A", &heatsink::A},
        {"B", &heatsink::B},
        {"C", &heatsink::C},
        {"relative_price", &heatsink::relative_price},
    };
    for (const auto &c : reals) {
        if (name == QLatin1String(c.name)) {
            cells.readReal(this->*c.field);
            return true;
        }
    }
    if (name == QLatin1String("Name")) {
        cells.readText(Name);
    } else if (name == QLatin1String("drawingLink")) {
        cells.readText(drawingLink);
    } else if (name == QLatin1String("numPackages")) {
        cells.readWhole(numPackages);
    } else if (name == QLatin1String("packages")) {
        // Without packages the row still writes one placeholder cell here.
        if (numPackages > 0)
            cells.readTexts(packages, numPackages);
        else
            cells.skip(1);
    } else if (name == QLatin1String("AAVID")) {
        // A comparable heatsink of an outside vendor: listed in the table, not used.
        cells.skip(1);
    } else {
        cells.skip(1);
        return false;
    }
    return true;
}

bool heatsink::operator==(const heatsink &other) const
{
    return Name == other.Name && FreeAirTheta == other.FreeAirTheta && Length == other.Length &&
           Width == other.Width && Height == other.Height && Weight == other.Weight &&
           numPackages == other.numPackages && packages == other.packages && A == other.A &&
           B == other.B && C == other.C && relative_price == other.relative_price &&
           drawingLink == other.drawingLink;
}

void heatsink::readFile(QVector<heatsink> &list, const QString &path)
{
    catalog::readTable(list, *this, path, "Could not open Heatsink File",
                       [](const heatsink &, const catalog::CellCursor &) { return true; });
}
