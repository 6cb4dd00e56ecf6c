// The stability models in the window: plot set-up, the four models drawing and not drawing,
// the automatic compensation, the R-C calculators and the Bode plot generator page.
#include "app/mainwindow.h"
#include "stability/bodemodel.h"
#include "ui_mainwindow.h"
#include "plotcheck.h"
#include "windowtest.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
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

QCPGraph *graphNamed(QCustomPlot *plot, const QString &name)
{
    for (int i = 0; i < plot->graphCount(); ++i)
        if (plot->graph(i)->name() == name) return plot->graph(i);
    return nullptr;
}

QString titleOf(QCustomPlot *plot)
{
    auto *title = qobject_cast<QCPTextElement *>(plot->plotLayout()->element(0, 0));
    return title ? title->text() : QString();
}

bool isRed(QLineEdit *edit)
{
    return edit->palette().color(QPalette::Text) == QColor(Qt::red);
}

bool isRed(QLabel *label)
{
    return label->styleSheet().contains(QLatin1String("red"));
}

// The result labels of the page that a refused loop empties.
QList<QLabel *> loopFigures(Ui_MainWindow *ui)
{
    return {ui->Fclosure, ui->MaxBW, ui->PhaseMargin, ui->RateClosure};
}

void checkNotAnalysed(Ui_MainWindow *ui, const QString &why)
{
    QCOMPARE(ui->Stability->text(), QStringLiteral("NOT ANALYSED"));
    QVERIFY(isRed(ui->Stability));
    for (QLabel *label : loopFigures(ui)) {
        QCOMPARE(label->text(), QString::fromUtf8("\u2014"));
        QVERIFY2(isRed(label), qPrintable(label->objectName()));
    }
    QCOMPARE(ui->StabilityDetails->toPlainText(), why);
    QCOMPARE(ui->Stability->toolTip(), why);
    QCOMPARE(ui->GainPlot->graphCount(), 0);
    QCOMPARE(ui->PhasePlot->graphCount(), 0);
    QVERIFY(!ui->GainPlot->legend->visible() && !ui->PhasePlot->legend->visible());
}

// The composite examples of the automatic compensation: LX27 driving C_LOAD with an OP37 host.
void setUpCompositeExample(MainWindow *w, Ui_MainWindow *ui, bool inverting = false,
                           const QString &cLoad = QStringLiteral("1u"),
                           const QString &hostCfb = QStringLiteral("100p"))
{
    ui->CloadButton->setChecked(true);
    (inverting ? ui->StabInv : ui->StabNon)->setChecked(true);
    ui->compositeCheckBox->setChecked(true);
    const int host = ui->hostSelector->findText(QStringLiteral("OP37"));
    QVERIFY(host > 0);
    ui->hostSelector->setCurrentIndex(host);
    emit ui->hostSelector->activated(host);
    w->CLoadStab = cLoad;
    w->compCfb = hostCfb;
    w->refreshStab();
}

} // namespace

class TestStabWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void bodePlotSetup();
    void defaultDesignCapacitiveLoad();
    void quietRunKeepsGraphs();
    void modelChoice_data();
    void modelChoice();
    void noLoadButtonRunsNothing();
    void closedLoopViewAndLegends();
    void compositeHostFields();
    void unanalysedLoops_data();
    void unanalysedLoops();
    void autoCompensateNeverWorsens();
    void autoCompensateSaysWhenOnlyMarginal();
    void autoCompensateCapacitiveLoad();
    void autoCompensateCompositeRestoresInverting();
    void calculatorDefaults();
    void calculatorFieldsRecompute_data();
    void calculatorFieldsRecompute();
    void calculatorsWithoutResult_data();
    void calculatorsWithoutResult();
    void bodeGeneratorRefreshAndSave();
    void lastDecadeLabelShows();
    void legendsClearOfCurves_data();
    void legendsClearOfCurves();

private:
    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestStabWindow::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestStabWindow::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
    ui->AmpSelectorStab->setCurrentText(QStringLiteral("LX27"));
    QCOMPARE(ui->AmpSelectorStab->currentText(), QStringLiteral("LX27"));
}

void TestStabWindow::cleanup()
{
    w.reset();
}

