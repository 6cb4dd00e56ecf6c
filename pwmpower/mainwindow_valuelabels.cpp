// Value labels of the PWM schematics and the one-value dialog behind them, shared by the power
// page's matching network and load and by the PWM control wizard's schematic.
#include "app/mainwindow.h"

#include "pwmpower/valuelabel.h"
#include "values/engvalues.h"

#include <QInputDialog>
#include <QLineEdit>
#include <qcustomplot.h>

namespace {

// The text a label was written from, exactly as typed, with the text it was shown as: a
// cancelled dialog hands the typed text back, since the label's own text (tidied, with its
// unit) does not always read back to it. It holds while the label still shows that text.
const char *const kStoredText = "storedText";
const char *const kShownText = "shownText";

void remember(QCPItemText *item, const QString &typed)
{
    item->setProperty(kStoredText, typed);
    item->setProperty(kShownText, item->text());
}

bool remembered(const QCPItemText *item)
{
    return item->property(kStoredText).isValid() &&
           item->property(kShownText).toString() == item->text();
}

} // namespace

void MainWindow::displayItemText(QString text, QCPItemText *item, QString type, QCPItemText *item2)
{
    parseItemValue(text, item); // black, or red when the text is no value
    bool valid = true;
    const QString shown = pwmpower::valueLabelText(text, type, &valid);
    if (!valid) item->setColor(QColor(255, 0, 0));
    item->setText(shown);
    remember(item, text);
    if (item2) { // the twin repeats the text, not the colour
        item2->setText(shown);
        remember(item2, text);
    }
}

void MainWindow::displayNoResultItem(const QString &text, QCPItemText *item)
{
    item->setText(eng::noResultText());
    item->setColor(QColor(255, 0, 0));
    remember(item, text);
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
    } else if (remembered(item)) {
        answer = item->property(kStoredText).toString(); // nothing new: the text as it was
    } else {
        // A label not written from a stored text: store back what it shows, without the unit.
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
