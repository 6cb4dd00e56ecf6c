// Value labels of the PWM schematics and the one-value dialog behind them, shared by the power
// page's matching network and load and by the PWM control wizard's schematic.
#include "app/mainwindow.h"

#include "pwmpower/valuelabel.h"

#include <QInputDialog>
#include <QLineEdit>
#include <qcustomplot.h>

void MainWindow::displayItemText(QString text, QCPItemText *item, QString type, QCPItemText *item2)
{
    parseItemValue(text, item); // black, or red when the text is no value
    const QString shown = pwmpower::valueLabelText(text, type);
    item->setText(shown);
    if (item2) item2->setText(shown); // the twin repeats the text, not the colour
}

QString MainWindow::changeSConValue(QCPItemText *item, QString type, QCPItemText *item2)
{
    bool ok = false;
    const QString typed =
        QInputDialog::getText(this, tr("New Value"), tr("Enter as 470u, 2.2k, open, short, ..."),
                              QLineEdit::Normal, QString(), &ok);
    QString answer;
    if (ok && !typed.isEmpty()) {
        answer = typed;
        displayItemText(typed, item, type, item2);
    } else {
        // Nothing new: store back what the label shows, without the unit it was given.
        answer = item->text();
        parseItemValue(answer, item);
        if (item->color() == QColor(255, 0, 0)) {
            answer.chop(1);
            parseItemValue(answer, item);
        }
    }
    if (item->parentPlot()) item->parentPlot()->replot();
    return answer;
}
