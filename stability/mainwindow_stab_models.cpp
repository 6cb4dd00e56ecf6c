// Stability page: the four Bode models read from the page, run in the engine and shown.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <qcustomplot.h>

#include <QFont>

stab::CircuitValues MainWindow::stabCircuitValues() const
{
    stab::CircuitValues v;
    v.RinC = RinC;
    v.RfbC = RfbC;
    v.RngC = RngC;
    v.CngC = CngC;
    v.CfbC = CfbC;
    v.RclC = RclC;
    v.RisoC = RisoC;
    v.CLoadStab = CLoadStab;
    v.RgStab = RgStab;
    v.RinL = RinL;
    v.RfbL = RfbL;
    v.RdL = RdL;
    v.RsL = RsL;
    v.CfbL = CfbL;
    v.RsGainL = RsGainL;
    v.RloadL = RloadL;
    v.LLoadStab = LLoadStab;
    v.RgStabL = RgStabL;
    v.hostRin = hostRin;
    v.compRfb = compRfb;
    v.hostRng = hostRng;
    v.hostCng = hostCng;
    v.compCfb = compCfb;
    return v;
}

void MainWindow::setStabCircuitValues(const stab::CircuitValues &v)
{
    RinC = v.RinC;
    RfbC = v.RfbC;
    RngC = v.RngC;
    CngC = v.CngC;
    CfbC = v.CfbC;
    RclC = v.RclC;
    RisoC = v.RisoC;
    CLoadStab = v.CLoadStab;
    RgStab = v.RgStab;
    RinL = v.RinL;
    RfbL = v.RfbL;
    RdL = v.RdL;
    RsL = v.RsL;
    CfbL = v.CfbL;
    RsGainL = v.RsGainL;
    RloadL = v.RloadL;
    LLoadStab = v.LLoadStab;
    RgStabL = v.RgStabL;
    hostRin = v.hostRin;
    compRfb = v.compRfb;
    hostRng = v.hostRng;
    hostCng = v.hostCng;
    compCfb = v.compCfb;
}

stab::BodeInput MainWindow::readBodeInput(bool composite)
{
    stab::BodeInput in;
    in.values = stabCircuitValues();
    in.compOption = CompOption;
    in.inverting = ui->StabInv->isChecked();
    in.phaseShiftComponents = phaseShiftComponents;
    if (composite) {
        // Read as fields so that an unreadable entry shows red.
        in.host.aolDb = parseLineEdit(ui->hostAOL, QStringLiteral("R"));
        in.host.pole1 = parseLineEdit(ui->hostPole1, QStringLiteral("R"));
        in.host.pole2 = parseLineEdit(ui->hostPole2, QStringLiteral("R"));
        in.host.pole3 = parseLineEdit(ui->hostPole3, QStringLiteral("R"));
    }
    return in;
}

namespace {

void drawGraphs(QCustomPlot *plot, const QVector<stab::BodeGraph> &graphs)
{
    QPen pen;
    pen.setWidth(3);
    for (const stab::BodeGraph &g : graphs) {
        QCPGraph *graph = plot->addGraph();
        // The closure marker repeats its key; keep its points in order.
        graph->setData(g.keys, g.values, true);
        graph->setName(g.name);
        pen.setColor(g.colour);
        pen.setStyle(g.style);
        graph->setPen(pen);
    }
}

} // namespace

void MainWindow::showBodeResult(const stab::BodeResult &r, bool plot)
{
    if (plot) {
        ui->GainPlot->clearGraphs();
        ui->PhasePlot->clearGraphs();
        for (const QString &line : r.details)
            ui->StabilityDetails->append(line);
    }

    ui->Stability->setStyleSheet(r.verdictStyle);
    ui->Stability->setText(r.verdict);
    ui->Stability->setFont(QFont(QStringLiteral("Agency FB"), 20));

    ui->SlewRateStab->setText(number2String(r.slewRate) + QStringLiteral(" V/µs"));
    setEngLabel(r.closureFrequency, ui->Fclosure, QStringLiteral("Hz"));
    setEngLabel(r.maxBandwidth, ui->MaxBW, QStringLiteral("Hz"));
    ui->PhaseMargin->setText(number2String(r.phaseMargin) + QStringLiteral("°"));
    ui->RateClosure->setText(number2String(r.rateOfClosure) + QStringLiteral(" dB/dec"));
    phaseMargin = r.phaseMargin;
    maxBW = r.maxBandwidth;

    if (!plot) return;
    drawGraphs(ui->GainPlot, r.gainGraphs);
    drawGraphs(ui->PhasePlot, r.phaseGraphs);
    ui->PhasePlot->yAxis->setRangeUpper(r.phaseAxisUpper);
    ui->GainPlot->replot();
    ui->PhasePlot->replot();
}

double MainWindow::plotCBodeData(bool plot)
{
    const amp part = findLinear(ui->AmpSelectorStab->currentText());
    ui->StabilityDetails->clear();
    stab::BodeInput in = readBodeInput(false);
    in.report = plot;
    const stab::BodeResult r = stab::capacitiveLoadBode(in, part);
    showBodeResult(r, plot);
    return r.closureFrequency;
}

double MainWindow::plotLBodeData(bool plot)
{
    const amp part = findLinear(ui->AmpSelectorStab->currentText());
    ui->StabilityDetails->clear();
    stab::BodeInput in = readBodeInput(false);
    in.report = plot;
    const stab::BodeResult r = stab::inductiveLoadBode(in, part);
    showBodeResult(r, plot);
    return r.closureFrequency;
}

void MainWindow::plotCBodeDataComposite(bool plot)
{
    const amp part = findLinear(ui->AmpSelectorStab->currentText());
    ui->StabilityDetails->clear();
    stab::BodeInput in = readBodeInput(true);
    in.report = plot;
    showBodeResult(stab::compositeCapacitiveBode(in, part), plot);
}

void MainWindow::plotLBodeDataComposite(bool plot)
{
    const amp part = findLinear(ui->AmpSelectorStab->currentText());
    ui->StabilityDetails->clear();
    stab::BodeInput in = readBodeInput(true);
    in.report = plot;
    showBodeResult(stab::compositeInductiveBode(in, part), plot);
}

void MainWindow::determineCase()
{
    const bool composite = ui->compositeCheckBox->isChecked();
    if (ui->CloadButton->isChecked()) {
        if (composite)
            plotCBodeDataComposite(true);
        else
            plotCBodeData(true);
    } else if (ui->LloadButton->isChecked()) {
        if (composite)
            plotLBodeDataComposite(true);
        else
            plotLBodeData(true);
    }
}
