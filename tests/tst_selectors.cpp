// The product selector engines: linear and switching selection (fits, close matches, bridge
// and parallel solutions, their prices), the heatsink filter with its units, the thermal
// resistance against flow with the required flow, and the product summary tables. Every
// catalog here is a small table written by the test, so that each row shows one case.
#include "catalog/amp.h"
#include "catalog/heatsink.h"
#include "catalog/packagestyle.h"
#include "catalog/pwm.h"
#include "selectors/heatsinkflow.h"
#include "selectors/heatsinkselector.h"
#include "selectors/linearselector.h"
#include "selectors/pwmselector.h"
#include "selectors/summarytables.h"
#include "values/engvalues.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace selectors;

namespace {

// Writes a tab-separated table (header first) into the test's folder and returns its path.
QString writeTable(const QString &name, const QStringList &lines)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write fixture");
    file.write(lines.join(QLatin1Char('\n')).toLatin1());
    return path;
}

struct LinearPart
{
    const char *name;
    double vss;
    double iCont;
    int channels;
    double slewRate;
    double price;
    double swingC = 5; // headroom per side at no load, V
    double swingB = 0;
    double swingA = 0;
    int psg = 1;
    int mGrade = 0;
    const char *package = "CE";
    double pd = 125;
    double iq = 26;
    double gbwp = 3000;
};

QVector<amp> linearCatalog(const QVector<LinearPart> &parts)
{
    QStringList lines{QStringLiteral(
        "ampName\tVss_max\tI_cont\tchannels\tPd_max\tIq_max\tpackageStyle\tboostOptions\t"
        "SROptions\tslewRate\tGBWP\tVswingC\tVswingB\tVswingA\trelative_price\tSiteLink\t"
        "PSGstatus\tMgradeAvailable")};
    for (const LinearPart &p : parts) {
        QStringList cells{QString::fromLatin1(p.name), QString::number(p.vss),
                          QString::number(p.iCont), QString::number(p.channels)};
        for (int c = 0; c < p.channels; ++c)
            cells << QString::number(p.pd);
        cells << QString::number(p.iq) << QString::fromLatin1(p.package) << "0"
              << "1" << QString::number(p.slewRate) << QString::number(p.gbwp)
              << QString::number(p.swingC) << QString::number(p.swingB) << QString::number(p.swingA)
              << QString::number(p.price)
              << QStringLiteral("https://example.invalid/") + QString::fromLatin1(p.name)
              << QString::number(p.psg) << QString::number(p.mGrade);
        lines << cells.join(QLatin1Char('\t'));
    }
    QVector<amp> list;
    amp().readFile(list, true, writeTable(QStringLiteral("linear.txt"), lines));
    return list;
}

QVector<packageStyle> packageCatalog()
{
    QVector<packageStyle> list;
    packageStyle().readFile(list, writeTable(QStringLiteral("packages.txt"),
                                             {"Code\tshortDesc\tfullDesc", "CE\tTO-3\t8-pin TO-3",
                                              "DP\tPSIP\t12-pin power SIP"}));
    return list;
}

// The selector fixture. With the base requirement (2 A, 80 Vpp, 5 V/µs) each part shows one
// case; headroom is 5 V per side unless a row says otherwise, so the swing is Vss - 10.
QVector<amp> selectorParts()
{
    return linearCatalog({
        {"FIT", 100, 5, 1, 10, 10},
        {"EDGE", 90, 2, 1, 5, 11},     // swing 80, 2 A, 5 V/µs: every figure exactly at the limit
        {"SWING", 80, 5, 1, 10, 12},   // swing 70: within 20 %
        {"AMPS", 100, 1.8, 1, 10, 13}, // 1.8 A: within 20 %
        {"SLOW", 100, 5, 1, 4.5, 14},  // 4.5 V/µs: within 20 %
        {"BRIDGE1", 60, 5, 1, 10, 15}, // swing 50: a bridge gives 100
        {"BRIDGE2", 60, 5, 2, 10, 16}, // the same in a dual package
        {"PAR", 100, 0.7, 2, 20, 17},  // three in parallel, two dual packages
        {"DEAD", 40, 0.1, 1, 1, 1},
        {"NORATING", 100, 0, 1, 20, 2},         // no current rating: never a parallel group
        {"KW307", 100, 5, 1, 10, 20, 30},       // fixed 10 V headroom, not the 30 V of its row
        {"CURVE", 100, 1, 1, 20, 9, 2, 1, 0.5}, // headroom 2 + I + 0.5·I² per side
    });
}

LinearRequirement baseLinear()
{
    LinearRequirement req;
    req.currentA = 2;
    req.vpp = 80;
    req.rate = RateInput::SlewRate;
    req.slewRateVus = 5;
    req.relaxPercent = 20;
    req.maxParallel = 3;
    return req;
}

QString verdictName(Verdict v)
{
    switch (v) {
    case Verdict::Fits:
        return QStringLiteral("fits");
    case Verdict::Close:
        return QStringLiteral("close");
    case Verdict::Bridge:
        return QStringLiteral("bridge");
    case Verdict::Parallel:
        return QStringLiteral("parallel");
    case Verdict::Hidden:
        return QStringLiteral("hidden");
    }
    return QString();
}

// One line per row: verdict, shown name, the changed figures and the tinted cells.
QString describe(const LinearRow &r)
{
    QStringList tints;
    if (r.tintName) tints << "name";
    if (r.tintCurrent) tints << "current";
    if (r.tintSwing) tints << "swing";
    if (r.tintSlewRate) tints << "slew";
    if (r.tintBandwidth) tints << "bandwidth";
    return QStringLiteral("%1 %2 I=%3 swing=%4 SR=%5 BW=%6 price=%7 tint=%8")
        .arg(verdictName(r.verdict), r.shownName)
        .arg(r.currentA)
        .arg(r.swingVpp)
        .arg(r.slewRateVus)
        .arg(r.bandwidthKHz)
        .arg(r.relativePrice)
        .arg(tints.join(QLatin1Char(',')));
}

