// The load line with its power and temperature results: reads the page, runs the engine,
// writes the results and draws the load line, waveforms and current-limit band.
#include "app/plotview.h"
#include "app/mainwindow.h"

#include "soa/soasignal.h"
#include "ui_mainwindow.h"
#include "values/engvalues.h"
#include "values/engwidgets.h"

#include <qcustomplot.h>

#include <cmath>

namespace {
const char kSeeDatasheet[] = "See datasheet for details.";

const char kNoLoadLine[] = "the load line cannot be computed";
const char kNoTemperatures[] = "temperatures cannot be computed";
const char kNoCurrentLimit[] = "the current limit cannot be drawn";

} // namespace

double MainWindow::readSOAfield(QLineEdit *edit, const char *kind, eng::Range range,
                                const char *name, const char *consequence, bool openAllowed)
{
    const QString k = QLatin1String(kind);
    bool usable = true;
    const double value = eng::parseLineEdit(edit, k, range, &usable);
    bool readable = true;
    eng::parseFieldText(edit->text(), k, &readable);
    QString fault;
    if (!readable)
        fault = QStringLiteral("cannot be read");
    else if (value == infiniteValue && !openAllowed)
        fault = QStringLiteral("is open");
    else if (!soa::isFigure(value) && !openAllowed)
        fault = QStringLiteral("is out of range");
    else if (usable)
        return value;
    else if (range == eng::Range::Temperature)
        fault = QStringLiteral("is below absolute zero");
    else if (value < 0)
        fault = QStringLiteral("is negative");
    else
        fault = QStringLiteral("is 0");
    eng::setFieldRed(edit);
    SOAproblems.append({QStringLiteral("!!! ") + QLatin1String(name) + QLatin1Char(' ') + fault +
                            QStringLiteral(": ") + QLatin1String(consequence) +
                            QStringLiteral(" !!!"),
                        true});
    return std::nan("");
}

soa::LoadLineInput MainWindow::readSOAloadInputs()
{
    soa::LoadLineInput in;
    const QString r = ui->SOA_Rload->text();
    const QString l = ui->SOA_Lload->text();
    const QString c = ui->SOA_Cload->text();
    // The motor replaces the load's values; only the words of its fields still count.
    const bool motor = SignalType == 3;
    const eng::Range magnitude = eng::Range::NonNegative;
    auto read = [&](QLineEdit *edit, const char *kind, eng::Range range, const char *name,
                    bool openAllowed, bool used) {
        if (!used) return parseLineEdit(edit, QLatin1String(kind));
        return readSOAfield(edit, kind, range, name, kNoLoadLine, openAllowed);
    };
    in.R = read(ui->SOA_Rload, "R", magnitude, "Load R", true, !motor);
    in.L = read(ui->SOA_Lload, "R", magnitude, "Load L", true, !motor);
    in.C = read(ui->SOA_Cload, "C", magnitude, "Load C", true, !motor);
    in.rOpenText = r == QLatin1String("open");
    in.lOpenText = l == QLatin1String("open");
    in.cOpenText = c == QLatin1String("open");
    in.cShortText = c == QLatin1String("short");
    in.series = ui->SOA_series->isChecked();

    in.vsPos = parseValue(SOAVs_pos);
    in.vsNeg = parseValue(SOAVs_neg);
    in.rCS = parseValue(SOAR_CS);
    const bool bridge = ui->BridgeCheckBox->isChecked();
    in.bridgeSame = bridge && ui->BridgeSameSuppliesButton->isChecked();
    in.bridgeInverted = bridge && ui->BridgeUnipolarSuppliesButton->isChecked();
    in.parallel = ui->NumParallel->text().toInt(nullptr, 10);
    in.cycles = ui->SOAdisplayCycles->value();
    in.settle = ui->SOAdisplayAfter->value();

    in.signalKind = SignalType;
    in.voltageOutput = SOAVout;
    in.motorMode = soa::motorModeFromText(ui->MotorBox->currentText());
    const bool normal = in.motorMode == soa::MotorMode::Normal;
    const bool reversal = in.motorMode == soa::MotorMode::Reversal;
    const bool stall = in.motorMode == soa::MotorMode::Stall;
    const eng::Range any = eng::Range::Any;
    in.motorEMF = read(ui->MotorEMF, "R", any, "Motor EMF", false, motor && reversal);
    in.motorCurrent = read(ui->MotorI, "R", any, "Motor current", false, motor && !stall);
    in.gain = SignalType == 2 ? parseValue(SOAcsvGain) : 1;
    in.signal = {SOAtime, SOAsignal};

    if (motor) {
        in.motorESR = read(ui->MotorESR, "R", magnitude, "Motor ESR", false, true);
        if (normal) in.motorVDC = read(ui->MotorVDC, "R", any, "Motor V_DC", false, true);
    } else {
        in.motorMode = soa::MotorMode::Normal;
    }
    in.boost = boostSup;
    for (const double v : {in.R, in.L, in.C, in.motorEMF, in.motorCurrent, in.motorESR,
                           in.motorVDC})
        if (std::isnan(v)) in.usable = false;
    return in;
}

