// Worked examples of the SOA page and the three selector pages. Each set-up writes its page
// in a fixed order and ends with the page's recomputation; widgets whose change runs a slot
// of their own run it as they are written, as if the user had set them.
#include "app/mainwindow.h"

#include "examples/exampletable.h"
#include "ui_mainwindow.h"

void MainWindow::applySoaExample(const examples::SoaSetup &s)
{
    ui->Page->setCurrentIndex(2);
    ui->SOA_Rload->setText(s.rLoad);
    ui->SOA_Cload->setText(s.cLoad);
    ui->SOA_Lload->setText(s.lLoad);
    ui->SOA_series->setChecked(true);
    SOAfreq = s.freq;

    // A part change resets the supplies, so the example's own come after it.
    ui->AmpSelecterSOA->setCurrentText(s.part);
    makeSOAplot();
    SOAVs_pos = s.vsPos;
    SOAVs_neg = s.vsNeg;
    if (s.boostFollowsSupplies) {
        SOAVb_pos = SOAVs_pos;
        SOAVb_neg = SOAVs_neg;
        boostSup = false;
    }
    SOAVout = s.voltageOut;
    SOAmaxOut = s.maxOut;
    SOAminOut = s.minOut;

    ui->tempA->setText(s.tempA);
    ui->SOAtabWidget->setCurrentIndex(s.inputTab);
    ui->SOAdisplayTab->setCurrentIndex(1);
    SignalType = s.signalType;
    ui->loadTypeBox->setCurrentText(QStringLiteral("RLC Combo"));
    ui->R_CL->setText(s.rCL);
    ui->RangeBox->setValue(20);
    ui->heatsink->setText(s.heatsink);
    ui->ThermalCompound->setText(s.compound);

    ui->SOAdisplayAfter->setValue(2);
    ui->SOAdisplayCycles->setValue(2);
    if (s.writesTrapezoid) {
        SOAtRise = s.tRise;
        SOAtHigh = s.tHigh;
        SOAtFall = s.tFall;
        SOAtLow = s.tLow;
    }

    ui->BridgeCheckBox->setChecked(false);
    ui->NumParallel->setValue(1);
    refreshSOA();
}

void MainWindow::applyHeatsinkExample(const examples::HeatsinkSetup &s)
{
    ui->Page->setCurrentIndex(7);
    if (s.part.isEmpty())
        ui->HSpart->setCurrentIndex(0);
    else
        ui->HSpart->setCurrentText(s.part);
    if (s.enablePartList) ui->HSpart->setEnabled(true);
    ui->HSpackage->setCurrentIndex(0);
    if (s.enablePartList) ui->HSpackage->setEnabled(false);
    ui->HSchoosePart->setChecked(true);

    ui->HSrtheta->setText(s.rTheta);
    for (QLineEdit *field : {ui->HSH, ui->HSL, ui->HSW, ui->HSWeight})
        field->setText(QStringLiteral("all"));

    ui->HSconstCheckBox->setChecked(false);
    ui->HSfluidCheckBox->setChecked(s.forcedFlow);
    ui->HSrelax->setValue(10);
    refreshHeatsinks();
}

void MainWindow::applyLinearSelectorExample(const examples::LinearSelectorSetup &s)
{
    ui->Page->setCurrentIndex(1);
    ui->LPScurrent->setText(s.current);
    ui->LPSVpp->setText(s.vpp);
    if (s.byFrequency) {
        ui->LPSFreq->setText(s.freqOrSlew);
        ui->LPSFreqButton->setChecked(true);
    } else {
        // The selector overwrites the field it does not read with the converted value, so
        // a slew rate counts only with its own button checked.
        ui->LPSSR->setText(s.freqOrSlew);
        ui->LPSSRButton->setChecked(true);
    }
    ui->LPSBridgeCheckBox->setChecked(false);
    if (s.uncheckParallel) ui->LPSParallelCheckBox->setChecked(false);
    ui->LPSRelax->setValue(20);
    refreshLPS();
}

void MainWindow::applySwitchingSelectorExample(const examples::SwitchingSelectorSetup &s)
{
    ui->Page->setCurrentIndex(8);
    ui->SPScurrent->setText(s.current);
    ui->SPSvoltage->setText(s.voltage);
    ui->SPSfrequency->setText(s.frequency);
    refreshSPS();
}
