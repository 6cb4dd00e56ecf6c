// The design file format without a window: the key table, how values are written and cut back
// out of a file, and what the lines of older releases become.
#include "designfile/designformat.h"
#include "designfile/designreader.h"
#include "values/engvalues.h"

#include <QSet>
#include <QtTest>

using namespace designfile;

namespace {

QVector<Assignment> translateAll(DesignReader &reader, const QString &text, WindowState now = {})
{
    QVector<Assignment> out;
    for (const FileLine &line : parseDesign(text).lines)
        out += reader.translate(line, now);
    return out;
}

QString describe(const QVector<Assignment> &as)
{
    QStringList parts;
    for (const Assignment &a : as)
        parts << a.key + QLatin1Char('=') + (a.firstItem ? QStringLiteral("<first>") : a.value);
    return parts.join(QLatin1Char('|'));
}

// Stand-ins for the catalog: the names show which list was asked and with what index.
CatalogIndexNames fakeNames()
{
    return {[](int i) { return QStringLiteral("amp%1").arg(i); },
            [](int i) { return QStringLiteral("host%1").arg(i); },
            [](int i) { return QStringLiteral("pwm%1").arg(i); }};
}

const QString kHead = QStringLiteral("KEST AMPWRIGHT SAVED PREFERENCES\n");
const QString kOld = kHead + QStringLiteral("Version: 6.2\n");
const QString kNew = kHead + QStringLiteral("Version: 9.0.2\n");

} // namespace

class TestDesignFormat : public QObject
{
    Q_OBJECT

private slots:
    void keyTableOrder_data();
    void keyTableOrder();
    void keyTableShape();
    void valueTexts();
    void writtenFile();
    void parsing_data();
    void parsing();
    void lastLineWithoutLineFeed();
    void integersAndFlags_data();
    void integersAndFlags();
    void fixedParts_data();
    void fixedParts();
    void missingKeysOfCutFile();

    void versionRule_data();
    void versionRule();
    void olderPartSelectors();
    void olderKeys_data();
    void olderKeys();
    void olderSignalTab_data();
    void olderSignalTab();
    void olderLoad_data();
    void olderLoad();
    void olderLoadAtZeroFrequency();
    void olderKeysReadTheWindow();
    void garbageValues_data();
    void garbageValues();
};

void TestDesignFormat::keyTableOrder_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("line");
    // The first key of each group of the file, its last key and a few in between.
    const std::pair<const char *, int> rows[] = {{"Page", 3},
                                                 {"CompOption", 4},
                                                 {"sweepIHCP", 9},
                                                 {"ResS", 10},
                                                 {"FreqP", 21},
                                                 {"SConRint", 22},
                                                 {"SConCv", 40},
                                                 {"LPScurrent", 41},
                                                 {"LPSRelax", 50},
                                                 {"AmpSelecterSOA", 51},
                                                 {"SOAtabWidget", 58},
                                                 {"NumParallel", 99},
                                                 {"AmpSelectorStab", 100},
                                                 {"HidePhaseLegend", 123},
                                                 {"hostCng", 142},
                                                 {"SPScurrent", 143},
                                                 {"ampSelectorFilter", 149},
                                                 {"percentAttenuation", 168},
                                                 {"P1", 169},
                                                 {"L5", 180},
                                                 {"Lparasitics", 183},
                                                 {"Fmax", 203},
                                                 {"HSchoosePart", 204},
                                                 {"HSfanY", 222},
                                                 {"V1button", 223},
                                                 {"SConTab", 237},
                                                 {"IHCPRin", 238},
                                                 {"IHCPNonButton", 258},
                                                 {"P3ampSelector", 259},
                                                 {"ThreePhaseR", 273},
                                                 {"P3graphables", 287},
                                                 {"ExampleSelection", 288}};
    for (const auto &r : rows)
        QTest::newRow(r.first) << QString::fromLatin1(r.first) << r.second;
}

