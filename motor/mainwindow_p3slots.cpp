// The three-phase page's widget slots and the motor dialog's hand-over.
#include "app/mainwindow.h"

#include "motor/motordialog.h"
#include "ui_mainwindow.h"

void MainWindow::on_P3ampSelector_currentIndexChanged(int index)
{
    Q_UNUSED(index);
    refreshP3();
}

void MainWindow::on_P3commType_currentIndexChanged(int index)
{
    Q_UNUSED(index);
    refreshP3();
}

void MainWindow::on_P3Vs_editingFinished()
{
    refreshP3();
}

void MainWindow::on_P3Vcc_editingFinished()
{
    refreshP3();
}

void MainWindow::on_P3Fsw_editingFinished()
{
    refreshP3();
}

void MainWindow::on_P3Tambient_editingFinished()
{
    refreshP3();
}

void MainWindow::on_P3heatsink_editingFinished()
{
    refreshP3();
}

void MainWindow::on_P3startTime_editingFinished()
{
    refreshP3();
}

void MainWindow::on_P3endTime_editingFinished()
{
    refreshP3();
}

void MainWindow::on_P3removeDiode_clicked()
{
    refreshP3();
}

void MainWindow::on_P3removeSwitching_clicked()
{
    refreshP3();
}

void MainWindow::on_P3dispDC_clicked()
{
    P3refreshGraphs();
}

void MainWindow::on_P3useMaxVs_clicked()
{
    setEngLineEdit(findSwitching(ui->P3ampSelector->currentText()).getVs_max(), ui->P3Vs,
                   QString());
    refreshP3();
}

void MainWindow::on_P3useTypVcc_clicked()
{
    setEngLineEdit(findSwitching(ui->P3ampSelector->currentText()).getVcc_nom(), ui->P3Vcc,
                   QString());
    refreshP3();
}

void MainWindow::on_P3useMaxFsw_clicked()
{
    // The field is in kHz, as the catalog gives Fsw_max.
    setEngLineEdit(findSwitching(ui->P3ampSelector->currentText()).getFsw_max(), ui->P3Fsw,
                   QString());
    refreshP3();
}

void MainWindow::on_P3editMotor_clicked()
{
    openP3MotorDialog(1);
}

void MainWindow::on_P3editWaveform_clicked()
{
    openP3MotorDialog(0);
}

void MainWindow::on_P3downloadPWL_clicked()
{
    P3savePWL();
}

void MainWindow::openP3MotorDialog(int mode)
{
    auto *dialog = new P3motor(this);
    // Nothing reads a dialog after it closes; one stays alive per opening otherwise.
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    P3motorDialog = dialog;
    connect(dialog, &P3motor::sendMotorValues, this, &MainWindow::saveMotorValues);
    dialog->setMotorValues(
        ThreePhaseR, ThreePhaseL, ThreePhaseVemf, ThreePhasenPoles, ThreePhaseisDelta, mode,
        ThreePhaseControlVariable, ThreePhaseControlType, ThreePhaseConstantVariable,
        ThreePhaseControlAmplitude, ThreePhaseConstantAmplitude, ThreePhaseTimeVector.toVector(),
        ThreePhaseAmplitudeVector.toVector(), ThreePhaseisLinear, ThreePhaseCycleLength);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
}

void MainWindow::saveMotorValues(QString R, QString L, QString Vemf, int nPoles, bool isDelta,
                                 int controlVariable, int controlType, int constantVariable,
                                 QString controlAmplitude, QString constantAmplitude,
                                 QVector<QString> timeVector, QVector<QString> AmplitudeVector,
                                 bool isLinear, QString CycleLength)
{
    ThreePhaseR = R;
    ThreePhaseL = L;
    ThreePhaseVemf = Vemf;
    ThreePhaseisDelta = isDelta;
    ThreePhasenPoles = nPoles;
    ThreePhaseControlVariable = controlVariable;
    ThreePhaseControlType = controlType;
    ThreePhaseConstantVariable = constantVariable;
    ThreePhaseControlAmplitude = controlAmplitude;
    ThreePhaseConstantAmplitude = constantAmplitude;
    ThreePhaseTimeVector.clear();
    ThreePhaseAmplitudeVector.clear();
    for (int i = 0; i < timeVector.size(); ++i) {
        ThreePhaseTimeVector << timeVector[i];
        // The dialog sends lists of one length; a shorter value list reads as "0".
        ThreePhaseAmplitudeVector << AmplitudeVector.value(i, QStringLiteral("0"));
    }
    ThreePhaseisLinear = isLinear;
    ThreePhaseCycleLength = CycleLength;
    refreshP3();
}
