// The application shell: release check, last-file memory, closing with unsaved changes, font
// sizes and the demo-board serial link.
#include "app/mainwindow.h"
#include "app/preferences.h"
#include "app/releasecheck.h"
#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <unistd.h>

namespace {

// Watches for the next modal message box, records its title and text and answers it.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer) : answer(answer)
    {
        timer.setInterval(20);
        connect(&timer, &QTimer::timeout, this, [this] {
            // A save dialog that the answer Save brings up is cancelled.
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                ++fileDialogs;
                dialog->reject();
                return;
            }
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            title = box->windowTitle();
            text = box->text();
            ++seen;
            if (QAbstractButton *b = box->button(this->answer))
                b->click();
            else
                box->reject();
        });
        timer.start();
    }
    QMessageBox::StandardButton answer;
    QTimer timer;
    QString title;
    QString text;
    int seen = 0;
    int fileDialogs = 0;
};

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing>");
    return QString::fromUtf8(f.readAll());
}

// Serves one fixed status line and body to every HTTP request on 127.0.0.1.
class ReleaseServer : public QTcpServer
{
public:
    // `missing`: bytes the header announces beyond the body, so that the answer breaks off.
    explicit ReleaseServer(const QByteArray &body, const QByteArray &status = "200 OK",
                           int missing = 0)
        : body(body), status(status), missing(missing)
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    s->readAll();
                    s->write("HTTP/1.1 " + this->status +
                             "\r\nContent-Type: text/plain\r\nContent-Length: " +
                             QByteArray::number(this->body.size() + this->missing) +
                             "\r\nConnection: close\r\n\r\n" + this->body);
                    s->disconnectFromHost();
                });
            }
        });
        listen(QHostAddress::LocalHost, 0);
    }
    QByteArray body;
    QByteArray status;
    int missing;
};

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void buildsWithEverySlotBound();
    void homePageTexts();
    void navigation_data();
    void navigation();
    void mainMenuShortcut();
    void releaseComparison_data();
    void releaseComparison();
    void releaseCheckOverHttp_data();
    void releaseCheckOverHttp();
    void releaseUrl();

    void rememberedPath();
    void startsWithRememberedPath();
    void closePrompt_data();
    void closePrompt();
    void fontActionsCheckExactlyOne();
    void serialGreeting();
    void serialMissingPortIsReported();
};

namespace {
QStringList slotWarnings;
void recordSlotWarnings(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (message.contains("connectSlotsByName"))
        slotWarnings << message;
}
} // namespace

void TestShell::buildsWithEverySlotBound()
{
    // A renamed widget would leave its slot silently unbound; Qt only warns.
    slotWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordSlotWarnings);
    {
        MainWindow w;
    }
    qInstallMessageHandler(previous);
    QVERIFY2(slotWarnings.isEmpty(), qPrintable(slotWarnings.join('\n')));
}

void TestShell::homePageTexts()
{
    MainWindow w;
    QCOMPARE(w.ui->VersionLabel->text(), QString("Version 9.0.2"));
    QCOMPARE(w.ui->SupportLink->textFormat(), Qt::RichText);
    QVERIFY(w.ui->SupportLink->text().contains(
        "<span style=\" text-decoration: underline; color:#0000ff;\">"));
    QVERIFY(w.ui->SupportLink->text().contains("<a href=\"https://"));
}

void TestShell::navigation_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("page");
    QTest::newRow("linear selector") << "LPSbutton" << 1;
    QTest::newRow("SOA") << "SOAbutton" << 2;
    QTest::newRow("stability") << "LstabButton" << 4;
    QTest::newRow("Howland pump") << "IHCPbutton" << 5;
    QTest::newRow("heatsinks") << "HSbutton" << 7;
    QTest::newRow("PWM selector") << "SPSButton" << 8;
    QTest::newRow("PWM power") << "PWMPowerButton" << 9;
    QTest::newRow("three-phase") << "ThreePhaseButton" << 10;
    QTest::newRow("examples") << "Examples" << 11;
    QTest::newRow("PWM filter") << "FilterButton" << 12;
    QTest::newRow("PWM control") << "PWMControlButton" << 13;
    QTest::newRow("to PWM control from PWM power") << "ToPWMControl" << 13;
}

void TestShell::navigation()
{
    QFETCH(QString, button);
    QFETCH(int, page);
    MainWindow w;
    w.show();
    QCOMPARE(w.ui->Page->currentIndex(), 0);
    QVERIFY(!w.ui->HomeButton->isVisible());
    auto *b = w.findChild<QAbstractButton *>(button);
    QVERIFY(b);
    b->click();
    QCOMPARE(w.ui->Page->currentIndex(), page);
    QVERIFY(w.ui->HomeButton->isVisible());
    // The menu's Main Menu goes home but leaves the button shown; the button hides itself.
    w.ui->actionMain_Menu->trigger();
    QCOMPARE(w.ui->Page->currentIndex(), 0);
    QVERIFY(w.ui->HomeButton->isVisible());
    b->click();
    w.ui->HomeButton->click();
    QCOMPARE(w.ui->Page->currentIndex(), 0);
    QVERIFY(!w.ui->HomeButton->isVisible());
}

