#pragma once

#include "values/comp.h"

#include <QString>

#include <functional>
#include <initializer_list>

// Shared vocabulary of the PWM control wizard's engines: the four loop topologies, a note of
// the notes box, and the output network the loop drives.
namespace scon {

// The four control loops. Voltage 1 senses the bridge output with a difference amplifier,
// Voltage 2 feeds the bridge output straight back to the integrator, Current 1 senses the
// amplifier's own current-sense pins, Current 2 a sense resistor in series with the load.
enum class Topology { Voltage1, Voltage2, Current1, Current2 };

inline bool isCurrentTopology(Topology t)
{
    return t == Topology::Current1 || t == Topology::Current2;
}

// One line of the notes box: red for the violations framed by "!!!", black for advice.
struct Note
{
    QString text;
    bool red = false;
};

// The step-2 fields, as every calculation of the wizard reads them.
enum Field {
    FieldFsig,   // signal frequency, Hz; 0 is a DC signal
    FieldFsw,    // switching frequency, Hz
    FieldVs,     // supply, V
    FieldVcc,    // logic supply, V
    FieldVinMax, // input range, V
    FieldVinMin,
    FieldOutMax, // output range: V in the voltage topologies, A in the current ones
    FieldOutMin,
    FieldCount
};

struct Fields
{
    double value[FieldCount] = {};
    // Why a field cannot be computed from ("Vs must be above 0"); empty when it can.
    QString problem[FieldCount];

    double operator[](int f) const { return value[f]; }
    // The first problem among the fields a calculation reads, in the order given.
    QString firstProblem(std::initializer_list<int> read) const
    {
        for (int f : read)
            if (!problem[f].isEmpty()) return problem[f];
        return QString();
    }
};

// The filter and load between the bridge and the load, as the loop sees it.
struct FilterPlant
{
    // At f (Hz): load voltage per volt at the filter input, the impedance the bridge drives
    // and the load impedance (ohm).
    std::function<void(double f, comp &Tfil, comp &Ztot, comp &Zload)> ac;
    double Gfil = 1;  // DC load voltage per volt at the filter input
    double Rtot = 0;  // DC resistance the bridge drives, ohm
    double Rload = 0; // DC load resistance, ohm
};

} // namespace scon
