#pragma once

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// The progress dialog of a long simulation on the three-phase page (a refresh, or an export
// that runs the simulation again): it opens once the simulation has run `delayMs`, and each
// report then lets the events through that its Cancel button needs.
class SimulationProgress
{
public:
    SimulationProgress(QWidget *parent, int delayMs, const QString &label);
    ~SimulationProgress();
    SimulationProgress(const SimulationProgress &) = delete;
    SimulationProgress &operator=(const SimulationProgress &) = delete;

    // Told how far the simulation has come (0 to 1); false once the user has cancelled.
    bool report(double done);

private:
    void open();

    QWidget *parent;
    int delayMs;
    QString label;
    QElapsedTimer clock;
    std::unique_ptr<QProgressDialog> dialog;
};
