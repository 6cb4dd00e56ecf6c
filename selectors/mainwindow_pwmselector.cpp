// PWM product selector page: the table of PWM amplifiers, the filter that applies the
// requirement, the selection of a row and the page's slots.
#include "app/mainwindow.h"

#include "selectors/pwmselector.h"
#include "selectors/selectortable.h"
#include "ui_mainwindow.h"

#include <QStandardItemModel>
#include <QTableView>

#include <cmath>

using selectors::PwmRow;
using selectors::tableCell;
using selectors::Verdict;

namespace {

enum PwmColumn {
    colIndex = 0,
    colName = 1,
    colPrice = 11,
};

QStringList pwmHeaders()
{
    return {QStringLiteral("i"),
            QStringLiteral("Name"),
            QStringLiteral("Output Type"),
            QStringLiteral("Vs max (V)"),
            QStringLiteral("I_Continuous (A)"),
            QStringLiteral("I_Peak (A)"),
            QStringLiteral("Max Output Voltage (Vpeak)"),
            QStringLiteral("Max Switching Frequency (kHz)"),
            QStringLiteral("Max Output Bandwidth (kHz)"),
            QStringLiteral("Max Internal Power Diss. (W)"),
            QStringLiteral("Package Style"),
            QStringLiteral("Relative Price - 10/7/16 Digikey USD")};
}

QList<QStandardItem *> pwmCells(const PwmRow &r)
{
    return {tableCell(r.index),
            tableCell(r.shownName, r.tintName),
            tableCell(r.outputType),
            tableCell(r.vsMaxV),
            tableCell(r.currentA, r.tintCurrent),
            tableCell(r.peakCurrentA),
            tableCell(r.outputVpk, r.tintVoltage),
            tableCell(r.fswMaxKHz, r.tintFrequency),
            tableCell(r.bandwidthKHz, r.tintFrequency),
            tableCell(r.pdMaxW),
            tableCell(r.package),
            tableCell(r.relativePrice)};
}

} // namespace

// Rebuilds the table from rows in list order, hides the hidden ones and sorts by price.
static void showPwmRows(MainWindow *window, const QVector<PwmRow> &rows)
{
    QStandardItemModel *model = window->SPSmodel;
    QTableView *view = window->ui->pwmTable;
    selectors::resetTableModel(model, pwmHeaders());
    for (const PwmRow &row : rows)
        model->appendRow(pwmCells(row));
    selectors::showTableModel(view, model, {colIndex, colPrice});
    for (int row = 0; row < rows.size(); ++row)
        view->setRowHidden(row, rows.at(row).verdict == Verdict::Hidden);
    selectors::sortTable(view, colPrice);
    // A refill keeps the selection model, so this connects only the first time.
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, window,
                     &MainWindow::pwmTableRowChange, Qt::UniqueConnection);
}

void MainWindow::FillInPwmTable()
{
    showPwmRows(this, selectors::pwmCatalogRows(pwmVector, packageVector));
}

// Builds the table from the requirement at once rather than filling it first and converting
// the rows afterwards; the rows come out the same.
void MainWindow::EliminatePWM()
{
    selectors::PwmRequirement req;
    req.currentA = std::fabs(parseLineEdit(ui->SPScurrent, QStringLiteral("R")));
    req.voltageV = std::fabs(parseLineEdit(ui->SPSvoltage, QStringLiteral("R")));
    req.frequencyKHz = std::fabs(parseLineEdit(ui->SPSfrequency, QStringLiteral("R")));
    req.relaxPercent = ui->SPSrelax->value();
    req.showParallel = ui->SPSparallelCheckBox->isChecked();
    req.maxParallel = ui->SPSnumAmps->value();
    QVector<PwmRow> rows = selectors::selectPwm(pwmVector, packageVector, req);
    selectors::keepCatalogFiguresWhenHidden(rows,
                                            selectors::pwmCatalogRows(pwmVector, packageVector));
    showPwmRows(this, rows);
}

void MainWindow::refreshSPS()
{
    designModified = true;
    EliminatePWM();
    // The cheapest part shown becomes the chosen one; none when every row is hidden.
    const QModelIndex cheapest = SPSmodel->index(selectors::firstShownRow(ui->pwmTable), colName);
    ui->pwmTable->setCurrentIndex(cheapest);
    SPSselectionChange(cheapest);
}

void MainWindow::SPSselectionChange(QModelIndex index)
{
    const QModelIndex nameIndex = SPSmodel->index(index.row(), colName);
    ui->pwmTable->setCurrentIndex(nameIndex);
    const QString name = selectors::plainPartName(nameIndex.data(Qt::EditRole).toString());
    for (const pwm &part : qAsConst(pwmVector))
        if (part.getAmpName() == name) selectedPwm = part;

    ui->SPSimage->setStyleSheet(QStringLiteral("image: url(:/KestLinear/") +
                                selectedPwm.getPackageStyle() + QStringLiteral(".JPG)"));
    ui->SPSname->setText(selectors::linkText(selectedPwm.getSiteLink(), name));
    ui->SPSname->setTextFormat(Qt::RichText);
}

void MainWindow::pwmTableRowChange(QModelIndex index, QModelIndex index2)
{
    Q_UNUSED(index2)
    SPSselectionChange(index);
}

void MainWindow::on_SPScurrent_editingFinished()
{
    refreshSPS();
}

void MainWindow::on_SPSvoltage_editingFinished()
{
    refreshSPS();
}

void MainWindow::on_SPSfrequency_editingFinished()
{
    refreshSPS();
}

void MainWindow::on_SPSnumAmps_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshSPS();
}

void MainWindow::on_SPSparallelCheckBox_clicked()
{
    refreshSPS();
}

void MainWindow::on_SPSrelax_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshSPS();
}

void MainWindow::on_SPSsortPrice_clicked()
{
    selectors::sortTable(ui->pwmTable, colPrice);
}

void MainWindow::on_SPSresetButton_clicked()
{
    ui->SPScurrent->setText(QStringLiteral("0"));
    ui->SPSvoltage->setText(QStringLiteral("0"));
    ui->SPSfrequency->setText(QStringLiteral("0"));
    ui->SPSparallelCheckBox->setChecked(false);
    ui->SPSnumAmps->setValue(3);
    ui->SPSrelax->setValue(20);
    refreshSPS();
}
