// MainWindow's engineering-value members, kept for the pages that call them as members; the
// work is done by the free functions of values/engvalues.h and values/engwidgets.h.
#include "app/mainwindow.h"

#include "values/engwidgets.h"

QString MainWindow::number2String(double number)
{
    return eng::number2String(number);
}

double MainWindow::roundTo3Sig(double value)
{
    return eng::roundTo3Sig(value);
}

QString MainWindow::engString(double value, QString unit)
{
    return eng::engString(value, unit);
}

void MainWindow::setEngLabel(double value, QLabel *label, QString unit)
{
    eng::setEngLabel(value, label, unit);
}

void MainWindow::setEngLineEdit(double value, QLineEdit *edit, QString unit)
{
    eng::setEngLineEdit(value, edit, unit);
}

void MainWindow::setEngItemText(double value, QCPItemText *item, QString unit)
{
    eng::setEngItemText(value, item, unit);
}

double MainWindow::parseValue(const QString &text)
{
    return eng::parseValue(text);
}

double MainWindow::parseLineEdit(QLineEdit *edit, QString kind, bool *ok)
{
    return eng::parseLineEdit(edit, kind, ok);
}

double MainWindow::parseItemValue(QString text, QCPItemText *item)
{
    return eng::parseItemValue(text, item);
}
