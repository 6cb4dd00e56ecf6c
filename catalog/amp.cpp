#include "catalog/amp.h"

#include <iterator>

namespace {
// How many cells a list column takes, from counts read earlier in the same row.
enum class Count {
    Channels,     // Pd_max: `channels`, none when 0 or less
    Boost,        // boost: `boostOptions`; exactly 0 still takes one cell, which is dropped
    Options,      // per compensation option: `SROptions`
    SwingOptions, // swing coefficients: `boostOptions` + 1
};
} // namespace

struct amp::Columns
{
    template <class T> struct Column
    {
        const char *name;
        T amp::*field;
    };
    struct ListColumn
    {
        const char *name;
        QVector<double> amp::*field;
        Count count;
    };

    static constexpr Column<QString> texts[] = {
        {"ampName", &amp::ampName},
        {"packageStyle", &amp::packageStyle},
        {"CircuitType", &amp::CircuitType},
        {"pulse1", &amp::pulse1},
        {"pulse2", &amp::pulse2},
        {"pulse3", &amp::pulse3},
        {"UGS", &amp::UGS},
        {"Inputs", &amp::Inputs},
        {"Loads", &amp::Loads},
        {"classBias", &amp::classBias},
        {"SiteLink", &amp::SiteLink},
    };
    // CLint's "N" (no internal limit) reads as 0 like any other non-number.
    static constexpr Column<double> reals[] = {
        {"Vss_max", &amp::Vss_max},
        {"Vss_min", &amp::Vss_min},
        {"I_cont", &amp::I_cont},
        {"I_pk", &amp::I_pk},
        {"Iq_max", &amp::Iq_max},
        {"Iq_vF", &amp::Iq_vF},
        {"V_cm", &amp::V_cm},
        {"V_os", &amp::V_os},
        {"I_os", &amp::I_os},
        {"I_bias", &amp::I_bias},
        {"PBW", &amp::PBW},
        {"GBWP", &amp::GBWP},
        {"Aol_DC", &amp::Aol_DC},
        {"Zout", &amp::Zout},
        {"Cfb", &amp::Cfb},
        {"Rfb", &amp::Rfb},
        {"Rin", &amp::Rin},
        {"Vbe", &amp::Vbe},
        {"CLint", &amp::CLint},
        {"Rb", &amp::Rb},
        {"Rfoldover", &amp::Rfoldover},
        {"Tc_max", &amp::Tc_max},
        {"Tj_max", &amp::Tj_max},
        {"Rtheta_DC", &amp::Rtheta_DC},
        {"Rtheta_AC", &amp::Rtheta_AC},
        {"Rtheta_JA", &amp::Rtheta_JA},
        {"SB_slope", &amp::SB_slope},
        {"SB_V", &amp::SB_V},
        {"pulse1_V", &amp::pulse1_V},
        {"pulse2_V", &amp::pulse2_V},
        {"pulse3_V", &amp::pulse3_V},
        {"Tc_soa", &amp::Tc_soa},
        {"pulse_slope", &amp::pulse_slope},
        {"relative_price", &amp::relative_price},
    };
    static constexpr Column<int> wholes[] = {
        {"channels", &amp::channels},   {"boostOptions", &amp::boostOptions},
        {"SROptions", &amp::SROptions}, {"PreV6Index", &amp::PreV6Index},
        {"PSGstatus", &amp::PSGstatus}, {"MgradeAvailable", &amp::MgradeAvailable},
    };
    static constexpr Column<int> flags[] = {
        {"SRboost", &amp::SRboost},
    };
    static constexpr ListColumn lists[] = {
        {"Pd_max", &amp::Pd_max, Count::Channels},
        {"boost", &amp::boost, Count::Boost},
        {"Ccomp", &amp::Ccomp, Count::Options},
        {"Rcomp", &amp::Rcomp, Count::Options},
        {"slewRate", &amp::slewRate, Count::Options},
        {"pole1", &amp::pole1, Count::Options},
        {"pole2", &amp::pole2, Count::Options},
        {"pole3", &amp::pole3, Count::Options},
        {"VswingC", &amp::VswingC, Count::SwingOptions},
        {"VswingB", &amp::VswingB, Count::SwingOptions},
        {"VswingA", &amp::VswingA, Count::SwingOptions},
    };

    static void readList(amp &record, const ListColumn &column, catalog::CellCursor &cells)
    {
        QVector<double> &list = record.*column.field;
        switch (column.count) {
        case Count::Channels:
            cells.readReals(list, record.channels);
            break;
        case Count::Boost:
            if (record.boostOptions == 0)
                cells.skip(1);
            else
                cells.readReals(list, record.boostOptions);
            break;
        case Count::Options:
            cells.readReals(list, record.SROptions);
            break;
        case Count::SwingOptions:
            // A negative count from a corrupt cell must not wrap round to a huge one.
            cells.readReals(list, record.boostOptions < 0 ? 0 : record.boostOptions + 1);
            break;
        }
    }
};

bool amp::readColumn(const QString &name, catalog::CellCursor &cells)
{
    // Every field has exactly one column; a field added without one would be neither read
    // nor compared.
    static_assert(std::size(Columns::texts) + std::size(Columns::reals) +
                          std::size(Columns::wholes) + std::size(Columns::flags) +
                          std::size(Columns::lists) ==
                      63,
                  "amp has 63 catalog columns");

    if (catalog::readMappedColumn(*this, name, Columns::texts,
                                  [&cells](QString &f) { cells.readText(f); }))
        return true;
    if (catalog::readMappedColumn(*this, name, Columns::reals,
                                  [&cells](double &f) { cells.readReal(f); }))
        return true;
    if (catalog::readMappedColumn(*this, name, Columns::wholes,
                                  [&cells](int &f) { cells.readWhole(f); }))
        return true;
    if (catalog::readMappedColumn(*this, name, Columns::flags,
                                  [&cells](int &f) { cells.readFlag(f); }))
        return true;
    for (const auto &c : Columns::lists) {
        if (name == QLatin1String(c.name)) {
            Columns::readList(*this, c, cells);
            return true;
        }
    }
    if (name == QLatin1String("released?")) {
        cells.readReleased();
        return true;
    }
    cells.skip(1);
    return false;
}

bool amp::operator==(const amp &other) const
{
    return catalog::sameMappedFields(*this, other, Columns::texts) &&
           catalog::sameMappedFields(*this, other, Columns::reals) &&
           catalog::sameMappedFields(*this, other, Columns::wholes) &&
           catalog::sameMappedFields(*this, other, Columns::flags) &&
           catalog::sameMappedFields(*this, other, Columns::lists);
}

void amp::readFile(QVector<amp> &list, bool includePreReleased, const QString &path)
{
    catalog::readTable(list, *this, path, "Could not open Linear Amp File",
                       [includePreReleased](const amp &, const catalog::CellCursor &cells) {
                           return includePreReleased || !cells.preReleased();
                       });
}

void amp::readHostFile(QVector<amp> &list, const QString &path)
{
    catalog::readTable(list, *this, path, "Could not open Host Amp File",
                       [](const amp &, const catalog::CellCursor &) { return true; });
}
