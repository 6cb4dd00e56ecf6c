// The PWM power page (page 9): the refresh, and the power, ripple and thermal summary. The
// arithmetic is in pwmpower/powerdetails.h; these members read the page and show the result.
#include "app/mainwindow.h"
#include "app/stepticker.h"

#include "pwmpower/plotaxes.h"
#include "pwmpower/powerpagereader.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "values/engwidgets.h"

#include <qcustomplot.h>

#include <QFontMetrics>

#include <cmath>

namespace {

// The least height of the chart's axes, in pixels, on a laptop screen as on any other.
constexpr int kLeastAxesHeight = 100;

QString plain(double value)
{
    return QString::number(value, 'g', 3);
}

} // namespace

void MainWindow::appendPowerNote(const QString &text, bool red)
{
    ui->PowerNotes->setTextColor(red ? QColor(Qt::red) : QColor(Qt::black));
    ui->PowerNotes->append(text);
}

double MainWindow::PiqPWM(double *PVs, double *PVcc)
{
    const double Vs = parseLineEdit(ui->VsPWM, QStringLiteral("R"));
    const double Fsw = parseLineEdit(ui->FsPWM, QStringLiteral("R"));
    const pwm part = findSwitching(ui->ampSelectorPower->currentText());
    const pwmpower::Quiescent q = pwmpower::quiescentPower(part, Vs, Fsw);
    setEngLabel(q.PVs, ui->PiqVs, QStringLiteral("W"));
    setEngLabel(q.PVcc, ui->PiqVcc, QStringLiteral("W"));
    *PVs = q.PVs;
    *PVcc = q.PVcc;
    return q.PVs + q.PVcc;
}

double MainWindow::Iripple()
{
    const double Vs = parseLineEdit(ui->VsPWM, QStringLiteral("R"));
    const double Fsw = parseLineEdit(ui->FsPWM, QStringLiteral("R"));
    return pwmpower::rippleCurrent(pwmpower::readPowerNetwork(*this), Vs, Fsw,
                                   ui->SEpower->isChecked());
}

double MainWindow::Vripple()
{
    const double Vs = parseLineEdit(ui->VsPWM, QStringLiteral("R"));
    const double Fsw = parseLineEdit(ui->FsPWM, QStringLiteral("R"));
    const pwm part = findSwitching(ui->ampSelectorPower->currentText());
    return pwmpower::rippleVoltage(pwmpower::readPowerNetwork(*this), part, Vs, Fsw);
}

