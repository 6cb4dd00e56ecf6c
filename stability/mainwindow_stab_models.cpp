// Stability page: the four Bode models read from the page, run in the engine and shown.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"
#include "values/engwidgets.h"

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
    if (composite) in.host = readHost(in.hostProblem);
    return in;
}

// Read as fields so that an unreadable entry shows red. The gain may be any number of dB but
// must be there; an empty pole is a pole the host does not have.
stab::HostAmp MainWindow::readHost(QString &problem)
{
    using eng::Range;
    stab::HostAmp host;
    bool ok = true;
    host.aolDb = eng::parseLineEdit(ui->hostAOL, QStringLiteral("R"), Range::Any, &ok);
    if (ui->hostAOL->text().trimmed().isEmpty())
        problem = QStringLiteral("HOST AOL is empty: no host op-amp is chosen");
    else if (!ok)
        problem = QStringLiteral("HOST AOL is unreadable");
    const struct
    {
        QLineEdit *field;
        double *pole;
        const char *name;
    } poles[] = {{ui->hostPole1, &host.pole1, "HOST POLE 1"},
                 {ui->hostPole2, &host.pole2, "HOST POLE 2"},
                 {ui->hostPole3, &host.pole3, "HOST POLE 3"}};
    for (const auto &p : poles) {
        *p.pole = eng::parseLineEdit(p.field, QStringLiteral("R"), Range::NonNegative, &ok);
        if (ok || !problem.isEmpty()) continue;
        bool readable = false;
        eng::parseFieldText(p.field->text(), QStringLiteral("R"), &readable);
        problem = QLatin1String(p.name) +
                  (readable ? QStringLiteral(" is negative") : QStringLiteral(" is unreadable"));
    }
    return host;
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

    ui->Stability->setToolTip(r.refusal);

    ui->SlewRateStab->setText(number2String(r.slewRate) + QStringLiteral(" V/µs"));
    phaseMargin = r.phaseMargin;
    maxBW = r.maxBandwidth;
    QLabel *const figures[] = {ui->Fclosure, ui->MaxBW, ui->PhaseMargin, ui->RateClosure};
    if (!r.analysed()) {
        for (QLabel *label : figures)
            eng::setNoResult(label);
    } else {
        for (QLabel *label : figures)
            eng::setResultRed(label, false);
        setEngLabel(r.closureFrequency, ui->Fclosure, QStringLiteral("Hz"));
        setEngLabel(r.maxBandwidth, ui->MaxBW, QStringLiteral("Hz"));
        ui->PhaseMargin->setText(number2String(r.phaseMargin) + QStringLiteral("°"));
        ui->RateClosure->setText(number2String(r.rateOfClosure) + QStringLiteral(" dB/dec"));
    }

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