void TestStabWindow::bodePlotSetup()
{
    QCOMPARE(titleOf(ui->GainPlot), QStringLiteral("Bode Plot - Gain"));
    QCOMPARE(titleOf(ui->PhasePlot), QStringLiteral("Bode Plot - Phase"));
    for (QCustomPlot *plot : {ui->GainPlot, ui->PhasePlot}) {
        QCOMPARE(plot->xAxis->scaleType(), QCPAxis::stLogarithmic);
        QCOMPARE(plot->xAxis->label(), QStringLiteral("Frequency [Hz]"));
        QCOMPARE(plot->xAxis->range().lower, 1.0);
        QCOMPARE(plot->xAxis->range().upper, 1e8);
        auto ticker = plot->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
        QVERIFY(ticker);
        QCOMPARE(ticker->ticks().value(1e3), QStringLiteral("1k"));
        QCOMPARE(ticker->ticks().value(1e8), QStringLiteral("100M"));
        QCOMPARE(ticker->subTickCount(), 8);
        QVERIFY(plot->xAxis->grid()->subGridVisible());
        QVERIFY(plot->legend->visible());
    }
    QCOMPARE(ui->GainPlot->yAxis->label(), QStringLiteral("Gain [dB]"));
    QCOMPARE(ui->PhasePlot->yAxis->label(), QString::fromUtf8("Phase Shift [°]"));
    QCOMPARE(ui->GainPlot->yAxis->range().lower, -20.0);
    QCOMPARE(ui->GainPlot->yAxis->range().upper, 140.0);
    QCOMPARE(ui->PhasePlot->yAxis->range().lower, -180.0);
    auto gainTicker = ui->GainPlot->yAxis->ticker().dynamicCast<QCPAxisTickerFixed>();
    auto phaseTicker = ui->PhasePlot->yAxis->ticker().dynamicCast<QCPAxisTickerFixed>();
    QVERIFY(gainTicker && phaseTicker);
    QCOMPARE(gainTicker->tickStep(), 20.0);
    QCOMPARE(phaseTicker->tickStep(), 45.0);

    // An empty entry for "no host", then every host in list order.
    QCOMPARE(ui->hostSelector->count(), w->hostVector.size() + 1);
    QCOMPARE(ui->hostSelector->itemText(0), QString());
    QCOMPARE(ui->hostSelector->itemText(1), w->hostVector.first().getAmpName());
    QCOMPARE(ui->hostSelector->currentIndex(), 0);
    QCOMPARE(w->RgStab, QStringLiteral("20k"));
    QCOMPARE(w->RgStabL, QStringLiteral("1k"));
    QVERIFY(!w->designModified);
}

void TestStabWindow::defaultDesignCapacitiveLoad()
{
    QVERIFY(ui->CloadButton->isChecked());
    QVERIFY(ui->StabInv->isChecked());
    QVERIFY(!ui->compositeCheckBox->isChecked());
    w->refreshStab();
    QVERIFY(w->designModified);

    QCOMPARE(graphNames(ui->GainPlot), (QStringList{"Open Loop Gain w/ C_LOAD", "1/Beta",
                                                    "Signal at C_LOAD", "Closure Frequency"}));
    QCOMPARE(graphNames(ui->PhasePlot),
             (QStringList{"Closure Frequency", "Pole 1", "Pole 2", "Pole 3", "Open Loop Phase"}));
    QCOMPARE(ui->GainPlot->legend->itemCount(), 4);
    QCOMPARE(ui->PhasePlot->legend->itemCount(), 5);
    QCOMPARE(ui->GainPlot->graph(0)->dataCount(), 128);
    QCOMPARE(ui->GainPlot->graph(0)->pen().width(), 3);
    QCOMPARE(ui->GainPlot->graph(0)->pen().color(), QColor(0, 0, 255));
    QCOMPARE(graphNamed(ui->GainPlot, "Signal at C_LOAD")->pen().style(), Qt::DotLine);
    QCOMPARE(graphNamed(ui->PhasePlot, "Closure Frequency")->pen().style(), Qt::DashLine);
    QCOMPARE(ui->PhasePlot->yAxis->range().upper, 135.0);
    QCOMPARE(ui->phaseButton->text(), QStringLiteral("View Phase Shift"));

    // The labels show what the engine finds for LX27, option 0, with the page's defaults.
    stab::BodeInput in;
    const stab::BodeResult r = stab::capacitiveLoadBode(in, w->findLinear("LX27"));
    QCOMPARE(ui->Stability->text(), r.verdict);
    QCOMPARE(ui->Stability->text(), QStringLiteral("STABLE"));
    QCOMPARE(ui->Stability->styleSheet(), QStringLiteral("QLabel { color : green; }"));
    QCOMPARE(ui->Stability->font().family(), QStringLiteral("Agency FB"));
    QCOMPARE(ui->Stability->font().pointSize(), 20);
    QCOMPARE(ui->SlewRateStab->text(), QString::fromUtf8("30 V/µs"));
    QCOMPARE(ui->PhaseMargin->text(), w->number2String(r.phaseMargin) + QString::fromUtf8("°"));
    QCOMPARE(ui->RateClosure->text(), QStringLiteral("20 dB/dec"));
    QVERIFY(ui->Fclosure->text().endsWith("Hz"));
    QCOMPARE(w->phaseMargin, r.phaseMargin);
    QCOMPARE(w->maxBW, r.maxBandwidth);
    QCOMPARE(ui->StabilityDetails->document()->blockCount(), 13 + 2); // two lines open with \n
    QVERIFY(ui->StabilityDetails->toPlainText().startsWith(
        QString::fromUtf8("Total Output Impedance:\t40 Ω")));
}

