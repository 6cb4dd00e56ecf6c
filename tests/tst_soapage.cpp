// The SOA page in the window: limit curves and load line of the default part, the log/linear
// switch, the waveforms, the signal dialog and upload, and the guards against unusable input.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "plotcheck.h"
#include "windowtest.h"

#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>
#include <memory>

namespace {

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

} // namespace

class TestSoaPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void defaultPartCurvesAndLoadLine();
    void legendClearOfCurves_data();
    void legendClearOfCurves();
    void logLinearSwitch();
    void reactiveLoadLoops();
    void openSeriesCapacitorDrawsNoLoadLine();
    void unusableSignalKeepsThePrevious();
    void upload();
    void signalDialog();
    void motorStallNotes();
    void currentLimitBand();
    void uncomputableLoad_data();
    void uncomputableLoad();
    void unusableThermalField_data();
    void unusableThermalField();
    void motorStallWithoutResistance();
    void thermalFrequencyIsTheSignals_data();
    void thermalFrequencyIsTheSignals();
    void rejectedSineKeepsItsFrequency();
    void screenshots();

private:
    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestSoaPage::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestSoaPage::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
    // The constructor sets the page up on its default part.
}

void TestSoaPage::cleanup()
{
    windowtest::dropPendingDialogHandlers();
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

void TestSoaPage::legendClearOfCurves_data()
{
    QTest::addColumn<int>("signalType");
    QTest::addColumn<QString>("load");
    QTest::addColumn<QString>("rload");
    QTest::newRow("start-up design") << 0 << QString() << QString();
    // +-48 V into 100 ohm: the load line runs through the corner the legend starts in.
    QTest::newRow("sine near the rails") << 0 << QString() << QStringLiteral("100");
    QTest::newRow("trapezoid") << 1 << QString() << QString();
    QTest::newRow("motor stall") << 3 << QStringLiteral("DC Motor") << QString();
}

// The SOA chart's legend hides neither the load line nor a limit curve, on the window's
// start-up design and on the other kinds of signal.
void TestSoaPage::legendClearOfCurves()
{
    QFETCH(int, signalType);
    QFETCH(QString, load);
    QFETCH(QString, rload);
    w->resize(1366, 720);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    ui->Page->setCurrentIndex(2);
    ui->SOAdisplayTab->setCurrentIndex(1);
    if (!rload.isEmpty()) {
        w->SOAmaxOut = "48";
        w->SOAminOut = "-48";
        ui->SOA_Rload->setText(rload);
        w->refreshSOA();
    }
    if (signalType != 0) {
        w->SignalType = signalType;
        w->SOAtRise = w->SOAtFall = "10u";
        w->SOAtHigh = w->SOAtLow = "40u";
        if (!load.isEmpty()) {
            ui->loadTypeBox->setCurrentText(load);
            ui->MotorBox->setCurrentText("Stall");
        }
        w->refreshSOA();
    }
    QApplication::processEvents();
    ui->SOA->replot();
    QVERIFY(loadLineCurve(ui->SOA));
    const QStringList hidden = plotcheck::curvesUnderLegend(ui->SOA);
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join("; ")));
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
    windowtest::onNextDialog([](QDialog *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Change Output Signal Waveform"));
        d->findChild<QLineEdit *>("sineFrequency")->setText("2k");
        d->reject();
    });
    w->changeSOASignal();
    QCOMPARE(w->SOAfreq, QStringLiteral("1k"));
    QCOMPARE(ui->SOAdisplayTab->currentIndex(), 1);
    QVERIFY(w->designModified);

    // OK on the trapezoid page: its texts are stored and the waveform tab shows.
    windowtest::onNextDialog([](QDialog *d) {
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
    windowtest::onNextDialog([](QDialog *d) {
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

namespace {

bool isRedText(const QLineEdit *edit)
{
    return edit->palette().color(QPalette::Text) == QColor(Qt::red);
}

bool showsNoResult(const QLabel *label)
{
    return label->text() == eng::noResultText() && label->styleSheet().contains("red");
}

} // namespace

void TestSoaPage::uncomputableLoad_data()
{
    QTest::addColumn<QString>("r");
    QTest::addColumn<bool>("fieldRed");
    QTest::addColumn<QString>("note");
    const QString shorted =
        QStringLiteral("!!! The load shorts the output: the load current is unbounded !!!");
    QTest::newRow("short") << "short" << false << shorted;
    QTest::newRow("zero") << "0" << false << shorted;
    QTest::newRow("empty") << "" << false << shorted;
    QTest::newRow("unreadable") << "abc" << true
                                << "!!! Load R cannot be read: the load line cannot be computed !!!";
    QTest::newRow("negative") << "-8" << true
                              << "!!! Load R is negative: the load line cannot be computed !!!";
}

void TestSoaPage::uncomputableLoad()
{
    // L and C short: nothing but R limits the current the sine drives.
    QFETCH(QString, r);
    QFETCH(bool, fieldRed);
    QFETCH(QString, note);
    ui->SOA_Rload->setText(r);
    ui->SOA_Lload->setText("short");
    ui->SOA_Cload->setText("short");
    w->refreshSOA();

    for (QLabel *label : {ui->PdLoad, ui->PdAmpAvg, ui->TempC, ui->TempJ, ui->SuggTcMax,
                          ui->minHeatsink})
        QVERIFY2(showsNoResult(label), qPrintable(label->objectName() + ": " + label->text()));
    QCOMPARE(isRedText(ui->SOA_Rload), fieldRed);
    const QStringList notes = ui->notes->toPlainText().split('\n');
    QVERIFY2(notes.contains(note), qPrintable(notes.join('|')));
    const QString details = ui->PowerDetails->toPlainText();
    QVERIFY2(!details.contains("nan") && !details.contains("e+"), qPrintable(details));
    QVERIFY(details.contains(QStringLiteral("Most Efficient Supplies: \t") + eng::noResultText()));
    QVERIFY(!loadLineCurve(ui->SOA));
    QCOMPARE(ui->voltageViewer->graph(0)->dataCount(), 0);
    // No axis keeps the scale of the waveform that went away.
    QCOMPARE(ui->voltageViewer->yAxis->range(), QCPRange(-1, 1));
    QCOMPARE(ui->currentViewer->xAxis->range(), QCPRange(0, 1));
    QVERIFY(std::isnan(w->SOAmaxIout)); // the pump page's import shows no figure either

    // A readable load brings every figure back, in black.
    ui->SOA_Rload->setText("1k");
    w->refreshSOA();
    QCOMPARE(ui->PdLoad->text(), QStringLiteral("0.8"));
    QVERIFY(!ui->TempC->styleSheet().contains("red"));
    QVERIFY(!isRedText(ui->SOA_Rload));
}

void TestSoaPage::unusableThermalField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("note");
    const QString temperatures = QStringLiteral(": temperatures cannot be computed !!!");
    QTest::newRow("ambient below absolute zero")
        << "tempA" << "-300" << "!!! Ambient temperature is below absolute zero" + temperatures;
    QTest::newRow("ambient open") << "tempA" << "open"
                                  << "!!! Ambient temperature is open" + temperatures;
    QTest::newRow("negative compound")
        << "ThermalCompound" << "-1"
        << "!!! Thermal compound resistance is negative" + temperatures;
    QTest::newRow("negative heatsink") << "heatsink" << "-1"
                                       << "!!! Heatsink rating is negative" + temperatures;
    QTest::newRow("unreadable heatsink") << "heatsink" << "1e308k"
                                         << "!!! Heatsink rating cannot be read" + temperatures;
}

void TestSoaPage::unusableThermalField()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, note);
    auto *edit = w->findChild<QLineEdit *>(field);
    QVERIFY(edit);
    edit->setText(typed);
    w->refreshSOA();
    QVERIFY(isRedText(edit));
    QVERIFY(showsNoResult(ui->TempC));
    QVERIFY(showsNoResult(ui->TempJ));
    QVERIFY2(ui->notes->toPlainText().split('\n').contains(note),
             qPrintable(ui->notes->toPlainText()));
    // The dissipation does not depend on the thermal path and stays a figure.
    QCOMPARE(ui->PdAmpAvg->text(), QStringLiteral("3.07"));
}

void TestSoaPage::motorStallWithoutResistance()
{
    w->SignalType = 3;
    ui->loadTypeBox->setCurrentText("DC Motor");
    ui->MotorBox->setCurrentText("Stall");
    ui->MotorESR->setText("0");
    w->refreshSOA();
    const QStringList notes = ui->notes->toPlainText().split('\n');
    // The motor's own lines replace the warnings; the reason for the missing figures stays.
    QCOMPARE(notes.value(1), QStringLiteral("Stall and Reversal load lines are displayed to help "
                                            "choose a current limit resistor."));
    QVERIFY2(notes.contains("!!! Motor ESR is 0: the stall current is unbounded !!!"),
             qPrintable(notes.join('|')));
    QVERIFY(showsNoResult(ui->PdAmpAvg));
    QVERIFY(showsNoResult(ui->TempJ));
    QVERIFY(!ui->PowerDetails->toPlainText().contains("e+"));
}

void TestSoaPage::thermalFrequencyIsTheSignals_data()
{
    QTest::addColumn<QString>("hiddenSine");
    QTest::newRow("sine field 1k") << "1k";
    QTest::newRow("sine field 50") << "50";
    QTest::newRow("sine field 0") << "0";
    QTest::newRow("sine field abc") << "abc";
}

void TestSoaPage::thermalFrequencyIsTheSignals()
{
    // LX26 into 4 ohm on +-40 V, a 10/40/10/40 us trapezoid (10 kHz) of +-30 V: what the
    // thermal model sees must not depend on the sine field the trapezoid does not use.
    QFETCH(QString, hiddenSine);
    ui->AmpSelecterSOA->setCurrentText("LX26");
    w->makeSOAplot();
    w->SOAVs_pos = "40";
    w->SOAVs_neg = "-40";
    ui->SOA_Rload->setText("4");
    w->SignalType = 1;
    w->SOAmaxOut = "30";
    w->SOAminOut = "-30";
    w->SOAtRise = w->SOAtFall = "10u";
    w->SOAtHigh = w->SOAtLow = "40u";
    w->SOAfreq = "1k";
    w->refreshSOA();
    const QString reference = ui->PdAmpAvg->text();
    const double referenceTj = w->SOApower.Tj;
    QVERIFY(w->SOApower.acBidirectional); // 10 kHz: the AC thermal resistance

    w->SOAfreq = hiddenSine;
    w->refreshSOA();
    QCOMPARE(ui->PdAmpAvg->text(), reference);
    QCOMPARE(w->SOApower.Tj, referenceTj);
    QVERIFY(w->SOApower.acBidirectional);
    QVERIFY(!ui->notes->toPlainText().contains("Heatsink Requirements Unreasonable"));
}

void TestSoaPage::rejectedSineKeepsItsFrequency()
{
    // The default design: 1 kHz sine, 3.07 W in the amplifier. A sine frequency that cannot
    // be used keeps the signal, and with it the 1 kHz the thermal model works with.
    QCOMPARE(ui->PdAmpAvg->text(), QStringLiteral("3.07"));
    for (const char *typed : {"0", "abc", "-1k"}) {
        w->SOAfreq = QLatin1String(typed);
        w->refreshSOA();
        QVERIFY(!w->SOAsignalNote.isEmpty());
        QCOMPARE(ui->PdAmpAvg->text(), QStringLiteral("3.07"));
    }
    // Trapezoid times all 0: refused, and the description shows no frequency figure.
    w->SignalType = 1;
    w->SOAtRise = w->SOAtHigh = w->SOAtFall = w->SOAtLow = "0";
    w->refreshSOA();
    QVERIFY(ui->SOASignalReadout->toPlainText().contains(
        QStringLiteral("(") + eng::noResultText() + QStringLiteral(" Hz frequency)")));
    QCOMPARE(ui->PdAmpAvg->text(), QStringLiteral("3.07"));
}

// Set AMPWRIGHT_SCREENSHOTS to a folder to have the page with a shorted and a negative load
// saved there at 10 pt and 12 pt.
void TestSoaPage::screenshots()
{
    const QString folder = qEnvironmentVariable("AMPWRIGHT_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("AMPWRIGHT_SCREENSHOTS not set");
    for (const int points : {10, 12}) {
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
        MainWindow window;
        window.resize(1366, 768);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.ui->Page->setCurrentIndex(2);
        window.ui->SOAdisplayTab->setCurrentIndex(1);
        for (const char *r : {"short", "-8"}) {
            window.ui->SOA_Rload->setText(QLatin1String(r));
            window.refreshSOA();
            QTest::qWait(50);
            QVERIFY(window.grab().save(
                QStringLiteral("%1/soa_R%2_%3pt.png").arg(folder, QLatin1String(r)).arg(points)));
        }
    }
}

QTEST_MAIN(TestSoaPage)
#include "tst_soapage.moc"
