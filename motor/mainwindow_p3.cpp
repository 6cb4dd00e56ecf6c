// The three-phase motor page (page 10): its set-up, the refresh that runs the bridge to
// thermal equilibrium, and the results and warnings it shows.
#include "app/mainwindow.h"

#include "motor/p3thermal.h"
#include "motor/simulationprogress.h"
#include "motor/waitcursor.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "values/engwidgets.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <qcustomplot.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

std::array<QLabel *, 12> p3resultLabels(Ui_MainWindow *ui)
{
    return {ui->P3loadPower,  ui->P3conductionPower, ui->P3wirePower,  ui->P3diodePower,
            ui->P3switchingPower, ui->P3VccPower,    ui->P3ampPower,   ui->P3efficiency,
            ui->P3Ipeak,      ui->P3RMScurrent,      ui->P3Tcase,      ui->P3Tjunction};
}

// How a value is named in a note: as typed where that is a plain figure.
QString describedValue(double value)
{
    if (value == infiniteValue) return QStringLiteral("open");
    return eng::noteFigure(value, eng::number2String(value));
}

// The note line for an input the simulation cannot use.
QString unusableLine(const QString &name, const QString &text, bool readable, double value,
                     const QString &why)
{
    QString state;
    if (text.trimmed().isEmpty())
        state = QStringLiteral("is empty");
    else if (!readable)
        state = QStringLiteral("cannot be read");
    else
        state = QStringLiteral("is ") + describedValue(value);
    return QStringLiteral("%1 %2: %3").arg(name, state, why);
}

// Reads a field of the page with the range its quantity must lie in. A field that cannot be
// used turns red and adds one note line that names it and says why.
double usableField(QLineEdit *edit, eng::Range range, const QString &name, const QString &why,
                   QStringList *problems)
{
    bool usable = false;
    const double value = eng::parseLineEdit(edit, QStringLiteral("R"), range, &usable);
    // "open" and "inf" read as a 4.29e9 stand-in, which no quantity of this page can be.
    if (usable && value != infiniteValue) return value;
    if (usable) eng::setFieldRed(edit); // the stand-in passes the range test

    bool readable = false;
    eng::parseFieldText(edit->text().trimmed(), QStringLiteral("R"), &readable);
    problems->append(unusableLine(name, edit->text(), readable, value, why));
    return value;
}

// The same for a motor or profile value kept as text (the motor dialog's, or a design file's).
void usableMotorValue(const QString &text, eng::Range range, const QString &name,
                      const QString &why, QStringList *problems)
{
    bool readable = false;
    const double value = eng::parseFieldText(text, QStringLiteral("R"), &readable);
    if (readable && eng::inRange(value, range) && value != infiniteValue) return;
    problems->append(unusableLine(name, text, readable, value, why));
}