void TestStabWindow::quietRunKeepsGraphs()
{
    const double fc = w->plotCBodeData(true);
    QCOMPARE(fc, ui->GainPlot->graph(3)->data()->at(0)->key);
    const QString marginBefore = ui->PhaseMargin->text();
    const double keyBefore = ui->GainPlot->graph(3)->data()->at(0)->key;

    w->CLoadStab = QStringLiteral("1u"); // 40 Ω output: a pole at 3.98 kHz
    const double quietFc = w->plotCBodeData(false);
    QVERIFY(quietFc < fc);
    QVERIFY(ui->StabilityDetails->toPlainText().isEmpty());
    QCOMPARE(ui->GainPlot->graphCount(), 4);
    QCOMPARE(ui->GainPlot->graph(3)->data()->at(0)->key, keyBefore); // the old drawing
    QVERIFY(ui->PhaseMargin->text() != marginBefore);
    QCOMPARE(ui->Stability->text(), QStringLiteral("UNSTABLE"));
    QCOMPARE(ui->Stability->styleSheet(), QStringLiteral("QLabel { color : red; }"));
    QVERIFY(w->phaseMargin < 45);
}

void TestStabWindow::modelChoice_data()
{
    QTest::addColumn<bool>("inductive");
    QTest::addColumn<bool>("composite");
    QTest::addColumn<QString>("firstGain");
    QTest::addColumn<QString>("firstDetail");

    QTest::newRow("capacitive") << false << false << "Open Loop Gain w/ C_LOAD"
                                << "Total Output Impedance:";
    QTest::newRow("composite capacitive") << false << true << "Composite Open Loop Gain"
                                          << "Total Output Impedance:";
    QTest::newRow("inductive") << true << false << "Open Loop Gain"
                               << "Transconductance:";
    QTest::newRow("composite inductive") << true << true << "Composite Open Loop Gain"
                                         << "Transconductance:";
}

void TestStabWindow::modelChoice()
{
    QFETCH(bool, inductive);
    QFETCH(bool, composite);
    QFETCH(QString, firstGain);
    QFETCH(QString, firstDetail);
    (inductive ? ui->LloadButton : ui->CloadButton)->setChecked(true);
    ui->compositeCheckBox->setChecked(composite);
    ui->hostSelector->setCurrentIndex(1);
    ui->hostAOL->setText("100");
    ui->hostPole1->setText("10");
    ui->hostPole2->setText("5MEG");
    ui->hostPole3->setText("20MEG");
    w->refreshStab();
    QCOMPARE(ui->GainPlot->graph(0)->name(), firstGain);
    QVERIFY(ui->StabilityDetails->toPlainText().startsWith(firstDetail));
    QVERIFY(std::isfinite(w->phaseMargin));
    QVERIFY(w->phaseMargin <= 180);
    QVERIFY(!ui->Stability->text().isEmpty());
}

