// The filter design page (page 12): refresh, order and ripple, attenuation plot, matching
// network and the hand-over to the power page. Arithmetic in pwmpower/filterdesign.h.
#include "app/mainwindow.h"

#include "pwmpower/filterdesign.h"
#include "pwmpower/plotaxes.h"
#include "ui_mainwindow.h"

#include <QSignalBlocker>
#include <qcustomplot.h>

namespace {

const QString kOhm = QString(QChar(0x03A9));

pwmpower::FilterType filterPageType(const Ui_MainWindow *ui)
{
    if (ui->SIbutton->isChecked()) return pwmpower::FilterType::SplitInductor;
    if (ui->DCbutton->isChecked()) return pwmpower::FilterType::DualCapacitor;
    return pwmpower::FilterType::SingleEnded;
}

void setTriple(QString t[3], const pwmpower::Triple &v)
{
    t[0] = v.L;
    t[1] = v.R;
    t[2] = v.C;
}

} // namespace

void MainWindow::refreshFilter()
{
    designModified = true;
    const pwm part = findSwitching(ui->ampSelectorFilter->currentText());

    if (part.getOutputs() <= 1) {
        ui->HBbutton->setChecked(true);
        ui->FBbutton->setEnabled(false);
    } else {
        ui->FBbutton->setEnabled(true);
    }
    const bool halfBridge = ui->HBbutton->isChecked();
    if (halfBridge) ui->SEbutton->setChecked(true); // a half bridge has only the one output line
    ui->DCbutton->setEnabled(!halfBridge);
    ui->SIbutton->setEnabled(!halfBridge);
    // After the half bridge has settled the filter type, so that the leg capacitor is never
    // offered for a single-ended filter.
    const bool split = ui->SIbutton->isChecked();
    ui->Cleg->setVisible(split);
    ui->ClegLabel->setVisible(split);

    drawFilterSchematic();
    calcOrder();
    plotAttenuation();

    const double Vs = parseLineEdit(ui->filterVs, QStringLiteral("R"));
    if (Vs > part.getVs_max() || ui->filterVs->text() == QLatin1String("Exceeds Abs Max"))
        ui->filterVs->setText(QStringLiteral("Exceeds Abs Max"));
    else if (part.getVs_min() > parseLineEdit(ui->filterVs, QStringLiteral("R")))
        ui->filterVs->setText(QStringLiteral("Vs too Low"));

    const double fk = parseLineEdit(ui->filterFsw, QStringLiteral("R")) / 1000.0;
    if (fk > part.getFsw_max() || ui->filterFsw->text() == QLatin1String("Exceeds Abs Max"))
        ui->filterFsw->setText(QStringLiteral("Exceeds Abs Max"));
    else if (part.getFsw_min() > parseLineEdit(ui->filterFsw, QStringLiteral("R")) / 1000.0)
        ui->filterFsw->setText(QStringLiteral("Fsw too Low"));

    if (part.getFsw_max() == part.getFsw_min()) {
        setEngLineEdit(part.getFsw_max() * 1000.0, ui->filterFsw, QString());
        ui->filterFsw->setEnabled(false);
    } else {
        ui->filterFsw->setEnabled(true);
    }
}

void MainWindow::calcOrder()
{
    pwmpower::FilterOrderInput in;
    in.Vs = parseLineEdit(ui->filterVs, QStringLiteral("R"));
    in.Vrip = parseLineEdit(ui->filterVrip, QStringLiteral("R"));
    in.FswKHz = parseLineEdit(ui->filterFsw, QStringLiteral("R")) / 1000.0;
    in.FcutKHz = parseLineEdit(ui->filterFcut, QStringLiteral("R")) / 1000.0;
    in.n = ui->filterOrderActual->value();
    in.RL = parseLineEdit(ui->filterR_L, QStringLiteral("R"));
    in.singleEnded = ui->SEbutton->isChecked();
    const pwmpower::FilterOrderResult r = pwmpower::filterOrder(in);

    ui->filterOrder->setText(QString::number(r.recommended, 'g', 6));
    setEngLabel(r.rippleV, ui->filterVripActual, QStringLiteral("V peak"));
    setEngLabel(r.rippleI, ui->FilterIrip, QStringLiteral("A peak"));
    setEngLabel(r.Cleg, ui->Cleg, QStringLiteral("F"));
}