// Every input of the page and of the motor dialog that the simulation cannot use, one note
// line each; also reads the thermal inputs.
QStringList p3InputProblems(MainWindow &w, motor::ThermalInput *thermal)
{
    Ui_MainWindow *ui = w.ui;
    using eng::Range;
    QStringList problems;
    usableField(ui->P3Vs, Range::Positive, QStringLiteral("Vs"),
                QStringLiteral("the bridge needs a finite, positive supply"), &problems);
    usableField(ui->P3Vcc, Range::NonNegative, QStringLiteral("Vcc"),
                QStringLiteral("the driver supply must be finite and not negative"), &problems);
    usableField(ui->P3Fsw, Range::Positive, QStringLiteral("Fsw"),
                QStringLiteral("the carrier needs a finite, positive switching frequency"), &problems);
    usableField(ui->P3startTime, Range::Any, QStringLiteral("The display start"),
                QStringLiteral("the window needs a finite time"), &problems);
    usableField(ui->P3endTime, Range::Any, QStringLiteral("The display end"),
                QStringLiteral("the window needs a finite time"), &problems);
    thermal->Tamb = usableField(ui->P3Tambient, Range::Temperature, QStringLiteral("Tambient"),
                                QStringLiteral("the ambient must be a finite temperature above -273.15 °C"),
                                &problems);
    thermal->heatsinkNone = ui->P3heatsink->text() == QLatin1String("none");
    if (thermal->heatsinkNone) {
        w.parseLineEdit(ui->P3heatsink, QStringLiteral("R"));
    } else {
        thermal->Rhs = usableField(ui->P3heatsink, Range::NonNegative, QStringLiteral("Heatsink"),
                                   QStringLiteral("the heat needs a finite, non-negative thermal resistance"),
                                   &problems);
    }
    thermal->Rtim = usableField(ui->P3TIM, Range::NonNegative, QStringLiteral("TIM"),
                                QStringLiteral("the heat needs a finite, non-negative thermal resistance"),
                                &problems);

    const QString edit = QStringLiteral(" (Edit Motor)");
    usableMotorValue(w.ThreePhaseR, Range::NonNegative, QStringLiteral("Motor R"),
                     QStringLiteral("the winding resistance must be finite and not negative") + edit, &problems);
    usableMotorValue(w.ThreePhaseL, Range::NonNegative, QStringLiteral("Motor L"),
                     QStringLiteral("the winding inductance must be finite and not negative") + edit, &problems);
    usableMotorValue(w.ThreePhaseVemf, Range::NonNegative, QStringLiteral("Motor Vemf"),
                     QStringLiteral("the back-EMF constant must be finite and not negative") + edit, &problems);
    if (w.ThreePhaseisLinear) {
        usableMotorValue(w.ThreePhaseCycleLength, Range::Positive,
                         QStringLiteral("Motor cycle length"),
                         QStringLiteral("a cycle needs a finite, positive length") + edit, &problems);
    }
    const QString profile = QStringLiteral(" (Edit Control)");
    usableMotorValue(w.ThreePhaseConstantAmplitude, Range::Any,
                     QStringLiteral("The constant amplitude"), QStringLiteral("a finite number is needed") + profile,
                     &problems);
    if (w.ThreePhaseControlType == 0) {
        usableMotorValue(w.ThreePhaseControlAmplitude, Range::Any,
                         QStringLiteral("The control amplitude"),
                         QStringLiteral("a finite number is needed") + profile, &problems);
    } else {
        const int points = std::min(w.ThreePhaseTimeVector.size(), w.ThreePhaseAmplitudeVector.size());
        for (int i = 0; i < points; ++i) {
            const QString point = QStringLiteral("Profile point %1 ").arg(i + 1);
            usableMotorValue(w.ThreePhaseTimeVector[i], Range::Any, point + QStringLiteral("time"),
                             QStringLiteral("a finite number is needed") + profile, &problems);
            usableMotorValue(w.ThreePhaseAmplitudeVector[i], Range::Any,
                             point + QStringLiteral("amplitude"),
                             QStringLiteral("a finite number is needed") + profile, &problems);
        }
    }
    return problems;
}

// The note for results that overflowed: only an absurdly large input does that, so it names
// the largest one (and turns its field red).
QString p3OverflowCause(const MainWindow &w)
{
    const Ui_MainWindow *ui = w.ui;
    struct Input
    {
        QString name;
        double value;
        QLineEdit *field; // null for a motor value
    };
    const auto field = [](const QString &name, QLineEdit *edit) {
        return Input{name, eng::parseFieldText(edit->text(), QStringLiteral("R"), nullptr), edit};
    };
    const auto motorValue = [](const QString &name, const QString &text) {
        return Input{name, eng::parseValue(text), nullptr};
    };
    QVector<Input> inputs{field(QStringLiteral("Vs"), ui->P3Vs),
                          field(QStringLiteral("Vcc"), ui->P3Vcc),
                          field(QStringLiteral("Tambient"), ui->P3Tambient),
                          field(QStringLiteral("Heatsink"), ui->P3heatsink),
                          field(QStringLiteral("TIM"), ui->P3TIM),
                          motorValue(QStringLiteral("Motor R"), w.ThreePhaseR),
                          motorValue(QStringLiteral("Motor L"), w.ThreePhaseL),
                          motorValue(QStringLiteral("Motor Vemf"), w.ThreePhaseVemf),
                          motorValue(QStringLiteral("The constant amplitude"),
                                     w.ThreePhaseConstantAmplitude),
                          motorValue(QStringLiteral("The control amplitude"),
                                     w.ThreePhaseControlAmplitude)};
    for (int i = 0; i < w.ThreePhaseAmplitudeVector.size(); ++i)
        inputs.append(motorValue(QStringLiteral("Profile point %1 amplitude").arg(i + 1),
                                 w.ThreePhaseAmplitudeVector[i]));
    const Input *largest = &inputs.first();
    for (const Input &in : qAsConst(inputs)) {
        if (std::fabs(in.value) > std::fabs(largest->value)) largest = &in;
    }
    if (largest->field) eng::setFieldRed(largest->field);
    return QStringLiteral("%1 is %2: the results overflow")
        .arg(largest->name, describedValue(largest->value));
}

// Results that cannot be computed: the placeholder in every result label, and the notes
// that say why.
void showP3noResult(Ui_MainWindow *ui, const QStringList &problems)
{
    for (QLabel *label : p3resultLabels(ui))
        eng::setNoResult(label);
    ui->P3TextBrowser->clear();
    ui->P3TextBrowser->setTextColor(Qt::red);
    for (const QString &line : problems)
        ui->P3TextBrowser->append(QStringLiteral("!!! ") + line + QStringLiteral(" !!!"));
    ui->P3TextBrowser->setTextColor(Qt::black);
}

