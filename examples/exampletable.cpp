#include "examples/exampletable.h"

#include <QFile>
#include <QTextStream>

namespace examples {

const QVector<Tutorial> &tutorials()
{
    // The introduction comes first in the combo box although its numbers lie between those
    // of the heater and the control-loop tutorials.
    static const QVector<Tutorial> table = {
        {QStringLiteral("Non-Technical Introduction"), 61, 62, 68},
        {QStringLiteral("LX49 - PZT"), 0, 1, 9},
        {QStringLiteral("LX356 / OP07 composite"), 10, 11, 16},
        {QStringLiteral("LX22 - Audio"), 17, 18, 22},
        {QStringLiteral("LX26 - Coil"), 23, 24, 28},
        {QStringLiteral("LX26 - Capacitive Load"), 29, 30, 34},
        {QStringLiteral("NV314 - Inductive Load"), 35, 36, 49},
        {QStringLiteral("NV22 - Don't Run Unloaded!"), 50, 51, 53},
        {QStringLiteral("JNV307 - Heater"), 54, 55, 60},
        {QStringLiteral("NV21 - Control Loop"), 69, 70, 77},
        {QStringLiteral("LX58 - IH Current Pump"), 78, 79, 85},
        {QStringLiteral("NV335 - BLDC Motor"), 86, 87, 95},
    };
    return table;
}

int overviewNumber(int comboIndex)
{
    const QVector<Tutorial> &t = tutorials();
    return comboIndex >= 0 && comboIndex < t.size() ? t.at(comboIndex).overview : 0;
}

int firstExample(int comboIndex)
{
    const QVector<Tutorial> &t = tutorials();
    return comboIndex >= 0 && comboIndex < t.size() ? t.at(comboIndex).first : -1;
}

bool isTutorialBoundary(int number)
{
    if (number == descriptionCount) return true;
    for (const Tutorial &t : tutorials())
        if (t.overview == number) return true;
    return false;
}

QString descriptionResource(int number)
{
    return QStringLiteral(":/tutorials/exampleDescriptions/") + QString::number(number) +
           QStringLiteral(".txt");
}

QString readDescription(int number)
{
    QFile file(descriptionResource(number));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    QTextStream in(&file);
    in.setAutoDetectUnicode(true);
    const QString text = in.readAll();
    file.close();
    return text;
}

namespace {

Example pageOnly(int page)
{
    Example e;
    e.family = Family::PageOnly;
    e.page = page;
    return e;
}

Triple triple(const char *l, const char *r, const char *c)
{
    return {QString::fromLatin1(l), QString::fromLatin1(r), QString::fromLatin1(c)};
}

// The network every power set-up starts from: no filter, no matching network, the first
// two load branches shorted capacitors, the others empty.
PowerNetwork emptyNetwork()
{
    PowerNetwork n;
    n.load[0] = triple("0", "0", "short");
    n.load[1] = triple("0", "0", "short");
    return n;
}

// ------------------------------------------------------------------ SOA page

Example soa(const SoaSetup &s)
{
    Example e;
    e.family = Family::Soa;
    e.page = 2;
    e.soa = s;
    return e;
}

Example soaExample(int n)
{
    SoaSetup s;
    s.lLoad = QStringLiteral("short");
    s.cLoad = QStringLiteral("short");
    s.tempA = QStringLiteral("25");
    s.compound = QStringLiteral("0.1");
    switch (n) {
    case 1: // piezo stack: 10.6 nF at 10 kHz, 180 V peak
        s.rLoad = QStringLiteral("short");
        s.cLoad = QStringLiteral("10.6n");
        s.freq = QStringLiteral("10k");
        s.part = QStringLiteral("LX49");
        s.vsPos = QStringLiteral("200");
        s.vsNeg = QStringLiteral("-200");
        s.maxOut = QStringLiteral("180");
        s.minOut = QStringLiteral("-180");
        s.inputTab = 1;
        s.rCL = QStringLiteral("short");
        s.heatsink = QStringLiteral("0");
        return soa(s);
    case 2: {
        Example e = soaExample(1);
        e.soa.tempA = QStringLiteral("85");
        e.soa.inputTab = 2;
        e.soa.rCL = QStringLiteral("5.64");
        e.soa.compound = QStringLiteral("0");
        return e;
    }
    case 3: {
        Example e = soaExample(2);
        e.soa.rCL = QStringLiteral("4.2");
        return e;
    }
    case 15: // the composite tutorial's amplifier before its 100 nF load is connected
        s.rLoad = QStringLiteral("short");
        s.cLoad = QStringLiteral("open");
        s.freq = QStringLiteral("5k");
        s.part = QStringLiteral("LX356DF");
        s.vsPos = QStringLiteral("60");
        s.vsNeg = QStringLiteral("-60");
        s.maxOut = QStringLiteral("40");
        s.minOut = QStringLiteral("-40");
        s.tempA = QStringLiteral("30");
        s.inputTab = 1;
        s.rCL = QStringLiteral("15");
        s.heatsink = QStringLiteral("none");
        return soa(s);
    case 16: {
        Example e = soaExample(15);
        e.soa.cLoad = QStringLiteral("0.1u");
        e.soa.inputTab = 0;
        e.soa.heatsink = QStringLiteral("foil");
        return e;
    }
    case 18: // 4 ohm speaker at the bottom of the audio band
        s.rLoad = QStringLiteral("4");
        s.freq = QStringLiteral("10");
        s.part = QStringLiteral("LX22");
        s.vsPos = QStringLiteral("18");
        s.vsNeg = QStringLiteral("-18");
        s.maxOut = QStringLiteral("14");
        s.minOut = QStringLiteral("-14");
        s.inputTab = 1;
        s.rCL = QStringLiteral("0.1");
        s.heatsink = QStringLiteral("2");
        return soa(s);
    case 19: {
        Example e = soaExample(18);
        e.soa.freq = QStringLiteral("60.1");
        return e;
    }
    case 20: {
        Example e = soaExample(19);
        e.soa.tempA = QStringLiteral("55");
        return e;
    }
    case 21: {
        Example e = soaExample(20);
        e.soa.freq = QStringLiteral("10");
        return e;
    }
    case 26: // coil of 10.2 ohm (winding and sense resistor) and 159 mH driven with current
        s.rLoad = QStringLiteral("10.2");
        s.lLoad = QStringLiteral("159m");
        s.freq = QStringLiteral("1");
        s.part = QStringLiteral("LX26");
        s.vsPos = QStringLiteral("28");
        s.vsNeg = QStringLiteral("-28");
        s.voltageOut = false;
        s.maxOut = QStringLiteral("1.67");
        s.minOut = QStringLiteral("-1.67");
        s.tempA = QStringLiteral("30");
        s.inputTab = 1;
        s.rCL = QStringLiteral("0.2");
        s.heatsink = QStringLiteral("1");
        return soa(s);
    case 34: // 4 uF behind the 1.5 ohm isolation resistor
        s.rLoad = QStringLiteral("1.5");
        s.cLoad = QStringLiteral("4u");
        s.freq = QStringLiteral("8.6k");
        s.part = QStringLiteral("LX26");
        s.vsPos = QStringLiteral("40");
        s.vsNeg = QStringLiteral("-40");
        s.maxOut = QStringLiteral("35");
        s.minOut = QStringLiteral("-35");
        s.inputTab = 1;
        s.rCL = QStringLiteral("0.33");
        s.heatsink = QStringLiteral("1");
        return soa(s);
    case 49: // the PWM tutorial's load driven by a linear amplifier
        s.rLoad = QStringLiteral("5");
        s.lLoad = QStringLiteral("0.7m");
        s.freq = QStringLiteral("1k");
        s.part = QStringLiteral("KW20");
        s.vsPos = QStringLiteral("48");
        s.vsNeg = QStringLiteral("-48");
        s.boostFollowsSupplies = true;
        s.maxOut = QStringLiteral("40");
        s.minOut = QStringLiteral("-40");
        s.inputTab = 1;
        s.rCL = QStringLiteral("0.05");
        s.heatsink = QStringLiteral("0.4");
        return soa(s);
    case 64: // 40 nF driven with a 0 to 120 V trapezoid
        s.rLoad = QStringLiteral("short");
        s.cLoad = QStringLiteral("40n");
        s.freq = QStringLiteral("1k");
        s.part = QStringLiteral("KW321");
        s.vsPos = QStringLiteral("130");
        s.vsNeg = QStringLiteral("-10");
        s.boostFollowsSupplies = true;
        s.maxOut = QStringLiteral("120");
        s.minOut = QStringLiteral("0");
        s.inputTab = 0;
        s.signalType = 1;
        s.rCL = QStringLiteral("short");
        s.heatsink = QStringLiteral("0");
        s.writesTrapezoid = true;
        s.tRise = s.tHigh = s.tFall = s.tLow = QStringLiteral("25u");
        return soa(s);
    case 65: {
        Example e = soaExample(64);
        e.soa.tRise = QStringLiteral("1u");
        e.soa.tHigh = QStringLiteral("5u");
        e.soa.tFall = QStringLiteral("1u");
        e.soa.tLow = QStringLiteral("20u");
        e.soa.rCL = QStringLiteral("75m");
        e.soa.inputTab = 2;
        return e;
    }
    default:
        return Example();
    }
}

// ------------------------------------------------------------------ stability page

Example stability(const StabilitySetup &s)
{
    Example e;
    e.family = Family::Stability;
    e.page = 4;
    e.stability = s;
    return e;
}

StabilitySetup capacitive(const char *part, bool inverting, const CapacitiveStage &cap)
{
    StabilitySetup s;
    s.part = QString::fromLatin1(part);
    s.capacitiveLoad = true;
    s.inverting = inverting;
    s.cap = cap;
    return s;
}

CapacitiveStage capStage(const char *cLoad, const char *rIso, const char *rIn, const char *rFb,
                         const char *cFb, const char *rNg, const char *cNg, const char *rCl)
{
    return {QString::fromLatin1(cLoad), QString::fromLatin1(rIso), QString::fromLatin1(rIn),
            QString::fromLatin1(rFb),   QString::fromLatin1(cFb),  QString::fromLatin1(rNg),
            QString::fromLatin1(cNg),   QString::fromLatin1(rCl)};
}

RcCalculator capacitorFor(const char *r, const char *f)
{
    return {RcCalculator::Kind::CapacitorFromRF, QString::fromLatin1(r), QString::fromLatin1(f)};
}

RcCalculator resistorFor(const char *f, const char *c)
{
    return {RcCalculator::Kind::ResistorFromFC, QString::fromLatin1(f), QString::fromLatin1(c)};
}

Example stabilityExample(int n)
{
    switch (n) {
    case 4: { // piezo stack behind an inverting gain of 18
        StabilitySetup s = capacitive(
            "LX49", true, capStage("10.6n", "short", "5k", "90k", "open", "150k", "open", "4.2"));
        s.compOption = 1;
        return stability(s);
    }
    case 5: {
        Example e = stabilityExample(4);
        e.stability.cap.rNg = QStringLiteral("900");
        e.stability.cap.cNg = QStringLiteral("18n");
        e.stability.calculator = capacitorFor("900", "10k");
        return e;
    }
    case 6: {
        Example e = stabilityExample(5);
        e.stability.cap.cFb = QStringLiteral("18p");
        e.stability.tab = 1;
        e.stability.calculator = capacitorFor("90k", "100k");
        return e;
    }
    case 7: {
        Example e = stabilityExample(5);
        e.stability.cap.cNg = QStringLiteral("0");
        e.stability.calculator = resistorFor("450k", "10.6n");
        return e;
    }
    case 8: {
        Example e = stabilityExample(4);
        e.stability.cap.cFb = QStringLiteral("3p");
        e.stability.cap.rNg = QStringLiteral("open");
        e.stability.cap.cNg = QStringLiteral("0");
        e.stability.calculator = capacitorFor("90k", "600k");
        return e;
    }
    case 11: { // 100 nF at a non-inverting gain of 11
        StabilitySetup s = capacitive(
            "LX356DF", false, capStage("100n", "0", "34k", "340k", "open", "open", "0n", "15"));
        s.compOption = 3;
        return stability(s);
    }
    case 12: {
        Example e = stabilityExample(11);
        e.stability.cap.cFb = QStringLiteral("10p");
        e.stability.tab = 1;
        return e;
    }
    case 13: {
        Example e = stabilityExample(12);
        e.stability.inverting = true;
        e.stability.tab = 3;
        e.stability.composite = true;
        e.stability.host = {QStringLiteral("21k"), QStringLiteral("340k"), QStringLiteral("open"),
                            QStringLiteral("open"), QStringLiteral("open")};
        return e;
    }
    case 14: {
        Example e = stabilityExample(13);
        e.stability.host.cFb = QStringLiteral("15p");
        e.stability.host.rNg = QStringLiteral("3.4k");
        e.stability.host.cNg = QStringLiteral("10n");
        e.stability.tab = 1;
        return e;
    }
    case 24:
    case 25: { // coil current loop: 1.2 ohm sense resistor, sense amplifier gain 1
        StabilitySetup s;
        s.part = QStringLiteral("LX26");
        s.capacitiveLoad = false;
        s.inverting = true;
        s.ind = {QStringLiteral("159m"), QStringLiteral("9"),    QStringLiteral("4.99k"),
                 QStringLiteral("1k"),   QStringLiteral("open"), QStringLiteral("open"),
                 QStringLiteral("1.2"),  QStringLiteral("1")};
        return stability(s);
    }
    case 28: {
        Example e = stabilityExample(24);
        e.stability.ind.cFb = QStringLiteral("68n");
        e.stability.ind.rD = QStringLiteral("82.5k");
        e.stability.tab = 1;
        e.stability.phaseComponents = false;
        return e;
    }
    case 30: { // 4 uF at an inverting gain of 10
        StabilitySetup s = capacitive(
            "LX26", true, capStage("4u", "short", "2k", "20k", "open", "open", "open", "0.33"));
        s.tab = 1;
        return stability(s);
    }
    case 31: {
        Example e = stabilityExample(30);
        e.stability.cap.cFb = QStringLiteral("390p");
        e.stability.calculator = capacitorFor("220", "1.5k");
        return e;
    }
    case 32: {
        Example e = stabilityExample(30);
        e.stability.cap.rNg = QStringLiteral("220");
        e.stability.cap.cNg = QStringLiteral("470n");
        e.stability.calculator = resistorFor("25k", "4u");
        return e;
    }
    case 33: {
        Example e = stabilityExample(30);
        e.stability.cap.rIso = QStringLiteral("1.5");
        return e;
    }
    case 67: { // the introduction's 40 nF load at an inverting gain of 18
        StabilitySetup s = capacitive(
            "KW321", true, capStage("40n", "short", "1k", "18k", "open", "open", "open", "75m"));
        s.tab = 1;
        return stability(s);
    }
    default:
        return Example();
    }
}

// ------------------------------------------------------------------ selectors

Example heatsinkExample(const char *part, const char *rTheta, bool forcedFlow,
                        bool enablePartList = false)
{
    Example e;
    e.family = Family::Heatsink;
    e.page = 7;
    e.heatsink.part = QString::fromLatin1(part);
    e.heatsink.enablePartList = enablePartList;
    e.heatsink.rTheta = QString::fromLatin1(rTheta);
    e.heatsink.forcedFlow = forcedFlow;
    return e;
}

Example linearSelector(const char *current, const char *vpp, bool byFrequency,
                       const char *freqOrSlew, bool uncheckParallel)
{
    Example e;
    e.family = Family::LinearSelector;
    e.page = 1;
    e.lps = {QString::fromLatin1(current), QString::fromLatin1(vpp), byFrequency,
             QString::fromLatin1(freqOrSlew), uncheckParallel};
    return e;
}

Example switchingSelector(const char *current, const char *voltage, const char *frequency)
{
    Example e;
    e.family = Family::SwitchingSelector;
    e.page = 8;
    e.sps = {QString::fromLatin1(current), QString::fromLatin1(voltage),
             QString::fromLatin1(frequency)};
    return e;
}

// ------------------------------------------------------------------ PWM filter page

Example filter(const FilterSetup &f)
{
    Example e;
    e.family = Family::Filter;
    e.page = 12;
    e.filter = f;
    return e;
}

Example filterExample(int n)
{
    FilterSetup f;
    switch (n) {
    case 37: // NV314 full bridge, 3 kHz cutoff
        f.part = QStringLiteral("NV314");
        f.vs = QStringLiteral("48");
        f.fsw = QStringLiteral("30k");
        f.fcut = QStringLiteral("3k");
        f.vrip = QStringLiteral("400m");
        f.output = OutputStage::FullBridgeSplitInductor;
        f.order = 2;
        f.stackOnly = 0;
        return filter(f);
    case 38: {
        Example e = filterExample(37);
        e.filter.rL = QStringLiteral("5");
        e.filter.stackOnly.reset();
        e.filter.load = FilterLoad{1, QStringLiteral("5"), true, QStringLiteral("0.7"),
                                   QStringLiteral("short")};
        e.filter.loadAfterRefresh = true;
        return e;
    }
    case 46: {
        Example e = filterExample(38);
        e.filter.output = OutputStage::FullBridgeDualCapacitor;
        e.filter.order = 3;
        e.filter.load->stack = 0;
        e.filter.loadAfterRefresh = false;
        return e;
    }
    case 51: // NV22 half bridge designed for 10 ohm
        f.part = QStringLiteral("NV22");
        f.vs = QStringLiteral("90");
        f.fsw = QStringLiteral("22.5k");
        f.fcut = QStringLiteral("2k");
        f.vrip = QStringLiteral("1");
        f.output = OutputStage::HalfBridgeSingleEnded;
        f.order = 2;
        f.rL = QStringLiteral("10");
        f.load = FilterLoad{0, QStringLiteral("5"), true, QStringLiteral("short"),
                            QStringLiteral("short")};
        return filter(f);
    case 56: // JNV307 heater supply
        f.part = QStringLiteral("JNV307");
        f.vs = QStringLiteral("178");
        f.fsw = QStringLiteral("20k");
        f.fcut = QStringLiteral("100");
        f.vrip = QStringLiteral("0.25");
        f.output = OutputStage::HalfBridgeSingleEnded;
        f.order = 2;
        f.rL = QStringLiteral("5.2");
        f.load = FilterLoad{0, QStringLiteral("5.2"), true, QStringLiteral("short"),
                            QStringLiteral("short")};
        return filter(f);
    case 70: // NV21 driving 3.8 ohm in series with 400 uF
        f.part = QStringLiteral("NV21");
        f.vs = QStringLiteral("65");
        f.fsw = QStringLiteral("42k");
        f.fcut = QStringLiteral("1k");
        f.vrip = QStringLiteral("0.5");
        f.output = OutputStage::FullBridgeSplitInductor;
        f.order = 2;
        f.rL = QStringLiteral("3.8");
        f.load = FilterLoad{0, QStringLiteral("3.8"), false, QStringLiteral("short"),
                            QStringLiteral("400")};
        return filter(f);
    default:
        return Example();
    }
}

// ------------------------------------------------------------------ PWM power page

Example power(const PowerSetup &p)
{
    Example e;
    e.family = Family::Power;
    e.page = 9;
    e.power = p;
    return e;
}

// NV314's third-order split-inductor filter into 5 ohm and 0.7 mH, with its matching network.
PowerNetwork nv314Network()
{
    PowerNetwork n = emptyNetwork();
    n.p[0] = triple("199u", "0", "0");
    n.p[1] = triple("0", "0", "14.1u");
    n.p[2] = triple("66.3u", "0", "0");
    n.mn = triple("0", "5", "28u");
    n.load[4] = triple("700u", "5", "short");
    n.order = 3;
    return n;
}

// NV21's second-order filter into 3.8 ohm and 400 uF, with its matching network.
PowerNetwork nv21Network()
{
    PowerNetwork n = emptyNetwork();
    n.p[0] = triple("440u", "0", "0");
    n.p[1] = triple("0", "0", "27u");
    n.mn = triple("6.8m", "4", "short");
    n.load[4] = triple("0", "3.8", "400u");
    n.order = 2;
    return n;
}

Example powerExample(int n)
{
    PowerSetup p;
    p.heatsink = QStringLiteral("0");
    switch (n) {
    case 39:
        p.tab = 0;
        p.net = nv314Network();
        p.part = QStringLiteral("NV314");
        p.vs = QStringLiteral("48");
        p.fsw = QStringLiteral("30k");
        p.fsig = QStringLiteral("2k");
        p.output = OutputStage::FullBridgeSplitInductor;
        p.yVariable = 6;
        return power(p);
    case 40: {
        Example e = powerExample(39);
        PowerNetwork &net = e.power.net;
        net.p[0] = triple("200u", "70m", "25p");
        net.p[1] = triple("25.2n", "108m", "14.7u");
        net.p[2] = triple("66u", "29.8m", "21.6p");
        net.mn.c = QStringLiteral("27u");
        e.power.tab = 2;
        e.power.fsig = QStringLiteral("1k");
        e.power.writesOutput = true;
        e.power.outMax = QStringLiteral("40");
        e.power.outMin = QStringLiteral("-40");
        return e;
    }
    case 41: {
        Example e = powerExample(40);
        e.power.tab.reset();
        e.power.yVariable = 0;
        return e;
    }
    case 42: {
        Example e = powerExample(41);
        e.power.yVariable = 3;
        return e;
    }
    case 43: {
        Example e = powerExample(42);
        e.power.net.mn = triple("0", "0", "0");
        e.power.yVariable = 4;
        return e;
    }
    case 44: {
        Example e = powerExample(43);
        e.power.tab = 2;
        e.power.outMax = QStringLiteral("46");
        e.power.outMin = QStringLiteral("-46");
        e.power.fmax = QStringLiteral("1.8k");
        e.power.yVariable.reset();
        return e;
    }
    case 45: {
        Example e = powerExample(44);
        e.power.heatsink = QStringLiteral("5.3");
        return e;
    }
    case 47: {
        Example e = powerExample(39);
        e.power.net.p[1].c = QStringLiteral("28.3u");
        e.power.net.mn = triple("0", "0", "0");
        e.power.tab = 0;
        e.power.fsig = QStringLiteral("1k");
        e.power.writesOutput = true;
        e.power.outMax = QStringLiteral("46");
        e.power.outMin = QStringLiteral("-46");
        e.power.output = OutputStage::FullBridgeDualCapacitor;
        e.power.yVariable = 4;
        e.power.fmax = QStringLiteral("1.8k");
        e.power.heatsink = QStringLiteral("5.3");
        return e;
    }
    case 52: { // NV22 half bridge into 10 ohm
        PowerNetwork net = emptyNetwork();
        net.p[0] = triple("1.13m", "0", "0");
        net.p[1] = triple("0", "0", "5.63u");
        net.load[4] = triple("0", "10", "short");
        net.order = 2;
        p.net = net;
        p.part = QStringLiteral("NV22");
        p.vs = QStringLiteral("90");
        p.fsw = QStringLiteral("22.5k");
        p.fsig = QStringLiteral("500");
        p.writesOutput = true;
        p.outMax = QStringLiteral("65");
        p.outMin = QStringLiteral("25");
        p.output = OutputStage::HalfBridgeSingleEnded;
        p.yVariable = 6;
        p.heatsink = QStringLiteral("2");
        return power(p);
    }
    case 53: {
        Example e = powerExample(52);
        e.power.net.load[4].r = QStringLiteral("open");
        e.power.fsig = QStringLiteral("1k");
        e.power.outMax = QStringLiteral("85");
        e.power.outMin = QStringLiteral("5");
        e.power.yVariable = 2;
        return e;
    }
    case 57: { // JNV307 heater with the parasitics of real parts
        PowerNetwork net = emptyNetwork();
        net.p[0] = triple("1.5m", "460m", "57.5p");
        net.p[1] = triple("66.3n", "513m", "33u");
        net.load[4] = triple("0", "3.7", "short");
        net.order = 2;
        p.net = net;
        p.part = QStringLiteral("JNV307");
        p.vs = QStringLiteral("178");
        p.fsw = QStringLiteral("20k");
        p.fsig = QStringLiteral("2k");
        p.writesOutput = true;
        p.outMax = QStringLiteral("40");
        p.outMin = QStringLiteral("-40");
        p.output = OutputStage::HalfBridgeSingleEnded;
        p.yVariable = 6;
        p.fmin = QStringLiteral("1");
        p.fmax = QStringLiteral("1M");
        p.heatsink = QStringLiteral("0.5");
        return power(p);
    }
    case 58: {
        Example e = powerExample(57);
        e.power.fsig = QStringLiteral("0");
        e.power.outMax = QStringLiteral("52");
        e.power.outMin = QStringLiteral("52");
        e.power.tab = 2;
        e.power.yVariable = 2;
        e.power.fmin = QStringLiteral("0");
        e.power.fmax = QStringLiteral("10");
        return e;
    }
    case 59: {
        Example e = powerExample(58);
        e.power.net.p[0].r = QStringLiteral("50m");
        e.power.tab = 0;
        return e;
    }
    case 60: {
        Example e = powerExample(59);
        e.power.tab.reset();
        e.power.yVariable.reset();
        return e;
    }
    case 71:
        p.tab = 2;
        p.net = nv21Network();
        p.part = QStringLiteral("NV21");
        p.vs = QStringLiteral("65");
        p.fsw = QStringLiteral("42k");
        p.fsig = QStringLiteral("400");
        p.writesOutput = true;
        p.outMax = QStringLiteral("60");
        p.outMin = QStringLiteral("-60");
        p.output = OutputStage::FullBridgeSplitInductor;
        p.yVariable = 4;
        p.heatsink = QStringLiteral("1");
        return power(p);
    default:
        return Example();
    }
}

// ------------------------------------------------------------------ PWM control wizard

Example controlExample(int n)
{
    Example e;
    e.family = Family::Control;
    ControlSetup &c = e.control;
    c.net = nv21Network();
    c.part = QStringLiteral("NV21");
    c.vs = QStringLiteral("65");
    c.fsw = QStringLiteral("42k");
    c.fsig = QStringLiteral("400");
    c.outMax = QStringLiteral("60");
    c.outMin = QStringLiteral("-60");
    c.vcc = QStringLiteral("7.5");
    c.vinMax = QStringLiteral("2.5");
    c.vinMin = QStringLiteral("-2.5");
    ControlNetwork &v = c.values;
    switch (n) {
    case 72:
        c.step = 1;
        break;
    case 73:
        c.step = 2;
        break;
    case 74: // the two resistors the designer chooses before the others are computed
        c.step = 3;
        v.rin = QStringLiteral("10k");
        v.rdf = QStringLiteral("6.2k");
        break;
    case 75:
        c.step = 3;
        v.rint = QStringLiteral("0");
        v.cint = QStringLiteral("9.4n");
        v.vref = QStringLiteral("5");
        v.vbias = QStringLiteral("7.5");
        v.rbias = QStringLiteral("5k");
        v.rin = QStringLiteral("10k");
        v.rf = QStringLiteral("5.31k");
        v.rnf = QStringLiteral("0");
        v.cnf = QStringLiteral("0");
        v.rdf = QStringLiteral("10k");
        v.cdf = QStringLiteral("3.79n");
        v.rdin = QStringLiteral("394k");
        v.rdif = QStringLiteral("39.4k");
        v.cdif = QStringLiteral("962p");
        break;
    case 76: { // the same network in values one can buy
        e = controlExample(75);
        ControlNetwork &w = e.control.values;
        w.cint = QStringLiteral("10n");
        w.rf = QStringLiteral("5.55k");
        w.cdf = QStringLiteral("3.9n");
        w.rdin = QStringLiteral("390k");
        w.rdif = QStringLiteral("39k");
        w.cdif = QStringLiteral("1n");
        return e;
    }
    default:
        return Example();
    }
    e.page = 12 + c.step;
    return e;
}

// ------------------------------------------------------------------ Howland current pump

Example pumpExample(int n)
{
    Example e;
    e.family = Family::CurrentPump;
    e.page = 5;
    PumpSetup &p = e.pump;
    switch (n) {
    case 80:
        return e;
    case 81: // +-1 A at 0.1 S into 18 ohm and 2 uH
        p.writesDrive = true;
        p.inverting = true;
        p.writesCircuit = true;
        p.rLoad = QStringLiteral("18");
        p.lLoad = QStringLiteral("2u");
        p.cLoad = QStringLiteral("short");
        p.freq = QStringLiteral("1M");
        p.rs = QStringLiteral("0.1");
        p.rfn = QStringLiteral("100");
        p.rfp = QStringLiteral("99.9");
        p.rinT = p.rfnT = p.rfpT = QStringLiteral("0.1");
        p.rsT = QStringLiteral("1");
        return e;
    case 82:
        e = pumpExample(81);
        e.pump.rfp = QStringLiteral("100");
        return e;
    case 83:
        e = pumpExample(81);
        e.pump.inverting = false;
        e.pump.rinT = e.pump.rfnT = e.pump.rfpT = QStringLiteral("0.25");
        e.pump.rsT = QStringLiteral("0.5");
        e.pump.sweep = true;
        return e;
    case 84:
        e = pumpExample(83);
        e.pump.rfp = QStringLiteral("100");
        e.pump.freq = QStringLiteral("100k");
        e.pump.sweep = false;
        e.pump.uncheckSoaBridgeParallel = true;
        return e;
    default:
        return Example();
    }
}

// ------------------------------------------------------------------ three-phase motor

Example motorExample(int n)
{
    Example e;
    e.family = Family::ThreePhase;
    e.page = 10;
    ThreePhaseSetup &m = e.motor;
    switch (n) {
    case 87: // small 4-pole delta motor held at 600 RPM from a 50 V bus
        m.vs = QStringLiteral("50");
        m.vcc = QStringLiteral("5");
        m.fsw = QStringLiteral("1");
        m.outputTab = 0;
        m.heatsink = QStringLiteral("0");
        m.tim = QStringLiteral("0");
        m.uncheckDisplayDC = true;
        m.start = QStringLiteral("25m");
        m.end = QStringLiteral("75m");
        m.r = QStringLiteral("10");
        m.l = QStringLiteral("33m");
        m.vemf = QStringLiteral("5m");
        m.poles = 4;
        m.delta = true;
        m.controlVariable = 1;
        m.controlType = 0;
        m.constantVariable = 2;
        m.controlAmplitude = QStringLiteral("600");
        m.constantAmplitude = QStringLiteral("75");
        m.times = QStringList{"0", "1", "2", "3", "4"};
        m.amplitudes = QStringList{"0", "600", "600", "0", "0"};
        m.graphs = QStringList{"I1", "null", "null", "null", "null", "null"};
        return e;
    case 88:
    case 89: // a larger 5-pole wye motor on a 650 V bus
        e = motorExample(87);
        e.motor.vs = QStringLiteral("650");
        e.motor.vcc = QStringLiteral("18");
        e.motor.fsw = QStringLiteral("20");
        e.motor.uncheckDisplayDC = false;
        e.motor.r = QStringLiteral("6");
        e.motor.l = QStringLiteral("1.5m");
        e.motor.vemf = QStringLiteral("10m");
        e.motor.poles = 5;
        e.motor.delta = false;
        return e;
    case 90:
        e = motorExample(88);
        e.motor.controlAmplitude = QStringLiteral("6000");
        e.motor.constantAmplitude = QStringLiteral("80");
        e.motor.end = QStringLiteral("30m");
        return e;
    case 91:
        e = motorExample(90);
        e.motor.outputTab = 1;
        e.motor.graphs = QStringList{"I1", "I2", "I3", "null", "null", "null"};
        return e;
    case 92:
    case 93:
        e = motorExample(91);
        e.motor.outputTab = 2;
        e.motor.heatsink = QStringLiteral("0.4");
        e.motor.tim = QStringLiteral("0.05");
        return e;
    case 94:
    case 95: // speed reversal from +6000 to -6000 RPM in one second at a fixed V/f ratio
        e = motorExample(92);
        e.motor.outputTab = 1;
        e.motor.start = QStringLiteral("0");
        e.motor.end = QStringLiteral("1");
        e.motor.controlType = 1;
        e.motor.constantVariable = 1;
        e.motor.constantAmplitude = QStringLiteral("0.086");
        e.motor.times = QStringList{"0", "0.5", "1"};
        e.motor.amplitudes = QStringList{"6000", "0", "-6000"};
        return e;
    default:
        return Example();
    }
}

} // namespace

Example example(int number)
{
    switch (number) {
    case 0:
        return pageOnly(11);
    case 62:
    case 68:
        return pageOnly(0);
    case 1:
    case 2:
    case 3:
    case 15:
    case 16:
    case 18:
    case 19:
    case 20:
    case 21:
    case 26:
    case 34:
    case 49:
    case 64:
    case 65:
        return soaExample(number);
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 11:
    case 12:
    case 13:
    case 14:
    case 24:
    case 25:
    case 28:
    case 30:
    case 31:
    case 32:
    case 33:
    case 67:
        return stabilityExample(number);
    case 9:
        return heatsinkExample("LX49", "2.28", false);
    case 22:
        return heatsinkExample("LX22", "3.41", true);
    case 27:
        return heatsinkExample("LX26", "1", false);
    case 66:
        return heatsinkExample("", "30", false, true);
    case 77:
        return heatsinkExample("", "30", true);
    case 85:
        return heatsinkExample("LX58", "4.8", false);
    case 48:
        return linearSelector("8", "80", true, "1", false);
    case 63:
        return linearSelector("4.8", "120", false, "120", true);
    case 79:
        return linearSelector("0", "0", true, "0", true);
    case 36:
        return switchingSelector("8", "40", "1");
    case 55:
        return switchingSelector("0", "175", "0");
    case 37:
    case 38:
    case 46:
    case 51:
    case 56:
    case 70:
        return filterExample(number);
    case 39:
    case 40:
    case 41:
    case 42:
    case 43:
    case 44:
    case 45:
    case 47:
    case 52:
    case 53:
    case 57:
    case 58:
    case 59:
    case 60:
    case 71:
        return powerExample(number);
    case 72:
    case 73:
    case 74:
    case 75:
    case 76:
        return controlExample(number);
    case 80:
    case 81:
    case 82:
    case 83:
    case 84:
        return pumpExample(number);
    case 87:
    case 88:
    case 89:
    case 90:
    case 91:
    case 92:
    case 93:
    case 94:
    case 95:
        return motorExample(number);
    default:
        return Example();
    }
}

} // namespace examples