void MainWindow::setupFilterPlot()
{
    QCustomPlot *sch = ui->filterPlot;
    sch->legend->setVisible(false);
    sch->xAxis->setVisible(false);
    sch->yAxis->setVisible(false);
    sch->xAxis->grid()->setVisible(false);
    sch->xAxis->grid()->setSubGridVisible(false);
    sch->yAxis->grid()->setVisible(false);
    sch->plotLayout()->insertRow(0);
    sch->plotLayout()->addElement(0, 0,
                                  new QCPTextElement(sch, QStringLiteral("Filter Schematic")));

    QCustomPlot *plot = ui->attenuationPlot;
    plot->legend->setVisible(true);
    plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignBottom | Qt::AlignLeft);
    plot->xAxis->setScaleType(QCPAxis::stLogarithmic);
    plot->xAxis->setTicker(pwmpower::decadeTicker({1, 10, 100, 1000, 10000, 100000, 1000000},
                                                  {"1", "10", "100", "1k", "10k", "100k", "1M"}));
    plot->xAxis->setRange(1, 1000000);
    plot->xAxis->setLabel(QStringLiteral("Frequency [Hz]"));
    plot->xAxis->grid()->setSubGridVisible(true);
    plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new pwmpower::FixedStepTicker(20, 1)));
    plot->yAxis->setLabel(QStringLiteral("Gain [dB]"));
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(
        0, 0, new QCPTextElement(plot, QStringLiteral("Ideal Component Attenuation")));
    const QPen grid(QColor(128, 128, 128), 1, Qt::DotLine);
    plot->xAxis->grid()->setPen(grid);
    plot->xAxis->grid()->setSubGridPen(grid);
    plot->yAxis->grid()->setPen(grid);
}

void MainWindow::plotAttenuation()
{
    const double Fcut = parseLineEdit(ui->filterFcut, QStringLiteral("R"));
    const double Fsw = parseLineEdit(ui->filterFsw, QStringLiteral("R"));
    const int n = ui->filterOrderActual->value();
    const pwmpower::AttenuationCurve c = pwmpower::butterworthAttenuation(Fcut, n);

    QCustomPlot *plot = ui->attenuationPlot;
    plot->clearGraphs();
    const bool dB = ui->dbAttenuation->isChecked();
    QCPGraph *response = plot->addGraph();
    response->setName(QStringLiteral("Filter Response"));
    response->setPen(QPen(QColor(0, 0, 200), 3));
    response->setData(c.freq, dB ? c.gainDb : c.percent, true);

    const double markerLow = dB ? -120 : 100; // the far end of the markers from 0
    if (dB) {
        plot->yAxis->setRange(-120, 0);
        plot->yAxis->setLabel(QStringLiteral("Gain [dB]"));
    } else {
        plot->yAxis->setRange(0, 100);
        plot->yAxis->setLabel(QStringLiteral("Attenuation [%]"));
    }
    QCPGraph *cut = plot->addGraph();
    cut->setName(QStringLiteral("Cutoff Frequency"));
    cut->setPen(QPen(QColor(0, 160, 0), 3, Qt::DashLine));
    cut->setData({Fcut, Fcut}, {0, markerLow}, true);
    QCPGraph *sw = plot->addGraph();
    sw->setName(QStringLiteral("Switching Frequency"));
    sw->setPen(QPen(QColor(255, 0, 0), 3, Qt::DashLine));
    sw->setData({Fsw, Fsw}, {0, markerLow}, true);
    plot->replot();
}