void MainWindow::PWMpowerDetails()
{
    designModified = true;
    ui->PowerNotes->clear();
    ui->PowerNotes->setTextColor(Qt::black);
    ui->PowerNotes->append(QStringLiteral("Notes:"));
    if (!powerActionNote.isEmpty()) appendPowerNote(powerActionNote, false);

    const pwm part = findSwitching(ui->ampSelectorPower->currentText());
    pwmpower::PowerFieldCheck check;
    const pwmpower::PowerInput in = pwmpower::readPowerInputs(*this, &check);
    for (const QString &note : qAsConst(check.notes))
        appendPowerNote(QStringLiteral("!!! %1 !!!").arg(note), true);
    for (const QString &note : qAsConst(powerPlotNotes))
        appendPowerNote(note, false);

    // Each figure is shown only when the inputs it depends on could be used; one computed
    // from usable inputs that still comes out non-finite is beyond the computable range.
    const bool supply = check.supply;
    const bool signal = supply && check.signal;
    const bool thermal = signal && check.thermal;
    bool beyondRange = false;
    auto show = [&](QLabel *label, double value, bool usable, bool red, const QString &text) {
        if (usable && pwmpower::isShowable(value)) {
            label->setText(text);
            eng::setResultRed(label, red);
            return;
        }
        eng::setNoResult(label);
        beyondRange = beyondRange || usable;
    };
    auto figure = [&](QLabel *label, double value, const QString &unit, bool usable,
                      bool red = false) {
        show(label, value, usable, red, eng::engLabelText(value, unit));
    };
    auto plainFigure = [&](QLabel *label, double value, bool usable, bool red) {
        show(label, value, usable, red, plain(value));
    };

    const pwmpower::PowerDetails r =
        pwmpower::analysePwmPower(in, part, pwmpower::readPowerNetwork(*this));

    figure(ui->PiqVs, r.quiescent.PVs, QStringLiteral("W"), supply);
    figure(ui->PiqVcc, r.quiescent.PVcc, QStringLiteral("W"), supply);

    plainFigure(ui->TcMaxPower, r.TcLimit, thermal, r.TcLimitRed);
    if (thermal && !r.heatsinkNeeded) {
        ui->minHeatsinkPower->setText(QStringLiteral("none"));
        eng::setResultRed(ui->minHeatsinkPower, r.heatsinkRed);
    } else {
        plainFigure(ui->minHeatsinkPower, r.thetaMax, thermal, r.heatsinkRed);
    }
    if (thermal && r.runaway) {
        ui->tempCPower->setText(QStringLiteral("Thermal Runaway"));
        ui->tempJPower->setText(QStringLiteral("Thermal Runaway"));
        eng::setResultRed(ui->tempCPower, r.TcRed);
        eng::setResultRed(ui->tempJPower, r.TjRed);
    } else {
        plainFigure(ui->tempCPower, r.Tc, thermal, r.TcRed);
        plainFigure(ui->tempJPower, r.Tj, thermal, r.TjRed);
    }
    if (thermal && pwmpower::isShowable(r.Vlo) && pwmpower::isShowable(r.Vhi)) {
        ui->VrangePower->setText(plain(r.Vlo) + QStringLiteral(" to ") + plain(r.Vhi) +
                                 QStringLiteral(" V"));
        eng::setResultRed(ui->VrangePower, false);
    } else {
        plainFigure(ui->VrangePower, r.Vlo + r.Vhi, thermal, false);
    }

    if (thermal) {
        for (const pwmpower::PowerNote &note : r.notes)
            appendPowerNote(note.text, note.red);
    } else if (signal && in.Vmin > in.Vmax) {
        appendPowerNote(QStringLiteral("!!! Minimum Output cannot exceed Maximum Output !!!"),
                        true);
    }

    figure(ui->IripplePower, 2 * r.Iripple, QStringLiteral("A peak"), supply);
    figure(ui->VripplePower, r.Vripple, QStringLiteral("V peak"), supply);
    figure(ui->PoutPower, r.Pout, QStringLiteral("W rms"), signal);
    const double perSwitch = in.fullBridge ? 0.5 : 1.0;
    const QString switchUnit =
        in.fullBridge ? QStringLiteral("W rms per channel") : QStringLiteral("W rms");
    figure(ui->PtopPower, r.Ptop * perSwitch, switchUnit, thermal);
    figure(ui->PbotPower, r.Pbot * perSwitch, switchUnit, thermal);
    figure(ui->PampPower, r.Pamp, QStringLiteral("W"), thermal, r.PampRed);
    figure(ui->Pwire, r.Pwire, QStringLiteral("W rms"), signal);
    figure(ui->Ptotal, r.Pamp, QStringLiteral("W"), thermal);
    if (beyondRange)
        appendPowerNote(QStringLiteral("!!! %1 !!!").arg(pwmpower::beyondRangeNote()), true);
}

