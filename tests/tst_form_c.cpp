// The bare main window form, pages 6 (Bode plot generator), 9 (PWM power) and 12 (PWM filter):
// object names, cells, defaults, ranges, states, status tips and focus order as the form builds
// them, before MainWindow touches anything. Slots, design files and examples find these widgets
// by name, so a renamed or misplaced widget must fail here.

// The test target generates its own copy of the form header from forms/mainwindow.ui.
#include "ui_mainwindow.h"

#include "formtest.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QtTest>
#include <qcustomplot.h>

namespace {
const char *const yellow = "background-color: rgb(255, 240, 120);";
const char *const red = "color: rgb(170, 0, 0);";
const char *const green = "color: rgb(50, 120, 0);";
const char *const blue = "color: rgb(0, 85, 127);";
const int noLimit = QWIDGETSIZE_MAX;
} // namespace

class TestFormC : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void pageIndex_data();
    void pageIndex();
    void cells_data();
    void cells();
    void lineEditDefaults_data();
    void lineEditDefaults();
    void labelDefaults_data();
    void labelDefaults();
    void buttonDefaults_data();
    void buttonDefaults();
    void spinBoxRanges_data();
    void spinBoxRanges();
    void runtimeComboBoxesStartEmpty_data();
    void runtimeComboBoxesStartEmpty();
    void sizeLimits_data();
    void sizeLimits();
    void statusTips_data();
    void statusTips();
    void captionStatusTips_data();
    void captionStatusTips();
    void toolTipsEmpty_data();
    void toolTipsEmpty();
    void powerTabs();
    void filterStack();
    void groupBoxTitles_data();
    void groupBoxTitles();
    void parasiticsRowColours_data();
    void parasiticsRowColours();
    void richTexts();
    void powerNotesDocument();
    void demoPlotStyle();
    void radioGroupsAreExclusivePerGroup();
    void focusOrder_data();
    void focusOrder();

private:
    template <class T> T *get(const QString &name) const;
    QLabel *caption(const QString &within, const QString &text) const;

    QMainWindow *window = nullptr;
    Ui_MainWindow ui;
};

template <class T> T *TestFormC::get(const QString &name) const
{
    T *w = window->findChild<T *>(name);
    if (!w) qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return w;
}

// Captions carry no object name of their own; find the one label with this text inside a
// named container.
QLabel *TestFormC::caption(const QString &within, const QString &text) const
{
    QWidget *container = get<QWidget>(within);
    if (!container) return nullptr;
    QLabel *found = nullptr;
    for (QLabel *l : container->findChildren<QLabel *>()) {
        if (l->text() != text) continue;
        if (found) {
            qWarning("caption %s is not unique in %s", qPrintable(text), qPrintable(within));
            return nullptr;
        }
        found = l;
    }
    return found;
}

void TestFormC::initTestCase()
{
    window = new QMainWindow;
    ui.setupUi(window);
}

void TestFormC::cleanupTestCase()
{
    delete window;
}

void TestFormC::pageIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("Bode plot generator") << 6 << "page_5";
    QTest::newRow("PWM power") << 9 << "page_8";
    QTest::newRow("PWM filter") << 12 << "page_11";
}

void TestFormC::pageIndex()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QVERIFY(ui.Page->count() > index);
    QCOMPARE(ui.Page->widget(index)->objectName(), name);
}