QString describe(const PwmRow &r)
{
    QStringList tints;
    if (r.tintName) tints << "name";
    if (r.tintCurrent) tints << "current";
    if (r.tintVoltage) tints << "voltage";
    if (r.tintFrequency) tints << "frequency";
    return QStringLiteral("%1 %2 I=%3 Ipk=%4 V=%5 price=%6 tint=%7")
        .arg(verdictName(r.verdict), r.shownName)
        .arg(r.currentA)
        .arg(r.peakCurrentA)
        .arg(r.outputVpk)
        .arg(r.relativePrice)
        .arg(tints.join(QLatin1Char(',')));
}

template <class Row> const Row *rowNamed(const QVector<Row> &rows, const QString &name)
{
    for (const Row &r : rows)
        if (r.partName == name) return &r;
    return nullptr;
}

QVector<pwm> pwmCatalog()
{
    // Switch resistance is top_C + bot_C (the temperature terms are 0).
    const QStringList lines{
        "ampName\tVs_max\tI_cont\tI_pk\tPd_max\toutputs\tpackageStyle\tFsw_max\trelative_price\t"
        "top_C\ttop_V\tbot_C\tbot_V\tPSGstatus\tMgradeAvailable",
        "PFIT\t100\t20\t30\t50\t1\tDP\t500\t50\t0.05\t1\t0.05\t1\t1\t1",
        "PEDGE\t90\t10\t15\t40\t2\tDP\t200\t40\t0.5\t0\t0.5\t0\t1\t0",    // 80 V, 10 A, 20 kHz
        "PVOLT\t80\t20\t30\t40\t3\tDP\t500\t30\t0.05\t0\t0.05\t0\t1\t0",  // 79 V
        "PAMP\t100\t9\t12\t40\t5\tDP\t500\t31\t0.05\t0\t0.05\t0\t1\t0",   // 9 A
        "PFREQ\t100\t20\t30\t40\t2\tDP\t180\t32\t0.05\t0\t0.05\t0\t1\t0", // 18 kHz
        "PPAR\t100\t4\t6\t40\t2\tDP\t500\t30\t0.1\t0\t0.1\t0\t1\t0",      // 3 × 4 A
        "PMIDPAR\t100\t4\t6\t40\t2\tDP\t180\t33\t0.1\t0\t0.1\t0\t1\t0",   // 18 kHz, 3 × 4 A
        "PSLOWPAR\t100\t4\t6\t40\t2\tDP\t150\t34\t0.1\t0\t0.1\t0\t1\t0",  // 15 kHz
        "PZERO\t100\t0\t6\t40\t2\tDP\t500\t1\t0.1\t0\t0.1\t0\t1\t0",
    };
    QVector<pwm> list;
    pwm().readFile(list, 0, true, writeTable(QStringLiteral("pwm.txt"), lines));
    return list;
}

PwmRequirement basePwm()
{
    PwmRequirement req;
    req.currentA = 10;
    req.voltageV = 80;
    req.frequencyKHz = 20;
    req.relaxPercent = 20;
    req.maxParallel = 3;
    return req;
}

QVector<heatsink> heatsinkCatalog()
{
    const QStringList lines{
        "Name\tFreeAirTheta\tLength\tWidth\tHeight\tWeight\tnumPackages\tpackages\tA\tB\tC\t"
        "relative_price",
        "HS1\t2\t4\t3\t1\t5\t2\tCE\tCR\t1.6\t-0.005\t0.4\t20",
        "HS2\t3\t2\t1.5\t0.5\t1\t1\tCE\t2.5\t-0.004\t0.6\t5",
        "HS3\t1\t6\t5\t2\t16\t1\tDP\t0.8\t-0.003\t0.2\t40",
        "HS4H2O\t2.5\t5\t3\t1\t10\t2\tCE\tDP\t0.08\t-1.2\t0.05\t60",
        "HSNONE\t5\t1\t1\t1\t1\t0\tNA\t4\t-0.004\t1\t3",
        "FLAT\t3\t1\t1\t1\t1\t1\tCE\t1\t0\t1.5\t3",
    };
    QVector<heatsink> list;
    heatsink().readFile(list, writeTable(QStringLiteral("heatsinks.txt"), lines));
    return list;
}

heatsink sinkNamed(const QString &name)
{
    for (const heatsink &s : heatsinkCatalog())
        if (s.getName() == name) return s;
    qFatal("no such heatsink");
    return heatsink();
}

} // namespace

class tst_selectors : public QObject
{
    Q_OBJECT

private slots:
    void linearFixtureReads();
    void linearSelection_data();
    void linearSelection();
    void linearRateConversion_data();
    void linearRateConversion();
    void linearCatalogFill();
    void openCurrentSelectsNothing();
    void plainNames_data();
    void plainNames();
    void ampsToShare_data();
    void ampsToShare();

    void pwmSelection_data();
    void pwmSelection();
    void pwmOutputTypes();

    void metricRounding_data();
    void metricRounding();
    void heatsinkSelection_data();
    void heatsinkSelection();
    void envelopeEitherWayRound();
    void packageChoices();

    void rthetaCurve();
    void requiredFlow_data();
    void requiredFlow();
    void fanVolumeFlow();

    void summaryTables_data();
    void summaryTables();
};

