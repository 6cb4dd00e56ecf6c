#include "designfile/designformat.h"

#include <QHash>
#include <QTextStream>

namespace designfile {

const QVector<KeyRule> &currentKeys()
{
    static const QVector<KeyRule> keys = {
        // current page and page flags (from line 3)
        {QStringLiteral("Page"), Form::Integer, Source::Widget},
        {QStringLiteral("CompOption"), Form::Integer, Source::Member},
        {QStringLiteral("CompOptionIHCP"), Form::Integer, Source::Member},
        {QStringLiteral("ACbidirectional"), Form::Flag, Source::Member},
        {QStringLiteral("phaseShiftComponents"), Form::Flag, Source::Member},
        {QStringLiteral("extendedLoad"), Form::Flag, Source::Member},
        {QStringLiteral("sweepIHCP"), Form::Flag, Source::Member},
        // load calculator (from line 10)
        {QStringLiteral("ResS"), Form::Text, Source::Member},
        {QStringLiteral("CapS"), Form::Text, Source::Member},
        {QStringLiteral("IndS"), Form::Text, Source::Member},
        {QStringLiteral("ResP"), Form::Text, Source::Member},
        {QStringLiteral("CapP"), Form::Text, Source::Member},
        {QStringLiteral("IndP"), Form::Text, Source::Member},
        {QStringLiteral("Z1"), Form::Text, Source::Member},
        {QStringLiteral("Z2"), Form::Text, Source::Member},
        {QStringLiteral("A1"), Form::Text, Source::Member},
        {QStringLiteral("A2"), Form::Text, Source::Member},
        {QStringLiteral("FreqS"), Form::Text, Source::Member},
        {QStringLiteral("FreqP"), Form::Text, Source::Member},
        // PWM control circuit values (from line 22)
        {QStringLiteral("SConRint"), Form::Text, Source::Member},
        {QStringLiteral("SConCint"), Form::Text, Source::Member},
        {QStringLiteral("SConVref"), Form::Text, Source::Member},
        {QStringLiteral("SConVbias"), Form::Text, Source::Member},
        {QStringLiteral("SConRbias"), Form::Text, Source::Member},
        {QStringLiteral("SConRin"), Form::Text, Source::Member},
        {QStringLiteral("SConRf"), Form::Text, Source::Member},
        {QStringLiteral("SConRnf"), Form::Text, Source::Member},
        {QStringLiteral("SConCnf"), Form::Text, Source::Member},
        {QStringLiteral("SConRdf"), Form::Text, Source::Member},
        {QStringLiteral("SConCdf"), Form::Text, Source::Member},
        {QStringLiteral("SConRdin"), Form::Text, Source::Member},
        {QStringLiteral("SConRdif"), Form::Text, Source::Member},
        {QStringLiteral("SConCdif"), Form::Text, Source::Member},
        {QStringLiteral("SConRbh"), Form::Text, Source::Member},
        {QStringLiteral("SConRbl"), Form::Text, Source::Member},
        {QStringLiteral("SConRs"), Form::Text, Source::Member},
        {QStringLiteral("SConRv"), Form::Text, Source::Member},
        {QStringLiteral("SConCv"), Form::Text, Source::Member},
        // linear product selector (from line 41)
        {QStringLiteral("LPScurrent"), Form::Text, Source::Widget},
        {QStringLiteral("LPSVpp"), Form::Text, Source::Widget},
        {QStringLiteral("LPSFreq"), Form::Text, Source::Widget},
        {QStringLiteral("LPSSR"), Form::Text, Source::Widget},
        {QStringLiteral("LPSFreqButton"), Form::Flag, Source::Widget},
        {QStringLiteral("LPSSRButton"), Form::Flag, Source::Widget},
        {QStringLiteral("LPSBridgeCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("LPSParallelCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("LPSNumAmps"), Form::Integer, Source::Widget},
        {QStringLiteral("LPSRelax"), Form::Integer, Source::Widget},
        // SOA page (from line 51)
        {QStringLiteral("AmpSelecterSOA"), Form::Text, Source::Widget},
        {QStringLiteral("SOAVs_pos"), Form::Text, Source::Member},
        {QStringLiteral("SOAVs_neg"), Form::Text, Source::Member},
        {QStringLiteral("SOAVb_pos"), Form::Text, Source::Member},
        {QStringLiteral("SOAVb_neg"), Form::Text, Source::Member},
        {QStringLiteral("boostSup"), Form::Flag, Source::Member},
        {QStringLiteral("SOAR_CS"), Form::Text, Source::Member},
        {QStringLiteral("SOAtabWidget"), Form::Integer, Source::Widget},
        {QStringLiteral("SignalType"), Form::Integer, Source::Member},
        {QStringLiteral("SOAmaxOut"), Form::Text, Source::Member},
        {QStringLiteral("SOAminOut"), Form::Text, Source::Member},
        {QStringLiteral("SOAVout"), Form::Flag, Source::Member},
        {QStringLiteral("SOAfreq"), Form::Text, Source::Member},
        {QStringLiteral("SOAtRise"), Form::Text, Source::Member},
        {QStringLiteral("SOAtHigh"), Form::Text, Source::Member},
        {QStringLiteral("SOAtFall"), Form::Text, Source::Member},
        {QStringLiteral("SOAtLow"), Form::Text, Source::Member},
        {QStringLiteral("SOAcsvGain"), Form::Text, Source::Member},
        {QStringLiteral("loadTypeBox"), Form::Text, Source::Widget},
        {QStringLiteral("loadType"), Form::Integer, Source::Widget},
        {QStringLiteral("SOA_series"), Form::Flag, Source::Widget},
        {QStringLiteral("SOA_parallel"), Form::Flag, Source::Widget},
        {QStringLiteral("SOA_Rload"), Form::Text, Source::Widget},
        {QStringLiteral("SOA_Lload"), Form::Text, Source::Widget},
        {QStringLiteral("SOA_Cload"), Form::Text, Source::Widget},
        {QStringLiteral("MotorBox"), Form::Text, Source::Widget},
        {QStringLiteral("MotorVDC"), Form::Text, Source::Widget},
        {QStringLiteral("MotorESR"), Form::Text, Source::Widget},
        {QStringLiteral("MotorI"), Form::Text, Source::Widget},
        {QStringLiteral("MotorEMF"), Form::Text, Source::Widget},
        {QStringLiteral("R_CL"), Form::Text, Source::Widget},
        {QStringLiteral("RangeBox"), Form::Integer, Source::Widget},
        {QStringLiteral("FOcheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("R_FO"), Form::Text, Source::Widget},
        {QStringLiteral("SOAdisplayTab"), Form::Integer, Source::Widget},
        {QStringLiteral("SOAdisplayAfter"), Form::Integer, Source::Widget},
        {QStringLiteral("SOAdisplayCycles"), Form::Integer, Source::Widget},
        {QStringLiteral("tempA"), Form::Text, Source::Widget},
        {QStringLiteral("heatsink"), Form::Text, Source::Widget},
        {QStringLiteral("VswingCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("ThermalCompound"), Form::Text, Source::Widget},
        {QStringLiteral("BridgeCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("BridgeSameSuppliesButton"), Form::Flag, Source::Widget},
        {QStringLiteral("BridgeUnipolarSuppliesButton"), Form::Flag, Source::Widget},
        {QStringLiteral("LogCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("custTempCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("custTempLine"), Form::Text, Source::Widget},
        {QStringLiteral("ParallelCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("NumParallel"), Form::Integer, Source::Widget},
        // stability page, RC calculators, composite amplifier (from line 100)
        {QStringLiteral("AmpSelectorStab"), Form::Text, Source::Widget},
        {QStringLiteral("StabilityTab"), Form::Integer, Source::Widget},
        {QStringLiteral("StabilityTabOutput"), Form::Integer, Source::Widget},
        {QStringLiteral("StabInv"), Form::Flag, Source::Widget},
        {QStringLiteral("StabNon"), Form::Flag, Source::Widget},
        {QStringLiteral("CloadButton"), Form::Flag, Source::Widget},
        {QStringLiteral("LloadButton"), Form::Flag, Source::Widget},
        {QStringLiteral("CLoadStab"), Form::Text, Source::Member},
        {QStringLiteral("RisoC"), Form::Text, Source::Member},
        {QStringLiteral("RinC"), Form::Text, Source::Member},
        {QStringLiteral("RfbC"), Form::Text, Source::Member},
        {QStringLiteral("CfbC"), Form::Text, Source::Member},
        {QStringLiteral("RngC"), Form::Text, Source::Member},
        {QStringLiteral("CngC"), Form::Text, Source::Member},
        {QStringLiteral("RclC"), Form::Text, Source::Member},
        {QStringLiteral("LLoadStab"), Form::Text, Source::Member},
        {QStringLiteral("RloadL"), Form::Text, Source::Member},
        {QStringLiteral("RinL"), Form::Text, Source::Member},
        {QStringLiteral("RfbL"), Form::Text, Source::Member},
        {QStringLiteral("CfbL"), Form::Text, Source::Member},
        {QStringLiteral("RdL"), Form::Text, Source::Member},
        {QStringLiteral("RsL"), Form::Text, Source::Member},
        {QStringLiteral("RsGainL"), Form::Text, Source::Member},
        {QStringLiteral("HidePhaseLegend"), Form::Flag, Source::Widget},
        {QStringLiteral("RCPCR1"), Form::Text, Source::Widget},
        {QStringLiteral("RCPCF1"), Form::Text, Source::Widget},
        {QStringLiteral("RCPCR2"), Form::Text, Source::Widget},
        {QStringLiteral("RCPCC2"), Form::Text, Source::Widget},
        {QStringLiteral("RCPCF3"), Form::Text, Source::Widget},
        {QStringLiteral("RCPCC3"), Form::Text, Source::Widget},
        {QStringLiteral("R_ISO_R"), Form::Text, Source::Widget},
        {QStringLiteral("R_ISO_I"), Form::Text, Source::Widget},
        {QStringLiteral("compositeCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("hostSelector"), Form::Text, Source::Widget},
        {QStringLiteral("hostAOL"), Form::Text, Source::Widget},
        {QStringLiteral("hostPole1"), Form::Text, Source::Widget},
        {QStringLiteral("hostPole2"), Form::Text, Source::Widget},
        {QStringLiteral("hostPole3"), Form::Text, Source::Widget},
        {QStringLiteral("hostRin"), Form::Text, Source::Member},
        {QStringLiteral("compRfb"), Form::Text, Source::Member},
        {QStringLiteral("compCfb"), Form::Text, Source::Member},
        {QStringLiteral("hostRng"), Form::Text, Source::Member},
        {QStringLiteral("hostCng"), Form::Text, Source::Member},
        // switching product selector (from line 143)
        {QStringLiteral("SPScurrent"), Form::Text, Source::Widget},
        {QStringLiteral("SPSvoltage"), Form::Text, Source::Widget},
        {QStringLiteral("SPSfrequency"), Form::Text, Source::Widget},
        {QStringLiteral("SPSparallelCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("SPSnumAmps"), Form::Integer, Source::Widget},
        {QStringLiteral("SPSrelax"), Form::Integer, Source::Widget},
        // PWM filter page (from line 149)
        {QStringLiteral("ampSelectorFilter"), Form::Text, Source::Widget},
        {QStringLiteral("filterVs"), Form::Text, Source::Widget},
        {QStringLiteral("filterFsw"), Form::Text, Source::Widget},
        {QStringLiteral("filterFcut"), Form::Text, Source::Widget},
        {QStringLiteral("filterVrip"), Form::Text, Source::Widget},
        {QStringLiteral("filterR_L"), Form::Text, Source::Widget},
        {QStringLiteral("filterOrderActual"), Form::Integer, Source::Widget},
        {QStringLiteral("filterStack"), Form::Integer, Source::Widget},
        {QStringLiteral("filterRload"), Form::Text, Source::Widget},
        {QStringLiteral("filterLoadIsC"), Form::Flag, Source::Widget},
        {QStringLiteral("filterLoadIsL"), Form::Flag, Source::Widget},
        {QStringLiteral("filterCload"), Form::Text, Source::Widget},
        {QStringLiteral("filterLload"), Form::Text, Source::Widget},
        {QStringLiteral("HBbutton"), Form::Flag, Source::Widget},
        {QStringLiteral("FBbutton"), Form::Flag, Source::Widget},
        {QStringLiteral("SEbutton"), Form::Flag, Source::Widget},
        {QStringLiteral("DCbutton"), Form::Flag, Source::Widget},
        {QStringLiteral("SIbutton"), Form::Flag, Source::Widget},
        {QStringLiteral("dbAttenuation"), Form::Flag, Source::Widget},
        {QStringLiteral("percentAttenuation"), Form::Flag, Source::Widget},
        // PWM power page (from line 169)
        {QStringLiteral("P1"), Form::Triple, Source::Member},
        {QStringLiteral("P2"), Form::Triple, Source::Member},
        {QStringLiteral("P3"), Form::Triple, Source::Member},
        {QStringLiteral("P4"), Form::Triple, Source::Member},
        {QStringLiteral("P5"), Form::Triple, Source::Member},
        {QStringLiteral("P6"), Form::Triple, Source::Member},
        {QStringLiteral("MN"), Form::Triple, Source::Member},
        {QStringLiteral("L1"), Form::Triple, Source::Member},
        {QStringLiteral("L2"), Form::Triple, Source::Member},
        {QStringLiteral("L3"), Form::Triple, Source::Member},
        {QStringLiteral("L4"), Form::Triple, Source::Member},
        {QStringLiteral("L5"), Form::Triple, Source::Member},
        {QStringLiteral("PWMfilterOrder"), Form::Integer, Source::Widget},
        {QStringLiteral("PowerTabs"), Form::Integer, Source::Widget},
        {QStringLiteral("Lparasitics"), Form::Quadruple, Source::Fields},
        {QStringLiteral("Pparasitics"), Form::Quadruple, Source::Fields},
        {QStringLiteral("Eparasitics"), Form::Quadruple, Source::Fields},
        {QStringLiteral("ampSelectorPower"), Form::Text, Source::Widget},
        {QStringLiteral("VsPWM"), Form::Text, Source::Widget},
        {QStringLiteral("FsPWM"), Form::Text, Source::Widget},
        {QStringLiteral("FsigPWM"), Form::Text, Source::Widget},
        {QStringLiteral("SigTypePWM"), Form::Integer, Source::Widget},
        {QStringLiteral("PWMOut"), Form::Text, Source::Widget},
        {QStringLiteral("PWMOutMin"), Form::Text, Source::Widget},
        {QStringLiteral("tempAPower"), Form::Text, Source::Widget},
        {QStringLiteral("heatsinkPower"), Form::Text, Source::Widget},
        {QStringLiteral("HBPower"), Form::Flag, Source::Widget},
        {QStringLiteral("FBPower"), Form::Flag, Source::Widget},
        {QStringLiteral("SEpower"), Form::Flag, Source::Widget},
        {QStringLiteral("DCpower"), Form::Flag, Source::Widget},
        {QStringLiteral("SIpower"), Form::Flag, Source::Widget},
        {QStringLiteral("ThermalCompoundPower"), Form::Text, Source::Widget},
        {QStringLiteral("yVariable"), Form::Integer, Source::Widget},
        {QStringLiteral("Fmin"), Form::Text, Source::Widget},
        {QStringLiteral("Fmax"), Form::Text, Source::Widget},
        // heatsink selector (from line 204)
        {QStringLiteral("HSchoosePart"), Form::Flag, Source::Widget},
        {QStringLiteral("HSchoosePackage"), Form::Flag, Source::Widget},
        {QStringLiteral("HSpart"), Form::Text, Source::Widget},
        {QStringLiteral("HSpackage"), Form::Text, Source::Widget},
        {QStringLiteral("HSrtheta"), Form::Text, Source::Widget},
        {QStringLiteral("HSenglish"), Form::Flag, Source::Widget},
        {QStringLiteral("HSmetric"), Form::Flag, Source::Widget},
        {QStringLiteral("HSconstCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("HSH"), Form::Text, Source::Widget},
        {QStringLiteral("HSL"), Form::Text, Source::Widget},
        {QStringLiteral("HSW"), Form::Text, Source::Widget},
        {QStringLiteral("HSWeight"), Form::Text, Source::Widget},
        {QStringLiteral("HSrelax"), Form::Integer, Source::Widget},
        {QStringLiteral("HSfluidCheckBox"), Form::Flag, Source::Widget},
        {QStringLiteral("HSfanCirc"), Form::Flag, Source::Widget},
        {QStringLiteral("HSfanDia"), Form::Text, Source::Widget},
        {QStringLiteral("HSfanRect"), Form::Flag, Source::Widget},
        {QStringLiteral("HSfanX"), Form::Text, Source::Widget},
        {QStringLiteral("HSfanY"), Form::Text, Source::Widget},
        // PWM control wizard (from line 223)
        {QStringLiteral("V1button"), Form::Flag, Source::Widget},
        {QStringLiteral("V2button"), Form::Flag, Source::Widget},
        {QStringLiteral("I1button"), Form::Flag, Source::Widget},
        {QStringLiteral("I2button"), Form::Flag, Source::Widget},
        {QStringLiteral("ampSelectorSCon"), Form::Text, Source::Widget},
        {QStringLiteral("SConVinMax"), Form::Text, Source::Widget},
        {QStringLiteral("SConVinMin"), Form::Text, Source::Widget},
        {QStringLiteral("SConFreq"), Form::Text, Source::Widget},
        {QStringLiteral("SConVs"), Form::Text, Source::Widget},
        {QStringLiteral("SConVcc"), Form::Text, Source::Widget},
        {QStringLiteral("SConFsw"), Form::Text, Source::Widget},
        {QStringLiteral("SConVoutMax"), Form::Text, Source::Widget},
        {QStringLiteral("SConVoutMin"), Form::Text, Source::Widget},
        {QStringLiteral("SConHideBlocks"), Form::Flag, Source::Widget},
        {QStringLiteral("SConTab"), Form::Integer, Source::Widget},
        // Howland current pump (from line 238)
        {QStringLiteral("IHCPRin"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRinT"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRfn"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRfnT"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRfp"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRfpT"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRs"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRsT"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRd"), Form::Text, Source::Member},
        {QStringLiteral("IHCPCd"), Form::Text, Source::Member},
        {QStringLiteral("IHCPRload"), Form::Text, Source::Member},
        {QStringLiteral("IHCPCload"), Form::Text, Source::Member},
        {QStringLiteral("IHCPLload"), Form::Text, Source::Member},
        {QStringLiteral("IHCPFreq"), Form::Text, Source::Member},
        {QStringLiteral("IHCPampSelector"), Form::Text, Source::Widget},
        {QStringLiteral("IHCPmaxIout"), Form::Text, Source::Widget},
        {QStringLiteral("IHCPminIout"), Form::Text, Source::Widget},
        {QStringLiteral("IHCPtrans"), Form::Text, Source::Widget},
        {QStringLiteral("IHCPtol"), Form::Text, Source::Widget},
        {QStringLiteral("IHCPInvButton"), Form::Flag, Source::Widget},
        {QStringLiteral("IHCPNonButton"), Form::Flag, Source::Widget},
        // three-phase motor (from line 259)
        {QStringLiteral("P3ampSelector"), Form::Text, Source::Widget},
        {QStringLiteral("P3Vs"), Form::Text, Source::Widget},
        {QStringLiteral("P3Vcc"), Form::Text, Source::Widget},
        {QStringLiteral("P3Fsw"), Form::Text, Source::Widget},
        {QStringLiteral("P3commType"), Form::Text, Source::Widget},
        {QStringLiteral("P3outputTabs"), Form::Integer, Source::Widget},
        {QStringLiteral("P3Tambient"), Form::Text, Source::Widget},
        {QStringLiteral("P3heatsink"), Form::Text, Source::Widget},
        {QStringLiteral("P3TIM"), Form::Text, Source::Widget},
        {QStringLiteral("P3dispDC"), Form::Flag, Source::Widget},
        {QStringLiteral("P3removeDiode"), Form::Flag, Source::Widget},
        {QStringLiteral("P3removeSwitching"), Form::Flag, Source::Widget},
        {QStringLiteral("P3startTime"), Form::Text, Source::Widget},
        {QStringLiteral("P3endTime"), Form::Text, Source::Widget},
        {QStringLiteral("ThreePhaseR"), Form::Text, Source::Member},
        {QStringLiteral("ThreePhaseL"), Form::Text, Source::Member},
        {QStringLiteral("ThreePhaseVemf"), Form::Text, Source::Member},
        {QStringLiteral("ThreePhaseCycleLength"), Form::Text, Source::Member},
        {QStringLiteral("ThreePhasenPoles"), Form::Integer, Source::Member},
        {QStringLiteral("ThreePhaseisDelta"), Form::Flag, Source::Member},
        {QStringLiteral("ThreePhaseControlVariable"), Form::Integer, Source::Member},
        {QStringLiteral("ThreePhaseControlType"), Form::Integer, Source::Member},
        {QStringLiteral("ThreePhaseConstantVariable"), Form::Integer, Source::Member},
        {QStringLiteral("ThreePhaseControlAmplitude"), Form::Text, Source::Member},
        {QStringLiteral("ThreePhaseConstantAmplitude"), Form::Text, Source::Member},
        {QStringLiteral("ThreePhaseisLinear"), Form::Flag, Source::Member},
        {QStringLiteral("ThreePhaseTimeVector"), Form::List, Source::Member},
        {QStringLiteral("ThreePhaseAmplitudeVector"), Form::List, Source::Member},
        {QStringLiteral("P3graphables"), Form::List, Source::Member},
        // examples page (from line 288)
        {QStringLiteral("ExampleSelection"), Form::Integer, Source::Widget},
    };
    return keys;
}

int currentKeyIndex(const QString &key)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        const QVector<KeyRule> &keys = currentKeys();
        for (int i = 0; i < keys.size(); ++i)
            h.insert(keys[i].key, i);
        return h;
    }();
    return index.value(key, -1);
}

QStringList quadrupleFields(const QString &key)
{
    if (key == QLatin1String("Lparasitics"))
        return {QStringLiteral("LESRC"), QStringLiteral("LESRB"), QStringLiteral("LEPCC"),
                QStringLiteral("LEPCB")};
    if (key == QLatin1String("Pparasitics"))
        return {QStringLiteral("PESRC"), QStringLiteral("PESRB"), QStringLiteral("PESLC"),
                QStringLiteral("PESLB")};
    if (key == QLatin1String("Eparasitics"))
        return {QStringLiteral("EESRC"), QStringLiteral("EESRB"), QStringLiteral("EESLC"),
                QStringLiteral("EESLB")};
    return {};
}

QString flagValue(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString integerValue(int number)
{
    return QString::number(number);
}

QString partsValue(const QStringList &parts)
{
    return parts.join(QLatin1Char(' '));
}

QString listValue(const QStringList &items)
{
    QString text;
    for (const QString &item : items)
        text += item + QLatin1Char(' ');
    return text;
}

QString removeBlanks(QString text)
{
    return text.remove(QLatin1Char(' '));
}

QByteArray writeDesign(const QVector<Entry> &entries, const QString &release)
{
    // The stream's default encoding is the locale's, as in every release before this one, so
    // that files keep opening in older releases on the same machine.
    QByteArray bytes;
    QTextStream out(&bytes, QIODevice::WriteOnly);
    out << kHeader << '\n';
    out << "Version: " << release << '\n';
    for (const Entry &e : entries)
        out << e.key << ": " << e.value << '\n';
    out.flush();
    return bytes;
}

int integerOf(const QString &value, bool *ok)
{
    bool read = false;
    const int n = value.toInt(&read, 10);
    if (ok) *ok = read;
    return read ? n : 0;
}

bool flagOf(const QString &value, bool *ok)
{
    return integerOf(value, ok) != 0;
}

QStringList partsOf(const QString &value)
{
    return value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QStringList fixedPartsOf(const QString &value, int count)
{
    const QStringList kept = value.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    if (kept.size() == count) return kept;
    return partsOf(value);
}

ParsedDesign parseDesign(const QString &text)
{
    ParsedDesign design;
    // Line by line through the text, without a list of every line first: a design file may
    // hold a million lines, and a copy of each costs as much as the rest of reading. Keys and
    // values that come again share the text of their first coming, so that a file repeating
    // its design takes no more memory than it must.
    QHash<QStringRef, QString> seen;
    const auto shared = [&seen](const QStringRef &part) {
        const auto it = seen.constFind(part);
        return it != seen.constEnd() ? *it : *seen.insert(part, part.toString());
    };
    design.lines.reserve(text.count(QLatin1Char('\n')) + 1);
    bool headerSeen = false;
    int number = 0;
    for (int start = 0;;) {
        int end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) end = text.size();
        ++number;
        const QStringRef line = text.midRef(start, end - start);
        if (!line.isEmpty()) {
            design.lastLineNumber = number;
            if (!headerSeen) {
                headerSeen = true;
                design.isDesign = line == kHeader;
                design.crLineEnds = line.size() == kHeader.size() + 1 && line.startsWith(kHeader) &&
                                    line.endsWith(QLatin1Char('\r'));
                if (!design.isDesign) return design;
            } else {
                FileLine l;
                l.number = number;
                const int colon = line.indexOf(QLatin1Char(':'));
                l.key = shared(colon < 0 ? line : line.left(colon));
                const int blank = line.indexOf(QLatin1Char(' '));
                l.value = shared(blank < 0 ? line : line.mid(blank + 1));
                design.lines.append(l);
            }
        }
        if (end == text.size()) break;
        start = end + 1;
    }
    return design;
}

ParsedDesign parseDesign(const QByteArray &bytes)
{
    QTextStream in(bytes);
    return parseDesign(in.readAll());
}

QString versionOf(const ParsedDesign &design)
{
    QString version;
    for (const FileLine &l : design.lines)
        if (l.key == QLatin1String("Version")) version = l.value;
    return version;
}

QStringList missingKeys(const ParsedDesign &design)
{
    QVector<bool> seen(currentKeys().size(), false);
    for (const FileLine &l : design.lines) {
        const int i = currentKeyIndex(l.key);
        if (i >= 0) seen[i] = true;
    }
    QStringList missing;
    for (int i = 0; i < seen.size(); ++i)
        if (!seen[i]) missing << currentKeys()[i].key;
    return missing;
}

} // namespace designfile
