// The PWM control wizard in the window: stepping through its three pages, the topology
// choice, the validation of step 2, the import from the PWM power page, the schematic with
// its clickable values, the closed-loop plot and the automatic values.
#include "app/mainwindow.h"
#include "pwmcontrol/sconcomponents.h"
#include "pwmcontrol/sconloop.h"
#include "schematic/labelplacement.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "windowtest.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QtTest>
#include <qcustomplot.h>

#include <functional>
#include <memory>

namespace {

using windowtest::onNextDialog;

void answerValueDialog(const QString &text)
{
    onNextDialog([text](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("New Value"));
        QCOMPARE(dialog->labelText(), QStringLiteral("Enter as 470u, 2.2k, open, short, ..."));
        dialog->setTextValue(text);
        dialog->accept();
    });
}

QStringList plainTexts(QCustomPlot *plot)
{
    QStringList out;
    for (int i = 0; i < plot->itemCount(); ++i)
        if (auto *t = qobject_cast<QCPItemText *>(plot->item(i))) out << t->text();
    return out;
}

} // namespace

class TestSconPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsReady();
    void enteringShowsStepOneWithPictures();
    void topologyChoice();
    void stepTwoValidates();
    void partWithOneVccLocksTheField();
    void valueButtons();
    void importFromPowerPage();
    void importDigitalPartTakesFirst();
    void stepThreeDrawsAndComputes_data();
    void stepThreeDrawsAndComputes();
    void noTopologyRunsCurrent2();
    void valueClickEditsBothLabels();
    void supplyClickEditsTheField();
    void clickOnRangeLabelOnlyRecomputes();
    void hideBlocksRedraws();
    void previousSteps();
    void autoSuggestsAndWarns();
    void autoRefusesWithoutRamp();
    void loopProblemIsNoted();
    void unusableInputsGiveNoLoop_data();
    void unusableInputsGiveNoLoop();
    void impossibleFieldsTurnRed_data();
    void impossibleFieldsTurnRed();
    void autoRefusesUnusableInputs_data();
    void autoRefusesUnusableInputs();
    void valueLabelsClearTheirSymbols_data();
    void valueLabelsClearTheirSymbols();

private:
    void toStepThree(QPushButton *topology);
    void expectNoLoop();
    // Clicks the canvas where the text item stands, as a user would.
    void clickItem(QCPItemText *item);

    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestSconPage::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestSconPage::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
    w->resize(1400, 820);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
}

void TestSconPage::cleanup()
{
    windowtest::dropPendingDialogHandlers();
    w.reset();
}

void TestSconPage::toStepThree(QPushButton *topology)
{
    ui->PWMControlButton->click();
    topology->click();
    ui->NexttoStep2->click();
    ui->NexttoStep3->click();
    QCOMPARE(ui->Page->currentIndex(), 15);
    QApplication::processEvents();
}

void TestSconPage::clickItem(QCPItemText *item)
{
    QVERIFY(item);
    ui->SControlSch->replot();
    const QPoint at = item->position->pixelPosition().toPoint();
    QTest::mouseClick(ui->SControlSch, Qt::LeftButton, Qt::NoModifier, at);
}

void TestSconPage::startsReady()
{
    QCOMPARE(ui->ampSelectorSCon->currentText(), QStringLiteral("JNV300"));
    QVERIFY(ui->SConDesc->toPlainText().startsWith(QStringLiteral("Voltage 1\n")));
    QVERIFY(!w->designModified);
    // The plot is set up once: title, axes, decade labels.
    QCustomPlot *plot = ui->SConTcl;
    QCOMPARE(plot->xAxis->scaleType(), QCPAxis::stLogarithmic);
    QCOMPARE(plot->xAxis->label(), QStringLiteral("Frequency [Hz]"));
    QCOMPARE(plot->yAxis->label(), QStringLiteral("Gain [dB]"));
    auto *title = qobject_cast<QCPTextElement *>(plot->plotLayout()->element(0, 0));
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Integrator Transfer Function - Closed Loop"));
    auto ticker = plot->xAxis->ticker().dynamicCast<QCPAxisTickerText>();
    QVERIFY(ticker);
    QCOMPARE(ticker->ticks().value(1e6), QStringLiteral("1M"));
    QCOMPARE(ticker->subTickCount(), 8);
    QVERIFY(!ui->SControlSch->xAxis->visible());
    QVERIFY(!ui->SControlSch->legend->visible());
}

