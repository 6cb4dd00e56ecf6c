// The bare main window form, checked for the examples, staff, demonstration-board,
// schematic-editor, PWM selector, PWM control and design-wizard pages: page indexes, default texts,
// combo items, ranges, start states, cells, focus order and status tips. The form is built on a
// plain QMainWindow, so only the form itself is under test, not what MainWindow does with it later.
//
// The relative path lets this test generate the form header from forms/ itself.
#include "ui_mainwindow.h"

#include "formtest.h"

#include <QtTest>

namespace {
using formtest::u8;
} // namespace

class TestFormD : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void pageIndex_data();
    void pageIndex();
    void widgetClass_data();
    void widgetClass();
    void texts_data();
    void texts();
    void comboItems_data();
    void comboItems();
    void spinBoxes_data();
    void spinBoxes();
    void states_data();
    void states();
    void stackIndexes_data();
    void stackIndexes();
    void cells_data();
    void cells();
    void focusOrder_data();
    void focusOrder();
    void statusTips_data();
    void statusTips();
    void captionTips_data();
    void captionTips();
    void styleSheets_data();
    void styleSheets();
    void fixedGeometry_data();
    void fixedGeometry();
    void richTexts_data();
    void richTexts();
    void documents_data();
    void documents();
    void topologyButtonsExclusive();
    void selectorTableSettings();
    void noToolTips();
    void objectNamesUnique();

private:
    template <typename T> T *find(const QString &name)
    {
        T *obj = w.findChild<T *>(name);
        if (!obj) qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
        return obj;
    }
    QList<QWidget *> myPages();

    QMainWindow w;
    Ui_MainWindow ui;
};

void TestFormD::initTestCase()
{
    ui.setupUi(&w);
}

QList<QWidget *> TestFormD::myPages()
{
    QList<QWidget *> pages;
    for (const char *name : {"page_7", "page_10", "page_15", "page_16", "page_17", "page_13",
                             "page_25", "page_21", "page_35"})
        pages << w.findChild<QWidget *>(name);
    return pages;
}

// ---------------------------------------------------------------------------------- pages

void TestFormD::pageIndex_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("index");
    QTest::newRow("PWM selector") << "page_7" << 8;
    QTest::newRow("examples") << "page_10" << 11;
    QTest::newRow("PWM control step 1") << "page_15" << 13;
    QTest::newRow("PWM control step 2") << "page_16" << 14;
    QTest::newRow("PWM control step 3") << "page_17" << 15;
    QTest::newRow("design wizard") << "page_13" << 16;
    QTest::newRow("staff") << "page_25" << 17;
    QTest::newRow("demonstration board") << "page_21" << 18;
    QTest::newRow("schematic editor") << "page_35" << 19;
}

void TestFormD::pageIndex()
{
    QFETCH(QString, page);
    QFETCH(int, index);
    QWidget *p = find<QWidget>(page);
    QVERIFY(p);
    QCOMPARE(ui.Page->indexOf(p), index);
}

void TestFormD::widgetClass_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::newRow("editor canvas") << "sch"
                                   << "QCustomPlot";
    QTest::newRow("inductor tool") << "indButton"
                                   << "QToolButton";
    QTest::newRow("amplifier tool") << "ampButton"
                                    << "QToolButton";
    QTest::newRow("PWM results") << "pwmTable"
                                 << "QTableView";
    QTest::newRow("PWM part picture") << "SPSimage"
                                      << "QLabel";
    QTest::newRow("tutorial overview") << "ExDesc"
                                       << "QTextBrowser";
    QTest::newRow("topology button") << "I2button"
                                     << "QPushButton";
    QTest::newRow("topology description") << "SConDesc"
                                          << "QTextBrowser";
    QTest::newRow("validation notes") << "SConNotes"
                                      << "QTextBrowser";
    QTest::newRow("control schematic") << "SControlSch"
                                       << "QCustomPlot";
    QTest::newRow("closed-loop plot") << "SConTcl"
                                      << "QCustomPlot";
    QTest::newRow("peaking readout") << "SConPeaking"
                                     << "QLabel";
    QTest::newRow("wizard plot") << "widget"
                                 << "QCustomPlot";
    QTest::newRow("wizard next") << "pushButton"
                                 << "QPushButton";
    QTest::newRow("wizard motor field") << "lineEdit_9"
                                        << "QLineEdit";
    QTest::newRow("protocol stack") << "stackedWidget_2"
                                    << "QStackedWidget";
}

void TestFormD::widgetClass()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    QCOMPARE(QString(wid->metaObject()->className()), className);
}

// ---------------------------------------------------------------------------------- texts