void TestFormC::cells_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rowSpan");
    QTest::addColumn<int>("columnSpan");
    auto add = [](const char *layout, const char *widget, int r, int c, int rs, int cs) {
        QTest::newRow(widget) << QString(layout) << QString(widget) << r << c << rs << cs;
    };
    // page 9: page grid, then the four tabs
    add("gridLayout_42", "PowerTabs", 0, 0, 1, 11);
    add("gridLayout_42", "yVariable", 1, 2, 1, 5);
    add("gridLayout_42", "FilterFreq", 2, 0, 1, 11);
    add("gridLayout_42", "Fmin", 3, 2, 1, 1);
    add("gridLayout_42", "Fmax", 3, 4, 1, 2);
    add("gridLayout_42", "ToPWMControl", 3, 8, 1, 1);
    add("gridLayout_42", "PWMTut", 3, 9, 1, 1);
    add("gridLayout_37", "FullFilter", 0, 0, 1, 8);
    add("gridLayout_37", "ImportFilter", 1, 0, 1, 1);
    add("gridLayout_37", "PWMfilterOrder", 1, 3, 1, 1);
    add("gridLayout_37", "AutoMN", 1, 5, 1, 1);
    add("gridLayout_37", "ExtendedLoad", 1, 7, 1, 1);
    add("gridLayout_39", "LESRC", 2, 4, 1, 1);
    add("gridLayout_39", "LEPCB", 2, 12, 1, 1);
    add("gridLayout_39", "PESRB", 3, 6, 1, 1);
    add("gridLayout_39", "EESLC", 4, 10, 1, 1);
    add("gridLayout_39", "UsePParasitcs", 3, 15, 1, 1);
    add("gridLayout_39", "ZeroEParasitics", 4, 16, 1, 1);
    add("gridLayout_40", "groupBox_20", 0, 0, 2, 1);
    add("gridLayout_40", "groupBox_23", 0, 1, 1, 1);
    add("gridLayout_40", "PowerNotes", 1, 1, 1, 1);
    add("gridLayout_45", "ampSelectorPower", 0, 1, 1, 4);
    add("gridLayout_45", "VsPWM", 1, 2, 1, 1);
    add("gridLayout_45", "UseMaxFswPower", 2, 4, 1, 1);
    add("gridLayout_45", "SigTypePWM", 4, 1, 1, 1);
    add("gridLayout_45", "VorILabelMax", 4, 3, 1, 1);
    add("gridLayout_45", "SigTypePWMMin", 5, 1, 1, 1);
    add("gridLayout_45", "PampPower", 6, 4, 1, 1);
    add("gridLayout_50", "tempAPower", 0, 1, 1, 1);
    add("gridLayout_50", "heatsinkPower", 0, 4, 1, 1);
    add("gridLayout_50", "minHeatsinkPower", 2, 1, 1, 1);
    add("gridLayout_50", "tempJPower", 2, 4, 1, 1);
    add("gridLayout_41", "groupBox_24", 1, 1, 1, 1);
    add("gridLayout_41", "groupBox_25", 2, 1, 1, 1);
    add("gridLayout_41", "groupBox_28", 3, 1, 1, 1);
    add("gridLayout_41", "groupBox_26", 1, 2, 3, 1);
    add("gridLayout_41", "groupBox_22", 1, 3, 3, 1);
    // page 12: page grid, the two sheets of filterStack, the results row
    add("gridLayout_29", "filterStack", 0, 0, 5, 4);
    add("gridLayout_29", "groupBox_14", 0, 4, 1, 3);
    add("gridLayout_29", "groupBox_13", 0, 7, 1, 4);
    add("gridLayout_29", "filterPlot", 1, 4, 4, 7);
    add("gridLayout_29", "attenuationPlot", 5, 0, 1, 11);
    add("gridLayout_29", "groupBox_15", 6, 0, 3, 2);
    add("gridLayout_29", "groupBox_17", 6, 2, 3, 7);
    add("gridLayout_29", "loadFilterToPower", 6, 9, 2, 2);
    add("gridLayout_29", "PWMTutFilter", 8, 9, 1, 2);
    add("gridLayout_33", "ampSelectorFilter", 0, 0, 1, 2);
    add("gridLayout_33", "filterVs", 1, 1, 1, 1);
    add("gridLayout_33", "useFswOver10", 3, 3, 1, 1);
    add("gridLayout_33", "filterVrip", 4, 1, 1, 1);
    add("gridLayout_33", "MNbutton", 5, 3, 1, 1);
    add("gridLayout_33", "filterOrder", 6, 1, 1, 1);
    add("gridLayout_33", "filterOrderActual", 7, 1, 1, 1);
    add("gridLayout_33", "useRecN", 7, 3, 1, 1);
    add("gridLayout_36", "groupBox_16", 1, 0, 1, 3);
    add("gridLayout_36", "orderButton", 2, 1, 1, 1);
    add("gridLayout_36", "useMNvalues", 2, 2, 1, 1);
    add("gridLayout_35", "filterRload", 2, 1, 1, 1);
    add("gridLayout_35", "filterLoadIsC", 3, 0, 1, 1);
    add("gridLayout_35", "filterLload", 4, 1, 1, 1);
    add("gridLayout_35", "filterRm", 2, 4, 1, 2);
    add("gridLayout_35", "filterLm", 4, 4, 1, 2);
    add("gridLayout_34", "filterVripActual", 0, 1, 1, 1);
    add("gridLayout_34", "FilterIrip", 0, 4, 1, 1);
    add("gridLayout_34", "ClegLabel", 0, 6, 1, 1);
    add("gridLayout_34", "Cleg", 0, 7, 1, 1);
}

void TestFormC::cells()
{
    QFETCH(QString, layout);
    QFETCH(QString, widget);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, rowSpan);
    QFETCH(int, columnSpan);
    auto *grid = get<QGridLayout>(layout);
    auto *w = get<QWidget>(widget);
    QVERIFY(grid && w);
    const formtest::Cell cell = formtest::cellIn(grid, w);
    QVERIFY2(cell.row >= 0, "widget is not in this layout");
    QCOMPARE(cell.list(), QList<int>({row, column, rowSpan, columnSpan}));
}

void TestFormC::lineEditDefaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("styleSheet");
    auto add = [](const QString &name, const char *text, bool enabled = true,
                  const char *style = "") {
        QTest::newRow(qPrintable(name)) << name << QString(text) << enabled << QString(style);
    };
    // page 6: open loop falls 20 dB a decade from 10 Hz, closed loop is flat at 20 dB
    const char *suffix[] = {"1", "10", "100", "1k", "10k", "100k", "1M", "10M", "100M"};
    const char *aol[] = {"100", "100", "80", "60", "40", "20", "0", "-20", "-40"};
    for (int i = 0; i < 9; ++i) {
        add(QString("demoAol") + suffix[i], aol[i]);
        add(QString("demoAcl") + suffix[i], "20");
    }
    // page 9; the yellow fields do not come over from the filter page
    add("LESRC", "0.01");
    add("LESRB", "0.3");
    add("LEPCC", "20");
    add("LEPCB", "25");
    add("PESRC", "0.05");
    add("PESRB", "0.05");
    add("PESLC", "10");
    add("PESLB", "13");
    add("EESRC", "0.15");
    add("EESRB", "0.7");
    add("EESLC", "30");
    add("EESLB", "70");
    add("VsPWM", "48");
    add("FsPWM", "20k");
    add("FsigPWM", "2k", true, yellow);
    add("PWMOut", "40", true, yellow);
    add("PWMOutMin", "-40", true, yellow);
    add("tempAPower", "25", true, yellow);
    add("heatsinkPower", "0", true, yellow);
    add("ThermalCompoundPower", "0.1");
    add("Fmin", "auto");
    add("Fmax", "auto");
    // page 12; the capacitance field starts disabled although it reads "short"
    add("filterVs", "48");
    add("filterFsw", "20k");
    add("filterFcut", "2k");
    add("filterVrip", "0.02");
    add("filterR_L", "15");
    add("filterRload", "15");
    add("filterCload", "short", false);
    add("filterLload", "short");
}

void TestFormC::lineEditDefaults()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    QFETCH(QString, styleSheet);
    auto *e = get<QLineEdit>(name);
    QVERIFY(e);
    QCOMPARE(e->text(), text);
    QCOMPARE(e->isEnabled(), enabled);
    QCOMPARE(e->styleSheet(), styleSheet);
}