soa::ThermalInput MainWindow::readSOAthermalInputs()
{
    soa::ThermalInput in;
    in.freqHz = SOAsignalFrequency();
    in.boost = boostSup;
    const eng::Range magnitude = eng::Range::NonNegative;
    in.ambient = readSOAfield(ui->tempA, "R", eng::Range::Temperature, "Ambient temperature",
                              kNoTemperatures, false);
    in.compound = readSOAfield(ui->ThermalCompound, "R", magnitude,
                               "Thermal compound resistance", kNoTemperatures, false);
    in.heatsinkText = ui->heatsink->text();
    in.heatsink = readSOAfield(ui->heatsink, "R", magnitude, "Heatsink rating", kNoTemperatures);
    in.rclText = ui->R_CL->text();
    in.rcl = in.rclText == QLatin1String(kSeeDatasheet)
                 ? 0
                 : readSOAfield(ui->R_CL, "R", magnitude, "R_CL", kNoCurrentLimit);
    in.rfoText = ui->R_FO->text();
    in.rfo = in.rfoText == QLatin1String("open")
                 ? infiniteValue
                 : readSOAfield(ui->R_FO, "R", magnitude, "R_FO", kNoCurrentLimit);
    in.rangePercent = ui->RangeBox->text().toInt(nullptr, 10);
    in.vsPos = parseValue(SOAVs_pos);
    in.vsNeg = parseValue(SOAVs_neg);
    in.rCS = parseValue(SOAR_CS);
    const bool bridge = ui->BridgeCheckBox->isChecked();
    in.bridgeSame = bridge && ui->BridgeSameSuppliesButton->isChecked();
    in.bridgeInverted = bridge && ui->BridgeUnipolarSuppliesButton->isChecked();
    in.parallel = ui->NumParallel->text().toInt(nullptr, 10);
    return in;
}

double MainWindow::SOAsignalFrequency() const
{
    return soa::signalFrequency(SignalType, {SOAtime, SOAsignal}, eng::parseValue(SOAfreq),
                                SignalType == 0 && SOAsignalNote.isEmpty());
}

void MainWindow::showSOAfigure(QLabel *label, double value)
{
    if (soa::isFigure(value))
        label->setText(number2String(value));
    else
        eng::setNoResult(label);
}

