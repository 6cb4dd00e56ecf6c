#!/usr/bin/env python3
"""Writes the small catalog tables that tst_catalog reads.

They follow the layout of the shipped tables (spacer columns, reserved cells after the
multi-valued columns, CR LF line ends, the micro sign as the single byte 0xB5) with a few rows
chosen for the reader's edge cases. Run it from this folder after changing a row and review
the diff.
"""

SEP = None  # an empty spacer column


def col(name, reserved=0):
    return (name, reserved)


LINEAR_HEADER = [
    col("ampName"), col("released?"), col("Vss_max"), col("Vss_min"), col("I_cont"),
    col("I_pk"), col("channels"), col("Pd_max", 3), col("Iq_max"), col("Iq_vF"), SEP,
    col("V_cm"), col("V_os"), col("I_os"), col("I_bias"), SEP, col("packageStyle"), SEP,
    col("boostOptions"), col("SRboost"), col("SROptions"), col("boost"), col("Ccomp", 5),
    col("Rcomp", 5), col("slewRate", 5), col("PBW"), col("GBWP"), col("Aol_DC"),
    col("pole1", 5), col("pole2", 5), col("pole3", 5), col("Zout"), col("Cfb"), col("Rfb"),
    col("Rin"), col("CircuitType"), SEP, col("Vbe"), col("CLint"), col("Rb"),
    col("Rfoldover"), SEP, col("Tc_max"), col("Tj_max"), col("Rtheta_DC"), col("Rtheta_AC"),
    col("Rtheta_JA"), SEP, col("SB_slope"), col("SB_V"), col("pulse1"), col("pulse1_V"),
    col("pulse2"), col("pulse2_V"), col("pulse3"), col("pulse3_V"), col("Tc_soa"),
    col("pulse_slope"), col("VswingC", 1), col("VswingB", 1), col("VswingA", 2), col("UGS"),
    col("Inputs"), col("Loads"), col("classBias"), col("relative_price"), col("SiteLink"),
    col("PreV6Index"), col("PSGstatus"), col("MgradeAvailable"),
]

HOST_HEADER = [
    col("ampName"), col("Vss_max"), col("Vss_min"), col("I_cont"), col("I_pk"), col("Pd_max"),
    col("Iq_max"), SEP, col("V_cm"), col("V_os"), col("I_os"), col("I_bias"), SEP,
    col("channels"), col("packageStyle"), SEP, col("boostOptions"), col("SRboost"),
    col("SROptions"), col("boost"), col("Ccomp"), col("slewRate"), col("PBW"), col("GBWP"),
    col("Aol_DC"), col("pole1"), col("pole2"), col("pole3"), col("Zout"), SEP, col("Vbe"),
    col("CLint"), col("Rb"), col("Rfoldover"), SEP, col("Tc_max"), col("Tj_max"),
    col("Rtheta_DC"), col("Rtheta_AC"), col("Rtheta_JA"), SEP, col("SB_slope"), col("SB_V"),
    col("pulse1"), col("pulse1_V"), col("pulse2"), col("pulse2_V"), col("pulse3"),
    col("pulse3_V"), col("Tc_soa"), col("pulse_slope"), col("VswingC", 1), col("VswingB", 1),
    col("VswingA", 2), col("UGS"), col("classBias"), col("PreV6Index"),
]

PWM_HEADER = [
    col("ampName"), col("released?"), col("Vs_max"), col("Vs_nom"), col("Vs_min"),
    col("Vcc_max"), col("Vcc_nom"), col("Vcc_min"), SEP, col("I_cont"), col("I_pk"),
    col("Pd_max"), SEP, col("Iq_Vs"), col("Iq_Vs_vsF"), col("Iq_Vs_vsS"), col("t_rise"),
    col("t_fall"), SEP, col("Iq_Vcc"), col("Iq_Vcc_vsF"), SEP, col("V_cm_min"),
    col("V_cm_max"), col("V_os"), col("I_os"), col("I_bias"), SEP, col("outputs"),
    col("packageStyle"), SEP, col("Fsw_min"), col("Fsw_nom"), col("Fsw_max"), col("Ramp"),
    col("Ramp_Vpp"), col("Ramp_Mid"), col("PositiveDC"), col("OutputTech"), col("Rdiode"),
    col("Vdiode"), col("MaxDutyCycle"), SEP, col("Tc_max"), col("Tj_max"), col("Rtheta_DC"),
    col("Rtheta_JA"), col("Rtheta_JC_diode"), SEP, col("relative_price"), SEP, col("top_A"),
    col("top_B"), col("top_C"), col("top_V"), col("top_wire"), col("bot_A"), col("bot_B"),
    col("bot_C"), col("bot_V"), col("bot_wire"), col("SiteLink"), SEP, col("I_sense_pins"),
    col("ErrorAmp"), col("PreV6Index"), col("PSGstatus"), col("MgradeAvailable"),
]

