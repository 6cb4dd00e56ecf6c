#pragma once

#include "catalog/catalogtable.h"

#include <QString>
#include <QVector>

// One linear power amplifier of the catalog, or one host op-amp that the stability pages can
// put in front of one. A plain value: filled only by its two readers, read through getters.
// Each field is filled from the table column of the same name; units are those of the
// catalog (quiescent currents in mA, temperatures in °C, thermal resistances in °C/W).
//
// The list getters take an index; outside the list they return 0 and read nothing. Their
// lengths follow the counts: Pd_max has `channels` values, boost `boostOptions`, the
// compensation lists (Ccomp, Rcomp, slewRate, pole1..3) `SROptions`, the swing lists
// `boostOptions` + 1 (index 0 without boost supplies, 1 with them).
class amp
{
public:
    amp() = default;

    void clear() { *this = amp(); }

    // Reads ":/KestLinear/LinearAmpData.txt" into `list`, replacing its contents; rows whose
    // "released?" cell is "N" only when includePreReleased. Uses this record as row buffer.
    void readFile(QVector<amp> &list, bool includePreReleased,
                  const QString &path = QString::fromLatin1(catalog::linearTablePath));
    // Reads the host op-amp table ":/KestLinear/HostAmpData.txt": every row is kept.
    void readHostFile(QVector<amp> &list,
                      const QString &path = QString::fromLatin1(catalog::hostTablePath));

    // Fills the field of column `name` from the cells at the cursor. False for a name that is
    // no column of this record; that name still takes one cell.
    bool readColumn(const QString &name, catalog::CellCursor &cells);

    bool operator==(const amp &other) const;
    bool operator!=(const amp &other) const { return !(*this == other); }

    QString getAmpName() const { return ampName; }
    double getVss_max() const { return Vss_max; }             // V, +Vs to -Vs
    double getVss_min() const { return Vss_min; }             // V
    double getI_cont() const { return I_cont; }               // A
    double getI_pk() const { return I_pk; }                   // A
    double getPd_max(int i) const { return Pd_max.value(i); } // W, per amplifier
    double getIq_max() const { return Iq_max; }               // mA
    double getIq_vF() const { return Iq_vF; }                 // mA per kHz of signal frequency
    double getV_cm() const { return V_cm; }
    double getV_os() const { return V_os; }
    double getI_os() const { return I_os; }
    double getI_bias() const { return I_bias; }
    int getChannels() const { return channels; }
    QString getPackageStyle() const { return packageStyle; }
    int getBoostOptions() const { return boostOptions; }
    int getSRboost() const { return SRboost; }
    int getSROptions() const { return SROptions; }
    double getBoost(int i) const { return boost.value(i); }       // V above the rails
    double getCcomp(int i) const { return Ccomp.value(i); }       // pF; 0 = no capacitor
    double getRcomp(int i) const { return Rcomp.value(i); }       // ohm
    double getSlewRate(int i) const { return slewRate.value(i); } // V/µs
    double getPBW() const { return PBW; }
    double getGBWP() const { return GBWP; }
    double getAol_DC() const { return Aol_DC; }             // dB
    double getPole1(int i) const { return pole1.value(i); } // Hz
    double getPole2(int i) const { return pole2.value(i); } // Hz
    double getPole3(int i) const { return pole3.value(i); } // Hz
    double getZout() const { return Zout; }                 // ohm
    double getCfb() const { return Cfb; }                   // F
    double getRfb() const { return Rfb; }                   // ohm
    double getRin() const { return Rin; }                   // ohm
    QString getCircuitType() const { return CircuitType; }
    double getVbe() const { return Vbe; } // V
    double getCLint() const { return CLint; }
    double getRb() const { return Rb; }
    double getRfoldover() const { return Rfoldover; } // ohm; 0 = no foldover
    double getTc_max() const { return Tc_max; }
    double getTj_max() const { return Tj_max; }
    double getRtheta_DC() const { return Rtheta_DC; }
    double getRtheta_AC() const { return Rtheta_AC; }
    double getRtheta_JA() const { return Rtheta_JA; }
    double getSB_slope() const { return SB_slope; }
    double getSB_V() const { return SB_V; } // V
    QString getPulse1() const { return pulse1; }
    double getPulse1_V() const { return pulse1_V; }
    QString getPulse2() const { return pulse2; }
    double getPulse2_V() const { return pulse2_V; }
    QString getPulse3() const { return pulse3; }
    double getPulse3_V() const { return pulse3_V; }
    double getTc_soa() const { return Tc_soa; }
    double getPulse_slope() const { return pulse_slope; }
    double getVswingC(int i) const { return VswingC.value(i); } // V
    double getVswingB(int i) const { return VswingB.value(i); } // V/A
    double getVswingA(int i) const { return VswingA.value(i); } // V/A²
    QString getUGS() const { return UGS; }
    QString getInputs() const { return Inputs; }
    QString getLoads() const { return Loads; }
    QString getClassBias() const { return classBias; }
    double getRelative_price() const { return relative_price; } // US dollars
    QString getSiteLink() const { return SiteLink; }
    int getPreV6Index() const { return PreV6Index; }
    int getPSGstatus() const { return PSGstatus; }
    int getMgradeAvailable() const { return MgradeAvailable; }

