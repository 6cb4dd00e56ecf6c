// The three-phase motor page (page 10): its set-up, the refresh that runs the bridge to
// thermal equilibrium, and the results and warnings it shows.
#include "app/mainwindow.h"

#include "motor/p3thermal.h"
#include "motor/waitcursor.h"
#include "ui_mainwindow.h"

#include <QIcon>
#include <qcustomplot.h>

void MainWindow::setupP3page()
{
    connect(ui->P3schematic, &QCustomPlot::itemClick, this, &MainWindow::onP3schematicItemClicked);
    setupP3schematic();
    refreshP3();
    ui->P3Fsw->setText(QStringLiteral("1"));
    ui->P3Vs->setText(QStringLiteral("50"));
    ui->P3Vcc->setText(QStringLiteral("5"));
    // The minimum heatsink is computed by P3minHeatsink, but the page does not show it.
    ui->P3minHS->hide();
    ui->label_318->hide();
    ui->label_328->hide();
}

motor::MotorModel MainWindow::P3motorModel() const
{
    motor::MotorModel m;
    m.R = ThreePhaseR;
    m.L = ThreePhaseL;
    m.Vemf = ThreePhaseVemf;
    m.nPoles = ThreePhasenPoles;
    m.isDelta = ThreePhaseisDelta;
    m.controlVariable = ThreePhaseControlVariable;
    m.controlType = ThreePhaseControlType;
    m.constantVariable = ThreePhaseConstantVariable;
    m.controlAmplitude = ThreePhaseControlAmplitude;
    m.constantAmplitude = ThreePhaseConstantAmplitude;
    m.timeVector = ThreePhaseTimeVector;
    m.amplitudeVector = ThreePhaseAmplitudeVector;
    m.isLinear = ThreePhaseisLinear;
    m.cycleLength = ThreePhaseCycleLength;
    return m;
}

motor::BridgeInput MainWindow::readP3inputs()
{
    const QString R = QStringLiteral("R");
    motor::BridgeInput in;
    in.part = findSwitching(ui->P3ampSelector->currentText());
    in.Vs = parseLineEdit(ui->P3Vs, R);
    in.Vcc = parseLineEdit(ui->P3Vcc, R);
    in.FswHz = parseLineEdit(ui->P3Fsw, R) * 1000; // the field is in kHz
    in.commutation = ui->P3commType->currentIndex();
    in.start = parseLineEdit(ui->P3startTime, R);
    in.end = parseLineEdit(ui->P3endTime, R);
    in.removeDiode = ui->P3removeDiode->isChecked();
    in.removeSwitching = ui->P3removeSwitching->isChecked();
    in.motor = P3motorModel();
    return in;
}

void MainWindow::showP3bridgeResult(const motor::BridgeResult &r, bool removeDiode,
                                    bool removeSwitching)
{
    const auto bracketed = [this](double value, bool leftOut) {
        const QString text = number2String(value);
        return leftOut ? QStringLiteral("(") + text + QStringLiteral(")") : text;
    };
    ui->P3loadPower->setText(number2String(r.loadPower));
    ui->P3conductionPower->setText(number2String(r.Pc));
    ui->P3wirePower->setText(number2String(r.Pw));
    ui->P3diodePower->setText(bracketed(r.Pd, removeDiode));
    ui->P3switchingPower->setText(bracketed(r.Ps, removeSwitching));
    ui->P3VccPower->setText(number2String(r.Pq));
    ui->P3ampPower->setText(number2String(r.ampPower));
    ui->P3efficiency->setText(number2String(r.efficiency));
    ui->P3Ipeak->setText(number2String(r.Ipeak));
    ui->P3RMScurrent->setText(number2String(r.Irms));

    ui->P3TextBrowser->clear();
    ui->P3TextBrowser->setTextColor(Qt::black);
    for (const QString &line : motor::lossLines(r))
        ui->P3TextBrowser->append(line);
}

