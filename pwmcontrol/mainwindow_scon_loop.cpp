// Step 3 of the wizard: the closed-loop response of the integrator, its peaking and phase
// estimate, and the operating ranges shown on the schematic.
#include "app/mainwindow.h"

#include "pwmcontrol/sconloop.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

scon::FilterPlant MainWindow::sconPlant()
{
    scon::FilterPlant plant;
    plant.ac = [this](double f, comp &Tfil, comp &Ztot, comp &Zload) {
        Tfilter(f, &Tfil, &Ztot, &Zload);
    };
    Gfilter(&plant.Gfil, &plant.Rtot, &plant.Rload);
    return plant;
}

void MainWindow::refreshSCon()
{
    designModified = true;
    SConValidate();
    if (ui->V1button->isChecked())
        calcV1();
    else if (ui->V2button->isChecked())
        calcV2();
    else if (ui->I1button->isChecked())
        calcI1();
    else
        calcI2();
    ui->SControlSch->replot();
}

void MainWindow::calcV1()
{
    calcSCon(scon::Topology::Voltage1);
}

void MainWindow::calcV2()
{
    calcSCon(scon::Topology::Voltage2);
}

void MainWindow::calcI1()
{
    calcSCon(scon::Topology::Current1);
}

void MainWindow::calcI2()
{
    calcSCon(scon::Topology::Current2);
}

void MainWindow::calcSCon(scon::Topology topology)
{
    QCustomPlot *plot = ui->SConTcl;
    plot->clearGraphs();

    const pwm part = findSwitching(ui->ampSelectorSCon->currentText());
    scon::LoopInput in;
    in.topology = topology;
    in.fullBridge = ui->FBPower->isChecked();
    in.values = sconValues();
    in.vs = parseLineEdit(ui->SConVs, QStringLiteral("R"));
    in.vcc = parseLineEdit(ui->SConVcc, QStringLiteral("R"));
    in.fsigHz = parseLineEdit(ui->SConFreq, QStringLiteral("R"));
    in.vinMax = parseLineEdit(ui->SConVinMax, QStringLiteral("R"));
    in.vinMin = parseLineEdit(ui->SConVinMin, QStringLiteral("R"));
    in.plant = sconPlant();
    const scon::LoopResult r = scon::analyseLoop(in, part);

    if (!r.problem.isEmpty()) {
        // Nothing to plot: say why where the validation notes are, and blank the results
        // rather than leave those of another circuit standing.
        ui->SConNotes->setTextColor(Qt::red);
        ui->SConNotes->append(r.problem);
        ui->SConPeaking->setText(QStringLiteral("-"));
        ui->SConPhase->setText(QStringLiteral("-"));
        ui->SConFreqPeak->setText(QStringLiteral("-"));
        plot->replot();
        return;
    }

    ui->SConPeaking->setText(QString::number(r.peakingDb, 'g', 3) + QStringLiteral(" dB"));
    ui->SConPhase->setText(QString::number(r.phaseDeg, 'g', 3) + QString(QChar(0x00B0)));
    setEngLabel(r.peakHz, ui->SConFreqPeak, QStringLiteral("Hz"));

    for (int i = 0; i < scon::RangeCount; ++i) {
        if (!r.written[i]) continue;
        sconRanges[i] = r.text[i];
        if (r.showLabel[i] && sconRangeLabels[i]) sconRangeLabels[i]->setText(r.text[i]);
    }
    const QColor red(255, 0, 0), black(0, 0, 0);
    if (sconRangeLabels[scon::PwmOut])
        sconRangeLabels[scon::PwmOut]->setColor(r.pwmOutRed ? red : black);
    if (topology == scon::Topology::Current1 && sconRangeLabels[scon::PwmOutCurrent])
        sconRangeLabels[scon::PwmOutCurrent]->setColor(r.currentOutRed ? red : black);

    QCPGraph *graph = plot->addGraph();
    graph->setData(r.freqHz, r.gainDb, true);
    graph->setPen(QPen(QColor(0, 0, 255), 3));
    plot->replot();
    plot->xAxis->setRange(1, 1000000);
    const double span = r.gainMax - r.gainMin;
    plot->yAxis->setRange(r.gainMin - 0.1 * span, r.gainMax + 0.1 * span);
    plot->replot();
}
