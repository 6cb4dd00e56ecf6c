#include "motor/p3signals.h"

#include <QLocale>
#include <QTextStream>

namespace motor {

namespace {

struct Entry
{
    const char *key;
    int signal; // sig:: index
    const char *label;
};

const Entry *findEntry(const QString &key, const SignalView &view)
{
    static const Entry plain[] = {
        {"At", sig::At, "At in"},
        {"Ab", sig::Ab, "Ab in"},
        {"Bt", sig::Bt, "Bt in"},
        {"Bb", sig::Bb, "Bb in"},
        {"Ct", sig::Ct, "Ct in"},
        {"Cb", sig::Cb, "Cb in"},
        {"I1", sig::I1, "A Line Current [A]"},
        {"I2", sig::I2, "B Line Current [A]"},
        {"I3", sig::I3, "C Line Current [A]"},
        {"Vwye", sig::Vwye, "Wye Voltage [V]"},
        {"DCA", sig::DCA, "A Duty Cycle"},
        {"DCB", sig::DCB, "B Duty Cycle"},
        {"DCC", sig::DCC, "C Duty Cycle"},
        {"DCenv", sig::DCenv, "Duty Cycle Envelope"},
        {"freq", sig::freq, "frequency (Hz)"},
        {"loadPower", sig::loadPower, "load Power [W]"},
    };
    // Phase voltages (or their duty cycles), EMFs (leg or line) and the angle (or position).
    static const Entry phaseVoltage[] = {{"V1", sig::V1, "A Voltage [V]"},
                                         {"V2", sig::V2, "B Voltage [V]"},
                                         {"V3", sig::V3, "C Voltage [V]"}};
    static const Entry phaseDuty[] = {{"V1", sig::DCA, "A Duty Cycle"},
                                      {"V2", sig::DCB, "B Duty Cycle"},
                                      {"V3", sig::DCC, "C Duty Cycle"}};
    static const Entry legEmf[] = {{"VemfA", sig::VemfA, "A EMF Voltage [V]"},
                                   {"VemfB", sig::VemfB, "B EMF Voltage [V]"},
                                   {"VemfC", sig::VemfC, "C EMF Voltage [V]"}};
    static const Entry lineEmf[] = {{"VemfA", sig::VemfAB, "A-B EMF Voltage [V]"},
                                    {"VemfB", sig::VemfCA, "C-A EMF Voltage [V]"},
                                    {"VemfC", sig::VemfBC, "B-C EMF Voltage [V]"}};
    static const Entry angle[] = {{"Angle", sig::Angle, "Rotor Angle [rad]"}};
    static const Entry position[] = {{"Angle", sig::Angle, "Motor Position [m]"}};

    const auto find = [&key](const Entry *begin, const Entry *end) -> const Entry * {
        for (const Entry *e = begin; e != end; ++e) {
            if (key == QLatin1String(e->key)) return e;
        }
        return nullptr;
    };
    if (const Entry *e = find(std::begin(plain), std::end(plain))) return e;
    if (const Entry *e = view.dispDC ? find(std::begin(phaseDuty), std::end(phaseDuty))
                                     : find(std::begin(phaseVoltage), std::end(phaseVoltage)))
        return e;
    if (const Entry *e = view.delta ? find(std::begin(lineEmf), std::end(lineEmf))
                                    : find(std::begin(legEmf), std::end(legEmf)))
        return e;
    return view.linear ? find(std::begin(position), std::end(position))
                       : find(std::begin(angle), std::end(angle));
}

} // namespace

GraphSource graphSource(const QString &key, const Waveforms &w, const SignalView &view)
{
    GraphSource s;
    if (const Entry *e = findEntry(key, view)) {
        s.values = w.list(e->signal);
        s.label = QString::fromLatin1(e->label);
    }
    return s;
}

int graphSignal(const QString &key, const SignalView &view)
{
    const Entry *e = findEntry(key, view);
    return e ? e->signal : -1;
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

namespace {

// The signal of each slot that names one, in slot order.
QVector<int> pwlColumns(const QStringList &graphSlots, const SignalView &view)
{
    QVector<int> columns;
    for (const QString &key : graphSlots) {
        const int s = graphSignal(key, view);
        if (s >= 0) columns << s;
    }
    return columns;
}

// A time as the shortest text that reads back as the same number: the steps of a run can be
// far closer than six digits tell apart, and a piecewise-linear source needs every time later
// than the one before.
void writeTime(QTextStream &out, double t)
{
    out << QString::number(t, 'g', QLocale::FloatingPointShortest);
}

} // namespace

void writePwl(QTextStream &out, const Waveforms &w, const QStringList &graphSlots,
              const SignalView &view)
{
    const QVector<int> columns = pwlColumns(graphSlots, view);
    // A stream whose device failed takes nothing more: the lines after would only pile up.
    for (int i = 0; i < w.time.size() && out.status() == QTextStream::Ok; ++i) {
        writeTime(out, w.time[i]);
        for (int s : columns) {
            const QVector<double> &c = *w.list(s);
            out << ',';
            // Every waveform has a value at each step; a shorter list would be a fault of the
            // run, and a missing value must not shift the columns.
            if (i < c.size()) out << c.at(i);
        }
        out << '\n';
    }
}

PwlWriter::PwlWriter(QTextStream &out, const QStringList &graphSlots, const SignalView &view)
    : out(out), columns(pwlColumns(graphSlots, view))
{
}

void PwlWriter::step(const double *values)
{
    writeTime(out, values[sig::time]);
    for (int s : qAsConst(columns))
        out << ',' << values[s];
    out << '\n';
}

} // namespace motor