// A cancelled refresh leaves the results of the inputs before it: the notes say so, once.
void showP3cancelled(Ui_MainWindow *ui)
{
    const QString note =
        QStringLiteral("Simulation cancelled: the results shown are those of the previous inputs");
    if (ui->P3TextBrowser->toPlainText().endsWith(note)) return;
    ui->P3TextBrowser->setTextColor(Qt::red);
    ui->P3TextBrowser->append(QStringLiteral("\n") + note);
    ui->P3TextBrowser->setTextColor(Qt::black);
    // The box may have been read from its top: the note is the news.
    QScrollBar *bar = ui->P3TextBrowser->verticalScrollBar();
    bar->setValue(bar->maximum());
}

} // namespace

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
    for (QLabel *label : p3resultLabels(ui))
        eng::setResultRed(label, false);
    ui->P3loadPower->setText(number2String(r.loadPower));
    ui->P3conductionPower->setText(number2String(r.Pc));
    ui->P3wirePower->setText(number2String(r.Pw));
    ui->P3diodePower->setText(bracketed(r.Pd, removeDiode));
    ui->P3switchingPower->setText(bracketed(r.Ps, removeSwitching));
    ui->P3VccPower->setText(number2String(r.Pq));
    ui->P3ampPower->setText(number2String(r.ampPower));
    // A motor that takes no net power (it is at rest, or it gives back more than it takes)
    // has no efficiency to show.
    const bool delivers = r.loadPower > 0 && r.efficiency >= 0;
    if (delivers)
        ui->P3efficiency->setText(number2String(r.efficiency));
    else
        eng::setNoResult(ui->P3efficiency);
    ui->P3Ipeak->setText(number2String(r.Ipeak));
    ui->P3RMScurrent->setText(number2String(r.Irms));

    ui->P3TextBrowser->clear();
    ui->P3TextBrowser->setTextColor(Qt::black);
    for (const QString &line : motor::lossLines(r))
        ui->P3TextBrowser->append(line);
    if (!delivers) {
        ui->P3TextBrowser->append(
            QStringLiteral("\nThe motor takes no net power (load power %1 W): no efficiency")
                .arg(number2String(r.loadPower)));
    }
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

QStringList MainWindow::P3inputTexts() const
{
    QStringList texts;
    for (const QLineEdit *field : {ui->P3Vs, ui->P3Vcc, ui->P3Fsw, ui->P3startTime, ui->P3endTime,
                                   ui->P3Tambient, ui->P3heatsink, ui->P3TIM})
        texts << field->text();
    const auto number = [](int n) { return QString::number(n); };
    texts << number(ui->P3commType->currentIndex()) << number(ui->P3removeDiode->isChecked())
          << number(ui->P3removeSwitching->isChecked());
    const motor::MotorModel m = P3motorModel();
    texts << m.R << m.L << m.Vemf << number(m.nPoles) << number(m.isDelta)
          << number(m.controlVariable) << number(m.controlType) << number(m.constantVariable)
          << m.controlAmplitude << m.constantAmplitude << number(m.isLinear) << m.cycleLength;
    // The profile's lists may differ in length: the count keeps one list from reading as the
    // other's tail.
    texts << number(m.timeVector.size()) << m.timeVector << m.amplitudeVector;
    return texts;
}

bool MainWindow::P3inputsComputed()
{
    return !P3computedTexts.isEmpty() && P3computedTexts == P3inputTexts() &&
           P3computedInput.part == findSwitching(ui->P3ampSelector->currentText());
}

void MainWindow::refreshP3()
{
    if (P3refreshRunning) {
        P3refreshQueued = true;
        return;
    }
    // Leaving a field for the close prompt is no edit: the prompt saves the fields as typed,
    // and computing them would only keep the user waiting.
    if (closePromptOpen) return;
    // Results of the same inputs are shown already (a field left unchanged, a design opened
    // again); the picked signals may have changed, so the graphs are still drawn.
    if (!P3inputsComputed()) {
        const bool computed = recomputeP3();
        const bool queued = std::exchange(P3refreshQueued, false);
        // A cancelled refresh keeps the waveforms before it, but the graph slots may have
        // changed with the inputs (an example, a design file): the graphs show what they name.
        if (!computed) {
            redrawP3();
            return;
        }
        if (queued) {
            refreshP3();
            return;
        }
    }
    redrawP3();
}

void MainWindow::redrawP3()
{
    // A delta winding has no star point to show. The winding is that of the waveforms shown:
    // a cancelled change to delta leaves the star point of the wye motor still shown.
    const bool delta = P3computedInput.motor.isDelta;
    if (delta) {
        for (QString &slot : P3graphables) {
            if (slot == QLatin1String("Vwye")) slot = motor::emptySlot();
        }
    }
    P3refreshGraphs();
    drawP3schematic(delta);
}

