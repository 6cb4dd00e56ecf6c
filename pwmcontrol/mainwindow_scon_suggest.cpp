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
    const pwm part = findSwitching(ui->ampSelectorSCon->currentText());
    scon::SuggestInput in;
    in.topology = topology;
    in.fullBridge = ui->FBPower->isChecked();
    in.fsigHz = parseLineEdit(ui->SConFreq, QStringLiteral("R"));
    in.fswHz = parseLineEdit(ui->SConFsw, QStringLiteral("R"));
    in.vinMax = parseLineEdit(ui->SConVinMax, QStringLiteral("R"));
    in.vinMin = parseLineEdit(ui->SConVinMin, QStringLiteral("R"));
    in.outMax = parseLineEdit(ui->SConVoutMax, QStringLiteral("R"));
    in.outMin = parseLineEdit(ui->SConVoutMin, QStringLiteral("R"));
    in.vs = parseLineEdit(ui->SConVs, QStringLiteral("R"));
    in.vcc = parseLineEdit(ui->SConVcc, QStringLiteral("R"));
    in.values = sconValues();
    in.peakText = ui->SConFreqPeak->text();
    in.plant = sconPlant();
    const scon::SuggestResult r = scon::suggest(in, part);

    if (!r.problem.isEmpty()) {
        // The circuit keeps its values; the user is on step 3, where the notes box is not.
        QMessageBox::warning(this, QStringLiteral("Warning"), r.problem, QMessageBox::Ok);
        return false;
    }
    for (const auto &entry : r.stored)
        *sconValue(entry.first) = entry.second;
    drawSConSchematic();
    refreshSCon();
    return true;
}