void MainWindow::refreshPower()
{
    designModified = true;
    const pwm part = findSwitching(ui->ampSelectorPower->currentText());

    if (part.getOutputs() < 2) {
        ui->HBPower->setChecked(true);
        ui->FBPower->setEnabled(false);
    } else {
        ui->FBPower->setEnabled(true);
    }
    const bool halfBridge = ui->HBPower->isChecked();
    if (halfBridge) ui->SEpower->setChecked(true);
    ui->DCpower->setEnabled(!halfBridge);
    ui->SIpower->setEnabled(!halfBridge);

    QCustomPlot *plot = ui->FilterFreq;
    plot->clearGraphs();
    // The least height that leaves the axes their 100 px at the plot's text size: the value
    // title's line above them, and the frequency's tick labels and title below, each with its
    // padding.
    const int tickLine = QFontMetrics(plot->xAxis->tickLabelFont()).height();
    const int titleLine = QFontMetrics(plot->xAxis->labelFont()).height();
    plot->setMinimumHeight(kLeastAxesHeight + 2 * tickLine + titleLine + 24);
    plot->xAxis->setScaleType(QCPAxis::stLinear);
    plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
    plot->xAxis->grid()->setSubGridVisible(false);
    // The value axis follows the data of whichever display is chosen: its labels keep a line
    // apart however low the plot is.
    plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new RoomTicker(plot->yAxis)));

    // The span the plot shows, and why it is not the one the inputs ask for.
    powerPlotNotes.clear();
    {
        const double Fsig = pwmpower::readPlotFsig(*this);
        const pwmpower::SweepRange range = pwmpower::readSweepRange(*this, &powerPlotNotes);
        const int index = ui->yVariable->currentIndex();
        const pwmpower::Span span = index == 6 || index == 7
                                        ? pwmpower::logSpan(range, Fsig)
                                        : pwmpower::linearSpan(range, Fsig);
        if (span.fallback)
            powerPlotNotes << (pwmpower::usableValue(ui->FsigPWM, pwmpower::kFsigRule) == 0
                                   ? QStringLiteral("Fsig is 0 (DC): the plot shows its default "
                                                    "span, as for a 1 kHz signal")
                                   : QStringLiteral("Fsig, Fmin and Fmax give no span: the plot "
                                                    "shows its default span, as for a 1 kHz "
                                                    "signal"));
    }

    OutVsFreq();
    switch (ui->yVariable->currentIndex()) {
    case 0:
    case 3:
        ImpedanceVsFreq();
        break;
    case 6:
    case 7:
        AttnVsFreq();
        break;
    default:
        break;
    }

    const double Fsig = pwmpower::usableValue(ui->FsigPWM, pwmpower::kFsigRule);
    QCPGraph *marker = plot->addGraph();
    marker->setName(QStringLiteral("Signal Frequency"));
    marker->setPen(QPen(QColor(128, 128, 128), 3, Qt::DashLine));
    const QCPRange y = plot->yAxis->range();
    pwmpower::setFiniteData(marker, {Fsig, Fsig}, {y.lower, y.upper});
    plot->replot();
    ui->FullFilter->replot();

    if (ui->SigTypePWM->currentIndex() == 1) {
        ui->SigTypePWMMin->setText(QStringLiteral("Min I_out = "));
        ui->VorILabelMax->setText(QStringLiteral("A"));
        ui->VorILabelMin->setText(QStringLiteral("A"));
    } else {
        ui->SigTypePWMMin->setText(QStringLiteral("Min V_out = "));
        ui->VorILabelMax->setText(QStringLiteral("V"));
        ui->VorILabelMin->setText(QStringLiteral("V"));
    }

    const double Vs = parseLineEdit(ui->VsPWM, QStringLiteral("R"));
    if (Vs > part.getVs_max() || ui->VsPWM->text() == QLatin1String("Exceeds Abs Max"))
        ui->VsPWM->setText(QStringLiteral("Exceeds Abs Max"));
    else if (Vs < part.getVs_min())
        ui->VsPWM->setText(QStringLiteral("Vs too Low"));

    const double fk = parseLineEdit(ui->FsPWM, QStringLiteral("R")) / 1000.0;
    if (fk > part.getFsw_max() || ui->FsPWM->text() == QLatin1String("Exceeds Abs Max"))
        ui->FsPWM->setText(QStringLiteral("Exceeds Abs Max"));
    else if (fk < part.getFsw_min())
        ui->FsPWM->setText(QStringLiteral("Fsw too Low"));

    if (part.getFsw_max() == part.getFsw_min()) {
        setEngLineEdit(part.getFsw_max() * 1000.0, ui->FsPWM, QString());
        ui->FsPWM->setEnabled(false);
    } else {
        ui->FsPWM->setEnabled(true);
    }

    PWMpowerDetails();
}