void TestDesignFormat::keyTableOrder()
{
    QFETCH(QString, key);
    QFETCH(int, line);
    QCOMPARE(currentKeyIndex(key) + 3, line);
}

void TestDesignFormat::keyTableShape()
{
    const QVector<KeyRule> &keys = currentKeys();
    QCOMPARE(keys.size(), 286);
    QSet<QString> names;
    int widgets = 0, members = 0, fields = 0;
    for (const KeyRule &k : keys) {
        names.insert(k.key);
        widgets += k.source == Source::Widget;
        members += k.source == Source::Member;
        fields += k.source == Source::Fields;
        QVERIFY2(!k.key.contains(QLatin1Char(':')) && !k.key.contains(QLatin1Char(' ')),
                 qPrintable(k.key));
    }
    QCOMPARE(names.size(), 286);
    QCOMPARE(widgets, 168);
    QCOMPARE(members, 115);
    QCOMPARE(fields, 3);
    QCOMPARE(currentKeyIndex("page"), -1);
    QCOMPARE(currentKeyIndex("Version"), -1);
    QCOMPARE(quadrupleFields("Pparasitics"), QStringList({"PESRC", "PESRB", "PESLC", "PESLB"}));
}

void TestDesignFormat::valueTexts()
{
    QCOMPARE(flagValue(true), QStringLiteral("1"));
    QCOMPARE(flagValue(false), QStringLiteral("0"));
    QCOMPARE(integerValue(-1), QStringLiteral("-1"));
    QCOMPARE(integerValue(12345), QStringLiteral("12345"));
    QCOMPARE(partsValue({"0", "open", "short"}), QStringLiteral("0 open short"));
    QCOMPARE(partsValue({"", "0", "0"}), QStringLiteral(" 0 0"));
    QCOMPARE(listValue({"0", "1", "2", "3", "4"}), QStringLiteral("0 1 2 3 4 "));
    QCOMPARE(listValue({}), QString());
    QCOMPARE(removeBlanks(" 4.7 k\t "), QStringLiteral("4.7k\t"));
}

void TestDesignFormat::writtenFile()
{
    const QByteArray bytes = writeDesign(
        {{"Page", "0"}, {"LPScurrent", ""}, {"SOAVs_pos", " 5 0 "}, {"ThreePhaseTimeVector", ""}},
        "9.0.2");
    QCOMPARE(bytes, QByteArray("KEST AMPWRIGHT SAVED PREFERENCES\n"
                               "Version: 9.0.2\n"
                               "Page: 0\n"
                               "LPScurrent: \n"
                               "SOAVs_pos:  5 0 \n"
                               "ThreePhaseTimeVector: \n"));
}

void TestDesignFormat::parsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isDesign");
    QTest::addColumn<QStringList>("lines"); // key=value of each line after the header

    QTest::newRow("header only") << kHead << true << QStringList();
    QTest::newRow("empty file") << QString() << false << QStringList();
    QTest::newRow("other first line") << QStringLiteral("Hello\n") << false << QStringList();
    QTest::newRow("other first line with CR LF")
        << QStringLiteral("Hello\r\nPage: 1\r\n") << false << QStringList();
    QTest::newRow("header in small letters")
        << QStringLiteral("kest ampwright saved preferences\nPage: 1\n") << false << QStringList();
    QTest::newRow("carriage returns keep the header from matching")
        << QStringLiteral("KEST AMPWRIGHT SAVED PREFERENCES\r\nPage: 1\r\n") << false
        << QStringList();
    QTest::newRow("blank lines anywhere vanish")
        << QStringLiteral("\n\nKEST AMPWRIGHT SAVED PREFERENCES\n\nPage: 4\n\n\nLPSRelax: 2\n")
        << true << QStringList({"Page=4", "LPSRelax=2"});
    QTest::newRow("no blank: the whole line is the value")
        << kHead + QStringLiteral("Page:3\n") << true << QStringList({"Page=Page:3"});
    QTest::newRow("blanks inside and at the end stay")
        << kHead + QStringLiteral("SOAVs_pos: 5 0\nSOAVs_neg: -50  \n") << true
        << QStringList({"SOAVs_pos=5 0", "SOAVs_neg=-50  "});
    QTest::newRow("empty value") << kHead + QStringLiteral("LPScurrent: \n") << true
                                 << QStringList({"LPScurrent="});
    QTest::newRow("no colon: the line is the key")
        << kHead + QStringLiteral("Page 3\n") << true << QStringList({"Page 3=3"});
    QTest::newRow("first blank before the colon")
        << kHead + QStringLiteral("a b: c\n") << true << QStringList({"a b=b: c"});
    QTest::newRow("second colon belongs to the value")
        << kHead + QStringLiteral("SOAfreq: 1:2\n") << true << QStringList({"SOAfreq=1:2"});
}