void TestSconPage::enteringShowsStepOneWithPictures()
{
    ui->PWMControlButton->click();
    QCOMPARE(ui->Page->currentIndex(), 13);
    QVERIFY(ui->HomeButton->isVisible());
    const QSize icon = ui->V1button->size() - QSize(20, 20);
    for (QPushButton *b : {ui->V1button, ui->V2button, ui->I1button, ui->I2button}) {
        QVERIFY(!b->icon().isNull());
        QCOMPARE(b->iconSize(), icon);
    }
    ui->HomeButton->click();
    ui->ToPWMControl->click();
    QCOMPARE(ui->Page->currentIndex(), 13);
}

void TestSconPage::topologyChoice()
{
    ui->PWMControlButton->click();
    ui->I1button->click();
    QVERIFY(ui->I1button->isChecked());
    QVERIFY(!ui->V1button->isChecked());
    QVERIFY(ui->SConDesc->toPlainText().startsWith(QStringLiteral("Current 1\n")));
    QVERIFY(
        ui->SConDesc->toPlainText().endsWith(QStringLiteral("Not Recommended for Half-Bridges.")));
    QVERIFY(w->designModified);

    // Step 2 speaks of currents now.
    ui->NexttoStep2->click();
    QCOMPARE(ui->Page->currentIndex(), 14);
    QCOMPARE(ui->SConMaxLabel->text(), QStringLiteral("I_out Max"));
    QCOMPARE(ui->SConMinUnit->text(), QStringLiteral("A"));
    // The default range of ±30 is far beyond the part's 10 A.
    QVERIFY(ui->SConNotes->toPlainText().contains(QStringLiteral("!!! Iout exceeds ABS MAX !!!")));
}

