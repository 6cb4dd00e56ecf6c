#pragma once

#include "catalog/amp.h"
#include "catalog/heatsink.h"
#include "catalog/packagestyle.h"
#include "catalog/pwm.h"
#include "pwmcontrol/sconcomponents.h"
#include "pwmcontrol/scontypes.h"
#include "motor/p3forward.h"
#include "soa/loadline.h"
#include "soa/soasignal.h"
#include "soa/soathermal.h"
#include "stability/autocomp.h"
#include "stability/bodemodel.h"
#include "stability/stabschematic.h"
#include "values/comp.h"
#include "values/engvalues.h"
#include "values/engwidgets.h"

#include <functional>

#include <QHash>
#include <QMainWindow>
#include <QPen>
#include <QPointer>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class QCloseEvent;
class QComboBox;
class QLabel;
class QNetworkReply;
class QResizeEvent;
class QShortcut;
class QStandardItemModel;
class QLineEdit;
class QModelIndex;
class QMouseEvent;
class QCPTextElement;
class QTextStream;
class QCPAbstractItem;
class QCPItemText;
class QCustomPlot;
class LoadCalc;
class SchGridTicker;

class Ui_MainWindow;
class Examples;

namespace examples {
struct SoaSetup;
struct StabilitySetup;
struct HeatsinkSetup;
struct LinearSelectorSetup;
struct SwitchingSelectorSetup;
struct FilterSetup;
struct PowerSetup;
struct ControlSetup;
struct PumpSetup;
struct ThreePhaseSetup;
struct PowerNetwork;
enum class OutputStage;
} // namespace examples

namespace ihcp {
struct PumpNote;
struct PumpCheck;
} // namespace ihcp

namespace designfile {
struct Assignment;
struct DesignMembers;
struct Entry;
struct ParsedDesign;
} // namespace designfile

// The one window of the program. Its members are grouped by page; each group's arithmetic
// lives in a widget-free engine in that page's folder, and the members here read the fields,
// call the engine and show the result. Slots named on_<object>_<signal> are bound by the form.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Ui_MainWindow *ui = nullptr;

    // ------------------------------------------------------------------ engineering values
public slots:
    QString number2String(double number);

public:
    double roundTo3Sig(double value);
    QString engString(double value, QString unit);
    void setEngLabel(double value, QLabel *label, QString unit);
    void setEngLineEdit(double value, QLineEdit *edit, QString unit);
    void setEngItemText(double value, QCPItemText *item, QString unit);
    double parseValue(const QString &text);
    double parseLineEdit(QLineEdit *edit, QString kind, bool *ok = nullptr);
    double parseItemValue(QString text, QCPItemText *item);

    // ------------------------------------------------------------------ part catalog
public:
    // The catalog, in table order. Filled once at start; all but the host list are read again
    // when pre-released parts are switched in or out.
    QVector<amp> ampVector;         // linear amplifiers
    QVector<amp> hostVector;        // host op-amps of other vendors
    QVector<pwm> pwmVector;         // PWM amplifiers
    QVector<heatsink> heatsinkVector;
    QVector<packageStyle> packageVector;

    void loadPartLists();

public slots:
    // Copy of the part named ampName; the first part when none is.
    amp findLinear(QString ampName);
    pwm findSwitching(QString ampName);
    int ampVectorIndex(QString ampName);
    QString interpretPackage(QString code);
    QString interpretPackageFullDesc(QString code);
    // Part names for the indices that design files of releases before 7 store.
    QString beforeV7IndextoAmpName(int index);
    QString beforeV7IndextoPwmName(int index);
    QString beforeV7IndextoHostName(int index);
    // Refills the eight part combo boxes from the lists, keeping each one's part where the
    // new list still holds it.
    void fillAllDropDownMenus();

private slots:
    void on_includePreReleased_clicked(bool checked);

private:
    // The part combo boxes whose shown part changed in the refill.
    QList<QComboBox *> refillPartCombos();

    // ------------------------------------------------------------------ application shell
public:
    // Unsaved changes: set by every page refresh, cleared by construction, saving and opening.
    bool designModified = false;
    // The close prompt is open: a field it takes the focus from starts no long computation.
    bool closePromptOpen = false;
    QString fileName;
    bool hasFileName = false;

    QStandardItemModel *LPSmodel = nullptr;
    QStandardItemModel *SPSmodel = nullptr;
    QStandardItemModel *HSmodel = nullptr;

    // Page values stored in design files, each named by its design-file key. Texts hold typed
    // values as the user would type them ("4.7k", "open").
    int CompOption = 0;
    bool phaseShiftComponents = true;
    int CompOptionIHCP = 0;
    bool sweepIHCP = false;
    bool extendedLoad = false;
    bool ACbidirectional = false;
    QString ResS, CapS, IndS, ResP, CapP, IndP, Z1, Z2, A1, A2, FreqS, FreqP;
    QString SOAVs_pos, SOAVs_neg, SOAVb_pos, SOAVb_neg;
    bool boostSup = false;
    QString SOAR_CS;
    int SignalType = 0; // 0 sine, 1 trapezoid, 2 uploaded file, 3 DC motor
    bool SOAVout = true; // true: voltage output, false: current output
    QString SOAmaxOut, SOAminOut, SOAfreq, SOAtRise, SOAtHigh, SOAtFall, SOAtLow, SOAcsvGain;
    QString CLoadStab, RisoC, RinC, RfbC, CfbC, RngC, CngC, RclC;
    QString LLoadStab, RloadL, RinL, RfbL, CfbL, RdL, RsL, RsGainL;
    QString hostRin, compRfb, compCfb, hostRng, hostCng;
    QString SConRint, SConCint, SConVref, SConVbias, SConRbias, SConRin, SConRf, SConRnf, SConCnf;
    QString SConRdf, SConCdf, SConRdin, SConRdif, SConCdif, SConRbh, SConRbl, SConRs, SConRv,
        SConCv;
    // PWM power parts: value, parasitic resistance, parasitic capacitance or inductance.
    QString P1[3], P2[3], P3[3], P4[3], P5[3], P6[3], MN[3];
    QString L1[3], L2[3], L3[3], L4[3], L5[3];
    QString IHCPRin, IHCPRinT, IHCPRfn, IHCPRfnT, IHCPRfp, IHCPRfpT;
    QString IHCPRs, IHCPRsT, IHCPRd, IHCPCd, IHCPRload, IHCPCload, IHCPLload, IHCPFreq;
    QString ThreePhaseR, ThreePhaseL, ThreePhaseVemf;
    int ThreePhasenPoles = 4;
    bool ThreePhaseisDelta = true;
    int ThreePhaseControlVariable = 1;
    int ThreePhaseControlType = 0;
    int ThreePhaseConstantVariable = 2;
    QString ThreePhaseControlAmplitude, ThreePhaseConstantAmplitude;
    bool ThreePhaseisLinear = false;
    QString ThreePhaseCycleLength;
    QStringList ThreePhaseTimeVector, ThreePhaseAmplitudeVector, P3graphables;

    void connectUART();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

