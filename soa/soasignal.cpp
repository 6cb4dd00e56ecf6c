#include "soa/soasignal.h"

#include "values/engvalues.h"

#include <QLocale>

#include <cmath>

namespace soa {

namespace {
const double kTwoPi = 6.283185307179586;
} // namespace

MotorMode motorModeFromText(const QString &text)
{
    if (text == QLatin1String("Stall")) return MotorMode::Stall;
    if (text == QLatin1String("Reversal")) return MotorMode::Reversal;
    return MotorMode::Normal;
}

Signal sineSignal(double freqHz, double maxOut, double minOut)
{
    Signal s;
    s.time.reserve(360);
    s.value.reserve(360);
    const double amplitude = (maxOut - minOut) * 0.5;
    const double centre = (maxOut + minOut) * 0.5;
    for (int i = 1; i <= 360; ++i) {
        const double t = i / (360 * freqHz);
        s.time.append(t);
        s.value.append(std::sin(kTwoPi * freqHz * t) * amplitude + centre);
    }
    return s;
}

Signal trapezoidSignal(double rise, double high, double fall, double low, double maxOut,
                       double minOut)
{
    Signal s;
    s.time.reserve(1000);
    s.value.reserve(1000);
    const double period = rise + high + fall + low;
    for (int i = 1; i <= 1000; ++i) {
        const double t = i * period / 1000;
        double y;
        if (t > rise + high + fall)
            y = minOut;
        else if (t > rise + high)
            y = maxOut + (t - rise - high) * (minOut - maxOut) / fall;
        else if (t > rise)
            y = maxOut;
        else
            y = minOut + (maxOut - minOut) * t / rise;
        s.time.append(t);
        s.value.append(y);
    }
    return s;
}

Signal motorSignal(MotorMode mode, double vsPos, double vsNeg, double iPk)
{
    double top = vsPos;
    double bottom = vsNeg;
    if (mode == MotorMode::Reversal) {
        top = 0;
        bottom = -iPk;
    }
    Signal s;
    s.time.reserve(360);
    s.value.reserve(360);
    for (int i = 1; i <= 360; ++i) {
        const double t = i / 360.0;
        s.time.append(t);
        s.value.append(bottom + t * (top - bottom));
    }
    return s;
}

Signal parseCsvSamples(const QString &text)
{
    const QLocale c = QLocale::c();
    Signal s;
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (fields.size() < 2) continue;
        // toDouble reads 0 when a field is no number, which is what the file rule says.
        s.time.append(c.toDouble(fields.at(0).trimmed()));
        s.value.append(c.toDouble(fields.at(1).trimmed()));
    }
    return s;
}

Signal increaseResolution(const Signal &signal, uint segmentDivision)
{
    Signal out;
    const int n = signal.size();
    if (n < 2 || segmentDivision == 0) return out;
    const int per = static_cast<int>(segmentDivision);
    out.time.reserve((n - 1) * per);
    out.value.reserve((n - 1) * per);
    for (int k = 0; k + 1 < n; ++k) {
        const double t0 = signal.time.at(k);
        const double y0 = signal.value.at(k);
        const double span = signal.time.at(k + 1) - t0;
        const double dt = span / per;
        const double slope = (signal.value.at(k + 1) - y0) / span;
        for (int j = 0; j < per; ++j) {
            out.time.append(t0 + j * dt);
            out.value.append(y0 + j * dt * slope);
        }
    }
    return out;
}

Signal uploadedSignal(const QString &fileText)
{
    const Signal read = parseCsvSamples(fileText);
    const int n = read.size();
    if (n >= 500 || n == 0) return read;
    return increaseResolution(read, static_cast<uint>(1000 / n));
}

double firstTimeStep(const Signal &signal)
{
    if (signal.size() == 0) return 0;
    const double t0 = signal.time.at(0);
    if (t0 > 0 || signal.size() < 2) return t0;
    return signal.time.at(1) - t0;
}

double signalPeriod(const Signal &signal)
{
    if (signal.size() == 0) return 0;
    return signal.time.last() - signal.time.first() + firstTimeStep(signal);
}

QString uploadProblem(const Signal &read, const Signal &kept)
{
    const QString asRead = signalProblem(read);
    if (!asRead.isEmpty() || kept.size() == read.size()) return asRead;
    const int per = read.size() > 0 ? qMax(1, 1000 / read.size()) : 1;
    for (int k = 0; k + 1 < read.size(); ++k) {
        const double span = read.time.at(k + 1) - read.time.at(k);
        const double rise = read.value.at(k + 1) - read.value.at(k);
        if (!std::isfinite(rise))
            return QStringLiteral("!!! Uploaded values are too large to resample: the previous "
                                  "signal is kept !!!");
        if (!(span / per > 0) || !std::isfinite(rise / span))
            return QStringLiteral("!!! Uploaded times lie too close together to resample: the "
                                  "previous signal is kept !!!");
    }
    return signalProblem(kept);
}

QString trapezoidProblem(double rise, double high, double fall, double low)
{
    for (const double t : {rise, high, fall, low}) {
        if (!(t >= 0))
            return QStringLiteral("!!! Trapezoid times may not be negative: the previous signal "
                                  "is kept !!!");
    }
    return QString();
}

double signalFrequency(int kind, const Signal &inUse, double typedSineHz, bool sineAdopted)
{
    if (kind == 3) return 0;
    if (kind == 0 && sineAdopted) return typedSineHz;
    const double period = signalPeriod(inUse);
    return period > 0 && std::isfinite(period) ? 1 / period : 0;
}

