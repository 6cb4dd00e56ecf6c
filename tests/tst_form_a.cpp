// The main window form, pages 0 (home), 1 (linear selector), 2 and 3 (SOA) and 5 (Howland
// pump): object names, cells, default texts and states, ranges, status tips and focus order.
// The bare form is built on a plain QMainWindow, so these tests check the form itself and
// nothing that MainWindow does after setupUi.
#include "app/resources.h"
#include "ui_mainwindow.h"

#include "formtest.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>
#include <qcustomplot.h>

#include <memory>
#include <tuple>

namespace {

struct Form
{
    QMainWindow window;
    Ui_MainWindow ui;
    Form() { ui.setupUi(&window); }

    template <typename T = QWidget> T *find(const QString &name) const
    {
        return window.findChild<T *>(name);
    }
};

// The pages this test covers, by object name.
const QStringList ownPages = {"page", "page_2", "SOApage", "SOAoptions", "page_3"};

using formtest::Cell;
using formtest::cellOf;
using formtest::u8;

const QString richNotesFont = QStringLiteral("MS Shell Dlg 2");

} // namespace

class TestFormA : public QObject
{
    Q_OBJECT

    std::unique_ptr<Form> form; // read-only tests share one; tests that click build their own

private slots:
    void initTestCase();

    void pageIndexes_data();
    void pageIndexes();
    void defaultIndexes_data();
    void defaultIndexes();
    void tabTitles_data();
    void tabTitles();

    void statusTips_data();
    void statusTips();
    void noStrayStatusOrToolTips();

    void texts_data();
    void texts();
    void comboItems_data();
    void comboItems();
    void spinBoxes_data();
    void spinBoxes();
    void checkStates_data();
    void checkStates();
    void enabledAtStart_data();
    void enabledAtStart();
    void alignment_data();
    void alignment();
    void styleSheets_data();
    void styleSheets();

    void homeChartCells_data();
    void homeChartCells();
    void homeStretch_data();
    void homeStretch();
    void homeFrameAndLinks();

    void selectorTableSettings();
    void lpsLegendAndSizes();

    void soaSizes();
    void soaLoadStack();
    void soaOptionsPageIsEmpty();

    void ihcpCells_data();
    void ihcpCells();

    void richTexts();

    void exclusiveRadios_data();
    void exclusiveRadios();
    void checkableGroupsEnableContents_data();
    void checkableGroupsEnableContents();

    void focusChain_data();
    void focusChain();
};

void TestFormA::initTestCase()
{
    initAmpwrightResources();
    form = std::make_unique<Form>();
}

// ----------------------------------------------------------------- pages, stacks and tabs

void TestFormA::pageIndexes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::newRow("home") << "page" << 0;
    QTest::newRow("linear selector") << "page_2" << 1;
    QTest::newRow("SOA") << "SOApage" << 2;
    QTest::newRow("empty page behind SOA") << "SOAoptions" << 3;
    QTest::newRow("Howland pump") << "page_3" << 5;
}

void TestFormA::pageIndexes()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QWidget *page = form->find(name);
    QVERIFY2(page, qPrintable(name));
    QCOMPARE(form->ui.Page->indexOf(page), index);
    QCOMPARE(page->parentWidget(), static_cast<QWidget *>(form->ui.Page));
}

void TestFormA::defaultIndexes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::newRow("Page shows home") << "Page" << 0;
    QTest::newRow("SOAdisplayTab on Schematic") << "SOAdisplayTab" << 0;
    QTest::newRow("SOAtabWidget on Signal") << "SOAtabWidget" << 0;
    QTest::newRow("loadType on R-L-C") << "loadType" << 0;
    QTest::newRow("loadTypeBox") << "loadTypeBox" << 0;
    QTest::newRow("MotorBox") << "MotorBox" << 0;
}

void TestFormA::defaultIndexes()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->property("currentIndex").toInt(), index);
}

void TestFormA::tabTitles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("SOAdisplayTab")
        << "SOAdisplayTab" << QStringList{"Schematic", "SOA", "Waveform Viewer", "Advanced"};
    QTest::newRow("SOAtabWidget") << "SOAtabWidget"
                                  << QStringList{"Signal", "Load", "Current Limit"};
}

void TestFormA::tabTitles()
{
    QFETCH(QString, name);
    QFETCH(QStringList, titles);
    auto *tabs = form->find<QTabWidget>(name);
    QVERIFY(tabs);
    QStringList actual;
    for (int i = 0; i < tabs->count(); ++i)
        actual << tabs->tabText(i);
    QCOMPARE(actual, titles);
}

// ----------------------------------------------------------------- status and tool tips

