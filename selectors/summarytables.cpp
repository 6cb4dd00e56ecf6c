#include "selectors/summarytables.h"

#include "catalog/partlists.h"

#include <array>
#include <cmath>
#include <functional>

namespace selectors {

namespace {

// Summary status of a record: 0 left out, 1 listed, 2 a package variant of the next record
// that is not one.
constexpr int statusLeftOut = 0;
constexpr int statusVariant = 2;

// Leading figures that differ by less than this count as equal and the next key decides.
constexpr double keyTolerance = 0.0001;

const QString separator = QStringLiteral(", ");

QString figure(double value)
{
    return QString::number(value, 'g', 6);
}

QString mGrade(int available)
{
    return available != 0 ? QStringLiteral(" (M)") : QString();
}

QString packageField(const QVector<packageStyle> &packages, const QString &code)
{
    return catalog::interpretPackageFullDesc(packages, code) + QStringLiteral(" (") + code +
           QLatin1Char(')');
}

using Keys = std::array<double, 3>;

// Inserts `keys` before the first entry that is not greater, comparing the three keys in turn
// with the tolerance; among entries equal on all three the later record therefore comes first.
// The tolerance makes this no strict ordering, so the insertion itself is the definition.
void insertSorted(QVector<std::pair<Keys, int>> &list, const Keys &keys, int record)
{
    int p = 0;
    while (p < list.size() && list.at(p).first[0] > keys[0])
        ++p;
    while (p < list.size() && std::fabs(list.at(p).first[0] - keys[0]) < keyTolerance &&
           list.at(p).first[1] > keys[1])
        ++p;
    while (p < list.size() && std::fabs(list.at(p).first[0] - keys[0]) < keyTolerance &&
           std::fabs(list.at(p).first[1] - keys[1]) < keyTolerance && list.at(p).first[2] > keys[2])
        ++p;
    list.insert(p, {keys, record});
}

struct TableLayout
{
    const char *fileName;
    const char *header;
    const char *units;
};

TableLayout layout(SummaryTable table)
{
    switch (table) {
    case SummaryTable::HighCurrentOpAmps:
        return {"HighCurrentOpAmps.csv",
                "Model, Output Current, Supply Voltage, Slew Rate, Standby Current, Power "
                "Dissipation, Package",
                " , CONTINUOUS (A), MAX (V), TYP (V/\u00b5s), MAX (mA), MAX (W), "};
    case SummaryTable::HighSpeedOpAmps:
        return {"HighSpeedOpAmps.csv",
                "Model, Slew Rate, Supply Voltage, Output Current, Standby Current, Power "
                "Dissipation, Package",
                " , TYP (V/\u00b5s), MAX (V), CONTINUOUS (A), MAX (mA), MAX (W), "};
    case SummaryTable::HighVoltageOpAmps:
        return {"HighVoltageOpAmps.csv",
                "Model, Supply Voltage, Output Current, Slew Rate, Standby Current, Power "
                "Dissipation, Package",
                " , MAX (V), CONTINUOUS (A), TYP (V/\u00b5s), MAX (mA), MAX (W), "};
    case SummaryTable::HighCurrentPWM:
        return {"HighCurrentPWM.csv",
                "Model, Output Current, Supply Voltage, Switching Frequency, Power Delivery, "
                "Internal Power Dissipation, Package",
                " , CONTINUOUS (A), MAX (V), MAX (kHz), MAX (W), MAX (W), "};
    case SummaryTable::HighVoltagePWM:
        return {"HighVoltagePWM.csv",
                "Model, Supply Voltage, Output Current, Switching Frequency, Power Delivery, "
                "Internal Power Dissipation, Package",
                " , MAX (V), CONTINUOUS (A), MAX (kHz), MAX (W), MAX (W), "};
    }
    return {"", "", ""};
}

// The linear tables differ only in their threshold, their sort keys and the order of the
// four leading figures.
enum class LinearFigure { Current, Supply, SlewRate };

struct LinearTable
{
    std::function<bool(const amp &)> listed;
    std::function<Keys(const amp &)> keys;
    std::array<LinearFigure, 3> order;
};

LinearTable linearTable(SummaryTable table)
{
    auto current = [](const amp &a) { return a.getI_cont(); };
    auto supply = [](const amp &a) { return a.getVss_max(); };
    auto slew = [](const amp &a) { return a.getSlewRate(0); };
    switch (table) {
    case SummaryTable::HighSpeedOpAmps:
        return {[=](const amp &a) { return slew(a) >= 100.0; },
                [=](const amp &a) {
                    return Keys{slew(a), supply(a), current(a)};
                },
                {LinearFigure::SlewRate, LinearFigure::Supply, LinearFigure::Current}};
    case SummaryTable::HighVoltageOpAmps:
        return {[=](const amp &a) { return supply(a) >= 100.0; },
                [=](const amp &a) {
                    return Keys{supply(a), current(a), slew(a)};
                },
                {LinearFigure::Supply, LinearFigure::Current, LinearFigure::SlewRate}};
    default:
        return {[=](const amp &a) { return current(a) >= 1.0; },
                [=](const amp &a) {
                    return Keys{current(a), supply(a), slew(a)};
                },
                {LinearFigure::Current, LinearFigure::Supply, LinearFigure::SlewRate}};
    }
}

QString linearFigure(const amp &part, LinearFigure which)
{
    switch (which) {
    case LinearFigure::Current: {
        QString text = figure(part.getI_cont());
        if (part.getChannels() > 1)
            text += QStringLiteral(" (x") + QString::number(part.getChannels()) +
                    QStringLiteral(" channels)");
        return text;
    }
    case LinearFigure::Supply:
        return figure(part.getVss_max());
    case LinearFigure::SlewRate:
        return figure(part.getSlewRate(0));
    }
    return QString();
}

QString perChannel(const amp &part)
{
    return part.getChannels() > 1 ? QStringLiteral(" per channel") : QString();
}

void appendLinearRows(QStringList &lines, SummaryTable table, const QVector<amp> &linear,
                      const QVector<packageStyle> &packages)
{
    const LinearTable rules = linearTable(table);
    QVector<std::pair<Keys, int>> order;
    for (int k = 0; k < linear.size(); ++k) {
        const amp &part = linear.at(k);
        const int status = part.getPSGstatus();
        if (status == statusLeftOut || status == statusVariant || !rules.listed(part)) continue;
        insertSorted(order, rules.keys(part), k);
    }

    for (const auto &entry : qAsConst(order)) {
        const amp &part = linear.at(entry.second);
        const QString code = part.getPackageStyle();
        const int i = catalog::ampVectorIndex(linear, part.getAmpName());

        QStringList fields;
        fields << part.getAmpName() + mGrade(part.getMgradeAvailable());
        for (LinearFigure which : rules.order)
            fields << linearFigure(part, which);
        fields << figure(part.getIq_max());
        // A part with variants names its own package after its power, so that the power
        // figures of the main row and the variant rows can be told apart.
        QString power = figure(part.getPd_max(0));
        if (i > 0 && linear.at(i - 1).getPSGstatus() == statusVariant)
            power += QStringLiteral(" (") + code + QLatin1Char(')');
        fields << power + perChannel(part);
        fields << packageField(packages, code);
        lines << fields.join(separator);

        for (int v = i - 1; v >= 0 && linear.at(v).getPSGstatus() == statusVariant; --v) {
            const amp &variant = linear.at(v);
            const QString vcode = variant.getPackageStyle();
            lines << variant.getAmpName() + mGrade(variant.getMgradeAvailable()) +
                         QStringLiteral(", , , , , ") + figure(variant.getPd_max(0)) +
                         QStringLiteral(" (") + vcode + QLatin1Char(')') + perChannel(variant) +
                         separator + packageField(packages, vcode);
        }
    }
}

void appendPwmRows(QStringList &lines, SummaryTable table, const QVector<pwm> &pwms,
                   const QVector<packageStyle> &packages)
{
    const bool byCurrent = table == SummaryTable::HighCurrentPWM;
    QVector<std::pair<Keys, int>> order;
    for (int k = 0; k < pwms.size(); ++k) {
        const pwm &part = pwms.at(k);
        const int status = part.getPSGstatus();
        if (status == statusLeftOut || status == statusVariant) continue;
        if (byCurrent ? part.getI_cont() < 1.0 : part.getVs_max() < 80.0) continue;
        const Keys keys = byCurrent ? Keys{part.getI_cont(), part.getVs_max(), part.getFsw_max()}
                                    : Keys{part.getVs_max(), part.getI_cont(), part.getFsw_max()};
        insertSorted(order, keys, k);
    }

    for (const auto &entry : qAsConst(order)) {
        const pwm &part = pwms.at(entry.second);
        QStringList fields;
        fields << part.getAmpName() + mGrade(part.getMgradeAvailable());
        if (byCurrent)
            fields << figure(part.getI_cont()) << figure(part.getVs_max());
        else
            fields << figure(part.getVs_max()) << figure(part.getI_cont());
        fields << figure(part.getFsw_max()) << figure(part.getVs_max() * part.getI_cont())
               << figure(part.getPd_max()) << packageField(packages, part.getPackageStyle());
        lines << fields.join(separator);
    }
}

} // namespace

QString summaryFileName(SummaryTable table)
{
    return QString::fromLatin1(layout(table).fileName);
}

QStringList summaryTableLines(SummaryTable table, const QVector<amp> &linear,
                              const QVector<pwm> &pwms, const QVector<packageStyle> &packages)
{
    const TableLayout l = layout(table);
    QStringList lines;
    lines << QString::fromUtf8(l.header) << QString::fromUtf8(l.units);
    if (table == SummaryTable::HighCurrentPWM || table == SummaryTable::HighVoltagePWM)
        appendPwmRows(lines, table, pwms, packages);
    else
        appendLinearRows(lines, table, linear, packages);
    return lines;
}

} // namespace selectors
