// Stability page: the gain and phase plots, set up once.
#include "app/plotview.h"
#include "app/mainwindow.h"

#include "stability/bodegenerator.h"
#include "stability/stabticker.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

namespace {

QSharedPointer<QCPAxisTickerText> decadeTicker(int subTicks)
{
    const stab::DecadeTicks decades = stab::decadeTicks();
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    ticker->setTicks(decades.positions, decades.labels);
    ticker->setSubTickCount(subTicks);
    return ticker;
}

// The title in the plot's top row, made only once.
void setPlotTitle(QCustomPlot *plot, const QString &text)
{
    QCPLayoutGrid *layout = plot->plotLayout();
    if (auto *title = qobject_cast<QCPTextElement *>(layout->element(0, 0))) {
        title->setText(text);
        return;
    }
    layout->insertRow(0);
    layout->addElement(0, 0, new QCPTextElement(plot, text));
}

} // namespace

void MainWindow::setupBodePlot()
{
    QCustomPlot *gain = ui->GainPlot;
    QCustomPlot *phase = ui->PhasePlot;

    for (QCustomPlot *plot : {gain, phase}) {
        plot->legend->setVisible(true);
        plot->xAxis->setScaleType(QCPAxis::stLogarithmic);
        plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
        // Decade ticks with 2..9 between them, on the sub-grid.
        plot->xAxis->setTicker(decadeTicker(8));
        plot->xAxis->grid()->setSubGridVisible(true);
        keepLastTickLabel(plot, stab::decadeTicks().labels.last());
    }
    // The phase components fill every corner of the short axis rect.
    plotview::keepLegendsFitted({gain, phase});
    plotview::setTickSteps(gain->yAxis, {20, 40, 80}, 1);
    plotview::setTickSteps(phase->yAxis, {45, 90, 180}, 2);
    gain->yAxis->setLabel(QStringLiteral("Gain [dB]"));
    phase->yAxis->setLabel(QStringLiteral("Phase Shift [°]"));
    setPlotTitle(gain, QStringLiteral("Bode Plot - Gain"));
    setPlotTitle(phase, QStringLiteral("Bode Plot - Phase"));

    QPen gridPen(QColor(128, 128, 128), 1, Qt::DotLine);
    for (QCustomPlot *plot : {gain, phase}) {
        plot->xAxis->grid()->setSubGridPen(gridPen);
        plot->xAxis->grid()->setPen(gridPen);
        plot->yAxis->grid()->setPen(gridPen);
    }

    // The empty first entry stands for no host: choosing it clears the host fields.
    QStringList hosts{QString()};
    for (const amp &host : qAsConst(hostVector))
        hosts << host.getAmpName();
    {
        const QSignalBlocker blocker(ui->hostSelector);
        ui->hostSelector->clear();
        ui->hostSelector->insertItems(0, hosts);
        ui->hostSelector->setCurrentIndex(0);
    }

    gain->legend->setVisible(true);
    phase->legend->setVisible(true);
    gain->xAxis->setRange(1, 1e8);
    gain->yAxis->setRange(-20, 140);
    phase->xAxis->setRange(1, 1e8);
    phase->yAxis->setRange(-180, 180);
}