void TestFormC::labelDefaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("rightAligned");
    auto add = [](const char *name, const char *text, bool right) {
        QTest::newRow(name) << QString(name) << QString(text) << right;
    };
    add("SigTypePWMMin", "Min V_out = ", false);
    add("VorILabelMax", "V", false);
    add("VorILabelMin", "V", false);
    add("PampPower", "0 W rms", true);
    add("TcMaxPower", "85", true);
    add("tempCPower", "25", true);
    add("minHeatsinkPower", "0", true);
    add("tempJPower", "25", true);
    add("PiqVs", "0 W", true);
    add("PiqVcc", "0 W", true);
    add("PtopPower", "0 W rms", true);
    add("PbotPower", "0 W rms", true);
    add("Pwire", "0 W rms", true);
    add("Ptotal", "0 W", true);
    add("IripplePower", "0 A", true);
    add("VripplePower", "0 V", true);
    add("PoutPower", "0 W rms", true);
    add("Fhotspot", "0 Hz", true);
    add("VrangePower", "0 to 100 V", true);
    add("filterOrder", "2", false);
    add("filterRm", "none", false);
    add("filterCm", "none", false);
    add("filterLm", "none", false);
    add("filterVripActual", "1", false);
    add("FilterIrip", "1", false);
    add("ClegLabel", "Recommended C_LEG = ", false);
    add("Cleg", "1", false);
}

void TestFormC::labelDefaults()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, rightAligned);
    auto *l = get<QLabel>(name);
    QVERIFY(l);
    QCOMPARE(l->text(), text);
    QCOMPARE(bool(l->alignment() & Qt::AlignRight), rightAligned);
    QVERIFY2(!l->isHidden(), "the filter design hides labels itself; the form shows them all");
}

void TestFormC::buttonDefaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("styleSheet");
    auto add = [](const char *name, const char *text, bool checked = false,
                  const char *style = "") {
        QTest::newRow(name) << QString(name) << QString(text) << checked << QString(style);
    };
    add("refreshDemoButton", "Refresh");
    add("demoSaveButton", "Save");
    // page 9
    add("ImportFilter", "Import from Filter Design Page");
    add("AutoMN", "Auto Matching Network");
    add("ExtendedLoad", "Extended Load");
    add("UseLParasitics", "Use", false, red);
    add("ZeroLParasitics", "Zero", false, red);
    add("UsePParasitcs", "Use", false, green); // sic: the slot is named after this spelling
    add("ZeroPParasitics", "Zero", false, green);
    add("UseEParasitics", "Use", false, blue);
    add("ZeroEParasitics", "Zero", false, blue);
    add("UseMaxVsPower", "Use Maximum");
    add("UseMaxFswPower", "Use Maximum");
    add("HBPower", "Half-Bridge");
    add("FBPower", "Full-Bridge", true);
    add("SEpower", "Single-Ended");
    add("DCpower", "Dual-Capacitor");
    add("SIpower", "Split-Inductor", true);
    add("ToPWMControl", "To PWM Control Design");
    add("PWMTut", "Tutorial");
    // page 12
    add("useMaxVs", "Use Maximum");
    add("useMaxFsw", "Use Maximum");
    add("useFswOver10", "Use Fsw / 10");
    add("MNbutton", "Matching Network");
    add("useRecN", "Use Recommended");
    add("filterLoadIsC", "C_LOAD");
    add("filterLoadIsL", "L_LOAD", true);
    add("orderButton", "Back");
    add("useMNvalues", "Use Values");
    add("HBbutton", "Half-Bridge");
    add("FBbutton", "Full-Bridge", true);
    add("SEbutton", "Single-Ended");
    add("DCbutton", "Dual-Capacitor");
    add("SIbutton", "Split-Inductor", true);
    add("dbAttenuation", "Decibels", true);
    add("percentAttenuation", "Percent");
    add("loadFilterToPower", "Load Filter to Power Sheet");
    add("PWMTutFilter", "Tutorial");
}

void TestFormC::buttonDefaults()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, checked);
    QFETCH(QString, styleSheet);
    auto *b = get<QAbstractButton>(name);
    QVERIFY(b);
    QCOMPARE(b->text(), text);
    QCOMPARE(b->isChecked(), checked);
    QVERIFY(b->isEnabled());
    QCOMPARE(b->styleSheet(), styleSheet);
    // only the radio buttons are checkable; the push buttons are plain
    QCOMPARE(b->isCheckable(), qobject_cast<QRadioButton *>(b) != nullptr);
}

void TestFormC::spinBoxRanges_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("value");
    QTest::newRow("PWMfilterOrder starts at 1, may go to 0")
        << "PWMfilterOrder" << 0 << 6 << 1 << 1;
    QTest::newRow("filterOrderActual") << "filterOrderActual" << 1 << 6 << 1 << 2;
}

void TestFormC::spinBoxRanges()
{
    QFETCH(QString, name);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, step);
    QFETCH(int, value);
    auto *s = get<QSpinBox>(name);
    QVERIFY(s);
    QCOMPARE(s->minimum(), minimum);
    QCOMPARE(s->maximum(), maximum);
    QCOMPARE(s->singleStep(), step);
    QCOMPARE(s->value(), value);
    QVERIFY(s->prefix().isEmpty() && s->suffix().isEmpty());
}

void TestFormC::runtimeComboBoxesStartEmpty_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("ampSelectorPower") << "ampSelectorPower";
    QTest::newRow("SigTypePWM") << "SigTypePWM";
    QTest::newRow("yVariable") << "yVariable";
    QTest::newRow("ampSelectorFilter") << "ampSelectorFilter";
}

void TestFormC::runtimeComboBoxesStartEmpty()
{
    QFETCH(QString, name);
    auto *c = get<QComboBox>(name);
    QVERIFY(c);
    QCOMPARE(c->count(), 0);
    QCOMPARE(c->currentIndex(), -1);
}

