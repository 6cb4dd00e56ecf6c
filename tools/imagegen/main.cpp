// imagegen: draws every compiled-in picture of Ampwright into a folder (normally KestLinear/)
// and lists them in that folder's images.qrc.
//
//   imagegen <output folder> [folder holding PackageStyles.txt and Heatsinks.txt]
//
// Package and heatsink pictures follow the catalog tables when they are given; without them a
// built-in list covers the pictures the main window names.

#include "canvas.h"
#include "generators.h"
#include "packages.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <cstdio>

namespace {

bool isPicture(const QString &name)
{
    return name.contains(QRegularExpression(QStringLiteral("\\.(png|jpg)$"),
                                            QRegularExpression::CaseInsensitiveOption));
}

// Rewrites images.qrc with every picture drawn, each at :/KestLinear/<file>. Lines of other
// entries (none today) are kept as they were.
void writeResourceFile(const QString &folder)
{
    const QString path = QDir(folder).filePath("images.qrc");
    QStringList kept;
    QFile in(path);
    if (in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        static const QRegularExpression entry(QStringLiteral(">([^<]+)</file>"));
        for (const QString &line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = entry.match(line);
            if (m.hasMatch() && !isPicture(m.captured(1))) kept << line.trimmed();
        }
        in.close();
    }
    QStringList pictures = Output::written;
    pictures.sort(Qt::CaseInsensitive);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "imagegen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    QTextStream ts(&out);
    ts << "<RCC>\n    <qresource prefix=\"/\">\n";
    for (const QString &line : kept)
        ts << "        " << line << "\n";
    for (const QString &name : pictures)
        ts << "        <file alias=\"KestLinear/" << name << "\">" << name << "</file>\n";
    ts << "    </qresource>\n</RCC>\n";
}

// Pictures already in the folder that this run did not draw: left alone, but named, since the
// resource file no longer lists them.
void reportStale(const QString &folder)
{
    const QStringList present = QDir(folder).entryList(QDir::Files);
    for (const QString &name : present)
        if (isPicture(name) && !Output::written.contains(name))
            std::fprintf(stderr, "imagegen: %s was not drawn this run (remove it?)\n",
                         qPrintable(name));
}

// The table's rows; without a table, the built-in list. Either way the pictures the main
// window names by fixed path are there, from the built-in list if the table lacks them.
template <typename Row, typename Key>
QVector<Row> rowsToDraw(const QVector<Row> &table, const QVector<Row> &builtIn,
                        const QStringList &namedByWindow, Key key)
{
    QVector<Row> rows;
    QSet<QString> seen;
    for (const Row &r : table.isEmpty() ? builtIn : table)
        if (!seen.contains(key(r))) {
            seen.insert(key(r));
            rows << r;
        }
    for (const Row &r : builtIn)
        if (namedByWindow.contains(key(r)) && !seen.contains(key(r))) {
            seen.insert(key(r));
            rows << r;
        }
    return rows;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: imagegen <output folder> [tables folder]\n");
        return 2;
    }
    Output::folder = args[1];
    if (!QDir().mkpath(Output::folder)) {
        std::fprintf(stderr, "imagegen: cannot create %s\n", qPrintable(Output::folder));
        return 1;
    }

    drawBrandPictures();
    drawFeatureButtons();
    drawLoopDiagrams();
    drawThreePhasePictures();

    QVector<PackageRow> packageTable;
    QVector<HeatsinkRow> heatsinkTable;
    if (args.size() == 3) {
        packageTable = readPackageTable(args[2]);
        heatsinkTable = readHeatsinkTable(args[2]);
    }
    drawPackagePictures(rowsToDraw(packageTable, defaultPackages(), {"CE", "CC", "DE"},
                                   [](const PackageRow &r) { return r.code; }));
    drawHeatsinkPictures(rowsToDraw(heatsinkTable, defaultHeatsinks(), {"TK21"},
                                    [](const HeatsinkRow &r) { return r.name; }));

    writeResourceFile(Output::folder);
    reportStale(Output::folder);
    std::printf("imagegen: %d pictures in %s\n", int(Output::written.size()),
                qPrintable(Output::folder));
    for (const QString &name : Output::written)
        std::printf("  %s\n", qPrintable(name));
    return 0;
}