void TestSconPage::stepTwoValidates()
{
    // The wizard's bridge is the power page's, whose start-up part (NV22) is a half bridge.
    ui->ampSelectorPower->setCurrentText(QStringLiteral("JNV300"));
    w->refreshPower();
    ui->FBPower->setChecked(true);
    ui->PWMControlButton->click();
    ui->NexttoStep2->click();
    QCOMPARE(ui->SConNotes->toPlainText(), QStringLiteral("Notes:"));
    QCOMPARE(ui->SConMaxLabel->text(), QStringLiteral("V_out Max"));

    w->designModified = false;
    ui->SConVs->setText(QStringLiteral("500"));
    emit ui->SConVs->editingFinished();
    QVERIFY(w->designModified);
    QCOMPARE(ui->SConNotes->toPlainText(), QStringLiteral("Notes:\n!!! Vs exceeds ABS MAX !!!"));
    QVERIFY(ui->SConNotes->toHtml().contains(QStringLiteral("#ff0000")));

    ui->SConVs->setText(QStringLiteral("72"));
    ui->SConFreq->setText(QStringLiteral("1k"));
    emit ui->SConFreq->editingFinished();
    QVERIFY(ui->SConNotes->toPlainText().contains(QStringLiteral("at least 50 times")));

    // An unreadable field turns red and the notes name it.
    ui->SConFreq->setText(QStringLiteral("100"));
    ui->SConVoutMin->setText(QStringLiteral("abc"));
    emit ui->SConVoutMin->editingFinished();
    QCOMPARE(ui->SConVoutMin->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(ui->SConNotes->toPlainText(),
             QStringLiteral("Notes:\n!!! V_out Min cannot be read !!!"));
}

void TestSconPage::partWithOneVccLocksTheField()
{
    ui->PWMControlButton->click();
    ui->NexttoStep2->click();
    const int nv21 = ui->ampSelectorSCon->findText(QStringLiteral("NV21"));
    QVERIFY(nv21 >= 0);
    ui->ampSelectorSCon->setCurrentIndex(nv21);
    emit ui->ampSelectorSCon->activated(nv21);
    QCOMPARE(ui->SConVcc->text(), QStringLiteral("7.5"));
    QVERIFY(!ui->SConVcc->isEnabled());
    QCOMPARE(ui->SConVcc->palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::gray));
    QVERIFY(!ui->SConNotes->toPlainText().contains(QStringLiteral("Vcc")));

    // Back to a part with a range: the field opens again and keeps what was written.
    const int jnv = ui->ampSelectorSCon->findText(QStringLiteral("JNV300"));
    ui->ampSelectorSCon->setCurrentIndex(jnv);
    emit ui->ampSelectorSCon->activated(jnv);
    QVERIFY(ui->SConVcc->isEnabled());
    QCOMPARE(ui->SConVcc->text(), QStringLiteral("7.5"));
    QCOMPARE(ui->SConVcc->palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY(ui->SConNotes->toPlainText().contains(QStringLiteral("!!! Vcc too low !!!")));
}

void TestSconPage::valueButtons()
{
    // The wizard's bridge is the power page's, whose start-up part (NV22) is a half bridge.
    ui->ampSelectorPower->setCurrentText(QStringLiteral("JNV300"));
    w->refreshPower();
    ui->FBPower->setChecked(true);
    ui->PWMControlButton->click();
    ui->NexttoStep2->click();
    ui->SConMaxVs->click();
    QCOMPARE(ui->SConVs->text(), QStringLiteral("400"));
    ui->SConTypVcc->click();
    QCOMPARE(ui->SConVcc->text(), QStringLiteral("12"));
    ui->SConMaxFsw->click();
    QCOMPARE(ui->SConFsw->text(), QStringLiteral("50k"));
    // 400 V is above the output range's 30 V: nothing to say.
    QCOMPARE(ui->SConNotes->toPlainText(), QStringLiteral("Notes:"));
}

void TestSconPage::importFromPowerPage()
{
    ui->FsigPWM->setText(QStringLiteral("250"));
    ui->VsPWM->setText(QStringLiteral("48"));
    ui->PWMOut->setText(QStringLiteral("60"));
    ui->PWMOutMin->setText(QStringLiteral("-40"));
    ui->FsPWM->setText(QStringLiteral("30k"));
    ui->ampSelectorPower->setCurrentText(QStringLiteral("NV314"));
    QCOMPARE(ui->ampSelectorPower->currentText(), QStringLiteral("NV314"));
    ui->PWMControlButton->click();
    ui->NexttoStep2->click();
    ui->ImportFromPWMPower->click();
    QCOMPARE(ui->SConFreq->text(), QStringLiteral("250"));
    QCOMPARE(ui->SConVs->text(), QStringLiteral("48"));
    QCOMPARE(ui->SConVoutMax->text(), QStringLiteral("60"));
    QCOMPARE(ui->SConVoutMin->text(), QStringLiteral("-40"));
    QCOMPARE(ui->SConFsw->text(), QStringLiteral("30k"));
    QCOMPARE(ui->ampSelectorSCon->currentText(), QStringLiteral("NV314"));
    // The imported output range is beyond the imported supply: the validation ran.
    QVERIFY(
        ui->SConNotes->toPlainText().contains(QStringLiteral("!!! Vout must not exceed Vs !!!")));
}

void TestSconPage::importDigitalPartTakesFirst()
{
    ui->ampSelectorPower->setCurrentText(QStringLiteral("NV25"));
    QCOMPARE(ui->ampSelectorPower->currentText(), QStringLiteral("NV25"));
    ui->ImportFromPWMPower->click();
    QCOMPARE(ui->ampSelectorSCon->currentIndex(), 0);
}

void TestSconPage::stepThreeDrawsAndComputes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("valueLabels");
    QTest::addColumn<QList<int>>("ranges");
    QTest::newRow("Voltage 1, full bridge") << "V1button" << true << 20 << QList<int>{0, 1, 2, 6};
    QTest::newRow("Voltage 1, half bridge") << "V1button" << false << 15 << QList<int>{0, 1, 2, 6};
    QTest::newRow("Voltage 2, full bridge") << "V2button" << true << 21 << QList<int>{0, 1, 3, 6};
    QTest::newRow("Voltage 2, half bridge") << "V2button" << false << 12 << QList<int>{0, 1, 6};
    QTest::newRow("Current 1") << "I1button" << false << 24 << QList<int>{0, 1, 2, 4, 5, 6};
    QTest::newRow("Current 2") << "I2button" << true << 21 << QList<int>{0, 1, 2, 5, 6};
}