// The "text" property of a label, button or line edit, or the title of a group box.
void TestFormD::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("editor title") << "label_295"
                                  << "Schematic Editor";
    QTest::newRow("snap caption") << "label_296"
                                  << "Snap";
    QTest::newRow("grid switch") << "SchGridBox"
                                 << "Grid On";
    // The tools say what they place: the letter of the part (and of its shortcut), W for a
    // wire, a triangle for an amplifier.
    QTest::newRow("resistor tool") << "resButton"
                                   << "R";
    QTest::newRow("capacitor tool") << "capButton"
                                    << "C";
    QTest::newRow("inductor tool") << "indButton"
                                   << "L";
    QTest::newRow("wire tool") << "wireButton"
                               << "W";
    QTest::newRow("amplifier tool") << "ampButton"
                                    << u8("\u25B7");

    QTest::newRow("SPS current") << "SPScurrent"
                                 << "0";
    QTest::newRow("SPS voltage") << "SPSvoltage"
                                 << "0";
    QTest::newRow("SPS frequency") << "SPSfrequency"
                                   << "0";
    QTest::newRow("SPS parallel") << "SPSparallelCheckBox"
                                  << "Show Parallel Solutions - Max:";
    QTest::newRow("SPS part name") << "SPSname"
                                   << "NV21";
    QTest::newRow("SPS picture has no text") << "SPSimage"
                                             << "";
    QTest::newRow("SPS sort") << "SPSsortPrice"
                              << "Sort by Relative Price Low-to-High (Default)";
    QTest::newRow("SPS reset") << "SPSresetButton"
                               << "Reset";
    QTest::newRow("SPS requirement box untitled") << "groupBox_31"
                                                  << "";
    QTest::newRow("SPS tolerance box untitled") << "groupBox_32"
                                                << "";
    QTest::newRow("SPS part box untitled") << "groupBox_43"
                                           << "";

    QTest::newRow("example caption") << "label_171"
                                     << "Select Example: ";
    QTest::newRow("start tutorial") << "startTutorial"
                                    << "Start Tutorial";

    QTest::newRow("staff title") << "label_240"
                                 << "Secret Kest Data Center - Employees Only!";
    QTest::newRow("pre-release switch") << "includePreReleased"
                                        << "Include pre-release and custom products";
    QTest::newRow("load calculator") << "loadCalcButton"
                                     << "Load Calculator";
    QTest::newRow("Bode generator") << "bodePlotGenButton"
                                    << "Bode Plot Generator";
    QTest::newRow("summary tables") << "PSGButton"
                                    << "Generate Product Summary Guide Tables";

    QTest::newRow("protocols caption") << "label_39"
                                       << "Communication Protocols";
    QTest::newRow("connect") << "connectButton"
                             << "connect";
    QTest::newRow("I2C sheet") << "label_40"
                               << "Inter-Integrated Circuit (I2C)";
    QTest::newRow("UART sheet") << "label_51"
                                << "Universal Asynchronous Receiver Transmitter (UART)";
    QTest::newRow("SPI sheet") << "label_52"
                               << "Serial Peripheral Interface (SPI)";

    QTest::newRow("step 1 title") << "page_15_label_1"
                                  << "PWM Control Design Step 1: Choose a Circuit Type";
    QTest::newRow("to filter design") << "toFilterDesign"
                                      << "To Filter Design";
    QTest::newRow("to PWM power") << "toPWMPower"
                                  << "To PWM Power";
    QTest::newRow("V1 has no text") << "V1button"
                                    << "";
    QTest::newRow("I2 has no text") << "I2button"
                                    << "";
    QTest::newRow("next to step 2") << "NexttoStep2"
                                    << "Next";

    QTest::newRow("step 2 title") << "page_16_label_1"
                                  << "PWM Control Design Step 2: Define Inputs and Outputs";
    QTest::newRow("amplifier caption") << "page_16_label_4"
                                       << "Select Amplifier:";
    QTest::newRow("V_in max") << "SConVinMax"
                              << "3.2";
    QTest::newRow("V_in min") << "SConVinMin"
                              << "-1.2";
    QTest::newRow("F_signal") << "SConFreq"
                              << "100";
    QTest::newRow("Vs") << "SConVs"
                        << "72";
    QTest::newRow("use max Vs") << "SConMaxVs"
                                << "Use Max";
    QTest::newRow("Vcc") << "SConVcc"
                         << "15";
    QTest::newRow("use typical Vcc") << "SConTypVcc"
                                     << "Use Typical";
    QTest::newRow("F_switch") << "SConFsw"
                              << "20k";
    QTest::newRow("use max Fsw") << "SConMaxFsw"
                                 << "Use Max";
    QTest::newRow("V_out max") << "SConVoutMax"
                               << "30";
    QTest::newRow("V_out min") << "SConVoutMin"
                               << "-30";
    QTest::newRow("V_out max caption") << "SConMaxLabel"
                                       << "V_out Max";
    QTest::newRow("V_out min caption") << "SConMinLabel"
                                       << "V_out Min";
    QTest::newRow("V_out max unit") << "SConMaxUnit"
                                    << "V";
    QTest::newRow("V_out min unit") << "SConMinUnit"
                                    << "V";
    QTest::newRow("output note 1") << "SConOutLabel1"
                                   << "V_out = Vs * Duty Cycle";
    QTest::newRow("output note 2") << "SConOutLabel2"
                                   << "V_out is differential across the filter input";
    QTest::newRow("inputs box") << "page_16_groupBox_1"
                                << "Inputs";
    QTest::newRow("amplifier box") << "page_16_groupBox_2"
                                   << "PWM Amplifier";
    QTest::newRow("outputs box") << "page_16_groupBox_3"
                                 << "Outputs";
    QTest::newRow("to PWM power again") << "toPWMPower_2"
                                        << "To PWM Power";
    QTest::newRow("import") << "ImportFromPWMPower"
                            << "Import from PWM Power";
    QTest::newRow("back to step 1") << "PrevtoStep1"
                                    << "Previous";
    QTest::newRow("next to step 3") << "NexttoStep3"
                                    << "Next";

    QTest::newRow("step 3 title") << "page_17_label_1"
                                  << "PWM Control Design Step 3: Adjust the Circuit";
    QTest::newRow("stability hint keeps its spelling")
        << "page_17_label_3"
        << "Once that is done, check the stability of the circuit. The system is most stable "
           "when the \"peaking\" in the Closed-Loop Tranfer Function across the Integrator "
           "(second tab) is minimized.";
    QTest::newRow("auto") << "SConAutoButton"
                          << "Auto";
    QTest::newRow("peaking placeholder") << "SConPeaking"
                                         << "5dB";
    QTest::newRow("phase placeholder") << "SConPhase"
                                       << "40";
    QTest::newRow("peak frequency placeholder") << "SConFreqPeak"
                                                << "10 kHz";
    QTest::newRow("hide blocks") << "SConHideBlocks"
                                 << "Hide Circuit Blocks";
    QTest::newRow("back to step 2") << "PrevtoStep2"
                                    << "Previous";

    QTest::newRow("wizard checklist")
        << "label_127"
        << "Select all known quanities. Ampwright will figure out the rest, then produce a full "
           "schematic to meet your requirements.";
    QTest::newRow("wizard first check") << "checkBox"
                                        << "load characteristics";
    QTest::newRow("wizard input signal")
        << "checkBox_8"
        << "Input Signal (Frequency, Slew Rate, Voltage, and/or Current";
    QTest::newRow("wizard last check") << "checkBox_12"
                                       << "Desired Protection Features";
    QTest::newRow("wizard next") << "pushButton"
                                 << "Next";
    QTest::newRow("wizard load caption") << "label_169"
                                         << "Load Characteristics";
    QTest::newRow("wizard load type") << "label_170"
                                      << "Select Load Type";
    QTest::newRow("RLC heading") << "label_241"
                                 << "RLC load";
    QTest::newRow("RLC resistance") << "lineEdit"
                                    << "1k";
    QTest::newRow("RLC capacitance") << "lineEdit_2"
                                     << "1u";
    QTest::newRow("RLC inductance") << "lineEdit_3"
                                    << "1m";
    QTest::newRow("RLC ohm unit") << "page_13_label_2" << u8("Ω");
    QTest::newRow("printhead heading") << "label_242"
                                       << "Inkjet Printhead";
    QTest::newRow("printhead maker") << "label_178"
                                     << "Manufacturer";
    QTest::newRow("printhead model") << "label_179"
                                     << "Model";
    QTest::newRow("piezo heading") << "label_243"
                                   << "Piezoelectric Element";
    QTest::newRow("piezo below resonance") << "radioButton_2"
                                           << "Operating Below Resonant Frequency";
    QTest::newRow("piezo capacitance caption") << "label_238"
                                               << "Capacitance";
    QTest::newRow("piezo capacitance") << "lineEdit_5"
                                       << "10n";
    QTest::newRow("piezo at resonance") << "radioButton"
                                        << "Operating at Resonant Frequency";
    QTest::newRow("piezo impedance caption") << "label_236"
                                             << "Resonant Impedance";
    QTest::newRow("piezo impedance") << "lineEdit_4"
                                     << "1";
    QTest::newRow("motor heading") << "label_244"
                                   << "3-Phase BLDC Motor";
    QTest::newRow("wye") << "radioButton_3"
                         << "Wye";
    QTest::newRow("delta") << "radioButton_4"
                           << "Delta";
    QTest::newRow("motor known") << "label_38"
                                 << "Select known quantities:";
    QTest::newRow("motor power") << "checkBox_15"
                                 << "Average Motor Power";
    QTest::newRow("motor line voltage empty") << "lineEdit_6"
                                              << "";
    QTest::newRow("motor impedance empty") << "lineEdit_9"
                                           << "";
    QTest::newRow("motor impedance unit") << "page_13_label_12" << u8("Ω");
    QTest::newRow("brushed motor") << "label_245"
                                   << "Brushed Motor";
}