void TestDesignFormat::parsing()
{
    QFETCH(QString, text);
    QFETCH(bool, isDesign);
    QFETCH(QStringList, lines);
    const ParsedDesign d = parseDesign(text);
    QCOMPARE(d.isDesign, isDesign);
    QStringList got;
    for (const FileLine &l : d.lines)
        got << l.key + QLatin1Char('=') + l.value;
    QCOMPARE(got, lines);
    QCOMPARE(d.crLineEnds, text.startsWith(QStringLiteral("KEST AMPWRIGHT SAVED PREFERENCES\r\n")));
}

void TestDesignFormat::lastLineWithoutLineFeed()
{
    const ParsedDesign d = parseDesign(kHead + QStringLiteral("Page: 4\n\nSOAVs_pos: 5"));
    QVERIFY(d.isDesign);
    QCOMPARE(d.lines.size(), 2);
    QCOMPARE(d.lines[1].key, QStringLiteral("SOAVs_pos"));
    QCOMPARE(d.lines[1].value, QStringLiteral("5"));
    QCOMPARE(d.lines[1].number, 4);
    QCOMPARE(d.lastLineNumber, 4);

    const ParsedDesign header = parseDesign(QStringLiteral("KEST AMPWRIGHT SAVED PREFERENCES"));
    QVERIFY(header.isDesign);
    QVERIFY(header.lines.isEmpty());
}

void TestDesignFormat::integersAndFlags_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("integer");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("flag");
    QTest::newRow("zero") << "0" << 0 << true << false;
    QTest::newRow("one") << "1" << 1 << true << true;
    QTest::newRow("any non-zero is true") << "2" << 2 << true << true;
    QTest::newRow("negative") << "-1" << -1 << true << true;
    QTest::newRow("word") << "yes" << 0 << false << false;
    QTest::newRow("decimal point") << "1.0" << 0 << false << false;
    QTest::newRow("empty") << "" << 0 << false << false;
    QTest::newRow("too large for an int") << "99999999999" << 0 << false << false;
}

void TestDesignFormat::integersAndFlags()
{
    QFETCH(QString, value);
    QFETCH(int, integer);
    QFETCH(bool, ok);
    QFETCH(bool, flag);
    bool read = !ok;
    QCOMPARE(integerOf(value, &read), integer);
    QCOMPARE(read, ok);
    QCOMPARE(flagOf(value), flag);
}

void TestDesignFormat::fixedParts_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("as written") << "1m 0.2 10p" << 3 << QStringList({"1m", "0.2", "10p"});
    QTest::newRow("empty first part keeps its place") << " 0 0" << 3 << QStringList({"", "0", "0"});
    QTest::newRow("empty middle part") << "1u  5" << 3 << QStringList({"1u", "", "5"});
    QTest::newRow("hand-made double blanks") << "1  2  3" << 3 << QStringList({"1", "2", "3"});
    QTest::newRow("too few") << "1 2" << 3 << QStringList({"1", "2"});
    QTest::newRow("too many") << "1 2 3 4 5" << 4 << QStringList({"1", "2", "3", "4", "5"});
    QTest::newRow("empty") << "" << 3 << QStringList();
}