void tst_selectors::linearFixtureReads()
{
    const QVector<amp> parts = selectorParts();
    QCOMPARE(parts.size(), 12);
    const amp &curve = parts.last();
    QCOMPARE(curve.getAmpName(), QStringLiteral("CURVE"));
    QCOMPARE(curve.getVswingA(0), 0.5);
    QCOMPARE(curve.getSlewRate(0), 20.0);
    QCOMPARE(parts.at(7).getPd_max(1), 125.0);
}

void tst_selectors::linearSelection_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("relax");
    QTest::addColumn<bool>("bridge");
    QTest::addColumn<bool>("parallel");
    QTest::addColumn<QString>("expected");

    // Bandwidth at 80 Vpp: trunc(SR·1000/3.14159/80), 39 kHz at 10 V/µs, 79 at 20 V/µs.
    QTest::newRow("fits") << "FIT" << 20 << false << false
                          << "fits FIT I=5 swing=90 SR=10 BW=39 price=10 tint=";
    QTest::newRow("every figure at its limit fits")
        << "EDGE" << 20 << false << false << "fits EDGE I=2 swing=80 SR=5 BW=19 price=11 tint=";
    QTest::newRow("short swing is close") << "SWING" << 20 << false << false
                                          << "close SWING I=5 swing=70 SR=10 BW=39 price=12 "
                                             "tint=name,swing";
    QTest::newRow("short current is close") << "AMPS" << 20 << false << false
                                            << "close AMPS I=1.8 swing=90 SR=10 BW=39 price=13 "
                                               "tint=name,current";
    QTest::newRow("slow part is close, bandwidth tinted too")
        << "SLOW" << 20 << false << false
        << "close SLOW I=5 swing=90 SR=4.5 BW=17 price=14 tint=name,slew,bandwidth";
    QTest::newRow("relax 0: a short swing is hidden")
        << "SWING" << 0 << false << false << "hidden SWING I=5 swing=70 SR=10 BW=39 price=12 tint=";
    QTest::newRow("relax 100: anything with a swing is close")
        << "DEAD" << 100 << false << false
        << "close DEAD I=0.1 swing=30 SR=1 BW=3 price=1 tint=name,current,swing,slew,bandwidth";
    QTest::newRow("bridge of a single amplifier costs two")
        << "BRIDGE1" << 20 << true << false
        << "bridge BRIDGE1-BRIDGE I=5 swing=100 SR=20 BW=78 price=30 tint=";
    QTest::newRow("bridge of a dual package costs one")
        << "BRIDGE2" << 20 << true << false
        << "bridge BRIDGE2-BRIDGE I=5 swing=100 SR=20 BW=78 price=16 tint=";
    QTest::newRow("bridge not asked for") << "BRIDGE1" << 20 << false << true
                                          << "hidden BRIDGE1 I=5 swing=50 SR=10 BW=39 price=15 "
                                             "tint=";
    QTest::newRow("close match is never a bridge")
        << "SWING" << 20 << true << true
        << "close SWING I=5 swing=70 SR=10 BW=39 price=12 tint=name,swing";
    // ceil(2 / 0.7) = 3 amplifiers; ceil(3 / 2) = 2 dual packages.
    QTest::newRow("three in parallel cost two dual packages")
        << "PAR" << 20 << false << true
        << "parallel PAR-PARALLEL (3) I=2.1 swing=90 SR=10 BW=39 price=34 tint=";
    // Headroom at 1 A each: 2 + 1 + 0.5 = 3.5 V per side.
    QTest::newRow("parallel swing with the current shared")
        << "CURVE" << 20 << false << true
        << "parallel CURVE-PARALLEL (2) I=2 swing=93 SR=10 BW=39 price=18 tint=";
    QTest::newRow("no current rating, no parallel group")
        << "NORATING" << 20 << false << true
        << "hidden NORATING I=0 swing=90 SR=20 BW=79 price=2 tint=";
    QTest::newRow("fixed headroom part")
        << "KW307" << 20 << false << false << "fits KW307 I=5 swing=80 SR=10 BW=39 price=20 tint=";
    // 2 A at the curve part: headroom 2 + 2 + 2 = 6 V per side.
    QTest::newRow("swing at the current")
        << "CURVE" << 20 << false << false << "hidden CURVE I=1 swing=88 SR=20 BW=79 price=9 tint=";
}

void tst_selectors::linearSelection()
{
    QFETCH(QString, part);
    QFETCH(int, relax);
    QFETCH(bool, bridge);
    QFETCH(bool, parallel);
    QFETCH(QString, expected);

    LinearRequirement req = baseLinear();
    req.relaxPercent = relax;
    req.showBridge = bridge;
    req.showParallel = parallel;
    const LinearSelection sel = selectLinear(selectorParts(), packageCatalog(), req);
    QCOMPARE(sel.rows.size(), 12);
    const LinearRow *row = rowNamed(sel.rows, part);
    QVERIFY(row);
    QCOMPARE(describe(*row), expected);
}

void tst_selectors::linearRateConversion_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("typed");
    QTest::addColumn<double>("vpp");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("slewRate");

    // The derived field is written with six significant digits, as the page does.
    QTest::newRow("10 V/us at 20 Vpp allows 159.155 kHz")
        << int(RateInput::SlewRate) << 10.0 << 20.0 << "159.155"
        << "10";
    QTest::newRow("100 kHz at 20 Vpp needs 6.28318 V/us")
        << int(RateInput::Frequency) << 100.0 << 20.0 << "100"
        << "6.28318";
    QTest::newRow("negative frequency counts by its size")
        << int(RateInput::Frequency) << -100.0 << 20.0 << "-100"
        << "6.28318";
    QTest::newRow("slew rate at 0 Vpp: any frequency")
        << int(RateInput::SlewRate) << 10.0 << 0.0 << "inf"
        << "10";
    QTest::newRow("no slew rate at 0 Vpp") << int(RateInput::SlewRate) << 0.0 << 0.0 << "nan"
                                           << "0";
    QTest::newRow("neither chosen") << int(RateInput::None) << 50.0 << 20.0 << "0"
                                    << "0";
}

