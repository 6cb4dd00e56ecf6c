// Stability page: the Auto - Compensate button's searches, run on the engine without drawing.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <QApplication>

void MainWindow::autoStabilize()
{
    const bool inverting = ui->StabInv->isChecked();
    const bool composite = ui->compositeCheckBox->isChecked();
    if (ui->CloadButton->isChecked() && !composite) {
        autoC();
    } else if (ui->CloadButton->isChecked()) {
        // The power stage is compensated as a non-inverting stage, the host in the
        // configuration the user chose.
        ui->StabNon->setChecked(true);
        ui->StabInv->setChecked(false);
        autoC();
        ui->StabNon->setChecked(!inverting);
        ui->StabInv->setChecked(inverting);
        autoCcomposite();
    } else if (ui->LloadButton->isChecked() && !composite) {
        autoL();
    } else if (ui->LloadButton->isChecked()) {
        autoL();
        autoLcomposite();
    }
}

void MainWindow::autoC()
{
    runAutoSearch(stab::LoopKind::Capacitive);
}

void MainWindow::autoL()
{
    runAutoSearch(stab::LoopKind::Inductive);
}

void MainWindow::autoCcomposite()
{
    runAutoSearch(stab::LoopKind::CompositeCapacitive);
}

void MainWindow::autoLcomposite()
{
    runAutoSearch(stab::LoopKind::CompositeInductive);
}

void MainWindow::runAutoSearch(stab::LoopKind kind)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();

    const bool composite =
        kind == stab::LoopKind::CompositeCapacitive || kind == stab::LoopKind::CompositeInductive;
    const amp part = findLinear(ui->AmpSelectorStab->currentText());
    const stab::AutoCompResult found =
        stab::autoCompensate(kind, readBodeInput(composite), part, ui->StabSlider->value());

    ui->StabSlider->setValue(found.sliderValue);
    setStabCircuitValues(found.values);
    if (!composite) CompOption = found.compOption;
    refreshStab();

    QApplication::restoreOverrideCursor();
    QApplication::processEvents();
}
