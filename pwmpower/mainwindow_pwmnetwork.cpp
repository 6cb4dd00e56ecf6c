// The power page's output network as MainWindow members: read the triples and the page's
// order and filter type, evaluate with the engine of pwmpower/pwmnetwork.h. Also the readers
// of the page's other fields.
#include "app/mainwindow.h"

#include "pwmpower/fieldcheck.h"
#include "pwmpower/powerpagereader.h"
#include "ui_mainwindow.h"
#include "values/engwidgets.h"

#include <cmath>

namespace pwmpower {

Network readPowerNetwork(const MainWindow &w)
{
    Network net;
    const QString *p[6] = {w.P1, w.P2, w.P3, w.P4, w.P5, w.P6};
    for (int k = 0; k < 6; ++k)
        net.P[k] = tripleOf(p[k]);
    net.MN = tripleOf(w.MN);
    const QString *l[5] = {w.L1, w.L2, w.L3, w.L4, w.L5};
    for (int i = 0; i < 5; ++i)
        net.L[i] = tripleOf(l[i]);
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

PowerInput readPowerInputs(const MainWindow &w, PowerFieldCheck *check)
{
    Ui_MainWindow *ui = w.ui;
    using eng::Range;
    const FieldRule supply{Range::Positive, false, 1e6};
    const FieldRule frequency{Range::Positive, false, 1e12};
    const FieldRule signal{Range::Any, false, 1e6};
    const FieldRule magnitude{Range::NonNegative, false, 1e12};

    FieldReader supplyReader(QStringLiteral("no figure of the page can be computed"));
    FieldReader signalReader(QStringLiteral("the output power and losses cannot be computed"));
    FieldReader thermalReader(QStringLiteral("the temperatures cannot be computed"));
    PowerInput in;
    in.Vs = supplyReader.read(ui->VsPWM, QStringLiteral("Vs"), supply);
    in.FswHz = supplyReader.read(ui->FsPWM, QStringLiteral("Fsw"), frequency);
    // 0 Hz is a DC output.
    in.FsigHz = signalReader.read(ui->FsigPWM, QStringLiteral("Fsig"), kFsigRule);
    in.Vmax = signalReader.read(ui->PWMOut, QStringLiteral("The maximum output"), signal);
    in.Vmin = signalReader.read(ui->PWMOutMin, QStringLiteral("The minimum output"), signal);
    in.currentMode = ui->SigTypePWM->currentIndex() == 1;
    in.singleEnded = ui->SEpower->isChecked();
    in.fullBridge = ui->FBPower->isChecked();
    in.Ta = thermalReader.read(ui->tempAPower, QStringLiteral("The ambient temperature"),
                               {Range::Temperature, false, 1e6});
    in.noHeatsink = ui->heatsinkPower->text() == QLatin1String("none");
    if (!in.noHeatsink)
        in.heatsink = thermalReader.read(ui->heatsinkPower, QStringLiteral("The heatsink"),
                                         {Range::NonNegative, true, 1e12});
    in.compound = thermalReader.read(ui->ThermalCompoundPower,
                                     QStringLiteral("The thermal compound"), magnitude);

    PowerFieldCheck c;
    c.supply = supplyReader.allUsable();
    c.signal = signalReader.allUsable();
    c.thermal = thermalReader.allUsable();
    c.notes = supplyReader.notes + signalReader.notes + thermalReader.notes;
    if (!c.signal) {
        in.FsigHz = 0;
        in.Vmax = in.Vmin = 0;
    }
    if (!c.thermal) {
        in.Ta = 25;
        in.noHeatsink = true;
        in.heatsink = in.compound = 0;
    }
    if (check) *check = c;
    return in;
}

double readPlotFsig(const MainWindow &w)
{
    const double Fsig = usableValue(w.ui->FsigPWM, kFsigRule);
    return std::isfinite(Fsig) ? Fsig : 0;
}

SweepRange readSweepRange(const MainWindow &w, QStringList *notes)
{
    FieldReader reader(QStringLiteral("the plot uses its default span"));
    const FieldRule bound{eng::Range::NonNegative, false, 1e12};
    SweepRange r;
    r.minAuto = w.ui->Fmin->text() == QLatin1String("auto");
    if (!r.minAuto) {
        r.fmin = reader.read(w.ui->Fmin, QStringLiteral("Fmin"), bound);
        r.minAuto = std::isnan(r.fmin);
    }
    r.maxAuto = w.ui->Fmax->text() == QLatin1String("auto");
    if (!r.maxAuto) {
        r.fmax = reader.read(w.ui->Fmax, QStringLiteral("Fmax"), {eng::Range::Positive, false, 1e12});
        r.maxAuto = std::isnan(r.fmax);
    }
    if (notes) *notes << reader.notes;
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
