// The wizard's widgets: stepping between the pages, the edits of step 2 and the import from
// the PWM power page.
#include "app/mainwindow.h"

#include "pwmpower/filterdesign.h"
#include "ui_mainwindow.h"

#include <QMessageBox>

void MainWindow::on_V1button_clicked()
{
    SConDescription();
}

void MainWindow::on_V2button_clicked()
{
    SConDescription();
}

void MainWindow::on_I1button_clicked()
{
    SConDescription();
}

void MainWindow::on_I2button_clicked()
{
    SConDescription();
}

void MainWindow::on_NexttoStep2_clicked()
{
    ui->Page->setCurrentIndex(14);
    SConValidate();
}

void MainWindow::on_PrevtoStep1_clicked()
{
    ui->Page->setCurrentIndex(13);
    SConIcons();
}

void MainWindow::on_NexttoStep3_clicked()
{
    ui->Page->setCurrentIndex(15);
    drawSConSchematic();
    refreshSCon();
}

void MainWindow::on_PrevtoStep2_clicked()
{
    ui->Page->setCurrentIndex(14);
}

void MainWindow::on_SConHideBlocks_clicked()
{
    drawSConSchematic();
}

void MainWindow::on_ampSelectorSCon_activated(int)
{
    SConValidate();
}

void MainWindow::on_SConVinMax_editingFinished()
{
    SConValidate();
}

void MainWindow::on_SConVinMin_editingFinished()
{
    SConValidate();
}

void MainWindow::on_SConFreq_editingFinished()
{
    SConValidate();
}

void MainWindow::on_SConVs_editingFinished()
{
    SConValidate();
}

void MainWindow::on_SConVcc_editingFinished()
{
    SConValidate();
}

void MainWindow::on_SConFsw_editingFinished()
{
    SConValidate();
}

void MainWindow::on_SConVoutMax_editingFinished()
{
    SConValidate();
}

void MainWindow::on_SConVoutMin_editingFinished()
{
    SConValidate();
}

void MainWindow::on_SConMaxVs_clicked()
{
    // The list is filled from the catalog, so only an empty catalog leaves nothing to write.
    if (pwmVector.isEmpty()) return;
    setEngLineEdit(findSwitching(ui->ampSelectorSCon->currentText()).getVs_max(), ui->SConVs,
                   QString());
    SConValidate();
}

void MainWindow::on_SConTypVcc_clicked()
{
    if (pwmVector.isEmpty()) return;
    setEngLineEdit(findSwitching(ui->ampSelectorSCon->currentText()).getVcc_nom(), ui->SConVcc,
                   QString());
    SConValidate();
}

void MainWindow::on_SConMaxFsw_clicked()
{
    if (pwmVector.isEmpty()) return;
    setEngLineEdit(findSwitching(ui->ampSelectorSCon->currentText()).getFsw_max() * 1000,
                   ui->SConFsw, QString());
    SConValidate();
}

void MainWindow::on_ImportFromPWMPower_clicked()
{
    ui->SConFreq->setText(ui->FsigPWM->text());
    ui->SConVs->setText(ui->VsPWM->text());
    ui->SConVoutMax->setText(ui->PWMOut->text());
    ui->SConVoutMin->setText(ui->PWMOutMin->text());
    ui->SConFsw->setText(ui->FsPWM->text());
    // The wizard's list offers no digital part: such a part falls back to the first entry.
    // Any other part the list lacks (a half bridge) leaves the wizard's choice as it was.
    const pwm part = findSwitching(ui->ampSelectorPower->currentText());
    const int index = ui->ampSelectorSCon->findText(part.getAmpName(),
                                                    Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (part.getRamp() == QLatin1String("Digital"))
        ui->ampSelectorSCon->setCurrentIndex(0);
    else if (index >= 0)
        ui->ampSelectorSCon->setCurrentIndex(index);
    SConValidate();
    if (index < 0 || part.getRamp() == QLatin1String("Digital")) {
        ui->SConNotes->setTextColor(Qt::black);
        ui->SConNotes->append(pwmpower::partNotTakenOverNote(
            part.getAmpName(), ui->ampSelectorSCon->currentText()));
    }
}

void MainWindow::on_SConAutoButton_clicked()
{
    const double fsw = parseLineEdit(ui->SConFsw, QStringLiteral("R"));
    const double fsig = parseLineEdit(ui->SConFreq, QStringLiteral("R"));
    if (50 * fsig > fsw)
        QMessageBox::warning(this, QStringLiteral("Warning"),
                             QStringLiteral("Switching Frequency is less than 50 times Signal "
                                            "Frequency. Incorrect values may result."),
                             QMessageBox::Ok);
    suggestSCon();
    // The current loops size their voltage feedback from the peaking of the circuit the
    // first pass produced.
    if ((ui->I1button->isChecked() || ui->I2button->isChecked()) && sconSuggested) suggestSCon();
}
