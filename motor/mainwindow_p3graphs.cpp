// The three-phase page's six waveform graphs, the slot list behind them, and the
// piecewise-linear export of the graphed waveforms.
#include "app/mainwindow.h"

#include "motor/waitcursor.h"
#include "ui_mainwindow.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTextStream>
#include <qcustomplot.h>

#include <algorithm>

motor::SignalView MainWindow::P3signalView() const
{
    motor::SignalView view;
    view.dispDC = ui->P3dispDC->isChecked();
    view.delta = ThreePhaseisDelta;
    view.linear = ThreePhaseisLinear;
    return view;
}

void MainWindow::addToP3graphables(QString name)
{
    // A design file may hold fewer slots; the missing ones are empty.
    while (P3graphables.size() < motor::kGraphSlots)
        P3graphables << motor::emptySlot();
    motor::toggleGraphable(P3graphables, name);
}

QPen MainWindow::getP3Pen(QString name)
{
    const int slot = P3graphables.indexOf(name);
    return QPen(slot >= 0 ? motor::schematicColour(slot) : QColor(0, 0, 0), 2);
}

void MainWindow::P3refreshGraphs()
{
    const WaitCursor wait;
    const double start = parseLineEdit(ui->P3startTime, QStringLiteral("R"));
    const double end = parseLineEdit(ui->P3endTime, QStringLiteral("R"));
    QCustomPlot *const plots[motor::kGraphSlots] = {ui->P3graph0, ui->P3graph1, ui->P3graph2,
                                                    ui->P3graph3, ui->P3graph4, ui->P3graph5};
    const motor::SignalView view = P3signalView();
    for (int i = 0; i < motor::kGraphSlots; ++i) {
        QCustomPlot *plot = plots[i];
        plot->clearGraphs();
        QCPGraph *graph = plot->addGraph();
        const QString key = P3graphables.value(i, motor::emptySlot());
        if (key == motor::emptySlot()) {
            plot->hide();
            continue;
        }
        plot->show();
        const motor::GraphSource source = motor::graphSource(key, P3waveforms, view);
        if (source.values) {
            graph->setData(P3waveforms.time, *source.values, true);
            plot->yAxis->setLabel(source.label);
        }
        // Six plots share the column: a smaller label fits beside a short value axis.
        QFont labelFont = plot->yAxis->labelFont();
        labelFont.setPointSizeF(std::min(labelFont.pointSizeF(), 7.5));
        plot->yAxis->setLabelFont(labelFont);
        graph->setPen(QPen(motor::graphColour(i), 1));
        plot->xAxis->setRange(start, end);
        if (motor::isUnitAxisKey(key)) {
            QSharedPointer<QCPAxisTickerFixed> ticker(new QCPAxisTickerFixed);
            ticker->setTickStep(0.25);
            ticker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
            plot->yAxis->setTicker(ticker);
            plot->yAxis->setRange(0, 1);
        } else {
            plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
            graph->rescaleValueAxis();
        }
        plot->replot();
    }
}

QString MainWindow::writeP3PWL(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("Could not open %1 for writing: %2").arg(path, file.errorString());
    QTextStream out(&file);
    motor::writePwl(out, P3waveforms, P3graphables, P3signalView());
    out.flush();
    if (out.status() != QTextStream::Ok || file.error() != QFileDevice::NoError || !file.flush())
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    return QString();
}

bool MainWindow::P3savePWL()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("SaveAs"), fileName,
                                                      QStringLiteral("Text Files (*.txt)"));
    if (path.isEmpty()) return false; // cancelled
    const QString error = writeP3PWL(path);
    if (!error.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Download PWL"), error);
        return false;
    }
    return true;
}