void TestFormD::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QObject *obj = find<QObject>(name);
    QVERIFY(obj);
    const char *prop = qobject_cast<QGroupBox *>(obj) ? "title" : "text";
    QCOMPARE(obj->property(prop).toString(), text);
}

void TestFormD::comboItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("snap steps") << "snapBox"
                                << QStringList{"200", "100", "50", "25", "10", "5", "1"};
    QTest::newRow("tutorials") << "ExampleSelection"
                               << QStringList{"Non-Technical Introduction",
                                              "LX49 - PZT",
                                              "LX356 / OP07 composite",
                                              "LX22 - Audio",
                                              "LX26 - Coil",
                                              "LX26 - Capacitive Load",
                                              "NV314 - Inductive Load",
                                              "NV22 - Don't Run Unloaded!",
                                              "JNV307 - Heater",
                                              "NV21 - Control Loop",
                                              "LX58 - IH Current Pump",
                                              "NV335 - BLDC Motor"};
    QTest::newRow("protocols") << "comboBox_5" << QStringList{"I2C", "UART", "SPI"};
    QTest::newRow("control part filled at run time") << "ampSelectorSCon" << QStringList{};
    QTest::newRow("wizard load types")
        << "comboBox"
        << QStringList{"RLC Combination", "Inkjet Printhead", "Piezoelectric Element",
                       "3-Phase Brushless DC Motor", "Brushed Motor"};
    QTest::newRow("wizard RLC kinds")
        << "comboBox_2" << QStringList{"Pure Resistance", "Series R-L-C", "Parallel R-L-C"};
    QTest::newRow("printhead makers")
        << "comboBox_3" << QStringList{"Fujifilm", "Ricoh", "Xaar", "Konica Minolta"};
    QTest::newRow("printhead models")
        << "comboBox_4"
        << QStringList{"Galaxy", "Sapphire", "Polaris", "Starfire", "Samba", "GMA33", "GMA99"};
}

void TestFormD::comboItems()
{
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    QComboBox *box = find<QComboBox>(name);
    QVERIFY(box);
    QStringList actual;
    for (int i = 0; i < box->count(); ++i)
        actual << box->itemText(i);
    QCOMPARE(actual, items);
    // A combo box the form fills starts on its first item; an empty one has none.
    QCOMPARE(box->currentIndex(), items.isEmpty() ? -1 : 0);
}

void TestFormD::spinBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("value");
    QTest::newRow("parallel amplifiers from 0") << "SPSnumAmps" << 0 << 10 << 1 << 3;
    QTest::newRow("close-match tolerance in fives") << "SPSrelax" << 0 << 100 << 5 << 20;
}

void TestFormD::spinBoxes()
{
    QFETCH(QString, name);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, step);
    QFETCH(int, value);
    QSpinBox *box = find<QSpinBox>(name);
    QVERIFY(box);
    QCOMPARE(box->minimum(), minimum);
    QCOMPARE(box->maximum(), maximum);
    QCOMPARE(box->singleStep(), step);
    QCOMPARE(box->value(), value);
}

