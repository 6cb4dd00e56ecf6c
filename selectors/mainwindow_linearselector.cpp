// Linear product selector page: the table of linear amplifiers, the filter that applies the
// requirement, the selection of a row, the hidden way to the staff page, and the page's slots.
#include "app/mainwindow.h"

#include "selectors/linearselector.h"
#include "selectors/selectortable.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"

#include <QStandardItemModel>
#include <QTableView>

#include <cmath>

using selectors::LinearRow;
using selectors::tableCell;
using selectors::Verdict;

namespace {

// Columns of the table; the list index and the price are hidden.
enum LinearColumn {
    colIndex = 0,
    colName = 1,
    colPrice = 11,
};

// Typed into the current field, this opens the staff page instead of selecting parts.
const QString staffAccessPhrase = QStringLiteral("howfarisrk42?");
constexpr int staffPage = 17;

QStringList linearHeaders()
{
    return {QStringLiteral("i"),
            QStringLiteral("Name"),
            QStringLiteral("Channels"),
            QStringLiteral("Vss max (V)"),
            QStringLiteral("I_Continuous (A)"),
            QStringLiteral("Max Output Swing* (Vp-p)"),
            QString::fromUtf8("Max Slew Rate (V/\u00b5s)"),
            QStringLiteral("Bandwidth @ V_out (kHz)"),
            QStringLiteral("Max I_Quiescent (mA)"),
            QStringLiteral("Max Internal Power Diss. (W)"),
            QStringLiteral("Package Style"),
            QStringLiteral("Relative Price - 10/3/16 Digikey USD")};
}

QList<QStandardItem *> linearCells(const LinearRow &r)
{
    return {tableCell(r.index),
            tableCell(r.shownName, r.tintName),
            tableCell(r.channels),
            tableCell(r.vssMaxV),
            tableCell(r.currentA, r.tintCurrent),
            tableCell(r.swingVpp, r.tintSwing),
            tableCell(r.slewRateVus, r.tintSlewRate),
            tableCell(r.bandwidthKHz, r.tintBandwidth),
            tableCell(r.iqMaxMA),
            tableCell(r.pdMaxW),
            tableCell(r.package),
            tableCell(r.relativePrice)};
}

} // namespace

// Rebuilds the table from rows in list order, hides the hidden ones and sorts by price.
static void showLinearRows(MainWindow *window, const QVector<LinearRow> &rows)
{
    QStandardItemModel *model = window->LPSmodel;
    QTableView *view = window->ui->selectorTable;
    selectors::resetTableModel(model, linearHeaders());
    for (const LinearRow &row : rows)
        model->appendRow(linearCells(row));
    selectors::showTableModel(view, model, {colIndex, colPrice});
    for (int row = 0; row < rows.size(); ++row)
        view->setRowHidden(row, rows.at(row).verdict == Verdict::Hidden);
    selectors::sortTable(view, colPrice);
    // A refill keeps the selection model, so this connects only the first time.
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, window,
                     &MainWindow::selectorTableRowChange, Qt::UniqueConnection);
}

void MainWindow::FillInTable()
{
    showLinearRows(this, selectors::linearCatalogRows(ampVector, packageVector));
}

// Builds the table from the requirement at once rather than filling it first and converting
// the rows afterwards; the rows come out the same.
void MainWindow::Eliminate()
{
    selectors::LinearRequirement req;
    req.currentA = std::fabs(parseLineEdit(ui->LPScurrent, QStringLiteral("R")));
    req.vpp = std::fabs(parseLineEdit(ui->LPSVpp, QStringLiteral("R")));
    req.relaxPercent = ui->LPSRelax->value();
    if (ui->LPSSRButton->isChecked()) {
        req.rate = selectors::RateInput::SlewRate;
        req.slewRateVus = std::fabs(parseLineEdit(ui->LPSSR, QStringLiteral("R")));
    } else if (ui->LPSFreqButton->isChecked()) {
        req.rate = selectors::RateInput::Frequency;
        req.frequencyKHz = parseLineEdit(ui->LPSFreq, QStringLiteral("R"));
    } else {
        req.rate = selectors::RateInput::None;
    }
    req.showBridge = ui->LPSBridgeCheckBox->isChecked();
    req.showParallel = ui->LPSParallelCheckBox->isChecked();
    req.maxParallel = ui->LPSNumAmps->value();

    selectors::LinearSelection sel = selectors::selectLinear(ampVector, packageVector, req);
    // The other rate field shows what the typed one allows or needs; with no swing to slew
    // (Vpp 0) any frequency is allowed, and there is no figure to show. Nor is there from an
    // "open" entry, or for a rate at or beyond the open-circuit value.
    const auto rateText = [](double v) {
        return std::fabs(v) < infiniteValue ? QString::number(v, 'g', 6) : eng::noResultText();
    };
    if (req.rate == selectors::RateInput::SlewRate)
        ui->LPSFreq->setText(rateText(sel.frequencyKHz));
    else if (req.rate == selectors::RateInput::Frequency)
        ui->LPSSR->setText(rateText(sel.slewRateVus));

    selectors::keepCatalogFiguresWhenHidden(
        sel.rows, selectors::linearCatalogRows(ampVector, packageVector));
    showLinearRows(this, sel.rows);
}

