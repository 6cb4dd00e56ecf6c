// Step 3 of the wizard: the automatic component values.
#include "app/mainwindow.h"

#include "pwmcontrol/sconsuggest.h"
#include "ui_mainwindow.h"

#include <QMessageBox>

void MainWindow::suggestSCon()
{
    designModified = true;
    if (ui->V1button->isChecked())
        suggestV1();
    else if (ui->V2button->isChecked())
        suggestV2();
    else if (ui->I1button->isChecked())
        suggestI1();
    else
        suggestI2();
}

void MainWindow::suggestV1()
{
    sconSuggested = suggestSConFor(scon::Topology::Voltage1);
}

void MainWindow::suggestV2()
{
    sconSuggested = suggestSConFor(scon::Topology::Voltage2);
}

void MainWindow::suggestI1()
{
    sconSuggested = suggestSConFor(scon::Topology::Current1);
}

void MainWindow::suggestI2()
{
    sconSuggested = suggestSConFor(scon::Topology::Current2);
}

bool MainWindow::suggestSConFor(scon::Topology topology)
{
    const scon::Fields fields = readSConFields();
    QString problem = fields.firstProblem({scon::FieldVs, scon::FieldVcc, scon::FieldFsw,
                                           scon::FieldFsig, scon::FieldVinMax, scon::FieldVinMin,
                                           scon::FieldOutMax, scon::FieldOutMin});
    scon::SuggestResult r;
    if (problem.isEmpty()) {
        const pwm part = findSwitching(ui->ampSelectorSCon->currentText());
        scon::SuggestInput in;
        in.topology = topology;
        in.fullBridge = ui->FBPower->isChecked();
        in.fsigHz = fields[scon::FieldFsig];
        in.fswHz = fields[scon::FieldFsw];
        in.vinMax = fields[scon::FieldVinMax];
        in.vinMin = fields[scon::FieldVinMin];
        in.outMax = fields[scon::FieldOutMax];
        in.outMin = fields[scon::FieldOutMin];
        in.vs = fields[scon::FieldVs];
        in.vcc = fields[scon::FieldVcc];
        in.values = sconValues();
        in.peakText = ui->SConFreqPeak->text();
        in.plant = sconPlant();
        r = scon::suggest(in, part);
        problem = r.problem;
    } else {
        problem += QStringLiteral(": no values were suggested.");
    }

    if (!problem.isEmpty()) {
        // The circuit keeps its values; the user is on step 3, where the notes box is not.
        QMessageBox::warning(this, QStringLiteral("Warning"), problem, QMessageBox::Ok);
        return false;
    }
    for (const auto &entry : r.stored)
        *sconValue(entry.first) = entry.second;
    drawSConSchematic();
    refreshSCon();
    return true;
}
