// The power page's output network as MainWindow members: read the triples and the page's
// order and filter type, evaluate with the engine of pwmpower/pwmnetwork.h.
#include "app/mainwindow.h"

#include "pwmpower/powernetworkreader.h"
#include "ui_mainwindow.h"

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
    const pwmpower::DcResult r = pwmpower::dcResponse(pwmpower::readPowerNetwork(*this), VDC,
                                                      pwmpower::driveFromChar(VorI));
    *Vload = r.Vload;
    *Rtot = r.Rtot;
    *Rload = r.Rload;
}

double MainWindow::FilterPower(double F, double V)
{
    return pwmpower::filterLoss(pwmpower::readPowerNetwork(*this), F, V);
}
