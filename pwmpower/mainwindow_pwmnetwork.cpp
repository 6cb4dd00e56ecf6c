// The power page's output network as MainWindow members: read the triples and the page's
// order and filter type, evaluate with the engine of pwmpower/pwmnetwork.h. Also the readers
// of the page's other fields.
#include "app/mainwindow.h"

#include "pwmpower/powerpagereader.h"
#include "ui_mainwindow.h"
#include "values/engwidgets.h"

namespace pwmpower {

namespace {

Triple triple(const QString t[3])
{
    return {t[0], t[1], t[2]};
}

} // namespace

Network readPowerNetwork(const MainWindow &w)
{
    Network net;
    const QString *p[6] = {w.P1, w.P2, w.P3, w.P4, w.P5, w.P6};
    for (int k = 0; k < 6; ++k)
        net.P[k] = triple(p[k]);
    net.MN = triple(w.MN);
    const QString *l[5] = {w.L1, w.L2, w.L3, w.L4, w.L5};
    for (int i = 0; i < 5; ++i)
        net.L[i] = triple(l[i]);
    net.order = w.ui->PWMfilterOrder->value();
    if (w.ui->SIpower->isChecked())
        net.type = FilterType::SplitInductor;
    else if (w.ui->DCpower->isChecked())
        net.type = FilterType::DualCapacitor;
    else
        net.type = FilterType::SingleEnded;
    net.extendedLoad = w.extendedLoad;
    return net;
}

PowerInput readPowerInputs(const MainWindow &w)
{
    Ui_MainWindow *ui = w.ui;
    PowerInput in;
    in.Vs = eng::parseLineEdit(ui->VsPWM, QStringLiteral("R"));
    in.FswHz = eng::parseLineEdit(ui->FsPWM, QStringLiteral("R"));
    in.FsigHz = eng::parseLineEdit(ui->FsigPWM, QStringLiteral("R"));
    in.Vmax = eng::parseLineEdit(ui->PWMOut, QStringLiteral("R"));
    in.Vmin = eng::parseLineEdit(ui->PWMOutMin, QStringLiteral("R"));
    in.currentMode = ui->SigTypePWM->currentIndex() == 1;
    in.singleEnded = ui->SEpower->isChecked();
    in.fullBridge = ui->FBPower->isChecked();
    in.Ta = eng::parseLineEdit(ui->tempAPower, QStringLiteral("R"));
    in.noHeatsink = ui->heatsinkPower->text() == QLatin1String("none");
    in.heatsink = eng::parseLineEdit(ui->heatsinkPower, QStringLiteral("R"));
    in.compound = eng::parseLineEdit(ui->ThermalCompoundPower, QStringLiteral("R"));
    return in;
}

SweepRange readSweepRange(const MainWindow &w)
{
    SweepRange r;
    r.minAuto = w.ui->Fmin->text() == QLatin1String("auto");
    if (!r.minAuto) r.fmin = eng::parseLineEdit(w.ui->Fmin, QStringLiteral("R"));
    r.maxAuto = w.ui->Fmax->text() == QLatin1String("auto");
    if (!r.maxAuto) r.fmax = eng::parseLineEdit(w.ui->Fmax, QStringLiteral("R"));
    return r;
}

} // namespace pwmpower

void MainWindow::Tfilter(double F, comp *Tfil, comp *Ztot, comp *Zload)
{
    const pwmpower::Transfer t = pwmpower::transferAt(pwmpower::readPowerNetwork(*this), F);
    *Tfil = t.Tfil;
    *Ztot = t.Ztot;
    *Zload = t.Zload;
}

void MainWindow::Gfilter(double *Gfil, double *Rtot, double *Rload)
{
    const pwmpower::DcResult r =
        pwmpower::dcResponse(pwmpower::readPowerNetwork(*this), 1.0, pwmpower::Drive::Voltage);
    *Gfil = r.Vload;
    *Rtot = r.Rtot;
    *Rload = r.Rload;
}

void MainWindow::loadACVoltage(double F, double V, double *Vload, double *Zout, double *Aout,
                               double *Zload, double *Aload, char VorI)
{
    const pwmpower::AcResult r = pwmpower::acResponse(pwmpower::readPowerNetwork(*this), F, V,
                                                      pwmpower::driveFromChar(VorI));
    *Vload = r.Vload;
    *Zout = r.Zout;
    *Aout = r.Aout;
    *Zload = r.Zload;
    *Aload = r.Aload;
}

void MainWindow::loadDCVoltage(double VDC, double *Vload, double *Rtot, double *Rload, char VorI)
{
    const pwmpower::DcResult r =
        pwmpower::dcResponse(pwmpower::readPowerNetwork(*this), VDC, pwmpower::driveFromChar(VorI));
    *Vload = r.Vload;
    *Rtot = r.Rtot;
    *Rload = r.Rload;
}

double MainWindow::FilterPower(double F, double V)
{
    return pwmpower::filterLoss(pwmpower::readPowerNetwork(*this), F, V);
}