void TestSconPage::stepThreeDrawsAndComputes()
{
    QFETCH(QString, button);
    QFETCH(bool, full);
    QFETCH(int, valueLabels);
    QFETCH(QList<int>, ranges);
    ui->FBPower->setChecked(full);
    ui->HBPower->setChecked(!full);
    w->designModified = false;
    toStepThree(w->findChild<QPushButton *>(button));
    QVERIFY(w->designModified);

    int labels = 0;
    for (auto &pair : w->sconLabels)
        labels += (pair[0] ? 1 : 0) + (pair[1] ? 1 : 0);
    QCOMPARE(labels, valueLabels);
    QList<int> shown;
    for (int i = 0; i < 7; ++i)
        if (w->sconRangeLabels[i]) {
            shown << i;
            // The loop calculation wrote the text after the drawing placed the label.
            QCOMPARE(w->sconRangeLabels[i]->text(), w->sconRanges[i]);
            QVERIFY(w->sconRanges[i].startsWith(scon::rangeHeading(i)));
        }
    QCOMPARE(shown, ranges);
    QVERIFY(w->sconVsLabel);
    QCOMPARE(w->sconVsLabel->text(), QStringLiteral("72 V"));
    QVERIFY(w->sconVccLabel);
    QCOMPARE(w->sconLabels[scon::Cint][0]->text(), QStringLiteral("4.7 nF"));
    QCOMPARE(w->sconLabels[scon::Rnf][0]->text(), QStringLiteral("0"));
    QVERIFY(plainTexts(ui->SControlSch).contains(QStringLiteral("JNV300")));

    QCustomPlot *plot = ui->SConTcl;
    QCOMPARE(plot->graphCount(), 1);
    QCOMPARE(plot->graph(0)->dataCount(), 400);
    QCOMPARE(plot->graph(0)->pen(), QPen(QColor(0, 0, 255), 3));
    QCOMPARE(plot->xAxis->range(), QCPRange(1, 1e6));
    QVERIFY(ui->SConPeaking->text().endsWith(QStringLiteral(" dB")));
    QVERIFY(ui->SConPhase->text().endsWith(QString(QChar(0x00B0))));
    QVERIFY(ui->SConFreqPeak->text().endsWith(QStringLiteral("Hz")));
}

void TestSconPage::noTopologyRunsCurrent2()
{
    for (QPushButton *b : {ui->V1button, ui->V2button, ui->I1button, ui->I2button}) {
        b->setAutoExclusive(false);
        b->setChecked(false);
    }
    w->sconRanges[scon::LoadCurrent].clear();
    w->refreshSCon();
    QVERIFY(w->sconRanges[scon::LoadCurrent].startsWith(QStringLiteral("I through Load:\n")));
    QVERIFY(w->sconRanges[scon::PwmOutCurrent] ==
            QLatin1String("PWM Output Current (w/o ripple):"));
}