// ---------------------------------------------------------------------------------- states

void TestFormD::states_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("grid shown") << "SchGridBox" << true << true << true;
    QTest::newRow("inductor tool enabled") << "indButton" << false << false << true;
    QTest::newRow("SPS parallel off") << "SPSparallelCheckBox" << true << false << true;
    QTest::newRow("pre-release parts off") << "includePreReleased" << true << false << true;
    QTest::newRow("voltage 1 chosen") << "V1button" << true << true << true;
    QTest::newRow("voltage 2 not chosen") << "V2button" << true << false << true;
    QTest::newRow("current 1 not chosen") << "I1button" << true << false << true;
    QTest::newRow("current 2 not chosen") << "I2button" << true << false << true;
    QTest::newRow("Vcc editable at start") << "SConVcc" << false << false << true;
    QTest::newRow("Fsw editable at start") << "SConFsw" << false << false << true;
    QTest::newRow("blocks shown") << "SConHideBlocks" << true << false << true;
    QTest::newRow("wizard check unticked") << "checkBox_7" << true << false << true;
    QTest::newRow("below resonance chosen") << "radioButton_2" << true << true << true;
    QTest::newRow("at resonance not chosen") << "radioButton" << true << false << true;
    QTest::newRow("wye chosen") << "radioButton_3" << true << true << true;
    QTest::newRow("delta not chosen") << "radioButton_4" << true << false << true;
    QTest::newRow("motor check unticked") << "checkBox_16" << true << false << true;
}

void TestFormD::states()
{
    QFETCH(QString, name);
    QFETCH(bool, checkable);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    if (auto *button = qobject_cast<QAbstractButton *>(wid)) {
        QCOMPARE(button->isCheckable(), checkable);
        QCOMPARE(button->isChecked(), checked);
    } else if (auto *group = qobject_cast<QGroupBox *>(wid)) {
        QCOMPARE(group->isCheckable(), checkable);
        QCOMPARE(group->isChecked(), checked);
    } else {
        QVERIFY2(!checkable, "only buttons and group boxes can be checkable");
    }
    QCOMPARE(wid->isEnabled(), enabled);
}

void TestFormD::stackIndexes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<int>("index");
    QTest::newRow("control tabs") << "SConTab"
                                  << QStringList{"Full Schematic",
                                                 u8("Closed-Loop Transfer Function across "
                                                    "Integrator (1/ß)")}
                                  << 0;
    QTest::newRow("wizard on load step") << "WizardStack" << QStringList{"page_14", "page_18"} << 1;
    QTest::newRow("wizard sheet on motor")
        << "stackedWidget" << QStringList{"page_19", "page_20", "page_23", "page_24", "page_26"}
        << 3;
    QTest::newRow("protocol stack on I2C")
        << "stackedWidget_2" << QStringList{"page_22", "page_33", "page_34"} << 0;
}

// Stacked and tab widgets: their pages in order and the page shown at start.
void TestFormD::stackIndexes()
{
    QFETCH(QString, name);
    QFETCH(QStringList, pages);
    QFETCH(int, index);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    QStringList actual;
    int current = -1;
    if (auto *stack = qobject_cast<QStackedWidget *>(wid)) {
        for (int i = 0; i < stack->count(); ++i)
            actual << stack->widget(i)->objectName();
        current = stack->currentIndex();
    } else if (auto *tabs = qobject_cast<QTabWidget *>(wid)) {
        for (int i = 0; i < tabs->count(); ++i)
            actual << tabs->tabText(i);
        current = tabs->currentIndex();
    } else {
        QFAIL("neither a stacked nor a tab widget");
    }
    QCOMPARE(actual, pages);
    QCOMPARE(current, index);
}

// ---------------------------------------------------------------------------------- layout

