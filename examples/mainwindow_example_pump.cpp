// Worked examples of the Howland current pump page.
#include "app/mainwindow.h"

#include "examples/exampletable.h"
#include "ui_mainwindow.h"

void MainWindow::applyPumpExample(const examples::PumpSetup &s)
{
    ui->Page->setCurrentIndex(5);
    ui->IHCPampSelector->setCurrentText(QStringLiteral("LX58"));
    if (s.writesDrive) {
        ui->IHCPmaxIout->setText(QStringLiteral("1"));
        ui->IHCPminIout->setText(QStringLiteral("-1"));
        ui->IHCPtrans->setText(QStringLiteral("0.1"));
        ui->IHCPtol->setText(QStringLiteral("2"));
        (s.inverting ? ui->IHCPInvButton : ui->IHCPNonButton)->setChecked(true);
    }

    IHCPRin = QStringLiteral("10k");
    CompOptionIHCP = 0;
    IHCPRd = QStringLiteral("open");
    IHCPCd = QStringLiteral("open");
    if (s.writesCircuit) {
        IHCPRload = s.rLoad;
        IHCPLload = s.lLoad;
        IHCPCload = s.cLoad;
        IHCPFreq = s.freq;
        IHCPRs = s.rs;
        IHCPRfn = s.rfn;
        IHCPRfp = s.rfp;
        IHCPRinT = s.rinT;
        IHCPRfnT = s.rfnT;
        IHCPRfpT = s.rfpT;
        IHCPRsT = s.rsT;
    }

    sweepIHCP = s.sweep;
    ui->IHCPsweepButton->setText(s.sweep ? QStringLiteral("Bode Plot")
                                         : QStringLiteral("Sweep Load Impedance"));
    if (s.uncheckSoaBridgeParallel) {
        ui->BridgeCheckBox->setChecked(false);
        ui->ParallelCheckBox->setChecked(false);
    }
    setupIHCPplots();
    drawIHCP();
    refreshIHCP();
}
