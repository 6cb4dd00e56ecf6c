// A design file named on the command line opens when the window is built. The window reads
// the application's own argument list, so this test starts its application with one.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

namespace {

const char *const kDesign = "cmdline.kwd";
const char *const kOther = "not-a-design.txt";

void writeFile(const char *name, const QByteArray &bytes)
{
    QFile f(QString::fromLatin1(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

} // namespace

class TestDesignFileCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void opensTheNamedFile();
    void otherFilesAreReported();
    void missingFileIsPassedOver();
};

void TestDesignFileCommandLine::opensTheNamedFile()
{
    MainWindow w;
    QCOMPARE(w.fileName, QString::fromLatin1(kDesign));
    QVERIFY(w.hasFileName);
    QVERIFY(!w.designModified);
    QCOMPARE(w.ui->SOA_Rload->text(), QStringLiteral("47"));
    QCOMPARE(w.ui->Page->currentIndex(), 2);
    QCOMPARE(w.SOAVs_pos, QStringLiteral("60"));
    for (QMessageBox *box : w.findChildren<QMessageBox *>())
        QVERIFY2(!box->isVisible(), qPrintable(box->text()));
}

void TestDesignFileCommandLine::otherFilesAreReported()
{
    MainWindow w;
    w.fileName = QString::fromLatin1(kOther);
    w.openFile();
    QStringList shown;
    for (QMessageBox *box : w.findChildren<QMessageBox *>())
        if (box->isVisible()) shown << box->text();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].contains("is not an Ampwright design file"));
}

void TestDesignFileCommandLine::missingFileIsPassedOver()
{
    // As at a start with no design file current yet: the path stays the start of the dialogs,
    // and Save still asks.
    MainWindow w;
    w.hasFileName = false;
    w.openCommandLineFile({"ampwright", "no such file.kwd"});
    QCOMPARE(w.fileName, QStringLiteral("no such file.kwd"));
    QVERIFY(!w.hasFileName);
    QVERIFY(!w.designModified);
    for (QMessageBox *box : w.findChildren<QMessageBox *>())
        QVERIFY(!box->isVisible());
}

// The application gets the program and the design file as its arguments; QtTest gets only the
// program name (and whatever options were given after "--").
int main(int argc, char **argv)
{
    writeFile(kDesign, "KEST AMPWRIGHT SAVED PREFERENCES\n"
                       "Version: 9.0.1\n"
                       "Page: 2\n"
                       "SOAVs_pos: 60\n"
                       "SOA_Rload: 47\n");
    writeFile(kOther, "nothing to see\n");
    QByteArray file(kDesign);
    char *appArgs[] = {argv[0], file.data(), nullptr};
    int appArgc = 2;
    QApplication app(appArgc, appArgs);
    TestDesignFileCommandLine test;
    QStringList testArgs{QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i)
        testArgs << QString::fromLocal8Bit(argv[i]);
    return QTest::qExec(&test, testArgs);
}

#include "tst_designfile_cmdline.moc"
