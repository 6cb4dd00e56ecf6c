// The PWM power page in the window: set-up, the refresh and its plots for every quantity,
// the part's limits, the schematic of the whole network in its variants, clicks on its values
// with the dialogs' answers injected, and the parasitics and matching-network buttons.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "plotcheck.h"
#include "windowtest.h"

#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QtTest>
#include <qcustomplot.h>

#include <memory>

namespace {

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

using windowtest::onNextDialog;

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
    void autoMatchingNetworkOnReactiveLoad();
    void unusableInputs_data();
    void unusableInputs();
    void signalAtDcPlotsDefaultSpan_data();
    void signalAtDcPlotsDefaultSpan();
    void hugeSignalGivesNoFigure_data();
    void hugeSignalGivesNoFigure();
    void wizardHandOverOfHalfBridge();
    void useMaximumButtons();

private:
    void fourthOrderDesign();
    std::unique_ptr<MainWindow> w;
    Ui_MainWindow *ui = nullptr;
};

void TestPwmPowerPage::initTestCase()
{
    windowtest::failOnUnboundSlots();
}

void TestPwmPowerPage::init()
{
    w.reset(new MainWindow);
    ui = w->ui;
    w->resize(1400, 820);
    w->show();
    ui->Page->setCurrentIndex(9);
    ui->PowerTabs->setCurrentIndex(0);
}

void TestPwmPowerPage::cleanup()
{
    windowtest::dropPendingDialogHandlers();
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
    QTest::newRow("impedance") << 0 << QStringList{"Load and Filter", "Load Only"}
                               << QString("Impedance [" + kOhm + "]");
    QTest::newRow("current") << 1 << QStringList{"Out of Amplifier", "Into Load"}
                             << "Current [A rms]";
    QTest::newRow("voltage") << 2 << QStringList{"At Amplifier Output", "At Load"}
                             << "Voltage [V rms]";
    QTest::newRow("phase") << 3 << QStringList{"Load and Filter", "Load Only"}
                           << QString::fromUtf8("V-I Phase Shift [°]");
    QTest::newRow("power")
        << 4
        << QStringList{"True Power Loss in Filter", "Apparent Power in Load", "True Power in Load",
                       "True Power in R_MATCH",
                       QString::fromUtf8("Internal Amplifier Power\n(Assuming 25°C junctions)")}
        << "Power [W (or VA) rms]";
    QTest::newRow("efficiency") << 5
                                << QStringList{"Apparent Load Power \nover Total True Power",
                                               "True Load Power \nover Total True Power"}
                                << "Overall Efficency [%]";
    QTest::newRow("attenuation dB")
        << 6 << QStringList{"Filter Attenuation"} << "Filter Attenuation [dB]";
    QTest::newRow("attenuation %")
        << 7 << QStringList{"Filter Attenuation"} << "Filter Attenuation [%]";
}

void TestPwmPowerPage::quantities()
{
    QFETCH(int, index);
    QFETCH(QStringList, graphs);
    QFETCH(QString, yLabel);
    fourthOrderDesign();
    ui->yVariable->setCurrentIndex(index);
    emit ui->yVariable->activated(index);

    QCustomPlot *plot = ui->FilterFreq;
    QCOMPARE(graphNames(plot), graphs << "Signal Frequency");
    QCOMPARE(plotcheck::shownTitle(plot), yLabel);
    QCOMPARE(plot->xAxis->label(), QStringLiteral("Frequency [Hz]"));
    // The legend stands where it hides no curve, the signal marker included.
    plot->replot();
    const QStringList hidden = plotcheck::curvesUnderLegend(plot);
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join("; ")));
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
    case 4: {
        // Power starts at 0 or below, and no curve lies on the frame.
        QVERIFY(y.lower <= 0);
        for (int g = 0; g < plot->graphCount() - 1; ++g) {
            const auto data = plot->graph(g)->data();
            for (auto it = data->constBegin(); it != data->constEnd(); ++it)
                QVERIFY2(it->value > y.lower && it->value < y.upper,
                         qPrintable(plot->graph(g)->name()));
        }
        break;
    }
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
    // The load's inductance stands on the right of its coil, which bulges to the left.
    QCOMPARE(w->powerSchLabels[15]->position->coords(), QPointF(1200 + 150, -300));

    // Order 6, dual capacitor, extended load with a matching network.
    fourthOrderDesign();
    ui->DCpower->click();
    ui->PWMfilterOrder->setValue(6);
    ui->ExtendedLoad->click();
    // The view holds the whole drawing, from the amplifier to the last load branch's values.
    const QCPRange shown = ui->FullFilter->xAxis->range();
    QVERIFY(shown.lower <= -1500);
    QVERIFY(shown.upper >= w->powerSchLabels[17]->position->coords().x());
    QCPItemText *note = textItem(ui->FullFilter, "Identical Filter as Above");
    QVERIFY(note);
    QCOMPARE(note->position->coords(), QPointF(3000, -1600));
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
    QCOMPARE(copy->position->coords(), QPointF(2000, -1950));
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

