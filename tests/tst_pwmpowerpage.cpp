// The PWM power page in the window: set-up, the refresh and its plots for every quantity,
// the part's limits, the schematic of the whole network in its variants, clicks on its values
// with the dialogs' answers injected, and the parasitics and matching-network buttons.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QtTest>
#include <qcustomplot.h>

#include <functional>
#include <memory>

namespace {

QtMessageHandler previousHandler = nullptr;

void failOnUnboundSlots(QtMsgType type, const QMessageLogContext &context, const QString &msg)
{
    if (msg.contains(QLatin1String("No matching signal"))) QFAIL(qPrintable(msg));
    if (previousHandler) previousHandler(type, context, msg);
}

const QString kOhm = QString(QChar(0x03A9));

QStringList graphNames(QCustomPlot *plot)
{
    QStringList names;
    for (int i = 0; i < plot->graphCount(); ++i)
        names << plot->graph(i)->name();
    return names;
}

QCPItemText *textItem(QCustomPlot *plot, const QString &text)
{
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto *t = qobject_cast<QCPItemText *>(plot->item(i));
        if (t && t->text() == text) return t;
    }
    return nullptr;
}

// Runs `act` on the next modal dialog as soon as it is shown. The watch belongs to the test
// function: one whose dialog never came must not answer the next test's dialog.
QObject *dialogWatches = nullptr;

void onNextDialog(std::function<void(QDialog *)> act)
{
    auto *timer = new QTimer(dialogWatches);
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

void clickItem(QCustomPlot *plot, QCPItemText *item)
{
    plot->replot();
    const QPointF centre =
        (item->topLeft->pixelPosition() + item->bottomRight->pixelPosition()) / 2;
    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

} // namespace

class TestPwmPowerPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void setUp();
    void quantities_data();
    void quantities();
    void halfBridgePart();
    void limitsAndFixedFrequency();
    void outputKindAndChannels();
    void thermalFieldsOnlyDetails();
    void schematicVariants();
    void extendedLoadButton();
    void clickLoadValue();
    void clickInductor();
    void clickCapacitorCancelled();
    void clickStaticText();
    void parasiticsButtons();
    void autoMatchingNetwork();
    void useMaximumButtons();

private:
    void fourthOrderDesign();
    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestPwmPowerPage::initTestCase()
{
    previousHandler = qInstallMessageHandler(failOnUnboundSlots);
}

void TestPwmPowerPage::init()
{
    dialogWatches = new QObject;
    w.reset(new MainWindow);
    ui = w->ui;
    w->resize(1400, 820);
    w->show();
    ui->Page->setCurrentIndex(9);
    ui->PowerTabs->setCurrentIndex(0);
}

void TestPwmPowerPage::cleanup()
{
    delete dialogWatches;
    dialogWatches = nullptr;
    w.reset();
}

// The filter page's fourth-order split-inductor design for a full bridge, 1 mH load.
void TestPwmPowerPage::fourthOrderDesign()
{
    ui->ampSelectorFilter->setCurrentText("NV24");
    ui->FBbutton->setChecked(true);
    ui->SIbutton->setChecked(true);
    ui->filterOrderActual->setValue(4);
    ui->filterLload->setText("1");
    ui->loadFilterToPower->click();
}

void TestPwmPowerPage::setUp()
{
    QCOMPARE(ui->yVariable->count(), 8);
    QCOMPARE(ui->yVariable->itemText(0), QStringLiteral("Impedance"));
    QCOMPARE(ui->yVariable->itemText(7), QStringLiteral("Attenuation (%)"));
    QCOMPARE(ui->yVariable->currentIndex(), 6);
    QCOMPARE(ui->SigTypePWM->count(), 2);
    QCOMPARE(ui->SigTypePWM->itemText(1), QStringLiteral("Max I_out = "));
    QCOMPARE(ui->ExtendedLoad->text(), QStringLiteral("Extended Load"));
    QCOMPARE(ui->ampSelectorPower->currentText(), QStringLiteral("NV22"));
    QCOMPARE(graphNames(ui->FilterFreq), (QStringList{"Filter Attenuation", "Signal Frequency"}));
    QCOMPARE(ui->FilterFreq->xAxis->scaleType(), QCPAxis::stLogarithmic);
    QVERIFY(textItem(ui->FullFilter, "NV22"));
    QVERIFY(textItem(ui->FullFilter, "LOAD"));
    // The half-bridge part leaves a single-ended filter, and the schematic shows that one.
    QVERIFY(ui->SEpower->isChecked());
    QVERIFY(!textItem(ui->FullFilter, "* Identical Inductor as Above"));
    QVERIFY(ui->PowerNotes->toPlainText().startsWith(QLatin1String("Notes:")));
    QVERIFY(!w->designModified);
}

void TestPwmPowerPage::quantities_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("graphs");
    QTest::addColumn<QString>("yLabel");
    QTest::addColumn<bool>("legendBottomLeft");
    QTest::newRow("impedance") << 0 << QStringList{"Load and Filter", "Load Only"}
                               << QString("Impedance [" + kOhm + "]") << false;
    QTest::newRow("current") << 1 << QStringList{"Out of Amplifier", "Into Load"}
                             << "Current [A rms]" << false;
    QTest::newRow("voltage") << 2 << QStringList{"At Amplifier Output", "At Load"}
                             << "Voltage [V rms]" << false;
    QTest::newRow("phase") << 3 << QStringList{"Load and Filter", "Load Only"}
                           << QString::fromUtf8("V-I Phase Shift [°]") << false;
    QTest::newRow("power")
        << 4
        << QStringList{"True Power Loss in Filter", "Apparent Power in Load", "True Power in Load",
                       "True Power in R_MATCH",
                       QString::fromUtf8("Internal Amplifier Power\n(Assuming 25°C junctions)")}
        << "Power [W (or VA) rms]" << false;
    QTest::newRow("efficiency") << 5
                                << QStringList{"Apparent Load Power \nover Total True Power",
                                               "True Load Power \nover Total True Power"}
                                << "Overall Efficency [%]" << true;
    QTest::newRow("attenuation dB")
        << 6 << QStringList{"Filter Attenuation"} << "Filter Attenuation [dB]" << true;
    QTest::newRow("attenuation %")
        << 7 << QStringList{"Filter Attenuation"} << "Filter Attenuation [%]" << true;
}

