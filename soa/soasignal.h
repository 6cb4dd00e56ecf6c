#pragma once

#include "soa/soanote.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The output signal of the SOA page: one period as paired time and value vectors. Times are
// seconds (the DC-motor sweep uses a dimensionless position 0..1); values are volts or
// amperes, whichever the page says the amplifier puts out.
namespace soa {

struct Signal
{
    QVector<double> time;
    QVector<double> value;

    int size() const { return time.size(); }
};

enum class MotorMode { Normal, Stall, Reversal };

// "Normal", "Stall", "Reversal" as the motor combo box shows them; any other text is Normal.
MotorMode motorModeFromText(const QString &text);

// 360 points of a sine between minOut and maxOut, from t = 1/(360 f) to t = 1/f.
Signal sineSignal(double freqHz, double maxOut, double minOut);

// 1000 points of one period rise + high + fall + low, starting at minOut on the rising edge.
// A point exactly on a phase boundary belongs to the earlier phase.
Signal trapezoidSignal(double rise, double high, double fall, double low, double maxOut,
                       double minOut);

// 360 points sweeping the motor's operating range: from just above the negative supply to
// the positive supply (Normal, Stall; volts), or from -iPk up to 0 (Reversal; amperes).
Signal motorSignal(MotorMode mode, double vsPos, double vsNeg, double iPk);

// The lines of an uploaded waveform file: one sample per line, time and value separated by a
// comma, read with the C-locale number conversion (no SI prefixes; a field that is no number
// reads 0). Lines with fewer than two fields are skipped: they hold no sample.
Signal parseCsvSamples(const QString &text);

// Linear resampling: each segment contributes its left end and segmentDivision - 1 points in
// between; the last input point is dropped. Fewer than two points, or a division of 0, give
// an empty signal.
Signal increaseResolution(const Signal &signal, uint segmentDivision);

// What an upload leaves in the signal: the samples as read when there are 500 or more,
// resampled to about 1000 points when there are fewer.
Signal uploadedSignal(const QString &fileText);

// Why the load line cannot be run on this signal, as a note for the user; empty when it can.
// The model needs a first time step (two points when the first time is not positive), finite
// samples, strictly increasing times and a positive period.
QString signalProblem(const Signal &signal);

// Why an upload cannot be used, naming its real cause: the samples as read, and what
// resampling (when there are fewer than 500) made of them. Samples that are usable as read can
// still break in resampling: times so close together that the steps between them vanish, or
// values so large that their differences overflow; the note says so instead of blaming what
// that leaves behind.
QString uploadProblem(const Signal &read, const Signal &kept);

// Why a trapezoid of these phase times cannot be built, as a note; empty when it can. A phase
// may last 0 s (a square or triangle wave), never less.
QString trapezoidProblem(double rise, double high, double fall, double low);

// The frequency the thermal model sees for the signal in use, Hz: the typed sine frequency
// when the sine was just built from it, else one over the period of the samples in use (a
// rejected entry keeps the previous signal, and so its frequency); 0 for the motor sweep, a
// slow change of operating point that heats the part as direct current does.
double signalFrequency(int kind, const Signal &inUse, double typedSineHz, bool sineAdopted);

// The time step in front of the first sample: the first time itself when it is positive (the
// built signals start one step after 0), else the step to the second sample.
double firstTimeStep(const Signal &signal);
// The time one period spans: the sum of the steps of its samples. For a signal that starts one
// step after 0 this is its last time; a file that starts at or before 0 gets its real span.
double signalPeriod(const Signal &signal);

// The typed values behind the signal, as the dialog stores them.
struct SignalTexts
{
    int kind = 0; // 0 sine, 1 trapezoid, 2 uploaded, 3 DC motor
    bool voltageOutput = true;
    QString maxOut, minOut, freq;
    QString tRise, tHigh, tFall, tLow;
    QString csvGain;
};

// The read-out lines describing the signal, one paragraph each; empty for an unknown kind.
QStringList describeSignal(const SignalTexts &texts);

} // namespace soa
