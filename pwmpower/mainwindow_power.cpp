// The PWM power page (page 9): the refresh, and the power, ripple and thermal summary. The
// arithmetic is in pwmpower/powerdetails.h; these members read the page and show the result.
#include "app/mainwindow.h"

#include "pwmpower/powerpagereader.h"
#include "ui_mainwindow.h"

#include <qcustomplot.h>

namespace {

const QString kRedLabel = QStringLiteral("QLabel { color : red; }");
const QString kBlackLabel = QStringLiteral("QLabel { color : black; }");

void colourLabel(QLabel *label, bool red)
{
    label->setStyleSheet(red ? kRedLabel : kBlackLabel);
}

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

    const pwm part = findSwitching(ui->ampSelectorPower->currentText());
    const pwmpower::PowerInput in = pwmpower::readPowerInputs(*this);
    const pwmpower::PowerDetails r =
        pwmpower::analysePwmPower(in, part, pwmpower::readPowerNetwork(*this));

    setEngLabel(r.quiescent.PVs, ui->PiqVs, QStringLiteral("W"));
    setEngLabel(r.quiescent.PVcc, ui->PiqVcc, QStringLiteral("W"));

    ui->TcMaxPower->setText(plain(r.TcLimit));
    ui->minHeatsinkPower->setText(r.heatsinkNeeded ? plain(r.thetaMax) : QStringLiteral("none"));
    if (r.runaway) {
        ui->tempCPower->setText(QStringLiteral("Thermal Runaway"));
        ui->tempJPower->setText(QStringLiteral("Thermal Runaway"));
    } else {
        ui->tempCPower->setText(plain(r.Tc));
        ui->tempJPower->setText(plain(r.Tj));
    }
    ui->VrangePower->setText(plain(r.Vlo) + QStringLiteral(" to ") + plain(r.Vhi) +
                             QStringLiteral(" V"));

    for (const pwmpower::PowerNote &note : r.notes)
        appendPowerNote(note.text, note.red);
    colourLabel(ui->minHeatsinkPower, r.heatsinkRed);
    colourLabel(ui->tempCPower, r.TcRed);
    colourLabel(ui->tempJPower, r.TjRed);
    colourLabel(ui->PampPower, r.PampRed);
    colourLabel(ui->TcMaxPower, r.TcLimitRed);

    setEngLabel(2 * r.Iripple, ui->IripplePower, QStringLiteral("A peak"));
    setEngLabel(r.Vripple, ui->VripplePower, QStringLiteral("V peak"));
    setEngLabel(r.Pout, ui->PoutPower, QStringLiteral("W rms"));
    if (in.fullBridge) {
        setEngLabel(r.Ptop / 2, ui->PtopPower, QStringLiteral("W rms per channel"));
        setEngLabel(r.Pbot / 2, ui->PbotPower, QStringLiteral("W rms per channel"));
    } else {
        setEngLabel(r.Ptop, ui->PtopPower, QStringLiteral("W rms"));
        setEngLabel(r.Pbot, ui->PbotPower, QStringLiteral("W rms"));
    }
    setEngLabel(r.Pamp, ui->PampPower, QStringLiteral("W"));
    setEngLabel(r.Pwire, ui->Pwire, QStringLiteral("W rms"));
    setEngLabel(r.Pamp, ui->Ptotal, QStringLiteral("W"));
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
    plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
    plot->xAxis->setScaleType(QCPAxis::stLinear);
    plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
    plot->xAxis->grid()->setSubGridVisible(false);

    OutVsFreq();
    switch (ui->yVariable->currentIndex()) {
    case 0:
    case 3:
        ImpedanceVsFreq();
        break;
    case 5:
        plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignBottom | Qt::AlignLeft);
        break;
    case 6:
    case 7:
        plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignBottom | Qt::AlignLeft);
        AttnVsFreq();
        break;
    default:
        break;
    }

    const double Fsig = parseLineEdit(ui->FsigPWM, QStringLiteral("R"));
    QCPGraph *marker = plot->addGraph();
    marker->setName(QStringLiteral("Signal Frequency"));
    marker->setPen(QPen(QColor(128, 128, 128), 3, Qt::DashLine));
    const QCPRange y = plot->yAxis->range();
    marker->setData({Fsig, Fsig}, {y.lower, y.upper}, true);
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
