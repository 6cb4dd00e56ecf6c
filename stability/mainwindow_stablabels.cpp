// The value labels that the stability, SOA supply and Howland pump schematics share: how a
// label shows its value, and the dialog that asks for a new one.
#include "app/mainwindow.h"

#include "stability/stablabel.h"

#include <QInputDialog>
#include <QLineEdit>
#include <qcustomplot.h>

void MainWindow::displayStabText(QString text, QCPItemText *item, QString label, QString type)
{
    const double value = parseItemValue(text, item); // also colours the item
    item->setText(label + QLatin1Char('\n') + stab::valueDisplay(text, value, type));
}

QString MainWindow::changeStabValue(QCPItemText *item, QString label, QString type, QString oldText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(this, tr("New Value"), tr("Enter as 470u, 2.2k, open, short, ..."),
                              QLineEdit::Normal, QString(), &ok);
    if (!ok || text.isEmpty()) return oldText;
    displayStabText(text, item, label, type);
    return text;
}