void tst_selectors::linearRateConversion()
{
    QFETCH(int, rate);
    QFETCH(double, typed);
    QFETCH(double, vpp);
    QFETCH(QString, frequency);
    QFETCH(QString, slewRate);

    LinearRequirement req;
    req.vpp = vpp;
    req.rate = RateInput(rate);
    req.frequencyKHz = typed;
    req.slewRateVus = typed;
    const LinearSelection sel = selectLinear(selectorParts(), packageCatalog(), req);
    QCOMPARE(QString::number(sel.frequencyKHz, 'g', 6), frequency);
    QCOMPARE(QString::number(sel.slewRateVus, 'g', 6), slewRate);
    if (vpp == 0) {
        // Without a voltage the bandwidth column shows the gain-bandwidth product.
        QCOMPARE(sel.rows.first().bandwidthKHz, 3000.0);
    }
}

void tst_selectors::linearCatalogFill()
{
    const QVector<LinearRow> rows = linearCatalogRows(selectorParts(), packageCatalog());
    QCOMPARE(rows.size(), 12);
    const LinearRow *fit = rowNamed(rows, QStringLiteral("FIT"));
    QCOMPARE(fit->swingVpp, 90.0);       // 100 - 2·5
    QCOMPARE(fit->bandwidthKHz, 3000.0); // GBWP before any requirement
    QCOMPARE(fit->package, QStringLiteral("TO-3"));
    QCOMPARE(rowNamed(rows, QStringLiteral("KW307"))->swingVpp, 80.0);
    QCOMPARE(rowNamed(rows, QStringLiteral("CURVE"))->swingVpp, 96.0); // 100 - 2·2
    QCOMPARE(rows.at(7).index, 7);
    QCOMPARE(rows.at(7).verdict, Verdict::Fits);
}

void tst_selectors::openCurrentSelectsNothing()
{
    // "open" reads as 4294967295 A: no part carries it, none can share it.
    LinearRequirement req = baseLinear();
    req.currentA = infiniteValue;
    req.showBridge = req.showParallel = true;
    req.maxParallel = 10;
    for (const LinearRow &row : selectLinear(selectorParts(), packageCatalog(), req).rows) {
        QCOMPARE(row.verdict, Verdict::Hidden);
        QCOMPARE(row.parallelCount, 0);
    }

    PwmRequirement preq = basePwm();
    preq.currentA = infiniteValue;
    preq.showParallel = true;
    preq.maxParallel = 10;
    for (const PwmRow &row : selectPwm(pwmCatalog(), packageCatalog(), preq)) {
        QCOMPARE(row.verdict, Verdict::Hidden);
        QCOMPARE(row.parallelCount, 0);
    }
}

void tst_selectors::plainNames_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("plain");
    QTest::newRow("parallel") << "LX21-PARALLEL (3)"
                              << "LX21";
    QTest::newRow("bridge") << "LX26-BRIDGE"
                            << "LX26";
    QTest::newRow("plain") << "LX21"
                           << "LX21";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_selectors::plainNames()
{
    QFETCH(QString, shown);
    QFETCH(QString, plain);
    QCOMPARE(plainPartName(shown), plain);
}

void tst_selectors::ampsToShare_data()
{
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("perAmp");
    QTest::addColumn<int>("maxAmps");
    QTest::addColumn<int>("n");
    QTest::newRow("exact share") << 6.0 << 2.0 << 3 << 3;
    QTest::newRow("rounds up") << 6.1 << 2.0 << 4 << 4;
    QTest::newRow("more than allowed") << 6.1 << 2.0 << 3 << 0;
    QTest::newRow("decimal quotient") << 1.1 << 0.1 << 11 << 11; // 11.000000000000002
    QTest::newRow("no current") << 0.0 << 2.0 << 3 << 0;
    QTest::newRow("no rating") << 2.0 << 0.0 << 3 << 0;
    QTest::newRow("neither") << 0.0 << 0.0 << 3 << 0;
    QTest::newRow("open current") << infiniteValue << 1e-9 << 10 << 0;
    QTest::newRow("none allowed") << 2.0 << 1.0 << 0 << 0;
}

void tst_selectors::ampsToShare()
{
    QFETCH(double, current);
    QFETCH(double, perAmp);
    QFETCH(int, maxAmps);
    QFETCH(int, n);
    QCOMPARE(selectors::ampsToShare(current, perAmp, maxAmps), n);
}

