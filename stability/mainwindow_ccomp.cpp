// The compensation option chooser behind the C_COMP labels of the stability and pump
// schematics.
#include "app/mainwindow.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <qcustomplot.h>

int MainWindow::changeCcomp(QCPItemText *item, amp linear, int oldCompOption)
{
    QDialog dialog(this, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    dialog.setWindowTitle(QStringLiteral("Change Compensation Capacitor"));
    auto *form = new QFormLayout(&dialog);

    // Parts whose options also run with boost supplies list their capacitors twice; the
    // second half is marked.
    auto *options = new QComboBox(&dialog);
    options->setObjectName(QStringLiteral("CcompOptions"));
    const int n = linear.getSROptions();
    for (int i = 0; i < n; ++i) {
        const double c = linear.getCcomp(i);
        QString text = QString::number(c, 'g', 6);
        if (linear.getSRboost() != 0 && i >= n / 2)
            text += QStringLiteral(" + Boost Supplies");
        else if (c == 0)
            text += QStringLiteral(" (open)");
        options->addItem(text);
    }
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

    if (dialog.exec() != QDialog::Accepted) return oldCompOption;
    const int chosen = options->currentIndex();
    // A part without options leaves nothing to choose.
    if (chosen < 0) return oldCompOption;
    if (item)
        item->setText(QStringLiteral("C_COMP\n") +
                      QString::number(linear.getCcomp(chosen), 'g', 6) + QStringLiteral(" pF"));
    return chosen;
}
