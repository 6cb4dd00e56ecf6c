#pragma once

#include <QString>
#include <QVector>

class IsoScene;

// One row of the package style table: the code names the picture, the descriptions say what
// outline to draw.
struct PackageRow
{
    QString code, shortDesc, fullDesc;
};

// One row of the heatsink table, as far as the picture needs it. Dimensions in inches.
struct HeatsinkRow
{
    QString name;
    double length = 0, width = 0, height = 0;
};

// Reads PackageStyles.txt and Heatsinks.txt from folder (tab-separated, header row first, CR LF
// or LF). A missing or unreadable table gives an empty list and a note on stderr.
QVector<PackageRow> readPackageTable(const QString &folder);
QVector<HeatsinkRow> readHeatsinkTable(const QString &folder);

// The pictures the program names whether or not the tables are at hand.
QVector<PackageRow> defaultPackages();
QVector<HeatsinkRow> defaultHeatsinks();

// Adds an extruded finned heatsink (or, for a water-cooled one, a cold plate with two
// fittings) of the given size to the scene.
void addHeatsink(IsoScene &scene, const HeatsinkRow &row, bool waterCooled);

void drawPackagePictures(const QVector<PackageRow> &rows);   // <code>.JPG
void drawHeatsinkPictures(const QVector<HeatsinkRow> &rows); // <name>.jpg