void TestSconPage::valueClickEditsBothLabels()
{
    ui->FBPower->setChecked(true);
    toStepThree(ui->V1button);
    QCPItemText *first = w->sconLabels[scon::Rdf][0];
    QCPItemText *second = w->sconLabels[scon::Rdf][1];
    QVERIFY(first && second);
    w->designModified = false;
    answerValueDialog(QStringLiteral("2.2k"));
    clickItem(second);
    QCOMPARE(w->SConRdf, QStringLiteral("2.2k"));
    QCOMPARE(first->text(), QStringLiteral("2.2 k") + QChar(0x03A9));
    QCOMPARE(second->text(), first->text());
    QVERIFY(w->designModified);
}

void TestSconPage::supplyClickEditsTheField()
{
    toStepThree(ui->V2button);
    answerValueDialog(QStringLiteral("450"));
    clickItem(w->sconVsLabel);
    QCOMPARE(ui->SConVs->text(), QStringLiteral("450"));
    QVERIFY(w->SConRin == QLatin1String("10k"));
    // The refresh validated the new supply against the part.
    QVERIFY(ui->SConNotes->toPlainText().contains(QStringLiteral("!!! Vs exceeds ABS MAX !!!")));
}

void TestSconPage::clickOnRangeLabelOnlyRecomputes()
{
    toStepThree(ui->V1button);
    const scon::ValueStrings before = w->sconValues();
    w->designModified = false;
    bool dialogShown = false;
    onNextDialog([&dialogShown](QWidget *d) {
        dialogShown = true;
        d->close();
    });
    clickItem(w->sconRangeLabels[scon::PwmOut]);
    QTest::qWait(50);
    QVERIFY(!dialogShown);
    QVERIFY(w->designModified);
    for (int i = 0; i < scon::ValueCount; ++i)
        QCOMPARE(w->sconValues()[i], before[i]);
}

void TestSconPage::hideBlocksRedraws()
{
    toStepThree(ui->I2button);
    QVERIFY(plainTexts(ui->SControlSch).contains(QStringLiteral("INTEGRATOR")));
    w->designModified = false;
    ui->SConHideBlocks->click();
    QVERIFY(w->designModified);
    QVERIFY(!plainTexts(ui->SControlSch).contains(QStringLiteral("INTEGRATOR")));
    QVERIFY(plainTexts(ui->SControlSch).contains(QStringLiteral("FILTER")));
}

void TestSconPage::previousSteps()
{
    toStepThree(ui->V1button);
    ui->SConNotes->setPlainText(QStringLiteral("kept"));
    ui->PrevtoStep2->click();
    QCOMPARE(ui->Page->currentIndex(), 14);
    QCOMPARE(ui->SConNotes->toPlainText(), QStringLiteral("kept"));
    ui->V1button->setIcon(QIcon());
    ui->PrevtoStep1->click();
    QCOMPARE(ui->Page->currentIndex(), 13);
    QVERIFY(!ui->V1button->icon().isNull());
}

void TestSconPage::autoSuggestsAndWarns()
{
    toStepThree(ui->V1button);
    ui->SConFreq->setText(QStringLiteral("1k"));
    QString warning;
    onNextDialog([&warning](QWidget *d) {
        auto *box = qobject_cast<QMessageBox *>(d);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Warning"));
        warning = box->text();
        box->accept();
    });
    w->designModified = false;
    ui->SConAutoButton->click();
    QCOMPARE(warning, QStringLiteral("Switching Frequency is less than 50 times Signal "
                                     "Frequency. Incorrect values may result."));
    QVERIFY(w->designModified);
    QCOMPARE(w->SConRint, QStringLiteral("0"));
    QCOMPARE(w->SConRin, QStringLiteral("10k")); // kept
    QVERIFY(w->SConCint != QLatin1String("4.7n"));
    QCOMPARE(w->SConVref, QStringLiteral("7.5 ")); // the ramp's middle at Vcc 15
    // The schematic shows the new values.
    QCOMPARE(w->sconLabels[scon::Rint][0]->text(), QStringLiteral("0"));

    // Exactly 50 times: no warning.
    ui->SConFreq->setText(QStringLiteral("400"));
    bool shown = false;
    onNextDialog([&shown](QWidget *d) {
        shown = true;
        d->close();
    });
    ui->I2button->setChecked(true);
    ui->SConAutoButton->click();
    QTest::qWait(50);
    QVERIFY(!shown);
    QVERIFY(w->SConRv != QLatin1String("open"));
    QVERIFY(w->SConCv != QLatin1String("open"));
}