// Every status tip of these pages. Caption labels that carry their field's tip are listed by
// the caption's own object name.
static QList<QPair<QString, QString>> allStatusTips()
{
    const QString sugg =
        "Maximum allowable case temperature in datasheet OR case temperature which "
        "results in maximum junction temperature, whichever is lower.";
    const QString pdLoad =
        "Power dissipated in the load as heat. Innacurate for other forms of energy "
        "dissipation, such as acoustic or kinetic ";
    const QString pdAmp =
        "Power dissipated from the amplifier as heat. if f>60Hz and current is shared "
        "between both output elements, this is RMS. Else, this is PEAK";
    const QString hs = "Enter thermal resistance of heatsink. Enter \"none\" for no heatsink";
    const QString tc = "Resultant case temperature from power dissipation and heatsinking";
    const QString tj = "Resultant junction temperature from power dissipation and heatsinking";
    const QString minHs = "Minimum required heatsink to manage power dissipation";
    const QString ta = "Surrounding Ambient Temperature of Amplifier and Heatsink";
    const QString vdc = "DC Voltage across Motor during Normal Operation";
    const QString mi = "Typical current draw for applied torque level.";
    const QString esr = "Stall resistance of motor windings AKA series resistance";
    const QString emf = "Back EMF of motor. If unknown, use supply voltage";
    const QString rcl =
        "Current Limit Resistor. Though every amplifier is different, I_CL = 0.65V * "
        "R_CL gives a close estimate. Current limit is also dependent on case "
        "temperature.";
    const QString range = "Range of current limit variation displayed on SOA. Recommended: 20%";
    const QString rfo =
        u8("Foldover Resistor value. For LX29, LX30, and LX31, typical values are 0 to "
           "10kΩ. For LX24, LX25, KW321, KW328, and KW335, typical values are 10kΩ "
           "to 50kΩ.");
    const QString after = "Select the number of start-up cycles to \"skip\"";
    const QString cycles = "Select the number of cycles to display on below plots and SOA";
    const QString maxI = "Maximum current into the load";
    const QString minI = "Minimum current into the load";
    const QString trans =
        "When the \"Auto\" button below is clicked, R_F will be changed to result "
        "in this transconductance.";
    const QString tol =
        "When the \"Auto\" button below is clicked, all resistor tolerances will be "
        "changed to result in this overall tolerance (or better)";
    return {
        // home page
        {"LPSbutton", "Select the Perfect Linear Operational Amplifier for any Application"},
        {"SOAbutton", "Calculate Power Dissipation, Heatsink Requirements, and see the Load Line, "
                      "Current Limit, and Voltage Swing Plotted on the Safe Operating Area"},
        {"LstabButton", "Stabilize a Linear Op Amp Circuit with a Capacitive or Inductive Load"},
        {"IHCPbutton", "Design a high-power current-source with an Improved Howland Current Pump"},
        {"SPSButton", "Find the Ideal High-Power Switching (PWM) Amplifier for your Application"},
        {"FilterButton", "Design an Ideal Butterworth Filter for a PWM Amplifier"},
        {"PWMPowerButton",
         "Modify PWM Filter and calculate Voltages, Currents, Power, Efficiency, and Heatsinks"},
        {"PWMControlButton",
         "Design a closed-loop system for controlling a PWM amplifier and analyze its stability"},
        {"ThreePhaseButton", "View and simulate 3-phase waveforms for driving various motors"},
        {"HSbutton", "Select the heatsink with desired size, weight, thermal characteristics, and "
                     "package compatibility"},
        {"Examples", "Quick walkthrough examples to help you become familiar with Kest Ampwright"},
        // SOA page
        {"SOAsch", "Simplified Schematic Showing Amplifier(s) and Load"},
        {"SOA", "Safe Operating Area. Shows all voltage-current combinations that are safe for an "
                "Kest Power Amplifier."},
        {"SOAdisplayAfter", after},
        {"SOApage_label_displayAfter", after},
        {"SOApage_label_displayAfterUnit", after},
        {"SOAdisplayCycles", cycles},
        {"SOApage_label_displayCycles", cycles},
        {"SOApage_label_displayCyclesUnit", cycles},
        {"currentViewer", "Current Viewer. Displays total current through load."},
        {"voltageViewer", "Voltage Viewer. Displays total voltage across load."},
        {"VswingCheckBox",
         "Uncheck to display worst-case voltage swing limitations. Points outside "
         "this \"box\" are unavailable to the output"},
        {"custTempCheckBox", "Check to display an SOA limit line at any desired case temperature"},
        {"ParallelCheckBox", "Check to place amplifiers in a Parallel Configuration. SOA and Power "
                             "Dissipation will be calculated for a single amplifier"},
        {"SOApage_label_numParallel",
         "Number of amplifiers in parallel, including the master amplifier. If Bridging two groups "
         "of paralleled amplifiers, enter the number of amps in one side of the bridge."},
        {"BridgeCheckBox", "Check to place two amplifiers in a Bridge Configuration. SOA and Power "
                           "Dissipation will be calculated for a single amplifier"},
        {"BridgeSameSuppliesButton",
         "Apply the same supplies as the Master Amplifier to the Slave Amplifier."},
        {"BridgeUnipolarSuppliesButton",
         "Apply inverted supplies from the Master Amplifier to the Slave Amplifier. For example, "
         "Master: +165V and -15V ; Slave: +15V and -165V"},
        {"ThermalCompound", "Thermal resistance of amp-heatsink interface. See 'Info' on SOA page "
                            "for a table of Kest Termal Washers details"},
        {"LogCheckBox", "Toggles log vs. linear scales for both axes of SOA plot"},
        {"AmpSelecterSOA", "Select Amplifier"},
        {"SuggTcMax", sugg},
        {"SOApage_label_suggTc", sugg},
        {"PdLoad", pdLoad},
        {"SOApage_label_pdLoad", pdLoad},
        {"PdAmpAvg", pdAmp},
        {"SOApage_label_pdAmp", pdAmp},
        {"heatsink", hs},
        {"SOApage_label_heatsink", hs},
        {"TempC", tc},
        {"SOApage_label_tempC", tc},
        {"TempJ", tj},
        {"SOApage_label_tempJ", tj},
        {"minHeatsink", minHs},
        {"SOApage_label_minHeatsink", minHs},
        {"tempA", ta},
        {"SOApage_label_tempA", ta},
        {"SOApage_label_R", "Load Impedance. Use Load Calculator for complex loads."},
        {"SOA_series", "Selesct for a Series R-L-C Combination"},
        {"SOA_parallel", "Select for a Parallel R-L-C Combination"},
        {"SOA_Rload", "Load Resistance"},
        {"SOA_Lload", "Load Inductance"},
        {"SOA_Cload", "Load Capacitance"},
        {"MotorBox", "Select Motor Test Condition"},
        {"MotorVDC", vdc},
        {"SOApage_label_motorVDC", vdc},
        {"MotorI", mi},
        {"SOApage_label_motorI", mi},
        {"MotorESR", esr},
        {"SOApage_label_motorESR", esr},
        {"MotorEMF", emf},
        {"SOApage_label_motorEMF", emf},
        {"loadTypeBox", "Select Load Type"},
        {"R_CL", rcl},
        {"SOApage_label_RCL", rcl},
        {"RangeBox", range},
        {"SOApage_label_range", range},
        {"FOcheckBox", "Check to apply foldover current limit (if available). This can change the "
                       "slope of the current limit to better match the SOA."},
        {"R_FO", rfo},
        {"SOApage_label_RFO", rfo},
        // Howland pump page
        {"IHCPmaxIout", maxI},
        {"page_3_label_maxIout", maxI},
        {"IHCPminIout", minI},
        {"page_3_label_minIout", minI},
        {"IHCPtrans", trans},
        {"page_3_label_trans", trans},
        {"IHCPtol", tol},
        {"page_3_label_tol", tol},
        {"IHCPauto", "Click to solve for R_F and minimum resistor tolerances for worst-case "
                     "performance. NOTE: set R_S and R_IN first"},
        {"IHCPampSelector", "Select Product for use in the Improved Howland Current Pump"},
        {"IHCPschematic", "IHCP Schematic. Click on labels to change values. Components in color "
                          "are optional compensation techniques."},
        {"IHCPexportSOA", "Export Amplifier, Output Current, and Load Info to SOA page. R_S and "
                          "R_D+C_D are considered in the load."},
        {"IHCPimportSOA", "Import Amplifier, Output Current, and Load Info from SOA page"},
        {"IHCPsweepButton", "Click to toggle between Bode Plot and Load Sweep"},
    };
}

