// Worked examples of the three-phase motor page.
#include "app/mainwindow.h"

#include "examples/exampletable.h"
#include "ui_mainwindow.h"

void MainWindow::applyThreePhaseExample(const examples::ThreePhaseSetup &s)
{
    ui->Page->setCurrentIndex(10);
    ui->P3ampSelector->setCurrentText(QStringLiteral("NV335"));
    ui->P3Vs->setText(s.vs);
    ui->P3Vcc->setText(s.vcc);
    ui->P3Fsw->setText(s.fsw);
    ui->P3commType->setCurrentIndex(0);
    ui->P3outputTabs->setCurrentIndex(s.outputTab);
    ui->P3Tambient->setText(QStringLiteral("25"));
    ui->P3heatsink->setText(s.heatsink);
    ui->P3TIM->setText(s.tim);
    if (s.uncheckDisplayDC) ui->P3dispDC->setChecked(false);
    ui->P3removeDiode->setChecked(false);
    ui->P3removeSwitching->setChecked(false);
    ui->P3startTime->setText(s.start);
    ui->P3endTime->setText(s.end);

    ThreePhaseR = s.r;
    ThreePhaseL = s.l;
    ThreePhaseVemf = s.vemf;
    ThreePhasenPoles = s.poles;
    ThreePhaseisDelta = s.delta;
    ThreePhaseControlVariable = s.controlVariable;
    ThreePhaseControlType = s.controlType;
    ThreePhaseConstantVariable = s.constantVariable;
    ThreePhaseControlAmplitude = s.controlAmplitude;
    ThreePhaseConstantAmplitude = s.constantAmplitude;
    ThreePhaseisLinear = false;

    ThreePhaseTimeVector = s.times;
    ThreePhaseAmplitudeVector = s.amplitudes;
    P3graphables = s.graphs;
    refreshP3();
}