void TestShell::mainMenuShortcut()
{
    MainWindow w;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.ui->SOAbutton->click();
    QTest::keyClick(&w, Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(w.ui->Page->currentIndex(), 0);
    QVERIFY(w.ui->HomeButton->isVisible());
}

void TestShell::releaseComparison_data()
{
    QTest::addColumn<QString>("published");
    QTest::addColumn<bool>("newer");
    QTest::newRow("same release") << "9.0.2" << false;
    QTest::newRow("newer patch") << "9.0.3" << true;
    QTest::newRow("newer minor, two parts") << "9.1" << true;
    QTest::newRow("newer major, one part") << "10" << true;
    QTest::newRow("older patch") << "9.0.1" << false;
    QTest::newRow("older major") << "8.9.9" << false;
    QTest::newRow("one equal part") << "9" << false;
    QTest::newRow("two equal parts") << "9.0" << false;
    QTest::newRow("four parts, first three equal") << "9.0.2.1" << false;
    QTest::newRow("trailing line break") << "9.0.3\n" << true;
    QTest::newRow("white space around parts") << " 9 . 0 . 3 " << true;
    QTest::newRow("error page reads as zeros") << "<html><body>404</body></html>" << false;
    QTest::newRow("empty part reads zero") << "9..3" << true;
}

void TestShell::releaseComparison()
{
    QFETCH(QString, published);
    QFETCH(bool, newer);
    QCOMPARE(release::isNewerRelease("9.0.2", published), newer);
}

void TestShell::releaseCheckOverHttp_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<int>("missing");
    QTest::addColumn<bool>("message");
    const QByteArray ok("200 OK");
    QTest::newRow("newer") << QByteArray("9.0.3\n") << ok << 0 << true;
    QTest::newRow("older") << QByteArray("8.9.9") << ok << 0 << false;
    QTest::newRow("equal") << QByteArray("9.0.2") << ok << 0 << false;
    QTest::newRow("empty answer") << QByteArray() << ok << 0 << false;
    // An error page's body is no release number, whatever it reads as.
    QTest::newRow("404 page whose body is 404")
        << QByteArray("404") << QByteArray("404 Not Found") << 0 << false;
    QTest::newRow("400 with a newer number")
        << QByteArray("9.0.3") << QByteArray("400 Bad Request") << 0 << false;
    QTest::newRow("server error with a newer number")
        << QByteArray("10") << QByteArray("500 Internal Server Error") << 0 << false;
    QTest::newRow("answer broken off after a newer number")
        << QByteArray("9.0.3") << ok << 5 << false;
}

void TestShell::releaseCheckOverHttp()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, status);
    QFETCH(int, missing);
    QFETCH(bool, message);
    ReleaseServer server(body, status, missing);
    QVERIFY(server.isListening());
    qputenv("AMPWRIGHT_RELEASE_HOST",
            QByteArray("http://127.0.0.1:") + QByteArray::number(server.serverPort()));
    BoxAnswerer answerer(QMessageBox::Ok);
    MainWindow w;
    qputenv("AMPWRIGHT_RELEASE_HOST", "http://127.0.0.1:9");
    auto *manager = w.findChild<QNetworkAccessManager *>();
    QVERIFY(manager);
    bool done = false;
    connect(manager, &QNetworkAccessManager::finished, this, [&done] { done = true; });
    QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
    QCOMPARE(answerer.seen, message ? 1 : 0);
    if (message) {
        QCOMPARE(answerer.title, QString("Update"));
        QVERIFY(answerer.text.startsWith("There is a new update available. Go to "));
        QVERIFY(answerer.text.endsWith(" to download the newest modules and amplifiers."));
    }
}

void TestShell::releaseUrl()
{
    qputenv("AMPWRIGHT_RELEASE_HOST", "http://127.0.0.1:8080/");
    QCOMPARE(release::releaseUrl().toString(),
             QString("http://127.0.0.1:8080/resources/tools/AmpwrightCurrentVersion.txt"));
    qunsetenv("AMPWRIGHT_RELEASE_HOST");
    QCOMPARE(release::releaseUrl().scheme(), QString("https"));
    QCOMPARE(release::releaseUrl().path(),
             QString("/resources/tools/AmpwrightCurrentVersion.txt"));
    qputenv("AMPWRIGHT_RELEASE_HOST", "http://127.0.0.1:9");
}

void TestShell::rememberedPath()
{
    QTemporaryDir dir;
    const QString prefs = dir.filePath("preferences.txt");
    const QString design = dir.filePath("amp design.kwd");

    QCOMPARE(preferences::readLastDesignPath(prefs), QString()); // no file yet

    QFile d(design);
    QVERIFY(d.open(QIODevice::WriteOnly));
    d.close();
    preferences::writeLastDesignPath(design, prefs);
    QCOMPARE(readFile(prefs), design); // one path, no line end
    QCOMPARE(preferences::readLastDesignPath(prefs), design);

    QFile::remove(design); // a path that no longer opens is forgotten
    QCOMPARE(preferences::readLastDesignPath(prefs), QString());

    preferences::writeLastDesignPath(QString(), prefs); // truncates
    QCOMPARE(readFile(prefs), QString());
}