HEATSINK_HEADER = [
    col("Name"), col("FreeAirTheta"), col("Length"), col("Width"), col("Height"),
    col("Weight"), col("AAVID"), col("numPackages"), col("packages", 9), col("A"), col("B"),
    col("C"), col("relative_price"), col("drawingLink"),
]

PACKAGE_HEADER = [col("Code"), col("shortDesc"), col("fullDesc")]

MU = "\u00b5"

# Values every linear row shares unless it says otherwise.
LINEAR_BASE = {
    "released?": "Y", "Vss_max": "100", "Vss_min": "20", "I_cont": "5", "I_pk": "10",
    "channels": "1", "Pd_max": ["125"], "Iq_max": "26", "Iq_vF": "0", "V_cm": "NA",
    "V_os": "1", "I_os": "NA", "I_bias": "20E-12", "packageStyle": "CE",
    "boostOptions": "0", "SRboost": "N", "SROptions": "1", "boost": ["NA"], "Ccomp": ["0"],
    "Rcomp": ["0"], "slewRate": ["10"], "PBW": "40000", "GBWP": "3000", "Aol_DC": "108",
    "pole1": ["10"], "pole2": ["3E6"], "pole3": ["9E6"], "Zout": "25", "Cfb": "0",
    "Rfb": "0", "Rin": "0", "CircuitType": "normal", "Vbe": "0.65", "CLint": "N", "Rb": "0",
    "Rfoldover": "0", "Tc_max": "125", "Tj_max": "150", "Rtheta_DC": "1.2",
    "Rtheta_AC": "0.9", "Rtheta_JA": "30", "SB_slope": "-1.7", "SB_V": "30",
    "pulse1": "10ms", "pulse1_V": "30", "pulse2": "1ms", "pulse2_V": "45", "pulse3": "NA",
    "pulse3_V": "NA", "Tc_soa": "125", "pulse_slope": "-1.3", "VswingC": ["2.1"],
    "VswingB": ["0.35"], "VswingA": ["0.01"], "UGS": "Y", "Inputs": "both", "Loads": "all",
    "classBias": "AB", "relative_price": "48.5",
    "SiteLink": "https://www.kestvoltrane.example/parts/lxa", "PreV6Index": "-1",
    "PSGstatus": "1", "MgradeAvailable": "0",
}

LINEAR_ROWS = [
    # Released, no boost (the boost cell "NA" is dropped), one option, no internal limit,
    # a "?" thermal cell, a micro sign in a pulse label.
    {"ampName": "LXA", "CLint": "N", "Rtheta_AC": "?", "pulse1": "100" + MU + "s",
     "PreV6Index": "3"},
    # Pre-released; two amplifiers, boost supplies, four options, swing lists of two values.
    {"ampName": "LXB", "released?": "N", "channels": "2", "Pd_max": ["40", "38"],
     "boostOptions": "1", "SRboost": "Y", "SROptions": "4", "boost": ["10"],
     "Ccomp": ["0", "4.7", "10", "33"], "Rcomp": ["0", "1000", "2200", "4700"],
     "slewRate": ["50", "30", "20", "8"], "pole1": ["5", "6", "7", "8"],
     "pole2": ["2E6", "1.5E6", "1E6", "5E5"], "pole3": ["8E6", "7E6", "6E6", "5E6"],
     "CLint": "0.05", "Cfb": "1E-11", "CircuitType": "LXA", "VswingC": ["5", "1.5"],
     "VswingB": ["0.4", "0.3"], "VswingA": ["0.02", "0.015"], "PreV6Index": "7",
     "PSGstatus": "2"},
    # "released?" in lower case keeps the row; no Pd_max cell for zero channels.
    {"ampName": "LXC", "released?": "n", "channels": "0", "Pd_max": [], "SRboost": "INPUT",
     "SROptions": "2", "Ccomp": ["2.2", "6.8"], "Rcomp": ["100", "330"],
     "slewRate": ["12", "6"], "pole1": ["12", "11"], "pole2": ["4E6", "3E6"],
     "pole3": ["1E7", "9E6"], "PreV6Index": "7", "MgradeAvailable": "1"},
    # A second record of an earlier name and an earlier old index: the first one wins.
    {"ampName": "LXA", "Vss_max": "999", "PreV6Index": "3"},
    {"ampName": "LXD", "channels": "4", "Pd_max": ["12", "12", "12", "12"], "Vss_max": "1200",
     "packageStyle": "DK"},
]

