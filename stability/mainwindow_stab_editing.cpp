// Stability page: editing the schematic. A click on a value label asks for the new value, the
// compensation capacitor chooses the compensation option, and the page is refreshed.
#include "app/mainwindow.h"

#include "stability/stabschematic.h"
#include "ui_mainwindow.h"

#include <QComboBox>
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

int MainWindow::changeCcomp(QCPItemText *item, amp linear, int oldCompOption)
{
    QDialog dialog(this, kNoteDialogFlags);
    dialog.setWindowTitle(QStringLiteral("Change Compensation Capacitor"));
    auto *form = new QFormLayout(&dialog);
    auto *options = new QComboBox(&dialog);
    options->setObjectName(QStringLiteral("CompOptionBox"));
    options->addItems(stab::compOptionEntries(linear));
    options->setCurrentIndex(oldCompOption);
    form->addRow(QStringLiteral("C_COMP (pF)"), options);
    form->addRow(new QLabel(QStringLiteral("More Compensation tends to increase Phase Margin "
                                           "\nat the expense of Slew Rate and Bandwidth."),
                            &dialog));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                         Qt::Horizontal, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);

    // A part without options leaves nothing to choose: keep what there was.
    if (dialog.exec() != QDialog::Accepted || options->currentIndex() < 0) return oldCompOption;
    const int chosen = options->currentIndex();
    if (item) item->setText(stab::ccompText(linear, chosen));
    return chosen;
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