void TestFormC::sizeLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QSize>("maximum");
    auto add = [](const char *name, QSize minimum, QSize maximum) {
        QTest::newRow(name) << QString(name) << minimum << maximum;
    };
    const QSize free(0, 0), unlimited(noLimit, noLimit);
    add("demoPlot", QSize(400, 400), QSize(500, 500));
    add("Fmin", QSize(100, 0), QSize(100, noLimit));
    add("Fmax", QSize(100, 0), QSize(100, noLimit));
    add("ImportFilter", QSize(160, 0), unlimited);
    add("AutoMN", QSize(160, 0), unlimited);
    add("ExtendedLoad", QSize(160, 0), unlimited);
    add("SigTypePWM", QSize(140, 0), unlimited);
    add("PowerNotes", free, QSize(noLimit, 75));
    for (const char *n : {"LESRC", "LESRB", "LEPCC", "LEPCB", "PESRC", "PESRB", "PESLC", "PESLB",
                          "EESRC", "EESRB", "EESLC", "EESLB"})
        add(n, free, QSize(50, noLimit));
}

void TestFormC::sizeLimits()
{
    QFETCH(QString, name);
    QFETCH(QSize, minimum);
    QFETCH(QSize, maximum);
    auto *w = get<QWidget>(name);
    QVERIFY(w);
    QCOMPARE(w->minimumSize(), minimum);
    QCOMPARE(w->maximumSize(), maximum);
}

void TestFormC::statusTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    auto add = [](const char *name, const QString &tip) {
        QTest::newRow(name) << QString(name) << tip;
    };
    const QString hb = "Uses one output of a PWM amp. Allows for uni-directional modulation.";
    const QString fb = "Uses two outputs of a PWM amp to form an H-bridge. Allows for "
                       "bi-directional modulation.";
    const QString se = "Only choice for half bridges. For full bridges, this type of filter can "
                       "suffer from terrible EMI problems.";
    const QString dc = "Works well for low frequencies. Very sensitive to parasitics of the "
                       "capacitors.";
    const QString si = "Usually the best bet for full-bridges. Requires large bipolar capacitors.";
    const QString amp = "Select Pulse Width Modulation Amplifier";
    const QString vs = "High-Current Supply Voltage";
    const QString fsw = "Frequency of Output Switching (typically half the clock frequency)";
    const QString irip =
        "Amplitude of current peaks flowing out of amplifier due to PWM modulation";
    const QString vrip = "Amplitude of voltage peaks \"riding\" on voltage waveform at load";
    const QString outMin = "Minimum Expected Modulated Output Voltage/Current. For bridges, take "
                           "differential voltage across outputs.";
    const QString zeroC = "Zero the parasitic R's and L's for all filter capacitors";
    const QString cleg = "Optional components in the Split-Inductor topology. Attach a capacitor "
                         "of this value from either side of C1 to ground. These two capacitors "
                         "work well to reduce common mode voltages at the output";
    // page 9
    add("FullFilter", "Filter and Load Schematic, including parasitic elements of filter.");
    add("ImportFilter",
        "Imports the ideal Butterworth Filter generated in the 'Filter Design Page'");
    add("AutoMN", "Automatically tunes Matching Network for a simple R-L or R-C load. Makes the "
                  "load appear resistive at all frequencies");
    add("ExtendedLoad", "Add more load elements to model a more intricate load");
    add("UseLParasitics", "Use the entered parasitic equations for all filter inductors");
    add("ZeroLParasitics", "Zero the parasitic R's and C's for all filter inductors");
    add("UsePParasitcs",
        "Use the entered Plastic/Ceramic parasitic equations for all filter capacitors");
    add("UseEParasitics",
        "Use the entered Electrolytic parasitic equations for all filter capacitors");
    add("ZeroPParasitics", zeroC);
    add("ZeroEParasitics", zeroC);
    add("ampSelectorPower", amp);
    add("VsPWM", vs);
    add("UseMaxVsPower", "Use Absolute Maximum Supply Voltage");
    add("FsPWM", fsw);
    add("UseMaxFswPower", "Use Absolute Maximum Switching Frequency");
    add("FsigPWM", "Desired Frequency Applied to Load (this positions the frequency marker in "
                   "the graph below)");
    add("SigTypePWM", "Select Output Signal Type (V or I)");
    add("PWMOut", "Maximum Expected Modulated Output Voltage/Current. For bridges, take "
                  "differential voltage across outputs.");
    add("PWMOutMin", outMin);
    add("SigTypePWMMin", outMin);
    add("PampPower", "Total RMS Power dissipated by PWM amplifier");
    add("tempAPower", "Surrounding Ambient Temperature of Amplifier and Heatsink");
    add("heatsinkPower", "Enter thermal resistance of heatsink. Enter \"none\" for no heatsink");
    add("TcMaxPower", "Maximum allowable case temperature in datasheet OR case temperature "
                      "which results in maximum junction temperature, whichever is lower.");
    add("tempCPower", "Resultant case temperature from power dissipation and heatsinking");
    add("minHeatsinkPower", "Minimum required heatsink to manage power dissipation");
    add("tempJPower", "Resultant junction temperature from power dissipation and heatsinking");
    add("PowerNotes", "Warnings will appear here.");
    add("HBPower", hb);
    add("FBPower", fb);
    add("SEpower", se);
    add("DCpower", dc);
    add("SIpower", si);
    add("ThermalCompoundPower", "Thermal resistance of amp-heatsink interface.");
    add("PiqVs", "High-Current Supply Voltage idle power dissipation. Affected by Supply "
                 "Voltage and Switching Frequency");
    add("PiqVcc", "Input Stage Supply Voltage idle power dissipation. Assumes nominal supply "
                  "voltage is used. Affected by switching frequency.");
    add("PtopPower", "Power dissipated in a single \"top\" element of a half-bridge.");
    add("PbotPower", "Power dissipated in a single \"bottom\" element of a half-bridge.");
    add("Pwire", "Power lost due to resistance of pins, wirebonds, traces, contacts, etc. "
                 "internal to the amplifier.");
    add("Ptotal", "Sum of above powers");
    add("IripplePower", irip);
    add("VripplePower", vrip);
    add("PoutPower", "True power dissipated as heat in the load");
    add("Fhotspot", "For applications where operation frequency changes, enter this number in "
                    "'Signal Frequency' for worst-case power dissipation");
    add("VrangePower", "Output Voltage region where duty cycle is still linear AND output "
                       "element saturation does not cause clipping. Based on peak output "
                       "current at signal frequency");
    add("yVariable", "Choose the type of Frequency sweep to view below");
    add("FilterFreq", "Frequency Sweep");
    add("Fmin", "Minimum Frequency Bound. Enter \"auto\" to automatically scale this range.");
    add("Fmax", "Maximum Frequency Bound. Enter \"auto\" to automatically scale this range.");
    // page 12
    add("ampSelectorFilter", amp);
    add("filterVs", vs);
    add("useMaxVs", "Use Absolute Maximum Supply Voltage");
    add("filterFsw", fsw);
    add("useMaxFsw", "Use Absolute Maximum Switching Frequency");
    add("filterFcut", "Frequency of -3dB attenuation for Low Pass Filter");
    add("useFswOver10", "Use One Decade Below Switching Frequency. Typically requires a filter "
                        "order of 2 or 3");
    add("filterVrip", "Maximum Peak Ripple Voltage Allowable in Design. Filter Order will be "
                      "chosen to achieve ripple voltage just below this value");
    add("filterR_L", "Load Resistance. If load has any reactive component, a matching network "
                     "must be used to counteract it.");
    add("MNbutton", "Click to design a matching network for a complex load.");
    add("filterOrder", "Filter Order that achieves above specifications");
    add("filterOrderActual", "Change filter order to view circuit and attenuation plot");
    add("useRecN", "Click to use the calculated filter order displayed above");
    add("filterRload", "Load Resistance in a series R-L or R-C combination");
    add("filterLoadIsC", "Load Capacitance in a series R-C combination");
    add("filterCload", "Load Capacitance in a series R-C combination");
    add("filterLoadIsL", "Load Inductance in a series R-L combination");
    add("filterLload", "Load Inductance in a series R-L combination");
    add("filterRm", "Recommended Matching Resistor");
    add("filterCm", "Recommended Matching Capacitor");
    add("filterLm", "Recommended Matching Inductor");
    add("useMNvalues", "Copy load resistance to previous sheet");
    add("HBbutton", hb);
    add("FBbutton", fb);
    add("SEbutton", se);
    add("DCbutton", dc);
    add("SIbutton", si);
    add("filterPlot", "Schematic");
    add("attenuationPlot", "Output Attenuation From Ideal Components");
    add("filterVripActual", vrip);
    add("FilterIrip", irip);
    add("ClegLabel", cleg);
    add("Cleg", cleg);
    // widgets given no tip must not borrow one
    for (const char *n :
         {"refreshDemoButton", "demoSaveButton", "demoPlot", "demoAol1", "demoAcl100M", "PowerTabs",
          "PWMfilterOrder", "LESRC", "EESLB", "VorILabelMax", "VorILabelMin", "ToPWMControl",
          "PWMTut", "filterStack", "orderButton", "dbAttenuation", "percentAttenuation",
          "loadFilterToPower", "PWMTutFilter"})
        QTest::newRow(qPrintable(QString("%1 has none").arg(n))) << QString(n) << QString();
}