HOST_BASE = {
    "Vss_max": "36", "Vss_min": "6", "I_cont": "0.02", "I_pk": "0.04", "Pd_max": ["0.5"],
    "Iq_max": "1.5", "V_cm": "NA", "V_os": "0.05", "I_os": "NA", "I_bias": "1E-9",
    "channels": "1", "packageStyle": "SM", "boostOptions": "0", "SRboost": "N",
    "SROptions": "1", "boost": ["NA"], "Ccomp": ["0"], "slewRate": ["0.3"], "PBW": "NA",
    "GBWP": "600", "Aol_DC": "120", "pole1": ["0.6"], "pole2": ["2E6"], "pole3": ["5E6"],
    "Zout": "60", "Vbe": "0", "CLint": "0.025", "Rb": "0", "Rfoldover": "0", "Tc_max": "NA",
    "Tj_max": "150", "Rtheta_DC": "NA", "Rtheta_AC": "NA", "Rtheta_JA": "160",
    "SB_slope": "NA", "SB_V": "NA", "pulse1": "NA", "pulse1_V": "NA", "pulse2": "NA",
    "pulse2_V": "NA", "pulse3": "NA", "pulse3_V": "NA", "Tc_soa": "NA", "pulse_slope": "NA",
    "VswingC": ["1.5"], "VswingB": ["0"], "VswingA": ["0"], "UGS": "Y", "classBias": "?",
    "PreV6Index": "0",
}

HOST_ROWS = [
    # channels stands after Pd_max in this table: Pd_max takes one value whatever it says.
    {"ampName": "HOP1", "channels": "2", "PreV6Index": "0"},
    {"ampName": "HOP2", "SROptions": "2", "Ccomp": ["0", "30"], "slewRate": ["2", "0.5"],
     "pole1": ["3", "1"], "pole2": ["3E6", "2E6"], "pole3": ["8E6", "7E6"],
     "PreV6Index": "1"},
    {"ampName": "HOP3", "PreV6Index": "2"},
]

PWM_BASE = {
    "released?": "Y", "Vs_max": "100", "Vs_nom": "48", "Vs_min": "12", "Vcc_max": "16",
    "Vcc_nom": "12", "Vcc_min": "10", "I_cont": "10", "I_pk": "15", "Pd_max": "50",
    "Iq_Vs": "12", "Iq_Vs_vsF": "0.2", "Iq_Vs_vsS": "0.05", "t_rise": "20", "t_fall": "25",
    "Iq_Vcc": "30", "Iq_Vcc_vsF": "0.1", "V_cm_min": "NA", "V_cm_max": "NA", "V_os": "NA",
    "I_os": "NA", "I_bias": "NA", "outputs": "2", "packageStyle": "DP", "Fsw_min": "0",
    "Fsw_nom": "100", "Fsw_max": "500", "Ramp": "Fixed", "Ramp_Vpp": "4", "Ramp_Mid": "2.5",
    "PositiveDC": "A", "OutputTech": "nFET", "Rdiode": "10", "Vdiode": "0.9",
    "MaxDutyCycle": "0.95", "Tc_max": "125", "Tj_max": "150", "Rtheta_DC": "1.5",
    "Rtheta_JA": "25", "Rtheta_JC_diode": "2", "relative_price": "65", "top_A": "0.0001",
    "top_B": "0.01", "top_C": "0.1", "top_V": "0", "top_wire": "0.005", "bot_A": "0.0002",
    "bot_B": "0.02", "bot_C": "0.2", "bot_V": "0.1", "bot_wire": "0.004",
    "SiteLink": "https://www.kestvoltrane.example/parts/nva", "I_sense_pins": "2",
    "ErrorAmp": "0", "PreV6Index": "-1", "PSGstatus": "1", "MgradeAvailable": "0",
}

