// The load line with its power and temperature results: reads the page, runs the engine,
// writes the results and draws the load line, waveforms and current-limit band.
#include "app/mainwindow.h"

#include "ui_mainwindow.h"

#include <qcustomplot.h>

namespace {
const char kSeeDatasheet[] = "See datasheet for details.";
} // namespace

soa::LoadLineInput MainWindow::readSOAloadInputs()
{
    soa::LoadLineInput in;
    const QString r = ui->SOA_Rload->text();
    const QString l = ui->SOA_Lload->text();
    const QString c = ui->SOA_Cload->text();
    in.R = parseLineEdit(ui->SOA_Rload, QStringLiteral("R"));
    in.L = parseLineEdit(ui->SOA_Lload, QStringLiteral("R"));
    in.C = parseLineEdit(ui->SOA_Cload, QStringLiteral("C"));
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
    in.motorEMF = parseLineEdit(ui->MotorEMF, QStringLiteral("R"));
    in.motorCurrent = parseLineEdit(ui->MotorI, QStringLiteral("R"));
    in.gain = SignalType == 2 ? parseValue(SOAcsvGain) : 1;
    in.signal = {SOAtime, SOAsignal};

    if (SignalType == 3) {
        in.motorMode = soa::motorModeFromText(ui->MotorBox->currentText());
        in.motorESR = parseLineEdit(ui->MotorESR, QStringLiteral("R"));
        if (in.motorMode == soa::MotorMode::Normal)
            in.motorVDC = parseLineEdit(ui->MotorVDC, QStringLiteral("R"));
    }
    in.boost = boostSup;
    return in;
}

soa::ThermalInput MainWindow::readSOAthermalInputs()
{
    soa::ThermalInput in;
    in.freqHz = parseValue(SOAfreq);
    in.boost = boostSup;
    in.ambient = parseLineEdit(ui->tempA, QStringLiteral("R"));
    in.compound = parseLineEdit(ui->ThermalCompound, QStringLiteral("R"));
    in.heatsinkText = ui->heatsink->text();
    in.heatsink = parseLineEdit(ui->heatsink, QStringLiteral("R"));
    in.rclText = ui->R_CL->text();
    in.rcl = in.rclText == QLatin1String(kSeeDatasheet)
                 ? 0
                 : parseLineEdit(ui->R_CL, QStringLiteral("R"));
    in.rfoText = ui->R_FO->text();
    in.rfo = in.rfoText == QLatin1String("open") ? infiniteValue
                                                 : parseLineEdit(ui->R_FO, QStringLiteral("R"));
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

void MainWindow::drawSOAloadLine(const soa::LoadLineResult &line)
{
    const QPen bluePen(QColor(0, 0, 255), 3);
    const QPen redPen(QColor(255, 0, 0), 3);

    QCustomPlot *volts = ui->voltageViewer;
    volts->clearGraphs();
    QCPGraph *v = volts->addGraph();
    v->setPen(bluePen);
    v->setData(line.T, line.V, true);
    if (!line.T.isEmpty()) volts->xAxis->setRange(line.T.first(), line.T.last());
    volts->yAxis->rescale();
    volts->replot();

    QCustomPlot *amps = ui->currentViewer;
    amps->clearGraphs();
    QCPGraph *i = amps->addGraph();
    i->setPen(redPen);
    i->setData(line.T, line.I, true);
    amps->rescaleAxes();
    amps->replot();

    if (line.connected) {
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
    ui->TempC->setText(number2String(power.Tc));
    ui->TempJ->setText(number2String(qMax(power.Tc, power.Tj)));
    if (power.rclSeeDatasheet) ui->R_CL->setText(QString::fromLatin1(kSeeDatasheet));
    for (const soa::SoaNote &note : power.notes)
        appendSOAnote(note);
    drawSOAcurrentLimit(power);

    ui->PdLoad->setText(number2String(line.PloadAvg));
    ui->PdAmpAvg->setText(number2String(power.Pd));
    ui->SuggTcMax->setText(number2String(power.TcMax));
    ui->SOA->replot();
}
