#pragma once

#include "stability/bodemodel.h"

#include <QColor>
#include <QString>
#include <QVector>

#include <array>
#include <cmath>

// Steps that the four Bode models share and that only they use.
namespace stab {
namespace steps {

extern const double kRadToDeg; // 57.29577951308232

// Reads the circuit values of a model and keeps the first reason why one cannot be used: an
// empty or unreadable text, a negative value, or 0 where the value divides. The numbers are
// those the models have always read ("open" 4294967295, or 0 F for a capacitor; "short" 0).
class InputCheck
{
public:
    // `zeroWhy`: what a zero would make unbounded ("1/ß is unbounded"); null when 0 is usable.
    double value(const char *label, const QString &text, const char *zeroWhy = nullptr);
    double capacitor(const char *label, const QString &text);
    // A problem found outside the circuit values (the host fields).
    void fail(const QString &problem);
    const QString &problem() const { return problem_; }
    bool usable() const { return problem_.isEmpty(); }

private:
    double read(const char *label, const QString &text, bool isCapacitor, const char *zeroWhy);
    QString problem_;
};

// The booster circuit types bring their own feedback network; the typed R_IN, R_FB and C_FB
// of the loop are then not read.
bool replacesNetwork(const amp &part);
// The part's own feedback network replaces the typed one for the booster circuit types;
// R_G is read only when the type is not "normal".
void applyCircuitType(const amp &part, const QString &rgText, InputCheck &check, double &Rin,
                      double &Rfb, double &Cfb);
extern const char *const kBetaUnbounded; // "1/ß is unbounded"
// R_IN, R_FB and C_FB of the capacitive-load loop as it sees them (typed, or the part's own).
void readFeedback(const amp &part, const CircuitValues &v, InputCheck &check, double &Rin,
                  double &Rfb, double &Cfb);
// Z_OUT of the part plus R_CL where the part limits its current through R_CL, Ω.
double outputImpedance(const amp &part, const CircuitValues &v, InputCheck &check);
// The host fields and HOST R_IN, HOST R_FB, HOST C_FB of a composite loop.
void readHost(const BodeInput &in, InputCheck &check, double &HRin, double &HRfb, double &HCfb);

// The values last made for a few keys; the least recently used goes first. The automatic
// compensation runs the models thousands of times on few distinct inputs. A model that looks
// up fewer keys than are kept may hold every reference it got until its next run.
template <class Key, class Value, int N> class RecentValues
{
public:
    // The value kept for `key`, else the one `make(key, value)` fills in.
    template <class Make> const Value &get(const Key &key, Make make)
    {
        ++clock_;
        int oldest = 0;
        for (int k = 0; k < count_; ++k) {
            if (keys_[k] == key) {
                used_[k] = clock_;
                return values_[k];
            }
            if (used_[k] < used_[oldest]) oldest = k;
        }
        const int slot = count_ < N ? count_++ : oldest;
        keys_[slot] = key;
        used_[slot] = clock_;
        make(key, values_[slot]);
        return values_[slot];
    }

private:
    std::array<Key, N> keys_{};
    std::array<Value, N> values_{};
    std::array<unsigned long long, N> used_{};
    unsigned long long clock_ = 0;
    int count_ = 0;
};

// A corner on the grid: the rise of its straight-line gain above it (20 log10(f/x), 0 at and
// below it) and its phase turn (0 up to a tenth of it, 45° per decade, then 90°). Equal to
// poleGain/zeroGain and lagPhase/leadPhase up to the sign, to the last bit. The curves of the
// last corners met are kept.
struct CornerCurve
{
    std::array<double, kGridPoints> rise, turn;
};
const CornerCurve &cornerCurve(double x);

// The corner curves of the host op-amp's three poles; a pole not above 0 Hz is absent (null).
using HostPoles = std::array<const CornerCurve *, 3>;
HostPoles hostPoleCurves(const HostAmp &host);
// Host op-amp gain at grid point i, dB.
double hostGain(const HostAmp &host, const HostPoles &poles, int i);
// The arctangent of f over a host pole, 0 when the pole is absent.
double hostAtan(double f, double pole);

// "label" + value + "V/V (" + dB + " dB)".
QString ratioLine(const QString &label, double ratio);
QString hzLine(const QString &label, double hz);

void addGraph(QVector<BodeGraph> &graphs, const QString &name, const QVector<double> &keys,
              const QVector<double> &values, const QColor &colour,
              Qt::PenStyle style = Qt::SolidLine);

// Verdict and slew rate that every model ends with. A loop whose inputs were refused, whose
// loop gain does not cross 0 dB on the grid (`loopGainAt1Hz` and the lowest loop gain met,
// both in dB) or whose figures are not finite is not analysed. Returns r.analysed().
bool finishResult(BodeResult &r, const amp &part, int compOption, double loopGainAt1Hz,
                  double lowestLoopGain);
// lowest = the lower of lowest and loopGain; a loop gain that is not a number sticks.
inline void trackLoopGain(double &lowest, double loopGain)
{
    if (loopGain < lowest || std::isnan(loopGain)) lowest = loopGain;
}
// A loop refused before it was computed.
BodeResult refusedResult(const QString &problem, const amp &part, int compOption);

} // namespace steps
} // namespace stab
