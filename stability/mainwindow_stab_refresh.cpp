// Stability page: the refresh that every edit of the page ends in.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <qcustomplot.h>

void MainWindow::refreshStab()
{
    designModified = true;
    // A design file or an example may have chosen the part without resetting the option.
    settleCompOption();
    ui->StabilityDetails->clear();
    determineCase();
    // A loop that was not analysed leaves the plots empty, and an empty legend is a stray box.
    const bool legends = !ui->HidePhaseLegend->isChecked();
    ui->PhasePlot->legend->setVisible(legends && ui->PhasePlot->graphCount() > 0);
    ui->GainPlot->legend->setVisible(legends && ui->GainPlot->graphCount() > 0);
    ui->phaseButton->setText(phaseShiftComponents ? QStringLiteral("View Phase Shift")
                                                  : QStringLiteral("View Phase Components"));
    ui->GainPlot->replot();
    ui->PhasePlot->replot();
    decideStabSch();
}
