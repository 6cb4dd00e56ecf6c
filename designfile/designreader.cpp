#include "designfile/designreader.h"

#include "values/engvalues.h"

#include <QHash>

#include <cmath>
#include <limits>
#include <utility>

namespace designfile {

namespace {

constexpr double kPi = 3.141592653589793;

// Part selectors that older files fill with a catalog index, and the list each index is in.
enum class PartList { Amp, Host, Pwm };

bool partSelector(const QString &key, PartList *list)
{
    static const QHash<QString, PartList> selectors = {
        {QStringLiteral("AmpSelecterSOA"), PartList::Amp},
        {QStringLiteral("AmpSelectorStab"), PartList::Amp},
        {QStringLiteral("IHCPampSelector"), PartList::Amp},
        {QStringLiteral("hostSelector"), PartList::Host},
        {QStringLiteral("ampSelectorFilter"), PartList::Pwm},
        {QStringLiteral("ampSelectorPower"), PartList::Pwm},
        {QStringLiteral("ampSelectorSCon"), PartList::Pwm},
    };
    const auto it = selectors.constFind(key);
    if (it == selectors.constEnd()) return false;
    *list = it.value();
    return true;
}

// Older keys that hold a value of this release's key unchanged.
QString renamedKey(const QString &key)
{
    static const QHash<QString, QString> renamed = {
        {QStringLiteral("Vs_pos"), QStringLiteral("SOAVs_pos")},
        {QStringLiteral("Vs_neg"), QStringLiteral("SOAVs_neg")},
        {QStringLiteral("Vo_max"), QStringLiteral("SOAmaxOut")},
        {QStringLiteral("Vo_min"), QStringLiteral("SOAminOut")},
        {QStringLiteral("SignalTypeBox"), QStringLiteral("SignalType")},
        {QStringLiteral("boostCheckBox"), QStringLiteral("boostSup")},
        {QStringLiteral("SOAprevTab"), QStringLiteral("SOAprevTab")},
    };
    return renamed.value(key);
}

// Older trapezoid times were microseconds without a prefix.
QString microsecondKey(const QString &key)
{
    static const QHash<QString, QString> times = {
        {QStringLiteral("tRise"), QStringLiteral("SOAtRise")},
        {QStringLiteral("tHigh"), QStringLiteral("SOAtHigh")},
        {QStringLiteral("tFall"), QStringLiteral("SOAtFall")},
        {QStringLiteral("tLow"), QStringLiteral("SOAtLow")},
    };
    return times.value(key);
}

// The DC motor modes of older files, one flag key each.
QString motorMode(const QString &key)
{
    static const QHash<QString, QString> modes = {
        {QStringLiteral("MotorNormalOp"), QStringLiteral("Normal")},
        {QStringLiteral("MotorStall"), QStringLiteral("Stall")},
        {QStringLiteral("MotorReverse"), QStringLiteral("Reversal")},
    };
    return modes.value(key);
}

QString quoted(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

} // namespace

int majorRelease(const QString &version)
{
    return integerOf(version.split(QLatin1Char('.'), Qt::KeepEmptyParts).first());
}

SeriesLoad seriesLoadOf(double z, double thetaDegrees, double f)
{
    const double a = thetaDegrees * kPi / 180;
    SeriesLoad load;
    load.l = load.c = QStringLiteral("short");
    if (thetaDegrees == 0) {
        load.r = eng::engString(z, QString());
        return load;
    }
    load.r = eng::engString(z * std::cos(a), QString());
    const double element = thetaDegrees > 0 ? z * std::sin(a) / (6.283185307179586 * f)
                                            : 1 / (2 * z * std::sin(-a) * kPi * f);
    if (!std::isfinite(element)) {
        load.ok = false;
        return load;
    }
    (thetaDegrees > 0 ? load.l : load.c) = eng::engString(element, QString());
    return load;
}

OldSignalTab oldSignalTab(int tabWidget, int soaPrevTab)
{
    OldSignalTab t;
    switch (tabWidget) {
    case 0:
    case 1:
        t.setsSignalType = true;
        t.signalType = tabWidget;
        t.setsTab = true;
        t.tab = 0;
        break;
    // The older releases' third signal was the DC motor; in this release the motor is signal
    // type 3, and 2 is an uploaded waveform.
    case 2:
        t.setsSignalType = true;
        t.signalType = 3;
        t.setsTab = true;
        t.tab = 1;
        t.dcMotor = true;
        break;
    case 3:
        t.setsTab = true;
        t.tab = 2;
        if (soaPrevTab >= 0 && soaPrevTab <= 2) {
            t.setsSignalType = true;
            t.signalType = soaPrevTab == 2 ? 3 : soaPrevTab;
            t.dcMotor = soaPrevTab == 2;
        }
        break;
    default:
        break;
    }
    return t;
}

bool integerAllowed(const QString &key, int n)
{
    static const QHash<QString, std::pair<int, int>> ranges = {
        // 0 sine, 1 trapezoid, 2 uploaded file, 3 DC motor
        {QStringLiteral("SignalType"), {0, 3}},
        // the catalog lists one to six compensation options per part
        {QStringLiteral("CompOption"), {0, 5}},
        {QStringLiteral("CompOptionIHCP"), {0, 5}},
        // RPM = 60 f / poles
        {QStringLiteral("ThreePhasenPoles"), {1, std::numeric_limits<int>::max()}},
        {QStringLiteral("ThreePhaseControlVariable"), {0, 2}},
        {QStringLiteral("ThreePhaseControlType"), {0, 1}},
        {QStringLiteral("ThreePhaseConstantVariable"), {0, 2}},
    };
    const auto it = ranges.constFind(key);
    return it == ranges.constEnd() || (n >= it->first && n <= it->second);
}

DesignReader::DesignReader(CatalogIndexNames names) : names(std::move(names)) {}

void DesignReader::problem(const FileLine &line, const QString &what)
{
    found << QStringLiteral("line %1, %2: %3").arg(line.number).arg(line.key, what);
}

int DesignReader::readInteger(const FileLine &line)
{
    bool ok = false;
    const int n = integerOf(line.value, &ok);
    if (!ok)
        problem(line, quoted(line.value) + QStringLiteral(" is not a whole number; 0 was used"));
    return n;
}

QVector<Assignment> DesignReader::translate(const FileLine &line, const WindowState &now)
{
    if (line.key == QLatin1String("Version")) {
        if (majorRelease(line.value) >= 7) older = false;
        return {};
    }

    PartList list;
    if (older && partSelector(line.key, &list)) {
        const int index = readInteger(line);
        const std::function<QString(int)> &lookup = list == PartList::Amp    ? names.amp
                                                    : list == PartList::Host ? names.host
                                                                             : names.pwm;
        return {{line.key, lookup ? lookup(index) : QString()}};
    }
    if (older && (line.key == QLatin1String("HSpart") || line.key == QLatin1String("HSpackage"))) {
        Assignment first{line.key, QString()};
        first.firstItem = true;
        return {first};
    }

    const int i = currentKeyIndex(line.key);
    if (i >= 0) return checkedCurrent(line, currentKeys()[i]);
    return translateOlderKey(line, now);
}

QVector<Assignment> DesignReader::checkedCurrent(const FileLine &line, const KeyRule &keyRule)
{
    switch (keyRule.form) {
    case Form::Integer:
    case Form::Flag: {
        const int n = readInteger(line);
        if (!integerAllowed(keyRule.key, n)) {
            problem(line, QString::number(n) +
                              QStringLiteral(" is out of range; the present value was kept"));
            return {};
        }
        break;
    }
    case Form::Triple:
    case Form::Quadruple: {
        const int wanted = keyRule.form == Form::Triple ? 3 : 4;
        const int got = fixedPartsOf(line.value, wanted).size();
        if (got < wanted)
            problem(line, QStringLiteral("%1 of %2 values; the missing ones were left as they were")
                              .arg(got)
                              .arg(wanted));
        else if (got > wanted)
            problem(line, QStringLiteral("%1 values where %2 belong; the first %2 were used")
                              .arg(got)
                              .arg(wanted));
        break;
    }
    case Form::List:
        if (keyRule.key == QLatin1String("P3graphables")) {
            // The three-phase page draws one signal per graph, six graphs.
            QStringList graphs = partsOf(line.value);
            if (graphs.size() != 6) {
                problem(line, QStringLiteral("%1 graph entries where 6 belong").arg(graphs.size()));
                while (graphs.size() < 6)
                    graphs << QStringLiteral("null");
                graphs = graphs.mid(0, 6);
            }
            return {{keyRule.key, listValue(graphs)}};
        }
        break;
    case Form::Text:
        break;
    }

    QVector<Assignment> out{{keyRule.key, line.value}};
    if (keyRule.key == QLatin1String("SOAfreq") && std::fabs(loadMagnitude) > 1e-7) {
        // An older file's load, stored as magnitude and angle, becomes the series R, L, C of
        // the SOA page once the frequency is known.
        const SeriesLoad load = seriesLoadOf(loadMagnitude, loadAngle, eng::parseValue(line.value));
        if (!load.ok)
            problem(line, QStringLiteral("the load's reactance needs a frequency above 0; only its "
                                         "resistance was kept"));
        out << Assignment{QStringLiteral("SOA_series"), flagValue(true)};
        out << Assignment{QStringLiteral("SOA_Rload"), load.r};
        if (loadAngle < 0) {
            out << Assignment{QStringLiteral("SOA_Cload"), load.c};
            out << Assignment{QStringLiteral("SOA_Lload"), load.l};
        } else {
            out << Assignment{QStringLiteral("SOA_Lload"), load.l};
            out << Assignment{QStringLiteral("SOA_Cload"), load.c};
        }
    }
    return out;
}

QVector<Assignment> DesignReader::translateOlderKey(const FileLine &line, const WindowState &now)
{
    const QString &key = line.key;

    const QString renamed = renamedKey(key);
    if (!renamed.isEmpty()) {
        if (renamed == QLatin1String("SignalType") || renamed == QLatin1String("boostSup") ||
            renamed == QLatin1String("SOAprevTab")) {
            const int n = readInteger(line);
            if (!integerAllowed(renamed, n)) {
                problem(line, QString::number(n) +
                                  QStringLiteral(" is out of range; the present value was kept"));
                return {};
            }
        }
        return {{renamed, line.value}};
    }

    if (key == QLatin1String("maxOut"))
        return {{QStringLiteral("SOAVout"), flagValue(readInteger(line) & 1)}};
    if (key == QLatin1String("SOAmaxLabel"))
        return {{QStringLiteral("SOAVout"), flagValue(line.value != QLatin1String("Max I_out"))}};

    if (key == QLatin1String("tabWidget")) {
        const OldSignalTab t = oldSignalTab(readInteger(line), now.soaPrevTab);
        QVector<Assignment> out;
        if (t.setsSignalType)
            out << Assignment{QStringLiteral("SignalType"), integerValue(t.signalType)};
        if (t.setsTab) out << Assignment{QStringLiteral("SOAtabWidget"), integerValue(t.tab)};
        if (t.dcMotor) out << Assignment{QStringLiteral("loadTypeBox"), QStringLiteral("DC Motor")};
        return out;
    }

    if (key == QLatin1String("Z_load")) {
        loadMagnitude = eng::parseValue(line.value);
        return {};
    }
    if (key == QLatin1String("theta_load")) {
        loadAngle = eng::parseValue(line.value);
        return {};
    }

    if (key == QLatin1String("capLoad")) {
        // Older releases kept a capacitive load (nF) for the trapezoid signal only.
        if (now.signalType != 1) return {};
        return {{QStringLiteral("SOA_Cload"),
                 eng::engString(eng::parseValue(line.value) * 1e-9, QString())},
                {QStringLiteral("SOA_Rload"), QStringLiteral("short")},
                {QStringLiteral("SOA_Lload"), QStringLiteral("short")},
                {QStringLiteral("SOA_series"), flagValue(true)}};
    }

    const QString time = microsecondKey(key);
    if (!time.isEmpty())
        return {{time, eng::engString(eng::parseValue(line.value) * 1e-6, QString())}};

    const QString mode = motorMode(key);
    if (!mode.isEmpty()) {
        // The motor's supply was the signal maximum in older releases.
        QVector<Assignment> out;
        if (readInteger(line) == 1) out << Assignment{QStringLiteral("MotorBox"), mode};
        out << Assignment{QStringLiteral("MotorVDC"), now.soaMaxOut};
        return out;
    }

    return {};
}

} // namespace designfile
