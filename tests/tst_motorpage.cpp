// The three-phase motor page in the window: start-up, edits that recompute, part changes,
// the motor dialog driven as a user would, signal picking on the schematic, and the PWL export.
#include "app/mainwindow.h"
#include "motor/motordialog.h"
#include "values/engvalues.h"
#include "ui_mainwindow.h"
#include "plotcheck.h"
#include "windowtest.h"
#include "ui_motordialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <qcustomplot.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// Answers the modal dialogs that appear while it lives: file dialogs with `path` (or a
// cancel when it is empty), message boxes by their default button, recording their texts.
class DialogAnswerer
{
public:
    explicit DialogAnswerer(const QString &path) : path_(path)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start(10);
    }
    QStringList messages;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *fd = qobject_cast<QFileDialog *>(modal)) {
            if (path_.isEmpty()) {
                fd->reject();
            } else {
                // Typed as a user would: selectFile() races the dialog's directory loading.
                if (auto *name = fd->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    name->setText(path_);
                else
                    fd->selectFile(path_);
                static_cast<QDialog *>(fd)->accept();
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            messages << box->text();
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        }
    }
    QString path_;
    QTimer timer_;
};

// Runs `act` on the three-phase page's progress dialog once it shows: polled on every pass of
// the events that the refresh lets through, so no timing is assumed.
class ProgressWatch
{
public:
    explicit ProgressWatch(std::function<void(QProgressDialog *)> act)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, act] {
            if (auto *d = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget())) {
                timer_.stop();
                ++seen;
                act(d);
            }
        });
        timer_.start(0);
    }
    int seen = 0;

private:
    QTimer timer_;
};

// What a failed or cancelled export must leave: the export of before at its place, or no
// file at all.
const QByteArray kOldExport = "0,1\n1,2\n";

void oldExportRows()
{
    QTest::addColumn<bool>("oldFile");
    QTest::newRow("an export of before: kept whole") << true;
    QTest::newRow("no file before: none left") << false;
}

void placeOldExport(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kOldExport);
}

void verifyLeftAsBefore(const QString &path, bool oldFile)
{
    const QFileInfo info(path);
    QCOMPARE(info.dir().entryList(QDir::Files | QDir::Hidden),
             oldFile ? QStringList{info.fileName()} : QStringList());
    if (!oldFile) return;
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), kOldExport);
}

#ifdef Q_OS_LINUX
// While it lives, no file of this process grows past `bytes`: a write beyond fails with EFBIG,
// as on a full disk, rather than raising the signal that would end the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &before);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = bytes;
        set = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool set = false;

private:
    rlimit before{};
    void (*previousHandler)(int) = nullptr;
};

QString fileTooLarge(const QString &path)
{
    return "Could not write " + path + ": " + QString::fromLocal8Bit(std::strerror(EFBIG));
}
#endif

QPoint pixelOf(QCustomPlot *plot, double x, double y)
{
    return QPoint(qRound(plot->xAxis->coordToPixel(x)), qRound(plot->yAxis->coordToPixel(y)));
}

} // namespace

class TestMotorPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUp();
    void editRecomputes_data();
    void editRecomputes();
    void useButtons();
    void partChange();
    void preReleasedPartSwitchedOut();
    void heatsinkWord();
    void unusableInputs_data();
    void unusableInputs();
    void runawayDesignsRefused_data();
    void runawayDesignsRefused();
    void noNetPowerNoEfficiency();
    void reverseRotation_data();
    void reverseRotation();
    void wholeWindow_data();
    void wholeWindow();
    void graphAxes();
    void deltaDropsStarPoint();
    void phaseVoltageAsDutyCycle();

    void dialogControlPage();
    void dialogShowsAllRows();
    void dialogMotorPage();
    void dialogCancel();
    void dialogProfileOrder_data();
    void dialogProfileOrder();
    void dialogProfileCounts_data();
    void dialogProfileCounts();
    void dialogPoleClamp_data();
    void dialogPoleClamp();
    void dialogControlMovesConstant_data();
    void dialogControlMovesConstant();

    void clickPicksSignal();
    void clickStarPointTogglesOnce();
    void clickNearButNotOn();
    void clickFramedText();
    void clickWhenAllSlotsTaken();
    void deltaSchematic();

    void focusLossRunsNothing();
    void closePromptRunsNothing_data();
    void closePromptRunsNothing();
    void longRefreshCancelled_data();
    void longRefreshCancelled();
    void cancelsReturnAtOnce();
    void cancelledWindowKeepsItsAxis();
    void cancelledDeltaKeepsStarPoint();
    void editDuringLongRefreshWaits();

    void pwlExport();
    void pwlTimesIncrease_data();
    void pwlTimesIncrease();
    void pwlCancelled();
    void pwlWriteFailureIsReported();
    void pwlFailedWriteKeepsOldFile_data();
    void pwlFailedWriteKeepsOldFile();
    void pwlFailedWriteStopsTheRun();
    void pwlLongExportCancelled_data();
    void pwlLongExportCancelled();
    void cancelledExampleShowsItsGraphs();

private:
    P3motor *openDialog(const char *button);
    void clickSchematic(double x, double y);

    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestMotorPage::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestMotorPage::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
    w->resize(1400, 820);
    w->show();
    ui->Page->setCurrentIndex(10);
    ui->P3outputTabs->setCurrentIndex(0);
    QApplication::processEvents();
    ui->P3schematic->replot(); // lays the canvas out at its shown size
}

void TestMotorPage::cleanup()
{
    w.reset();
}

P3motor *TestMotorPage::openDialog(const char *button)
{
    w->findChild<QPushButton *>(button)->click();
    auto *dialog = qobject_cast<P3motor *>(QApplication::activeModalWidget());
    // The window keeps the dialog it opened last.
    return dialog && dialog == w->P3motorDialog.data() ? dialog : nullptr;
}

void TestMotorPage::clickSchematic(double x, double y)
{
    QTest::mouseClick(ui->P3schematic, Qt::LeftButton, Qt::NoModifier,
                      pixelOf(ui->P3schematic, x, y));
}

void TestMotorPage::startUp()
{
    QCOMPARE(ui->P3ampSelector->currentText(), QStringLiteral("NV321"));
    QCOMPARE(w->P3graphables, (QStringList{"I1", "null", "null", "null", "null", "null"}));
    QCOMPARE(w->designModified, false);
    QCOMPARE(ui->P3Fsw->text(), QStringLiteral("1"));
    QCOMPARE(ui->P3Vs->text(), QStringLiteral("50"));
    QCOMPARE(ui->P3Vcc->text(), QStringLiteral("5"));
    QVERIFY(ui->P3minHS->isHidden());
    QVERIFY(ui->label_318->isHidden());
    QVERIFY(ui->label_328->isHidden());

    // The default design is computed: 600 RPM of a four-pole motor is 40 Hz.
    QVERIFY(w->P3waveforms.steps() > 100);
    QCOMPARE(w->P3waveforms.freq.last(), 40.0);
    for (QLabel *label : {ui->P3loadPower, ui->P3ampPower, ui->P3Tcase, ui->P3Tjunction,
                          ui->P3Ipeak, ui->P3RMScurrent, ui->P3efficiency}) {
        bool ok = false;
        label->text().toDouble(&ok);
        QVERIFY2(ok, qPrintable(label->objectName() + ": " + label->text()));
    }
    QVERIFY(ui->P3loadPower->text().toDouble() > 10);
    QCOMPARE(ui->P3Tcase->text(), QStringLiteral("25")); // heatsink "0": an ideal one
    const QString notes = ui->P3TextBrowser->toPlainText();
    QVERIFY(notes.startsWith(QStringLiteral("Upper Switch A Power: ")));
    QVERIFY(notes.contains(QString::fromUtf8("Average Rds(ON) for a single switch: ")));
    QVERIFY(notes.contains(QStringLiteral("Iterations to achieve thermal equilibrium: ")));
    QVERIFY(ui->P3outputTabs->tabIcon(3).isNull()); // no warning

    // Slot 0 shows the phase A current; the other plots are hidden.
    QVERIFY(!ui->P3graph0->isHidden());
    QCOMPARE(ui->P3graph0->graph(0)->dataCount(), w->P3waveforms.steps());
    QCOMPARE(plotcheck::shownTitle(ui->P3graph0), QStringLiteral("A Line Current [A]"));
    QCOMPARE(ui->P3graph0->graph(0)->pen().color(), QColor(0, 0, 255));
    QCOMPARE(ui->P3graph0->xAxis->range().lower, 0.025);
    QCOMPARE(ui->P3graph0->xAxis->range().upper, 0.075);
    for (QCustomPlot *p : {ui->P3graph1, ui->P3graph2, ui->P3graph3, ui->P3graph4, ui->P3graph5})
        QVERIFY(p->isHidden());

    // The schematic: the part's name over one box, the delta motor, phase A's arrow in blue.
    QVERIFY(w->P3schCurrentArrows[0]);
    QCOMPARE(w->P3schCurrentArrows[0]->pen().color(), QColor(0, 0, 255));
    QCOMPARE(w->P3schCurrentArrows[1]->pen().color(), QColor(0, 0, 0));
    QCOMPARE(w->P3schAngleText->text(), QStringLiteral(" Rotor Angle "));
    bool named = false;
    for (int i = 0; i < ui->P3schematic->itemCount(); ++i) {
        if (auto *t = qobject_cast<QCPItemText *>(ui->P3schematic->item(i)))
            named = named || t->text() == QLatin1String("NV321");
    }
    QVERIFY(named);
}