    // Whole lists, for code that walks every value rather than a known index.
    QVector<double> listPd_max() const { return Pd_max; }
    QVector<double> listBoost() const { return boost; }
    QVector<double> listCcomp() const { return Ccomp; }
    QVector<double> listRcomp() const { return Rcomp; }
    QVector<double> listSlewRate() const { return slewRate; }
    QVector<double> listPole1() const { return pole1; }
    QVector<double> listPole2() const { return pole2; }
    QVector<double> listPole3() const { return pole3; }
    QVector<double> listVswingA() const { return VswingA; }
    QVector<double> listVswingB() const { return VswingB; }
    QVector<double> listVswingC() const { return VswingC; }

private:
    struct Columns; // the column of each field, shared by reading and comparing

    QString ampName = QStringLiteral("LX20");
    double Vss_max = 0;
    double Vss_min = 0;
    double I_cont = 0;
    double I_pk = 0;
    QVector<double> Pd_max;
    double Iq_max = 0;
    double Iq_vF = 0;
    double V_cm = 0;
    double V_os = 0;
    double I_os = 0;
    double I_bias = 0;
    int channels = 1;
    QString packageStyle;
    int boostOptions = 0;
    int SRboost = 0;
    int SROptions = 0;
    QVector<double> boost;
    QVector<double> Ccomp;
    QVector<double> Rcomp;
    QVector<double> slewRate;
    double PBW = 0;
    double GBWP = 0;
    double Aol_DC = 0;
    QVector<double> pole1;
    QVector<double> pole2;
    QVector<double> pole3;
    double Zout = 0;
    double Cfb = 0;
    double Rfb = 0;
    double Rin = 0;
    QString CircuitType;
    double Vbe = 0;
    double CLint = 0;
    double Rb = 0;
    double Rfoldover = 0;
    double Tc_max = 0;
    double Tj_max = 0;
    double Rtheta_DC = 0;
    double Rtheta_AC = 0;
    double Rtheta_JA = 0;
    double SB_slope = 0;
    double SB_V = 0;
    QString pulse1;
    double pulse1_V = 0;
    QString pulse2;
    double pulse2_V = 0;
    QString pulse3;
    double pulse3_V = 0;
    double Tc_soa = 0;
    double pulse_slope = 0;
    // Declared A, B, C; the tables and the getters run C, B, A. Columns are found by name.
    QVector<double> VswingA;
    QVector<double> VswingB;
    QVector<double> VswingC;
    QString UGS;
    QString Inputs;
    QString Loads;
    QString classBias;
    double relative_price = 0;
    QString SiteLink = QString::fromLatin1(catalog::makerHomePage);
    int PreV6Index = -1;
    int PSGstatus = 1;
    int MgradeAvailable = 0;
};
