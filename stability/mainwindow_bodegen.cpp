// Bode plot generator page: open- and closed-loop gains typed per decade, drawn as typed.
#include "app/plotview.h"
#include "app/mainwindow.h"

#include "stability/bodegenerator.h"
#include "stability/stabticker.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

void MainWindow::setupDemoPlot()
{
    QCustomPlot *plot = ui->demoPlot;
    const stab::DecadeTicks decades = stab::decadeTicks();
    const QPen thinPen(QColor(0, 0, 0), 1);
    const QPen axisPen(QColor(0, 0, 0), 2);
    QFont axisFont;
    axisFont.setPixelSize(14);
    axisFont.setStyleName(QStringLiteral("MS Shell Dlg 2"));

    QSharedPointer<QCPAxisTickerText> xTicker(new QCPAxisTickerText);
    xTicker->setTicks(decades.positions, decades.labels);
    xTicker->setSubTickCount(0);
    plot->xAxis->setScaleType(QCPAxis::stLogarithmic);
    plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
    plot->xAxis->setTicker(xTicker);
    plot->xAxis->grid()->setSubGridVisible(false);
    plot->xAxis->grid()->setPen(thinPen);
    plot->xAxis->setBasePen(axisPen);
    plot->xAxis->setRange(1, 100000000);

    plot->xAxis2->setVisible(true);
    plot->xAxis2->setBasePen(axisPen);
    plot->xAxis2->setTicks(false);

    plot->xAxis->setLabelFont(axisFont);
    plot->xAxis->setTickLabelFont(axisFont);

    plot->yAxis->setLabel(QStringLiteral("Gain [dB]"));
    plotview::setTickSteps(plot->yAxis, {20, 40, 80}, 0);
    plot->yAxis->grid()->setPen(thinPen);
    plot->yAxis->grid()->setZeroLinePen(thinPen);
    plot->yAxis->setBasePen(axisPen);
    plot->yAxis->setRange(-20, 140);

    plot->yAxis2->setVisible(true);
    plot->yAxis2->setBasePen(axisPen);
    plot->yAxis2->setTicks(false);
    plot->yAxis2->setPadding(20);

    plot->yAxis->setLabelFont(axisFont);
    plot->yAxis->setTickLabelFont(axisFont);
    keepLastTickLabel(plot, decades.labels.last());

    QCPLayoutGrid *layout = plot->plotLayout();
    if (!qobject_cast<QCPTextElement *>(layout->element(0, 0))) {
        layout->insertRow(0);
        layout->addElement(0, 0, new QCPTextElement(plot, QStringLiteral("Bode Plot - Gain")));
    }

    plot->legend->setVisible(true);
    plotview::keepLegendFitted(plot);

    refreshDemoPlot();
}

void MainWindow::refreshDemoPlot()
{
    QCustomPlot *plot = ui->demoPlot;
    plot->clearGraphs();

    const QStringList open{ui->demoAol1->text(),  ui->demoAol10->text(),  ui->demoAol100->text(),
                           ui->demoAol1k->text(), ui->demoAol10k->text(), ui->demoAol100k->text(),
                           ui->demoAol1M->text(), ui->demoAol10M->text(), ui->demoAol100M->text()};
    const QStringList closed{
        ui->demoAcl1->text(),  ui->demoAcl10->text(),  ui->demoAcl100->text(),
        ui->demoAcl1k->text(), ui->demoAcl10k->text(), ui->demoAcl100k->text(),
        ui->demoAcl1M->text(), ui->demoAcl10M->text(), ui->demoAcl100M->text()};
    const stab::DemoCurves curves = stab::demoCurves(open, closed);

    QCPGraph *openGraph = plot->addGraph(plot->xAxis, plot->yAxis);
    openGraph->setData(curves.frequency, curves.openLoop);
    openGraph->setName(QStringLiteral("Open Loop Gain"));
    openGraph->setPen(QPen(QColor(0, 85, 255), 4));

    QCPGraph *closedGraph = plot->addGraph(plot->xAxis, plot->yAxis);
    closedGraph->setData(curves.frequency, curves.closedLoop);
    closedGraph->setName(QStringLiteral("Closed Loop Gain"));
    closedGraph->setPen(QPen(QColor(220, 0, 0), 4));

    const stab::GainSpan span = stab::demoGainSpan(curves);
    plot->yAxis->setRange(span.lower, span.upper);
    plot->replot();
}

void MainWindow::on_refreshDemoButton_clicked()
{
    refreshDemoPlot();
}

void MainWindow::on_demoSaveButton_clicked()
{
    ui->demoPlot->saveJpg(QStringLiteral("temp.jpg"), 0, 0, 1.0, -1);
}