void TestDesignFormat::fixedParts()
{
    QFETCH(QString, value);
    QFETCH(int, count);
    QFETCH(QStringList, parts);
    QCOMPARE(fixedPartsOf(value, count), parts);
}

void TestDesignFormat::missingKeysOfCutFile()
{
    QVector<Entry> all;
    for (const KeyRule &k : currentKeys())
        all.append({k.key, "0"});
    QString text = QString::fromLocal8Bit(writeDesign(all, "9.0.2"));
    QVERIFY(missingKeys(parseDesign(text)).isEmpty());
    QCOMPARE(versionOf(parseDesign(text)), QStringLiteral("9.0.2"));

    // Cut inside the key of the second-last line.
    text.chop(QStringLiteral("ExampleSelection: 0\n").size() + 8);
    const ParsedDesign cut = parseDesign(text);
    QCOMPARE(missingKeys(cut), QStringList({"P3graphables", "ExampleSelection"}));
}

void TestDesignFormat::versionRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selector"); // what AmpSelecterSOA: 8 becomes
    QTest::newRow("no Version line") << kHead + "AmpSelecterSOA: 8\n"
                                     << "amp8";
    QTest::newRow("release 6") << kHead + "Version: 6.9.9\nAmpSelecterSOA: 8\n"
                               << "amp8";
    QTest::newRow("release 7") << kHead + "Version: 7\nAmpSelecterSOA: 8\n"
                               << "8";
    QTest::newRow("this release") << kHead + "Version: 9.0.2\nAmpSelecterSOA: 8\n"
                                  << "8";
    QTest::newRow("release 10") << kHead + "Version: 10.1\nAmpSelecterSOA: 8\n"
                                << "8";
    QTest::newRow("no digits before the point") << kHead + "Version: .9\nAmpSelecterSOA: 8\n"
                                                << "amp8";
    QTest::newRow("not a number") << kHead + "Version: nine\nAmpSelecterSOA: 8\n"
                                  << "amp8";
    QTest::newRow("Version below the selector") << kHead + "AmpSelecterSOA: 8\nVersion: 9.0.2\n"
                                                << "amp8";
    QTest::newRow("a later older Version does not set it again")
        << kHead + "Version: 9.0.2\nVersion: 6\nAmpSelecterSOA: 8\n"
        << "8";
}

void TestDesignFormat::versionRule()
{
    QFETCH(QString, text);
    QFETCH(QString, selector);
    DesignReader reader(fakeNames());
    const QVector<Assignment> as = translateAll(reader, text);
    QCOMPARE(as.size(), 1);
    QCOMPARE(as[0].key, QStringLiteral("AmpSelecterSOA"));
    QCOMPARE(as[0].value, selector);
}

void TestDesignFormat::olderPartSelectors()
{
    DesignReader reader(fakeNames());
    const QVector<Assignment> as =
        translateAll(reader, kOld + "AmpSelecterSOA: 8\nAmpSelectorStab: 4\nIHCPampSelector: 16\n"
                                    "hostSelector: 11\nampSelectorFilter: 1\nampSelectorPower: 2\n"
                                    "ampSelectorSCon: 4\nP3ampSelector: NV321\nHSpart: 7\n"
                                    "HSpackage: TO3\n");
    QCOMPARE(describe(as), QStringLiteral("AmpSelecterSOA=amp8|AmpSelectorStab=amp4|"
                                          "IHCPampSelector=amp16|hostSelector=host11|"
                                          "ampSelectorFilter=pwm1|ampSelectorPower=pwm2|"
                                          "ampSelectorSCon=pwm4|P3ampSelector=NV321|"
                                          "HSpart=<first>|HSpackage=<first>"));
    QVERIFY(reader.olderRelease());

    DesignReader current(fakeNames());
    QCOMPARE(describe(translateAll(current, kNew + "HSpart: HS-33\nhostSelector: OP07\n")),
             QStringLiteral("HSpart=HS-33|hostSelector=OP07"));
    QVERIFY(!current.olderRelease());
}