void TestFormA::statusTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    for (const auto &t : allStatusTips())
        QTest::newRow(qPrintable(t.first)) << t.first << t.second;
}

void TestFormA::statusTips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->statusTip(), tip);
}

// The status bar must not show a tip where none is wanted (unit labels, "Select Product",
// the notes), and the pages carry no tool tips at all.
void TestFormA::noStrayStatusOrToolTips()
{
    QSet<QString> tipped;
    for (const auto &t : allStatusTips())
        tipped.insert(t.first);
    for (const QString &pageName : ownPages) {
        for (QWidget *w : form->find(pageName)->findChildren<QWidget *>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
            if (!tipped.contains(w->objectName()))
                QVERIFY2(w->statusTip().isEmpty(), qPrintable(w->objectName()));
            QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
        }
    }
}

// ----------------------------------------------------------------- texts and values

void TestFormA::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const QList<QPair<QString, QString>> rows = {
        // home page
        {"VersionLabel", "Version"},
        {"label_336", "New!"},
        {"LPSbutton", ""},
        {"Examples", ""},
        // linear selector
        {"LPScurrent", "0"},
        {"LPSVpp", "0"},
        {"LPSFreq", "0"},
        {"LPSSR", "0"},
        {"LPSFreqButton", "Max Frequency"},
        {"LPSSRButton", "Max Slew Rate"},
        {"LPSBridgeCheckBox", "Show Bridge Solutions"},
        {"LPSParallelCheckBox", "Show Parallel Solutions - Max:"},
        {"sortPrice", "Sort by Relative Price Low-to-High (Default)"},
        {"LPSresetButton", "Reset"},
        {"LPSLinearName", "LX21"},
        {"LPSimage", ""},
        {"page_2_label_vpp", "Peak - to - Peak Output Voltage"},
        {"page_2_label_srUnit", u8("V/µs")},
        {"page_2_label_accept", "Accept \"Close Matches\" up to:"},
        {"page_2_label_deviation", "% deviation from requirements"},
        {"page_2_label_goodMatch", "Good Match"},
        {"page_2_label_footnote",
         "* Maximum Output Swing is calculated with boost supplies if applicable."},
        {"groupBox_29", ""},
        {"groupBox_30", ""},
        {"groupBox_42", ""},
        {"page_2_groupBox_legend", "Legend"},
        // SOA page: inputs
        {"SOAeditSignalButton", "Edit Signal"},
        {"SOA_series", "Series"},
        {"SOA_parallel", "Parallel"},
        {"SOA_Rload", "1k"},
        {"SOA_Lload", "short"},
        {"SOA_Cload", "short"},
        {"MotorVDC", "12"},
        {"MotorI", "1"},
        {"MotorESR", "3"},
        {"MotorEMF", "50"},
        {"R_CL", "short"},
        {"R_FO", "open"},
        {"tempA", "25"},
        {"heatsink", "0"},
        {"VswingCheckBox", "Hide Voltage Swing"},
        {"LogCheckBox", "Log Scale"},
        {"ThermalCompound", "0.1"},
        {"custTempLine", "100"},
        {"BridgeSameSuppliesButton", "Same Supplies"},
        {"BridgeUnipolarSuppliesButton", "Unipolar Output"},
        // SOA page: outputs
        {"PdLoad", "0"},
        {"PdAmpAvg", "0"},
        {"SuggTcMax", "125"},
        {"minHeatsink", "none"},
        {"TempC", "25"},
        {"TempJ", "25"},
        // SOA page: captions, units and titles
        {"SOApage_label_setSupplies", "Set Supplies in Schematic"},
        {"SOApage_label_tempA", "Ambient Temp "},
        {"SOApage_label_RCL", "R_CL = "},
        {"SOApage_label_Runit", u8("Ω")},
        {"SOApage_label_suggTcUnit", u8("°C")},
        {"SOApage_label_minHeatsinkUnit", u8("°C/W")},
        {"SOApage_label_motorEMF", "Back EMF (worst case: use V_S)"},
        {"SOApage_label_motorVDCunit", "VDC"},
        {"SOApage_label_foldoverNote", "For reactive loads, foldover is discouranged."},
        {"SOApage_label_waveNote", "Note: These are idealized output waveforms across/through the "
                                   "load. Real outputs may look different."},
        {"SOApage_label_numParallel", "# in Parallel:"},
        {"FOcheckBox", "Foldover Current Limit"},
        {"custTempCheckBox", "Custom Case Temp"},
        {"BridgeCheckBox", "Bridge"},
        {"ParallelCheckBox", "Parallel"},
        {"SOApage_groupBox_power", "Power"},
        {"SOApage_groupBox_heatsinking", "Heatsinking"},
        {"SOApage_groupBox_thermal", "Thermal Compound Resistance:"},
        {"SOApage_groupBox_details", "Additional Power Details"},
        {"groupBox_19", ""},
        // Howland pump page
        {"IHCPmaxIout", "2"},
        {"IHCPminIout", "-2"},
        {"IHCPtrans", "1"},
        {"IHCPtol", "5"},
        {"IHCPInvButton", "Inverting "},
        {"IHCPNonButton", "Non-Inverting"},
        {"IHCPauto", "Auto-Solve R_F Values and Tolerances"},
        {"IHCPimportSOA", "Import from SOA/Power"},
        {"IHCPexportSOA", "Export to SOA/Power"},
        {"IHCPsweepButton", "Sweep Load Impedance"},
        {"page_3_label_product", "Select Product"},
        {"page_3_label_maxIout", "Max I_out"},
        {"page_3_label_tol", "Desired Tolerance of Transconductance"},
        {"page_3_label_transUnit", "A/V"},
        {"page_3_label_errors",
         "Errors tend to increase with load impedance. Enter highest load impedance."},
    };
    for (const auto &r : rows)
        QTest::newRow(qPrintable(r.first)) << r.first << r.second;
}

