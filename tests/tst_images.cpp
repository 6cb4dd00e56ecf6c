// The compiled-in pictures: every path the window and its pages name loads, in the format its
// extension promises, at the size a page relies on; and every package code and heatsink of the
// catalog has its picture, since a missing one leaves the selector's picture blank without a word.
#include "app/resources.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtTest>

namespace {

// Rows of a tab-separated resource table with every cell kept in its column (no empty cell
// dropped), header first. An absent table gives no rows.
QVector<QStringList> tableRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QVector<QStringList> rows;
    for (QString line : QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char('\r'));
        if (!line.trimmed().isEmpty()) rows << line.split(QLatin1Char('\t'));
    }
    return rows;
}

// The values of one named column, below the header.
QStringList column(const QVector<QStringList> &rows, const QString &name)
{
    QStringList values;
    if (rows.isEmpty()) return values;
    const int c = rows.first().indexOf(name);
    if (c < 0) return values;
    for (int i = 1; i < rows.size(); ++i)
        if (c < rows[i].size() && !rows[i][c].trimmed().isEmpty()) values << rows[i][c].trimmed();
    return values;
}

} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void namedPictures_data();
    void namedPictures();
    void loopDiagramsAreTransparent_data();
    void loopDiagramsAreTransparent();
    void everyPackageCodeHasItsPicture();
    void everyHeatsinkHasItsPicture();
};

void TestImages::initTestCase()
{
    initAmpwrightResources();
}

void TestImages::namedPictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size"); // invalid: any size will do

    const QSize any;
    const char *const anySize[] = {
        // window icon, wordmark, splash screen
        "icon_kest.png", "AWsymbol.png", "kest_splashscreen.png",
        // home page: START, arrows, the eleven feature buttons and the logo
        "Start.png", "chevron.png", "chevronL.png", "chevronR.png", "Linear.jpg", "PWM.jpg",
        "SOA.jpg", "IHCP.jpg", "Filter.jpg", "Motor.jpg", "Stability.jpg", "Power.jpg",
        "Control.jpg", "Heatsink.jpg", "Tutorial.jpg", "KestLogo.png",
        // package and heatsink pictures the form shows before any selection, the schematic
        // editor's tool icons
        "CE.JPG", "CC.JPG", "DE.JPG", "TK21.jpg",
        // PWM control circuit types
        "V1SI.png", "V2SI.png", "I1SI.png", "I2SI.png",
        // three-phase page
        "ThreePhaseEditMotor.png", "ThreePhaseEditWaveform.png", "Warning.png"};
    for (const char *name : anySize)
        QTest::newRow(name) << QStringLiteral(":/KestLinear/") + name << any;
    // the motor dialog's winding pictures, stretched over their button at these sizes
    QTest::newRow("ThreePhaseDelta.png") << ":/KestLinear/ThreePhaseDelta.png" << QSize(808, 608);
    QTest::newRow("ThreePhaseWye.png") << ":/KestLinear/ThreePhaseWye.png" << QSize(1057, 794);
}

void TestImages::namedPictures()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QImageReader reader(path);
    const QByteArray expectedFormat = path.endsWith(".png") ? "png" : "jpeg";
    QCOMPARE(reader.format(), expectedFormat);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(path + ": " + reader.errorString()));
    if (size.isValid()) QCOMPARE(image.size(), size);
}

void TestImages::loopDiagramsAreTransparent_data()
{
    QTest::addColumn<QString>("path");
    for (const char *name : {"V1SI.png", "V2SI.png", "I1SI.png", "I2SI.png"})
        QTest::newRow(name) << QStringLiteral(":/KestLinear/") + name;
}

// The circuit-type pictures are icons on checkable buttons: the button's own checked shading
// must show through around the lines.
void TestImages::loopDiagramsAreTransparent()
{
    QFETCH(QString, path);
    const QImage image(path);
    QVERIFY(!image.isNull());
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
}

void TestImages::everyPackageCodeHasItsPicture()
{
    const QStringList codes = column(tableRows(":/KestLinear/PackageStyles.txt"), "Code");
    if (codes.isEmpty()) QSKIP("no package style table among the resources");
    // the selectors show the picture of the code a part names, so those codes count too
    QSet<QString> all(codes.begin(), codes.end());
    for (const char *table : {":/KestLinear/LinearAmpData.txt", ":/KestLinear/PWMAmpData.txt"})
        for (const QString &code : column(tableRows(table), "packageStyle"))
            all.insert(code);
    for (const QString &code : all) {
        const QString path = ":/KestLinear/" + code + ".JPG";
        QVERIFY2(!QImage(path).isNull(), qPrintable("no picture " + path));
    }
}

void TestImages::everyHeatsinkHasItsPicture()
{
    const QStringList names = column(tableRows(":/KestLinear/Heatsinks.txt"), "Name");
    if (names.isEmpty()) QSKIP("no heatsink table among the resources");
    for (const QString &name : names) {
        const QString path = ":/KestLinear/" + name + ".jpg";
        QVERIFY2(!QImage(path).isNull(), qPrintable("no picture " + path));
    }
}

QTEST_GUILESS_MAIN(TestImages)
#include "tst_images.moc"