void TestStabWindow::noLoadButtonRunsNothing()
{
    w->refreshStab();
    const QString verdict = ui->PhaseMargin->text();
    ui->CloadButton->setAutoExclusive(false);
    ui->CloadButton->setChecked(false);
    QVERIFY(!ui->LloadButton->isChecked());
    w->CLoadStab = QStringLiteral("1u"); // 40 Ω output: a pole at 3.98 kHz
    w->refreshStab();
    QCOMPARE(ui->PhaseMargin->text(), verdict);
    QCOMPARE(ui->GainPlot->graphCount(), 4);
    QVERIFY(ui->StabilityDetails->toPlainText().isEmpty());
}

void TestStabWindow::closedLoopViewAndLegends()
{
    w->phaseShiftComponents = false;
    ui->HidePhaseLegend->setChecked(true);
    w->refreshStab();
    QCOMPARE(graphNames(ui->PhasePlot),
             (QStringList{"Closure Frequency", "Closed Loop Phase", "Closed * 10", "Closed * 100",
                          "Closed * 1000", "Open Loop Phase"}));
    QCOMPARE(ui->PhasePlot->yAxis->range().upper, 45.0);
    QCOMPARE(ui->PhasePlot->yAxis->range().lower, -180.0);
    QCOMPARE(ui->phaseButton->text(), QStringLiteral("View Phase Components"));
    QVERIFY(!ui->PhasePlot->legend->visible());
    QVERIFY(!ui->GainPlot->legend->visible());

    ui->LloadButton->setChecked(true);
    w->refreshStab();
    QCOMPARE(ui->PhasePlot->yAxis->range().upper, 90.0);
    QCOMPARE(graphNames(ui->PhasePlot),
             (QStringList{"Closure Frequency", "V Out", "I Out", "Open Loop Phase"}));
}

void TestStabWindow::compositeHostFields()
{
    ui->compositeCheckBox->setChecked(true);
    // No host chosen: empty fields, nothing to analyse.
    w->refreshStab();
    checkNotAnalysed(ui, "HOST AOL is empty: no host op-amp is chosen");
    QVERIFY(std::isnan(w->phaseMargin));

    ui->hostAOL->setText("abc");
    w->refreshStab();
    QVERIFY(isRed(ui->hostAOL));
    checkNotAnalysed(ui, "HOST AOL is unreadable");
    ui->hostAOL->setText("100");
    ui->hostPole1->setText("-10");
    w->refreshStab();
    QVERIFY(!isRed(ui->hostAOL));
    QVERIFY(isRed(ui->hostPole1));
    checkNotAnalysed(ui, "HOST POLE 1 is negative");

    const int host = ui->hostSelector->findText(QStringLiteral("OP37"));
    ui->hostSelector->setCurrentIndex(host);
    emit ui->hostSelector->activated(host);
    QVERIFY(ui->Stability->text().contains("STABLE"));
    QVERIFY(std::isfinite(w->phaseMargin));
    for (QLabel *label : loopFigures(ui))
        QVERIFY(!isRed(label));
    QVERIFY(ui->GainPlot->graphCount() > 0);
}

void TestStabWindow::unanalysedLoops_data()
{
    QTest::addColumn<bool>("inductive");
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");

    QTest::newRow("R_S short") << true << "RsL"
                               << "short"
                               << "R_S is short: the transconductance is unbounded";
    QTest::newRow("R_S 0") << true << "RsL"
                           << "0"
                           << "R_S is 0: the transconductance is unbounded";
    QTest::newRow("R_S abc") << true << "RsL"
                             << "abc"
                             << "R_S is unreadable";
    QTest::newRow("R_IN abc") << false << "RinC"
                              << "abc"
                              << "R_IN is unreadable";
    QTest::newRow("R_IN 0") << false << "RinC"
                            << "0"
                            << "R_IN is 0: 1/ß is unbounded";
    QTest::newRow("R_IN dash") << false << "RinC"
                               << "-"
                               << "R_IN is unreadable";
    QTest::newRow("R_IN short") << false << "RinC"
                                << "short"
                                << "R_IN is short: 1/ß is unbounded";
    QTest::newRow("R_ISO -10") << false << "RisoC"
                               << "-10"
                               << "R_ISO is negative";
}

