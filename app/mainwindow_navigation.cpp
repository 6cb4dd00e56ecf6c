// Moving between pages: the home page's feature buttons and the jumps between pages.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <QResizeEvent>

void MainWindow::showPage(int index)
{
    ui->Page->setCurrentIndex(index);
    ui->HomeButton->show();
}

void MainWindow::on_ToPWMControl_clicked()
{
    showPage(13);
}

void MainWindow::on_toFilterDesign_clicked()
{
    ui->Page->setCurrentIndex(12);
}

void MainWindow::on_toPWMPower_clicked()
{
    ui->Page->setCurrentIndex(9);
}

void MainWindow::on_toPWMPower_2_clicked()
{
    ui->Page->setCurrentIndex(9);
}

void MainWindow::on_bodePlotGenButton_clicked()
{
    ui->Page->setCurrentIndex(6);
}

void MainWindow::on_connectButton_clicked()
{
    connectUART();
}

void MainWindow::resizeEvent(QResizeEvent *)
{
    // The circuit-type pictures of the PWM control page follow their buttons' size.
    const QSize icon = ui->V1button->size() - QSize(20, 20);
    ui->V1button->setIconSize(icon);
    ui->V2button->setIconSize(icon);
    ui->I1button->setIconSize(icon);
    ui->I2button->setIconSize(icon);
}