void MainWindow::drawSOAloadLine(const soa::LoadLineResult &line)
{
    const QPen bluePen(QColor(0, 0, 255), 3);
    const QPen redPen(QColor(255, 0, 0), 3);

    QCustomPlot *volts = ui->voltageViewer;
    volts->clearGraphs();
    QCPGraph *v = volts->addGraph();
    v->setPen(bluePen);
    v->setData(line.T, line.V, true);
    // With no waveform (a load line that could not be computed) the axes go back to a neutral
    // span rather than keeping the scale of a signal that is no longer shown.
    const bool empty = line.T.isEmpty();
    if (empty) {
        volts->xAxis->setRange(0, 1);
        volts->yAxis->setRange(-1, 1);
    } else {
        volts->xAxis->setRange(line.T.first(), line.T.last());
        volts->yAxis->rescale();
        plotview::padRange(volts->yAxis);
    }
    volts->replot();

    QCustomPlot *amps = ui->currentViewer;
    amps->clearGraphs();
    QCPGraph *i = amps->addGraph();
    i->setPen(redPen);
    i->setData(line.T, line.I, true);
    if (empty) {
        amps->xAxis->setRange(0, 1);
        amps->yAxis->setRange(-1, 1);
    } else {
        amps->rescaleAxes();
        plotview::padRange(amps->yAxis);
    }
    amps->replot();

    if (line.connected && line.computable) {
        // A curve, not a graph: the load line is joined in time order and may loop.
        auto *curve = new QCPCurve(ui->SOA->xAxis, ui->SOA->yAxis);
        curve->setName(QStringLiteral("Load Line"));
        curve->setPen(QPen(Qt::black, 3));
        curve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 6));
        curve->setData(line.Vd, line.Iamp);
    }
}

void MainWindow::drawSOAcurrentLimit(const soa::ThermalResult &power)
{
    if (!power.limitExists) return;
    const QColor brown(102, 51, 0);
    QCPGraph *upper = ui->SOA->addGraph();
    upper->setName(QStringLiteral("Current Limit"));
    upper->setPen(QPen(brown, 3));
    upper->setData(power.bandX, power.bandUpper);
    QCPGraph *lower = ui->SOA->addGraph();
    lower->setPen(QPen(brown, 3));
    lower->setData(power.bandX, power.bandLower);
    lower->removeFromLegend();
    QColor fill = brown;
    fill.setAlpha(50);
    upper->setBrush(QBrush(fill));
    upper->setChannelFillGraph(lower);
}

void MainWindow::RLCLoadLine()
{
    const amp part = findLinear(ui->AmpSelecterSOA->currentText());

    SOAproblems.clear();
    SOAloadLine = soa::simulateLoadLine(readSOAloadInputs(), part);
    const soa::LoadLineResult &line = SOAloadLine;
    SOAmaxIout = line.maxIout;
    SOAminIout = line.minIout;
    SOAmaxVout = line.maxVout;
    SOAminVout = line.minVout;
    for (const soa::SoaNote &note : line.notes)
        appendSOAnote(note);
    drawSOAloadLine(line);

    SOApower = soa::analysePower(line, readSOAthermalInputs(), part);
    const soa::ThermalResult &power = SOApower;
    for (const QString &paragraph : power.powerDetails)
        ui->PowerDetails->append(paragraph);
    ACbidirectional = power.acBidirectional;
    ui->minHeatsink->setText(power.minHeatsinkText);
    if (power.minHeatsinkText == eng::noResultText()) eng::setNoResult(ui->minHeatsink);
    showSOAfigure(ui->TempC, power.Tc);
    showSOAfigure(ui->TempJ, std::isnan(power.Tj) ? power.Tj : qMax(power.Tc, power.Tj));
    if (power.rclSeeDatasheet) ui->R_CL->setText(QString::fromLatin1(kSeeDatasheet));
    for (const soa::SoaNote &note : power.notes)
        appendSOAnote(note);
    drawSOAcurrentLimit(power);

    showSOAfigure(ui->PdLoad, line.PloadAvg);
    showSOAfigure(ui->PdAmpAvg, power.Pd);
    showSOAfigure(ui->SuggTcMax, power.TcMax);
    if (!line.problem.isEmpty()) SOAproblems.append({line.problem, true});
    for (const soa::SoaNote &note : qAsConst(SOAproblems))
        appendSOAnote(note);
    ui->SOA->replot();
}