void TestFormD::cells_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rowSpan");
    QTest::addColumn<int>("columnSpan");
    QTest::newRow("editor title") << "gridLayout_89"
                                  << "label_295" << 0 << 0 << 1 << 2;
    QTest::newRow("snap box") << "gridLayout_89"
                              << "snapBox" << 1 << 1 << 1 << 1;
    QTest::newRow("grid switch") << "gridLayout_89"
                                 << "SchGridBox" << 1 << 2 << 1 << 1;
    QTest::newRow("first tool") << "gridLayout_89"
                                << "resButton" << 2 << 0 << 1 << 1;
    QTest::newRow("last tool") << "gridLayout_89"
                               << "ampButton" << 6 << 0 << 1 << 1;
    QTest::newRow("editor canvas") << "gridLayout_89"
                                   << "sch" << 2 << 1 << 7 << 3;

    QTest::newRow("requirement box") << "page_7_grid"
                                     << "groupBox_31" << 0 << 0 << 1 << 1;
    QTest::newRow("tolerance box") << "page_7_grid"
                                   << "groupBox_32" << 0 << 1 << 1 << 1;
    QTest::newRow("part box") << "page_7_grid"
                              << "groupBox_43" << 0 << 2 << 1 << 1;
    QTest::newRow("PWM table full width") << "page_7_grid"
                                          << "pwmTable" << 1 << 0 << 1 << 3;
    QTest::newRow("parallel amps") << "page_7_grid_1"
                                   << "SPSnumAmps" << 3 << 1 << 1 << 1;
    QTest::newRow("PWM part name") << "page_7_grid_4"
                                   << "SPSname" << 0 << 0 << 1 << 1;
    QTest::newRow("PWM reset") << "page_7_grid_4"
                               << "SPSresetButton" << 2 << 0 << 1 << 1;
    QTest::newRow("PWM picture") << "page_7_grid_4"
                                 << "SPSimage" << 0 << 1 << 3 << 1;

    QTest::newRow("tutorial choice") << "gridLayout_38"
                                     << "ExampleSelection" << 0 << 2 << 1 << 1;
    QTest::newRow("tutorial start") << "gridLayout_38"
                                    << "startTutorial" << 1 << 1 << 1 << 2;
    QTest::newRow("tutorial overview") << "gridLayout_38"
                                       << "ExDesc" << 4 << 0 << 1 << 5;

    QTest::newRow("staff title") << "gridLayout_94"
                                 << "label_240" << 0 << 0 << 1 << 2;
    QTest::newRow("staff switch") << "gridLayout_94"
                                  << "includePreReleased" << 2 << 1 << 1 << 1;
    QTest::newRow("staff Bode") << "gridLayout_94"
                                << "bodePlotGenButton" << 4 << 1 << 1 << 1;
    QTest::newRow("staff tables") << "gridLayout_94"
                                  << "PSGButton" << 5 << 1 << 1 << 1;

    QTest::newRow("step 1 description") << "page_15_grid"
                                        << "SConDesc" << 6 << 0 << 3 << 1;
    QTest::newRow("step 1 topologies") << "page_15_grid"
                                       << "page_15_groupBox_2" << 6 << 1 << 2 << 3;
    QTest::newRow("step 1 next") << "page_15_grid"
                                 << "NexttoStep2" << 8 << 3 << 1 << 1;
    QTest::newRow("voltage 1 top left") << "page_15_grid_2"
                                        << "V1button" << 1 << 0 << 1 << 1;
    QTest::newRow("current 2 bottom right") << "page_15_grid_2"
                                            << "I2button" << 3 << 1 << 1 << 1;

    QTest::newRow("step 2 part") << "page_16_grid"
                                 << "ampSelectorSCon" << 4 << 3 << 1 << 1;
    QTest::newRow("step 2 inputs") << "page_16_grid"
                                   << "page_16_groupBox_1" << 5 << 2 << 2 << 1;
    QTest::newRow("step 2 amplifier") << "page_16_grid"
                                      << "page_16_groupBox_2" << 5 << 3 << 2 << 1;
    QTest::newRow("step 2 outputs") << "page_16_grid"
                                    << "page_16_groupBox_3" << 5 << 4 << 2 << 1;
    QTest::newRow("step 2 notes") << "page_16_grid"
                                  << "SConNotes" << 7 << 2 << 1 << 3;
    QTest::newRow("step 2 import") << "page_16_grid"
                                   << "ImportFromPWMPower" << 8 << 4 << 1 << 1;
    QTest::newRow("step 2 previous") << "page_16_grid"
                                     << "PrevtoStep1" << 11 << 0 << 1 << 1;
    QTest::newRow("step 2 next") << "page_16_grid"
                                 << "NexttoStep3" << 11 << 6 << 1 << 1;
    QTest::newRow("use typical Vcc") << "page_16_grid_2"
                                     << "SConTypVcc" << 1 << 3 << 1 << 1;
    QTest::newRow("output note") << "page_16_grid_3"
                                 << "SConOutLabel2" << 3 << 0 << 1 << 3;

    QTest::newRow("step 3 auto") << "page_17_grid"
                                 << "SConAutoButton" << 1 << 0 << 1 << 1;
    QTest::newRow("step 3 tabs") << "page_17_grid"
                                 << "SConTab" << 3 << 0 << 1 << 2;
    QTest::newRow("step 3 previous") << "page_17_grid"
                                     << "PrevtoStep2" << 5 << 0 << 1 << 1;
    QTest::newRow("hide blocks at the end") << "page_17_grid_1"
                                            << "SConHideBlocks" << 0 << 7 << 1 << 1;

    QTest::newRow("wizard stack") << "gridLayout_87"
                                  << "WizardStack" << 0 << 0 << 1 << 2;
    QTest::newRow("wizard next") << "gridLayout_87"
                                 << "pushButton" << 1 << 1 << 1 << 1;
    QTest::newRow("wizard first column") << "gridLayout_88"
                                         << "checkBox_6" << 8 << 1 << 1 << 1;
    QTest::newRow("wizard second column") << "gridLayout_88"
                                          << "checkBox_7" << 3 << 2 << 1 << 1;
    QTest::newRow("wizard plot") << "gridLayout_8"
                                 << "widget" << 3 << 0 << 1 << 1;
    QTest::newRow("wizard sheets") << "gridLayout_8"
                                   << "stackedWidget" << 3 << 2 << 1 << 2;
    QTest::newRow("RLC kind") << "gridLayout_92"
                              << "comboBox_2" << 1 << 0 << 1 << 2;
    QTest::newRow("printhead model") << "gridLayout_91"
                                     << "comboBox_4" << 5 << 1 << 1 << 2;
    QTest::newRow("piezo impedance") << "gridLayout_93"
                                     << "lineEdit_4" << 5 << 3 << 1 << 1;
    QTest::newRow("motor power spans") << "gridLayout_96"
                                       << "checkBox_15" << 6 << 0 << 1 << 2;
    QTest::newRow("motor impedance field") << "gridLayout_96"
                                           << "lineEdit_9" << 7 << 2 << 1 << 1;
}

void TestFormD::cells()
{
    QFETCH(QString, layout);
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, rowSpan);
    QFETCH(int, columnSpan);
    QGridLayout *grid = find<QGridLayout>(layout);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(grid && wid);
    const formtest::Cell cell = formtest::cellIn(grid, wid);
    QVERIFY2(cell.row >= 0, "widget not in this layout");
    QCOMPARE(cell.list(), QList<int>({row, column, rowSpan, columnSpan}));
}