void TestMotorPage::editRecomputes_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("supply") << "P3Vs"
                            << "40"
                            << "P3loadPower";
    QTest::newRow("ambient") << "P3Tambient"
                             << "60"
                             << "P3Tjunction";
    QTest::newRow("heatsink") << "P3heatsink"
                              << "3"
                              << "P3Tcase";
    QTest::newRow("switching frequency") << "P3Fsw"
                                         << "5"
                                         << "P3VccPower";
    QTest::newRow("window start") << "P3startTime"
                                  << "50m"
                                  << "P3RMScurrent";
    QTest::newRow("window end") << "P3endTime"
                                << "40m"
                                << "P3loadPower";
}

void TestMotorPage::editRecomputes()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, result);
    auto *edit = w->findChild<QLineEdit *>(field);
    auto *label = w->findChild<QLabel *>(result);
    const QString before = label->text();
    w->designModified = false;
    edit->setText(text);
    emit edit->editingFinished();
    QVERIFY(w->designModified);
    QVERIFY2(label->text() != before, qPrintable(before + " -> " + label->text()));
}

void TestMotorPage::useButtons()
{
    ui->P3Vs->setText("12");
    ui->P3Vcc->setText("12");
    w->designModified = false;
    ui->P3useMaxVs->click();
    QCOMPARE(ui->P3Vs->text(), QStringLiteral("60"));
    QVERIFY(w->designModified);
    ui->P3useTypVcc->click();
    QCOMPARE(ui->P3Vcc->text(), QStringLiteral("5"));
    ui->P3endTime->setText("30m"); // keep the 100 kHz run short
    ui->P3startTime->setText("20m");
    ui->P3useMaxFsw->click();
    QCOMPARE(ui->P3Fsw->text(), QStringLiteral("100")); // kHz, as typed into the field
    QCOMPARE(w->P3warningFlags & motor::flag::FswHigh, quint32(0));
    // The 100 kHz run reaches the end of its window (stored as min/max pairs by then).
    QVERIFY(w->P3waveforms.steps() > motor::kBuckets);
    QVERIFY(w->P3waveforms.time.last() > 0.0299);
}

void TestMotorPage::partChange()
{
    const QString load = ui->P3ampPower->text();
    w->designModified = false;
    ui->P3ampSelector->setCurrentText("NV22"); // needs a 10 V front end; the field says 5
    QVERIFY(w->designModified);
    QVERIFY(ui->P3ampPower->text() != load);
    QVERIFY(w->P3warningFlags & motor::flag::VccLow);
    QVERIFY(!ui->P3outputTabs->tabIcon(3).isNull());
    QVERIFY(ui->P3TextBrowser->toPlainText().contains("!!! Vcc voltage too low !!!"));
    // Half bridges: three boxes and the name marked as three parts.
    bool named = false;
    for (int i = 0; i < ui->P3schematic->itemCount(); ++i) {
        if (auto *t = qobject_cast<QCPItemText *>(ui->P3schematic->item(i)))
            named = named || t->text() == QLatin1String("NV22 (3X)");
    }
    QVERIFY(named);

    ui->P3ampSelector->setCurrentText("NV321");
    QCOMPARE(w->P3warningFlags, quint32(0));
    QVERIFY(ui->P3outputTabs->tabIcon(3).isNull());
}

void TestMotorPage::preReleasedPartSwitchedOut()
{
    const auto shownName = [this] {
        QStringList names;
        for (int i = 0; i < ui->P3schematic->itemCount(); ++i) {
            if (auto *t = qobject_cast<QCPItemText *>(ui->P3schematic->item(i))) names << t->text();
        }
        return names;
    };
    ui->includePreReleased->click();
    ui->P3ampSelector->setCurrentText("NV340");
    QCOMPARE(ui->P3ampSelector->currentText(), QStringLiteral("NV340"));
    QVERIFY(shownName().contains("NV340"));
    // Switched out again: the selector falls back to its first part, and the page follows.
    ui->includePreReleased->click();
    const QString now = ui->P3ampSelector->currentText();
    QVERIFY(now != QLatin1String("NV340"));
    QVERIFY(!shownName().contains("NV340"));
    QVERIFY(shownName().join('|').contains(now));
}

void TestMotorPage::heatsinkWord()
{
    const pwm part = w->findSwitching("NV321");
    const double P = ui->P3ampPower->text().toDouble();
    ui->P3heatsink->setText("none"); // the part in free air
    emit ui->P3heatsink->editingFinished();
    const double Tcase = ui->P3Tcase->text().toDouble();
    const double expected =
        25 + ui->P3ampPower->text().toDouble() * (part.getRtheta_JA() - part.getRtheta_DC());
    QVERIFY2(std::fabs(Tcase - expected) < 0.01 * expected,
             qPrintable(QStringLiteral("%1 vs %2").arg(Tcase).arg(expected)));
    QVERIFY(P > 0);

    // Not the word: an open circuit to the field parser, through which no heat flows. No
    // temperature can be given.
    ui->P3heatsink->setText("None");
    emit ui->P3heatsink->editingFinished();
    QCOMPARE(ui->P3Tcase->text(), eng::noResultText());
    QVERIFY(ui->P3TextBrowser->toPlainText().contains(
        "!!! Heatsink is open: the heat needs a finite, non-negative thermal resistance !!!"));
}

void TestMotorPage::unusableInputs_data()
{
    // A field name, or "motor:" and a motor value; the text; the note that names it.
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("note");
    const QString supply = "the bridge needs a finite, positive supply";
    QTest::newRow("no supply") << "P3Vs" << "0" << "Vs is 0: " + supply;
    QTest::newRow("empty supply") << "P3Vs" << "" << "Vs is empty: " + supply;
    QTest::newRow("unreadable supply") << "P3Vs" << "abc" << "Vs cannot be read: " + supply;
    QTest::newRow("negative supply") << "P3Vs" << "-5" << "Vs is -5: " + supply;
    QTest::newRow("limit message in the supply") << "P3Vs" << "Vs too Low"
                                                 << "Vs cannot be read: " + supply;
    QTest::newRow("huge supply") << "P3Vs" << "1e300"
                                 << "Vs is out of range: the results overflow";
    QTest::newRow("huge driver supply") << "P3Vcc" << "1e300"
                                        << "Vcc is out of range: the results overflow";
    QTest::newRow("negative driver supply")
        << "P3Vcc" << "-1" << "Vcc is -1: the driver supply must be finite and not negative";
    const QString carrier = "the carrier needs a finite, positive switching frequency";
    QTest::newRow("no switching frequency") << "P3Fsw" << "0" << "Fsw is 0: " + carrier;
    QTest::newRow("negative switching frequency") << "P3Fsw" << "-5" << "Fsw is -5: " + carrier;
    QTest::newRow("open switching frequency") << "P3Fsw" << "open" << "Fsw is open: " + carrier;
    QTest::newRow("huge ambient") << "P3Tambient" << "1e300"
                                  << "Tambient is out of range: the results overflow";
    QTest::newRow("below absolute zero")
        << "P3Tambient" << "-300"
        << QString::fromUtf8("Tambient is -300: the ambient must be a finite temperature "
                             "above -273.15 °C");
    const QString heat = "the heat needs a finite, non-negative thermal resistance";
    QTest::newRow("huge heatsink") << "P3heatsink" << "1e300"
                                   << "Heatsink is out of range: the results overflow";
    QTest::newRow("negative heatsink") << "P3heatsink" << "-1" << "Heatsink is -1: " + heat;
    QTest::newRow("huge interface") << "P3TIM" << "1e300"
                                    << "TIM is out of range: the results overflow";
    QTest::newRow("negative interface") << "P3TIM" << "-0.1" << "TIM is -0.1: " + heat;
    QTest::newRow("end before start")
        << "P3endTime" << "10m"
        << "The display window is empty: the start time must be before the end time";
    QTest::newRow("no window") << "P3endTime" << "0"
                               << "The display window is empty: the start time must be before "
                                  "the end time";
    QTest::newRow("huge back-EMF") << "motor:Vemf" << "1e300"
                                   << "Motor Vemf is out of range: the results overflow";
    QTest::newRow("negative winding")
        << "motor:R" << "-1"
        << "Motor R is -1: the winding resistance must be finite and not negative (Edit Motor)";
    QTest::newRow("unreadable inductance")
        << "motor:L" << "abc"
        << "Motor L cannot be read: the winding inductance must be finite and not negative "
           "(Edit Motor)";
}

