// The product summary tables written from the shipped catalog, compared with the files under
// data/summary/, and the export's handling of the folder it writes into.
//
// Updating the expected files after a deliberate change to the catalog or to the tables:
//   AMPWRIGHT_UPDATE_GOLDEN=1 ./tests/tst_summary    (from the build folder)
// writes the five tables into tests/data/summary/ of the source tree; review them with
// `git diff tests/data/summary` and commit them with the change that caused them.
#include "app/mainwindow.h"
#include "selectors/summarytables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString goldenFolder = QStringLiteral(AMPWRIGHT_TEST_DATA "/summary");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
}

QStringList tableFiles()
{
    QStringList names;
    for (selectors::SummaryTable table : selectors::summaryTables)
        names << selectors::summaryFileName(table);
    return names;
}

} // namespace

class tst_summary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void matchesGolden_data();
    void matchesGolden();
    void replacesOldTables();
    void missingFolderIsReported();
    void stopsAtTheFirstTableThatFails();

private:
    MainWindow *window = nullptr;
    QTemporaryDir out;
};

void tst_summary::initTestCase()
{
    window = new MainWindow;
    QVERIFY(out.isValid());
    QCOMPARE(window->exportProductSummary(out.path()), QString());
    if (qEnvironmentVariableIsSet("AMPWRIGHT_UPDATE_GOLDEN")) {
        QDir().mkpath(goldenFolder);
        for (const QString &name : tableFiles()) {
            QFile::remove(goldenFolder + QLatin1Char('/') + name);
            QVERIFY(QFile::copy(out.filePath(name), goldenFolder + QLatin1Char('/') + name));
        }
        qInfo("expected tables rewritten in %s", qPrintable(goldenFolder));
    }
}

void tst_summary::cleanupTestCase()
{
    delete window;
}

void tst_summary::matchesGolden_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : tableFiles())
        QTest::newRow(qPrintable(name)) << name;
}

void tst_summary::matchesGolden()
{
    QFETCH(QString, name);
    const QByteArray written = readAll(out.filePath(name));
    const QByteArray expected = readAll(goldenFolder + QLatin1Char('/') + name);
    // Line by line, so that a difference names its row.
    const QList<QByteArray> got = written.split('\n');
    const QList<QByteArray> want = expected.split('\n');
    for (int i = 0; i < std::min(got.size(), want.size()); ++i)
        QVERIFY2(got.at(i) == want.at(i),
                 qPrintable(QStringLiteral("line %1:\n  written  %2\n  expected %3")
                                .arg(i + 1)
                                .arg(QString::fromUtf8(got.at(i)), QString::fromUtf8(want.at(i)))));
    QCOMPARE(got.size(), want.size());
    // Plain line feeds, UTF-8 micro sign in the units rows of the linear tables.
    QVERIFY(!written.contains('\r'));
    if (name.contains(QLatin1String("OpAmps"))) QVERIFY(written.contains("V/\xc2\xb5s"));
}

void tst_summary::replacesOldTables()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(tableFiles().first());
    QFile stale(first);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray(100000, 'x'));
    stale.close();
    QCOMPARE(window->exportProductSummary(dir.path()), QString());
    QCOMPARE(window->exportProductSummary(dir.path()), QString());
    for (const QString &name : tableFiles())
        QCOMPARE(readAll(dir.filePath(name)), readAll(out.filePath(name)));
    // The tables land inside the folder, named as they are, and nothing else is left there.
    QStringList present = QDir(dir.path()).entryList(QDir::Files);
    QStringList expected = tableFiles();
    present.sort();
    expected.sort();
    QCOMPARE(present, expected);
}

void tst_summary::missingFolderIsReported()
{
    QTemporaryDir dir;
    const QString gone = dir.filePath(QStringLiteral("no such folder"));
    const QString error = window->exportProductSummary(gone);
    QVERIFY(error.contains(QLatin1String("HighCurrentOpAmps.csv")));
    QVERIFY(!QDir(gone).exists());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void tst_summary::stopsAtTheFirstTableThatFails()
{
    // A folder in the way of the second table: the first is written, the later ones are not.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("HighSpeedOpAmps.csv")));
    const QString error = window->exportProductSummary(dir.path());
    QVERIFY2(error.contains(QLatin1String("HighSpeedOpAmps.csv")), qPrintable(error));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("HighCurrentOpAmps.csv"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("HighVoltageOpAmps.csv"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("HighVoltagePWM.csv"))));
}

QTEST_MAIN(tst_summary)
#include "tst_summary.moc"