void tst_selectors::pwmSelection_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("relax");
    QTest::addColumn<bool>("parallel");
    QTest::addColumn<int>("maxParallel");
    QTest::addColumn<QString>("expected");

    // 10 A, 80 V peak, 20 kHz after the filter.
    QTest::newRow("fits") << "PFIT" << 20 << false << 3
                          << "fits PFIT I=20 Ipk=30 V=97 price=50 tint="; // 100 - 2 - 0.1·10
    QTest::newRow("every figure at its limit fits")
        << "PEDGE" << 20 << false << 3 << "fits PEDGE I=10 Ipk=15 V=80 price=40 tint=";
    QTest::newRow("short voltage is close")
        << "PVOLT" << 20 << false << 3 << "close PVOLT I=20 Ipk=30 V=79 price=30 tint=name,voltage";
    QTest::newRow("short current is close")
        << "PAMP" << 20 << false << 3 << "close PAMP I=9 Ipk=12 V=99 price=31 tint=name,current";
    QTest::newRow("short bandwidth is close") << "PFREQ" << 20 << false << 3
                                              << "close PFREQ I=20 Ipk=30 V=99 price=32 "
                                                 "tint=name,frequency";
    QTest::newRow("relax 0 hides a near miss")
        << "PVOLT" << 0 << false << 3 << "hidden PVOLT I=20 Ipk=30 V=79 price=30 tint=";
    // ceil(10 / 4) = 3; 100 - 0.2·10/3 = 99.3 V.
    QTest::newRow("three in parallel")
        << "PPAR" << 20 << true << 3
        << "parallel PPAR-PARALLEL (3) I=12 Ipk=18 V=99 price=90 tint=";
    QTest::newRow("too many in parallel")
        << "PPAR" << 20 << true << 2 << "hidden PPAR I=4 Ipk=6 V=98 price=30 tint=";
    QTest::newRow("no parallel amplifiers allowed")
        << "PPAR" << 20 << true << 0 << "hidden PPAR I=4 Ipk=6 V=98 price=30 tint=";
    QTest::newRow("parallel group judged with the frequency tolerance")
        << "PMIDPAR" << 20 << true << 3
        << "parallel PMIDPAR-PARALLEL (3) I=12 Ipk=18 V=99 price=99 tint=";
    QTest::newRow("too slow for a parallel group")
        << "PSLOWPAR" << 20 << true << 3 << "hidden PSLOWPAR I=4 Ipk=6 V=98 price=34 tint=";
    QTest::newRow("no current rating, no parallel group")
        << "PZERO" << 20 << true << 10 << "hidden PZERO I=0 Ipk=6 V=98 price=1 tint=";
}

void tst_selectors::pwmSelection()
{
    QFETCH(QString, part);
    QFETCH(int, relax);
    QFETCH(bool, parallel);
    QFETCH(int, maxParallel);
    QFETCH(QString, expected);

    PwmRequirement req = basePwm();
    req.relaxPercent = relax;
    req.showParallel = parallel;
    req.maxParallel = maxParallel;
    const QVector<PwmRow> rows = selectPwm(pwmCatalog(), packageCatalog(), req);
    QCOMPARE(rows.size(), 9);
    const PwmRow *row = rowNamed(rows, part);
    QVERIFY(row);
    QCOMPARE(describe(*row), expected);
}

void tst_selectors::pwmOutputTypes()
{
    const QVector<PwmRow> rows = pwmCatalogRows(pwmCatalog(), packageCatalog());
    QCOMPARE(rows.at(0).outputType, QStringLiteral("Half Bridge"));
    QCOMPARE(rows.at(1).outputType, QStringLiteral("Full Bridge"));
    QCOMPARE(rows.at(2).outputType, QStringLiteral("Three Phase"));
    QCOMPARE(rows.at(3).outputType, QString()); // outputs 5
    QCOMPARE(rows.at(0).outputVpk, 98.0);       // no load: 100 - 1 - 1
    QCOMPARE(rows.at(0).bandwidthKHz, 50.0);
    QCOMPARE(rows.at(0).package, QStringLiteral("PSIP"));
}

void tst_selectors::metricRounding_data()
{
    QTest::addColumn<double>("english");
    QTest::addColumn<bool>("weight");
    QTest::addColumn<double>("metric");
    QTest::newRow("1 in") << 1.0 << false << 25.4;
    QTest::newRow("1.2 in = 30.48 mm, up to 30.5") << 1.2 << false << 30.5;
    QTest::newRow("0.1 in = 2.54 mm, up to 2.6") << 0.1 << false << 2.6;
    QTest::newRow("0.5 in") << 0.5 << false << 12.7;
    QTest::newRow("1 oz = 28.3495 g, up to 29") << 1.0 << true << 29.0;
    QTest::newRow("5 oz = 141.75 g, up to 142") << 5.0 << true << 142.0;
    QTest::newRow("0 oz") << 0.0 << true << 0.0;
}

void tst_selectors::metricRounding()
{
    QFETCH(double, english);
    QFETCH(bool, weight);
    QFETCH(double, metric);
    QCOMPARE(weight ? metricWeightG(english) : metricLengthMm(english), metric);
}

