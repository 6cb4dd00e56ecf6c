// Moving between pages: the home page's feature buttons and the jumps between pages.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <QResizeEvent>

// Every way onto a page (a feature button, a tutorial's Next, an example, a design file, a jump
// from another page) passes here, so none can leave the user without the way back. Only the
// button itself hides it again: the File menu's way home leaves it as it was.
void MainWindow::on_Page_currentChanged(int index)
{
    if (index != 0) ui->HomeButton->show();
}

void MainWindow::showPage(int index)
{
    ui->Page->setCurrentIndex(index);
}

void MainWindow::on_LPSbutton_clicked()
{
    ui->Page->setCurrentIndex(1);
    refreshLPS();
}

void MainWindow::on_SOAbutton_clicked()
{
    showPage(2);
}

void MainWindow::on_LstabButton_clicked()
{
    showPage(4);
}

void MainWindow::on_IHCPbutton_clicked()
{
    showPage(5);
}

void MainWindow::on_HSbutton_clicked()
{
    ui->Page->setCurrentIndex(7);
    refreshHeatsinks();
}

void MainWindow::on_SPSButton_clicked()
{
    ui->Page->setCurrentIndex(8);
    refreshSPS();
}

void MainWindow::on_PWMPowerButton_clicked()
{
    showPage(9);
}

void MainWindow::on_ThreePhaseButton_clicked()
{
    showPage(10);
}

void MainWindow::on_Examples_clicked()
{
    showPage(11);
}

void MainWindow::on_FilterButton_clicked()
{
    ui->Page->setCurrentIndex(12);
    refreshFilter();
}

void MainWindow::on_PWMControlButton_clicked()
{
    showPage(13);
    SConIcons();
}

void MainWindow::on_ToPWMControl_clicked()
{
    on_PWMControlButton_clicked();
}

void MainWindow::on_toFilterDesign_clicked()
{
    ui->Page->setCurrentIndex(12);
    refreshFilter();
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