void TestFormA::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    // Group boxes show a title; every other widget here a text.
    const char *property = qobject_cast<QGroupBox *>(w) ? "title" : "text";
    QCOMPARE(w->property(property).toString(), text);
}

void TestFormA::comboItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("loadTypeBox") << "loadTypeBox" << QStringList{"RLC Combo", "DC Motor"};
    QTest::newRow("MotorBox") << "MotorBox" << QStringList{"Normal", "Stall", "Reversal"};
    // Filled with part names at run time, so empty in the form.
    QTest::newRow("AmpSelecterSOA") << "AmpSelecterSOA" << QStringList{};
    QTest::newRow("IHCPampSelector") << "IHCPampSelector" << QStringList{};
}

void TestFormA::comboItems()
{
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    auto *box = form->find<QComboBox>(name);
    QVERIFY(box);
    QStringList actual;
    for (int i = 0; i < box->count(); ++i)
        actual << box->itemText(i);
    QCOMPARE(actual, items);
}

void TestFormA::spinBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("value");
    QTest::newRow("LPSNumAmps") << "LPSNumAmps" << 1 << 10 << 1 << 3;
    QTest::newRow("LPSRelax") << "LPSRelax" << 0 << 100 << 5 << 20;
    QTest::newRow("RangeBox") << "RangeBox" << 0 << 100 << 5 << 20;
    QTest::newRow("SOAdisplayAfter accepts 0") << "SOAdisplayAfter" << 0 << 99 << 1 << 2;
    QTest::newRow("SOAdisplayCycles from 1") << "SOAdisplayCycles" << 1 << 99 << 1 << 2;
    QTest::newRow("NumParallel") << "NumParallel" << 1 << 5 << 1 << 1;
}

void TestFormA::spinBoxes()
{
    QFETCH(QString, name);
    auto *box = form->find<QSpinBox>(name);
    QVERIFY(box);
    QTEST(box->minimum(), "minimum");
    QTEST(box->maximum(), "maximum");
    QTEST(box->singleStep(), "step");
    QTEST(box->value(), "value");
}

void TestFormA::checkStates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("checked");
    QTest::newRow("LPSFreqButton") << "LPSFreqButton" << true << true;
    QTest::newRow("LPSSRButton") << "LPSSRButton" << true << false;
    QTest::newRow("LPSBridgeCheckBox") << "LPSBridgeCheckBox" << true << false;
    QTest::newRow("LPSParallelCheckBox") << "LPSParallelCheckBox" << true << false;
    QTest::newRow("SOA_series") << "SOA_series" << true << true;
    QTest::newRow("SOA_parallel") << "SOA_parallel" << true << false;
    QTest::newRow("VswingCheckBox") << "VswingCheckBox" << true << true;
    QTest::newRow("LogCheckBox") << "LogCheckBox" << true << true;
    QTest::newRow("FOcheckBox") << "FOcheckBox" << true << false;
    QTest::newRow("custTempCheckBox") << "custTempCheckBox" << true << false;
    QTest::newRow("BridgeCheckBox") << "BridgeCheckBox" << true << false;
    QTest::newRow("ParallelCheckBox") << "ParallelCheckBox" << true << false;
    QTest::newRow("BridgeSameSuppliesButton") << "BridgeSameSuppliesButton" << true << true;
    QTest::newRow("BridgeUnipolarSuppliesButton")
        << "BridgeUnipolarSuppliesButton" << true << false;
    QTest::newRow("IHCPInvButton") << "IHCPInvButton" << true << true;
    QTest::newRow("IHCPNonButton") << "IHCPNonButton" << true << false;
    QTest::newRow("thermal compound box is no option")
        << "SOApage_groupBox_thermal" << false << false;
    QTest::newRow("Power box is no option") << "SOApage_groupBox_power" << false << false;
}

void TestFormA::checkStates()
{
    QFETCH(QString, name);
    QFETCH(bool, checkable);
    QFETCH(bool, checked);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->property("checkable").toBool(), checkable);
    QCOMPARE(w->property("checked").toBool(), checked);
}

void TestFormA::enabledAtStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("LPSFreq") << "LPSFreq" << true;
    QTest::newRow("LPSSR follows Max Frequency") << "LPSSR" << false;
    QTest::newRow("R_FO inside unchecked foldover") << "R_FO" << false;
    QTest::newRow("custTempLine inside unchecked box") << "custTempLine" << false;
    QTest::newRow("NumParallel inside unchecked box") << "NumParallel" << false;
    QTest::newRow("same supplies inside unchecked bridge") << "BridgeSameSuppliesButton" << false;
    QTest::newRow("unipolar inside unchecked bridge") << "BridgeUnipolarSuppliesButton" << false;
    QTest::newRow("R_CL") << "R_CL" << true;
    QTest::newRow("ThermalCompound") << "ThermalCompound" << true;
    QTest::newRow("IHCPminIout") << "IHCPminIout" << true;
}

void TestFormA::enabledAtStart()
{
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->isEnabled(), enabled);
}

void TestFormA::alignment_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("horizontal");
    const int right = Qt::AlignRight, center = Qt::AlignHCenter, left = Qt::AlignLeft;
    QTest::newRow("PdLoad value") << "PdLoad" << right;
    QTest::newRow("PdAmpAvg value") << "PdAmpAvg" << right;
    QTest::newRow("SuggTcMax value") << "SuggTcMax" << right;
    QTest::newRow("minHeatsink value") << "minHeatsink" << right;
    QTest::newRow("TempC value") << "TempC" << right;
    QTest::newRow("TempJ value") << "TempJ" << right;
    QTest::newRow("caption R") << "SOApage_label_R" << right;
    QTest::newRow("caption R_CL") << "SOApage_label_RCL" << right;
    QTest::newRow("caption % Range") << "SOApage_label_range" << right;
    QTest::newRow("Ambient Temp stays left") << "SOApage_label_tempA" << left;
    QTest::newRow("Set Supplies caption") << "SOApage_label_setSupplies" << center;
    QTest::newRow("Power title") << "SOApage_groupBox_power" << center;
    QTest::newRow("Heatsinking title") << "SOApage_groupBox_heatsinking" << center;
    QTest::newRow("Foldover title") << "FOcheckBox" << center;
    QTest::newRow("Custom Case Temp title") << "custTempCheckBox" << center;
    QTest::newRow("Bridge title") << "BridgeCheckBox" << center;
    QTest::newRow("Parallel title") << "ParallelCheckBox" << center;
    QTest::newRow("details title") << "SOApage_groupBox_details" << center;
    QTest::newRow("thermal compound title stays left") << "SOApage_groupBox_thermal" << left;
    QTest::newRow("LPSLinearName") << "LPSLinearName" << center;
    QTest::newRow("pump caption Select Product") << "page_3_label_product" << right;
    QTest::newRow("pump caption tolerance") << "page_3_label_tol" << right;
    QTest::newRow("pump load note") << "page_3_label_errors" << center;
    QTest::newRow("START picture") << "label_332" << center;
    QTest::newRow("chevron") << "label_347" << center;
    QTest::newRow("SupportLink") << "SupportLink" << center;
    QTest::newRow("VersionLabel") << "VersionLabel" << right;
}