void tst_selectors::heatsinkSelection_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<double>("theta");
    QTest::addColumn<bool>("forced");
    QTest::addColumn<double>("relax");
    QTest::addColumn<double>("heightLimit");
    QTest::addColumn<QString>("expected"); // verdict and tinted cells per heatsink, in list order

    const double all = infiniteValue;
    QTest::newRow("free air, package CE")
        << "CE" << 2.5 << false << 0.1 << all
        << "HS1 fits|HS2 hidden|HS3 hidden|HS4H2O fits|HSNONE hidden|FLAT hidden";
    QTest::newRow("free air within 10 %")
        << "CE" << 2.8 << false << 0.1 << all
        << "HS1 fits|HS2 close theta|HS3 hidden|HS4H2O fits|HSNONE hidden|FLAT close theta";
    QTest::newRow("all packages") << "ALL" << 5.0 << false << 0.1 << all
                                  << "HS1 fits|HS2 fits|HS3 fits|HS4H2O fits|HSNONE fits|FLAT fits";
    QTest::newRow("no package matches however loose")
        << "EL" << 100.0 << false << 0.99 << all
        << "HS1 hidden|HS2 hidden|HS3 hidden|HS4H2O hidden|HSNONE hidden|FLAT hidden";
    // 1.6·e^-5 + 0.4 = 0.411, 2.5·e^-4 + 0.6 = 0.646, water 0.08·e^-4.8 + 0.05 = 0.0507,
    // the flat fit stays at 2.5.
    QTest::newRow("forced flow at the rated flow")
        << "CE" << 1.0 << true << 0.1 << all
        << "HS1 fits|HS2 fits|HS3 hidden|HS4H2O fits|HSNONE hidden|FLAT hidden";
    QTest::newRow("forced flow is never relaxed")
        << "CE" << 0.5 << true << 0.5 << all
        << "HS1 fits|HS2 hidden|HS3 hidden|HS4H2O fits|HSNONE hidden|FLAT hidden";
    QTest::newRow("height at its limit fits")
        << "CE" << 2.5 << false << 0.1 << 1.0
        << "HS1 fits|HS2 hidden|HS3 hidden|HS4H2O fits|HSNONE hidden|FLAT hidden";
    QTest::newRow("height within the tolerance")
        << "CE" << 2.5 << false << 0.15 << 0.9
        << "HS1 close height|HS2 hidden|HS3 hidden|HS4H2O close height|HSNONE hidden|FLAT hidden";
    QTest::newRow("height beyond the tolerance")
        << "CE" << 2.5 << false << 0.1 << 0.9
        << "HS1 hidden|HS2 hidden|HS3 hidden|HS4H2O hidden|HSNONE hidden|FLAT hidden";
    QTest::newRow("two shortfalls") << "CE" << 2.8 << false << 0.2 << 0.45
                                    << "HS1 hidden|HS2 close theta,height|HS3 hidden|"
                                       "HS4H2O hidden|HSNONE hidden|FLAT hidden";
}

void tst_selectors::heatsinkSelection()
{
    QFETCH(QString, code);
    QFETCH(double, theta);
    QFETCH(bool, forced);
    QFETCH(double, relax);
    QFETCH(double, heightLimit);
    QFETCH(QString, expected);

    HeatsinkRequirement req;
    req.packageCode = code;
    req.thetaCW = theta;
    req.forcedFlow = forced;
    req.relax = relax;
    req.envelope = heatsinkEnvelope(heightLimit != infiniteValue, heightLimit, infiniteValue,
                                    infiniteValue, infiniteValue, false);
    QStringList got;
    for (const HeatsinkRow &row : selectHeatsinks(heatsinkCatalog(), req, false)) {
        QStringList tints;
        if (row.tintTheta) tints << "theta";
        if (row.tintHeight) tints << "height";
        if (row.tintLength) tints << "length";
        if (row.tintWidth) tints << "width";
        if (row.tintWeight) tints << "weight";
        got << (row.name + QLatin1Char(' ') + verdictName(row.verdict) +
                (tints.isEmpty() ? QString() : QLatin1Char(' ') + tints.join(QLatin1Char(','))));
    }
    QCOMPARE(got.join(QLatin1Char('|')), expected);
}

void tst_selectors::envelopeEitherWayRound()
{
    const HeatsinkEnvelope a = heatsinkEnvelope(true, infiniteValue, 2, 5, infiniteValue, false);
    const HeatsinkEnvelope b = heatsinkEnvelope(true, infiniteValue, 5, 2, infiniteValue, false);
    QCOMPARE(a.lengthIn, 5.0);
    QCOMPARE(a.widthIn, 2.0);
    QCOMPARE(b.lengthIn, 5.0);
    QCOMPARE(b.widthIn, 2.0);

    // Metric limits are taken back to inches and ounces: 25.4 mm is the 1 in of HS1.
    const HeatsinkEnvelope m = heatsinkEnvelope(true, 25.4, 127, 76.2, 28.3495 * 5, true);
    QCOMPARE(m.heightIn, 1.0);
    QCOMPARE(m.lengthIn, 5.0);
    QCOMPARE(m.widthIn, 3.0);
    QCOMPARE(m.weightOz, 5.0);

    // Without constraints the fields are ignored, whatever they hold.
    const HeatsinkEnvelope none = heatsinkEnvelope(false, 0, 0, 0, 0, true);
    QCOMPARE(none.heightIn, infiniteValue);
    QCOMPARE(none.weightOz, infiniteValue);

    HeatsinkRequirement req;
    req.thetaCW = 10;
    req.envelope = heatsinkEnvelope(true, infiniteValue, 3.5, 4, infiniteValue, false);
    QStringList shown;
    for (const HeatsinkRow &row : selectHeatsinks(heatsinkCatalog(), req, false))
        if (row.verdict == Verdict::Fits) shown << row.name;
    QCOMPARE(shown, QStringList({"HS1", "HS2", "HSNONE", "FLAT"})); // 4 × 3 fits 4 × 3.5
}

void tst_selectors::packageChoices()
{
    const QStringList texts = heatsinkPackageChoices();
    QCOMPARE(texts.size(), 9);
    QCOMPARE(texts.first(), QStringLiteral("All Packages"));
    QCOMPARE(texts.at(2), QStringLiteral("12-pin Power DIP (MO-127)"));
    QCOMPARE(texts.last(), QStringLiteral("Power SIP"));
    QCOMPARE(heatsinkPackageChoiceCode(0), QStringLiteral("ALL"));
    QCOMPARE(heatsinkPackageChoiceCode(5), QStringLiteral("CD"));
    QCOMPARE(heatsinkPackageChoiceCode(8), QStringLiteral("DP"));

    const QVector<amp> linear = selectorParts();
    const QVector<pwm> pwms = pwmCatalog();
    QCOMPARE(heatsinkPartChoiceCode(0, linear, pwms), QStringLiteral("ALL"));
    QCOMPARE(heatsinkPartChoiceCode(-1, linear, pwms), QStringLiteral("ALL"));
    QCOMPARE(heatsinkPartChoiceCode(1, linear, pwms), QStringLiteral("CE"));
    QCOMPARE(heatsinkPartChoiceCode(linear.size() + 1, linear, pwms), QStringLiteral("DP"));
    QCOMPARE(heatsinkPartChoiceCode(linear.size() + pwms.size() + 1, linear, pwms), QString());
}