PWM_ROWS = [
    {"ampName": "NVA", "outputs": "1", "ErrorAmp": "1", "PreV6Index": "4"},
    {"ampName": "NVB", "outputs": "2", "Ramp": "Digital", "Ramp_Vpp": "0", "Ramp_Mid": "0",
     "I_pk": "NA", "PositiveDC": "NA"},
    {"ampName": "NVC", "released?": "N", "outputs": "3", "Ramp": "VccDep", "Ramp_Vpp": "3",
     "Ramp_Mid": "2", "PositiveDC": "B", "ErrorAmp": "NA", "PreV6Index": "9"},
    {"ampName": "NVD", "released?": "No", "outputs": "NA", "Fsw_min": "200", "Fsw_max": "200",
     "ErrorAmp": "2"},
]

HEATSINK_BASE = {
    "FreeAirTheta": "2.1", "Length": "4", "Width": "3", "Height": "1.2", "Weight": "5.5",
    "AAVID": "NA", "A": "1.6", "B": "-0.005", "C": "0.4", "relative_price": "22",
    "drawingLink": "https://www.kestvoltrane.example/drawings/tk21",
}

HEATSINK_ROWS = [
    {"Name": "TK21", "numPackages": "3", "packages": ["CE", "CC", "CD"], "AAVID": "QX5112"},
    {"Name": "TK22", "numPackages": "0", "packages": ["NA"], "A": "0.9"},
    {"Name": "TK23H2O", "numPackages": "10",
     "packages": ["CE", "CC", "CD", "CR", "DE", "DF", "DK", "DP", "EL", "OF"], "A": "0.08",
     "B": "-1.2", "C": "0.05"},
]

PACKAGE_ROWS = [
    {"Code": "CE", "shortDesc": "TO-3", "fullDesc": "8-pin TO-3"},
    {"Code": "DK", "shortDesc": "PSOP", "fullDesc": "20-pin power SOP"},
    {"Code": "CE", "shortDesc": "second CE", "fullDesc": "never reached"},
]


def header_line(header):
    cells = []
    for entry in header:
        if entry is SEP:
            cells.append("")
        else:
            name, reserved = entry
            cells.append(name)
            cells.extend([""] * reserved)
    return "\t".join(cells)


def row_line(header, base, row):
    values = dict(base)
    values.update(row)
    cells = []
    for entry in header:
        if entry is SEP:
            cells.append("")
            continue
        name, reserved = entry
        value = values[name]
        if isinstance(value, list):
            # The values stand under the name and its reserved cells; unused ones stay empty.
            cells.extend(value)
            cells.extend([""] * max(0, reserved + 1 - len(value)))
        else:
            cells.append(value)
            cells.extend([""] * reserved)
    return "\t".join(cells)


def write(path, header, base, rows, blank_after_first=False):
    lines = [header_line(header)]
    for i, row in enumerate(rows):
        lines.append(row_line(header, base, row))
        if blank_after_first and i == 0:
            lines.append("")
    with open(path, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


write("LinearAmpData.txt", LINEAR_HEADER, LINEAR_BASE, LINEAR_ROWS, blank_after_first=True)
write("HostAmpData.txt", HOST_HEADER, HOST_BASE, HOST_ROWS)
write("PWMAmpData.txt", PWM_HEADER, PWM_BASE, PWM_ROWS)
write("Heatsinks.txt", HEATSINK_HEADER, HEATSINK_BASE, HEATSINK_ROWS)
write("PackageStyles.txt", PACKAGE_HEADER, {}, PACKAGE_ROWS)
