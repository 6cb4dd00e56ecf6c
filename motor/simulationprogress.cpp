#include "motor/simulationprogress.h"

#include <QApplication>
#include <QCursor>
#include <QProgressDialog>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSteps = 1000;

} // namespace

SimulationProgress::SimulationProgress(QWidget *parent, int delayMs, const QString &label)
    : parent(parent), delayMs(delayMs), label(label)
{
    clock.start();
}

SimulationProgress::~SimulationProgress()
{
    if (dialog) QApplication::restoreOverrideCursor();
}

bool SimulationProgress::report(double done)
{
    if (!dialog) {
        if (clock.elapsed() < delayMs) return true;
        open();
    }
    if (std::isfinite(done)) dialog->setValue(int(std::clamp(done, 0.0, 1.0) * kSteps));
    QCoreApplication::processEvents();
    return !dialog->wasCanceled();
}

void SimulationProgress::open()
{
    dialog = std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, kSteps, parent);
    dialog->setWindowTitle(QStringLiteral("Three-Phase Motor"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    // The simulation shows the wait cursor; the Cancel button is for clicking.
    QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    dialog->show();
}
