// The SOA page as a whole: the full recomputation and the reset on a part change.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <cmath>

void MainWindow::appendSOAnote(const soa::SoaNote &note)
{
    ui->notes->setTextColor(note.red ? QColor(Qt::red) : QColor(Qt::black));
    ui->notes->append(note.text);
}

void MainWindow::refreshSOA()
{
    designModified = true;

    switch (SignalType) {
    case 0:
        SOAsine();
        break;
    case 1:
        SOAtrap();
        break;
    case 3:
        SOAmotor();
        break;
    default:
        break; // an uploaded waveform stays as loaded
    }

    ui->SOA->clearGraphs();
    ui->SOA->clearPlottables();
    plotSOAdata();

    ui->notes->clear();
    ui->notes->setTextColor(Qt::black);
    ui->notes->setText(QStringLiteral("Notes: "));
    ui->PowerDetails->clear();
    if (!SOAsignalNote.isEmpty()) appendSOAnote({SOAsignalNote, true});

    plotVswing(boostSup);
    RLCLoadLine();
    plotSOAsch();
    powerWarnings();
    SupplyWarnings();

    if (ui->custTempCheckBox->isChecked()) customTempLine();

    const QString motorMode = ui->MotorBox->currentText();
    if (ui->loadTypeBox->currentText() == QLatin1String("DC Motor") &&
        (motorMode == QLatin1String("Reversal") || motorMode == QLatin1String("Stall"))) {
        ui->notes->clear();
        ui->notes->setTextColor(Qt::black);
        ui->notes->setText(QStringLiteral("Notes:"));
        ui->notes->append(QStringLiteral("Stall and Reversal load lines are displayed to help "
                                         "choose a current limit resistor."));
        ui->notes->append(QStringLiteral(
            "Power calculations during Stall and Reversal conditions are inaccurate."));
        // Figures the model could not compute still need their reason.
        for (const soa::SoaNote &note : qAsConst(SOAproblems))
            appendSOAnote(note);
    }

    waveDescription();
}

void MainWindow::makeSOAplot()
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());

    ui->LogCheckBox->setChecked(true);
    boostSup = false;

    ui->R_FO->setText(QStringLiteral("open"));
    ui->R_FO->setEnabled(false);
    ui->FOcheckBox->setChecked(false);
    ui->FOcheckBox->setEnabled(part.getRb() != 0);

    // Current-limit controls: a sense voltage means a limit exists; an internal limit value
    // means no external resistor sets it.
    const bool hasVbe = std::fabs(part.getVbe()) >= 0.0001;
    const bool hasCLint = std::fabs(part.getCLint()) > 0.0001;
    ui->RangeBox->setEnabled(hasVbe);
    ui->R_CL->setEnabled(hasVbe && !hasCLint);
    // Parts whose limit is set another way write a sentence into R_CL; it must not stay for
    // the next part, where it would read as a resistor of 0.
    if (ui->R_CL->text() == QLatin1String("See datasheet for details."))
        ui->R_CL->setText(QStringLiteral("short"));

    setSOAaxisScales(true);
    ui->SOA->xAxis->setRange(1, 1.5 * part.getVss_max());
    ui->SOA->yAxis->setRange(part.getI_cont() / 100, 1.5 * part.getI_pk());

    plotSOAdata();
    RLCLoadLine();
    plotVswing(false);

    if (part.getBoostOptions() > 0) {
        SOAVb_pos = SOAVs_pos;
        SOAVb_neg = SOAVs_neg;
    }
    ui->SOA->replot();
}
