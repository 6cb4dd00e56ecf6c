#pragma once

#include "catalog/catalogtable.h"

#include <QString>
#include <QVector>

// One PWM (switching) amplifier of the catalog. A plain value: filled only by its reader,
// read through getters. Each field is filled from the table column of the same name; units
// are those of the catalog: switching frequencies in kHz, quiescent currents in mA, switching
// times in ns, temperatures in °C, thermal resistances in °C/W.
class pwm
{
public:
    pwm() = default;

    void clear() { *this = pwm(); }

    // Reads ":/KestLinear/PWMAmpData.txt" into `list`, replacing its contents. outputsFilter 0
    // keeps every output type, 1, 2 or 3 only parts with that many outputs; rows whose
    // "released?" cell is "N" only when includePreReleased. Uses this record as row buffer.
    void readFile(QVector<pwm> &list, int outputsFilter, bool includePreReleased,
                  const QString &path = QString::fromLatin1(catalog::pwmTablePath));

    // Fills the field of column `name` from the cell at the cursor. False for a name that is
    // no column of this record; that name still takes one cell.
    bool readColumn(const QString &name, catalog::CellCursor &cells);

    bool operator==(const pwm &other) const;
    bool operator!=(const pwm &other) const { return !(*this == other); }

    // On-resistance of the upper and lower output switch at T °C, ohm: a quadratic fit
    // without clamping. Series wiring (top_wire, bot_wire) and the voltage terms (top_V,
    // bot_V) are the caller's to add.
    double topResistance(double T) const { return ((top_A * T) * T + T * top_B) + top_C; }
    double bottomResistance(double T) const { return ((bot_A * T) * T + T * bot_B) + bot_C; }

    QString getAmpName() const { return ampName; }
    double getVs_max() const { return Vs_max; }         // V
    double getVs_nom() const { return Vs_nom; }         // V
    double getVs_min() const { return Vs_min; }         // V
    double getVcc_max() const { return Vcc_max; }       // V
    double getVcc_nom() const { return Vcc_nom; }       // V
    double getVcc_min() const { return Vcc_min; }       // V
    double getI_cont() const { return I_cont; }         // A
    double getI_pk() const { return I_pk; }             // A
    double getPd_max() const { return Pd_max; }         // W
    double getIq_Vs() const { return Iq_Vs; }           // mA at Fsw_nom and Vs_nom
    double getIq_Vs_vsF() const { return Iq_Vs_vsF; }   // mA per kHz
    double getIq_Vs_vsS() const { return Iq_Vs_vsS; }   // mA per V
    double getIq_Vcc() const { return Iq_Vcc; }         // mA at Fsw_nom
    double getIq_Vcc_vsF() const { return Iq_Vcc_vsF; } // mA per kHz
    double getV_cm_min() const { return V_cm_min; }
    double getV_cm_max() const { return V_cm_max; }
    double getV_os() const { return V_os; }
    double getI_os() const { return I_os; }
    double getI_bias() const { return I_bias; }
    int getOutputs() const { return outputs; } // 1 half bridge, 2 full bridge, 3 three phase
    QString getPackageStyle() const { return packageStyle; }
    double getFsw_min() const { return Fsw_min; } // kHz; 0 = no lower limit
    double getFsw_nom() const { return Fsw_nom; } // kHz
    double getFsw_max() const { return Fsw_max; } // kHz
    QString getRamp() const { return Ramp; }      // "Digital", "VccDep", else a fixed ramp
    double getRamp_Vpp() const { return Ramp_Vpp; }
    double getRamp_Mid() const { return Ramp_Mid; }
    QString getPositiveDC() const { return PositiveDC; } // "A", "B", else neither
    QString getOutputTech() const { return OutputTech; }
    double getRdiode() const { return Rdiode; }
    double getVdiode() const { return Vdiode; }             // V
    double getMaxDutyCycle() const { return MaxDutyCycle; } // fraction, 1 = 100 %
    double getT_rise() const { return t_rise; }             // ns
    double getT_fall() const { return t_fall; }             // ns
    double getTc_max() const { return Tc_max; }
    double getTj_max() const { return Tj_max; }
    double getRtheta_DC() const { return Rtheta_DC; }
    double getRtheta_JA() const { return Rtheta_JA; }
    double getRtheta_JC_diode() const { return Rtheta_JC_diode; }
    double getRelative_price() const { return relative_price; } // US dollars
    double getTop_wire() const { return top_wire; }             // ohm
    double getTop_V() const { return top_V; }                   // V
    double getBot_wire() const { return bot_wire; }             // ohm
    double getBot_V() const { return bot_V; }                   // V
    QString getSiteLink() const { return SiteLink; }
    int getI_sense_pins() const { return I_sense_pins; }
    bool getErrorAmp() const { return ErrorAmp; }
    int getPreV6Index() const { return PreV6Index; }
    int getPSGstatus() const { return PSGstatus; }
    int getMgradeAvailable() const { return MgradeAvailable; }

private:
    struct Columns; // the column of each field, shared by reading and comparing

    QString ampName = QStringLiteral("NV20");
    double Vs_max = 0;
    double Vs_nom = 0;
    double Vs_min = 0;
    double Vcc_max = 0;
    double Vcc_nom = 0;
    double Vcc_min = 0;
    double I_cont = 0;
    double I_pk = 0;
    double Pd_max = 0;
    double Iq_Vs = 0;
    double Iq_Vs_vsF = 0;
    double Iq_Vs_vsS = 0;
    double Iq_Vcc = 0;
    double Iq_Vcc_vsF = 0;
    double V_cm_min = 0;
    double V_cm_max = 0;
    double V_os = 0;
    double I_os = 0;
    double I_bias = 0;
    int outputs = 2;
    QString packageStyle;
    double Fsw_min = 0;
    double Fsw_nom = 0;
    double Fsw_max = 0;
    QString Ramp;
    double Ramp_Vpp = 0;
    double Ramp_Mid = 0;
    QString PositiveDC;
    QString OutputTech;
    double Rdiode = 0;
    double Vdiode = 0;
    double MaxDutyCycle = 0;
    double t_rise = 0;
    double t_fall = 0;
    double Tc_max = 0;
    double Tj_max = 0;
    double Rtheta_DC = 0;
    double Rtheta_JA = 0;
    double Rtheta_JC_diode = 0;
    double relative_price = 0;
    double top_A = 0;
    double top_B = 0;
    double top_C = 0;
    double top_wire = 0;
    double top_V = 0;
    double bot_A = 0;
    double bot_B = 0;
    double bot_C = 0;
    double bot_wire = 0;
    double bot_V = 0;
    QString SiteLink = QString::fromLatin1(catalog::makerHomePage);
    int I_sense_pins = 0;
    bool ErrorAmp = false;
    int PreV6Index = 0;
    int PSGstatus = 1;
    int MgradeAvailable = 0;
};
