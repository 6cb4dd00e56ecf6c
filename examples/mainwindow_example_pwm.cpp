// Worked examples of the PWM filter, PWM power and PWM control pages.
#include "app/mainwindow.h"

#include "examples/exampletable.h"
#include "ui_mainwindow.h"

#include <QSignalBlocker>

namespace {

void setTriple(QString *member, const examples::Triple &t)
{
    member[0] = t.l;
    member[1] = t.r;
    member[2] = t.c;
}

} // namespace

void MainWindow::writePowerNetwork(const examples::PowerNetwork &net)
{
    QString *const filter[] = {P1, P2, P3, P4, P5, P6};
    for (int i = 0; i < 6; ++i)
        setTriple(filter[i], net.p[i]);
    setTriple(MN, net.mn);
    QString *const load[] = {L1, L2, L3, L4, L5};
    for (int i = 0; i < 5; ++i)
        setTriple(load[i], net.load[i]);
    ui->PWMfilterOrder->setValue(net.order);
    // The load is drawn condensed; its button must offer the extended view again.
    extendedLoad = false;
    extendLoad();
}

void MainWindow::writePowerOutputStage(examples::OutputStage stage)
{
    switch (stage) {
    case examples::OutputStage::FullBridgeSplitInductor:
        ui->FBPower->setChecked(true);
        ui->SIpower->setChecked(true);
        break;
    case examples::OutputStage::FullBridgeDualCapacitor:
        ui->FBPower->setChecked(true);
        ui->DCpower->setChecked(true);
        break;
    case examples::OutputStage::HalfBridgeSingleEnded:
        ui->HBPower->setChecked(true);
        ui->SEpower->setChecked(true);
        break;
    }
    const bool bridge = stage != examples::OutputStage::HalfBridgeSingleEnded;
    ui->DCpower->setEnabled(bridge);
    ui->SIpower->setEnabled(bridge);
}

void MainWindow::applyFilterExample(const examples::FilterSetup &s)
{
    ui->Page->setCurrentIndex(12);
    ui->ampSelectorFilter->setCurrentText(s.part);
    ui->filterVs->setText(s.vs);
    ui->filterFsw->setText(s.fsw);
    ui->filterFcut->setText(s.fcut);
    ui->filterVrip->setText(s.vrip);

    switch (s.output) {
    case examples::OutputStage::FullBridgeSplitInductor:
        ui->FBbutton->setChecked(true);
        ui->SIbutton->setChecked(true);
        break;
    case examples::OutputStage::FullBridgeDualCapacitor:
        ui->FBbutton->setChecked(true);
        ui->DCbutton->setChecked(true);
        break;
    case examples::OutputStage::HalfBridgeSingleEnded:
        ui->HBbutton->setChecked(true);
        ui->SEbutton->setChecked(true);
        break;
    }
    // Only a bridge can feed the two-sided filter types.
    const bool bridge = s.output != examples::OutputStage::HalfBridgeSingleEnded;
    ui->DCbutton->setEnabled(bridge);
    ui->SIbutton->setEnabled(bridge);

    ui->filterOrderActual->setValue(s.order);
    if (s.rL) ui->filterR_L->setText(*s.rL);
    if (s.stackOnly) ui->filterStack->setCurrentIndex(*s.stackOnly);

    const auto writeLoad = [this](const examples::FilterLoad &load) {
        ui->filterStack->setCurrentIndex(load.stack);
        ui->filterRload->setText(load.rLoad);
        (load.inductive ? ui->filterLoadIsL : ui->filterLoadIsC)->setChecked(true);
        ui->filterLload->setText(load.lLoad);
        ui->filterCload->setText(load.cLoad);
    };
    if (s.load && !s.loadAfterRefresh) writeLoad(*s.load);
    refreshFilter();
    if (s.load && s.loadAfterRefresh) {
        writeLoad(*s.load);
        matchingNetwork();
    }
}

void MainWindow::applyPowerExample(const examples::PowerSetup &s)
{
    ui->Page->setCurrentIndex(9);
    if (s.tab) ui->PowerTabs->setCurrentIndex(*s.tab);
    writePowerNetwork(s.net);

    ui->ampSelectorPower->setCurrentText(s.part);
    ui->VsPWM->setText(s.vs);
    ui->FsPWM->setText(s.fsw);
    if (s.fsig) ui->FsigPWM->setText(*s.fsig);
    if (s.writesOutput) {
        ui->SigTypePWM->setCurrentIndex(0);
        ui->PWMOut->setText(s.outMax);
        ui->PWMOutMin->setText(s.outMin);
    }
    writePowerOutputStage(s.output);
    plotFullFilter();

    if (s.yVariable) ui->yVariable->setCurrentIndex(*s.yVariable);
    ui->Fmin->setText(s.fmin);
    ui->Fmax->setText(s.fmax);
    ui->tempAPower->setText(QStringLiteral("25"));
    ui->heatsinkPower->setText(s.heatsink);
    ui->ThermalCompoundPower->setText(QStringLiteral("0.1"));
    refreshPower();
}

void MainWindow::applyControlExample(const examples::ControlSetup &s)
{
    if (s.step == 1) {
        ui->Page->setCurrentIndex(13);
        SConIcons();
        ui->V1button->setChecked(true);
        SConDescription();
    } else {
        ui->V1button->setChecked(true);
        ui->Page->setCurrentIndex(12 + s.step);
    }
    // The control loop is designed around the power page's filter and load. The first two
    // steps only show the wizard: the power page is not recomputed for them, not even when
    // its filter order changes.
    {
        const QSignalBlocker quiet(s.step < 3 ? ui->PWMfilterOrder : nullptr);
        writePowerNetwork(s.net);
    }

    if (s.step < 3) {
        ui->ampSelectorPower->setCurrentText(s.part);
        ui->VsPWM->setText(s.vs);
        ui->FsPWM->setText(s.fsw);
        ui->FsigPWM->setText(s.fsig);
        ui->SigTypePWM->setCurrentIndex(0);
        ui->PWMOut->setText(s.outMax);
        ui->PWMOutMin->setText(s.outMin);
        writePowerOutputStage(examples::OutputStage::FullBridgeSplitInductor);
        return;
    }

    ui->ampSelectorSCon->setCurrentText(s.part);
    ui->SConVs->setText(s.vs);
    ui->SConFsw->setText(s.fsw);
    ui->SConFreq->setText(s.fsig);
    ui->SConVoutMax->setText(s.outMax);
    ui->SConVoutMin->setText(s.outMin);
    writePowerOutputStage(examples::OutputStage::FullBridgeSplitInductor);
    ui->SConVcc->setText(s.vcc);
    ui->SConVinMax->setText(s.vinMax);
    ui->SConVinMin->setText(s.vinMin);

    const examples::ControlNetwork &v = s.values;
    const std::pair<const std::optional<QString> *, QString *> members[] = {
        {&v.rint, &SConRint},   {&v.cint, &SConCint}, {&v.vref, &SConVref}, {&v.vbias, &SConVbias},
        {&v.rbias, &SConRbias}, {&v.rin, &SConRin},   {&v.rf, &SConRf},     {&v.rnf, &SConRnf},
        {&v.cnf, &SConCnf},     {&v.rdf, &SConRdf},   {&v.cdf, &SConCdf},   {&v.rdin, &SConRdin},
        {&v.rdif, &SConRdif},   {&v.cdif, &SConCdif}};
    for (const auto &m : members)
        if (*m.first) *m.second = **m.first;
    drawSConSchematic();
    refreshSCon();
}