void tst_selectors::rthetaCurve()
{
    const RthetaCurve air = selectors::rthetaCurve(sinkNamed(QStringLiteral("HS1")));
    QVERIFY(!air.water);
    QCOMPARE(air.flow.size(), 128);
    QCOMPARE(air.flow.first(), 100.0);
    QCOMPARE(air.flow.at(1), 107.0); // 100 + floor(900/127)
    QCOMPARE(air.flow.last(), 1000.0);
    QCOMPARE(air.theta.first(), 1.6 * std::exp(-0.5) + 0.4);
    QCOMPARE(air.thetaMax, air.theta.first());

    const RthetaCurve water = selectors::rthetaCurve(sinkNamed(QStringLiteral("HS4H2O")));
    QVERIFY(water.water);
    QCOMPARE(water.flow.first(), 0.0);
    QCOMPARE(water.flow.last(), 2.0);
    QCOMPARE(water.thetaMax, 0.13); // 0.08 + 0.05 at no flow
}

void tst_selectors::requiredFlow_data()
{
    QTest::addColumn<QString>("sink");
    QTest::addColumn<double>("theta");
    QTest::addColumn<int>("need");
    QTest::addColumn<QString>("flow"); // as the page writes it (number2String)

    // HS1: 1.6·exp(-0.005·F) + 0.4, 2 °C/W in free air.
    // ln((1.0 - 0.4)/1.6) / -0.005 = 196.17 LFM.
    QTest::newRow("air") << "HS1" << 1.0 << int(FlowNeed::Forced) << "196";
    // 12.9 LFM is below the plotted range: 100.
    QTest::newRow("little air raised to 100 LFM") << "HS1" << 1.9 << int(FlowNeed::Forced) << "100";
    QTest::newRow("free air suffices") << "HS1" << 2.0 << int(FlowNeed::Natural) << "0";
    QTest::newRow("open requirement") << "HS1" << infiniteValue << int(FlowNeed::Natural) << "0";
    // ln(0.05/1.6)/-0.005 = 693.1 LFM: more than the plot shows, reported as computed.
    QTest::newRow("beyond the plotted range") << "HS1" << 0.45 << int(FlowNeed::Forced) << "693";
    QTest::newRow("at the asymptote") << "HS1" << 0.4 << int(FlowNeed::Unreachable) << "0";
    QTest::newRow("below the asymptote") << "HS1" << 0.3 << int(FlowNeed::Unreachable) << "0";
    QTest::newRow("zero requirement") << "HS1" << 0.0 << int(FlowNeed::Unreachable) << "0";
    // Water: 0.08·exp(-1.2·F) + 0.05; ln(0.05/0.08)/-1.2 = 0.3917 GPM.
    QTest::newRow("water") << "HS4H2O" << 0.1 << int(FlowNeed::Forced) << "0.392";
    QTest::newRow("little water raised to 0.1 GPM")
        << "HS4H2O" << 0.125 << int(FlowNeed::Forced) << "0.1";
    // B = 0: 2.5 °C/W whatever the flow.
    QTest::newRow("flat fit reaches it") << "FLAT" << 2.6 << int(FlowNeed::Forced) << "100";
    QTest::newRow("flat fit never does") << "FLAT" << 2.0 << int(FlowNeed::Unreachable) << "0";
}

void tst_selectors::requiredFlow()
{
    QFETCH(QString, sink);
    QFETCH(double, theta);
    QFETCH(int, need);
    QFETCH(QString, flow);
    const RequiredFlow r = selectors::requiredFlow(sinkNamed(sink), theta);
    QCOMPARE(int(r.need), need);
    QCOMPARE(eng::number2String(r.flow), flow);
}

void tst_selectors::fanVolumeFlow()
{
    // A round opening of 4 in at 100 FPM: π·16/4/144·100 = 8.727 CFM.
    const double area = fanAreaSqIn(true, 4, 0, 0, false);
    QCOMPARE(eng::number2String(airVolumeFlowCfm(area, 100)), QStringLiteral("8.73"));
    // 4 in by 4 in: 16/144·100 = 11.1 CFM.
    QCOMPARE(eng::number2String(airVolumeFlowCfm(fanAreaSqIn(false, 0, 4, 4, false), 100)),
             QStringLiteral("11.1"));
    // The same round opening typed in millimetres, in litres per minute: 8.727 · 28.317.
    const double metricArea = fanAreaSqIn(true, 101.6, 0, 0, true);
    QCOMPARE(eng::number2String(cfmToLitresPerMinute(airVolumeFlowCfm(metricArea, 100))),
             QStringLiteral("247"));
    // 100 LFM is 0.508 m/s; 1 GPM is 3.79 L/min.
    QCOMPARE(eng::number2String(lfmToMetresPerSecond(100)), QStringLiteral("0.508"));
    QCOMPARE(eng::number2String(gpmToLitresPerMinute(1)), QStringLiteral("3.79"));
    QCOMPARE(airVolumeFlowCfm(fanAreaSqIn(true, 0, 0, 0, false), 500), 0.0);
}

