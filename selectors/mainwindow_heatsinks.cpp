// Heatsink selector page: the package choices, the table in English or metric units, the
// filter, the selection of a row, the unit switch and the page's slots. The curve and the
// required flow are in mainwindow_heatsinkplot.cpp.
#include "app/mainwindow.h"

#include "selectors/heatsinkselector.h"
#include "selectors/selectortable.h"
#include "ui_mainwindow.h"
#include "values/engwidgets.h"

#include <QStandardItemModel>
#include <QTableView>

#include <cmath>

using selectors::HeatsinkRow;
using selectors::tableCell;
using selectors::Verdict;

namespace {

enum HeatsinkColumn {
    colIndex = 0,
    colName = 1,
    colPrice = 7,
};

QStringList heatsinkHeaders(bool metric)
{
    return {QStringLiteral("i"),
            QStringLiteral("HeatSink"),
            QString::fromUtf8("Natural R_\u03b8 (\u00b0C/W)"),
            metric ? QStringLiteral("H (mm)") : QStringLiteral("H (in)"),
            metric ? QStringLiteral("L (mm)") : QStringLiteral("L (in)"),
            metric ? QStringLiteral("W (mm)") : QStringLiteral("W (in)"),
            metric ? QStringLiteral("Weight (g)") : QStringLiteral("Weight (oz)"),
            QStringLiteral("Relative Price - 3/15/17 TTL USD")};
}

QList<QStandardItem *> heatsinkCells(const HeatsinkRow &r)
{
    return {tableCell(r.index),
            tableCell(r.name),
            tableCell(r.naturalTheta, r.tintTheta),
            tableCell(r.height, r.tintHeight),
            tableCell(r.length, r.tintLength),
            tableCell(r.width, r.tintWidth),
            tableCell(r.weight, r.tintWeight),
            tableCell(r.relativePrice)};
}

} // namespace

// Rebuilds the table in the given units from rows in list order, hides the hidden ones and
// sorts by price; the unit labels of the page follow the table.
static void showHeatsinkRows(MainWindow *window, const QVector<HeatsinkRow> &rows, bool metric)
{
    Ui_MainWindow *ui = window->ui;
    QStandardItemModel *model = window->HSmodel;
    selectors::resetTableModel(model, heatsinkHeaders(metric));

    ui->HSHunit->setText(metric ? QStringLiteral("mm (Normal to PCB)")
                                : QStringLiteral("in (Normal to PCB)"));
    ui->HSLunit->setText(metric ? QStringLiteral("mm") : QStringLiteral("in"));
    ui->HSWunit->setText(metric ? QStringLiteral("mm") : QStringLiteral("in"));
    ui->HSWeightUnit->setText(metric ? QStringLiteral("g") : QStringLiteral("oz"));
    ui->HSfanCirc->setText(metric ? QStringLiteral("Diameter (mm)")
                                  : QStringLiteral("Diameter (in)"));
    ui->HSfanRect->setText(metric ? QStringLiteral("Rectangular (mm)")
                                  : QStringLiteral("Rectangular (in)"));

    for (const HeatsinkRow &row : rows)
        model->appendRow(heatsinkCells(row));
    selectors::showTableModel(ui->HStable, model, {colIndex, colPrice});
    for (int row = 0; row < rows.size(); ++row)
        ui->HStable->setRowHidden(row, rows.at(row).verdict == Verdict::Hidden);
    selectors::sortTable(ui->HStable, colPrice);
    // A refill keeps the selection model, so this connects only the first time.
    QObject::connect(ui->HStable->selectionModel(), &QItemSelectionModel::currentRowChanged, window,
                     &MainWindow::HStableRowChange, Qt::UniqueConnection);
}

void MainWindow::SetupHeatsink()
{
    ui->HSpackage->clear();
    ui->HSpackage->addItems(selectors::heatsinkPackageChoices());
    ui->HSpackage->setCurrentIndex(0);
    setupHeatsinkPlot();
}

void MainWindow::FillInHSTable()
{
    showHeatsinkRows(this, selectors::heatsinkCatalogRows(heatsinkVector, false), false);
}

void MainWindow::FillInHSTableMetric()
{
    showHeatsinkRows(this, selectors::heatsinkCatalogRows(heatsinkVector, true), true);
}

void MainWindow::FilterHeatsinks()
{
    const bool metric = ui->HSmetric->isChecked();
    const QString kind = QStringLiteral("R");

    selectors::HeatsinkRequirement req;
    req.forcedFlow = ui->HSfluidCheckBox->isChecked();
    req.packageCode =
        ui->HSchoosePart->isChecked()
            ? selectors::heatsinkPartChoiceCode(ui->HSpart->currentIndex(), ampVector, pwmVector)
            : selectors::heatsinkPackageChoiceCode(ui->HSpackage->currentIndex());
    // Resistances and sizes are magnitudes: a negative one turns its field red, and as no
    // heatsink meets it the table shows none.
    const auto magnitude = [&kind](QLineEdit *field) {
        bool usable = true;
        return eng::parseLineEdit(field, kind, eng::Range::NonNegative, &usable);
    };
    req.thetaCW = magnitude(ui->HSrtheta);
    // The size fields count only while their group is switched on.
    const bool constrained = ui->HSconstCheckBox->isChecked();
    if (constrained) {
        req.envelope = selectors::heatsinkEnvelope(true, magnitude(ui->HSH), magnitude(ui->HSL),
                                                   magnitude(ui->HSW), magnitude(ui->HSWeight),
                                                   metric);
    } else {
        req.envelope = selectors::heatsinkEnvelope(false, 0, 0, 0, 0, metric);
    }
    req.relax = ui->HSrelax->value() / 100.0;

    showHeatsinkRows(this, selectors::selectHeatsinks(heatsinkVector, req, metric), metric);
}

