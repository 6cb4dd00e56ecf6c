// Stability page: editing the schematic. A click on a value label asks for the new value, the
// compensation capacitor chooses the compensation option (changeCcomp, shared with the pump
// page), and the page is refreshed.
#include "app/mainwindow.h"

#include "stability/stabschematic.h"
#include "ui_mainwindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <qcustomplot.h>

namespace {

const Qt::WindowFlags kNoteDialogFlags = Qt::WindowTitleHint | Qt::WindowSystemMenuHint;

} // namespace

void MainWindow::onStabSchItemClicked(QCPAbstractItem *item1, QMouseEvent *event1)
{
    Q_UNUSED(event1)
    // Labels are told apart by where they stand, so every label at the clicked place is edited.
    if (auto *clicked = qobject_cast<QCPItemText *>(item1)) {
        const QPointF at = clicked->position->coords();
        for (int slot : stab::stabClickOrder()) {
            QCPItemText *label = stabSchLabels[slot];
            if (!label || !stab::sameLabelPlace(label->position->coords(), at)) continue;
            if (slot == stab::kSlotCcomp) {
                CompOption =
                    changeCcomp(label, findLinear(ui->AmpSelectorStab->currentText()), CompOption);
            } else if (slot == stab::kSlotRcomp) {
                changeRcomp();
            } else {
                stab::CircuitValues values = stabCircuitValues();
                QString &text = values.*stab::stabLabelValue(slot);
                text = changeStabValue(label, stab::stabLabelCaption(slot),
                                       stab::stabLabelUnit(slot), text);
                setStabCircuitValues(values);
            }
        }
    }
    ui->StabSch->replot();
    refreshStab();
}

void MainWindow::changeRcomp()
{
    QDialog dialog(this, kNoteDialogFlags);
    dialog.setWindowTitle(QStringLiteral("Change Compensation Resistor"));
    auto *form = new QFormLayout(&dialog);
    form->addRow(new QLabel(QStringLiteral("R_COMP is paired with C_COMP. See Product Datasheet "
                                           "for details. Select C_COMP to alter compensation."),
                            &dialog));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Horizontal, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    form->addRow(buttons);
    dialog.exec();
}