public slots:
    void fileIsReady(QNetworkReply *reply);

private slots:
    void on_LPSbutton_clicked();
    void on_SOAbutton_clicked();
    void on_LstabButton_clicked();
    void on_IHCPbutton_clicked();
    void on_HSbutton_clicked();
    void on_SPSButton_clicked();
    void on_PWMPowerButton_clicked();
    void on_ThreePhaseButton_clicked();
    void on_Examples_clicked();
    void on_FilterButton_clicked();
    void on_PWMControlButton_clicked();
    void on_ToPWMControl_clicked();
    void on_toFilterDesign_clicked();
    void on_toPWMPower_clicked();
    void on_toPWMPower_2_clicked();
    void on_bodePlotGenButton_clicked();
    void on_connectButton_clicked();
    void on_HomeButton_clicked();
    void on_Page_currentChanged(int index);
    void on_actionMain_Menu_triggered();
    void on_actionSave_triggered();
    void on_actionSave_As_triggered();
    void on_actionOpen_triggered();
    void on_actionSupport_triggered();
    void on_action24_pt_triggered();
    void on_action20_pt_triggered();
    void on_action18_pt_triggered();
    void on_action14_pt_triggered();
    void on_action12_pt_triggered();
    void on_action10_pt_triggered();
    void on_action8_pt_triggered();
    void on_action6_pt_triggered();

private:
    // Selects a page from a feature button.
    void showPage(int index);
    void setPageDefaults();
    void startReleaseCheck();
    // Sets the text size of every widget; the window keeps the size the user gave it, grown
    // only as far as the new size needs.
    void setFontSize(int points);
    // The size the user gave the window before the last font change.
    QSize sizeBeforeFontChange;
    // The point sizes the form gives headings and part names of their own.
    QHash<QWidget *, double> formTextSizes;

    // ------------------------------------------------------------------ schematic kit
    // Drawing primitives: each adds one fixed figure at the anchor (xLoc, yLoc), in plot units,
    // as graphs in `pen`; they keep no state and never clear or replot.
