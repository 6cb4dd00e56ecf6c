// The three-phase page's six waveform graphs, the slot list behind them, and the
// piecewise-linear export of the graphed waveforms.
#include "app/mainwindow.h"
#include "app/plotview.h"
#include "app/stepticker.h"

#include "motor/simulationprogress.h"
#include "motor/waitcursor.h"
#include "ui_mainwindow.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTextStream>
#include <qcustomplot.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// Why a file device failed, right after the failing call: its own reason where it has one,
// else the system's, which a save file's writes and a flush cut short by a full disk or a file
// size limit do not record.
QString failureReason(const QFileDevice &file, int systemError)
{
    if (file.error() != QFileDevice::NoError) return file.errorString();
    if (systemError != 0) return QString::fromLocal8Bit(std::strerror(systemError));
    return QStringLiteral("the data could not be written");
}

// Passes a text stream's writes on to a file until one fails, and keeps that one's reason:
// a file cut short is no export, so nothing after it is written, and the writer stops.
class WriteThrough : public QIODevice
{
public:
    explicit WriteThrough(QFileDevice *file) : file(file) { open(QIODevice::WriteOnly); }
    bool failed() const { return !why.isEmpty(); }
    const QString &reason() const { return why; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override
    {
        if (failed()) return -1;
        errno = 0;
        const qint64 written = file->write(data, len);
        const int systemError = errno;
        if (written != len) why = failureReason(*file, systemError);
        return written;
    }

private:
    QFileDevice *const file;
    QString why;
};

} // namespace

motor::SignalView MainWindow::P3signalView() const
{
    motor::SignalView view;
    view.dispDC = ui->P3dispDC->isChecked();
    // The winding of the waveforms shown: after a cancelled refresh the motor values may
    // already name another.
    view.delta = P3computedInput.motor.isDelta;
    view.linear = P3computedInput.motor.isLinear;
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
    // The window of the waveforms shown, which a cancelled edit of the fields leaves as it was.
    const double start = P3computedInput.start;
    const double end = P3computedInput.end;
    QCustomPlot *const plots[motor::kGraphSlots] = {ui->P3graph0, ui->P3graph1, ui->P3graph2,
                                                    ui->P3graph3, ui->P3graph4, ui->P3graph5};
    const motor::SignalView view = P3signalView();
    // The graphs share one time axis: only the lowest one shown numbers it, which leaves the
    // others the height for their curves.
    int lowest = -1;
    for (int i = 0; i < motor::kGraphSlots; ++i)
        if (P3graphables.value(i, motor::emptySlot()) != motor::emptySlot()) lowest = i;
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
        const bool hasData = source.values && !source.values->isEmpty();
        if (source.values) graph->setData(P3waveforms.time, *source.values, true);
        // A short plot (six share the column) names its quantity in a line above the curve.
        plot->yAxis->setLabel(source.label);
        plotview::keepValueTitleReadable(plot);
        plotview::keepTwoValueLabels(plot);
        // The axis title reads as large as the numbers beside it.
        plot->yAxis->setLabelFont(plot->yAxis->tickLabelFont());
        plot->xAxis->setLabelFont(plot->xAxis->tickLabelFont());
        plot->xAxis->setTickLabels(i == lowest);
        // Six graphs share the column: a curve two lines high is still worth showing, and a
        // taller minimum would push the window off a laptop screen.
        const int line = QFontMetrics(plot->yAxis->tickLabelFont()).height();
        plot->axisRect()->setMinimumSize(50, 2 * line);
        graph->setPen(QPen(motor::graphColour(i), 1));
        // An empty or reversed window has nothing to show: a unit span stands in for it.
        if (end > start)
            plot->xAxis->setRange(start, end);
        else
            plot->xAxis->setRange(0, 1);
        if (motor::isUnitAxisKey(key)) {
            // Duty cycles: 0 to 1 in quarters, or halves or the ends alone where quarters do
            // not fit.
            plotview::setTickSteps(plot->yAxis, {0.25, 0.5, 1});
            plot->yAxis->setRange(0, 1);
        } else {
            plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new RoomTicker(plot->yAxis)));
            if (hasData) {
                // The span of the window shown, where the window holds some of the data: a
                // start-up surge before it would leave the curve a flat line.
                bool inWindow = false;
                graph->getValueRange(inWindow, QCP::sdBoth, plot->xAxis->range());
                graph->rescaleValueAxis(false, inWindow);
                plotview::padRange(plot->yAxis); // a flat top or bottom stays off the frame
            } else
                plot->yAxis->setRange(0, 1); // no stale span from the previous data
        }
        plot->replot();
    }
}