void TestStabWindow::unanalysedLoops()
{
    QFETCH(bool, inductive);
    QFETCH(QString, member);
    QFETCH(QString, text);
    QFETCH(QString, why);

    (inductive ? ui->LloadButton : ui->CloadButton)->setChecked(true);
    w->refreshStab();
    QVERIFY(ui->Stability->text().contains("STABLE"));
    QString *value = member == "RsL" ? &w->RsL : member == "RinC" ? &w->RinC : &w->RisoC;
    const QString typed = *value;
    *value = text;
    w->refreshStab();
    checkNotAnalysed(ui, why);
    QVERIFY(std::isnan(w->phaseMargin) && std::isnan(w->maxBW));

    // A usable value again: figures in black, the plots drawn.
    *value = typed;
    w->refreshStab();
    QVERIFY(ui->Stability->text().contains("STABLE"));
    for (QLabel *label : loopFigures(ui))
        QVERIFY(!isRed(label));
    QVERIFY(ui->GainPlot->graphCount() > 0);
    QVERIFY(ui->Stability->toolTip().isEmpty());
}

void TestStabWindow::autoCompensateNeverWorsens()
{
    // 42° of margin, but a 40 dB/decade closure.
    setUpCompositeExample(w.get(), ui);
    QCOMPARE(ui->Stability->text(), QStringLiteral("UNSTABLE"));
    QCOMPARE(ui->PhaseMargin->text(), QString::fromUtf8("42.4°"));
    QVERIFY2(std::fabs(w->phaseMargin - 42) < 1, qPrintable(QString::number(w->phaseMargin)));
    const stab::CircuitValues before = w->stabCircuitValues();
    const int option = w->CompOption;
    const double margin = w->phaseMargin;

    w->autoStabilize();
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(w->stabCircuitValues() == before);
    QCOMPARE(w->compCfb, QStringLiteral("100p"));
    QCOMPARE(w->CompOption, option);
    QCOMPARE(ui->StabSlider->value(), 2);
    QCOMPARE(ui->Stability->text(), QStringLiteral("UNSTABLE"));
    QCOMPARE(w->phaseMargin, margin);
    QVERIFY(ui->StabNon->isChecked());
    QVERIFY(ui->StabilityDetails->toPlainText().endsWith(
        "Auto - Compensate found no better compensation: the circuit is unchanged."));
}

void TestStabWindow::autoCompensateCapacitiveLoad()
{
    w->CLoadStab = QStringLiteral("1u"); // 40 Ω output: a pole at 3.98 kHz
    w->CompOption = 2;
    w->refreshStab();
    QCOMPARE(ui->Stability->text(), QStringLiteral("UNSTABLE"));
    w->designModified = false;

    w->autoStabilize();
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(ui->StabSlider->value(), 2);
    QVERIFY2(w->phaseMargin > 55, qPrintable(QString::number(w->phaseMargin)));
    QVERIFY(w->designModified);
    QVERIFY(w->CompOption >= 0 && w->CompOption < 3);
    // The page shows the winner, and the model agrees with what the search kept.
    stab::BodeInput in;
    in.values = w->stabCircuitValues();
    in.compOption = w->CompOption;
    const stab::BodeResult r = stab::capacitiveLoadBode(in, w->findLinear("LX27"));
    QCOMPARE(w->phaseMargin, r.phaseMargin);
    QCOMPARE(ui->PhaseMargin->text(), w->number2String(r.phaseMargin) + QString::fromUtf8("°"));
    QCOMPARE(ui->GainPlot->graph(0)->name(), QStringLiteral("Open Loop Gain w/ C_LOAD"));
}

void TestStabWindow::autoCompensateCompositeRestoresInverting()
{
    ui->compositeCheckBox->setChecked(true);
    ui->hostSelector->setCurrentIndex(1);
    ui->hostAOL->setText("100");
    ui->hostPole1->setText("10");
    ui->hostPole2->setText("5MEG");
    ui->hostPole3->setText("20MEG");
    QVERIFY(ui->StabInv->isChecked());
    w->autoStabilize();
    QVERIFY(ui->StabInv->isChecked());
    QVERIFY(!ui->StabNon->isChecked());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(ui->GainPlot->graph(0)->name(), QStringLiteral("Composite Open Loop Gain"));
    QVERIFY(std::isfinite(w->phaseMargin));
}