void TestFormA::alignment()
{
    QFETCH(QString, name);
    QFETCH(int, horizontal);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    const int align = w->property("alignment").toInt();
    QCOMPARE(align & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute, horizontal);
}

void TestFormA::styleSheets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("styleSheet");
    const QList<QPair<QString, QString>> rows = {
        {"label_100", "border-image: url(:/KestLinear/AWsymbol.png);"},
        {"label_332", "image: url(:/KestLinear/Start.png);"},
        {"Examples", "border-image: url(:/KestLinear/Tutorial.jpg);"},
        {"LPSbutton", "border-image: url(:/KestLinear/Linear.jpg);"},
        {"SPSButton", "border-image: url(:/KestLinear/PWM.jpg);"},
        {"label_323", "image: url(:/KestLinear/chevronL.png);"},
        {"label_347", "image: url(:/KestLinear/chevron.png);"},
        {"label_356", "image: url(:/KestLinear/chevron.png);"},
        {"label_331", "image: url(:/KestLinear/chevronR.png);"},
        {"IHCPbutton", "border-image: url(:/KestLinear/IHCP.jpg);"},
        {"SOAbutton", "border-image: url(:/KestLinear/SOA.jpg);"},
        {"FilterButton", "border-image: url(:/KestLinear/Filter.jpg);"},
        {"ThreePhaseButton", "border-image: url(:/KestLinear/Motor.jpg);"},
        {"label_336", "font: 14pt \"Agency FB\";\ncolor: rgb(0, 85, 255);"},
        {"label_348", "image: url(:/KestLinear/chevron.png);"},
        {"label_357", "image: url(:/KestLinear/chevron.png);"},
        {"LstabButton", "border-image: url(:/KestLinear/Stability.jpg);"},
        {"PWMPowerButton", "border-image: url(:/KestLinear/Power.jpg);"},
        {"label_358", "image: url(:/KestLinear/chevron.png);"},
        {"BackgroundLabel", "border-image: url(:/KestLinear/KestLogo.png);"},
        {"PWMControlButton", "border-image: url(:/KestLinear/Control.jpg);"},
        {"HSbutton", "border-image: url(:/KestLinear/Heatsink.jpg);"},
        {"SupportLink",
         "font: 14pt \"Agency FB\";\ntext-decoration: underline;\ncolor: rgb(0, 0, 255);"},
        {"LPSLinearName", "font: 32pt \"Agency FB\";"},
        {"LPSimage", "image: url(:/KestLinear/CE.JPG);"},
        {"page_2_label_goodMatch",
         "background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1, stop:0 rgba(240, "
         "255, 240, 255), stop:0.495 rgba(240, 255, 240, 255), stop:0.505 rgba(220, 255, 220, "
         "255), "
         "stop:1 rgba(220, 255, 220, 255));"},
        {"page_2_label_closeMatch", "background-color: rgb(255, 255, 160);"},
        {"selectorTable",
         "background-color: rgb(240, 255, 240);\nalternate-background-color: rgb(220, 255, 220);"},
        // The SOA and pump pages set no style sheet of their own.
        {"SOApage", ""},
        {"notes", ""},
        {"page_3", ""},
        {"IHCPnotes", ""},
    };
    for (const auto &r : rows)
        QTest::newRow(qPrintable(r.first)) << r.first << r.second;
}

void TestFormA::styleSheets()
{
    QFETCH(QString, name);
    QFETCH(QString, styleSheet);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->styleSheet(), styleSheet);
}

// ----------------------------------------------------------------- home page

void TestFormA::homeChartCells_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rowSpan");
    QTest::addColumn<int>("columnSpan");
    const QList<std::tuple<const char *, int, int, int, int>> cells = {
        {"label_330", 0, 0, 1, 1},
        {"label_303", 0, 1, 1, 1},
        {"label_333", 0, 3, 1, 1},
        {"label_332", 0, 4, 1, 1},
        {"label_335", 0, 6, 1, 1},
        {"label_326", 0, 9, 1, 1},
        {"Examples", 0, 10, 1, 1},
        {"label_307", 2, 2, 1, 1},
        {"LPSbutton", 2, 3, 1, 1},
        {"label_315", 2, 4, 1, 1},
        {"SPSButton", 2, 6, 1, 1},
        {"label_325", 2, 8, 1, 1},
        {"label_323", 3, 1, 1, 1},
        {"label_347", 3, 3, 1, 1},
        {"label_356", 3, 6, 1, 1},
        {"label_331", 3, 9, 1, 1},
        {"label_334", 4, 0, 1, 1},
        {"IHCPbutton", 4, 1, 1, 1},
        {"SOAbutton", 4, 3, 1, 1},
        {"FilterButton", 4, 6, 1, 1},
        {"ThreePhaseButton", 4, 9, 1, 1},
        {"label_336", 4, 10, 1, 1},
        {"label_348", 5, 3, 1, 1},
        {"label_357", 5, 6, 1, 1},
        {"label_345", 8, 0, 1, 1},
        {"LstabButton", 8, 3, 1, 1},
        {"PWMPowerButton", 8, 6, 1, 1},
        {"label_358", 9, 6, 1, 1},
        {"BackgroundLabel", 10, 0, 3, 2},
        {"label_341", 10, 3, 1, 1},
        {"PWMControlButton", 10, 6, 1, 1},
        {"label_359", 11, 6, 1, 1},
        {"HSbutton", 12, 4, 1, 1},
        {"VersionLabel", 12, 10, 1, 1},
        // the outer grid of the page
        {"label_100", 1, 1, 1, 1},
        {"groupBox_5", 2, 0, 1, 3},
        {"SupportLink", 3, 0, 1, 3},
    };
    for (const auto &c : cells)
        QTest::newRow(std::get<0>(c)) << std::get<0>(c) << std::get<1>(c) << std::get<2>(c)
                                      << std::get<3>(c) << std::get<4>(c);
}

