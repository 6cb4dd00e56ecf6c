// The SOA plot and the waveform plots: their set-up, the log/linear switch, and the part's
// limit curves with the custom-temperature line and the swing box.
#include "app/plotview.h"
#include "app/mainwindow.h"

#include "soa/soacurves.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

// Log axes carry decade ticks with eight sub-ticks (2..9), as on log graph paper.
QSharedPointer<QCPAxisTicker> soaTicker(bool log)
{
    if (log) {
        QSharedPointer<QCPAxisTickerLog> ticker(new QCPAxisTickerLog);
        ticker->setLogBase(10);
        ticker->setSubTickCount(8);
        return ticker;
    }
    return QSharedPointer<QCPAxisTicker>(new QCPAxisTicker);
}

QColor curveColor(soa::CurveKind kind)
{
    switch (kind) {
    case soa::CurveKind::Case25:
        return QColor(255, 215, 0);
    case soa::CurveKind::Case85:
        return QColor(255, 140, 0);
    case soa::CurveKind::Case125:
        return QColor(255, 0, 0);
    case soa::CurveKind::Pulse1:
        return QColor(153, 50, 204);
    case soa::CurveKind::Pulse2:
        return QColor(0, 0, 255);
    case soa::CurveKind::Pulse3:
        return QColor(0, 255, 0);
    case soa::CurveKind::Custom:
        return QColor(0, 255, 255);
    case soa::CurveKind::Swing:
        break;
    }
    return QColor(190, 190, 190);
}

// Limit curves run in increasing voltage already; the swing box is joined in increasing
// voltage, which the graph's sort does for it.
void addCurve(QCustomPlot *plot, const soa::LimitCurve &curve)
{
    const bool box = curve.kind == soa::CurveKind::Swing;
    QCPGraph *graph = plot->addGraph();
    graph->setName(curve.name);
    graph->setPen(QPen(curveColor(curve.kind), 3, box ? Qt::DashLine : Qt::SolidLine));
    graph->setData(curve.voltage, curve.current, !box);
}

} // namespace

void MainWindow::setupSOAplot()
{
    QCustomPlot *plot = ui->SOA;
    plot->legend->setVisible(true);
    plotview::keepLegendFitted(plot);
    plot->xAxis->setLabel(QStringLiteral("Differential Voltage (Vs-Vo) [V]"));
    plot->yAxis->setLabel(QStringLiteral("Output Current [A]"));
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(0, 0,
                                   new QCPTextElement(plot, QStringLiteral("Safe Operating Area")));

    const QPen gridPen(QColor(128, 128, 128), 1, Qt::DotLine);
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis}) {
        axis->grid()->setSubGridVisible(true);
        axis->grid()->setPen(gridPen);
        axis->grid()->setSubGridPen(gridPen);
        axis->grid()->setZeroLinePen(QPen(Qt::black, 1, Qt::DashLine));
    }
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);

    // The full axes box: top and right axes without labels that follow pans and zooms.
    plot->xAxis2->setVisible(true);
    plot->yAxis2->setVisible(true);
    plot->xAxis2->setTickLabels(false);
    plot->yAxis2->setTickLabels(false);
    setSOAaxisScales(true);
    connect(plot->xAxis, QOverload<const QCPRange &>::of(&QCPAxis::rangeChanged), plot->xAxis2,
            QOverload<const QCPRange &>::of(&QCPAxis::setRange));
    connect(plot->yAxis, QOverload<const QCPRange &>::of(&QCPAxis::rangeChanged), plot->yAxis2,
            QOverload<const QCPRange &>::of(&QCPAxis::setRange));

    QCustomPlot *sch = ui->SOAsch;
    sch->setInteractions(sch->interactions() | QCP::iSelectItems);
    connect(sch, &QCustomPlot::itemClick, this, &MainWindow::onSOAschItemClicked);
    sch->legend->setVisible(false);
    sch->xAxis->setVisible(false);
    sch->yAxis->setVisible(false);
    sch->xAxis->grid()->setVisible(false);
    sch->xAxis->grid()->setSubGridVisible(false);
    sch->plotLayout()->insertRow(0);
    sch->plotLayout()->addElement(
        0, 0,
        new QCPTextElement(sch, QStringLiteral("Simplified Schematic - Click Supplies to Adjust")));
}

void MainWindow::setupWavePlots()
{
    ui->voltageViewer->xAxis->setLabel(QStringLiteral("time (s)"));
    ui->voltageViewer->yAxis->setLabel(QStringLiteral("Voltage (V)"));
    ui->currentViewer->xAxis->setLabel(QStringLiteral("time (s)"));
    ui->currentViewer->yAxis->setLabel(QStringLiteral("Current (A)"));
}

void MainWindow::setSOAaxisScales(bool log)
{
    // All four axes of the box switch together: a box axis left logarithmic would draw its
    // ticks at places that no longer match the linear axis opposite it.
    const QCPAxis::ScaleType type = log ? QCPAxis::stLogarithmic : QCPAxis::stLinear;
    QCustomPlot *plot = ui->SOA;
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis, plot->xAxis2, plot->yAxis2}) {
        axis->setScaleType(type);
        axis->setTicker(soaTicker(log));
    }
}

void MainWindow::switchLogPlot(bool log)
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    QCustomPlot *plot = ui->SOA;
    setSOAaxisScales(log);
    if (log) {
        plot->xAxis->setRange(1, 1.5 * part.getVss_max());
        plot->yAxis->setRange(part.getI_cont() / 100, 1.5 * part.getI_pk());
        const QPen gridPen(QColor(128, 128, 128), 1, Qt::DotLine);
        for (QCPAxis *axis : {plot->xAxis, plot->yAxis}) {
            axis->grid()->setSubGridVisible(true);
            axis->grid()->setPen(gridPen);
            axis->grid()->setSubGridPen(gridPen);
        }
    } else {
        plot->xAxis->setRange(0, 1.2 * part.getVss_max());
        plot->yAxis->setRange(0, 1.2 * part.getI_pk());
    }
    plot->replot();
}

void MainWindow::plotSOAdata()
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    ui->SOA->clearGraphs();
    for (const soa::LimitCurve &curve : soa::soaLimitCurves(part))
        addCurve(ui->SOA, curve);
}

void MainWindow::customTempLine()
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    const int known = SOAproblems.size();
    const double tc = readSOAfield(ui->custTempLine, "R", eng::Range::Temperature,
                                   "Custom case temperature", "the custom curve cannot be drawn",
                                   false);
    if (std::isnan(tc)) {
        for (int i = known; i < SOAproblems.size(); ++i)
            appendSOAnote(SOAproblems.at(i));
        return;
    }
    addCurve(ui->SOA, soa::customTempCurve(part, tc));
    ui->SOA->replot();
}

void MainWindow::plotVswing(bool boost)
{
    if (ui->VswingCheckBox->isChecked()) return;
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());
    const int index = boost ? 1 : 0;
    double b = part.getVswingB(index);
    if (ui->NumParallel->text().toInt(nullptr, 10) > 1) b += parseValue(SOAR_CS);
    const double span = parseValue(SOAVs_pos) - parseValue(SOAVs_neg);
    const soa::LimitCurve box =
        soa::swingBox(part.getVswingA(index), b, part.getVswingC(index), part.getI_pk(), span);
    addCurve(ui->SOA, box);
    ui->SOA->replot();
}