void TestMotorPage::unusableInputs()
{
    // No figure is shown that the inputs cannot give: every result label holds the red
    // placeholder, and the notes say in one line which input prevents them.
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, note);
    QLineEdit *field = nullptr;
    if (input == "motor:Vemf")
        w->ThreePhaseVemf = text;
    else if (input == "motor:R")
        w->ThreePhaseR = text;
    else if (input == "motor:L")
        w->ThreePhaseL = text;
    else
        (field = w->findChild<QLineEdit *>(input))->setText(text);
    w->refreshP3();
    for (QLabel *label : {ui->P3loadPower, ui->P3conductionPower, ui->P3wirePower,
                          ui->P3diodePower, ui->P3switchingPower, ui->P3VccPower, ui->P3ampPower,
                          ui->P3efficiency, ui->P3Ipeak, ui->P3RMScurrent, ui->P3Tcase,
                          ui->P3Tjunction}) {
        QCOMPARE(label->text(), eng::noResultText());
        QVERIFY2(label->styleSheet().contains("red"), qPrintable(label->objectName()));
    }
    const QString notes = ui->P3TextBrowser->toPlainText();
    QVERIFY2(notes.contains("!!! " + note + " !!!"), qPrintable(notes));
    for (const char *bad : {"nan", "inf", "e+09", "W\n"})
        QVERIFY2(!notes.contains(QLatin1String(bad)), qPrintable(notes));
    QVERIFY(!ui->P3outputTabs->tabIcon(3).isNull());
    if (field && !input.startsWith("P3endTime"))
        QCOMPARE(field->palette().color(QPalette::Text), QColor(Qt::red));

    // Mended, the page computes again in black.
    if (field) {
        field->setText(input == "P3Vs" ? "50" : input == "P3Vcc" ? "5" : input == "P3Fsw" ? "1"
                       : input == "P3Tambient" ? "25" : input == "P3endTime" ? "75m" : "0");
    } else {
        w->ThreePhaseVemf = "5m";
        w->ThreePhaseR = "10";
        w->ThreePhaseL = "33m";
    }
    w->refreshP3();
    QVERIFY(ui->P3loadPower->text().toDouble() > 10);
    QVERIFY(ui->P3efficiency->text().toDouble() > 0);
    QVERIFY(!ui->P3loadPower->styleSheet().contains("red"));
}

void TestMotorPage::runawayDesignsRefused_data()
{
    // Example 95's design with a profile, speed or motor whose simulation runs away, as the
    // motor dialog or a design file can set it; the note names the real cause, not an
    // amplitude, and comes at once.
    QTest::addColumn<int>("commutation");
    QTest::addColumn<int>("design");
    QTest::addColumn<QString>("note");
    const char *const names[] = {"sinusoidal", "trapezoidal", "six-step"};
    const QString none = ": nothing was simulated";
    const QString speed =
        "The speed of %1 RPM turns the rotor too far over the display window" + none;
    for (int c = 0; c < 3; ++c) {
        const QString on = QStringLiteral(", ") + names[c];
        QTest::newRow(qPrintable("0 to 6000 RPM within 1e-320 s" + on))
            << c << 0 << "Profile points are too close in time for their change of speed" + none;
        QTest::newRow(qPrintable("3.5e307 RPM on a 0.001 kHz carrier" + on))
            << c << 1 << speed.arg("3.5e+307");
        QTest::newRow(qPrintable("3.5e307 RPM at a constant duty cycle" + on))
            << c << 2 << speed.arg("3.5e+307");
        QTest::newRow(qPrintable("1.7e308 RPM at a constant duty cycle" + on))
            << c << 3 << speed.arg("1.7e+308");
        QTest::newRow(qPrintable("linear motor without force, 1e308 m a cycle" + on))
            << c << 4
            << "The cycle length of 1e+308 m takes the motor too far over the display window" +
                   none;
        QTest::newRow(qPrintable("profile times 1e-320 s, then 0 s" + on))
            << c << 5 << "Profile point 2 time (0 s) is before point 1 time (1e-320 s)" + none;
    }
}

void TestMotorPage::runawayDesignsRefused()
{
    QFETCH(int, commutation);
    QFETCH(int, design);
    QFETCH(QString, note);
    w->displayExample(95);
    ui->P3commType->setCurrentIndex(commutation);
    w->ThreePhaseControlVariable = 1; // speed
    if (design == 0 || design == 5) {
        w->ThreePhaseControlType = 1;
        w->ThreePhaseTimeVector = design == 0 ? QStringList{"0", "1e-320"}
                                              : QStringList{"1e-320", "0"};
        w->ThreePhaseAmplitudeVector = QStringList{"0", "6000"};
    } else if (design == 4) {
        w->ThreePhaseisLinear = true;
        w->ThreePhaseVemf = "0";
        w->ThreePhaseCycleLength = "1e308";
    } else {
        w->ThreePhaseControlType = 0;
        w->ThreePhaseControlAmplitude = design == 3 ? "1.7e308" : "3.5e307";
        if (design == 1) {
            ui->P3Fsw->setText("0.001");
            ui->P3startTime->setText("0");
            ui->P3endTime->setText("100");
        } else {
            w->ThreePhaseConstantVariable = 2; // duty cycle
            w->ThreePhaseConstantAmplitude = "75";
        }
    }
    QElapsedTimer timer;
    timer.start();
    w->refreshP3();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    for (QLabel *label : {ui->P3loadPower, ui->P3ampPower, ui->P3Ipeak, ui->P3RMScurrent,
                          ui->P3Tcase, ui->P3Tjunction})
        QCOMPARE(label->text(), eng::noResultText());
    const QString notes = ui->P3TextBrowser->toPlainText();
    QVERIFY2(notes.contains("!!! " + note + " !!!"), qPrintable(notes));
    for (const char *wrong : {"overflow", "Could not solve", "amplitude is"})
        QVERIFY2(!notes.contains(QLatin1String(wrong)), qPrintable(notes));
    // Nothing is left to show or export, and no sample of it is not a number.
    QCOMPARE(w->P3waveforms.steps(), 0);
}

void TestMotorPage::noNetPowerNoEfficiency()
{
    // A motor held at rest with no drive takes no power: no efficiency, never a negative one.
    w->ThreePhaseControlAmplitude = "0";
    w->ThreePhaseConstantAmplitude = "0";
    w->refreshP3();
    QCOMPARE(ui->P3efficiency->text(), eng::noResultText());
    QVERIFY(ui->P3TextBrowser->toPlainText().contains(
        "The motor takes no net power (load power 0 W): no efficiency"));
    QCOMPARE(ui->P3loadPower->text(), QStringLiteral("0"));
}

void TestMotorPage::reverseRotation_data()
{
    QTest::addColumn<int>("commutation");
    QTest::addColumn<QString>("load");
    QTest::newRow("trapezoidal") << 1 << "98.2";
}

void TestMotorPage::reverseRotation()
{
    // The start-up motor at 600 RPM either way round takes the same power.
    QFETCH(int, commutation);
    QFETCH(QString, load);
    ui->P3commType->setCurrentIndex(commutation);
    const QString forward = ui->P3loadPower->text();
    QCOMPARE(forward, load);
    w->ThreePhaseControlAmplitude = "-600";
    w->refreshP3();
    QCOMPARE(ui->P3loadPower->text(), forward);
    QCOMPARE(w->P3warningFlags, quint32(0));
}

void TestMotorPage::wholeWindow_data()
{
    QTest::addColumn<int>("example");
    QTest::newRow("example 94") << 94;
    QTest::newRow("example 95") << 95;
    QTest::newRow("start-up profile at 20 kHz") << -1;
}

void TestMotorPage::wholeWindow()
{
    // Long windows are simulated to their end: no warning, graphs that reach the end.
    QFETCH(int, example);
    if (example >= 0) {
        w->loadExample(example);
    } else {
        w->ThreePhaseControlType = 1; // the profile of 0 to 4 s
        ui->P3Fsw->setText("20");
        ui->P3startTime->setText("0");
        ui->P3endTime->setText("4");
        w->refreshP3();
    }
    QCOMPARE(w->P3warningFlags & motor::flag::WindowTooLong, quint32(0));
    QVERIFY(!ui->P3TextBrowser->toPlainText().contains("Warning: The"));
    const double end = ui->P3endTime->text() == "4" ? 4 : 1;
    QVERIFY(w->P3waveforms.decimated);
    QVERIFY(w->P3waveforms.steps() <= motor::kMaxStoredSamples);
    QCustomPlot *plot = ui->P3graph0;
    QVERIFY(!plot->graph(0)->data()->isEmpty());
    const double lastKey = (plot->graph(0)->data()->constEnd() - 1)->key;
    QVERIFY2(lastKey > end - 1e-3, qPrintable(QString::number(lastKey)));
    QCOMPARE(plot->xAxis->range().upper, end);
    if (example < 0) {
        // Undiluted: the profile's averages, not a tenth of them.
        QVERIFY(ui->P3ampPower->text().toDouble() > 0.89 * 1.05);
    }
}