void TestFormC::statusTips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    auto *w = get<QWidget>(name);
    QVERIFY(w);
    QCOMPARE(w->statusTip(), tip);
}

void TestFormC::captionStatusTips_data()
{
    QTest::addColumn<QString>("within");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tip");
    auto add = [](const char *row, const char *within, const char *caption, const QString &tip) {
        QTest::newRow(row) << QString(within) << QString(caption) << tip;
    };
    const QString vrip = "Amplitude of voltage peaks \"riding\" on voltage waveform at load";
    const QString irip = "Amplitude of current peaks flowing out of amplifier due to PWM "
                         "modulation";
    // page 9
    add("Vs", "groupBox_20", "Supply Voltage Vs", "High-Current Supply Voltage");
    add("Fsw", "groupBox_20", "Switching Frequency ",
        "Frequency of Output Switching (typically half the clock frequency)");
    add("Fsig", "groupBox_20", "Signal Frequency",
        "Desired Frequency Applied to Load (this positions the frequency marker in the graph "
        "below)");
    add("internal power, none", "groupBox_20",
        "INTERNAL AMPLIFIER POWER (using current Junction Temp)", QString());
    add("ambient", "groupBox_23", "Ambient Temperature",
        "Surrounding Ambient Temperature of Amplifier and Heatsink");
    add("heatsink", "groupBox_23", "Actual Heatsink",
        "Enter thermal resistance of heatsink. Enter \"none\" for no heatsink");
    add("Tc max", "groupBox_23", "Suggested Tc Max",
        "Maximum allowable case temperature in datasheet OR case temperature which results in "
        "maximum junction temperature, whichever is lower.");
    add("case", "groupBox_23", "Case Temperature",
        "Resultant case temperature from power dissipation and heatsinking");
    add("min heatsink", "groupBox_23", "Minimum Heatsink",
        "Minimum required heatsink to manage power dissipation");
    add("junction", "groupBox_23", "Junction Temperature",
        "Resultant junction temperature from power dissipation and heatsinking");
    add("thermal compound unit", "groupBox_28", "°C/W",
        "Thermal resistance of amp-heatsink interface.");
    add("Piq Vs", "groupBox_26", "Quiescent Power Vs",
        "High-Current Supply Voltage idle power dissipation. Affected by Supply Voltage and "
        "Switching Frequency");
    add("Piq Vcc", "groupBox_26", "Quiescent Power Vcc",
        "Input Stage Supply Voltage idle power dissipation. Assumes nominal supply voltage is "
        "used. Affected by switching frequency.");
    add("top", "groupBox_26", "Current Sourcing Element Power",
        "Power dissipated in a single \"top\" element of a half-bridge.");
    add("bottom", "groupBox_26", "Current Sinking Element Power",
        "Power dissipated in a single \"bottom\" element of a half-bridge.");
    add("wire", "groupBox_26", "Power Lost in Wires",
        "Power lost due to resistance of pins, wirebonds, traces, contacts, etc. internal to "
        "the amplifier.");
    add("total", "groupBox_26", "Total", "Sum of above powers");
    add("ripple current", "groupBox_22", "Ripple Current", irip);
    add("ripple voltage", "groupBox_22", "Ripple Voltage", vrip);
    add("load power", "groupBox_22", "Approximate True Load Power",
        "True power dissipated as heat in the load");
    add("hotspot", "groupBox_22", "Frequency of Highest Power Dissipation (Within Display Range)",
        "For applications where operation frequency changes, enter this number in 'Signal "
        "Frequency' for worst-case power dissipation");
    add("output range", "groupBox_22", "Maximum Output Range",
        "Output Voltage region where duty cycle is still linear AND output element saturation "
        "does not cause clipping. Based on peak output current at signal frequency");
    add("display, none", "page_8", "Display:", QString());
    // page 12
    add("filter Vs", "stackedWidget_16Page1", "Supply Voltage Vs", "High-Current Supply Voltage");
    add("filter Fsw", "stackedWidget_16Page1", "Switching Frequency",
        "Frequency of Output Switching (typically half the clock frequency)");
    add("cutoff", "stackedWidget_16Page1", "Cutoff Frequency",
        "Frequency of -3dB attenuation for Low Pass Filter");
    add("allowable ripple", "stackedWidget_16Page1", "Allowable Ripple",
        "Maximum Peak Ripple Voltage Allowable in Design. Filter Order will be chosen to achieve "
        "ripple voltage just below this value");
    add("R_LOAD, filter sheet", "stackedWidget_16Page1", "R_LOAD",
        "Load Resistance. If load has any reactive component, a matching network must be used "
        "to counteract it.");
    add("recommended order", "stackedWidget_16Page1",
        "Recommended Filter Order N = ", "Filter Order that achieves above specifications");
    add("actual order", "stackedWidget_16Page1", "Actual Filter Order",
        "Change filter order to view circuit and attenuation plot");
    add("order hint, none", "stackedWidget_16Page1", "[1 to 6]", QString());
    add("R_LOAD, matching sheet", "page_12", "R_LOAD",
        "Load Resistance in a series R-L or R-C combination");
    add("R_M", "page_12", "R_M = ", "Recommended Matching Resistor");
    add("C_M", "page_12", "C_M = ", "Recommended Matching Capacitor");
    add("L_M", "page_12", "L_M = ", "Recommended Matching Inductor");
    add("ripple voltage result", "groupBox_17", "Ripple Voltage = ", vrip);
    add("ripple current result", "groupBox_17", "Ripple Current = ", irip);
}