void TestFormA::homeChartCells()
{
    QFETCH(QString, name);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    const Cell c = cellOf(w);
    QTEST(c.row, "row");
    QTEST(c.column, "column");
    QTEST(c.rowSpan, "rowSpan");
    QTEST(c.columnSpan, "columnSpan");
}

void TestFormA::homeStretch_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    for (const char *n : {"LPSbutton", "SPSButton", "Examples", "label_332", "label_330",
                          "label_303", "label_315", "label_326"})
        QTest::newRow(n) << n << 10 << 5;
    for (const char *n : {"label_333", "label_335"})
        QTest::newRow(n) << n << 10 << 0;
    for (const char *n :
         {"label_307", "label_325", "label_334", "label_345", "label_341", "VersionLabel"})
        QTest::newRow(n) << n << 1 << 5;
    QTest::newRow("groupBox_5") << "groupBox_5" << 1 << 1;
    for (const char *n : {"SOAbutton", "IHCPbutton", "HSbutton", "label_347", "BackgroundLabel",
                          "label_336", "label_359"})
        QTest::newRow(n) << n << 0 << 0;
}

void TestFormA::homeStretch()
{
    QFETCH(QString, name);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    const QSizePolicy p = w->sizePolicy();
    QCOMPARE(p.horizontalPolicy(), QSizePolicy::Preferred);
    QCOMPARE(p.verticalPolicy(), QSizePolicy::Preferred);
    QTEST(p.horizontalStretch(), "horizontal");
    QTEST(p.verticalStretch(), "vertical");
}

void TestFormA::homeFrameAndLinks()
{
    auto *wordmark = form->find<QLabel>("label_100");
    QCOMPARE(wordmark->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(wordmark->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(wordmark->minimumSize(), QSize(350, 50));
    QCOMPARE(wordmark->maximumHeight(), 50);

    auto *link = form->find<QLabel>("SupportLink");
    QVERIFY(!link->text().isEmpty());
    QVERIFY(link->openExternalLinks());
    QCOMPARE(link->textInteractionFlags(), Qt::LinksAccessibleByMouse);
    QCOMPARE(link->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);

    QCOMPARE(form->find<QLabel>("VersionLabel")->alignment() & Qt::AlignVertical_Mask,
             Qt::AlignBottom);
    QCOMPARE(form->find<QLabel>("label_336")->alignment() & Qt::AlignVertical_Mask, Qt::AlignTop);

    // The eleven feature buttons are pictures only.
    for (const char *n :
         {"LPSbutton", "SOAbutton", "LstabButton", "IHCPbutton", "SPSButton", "FilterButton",
          "PWMPowerButton", "PWMControlButton", "ThreePhaseButton", "HSbutton", "Examples"}) {
        auto *b = form->find<QPushButton>(n);
        QVERIFY2(b, n);
        QVERIFY2(b->text().isEmpty(), n);
        QCOMPARE(b->parentWidget(), form->find("groupBox_5"));
    }
}

// ----------------------------------------------------------------- linear selector page

void TestFormA::selectorTableSettings()
{
    auto *table = form->find<QTableView>("selectorTable");
    QVERIFY(table);
    QVERIFY(!table->model());
    QVERIFY(table->alternatingRowColors());
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->selectionMode(), QAbstractItemView::NoSelection);
    QCOMPARE(table->textElideMode(), Qt::ElideLeft);
    QVERIFY(table->isSortingEnabled());
    QVERIFY(table->wordWrap());
    QVERIFY(!table->isCornerButtonEnabled());
    QVERIFY(!table->horizontalHeader()->cascadingSectionResizes());
    QCOMPARE(table->frameShape(), QFrame::StyledPanel);
    QCOMPARE(table->midLineWidth(), 0);
    QCOMPARE(cellOf(table).row, 1);
    QCOMPARE(cellOf(table).columnSpan, 3);
}

void TestFormA::lpsLegendAndSizes()
{
    auto *name = form->find<QLabel>("LPSLinearName");
    QVERIFY(name->openExternalLinks());

    auto *image = form->find<QLabel>("LPSimage");
    QCOMPARE(image->frameShape(), QFrame::NoFrame);
    QCOMPARE(image->textFormat(), Qt::PlainText);
    const Cell imageCell = cellOf(image);
    QCOMPARE(imageCell.column, 1);
    QCOMPARE(imageCell.rowSpan, 3);

    for (const char *n : {"page_2_label_goodMatch", "page_2_label_closeMatch"}) {
        auto *swatch = form->find<QLabel>(n);
        QVERIFY2(swatch, n);
        QCOMPARE(swatch->minimumHeight(), 30);
        QCOMPARE(swatch->maximumHeight(), 30);
        QCOMPARE(swatch->frameShape(), QFrame::StyledPanel);
        QCOMPARE(swatch->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(swatch->parentWidget()->objectName(), QString("page_2_groupBox_legend"));
    }
    auto *close = form->find<QLabel>("page_2_label_closeMatch");
    QVERIFY(close->wordWrap());
    QVERIFY(close->text().contains("font-family:'" + richNotesFont + "'; font-size:8pt;"));
    QTextDocument doc;
    doc.setHtml(close->text());
    QCOMPARE(doc.toPlainText(), QString("Close Match "));

    // The footnotes may grow to a whole line of text at any font size.
    for (const char *n : {"page_2_label_accept", "page_2_label_footnote"})
        QCOMPARE(form->find(n)->maximumHeight(), QWIDGETSIZE_MAX);
    QVERIFY(form->find<QLabel>("page_2_label_accept")->wordWrap());

    // The three group boxes stand side by side above the table.
    QCOMPARE(cellOf(form->find("groupBox_29")).column, 0);
    QCOMPARE(cellOf(form->find("groupBox_30")).column, 1);
    QCOMPARE(cellOf(form->find("groupBox_42")).column, 2);
    QCOMPARE(cellOf(form->find("LPSNumAmps")).row, cellOf(form->find("LPSParallelCheckBox")).row);
}

// ----------------------------------------------------------------- SOA pages

void TestFormA::soaSizes()
{
    for (const char *n :
         {"SOApage_groupBox_thermal", "custTempCheckBox", "BridgeCheckBox", "ParallelCheckBox"}) {
        QWidget *box = form->find(n);
        QVERIFY2(box, n);
        // At least 250 pixels, and wider where the title or the contents need it.
        QCOMPARE(box->minimumWidth(), 250);
        QCOMPARE(box->maximumWidth(), QWIDGETSIZE_MAX);
    }
    QCOMPARE(form->find("notes")->maximumHeight(), 70);
    QVERIFY(form->find<QLabel>("SOApage_label_motorEMF")->wordWrap());
    QCOMPARE(form->find("SOApage_label_motorEMF")->minimumWidth(), 100);
    QVERIFY(form->find<QLabel>("SOApage_label_foldoverNote")->wordWrap());

    // The four plots are plot widgets, each on its own display tab or stacked on the viewer tab.
    for (const char *n :
         {"SOAsch", "SOA", "voltageViewer", "currentViewer", "IHCPschematic", "IHCPbode"})
        QVERIFY2(form->find<QCustomPlot>(n), n);
    QCOMPARE(cellOf(form->find("voltageViewer")).row + 1, cellOf(form->find("currentViewer")).row);

    // The left column spans the display tabs and the notes.
    const Cell left = cellOf(form->find("groupBox_19"));
    QCOMPARE(left.column, 0);
    QCOMPARE(left.rowSpan, 2);
    QCOMPARE(cellOf(form->find("notes")).row, cellOf(form->find("SOAdisplayTab")).row + 1);
}

void TestFormA::soaLoadStack()
{
    auto *stack = form->find<QStackedWidget>("loadType");
    QVERIFY(stack);
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->widget(0)->objectName(), QString("page_30"));
    QCOMPARE(stack->widget(1)->objectName(), QString("page_31"));
    QVERIFY(stack->widget(0)->isAncestorOf(form->find("SOA_Rload")));
    QVERIFY(stack->widget(1)->isAncestorOf(form->find("MotorEMF")));
    QVERIFY(form->find("ThermalCompound")->parentWidget()->objectName() ==
            QString("SOApage_groupBox_thermal"));
}

void TestFormA::soaOptionsPageIsEmpty()
{
    QWidget *page = form->find("SOAoptions");
    QVERIFY(qobject_cast<QGridLayout *>(page->layout()));
    QCOMPARE(page->layout()->count(), 0);
    QVERIFY(page->findChildren<QWidget *>().isEmpty());
}

// ----------------------------------------------------------------- Howland pump page

void TestFormA::ihcpCells_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rowSpan");
    QTest::addColumn<int>("columnSpan");
    QTest::newRow("schematic") << "IHCPschematic" << 0 << 0 << 1 << 4;
    QTest::newRow("inputs") << "page_3_groupBox_inputs" << 0 << 4 << 1 << 2;
    QTest::newRow("load note") << "page_3_label_errors" << 1 << 0 << 1 << 4;
    QTest::newRow("import") << "IHCPimportSOA" << 1 << 4 << 1 << 1;
    QTest::newRow("export") << "IHCPexportSOA" << 1 << 5 << 1 << 1;
    QTest::newRow("notes") << "IHCPnotes" << 2 << 0 << 2 << 2;
    QTest::newRow("bode") << "IHCPbode" << 2 << 2 << 1 << 4;
    QTest::newRow("sweep") << "IHCPsweepButton" << 3 << 3 << 1 << 2;
    QTest::newRow("selector spans field and unit") << "IHCPampSelector" << 0 << 1 << 1 << 2;
    QTest::newRow("tolerance field") << "IHCPtol" << 4 << 1 << 1 << 1;
    QTest::newRow("mode box") << "page_3_groupBox_mode" << 5 << 0 << 1 << 3;
    QTest::newRow("auto") << "IHCPauto" << 6 << 0 << 1 << 3;
}

