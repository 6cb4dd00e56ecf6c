// Worked examples of the PWM control pages, and the PWM power page's values they share.
#include "app/mainwindow.h"

#include "examples/exampletable.h"
#include "ui_mainwindow.h"

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
    extendedLoad = false;
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
    // The control loop is designed around the power page's filter and load.
    writePowerNetwork(s.net);

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
