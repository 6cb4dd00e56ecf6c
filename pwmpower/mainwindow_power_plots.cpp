// The PWM power page's plot against frequency: the quantity chosen in yVariable, from the
// sweeps of pwmpower/powersweeps.h.
#include "app/mainwindow.h"
#include "app/plotview.h"

#include "pwmpower/fieldcheck.h"
#include "pwmpower/plotaxes.h"
#include "pwmpower/powerpagereader.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

const QColor kBlue(0, 0, 255), kRed(225, 0, 0), kGreen(0, 160, 0), kOrange(255, 128, 0),
    kBlack(0, 0, 0);

void addCurve(QCustomPlot *plot, const QString &name, const QColor &colour,
              const QVector<double> &x, const QVector<double> &y)
{
    QCPGraph *g = plot->addGraph();
    g->setName(name);
    g->setPen(QPen(colour, 3));
    pwmpower::setFiniteData(g, x, y);
}

// The y axis fitted to the curves with a small margin, so that a curve at its extreme is not
// hidden in the frame; with no point to fit, a plain 0 .. 1 rather than the range of whatever
// was drawn before.
void rescaleY(QCustomPlot *plot)
{
    bool any = false;
    for (int i = 0; i < plot->graphCount(); ++i)
        any = any || !plot->graph(i)->data()->isEmpty();
    if (any) {
        plot->yAxis->rescale();
        plotview::padRange(plot->yAxis);
    } else
        plot->yAxis->setRange(0, 1);
}

} // namespace

void MainWindow::OutVsFreq()
{
    const pwm part = findSwitching(ui->ampSelectorPower->currentText());
    double PVs = 0, PVcc = 0;
    const double Piq = PiqPWM(&PVs, &PVcc);
    pwmpower::PowerFieldCheck check;
    const pwmpower::PowerInput in = pwmpower::readPowerInputs(*this, &check);
    const pwmpower::SweepRange range = pwmpower::readSweepRange(*this);
    if (!check.supply || !check.signal) {
        // No curve from values that cannot be used; the span stays the one the inputs give.
        const pwmpower::Span span = pwmpower::linearSpan(range, pwmpower::readPlotFsig(*this));
        eng::setNoResult(ui->Fhotspot);
        QCustomPlot *plot = ui->FilterFreq;
        plot->yAxis->setRange(0, 1);
        plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
        plot->xAxis->setRange(span.fmin, span.fmax);
        plot->replot();
        return;
    }
    const pwmpower::OutputSweep s =
        pwmpower::outputSweep(pwmpower::readPowerNetwork(*this), part, in, Piq, range);
    if (pwmpower::isShowable(s.hotSpot)) {
        setEngLabel(s.hotSpot, ui->Fhotspot, QStringLiteral("Hz"));
        eng::setResultRed(ui->Fhotspot, false);
    } else {
        eng::setNoResult(ui->Fhotspot);
    }

    QCustomPlot *plot = ui->FilterFreq;
    switch (ui->yVariable->currentIndex()) {
    case 1:
        addCurve(plot, QStringLiteral("Out of Amplifier"), kBlue, s.f, s.Iout);
        addCurve(plot, QStringLiteral("Into Load"), kRed, s.f, s.IL);
        plot->yAxis->setLabel(QStringLiteral("Current [A rms]"));
        rescaleY(plot);
        break;
    case 2:
        addCurve(plot, QStringLiteral("At Amplifier Output"), kBlue, s.f, s.Vout);
        addCurve(plot, QStringLiteral("At Load"), kRed, s.f, s.VL);
        plot->yAxis->setLabel(QStringLiteral("Voltage [V rms]"));
        rescaleY(plot);
        break;
    case 4: {
        addCurve(plot, QStringLiteral("True Power Loss in Filter"), kGreen, s.f, s.Pfil);
        addCurve(plot, QStringLiteral("Apparent Power in Load"), kRed, s.f, s.Sload);
        addCurve(plot, QStringLiteral("True Power in Load"), kOrange, s.f, s.Pload);
        addCurve(plot, QStringLiteral("True Power in R_MATCH"), kBlue, s.f, s.PRm);
        addCurve(plot, QString::fromUtf8("Internal Amplifier Power\n(Assuming 25°C junctions)"),
                 kBlack, s.f, s.Pint);
        plot->yAxis->setLabel(QStringLiteral("Power [W (or VA) rms]"));
        rescaleY(plot);
        const QCPRange r = plot->yAxis->range();
        if (r.lower > 0) plot->yAxis->setRange(0, r.upper);
        break;
    }
    case 5:
        addCurve(plot, QStringLiteral("Apparent Load Power \nover Total True Power"), kBlue, s.f,
                 s.effApparent);
        addCurve(plot, QStringLiteral("True Load Power \nover Total True Power"), kRed, s.f,
                 s.effTrue);
        plot->yAxis->setLabel(QStringLiteral("Overall Efficency [%]"));
        plot->yAxis->setRange(0, 100);
        break;
    default:
        break;
    }
    plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
    plot->xAxis->setRange(s.fmin, s.fmax);
    plot->replot();
}

void MainWindow::ImpedanceVsFreq()
{
    const double Fsig = pwmpower::readPlotFsig(*this);
    const pwmpower::ImpedanceSweep s = pwmpower::impedanceSweep(
        pwmpower::readPowerNetwork(*this), Fsig, pwmpower::readSweepRange(*this));

    QCustomPlot *plot = ui->FilterFreq;
    if (ui->yVariable->currentIndex() == 3) {
        addCurve(plot, QStringLiteral("Load and Filter"), kBlue, s.f, s.Aout);
        addCurve(plot, QStringLiteral("Load Only"), kRed, s.f, s.Aload);
        plot->yAxis->setLabel(QString::fromUtf8("V-I Phase Shift [°]"));
        plot->yAxis->setRange(-90, 90);
    } else {
        addCurve(plot, QStringLiteral("Load and Filter"), kBlue, s.f, s.Zout);
        addCurve(plot, QStringLiteral("Load Only"), kRed, s.f, s.Zload);
        plot->yAxis->setLabel(QString::fromUtf8("Impedance [Ω]"));
        plot->yAxis->setRange(0, s.largest > 0 && s.largest <= 100 ? s.largest : 100);
    }
    plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
    plot->xAxis->setRange(s.fmin, s.fmax);
    plot->replot();
}

void MainWindow::AttnVsFreq()
{
    const double Fsig = pwmpower::readPlotFsig(*this);
    const pwmpower::AttenuationSweep s = pwmpower::attenuationSweep(
        pwmpower::readPowerNetwork(*this), Fsig, pwmpower::readSweepRange(*this));

    QCustomPlot *plot = ui->FilterFreq;
    const bool percent = ui->yVariable->currentIndex() == 7;
    addCurve(plot, QStringLiteral("Filter Attenuation"), kBlue, s.f, percent ? s.percent : s.dB);
    plot->yAxis->setLabel(percent ? QStringLiteral("Filter Attenuation [%]")
                                  : QStringLiteral("Filter Attenuation [dB]"));
    rescaleY(plot);

    plot->xAxis->setScaleType(QCPAxis::stLogarithmic);
    plot->xAxis->setTicker(pwmpower::decadeTicker(
        {0.001, 0.01, 0.1, 1, 10, 100, 1000, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9},
        {"1m", "10m", "100m", "1", "10", "100", "1k", "10k", "100k", "1M", "10M", "100M", "1G"}));
    plot->xAxis->grid()->setSubGridVisible(true);
    plot->xAxis->setRange(s.fmin, s.fmax);
    plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
    plot->replot();
}