void MainWindow::analyzeThreePhase(double Rdson, double *Pc, double *Pd, double *Ps, double *Pq,
                                   double *Pw)
{
    const motor::BridgeInput in = readP3inputs();
    const motor::BridgeResult r = motor::simulateBridge(in, Rdson, &P3waveforms);
    P3warningFlags = r.flags;
    showP3bridgeResult(r, in.removeDiode, in.removeSwitching);
    *Pc = r.Pc;
    *Pd = r.Pd;
    *Ps = r.Ps;
    *Pq = r.Pq;
    *Pw = r.Pw;
}

void MainWindow::generateControlVector(QVector<double> *timebase, QVector<double> *fCycle,
                                       QVector<double> *DutyCycleEnv, double endTime)
{
    const motor::ControlProfile p =
        motor::generateControlVector(readP3inputs(), endTime, &P3warningFlags);
    *timebase += p.timebase;
    *fCycle += p.fCycle;
    *DutyCycleEnv += p.DutyCycleEnv;
}

double MainWindow::linterp(QVector<double> searchVector, QVector<double> returnVector,
                           double searchNum, int *startIndex)
{
    return motor::linterp(searchVector, returnVector, searchNum, startIndex, &P3warningFlags);
}

double MainWindow::P3DCfromIandRPM(double Ipk, double RPM, double Vs, double R, double L, int n,
                                   double Vemf)
{
    return motor::dcFromIandRPM(Ipk, RPM, Vs, R, L, n, Vemf, ui->P3commType->currentIndex());
}

double MainWindow::P3RPMfromIandDC(double Ipk, double DCenv, double Vs, double R, double L, int n,
                                   double Vemf)
{
    return motor::rpmFromIandDC(Ipk, DCenv, Vs, R, L, n, Vemf, ui->P3commType->currentIndex(),
                                &P3warningFlags);
}

double MainWindow::P3minHeatsink(double Ieffective, double Pother, pwm inverter)
{
    const double Tamb = parseLineEdit(ui->P3Tambient, QStringLiteral("R"));
    const double Rtim = parseLineEdit(ui->P3TIM, QStringLiteral("R"));
    return motor::minHeatsink(Ieffective, Pother, inverter, Tamb, Rtim);
}

void MainWindow::refreshP3()
{
    const WaitCursor wait;
    designModified = true;

    const motor::BridgeInput in = readP3inputs();
    motor::ThermalInput thermal;
    thermal.Tamb = parseLineEdit(ui->P3Tambient, QStringLiteral("R"));
    thermal.Rhs = parseLineEdit(ui->P3heatsink, QStringLiteral("R"));
    thermal.heatsinkNone = ui->P3heatsink->text() == QLatin1String("none");
    thermal.Rtim = parseLineEdit(ui->P3TIM, QStringLiteral("R"));

    const motor::ThermalResult res = motor::runToEquilibrium(in, thermal, &P3waveforms);
    P3warningFlags = res.flags;
    showP3bridgeResult(res.bridge, in.removeDiode, in.removeSwitching);
    ui->P3Tcase->setText(number2String(res.Tcase));
    ui->P3Tjunction->setText(number2String(res.Tjunction));

    P3warnings();

    // A delta winding has no star point to show.
    if (ThreePhaseisDelta) {
        for (QString &slot : P3graphables) {
            if (slot == QLatin1String("Vwye")) slot = motor::emptySlot();
        }
    }
    P3refreshGraphs();
    drawP3schematic(ThreePhaseisDelta);

    ui->P3TextBrowser->append(QStringLiteral("\nAverage Rds(ON) for a single switch: ") +
                              number2String(res.Rdson) + QString::fromUtf8(" Ω"));
    ui->P3TextBrowser->append(QStringLiteral("Iterations to achieve thermal equilibrium: ") +
                              number2String(res.runs));
}

void MainWindow::P3warnings()
{
    if (P3warningFlags == 0) {
        ui->P3outputTabs->setTabIcon(3, QIcon());
        return;
    }
    ui->P3outputTabs->setTabIcon(3, QIcon(QStringLiteral(":/KestLinear/Warning.png")));
    ui->P3TextBrowser->setTextColor(Qt::red);
    ui->P3TextBrowser->append(QStringLiteral("\n") +
                              motor::warningMessages(P3warningFlags).join(QString()));
    ui->P3TextBrowser->setTextColor(Qt::black);
}