void TestSconPage::autoRefusesWithoutRamp()
{
    toStepThree(ui->V1button);
    ui->SConVcc->setText(QStringLiteral("0"));
    QString warning;
    onNextDialog([&warning](QWidget *d) {
        auto *box = qobject_cast<QMessageBox *>(d);
        QVERIFY(box);
        warning = box->text();
        box->accept();
    });
    ui->SConAutoButton->click();
    QCOMPARE(warning, QStringLiteral("Vcc must be above 0: no values were suggested."));
    QCOMPARE(w->SConCint, QStringLiteral("4.7n"));
}

void TestSconPage::loopProblemIsNoted()
{
    toStepThree(ui->V1button);
    QVERIFY(w->sconRangeLabels[scon::PwmOut]->text().contains(QStringLiteral(" to ")));
    w->SConRin = QStringLiteral("short");
    w->refreshSCon();
    QVERIFY(ui->SConNotes->toPlainText().endsWith(
        QStringLiteral("!!! Rin cannot be 0: the loop was not calculated !!!")));
    QCOMPARE(ui->SConTcl->graphCount(), 0);
    expectNoLoop();
}

void TestSconPage::expectNoLoop()
{
    // No peaking, phase or range of an earlier circuit stays on screen.
    for (QLabel *label : {ui->SConPeaking, ui->SConPhase, ui->SConFreqPeak}) {
        QCOMPARE(label->text(), eng::noResultText());
        QVERIFY(label->styleSheet().contains(QLatin1String("red")));
    }
    QCOMPARE(ui->SConTcl->graphCount(), 0);
    for (int i = 0; i < scon::RangeCount; ++i) {
        QCOMPARE(w->sconRanges[i], scon::rangeHeading(i) + eng::noResultText());
        if (w->sconRangeLabels[i]) {
            QCOMPARE(w->sconRangeLabels[i]->text(), w->sconRanges[i]);
            QCOMPARE(w->sconRangeLabels[i]->color(), QColor(255, 0, 0));
        }
    }
}

void TestSconPage::unusableInputsGiveNoLoop_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("note"); // empty: the loop is calculated
    QTest::newRow("Voltage 2, Cint 0: an integrator without capacitor still closes the loop")
        << "V2button"
        << "SConCint"
        << "0" << QString();
    QTest::newRow("Voltage 2, Cint open") << "V2button"
                                          << "SConCint"
                                          << "open" << QString();
    QTest::newRow("Vs far beyond the part")
        << "V2button"
        << "SConVs"
        << "1e300"
        << "!!! Vs exceeds the part's rating and the loop gain is not finite: the loop was not "
           "calculated !!!";
    QTest::newRow("Vs unreadable") << "V1button"
                                   << "SConVs"
                                   << "abc"
                                   << "!!! Vs cannot be read: the loop was not calculated !!!";
    QTest::newRow("Vs empty") << "I1button"
                              << "SConVs"
                              << ""
                              << "!!! Vs must be above 0: the loop was not calculated !!!";
    QTest::newRow("negative signal frequency")
        << "I2button"
        << "SConFreq"
        << "-1k"
        << "!!! F_signal cannot be negative: the loop was not calculated !!!";
    QTest::newRow("negative resistor") << "V1button"
                                       << "SConRbias"
                                       << "-10k"
                                       << "!!! Rbias cannot be negative: the loop was not "
                                          "calculated !!!";
    QTest::newRow("input range beyond any number")
        << "V1button"
        << "SConVinMax"
        << "1e308"
        << "!!! V_in Max and V_in Min are too large: the operating ranges were not calculated "
           "!!!";
}