void TestDesignFormat::olderKeys_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("assignments");
    QTest::newRow("supplies") << "Vs_pos: 40\nVs_neg: -40\n"
                              << "SOAVs_pos=40|SOAVs_neg=-40";
    QTest::newRow("signal limits") << "Vo_max: 30\nVo_min: -3 0\n"
                                   << "SOAmaxOut=30|SOAminOut=-3 0";
    QTest::newRow("signal type and boost") << "SignalTypeBox: 1\nboostCheckBox: 1\n"
                                           << "SignalType=1|boostSup=1";
    QTest::newRow("maxOut odd is a voltage") << "maxOut: 1\nmaxOut: 3\n"
                                             << "SOAVout=1|SOAVout=1";
    QTest::newRow("maxOut even is a current") << "maxOut: 2\nmaxOut: 0\n"
                                              << "SOAVout=0|SOAVout=0";
    QTest::newRow("SOAmaxLabel") << "SOAmaxLabel: Max I_out\nSOAmaxLabel: Max V_out\n"
                                    "SOAmaxLabel: max I_out\n"
                                 << "SOAVout=0|SOAVout=1|SOAVout=1";
    QTest::newRow("SOAprevTab") << "SOAprevTab: 2\n"
                                << "SOAprevTab=2";
    // 25 microseconds: 25e-6 s written with a prefix.
    QTest::newRow("trapezoid times in microseconds")
        << "tRise: 25\ntHigh: 1.5k\ntFall: 0.5\ntLow: short\n"
        << "SOAtRise=25 u|SOAtHigh=1.5 m|SOAtFall=500 n|SOAtLow=0 ";
    QTest::newRow("Z_load and theta_load alone set nothing") << "Z_load: 10\ntheta_load: 0\n"
                                                             << "";
    QTest::newRow("unknown key") << "Frobnicate: 1\n"
                                 << "";
}

void TestDesignFormat::olderKeys()
{
    QFETCH(QString, lines);
    QFETCH(QString, assignments);
    DesignReader reader(fakeNames());
    QCOMPARE(describe(translateAll(reader, kOld + lines)), assignments);
    QVERIFY(reader.problems().isEmpty());
    // Older keys in a file of this release are read the same way.
    DesignReader current(fakeNames());
    QCOMPARE(describe(translateAll(current, kNew + lines)), assignments);
}

void TestDesignFormat::olderSignalTab_data()
{
    QTest::addColumn<int>("tabWidget");
    QTest::addColumn<int>("prevTab");
    QTest::addColumn<QString>("assignments");
    QTest::newRow("sine") << 0 << 2 << "SignalType=0|SOAtabWidget=0";
    QTest::newRow("trapezoid") << 1 << 2 << "SignalType=1|SOAtabWidget=0";
    // The motor is signal type 3 in this release (2 is an uploaded waveform).
    QTest::newRow("motor") << 2 << 0 << "SignalType=3|SOAtabWidget=1|loadTypeBox=DC Motor";
    QTest::newRow("third tab after sine") << 3 << 0 << "SignalType=0|SOAtabWidget=2";
    QTest::newRow("third tab after trapezoid") << 3 << 1 << "SignalType=1|SOAtabWidget=2";
    QTest::newRow("third tab after motor")
        << 3 << 2 << "SignalType=3|SOAtabWidget=2|loadTypeBox=DC Motor";
    QTest::newRow("third tab, unknown previous") << 3 << 5 << "SOAtabWidget=2";
    QTest::newRow("other") << 4 << 0 << "";
    QTest::newRow("negative") << -1 << 0 << "";
}