void TestPwmPowerPage::quantities()
{
    QFETCH(int, index);
    QFETCH(QStringList, graphs);
    QFETCH(QString, yLabel);
    QFETCH(bool, legendBottomLeft);
    fourthOrderDesign();
    ui->yVariable->setCurrentIndex(index);
    emit ui->yVariable->activated(index);

    QCustomPlot *plot = ui->FilterFreq;
    QCOMPARE(graphNames(plot), graphs << "Signal Frequency");
    QCOMPARE(plot->yAxis->label(), yLabel);
    QCOMPARE(plot->xAxis->label(), QStringLiteral("Frequency [Hz]"));
    const Qt::Alignment corner = plot->axisRect()->insetLayout()->insetAlignment(0);
    QCOMPARE(corner,
             legendBottomLeft ? Qt::AlignBottom | Qt::AlignLeft : Qt::AlignTop | Qt::AlignRight);
    for (int g = 0; g < plot->graphCount() - 1; ++g) {
        QCOMPARE(plot->graph(g)->pen().width(), 3);
        for (auto it = plot->graph(g)->data()->begin(); it != plot->graph(g)->data()->end(); ++it)
            QVERIFY2(std::isfinite(it->value), qPrintable(plot->graph(g)->name()));
    }
    // The marker stands at the signal frequency over the whole y range.
    QCPGraph *marker = plot->graph(plot->graphCount() - 1);
    QCOMPARE(marker->data()->at(0)->key, 2000.0);
    QCOMPARE(marker->data()->at(0)->value, plot->yAxis->range().lower);
    QCOMPARE(marker->data()->at(1)->value, plot->yAxis->range().upper);

    const QCPRange y = plot->yAxis->range();
    switch (index) {
    case 0:
        QCOMPARE(y.lower, 0.0);
        QVERIFY(y.upper <= 100);
        break;
    case 3:
        QCOMPARE(y, QCPRange(-90, 90));
        break;
    case 4:
        QCOMPARE(y.lower, 0.0);
        break;
    case 5:
        QCOMPARE(y, QCPRange(0, 100));
        break;
    default:
        break;
    }
    if (index >= 6) {
        QCOMPARE(plot->xAxis->scaleType(), QCPAxis::stLogarithmic);
        QCOMPARE(plot->xAxis->range().lower, 1.0);
        QVERIFY(std::abs(plot->xAxis->range().upper / 4e6 - 1) < 1e-12); // Fsig squared
    } else {
        QCOMPARE(plot->xAxis->scaleType(), QCPAxis::stLinear);
        QCOMPARE(plot->xAxis->range(), QCPRange(0, 6000)); // 3 Fsig
    }
    QCOMPARE(ui->Fhotspot->text(), QStringLiteral("59.9 Hz"));
}