void TestSconPage::unusableInputsGiveNoLoop()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, note);
    toStepThree(w->findChild<QPushButton *>(button));
    if (auto *edit = w->findChild<QLineEdit *>(field)) {
        edit->setText(typed);
        if (field == QLatin1String("SConVinMin") || field == QLatin1String("SConVinMax"))
            ui->SConVinMin->setText(QStringLiteral("-1e308"));
    } else {
        for (int v = 0; v < scon::ValueCount; ++v)
            if (scon::valueKey(v) == field) *w->sconValue(v) = typed;
    }
    w->refreshSCon();
    const QString notes = ui->SConNotes->toPlainText();
    for (const QString &line : notes.split(QLatin1Char('\n')))
        QVERIFY2(!line.contains(QLatin1String("nan")) && !line.contains(QLatin1String("inf")),
                 qPrintable(line));
    if (note.isEmpty()) {
        QCOMPARE(ui->SConTcl->graphCount(), 1);
        bool ok = false;
        ui->SConPeaking->text().chopped(3).toDouble(&ok);
        QVERIFY2(ok, qPrintable(ui->SConPeaking->text()));
        ui->SConPhase->text().chopped(1).toDouble(&ok);
        QVERIFY2(ok, qPrintable(ui->SConPhase->text()));
        for (const auto &label : w->sconRangeLabels)
            if (label) QVERIFY2(!label->text().contains(eng::noResultText()), qPrintable(label->text()));
        return;
    }
    QVERIFY2(notes.endsWith(note), qPrintable(notes));
    if (note.contains(QLatin1String("operating ranges"))) {
        // The loop itself was calculated; only the ranges have no figure.
        QCOMPARE(ui->SConTcl->graphCount(), 1);
        QCOMPARE(w->sconRangeLabels[scon::IntegratorOut]->text(),
                 scon::noRangeText(scon::IntegratorOut));
        return;
    }
    expectNoLoop();
}

void TestSconPage::impossibleFieldsTurnRed_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("note");
    QTest::newRow("Vs 0") << "SConVs" << "0" << "!!! Vs must be above 0 !!!";
    QTest::newRow("Vcc negative") << "SConVcc" << "-1" << "!!! Vcc must be above 0 !!!";
    QTest::newRow("F_switch unreadable") << "SConFsw" << "abc" << "!!! F_switch cannot be read !!!";
    QTest::newRow("F_signal negative") << "SConFreq" << "-100"
                                       << "!!! F_signal cannot be negative !!!";
    QTest::newRow("output range unreadable") << "SConVoutMax" << "-"
                                             << "!!! V_out Max cannot be read !!!";
}

void TestSconPage::impossibleFieldsTurnRed()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, note);
    ui->PWMControlButton->click();
    ui->V1button->click();
    ui->NexttoStep2->click();
    auto *edit = w->findChild<QLineEdit *>(field);
    QVERIFY(edit);
    edit->setText(typed);
    emit edit->editingFinished();
    QVERIFY(ui->SConNotes->toPlainText().split(QLatin1Char('\n')).contains(note));
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));
    // A usable value clears both.
    edit->setText(QStringLiteral("1"));
    emit edit->editingFinished();
    QVERIFY(!ui->SConNotes->toPlainText().contains(note));
    QVERIFY(edit->palette().color(QPalette::Text) != QColor(Qt::red));
}

void TestSconPage::autoRefusesUnusableInputs_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("Vs empty") << "SConVs"
                              << ""
                              << "Vs must be above 0: no values were suggested.";
    QTest::newRow("Vs 0") << "SConVs"
                          << "0"
                          << "Vs must be above 0: no values were suggested.";
    QTest::newRow("Vs unreadable") << "SConVs"
                                   << "abc"
                                   << "Vs cannot be read: no values were suggested.";
    QTest::newRow("Vcc far beyond the part")
        << "SConVcc"
        << "1e300"
        << "Vcc exceeds the part's rating and gives no usable component values: no values "
           "were suggested.";
    QTest::newRow("Fsw far beyond the part")
        << "SConFsw"
        << "1e300"
        << "F_switch exceeds the part's rating and gives no usable component values: no "
           "values were suggested.";
}