void tst_selectors::summaryTables_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QStringList>("expected");

    // Linear rows: name, I_cont, Vss, SR, Iq, Pd, package.
    const QStringList header = {
        "Model, Output Current, Supply Voltage, Slew Rate, Standby Current, Power Dissipation, "
        "Package",
        QString::fromUtf8(" , CONTINUOUS (A), MAX (V), TYP (V/\u00b5s), MAX (mA), MAX (W), ")};
    QTest::newRow("high current op amps")
        << int(SummaryTable::HighCurrentOpAmps)
        << (header + QStringList{
                         "MAIN, 5, 100, 10, 26, 125 (CE), 8-pin TO-3 (CE)",
                         "V2, , , , , 90 (DP), 12-pin power SIP (DP)",
                         "V1 (M), , , , , 80 (DP), 12-pin power SIP (DP)",
                         "TIEC, 3, 60, 5, 26, 125, 8-pin TO-3 (CE)",
                         "TIEB, 3, 60, 5, 26, 125, 8-pin TO-3 (CE)",
                         "TIEA, 3.00005, 50, 5, 26, 125, 8-pin TO-3 (CE)",
                         "DUAL, 1 (x2 channels), 40, 100, 26, 30 per channel, - (DK)",
                     });
    QTest::newRow("high speed op amps")
        << int(SummaryTable::HighSpeedOpAmps)
        << QStringList{"Model, Slew Rate, Supply Voltage, Output Current, Standby Current, "
                       "Power Dissipation, Package",
                       QString::fromUtf8(" , TYP (V/\u00b5s), MAX (V), CONTINUOUS (A), "
                                         "MAX (mA), MAX (W), "),
                       "DUAL, 100, 40, 1 (x2 channels), 26, 30 per channel, - (DK)"};
    QTest::newRow("high voltage op amps")
        << int(SummaryTable::HighVoltageOpAmps)
        << QStringList{"Model, Supply Voltage, Output Current, Slew Rate, Standby Current, "
                       "Power Dissipation, Package",
                       QString::fromUtf8(" , MAX (V), CONTINUOUS (A), TYP (V/\u00b5s), "
                                         "MAX (mA), MAX (W), "),
                       "MAIN, 100, 5, 10, 26, 125 (CE), 8-pin TO-3 (CE)",
                       "V2, , , , , 90 (DP), 12-pin power SIP (DP)",
                       "V1 (M), , , , , 80 (DP), 12-pin power SIP (DP)"};
    QTest::newRow("high current PWM")
        << int(SummaryTable::HighCurrentPWM)
        << QStringList{"Model, Output Current, Supply Voltage, Switching Frequency, Power "
                       "Delivery, Internal Power Dissipation, Package",
                       " , CONTINUOUS (A), MAX (V), MAX (kHz), MAX (W), MAX (W), ",
                       "P1 (M), 10, 100, 500, 1000, 50, 12-pin power SIP (DP)",
                       "P2, 1, 80, 100, 80, 20, - (XX)"};
    QTest::newRow("high voltage PWM")
        << int(SummaryTable::HighVoltagePWM)
        << QStringList{"Model, Supply Voltage, Output Current, Switching Frequency, Power "
                       "Delivery, Internal Power Dissipation, Package",
                       " , MAX (V), CONTINUOUS (A), MAX (kHz), MAX (W), MAX (W), ",
                       "P1 (M), 100, 10, 500, 1000, 50, 12-pin power SIP (DP)",
                       "P2, 80, 1, 100, 80, 20, - (XX)"};
}

void tst_selectors::summaryTables()
{
    QFETCH(int, table);
    QFETCH(QStringList, expected);

    // Two package variants sit just before their main part; a part left out (status 0), a
    // part below every threshold, and three parts whose leading figures tie within 0.0001.
    const QVector<amp> linear = linearCatalog({
        {"LOW", 90, 0.5, 1, 2, 1},
        {"V1", 100, 5, 1, 10, 1, 5, 0, 0, 2, 1, "DP", 80},
        {"V2", 100, 5, 1, 10, 1, 5, 0, 0, 2, 0, "DP", 90},
        {"MAIN", 100, 5, 1, 10, 1},
        {"DUAL", 40, 1.0, 2, 100, 1, 5, 0, 0, 1, 0, "DK", 30},
        {"HIDE0", 200, 10, 1, 500, 1, 5, 0, 0, 0},
        {"TIEB", 60, 3, 1, 5, 1},
        {"TIEC", 60, 3, 1, 5, 1},
        // Listed after the parts it ties with, so that it sorts by its lower supply.
        {"TIEA", 50, 3.00005, 1, 5, 1},
    });
    QVector<pwm> pwms;
    pwm().readFile(pwms, 0, true,
                   writeTable(QStringLiteral("summarypwm.txt"),
                              {"ampName\tVs_max\tI_cont\tPd_max\tpackageStyle\tFsw_max\t"
                               "PSGstatus\tMgradeAvailable",
                               "P2\t80\t1\t20\tXX\t100\t1\t0", "P1\t100\t10\t50\tDP\t500\t1\t1",
                               "P3\t400\t20\t50\tDP\t500\t0\t0", "P4\t400\t20\t50\tDP\t500\t2\t0",
                               "P5\t60\t0.5\t50\tDP\t500\t1\t0"}));
    QCOMPARE(summaryTableLines(SummaryTable(table), linear, pwms, packageCatalog()), expected);

    // With nothing past the threshold only the two heading rows remain.
    QCOMPARE(summaryTableLines(SummaryTable(table), {}, {}, packageCatalog()), expected.mid(0, 2));
}

QTEST_GUILESS_MAIN(tst_selectors)
#include "tst_selectors.moc"