// NV22 has one output: half bridge and single-ended filter only.
void TestPwmPowerPage::halfBridgePart()
{
    QVERIFY(ui->HBPower->isChecked());
    QVERIFY(!ui->FBPower->isEnabled());
    QVERIFY(ui->SEpower->isChecked());
    QVERIFY(!ui->DCpower->isEnabled() && !ui->SIpower->isEnabled());
    ui->ampSelectorPower->setCurrentText("NV24");
    emit ui->ampSelectorPower->activated(ui->ampSelectorPower->currentIndex());
    QVERIFY(ui->FBPower->isEnabled());
    ui->FBPower->click();
    QVERIFY(ui->DCpower->isEnabled() && ui->SIpower->isEnabled());
    QVERIFY(textItem(ui->FullFilter, "NV24"));
}

void TestPwmPowerPage::limitsAndFixedFrequency()
{
    w->designModified = false;
    ui->VsPWM->setText("101");
    emit ui->VsPWM->editingFinished();
    QVERIFY(w->designModified);
    QCOMPARE(ui->VsPWM->text(), QStringLiteral("Exceeds Abs Max"));
    ui->UseMaxVsPower->click();
    QCOMPARE(ui->VsPWM->text(), QStringLiteral("100"));
    ui->VsPWM->setText("10");
    emit ui->VsPWM->editingFinished();
    QCOMPARE(ui->VsPWM->text(), QStringLiteral("Vs too Low"));

    ui->FsPWM->setText("201k");
    emit ui->FsPWM->editingFinished();
    QCOMPARE(ui->FsPWM->text(), QStringLiteral("Exceeds Abs Max"));
    ui->FsPWM->setText("4k");
    emit ui->FsPWM->editingFinished();
    QCOMPARE(ui->FsPWM->text(), QStringLiteral("Fsw too Low"));

    ui->ampSelectorPower->setCurrentText("NV25");
    emit ui->ampSelectorPower->activated(ui->ampSelectorPower->currentIndex());
    QCOMPARE(ui->FsPWM->text(), QStringLiteral("500k"));
    QVERIFY(!ui->FsPWM->isEnabled());
}

void TestPwmPowerPage::outputKindAndChannels()
{
    ui->SigTypePWM->setCurrentIndex(1);
    emit ui->SigTypePWM->activated(1);
    QCOMPARE(ui->SigTypePWMMin->text(), QStringLiteral("Min I_out = "));
    QCOMPARE(ui->VorILabelMax->text(), QStringLiteral("A"));
    QCOMPARE(ui->VorILabelMin->text(), QStringLiteral("A"));
    ui->SigTypePWM->setCurrentIndex(0);
    emit ui->SigTypePWM->activated(0);
    QCOMPARE(ui->SigTypePWMMin->text(), QStringLiteral("Min V_out = "));

    fourthOrderDesign();
    QVERIFY(ui->FBPower->isChecked());
    QVERIFY(ui->PtopPower->text().endsWith(QLatin1String("W rms per channel")));
    ui->HBPower->click();
    QVERIFY(ui->PtopPower->text().endsWith(QLatin1String("W rms")));
    QVERIFY(!ui->PtopPower->text().contains(QLatin1String("channel")));
    QCOMPARE(ui->Ptotal->text(), ui->PampPower->text());
}

// The three thermal fields recompute the summary only, not the plot.
void TestPwmPowerPage::thermalFieldsOnlyDetails()
{
    QCPGraph *before = ui->FilterFreq->graph(0);
    ui->heatsinkPower->setText("open");
    emit ui->heatsinkPower->editingFinished();
    QCOMPARE(ui->FilterFreq->graph(0), before);
    QCOMPARE(ui->tempJPower->text(), QStringLiteral("Thermal Runaway"));
    QCOMPARE(ui->tempCPower->text(), QStringLiteral("Thermal Runaway"));
    QCOMPARE(ui->tempJPower->styleSheet(), QStringLiteral("QLabel { color : red; }"));
    QVERIFY(ui->PowerNotes->toPlainText().contains("!!! Junction Temperature too High !!!"));

    ui->heatsinkPower->setText("none");
    emit ui->heatsinkPower->editingFinished();
    QVERIFY(ui->tempJPower->text() != QLatin1String("Thermal Runaway"));
    QCOMPARE(ui->tempJPower->styleSheet(), QStringLiteral("QLabel { color : black; }"));
}

