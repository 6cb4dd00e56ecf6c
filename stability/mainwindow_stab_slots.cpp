// Stability page: the slots of the page's widgets. Each routes its edit to refreshStab.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

void MainWindow::on_AmpSelectorStab_activated(int index)
{
    Q_UNUSED(index)
    CompOption = 0;
    refreshStab();
}

void MainWindow::on_CloadButton_clicked()
{
    refreshStab();
}

void MainWindow::on_LloadButton_clicked()
{
    refreshStab();
}

void MainWindow::on_compositeCheckBox_clicked()
{
    refreshStab();
}

// Also when the page itself checks an input button: the models read the inputs afresh.
void MainWindow::on_StabInv_toggled(bool checked)
{
    Q_UNUSED(checked)
    refreshStab();
}

void MainWindow::on_HidePhaseLegend_clicked()
{
    refreshStab();
}

void MainWindow::on_phaseButton_clicked()
{
    phaseShiftComponents = !phaseShiftComponents;
    refreshStab();
}

// Entry 0 is the empty "no host" entry; entry k is host k - 1.
void MainWindow::on_hostSelector_activated(int index)
{
    QLineEdit *fields[] = {ui->hostAOL, ui->hostPole1, ui->hostPole2, ui->hostPole3};
    if (index >= 1 && index <= hostVector.size()) {
        const amp host = hostVector.at(index - 1);
        const double values[] = {host.getAol_DC(), host.getPole1(0), host.getPole2(0),
                                 host.getPole3(0)};
        for (int i = 0; i < 4; ++i)
            fields[i]->setText(QString::number(values[i], 'g', 6));
    } else {
        for (QLineEdit *field : fields)
            field->clear();
    }
    refreshStab();
}

void MainWindow::on_hostAOL_editingFinished()
{
    refreshStab();
}

void MainWindow::on_hostPole1_editingFinished()
{
    refreshStab();
}

void MainWindow::on_hostPole2_editingFinished()
{
    refreshStab();
}

void MainWindow::on_hostPole3_editingFinished()
{
    refreshStab();
}

void MainWindow::on_StabAuto_clicked()
{
    settleCompOption();
    autoStabilize();
}