void TestFormC::captionStatusTips()
{
    QFETCH(QString, within);
    QFETCH(QString, caption);
    QFETCH(QString, tip);
    QLabel *l = this->caption(within, caption);
    QVERIFY2(l, qPrintable(QString("no unique caption \"%1\" in %2").arg(caption, within)));
    QCOMPARE(l->statusTip(), tip);
}

void TestFormC::toolTipsEmpty_data()
{
    QTest::addColumn<QString>("page");
    QTest::newRow("Bode plot generator") << "page_5";
    QTest::newRow("PWM power") << "page_8";
    QTest::newRow("PWM filter") << "page_11";
}

void TestFormC::toolTipsEmpty()
{
    QFETCH(QString, page);
    auto *p = get<QWidget>(page);
    QVERIFY(p);
    for (QWidget *w : p->findChildren<QWidget *>())
        QVERIFY2(w->toolTip().isEmpty(), qPrintable(w->objectName()));
}

void TestFormC::powerTabs()
{
    QTabWidget *tabs = ui.PowerTabs;
    QCOMPARE(tabs->count(), 4);
    const QStringList names = {"tab", "tab_2", "tab_3", "tab_4"};
    const QStringList titles = {"Define Load and Filter", "Filter Parasitics",
                                "Define Circuit Parameters", "Advanced Options"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(tabs->widget(i)->objectName(), names.at(i));
        QCOMPARE(tabs->tabText(i), titles.at(i));
    }
    QCOMPARE(tabs->currentIndex(), 2);
    QCOMPARE(tabs->tabPosition(), QTabWidget::North);
    QCOMPARE(tabs->elideMode(), Qt::ElideMiddle);
    QVERIFY(tabs->usesScrollButtons());
    QVERIFY(!tabs->tabsClosable());
    QVERIFY(!tabs->isMovable());
    // each tab's contents sit in the grid the analysis code knows
    QCOMPARE(tabs->widget(0)->layout()->objectName(), QString("gridLayout_37"));
    QCOMPARE(tabs->widget(1)->layout()->objectName(), QString("gridLayout_39"));
    QCOMPARE(tabs->widget(2)->layout()->objectName(), QString("gridLayout_40"));
    QCOMPARE(tabs->widget(3)->layout()->objectName(), QString("gridLayout_41"));
}

