// The bare main window form, pages 4 (stability), 7 (heatsink selector) and 10 (three-phase
// motor): object names, defaults, ranges, states and status tips as setupUi leaves them, before
// any MainWindow code touches a widget.
#include "ui_mainwindow.h"

#include "formtest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>
#include <qcustomplot.h>

#include <memory>
#include <tuple>

namespace {
using formtest::u8;

// The text a user reads on a widget: line edit and label text, button caption, group box title.
QString shownText(QObject *o)
{
    if (auto *e = qobject_cast<QLineEdit *>(o)) return e->text();
    if (auto *l = qobject_cast<QLabel *>(o)) return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(o)) return b->text();
    if (auto *g = qobject_cast<QGroupBox *>(o)) return g->title();
    return QStringLiteral("<no text property>");
}

const char *const pageNames[] = {"page_4", "page_6", "page_9"};
} // namespace

class TestFormB : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pageIndex_data();
    void pageIndex();
    void objectClasses_data();
    void objectClasses();
    void defaultTexts_data();
    void defaultTexts();
    void statusTips_data();
    void statusTips();
    void noStrayTips();
    void statusTipTotal();
    void objectNamesUnique();

    void comboItems();
    void tabs_data();
    void tabs();
    void startStates_data();
    void startStates();
    void stabSlider();
    void hsRelaxSteps_data();
    void hsRelaxSteps();
    void radioPartnersReportThroughToggled_data();
    void radioPartnersReportThroughToggled();
    void checkableGroupsGateTheirContents_data();
    void checkableGroupsGateTheirContents();
    void styleSheets_data();
    void styleSheets();
    void heatsinkTable();
    void threePhaseLayout();
    void layoutAtStartSize();
    void focusChains_data();
    void focusChains();
    void focusRingUnbroken();

private:
    std::unique_ptr<QMainWindow> w;
    std::unique_ptr<Ui_MainWindow> ui;
    template <class T> T *find(const QString &name)
    {
        T *t = w->findChild<T *>(name);
        if (!t) qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
        return t;
    }
};

void TestFormB::init()
{
    w.reset(new QMainWindow);
    ui.reset(new Ui_MainWindow);
    ui->setupUi(w.get());
}

void TestFormB::cleanup()
{
    ui.reset();
    w.reset();
}

void TestFormB::pageIndex_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("index");
    QTest::newRow("stability") << "page_4" << 4;
    QTest::newRow("heatsink selector") << "page_6" << 7;
    QTest::newRow("three-phase motor") << "page_9" << 10;
}

void TestFormB::pageIndex()
{
    QFETCH(QString, page);
    QFETCH(int, index);
    QWidget *p = find<QWidget>(page);
    QVERIFY(p);
    QCOMPARE(ui->Page->indexOf(p), index);
}

void TestFormB::objectClasses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    const QList<QPair<const char *, const char *>> rows = {
        {"AmpSelectorStab", "QComboBox"},
        {"StabInv", "QRadioButton"},
        {"StabNon", "QRadioButton"},
        {"CloadButton", "QRadioButton"},
        {"LloadButton", "QRadioButton"},
        {"StabSch", "QCustomPlot"},
        {"StabSlider", "QSlider"},
        {"StabAuto", "QPushButton"},
        {"GainPlot", "QCustomPlot"},
        {"PhasePlot", "QCustomPlot"},
        {"HidePhaseLegend", "QCheckBox"},
        {"phaseButton", "QPushButton"},
        {"RCPCR1", "QLineEdit"},
        {"RCPCC1", "QLabel"},
        {"RCPCF2", "QLabel"},
        {"RCPCR3", "QLabel"},
        {"R_ISO_P", "QLabel"},
        {"compositeCheckBox", "QGroupBox"},
        {"hostSelector", "QComboBox"},
        {"hostPole3", "QLineEdit"},
        {"Stability", "QLabel"},
        {"StabilityDetails", "QTextBrowser"},
        {"StabTutorial", "QPushButton"},
        {"StabilityTab", "QTabWidget"},
        {"StabilityTabOutput", "QTabWidget"},
        {"HSpart", "QComboBox"},
        {"HSpackage", "QComboBox"},
        {"HSrtheta", "QLineEdit"},
        {"HSmetric", "QRadioButton"},
        {"HSconstCheckBox", "QGroupBox"},
        {"HSWeightUnit", "QLabel"},
        {"HSrelax", "QSpinBox"},
        {"HStable", "QTableView"},
        {"HSplot", "QCustomPlot"},
        {"HSimage", "QLabel"},
        {"HSName", "QLabel"},
        {"HSfluidCheckBox", "QGroupBox"},
        {"HSflowDimensions", "QGroupBox"},
        {"HSfanRect", "QRadioButton"},
        {"HSfanY", "QLineEdit"},
        {"groupBox", "QGroupBox"},
        {"groupBox_4", "QGroupBox"},
        {"P3ampSelector", "QComboBox"},
        {"P3commType", "QComboBox"},
        {"P3editMotor2", "QGroupBox"},
        {"P3editMotor", "QPushButton"},
        {"P3editWaveform", "QPushButton"},
        {"P3graph0", "QCustomPlot"},
        {"P3graph1", "QCustomPlot"},
        {"P3graph2", "QCustomPlot"},
        {"P3graph3", "QCustomPlot"},
        {"P3graph4", "QCustomPlot"},
        {"P3graph5", "QCustomPlot"},
        {"P3downloadPWL", "QPushButton"},
        {"P3outputTabs", "QTabWidget"},
        {"P3schematic", "QCustomPlot"},
        {"P3minHS", "QLabel"},
        {"label_318", "QLabel"},
        {"label_328", "QLabel"},
        {"P3TIM", "QLineEdit"},
        {"P3removeSwitching", "QCheckBox"},
        {"P3TextBrowser", "QTextBrowser"},
    };
    for (const auto &r : rows)
        QTest::newRow(r.first) << r.first << r.second;
}