// A capacitor alone (a piezo-like load) has no resistance to match: no near-short network
// across the output, and the notes say why.
void TestPwmPowerPage::autoMatchingNetworkOnReactiveLoad()
{
    w->L5[0] = "0";
    w->L5[1] = "short";
    w->L5[2] = "10u";
    ui->AutoMN->click();
    QCOMPARE((QStringList{w->MN[0], w->MN[1], w->MN[2]}), (QStringList{"0", "0", "0"}));
    const QString note = "The load has no resistance: a resistive match needs a resistive part "
                         "in the load";
    QVERIFY(ui->PowerNotes->toPlainText().contains(note));
    QVERIFY(!ui->PowerNotes->toPlainText().contains("Thermal Runaway"));
    QVERIFY(ui->tempJPower->text() != QLatin1String("Thermal Runaway"));
    // A resistive part in the load: a network again, and the note goes.
    w->L5[1] = "8";
    ui->AutoMN->click();
    QVERIFY(w->MN[0] != QLatin1String("0"));
    QVERIFY(!ui->PowerNotes->toPlainText().contains(note));
}

// Each field that cannot be used: red, one note, the placeholder in red in every figure that
// depends on it, and none anywhere else.
void TestPwmPowerPage::unusableInputs_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("blank");
    QTest::addColumn<QString>("note");
    const QStringList all{"PiqVs",      "PiqVcc",    "IripplePower", "VripplePower",
                          "PoutPower",  "PtopPower", "PbotPower",    "PampPower",
                          "Pwire",      "Ptotal",    "TcMaxPower",   "minHeatsinkPower",
                          "tempCPower", "tempJPower", "VrangePower"};
    const QStringList signal{"PoutPower", "PtopPower", "PbotPower", "PampPower", "Pwire",
                             "Ptotal", "TcMaxPower", "minHeatsinkPower", "tempCPower",
                             "tempJPower", "VrangePower"};
    const QStringList thermal{"PtopPower", "PbotPower", "PampPower", "Ptotal", "TcMaxPower",
                              "minHeatsinkPower", "tempCPower", "tempJPower", "VrangePower"};
    // The refresh checks Vs and Fsw against the part before the summary reads them: a value
    // below the part's minimum is already its limit message then.
    QTest::newRow("Vs 0") << "VsPWM"
                          << "0" << all
                          << "!!! Vs reads \"Vs too Low\": no figure of the page can be "
                             "computed !!!";
    QTest::newRow("Vs empty") << "VsPWM"
                              << "" << all
                              << "!!! Vs reads \"Vs too Low\": no figure of the page can be "
                                 "computed !!!";
    QTest::newRow("Fsw negative") << "FsPWM"
                                  << "-20k" << all
                                  << "!!! Fsw reads \"Fsw too Low\": no figure of the page can "
                                     "be computed !!!";
    QTest::newRow("Fsig negative") << "FsigPWM"
                                   << "-1k" << signal
                                   << "!!! Fsig is negative: the output power and losses cannot "
                                      "be computed !!!";
    QTest::newRow("ambient below absolute zero")
        << "tempAPower"
        << "-300" << thermal
        << "!!! The ambient temperature is below absolute zero: the temperatures cannot be "
           "computed !!!";
    QTest::newRow("negative heatsink") << "heatsinkPower"
                                       << "-1" << thermal
                                       << "!!! The heatsink is negative: the temperatures cannot "
                                          "be computed !!!";
    QTest::newRow("negative compound") << "ThermalCompoundPower"
                                       << "-0.1" << thermal
                                       << "!!! The thermal compound is negative: the "
                                          "temperatures cannot be computed !!!";
}

void TestPwmPowerPage::unusableInputs()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, blank);
    QFETCH(QString, note);
    auto *edit = w->findChild<QLineEdit *>(field);
    edit->setText(text);
    emit edit->editingFinished();
    // Vs and Fsw: the refresh's limit check may have written its message over the value.
    if (edit->text() == text) QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));
    const QString notes = ui->PowerNotes->toPlainText();
    QVERIFY2(notes.contains(note), qPrintable(notes));
    for (const char *name : {"PiqVs", "PiqVcc", "IripplePower", "VripplePower", "PoutPower",
                             "PtopPower", "PbotPower", "PampPower", "Pwire", "Ptotal",
                             "TcMaxPower", "minHeatsinkPower", "tempCPower", "tempJPower",
                             "VrangePower", "Fhotspot"}) {
        auto *label = w->findChild<QLabel *>(name);
        QVERIFY2(!label->text().contains("nan") && !label->text().contains("inf"),
                 qPrintable(QString(name) + ": " + label->text()));
        if (blank.contains(name)) {
            QCOMPARE(label->text(), eng::noResultText());
            QCOMPARE(label->styleSheet(), QStringLiteral("QLabel { color : red; }"));
        } else if (QString(name) != "Fhotspot") {
            QVERIFY2(label->text() != eng::noResultText(), name);
        }
    }
    // Ambient -300 once gave a junction at -295 °C; a -1 °C/W heatsink gave Tj = ambient.
    QVERIFY(!notes.contains("Junction Temperature too High") || !blank.contains("tempJPower"));
}

