// Stability page: the R-C pole calculators and the R_ISO power calculator of the side tab.
#include "app/mainwindow.h"

#include "stability/rccalc.h"
#include "ui_mainwindow.h"

void MainWindow::RCPC()
{
    designModified = true;
    const QString kind = QStringLiteral("R");

    const double R1 = parseLineEdit(ui->RCPCR1, kind);
    const double F1 = parseLineEdit(ui->RCPCF1, kind);
    setEngLabel(stab::capacitorForPole(R1, F1), ui->RCPCC1, QStringLiteral("F"));

    const double R2 = parseLineEdit(ui->RCPCR2, kind);
    const double C2 = parseLineEdit(ui->RCPCC2, kind);
    setEngLabel(stab::poleFrequency(R2, C2), ui->RCPCF2, QStringLiteral("Hz"));

    const double F3 = parseLineEdit(ui->RCPCF3, kind);
    const double C3 = parseLineEdit(ui->RCPCC3, kind);
    setEngLabel(stab::resistorForPole(F3, C3), ui->RCPCR3, QStringLiteral("Ω"));

    const double Riso = parseLineEdit(ui->R_ISO_R, kind);
    const double Imax = parseLineEdit(ui->R_ISO_I, kind);
    ui->R_ISO_P->setText(stab::isolationPowerText(stab::isolationResistorPower(Riso, Imax)));
}

void MainWindow::on_RCPCR1_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCF1_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCR2_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCC2_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCF3_editingFinished()
{
    RCPC();
}

void MainWindow::on_RCPCC3_editingFinished()
{
    RCPC();
}

void MainWindow::on_R_ISO_R_editingFinished()
{
    RCPC();
}

void MainWindow::on_R_ISO_I_editingFinished()
{
    RCPC();
}
