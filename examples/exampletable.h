#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The tutorials and the fixed designs of their worked examples, without any widget: which
// page an example shows and which values it writes there. The window applies them
// (examples/mainwindow_example_setups.cpp) in the order each page needs. Values are texts as
// a user would type them into the page ("10.6n", "open"), indexes and flags.
namespace examples {

// Descriptions exist for the numbers 0 to 95; 96 is the number just past the last one.
constexpr int descriptionCount = 96;

struct Tutorial
{
    QString name; // item text of the tutorial page's combo box
    int overview; // description number of the tutorial's introduction
    int first;    // first worked example
    int last;     // last worked example
};

// The twelve tutorials in the order of the tutorial page's combo box.
const QVector<Tutorial> &tutorials();

// Overview number of the tutorial at a combo index; 0 for an index outside the table.
int overviewNumber(int comboIndex);

// First worked example of the tutorial at a combo index; -1 for an index outside the table.
int firstExample(int comboIndex);

// True for every overview number and for 96: stepping onto one of them ends a tutorial.
bool isTutorialBoundary(int number);

// Resource path of description `number`.
QString descriptionResource(int number);

// Description `number` as text; empty when there is no such resource. The files are UTF-16
// with a byte-order mark, which the reader detects.
QString readDescription(int number);

// ---------------------------------------------------------------------------------------
// The set-ups. Each family of pages has its own record; an example uses one of them.

enum class Family {
    None,              // overview numbers and everything outside 0..95: nothing changes
    PageOnly,          // only shows a page
    Soa,               // SOA page
    Stability,         // stability page
    Heatsink,          // heatsink selector
    LinearSelector,    // linear product selector
    SwitchingSelector, // PWM product selector
    Filter,            // PWM filter design
    Power,             // PWM power
    Control,           // the three steps of the PWM control design
    CurrentPump,       // Howland current pump
    ThreePhase,        // three-phase motor
};

// One element of the PWM power page's network: inductance, resistance and capacitance, in
// the order the page keeps them.
struct Triple
{
    QString l = QStringLiteral("0");
    QString r = QStringLiteral("0");
    QString c = QStringLiteral("0");
};

struct SoaSetup
{
    QString rLoad, cLoad, lLoad; // series R-L-C load
    QString freq;                // signal frequency
    QString part;
    QString vsPos, vsNeg;
    bool boostFollowsSupplies = false; // boost supplies copied from the supplies, boost off
    bool voltageOut = true;            // false: the signal is a load current
    QString maxOut, minOut;
    QString tempA;
    int inputTab = 1;   // 0 signal, 1 load, 2 current limit
    int signalType = 0; // 0 sine, 1 trapezoid
    QString rCL;
    QString heatsink;
    QString compound;
    bool writesTrapezoid = false;
    QString tRise, tHigh, tFall, tLow;
};

// The R-C pole calculator of the stability page, filled from two literals.
struct RcCalculator
{
    enum class Kind { None, CapacitorFromRF, ResistorFromFC };
    Kind kind = Kind::None;
    QString first;  // R1 (capacitor) or F3 (resistor)
    QString second; // F1 (capacitor) or C3 (resistor)
};

struct CapacitiveStage
{
    QString cLoad, rIso, rIn, rFb, cFb, rNg, cNg, rCl;
};

struct InductiveStage
{
    QString lLoad, rLoad, rIn, rFb, cFb, rD, rS, rSGain;
};

struct CompositeHost
{
    QString rIn, rFb, cFb, rNg, cNg;
};

struct StabilitySetup
{
    QString part;
    bool capacitiveLoad = true;
    bool inverting = true;
    int tab = 0; // 0 schematic, 1 Bode plots, 2 calculators, 3 composite
    CapacitiveStage cap;
    InductiveStage ind;
    bool composite = false; // with the OP07 host op-amp
    CompositeHost host;
    int compOption = 0;
    bool phaseComponents = true;
    RcCalculator calculator;
};

struct HeatsinkSetup
{
    QString part; // empty: the first entry ("All Parts")
    bool enablePartList = false;
    QString rTheta;
    bool forcedFlow = false;
};

struct LinearSelectorSetup
{
    QString current, vpp;
    bool byFrequency = true; // frequency with its button checked; else the slew-rate text
    QString freqOrSlew;
    bool uncheckParallel = false;
};

struct SwitchingSelectorSetup
{
    QString current, voltage, frequency;
};

enum class OutputStage {
    FullBridgeSplitInductor,
    FullBridgeDualCapacitor,
    HalfBridgeSingleEnded,
};

struct FilterLoad
{
    int stack = 0;
    QString rLoad;
    bool inductive = true;
    QString lLoad = QStringLiteral("short");
    QString cLoad = QStringLiteral("short");
};

struct FilterSetup
{
    QString part, vs, fsw, fcut, vrip;
    OutputStage output = OutputStage::FullBridgeSplitInductor;
    int order = 2;
    std::optional<QString> rL;
    std::optional<int> stackOnly; // the design sheet chosen without a load
    std::optional<FilterLoad> load;
    bool loadAfterRefresh = false; // load written after the refresh, then the matching network
};

// The PWM power page's network and order.
struct PowerNetwork
{
    Triple p[6];
    Triple mn;
    Triple load[5];
    int order = 2;
};

struct PowerSetup
{
    std::optional<int> tab;
    PowerNetwork net;
    QString part, vs, fsw;
    std::optional<QString> fsig;
    bool writesOutput = false; // signal type voltage, with its maximum and minimum
    QString outMax, outMin;
    OutputStage output = OutputStage::FullBridgeSplitInductor;
    std::optional<int> yVariable;
    QString fmin = QStringLiteral("auto");
    QString fmax = QStringLiteral("auto");
    QString heatsink;
};

// Component values of the control circuit; only those present are written.
struct ControlNetwork
{
    std::optional<QString> rint, cint, vref, vbias, rbias, rin, rf, rnf, cnf, rdf, cdf, rdin, rdif,
        cdif;
};

struct ControlSetup
{
    int step = 1; // wizard step 1..3
    PowerNetwork net;
    QString part, vs, fsw, fsig, outMax, outMin;
    QString vcc, vinMax, vinMin; // step 3 only
    ControlNetwork values;       // step 3 only
};

struct PumpSetup
{
    bool writesDrive = false; // the output range, transconductance, tolerance and mode
    bool inverting = true;
    // The load, frequency, resistors and tolerances; written together when present.
    bool writesCircuit = false;
    QString rLoad, lLoad, cLoad, freq, rs, rfn, rfp, rinT, rfnT, rfpT, rsT;
    bool sweep = false;
    bool uncheckSoaBridgeParallel = false;
};

struct ThreePhaseSetup
{
    QString vs, vcc, fsw;
    int outputTab = 0;
    QString heatsink, tim;
    bool uncheckDisplayDC = false;
    QString start, end;
    QString r, l, vemf;
    int poles = 4;
    bool delta = true;
    int controlVariable = 1, controlType = 0, constantVariable = 2;
    QString controlAmplitude, constantAmplitude;
    QStringList times, amplitudes, graphs;
};

struct Example
{
    Family family = Family::None;
    int page = -1; // index of the page shown
    SoaSetup soa;
    StabilitySetup stability;
    HeatsinkSetup heatsink;
    LinearSelectorSetup lps;
    SwitchingSelectorSetup sps;
    FilterSetup filter;
    PowerSetup power;
    ControlSetup control;
    PumpSetup pump;
    ThreePhaseSetup motor;
};

// The set-up of example `number`; Family::None for overview numbers and numbers outside
// 0..95.
Example example(int number);

} // namespace examples
