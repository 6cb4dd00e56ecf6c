// The SOA page's widget slots, bound by name, and the load calculator's hand-over. Almost
// every edit recomputes the whole page.
#include "app/mainwindow.h"

#include "soa/loadcalc.h"
#include "ui_mainwindow.h"

void MainWindow::on_LogCheckBox_toggled(bool checked)
{
    switchLogPlot(checked);
}

void MainWindow::on_AmpSelecterSOA_activated(int index)
{
    Q_UNUSED(index)
    makeSOAplot();
    refreshSOA();
}

void MainWindow::on_R_CL_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_RangeBox_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshSOA();
}

void MainWindow::on_tempA_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_FOcheckBox_toggled(bool checked)
{
    if (checked) {
        ui->R_FO->setEnabled(true);
    } else {
        ui->R_FO->setText(QStringLiteral("open"));
        ui->R_FO->setEnabled(false);
    }
    refreshSOA();
}

void MainWindow::on_R_FO_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_custTempCheckBox_clicked(bool checked)
{
    ui->custTempLine->setEnabled(checked);
    refreshSOA();
}

void MainWindow::on_custTempLine_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_ThermalCompound_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_heatsink_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_VswingCheckBox_toggled()
{
    refreshSOA();
}

void MainWindow::on_MotorESR_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_MotorI_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_MotorEMF_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_MotorVDC_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_MotorBox_currentIndexChanged(int index)
{
    Q_UNUSED(index)
    refreshSOA();
}

void MainWindow::on_ParallelCheckBox_toggled(bool arg1)
{
    // Setting the count runs its own slot, and so a refresh, when the count changes.
    if (!arg1) ui->NumParallel->setValue(1);
    refreshSOA();
}

void MainWindow::on_NumParallel_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshSOA();
}

void MainWindow::on_BridgeCheckBox_toggled()
{
    refreshSOA();
}

void MainWindow::on_BridgeSameSuppliesButton_toggled()
{
    refreshSOA();
}

void MainWindow::on_SOA_series_toggled(bool checked)
{
    Q_UNUSED(checked)
    refreshSOA();
}

void MainWindow::on_SOA_Rload_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_SOA_Lload_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_SOA_Cload_editingFinished()
{
    refreshSOA();
}

void MainWindow::on_SOAdisplayAfter_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshSOA();
}

void MainWindow::on_SOAdisplayCycles_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshSOA();
}

void MainWindow::on_loadTypeBox_currentIndexChanged(int index)
{
    ui->loadType->setCurrentIndex(index);
    refreshSOA();
}

void MainWindow::on_SOAeditSignalButton_clicked()
{
    changeSOASignal();
}

void MainWindow::on_loadCalcButton_clicked()
{
    // One dialog for the window's life: a new one per click would pile up hidden dialogs,
    // and an older one still open could hand back stale entries after a newer one.
    if (!loadCalcDialog) {
        loadCalcDialog = new LoadCalc(this);
        connect(loadCalcDialog, &LoadCalc::sendRLCValues, this, &MainWindow::saveLoadCalc);
    }
    loadCalcDialog->setValues(ResS, CapS, IndS, ResP, CapP, IndP, Z1, Z2, A1, A2, FreqS, FreqP);
    loadCalcDialog->show();
    loadCalcDialog->raise();
    loadCalcDialog->activateWindow();
}

void MainWindow::saveLoadCalc(QString ResS, QString CapS, QString IndS, QString ResP, QString CapP,
                              QString IndP, QString Z1, QString Z2, QString A1, QString A2,
                              QString FreqS, QString FreqP)
{
    const QStringList before{this->ResS, this->CapS, this->IndS,  this->ResP,
                             this->CapP, this->IndP, this->Z1,    this->Z2,
                             this->A1,   this->A2,   this->FreqS, this->FreqP};
    const QStringList after{ResS, CapS, IndS, ResP, CapP, IndP, Z1, Z2, A1, A2, FreqS, FreqP};
    this->ResS = ResS;
    this->CapS = CapS;
    this->IndS = IndS;
    this->ResP = ResP;
    this->CapP = CapP;
    this->IndP = IndP;
    this->Z1 = Z1;
    this->Z2 = Z2;
    this->A1 = A1;
    this->A2 = A2;
    this->FreqS = FreqS;
    this->FreqP = FreqP;
    // The entries are saved in design files: a changed entry is an unsaved change.
    if (after != before) designModified = true;
}