void TestFormB::objectClasses()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QObject *o = find<QObject>(name);
    QVERIFY(o);
    QCOMPARE(QString(o->metaObject()->className()), className);
}

void TestFormB::defaultTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const QList<QPair<const char *, const char *>> rows = {
        // stability
        {"StabInv", "Inverting"},
        {"StabNon", "Non-Inverting"},
        {"CloadButton", "Capacitive Load - Voltage Gain"},
        {"LloadButton", "Inductive Load - Current Gain"},
        {"StabAuto", "Auto - Compensate"},
        {"HidePhaseLegend", "Hide Legends"},
        {"phaseButton", "View Phase Shift"},
        {"RCPCR1", "10k"},
        {"RCPCF1", "10k"},
        {"RCPCC1", "1.59 nF"},
        {"RCPCR2", "10k"},
        {"RCPCC2", "10n"},
        {"RCPCF2", "1.59 kHz"},
        {"RCPCF3", "10k"},
        {"RCPCC3", "10n"},
        {"RCPCR3", "1.59 kΩ"},
        {"R_ISO_R", "short"},
        {"R_ISO_I", "1"},
        {"R_ISO_P", "Minimum R_ISO Power Rating: 0 W"},
        {"compositeCheckBox", "Composite Amplifier"},
        {"hostAOL", ""},
        {"hostPole1", ""},
        {"hostPole2", ""},
        {"hostPole3", ""},
        {"SlewRateStab", "35"},
        {"Fclosure", "100"},
        {"MaxBW", "100"},
        {"PhaseMargin", "60"},
        {"RateClosure", "20"},
        {"Stability", "STABLE"},
        {"StabTutorial", "Tutorials"},
        {"page_4_label_maxStability", "Maximize Stability"},
        {"page_4_label_maxBandwidth", "Maximize Bandwidth"},
        {"page_4_label_note", "Note: Some components may be unavailable for certain amplifiers "
                              "or connect in a different way. ALWAYS read the datasheet for "
                              "complete info."},
        {"page_4_label_risoTitle", "R_ISO Power Calculator"},
        {"page_4_label_compTip", "Tip: Stabilize the Power Section first (leave the box below "
                                 "unchecked). Make Sure \"Non-Inverting\" is selected."},
        {"page_4_label_compThen", "Then, stabilize the Composite Circuit (by checking the box "
                                  "below and modifying the components with \"HOST\" in the "
                                  "name)."},
        {"page_4_groupBox_mode", "Inverting Mode"},
        {"page_4_groupBox_output", "Output Type"},
        // heatsink selector
        {"HSchoosePart", "Choose Part"},
        {"HSchoosePackage", "Choose Package"},
        {"HSrtheta", "30"},
        {"HSenglish", "English"},
        {"HSmetric", "Metric"},
        {"HSconstCheckBox", " Size Contraints"},
        {"HSH", "all"},
        {"HSL", "all"},
        {"HSW", "all"},
        {"HSWeight", "all"},
        {"HSHunit", "in (Normal to PCB)"},
        {"HSLunit", "in"},
        {"HSWunit", "in"},
        {"HSWeightUnit", "oz"},
        {"HSimage", ""},
        {"HSName", "<html><head/><body><p>TK21</p></body></html>"},
        {"HSsortPrice", "Sort by Relative Price Low-to-High (Default)"},
        {"HSreset", "Reset"},
        {"HSfluidCheckBox", "Flow"},
        {"HSlinearFlow", "100 FPM"},
        {"HSvolumeFlow", "10 CFM"},
        {"HSflowDimensions", "Flow Dimensions"},
        {"HSfanCirc", "Diameter (in): "},
        {"HSfanDia", "4"},
        {"HSfanRect", "Rectangular (in): "},
        {"HSfanX", "4"},
        {"HSfanY", "4"},
        {"page_6_groupBox_units", "Units for Spatial Dimensions"},
        {"page_6_label_accept", "Accept \"Close Matches\" up to:"},
        {"page_6_label_goodMatch", "Good Match"},
        {"page_6_label_closeMatch", "Close Match"},
        // three-phase motor
        {"P3Vs", "50"},
        {"P3useMaxVs", "Use Max"},
        {"P3Vcc", "5"},
        {"P3useTypVcc", "Use Typical"},
        {"P3Fsw", "1"},
        {"P3useMaxFsw", "Use Max"},
        {"P3editMotor", ""},
        {"P3editWaveform", ""},
        {"P3startTime", "25m"},
        {"P3endTime", "75m"},
        {"P3downloadPWL", "Download PWL"},
        {"page_9_label_Vcc", "Vcc "},
        {"page_9_label_hint", "Hint: change F_switch last; higher frequencies require more "
                              "calculations, and therefore take longer to calculate."},
        {"page_9_label_schematic",
         "Click on schematic elements to graph/ungraph their features (MAX 6)"},
        {"page_9_label_conductionPower", "    Conduction Losses, total"},
        {"page_9_label_wirePower", "    Power Lost in Wires"},
        {"P3loadPower", "TextLabel"},
        {"P3ampPower", "TextLabel"},
        {"P3conductionPower", "TextLabel"},
        {"P3diodePower", "TextLabel"},
        {"P3switchingPower", "TextLabel"},
        {"P3VccPower", "TextLabel"},
        {"P3wirePower", "TextLabel"},
        {"P3efficiency", "TextLabel"},
        {"P3Ipeak", "TextLabel"},
        {"P3RMScurrent", "TextLabel"},
        {"P3Tambient", "25"},
        {"label_318", "Minimum Heatsink"},
        {"P3minHS", "TextLabel"},
        {"label_328", "°C/W"},
        {"P3heatsink", "0"},
        {"P3TIM", "0"},
        {"P3Tcase", "TextLabel"},
        {"P3Tjunction", "TextLabel"},
        {"P3dispDC", "Display PWM voltages as Duty Cycles"},
        {"P3removeDiode", "Remove Diode Losses from Thermal Calculation"},
        {"P3removeSwitching", "Remove Switching Losses from Thermal Calculation"},
        {"groupBox", ""},
        {"groupBox_4", ""},
        {"P3editMotor2", ""},
    };
    for (const auto &r : rows)
        QTest::newRow(r.first) << r.first << u8(r.second);
}