void MainWindow::refreshHeatsinks()
{
    designModified = true;
    if (ui->HSchoosePackage->isChecked()) {
        ui->HSpackage->setEnabled(true);
        ui->HSpart->setEnabled(false);
    } else if (ui->HSchoosePart->isChecked()) {
        ui->HSpackage->setEnabled(false);
        ui->HSpart->setEnabled(true);
    }
    FilterHeatsinks();
    // The cheapest heatsink shown becomes the chosen one; none when every row is hidden.
    const QModelIndex cheapest = HSmodel->index(selectors::firstShownRow(ui->HStable), colName);
    ui->HStable->setCurrentIndex(cheapest);
    HSselectionChange(cheapest);
}

void MainWindow::HSselectionChange(QModelIndex index)
{
    const QModelIndex nameIndex = HSmodel->index(index.row(), colName);
    ui->HStable->setCurrentIndex(nameIndex);
    const QString name = nameIndex.data(Qt::EditRole).toString();
    for (const heatsink &sink : qAsConst(heatsinkVector))
        if (sink.getName() == name) selectedHeatsink = sink;

    ui->HSimage->setStyleSheet(QStringLiteral("image: url(:/KestLinear/") + name +
                               QStringLiteral(".jpg)"));
    ui->HSName->setText(selectors::linkText(selectedHeatsink.getDrawingLink(), name));
    ui->HSName->setTextFormat(Qt::RichText);
    plotRtheta();
}

void MainWindow::HStableRowChange(QModelIndex index, QModelIndex index2)
{
    Q_UNUSED(index2)
    HSselectionChange(index);
}

void MainWindow::on_HSchoosePackage_clicked()
{
    refreshHeatsinks();
}

void MainWindow::on_HSchoosePart_clicked()
{
    refreshHeatsinks();
}

void MainWindow::on_HSpart_activated(int index)
{
    Q_UNUSED(index)
    refreshHeatsinks();
}

void MainWindow::on_HSpackage_activated(int index)
{
    Q_UNUSED(index)
    refreshHeatsinks();
}

void MainWindow::on_HSrtheta_editingFinished()
{
    refreshHeatsinks();
}

void MainWindow::on_HSconstCheckBox_clicked()
{
    refreshHeatsinks();
}

void MainWindow::on_HSH_editingFinished()
{
    refreshHeatsinks();
}

void MainWindow::on_HSL_editingFinished()
{
    refreshHeatsinks();
}

void MainWindow::on_HSW_editingFinished()
{
    refreshHeatsinks();
}

void MainWindow::on_HSWeight_editingFinished()
{
    refreshHeatsinks();
}

void MainWindow::on_HSrelax_valueChanged(int arg1)
{
    Q_UNUSED(arg1)
    refreshHeatsinks();
}

void MainWindow::on_HSsortPrice_clicked()
{
    selectors::sortTable(ui->HStable, colPrice);
}

void MainWindow::on_HSreset_clicked()
{
    ui->HSpart->setCurrentIndex(0);
    ui->HSpackage->setCurrentIndex(0);
    ui->HSrtheta->setText(QStringLiteral("30"));
    for (QLineEdit *field : {ui->HSH, ui->HSL, ui->HSW, ui->HSWeight})
        field->setText(QStringLiteral("all"));
    ui->HSconstCheckBox->setChecked(false);
    ui->HSfluidCheckBox->setChecked(false);
    ui->HSrelax->setValue(10);
    refreshHeatsinks();
}

void MainWindow::on_HSenglish_toggled(bool checked)
{
    // Checked: the user went back to inches and ounces; unchecked: to millimetres and grams.
    const auto convert = [this, checked](QLineEdit *field, double factor) {
        const double v = parseLineEdit(field, QStringLiteral("R"));
        const double converted = checked ? v / factor : v * factor;
        // An open size ("open", "inf") stays open in any unit, and one that overflows stays
        // as typed rather than turning into "inf".
        if (v != infiniteValue && std::isfinite(converted))
            field->setText(QString::number(converted, 'g', 6));
    };
    const std::pair<QLineEdit *, double> limits[] = {{ui->HSH, selectors::millimetresPerInch},
                                                     {ui->HSL, selectors::millimetresPerInch},
                                                     {ui->HSW, selectors::millimetresPerInch},
                                                     {ui->HSWeight, selectors::gramsPerOunce}};
    for (const auto &limit : limits)
        if (limit.first->text() != QLatin1String("all")) convert(limit.first, limit.second);
    for (QLineEdit *fan : {ui->HSfanDia, ui->HSfanX, ui->HSfanY})
        convert(fan, selectors::millimetresPerInch);
    refreshHeatsinks();
}

void MainWindow::on_HSfluidCheckBox_clicked()
{
    refreshHeatsinks();
}

void MainWindow::on_HSfanCirc_toggled(bool checked)
{
    Q_UNUSED(checked)
    plotRtheta();
}

void MainWindow::on_HSfanDia_editingFinished()
{
    plotRtheta();
}

void MainWindow::on_HSfanX_editingFinished()
{
    plotRtheta();
}

void MainWindow::on_HSfanY_editingFinished()
{
    plotRtheta();
}