bool MainWindow::recomputeP3()
{
    const WaitCursor wait;
    designModified = true;
    ++P3computations;

    const QStringList texts = P3inputTexts();
    const motor::BridgeInput in = readP3inputs();
    motor::ThermalInput thermal;
    QStringList problems = p3InputProblems(*this, &thermal);

    motor::ThermalResult res;
    qint64 ranMs = 0;
    // A cancel keeps the shown waveforms. When they took long to compute (the next run is
    // likely long too) they are set aside, and the run fills a spare set, which keeps its
    // storage from the run before. When they were quick, the run fills the shown set in
    // place, and a cancel computes them again from the inputs they came from, in about the
    // time they took: a second set of lists to fault in costs a short run as much as the run
    // itself. What decides is the cost of the shown waveforms, which is what a cancel pays,
    // never that of a cancelled run, which shows nothing.
    const bool setAside = P3shownRunMs >= P3setAsideAfterMs;
    const double shownRdson = P3waveforms.Rdson;
    const bool hadWaveforms = P3waveforms.steps() > 0;
    motor::Waveforms &waveforms = setAside ? P3spareWaveforms : P3waveforms;
    if (setAside) {
        waveforms.clear();
        // The run's scratch is large and warm from the run before, in either set after a
        // cancel: the one copy of it goes with the run.
        if (waveforms.rows.capacity() < P3waveforms.rows.capacity())
            std::swap(waveforms.rows, P3waveforms.rows);
        if (!waveforms.trace.t) std::swap(waveforms.trace, P3waveforms.trace);
    }
    if (problems.isEmpty()) {
        const QScopedValueRollback<bool> running(P3refreshRunning, true);
        SimulationProgress progress(
            this, P3progressDelayMs,
            QStringLiteral("Simulating the motor drive to thermal equilibrium..."));
        QElapsedTimer clock;
        clock.start();
        res = motor::runToEquilibrium(in, thermal, &waveforms,
                                      [&progress](double done) { return progress.report(done); });
        ranMs = clock.elapsed();
        if (res.cancelled) {
            if (!setAside) {
                P3waveforms.clear();
                if (hadWaveforms) motor::simulateBridge(P3computedInput, shownRdson, &P3waveforms);
            }
            showP3cancelled(ui);
            P3computedTexts.clear();
            return false;
        }
        const motor::BridgeResult &b = res.bridge;
        const double shown[] = {b.loadPower, b.Pc,   b.Pw,        b.Pd,      b.Ps,
                                b.Pq,        b.ampPower, b.Ipeak, b.Irms,    res.Tcase,
                                res.Tjunction, res.Rdson};
        // No quantity of this page comes near 1e10 (W, A, °C, ohm): a result beyond it is an
        // overflow of absurd inputs as surely as an infinity is.
        const bool finite = std::all_of(std::begin(shown), std::end(shown),
                                        [](double x) { return std::fabs(x) < 1e10; });
        const double end = std::max(in.end, 0.0);
        if (res.flags & motor::flag::Refused) {
            problems << motor::refusalNote(in, res.flags);
        } else if (!(end > std::max(in.start, 0.0))) {
            problems << QStringLiteral("The display window is empty: the start time must be "
                                       "before the end time");
        } else if (!finite) {
            problems << p3OverflowCause(*this);
        }
    }
    // Results that cannot be computed show no waveforms: a cancel then has none to compute.
    P3shownRunMs = problems.isEmpty() ? ranMs : 0;
    P3computedTexts = texts;
    P3computedInput = in;
    P3warningFlags = res.flags;
    if (!problems.isEmpty()) {
        P3waveforms.clear();
        showP3noResult(ui, problems);
    } else {
        if (setAside) std::swap(P3waveforms, waveforms);
        showP3bridgeResult(res.bridge, in.removeDiode, in.removeSwitching);
        ui->P3Tcase->setText(number2String(res.Tcase));
        ui->P3Tjunction->setText(number2String(res.Tjunction));
    }

    P3warnings();
    if (!problems.isEmpty() && P3warningFlags == 0)
        ui->P3outputTabs->setTabIcon(3, QIcon(QStringLiteral(":/KestLinear/Warning.png")));
    if (!problems.isEmpty()) return true;
    ui->P3TextBrowser->append(QStringLiteral("\nAverage Rds(ON) for a single switch: ") +
                              number2String(res.Rdson) + QString::fromUtf8(" Ω"));
    ui->P3TextBrowser->append(QStringLiteral("Iterations to achieve thermal equilibrium: ") +
                              number2String(res.runs));
    return true;
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