void TestFormB::defaultTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QObject *o = find<QObject>(name);
    QVERIFY(o);
    QCOMPARE(shownText(o), text);
}

void TestFormB::statusTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    const char *slew = "Max Slew Rate corresponding to C_COMP";
    const char *closure = "Intersection Frequency of AOL and ACL";
    const char *maxBW = "Maximum Frequency at which closed loop gain is still accurate. Above "
                        "this frequency, open loop gain has greater effect on output.";
    const char *margin = "Minimum phase margin at F_closure or any frequency below that.";
    const char *rate = "Difference in slopes at intersection of AOL and ACL.";
    const char *calc = "For convenience. These calculators have no effect on the stability "
                       "analysis.";
    const char *host = "Select Host Amplifier";
    const char *aol = "Open Loop Gain of Host Amplifier";
    const char *p1 = "First Pole Frequency of Host Amplifier. This is the frequency where the "
                     "Gain Response changes slope 0dB/decade to -20 dB/decade";
    const char *p2 = "Second Pole Frequency of Host Amplifier. This is the frequency where the "
                     "Gain Response changes slope -20dB/decade to -40 dB/decade";
    const char *p3 = "Third Pole Frequency of Host Amplifier. This is the frequency where the "
                     "Gain Response changes slope -40dB/decade to -60 dB/decade";
    const char *vs = "The high-current supply voltage. This is the voltage that gets applied to "
                     "the load.";
    const char *vcc = "Front-end supply voltage, used to power the amplifier product. Use "
                      "typical rating.";
    const char *fsw = "Switching Frequency. Higher switching frequencies cause increased power "
                      "losses and lengthened simulation time. Adjust until ripple current is "
                      "satisfactory.";
    const char *comm = "Select Commutation Type. This determines how the waveform signal is "
                       "modulated";
    const char *from = "Starting point of the display window";
    const char *to = "Ending point of the display window";
    const char *load = "Total Real Power dissipated in the load, averaged over the current "
                       "display window";
    const char *amp = "Total Power dissipated in the amplifier product as heat, averaged over "
                      "the current display window";
    const char *cond = "Power lost due to voltage drops in the switches, averaged over the "
                       "current display window";
    const char *diode = "Power lost due to current in the freewheeling diodes, averaged over the "
                        "current display window";
    const char *sw = "Power lost due to switching transition times in the amplifier, averaged "
                     "over the current display window";
    const char *vccP = "Power lost due to front-end circuitry in the amplifier product, averaged "
                       "over the current display window";
    const char *wire = "Power lost in internal wirebonds, traces, pins, etc., averaged over the "
                       "current display window";
    const char *eff = "Overall Effeciency of the driver circuit, averaged over the current "
                      "display window";
    const char *ipk = "Maximum instantaneous current of any phase within the display window";
    const char *rms = "Root-Mean-Square current of phase A over the course of the display window";
    const char *amb = "Environment temperature";
    const char *minHS = "Minimum heatsink  (maximum thermal resistance) required to keep the "
                        "amplifier product within absolute maximum ratings";
    const char *hs = "Actual heatsink thermal resistance. Larger heatsinks have lower thermal "
                     "resistances";
    const char *tim = "Enter the thermal resistance of the thermal grease, pad, or washer used "
                      "between the amplifier product and its heatsink";
    const char *tc = "Resultant case temperature of the amplifier product";
    const char *tj = "Resultant junction temperature of the amplifier product's switches";

    const QList<QPair<const char *, const char *>> rows = {
        // stability: results, each with its caption
        {"SlewRateStab", slew},
        {"page_4_label_slewRate", slew},
        {"Fclosure", closure},
        {"page_4_label_closure", closure},
        {"MaxBW", maxBW},
        {"page_4_label_maxBW", maxBW},
        {"PhaseMargin", margin},
        {"page_4_label_phaseMargin", margin},
        {"RateClosure", rate},
        {"page_4_label_closureRate", rate},
        {"StabTutorial", "For more info on Linear Op Amp Stability and how to use this sheet, "
                         "click here"},
        {"AmpSelectorStab", "Select Amplifier"},
        {"CloadButton", "Voltage-Controlled-Voltage-Source with C load"},
        {"LloadButton", "Voltage-Controlled-Current-Source with L load"},
        {"StabAuto", "Searches for optimal compensation components and methods. Use slider to "
                     "the left to customize solution."},
        {"StabSch", "Click on component labels to change them. Components in color represent "
                    "optional compensation techniques."},
        {"StabSlider", "Slide to desired balance of Stability (Phase Margin) and Bandwidth. "
                       "Then, click the \"Auto-Compensate\" button to the right."},
        {"HidePhaseLegend", "Check to hide legends of Gain and Phase Plots"},
        {"phaseButton", "Toggles Phase Plot to show either Closed Loop Phase or Phase Shift "
                        "Components"},
        {"PhasePlot", "Phase Plot. Aim for an Open Loop phase shift of greater than -135° "
                      "(greater than 45° Phase Margin) at closure frequency. "},
        {"GainPlot", "Gain Plot. Aim for an intersection rate of 20dB/decade between the Aol "
                     "and 1/Beta plots (Closure Rate)"},
        {"R_ISO_R", "Enter R_ISO"},
        {"R_ISO_I", "Enter Maximum Expected Output Current. Best to over-estimate."},
        {"RCPCR1", calc},
        {"RCPCF1", calc},
        {"RCPCC1", calc},
        {"RCPCR2", calc},
        {"RCPCC2", calc},
        {"RCPCF2", calc},
        {"RCPCF3", calc},
        {"RCPCC3", calc},
        {"RCPCR3", calc},
        {"R_ISO_P", "Minimum Power Rating. Use next largest standard power resitor wattage "
                    "rating."},
        {"compositeCheckBox", "Check this box to add a host amplifier into the circuit."},
        {"hostSelector", host},
        {"page_4_label_host", host},
        {"hostAOL", aol},
        {"page_4_label_hostAOL", aol},
        {"hostPole1", p1},
        {"page_4_label_hostPole1", p1},
        {"hostPole2", p2},
        {"page_4_label_hostPole2", p2},
        {"hostPole3", p3},
        {"page_4_label_hostPole3", p3},
        // three-phase motor: the fields carry the tips, their captions none
        {"P3ampSelector", "Select amplifier product"},
        {"P3Vs", vs},
        {"P3useMaxVs", "Click to use the maximum Vs supply voltage"},
        {"P3Vcc", vcc},
        {"P3useTypVcc", "Click to use typical Vcc supply voltage"},
        {"P3Fsw", fsw},
        {"P3useMaxFsw", "Click to use the maximum switching frequency"},
        {"P3commType", comm},
        {"P3editMotor", "Edit motor quantities, such as phase impedance, back-EMF, and number "
                        "of poles"},
        {"P3editWaveform", "Edit control values such as RPM, current, or duty cycle"},
        {"P3startTime", from},
        {"P3endTime", to},
        {"P3schematic", "Click on circuit elements to graph/ungraph their values"},
        {"P3loadPower", load},
        {"P3ampPower", amp},
        {"P3conductionPower", cond},
        {"P3diodePower", diode},
        {"P3switchingPower", sw},
        {"P3VccPower", vccP},
        {"P3wirePower", wire},
        {"P3efficiency", eff},
        {"P3Ipeak", ipk},
        {"P3RMScurrent", rms},
        {"P3Tambient", amb},
        {"P3minHS", minHS},
        {"P3heatsink", hs},
        {"P3TIM", tim},
        {"P3Tcase", tc},
        {"P3Tjunction", tj},
        {"P3dispDC", "Check to view output voltages as duty cycles, rather than raw voltages"},
        {"P3removeDiode", "Check if discrete Freewheeling Diodes are added externally to the "
                          "Amplifier product"},
        {"P3removeSwitching", "Check if Switching Losses are mitigated by soft switching "
                              "techniques. "},
        {"P3TextBrowser", "Notes"},
        // widgets that must stay silent
        {"StabInv", ""},
        {"StabNon", ""},
        {"Stability", ""},
        {"StabilityDetails", ""},
        {"P3graph0", ""},
        {"P3graph5", ""},
        {"P3downloadPWL", ""},
        {"P3outputTabs", ""},
        {"label_328", ""},
        {"page_9_label_VsUnit", ""},
        {"page_9_label_Vs", ""},
        {"page_9_label_Vcc", ""},
        {"page_9_label_Fsw", ""},
        {"page_9_label_commType", ""},
        {"page_9_label_loadPower", ""},
        {"page_9_label_ampPower", ""},
        {"page_9_label_conductionPower", ""},
        {"page_9_label_diodePower", ""},
        {"page_9_label_switchingPower", ""},
        {"page_9_label_vccPower", ""},
        {"page_9_label_wirePower", ""},
        {"page_9_label_efficiency", ""},
        {"page_9_label_ipeak", ""},
        {"page_9_label_rmsCurrent", ""},
        {"page_9_label_tambient", ""},
        {"label_318", ""},
        {"page_9_label_heatsink", ""},
        {"page_9_label_tim", ""},
        {"page_9_label_tcase", ""},
        {"page_9_label_tjunction", ""},
        {"page_9_label_from", ""},
        {"page_9_label_to", ""},
        {"page_4_label_unitAOL", ""},
    };
    for (const auto &r : rows)
        QTest::newRow(r.first) << r.first << u8(r.second);
}