void TestShell::startsWithRememberedPath()
{
    QFile design("remembered.kwd");
    QVERIFY(design.open(QIODevice::WriteOnly));
    design.close();
    preferences::writeLastDesignPath("remembered.kwd");
    MainWindow w;
    QCOMPARE(w.fileName, QString("remembered.kwd"));
    QVERIFY(!w.hasFileName);
    QVERIFY(!w.designModified);
    QCOMPARE(w.ui->Page->currentIndex(), 0);
    QVERIFY(w.ui->HomeButton->isHidden());
    QFile::remove("remembered.kwd");
    QFile::remove("preferences.txt");
}

void TestShell::closePrompt_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closes");
    QTest::newRow("unmodified closes without asking") << false << int(QMessageBox::No) << false
                                                      << true;
    QTest::newRow("modified, No closes") << true << int(QMessageBox::No) << true << true;
    QTest::newRow("modified, Cancel stays open") << true << int(QMessageBox::Cancel) << true
                                                 << false;
    // No design file yet: Save asks for a path; cancelling it saves nothing, so the window
    // must stay open rather than lose the design.
    QTest::newRow("modified, Save with the save dialog cancelled stays open")
        << true << int(QMessageBox::Save) << true << false;
}

void TestShell::closePrompt()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closes);
    QFile::remove("preferences.txt");
    MainWindow w;
    w.show();
    w.fileName = "some/design.kwd";
    w.designModified = modified;
    BoxAnswerer answerer{QMessageBox::StandardButton(answer)};
    QCOMPARE(w.close(), closes);
    QCOMPARE(answerer.seen, asked ? 1 : 0);
    QCOMPARE(answerer.fileDialogs, answer == QMessageBox::Save ? 1 : 0);
    if (asked) {
        QCOMPARE(answerer.title, QString("Close Ampwright"));
        QCOMPARE(answerer.text, QString("Save Changes?\n"));
    }
    // Written in every case, also when the window stays open.
    QCOMPARE(readFile("preferences.txt"), QString("some/design.kwd"));
    w.designModified = false;
}

void TestShell::fontActionsCheckExactlyOne()
{
    MainWindow w;
    const QList<QAction *> actions = {w.ui->action24_pt, w.ui->action20_pt, w.ui->action18_pt,
                                      w.ui->action14_pt, w.ui->action12_pt, w.ui->action10_pt,
                                      w.ui->action8_pt,  w.ui->action6_pt};
    for (QAction *a : actions)
        QVERIFY(!a->isChecked());
    w.ui->action12_pt->trigger();
    for (QAction *a : actions)
        QCOMPARE(a->isChecked(), a == w.ui->action12_pt);
    QCOMPARE(QApplication::font("QWidget").pointSize(), 12);
    QCOMPARE(QApplication::font("QWidget").family(), QString("MS Shell Dlg 2"));
    w.ui->action12_pt->trigger(); // the user's click unchecked it; it is checked again
    QVERIFY(w.ui->action12_pt->isChecked());
    w.ui->action6_pt->trigger();
    for (QAction *a : actions)
        QCOMPARE(a->isChecked(), a == w.ui->action6_pt);
    QCOMPARE(QApplication::font("QWidget").pointSize(), 6);
}

void TestShell::serialGreeting()
{
    const QString socat = QStandardPaths::findExecutable("socat");
    if (socat.isEmpty())
        QSKIP("socat is not installed");
    if (geteuid() != 0)
        QSKIP("creating /dev/COM4 needs root");
    if (QFile::exists("/dev/COM4"))
        QSKIP("/dev/COM4 already exists on this machine");
    const QString boardEnd = QDir::temp().filePath("ampwright-demo-board");
    QProcess link;
    link.start(socat, {"pty,raw,echo=0,link=/dev/COM4", "pty,raw,echo=0,link=" + boardEnd});
    QVERIFY(link.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists("/dev/COM4") && QFile::exists(boardEnd), 5000);

    QSerialPort board(QFileInfo(boardEnd).canonicalFilePath());
    QVERIFY(board.open(QIODevice::ReadOnly));
    MainWindow w;
    BoxAnswerer answerer(QMessageBox::Ok);
    w.connectUART();
    QCOMPARE(answerer.seen, 0);
    QByteArray received;
    while (received.size() < 3 && board.waitForReadyRead(3000))
        received += board.readAll();
    QCOMPARE(received, QByteArray("ok*"));
    board.close();
    link.terminate();
    link.waitForFinished(3000);
}

void TestShell::serialMissingPortIsReported()
{
    if (QFile::exists("/dev/COM4"))
        QSKIP("a COM4 port exists on this machine");
    MainWindow w;
    BoxAnswerer answerer(QMessageBox::Ok);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(".+"));
    w.connectUART();
    QCOMPARE(answerer.seen, 1);
    QVERIFY(answerer.text.contains("COM4"));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