void TestSconPage::autoRefusesUnusableInputs()
{
    // Current 2: a suggestion writes nothing unless every value it writes is a number.
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    toStepThree(ui->I2button);
    w->findChild<QLineEdit *>(field)->setText(typed);
    const scon::ValueStrings before = w->sconValues();
    QStringList messages;
    auto watch = windowtest::watchNextDialog([&messages](QDialog *d) {
        if (auto *box = qobject_cast<QMessageBox *>(d)) messages << box->text();
        d->reject();
    });
    ui->SConAutoButton->click();
    QCOMPARE(messages, QStringList{message});
    for (int i = 0; i < scon::ValueCount; ++i)
        QCOMPARE(w->sconValues()[i], before[i]);
}

void TestSconPage::valueLabelsClearTheirSymbols_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("points");
    for (int pt : {10, 12}) {
        const struct
        {
            const char *name, *button;
            bool full;
        } rows[] = {{"Voltage 1, full bridge", "V1button", true},
                    {"Voltage 1, half bridge", "V1button", false},
                    {"Voltage 2, full bridge", "V2button", true},
                    {"Voltage 2, half bridge", "V2button", false},
                    {"Current 1", "I1button", true},
                    {"Current 2", "I2button", true}};
        for (const auto &r : rows)
            QTest::addRow("%s, %d pt", r.name, pt) << r.button << r.full << pt;
    }
}

void TestSconPage::valueLabelsClearTheirSymbols()
{
    // No part or wire of the drawing runs through a value label or touches it (the dotted
    // block outlines are regions, not parts).
    QFETCH(QString, button);
    QFETCH(bool, full);
    QFETCH(int, points);
    const QFont oldFont = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    auto restoreFont = qScopeGuard([&oldFont] { QApplication::setFont(oldFont); });
    w.reset(new MainWindow);
    ui = w->ui;
    w->resize(1366, 720);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    ui->FBPower->setChecked(full);
    ui->HBPower->setChecked(!full);
    toStepThree(w->findChild<QPushButton *>(button));
    QCustomPlot *sch = ui->SControlSch;
    sch->replot();
    QStringList touching;
    for (int v = 0; v < scon::ValueCount; ++v) {
        for (int copy = 0; copy < 2; ++copy) {
            QCPItemText *label = w->sconLabels[v][copy];
            if (!label) continue;
            // The glyphs: a label's padding only holds it off its anchor.
            const QRectF box = schem::glyphBox(label).adjusted(-1, -1, 1, 1);
            bool hit = false;
            for (int g = 0; g < sch->graphCount() && !hit; ++g) {
                if (sch->graph(g)->pen().style() != Qt::SolidLine) continue;
                const auto data = sch->graph(g)->data();
                QPointF previous;
                bool first = true;
                for (auto it = data->constBegin(); it != data->constEnd() && !hit; ++it) {
                    const QPointF p(sch->xAxis->coordToPixel(it->key),
                                    sch->yAxis->coordToPixel(it->value));
                    if (!first) {
                        const double steps = std::max(1.0, QLineF(previous, p).length());
                        for (int k = 0; k <= int(steps) && !hit; ++k)
                            hit = box.contains(previous + (p - previous) * (k / steps));
                    }
                    previous = p;
                    first = false;
                }
            }
            if (hit)
                touching << QStringLiteral("%1 %2 \"%3\"")
                                .arg(scon::valueKey(v))
                                .arg(copy + 1)
                                .arg(label->text());
        }
    }
    QVERIFY2(touching.isEmpty(), qPrintable(touching.join(QStringLiteral(", "))));
}

QTEST_MAIN(TestSconPage)
#include "tst_sconpage.moc"
