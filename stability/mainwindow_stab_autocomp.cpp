// Stability page: the Auto - Compensate button's searches, run on the engine without drawing.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <QApplication>
#include <QSignalBlocker>

namespace {

const char *const kNoBetterCompensation =
    "Auto - Compensate found no better compensation: the circuit is unchanged.";
const char *const kOnlyMarginal =
    "Auto - Compensate found no better compensation than a MARGINALLY STABLE one.";

} // namespace

void MainWindow::autoStabilize()
{
    if (!ui->CloadButton->isChecked() && !ui->LloadButton->isChecked()) return;
    guardedAutoSearch([this] {
        const bool inverting = ui->StabInv->isChecked();
        const bool composite = ui->compositeCheckBox->isChecked();
        if (ui->CloadButton->isChecked() && !composite)
            return runAutoSearch(stab::LoopKind::Capacitive);
        if (ui->CloadButton->isChecked()) {
            // The power stage is compensated as a non-inverting stage, the host in the
            // configuration the user chose. The final refresh draws what the toggles would.
            {
                const QSignalBlocker blockInv(ui->StabInv), blockNon(ui->StabNon);
                ui->StabNon->setChecked(true);
                ui->StabInv->setChecked(false);
                runAutoSearch(stab::LoopKind::Capacitive);
                ui->StabNon->setChecked(!inverting);
                ui->StabInv->setChecked(inverting);
            }
            return runAutoSearch(stab::LoopKind::CompositeCapacitive);
        }
        if (!composite) return runAutoSearch(stab::LoopKind::Inductive);
        runAutoSearch(stab::LoopKind::Inductive);
        return runAutoSearch(stab::LoopKind::CompositeInductive);
    });
}

void MainWindow::autoC()
{
    guardedAutoSearch([this] { return runAutoSearch(stab::LoopKind::Capacitive); });
}

void MainWindow::autoL()
{
    guardedAutoSearch([this] { return runAutoSearch(stab::LoopKind::Inductive); });
}

void MainWindow::autoCcomposite()
{
    guardedAutoSearch([this] { return runAutoSearch(stab::LoopKind::CompositeCapacitive); });
}

void MainWindow::autoLcomposite()
{
    guardedAutoSearch([this] { return runAutoSearch(stab::LoopKind::CompositeInductive); });
}

stab::LoopKind MainWindow::shownLoopKind() const
{
    const bool composite = ui->compositeCheckBox->isChecked();
    if (ui->CloadButton->isChecked())
        return composite ? stab::LoopKind::CompositeCapacitive : stab::LoopKind::Capacitive;
    return composite ? stab::LoopKind::CompositeInductive : stab::LoopKind::Inductive;
}

QString MainWindow::shownVerdict()
{
    const stab::LoopKind kind = shownLoopKind();
    const bool composite =
        kind == stab::LoopKind::CompositeCapacitive || kind == stab::LoopKind::CompositeInductive;
    stab::BodeInput in = readBodeInput(composite);
    in.report = false;
    return stab::runLoop(kind, in, findLinear(ui->AmpSelectorStab->currentText())).verdict;
}

// A search may only improve the circuit: when its last search accepts nothing, or the loop the
// page shows ends with a worse verdict than it started with, the values, the option and the
// slider are put back.
void MainWindow::guardedAutoSearch(const std::function<bool()> &searches)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();

    const stab::CircuitValues startValues = stabCircuitValues();
    const int startOption = CompOption;
    const int startSlider = ui->StabSlider->value();
    const int startRank = stab::verdictRank(shownVerdict());

    const bool accepted = searches();
    const QString verdict = shownVerdict();
    const bool worse = stab::verdictRank(verdict) < startRank;
    if (!accepted || worse) {
        setStabCircuitValues(startValues);
        CompOption = startOption;
        ui->StabSlider->setValue(startSlider);
    }
    refreshStab();
    if (!accepted || worse)
        ui->StabilityDetails->append(QString::fromLatin1(kNoBetterCompensation));
    else if (verdict == QLatin1String("MARGINALLY STABLE"))
        ui->StabilityDetails->append(QString::fromLatin1(kOnlyMarginal));

    QApplication::restoreOverrideCursor();
    QApplication::processEvents();
}

bool MainWindow::runAutoSearch(stab::LoopKind kind)
{
    const bool composite =
        kind == stab::LoopKind::CompositeCapacitive || kind == stab::LoopKind::CompositeInductive;
    const amp part = findLinear(ui->AmpSelectorStab->currentText());
    const stab::AutoCompResult found =
        stab::autoCompensate(kind, readBodeInput(composite), part, ui->StabSlider->value());

    ui->StabSlider->setValue(found.sliderValue);
    setStabCircuitValues(found.values);
    if (!composite) CompOption = found.compOption;
    return found.accepted;
}