void TestFormB::statusTips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    QWidget *o = find<QWidget>(name);
    QVERIFY(o);
    QCOMPARE(o->statusTip(), tip);
}

// The heatsink page has no status tips at all, and none of the three pages has a tool tip.
void TestFormB::noStrayTips()
{
    for (QWidget *wid : find<QWidget>("page_6")->findChildren<QWidget *>())
        QVERIFY2(wid->statusTip().isEmpty(), qPrintable(wid->objectName()));
    for (const char *page : pageNames)
        for (QWidget *wid : find<QWidget>(page)->findChildren<QWidget *>())
            QVERIFY2(wid->toolTip().isEmpty(), qPrintable(wid->objectName()));
}

// The status bar explains 312 widgets across the pages; captions that merely name a field
// (the three-phase page's used to repeat their field's tip) carry none.
void TestFormB::statusTipTotal()
{
    int tips = 0;
    for (QWidget *wid : w->findChildren<QWidget *>())
        tips += !wid->statusTip().isEmpty();
    QCOMPARE(tips, 312);
}

// Slots and design files find widgets by name; a duplicate would make findChild ambiguous.
void TestFormB::objectNamesUnique()
{
    QHash<QString, int> seen;
    for (QObject *o : w->findChildren<QObject *>()) {
        const QString n = o->objectName();
        // The toolkit names some private children itself (the scroll buttons of tab bars).
        if (n.isEmpty() || n.startsWith(QLatin1String("qt_")) ||
            qobject_cast<QTabBar *>(o->parent()))
            continue;
        QVERIFY2(++seen[n] == 1, qPrintable(n));
    }
}