void TestFormC::filterStack()
{
    QStackedWidget *stack = ui.filterStack;
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->widget(0)->objectName(), QString("stackedWidget_16Page1"));
    QCOMPARE(stack->widget(1)->objectName(), QString("page_12"));
    QCOMPARE(stack->currentIndex(), 0);
    QCOMPARE(stack->widget(0)->layout()->objectName(), QString("gridLayout_33"));
    QCOMPARE(stack->widget(1)->layout()->objectName(), QString("gridLayout_36"));
    // switching sheets keeps what is typed on both
    ui.filterRload->setText("22");
    ui.filterVs->setText("60");
    stack->setCurrentIndex(1);
    stack->setCurrentIndex(0);
    QCOMPARE(ui.filterRload->text(), QString("22"));
    QCOMPARE(ui.filterVs->text(), QString("60"));
    ui.filterRload->setText("15");
    ui.filterVs->setText("48");
}

void TestFormC::groupBoxTitles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("alignment");
    auto add = [](const char *name, const char *title, int alignment) {
        QTest::newRow(name) << QString(name) << QString(title) << alignment;
    };
    const int left = Qt::AlignLeft, centre = Qt::AlignHCenter;
    add("groupBox_20", "Electrical Parameters", centre);
    add("groupBox_23", "Heatsinking", centre);
    add("groupBox_24", "First: Choose Output Type", centre);
    add("groupBox_25", "Second: Choose Filter Type", centre);
    add("groupBox_28", "Thermal Compound Resistance", left);
    add("groupBox_26", "Internal Power Components", centre);
    add("groupBox_22", "Output Details", centre);
    add("groupBox_14", "First: Choose Output Type", left);
    add("groupBox_13", "Second: Choose Filter Type", left);
    add("groupBox_15", "Display Attenuation In:", left);
    add("groupBox_16", "", left);
    add("groupBox_17", "", left);
}

void TestFormC::groupBoxTitles()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(int, alignment);
    auto *g = get<QGroupBox>(name);
    QVERIFY(g);
    QCOMPARE(g->title(), title);
    QCOMPARE(int(g->alignment() & Qt::AlignHorizontal_Mask), alignment);
    QVERIFY(!g->isCheckable());
}

void TestFormC::parasiticsRowColours_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("inductors") << 2 << red << QStringList{"Inductors", "ESR = ", "Ω + ",
                                                          "Ω / mH ",   "EPC = ", "pF + ",
                                                          "pF / mH",   "Use",    "Zero"};
    QTest::newRow("plastic/ceramic") << 3 << green
                                     << QStringList{"Plastic/Ceramic Capacitors",
                                                    "ESR = ",
                                                    "Ω + ",
                                                    "Ω / log(µF)",
                                                    "ESL = ",
                                                    "nH + ",
                                                    "nH / log(µF)",
                                                    "Use",
                                                    "Zero"};
    QTest::newRow("electrolytic") << 4 << blue
                                  << QStringList{"Electrolytic Capacitors", "ESR = ", "Ω + ",
                                                 "Ω / log(µF/10)",          "ESL = ", "nH + ",
                                                 "nH / log(µF/10)",         "Use",    "Zero"};
}

// Every caption, unit and button of an equation row is drawn in the row's colour; the fields
// are not, and the texts read left to right in the order of the equation.
void TestFormC::parasiticsRowColours()
{
    QFETCH(int, row);
    QFETCH(QString, colour);
    QFETCH(QStringList, texts);
    auto *grid = get<QGridLayout>("gridLayout_39");
    QVERIFY(grid);
    QStringList seen;
    int fields = 0;
    for (int col = 0; col < grid->columnCount(); ++col) {
        QLayoutItem *item = grid->itemAtPosition(row, col);
        QWidget *w = item ? item->widget() : nullptr;
        if (!w || (col > 0 && grid->itemAtPosition(row, col - 1) == item)) continue;
        if (auto *e = qobject_cast<QLineEdit *>(w)) {
            QVERIFY(e->styleSheet().isEmpty());
            ++fields;
            continue;
        }
        QCOMPARE(w->styleSheet(), colour);
        if (auto *l = qobject_cast<QLabel *>(w))
            seen << l->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            seen << b->text();
    }
    QCOMPARE(seen, texts);
    QCOMPARE(fields, 4);
    QCOMPARE(grid->columnCount(), 17);
}

void TestFormC::richTexts()
{
    const QString boxed = "<html><head/><body><p align=\"center\">V_out = </p><p "
                          "align=\"center\">Vs * Duty Cycle</p></body></html>";
    QLabel *note = caption("groupBox_20", boxed);
    QVERIFY(note);
    QCOMPARE(note->frameShape(), QFrame::Box);
    QVERIFY(note->wordWrap());
    QCOMPARE(formtest::cellIn(get<QGridLayout>("gridLayout_45"), note).list(),
             QList<int>({4, 4, 2, 1}));

    const QString hint =
        "<html><head/><body><p>The <span style=\" font-weight:600;\">WHITE</span> fields can be "
        "imported from the <span style=\" font-weight:600;\">&quot;Filter Design&quot;</span> "
        "page using the &quot;import&quot; button in the Define Load and Filter tab. The <span "
        "style=\" font-weight:600;\">YELLOW</span> fields are new. Please enter / verfiy all "
        "entries.</p></body></html>";
    QLabel *l = caption("tab_3", hint);
    QVERIFY(l);
    QCOMPARE(formtest::cellIn(get<QGridLayout>("gridLayout_40"), l).list(),
             QList<int>({2, 0, 1, 2}));
}

void TestFormC::powerNotesDocument()
{
    QTextBrowser *notes = ui.PowerNotes;
    QCOMPARE(notes->toPlainText(), QString("Notes:"));
    // the document's body font reaches the text as its character format
    QTextCursor cursor(notes->document());
    cursor.setPosition(1);
    const QTextCharFormat chars = cursor.charFormat();
    QCOMPARE(chars.fontFamily(), QString("MS Shell Dlg 2"));
    QCOMPARE(chars.fontPointSize(), 8.25);
    QVERIFY(chars.fontWeight() == QFont::Normal || !chars.hasProperty(QTextFormat::FontWeight));
    const QTextBlockFormat block = cursor.blockFormat();
    QCOMPARE(block.topMargin(), 0.0);
    QCOMPARE(block.bottomMargin(), 0.0);
}