void TestStabWindow::autoCompensateSaysWhenOnlyMarginal()
{
    // Inverting, 10 nF: the best the search finds closes at 40 dB/decade with 59° of margin.
    setUpCompositeExample(w.get(), ui, true, QStringLiteral("10n"), QStringLiteral("open"));
    QCOMPARE(ui->Stability->text(), QStringLiteral("UNSTABLE"));
    w->autoStabilize();
    QCOMPARE(ui->Stability->text(), QStringLiteral("MARGINALLY STABLE"));
    QCOMPARE(ui->RateClosure->text(), QStringLiteral("40 dB/dec"));
    QVERIFY(w->compCfb != QStringLiteral("open"));
    QVERIFY(ui->StabInv->isChecked());
    QVERIFY(ui->StabilityDetails->toPlainText().endsWith(
        "Auto - Compensate found no better compensation than a MARGINALLY STABLE one."));
}

void TestStabWindow::calculatorDefaults()
{
    QCOMPARE(ui->RCPCC1->text(), QStringLiteral("1.59 nF"));
    w->designModified = false;
    w->RCPC();
    QVERIFY(w->designModified);
    // The form's texts are exactly what the calculators make of the default inputs.
    QCOMPARE(ui->RCPCC1->text(), QStringLiteral("1.59 nF"));
    QCOMPARE(ui->RCPCF2->text(), QStringLiteral("1.59 kHz"));
    QCOMPARE(ui->RCPCR3->text(), QString::fromUtf8("1.59 kΩ"));
    QCOMPARE(ui->R_ISO_P->text(), QStringLiteral("Minimum R_ISO Power Rating: 0 W"));
}

void TestStabWindow::calculatorFieldsRecompute_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("shows");

    QTest::newRow("RCPCR1") << "RCPCR1"
                            << "1k"
                            << "RCPCC1"
                            << "15.9 nF";
    QTest::newRow("RCPCF1") << "RCPCF1"
                            << "1MEG"
                            << "RCPCC1"
                            << "15.9 pF";
    QTest::newRow("RCPCR2") << "RCPCR2"
                            << "1k"
                            << "RCPCF2"
                            << "15.9 kHz";
    QTest::newRow("RCPCC2 open") << "RCPCC2"
                                 << "open"
                                 << "RCPCF2"
                                 << "3.71 fHz";
    QTest::newRow("RCPCF3") << "RCPCF3"
                            << "100"
                            << "RCPCR3" << QString::fromUtf8("159 kΩ");
    QTest::newRow("RCPCC3") << "RCPCC3"
                            << "1u"
                            << "RCPCR3" << QString::fromUtf8("15.9 Ω");
    QTest::newRow("R_ISO_R") << "R_ISO_R"
                             << "0.5"
                             << "R_ISO_P"
                             << "Minimum R_ISO Power Rating: 0.5 W";
    QTest::newRow("R_ISO_I") << "R_ISO_I"
                             << "3"
                             << "R_ISO_P"
                             << "Minimum R_ISO Power Rating: 0 W";
}

void TestStabWindow::calculatorFieldsRecompute()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, label);
    QFETCH(QString, shows);
    auto *edit = w->findChild<QLineEdit *>(field);
    auto *result = w->findChild<QLabel *>(label);
    QVERIFY(edit && result);
    w->designModified = false;
    edit->setText(text);
    emit edit->editingFinished();
    QCOMPARE(result->text(), shows);
    QVERIFY(w->designModified);

    // R_ISO 2 Ω at 2.5 A, and an unreadable field: red and read as 0.
    ui->R_ISO_R->setText("2");
    ui->R_ISO_I->setText("2.5");
    emit ui->R_ISO_I->editingFinished();
    QCOMPARE(ui->R_ISO_P->text(), QStringLiteral("Minimum R_ISO Power Rating: 12.5 W"));
    ui->R_ISO_I->setText("x1");
    emit ui->R_ISO_I->editingFinished();
    QVERIFY(isRed(ui->R_ISO_I));
    QCOMPARE(ui->R_ISO_P->text(), QString::fromUtf8("Minimum R_ISO Power Rating: \u2014"));
}

