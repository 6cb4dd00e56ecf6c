// The pump page's widgets, bound by name: each edit ends in the page's refresh.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

void MainWindow::on_IHCPampSelector_currentIndexChanged(int index)
{
    Q_UNUSED(index)
    CompOptionIHCP = 0; // the new part's first compensation option
    drawIHCP();
    refreshIHCP();
}

void MainWindow::on_IHCPtrans_editingFinished()
{
    refreshIHCP();
}

void MainWindow::on_IHCPmaxIout_editingFinished()
{
    refreshIHCP();
}

void MainWindow::on_IHCPminIout_editingFinished()
{
    refreshIHCP();
}

void MainWindow::on_IHCPInvButton_toggled(bool checked)
{
    Q_UNUSED(checked)
    drawIHCP();
    refreshIHCP();
}

void MainWindow::on_IHCPauto_clicked()
{
    IHCPauto();
    drawIHCP();
    refreshIHCP();
}

void MainWindow::on_IHCPsweepButton_clicked()
{
    sweepIHCP = !sweepIHCP;
    ui->IHCPsweepButton->setText(sweepIHCP ? QStringLiteral("Bode Plot")
                                           : QStringLiteral("Sweep Load Impedance"));
    setupIHCPplots();
    refreshIHCP();
}

void MainWindow::on_IHCPimportSOA_clicked()
{
    ImportSOAtoIHCP();
}

void MainWindow::on_IHCPexportSOA_clicked()
{
    ExportIHCPtoSOA();
}