void TestMotorPage::graphAxes()
{
    // All six plots in their column: axis titles as large as the tick labels, and tick labels
    // that do not run into each other.
    w->P3graphables = QStringList{"I1", "I2", "I3", "DCA", "DCenv", "loadPower"};
    w->refreshP3();
    QApplication::processEvents();
    const QStringList titles = {"A Line Current [A]", "B Line Current [A]", "C Line Current [A]",
                                "A Duty Cycle",       "Duty Cycle Envelope", "load Power [W]"};
    const QList<QCustomPlot *> plots = {ui->P3graph0, ui->P3graph1, ui->P3graph2,
                                        ui->P3graph3, ui->P3graph4, ui->P3graph5};
    for (int slot = 0; slot < plots.size(); ++slot) {
        QCustomPlot *plot = plots[slot];
        plot->replot();
        QCOMPARE(plot->yAxis->labelFont().pointSizeF(), plot->yAxis->tickLabelFont().pointSizeF());
        // The title fits: along the axis within the axis rect's height, or whole in the line
        // above at the tick labels' size, the axis then naming the unit alone.
        const QString title = titles[slot];
        QCOMPARE(plotcheck::shownTitle(plot), title);
        const QFontMetrics labelFont(plot->yAxis->labelFont());
        QVERIFY2(labelFont.horizontalAdvance(plot->yAxis->label()) <= plot->axisRect()->height(),
                 qPrintable(plot->objectName() + ": " + plot->yAxis->label()));
        if (plot->yAxis->label() != title) {
            auto *line = qobject_cast<QCPTextElement *>(plot->plotLayout()->element(0, 0));
            QVERIFY(line);
            QCOMPARE(line->font().pointSizeF(), plot->yAxis->tickLabelFont().pointSizeF());
            QVERIFY(QFontMetrics(line->font()).horizontalAdvance(title) <= line->rect().width());
            QVERIFY(title.endsWith(plot->yAxis->label()));
        }
        // Only the lowest graph numbers the shared time axis.
        QCOMPARE(plot->xAxis->tickLabels(), slot == 5);
        // A fitted axis (all but the duty cycles' 0 to 1) keeps the curve off the frame, and
        // fits the window shown: the curve reaches over half its height.
        if (slot != 3 && slot != 4) {
            const QCPRange y = plot->yAxis->range();
            const auto data = plot->graph(0)->data();
            QCPRange reached(qInf(), -qInf());
            for (auto it = data->constBegin(); it != data->constEnd(); ++it) {
                if (!plot->xAxis->range().contains(it->key)) continue;
                QVERIFY2(it->value > y.lower && it->value < y.upper, qPrintable(title));
                reached.lower = std::min(reached.lower, it->value);
                reached.upper = std::max(reached.upper, it->value);
            }
            QVERIFY2(reached.size() > y.size() / 2, qPrintable(title));
        }
        const QVector<double> ticks = plot->yAxis->tickVector();
        const int line = QFontMetrics(plot->yAxis->tickLabelFont()).height();
        QVERIFY2(!ticks.isEmpty(), qPrintable(plot->objectName()));
        for (int i = 1; i < ticks.size(); ++i) {
            const double gap = std::fabs(plot->yAxis->coordToPixel(ticks[i]) -
                                         plot->yAxis->coordToPixel(ticks[i - 1]));
            QVERIFY2(gap >= line, qPrintable(plot->objectName() + ": " +
                                                   QString::number(gap) + " px"));
        }
    }
}

void TestMotorPage::deltaDropsStarPoint()
{
    w->P3graphables = QStringList{"I1", "Vwye", "null", "Vwye", "null", "null"};
    w->ThreePhaseisDelta = false;
    w->refreshP3();
    QCOMPARE(w->P3graphables[1], QStringLiteral("Vwye"));
    QVERIFY(!ui->P3graph1->isHidden());
    w->ThreePhaseisDelta = true;
    w->refreshP3();
    QCOMPARE(w->P3graphables, (QStringList{"I1", "null", "null", "null", "null", "null"}));
    QVERIFY(ui->P3graph1->isHidden());
}

void TestMotorPage::phaseVoltageAsDutyCycle()
{
    w->P3graphables = QStringList{"I1", "V1", "DCA", "null", "null", "null"};
    w->P3refreshGraphs();
    QCOMPARE(plotcheck::shownTitle(ui->P3graph1), QStringLiteral("A Voltage [V]"));
    QCOMPARE(ui->P3graph2->yAxis->range(), QCPRange(0, 1));
    ui->P3dispDC->click();
    QCOMPARE(plotcheck::shownTitle(ui->P3graph1), QStringLiteral("A Duty Cycle"));
    const auto data = ui->P3graph1->graph(0)->data();
    QCOMPARE(data->size(), w->P3waveforms.steps());
    QCOMPARE(data->at(7)->value, w->P3waveforms.DCA[7]);
    // Rescaled to the duty cycle, not fixed at 0 to 1 as the DCA key is.
    QVERIFY(ui->P3graph1->yAxis->range() != QCPRange(0, 1));
}

void TestMotorPage::dialogShowsAllRows()
{
    // The profile table shows every point at the dialog's opening size, whatever the font.
    for (int points : {5, 16}) {
        w->ThreePhaseTimeVector.clear();
        w->ThreePhaseAmplitudeVector.clear();
        for (int i = 0; i < points; ++i) {
            w->ThreePhaseTimeVector << QString::number(i);
            w->ThreePhaseAmplitudeVector << "600";
        }
        P3motor *d = openDialog("P3editWaveform");
        QVERIFY(d);
        d->ui->ControlType->setCurrentIndex(1);
        d->ui->ControlTypeStack->setCurrentIndex(1);
        QApplication::processEvents();
        QTableWidget *t = d->ui->ProfileTable;
        QCOMPARE(t->rowCount(), points);
        const int last = points - 1;
        QVERIFY2(t->rowViewportPosition(last) + t->rowHeight(last) <= t->viewport()->height(),
                 qPrintable(QStringLiteral("%1 rows: row end %2, viewport %3")
                                .arg(points)
                                .arg(t->rowViewportPosition(last) + t->rowHeight(last))
                                .arg(t->viewport()->height())));
        QCOMPARE(t->rowViewportPosition(0), 0);
        d->close();
        QTRY_VERIFY(!w->P3motorDialog);
    }
}

void TestMotorPage::dialogControlPage()
{
    P3motor *d = openDialog("P3editWaveform");
    QVERIFY(d);
    QCOMPARE(d->windowTitle(), QStringLiteral("Three Phase Properties"));
    Ui_P3motor *u = d->ui;
    QCOMPARE(u->ThreePhaseStack->currentIndex(), 0);
    QVERIFY(u->ControlRPM->isChecked());
    QCOMPARE(u->ControlType->currentText(), QStringLiteral("Constant Amplitude"));
    QCOMPARE(u->ControlTypeStack->currentIndex(), 0);
    QCOMPARE(u->ControlAmplitude->text(), QStringLiteral("600"));
    QCOMPARE(u->ControlAmplitudeLabel->text(), QStringLiteral("RPM"));
    QVERIFY(!u->ConstantRPM->isEnabled());
    QVERIFY(u->ConstantDutyCycle->isChecked());
    QCOMPARE(u->ConstantAmplitude->text(), QStringLiteral("75"));
    QCOMPARE(u->ConstantAmplitudeLabel->text(), QStringLiteral("% Maximum"));
    QTableWidget *t = u->ProfileTable;
    QCOMPARE(t->rowCount(), 5);
    QCOMPARE(u->ProfilePointCount->value(), 5);
    QCOMPARE(t->horizontalHeaderItem(0)->text(), QStringLiteral("time [s]"));
    QCOMPARE(t->horizontalHeaderItem(1)->text(), QStringLiteral("RPM"));
    const QStringList times{"0", "1", "2", "3", "4"}, values{"0", "600", "600", "0", "0"};
    for (int r = 0; r < 5; ++r) {
        QCOMPARE(t->verticalHeaderItem(r)->text(), QStringLiteral("point %1").arg(r + 1));
        QCOMPARE(t->item(r, 0)->text(), times[r]);
        QCOMPARE(t->item(r, 1)->text(), values[r]);
    }

    // The user asks for 900 RPM: the page takes it and recomputes (4 poles: 60 Hz).
    w->designModified = false;
    u->ControlAmplitude->setText("900");
    u->ConstantAmplitude->setText("85");
    u->P3motor_OK->click();
    QCOMPARE(w->ThreePhaseControlAmplitude, QStringLiteral("900"));
    QCOMPARE(w->ThreePhaseConstantAmplitude, QStringLiteral("85"));
    QCOMPARE(w->ThreePhaseControlVariable, 1);
    QCOMPARE(w->ThreePhaseConstantVariable, 2);
    QVERIFY(w->designModified);
    QCOMPARE(w->P3waveforms.freq.last(), 60.0);
    QCOMPARE(w->P3waveforms.DCenv.last(), 0.85);
    // The motor face went back as it was loaded.
    QCOMPARE(w->ThreePhaseR, QStringLiteral("10"));
    QCOMPARE(w->ThreePhaseisDelta, true);
    QCOMPARE(w->ThreePhasenPoles, 4);
    QTRY_VERIFY(!w->P3motorDialog); // closed, and gone
}

