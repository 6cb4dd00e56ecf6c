// Step 3 of the wizard: the closed-loop response of the integrator, its peaking and phase
// estimate, and the operating ranges shown on the schematic.
#include "app/mainwindow.h"

#include "pwmcontrol/sconloop.h"
#include "ui_mainwindow.h"
#include "values/engwidgets.h"

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
    // The supplies were typed into step 2 since the schematic was drawn.
    if (sconVsLabel) showSConSupply(sconVsLabel, scon::FieldVs);
    if (sconVccLabel) showSConSupply(sconVccLabel, scon::FieldVcc);
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

void MainWindow::showSConNoLoop(const QString &problem)
{
    ui->SConNotes->setTextColor(Qt::red);
    ui->SConNotes->append(problem);
    for (QLabel *label : {ui->SConPeaking, ui->SConPhase, ui->SConFreqPeak})
        eng::setNoResult(label);
    // No range of an earlier circuit may stay on the schematic.
    for (int i = 0; i < scon::RangeCount; ++i) {
        sconRanges[i] = scon::noRangeText(i);
        if (sconRangeLabels[i]) {
            sconRangeLabels[i]->setText(sconRanges[i]);
            sconRangeLabels[i]->setColor(QColor(255, 0, 0));
        }
    }
    QCustomPlot *plot = ui->SConTcl;
    plot->yAxis->setRange(-20, 20);
    plot->replot();
}

void MainWindow::calcSCon(scon::Topology topology)
{
    QCustomPlot *plot = ui->SConTcl;
    plot->clearGraphs();

    const scon::Fields fields = readSConFields();
    const QString unusable = fields.firstProblem({scon::FieldVs, scon::FieldVcc, scon::FieldFsig,
                                                  scon::FieldVinMax, scon::FieldVinMin});
    if (!unusable.isEmpty()) {
        showSConNoLoop(QStringLiteral("!!! %1: the loop was not calculated !!!").arg(unusable));
        return;
    }
    const pwm part = findSwitching(ui->ampSelectorSCon->currentText());
    scon::LoopInput in;
    in.topology = topology;
    in.fullBridge = ui->FBPower->isChecked();
    in.values = sconValues();
    in.vs = fields[scon::FieldVs];
    in.vcc = fields[scon::FieldVcc];
    in.fsigHz = fields[scon::FieldFsig];
    in.vinMax = fields[scon::FieldVinMax];
    in.vinMin = fields[scon::FieldVinMin];
    in.plant = sconPlant();
    const scon::LoopResult r = scon::analyseLoop(in, part);
    if (!r.problem.isEmpty()) {
        showSConNoLoop(r.problem);
        return;
    }

    ui->SConPeaking->setText(QString::number(r.peakingDb, 'g', 3) + QStringLiteral(" dB"));
    ui->SConPhase->setText(QString::number(r.phaseDeg, 'g', 3) + QString(QChar(0x00B0)));
    setEngLabel(r.peakHz, ui->SConFreqPeak, QStringLiteral("Hz"));
    for (QLabel *label : {ui->SConPeaking, ui->SConPhase, ui->SConFreqPeak})
        eng::setResultRed(label, false);

    const QColor red(255, 0, 0), black(0, 0, 0);
    for (int i = 0; i < scon::RangeCount; ++i) {
        if (!r.written[i]) continue;
        sconRanges[i] = r.text[i];
        if (r.showLabel[i] && sconRangeLabels[i]) {
            sconRangeLabels[i]->setText(r.text[i]);
            sconRangeLabels[i]->setColor(r.known[i] ? black : red);
        }
    }
    if (sconRangeLabels[scon::PwmOut] && r.known[scon::PwmOut])
        sconRangeLabels[scon::PwmOut]->setColor(r.pwmOutRed ? red : black);
    if (topology == scon::Topology::Current1 && sconRangeLabels[scon::PwmOutCurrent] &&
        r.known[scon::PwmOutCurrent])
        sconRangeLabels[scon::PwmOutCurrent]->setColor(r.currentOutRed ? red : black);
    if (!r.rangeProblem.isEmpty()) {
        ui->SConNotes->setTextColor(Qt::red);
        ui->SConNotes->append(r.rangeProblem);
    }

    QCPGraph *graph = plot->addGraph();
    graph->setData(r.freqHz, r.gainDb, true);
    graph->setPen(QPen(QColor(0, 0, 255), 3));
    plot->replot();
    plot->xAxis->setRange(1, 1000000);
    // A flat response still gets a span to show it in.
    const double spread = r.gainMax - r.gainMin;
    const double span = spread > 1e-6 ? spread : 1.0;
    plot->yAxis->setRange(r.gainMin - 0.1 * span, r.gainMax + 0.1 * span);
    plot->replot();
}
