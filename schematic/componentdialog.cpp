// The "Change Value & Label" dialog of a schematic component.
#include "schematic/component2.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

void component2::editComponentDialog()
{
    QDialog dialog(parentPlot()->parentWidget(), Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    dialog.setWindowTitle(QStringLiteral("Change Value & Label"));
    auto *form = new QFormLayout(&dialog);

    auto *showValueBox = new QCheckBox(QStringLiteral("Show Value: "), &dialog);
    showValueBox->setObjectName(QStringLiteral("showValueBox"));
    showValueBox->setChecked(valueVisible);
    auto *valueEdit = new QLineEdit(value, &dialog);
    valueEdit->setObjectName(QStringLiteral("valueEdit"));
    form->addRow(showValueBox, valueEdit);

    auto *showLabelBox = new QCheckBox(QStringLiteral("Show Label: "), &dialog);
    showLabelBox->setObjectName(QStringLiteral("showLabelBox"));
    showLabelBox->setChecked(labelVisible);
    auto *labelEdit = new QLineEdit(label, &dialog);
    labelEdit->setObjectName(QStringLiteral("labelEdit"));
    form->addRow(showLabelBox, labelEdit);

    auto *deleteButton = new QPushButton(QStringLiteral("Delete"), &dialog);
    deleteButton->setObjectName(QStringLiteral("deleteButton"));
    // Not the default button: Return in a field must mean OK, never Delete.
    deleteButton->setAutoDefault(false);
    form->addRow(deleteButton);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                         Qt::Horizontal, &dialog);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    form->addRow(buttons);

    valueEdit->selectAll();
    valueEdit->setFocus();

    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // Delete acts on the press of the button; the component is destroyed before the dialog
    // closes, so after exec() only the guard below may tell whether it still exists.
    connect(deleteButton, &QPushButton::pressed, this, &component2::removeComponent);
    connect(deleteButton, &QPushButton::pressed, &dialog, &QDialog::reject);

    QPointer<component2> self(this);
    const int result = dialog.exec();
    if (!self || result != QDialog::Accepted) return;

    if (!valueEdit->text().isEmpty()) setValue(valueEdit->text());
    showValue(showValueBox->isChecked());
    if (!labelEdit->text().isEmpty()) setLabel(labelEdit->text());
    showLabel(showLabelBox->isChecked());
}