void TestFormD::focusOrder_data()
{
    QTest::addColumn<QStringList>("chain");
    QTest::newRow("schematic editor") << QStringList{
        "snapBox", "resButton", "capButton", "indButton", "wireButton", "SchGridBox", "ampButton"};
    QTest::newRow("PWM selector: spin box before its check box") << QStringList{
        "SPScurrent", "SPSvoltage",   "SPSfrequency",   "SPSnumAmps", "SPSparallelCheckBox",
        "SPSrelax",   "SPSsortPrice", "SPSresetButton", "pwmTable"};
    QTest::newRow("staff") << QStringList{"includePreReleased", "loadCalcButton",
                                          "bodePlotGenButton", "PSGButton"};
    QTest::newRow("demonstration board") << QStringList{"comboBox_5", "connectButton"};
    QTest::newRow("PWM control, through all three steps") << QStringList{"toFilterDesign",
                                                                         "toPWMPower",
                                                                         "SConDesc",
                                                                         "V1button",
                                                                         "V2button",
                                                                         "I1button",
                                                                         "I2button",
                                                                         "NexttoStep2",
                                                                         "ampSelectorSCon",
                                                                         "SConVinMax",
                                                                         "SConVinMin",
                                                                         "SConFreq",
                                                                         "SConVs",
                                                                         "SConMaxVs",
                                                                         "SConVcc",
                                                                         "SConTypVcc",
                                                                         "SConFsw",
                                                                         "SConMaxFsw",
                                                                         "SConVoutMax",
                                                                         "SConVoutMin",
                                                                         "SConNotes",
                                                                         "toPWMPower_2",
                                                                         "ImportFromPWMPower",
                                                                         "PrevtoStep1",
                                                                         "NexttoStep3",
                                                                         "SConAutoButton",
                                                                         "SConTab",
                                                                         "SConHideBlocks",
                                                                         "PrevtoStep2"};
}

void TestFormD::focusOrder()
{
    QFETCH(QStringList, chain);
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QWidget *from = find<QWidget>(chain[i]);
        QWidget *to = find<QWidget>(chain[i + 1]);
        QVERIFY(from && to);
        // Spin boxes and text browsers carry inner widgets of their own in the chain.
        QWidget *next = from->nextInFocusChain();
        while (from->isAncestorOf(next))
            next = next->nextInFocusChain();
        QCOMPARE(next->objectName(), to->objectName());
    }
}

// ---------------------------------------------------------------------------------- tips

void TestFormD::statusTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    QTest::newRow("editor canvas has none") << "sch"
                                            << "";
    QTest::newRow("PWM selector has none") << "SPScurrent"
                                           << "";
    QTest::newRow("to filter design") << "toFilterDesign"
                                      << "Go To Filter Design Module";
    QTest::newRow("to PWM power") << "toPWMPower"
                                  << "Go To PWM Power Module";
    QTest::newRow("voltage 1") << "V1button"
                               << "Click for description";
    QTest::newRow("voltage 2") << "V2button"
                               << "Click for description";
    QTest::newRow("current 1") << "I1button"
                               << "Click for description";
    QTest::newRow("current 2") << "I2button"
                               << "Click for description";
    QTest::newRow("next to step 2 has none") << "NexttoStep2"
                                             << "";
    QTest::newRow("control part") << "ampSelectorSCon"
                                  << "Select PWM Amplifier";
    QTest::newRow("V_in max") << "SConVinMax"
                              << "Maximum Voltage of Input Signal. View Next Page for Schematic.";
    QTest::newRow("V_in min") << "SConVinMin"
                              << "Minimum Voltage of Input Signal. View Next Page for Schematic.";
    QTest::newRow("F_signal") << "SConFreq"
                              << "Frequency of Input Signal";
    QTest::newRow("Vs") << "SConVs"
                        << "High-Voltage Supply for Output Stage";
    QTest::newRow("use max Vs has none") << "SConMaxVs"
                                         << "";
    QTest::newRow("Vcc") << "SConVcc"
                         << "Low-Voltage Supply for Front-End Drivers";
    QTest::newRow("F_switch") << "SConFsw"
                              << "Switching Frequency of PWM";
    QTest::newRow("V_out max") << "SConVoutMax"
                               << "Maximum Expected Output Voltage (Vs * Max Duty Cycle)";
    QTest::newRow("V_out min") << "SConVoutMin"
                               << "Minimum Expected Output Voltage (Vs * Min Duty Cycle)";
    QTest::newRow("V_out max caption") << "SConMaxLabel"
                                       << "Maximum Expected Output Voltage (Vs * Max Duty Cycle)";
    QTest::newRow("V_out min caption") << "SConMinLabel"
                                       << "Minimum Expected Output Voltage (Vs * Min Duty Cycle)";
    QTest::newRow("unit has none") << "SConMaxUnit"
                                   << "";
    QTest::newRow("to PWM power again") << "toPWMPower_2"
                                        << "Go To PWM Power Module";
    QTest::newRow("import")
        << "ImportFromPWMPower"
        << "Import All White Fields (and Amplifier Selection) from PWM Power Module";
    QTest::newRow("auto") << "SConAutoButton"
                          << "Automatically Populate the Schematic with Suggested Values. Hint: "
                             "Set all Blue components first; these will not be changed.";
    QTest::newRow("control schematic")
        << "SControlSch"
        << "Click on circuit values to change them. Amplifier output voltages are given for "
           "reference. Blue components will not change when \"Auto\" is pressed.";
    QTest::newRow("closed-loop plot") << "SConTcl"
                                      << "Minimize peaking in this chart to achieve higher Phase "
                                         "Margin";
    QTest::newRow("peaking") << "SConPeaking"
                             << "Magnitude of Peaking in the transfer function plot";
    QTest::newRow("phase") << "SConPhase"
                           << "Phase Margin is capped at 50 degrees.";
    QTest::newRow("peak frequency") << "SConFreqPeak"
                                    << "For Reference";
    QTest::newRow("hide blocks") << "SConHideBlocks"
                                 << "Check to hide the colored boxes in the schematic";
    QTest::newRow("control tabs have none") << "SConTab"
                                            << "";
}