void TestFormB::comboItems()
{
    // Part lists are filled at run time; the form leaves them empty.
    for (const char *name :
         {"AmpSelectorStab", "hostSelector", "HSpart", "HSpackage", "P3ampSelector"}) {
        auto *c = find<QComboBox>(name);
        QVERIFY(c);
        QVERIFY2(c->count() == 0, name);
        QCOMPARE(c->currentIndex(), -1);
    }
    auto *comm = find<QComboBox>("P3commType");
    QVERIFY(comm);
    QCOMPARE(comm->count(), 3);
    QCOMPARE(comm->itemText(0), QStringLiteral("Sinusoidal"));
    QCOMPARE(comm->itemText(1), QStringLiteral("Trapezoidal"));
    QCOMPARE(comm->itemText(2), QStringLiteral("Six-Step"));
    QCOMPARE(comm->currentIndex(), 0);
}

void TestFormB::tabs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("StabilityTab") << "StabilityTab"
                                  << QStringList{"Schematic", "Bode Plots", "R-C Pole Calculators",
                                                 "Composite"};
    QTest::newRow("StabilityTabOutput")
        << "StabilityTabOutput" << QStringList{"Analysis Results", "Advanced"};
    QTest::newRow("P3outputTabs") << "P3outputTabs"
                                  << QStringList{"Schematic", "Power", "Thermal", "Advanced"};
}

void TestFormB::tabs()
{
    QFETCH(QString, name);
    QFETCH(QStringList, titles);
    auto *t = find<QTabWidget>(name);
    QVERIFY(t);
    QStringList shown;
    for (int i = 0; i < t->count(); ++i)
        shown << t->tabText(i);
    QCOMPARE(shown, titles);
    QCOMPARE(t->currentIndex(), 0);
}

void TestFormB::startStates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    // "enabled" is what the user sees: a widget inside an unchecked group box is disabled.
    const QList<std::tuple<const char *, bool, bool>> rows = {
        {"StabInv", true, true},
        {"StabNon", false, true},
        {"CloadButton", true, true},
        {"LloadButton", false, true},
        {"HidePhaseLegend", false, true},
        {"compositeCheckBox", false, true},
        {"HSchoosePart", true, true},
        {"HSchoosePackage", false, true},
        {"HSenglish", true, true},
        {"HSmetric", false, true},
        {"HSconstCheckBox", false, true},
        {"HSfluidCheckBox", false, true},
        {"HSfanCirc", true, false},
        {"HSfanRect", false, false},
        {"P3dispDC", false, true},
        {"P3removeDiode", false, true},
        {"P3removeSwitching", false, true},
    };
    for (const auto &r : rows)
        QTest::newRow(std::get<0>(r)) << std::get<0>(r) << std::get<1>(r) << std::get<2>(r);
}

void TestFormB::startStates()
{
    QFETCH(QString, name);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    if (auto *g = qobject_cast<QGroupBox *>(wid)) {
        QVERIFY(g->isCheckable());
        QCOMPARE(g->isChecked(), checked);
    } else {
        auto *b = qobject_cast<QAbstractButton *>(wid);
        QVERIFY(b);
        QCOMPARE(b->isChecked(), checked);
    }
    QCOMPARE(wid->isEnabled(), enabled);
}