QString signalProblem(const Signal &signal)
{
    const int n = signal.size();
    if (n == 0 || signal.value.size() != n || (n == 1 && !(signal.time.at(0) > 0)))
        return QStringLiteral(
            "!!! The signal needs at least two samples: the previous signal is kept !!!");
    bool finiteTimes = true;
    for (double t : signal.time)
        finiteTimes = finiteTimes && std::isfinite(t);
    if (!finiteTimes || !(signalPeriod(signal) > 0))
        return QStringLiteral("!!! Signal period must be finite and greater than zero: "
                              "the previous signal is kept !!!");
    for (int i = 0; i < n; ++i) {
        if (std::isinf(signal.value.at(i)))
            return QStringLiteral("!!! The signal holds a value too large to compute with: the "
                                  "previous signal is kept !!!");
        if (std::isnan(signal.value.at(i)))
            return QStringLiteral(
                "!!! The signal holds a value that is not a number: the previous signal is "
                "kept !!!");
    }
    for (int i = 1; i < n; ++i) {
        if (!(signal.time.at(i) > signal.time.at(i - 1)))
            return QStringLiteral("!!! Signal times must increase from sample to sample: the "
                                  "previous signal is kept !!!");
    }
    return QString();
}

namespace {

// A typed value of the read-out: as typed when it reads as a figure; otherwise the
// placeholder, NaN for the figures computed from it, and a note naming the field.
struct TypedFigure
{
    QString text;
    double value = 0;
};

TypedFigure typedFigure(const QString &typed, const QString &name, QStringList &notes)
{
    const eng::ReadResult r = eng::readNumber(typed);
    if (r.status == eng::ReadStatus::Valid && !typed.trimmed().isEmpty() && isFigure(r.value))
        return {typed, r.value};
    notes << (r.status == eng::ReadStatus::Valid && !typed.trimmed().isEmpty()
                  ? name + QStringLiteral(" is too large to be a figure")
                  : name + QStringLiteral(" is not a number"));
    return {eng::noResultText(), std::nan("")};
}

} // namespace

QStringList describeSignal(const SignalTexts &texts)
{
    QStringList lines;
    QStringList notes;
    const QString unit = texts.voltageOutput ? QStringLiteral("V") : QStringLiteral("A");
    const QString level = texts.voltageOutput ? QStringLiteral(" V_out") : QStringLiteral(" I_out");
    const auto range = [&](const TypedFigure &maxOut, const TypedFigure &minOut) {
        return minOut.text + QLatin1Char(' ') + unit + QStringLiteral(" to ") + maxOut.text +
               QLatin1Char(' ') + unit;
    };
    switch (texts.kind) {
    case 0: {
        const TypedFigure maxOut = typedFigure(texts.maxOut, QStringLiteral("Max") + level, notes);
        const TypedFigure minOut = typedFigure(texts.minOut, QStringLiteral("Min") + level, notes);
        const TypedFigure freq = typedFigure(texts.freq, QStringLiteral("Frequency"), notes);
        lines << QStringLiteral("Sine Waveform") << range(maxOut, minOut)
              << (std::isnan(freq.value) ? freq.text + QStringLiteral(" Hz")
                                         : freq.text + QStringLiteral("Hz"))
              << QStringLiteral("(") + figureText((maxOut.value - minOut.value) * 0.5, unit) +
                     QStringLiteral(" amplitude centered around ") +
                     figureText((maxOut.value + minOut.value) * 0.5, unit) + QStringLiteral(")");
        break;
    }
    case 1: {
        const TypedFigure maxOut = typedFigure(texts.maxOut, QStringLiteral("Max") + level, notes);
        const TypedFigure minOut = typedFigure(texts.minOut, QStringLiteral("Min") + level, notes);
        const TypedFigure rise = typedFigure(texts.tRise, QStringLiteral("Rise Time"), notes);
        const TypedFigure high = typedFigure(texts.tHigh, QStringLiteral("High Time"), notes);
        const TypedFigure fall = typedFigure(texts.tFall, QStringLiteral("Fall Time"), notes);
        const TypedFigure low = typedFigure(texts.tLow, QStringLiteral("Low Time"), notes);
        const double period = rise.value + high.value + fall.value + low.value;
        const auto time = [](const TypedFigure &t, const char *what) {
            return t.text + (std::isnan(t.value) ? QStringLiteral(" s ") : QStringLiteral("s ")) +
                   QLatin1String(what);
        };
        lines << QStringLiteral("Trapezoidal Waveform") << range(maxOut, minOut)
              << time(rise, "rise time") << time(high, "high time") << time(fall, "fall time")
              << time(low, "low time")
              << QStringLiteral("(") + figureText(period, QStringLiteral("s")) +
                     QStringLiteral(" total period)")
              << QStringLiteral("(") +
                     figureText(period > 0 ? 1 / period : std::nan(""), QStringLiteral("Hz")) +
                     QStringLiteral(" frequency)");
        break;
    }
    case 2:
        lines << QStringLiteral("Uploaded Waveform")
              << QStringLiteral("Scale Factor of ") +
                     typedFigure(texts.csvGain, QStringLiteral("Scale Factor"), notes).text;
        break;
    case 3:
        lines << QStringLiteral("DC Motor") << QStringLiteral("See Load tab to edit parameters");
        break;
    default:
        break;
    }
    for (const QString &note : notes)
        lines << QStringLiteral("Note: ") + note + QLatin1Char('.');
    return lines;
}

} // namespace soa