void MainWindow::refreshLPS()
{
    designModified = true;
    if (ui->LPScurrent->text().toLower() == staffAccessPhrase) {
        ui->Page->setCurrentIndex(staffPage);
        ui->LPScurrent->setText(QStringLiteral("0"));
        return;
    }
    Eliminate();
    // The cheapest part shown becomes the chosen one; none when every row is hidden.
    const QModelIndex cheapest =
        LPSmodel->index(selectors::firstShownRow(ui->selectorTable), colName);
    ui->selectorTable->setCurrentIndex(cheapest);
    LPSselectionChange(cheapest);
}

void MainWindow::LPSselectionChange(QModelIndex index)
{
    const QModelIndex nameIndex = LPSmodel->index(index.row(), colName);
    ui->selectorTable->setCurrentIndex(nameIndex);
    const QString name = selectors::plainPartName(nameIndex.data(Qt::EditRole).toString());
    for (const amp &part : qAsConst(ampVector))
        if (part.getAmpName() == name) selectedAmp = part;

    ui->LPSimage->setStyleSheet(QStringLiteral("image: url(:/KestLinear/") +
                                selectedAmp.getPackageStyle() + QStringLiteral(".JPG)"));
    ui->LPSLinearName->setText(selectors::linkText(selectedAmp.getSiteLink(), name));
    ui->LPSLinearName->setTextFormat(Qt::RichText);
}

void MainWindow::selectorTableRowChange(QModelIndex index, QModelIndex index2)
{
    Q_UNUSED(index2)
    LPSselectionChange(index);
}

void MainWindow::on_LPScurrent_editingFinished()
{
    refreshLPS();
}

void MainWindow::on_LPSVpp_editingFinished()
{
    refreshLPS();
}

void MainWindow::on_LPSFreqButton_toggled(bool checked)
{
    if (!checked) {
        ui->LPSFreq->setEnabled(false);
        ui->LPSSR->setEnabled(true);
    }
    refreshLPS();
}

void MainWindow::on_LPSSRButton_toggled(bool checked)
{
    // The frequency button's slot refreshes once the fields are switched.
    if (!checked) {
        ui->LPSSR->setEnabled(false);
        ui->LPSFreq->setEnabled(true);
    }
}

void MainWindow::on_LPSFreq_editingFinished()
{
    refreshLPS();
}

void MainWindow::on_LPSSR_editingFinished()
{
    refreshLPS();
}

void MainWindow::on_LPSBridgeCheckBox_clicked()
{
    refreshLPS();
}

void MainWindow::on_LPSParallelCheckBox_clicked()
{
    refreshLPS();
}

void MainWindow::on_LPSNumAmps_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshLPS();
}

void MainWindow::on_LPSRelax_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshLPS();
}

void MainWindow::on_sortPrice_clicked()
{
    selectors::sortTable(ui->selectorTable, colPrice);
}

void MainWindow::on_LPSresetButton_clicked()
{
    ui->LPScurrent->setText(QStringLiteral("0"));
    ui->LPSVpp->setText(QStringLiteral("0"));
    ui->LPSFreq->setText(QStringLiteral("0"));
    ui->LPSSR->setText(QStringLiteral("0"));
    ui->LPSBridgeCheckBox->setChecked(false);
    ui->LPSParallelCheckBox->setChecked(false);
    ui->LPSNumAmps->setValue(3);
    ui->LPSRelax->setValue(20);
    refreshLPS();
}
