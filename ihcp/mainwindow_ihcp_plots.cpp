// The pump page's plot: its two modes (Bode gain plot, load sweep), the loop analysis drawn
// on it and the sweep of the worst-case error.
#include "app/plotview.h"
#include "app/mainwindow.h"

#include "ihcp/pumpcheck.h"
#include "ihcp/pumploop.h"
#include "ihcp/pumpmodel.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Infinitely high (or low) asymptotes are drawn as lines leaving the plot.
QVector<double> drawable(const QVector<double> &values)
{
    QVector<double> out = values;
    for (double &v : out) {
        if (std::isinf(v)) v = v > 0 ? 1e9 : -1e9;
    }
    return out;
}

} // namespace

void MainWindow::setupIHCPplots()
{
    QCustomPlot *plot = ui->IHCPbode;
    if (sweepIHCP) {
        plot->xAxis->setScaleType(QCPAxis::stLinear);
        plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
        plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
        plot->xAxis->setLabel(QStringLiteral("Load Impedance [Ω]"));
        plot->yAxis->setLabel(QStringLiteral("Worst Case Error [%]"));
        if (IHCPbodeTitle)
            IHCPbodeTitle->setText(QStringLiteral("Load Impedance vs. Worst Case Error"));
        plot->legend->setVisible(false);
        return;
    }

    plot->xAxis->setScaleType(QCPAxis::stLogarithmic);
    // Decade ticks; the text ticker spaces its 8 sub-ticks linearly, 2..9 of each decade.
    QSharedPointer<QCPAxisTickerText> decades(new QCPAxisTickerText);
    decades->setTicks(QVector<double>{1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8},
                      QVector<QString>{"1", "10", "100", "1k", "10k", "100k", "1M", "10M", "100M"});
    decades->setSubTickCount(8);
    plot->xAxis->setTicker(decades);
    plotview::setTickSteps(plot->yAxis, {20, 40, 80}, 1);

    plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
    plot->yAxis->setLabel(QStringLiteral("Gain [dB]"));
    if (IHCPbodeTitle) IHCPbodeTitle->setText(QStringLiteral("Bode Plot - Gain"));
    plot->legend->setVisible(true);
    plotview::keepLegendFitted(plot);

    plot->xAxis->grid()->setSubGridVisible(true);
    const QPen gridPen(QColor(128, 128, 128), 1, Qt::DotLine);
    plot->xAxis->grid()->setPen(gridPen);
    plot->xAxis->grid()->setSubGridPen(gridPen);
    plot->yAxis->grid()->setPen(gridPen);

    plot->xAxis->setRange(1, 1e8);
    plot->yAxis->setRange(-20, 140);
}

double MainWindow::IHCPBode()
{
    const amp part = IHCPamp();
    QCustomPlot *plot = ui->IHCPbode;
    plot->clearGraphs();

    ihcp::LoopInput in;
    in.rin = parseValue(IHCPRin);
    in.rfn = parseValue(IHCPRfn);
    in.rfp = parseValue(IHCPRfp);
    in.rs = parseValue(IHCPRs);
    in.rload = parseValue(IHCPRload);
    in.inductive = IHCPCload == QLatin1String("short");
    in.cload = IHCPCload == QLatin1String("open") ? 0 : parseValue(IHCPCload);
    in.lload = parseValue(IHCPLload);
    in.rd = parseValue(IHCPRd);
    in.cd = IHCPCd == QLatin1String("open") ? 0 : parseValue(IHCPCd);
    in.damping = IHCPRd != QLatin1String("open") && in.cd != 0;
    in.freqHz = parseValue(IHCPFreq);
    const int option = IHCPcompOption(part);
    in.aolDc = part.getAol_DC();
    in.pole1 = part.getPole1(option);
    in.pole2 = part.getPole2(option);
    in.pole3 = part.getPole3(option);
    in.gbwpKHz = part.getGBWP();
    bool maxOk = false, minOk = false;
    in.iMax = IHCPfield(ui->IHCPmaxIout, &maxOk);
    in.iMin = IHCPfield(ui->IHCPminIout, &minOk);
    if (!maxOk || !minOk) in.iMax = in.iMin = std::numeric_limits<double>::quiet_NaN();
    const ihcp::PumpCheck check = IHCPcheck();
    if (!check.circuit) in.refusal = check.circuitWhy;

    const ihcp::LoopResult r = ihcp::analyseLoop(in);

    if (!sweepIHCP) {
        // A refused loop has no feedback curves; the amplifier's own gain is still drawn.
        const auto curve = [&](const QString &name, const QVector<double> &values,
                               const QColor &colour, Qt::PenStyle style) {
            if (values.isEmpty()) return;
            QCPGraph *graph = plot->addGraph();
            graph->setName(name);
            graph->setPen(QPen(colour, 3, style));
            graph->setData(r.freq, drawable(values), true);
        };
        curve(QStringLiteral("Open Loop Gain"), r.aol, QColor(0, 0, 255), Qt::SolidLine);
        curve(QStringLiteral("1/ß"), r.beta, QColor(255, 0, 0), Qt::SolidLine);
        if (in.damping)
            curve(QStringLiteral("1/ß Path 2"), r.beta2, QColor(255, 128, 0), Qt::SolidLine);
        curve(QStringLiteral("V at Load"), r.vload, QColor(0, 0, 0), Qt::DotLine);
    }

    appendIHCPnotes(r.notes);

    plot->replot();
    return r.bandwidth;
}

void MainWindow::IHCPsweepLoad(double Rin, double Rip, double Rfn, double Rfp, double Rs, comp Zd,
                               bool inv)
{
    QCustomPlot *plot = ui->IHCPbode;
    plot->clearGraphs();
    QCPGraph *graph = plot->addGraph();
    graph->removeFromLegend();
    graph->setPen(QPen(QColor(0, 0, 255), 3));

    const ihcp::PumpCheck check = IHCPcheck();
    ihcp::SweepResult s;
    // The notes already name the values that leave nothing to sweep.
    if (check.circuit && check.tolerances) {
        const double zMax = ihcp::sweepMaxImpedance(IHCPRload, IHCPCload, IHCPLload, IHCPFreq);
        const ihcp::Tolerances tol{parseValue(IHCPRinT), parseValue(IHCPRfnT), parseValue(IHCPRfpT),
                                   parseValue(IHCPRsT)};
        s = ihcp::sweepLoad(ihcp::Resistors{Rin, Rip, Rfn, Rfp, Rs}, tol, Zd, inv, zMax);
        if (!s.defined) appendIHCPnote(QStringLiteral("\t") + s.why, QColor(Qt::red));
    }
    graph->setData(s.impedance, s.errorPercent, true);
    if (!s.defined) {
        // No data: a plain span rather than the axes of an earlier sweep.
        plot->xAxis->setRange(0, 1);
        plot->yAxis->setRange(0, 1);
    } else {
        plot->rescaleAxes();
        // A load-independent error (a balanced bridge of trim pots) is a flat line: show it
        // from 0 rather than on a span of rounding noise.
        const QCPRange y = plot->yAxis->range();
        if (y.size() < 1e-6)
            plot->yAxis->setRange(0, std::max(1.0, 2 * y.upper));
        else
            plotview::padRange(plot->yAxis); // the extremes of the error off the frame
    }
    plot->replot();
}
