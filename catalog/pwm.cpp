#include "catalog/pwm.h"

#include <iterator>

struct pwm::Columns
{
    template <class T> struct Column
    {
        const char *name;
        T pwm::*field;
    };

    static constexpr Column<QString> texts[] = {
        {"ampName", &pwm::ampName},
        {"packageStyle", &pwm::packageStyle},
        {"Ramp", &pwm::Ramp},
        {"PositiveDC", &pwm::PositiveDC},
        {"OutputTech", &pwm::OutputTech},
        {"SiteLink", &pwm::SiteLink},
    };
    static constexpr Column<double> reals[] = {
        {"Vs_max", &pwm::Vs_max},
        {"Vs_nom", &pwm::Vs_nom},
        {"Vs_min", &pwm::Vs_min},
        {"Vcc_max", &pwm::Vcc_max},
        {"Vcc_nom", &pwm::Vcc_nom},
        {"Vcc_min", &pwm::Vcc_min},
        {"I_cont", &pwm::I_cont},
        {"I_pk", &pwm::I_pk},
        {"Pd_max", &pwm::Pd_max},
        {"Iq_Vs", &pwm::Iq_Vs},
        {"Iq_Vs_vsF", &pwm::Iq_Vs_vsF},
        {"Iq_Vs_vsS", &pwm::Iq_Vs_vsS},
        {"Iq_Vcc", &pwm::Iq_Vcc},
        {"Iq_Vcc_vsF", &pwm::Iq_Vcc_vsF},
        {"V_cm_min", &pwm::V_cm_min},
        {"V_cm_max", &pwm::V_cm_max},
        {"V_os", &pwm::V_os},
        {"I_os", &pwm::I_os},
        {"I_bias", &pwm::I_bias},
        {"Fsw_min", &pwm::Fsw_min},
        {"Fsw_nom", &pwm::Fsw_nom},
        {"Fsw_max", &pwm::Fsw_max},
        {"Ramp_Vpp", &pwm::Ramp_Vpp},
        {"Ramp_Mid", &pwm::Ramp_Mid},
        {"Rdiode", &pwm::Rdiode},
        {"Vdiode", &pwm::Vdiode},
        {"MaxDutyCycle", &pwm::MaxDutyCycle},
        {"t_rise", &pwm::t_rise},
        {"t_fall", &pwm::t_fall},
        {"Tc_max", &pwm::Tc_max},
        {"Tj_max", &pwm::Tj_max},
        {"Rtheta_DC", &pwm::Rtheta_DC},
        {"Rtheta_JA", &pwm::Rtheta_JA},
        {"Rtheta_JC_diode", &pwm::Rtheta_JC_diode},
        {"relative_price", &pwm::relative_price},
        {"top_A", &pwm::top_A},
        {"top_B", &pwm::top_B},
        {"top_C", &pwm::top_C},
        {"top_wire", &pwm::top_wire},
        {"top_V", &pwm::top_V},
        {"bot_A", &pwm::bot_A},
        {"bot_B", &pwm::bot_B},
        {"bot_C", &pwm::bot_C},
        {"bot_wire", &pwm::bot_wire},
        {"bot_V", &pwm::bot_V},
    };
    static constexpr Column<int> wholes[] = {
        {"outputs", &pwm::outputs},
        {"I_sense_pins", &pwm::I_sense_pins},
        {"PreV6Index", &pwm::PreV6Index},
        {"PSGstatus", &pwm::PSGstatus},
        {"MgradeAvailable", &pwm::MgradeAvailable},
    };
};

bool pwm::readColumn(const QString &name, catalog::CellCursor &cells)
{
    // Every field has exactly one column (ErrorAmp is read below); a field added without one
    // would be neither read nor compared.
    static_assert(std::size(Columns::texts) + std::size(Columns::reals) +
                          std::size(Columns::wholes) + 1 ==
                      57,
                  "pwm has 57 catalog columns");

    if (catalog::readMappedColumn(*this, name, Columns::texts,
                                  [&cells](QString &f) { cells.readText(f); }))
        return true;
    if (catalog::readMappedColumn(*this, name, Columns::reals,
                                  [&cells](double &f) { cells.readReal(f); }))
        return true;
    if (catalog::readMappedColumn(*this, name, Columns::wholes,
                                  [&cells](int &f) { cells.readWhole(f); }))
        return true;
    if (name == QLatin1String("ErrorAmp")) {
        int value = ErrorAmp ? 1 : 0;
        cells.readWhole(value);
        ErrorAmp = value != 0;
        return true;
    }
    if (name == QLatin1String("released?")) {
        cells.readReleased();
        return true;
    }
    cells.skip(1);
    return false;
}

bool pwm::operator==(const pwm &other) const
{
    return catalog::sameMappedFields(*this, other, Columns::texts) &&
           catalog::sameMappedFields(*this, other, Columns::reals) &&
           catalog::sameMappedFields(*this, other, Columns::wholes) &&
           ErrorAmp == other.ErrorAmp;
}

void pwm::readFile(QVector<pwm> &list, int outputsFilter, bool includePreReleased,
                   const QString &path)
{
    catalog::readTable(list, *this, path, "Could not open PWM Amp File",
                       [=](const pwm &row, const catalog::CellCursor &cells) {
                           if (cells.preReleased() && !includePreReleased) return false;
                           return outputsFilter == 0 || row.outputs == outputsFilter;
                       });
}
