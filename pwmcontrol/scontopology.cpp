#include "pwmcontrol/scontopology.h"

namespace scon {

QString topologyDescription(Topology t)
{
    switch (t) {
    case Topology::Voltage1:
        return QStringLiteral(
            "Voltage 1\n\n"
            "Advantages: Lends itself very well to level-shifting the input signals with a single "
            "bias resistor. The summing node stays easily within the input common-mode range of "
            "the integrator.\n\n"
            "Disadvantages: Needs an extra op-amp to sense the bridge output. Use a precision "
            "difference amplifier that keeps a high common-mode rejection at the switching "
            "frequency and is stable at unity gain.");
    case Topology::Voltage2:
        return QStringLiteral(
            "Voltage 2\n\n"
            "Advantages: Simpler circuit design than Voltage 1. No op-amp is needed besides the "
            "integrator.\n\n"
            "Disadvantages: Level-shifting the input signal takes care: pull-up and pull-down "
            "resistors must keep both integrator inputs within their common-mode range.");
    case Topology::Current1:
        return QStringLiteral(
            "Current 1\n\n"
            "Advantages: Difference amplifier does not need high CMRR. This is the topology for "
            "supplies above 200 V.\n\n"
            "Disadvantages: Works only with amplifiers that have two current-sense pins. The "
            "current fed back includes the current of the filter and of the matching network, "
            "not only the load current.\n\n"
            "Not Recommended for Half-Bridges.");
    case Topology::Current2:
        break;
    }
    return QStringLiteral(
        "Current 2\n\n"
        "Advantages: Senses Load current independently of filter and matching network. Suited "
        "to low supply voltages and to amplifiers with a single current-sense pin.\n\n"
        "Disadvantages: The sensed signal rides on a very high common-mode voltage, so a "
        "precision difference amplifier is advised.\n\n"
        "Not Recommended for Half-Bridges.");
}

OutputCaptions outputCaptions(Topology t)
{
    switch (t) {
    case Topology::Current1:
        return {QStringLiteral("I_out Max"), QStringLiteral("I_out Min"), QStringLiteral("A"),
                QStringLiteral("I_out ignores ripple"),
                QStringLiteral("I_out is current immediately out of amplifier")};
    case Topology::Current2:
        return {QStringLiteral("I_load Max"), QStringLiteral("I_load Min"), QStringLiteral("A"),
                QStringLiteral("I_load ignores ripple"),
                QStringLiteral("I_load is current through load")};
    case Topology::Voltage1:
    case Topology::Voltage2:
        break;
    }
    return {QStringLiteral("V_out Max"), QStringLiteral("V_out Min"), QStringLiteral("V"),
            QStringLiteral("V_out = Vs * Duty Cycle"),
            QStringLiteral("V_out is differential across the filter input")};
}

} // namespace scon