void TestMotorPage::dialogMotorPage()
{
    P3motor *d = openDialog("P3editMotor");
    QVERIFY(d);
    Ui_P3motor *u = d->ui;
    QCOMPARE(u->ThreePhaseStack->currentIndex(), 1);
    QVERIFY(u->DeltaButton->isChecked());
    QVERIFY(u->MotorPicButton->styleSheet().contains("ThreePhaseDelta.png"));
    QCOMPARE(u->Rfield->text(), QStringLiteral("10"));
    QCOMPARE(u->Lfield->text(), QStringLiteral("33m"));
    QCOMPARE(u->VemfField->text(), QStringLiteral("5m"));
    QCOMPARE(u->nPolesBox->value(), 4);
    QVERIFY(u->nPolesBox->isVisibleTo(d));
    QVERIFY(!u->CycleLength->isVisibleTo(d));

    u->WyeButton->click();
    QVERIFY(u->MotorPicButton->styleSheet().contains("ThreePhaseWye.png"));
    u->DeltaButton->click();
    QVERIFY(u->MotorPicButton->styleSheet().contains("ThreePhaseDelta.png"));
    u->WyeButton->click();
    u->LinearMotorCheckBox->click();
    QCOMPARE(u->VemfLabel->text(), QStringLiteral("1-Leg Force Constant"));
    QCOMPARE(u->VemfUnitLabel->text(), QStringLiteral("Newtons/A (equivalent to V*s/m)"));
    QVERIFY(!u->nPolesBox->isVisibleTo(d));
    QVERIFY(u->CycleLength->isVisibleTo(d));
    u->Rfield->setText("4.7");
    u->CycleLength->setText("12m");
    u->P3motor_OK->click();

    QCOMPARE(w->ThreePhaseR, QStringLiteral("4.7"));
    QCOMPARE(w->ThreePhaseisDelta, false);
    QCOMPARE(w->ThreePhaseisLinear, true);
    QCOMPARE(w->ThreePhaseCycleLength, QStringLiteral("12m"));
    QCOMPARE(w->ThreePhasenPoles, 4); // hidden, still sent
    // The control face went back as it was loaded.
    QCOMPARE(w->ThreePhaseControlVariable, 1);
    QCOMPARE(w->ThreePhaseControlType, 0);
    QCOMPARE(w->ThreePhaseTimeVector, (QStringList{"0", "1", "2", "3", "4"}));
    QCOMPARE(w->ThreePhaseAmplitudeVector, (QStringList{"0", "600", "600", "0", "0"}));
    // The page follows: a linear motor names the position, a wye has its star point.
    QCOMPARE(w->P3schAngleText->text(), QStringLiteral(" Position "));
    QCOMPARE(w->P3schPhaseWires[1][3] != nullptr, true);
}

void TestMotorPage::dialogCancel()
{
    w->designModified = false;
    const QString load = ui->P3loadPower->text();
    P3motor *d = openDialog("P3editMotor");
    QVERIFY(d);
    d->ui->Rfield->setText("1");
    d->ui->WyeButton->click();
    d->ui->P3motor_cancel->click();
    QCOMPARE(w->ThreePhaseR, QStringLiteral("10"));
    QCOMPARE(w->ThreePhaseisDelta, true);
    QCOMPARE(w->designModified, false);
    QCOMPARE(ui->P3loadPower->text(), load);
    QTRY_VERIFY(!w->P3motorDialog);
}

void TestMotorPage::dialogProfileOrder_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<QString>("refusal"); // empty: the profile is sent
    QTest::addColumn<int>("refusedRow");
    QTest::addColumn<QString>("pageNote"); // what the page then says of it, if anything
    const QString why = ": each point's time must be at or after the time of the point before it.";
    QTest::newRow("a time going back: refused")
        << QStringList{"1e-320", "0", "2", "3", "4"}
        << "Profile point 2 time (0 s) is before point 1 time (1e-320 s)" + why << 1 << QString();
    QTest::newRow("back past an unreadable time: refused")
        << QStringList{"0", "2", "x", "1", "4"}
        << "Profile point 4 time (1 s) is before point 2 time (2 s)" + why << 3 << QString();
    QTest::newRow("a step: two points at 1 s, sent and run")
        << QStringList{"0", "1", "1", "3", "4"} << QString() << -1 << QString();
    QTest::newRow("an unreadable time: passed over, then named by the page")
        << QStringList{"0", "1", "x", "3", "4"} << QString() << -1
        << "Profile point 3 time cannot be read: a finite number is needed (Edit Control)";
}

void TestMotorPage::dialogProfileOrder()
{
    // OK follows a profile whose times never go back: equal times are a step change, and a
    // time that cannot be read stays out of the order (the page names it). A time going back
    // is named with the time before it; OK takes the user to it and keeps the dialog open,
    // the window's values and results as they were.
    QFETCH(QStringList, times);
    QFETCH(QString, refusal);
    QFETCH(int, refusedRow);
    QFETCH(QString, pageNote);
    w->ThreePhaseControlType = 1;
    const QStringList timesBefore = w->ThreePhaseTimeVector;
    const QString load = ui->P3loadPower->text();
    const int runs = w->P3computations;
    P3motor *d = openDialog("P3editWaveform");
    QVERIFY(d);
    QCOMPARE(d->ui->ProfileTable->rowCount(), times.size());
    for (int i = 0; i < times.size(); ++i)
        d->ui->ProfileTable->item(i, 0)->setText(times[i]);
    QStringList messages;
    {
        DialogAnswerer answerer{QString()};
        d->ui->P3motor_OK->click();
        messages = answerer.messages;
    }
    if (refusal.isEmpty()) {
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(" | ")));
        QCOMPARE(w->ThreePhaseTimeVector, times);
        QCOMPARE(w->P3computations, runs + 1);
        const QString notes = ui->P3TextBrowser->toPlainText();
        QVERIFY2(!notes.contains("is before point"), qPrintable(notes));
        if (pageNote.isEmpty()) {
            QVERIFY(w->P3waveforms.steps() > 0);
            QCOMPARE(w->P3warningFlags & motor::flag::Refused, quint32(0));
        } else {
            QVERIFY2(notes.contains(pageNote), qPrintable(notes));
        }
        QTRY_VERIFY(!w->P3motorDialog);
        return;
    }
    QCOMPARE(messages, QStringList{refusal});
    QCOMPARE(d->ui->ProfileTable->currentRow(), refusedRow);
    QCOMPARE(d->ui->ProfileTable->currentColumn(), 0);
    QVERIFY(d->isVisible());
    QCOMPARE(w->ThreePhaseTimeVector, timesBefore);
    QCOMPARE(w->P3computations, runs);
    QCOMPARE(ui->P3loadPower->text(), load);

    // A constant amplitude does not follow the table: its order does not hold OK up.
    d->ui->ControlType->setCurrentIndex(0);
    d->ui->P3motor_OK->click();
    QCOMPARE(w->ThreePhaseControlType, 0);
    QCOMPARE(w->ThreePhaseTimeVector, times);
    QTRY_VERIFY(!w->P3motorDialog);
}

void TestMotorPage::dialogProfileCounts_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<QStringList>("sentTimes");
    QTest::addColumn<QStringList>("sentValues");
    QTest::newRow("no points: two rows of 0")
        << QStringList{} << QStringList{"0", "0"} << QStringList{"0", "0"};
    QTest::newRow("one point: a row of 0 below it")
        << QStringList{"-5m"} << QStringList{"-5m", "0"} << QStringList{"7", "0"};
    QStringList seventeen, sixteen, values16;
    for (int i = 0; i < 17; ++i)
        seventeen << QString::number(i);
    sixteen = seventeen.mid(0, 16);
    for (int i = 0; i < 16; ++i)
        values16 << "7";
    QTest::newRow("seventeen points: the sixteenth is the last")
        << seventeen << sixteen << values16;
}

void TestMotorPage::dialogProfileCounts()
{
    QFETCH(QStringList, times);
    QFETCH(QStringList, sentTimes);
    QFETCH(QStringList, sentValues);
    w->ThreePhaseControlType = 1;
    w->ThreePhaseTimeVector = times;
    w->ThreePhaseAmplitudeVector.clear();
    for (int i = 0; i < times.size(); ++i)
        w->ThreePhaseAmplitudeVector << "7";
    P3motor *d = openDialog("P3editWaveform");
    QVERIFY(d);
    QCOMPARE(d->ui->ControlTypeStack->currentIndex(), 1);
    QCOMPARE(d->ui->ProfileTable->rowCount(), sentTimes.size());
    QCOMPARE(d->ui->ProfilePointCount->value(), sentTimes.size());
    d->ui->P3motor_OK->click();
    QCOMPARE(w->ThreePhaseTimeVector, sentTimes);
    QCOMPARE(w->ThreePhaseAmplitudeVector, sentValues);
}

void TestMotorPage::dialogPoleClamp_data()
{
    QTest::addColumn<int>("poles");
    QTest::addColumn<int>("sent");
    QTest::newRow("0 poles") << 0 << 1;
    QTest::newRow("24 poles") << 24 << 20;
    QTest::newRow("12 poles") << 12 << 12;
}

void TestMotorPage::dialogPoleClamp()
{
    QFETCH(int, poles);
    QFETCH(int, sent);
    w->ThreePhasenPoles = poles;
    P3motor *d = openDialog("P3editMotor");
    QVERIFY(d);
    QCOMPARE(d->ui->nPolesBox->value(), sent);
    d->ui->P3motor_OK->click();
    QCOMPARE(w->ThreePhasenPoles, sent);
}

void TestMotorPage::dialogControlMovesConstant_data()
{
    QTest::addColumn<int>("control");
    QTest::addColumn<int>("constant");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("sentConstant");
    QTest::addColumn<QString>("constantUnit");
    QTest::addColumn<QString>("header");
    QTest::newRow("current control leaves V/f for RPM") << 1 << 1 << "ControlCurrent" << 0 << "RPM"
                                                        << "Current [A]";
    QTest::newRow("RPM control leaves RPM for V/f") << 0 << 0 << "ControlRPM" << 1 << "V/RPM"
                                                    << "RPM";
    QTest::newRow("duty control leaves duty for RPM") << 0 << 2 << "ControlDutyCycle" << 0 << "RPM"
                                                      << "Duty Cycle [% maximum]";
    QTest::newRow("an allowed constant stays") << 0 << 2 << "ControlRPM" << 2 << "% Maximum"
                                               << "RPM";
}

