#include "motor/p3signals.h"

#include <QTextStream>

namespace motor {

GraphSource graphSource(const QString &key, const Waveforms &w, const SignalView &view)
{
    struct Entry
    {
        const char *key;
        const QVector<double> Waveforms::*values;
        const char *label;
    };
    static const Entry plain[] = {
        {"At", &Waveforms::At, "At in"},
        {"Ab", &Waveforms::Ab, "Ab in"},
        {"Bt", &Waveforms::Bt, "Bt in"},
        {"Bb", &Waveforms::Bb, "Bb in"},
        {"Ct", &Waveforms::Ct, "Ct in"},
        {"Cb", &Waveforms::Cb, "Cb in"},
        {"I1", &Waveforms::I1, "A Line Current [A]"},
        {"I2", &Waveforms::I2, "B Line Current [A]"},
        {"I3", &Waveforms::I3, "C Line Current [A]"},
        {"Vwye", &Waveforms::Vwye, "Wye Voltage [V]"},
        {"DCA", &Waveforms::DCA, "A Duty Cycle"},
        {"DCB", &Waveforms::DCB, "B Duty Cycle"},
        {"DCC", &Waveforms::DCC, "C Duty Cycle"},
        {"DCenv", &Waveforms::DCenv, "Duty Cycle Envelope"},
        {"freq", &Waveforms::freq, "frequency (Hz)"},
        {"loadPower", &Waveforms::loadPower, "load Power [W]"},
    };
    // Phase voltages (or their duty cycles), EMFs (leg or line) and the angle (or position).
    static const Entry phaseVoltage[] = {{"V1", &Waveforms::V1, "A Voltage [V]"},
                                         {"V2", &Waveforms::V2, "B Voltage [V]"},
                                         {"V3", &Waveforms::V3, "C Voltage [V]"}};
    static const Entry phaseDuty[] = {{"V1", &Waveforms::DCA, "A Duty Cycle"},
                                      {"V2", &Waveforms::DCB, "B Duty Cycle"},
                                      {"V3", &Waveforms::DCC, "C Duty Cycle"}};
    static const Entry legEmf[] = {{"VemfA", &Waveforms::VemfA, "A EMF Voltage [V]"},
                                   {"VemfB", &Waveforms::VemfB, "B EMF Voltage [V]"},
                                   {"VemfC", &Waveforms::VemfC, "C EMF Voltage [V]"}};
    static const Entry lineEmf[] = {{"VemfA", &Waveforms::VemfAB, "A-B EMF Voltage [V]"},
                                    {"VemfB", &Waveforms::VemfCA, "C-A EMF Voltage [V]"},
                                    {"VemfC", &Waveforms::VemfBC, "B-C EMF Voltage [V]"}};
    static const Entry angle[] = {{"Angle", &Waveforms::Angle, "Rotor Angle [rad]"}};
    static const Entry position[] = {{"Angle", &Waveforms::Angle, "Motor Position [m]"}};

    const auto find = [&key, &w](const Entry *begin, const Entry *end, GraphSource *found) {
        for (const Entry *e = begin; e != end; ++e) {
            if (key == QLatin1String(e->key)) {
                found->values = &(w.*(e->values));
                found->label = QString::fromLatin1(e->label);
                return true;
            }
        }
        return false;
    };
    GraphSource s;
    if (find(std::begin(plain), std::end(plain), &s)) return s;
    if (view.dispDC ? find(std::begin(phaseDuty), std::end(phaseDuty), &s)
                    : find(std::begin(phaseVoltage), std::end(phaseVoltage), &s))
        return s;
    if (view.delta ? find(std::begin(lineEmf), std::end(lineEmf), &s)
                   : find(std::begin(legEmf), std::end(legEmf), &s))
        return s;
    if (view.linear ? find(std::begin(position), std::end(position), &s)
                    : find(std::begin(angle), std::end(angle), &s))
        return s;
    return GraphSource();
}

bool isUnitAxisKey(const QString &key)
{
    return key == QLatin1String("DCenv") || key == QLatin1String("DCA") ||
           key == QLatin1String("DCB") || key == QLatin1String("DCC");
}

void toggleGraphable(QStringList &graphSlots, const QString &name)
{
    const int shown = graphSlots.indexOf(name);
    if (shown >= 0) {
        graphSlots[shown] = emptySlot();
        return;
    }
    const int free = graphSlots.indexOf(emptySlot());
    if (free >= 0) graphSlots[free] = name;
}

QColor graphColour(int slot)
{
    static const QColor colours[kGraphSlots] = {QColor(0, 0, 255),   QColor(255, 0, 0),
                                                QColor(0, 153, 0),   QColor(73, 30, 148),
                                                QColor(255, 127, 0), QColor(102, 51, 0)};
    return slot >= 0 && slot < kGraphSlots ? colours[slot] : QColor(0, 0, 0);
}

QColor schematicColour(int slot)
{
    if (slot == 3) return QColor(113, 50, 188);
    if (slot == 5) return QColor(170, 91, 10);
    return graphColour(slot);
}

void writePwl(QTextStream &out, const Waveforms &w, const QStringList &graphSlots,
              const SignalView &view)
{
    QVector<const QVector<double> *> columns;
    for (const QString &key : graphSlots) {
        const GraphSource s = graphSource(key, w, view);
        if (s.values) columns << s.values;
    }
    for (int i = 0; i < w.time.size(); ++i) {
        out << w.time[i];
        for (const QVector<double> *c : qAsConst(columns)) {
            out << ',';
            // Every waveform has a value at each step; a shorter list would be a fault of the
            // run, and a missing value must not shift the columns.
            if (i < c->size()) out << c->at(i);
        }
        out << '\n';
    }
}

} // namespace motor