void TestStabWindow::calculatorsWithoutResult_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("shows");
    QTest::addColumn<bool>("fieldRed");

    const QString none = QString::fromUtf8("\u2014");
    QTest::newRow("R 0") << "RCPCR1"
                         << "0"
                         << "RCPCC1" << none << true;
    QTest::newRow("f short") << "RCPCF1"
                             << "short"
                             << "RCPCC1" << none << true;
    QTest::newRow("R empty") << "RCPCR2"
                             << ""
                             << "RCPCF2" << none << true;
    QTest::newRow("C short") << "RCPCC2"
                             << "short"
                             << "RCPCF2" << none << true;
    QTest::newRow("f abc") << "RCPCF3"
                           << "abc"
                           << "RCPCR3" << none << true;
    QTest::newRow("C negative") << "RCPCC3"
                                << "-1n"
                                << "RCPCR3" << none << true;
    QTest::newRow("f next to 0") << "RCPCF1"
                                 << "1e-308"
                                 << "RCPCC1" << none << false;
    QTest::newRow("R_ISO huge") << "R_ISO_R"
                                << "1e308"
                                << "R_ISO_P"
                                << QString::fromUtf8("Minimum R_ISO Power Rating: \u2014") << false;
    QTest::newRow("R_ISO open") << "R_ISO_R"
                                << "open"
                                << "R_ISO_P"
                                << QString::fromUtf8("Minimum R_ISO Power Rating: \u2014") << false;
    QTest::newRow("R_ISO -10") << "R_ISO_R"
                               << "-10"
                               << "R_ISO_P"
                               << QString::fromUtf8("Minimum R_ISO Power Rating: \u2014") << true;
}

void TestStabWindow::calculatorsWithoutResult()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, label);
    QFETCH(QString, shows);
    QFETCH(bool, fieldRed);
    auto *edit = w->findChild<QLineEdit *>(field);
    auto *result = w->findChild<QLabel *>(label);
    QVERIFY(edit && result);
    ui->R_ISO_I->setText("2");
    edit->setText(text);
    emit edit->editingFinished();
    QCOMPARE(result->text(), shows);
    QVERIFY(isRed(result));
    QVERIFY(!result->toolTip().isEmpty());
    QCOMPARE(isRed(edit), fieldRed);

    // Back to the default: a figure in black, no tip.
    edit->setText(field == "R_ISO_R" ? "2" : "10k");
    emit edit->editingFinished();
    QVERIFY(!isRed(result));
    QVERIFY(!result->text().contains(QString::fromUtf8("\u2014")));
    QVERIFY(result->toolTip().isEmpty());
}

void TestStabWindow::bodeGeneratorRefreshAndSave()
{
    QCustomPlot *plot = ui->demoPlot;
    QCOMPARE(titleOf(plot), QStringLiteral("Bode Plot - Gain"));
    QCOMPARE(graphNames(plot), (QStringList{"Open Loop Gain", "Closed Loop Gain"}));
    QCOMPARE(plot->xAxis->range().upper, 1e8);
    // The default 100 MHz point lies at -40 dB: the axis takes it in.
    QCOMPARE(plot->yAxis->range().lower, -40.0);
    QCOMPARE(plot->yAxis->range().upper, 140.0);
    QCOMPARE(plot->graph(0)->pen(), QPen(QColor(0, 85, 255), 4));
    QCOMPARE(plot->graph(1)->pen(), QPen(QColor(220, 0, 0), 4));
    QCOMPARE(plot->graph(0)->dataCount(), 9);
    QCOMPARE(plot->graph(0)->data()->at(0)->value, 100.0);
    QCOMPARE(plot->graph(0)->data()->at(8)->value, -40.0);
    QCOMPARE(plot->graph(1)->data()->at(4)->value, 20.0);

    // Typing alone draws nothing; Refresh does, and twice leaves two graphs.
    ui->demoAol1k->setText("1k");
    ui->demoAcl10->setText("35");
    emit ui->demoAol1k->editingFinished();
    QCOMPARE(plot->graph(0)->data()->at(3)->value, 60.0);
    ui->refreshDemoButton->click();
    ui->refreshDemoButton->click();
    QCOMPARE(plot->graphCount(), 2);
    QCOMPARE(plot->legend->itemCount(), 2);
    QCOMPARE(plot->graph(0)->data()->at(3)->value, 0.0);
    QCOMPARE(plot->graph(1)->data()->at(1)->value, 35.0);
    QCOMPARE(plot->yAxis->range().upper, 140.0);
    // Widened in 20 dB steps to what was typed, up to 300 dB either way.
    ui->demoAcl100M->setText("-75");
    ui->demoAol1->setText("1e308");
    ui->refreshDemoButton->click();
    QCOMPARE(plot->yAxis->range().lower, -80.0);
    QCOMPARE(plot->yAxis->range().upper, 300.0);

    QFile::remove("temp.jpg");
    ui->demoSaveButton->click();
    QVERIFY(QFileInfo::exists("temp.jpg"));
    QVERIFY(QFileInfo("temp.jpg").size() > 0);
    QFile stale("temp.jpg");
    QVERIFY(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
    stale.write("x");
    stale.close();
    ui->demoSaveButton->click();
    QVERIFY(QFileInfo("temp.jpg").size() > 1); // overwritten
}

void TestStabWindow::lastDecadeLabelShows()
{
    // The plot drops an outside tick label that the widget's edge would cut: "100M" must fit.
    w->resize(1366, 720);
    w->show();
    for (int page : {4, 6}) {
        ui->Page->setCurrentIndex(page);
        QApplication::processEvents();
        const QList<QCustomPlot *> plots = page == 4
                                               ? QList<QCustomPlot *>{ui->GainPlot, ui->PhasePlot}
                                               : QList<QCustomPlot *>{ui->demoPlot};
        for (QCustomPlot *plot : plots) {
            plot->replot();
            QCOMPARE(plot->xAxis->tickVectorLabels().last(), QStringLiteral("100M"));
            const double right = plot->xAxis->coordToPixel(1e8);
            const int half =
                QFontMetrics(plot->xAxis->tickLabelFont()).horizontalAdvance("100M") / 2;
            QVERIFY2(right + half <= plot->viewport().right(), qPrintable(plot->objectName()));
        }
    }
}

void TestStabWindow::legendsClearOfCurves_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<int>("font");
    for (int font : {10, 12})
        for (const char *design : {"default", "auto-compensated", "closed loop", "composite",
                                   "composite with noise gain"})
            QTest::addRow("%s %d pt", design, font) << QString::fromLatin1(design) << font;
}