void TestMotorPage::dialogControlMovesConstant()
{
    QFETCH(int, control);
    QFETCH(int, constant);
    QFETCH(QString, button);
    QFETCH(int, sentConstant);
    QFETCH(QString, constantUnit);
    QFETCH(QString, header);
    w->ThreePhaseControlVariable = control;
    w->ThreePhaseConstantVariable = constant;
    P3motor *d = openDialog("P3editWaveform");
    QVERIFY(d);
    d->findChild<QRadioButton *>(button)->click();
    QCOMPARE(d->ui->ConstantAmplitudeLabel->text(), constantUnit);
    QCOMPARE(d->ui->ProfileTable->horizontalHeaderItem(1)->text(), header);
    QCOMPARE(d->ui->ControlAmplitude->text(), QStringLiteral("600")); // values stay
    QCOMPARE(d->ui->ProfileTable->item(1, 1)->text(), QStringLiteral("600"));
    d->ui->P3motor_OK->click();
    QCOMPARE(w->ThreePhaseConstantVariable, sentConstant);
}

void TestMotorPage::clickPicksSignal()
{
    // Phase B's current arrow runs from (200, 900) to (600, 900).
    clickSchematic(400, 900);
    QCOMPARE(w->P3graphables, (QStringList{"I1", "I2", "null", "null", "null", "null"}));
    QVERIFY(!ui->P3graph1->isHidden());
    QCOMPARE(plotcheck::shownTitle(ui->P3graph1), QStringLiteral("B Line Current [A]"));
    QCOMPARE(ui->P3graph1->graph(0)->pen().color(), QColor(255, 0, 0));
    QCOMPARE(w->P3schCurrentArrows[1]->pen().color(), QColor(255, 0, 0));
    QCOMPARE(w->P3schCurrentArrows[1]->pen().width(), 2);

    // Slot 3 and 5 are drawn lighter on the schematic than on their graphs.
    w->P3graphables = QStringList{"I1", "I2", "null", "null", "null", "null"};
    clickSchematic(-900, 1300); // gate At -> slot 2
    clickSchematic(-900, 700);  // gate Bb -> slot 3
    QCOMPARE(w->P3graphables[3], QStringLiteral("Bb"));
    QCOMPARE(w->P3schGateLines[3]->pen().color(), QColor(113, 50, 188));
    QCOMPARE(ui->P3graph3->graph(0)->pen().color(), QColor(73, 30, 148));

    // The second click takes the signal out again; the others keep their slots.
    clickSchematic(400, 900);
    QCOMPARE(w->P3graphables, (QStringList{"I1", "null", "At", "Bb", "null", "null"}));
    QVERIFY(ui->P3graph1->isHidden());
    QCOMPARE(w->P3schCurrentArrows[1]->pen().color(), QColor(0, 0, 0));
    QCOMPARE(w->designModified, false); // picking is no design change until a refresh
}

void TestMotorPage::clickStarPointTogglesOnce()
{
    w->ThreePhaseisDelta = false;
    w->refreshP3();
    w->designModified = false;
    // All three star-point leads meet at (1800, 1050): three toggles leave one.
    clickSchematic(1800, 1050);
    QCOMPARE(w->P3graphables, (QStringList{"I1", "Vwye", "null", "null", "null", "null"}));
    for (QCPItemLine *lead : w->P3schCoilStartLeads)
        QCOMPARE(lead->pen().color(), QColor(255, 0, 0));
    for (QCPItemLine *lead : w->P3schCoilEndLeads)
        QCOMPARE(lead->pen().color(), QColor(0, 0, 0));
    // A wire corner lies on two segments of one phase: toggled twice, nothing changes.
    clickSchematic(800, 2000);
    QCOMPARE(w->P3graphables, (QStringList{"I1", "Vwye", "null", "null", "null", "null"}));
}

void TestMotorPage::clickNearButNotOn()
{
    // 5 pixels below the At gate line: outside the 4-pixel rule.
    const QPoint onLine = pixelOf(ui->P3schematic, -900, 1300);
    QTest::mouseClick(ui->P3schematic, Qt::LeftButton, Qt::NoModifier, onLine + QPoint(0, 5));
    QCOMPARE(w->P3graphables, (QStringList{"I1", "null", "null", "null", "null", "null"}));
    QTest::mouseClick(ui->P3schematic, Qt::LeftButton, Qt::NoModifier, onLine + QPoint(0, 3));
    QCOMPARE(w->P3graphables, (QStringList{"I1", "At", "null", "null", "null", "null"}));
}