QString MainWindow::writeP3PWL(const QString &path, bool *cancelled)
{
    if (cancelled) *cancelled = false;
    // An edit made while the run was simulated again waited for it; it runs once the file is
    // done with.
    const auto queued = qScopeGuard([this] {
        if (!P3refreshRunning && std::exchange(P3refreshQueued, false)) refreshP3();
    });
    // A file is written beside its place and put there once whole: a failed or cancelled
    // export leaves the old file, or none, never part of one. A device or a pipe is written as
    // it is, since a file put in its place would replace it.
    const QFileInfo target(path);
    const bool special = target.exists() && !target.isFile() && !target.isDir();
    std::unique_ptr<QFileDevice> file;
    if (special)
        file = std::make_unique<QFile>(path);
    else
        file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly))
        return QStringLiteral("Could not open %1 for writing: %2").arg(path, file->errorString());
    WriteThrough through(file.get());
    QTextStream out(&through);
    bool finished = true;
    if (P3waveforms.decimated) {
        // The graphs keep only the extremes of a long run; the file gets every step of it
        // again, written as the run goes: the run of the results shown. That takes as long as
        // the run did, so it shows the refresh's progress and can be cancelled; meanwhile an
        // edit waits, as it would for a refresh.
        const WaitCursor wait;
        const QScopedValueRollback<bool> running(P3refreshRunning, true);
        const motor::BridgeInput in = P3computedInput;
        motor::PwlWriter writer(out, P3graphables, P3signalView());
        SimulationProgress progress(this, P3progressDelayMs,
                                    QStringLiteral("Simulating the run again to write every "
                                                   "step of it..."));
        // A failed write ends the run as a cancel would: the rest has nowhere to go.
        finished =
            motor::streamBridge(in, P3waveforms.Rdson, &writer, [&progress, &through](double done) {
                return !through.failed() && progress.report(done);
            });
    } else {
        motor::writePwl(out, P3waveforms, P3graphables, P3signalView());
    }
    out.flush();
    auto *saveFile = qobject_cast<QSaveFile *>(file.get());
    if (!finished && !through.failed()) {
        if (cancelled) *cancelled = true;
        if (saveFile) saveFile->cancelWriting();
        return QStringLiteral("The export to %1 was cancelled").arg(path);
    }
    const QString failed = QStringLiteral("Could not write %1: ").arg(path);
    const bool streamed = out.status() == QTextStream::Ok && !through.failed();
    if (saveFile) {
        if (!streamed) {
            const QString why = through.reason();
            saveFile->cancelWriting();
            return failed + why;
        }
        errno = 0;
        return saveFile->commit() ? QString() : failed + failureReason(*saveFile, errno);
    }
    if (!streamed) return failed + through.reason();
    errno = 0;
    if (!file->flush()) return failed + failureReason(*file, errno);
    file->close();
    return file->error() == QFileDevice::NoError ? QString() : failed + file->errorString();
}

bool MainWindow::P3savePWL()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("SaveAs"), fileName,
                                                      QStringLiteral("Text Files (*.txt)"));
    if (path.isEmpty()) return false; // cancelled
    bool cancelled = false;
    const QString error = writeP3PWL(path, &cancelled);
    if (cancelled) return false;
    if (!error.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Download PWL"), error);
        return false;
    }
    return true;
}