void MainWindow::matchingNetwork()
{
    designModified = true;
    const double R = parseLineEdit(ui->filterRload, QStringLiteral("R"));
    const QString none = QStringLiteral("none");

    auto show = [&](const pwmpower::Matching &m) {
        if (m.none) {
            ui->filterRm->setText(none);
            ui->filterCm->setText(none);
            ui->filterLm->setText(none);
            return;
        }
        setEngLabel(m.R, ui->filterRm, kOhm);
        if (m.L != 0) {
            ui->filterCm->setText(none);
            setEngLabel(m.L, ui->filterLm, QStringLiteral("H"));
        } else {
            ui->filterLm->setText(none);
            setEngLabel(m.C, ui->filterCm, QStringLiteral("F"));
        }
    };

    if (ui->filterLoadIsC->isChecked()) {
        ui->filterLload->setEnabled(false);
        ui->filterCload->setEnabled(true);
        ui->filterLload->setText(QStringLiteral("short"));
        const double C = parseLineEdit(ui->filterCload, QStringLiteral("R"));
        show(pwmpower::matchingForCapacitiveLoad(R, ui->filterCload->text(), C));
    } else if (ui->filterLoadIsL->isChecked()) {
        ui->filterCload->setEnabled(false);
        ui->filterLload->setEnabled(true);
        ui->filterCload->setText(QStringLiteral("short"));
        const double L = parseLineEdit(ui->filterLload, QStringLiteral("R"));
        show(pwmpower::matchingForInductiveLoad(R, ui->filterLload->text(), L));
    }
    loadSchematic();
}

void MainWindow::loadFilter()
{
    designModified = true;

    pwmpower::HandOverInput in;
    for (int i = 0; i < 6; ++i)
        in.filterValues[i] = filterValues[i];
    in.order = ui->filterOrderActual->value();
    in.type = filterPageType(ui);
    in.load = ui->filterLoadIsC->isChecked()   ? pwmpower::LoadKind::Capacitive
              : ui->filterLoadIsL->isChecked() ? pwmpower::LoadKind::Inductive
                                               : pwmpower::LoadKind::Unset;
    in.LloadText = ui->filterLload->text();
    in.LloadMilli = parseLineEdit(ui->filterLload, QStringLiteral("R"));
    in.RL = parseLineEdit(ui->filterR_L, QStringLiteral("R"));
    in.CloadText = ui->filterCload->text();
    if (in.load == pwmpower::LoadKind::Capacitive)
        in.CloadMicro = parseLineEdit(ui->filterCload, QStringLiteral("R"));
    const pwmpower::HandOver h = pwmpower::handOverFilter(in);

    QString *P[6] = {P1, P2, P3, P4, P5, P6};
    for (int k = 0; k < 6; ++k)
        setTriple(P[k], h.P[k]);
    setTriple(MN, h.MN);
    QString *L[5] = {L1, L2, L3, L4, L5};
    for (int i = 0; i < 5; ++i)
        setTriple(L[i], h.L[i]);

    if (ui->HBbutton->isChecked()) ui->HBPower->setChecked(true);
    if (ui->FBbutton->isChecked()) ui->FBPower->setChecked(true);
    switch (in.type) {
    case pwmpower::FilterType::SingleEnded:
        ui->SEpower->setChecked(true);
        break;
    case pwmpower::FilterType::SplitInductor:
        ui->SIpower->setChecked(true);
        break;
    case pwmpower::FilterType::DualCapacitor:
        ui->DCpower->setChecked(true);
        break;
    }
    {
        // The page is recomputed once below, with everything in place.
        const QSignalBlocker blocker(ui->PWMfilterOrder);
        ui->PWMfilterOrder->setValue(in.order);
    }
    extendedLoad = false;
    ui->ExtendedLoad->setText(QStringLiteral("Extended Load"));

    // By name: the power page lists no three-phase parts, so positions differ between the two
    // lists. A part the power page does not offer leaves its choice as it was.
    const int index = ui->ampSelectorPower->findText(ui->ampSelectorFilter->currentText(),
                                                     Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) ui->ampSelectorPower->setCurrentIndex(index);
    ui->VsPWM->setText(ui->filterVs->text());
    ui->FsPWM->setText(ui->filterFsw->text());

    ui->Page->setCurrentIndex(9);
    ui->PowerTabs->setCurrentIndex(0);
    refreshPower();
    plotFullFilter();
}