void TestFormA::ihcpCells()
{
    QFETCH(QString, name);
    QWidget *w = form->find(name);
    QVERIFY2(w, qPrintable(name));
    const Cell c = cellOf(w);
    QTEST(c.row, "row");
    QTEST(c.column, "column");
    QTEST(c.rowSpan, "rowSpan");
    QTEST(c.columnSpan, "columnSpan");
}

// ----------------------------------------------------------------- rich texts

void TestFormA::richTexts()
{
    // notes: one paragraph "Notes:" at 8.25 pt in a 9.75 pt "MS Shell Dlg 2" body.
    auto *notes = form->find<QTextBrowser>("notes");
    QCOMPARE(notes->toPlainText(), QString("Notes:"));
    const QTextCharFormat notesFormat =
        notes->document()->firstBlock().begin().fragment().charFormat();
    QCOMPARE(notesFormat.fontPointSize(), 8.25);
    QCOMPARE(notesFormat.fontFamily(), richNotesFont);

    auto *pump = form->find<QTextBrowser>("IHCPnotes");
    const QStringList expected = {"Notes:",
                                  "",
                                  "TRANSCONDUCTANCE",
                                  "\tNominal: -1 A/V",
                                  "\tWorst case: -1.05 A/V",
                                  "",
                                  "STABILITY",
                                  "\tMarginally Stable",
                                  "\t(based only on rate of closure)",
                                  "\tRate of Closure: 40 dB/Decade",
                                  u8("\tRecommended Comp: Rd = 100Ω Cd = 10nF"),
                                  "",
                                  "MISCELLANEOUS DETAILS",
                                  u8("\tOutput Impedance: 60 kΩ"),
                                  "\tEquiv. Output Capacitance: 12nF",
                                  u8("\tß-: 0.5"),
                                  u8("\tß+ (@DC): 0.49"),
                                  "\tB+ (@AC): 0.45",
                                  "\tRMS Power in R_sense: 12.5W",
                                  ""};
    QCOMPARE(pump->toPlainText().split('\n'), expected);
    for (QTextBlock b = pump->document()->firstBlock(); b.isValid(); b = b.next()) {
        const QTextCharFormat f =
            b.text().isEmpty() ? b.charFormat() : b.begin().fragment().charFormat();
        QVERIFY2(f.fontPointSize() == 8.25, qPrintable(b.text()));
        if (!b.text().isEmpty()) QVERIFY2(f.fontFamily() == richNotesFont, qPrintable(b.text()));
    }

    QVERIFY(form->find<QTextBrowser>("SOASignalReadout")->toPlainText().isEmpty());
    QVERIFY(form->find<QTextBrowser>("PowerDetails")->toPlainText().isEmpty());
}