void TestMotorPage::clickFramedText()
{
    QCPItemText *text = w->P3schDCenvText;
    const QPointF centre = text->position->pixelPosition();
    // Inside the frame but away from it: no hit.
    QTest::mouseClick(ui->P3schematic, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    QCOMPARE(w->P3graphables, (QStringList{"I1", "null", "null", "null", "null", "null"}));
    // On the frame's top edge.
    const QPointF top = w->P3schDCenvText->top->pixelPosition();
    QTest::mouseClick(ui->P3schematic, Qt::LeftButton, Qt::NoModifier,
                      QPoint(qRound(top.x()), qRound(top.y())));
    QCOMPARE(w->P3graphables, (QStringList{"I1", "DCenv", "null", "null", "null", "null"}));
    QCOMPARE(w->P3schDCenvText->pen().color(), QColor(255, 0, 0));
    QCOMPARE(ui->P3graph1->yAxis->range(), QCPRange(0, 1));
}

void TestMotorPage::clickWhenAllSlotsTaken()
{
    w->P3graphables = QStringList{"I1", "I2", "I3", "V1", "V2", "V3"};
    w->P3refreshGraphs();
    clickSchematic(-900, 1300); // At: no free slot
    QCOMPARE(w->P3graphables, (QStringList{"I1", "I2", "I3", "V1", "V2", "V3"}));
    clickSchematic(400, 500);   // I3 out
    clickSchematic(-900, 1300); // At takes its slot
    QCOMPARE(w->P3graphables, (QStringList{"I1", "I2", "At", "V1", "V2", "V3"}));
}

void TestMotorPage::deltaSchematic()
{
    QVERIFY(w->ThreePhaseisDelta);
    QVERIFY(w->P3schPhaseWires[0][3]);
    QVERIFY(!w->P3schPhaseWires[1][3]); // phase B reaches its corner in three segments
    // The corner leads are black, but a click on one still toggles the star point.
    for (QCPItemLine *lead : w->P3schCoilStartLeads)
        QCOMPARE(lead->pen().color(), QColor(0, 0, 0));
    clickSchematic(1500, 700); // on coil C's start lead, clear of the wires
    QCOMPARE(w->P3graphables[1], QStringLiteral("Vwye"));
    for (QCPItemLine *lead : w->P3schCoilStartLeads)
        QCOMPARE(lead->pen().color(), QColor(0, 0, 0));
    // The EMF of the coil on the right side is the line EMF C − A.
    clickSchematic(2009.75, 879); // on coil B's first arc, 3/4 of the bulge off its chord
    QCOMPARE(w->P3graphables[2], QStringLiteral("VemfB"));
    QCOMPARE(plotcheck::shownTitle(ui->P3graph2), QStringLiteral("C-A EMF Voltage [V]"));
    // Panning is undone by the next drawing.
    const QCPRange fitted = ui->P3schematic->xAxis->range();
    ui->P3schematic->xAxis->setRange(0, 100);
    w->drawP3schematic(true);
    QCOMPARE(ui->P3schematic->xAxis->range(), fitted);
}

void TestMotorPage::focusLossRunsNothing()
{
    // Qt reports a finished edit again when the field loses the focus: that is no new input.
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    ui->P3Vs->setFocus();
    QVERIFY(ui->P3Vs->hasFocus());
    QSignalSpy finished(ui->P3Vs, &QLineEdit::editingFinished);
    const int runs = w->P3computations;
    const QString load = ui->P3loadPower->text();

    ui->P3Vs->selectAll();
    QTest::keyClicks(ui->P3Vs, "40");
    QTest::keyClick(ui->P3Vs, Qt::Key_Return);
    QCOMPARE(w->P3computations, runs + 1);
    QVERIFY(ui->P3loadPower->text() != load);

    w->designModified = false;
    ui->P3Vcc->setFocus();
    QCOMPARE(finished.count(), 2); // the edit, then the focus loss
    QCOMPARE(w->P3computations, runs + 1);
    QCOMPARE(w->designModified, false);

    // In and out of a field without typing, and a check box clicked twice: one run for the
    // change and one for the change back, none for what changed nothing.
    ui->P3Vs->setFocus();
    ui->P3Fsw->setFocus();
    QCOMPARE(w->P3computations, runs + 1);
    ui->P3removeDiode->click();
    ui->P3removeDiode->click();
    QCOMPARE(w->P3computations, runs + 3);
    // The motor dialog confirmed with nothing changed.
    P3motor *d = openDialog("P3editMotor");
    QVERIFY(d);
    d->ui->P3motor_OK->click();
    QCOMPARE(w->P3computations, runs + 3);
}

void TestMotorPage::closePromptRunsNothing_data()
{
    QTest::addColumn<bool>("entered");
    QTest::newRow("edit entered, then the window closed") << true;
    QTest::newRow("edit typed, the window closed before it was entered") << false;
}

void TestMotorPage::closePromptRunsNothing()
{
    // The close prompt takes the focus from the field; that starts no computation, and a
    // typed edit still counts as a change to save.
    QFETCH(bool, entered);
    QApplication::setActiveWindow(w.get());
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    ui->P3Vs->setFocus();
    ui->P3Vs->selectAll();
    QTest::keyClicks(ui->P3Vs, "40");
    if (entered) QTest::keyClick(ui->P3Vs, Qt::Key_Return);
    w->designModified = entered;
    QSignalSpy finished(ui->P3Vs, &QLineEdit::editingFinished);
    const int runs = w->P3computations;
    const QString load = ui->P3loadPower->text();

    bool asked = false;
    QString question;
    const auto watch = windowtest::watchNextDialog(
        [&question](QDialog *d) {
            auto *box = qobject_cast<QMessageBox *>(d);
            QVERIFY(box);
            question = box->text();
            box->button(QMessageBox::Cancel)->click();
        },
        &asked);
    QVERIFY(!w->close());
    QVERIFY(asked);
    QVERIFY(question.startsWith("Save Changes?"));
    QVERIFY(finished.count() >= 1); // the prompt did take the focus
    QCOMPARE(w->P3computations, runs);
    QCOMPARE(ui->P3loadPower->text(), load);
    QCOMPARE(ui->P3Vs->text(), QStringLiteral("40"));
    QVERIFY(w->isVisible());
    QVERIFY(w->designModified);
}

void TestMotorPage::longRefreshCancelled_data()
{
    QTest::addColumn<int>("setAsideAfterMs");
    QTest::newRow("after a short run: computed again") << std::numeric_limits<int>::max();
    QTest::newRow("after a long run: set aside") << 0;
}

void TestMotorPage::longRefreshCancelled()
{
    // Cancel in the progress dialog keeps the design as typed, the results, graphs and
    // waveforms of the inputs before, and says so.
    QFETCH(int, setAsideAfterMs);
    w->P3setAsideAfterMs = setAsideAfterMs;
    const QString load = ui->P3loadPower->text();
    const QString notes = ui->P3TextBrowser->toPlainText();
    const int steps = w->P3waveforms.steps();
    QVector<QVector<double>> before;
    for (const QString &name : motor::Waveforms::names())
        before << *w->P3waveforms.byName(name);
    const bool decimated = w->P3waveforms.decimated;
    const double Rdson = w->P3waveforms.Rdson;
    const int points = ui->P3graph0->graph(0)->dataCount();
    const int runs = w->P3computations;
    w->P3progressDelayMs = 0; // the dialog shows at the first report
    {
        ProgressWatch watch([](QProgressDialog *d) {
            QCOMPARE(d->labelText(),
                     QStringLiteral("Simulating the motor drive to thermal equilibrium..."));
            d->cancel();
        });
        ui->P3Vs->setText("40");
        emit ui->P3Vs->editingFinished();
        QCOMPARE(watch.seen, 1);
    }
    QCOMPARE(w->P3computations, runs + 1);
    QCOMPARE(ui->P3Vs->text(), QStringLiteral("40"));
    QCOMPARE(ui->P3loadPower->text(), load);
    QCOMPARE(w->P3waveforms.steps(), steps);
    for (int k = 0; k < before.size(); ++k) {
        const QString &name = motor::Waveforms::names()[k];
        QVERIFY2(*w->P3waveforms.byName(name) == before[k], qPrintable(name));
    }
    QCOMPARE(w->P3waveforms.decimated, decimated);
    QCOMPARE(w->P3waveforms.Rdson, Rdson);
    QCOMPARE(ui->P3graph0->graph(0)->dataCount(), points);
    const QString cancelled =
        "Simulation cancelled: the results shown are those of the previous inputs";
    QCOMPARE(ui->P3TextBrowser->toPlainText(), notes + "\n\n" + cancelled);
    QVERIFY(w->designModified);
    QVERIFY(!QApplication::activeModalWidget()); // the dialog is gone
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The kept waveforms still export, as the run they came from.
    QTemporaryDir dir;
    QCOMPARE(w->writeP3PWL(dir.filePath("kept.txt")), QString());
    QFile kept(dir.filePath("kept.txt"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll().count('\n'), steps);

    // Cancelled inputs are not computed ones: entered again, they run.
    emit ui->P3Vs->editingFinished();
    QCOMPARE(w->P3computations, runs + 2);
    QVERIFY(ui->P3loadPower->text() != load);
    QVERIFY(!ui->P3TextBrowser->toPlainText().contains(cancelled));
}

void TestMotorPage::cancelsReturnAtOnce()
{
    // Whatever the refreshes before it did, a cancel gives back the shown waveforms in a small
    // share of the time they took to compute: after a cancelled refresh that had barely begun,
    // the next cancel must not compute a long run again.
    w->loadExample(95);
    QElapsedTimer clock;
    clock.start();
    ui->P3endTime->setText("10");
    emit ui->P3endTime->editingFinished();
    const qint64 shownMs = clock.elapsed();
    QVERIFY(w->P3inputsComputed());
    const QVector<double> shown = w->P3waveforms.I1;
    w->P3progressDelayMs = 0;
    for (const char *ambient : {"30", "35", "36"}) {
        QElapsedTimer sinceCancel;
        ProgressWatch watch([&sinceCancel](QProgressDialog *d) {
            sinceCancel.start();
            d->cancel();
        });
        ui->P3Tambient->setText(ambient);
        emit ui->P3Tambient->editingFinished();
        const qint64 returnMs = sinceCancel.elapsed();
        QCOMPARE(watch.seen, 1);
        QVERIFY2(returnMs * 10 < shownMs, qPrintable(QStringLiteral("ambient %1: %2 ms of %3 ms")
                                                         .arg(ambient)
                                                         .arg(returnMs)
                                                         .arg(shownMs)));
        QVERIFY(w->P3waveforms.I1 == shown);
    }
}

void TestMotorPage::cancelledWindowKeepsItsAxis()
{
    // The graphs show the window of the waveforms they hold, not the one typed and cancelled.
    QCustomPlot *plot = ui->P3graph0;
    const QCPRange window = plot->xAxis->range();
    QCOMPARE(window, QCPRange(0.025, 0.075));
    w->P3progressDelayMs = 0;
    {
        ProgressWatch watch([](QProgressDialog *d) { d->cancel(); });
        ui->P3startTime->setText("0.05");
        ui->P3endTime->setText("0.2");
        emit ui->P3endTime->editingFinished();
        QCOMPARE(watch.seen, 1);
    }
    QVERIFY(ui->P3TextBrowser->toPlainText().contains("Simulation cancelled"));
    QCOMPARE(plot->xAxis->range(), window);
    // The curve reaches the axis' end.
    const double lastKey = (plot->graph(0)->data()->constEnd() - 1)->key;
    QVERIFY2(lastKey >= window.upper - 1e-3 * window.size(), qPrintable(QString::number(lastKey)));
}

void TestMotorPage::cancelledDeltaKeepsStarPoint()
{
    // A wye motor's star point graphed; a change to delta cancelled keeps the wye waveforms,
    // and with them the graph, its slot and the star point on the schematic.
    w->ThreePhaseisDelta = false;
    w->P3graphables = QStringList{"I1", "Vwye", "null", "null", "null", "null"};
    w->refreshP3();
    const int steps = w->P3waveforms.steps();
    const auto verifyStarPointShown = [this, steps] {
        QCOMPARE(w->P3graphables[1], QStringLiteral("Vwye"));
        QVERIFY(!ui->P3graph1->isHidden());
        QCOMPARE(plotcheck::shownTitle(ui->P3graph1), QStringLiteral("Wye Voltage [V]"));
        QCOMPARE(ui->P3graph1->graph(0)->dataCount(), steps);
        QVERIFY(w->P3schCoilStartLeads[0]);
        QCOMPARE(w->P3schCoilStartLeads[0]->pen().color(), motor::schematicColour(1));
    };
    verifyStarPointShown();
    if (QTest::currentTestFailed()) return;
    w->P3progressDelayMs = 0;
    P3motor *d = openDialog("P3editMotor");
    QVERIFY(d);
    d->ui->DeltaButton->click();
    {
        ProgressWatch watch([](QProgressDialog *p) { p->cancel(); });
        d->ui->P3motor_OK->click();
        QCOMPARE(watch.seen, 1);
    }
    QVERIFY(w->ThreePhaseisDelta); // the dialog's values stay as given
    QVERIFY(ui->P3TextBrowser->toPlainText().contains("Simulation cancelled"));
    verifyStarPointShown();
    if (QTest::currentTestFailed()) return;

    // Wye again: computed, and the graph stays.
    w->P3progressDelayMs = 500;
    d = openDialog("P3editMotor");
    QVERIFY(d);
    d->ui->WyeButton->click();
    d->ui->P3motor_OK->click();
    QVERIFY(w->P3inputsComputed());
    verifyStarPointShown();
}

void TestMotorPage::editDuringLongRefreshWaits()
{
    // While the progress dialog lets events through, an edit waits for the running refresh
    // and a close is refused; nothing runs inside the other.
    w->P3progressDelayMs = 0;
    const int runs = w->P3computations;
    bool closed = true;
    {
        ProgressWatch watch([this, &closed](QProgressDialog *) {
            ui->P3Vcc->setText("6");
            emit ui->P3Vcc->editingFinished();
            closed = w->close();
        });
        ui->P3Vs->setText("40");
        emit ui->P3Vs->editingFinished();
        QCOMPARE(watch.seen, 1);
    }
    QVERIFY(!closed);
    QVERIFY(w->isVisible());
    // The waiting edit ran after the first: the results shown are those of both edits.
    QCOMPARE(w->P3computations, runs + 2);
    QCOMPARE(ui->P3Vcc->text(), QStringLiteral("6"));
    QVERIFY(w->P3inputsComputed());
    QVERIFY(!ui->P3TextBrowser->toPlainText().contains("cancelled"));
}

void TestMotorPage::pwlExport()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("wave.txt");
    w->P3graphables = QStringList{"null", "V1", "null", "I2", "null", "null"};
    w->P3refreshGraphs();
    bool saved = false;
    {
        DialogAnswerer answerer(path);
        saved = w->P3savePWL();
    }
    QVERIFY(saved);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.size(), w->P3waveforms.steps() + 1); // the last line ends with a line feed
    QVERIFY(lines.last().isEmpty());
    const motor::Waveforms &wf = w->P3waveforms;
    for (int i : {0, 1, wf.steps() / 2, wf.steps() - 1}) {
        // Times in the shortest form that reads back exactly; values in the stream's default.
        QString expected;
        QTextStream(&expected) << QString::number(wf.time[i], 'g', QLocale::FloatingPointShortest)
                               << ',' << wf.V1[i] << ',' << wf.I2[i];
        QCOMPARE(QString::fromLatin1(lines[i]), expected);
    }
    QCOMPARE(lines[0].left(2), QByteArray("0,"));
}

