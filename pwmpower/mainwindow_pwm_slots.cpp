// The widgets of the filter design and PWM power pages, bound by name: nearly all recompute
// their page; the "use" buttons fill a field from the part first, the parasitics buttons
// estimate or clear the filter parts' parasitics, AutoMN sizes the matching network.
#include "app/mainwindow.h"

#include "pwmpower/fieldcheck.h"
#include "pwmpower/parasitics.h"
#include "ui_mainwindow.h"

#include <cmath>

namespace {

// The capacitor parasitics of one row of the parasitics tab (plastic film or electrolytic):
// ESR and ESL of the capacitor itself and of its board connection, in ohm and nH.
void useCapacitorParasitics(MainWindow &w, QLineEdit *esrC, QLineEdit *eslC, QLineEdit *esrB,
                            QLineEdit *eslB)
{
    const double rc = w.parseLineEdit(esrC, QStringLiteral("R"));
    const double lc = w.parseLineEdit(eslC, QStringLiteral("R")) / 1e9;
    const double rb = w.parseLineEdit(esrB, QStringLiteral("R"));
    const double lb = w.parseLineEdit(eslB, QStringLiteral("R")) / 1e9;
    for (QString *t : {w.P2, w.P4, w.P6}) {
        pwmpower::Triple part = pwmpower::tripleOf(t);
        pwmpower::estimateCapacitorParasitics(part, rc, lc, rb, lb);
        pwmpower::storeTriple(t, part);
    }
    w.refreshPower();
    w.plotFullFilter();
}

} // namespace

// ---- filter design page

void MainWindow::on_ampSelectorFilter_activated(int)
{
    refreshFilter();
}

void MainWindow::on_SEbutton_clicked()
{
    refreshFilter();
}

void MainWindow::on_DCbutton_clicked()
{
    refreshFilter();
}

void MainWindow::on_SIbutton_clicked()
{
    refreshFilter();
}

void MainWindow::on_HBbutton_clicked()
{
    refreshFilter();
}

void MainWindow::on_FBbutton_clicked()
{
    refreshFilter();
}

void MainWindow::on_filterOrderActual_valueChanged(int)
{
    refreshFilter();
}

void MainWindow::on_filterVs_editingFinished()
{
    refreshFilter();
}

void MainWindow::on_filterFsw_editingFinished()
{
    refreshFilter();
}

void MainWindow::on_filterFcut_editingFinished()
{
    refreshFilter();
}

void MainWindow::on_filterVrip_editingFinished()
{
    refreshFilter();
}

void MainWindow::on_filterR_L_editingFinished()
{
    refreshFilter();
}

void MainWindow::on_dbAttenuation_toggled()
{
    refreshFilter();
}

void MainWindow::on_useMaxVs_clicked()
{
    const pwm part = findSwitching(ui->ampSelectorFilter->currentText());
    ui->filterVs->setText(QString::number(part.getVs_max(), 'g', 6));
    refreshFilter();
}

void MainWindow::on_useMaxFsw_clicked()
{
    const pwm part = findSwitching(ui->ampSelectorFilter->currentText());
    setEngLineEdit(part.getFsw_max() * 1000, ui->filterFsw, QString());
    refreshFilter();
}

void MainWindow::on_useFswOver10_clicked()
{
    // From a switching frequency that cannot be used there is nothing to derive: the cutoff
    // stays as typed, and the refresh names the field.
    const double Fsw = pwmpower::usableValue(ui->filterFsw);
    if (std::isfinite(Fsw)) setEngLineEdit(Fsw / 10.0, ui->filterFcut, QString());
    refreshFilter();
}

void MainWindow::on_useRecN_clicked()
{
    // An order that is no whole number (Fsw at or below Fcut) reads as 0; the box clamps it.
    ui->filterOrderActual->setValue(ui->filterOrder->text().toInt());
    refreshFilter();
}

void MainWindow::on_orderButton_clicked()
{
    ui->filterStack->setCurrentIndex(0);
    refreshFilter();
}

void MainWindow::on_MNbutton_clicked()
{
    ui->filterStack->setCurrentIndex(1);
    matchingNetwork();
}

void MainWindow::on_filterRload_editingFinished()
{
    matchingNetwork();
}

void MainWindow::on_filterCload_editingFinished()
{
    matchingNetwork();
}

void MainWindow::on_filterLload_editingFinished()
{
    matchingNetwork();
}

void MainWindow::on_filterLoadIsC_clicked()
{
    matchingNetwork();
}

void MainWindow::on_filterLoadIsL_clicked()
{
    matchingNetwork();
}

void MainWindow::on_useMNvalues_clicked()
{
    ui->filterR_L->setText(ui->filterRload->text());
    ui->filterStack->setCurrentIndex(0);
    refreshFilter();
}

// ---- PWM power page

void MainWindow::on_loadFilterToPower_clicked()
{
    loadFilter();
}

void MainWindow::on_ImportFilter_clicked()
{
    loadFilter();
}

