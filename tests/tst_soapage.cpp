// The SOA page in the window: limit curves and load line of the default part, the log/linear
// switch, the waveforms, the signal dialog and upload, and the guards against unusable input.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>
#include <memory>

namespace {

QtMessageHandler previousHandler = nullptr;

// A renamed widget would silently disconnect its slot: make that warning fail the test.
void failOnUnboundSlots(QtMsgType type, const QMessageLogContext &context, const QString &msg)
{
    if (msg.contains(QLatin1String("No matching signal"))) QFAIL(qPrintable(msg));
    if (previousHandler) previousHandler(type, context, msg);
}

QStringList graphNames(QCustomPlot *plot)
{
    QStringList names;
    for (int i = 0; i < plot->graphCount(); ++i)
        names << plot->graph(i)->name();
    return names;
}

QCPCurve *loadLineCurve(QCustomPlot *plot)
{
    for (int i = 0; i < plot->plottableCount(); ++i) {
        auto *curve = qobject_cast<QCPCurve *>(plot->plottable(i));
        if (curve && curve->name() == QLatin1String("Load Line")) return curve;
    }
    return nullptr;
}

bool isLogTicker(QCPAxis *axis)
{
    return !axis->ticker().dynamicCast<QCPAxisTickerLog>().isNull();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return path;
}

// Runs `act` on the next modal dialog as soon as it is shown.
void onNextDialog(std::function<void(QDialog *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

} // namespace

class TestSoaPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void defaultPartCurvesAndLoadLine();
    void logLinearSwitch();
    void reactiveLoadLoops();
    void openSeriesCapacitorDrawsNoLoadLine();
    void unusableSignalKeepsThePrevious();
    void upload();
    void signalDialog();
    void motorStallNotes();
    void currentLimitBand();

private:
    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestSoaPage::initTestCase()
{
    previousHandler = qInstallMessageHandler(failOnUnboundSlots);
}

void TestSoaPage::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
    // The constructor sets the page up on its default part.
}

void TestSoaPage::cleanup()
{
    w.reset();
}

void TestSoaPage::defaultPartCurvesAndLoadLine()
{
    QCOMPARE(ui->AmpSelecterSOA->currentText(), QStringLiteral("LX30A"));
    const amp part = w->findLinear("LX30A");
    QVERIFY(part.getTc_soa() >= 125);

    const QStringList names = graphNames(ui->SOA);
    QVERIFY2(names.contains(QString::fromUtf8("25°C Case Temp/\nSteady State Limit")),
             qPrintable(names.join('|')));
    QVERIFY(names.contains(QString::fromUtf8("85°C Case Temp")));
    QVERIFY(names.contains(QString::fromUtf8("125°C Case Temp")));
    QVERIFY(names.contains(part.getPulse1()));

    // Default design: 40 Vp, 1 kHz sine into 1 kohm on +-50 V, two periods shown.
    QCPCurve *line = loadLineCurve(ui->SOA);
    QVERIFY(line);
    QCOMPARE(line->dataCount(), 720);
    QCOMPARE(line->data()->at(89)->key, 10.0); // crest: 50 V - 40 V across the stage
    QCOMPARE(line->data()->at(89)->value, 0.04);
    QVERIFY(ui->SOA->legend->hasItemWithPlottable(line));
    QCOMPARE(w->SOAmaxIout, 0.04);
    QCOMPARE(w->SOAminVout, -40.0);

    QCOMPARE(ui->voltageViewer->graphCount(), 1);
    QCOMPARE(ui->voltageViewer->graph(0)->dataCount(), 720);
    QCOMPARE(ui->currentViewer->graph(0)->dataCount(), 720);
    QCOMPARE(ui->voltageViewer->xAxis->range().upper, 2e-3);

    QVERIFY(ui->notes->toPlainText().startsWith(QLatin1String("Notes: ")));
    QCOMPARE(ui->SOASignalReadout->toPlainText(),
             QStringLiteral("Sine Waveform\n-40 V to 40 V\n1kHz\n"
                            "(40 V amplitude centered around 0 V)"));
    QVERIFY(ui->PowerDetails->toPlainText().contains(QLatin1String("Load Power:")));
    // 0.8 W in the load: 40^2 / (2 * 1 kohm).
    QCOMPARE(ui->PdLoad->text(), QStringLiteral("0.8"));
    // Construction ends unmodified; any refresh marks the design modified.
    QVERIFY(!w->designModified);
    w->refreshSOA();
    QVERIFY(w->designModified);
}

void TestSoaPage::logLinearSwitch()
{
    const amp part = w->findLinear("LX30A");
    QCustomPlot *plot = ui->SOA;
    const QList<QCPAxis *> box{plot->xAxis, plot->yAxis, plot->xAxis2, plot->yAxis2};

    // The page starts logarithmic on every axis of the box.
    for (QCPAxis *axis : box) {
        QCOMPARE(axis->scaleType(), QCPAxis::stLogarithmic);
        QVERIFY(isLogTicker(axis));
    }
    QCOMPARE(plot->xAxis->range(), QCPRange(1, 1.5 * part.getVss_max()));
    QCOMPARE(plot->yAxis->range(), QCPRange(part.getI_cont() / 100, 1.5 * part.getI_pk()));

    w->switchLogPlot(false);
    for (QCPAxis *axis : box) {
        QCOMPARE(axis->scaleType(), QCPAxis::stLinear);
        QVERIFY(!isLogTicker(axis));
    }
    QCOMPARE(plot->xAxis->range(), QCPRange(0, 1.2 * part.getVss_max()));
    QCOMPARE(plot->yAxis->range(), QCPRange(0, 1.2 * part.getI_pk()));
    QCOMPARE(plot->xAxis2->range(), plot->xAxis->range());
    QCOMPARE(plot->yAxis2->range(), plot->yAxis->range());

    // A pan moves the box axis too, and switching back discards it.
    plot->xAxis->moveRange(10);
    QCOMPARE(plot->xAxis2->range(), plot->xAxis->range());
    w->switchLogPlot(true);
    for (QCPAxis *axis : box) {
        QCOMPARE(axis->scaleType(), QCPAxis::stLogarithmic);
        QVERIFY(isLogTicker(axis));
    }
    QCOMPARE(plot->xAxis->range(), QCPRange(1, 1.5 * part.getVss_max()));
    QCOMPARE(plot->yAxis2->range(), QCPRange(part.getI_cont() / 100, 1.5 * part.getI_pk()));
    QVERIFY(plot->yAxis->range().lower > 0);

    // A part change returns the page to logarithmic axes after linear ones.
    w->switchLogPlot(false);
    w->makeSOAplot();
    for (QCPAxis *axis : box)
        QCOMPARE(axis->scaleType(), QCPAxis::stLogarithmic);
}

void TestSoaPage::reactiveLoadLoops()
{
    // 10 ohm in series with 10 uF at 1 kHz (Xc = 15.9 ohm): current leads voltage, so at the
    // voltage crest the current is well below its own crest and the load line is a loop.
    ui->SOA_Rload->setText("10");
    ui->SOA_Cload->setText("10u");
    w->refreshSOA();
    QCPCurve *line = loadLineCurve(ui->SOA);
    QVERIFY(line);
    const double iAtCrest = std::fabs(w->SOAloadLine.I.at(360 + 89));
    QVERIFY2(w->SOAmaxIout > 2.0 && w->SOAmaxIout < 2.2,
             qPrintable(QString::number(w->SOAmaxIout)));
    QVERIFY(iAtCrest < 0.7 * w->SOAmaxIout);
    QVERIFY(w->SOApower.acBidirectional);
    QVERIFY(std::isfinite(w->SOApower.Tj));
}

void TestSoaPage::openSeriesCapacitorDrawsNoLoadLine()
{
    ui->SOA_Cload->setText("open");
    w->refreshSOA();
    QVERIFY(!loadLineCurve(ui->SOA));
    QCOMPARE(w->SOAmaxIout, 0.0);
    QCOMPARE(w->SOAminIout, 0.0);
    QCOMPARE(ui->currentViewer->graph(0)->dataCount(), 720);
    QVERIFY(std::isfinite(w->SOApower.efficientVsPos));
}

void TestSoaPage::unusableSignalKeepsThePrevious()
{
    const QVector<double> before = w->SOAtime;
    w->SOAfreq = "0";
    w->refreshSOA();
    QCOMPARE(w->SOAtime, before);
    QVERIFY(loadLineCurve(ui->SOA));
    QVERIFY2(ui->notes->toPlainText().contains(
                 QLatin1String("Signal period must be finite and greater than zero")),
             qPrintable(ui->notes->toPlainText()));
    QCOMPARE(ui->SOASignalReadout->toPlainText().split('\n').value(2), QStringLiteral("0Hz"));

    // The all-zero trapezoid likewise; a good signal clears the note.
    w->SignalType = 1;
    w->SOAtRise = w->SOAtHigh = w->SOAtFall = w->SOAtLow = "0";
    w->refreshSOA();
    QCOMPARE(w->SOAtime, before);
    QVERIFY(!w->SOAsignalNote.isEmpty());
    w->SOAtRise = w->SOAtHigh = w->SOAtFall = w->SOAtLow = "25u";
    w->refreshSOA();
    QCOMPARE(w->SOAtime.size(), 1000);
    QVERIFY(w->SOAsignalNote.isEmpty());
    QVERIFY(!ui->notes->toPlainText().contains(QLatin1String("previous signal")));
}

void TestSoaPage::upload()
{
    QTemporaryDir dir;
    const QVector<double> sine = w->SOAtime;
    w->SignalType = 2;

    // Two lines resample to 500 points; a refresh keeps them and scales them by the gain.
    w->SOAcsvGain = "2";
    w->loadSOAwaveform(writeFile(dir, "ramp.csv", "0,0\r\n1e-3,10\r\n"));
    QCOMPARE(w->SOAtime.size(), 500);
    w->refreshSOA();
    QCOMPARE(w->SOAtime.size(), 500);
    QCOMPARE(w->SOAmaxVout, 2 * 499 * 0.02);
    const QVector<double> ramp = w->SOAtime;

    // One line, equal times, a missing file: the ramp stays; the bad files say why.
    w->loadSOAwaveform(writeFile(dir, "one.csv", "1e-3,5\n"));
    QCOMPARE(w->SOAtime, ramp);
    QVERIFY(!w->SOAsignalNote.isEmpty());
    w->refreshSOA();
    QVERIFY(ui->notes->toPlainText().contains(QLatin1String("previous signal is kept")));
    w->loadSOAwaveform(writeFile(dir, "same.csv", "1e-3,1\n1e-3,2\n"));
    QCOMPARE(w->SOAtime, ramp);
    w->SOAsignalNote.clear();
    w->loadSOAwaveform(dir.filePath("missing.csv"));
    QCOMPARE(w->SOAtime, ramp);
    QVERIFY(w->SOAsignalNote.isEmpty());
    QVERIFY(w->SOAtime != sine);
}

void TestSoaPage::signalDialog()
{
    // Cancel: nothing stored, the tab stays, the page is still recomputed.
    ui->SOAdisplayTab->setCurrentIndex(1);
    w->designModified = false;
    onNextDialog([](QDialog *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Change Output Signal Waveform"));
        d->findChild<QLineEdit *>("sineFrequency")->setText("2k");
        d->reject();
    });
    w->changeSOASignal();
    QCOMPARE(w->SOAfreq, QStringLiteral("1k"));
    QCOMPARE(ui->SOAdisplayTab->currentIndex(), 1);
    QVERIFY(w->designModified);

    // OK on the trapezoid page: its texts are stored and the waveform tab shows.
    onNextDialog([](QDialog *d) {
        auto *kind = d->findChild<QComboBox *>("signalKind");
        kind->setCurrentIndex(1);
        emit kind->activated(1);
        d->findChild<QComboBox *>("trapOutput")->setCurrentIndex(1);
        d->findChild<QLineEdit *>("trapMax")->setText("3");
        d->findChild<QLineEdit *>("trapMin")->setText("-3");
        d->findChild<QLineEdit *>("trapRise")->setText("10u");
        d->findChild<QLineEdit *>("sineFrequency")->setText("7k"); // another page: dropped
        d->accept();
    });
    w->changeSOASignal();
    QCOMPARE(w->SignalType, 1);
    QVERIFY(!w->SOAVout);
    QCOMPARE(w->SOAmaxOut, QStringLiteral("3"));
    QCOMPARE(w->SOAtRise, QStringLiteral("10u"));
    QCOMPARE(w->SOAfreq, QStringLiteral("1k"));
    QCOMPARE(ui->SOAdisplayTab->currentIndex(), 2);
    QCOMPARE(w->SOAtime.size(), 1000);
    QCOMPARE(w->SOAmaxIout, 3.0); // current output: the signal is the load current
    QVERIFY(ui->SOASignalReadout->toPlainText().startsWith(
        QLatin1String("Trapezoidal Waveform\n-3 A to 3 A\n10us rise time")));

    // The motor page's button accepts and opens the load tab on "DC Motor".
    onNextDialog([](QDialog *d) {
        auto *kind = d->findChild<QComboBox *>("signalKind");
        kind->setCurrentIndex(3);
        emit kind->activated(3);
        emit d->findChild<QPushButton *>("motorDefinition")->pressed();
    });
    w->changeSOASignal();
    QCOMPARE(w->SignalType, 3);
    QCOMPARE(ui->SOAtabWidget->currentIndex(), 1);
    QCOMPARE(ui->loadTypeBox->currentText(), QStringLiteral("DC Motor"));
}

void TestSoaPage::motorStallNotes()
{
    w->SignalType = 3;
    ui->loadTypeBox->setCurrentText("DC Motor");
    ui->MotorBox->setCurrentText("Stall");
    w->refreshSOA();
    QCOMPARE(ui->notes->toPlainText(),
             QStringLiteral("Notes:\nStall and Reversal load lines are displayed to help choose "
                            "a current limit resistor.\nPower calculations during Stall and "
                            "Reversal conditions are inaccurate."));
    QCOMPARE(ui->SOASignalReadout->toPlainText(),
             QStringLiteral("DC Motor\nSee Load tab to edit parameters"));
    // Stall: the motor's 3 ohm winding across a sweep up to +50 V.
    QVERIFY(std::fabs(w->SOAmaxIout - 50 / 3.0) < 1e-9);
    QCOMPARE(w->SOAloadLine.T.size(), 360);
}

void TestSoaPage::currentLimitBand()
{
    // LX30A with a sense resistor: a band named "Current Limit" with one legend entry, filled.
    ui->R_CL->setText("1");
    w->refreshSOA();
    int bands = 0;
    QCPGraph *upper = nullptr;
    for (int i = 0; i < ui->SOA->graphCount(); ++i) {
        QCPGraph *g = ui->SOA->graph(i);
        if (g->pen().color() == QColor(102, 51, 0)) {
            ++bands;
            if (g->name() == QLatin1String("Current Limit")) upper = g;
        }
    }
    QCOMPARE(bands, 2);
    QVERIFY(upper && upper->channelFillGraph());
    QVERIFY(ui->PowerDetails->toPlainText().contains(
        QStringLiteral("Suggested Power Rating for R_CL: \t>597 mW")));
    ui->R_CL->setText("short");
    w->refreshSOA();
    QVERIFY(!graphNames(ui->SOA).contains(QStringLiteral("Current Limit")));
}

QTEST_MAIN(TestSoaPage)
#include "tst_soapage.moc"