void TestFormB::stabSlider()
{
    auto *s = find<QSlider>("StabSlider");
    QVERIFY(s);
    QCOMPARE(s->orientation(), Qt::Horizontal);
    QCOMPARE(s->minimum(), 0);
    QCOMPARE(s->maximum(), 4);
    QCOMPARE(s->singleStep(), 1);
    QCOMPARE(s->value(), 2);
    // Only five positions exist, whatever is asked of it.
    s->setValue(9);
    QCOMPARE(s->value(), 4);
    s->setValue(-3);
    QCOMPARE(s->value(), 0);
}

void TestFormB::hsRelaxSteps_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("expected");
    QTest::newRow("default down one step") << 10 << -1 << 5;
    QTest::newRow("down two steps stops at the minimum") << 10 << -2 << 1;
    QTest::newRow("up from 95 stops at the maximum") << 95 << 1 << 99;
    QTest::newRow("default up one step") << 10 << 1 << 15;
}

void TestFormB::hsRelaxSteps()
{
    QFETCH(int, start);
    QFETCH(int, steps);
    QFETCH(int, expected);
    auto *r = find<QSpinBox>("HSrelax");
    QVERIFY(r);
    QCOMPARE(r->minimum(), 1);
    QCOMPARE(r->maximum(), 99);
    QCOMPARE(r->singleStep(), 5);
    QCOMPARE(r->value(), 10);
    r->setValue(start);
    const int dir = steps < 0 ? -1 : 1;
    for (int i = 0; i != steps; i += dir)
        r->stepBy(dir);
    QCOMPARE(r->value(), expected);
}

// The partners without slots of their own rely on the exclusive pair: one toggled(false) of the
// bound button per switch.
void TestFormB::radioPartnersReportThroughToggled_data()
{
    QTest::addColumn<QString>("bound");
    QTest::addColumn<QString>("partner");
    QTest::newRow("inverting mode") << "StabInv"
                                    << "StabNon";
    QTest::newRow("output type") << "CloadButton"
                                 << "LloadButton";
    QTest::newRow("units") << "HSenglish"
                           << "HSmetric";
    QTest::newRow("choose part or package") << "HSchoosePart"
                                            << "HSchoosePackage";
    QTest::newRow("fan shape") << "HSfanCirc"
                               << "HSfanRect";
}

void TestFormB::radioPartnersReportThroughToggled()
{
    QFETCH(QString, bound);
    QFETCH(QString, partner);
    auto *b = find<QRadioButton>(bound);
    auto *p = find<QRadioButton>(partner);
    QVERIFY(b && p);
    QVERIFY(b->autoExclusive() && b->parent() == p->parent());
    QSignalSpy spy(b, &QAbstractButton::toggled);
    p->setChecked(true);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QVERIFY(!b->isChecked());
}

void TestFormB::checkableGroupsGateTheirContents_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("inside");
    QTest::newRow("composite") << "compositeCheckBox"
                               << QStringList{"hostSelector", "hostAOL", "hostPole1", "hostPole2",
                                              "hostPole3"};
    QTest::newRow("size constraints")
        << "HSconstCheckBox" << QStringList{"HSH", "HSL", "HSW", "HSWeight", "HSHunit"};
    QTest::newRow("flow") << "HSfluidCheckBox"
                          << QStringList{"HSlinearFlow", "HSflowDimensions", "HSfanDia",
                                         "HSfanX",       "HSfanY",           "HSvolumeFlow"};
}

void TestFormB::checkableGroupsGateTheirContents()
{
    QFETCH(QString, group);
    QFETCH(QStringList, inside);
    auto *g = find<QGroupBox>(group);
    QVERIFY(g);
    QSignalSpy clicks(g, &QGroupBox::clicked);
    for (const QString &n : inside)
        QVERIFY2(!find<QWidget>(n)->isEnabled(), qPrintable(n));

    if (auto *e = qobject_cast<QLineEdit *>(find<QWidget>(inside.last())))
        e->setText(QStringLiteral("kept"));
    // The user's way to tick the title's check box by keyboard; it emits clicked like a mouse
    // click.
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Space);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(g->isChecked());
    for (const QString &n : inside)
        QVERIFY2(find<QWidget>(n)->isEnabled(), qPrintable(n));

    g->setChecked(false);
    for (const QString &n : inside)
        QVERIFY2(!find<QWidget>(n)->isEnabled(), qPrintable(n));
    if (auto *e = qobject_cast<QLineEdit *>(find<QWidget>(inside.last())))
        QCOMPARE(e->text(), QStringLiteral("kept"));
}

void TestFormB::styleSheets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sheet");
    const QList<QPair<const char *, const char *>> rows = {
        {"StabSch", "border-color: rgb(0, 0, 0);"},
        {"Stability", "font: 20pt \"Agency FB\";"},
        {"page_4_label_calcC", "font: 42pt \"Agency FB\";"},
        {"page_4_label_calcF", "font: 42pt \"Agency FB\";"},
        {"page_4_label_calcR", "font: 42pt \"Agency FB\";"},
        {"HSimage", "image: url(:/KestLinear/TK21.jpg);"},
        {"HSName", "font: 20pt \"Agency FB\";"},
        {"HStable", "background-color: rgb(240, 255, 240);\n"
                    "alternate-background-color: rgb(220, 255, 220);"},
        {"page_6_label_goodMatch",
         "background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1, stop:0 "
         "rgba(240, 255, 240, 255), stop:0.495 rgba(240, 255, 240, 255), stop:0.505 rgba(220, "
         "255, 220, 255), stop:1 rgba(220, 255, 220, 255));"},
        {"page_6_label_closeMatch", "background-color: rgb(255, 255, 160);\n"},
        {"P3editMotor", "image: url(:/KestLinear/ThreePhaseEditMotor.png);\n"
                        "background-color: rgb(255, 255, 255);"},
        {"P3editWaveform", "image: url(:/KestLinear/ThreePhaseEditWaveform.png);\n"
                           "background-color: rgb(255, 255, 255);"},
        {"page_4_label_maxStability", ""},
        {"P3TextBrowser", ""},
    };
    for (const auto &r : rows)
        QTest::newRow(r.first) << r.first << u8(r.second);
}

