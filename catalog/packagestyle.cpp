#include "catalog/packagestyle.h"

bool packageStyle::readColumn(const QString &name, catalog::CellCursor &cells)
{
    if (name == QLatin1String("Code")) {
        cells.readText(Code);
    } else if (name == QLatin1String("shortDesc")) {
        cells.readText(shortDesc);
    } else if (name == QLatin1String("fullDesc")) {
        cells.readText(fullDesc);
    } else {
        cells.skip(1);
        return false;
    }
    return true;
}

void packageStyle::readFile(QVector<packageStyle> &list, const QString &path)
{
    catalog::readTable(list, *this, path, "Could not open Package Style File",
                       [](const packageStyle &, const catalog::CellCursor &) { return true; });
}