void TestMotorPage::pwlTimesIncrease_data()
{
    QTest::addColumn<int>("example");
    QTest::newRow("example 94: every step of the run written again") << 94;
    QTest::newRow("start-up design: the stored steps") << -1;
}

void TestMotorPage::pwlTimesIncrease()
{
    // A piecewise-linear source needs every time later than the one before, and each time
    // must read back as the step's own.
    QFETCH(int, example);
    if (example >= 0) w->loadExample(example);
    QCOMPARE(w->P3waveforms.decimated, example >= 0);
    QTemporaryDir dir;
    const QString path = dir.filePath("wave.txt");
    QCOMPARE(w->writeP3PWL(path), QString());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QVERIFY(lines.size() > 1000);
    QVERIFY(lines.last().isEmpty());
    double previous = -1;
    for (int i = 0; i < lines.size() - 1; ++i) {
        bool ok = false;
        const double t = lines[i].left(lines[i].indexOf(',')).toDouble(&ok);
        QVERIFY2(ok && t > previous, qPrintable(QStringLiteral("line %1: %2 after %3")
                                                    .arg(i + 1)
                                                    .arg(QString::fromLatin1(lines[i]))
                                                    .arg(previous, 0, 'g', 17)));
        if (example < 0) QCOMPARE(t, w->P3waveforms.time[i]);
        previous = t;
    }
}

void TestMotorPage::pwlCancelled()
{
    QTemporaryDir dir;
    bool saved = true;
    {
        DialogAnswerer answerer{QString()};
        saved = w->P3savePWL();
        QVERIFY(answerer.messages.isEmpty());
    }
    QVERIFY(!saved);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TestMotorPage::pwlWriteFailureIsReported()
{
    // A folder that does not exist cannot take the file: the user is told, and the export
    // reports failure.
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/wave.txt");
    bool saved = true;
    QStringList messages;
    {
        DialogAnswerer answerer(path);
        saved = w->P3savePWL();
        messages = answerer.messages;
    }
    QVERIFY(!saved);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.last().contains(path), qPrintable(messages.join(" | ")));
    QVERIFY(!QFile::exists(path));

    // A device that opens but takes no data: the write itself fails and says why.
    if (!QFile::exists("/dev/full")) QSKIP("no /dev/full on this system");
    const QString error = w->writeP3PWL("/dev/full");
    QCOMPARE(error, "Could not write /dev/full: " + QString::fromLocal8Bit(std::strerror(ENOSPC)));
}

void TestMotorPage::pwlFailedWriteKeepsOldFile_data()
{
    oldExportRows();
}

void TestMotorPage::pwlFailedWriteKeepsOldFile()
{
#ifndef Q_OS_LINUX
    QSKIP("file size limits are set with setrlimit");
#else
    // A disk that fills part-way through the export, as a file size limit makes it: the
    // export of before is kept whole, no part of the new one is left, and the message names
    // the reason the system gives.
    QFETCH(bool, oldFile);
    QTemporaryDir dir;
    const QString path = dir.filePath("wave.txt");
    if (oldFile) placeOldExport(path);
    const rlim_t limit = 4096;
    QCOMPARE(w->writeP3PWL(dir.filePath("whole.txt")), QString());
    QVERIFY(QFileInfo(dir.filePath("whole.txt")).size() > qint64(4 * limit));
    QVERIFY(QFile::remove(dir.filePath("whole.txt")));

    // Over an old file, without the file dialog, whose question to replace it the answerer
    // cannot reach; else as the user exports, through the message it shows.
    QString error;
    bool saved = true;
    QStringList messages;
    {
        const FileSizeLimit small(limit);
        QVERIFY(small.set);
        if (oldFile) {
            error = w->writeP3PWL(path);
        } else {
            DialogAnswerer answerer(path);
            saved = w->P3savePWL();
            messages = answerer.messages;
        }
    }

    const QString told = fileTooLarge(path);
    if (oldFile) {
        QCOMPARE(error, told);
    } else {
        QVERIFY(!saved);
        QCOMPARE(messages, QStringList{told});
    }
    verifyLeftAsBefore(path, oldFile);
#endif
}

void TestMotorPage::pwlFailedWriteStopsTheRun()
{
#ifndef Q_OS_LINUX
    QSKIP("file size limits are set with setrlimit");
#else
    // The export of a long run simulates it again as it writes: a write that fails ends the
    // run there, in a small share of the time a whole export takes, and keeps the old file.
    w->loadExample(94);
    QVERIFY(w->P3waveforms.decimated);
    QTemporaryDir dir;
    const QString path = dir.filePath("wave.txt");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(w->writeP3PWL(path), QString());
    const qint64 wholeMs = clock.elapsed();
    QVERIFY(QFile::remove(path));
    placeOldExport(path);
    QString error;
    clock.start();
    {
        const FileSizeLimit small(4096);
        QVERIFY(small.set);
        error = w->writeP3PWL(path);
    }
    const qint64 failedMs = clock.elapsed();
    QCOMPARE(error, fileTooLarge(path));
    QVERIFY2(failedMs * 5 < wholeMs,
             qPrintable(QStringLiteral("%1 ms of %2 ms").arg(failedMs).arg(wholeMs)));
    verifyLeftAsBefore(path, true);
#endif
}

void TestMotorPage::pwlLongExportCancelled_data()
{
    oldExportRows();
}

void TestMotorPage::pwlLongExportCancelled()
{
    // The export of a long run simulates it again: the refresh's progress dialog shows with
    // its Cancel, which stops the export and leaves the file as it was, with no message.
    QFETCH(bool, oldFile);
    w->loadExample(94);
    QVERIFY(w->P3waveforms.decimated);
    QTemporaryDir dir;
    const QString path = dir.filePath("wave.txt");
    if (oldFile) placeOldExport(path);
    w->P3progressDelayMs = 0;
    bool saved = true, cancelled = false;
    QStringList messages;
    {
        ProgressWatch watch([](QProgressDialog *d) {
            QCOMPARE(d->labelText(),
                     QStringLiteral("Simulating the run again to write every step of it..."));
            d->cancel();
        });
        // Over an old file without the file dialog (see above).
        if (oldFile) {
            w->writeP3PWL(path, &cancelled);
        } else {
            DialogAnswerer answerer(path);
            saved = w->P3savePWL();
            messages = answerer.messages;
        }
        QCOMPARE(watch.seen, 1);
    }
    QVERIFY(oldFile ? cancelled : !saved);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(" | ")));
    verifyLeftAsBefore(path, oldFile);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestMotorPage::cancelledExampleShowsItsGraphs()
{
    // An example whose refresh is cancelled keeps the results before it, but its choice of
    // graphs is the page's now: every graph shows the signal its slot names.
    w->P3progressDelayMs = 0;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [] {
        if (auto *d = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget()))
            d->cancel();
    });
    canceller.start(0);
    w->loadExample(91);
    canceller.stop();
    QVERIFY(ui->P3TextBrowser->toPlainText().contains("Simulation cancelled"));
    QCOMPARE(w->P3graphables, (QStringList{"I1", "I2", "I3", "null", "null", "null"}));
    const QStringList labels{"A Line Current [A]", "B Line Current [A]", "C Line Current [A]"};
    QCustomPlot *const plots[] = {ui->P3graph0, ui->P3graph1, ui->P3graph2,
                                  ui->P3graph3, ui->P3graph4, ui->P3graph5};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(plots[i]->isVisible(), i < 3);
        if (i >= 3) continue;
        QCOMPARE(plotcheck::shownTitle(plots[i]), labels[i]);
        QCOMPARE(plots[i]->graph(0)->dataCount(), w->P3waveforms.steps());
    }
}

QTEST_MAIN(TestMotorPage)
#include "tst_motorpage.moc"
