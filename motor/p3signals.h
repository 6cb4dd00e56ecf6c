#pragma once

#include "motor/bridgesim.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>

class QTextStream;

// The signals of the three-phase page that the user picks on the schematic: the six graph
// slots, which waveform and axis label each key shows, the slot colours, and the
// piecewise-linear export of the picked waveforms.
namespace motor {

constexpr int kGraphSlots = 6;
inline QString emptySlot()
{
    return QStringLiteral("null");
}

// How the waveforms are to be read: phase voltages as duty cycles, a delta winding (line
// EMFs), a linear motor (position in metres).
struct SignalView
{
    bool dispDC = false;
    bool delta = false;
    bool linear = false;
};

struct GraphSource
{
    const QVector<double> *values = nullptr; // null for "null" and for unknown keys
    QString label;                           // value-axis label
};

// The waveform and value-axis label that a graph key shows.
GraphSource graphSource(const QString &key, const Waveforms &w, const SignalView &view);

// The sig:: index of the waveform a graph key shows; -1 for "null" and unknown keys.
int graphSignal(const QString &key, const SignalView &view);

// Keys whose value axis is fixed at 0 to 1 in steps of 0.25 (duty cycles by key, not by the
// waveform shown).
bool isUnitAxisKey(const QString &key);

// Takes `name` out of its slot when it is shown, else puts it into the first empty slot; with
// every slot taken nothing changes.
void toggleGraphable(QStringList &graphSlots, const QString &name);

// Slot colours of the graphs and of the schematic, which are lighter for slots 3 and 5.
QColor graphColour(int slot);
QColor schematicColour(int slot);

// Writes one line per simulation step: the time, then "," and the value of each slot's
// waveform in slot order (empty and unknown slots give no column). Times in the shortest form
// that reads back exactly (up to 17 significant digits), values in the default real-number
// form of a text stream (six significant digits), "\n" line ends, no header. Stops once the
// stream has failed.
void writePwl(QTextStream &out, const Waveforms &w, const QStringList &graphSlots,
              const SignalView &view);

// The same lines written as a run hands over its steps: the export of a run whose stored
// waveforms are decimated repeats the run into one of these.
class PwlWriter final : public StepSink
{
public:
    PwlWriter(QTextStream &out, const QStringList &graphSlots, const SignalView &view);
    void step(const double *values) override;

private:
    QTextStream &out;
    const QVector<int> columns;
};

} // namespace motor