void TestFormB::styleSheets()
{
    QFETCH(QString, name);
    QFETCH(QString, sheet);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    QCOMPARE(wid->styleSheet(), sheet);
}

void TestFormB::heatsinkTable()
{
    auto *t = find<QTableView>("HStable");
    QVERIFY(t);
    QVERIFY(t->alternatingRowColors());
    QCOMPARE(t->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(t->selectionMode(), QAbstractItemView::NoSelection);
    QCOMPARE(t->selectionBehavior(), QAbstractItemView::SelectItems);
    QVERIFY(t->isSortingEnabled());
    QVERIFY(!t->isCornerButtonEnabled());
    QCOMPARE(t->textElideMode(), Qt::ElideMiddle);
    QCOMPARE(t->gridStyle(), Qt::SolidLine);
    QCOMPARE(t->sizeAdjustPolicy(), QAbstractScrollArea::AdjustToContents);
    QCOMPARE(t->defaultDropAction(), Qt::IgnoreAction);
    QCOMPARE(t->horizontalHeader()->defaultSectionSize(), 120);
    QVERIFY(!t->verticalHeader()->stretchLastSection());
    QVERIFY(!t->model()); // the selector brings its own model

    auto *name = find<QLabel>("HSName");
    QVERIFY(name->openExternalLinks());
    QCOMPARE(name->alignment(), Qt::Alignment(Qt::AlignCenter));
    auto *image = find<QLabel>("HSimage");
    QCOMPARE(image->frameShape(), QFrame::NoFrame);
    QCOMPARE(image->alignment(), Qt::Alignment(Qt::AlignCenter));
    for (const char *swatch : {"page_6_label_goodMatch", "page_6_label_closeMatch"}) {
        auto *l = find<QLabel>(swatch);
        QCOMPARE(l->minimumHeight(), 30);
        QCOMPARE(l->maximumHeight(), 30);
        QCOMPARE(l->frameShape(), QFrame::StyledPanel);
        QCOMPARE(l->alignment(), Qt::Alignment(Qt::AlignCenter));
    }
    QVERIFY(!find<QComboBox>("HSpackage")->isEnabled());
    QVERIFY(find<QComboBox>("HSpart")->isEnabled());
    for (const char *g :
         {"HSconstCheckBox", "HSfluidCheckBox", "HSflowDimensions", "page_6_groupBox_units"})
        QVERIFY2(find<QGroupBox>(g)->alignment() & Qt::AlignHCenter, g);
    QVERIFY(!(find<QGroupBox>("page_6_groupBox_legend")->alignment() & Qt::AlignHCenter));
}

void TestFormB::threePhaseLayout()
{
    // The six graph slots are numbered from top to bottom.
    auto *grid = qobject_cast<QGridLayout *>(find<QGroupBox>("groupBox_4")->layout());
    QVERIFY(grid);
    int lastRow = -1;
    for (int k = 0; k < 6; ++k) {
        auto *g = find<QCustomPlot>(QStringLiteral("P3graph%1").arg(k));
        QVERIFY(g);
        const formtest::Cell cell = formtest::cellIn(grid, g);
        QVERIFY(cell.row > lastRow);
        QCOMPARE(cell.columnSpan, grid->columnCount());
        lastRow = cell.row;
    }
    // The minimum-heatsink row is shown by the form; the page's set-up hides it.
    for (const char *n : {"label_318", "P3minHS", "label_328"})
        QVERIFY(!find<QWidget>(n)->isHidden());

    for (const char *n : {"P3editMotor", "P3editWaveform"}) {
        auto *b = find<QPushButton>(n);
        QCOMPARE(b->font().family(), QStringLiteral("Agency FB"));
        QCOMPARE(b->font().pointSize(), 20);
        QCOMPARE(b->baseSize(), QSize(40, 30));
        QVERIFY(!b->isCheckable());
        QVERIFY(!b->isFlat());
    }
    auto *holder = find<QGroupBox>("P3editMotor2");
    QVERIFY(holder->isFlat());
    auto *hg = qobject_cast<QGridLayout *>(holder->layout());
    QVERIFY(hg);
    QCOMPARE(hg->verticalSpacing(), 0);
    QCOMPARE(hg->contentsMargins(), QMargins(0, 0, 0, 0));
}

// At the window's start size the right column of the stability page stays narrow, the plots
// get real room, and nothing collapses.
void TestFormB::layoutAtStartSize()
{
    w->resize(1230, 691);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));

    ui->Page->setCurrentIndex(4);
    QApplication::processEvents();
    // Narrow beside the schematic; no longer capped at 250 pixels, so captions fit at larger
    // fonts.
    const int column = find<QWidget>("StabilityTab")->width() / 2;
    for (const char *n : {"AmpSelectorStab", "StabilityTabOutput", "StabTutorial"})
        QVERIFY2(find<QWidget>(n)->width() < column, n);
    QVERIFY(find<QWidget>("StabilityTab")->width() > 700);
    QVERIFY(find<QWidget>("StabSch")->height() > 250);
    find<QTabWidget>("StabilityTab")->setCurrentIndex(1);
    QApplication::processEvents();
    // 130 pixels unless its caption needs more.
    auto *phase = find<QWidget>("phaseButton");
    QCOMPARE(phase->width(), qMax(130, phase->sizeHint().width()));
    QVERIFY(find<QWidget>("GainPlot")->height() > 150);

    // The heatsink table adjusts to its contents; a full catalog must not squeeze the curve.
    QStandardItemModel catalog(80, 8);
    ui->HStable->setModel(&catalog);
    ui->Page->setCurrentIndex(7);
    QApplication::processEvents();
    QVERIFY(find<QWidget>("HSplot")->height() >= 150);
    QVERIFY(find<QWidget>("HStable")->height() >= 90);
    QVERIFY(find<QWidget>("HSimage")->height() >= 100);
    const int tableAtStart = find<QWidget>("HStable")->height();
    const int plotAtStart = find<QWidget>("HSplot")->height();
    w->resize(1600, 1000);
    QApplication::processEvents();
    QVERIFY(find<QWidget>("HStable")->height() > tableAtStart + 50);
    QVERIFY(find<QWidget>("HSplot")->height() >= plotAtStart);
    ui->HStable->setModel(nullptr);
    w->resize(1230, 691);
    QApplication::processEvents();

    ui->Page->setCurrentIndex(10);
    QApplication::processEvents();
    for (int k = 0; k < 6; ++k)
        QVERIFY(find<QWidget>(QStringLiteral("P3graph%1").arg(k))->height() >= 60);
    QVERIFY(find<QWidget>("P3editMotor")->height() >= 60);
}