// The status bar shows the same tip over a caption as over its field.
void TestFormD::captionTips_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("field");
    QTest::newRow("V_in Max") << "page_16"
                              << "V_in Max"
                              << "SConVinMax";
    QTest::newRow("V_in Min") << "page_16"
                              << "V_in Min"
                              << "SConVinMin";
    QTest::newRow("F_signal") << "page_16"
                              << "F_signal"
                              << "SConFreq";
    QTest::newRow("Vs") << "page_16"
                        << "Vs"
                        << "SConVs";
    QTest::newRow("Vcc") << "page_16"
                         << "Vcc"
                         << "SConVcc";
    QTest::newRow("F_switch") << "page_16"
                              << "F_switch"
                              << "SConFsw";
    QTest::newRow("Peaking") << "page_17"
                             << "Peaking:"
                             << "SConPeaking";
    QTest::newRow("Phase Margin") << "page_17"
                                  << "Phase Margin:"
                                  << "SConPhase";
    QTest::newRow("Frequency of Peaking") << "page_17"
                                          << "Frequency of Peaking:"
                                          << "SConFreqPeak";
}

void TestFormD::captionTips()
{
    QFETCH(QString, page);
    QFETCH(QString, caption);
    QFETCH(QString, field);
    QWidget *p = find<QWidget>(page);
    QWidget *wid = find<QWidget>(field);
    QVERIFY(p && wid);
    QLabel *label = nullptr;
    for (QLabel *l : p->findChildren<QLabel *>())
        if (l->text() == caption) label = l;
    QVERIFY2(label, qPrintable(caption));
    QVERIFY(!wid->statusTip().isEmpty());
    QCOMPARE(label->statusTip(), wid->statusTip());
}

void TestFormD::styleSheets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sheet");
    const QString yellow = "background-color: rgb(255, 240, 120);";
    const QString title = "font: 14pt \"Agency FB\";";
    QTest::newRow("tutorial button") << "startTutorial" << title;
    QTest::newRow("PWM part name") << "SPSname"
                                   << "font: 32pt \"Agency FB\";";
    QTest::newRow("PWM package picture") << "SPSimage"
                                         << "image: url(:/KestLinear/DE.JPG);";
    QTest::newRow("PWM table") << "pwmTable"
                               << "background-color: rgb(240, 255, 240);\n"
                                  "alternate-background-color: rgb(220, 255, 220);";
    QTest::newRow("good match swatch")
        << "page_7_label_10"
        << "background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1, stop:0 "
           "rgba(240, 255, 240, 255), stop:0.495 rgba(240, 255, 240, 255), stop:0.505 rgba(220, "
           "255, 220, 255), stop:1 rgba(220, 255, 220, 255));";
    QTest::newRow("close match swatch") << "page_7_label_11"
                                        << "background-color: rgb(255, 255, 160);";
    QTest::newRow("step 1 title") << "page_15_label_1" << title;
    QTest::newRow("step 2 title") << "page_16_label_1" << title;
    QTest::newRow("step 3 title") << "page_17_label_1" << title;
    QTest::newRow("V_in max is new") << "SConVinMax" << yellow;
    QTest::newRow("V_in min is new") << "SConVinMin" << yellow;
    QTest::newRow("Vcc is new") << "SConVcc" << yellow;
    QTest::newRow("F_signal is imported") << "SConFreq"
                                          << "";
    QTest::newRow("Vs is imported") << "SConVs"
                                    << "";
    QTest::newRow("F_switch is imported") << "SConFsw"
                                          << "";
    QTest::newRow("V_out max is imported") << "SConVoutMax"
                                           << "";
    QTest::newRow("V_out min is imported") << "SConVoutMin"
                                           << "";
}

void TestFormD::styleSheets()
{
    QFETCH(QString, name);
    QFETCH(QString, sheet);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    QCOMPARE(wid->styleSheet(), sheet);
}

void TestFormD::fixedGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    // Positions as placed; sizes grown so that each caption fits at 16 pt.
    QTest::newRow("protocols caption") << "label_39" << QRect(60, 70, 300, 30);
    QTest::newRow("protocol choice") << "comboBox_5" << QRect(100, 110, 100, 30);
    QTest::newRow("protocol stack") << "stackedWidget_2" << QRect(140, 180, 661, 251);
    QTest::newRow("connect") << "connectButton" << QRect(200, 500, 110, 32);
    QTest::newRow("I2C label") << "label_40" << QRect(80, 40, 330, 30);
    QTest::newRow("UART label") << "label_51" << QRect(30, 40, 620, 30);
    QTest::newRow("SPI label") << "label_52" << QRect(170, 20, 360, 30);
    QTest::newRow("brushed motor") << "label_245" << QRect(30, 10, 200, 30);
}

void TestFormD::fixedGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    QVERIFY2(!wid->parentWidget()->layout(), "fixed-geometry widgets sit on a page without layout");
    QCOMPARE(wid->geometry(), geometry);
}

