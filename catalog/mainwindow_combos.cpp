// The part combo boxes of the pages and the switch that brings pre-released parts in.
#include "app/mainwindow.h"

#include "catalog/partlists.h"
#include "ui_mainwindow.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace {

// Replaces the items and keeps the shown part when the new list still has it. Signals stay
// blocked: a page whose part is unchanged has nothing to recompute, and during construction
// the pages behind these boxes are not set up yet.
bool refill(QComboBox *combo, const QStringList &names)
{
    const QString before = combo->currentText();
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(names);
    const int kept = combo->findText(before, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(kept >= 0 ? kept : (names.isEmpty() ? -1 : 0));
    return combo->currentText() != before;
}

} // namespace

QList<QComboBox *> MainWindow::refillPartCombos()
{
    const catalog::PartComboLists lists = catalog::partComboLists(ampVector, pwmVector);
    const std::pair<QComboBox *, const QStringList *> boxes[] = {
        {ui->AmpSelecterSOA, &lists.linear},     {ui->AmpSelectorStab, &lists.linear},
        {ui->IHCPampSelector, &lists.linear},    {ui->ampSelectorPower, &lists.powerPage},
        {ui->ampSelectorFilter, &lists.allPwm},  {ui->ampSelectorSCon, &lists.control},
        {ui->P3ampSelector, &lists.threePhase},  {ui->HSpart, &lists.heatsinkPage}};
    QList<QComboBox *> changed;
    for (const auto &box : boxes) {
        if (refill(box.first, *box.second))
            changed << box.first;
    }
    return changed;
}

void MainWindow::fillAllDropDownMenus()
{
    refillPartCombos();
}

void MainWindow::on_includePreReleased_clicked(bool checked)
{
    amp().readFile(ampVector, checked);
    pwm().readFile(pwmVector, 0, checked);
    packageStyle().readFile(packageVector);
    heatsink().readFile(heatsinkVector);
    // A page whose part left the list shows another part now: it recomputes as if the user
    // had chosen that part (pages follow their box through one of these two signals).
    for (QComboBox *combo : refillPartCombos()) {
        emit combo->currentIndexChanged(combo->currentIndex());
        emit combo->activated(combo->currentIndex());
    }
}