void TestDesignFormat::olderSignalTab()
{
    QFETCH(int, tabWidget);
    QFETCH(int, prevTab);
    QFETCH(QString, assignments);
    DesignReader reader(fakeNames());
    WindowState now;
    now.soaPrevTab = prevTab;
    QCOMPARE(describe(translateAll(reader, kOld + QStringLiteral("tabWidget: %1\n").arg(tabWidget),
                                   now)),
             assignments);
}

void TestDesignFormat::olderLoad_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("assignments");
    QTest::newRow("resistive, 10 ohm")
        << "Z_load: 10\ntheta_load: 0\nSOAfreq: 1k\n"
        << "SOAfreq=1k|SOA_series=1|SOA_Rload=10 |SOA_Lload=short|SOA_Cload=short";
    // 10 cos 30° = 8.66 ohm; 10 sin 30° / (2π · 1 kHz) = 5 / 6283.19 = 795.8 µH.
    QTest::newRow("inductive, 30 degrees")
        << "Z_load: 10\ntheta_load: 30\nSOAfreq: 1k\n"
        << "SOAfreq=1k|SOA_series=1|SOA_Rload=8.66 |SOA_Lload=796 u|SOA_Cload=short";
    // 1 / (2 · 10 · sin 30° · π · 1 kHz) = 1 / 31415.9 = 31.8 µF.
    QTest::newRow("capacitive, -30 degrees")
        << "Z_load: 10\ntheta_load: -30\nSOAfreq: 1k\n"
        << "SOAfreq=1k|SOA_series=1|SOA_Rload=8.66 |SOA_Cload=31.8 u|SOA_Lload=short";
    // 100 · cos 90° is 6e-15 in floating point; sin 90° = 1: 100 / (2π · 50) = 318 mH.
    QTest::newRow("pure inductance")
        << "Z_load: 100\ntheta_load: 90\nSOAfreq: 50\n"
        << "SOAfreq=50|SOA_series=1|SOA_Rload=6.12 f|SOA_Lload=318 m|SOA_Cload=short";
    QTest::newRow("no load magnitude: a current file") << "SOAfreq: 2k\n"
                                                       << "SOAfreq=2k";
    QTest::newRow("magnitude too small to count") << "Z_load: 0.0000001\nSOAfreq: 2k\n"
                                                  << "SOAfreq=2k";
    QTest::newRow("the last Z_load counts") << "Z_load: 10\nZ_load: 0\nSOAfreq: 2k\n"
                                            << "SOAfreq=2k";
    QTest::newRow("capacitive load of the trapezoid, 100 nF")
        << "SignalTypeBox: 1\ncapLoad: 100\n"
        << "SignalType=1|SOA_Cload=100 n|SOA_Rload=short|SOA_Lload=short|SOA_series=1";
}

void TestDesignFormat::olderLoad()
{
    QFETCH(QString, lines);
    QFETCH(QString, assignments);
    DesignReader reader(fakeNames());
    // capLoad reads the signal type the window holds at its line: apply SignalType as it comes.
    WindowState now;
    QVector<Assignment> out;
    for (const FileLine &line : parseDesign(kOld + lines).lines) {
        const QVector<Assignment> as = reader.translate(line, now);
        for (const Assignment &a : as)
            if (a.key == QLatin1String("SignalType")) now.signalType = a.value.toInt();
        out += as;
    }
    QCOMPARE(describe(out), assignments);
    QVERIFY(reader.problems().isEmpty());
}

void TestDesignFormat::olderLoadAtZeroFrequency()
{
    DesignReader reader(fakeNames());
    const QVector<Assignment> as =
        translateAll(reader, kOld + "Z_load: 10\ntheta_load: 60\nSOAfreq: 0\n");
    QCOMPARE(describe(as),
             QStringLiteral("SOAfreq=0|SOA_series=1|SOA_Rload=5 |SOA_Lload=short|SOA_Cload=short"));
    QCOMPARE(reader.problems().size(), 1);
    QVERIFY2(reader.problems()[0].startsWith("line 5, SOAfreq: "),
             qPrintable(reader.problems()[0]));
}