// ----------------------------------------------------------------- behaviour of the form itself

void TestFormA::exclusiveRadios_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("frequency or slew rate") << "LPSFreqButton"
                                            << "LPSSRButton";
    QTest::newRow("series or parallel load") << "SOA_series"
                                             << "SOA_parallel";
    QTest::newRow("bridge supplies") << "BridgeSameSuppliesButton"
                                     << "BridgeUnipolarSuppliesButton";
    QTest::newRow("pump input") << "IHCPInvButton"
                                << "IHCPNonButton";
}

// Choosing the second button of a pair unchecks the first, and the first reports it through
// toggled(false), which is the signal its slot listens to.
void TestFormA::exclusiveRadios()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    Form f;
    auto *bridge = f.find<QGroupBox>("BridgeCheckBox");
    bridge->setChecked(true);
    auto *a = f.find<QRadioButton>(first);
    auto *b = f.find<QRadioButton>(second);
    QVERIFY(a->isChecked());
    QSignalSpy toggled(a, &QAbstractButton::toggled);
    b->click();
    QVERIFY(b->isChecked());
    QVERIFY(!a->isChecked());
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(toggled.at(0).at(0).toBool(), false);
}

void TestFormA::checkableGroupsEnableContents_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("contents");
    QTest::newRow("foldover") << "FOcheckBox" << QStringList{"R_FO"};
    QTest::newRow("custom case temp") << "custTempCheckBox" << QStringList{"custTempLine"};
    QTest::newRow("bridge") << "BridgeCheckBox"
                            << QStringList{"BridgeSameSuppliesButton",
                                           "BridgeUnipolarSuppliesButton"};
    QTest::newRow("parallel") << "ParallelCheckBox" << QStringList{"NumParallel"};
}

void TestFormA::checkableGroupsEnableContents()
{
    QFETCH(QString, group);
    QFETCH(QStringList, contents);
    Form f;
    auto *box = f.find<QGroupBox>(group);
    for (const QString &n : contents)
        QVERIFY2(!f.find(n)->isEnabled(), qPrintable(n));
    box->setChecked(true);
    for (const QString &n : contents)
        QVERIFY2(f.find(n)->isEnabled(), qPrintable(n));
}

// ----------------------------------------------------------------- focus order

void TestFormA::focusChain_data()
{
    QTest::addColumn<QStringList>("order");
    QTest::newRow("home") << QStringList{"LPSbutton",      "SOAbutton",        "LstabButton",
                                         "IHCPbutton",     "SPSButton",        "FilterButton",
                                         "PWMPowerButton", "PWMControlButton", "ThreePhaseButton",
                                         "HSbutton",       "Examples"};
    QTest::newRow("linear selector")
        << QStringList{"LPScurrent",    "LPSVpp",      "LPSFreq",           "LPSSR",
                       "LPSFreqButton", "LPSSRButton", "LPSBridgeCheckBox", "LPSParallelCheckBox",
                       "LPSNumAmps",    "LPSRelax",    "sortPrice",         "LPSresetButton",
                       "selectorTable"};
    QTest::newRow("SOA") << QStringList{"AmpSelecterSOA",
                                        "SOAtabWidget",
                                        "SOAeditSignalButton",
                                        "SOASignalReadout",
                                        "loadTypeBox",
                                        "SOA_series",
                                        "SOA_parallel",
                                        "SOA_Rload",
                                        "SOA_Lload",
                                        "SOA_Cload",
                                        "MotorBox",
                                        "MotorVDC",
                                        "MotorI",
                                        "MotorESR",
                                        "MotorEMF",
                                        "R_CL",
                                        "RangeBox",
                                        "FOcheckBox",
                                        "R_FO",
                                        "tempA",
                                        "heatsink",
                                        "SOAdisplayTab",
                                        "SOAdisplayAfter",
                                        "SOAdisplayCycles",
                                        "VswingCheckBox",
                                        "LogCheckBox",
                                        "ThermalCompound",
                                        "custTempCheckBox",
                                        "custTempLine",
                                        "BridgeCheckBox",
                                        "BridgeSameSuppliesButton",
                                        "BridgeUnipolarSuppliesButton",
                                        "ParallelCheckBox",
                                        "NumParallel",
                                        "PowerDetails",
                                        "notes"};
    QTest::newRow("Howland pump") << QStringList{
        "IHCPampSelector", "IHCPmaxIout",   "IHCPminIout",   "IHCPtrans",
        "IHCPtol",         "IHCPInvButton", "IHCPNonButton", "IHCPauto",
        "IHCPimportSOA",   "IHCPexportSOA", "IHCPnotes",     "IHCPsweepButton"};
}

// Walking the focus chain from the first widget meets the others in the given order. Between
// two of them only widgets inside the earlier one (a spin box's editor, a tab widget's pages)
// or widgets that take no keyboard focus may stand. All of them stay on the window's one
// focus ring: setTabOrder can split the ring when a scroll area's viewport has drifted away
// from it, and Tab then never leaves the split-off part.
void TestFormA::focusChain()
{
    QFETCH(QStringList, order);
    QSet<QWidget *> ring;
    QWidget *walker = &form->window;
    do {
        ring.insert(walker);
        walker = walker->nextInFocusChain();
    } while (walker != &form->window && ring.size() < 100000);
    for (const QString &n : order)
        QVERIFY2(ring.contains(form->find(n)), qPrintable(n + " is off the window's focus ring"));

    QWidget *w = form->find(order.first());
    QVERIFY(w);
    QWidget *previous = w;
    for (int i = 1; i < order.size(); ++i) {
        QWidget *target = form->find(order.at(i));
        QVERIFY2(target, qPrintable(order.at(i)));
        int guard = 0;
        for (w = w->nextInFocusChain(); w != target; w = w->nextInFocusChain()) {
            QVERIFY2(++guard < 2000, qPrintable("never reached " + order.at(i)));
            const bool inside = previous->isAncestorOf(w);
            const bool tabbable = (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
            QVERIFY2(inside || !tabbable,
                     qPrintable(w->objectName() + " between " + previous->objectName() + " and " +
                                target->objectName()));
        }
        previous = target;
    }
}

QTEST_MAIN(TestFormA)
#include "tst_form_a.moc"