// Rich labels: the plain text a reader sees, and a piece of the markup that sets the bold words.
void TestFormD::richTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("mustContain");
    QTest::newRow("step 1 guidance")
        << "page_15_label_2"
        << "I assume you have already defined your LOAD and FILTER in the \"PWM Power\" page and "
           "that these are FINAL. "
        << "<span style=\" font-weight:600;\">FINAL</span>";
    QTest::newRow("step 1 filter arrow")
        << "page_15_label_3"
        << "If you have not done so, I suggest going to the \"Filter Design\" page first: "
           "----------------------------------------------->"
        << "&quot;<span style=\" font-weight:600;\">Filter Design</span>&quot;";
    QTest::newRow("step 1 power arrow")
        << "page_15_label_4"
        << "Then import the design to the \"PWM Power\" page and adjust the values until all "
           "charts are satisfactory: ----------->"
        << "-----------&gt;</p>";
    QTest::newRow("step 1 last line")
        << "page_15_label_5"
        << "I will use the Load and Filter you specify in the \"PWM Power\" page."
        << "&quot;<span style=\" font-weight:600;\">PWM Power</span>&quot; page.";
    QTest::newRow("step 2 colours, spelling kept")
        << "page_16_label_2"
        << "The WHITE fields can be imported from the \"PWM Power\" page using the \"import\" "
           "button below. The YELLOW fields are new. Please enter / verfiy all entries."
        << "<span style=\" font-weight:600;\">YELLOW</span>";
    QTest::newRow("step 2 fifty times")
        << "page_16_label_3"
        << "For reasonable circuit suggestions, the Switching Frequency should be at least 50 "
           "times the Signal Frequency."
        << "the<span style=\" font-weight:600;\"> Switching Frequency </span>should";
    QTest::newRow("step 3 auto hint")
        << "page_17_label_2"
        << "Press the button to the left for suggested component values. Blue components will "
           "not change. Now is your chance to replace them with standard values and/or test the "
           "effects of poor tolerances. "
        << "tolerances. </p>";
}

void TestFormD::richTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, plain);
    QFETCH(QString, mustContain);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    auto *label = qobject_cast<QLabel *>(wid);
    QVERIFY(label);
    const QString source = label->text();
    QTextDocument doc;
    doc.setHtml(source);
    QCOMPARE(doc.toPlainText(), plain);
    QVERIFY2(source.contains(mustContain), qPrintable(source));
}

// The form's documents: one paragraph in 8.25 pt "MS Shell Dlg 2" (the body font is 9.75 pt).
void TestFormD::documents_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("plain");
    QTest::newRow("tutorial overview empty") << "ExDesc"
                                             << "";
    QTest::newRow("validation notes") << "SConNotes"
                                      << "Notes:";
}

void TestFormD::documents()
{
    QFETCH(QString, name);
    QFETCH(QString, plain);
    QTextBrowser *browser = find<QTextBrowser>(name);
    QVERIFY(browser);
    QTextDocument *doc = browser->document();
    QCOMPARE(doc->toPlainText(), plain);
    QCOMPARE(doc->blockCount(), 1);
    QTextCursor end(doc->firstBlock());
    end.movePosition(QTextCursor::EndOfBlock);
    const QTextCharFormat f = end.charFormat();
    QCOMPARE(f.fontPointSize(), 8.25);
    QCOMPARE(f.font().family(), QString("MS Shell Dlg 2"));
}

// The four topologies are one exclusive group: choosing one unchecks the others, and clicking
// the chosen one again keeps it chosen.
void TestFormD::topologyButtonsExclusive()
{
    QMainWindow win;
    Ui_MainWindow form;
    form.setupUi(&win);
    form.I1button->click();
    QVERIFY(form.I1button->isChecked());
    QVERIFY(!form.V1button->isChecked());
    QVERIFY(!form.V2button->isChecked());
    QVERIFY(!form.I2button->isChecked());
    form.I1button->click();
    QVERIFY(form.I1button->isChecked());
    for (QPushButton *b : {form.V1button, form.V2button, form.I1button, form.I2button})
        QCOMPARE(b->iconSize(), QSize(439, 180));
    QVERIFY(form.V1button->icon().isNull());
}

// The selector follows the current row of an uneditable, unselectable, sortable table.
void TestFormD::selectorTableSettings()
{
    QTableView *t = ui.pwmTable;
    QVERIFY(t->alternatingRowColors());
    QCOMPARE(t->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(t->selectionMode(), QAbstractItemView::NoSelection);
    QVERIFY(t->isSortingEnabled());
    QVERIFY(t->verticalHeader()->highlightSections());
    QCOMPARE(t->textElideMode(), Qt::ElideRight);
    QVERIFY(t->wordWrap());
    QVERIFY(t->isCornerButtonEnabled());
    QVERIFY(ui.SPSname->openExternalLinks());
    QCOMPARE(ui.SPSname->alignment(), Qt::AlignCenter);
    QCOMPARE(ui.SPSimage->frameShape(), QFrame::NoFrame);
    for (QLabel *swatch : {ui.page_7_label_10, ui.page_7_label_11}) {
        QCOMPARE(swatch->height(), 30);
        QCOMPARE(swatch->frameShape(), QFrame::StyledPanel);
        QCOMPARE(swatch->textFormat(), Qt::PlainText);
        QCOMPARE(swatch->alignment(), Qt::AlignCenter);
        QVERIFY(!swatch->wordWrap());
    }
    QVERIFY(!ui.page_7_label_8->wordWrap());
}

void TestFormD::statusTips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    QWidget *wid = find<QWidget>(name);
    QVERIFY(wid);
    QCOMPARE(wid->statusTip(), tip);
}

// Help texts of the form are status tips; tool tips stay empty everywhere on these pages.
void TestFormD::noToolTips()
{
    for (QWidget *page : myPages()) {
        QVERIFY(page);
        for (QWidget *wid : page->findChildren<QWidget *>())
            QVERIFY2(wid->toolTip().isEmpty(), qPrintable(wid->objectName()));
    }
}

// Slots and page code reach widgets by object name, so no name may stand twice in the form.
void TestFormD::objectNamesUnique()
{
    QSet<QString> seen;
    for (QObject *obj : w.findChildren<QObject *>()) {
        const QString name = obj->objectName();
        // Qt names some of its own internal children (tab bar scroll buttons); skip those.
        if (name.isEmpty() || name.startsWith("qt_") || name == "ScrollLeftButton" ||
            name == "ScrollRightButton")
            continue;
        QVERIFY2(!seen.contains(name), qPrintable(name));
        seen.insert(name);
    }
}

QTEST_MAIN(TestFormD)
#include "tst_form_d.moc"