void TestPwmPowerPage::schematicVariants()
{
    // Order 0: no filter, the load right after the amplifier.
    ui->PWMfilterOrder->setValue(0);
    QVERIFY(!textItem(ui->FullFilter, "FILTER"));
    QVERIFY(w->powerSchLabels[15] && !w->powerSchLabels[0]);
    QCOMPARE(w->powerSchLabels[15]->position->coords(), QPointF(1200 - 250, -400));

    // Order 6, dual capacitor, extended load with a matching network.
    fourthOrderDesign();
    ui->DCpower->click();
    ui->PWMfilterOrder->setValue(6);
    ui->ExtendedLoad->click();
    QCOMPARE(ui->FullFilter->xAxis->range(), QCPRange(-1500, 14000));
    QCPItemText *note = textItem(ui->FullFilter, "Identical Filter as Above");
    QVERIFY(note);
    QCOMPARE(note->position->coords(), QPointF(3000, -2000));
    QVERIFY(textItem(ui->FullFilter, "MATCHING\nNETWORK"));
    for (int k = 0; k < 6; ++k)
        QVERIFY(w->powerFilterLabels[k]);
    for (int j = 3; j < 18; ++j)
        QVERIFY(w->powerSchLabels[j]);
    // The matching network of an inductive load is R and C: no inductance label.
    QVERIFY(!w->powerSchLabels[0] && w->powerSchLabels[1] && w->powerSchLabels[2]);
    QCOMPARE(w->powerSchLabels[2]->text(), QStringLiteral("4.44 uF"));

    // A matching network whose capacitance is "0" is not drawn.
    w->MN[2] = "0";
    w->plotFullFilter();
    QVERIFY(!textItem(ui->FullFilter, "MATCHING\nNETWORK"));
    QVERIFY(!w->powerSchLabels[1]);

    // Split inductor, order 1: the copy on the return line and its note.
    ui->SIpower->click();
    ui->PWMfilterOrder->setValue(1);
    QCPItemText *copy = textItem(ui->FullFilter, "* Identical Inductor as Above");
    QVERIFY(copy);
    QCOMPARE(copy->position->coords(), QPointF(2000, -2400));
}

void TestPwmPowerPage::extendedLoadButton()
{
    ui->ExtendedLoad->click();
    QVERIFY(w->extendedLoad);
    QCOMPARE(ui->ExtendedLoad->text(), QStringLiteral("Condensed Load"));
    for (int j = 3; j < 18; ++j)
        QVERIFY(w->powerSchLabels[j]);
    ui->ExtendedLoad->click();
    QVERIFY(!w->extendedLoad);
    QCOMPARE(ui->ExtendedLoad->text(), QStringLiteral("Extended Load"));
    QVERIFY(!w->powerSchLabels[3]);
}

// A click on the matching network's resistance asks for one value; it is stored as typed.
void TestPwmPowerPage::clickLoadValue()
{
    fourthOrderDesign();
    QCPItemText *label = w->powerSchLabels[1];
    QCOMPARE(label->text(), "15 " + kOhm);
    QString title;
    onNextDialog([&](QDialog *d) {
        title = d->windowTitle();
        auto *input = qobject_cast<QInputDialog *>(d);
        input->setTextValue("47");
        input->accept();
    });
    w->designModified = false;
    clickItem(ui->FullFilter, label);
    QCOMPARE(title, QStringLiteral("New Value"));
    QCOMPARE(w->MN[1], QStringLiteral("47"));
    QCOMPARE(w->powerSchLabels[1]->text(), "47 " + kOhm);
    QVERIFY(w->designModified);

    // The load's inductance, cancelled: the value the label showed is stored back.
    onNextDialog([](QDialog *d) { d->reject(); });
    clickItem(ui->FullFilter, w->powerSchLabels[15]);
    QCOMPARE(w->L5[0], QStringLiteral("1 m"));
}

void TestPwmPowerPage::clickInductor()
{
    fourthOrderDesign();
    QStringList fields;
    QString title;
    onNextDialog([&](QDialog *d) {
        title = d->windowTitle();
        auto *L = d->findChild<QLineEdit *>("inductance");
        auto *R = d->findChild<QLineEdit *>("resistance");
        auto *C = d->findChild<QLineEdit *>("capacitance");
        fields << L->text() << R->text() << C->text();
        QVERIFY(L->hasSelectedText());
        R->setText("12m");
        C->clear(); // an empty field keeps its value
        d->accept();
    });
    clickItem(ui->FullFilter, w->powerFilterLabels[0]);
    QCOMPARE(title, QStringLiteral("Inductor (with parasitic R & C)"));
    QCOMPARE(fields, (QStringList{"914 u", "0", "0"}));
    QCOMPARE((QStringList{w->P1[0], w->P1[1], w->P1[2]}), (QStringList{"914 u", "12m", "0"}));
    QCOMPARE(w->powerFilterLabels[0]->text(), "914 uH\n    12 m" + kOhm);
    QCOMPARE(w->powerFilterLabels[0]->color(), QColor(0, 180, 0));
}