// Fsig 0 is a DC output: the plots show their default span and the notes say so, instead of
// an empty plot on the axis of the design before, or a sweep from 1 Hz down to 0.
void TestPwmPowerPage::signalAtDcPlotsDefaultSpan_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("impedance") << 0 << 0.0 << 3000.0;
    QTest::newRow("current") << 1 << 0.0 << 3000.0;
    QTest::newRow("attenuation") << 6 << 1.0 << 1e6;
}

void TestPwmPowerPage::signalAtDcPlotsDefaultSpan()
{
    QFETCH(int, quantity);
    QFETCH(double, low);
    QFETCH(double, high);
    ui->yVariable->setCurrentIndex(quantity);
    ui->FsigPWM->setText("0");
    emit ui->FsigPWM->editingFinished();
    QCustomPlot *plot = ui->FilterFreq;
    QCOMPARE(plot->xAxis->range().lower, low);
    QCOMPARE(plot->xAxis->range().upper, high);
    QVERIFY(plot->graph(0)->dataCount() > 0);
    QVERIFY(ui->PowerNotes->toPlainText().contains(
        "Fsig is 0 (DC): the plot shows its default span, as for a 1 kHz signal"));
    QVERIFY(ui->PoutPower->text() != eng::noResultText()); // a DC output is computed

    // A span typed the wrong way round is no span either.
    ui->FsigPWM->setText("1k");
    ui->Fmin->setText("5k");
    ui->Fmax->setText("1k");
    emit ui->Fmax->editingFinished();
    QCOMPARE(plot->xAxis->range().lower, low);
    QCOMPARE(plot->xAxis->range().upper, high);
    QVERIFY(ui->PowerNotes->toPlainText().contains("give no span"));

    // A negative bound is unusable: the plot ignores it, the hot spot is no negative figure.
    ui->Fmin->setText("-5");
    ui->Fmax->setText("auto");
    emit ui->Fmin->editingFinished();
    QVERIFY(ui->PowerNotes->toPlainText().contains(
        "Fmin is negative: the plot uses its default span"));
    QVERIFY(plot->xAxis->range().lower >= 0);
    QVERIFY(!ui->Fhotspot->text().startsWith("-"));
}

void TestPwmPowerPage::hugeSignalGivesNoFigure_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("Fsig") << "FsigPWM"
                          << "Fsig";
    QTest::newRow("output") << "PWMOut"
                            << "The maximum output";
}

void TestPwmPowerPage::hugeSignalGivesNoFigure()
{
    QFETCH(QString, field);
    QFETCH(QString, name);
    fourthOrderDesign();
    auto *edit = w->findChild<QLineEdit *>(field);
    edit->setText("1e300");
    emit edit->editingFinished();
    QCOMPARE(ui->PoutPower->text(), eng::noResultText());
    QVERIFY(ui->PowerNotes->toPlainText().contains(
        "!!! " + name + " is too large: the output power and losses cannot be computed !!!"));
    for (int i = 0; i < ui->FilterFreq->graphCount(); ++i)
        for (auto it = ui->FilterFreq->graph(i)->data()->constBegin();
             it != ui->FilterFreq->graph(i)->data()->constEnd(); ++it)
            QVERIFY(std::isfinite(it->key) && std::isfinite(it->value));
}

// The wizard's list has no half-bridge part: it keeps its own and says which part it could
// not take over, rather than copying the part's supply onto another part in silence.
void TestPwmPowerPage::wizardHandOverOfHalfBridge()
{
    QCOMPARE(ui->ampSelectorPower->currentText(), QStringLiteral("NV22"));
    QCOMPARE(ui->ampSelectorSCon->findText("NV22"), -1);
    const QString before = ui->ampSelectorSCon->currentText();
    ui->ImportFromPWMPower->click();
    QCOMPARE(ui->ampSelectorSCon->currentText(), before);
    QVERIFY(ui->SConNotes->toPlainText().contains(
        "NV22 is not offered on this page: the design was taken over with " + before));
}

QTEST_MAIN(TestPwmPowerPage)
#include "tst_pwmpowerpage.moc"