void TestDesignFormat::olderKeysReadTheWindow()
{
    // capLoad acts only while the window's signal is the trapezoid; the motor keys take the
    // signal maximum the window holds when their line is read.
    DesignReader reader(fakeNames());
    WindowState now;
    now.signalType = 0;
    now.soaMaxOut = QStringLiteral("35");
    QCOMPARE(describe(translateAll(reader,
                                   kOld + "capLoad: 100\nMotorNormalOp: 0\n"
                                          "MotorStall: 1\nMotorReverse: 2\n",
                                   now)),
             QStringLiteral("MotorVDC=35|MotorBox=Stall|MotorVDC=35|MotorVDC=35"));
    now.signalType = 1;
    QCOMPARE(describe(translateAll(reader, kOld + "capLoad: 2.2k\nMotorReverse: 1\n", now)),
             QStringLiteral("SOA_Cload=2.2 u|SOA_Rload=short|SOA_Lload=short|SOA_series=1|"
                            "MotorBox=Reversal|MotorVDC=35"));
}

void TestDesignFormat::garbageValues_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("assignments");
    QTest::addColumn<QString>("problem");
    QTest::newRow("page that is no number")
        << "Page: two"
        << "Page=two"
        << "line 2, Page: \"two\" is not a whole number; 0 was used";
    QTest::newRow("flag that is no number")
        << "SOAVout: yes"
        << "SOAVout=yes"
        << "line 2, SOAVout: \"yes\" is not a whole number; 0 was used";
    QTest::newRow("signal type out of range")
        << "SignalType: 7"
        << ""
        << "line 2, SignalType: 7 is out of range; the present value was kept";
    QTest::newRow("older signal type out of range")
        << "SignalTypeBox: -1"
        << ""
        << "line 2, SignalTypeBox: -1 is out of range; the present value was kept";
    QTest::newRow("no poles")
        << "ThreePhasenPoles: 0"
        << ""
        << "line 2, ThreePhasenPoles: 0 is out of range; the present value was kept";
    QTest::newRow("control code") << "ThreePhaseControlType: 2"
                                  << ""
                                  << "line 2, ThreePhaseControlType: 2 is out of range; the "
                                     "present value was kept";
    QTest::newRow("compensation option") << "CompOption: 9"
                                         << ""
                                         << "line 2, CompOption: 9 is out of range; the present "
                                            "value was kept";
    QTest::newRow("short triple")
        << "P1: 1m 0.1"
        << "P1=1m 0.1"
        << "line 2, P1: 2 of 3 values; the missing ones were left as they were";
    QTest::newRow("long quadruple")
        << "Lparasitics: 1 2 3 4 5"
        << "Lparasitics=1 2 3 4 5"
        << "line 2, Lparasitics: 5 values where 4 belong; the first 4 were used";
    QTest::newRow("three graphs") << "P3graphables: I1 V1 At "
                                  << "P3graphables=I1 V1 At null null null "
                                  << "line 2, P3graphables: 3 graph entries where 6 belong";
    QTest::newRow("eight graphs") << "P3graphables: a b c d e f g h "
                                  << "P3graphables=a b c d e f "
                                  << "line 2, P3graphables: 8 graph entries where 6 belong";
    QTest::newRow("older part index that is no number")
        << "AmpSelecterSOA: LX30A"
        << "AmpSelecterSOA=amp0"
        << "line 2, AmpSelecterSOA: \"LX30A\" is not a whole number; 0 was used";
}

void TestDesignFormat::garbageValues()
{
    QFETCH(QString, line);
    QFETCH(QString, assignments);
    QFETCH(QString, problem);
    DesignReader reader(fakeNames());
    QCOMPARE(describe(translateAll(reader, kHead + line + "\n")), assignments);
    QCOMPARE(reader.problems(), QStringList(problem));
}

QTEST_GUILESS_MAIN(TestDesignFormat)
#include "tst_designformat.moc"
