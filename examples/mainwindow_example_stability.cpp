// Worked examples of the stability page.
#include "app/mainwindow.h"

#include "examples/exampletable.h"
#include "ui_mainwindow.h"

namespace {

// Position of the OP07 in the host op-amp table; the composite examples take its gain and
// poles from there.
constexpr int hostOp07Row = 11;

} // namespace

void MainWindow::applyStabilityExample(const examples::StabilitySetup &s)
{
    using Kind = examples::RcCalculator::Kind;
    const double twoPi = 6.283185307179586;
    // The calculator's result comes from the example's own two values, not from a run of
    // the page's calculator over all its fields.
    if (s.calculator.kind == Kind::CapacitorFromRF) {
        ui->RCPCR1->setText(s.calculator.first);
        ui->RCPCF1->setText(s.calculator.second);
        const double r = parseValue(s.calculator.first);
        const double f = parseValue(s.calculator.second);
        setEngLabel(1.0 / (twoPi * r * f), ui->RCPCC1, QStringLiteral("F"));
    } else if (s.calculator.kind == Kind::ResistorFromFC) {
        ui->RCPCF3->setText(s.calculator.first);
        ui->RCPCC3->setText(s.calculator.second);
        const double f = parseValue(s.calculator.first);
        const double c = parseValue(s.calculator.second);
        setEngLabel(1.0 / (twoPi * f * c), ui->RCPCR3, QString::fromUtf8("\u03a9"));
    }

    // The option index must be valid for whatever part the refreshes below meet first.
    CompOption = 0;
    ui->Page->setCurrentIndex(4);
    ui->AmpSelectorStab->setCurrentText(s.part);
    (s.capacitiveLoad ? ui->CloadButton : ui->LloadButton)->setChecked(true);
    (s.inverting ? ui->StabInv : ui->StabNon)->setChecked(true);
    ui->StabilityTabOutput->setCurrentIndex(0);
    ui->StabilityTab->setCurrentIndex(s.tab);

    if (s.capacitiveLoad) {
        CLoadStab = s.cap.cLoad;
        RisoC = s.cap.rIso;
        RinC = s.cap.rIn;
        RfbC = s.cap.rFb;
        CfbC = s.cap.cFb;
        RngC = s.cap.rNg;
        CngC = s.cap.cNg;
        RclC = s.cap.rCl;
    } else {
        LLoadStab = s.ind.lLoad;
        RloadL = s.ind.rLoad;
        RinL = s.ind.rIn;
        RfbL = s.ind.rFb;
        CfbL = s.ind.cFb;
        RdL = s.ind.rD;
        RsL = s.ind.rS;
        RsGainL = s.ind.rSGain;
    }

    ui->compositeCheckBox->setChecked(s.composite);
    if (s.composite) {
        ui->hostSelector->setCurrentText(QStringLiteral("OP07"));
        QLineEdit *const hostFields[] = {ui->hostAOL, ui->hostPole1, ui->hostPole2, ui->hostPole3};
        if (hostOp07Row < hostVector.size()) {
            const amp host = hostVector.at(hostOp07Row);
            const double values[] = {host.getAol_DC(), host.getPole1(0), host.getPole2(0),
                                     host.getPole3(0)};
            for (int i = 0; i < 4; ++i)
                hostFields[i]->setText(QString::number(values[i], 'g', 6));
        } else {
            // A host table without that row: no host values rather than another part's.
            for (QLineEdit *field : hostFields)
                field->clear();
        }
        hostRin = s.host.rIn;
        compRfb = s.host.rFb;
        compCfb = s.host.cFb;
        hostRng = s.host.rNg;
        hostCng = s.host.cNg;
    }
    CompOption = s.compOption;

    phaseShiftComponents = s.phaseComponents;
    ui->phaseButton->setText(s.phaseComponents ? QStringLiteral("View Phase Shift")
                                               : QStringLiteral("View Phase Components"));
    refreshStab();
}