void TestPwmPowerPage::clickCapacitorCancelled()
{
    fourthOrderDesign();
    const QStringList before{w->P2[0], w->P2[1], w->P2[2]};
    QString title;
    onNextDialog([&](QDialog *d) {
        title = d->windowTitle();
        d->findChild<QLineEdit *>("capacitance")->setText("1u");
        d->reject();
    });
    w->designModified = false;
    clickItem(ui->FullFilter, w->powerFilterLabels[1]);
    QCOMPARE(title, QStringLiteral("Capacitor (with parasitic R & L)"));
    QCOMPARE((QStringList{w->P2[0], w->P2[1], w->P2[2]}), before);
    QVERIFY(w->designModified); // redrawn and recomputed all the same
}

void TestPwmPowerPage::clickStaticText()
{
    fourthOrderDesign();
    bool dialog = false;
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget()) {
            dialog = true;
            QApplication::activeModalWidget()->close();
        }
    });
    timer->start(10);
    w->designModified = false;
    clickItem(ui->FullFilter, textItem(ui->FullFilter, "FILTER"));
    timer->stop();
    QVERIFY(!dialog);
    QVERIFY(w->designModified);
    QVERIFY(textItem(ui->FullFilter, "FILTER")); // drawn again
}

void TestPwmPowerPage::parasiticsButtons()
{
    fourthOrderDesign();
    // 914 uH: 0.01 + 0.3 x 0.914 ohm, 20 + 25 x 0.914 pF.
    ui->UseLParasitics->click();
    QCOMPARE((QStringList{w->P1[0], w->P1[1], w->P1[2]}),
             (QStringList{"914 u", "284 m", "42.9 p"}));
    QCOMPARE(w->P5[1], QStringLiteral("0")); // beyond the order: value 0, no parasitics
    QVERIFY(w->powerFilterLabels[0]->text().contains("284 m" + kOhm));
    // 8.37 uF plastic: 0.05 + 0.05 log10(8.37) ohm, 10 + 13 log10(8.37) nH.
    ui->UsePParasitcs->click();
    QCOMPARE((QStringList{w->P2[0], w->P2[1], w->P2[2]}),
             (QStringList{"22 n", "96.1 m", "8.37 u"}));
    ui->UseEParasitics->click();
    QCOMPARE(w->P2[1], QStringLiteral("796 m")); // 0.15 + 0.7 log10(8.37)

    ui->ZeroLParasitics->click();
    QCOMPARE((QStringList{w->P1[0], w->P1[1], w->P1[2]}), (QStringList{"914 u", "0", "0"}));
    ui->ZeroEParasitics->click();
    QCOMPARE((QStringList{w->P2[0], w->P2[1], w->P2[2]}), (QStringList{"0", "0", "8.37 u"}));
}

// 15 ohm + 1 mH at 1 kHz: C = 6.28 ohm / (2 pi 1k x 15^2) = 4.44 uF.
void TestPwmPowerPage::autoMatchingNetwork()
{
    fourthOrderDesign();
    w->MN[0] = w->MN[1] = w->MN[2] = "0";
    ui->AutoMN->click();
    QCOMPARE((QStringList{w->MN[0], w->MN[1], w->MN[2]}), (QStringList{"0", "15 ", "4.44 u"}));
    QVERIFY(textItem(ui->FullFilter, "MATCHING\nNETWORK"));
    w->L5[0] = "0"; // now resistive
    ui->AutoMN->click();
    QCOMPARE((QStringList{w->MN[0], w->MN[1], w->MN[2]}), (QStringList{"0", "0", "0"}));
}

void TestPwmPowerPage::useMaximumButtons()
{
    ui->UseMaxFswPower->click();
    QCOMPARE(ui->FsPWM->text(), QStringLiteral("200k"));
    ui->PWMTut->click();
    QCOMPARE(ui->Page->currentIndex(), 11);
}

QTEST_MAIN(TestPwmPowerPage)
#include "tst_pwmpowerpage.moc"