public slots:
    void plotWhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double len);
    void plotWver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double len);
    void plotWdia(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xEnd, double yEnd);
    void plotRhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotRver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotChor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotCver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotCLarge(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotLhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotLLarge(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotLver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotG(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotGr(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotPA(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotPAR(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotOA(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotOAR(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotRect(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xSize,
                  double ySize);
    void plotTri(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double xSize,
                 double ySize);
    void plotJhor(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double R);
    void plotJver(QCustomPlot *plot, QPen pen, double xLoc, double yLoc, double R);
    void plotSum(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);

    // Schematic editor page (`sch` on page 19).
public slots:
    void setupSch();
    void setSchTickVector();
    void placeResistor();
    void placeCapacitor();
    void placeInductor();
    void placeWire();
    void placeAmplifier();
    void exitSchMode();
    void onMousePress(QMouseEvent *event);
    void onMouseMove(QMouseEvent *event);
    void onMouseRelease(QMouseEvent *event);
    void regMousePress(QCustomPlot *plot, QMouseEvent *event, QCPAbstractItem *item);
    void regMouseMove(QCustomPlot *plot, QMouseEvent *event);
    void regMouseRelease(QCustomPlot *plot, QMouseEvent *event);
    void wireMousePress(QCustomPlot *plot, QMouseEvent *event, QCPAbstractItem *item);
    void wireMouseMove(QCustomPlot *plot, QMouseEvent *event);
    bool isComponent2(QCPAbstractItem *item);

private slots:
    void on_snapBox_currentIndexChanged(QString arg1);
    void on_capButton_clicked();
    void on_resButton_clicked();
    void on_SchGridBox_toggled(bool checked);
    void on_wireButton_clicked();
    void on_ampButton_clicked();

public:
    void wireDragTo(QCustomPlot *plot, QMouseEvent *event);

    // The item following the pointer. Guarded, because the user can delete it (edit dialog,
    // right press on a wire) while a handler still holds it.
    QPointer<QCPAbstractItem> currentSchItem;
    int schGridStep = 200; // plot units
    bool wireMode = false;

private:
    QPointF schPointerCoords(QCustomPlot *plot, QMouseEvent *event) const;
    // Tickers that place the editor's grid lines, shared with the axes.
    QSharedPointer<SchGridTicker> schXTicker;
    QSharedPointer<SchGridTicker> schYTicker;
    // Whether the wire tool set the cross cursor, so that only its own cursor is restored.
    bool schCursorOverridden = false;
    // Where the item being dragged stood when the drag began, so that a tool or Escape can put
    // it back; inactive while a new component is being placed.
    struct SchDragOrigin
    {
        bool active = false;
        bool horizontal = true;
        QPointF start, end, centre;
    } schDragOrigin;
    void rememberSchDragOrigin(QCPAbstractItem *item);
    void restoreSchDragOrigin(QCPAbstractItem *item);
    // The editor's keys, live only while its page shows.
    QVector<QShortcut *> schShortcuts;

public:

    // ------------------------------------------------------------------ SOA page
public:
    // One period of the output signal: time in seconds (a sweep position 0..1 for the DC
    // motor) and value in volts or amperes as SOAVout says. Always of equal length, and always
    // a signal the load line can run on: a signal without a usable period is not adopted.
    QVector<double> SOAtime, SOAsignal;
    QString SOAcsvPath;    // where the upload's file dialog opens
    QString SOAsignalNote; // why the last signal built or uploaded was not adopted
    // Largest and smallest load current (A) and voltage (V) of the last load line.
    double SOAmaxIout = -999999999, SOAminIout = 999999999;
    double SOAmaxVout = -999999999, SOAminVout = 999999999;
    // Everything the last load line and power analysis found, for the warnings, the supply
    // schematic and the other pages.
    soa::LoadLineResult SOAloadLine;
    soa::ThermalResult SOApower;
    // Why figures of the last refresh are missing: one note per field the model could not
    // use. They stay in the notes whatever else the refresh clears.
    QVector<soa::SoaNote> SOAproblems;

    // The upload without its file dialog: reads, resamples and adopts the file at path.
    void loadSOAwaveform(const QString &path);

public slots:
    void refreshSOA();
    void makeSOAplot();
    void SOAsine();
    void SOAtrap();
    void SOAmotor();
    void SOACSV();
    void increaseSOAResolution(uint segmentDivision);
    void waveDescription();
    void changeSOASignal();
    void setupSOAplot();
    void setupWavePlots();
    void switchLogPlot(bool log);
    void plotSOAdata();
    void customTempLine();
    void plotVswing(bool boost);
    void RLCLoadLine();

private:
    void adoptSOAsignal(const soa::Signal &signal);
    void setSOAaxisScales(bool log);
    void appendSOAnote(const soa::SoaNote &note);
    soa::LoadLineInput readSOAloadInputs();
    soa::ThermalInput readSOAthermalInputs();
    void drawSOAloadLine(const soa::LoadLineResult &line);
    void drawSOAcurrentLimit(const soa::ThermalResult &power);
    double SOAsignalFrequency() const;
    // Reads a field the SOA model needs. A value it cannot use (unreadable, out of range,
    // "open" where open means nothing) turns the field red, adds a note to SOAproblems that
    // names the field and what cannot be computed, and reads as NaN.
    double readSOAfield(QLineEdit *edit, const char *kind, eng::Range range, const char *name,
                        const char *consequence, bool openAllowed = true);
    // A result label: the figure, or the placeholder in red when it could not be computed.
    void showSOAfigure(QLabel *label, double value);

    // Supply schematic, warnings, the page's slots and the load calculator.
public:
    // The clickable value labels of the supply schematic in soa::SupplyLabel order; owned by
    // the plot, null when the last drawing has no such label.
    QPointer<QCPItemText> SOAschLabels[9];

public slots:
    void plotSOAsch();
    void onSOAschItemClicked(QCPAbstractItem *item1, QMouseEvent *event1);
    void changeSOAVsValue(QString PorN);
    void changeSOAVbValue();
    void powerWarnings();
    void SupplyWarnings();
    void saveLoadCalc(QString ResS, QString CapS, QString IndS, QString ResP, QString CapP,
                      QString IndP, QString Z1, QString Z2, QString A1, QString A2,
                      QString FreqS, QString FreqP);

private slots:
    void on_LogCheckBox_toggled(bool checked);
    void on_AmpSelecterSOA_activated(int index);
    void on_R_CL_editingFinished();
    void on_RangeBox_valueChanged(int arg1);
    void on_tempA_editingFinished();
    void on_FOcheckBox_toggled(bool checked);
    void on_R_FO_editingFinished();
    void on_custTempCheckBox_clicked(bool checked);
    void on_custTempLine_editingFinished();
    void on_ThermalCompound_editingFinished();
    void on_heatsink_editingFinished();
    void on_VswingCheckBox_toggled();
    void on_MotorESR_editingFinished();
    void on_MotorI_editingFinished();
    void on_MotorEMF_editingFinished();
    void on_MotorVDC_editingFinished();
    void on_MotorBox_currentIndexChanged(int index);
    void on_ParallelCheckBox_toggled(bool arg1);
    void on_NumParallel_valueChanged(int arg1);
    void on_BridgeCheckBox_toggled();
    void on_BridgeSameSuppliesButton_toggled();
    void on_SOA_series_toggled(bool checked);
    void on_SOA_Rload_editingFinished();
    void on_SOA_Lload_editingFinished();
    void on_SOA_Cload_editingFinished();
    void on_SOAdisplayAfter_valueChanged(int arg1);
    void on_SOAdisplayCycles_valueChanged(int arg1);
    void on_loadTypeBox_currentIndexChanged(int index);
    void on_SOAeditSignalButton_clicked();
    void on_loadCalcButton_clicked();

private:
    // The one load calculator; made at the first opening and shown again after that.
    LoadCalc *loadCalcDialog = nullptr;

    // ------------------------------------------------------------------ product selectors
public:
    // The part of each selector table's current row; default records until a row is chosen.
    amp selectedAmp;
    pwm selectedPwm;
    heatsink selectedHeatsink;

public slots:
    void refreshLPS();
    void refreshSPS();
    void refreshHeatsinks();
    // The selected heatsink's thermal resistance against flow, and the flow it needs.
    void plotRtheta();

public:
    // Linear selector (page 1): the table of every linear amplifier, the filter that shows,
    // tints, converts or hides its rows, and the part of a row.
    void FillInTable();
    void Eliminate();
    void LPSselectionChange(QModelIndex index);
    void selectorTableRowChange(QModelIndex index, QModelIndex index2);

    // PWM selector (page 8).
    void FillInPwmTable();
    void EliminatePWM();
    void SPSselectionChange(QModelIndex index);
    void pwmTableRowChange(QModelIndex index, QModelIndex index2);

    // Heatsink selector (page 7): the package choices and the plot, the table in English or
    // metric units, the filter, and the heatsink of a row.
    void SetupHeatsink();
    void FillInHSTable();
    void FillInHSTableMetric();
    void FilterHeatsinks();
    void HSselectionChange(QModelIndex index);
    void HStableRowChange(QModelIndex index, QModelIndex index2);

    // Product summary tables: GeneratePSG asks for a folder and writes the five tables there
    // through exportProductSummary, which returns an error text (empty on success); each
    // writer puts one whole table on its stream.
    void GeneratePSG();
    QString exportProductSummary(const QString &folder);
    void HighCurrentOpAmpList(QTextStream *HC);
    void HighSpeedOpAmpList(QTextStream *HC);
    void HighVoltageOpAmpList(QTextStream *HC);
    void HighCurrentPWMList(QTextStream *HC);
    void HighVoltagePWMList(QTextStream *HC);

private slots:
    void on_LPScurrent_editingFinished();
    void on_LPSVpp_editingFinished();
    void on_LPSFreqButton_toggled(bool checked);
    void on_LPSSRButton_toggled(bool checked);
    void on_LPSFreq_editingFinished();
    void on_LPSSR_editingFinished();
    void on_LPSBridgeCheckBox_clicked();
    void on_LPSParallelCheckBox_clicked();
    void on_LPSNumAmps_valueChanged(int arg1);
    void on_LPSRelax_valueChanged(int arg1);
    void on_sortPrice_clicked();
    void on_LPSresetButton_clicked();

    void on_SPScurrent_editingFinished();
    void on_SPSvoltage_editingFinished();
    void on_SPSfrequency_editingFinished();
    void on_SPSnumAmps_valueChanged(int arg1);
    void on_SPSparallelCheckBox_clicked();
    void on_SPSrelax_valueChanged(int arg1);
    void on_SPSsortPrice_clicked();
    void on_SPSresetButton_clicked();

    void on_HSchoosePackage_clicked();
    void on_HSchoosePart_clicked();
    void on_HSpart_activated(int index);
    void on_HSpackage_activated(int index);
    void on_HSrtheta_editingFinished();
    void on_HSconstCheckBox_clicked();
    void on_HSH_editingFinished();
    void on_HSL_editingFinished();
    void on_HSW_editingFinished();
    void on_HSWeight_editingFinished();
    void on_HSrelax_valueChanged(int arg1);
    void on_HSsortPrice_clicked();
    void on_HSreset_clicked();
    void on_HSenglish_toggled(bool checked);
    void on_HSfluidCheckBox_clicked();
    void on_HSfanCirc_toggled(bool checked);
    void on_HSfanDia_editingFinished();
    void on_HSfanX_editingFinished();
    void on_HSfanY_editingFinished();

    void on_PSGButton_clicked();

private:
    // Axes, labels and title of the heatsink plot, once.
    void setupHeatsinkPlot();

    // ------------------------------------------------------------------ stability page
public:
    // Gain resistors of the booster circuit types; shown on the schematics, never stored.
    QString RgStab = QStringLiteral("20k");  // capacitive load
    QString RgStabL = QStringLiteral("1k");  // inductive load
    // Left by the last Bode model run for the automatic compensation.
    double phaseMargin = 0; // degrees
    double maxBW = 0;       // Hz

public slots:
    void setupBodePlot();
    void refreshStab();
    // Runs the Bode model that the load buttons and the composite box select, drawing.
    void determineCase();
    // The four Bode models. Each reads every input afresh and writes the verdict, the result
    // labels, phaseMargin and maxBW; only with plot the detail report and the graphs. The
    // single-amplifier models return the closure frequency in Hz.
    double plotCBodeData(bool plot);
    double plotLBodeData(bool plot);
    void plotCBodeDataComposite(bool plot);
    void plotLBodeDataComposite(bool plot);
    // Automatic compensation: the dispatch by load and loop, and the four searches.
    void autoStabilize();
    void autoC();
    void autoL();
    void autoCcomposite();
    void autoLcomposite();
    // The R-C pole calculators and the R_ISO power calculator.
    void RCPC();
    // Bode plot generator page.
    void setupDemoPlot();
    void refreshDemoPlot();

private slots:
    void on_RCPCR1_editingFinished();
    void on_RCPCF1_editingFinished();
    void on_RCPCR2_editingFinished();
    void on_RCPCC2_editingFinished();
    void on_RCPCF3_editingFinished();
    void on_RCPCC3_editingFinished();
    void on_R_ISO_R_editingFinished();
    void on_R_ISO_I_editingFinished();
    void on_refreshDemoButton_clicked();
    void on_demoSaveButton_clicked();

public:
    // The stability value members as one set, and back.
    stab::CircuitValues stabCircuitValues() const;
    void setStabCircuitValues(const stab::CircuitValues &values);

private:
    stab::BodeInput readBodeInput(bool composite);
    stab::HostAmp readHost(QString &problem);
    void showBodeResult(const stab::BodeResult &result, bool plot);
    // One search of the automatic compensation: writes its winner (or its start texts) into
    // the page's values without refreshing; true when it accepted a candidate.
    bool runAutoSearch(stab::LoopKind kind);
    void guardedAutoSearch(const std::function<bool()> &searches);
    stab::LoopKind shownLoopKind() const;
    QString shownVerdict(); // of the loop the page shows, computed afresh

public slots:
    // Schematic value labels, shared with the SOA supply and Howland pump schematics: the
    // caption over the typed value with its unit, red when the value cannot be read; and the
    // dialog that asks for a new value (the old text back when cancelled or left empty).
    void displayStabText(QString text, QCPItemText *item, QString label, QString type);
    QString changeStabValue(QCPItemText *item, QString label, QString type, QString oldText);
    // The compensation option chooser behind a C_COMP label (stability and pump pages): the
    // chosen option index, or the old one when cancelled.
    int changeCcomp(QCPItemText *item, amp linear, int oldCompOption);

    // The stability schematic (StabSch): canvas set-up once, then a redraw of the circuit for
    // the part and options at the end of every refresh, which also enables the options the part
    // allows. plotCcomp draws a part's external compensation network; plotGZ and plotUpTri are
    // the booster and sense-stage triangles.
public:
    // The clickable labels by slot (stab::kStabLabelCount, slot k edits circuit value k); owned
    // by StabSch, null when the last drawing has no such label.
    QPointer<QCPItemText> stabSchLabels[stab::kStabLabelCount];

public slots:
    void setupStabSch();
    void decideStabSch();
    void plotCcomp(QCustomPlot *plot, amp linear);
    void plotUpTri(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void plotGZ(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    // A click on a schematic text: edits every label that stands where the text stands, then
    // refreshes the page whatever happened.
    void onStabSchItemClicked(QCPAbstractItem *item1, QMouseEvent *event1);
    // The note that R_COMP follows C_COMP.
    void changeRcomp();

private slots:
    void on_AmpSelectorStab_activated(int index);
    void on_CloadButton_clicked();
    void on_LloadButton_clicked();
    void on_compositeCheckBox_clicked();
    void on_StabInv_toggled(bool checked);
    void on_HidePhaseLegend_clicked();
    void on_phaseButton_clicked();
    void on_hostSelector_activated(int index);
    void on_hostAOL_editingFinished();
    void on_hostPole1_editingFinished();
    void on_hostPole2_editingFinished();
    void on_hostPole3_editingFinished();
    void on_StabAuto_clicked();

private:
    // Brings CompOption back to the first option when it is no option of the selected part.
    void settleCompOption();
    void drawStabSchematic(QCustomPlot *plot, const stab::StabSchematic &s);

    // ------------------------------------------------------------------ PWM filter and power
    // The power page's output network (the triples P1..P6, MN, L1..L5 and extendedLoad of the
    // application shell section, with the page's order and filter-type buttons), evaluated
    // at one frequency. The PWM control loop uses Tfilter and Gfilter as its plant.
public slots:
    void Tfilter(double F, comp *Tfil, comp *Ztot, comp *Zload);
    void Gfilter(double *Gfil, double *Rtot, double *Rload);
    void loadACVoltage(double F, double V, double *Vload, double *Zout, double *Aout,
                       double *Zload, double *Aload, char VorI);
    void loadDCVoltage(double VDC, double *Vload, double *Rtot, double *Rload, char VorI);
    double FilterPower(double F, double V);

    // Value labels of the PWM schematics (power page and control wizard): the typed value
    // with its unit on a label and, when given, on its twin; and the one-value dialog a
    // clicked label opens, which returns the string to store.
public slots:
    void displayItemText(QString text, QCPItemText *item, QString type,
                         QCPItemText *item2 = nullptr);
    QString changeSConValue(QCPItemText *item, QString type, QCPItemText *item2 = nullptr);
    // A label whose typed text its page cannot compute with: the placeholder in red; the
    // dialog, cancelled, still hands back the text as typed.
    void displayNoResultItem(const QString &text, QCPItemText *item);

    // Filter design page (page 12): order, ripple and attenuation; the Butterworth ladder
    // drawn with its values; the matching network of a reactive load; the hand-over of the
    // design to the power page.
public slots:
    void refreshFilter();
    void calcOrder();
    void setupFilterPlot();
    void plotAttenuation();
    void drawFilterSchematic();
    void plotLoad(QCustomPlot *plot, QPen pen, double xLoc, double yLoc);
    void matchingNetwork();
    void loadSchematic();
    void loadFilter();

public:
    // Full ladder values of the last drawn design: inductors 1..3 (H), then capacitors 1..3
    // (F). Entries beyond the order keep what an earlier drawing left.
    double filterValues[6] = {0, 0, 0, 0, 0, 0};

    // PWM power page (page 9): losses, ripple and temperatures; the curves against frequency;
    // the schematic of the whole output network, whose values are edited by clicking them.
public slots:
    double PiqPWM(double *PVs, double *PVcc);
    double Iripple();
    double Vripple();
    void PWMpowerDetails();
    void refreshPower();
    void OutVsFreq();
    void ImpedanceVsFreq();
    void AttnVsFreq();
    void setupSPower();
    void plotFullFilter();
    void extendLoad();
    void displayLParasitics(QString L, QString Rp, QString Cp, QCPItemText *item);
    void displayCParasitics(QString C, QString Rp, QString Lp, QCPItemText *item);
    void changeInductor(QString *L, QString *R, QString *C, QCPItemText *P);
    void changeCapacitor(QString *C, QString *R, QString *L, QCPItemText *P);
    void onSPowerItemClicked(QCPAbstractItem *item1, QMouseEvent *event1);

public:
    // Value labels on FullFilter, owned by the canvas and reset before each redraw: one per
    // filter element P1..P6, and the matching network and loads L1..L5 (L, R, C each).
    QCPItemText *powerFilterLabels[6] = {};
    QCPItemText *powerSchLabels[18] = {};

private slots:
    void on_ampSelectorFilter_activated(int index);
    void on_SEbutton_clicked();
    void on_DCbutton_clicked();
    void on_SIbutton_clicked();
    void on_HBbutton_clicked();
    void on_FBbutton_clicked();
    void on_filterOrderActual_valueChanged(int arg1);
    void on_filterVs_editingFinished();
    void on_filterFsw_editingFinished();
    void on_filterFcut_editingFinished();
    void on_filterVrip_editingFinished();
    void on_filterR_L_editingFinished();
    void on_dbAttenuation_toggled();
    void on_useMaxVs_clicked();
    void on_useMaxFsw_clicked();
    void on_useFswOver10_clicked();
    void on_useRecN_clicked();
    void on_orderButton_clicked();
    void on_MNbutton_clicked();
    void on_filterRload_editingFinished();
    void on_filterCload_editingFinished();
    void on_filterLload_editingFinished();
    void on_filterLoadIsC_clicked();
    void on_filterLoadIsL_clicked();
    void on_useMNvalues_clicked();

    void on_loadFilterToPower_clicked();
    void on_ImportFilter_clicked();
    void on_ampSelectorPower_activated(int index);
    void on_PWMfilterOrder_valueChanged(int arg1);
    void on_SEpower_clicked();
    void on_DCpower_clicked();
    void on_SIpower_clicked();
    void on_HBPower_clicked();
    void on_FBPower_clicked();
    void on_Fmin_editingFinished();
    void on_Fmax_editingFinished();
    void on_yVariable_activated(int index);
    void on_VsPWM_editingFinished();
    void on_FsPWM_editingFinished();
    void on_PWMOut_editingFinished();
    void on_PWMOutMin_editingFinished();
    void on_FsigPWM_editingFinished();
    void on_SigTypePWM_activated(int index);
    void on_tempAPower_editingFinished();
    void on_heatsinkPower_editingFinished();
    void on_ThermalCompoundPower_editingFinished();
    void on_UseMaxVsPower_clicked();
    void on_UseMaxFswPower_clicked();
    void on_ExtendedLoad_clicked();
    void on_UseLParasitics_clicked();
    void on_UsePParasitcs_clicked();
    void on_UseEParasitics_clicked();
    void on_ZeroLParasitics_clicked();
    void on_ZeroPParasitics_clicked();
    void on_ZeroEParasitics_clicked();
    void on_AutoMN_clicked();

private:
    // The power schematic's parts: a shunt branch of the load, and the texts.
    void plotLoadBranch(double x, double returnTo, int labelBase, const QPen &pen,
                        bool toGround);
    QCPItemText *addPowerText(const QString &text, double x, double y, Qt::Alignment align,
                              const QColor &colour = QColor(0, 0, 0));
    void appendPowerNote(const QString &text, bool red);
    // The filter page's note lines under its results (hidden when there are none).
    void showFilterNotes(const QStringList &notes);
    // Widens the ladder's x range just enough that its end texts are not cut at the canvas
    // size the plot has now; runs after every layout of the canvas.
    void fitFilterSchematic();

public:
    // What the last hand-over or automatic matching network could not do (a part the power
    // page does not offer, a load without resistance); it stays with the page's notes until
    // the next such action or until the user picks a part on the page.
    QString powerActionNote;
    // What the last refresh of the power page's plot had to say about its span (a default
    // span in place of an empty one, an unusable Fmin or Fmax); shown with the page's notes.
    QStringList powerPlotNotes;

    // ------------------------------------------------------------------ PWM control
public:
    // Operating ranges of the control circuit's nodes, as the last loop calculation wrote
    // them (see scon::Range); the schematic's range labels show them.
    QString sconRanges[7] = {QStringLiteral("Integrator Output:"),
                             QStringLiteral("PWM Output (Vs * Duty Cycle):"),
                             QStringLiteral("Diff Amp Output:"),
                             QString(),
                             QStringLiteral("PWM Output Current (w/o ripple):"),
                             QStringLiteral("I through Load:"),
                             QStringLiteral("V at Load:")};
    // The labels of the schematic on screen, emptied before each drawing and filled with
    // what it shows: label 1 and 2 of each of the nineteen values (scon::Value; label 2 only
    // for the values drawn twice), the seven range labels and the two supply labels. The
    // canvas owns the items.
    QPointer<QCPItemText> sconLabels[19][2];
    QPointer<QCPItemText> sconRangeLabels[7];
    QPointer<QCPItemText> sconVsLabel;
    QPointer<QCPItemText> sconVccLabel;

    // The nineteen component strings SConRint ... SConCv, in scon::Value order.
    scon::ValueStrings sconValues() const;
    QString *sconValue(int value);

public slots:
    void setupSCon();
    void setupSControlSch();
    void SConDescription();
    void SConIcons();
    void SConValidate();
    void refreshSCon();
    void calcV1();
    void calcV2();
    void calcI1();
    void calcI2();
    void drawSConSchematic();
    void drawV1();
    void drawV2();
    void drawI1();
    void drawI2();
    void suggestSCon();
    void suggestV1();
    void suggestV2();
    void suggestI1();
    void suggestI2();
    void onSConItemClicked(QCPAbstractItem *item1, QMouseEvent *event1);

private slots:
    void on_V1button_clicked();
    void on_V2button_clicked();
    void on_I1button_clicked();
    void on_I2button_clicked();
    void on_NexttoStep2_clicked();
    void on_PrevtoStep1_clicked();
    void on_NexttoStep3_clicked();
    void on_PrevtoStep2_clicked();
    void on_SConHideBlocks_clicked();
    void on_ampSelectorSCon_activated(int index);
    void on_SConVinMax_editingFinished();
    void on_SConVinMin_editingFinished();
    void on_SConFreq_editingFinished();
    void on_SConVs_editingFinished();
    void on_SConVcc_editingFinished();
    void on_SConFsw_editingFinished();
    void on_SConVoutMax_editingFinished();
    void on_SConVoutMin_editingFinished();
    void on_SConMaxVs_clicked();
    void on_SConTypVcc_clicked();
    void on_SConMaxFsw_clicked();
    void on_ImportFromPWMPower_clicked();
    void on_SConAutoButton_clicked();

private:
    // The checked topology; Current 2 when no button is checked.
    scon::Topology sconTopology() const;
    // The step-2 fields: each turns red when it cannot be read or holds a value the circuit
    // cannot have (a supply or switching frequency not above 0, a negative signal frequency,
    // "nan", "inf" or "open").
    scon::Fields readSConFields();
    // A supply label of the schematic (field scon::FieldVs or FieldVcc): the field's value
    // in volts, or the placeholder in red when the loop cannot use it.
    void showSConSupply(QCPItemText *label, int field);
    // A loop that could not be calculated: the note, and the placeholder in its results.
    void showSConNoLoop(const QString &problem);
    // The output network of the PWM power page, as the loop's plant.
    scon::FilterPlant sconPlant();
    // Runs the loop model of one topology and shows its plot, peaking and ranges.
    void calcSCon(scon::Topology topology);
    // Draws one schematic on the canvas and fills the label slots.
    void drawSCon(scon::Topology topology);
    // Runs the suggestion of one topology; false when it could not suggest.
    bool suggestSConFor(scon::Topology topology);
    // Whether the last suggestion stored values (the second pass of the current loops needs
    // the first to have succeeded).
    bool sconSuggested = false;


    // ------------------------------------------------------------------ Howland current pump
public:
    // The title line of the Bode plot and load sweep; made by the constructor.
    QCPTextElement *IHCPbodeTitle = nullptr;
    // The value labels of the pump's schematic: owned by the plot, remade by every drawing,
    // null when the drawing has no such label. Clicks find them by their anchors.
    QPointer<QCPItemText> IHCPRinLabel, IHCPRipLabel, IHCPRfnLabel, IHCPRfpLabel, IHCPRsLabel;
    QPointer<QCPItemText> IHCPRdLabel, IHCPCdLabel, IHCPloadLabel, IHCPCcompLabel;
    QPointer<QCPItemText> IHCPVinLabel, IHCPVloadLabel;

    // Load current per volt of input (A/V) of the pump with an ideal amplifier, and the same
    // at the tolerance corner farthest from it (tolerances from IHCPRinT ... IHCPRsT).
    double IHCPtransconductance(double Rin, double Rip, double Rfn, double Rfp, double Rs,
                                comp Zl, comp Zd, bool inv);
    double IHCPworstcase(double Rin, double Rip, double Rfn, double Rfp, double Rs, comp Zl,
                         comp Zd, bool inv);
    // The loop analysis: notes, the Bode curves unless the sweep is shown; the bandwidth (Hz).
    double IHCPBode();
    void IHCPsweepLoad(double Rin, double Rip, double Rfn, double Rfp, double Rs, comp Zd,
                       bool inv);
    void displayTolText(QString text, QString tol, QCPItemText *item, QString type,
                        QCPItemText *item2 = nullptr);
    void displayLoadText(QString R, QString CorL, QString value, QString freq,
                         QCPItemText *item);
    void changeRtolerance(QString *R, QString *T, QCPItemText *P, QCPItemText *P2 = nullptr);
    void changeLoad(QString *R, QString *X, QString *CorL, QString *F, QCPItemText *P);

public slots:
    void setupIHCP();
    void setupIHCPplots();
    void drawIHCP();
    void refreshIHCP();
    void IHCPauto();
    void onIHCPItemClicked(QCPAbstractItem *item1, QMouseEvent *event1);
    void ImportSOAtoIHCP();
    void ExportIHCPtoSOA();

private slots:
    void on_IHCPampSelector_currentIndexChanged(int index);
    void on_IHCPtrans_editingFinished();
    void on_IHCPmaxIout_editingFinished();
    void on_IHCPminIout_editingFinished();
    void on_IHCPInvButton_toggled(bool checked);
    void on_IHCPauto_clicked();
    void on_IHCPsweepButton_clicked();
    void on_IHCPimportSOA_clicked();
    void on_IHCPexportSOA_clicked();

private:
    // The selected part and its compensation option, an index its lists hold.
    amp IHCPamp();
    int IHCPcompOption(const amp &part) const;
    void appendIHCPnote(const QString &text, const QColor &colour);
    void appendIHCPnotes(const QVector<ihcp::PumpNote> &notes);
    // The page's circuit values checked for what the model can use.
    ihcp::PumpCheck IHCPcheck() const;
    // A field that must hold a number: not unreadable, not a word such as "open" or "inf".
    // The field turns red when it cannot be used.
    double IHCPfield(QLineEdit *edit, bool *ok);
    // Why the last "Auto" changed nothing; shown and cleared by the next refresh.
    QString IHCPautoRefused;

    // ------------------------------------------------------------------ three-phase motor
    // Page 10. The motor and profile values and P3graphables are with the page values above;
    // the arithmetic is in motor/ (bridgesim, p3thermal, p3signals).
public:
    // The waveforms of the last simulation and its warning flags (motor::flag bits).
    motor::Waveforms P3waveforms;
    quint32 P3warningFlags = 0;
    // The most recently opened motor dialog; it deletes itself when it closes.
    QPointer<P3motor> P3motorDialog;
    // How often the page has computed; a refresh that found its inputs unchanged does not
    // count.
    int P3computations = 0;
    // How long a refresh runs before it shows its progress dialog, ms.
    int P3progressDelayMs = 500;
    // How long the computation of the shown waveforms ran (0 while none are shown), which a
    // cancelled refresh leaves as it was, and from how long on a refresh sets them aside for a
    // cancel rather than compute them again after it, ms.
    qint64 P3shownRunMs = 0;
    int P3setAsideAfterMs = 100;
    // Whether the page's inputs are those its shown results were computed from.
    bool P3inputsComputed();
    // Makes the next refresh compute even unchanged inputs (a benchmark measures that).
    void forgetP3inputs() { P3computedTexts.clear(); }

    // Schematic items that stand for signals, kept for the click tests. Valid until the next
    // drawing, which deletes every item; null where the drawn variant has no such item.
    QCPItemText *P3schFreqText = nullptr;
    QCPItemText *P3schDCenvText = nullptr;
    QCPItemText *P3schAngleText = nullptr;
    QCPItemLine *P3schGateLines[6] = {};      // A top, A bottom, B top, ... C bottom
    QCPItemCurve *P3schCoilArcs[3][4] = {};   // coils C, A, B; four arcs each
    QCPItemLine *P3schCoilStartLeads[3] = {}; // coils C, A, B
    QCPItemLine *P3schCoilEndLeads[3] = {};   // coils C, A, B
    QCPItemEllipse *P3schLoadEllipse = nullptr;
    QCPItemLine *P3schPhaseWires[3][4] = {}; // phases A, B, C; up to four segments
    QCPItemLine *P3schCurrentArrows[3] = {}; // phases A, B, C

    // What one run reads from the page and the motor values.
    motor::BridgeInput readP3inputs();
    // The export without its file dialog: writes the picked waveforms to `path`. Returns an
    // empty text on success, else why the file could not be written; `cancelled` (may be
    // null) tells whether the user stopped it, which leaves the file as it was.
    QString writeP3PWL(const QString &path, bool *cancelled = nullptr);

public slots:
    void setupP3page();
    void refreshP3();
    void P3warnings();
    double P3minHeatsink(double Ieffective, double Pother, pwm inverter);
    void analyzeThreePhase(double Rdson, double *Pc, double *Pd, double *Ps, double *Pq,
                           double *Pw);
    void generateControlVector(QVector<double> *timebase, QVector<double> *fCycle,
                               QVector<double> *DutyCycleEnv, double endTime);
    double linterp(QVector<double> searchVector, QVector<double> returnVector, double searchNum,
                   int *startIndex);
    double P3DCfromIandRPM(double Ipk, double RPM, double Vs, double R, double L, int n,
                           double Vemf);
    double P3RPMfromIandDC(double Ipk, double DCenv, double Vs, double R, double L, int n,
                           double Vemf);

    void addToP3graphables(QString name);
    void P3refreshGraphs();
    QPen getP3Pen(QString name);
    bool P3savePWL();

    void setupP3schematic();
    void setupP3Graphs();
    void drawP3schematic(bool delta);
    void P3schClickCheck(QCPItemLine *line, QPointF P, QString name);
    void P3schClickCheckEllipse(QCPItemEllipse *line, QPointF P, QString name);
    void P3schClickCheckCurve(QCPItemCurve *line, QPointF P, QString name);
    void P3schClickCheckText(QCPItemText *line, QPointF P, QString name);
    void onP3schematicItemClicked(QCPAbstractItem *item, QMouseEvent *eve);

    void openP3MotorDialog(int mode);
    void saveMotorValues(QString R, QString L, QString Vemf, int nPoles, bool isDelta,
                         int controlVariable, int controlType, int constantVariable,
                         QString controlAmplitude, QString constantAmplitude,
                         QVector<QString> timeVector, QVector<QString> AmplitudeVector,
                         bool isLinear, QString CycleLength);

private slots:
    void on_P3ampSelector_currentIndexChanged(int index);
    void on_P3commType_currentIndexChanged(int index);
    void on_P3Vs_editingFinished();
    void on_P3Vcc_editingFinished();
    void on_P3Fsw_editingFinished();
    void on_P3Tambient_editingFinished();
    void on_P3heatsink_editingFinished();
    void on_P3startTime_editingFinished();
    void on_P3endTime_editingFinished();
    void on_P3removeDiode_clicked();
    void on_P3removeSwitching_clicked();
    void on_P3dispDC_clicked();
    void on_P3useMaxVs_clicked();
    void on_P3useTypVcc_clicked();
    void on_P3useMaxFsw_clicked();
    void on_P3editMotor_clicked();
    void on_P3editWaveform_clicked();
    void on_P3downloadPWL_clicked();

private:
    // Everything a computation reads, as typed or chosen, but the part, which is compared
    // whole: a catalog that changes a part's values changes its results.
    QStringList P3inputTexts() const;
    // What the shown results were computed from. The texts are empty while the page's inputs
    // have not been computed (a cancelled refresh keeps the results before it).
    QStringList P3computedTexts;
    motor::BridgeInput P3computedInput;
    motor::Waveforms P3spareWaveforms; // what a run fills while the shown ones are set aside
    // A refresh, or an export that simulates again, is running (its progress dialog lets
    // events through); a refresh asked for meanwhile waits for it.
    bool P3refreshRunning = false;
    bool P3refreshQueued = false;
    // Computes the page and shows its results; false when the user cancelled, which leaves
    // the results, graphs and waveforms of the inputs before.
    bool recomputeP3();
    // The graphs and the schematic, which show the kept waveforms and the picked signals.
    void redrawP3();
    motor::MotorModel P3motorModel() const;
    motor::SignalView P3signalView() const;
    void showP3bridgeResult(const motor::BridgeResult &r, bool removeDiode, bool removeSwitching);
    void P3hitTest(const QCPAbstractItem *item, QPointF P, const QString &name);

    // ------------------------------------------------------------------ design files
public slots:
    // Writes the design to fileName (asking for a path when saveAs is set or no file is
    // current); true once the whole file is safely on disk.
    bool saveEntries(bool saveAs);
    // Strips every blank from the twelve PWM power triples, which the file separates by blanks.
    void removeSpaces();
    // Asks for a design file and opens it.
    void loadEntries();
    // Opens the design file that fileName names.
    void openFile();

public:
    // The older key SOAprevTab of design files of releases before 7; read only by their key
    // tabWidget.
    int SOAprevTab = 0;
    // The start-up's share: the first argument after the program is a design file to open.
    void openCommandLineFile(const QStringList &arguments);

private:
    // The values of every key of this release, in file order.
    QVector<designfile::Entry> collectDesign();
    designfile::DesignMembers designMembers();
    // Reads and applies the design file at path; false when nothing was loaded. Unreadable
    // files are reported when reportUnreadable is set.
    bool loadDesign(const QString &path, bool reportUnreadable);
    // For a file cut short: asks whether to load what it holds.
    bool confirmIncompleteDesign(const QString &path, const designfile::ParsedDesign &design);
    // Applies every line of the file; the values that could not be used, for the report.
    QStringList applyDesign(const designfile::ParsedDesign &design);
    // Every page recomputed from the values just read, in an order that lets each page use
    // the ones before it.
    void refreshAfterOpening();
    // Writes one value of a file into its widget or member; false with *why set when it could
    // not be used.
    bool applyDesignValue(const designfile::Assignment &a, const designfile::DesignMembers &m,
                          const QHash<QString, QWidget *> &widgets, QString *why);
    // The form's widgets that design-file keys name, by name.
    QHash<QString, QWidget *> designWidgets();
    // Whether a key does more than store its value, and that more.
    static bool hasAfterDesignValue(const QString &key);
    void afterDesignValue(const QString &key);
    // Shows a problem with a design file without holding up the program.
    void reportDesignFile(const QString &text);

    // ------------------------------------------------------------------ examples
public:
    // The newest examples dialog; null until the first tutorial start. Earlier dialogs stay
    // alive, shown or hidden, until the window goes.
    Examples *exampleDialog = nullptr;

public slots:
    void openExDia(int exNum);
    void loadExample(int exNumber);
    // Writes worked example exNum into its page and recomputes that page.
    void displayExample(int exNum);

private slots:
    void on_ExampleSelection_activated(int index);
    void on_startTutorial_clicked();
    void on_StabTutorial_clicked();
    void on_PWMTutFilter_clicked();
    void on_PWMTut_clicked();

private:
    void showTutorialPage(int comboIndex);
    void applySoaExample(const examples::SoaSetup &s);
    void applyStabilityExample(const examples::StabilitySetup &s);
    void applyHeatsinkExample(const examples::HeatsinkSetup &s);
    void applyLinearSelectorExample(const examples::LinearSelectorSetup &s);
    void applySwitchingSelectorExample(const examples::SwitchingSelectorSetup &s);
    void applyFilterExample(const examples::FilterSetup &s);
    void applyPowerExample(const examples::PowerSetup &s);
    void applyControlExample(const examples::ControlSetup &s);
    void applyPumpExample(const examples::PumpSetup &s);
    void applyThreePhaseExample(const examples::ThreePhaseSetup &s);
    void writePowerNetwork(const examples::PowerNetwork &net);
    void writePowerOutputStage(examples::OutputStage stage);
};
