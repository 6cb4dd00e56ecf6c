// The SOA page's output signal: the builders, the upload, the description and its dialog.
#include "app/mainwindow.h"

#include "soa/signaldialog.h"
#include "ui_mainwindow.h"

#include <QFile>
#include <QFileDialog>
#include <QPushButton>

void MainWindow::adoptSOAsignal(const soa::Signal &signal)
{
    // A signal without a usable period would make the load line divide by zero time steps;
    // the previous one stays and the notes say why.
    SOAsignalNote = soa::signalProblem(signal);
    if (!SOAsignalNote.isEmpty()) return;
    SOAtime = signal.time;
    SOAsignal = signal.value;
}

void MainWindow::SOAsine()
{
    adoptSOAsignal(
        soa::sineSignal(parseValue(SOAfreq), parseValue(SOAmaxOut), parseValue(SOAminOut)));
}

void MainWindow::SOAtrap()
{
    const double rise = parseValue(SOAtRise), high = parseValue(SOAtHigh);
    const double fall = parseValue(SOAtFall), low = parseValue(SOAtLow);
    SOAsignalNote = soa::trapezoidProblem(rise, high, fall, low);
    if (!SOAsignalNote.isEmpty()) return;
    adoptSOAsignal(soa::trapezoidSignal(rise, high, fall, low, parseValue(SOAmaxOut),
                                        parseValue(SOAminOut)));
}

void MainWindow::SOAmotor()
{
    const double iPk = findLinear(ui->AmpSelecterSOA->currentText()).getI_pk();
    adoptSOAsignal(soa::motorSignal(soa::motorModeFromText(ui->MotorBox->currentText()),
                                    parseValue(SOAVs_pos), parseValue(SOAVs_neg), iPk));
}

void MainWindow::SOACSV()
{
    SOAcsvPath = QFileDialog::getOpenFileName(this, tr("Open CSV"), SOAcsvPath,
                                              tr("Comma Separated Values (*.csv)"));
    loadSOAwaveform(SOAcsvPath);
}

void MainWindow::loadSOAwaveform(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    const QString text = QString::fromLocal8Bit(file.readAll());
    file.close();

    const QVector<double> previousTime = SOAtime;
    const QVector<double> previousSignal = SOAsignal;
    const soa::Signal read = soa::parseCsvSamples(text);
    SOAtime = read.time;
    SOAsignal = read.value;
    const int n = SOAtime.size();
    if (n >= 1 && n <= 499) increaseSOAResolution(static_cast<uint>(1000 / n));

    SOAsignalNote = soa::uploadProblem(read, {SOAtime, SOAsignal});
    if (!SOAsignalNote.isEmpty()) {
        SOAtime = previousTime;
        SOAsignal = previousSignal;
    }
}

void MainWindow::increaseSOAResolution(uint segmentDivision)
{
    const soa::Signal finer = soa::increaseResolution({SOAtime, SOAsignal}, segmentDivision);
    SOAtime = finer.time;
    SOAsignal = finer.value;
}

void MainWindow::waveDescription()
{
    soa::SignalTexts texts;
    texts.kind = SignalType;
    texts.voltageOutput = SOAVout;
    texts.maxOut = SOAmaxOut;
    texts.minOut = SOAminOut;
    texts.freq = SOAfreq;
    texts.tRise = SOAtRise;
    texts.tHigh = SOAtHigh;
    texts.tFall = SOAtFall;
    texts.tLow = SOAtLow;
    texts.csvGain = SOAcsvGain;
    ui->SOASignalReadout->clear();
    for (const QString &line : soa::describeSignal(texts))
        ui->SOASignalReadout->append(line);
}

void MainWindow::changeSOASignal()
{
    soa::SignalTexts current;
    current.kind = SignalType;
    current.voltageOutput = SOAVout;
    current.maxOut = SOAmaxOut;
    current.minOut = SOAminOut;
    current.freq = SOAfreq;
    current.tRise = SOAtRise;
    current.tHigh = SOAtHigh;
    current.tFall = SOAtFall;
    current.tLow = SOAtLow;
    current.csvGain = SOAcsvGain;

    SignalDialog dialog(current, this);
    // The upload happens while the dialog is open; the samples stay even if it is cancelled.
    connect(dialog.uploadButton(), &QPushButton::pressed, this, &MainWindow::SOACSV);
    if (dialog.exec() == QDialog::Accepted) {
        ui->SOAdisplayTab->setCurrentIndex(2);
        const soa::SignalTexts chosen = dialog.texts();
        SignalType = chosen.kind;
        switch (chosen.kind) {
        case 0:
            SOAVout = chosen.voltageOutput;
            SOAmaxOut = chosen.maxOut;
            SOAminOut = chosen.minOut;
            SOAfreq = chosen.freq;
            break;
        case 1:
            SOAVout = chosen.voltageOutput;
            SOAmaxOut = chosen.maxOut;
            SOAminOut = chosen.minOut;
            SOAtRise = chosen.tRise;
            SOAtHigh = chosen.tHigh;
            SOAtFall = chosen.tFall;
            SOAtLow = chosen.tLow;
            break;
        case 2:
            SOAVout = chosen.voltageOutput;
            SOAcsvGain = chosen.csvGain;
            break;
        case 3:
            ui->SOAtabWidget->setCurrentIndex(1);
            ui->loadTypeBox->setCurrentIndex(1);
            break;
        default:
            break;
        }
    }
    refreshSOA();
}