void TestFormB::focusChains_data()
{
    QTest::addColumn<QStringList>("order");
    QTest::newRow("three-phase page, then the home button")
        << QStringList{"P3ampSelector",     "P3Vs",           "P3Vcc",        "P3Fsw",
                       "P3useMaxVs",        "P3useTypVcc",    "P3useMaxFsw",  "P3commType",
                       "P3editMotor",       "P3editWaveform", "P3outputTabs", "P3Tambient",
                       "P3heatsink",        "P3TIM",          "P3dispDC",     "P3removeDiode",
                       "P3removeSwitching", "P3TextBrowser",  "P3startTime",  "P3endTime",
                       "P3downloadPWL",     "HomeButton"};
    QTest::newRow("stability inputs") << QStringList{
        "AmpSelectorStab", "StabInv",   "StabNon",     "CloadButton",  "LloadButton", "StabSlider",
        "StabAuto",        "RCPCR1",    "RCPCF1",      "RCPCR2",       "RCPCC2",      "RCPCF3",
        "RCPCC3",          "R_ISO_R",   "R_ISO_I",     "hostSelector", "hostAOL",     "hostPole1",
        "hostPole2",       "hostPole3", "StabTutorial"};
    QTest::newRow("heatsink inputs")
        << QStringList{"HSchoosePart", "HSpart",      "HSchoosePackage", "HSpackage",
                       "HSrtheta",     "HSenglish",   "HSmetric",        "HSH",
                       "HSL",          "HSW",         "HSWeight",        "HSrelax",
                       "HStable",      "HSsortPrice", "HSreset",         "HSfanCirc",
                       "HSfanDia",     "HSfanRect",   "HSfanX",          "HSfanY"};
}

void TestFormB::focusChains()
{
    QFETCH(QStringList, order);
    QWidget *first = find<QWidget>(order.first());
    QVERIFY(first);
    QList<QWidget *> chain;
    QWidget *cur = first;
    do {
        chain << cur;
        cur = cur->nextInFocusChain();
    } while (cur && cur != first && chain.size() < 5000);
    int last = -1;
    for (const QString &n : order) {
        // A tab widget takes focus through its tab bar.
        QWidget *wid = find<QWidget>(n);
        if (wid->focusProxy()) wid = wid->focusProxy();
        const int at = chain.indexOf(wid);
        QVERIFY2(at > last, qPrintable(n));
        last = at;
    }
}

// Tab must be able to leave every page: reordering a chain around compound widgets can cut a
// loop out of the window's focus ring, trapping the keyboard inside a few fields.
void TestFormB::focusRingUnbroken()
{
    QSet<QWidget *> ring;
    QWidget *cur = ui->HomeButton;
    do {
        ring.insert(cur);
        cur = cur->nextInFocusChain();
    } while (cur && cur != ui->HomeButton && ring.size() < 100000);
    QCOMPARE(cur, static_cast<QWidget *>(ui->HomeButton));
    for (const char *page : pageNames)
        for (QWidget *wid : find<QWidget>(page)->findChildren<QWidget *>())
            QVERIFY2(ring.contains(wid), qPrintable(wid->objectName()));
}

QTEST_MAIN(TestFormB)
#include "tst_form_b.moc"