void TestFormC::demoPlotStyle()
{
    QCOMPARE(ui.demoPlot->styleSheet(), QString("font: 12pt \"MS Shell Dlg 2\";"));
    // the generator's plot sits between spacers on the right of the gain table
    auto *grid = get<QGridLayout>("page_5_grid");
    QVERIFY(grid);
    const formtest::Cell plot = formtest::cellIn(grid, ui.demoPlot);
    for (const QPoint step : {QPoint(0, -1), QPoint(0, 1), QPoint(-1, 0), QPoint(1, 0)}) {
        QLayoutItem *neighbour = grid->itemAtPosition(plot.row + step.y(), plot.column + step.x());
        QVERIFY(neighbour && neighbour->spacerItem());
    }
    auto *table = get<QGroupBox>("page_5_groupBox");
    QVERIFY(table);
    QVERIFY(table->title().isEmpty());
    const formtest::Cell box = formtest::cellIn(grid, table);
    QCOMPARE(QList<int>({box.row, box.column, box.rowSpan}), QList<int>({0, 0, grid->rowCount()}));
    for (const char *heading : {"Freq (Hz)", "Open Loop Gain (dB)", "Closed Loop Gain (dB)"})
        QVERIFY2(caption("page_5_groupBox", heading), heading);
}

// Each pair of alternatives is exclusive within its own group box only: the power page's
// bridge choice must not move the filter page's, nor the load type the attenuation unit.
void TestFormC::radioGroupsAreExclusivePerGroup()
{
    ui.HBPower->setChecked(true);
    QVERIFY(!ui.FBPower->isChecked());
    QVERIFY(!ui.HBbutton->isChecked());
    QVERIFY(ui.FBbutton->isChecked());
    ui.FBPower->setChecked(true);
    QVERIFY(!ui.HBPower->isChecked());

    ui.SEpower->setChecked(true);
    QVERIFY(!ui.SIpower->isChecked() && !ui.DCpower->isChecked());
    QVERIFY(ui.SIbutton->isChecked());
    ui.SIpower->setChecked(true);

    ui.filterLoadIsC->setChecked(true);
    QVERIFY(!ui.filterLoadIsL->isChecked());
    QVERIFY(ui.dbAttenuation->isChecked());
    ui.filterLoadIsL->setChecked(true);

    ui.percentAttenuation->setChecked(true);
    QVERIFY(!ui.dbAttenuation->isChecked());
    QVERIFY(ui.filterLoadIsL->isChecked());
    ui.dbAttenuation->setChecked(true);

    ui.HBbutton->setChecked(true);
    QVERIFY(!ui.FBbutton->isChecked());
    QVERIFY(ui.FBPower->isChecked());
    ui.FBbutton->setChecked(true);
}

void TestFormC::focusOrder_data()
{
    QTest::addColumn<QStringList>("order");
    QStringList bode;
    for (const char *kind : {"demoAol", "demoAcl"})
        for (const char *f : {"1", "10", "100", "1k", "10k", "100k", "1M", "10M", "100M"})
            bode << QString(kind) + f;
    bode << QStringList{"refreshDemoButton", "demoSaveButton"};
    QTest::newRow("Bode plot generator") << bode;
    QTest::newRow("PWM power") << QStringList{
        "PowerTabs",     "ImportFilter",    "PWMfilterOrder", "AutoMN",
        "ExtendedLoad",  "yVariable",       "Fmin",           "Fmax",
        "ToPWMControl",  "PWMTut",          "LESRC",          "LESRB",
        "LEPCC",         "LEPCB",           "UseLParasitics", "ZeroLParasitics",
        "PESRC",         "PESRB",           "PESLC",          "PESLB",
        "UsePParasitcs", "ZeroPParasitics", "EESRC",          "EESRB",
        "EESLC",         "EESLB",           "UseEParasitics", "ZeroEParasitics",
        "UseMaxVsPower", "FsPWM",           "UseMaxFswPower", "FsigPWM",
        "SigTypePWM",    "PWMOut",          "PWMOutMin",      "tempAPower",
        "heatsinkPower", "PowerNotes",      "HBPower",        "FBPower",
        "SEpower",       "DCpower",         "SIpower",        "ThermalCompoundPower"};
    QTest::newRow("PWM power: amplifier then supply") << QStringList{"ampSelectorPower", "VsPWM"};
    QTest::newRow("PWM filter") << QStringList{
        "ampSelectorFilter",  "filterVs",          "useMaxVs",    "filterFsw",     "useMaxFsw",
        "filterFcut",         "useFswOver10",      "filterVrip",  "filterR_L",     "MNbutton",
        "filterOrderActual",  "useRecN",           "filterRload", "filterLoadIsC", "filterCload",
        "filterLoadIsL",      "filterLload",       "orderButton", "useMNvalues",   "HBbutton",
        "FBbutton",           "SEbutton",          "DCbutton",    "SIbutton",      "dbAttenuation",
        "percentAttenuation", "loadFilterToPower", "PWMTutFilter"};
}

// Walks the focus chain from each widget and checks that the next widget of the list is the
// next one of the list reached (inner widgets of spin boxes and the like lie in between).
void TestFormC::focusOrder()
{
    QFETCH(QStringList, order);
    const QSet<QString> listed(order.begin(), order.end());
    for (int i = 0; i + 1 < order.size(); ++i) {
        auto *from = get<QWidget>(order.at(i));
        QVERIFY(from);
        QWidget *w = from->nextInFocusChain();
        while (w != from && !listed.contains(w->objectName()))
            w = w->nextInFocusChain();
        QCOMPARE(w->objectName(), order.at(i + 1));
    }
}

QTEST_MAIN(TestFormC)
#include "tst_form_c.moc"