void MainWindow::on_ampSelectorPower_activated(int)
{
    powerActionNote.clear(); // the user's own choice answers the hand-over's note
    refreshPower();
    plotFullFilter();
}

void MainWindow::on_PWMfilterOrder_valueChanged(int)
{
    refreshPower();
    plotFullFilter();
}

void MainWindow::on_SEpower_clicked()
{
    refreshPower();
    plotFullFilter();
}

void MainWindow::on_DCpower_clicked()
{
    on_SEpower_clicked();
}

void MainWindow::on_SIpower_clicked()
{
    on_SEpower_clicked();
}

void MainWindow::on_HBPower_clicked()
{
    on_SEpower_clicked();
}

void MainWindow::on_FBPower_clicked()
{
    on_SEpower_clicked();
}

void MainWindow::on_Fmin_editingFinished()
{
    refreshPower();
}

void MainWindow::on_Fmax_editingFinished()
{
    refreshPower();
}

void MainWindow::on_yVariable_activated(int)
{
    refreshPower();
}

void MainWindow::on_VsPWM_editingFinished()
{
    refreshPower();
}

void MainWindow::on_FsPWM_editingFinished()
{
    refreshPower();
}

void MainWindow::on_PWMOut_editingFinished()
{
    refreshPower();
}

void MainWindow::on_PWMOutMin_editingFinished()
{
    refreshPower();
}

void MainWindow::on_FsigPWM_editingFinished()
{
    refreshPower();
}

void MainWindow::on_SigTypePWM_activated(int)
{
    refreshPower();
}

void MainWindow::on_tempAPower_editingFinished()
{
    PWMpowerDetails();
}

void MainWindow::on_heatsinkPower_editingFinished()
{
    PWMpowerDetails();
}

void MainWindow::on_ThermalCompoundPower_editingFinished()
{
    PWMpowerDetails();
}

void MainWindow::on_UseMaxVsPower_clicked()
{
    const pwm part = findSwitching(ui->ampSelectorPower->currentText());
    ui->VsPWM->setText(QString::number(part.getVs_max(), 'g', 6));
    refreshPower();
}

void MainWindow::on_UseMaxFswPower_clicked()
{
    const pwm part = findSwitching(ui->ampSelectorPower->currentText());
    setEngLineEdit(1000 * part.getFsw_max(), ui->FsPWM, QString());
    refreshPower();
}

void MainWindow::on_ExtendedLoad_clicked()
{
    extendedLoad = !extendedLoad;
    extendLoad();
    plotFullFilter();
    refreshPower();
}

void MainWindow::on_UseLParasitics_clicked()
{
    const double a = parseLineEdit(ui->LESRC, QStringLiteral("R"));
    const double b = parseLineEdit(ui->LEPCC, QStringLiteral("R")) / 1e12;
    const double c = parseLineEdit(ui->LESRB, QStringLiteral("R")) * 1000;
    const double d = parseLineEdit(ui->LEPCB, QStringLiteral("R")) / 1e9;
    for (QString *t : {P1, P3, P5}) {
        pwmpower::Triple part = pwmpower::tripleOf(t);
        pwmpower::estimateInductorParasitics(part, a, b, c, d);
        pwmpower::storeTriple(t, part);
    }
    refreshPower();
    plotFullFilter();
}

void MainWindow::on_UsePParasitcs_clicked()
{
    useCapacitorParasitics(*this, ui->PESRC, ui->PESLC, ui->PESRB, ui->PESLB);
}

void MainWindow::on_UseEParasitics_clicked()
{
    useCapacitorParasitics(*this, ui->EESRC, ui->EESLC, ui->EESRB, ui->EESLB);
}

void MainWindow::on_ZeroLParasitics_clicked()
{
    for (QString *t : {P1, P3, P5})
        t[1] = t[2] = QStringLiteral("0");
    refreshPower();
    plotFullFilter();
}

void MainWindow::on_ZeroPParasitics_clicked()
{
    for (QString *t : {P2, P4, P6})
        t[0] = t[1] = QStringLiteral("0");
    refreshPower();
    plotFullFilter();
}

void MainWindow::on_ZeroEParasitics_clicked()
{
    on_ZeroPParasitics_clicked();
}

void MainWindow::on_AutoMN_clicked()
{
    double Vload = 0, Zout = 0, Aout = 0, Zload = 0, Aload = 0;
    loadACVoltage(1000.0, 0, &Vload, &Zout, &Aout, &Zload, &Aload, 'V');
    bool reactiveOnly = false;
    pwmpower::storeTriple(
        MN, pwmpower::autoMatchingNetwork(Zload, Aload, pwmpower::tripleOf(L5), &reactiveOnly));
    powerActionNote = reactiveOnly ? QStringLiteral("The load has no resistance: a resistive "
                                                    "match needs a resistive part in the load")
                                   : QString();
    refreshPower();
    plotFullFilter();
}