void TestStabWindow::legendsClearOfCurves()
{
    QFETCH(QString, design);
    QFETCH(int, font);
    const QFont before = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), font));
    w.reset(new MainWindow);
    ui = w->ui;
    w->resize(1366, 720);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    ui->Page->setCurrentWidget(ui->page_4);
    ui->StabilityTab->setCurrentWidget(ui->page_4_tabBode);
    ui->AmpSelectorStab->setCurrentText(QStringLiteral("LX27"));
    if (design == QLatin1String("auto-compensated")) {
        w->CLoadStab = QStringLiteral("1u");
        w->CompOption = 2;
        w->refreshStab();
        w->autoStabilize();
    } else if (design == QLatin1String("closed loop")) {
        w->phaseShiftComponents = false;
    } else if (design == QLatin1String("composite")) {
        setUpCompositeExample(w.get(), ui);
    } else if (design == QLatin1String("composite with noise gain")) {
        // Twelve entries: more than the plot is high, so the legend wraps.
        w->hostRng = QStringLiteral("1k");
        w->hostCng = QStringLiteral("10n");
        setUpCompositeExample(w.get(), ui, true);
    }
    w->refreshStab();
    QApplication::setFont(before);

    for (QCustomPlot *plot : {ui->GainPlot, ui->PhasePlot}) {
        plot->replot();
        QVERIFY(plot->legend->visible());
        QVERIFY(plot->legend->itemCount() > 0);
        const QStringList under = plotcheck::curvesUnderLegend(plot);
        QVERIFY2(under.isEmpty(), qPrintable(plot->objectName() + ": " + under.join("; ")));
        // Whole, not squeezed, inside the plot.
        QVERIFY(plot->viewport().contains(plot->legend->outerRect()));
        QVERIFY(plot->legend->outerRect().height() >=
                plot->legend->minimumOuterSizeHint().height());
    }
    // One above the other, the frequency axes end at the same pixel column.
    QCOMPARE(ui->GainPlot->axisRect()->rect().right(), ui->PhasePlot->axisRect()->rect().right());

    // Hidden legends leave their room to the axes: the width a legend beside them took, or the
    // height of one that stood above them for want of room beside.
    const QRect shown = ui->PhasePlot->axisRect()->rect();
    ui->HidePhaseLegend->setChecked(true);
    w->refreshStab();
    const QRect hidden = ui->PhasePlot->axisRect()->rect();
    QVERIFY(hidden.right() > shown.right() || hidden.height() > shown.height());
    QCOMPARE(ui->GainPlot->axisRect()->rect().right(), ui->PhasePlot->axisRect()->rect().right());
}

QTEST_MAIN(TestStabWindow)
#include "tst_stabwindow.moc"
