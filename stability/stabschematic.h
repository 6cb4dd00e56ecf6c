#pragma once

#include "catalog/amp.h"
#include "schematic/figures.h"
#include "stability/bodemodel.h"

#include <QColor>
#include <QPointF>
#include <QString>
#include <QVector>
#include <Qt>

// The stability page's schematic without widgets: which circuit options a part allows, which
// circuit is drawn for a part and the options, the circuit as a list of drawing-primitive calls
// and texts, and the value labels that a click on the schematic edits. Coordinates are
// schematic units, y upward; the amplifier that drives the load has its back edge at (0, 0)
// and its output at (1000, 0).
namespace stab {

// ---------------------------------------------------------------- value label slots

// The schematic's clickable labels. Slot k (0 to 22) shows and edits circuit value k in the
// order of CircuitValues; slot 23 is the compensation capacitor text (it chooses the
// compensation option), slot 24 the compensation resistor text (it only explains).
constexpr int kStabLabelCount = 25;
constexpr int kSlotCcomp = 23;
constexpr int kSlotRcomp = 24;

// Caption ("R_FB", "HOST C_NG", ...) and unit ("Ω", "F", "H", "" for R_S GAIN) of a value slot;
// empty for the compensation slots and out-of-range slots.
QString stabLabelCaption(int slot);
QString stabLabelUnit(int slot);
// The circuit value a slot edits; null for the compensation slots and out-of-range slots.
QString CircuitValues::*stabLabelValue(int slot);
// The order in which a click tests the slots: the inverting-input network before R_FB, the
// host's noise-gain network before HOST R_FB, the compensation texts last.
const QVector<int> &stabClickOrder();
// Whether a clicked text stands where a label stands: equal to about twelve significant
// digits, and within 1e-12 of a coordinate that is exactly 0.
bool sameLabelPlace(double a, double b);
bool sameLabelPlace(const QPointF &a, const QPointF &b);

// ---------------------------------------------------------------- circuit options

// The option buttons as they are, and the part's columns that limit them.
struct StabOptionsInput
{
    QString inputs;         // "both", "non" or "inv"
    QString loads;          // "all" allows an inductive load
    QString circuitType;    // "normal", "GZ20", ...
    bool capacitive = true; // CloadButton checked
    bool composite = false; // compositeCheckBox checked
};

enum class InputCheck { Keep, Inverting, NonInverting };

// The option buttons as the part allows them. `capacitive` and `composite` are the states
// after the adjustment, which is what the circuit choice reads.
struct StabOptions
{
    bool inductiveEnabled = true; // LloadButton
    bool capacitive = true;       // CloadButton is checked (forced for capacitive-only parts)
    bool compositeEnabled = true;
    bool composite = false;
    bool invertingEnabled = true;    // StabInv
    bool nonInvertingEnabled = true; // StabNon
    InputCheck check = InputCheck::Keep;
};

// A part whose Loads is not "all" drives a capacitive load only; an "inv" part cannot sit in a
// composite loop and is inverting; a "non" part outside a composite loop is non-inverting; the
// single booster with an inductive load has only a non-inverting input.
StabOptions allowedOptions(const StabOptionsInput &in);

// The compensation option to use for a part with `optionCount` options: `option` when it is
// one of them, else the first. A design file or an example can leave an option of another part.
int validCompOption(int option, int optionCount);

// Current limit through an external R_CL: the part has a sense input (Vbe) and no internal limit.
bool hasExternalCurrentLimit(const amp &part);
// The booster circuits draw C_COMP when the part has several options, or one with a capacitor.
bool hasCompensationOption(const amp &part);

// "C_COMP\n4.7 pF" and "R_COMP\n1 kΩ": the compensation texts of option `option`.
QString ccompText(const amp &part, int option);
QString rcompText(const amp &part, int option);

// ---------------------------------------------------------------- circuits

enum class StabCircuit {
    None, // no drawing for this load, loop and circuit type
    Capacitive,
    CapacitiveGZ20,
    CapacitiveGZ23,
    CapacitiveKW314,
    CapacitiveKW349,
    CompositeCapacitive,
    CompositeCapacitiveGZ20,
    CompositeCapacitiveGZ23,
    CompositeCapacitiveKW349,
    Inductive,
    InductiveGZ20,
    CompositeInductive,
    CompositeInductiveGZ20,
};

// The circuit drawn for a load kind, loop and the part's circuit type (exact, case-sensitive).
StabCircuit chooseStabCircuit(bool capacitive, bool composite, const QString &circuitType);

// The primitives of the schematic kit (Rhor ... OA) and of this schematic (GZ, UpTri). Wires run
// from (x, y) to (x + len, y) or to (x, y - len); every other primitive takes its anchor only.
enum class StabPrimitive { Whor, Wver, Rhor, Rver, Chor, Cver, Lhor, G, PA, OA, GZ, UpTri };

// The five pens of the schematic, each 3 wide.
enum class StabPen {
    Black,   // amplifiers, resistors, C_LOAD, signal wires and grounds
    Green,   // feedback capacitors and the local feedback path
    Blue,    // noise-gain networks
    Orange,  // R_ISO
    DarkRed, // compensation network
};
QColor stabPenColour(StabPen pen);

struct StabStroke
{
    StabPrimitive kind = StabPrimitive::Whor;
    StabPen pen = StabPen::Black;
    double x = 0, y = 0;
    double len = 0; // wires only

    bool operator==(const StabStroke &o) const
    {
        return kind == o.kind && pen == o.pen && x == o.x && y == o.y && len == o.len;
    }
};

// A value label: caption over the value as typed. `align` says which point of the text stands
// `offset` (plot units) from pos: a click finds the label by pos, while the text can stand on
// the side of its part that has room for it, away from the other branches.
struct StabValueLabel
{
    int slot = 0;
    QString caption, value, unit;
    QPointF pos;
    Qt::Alignment align = Qt::AlignCenter;
    QPointF offset;
};

// A fixed text. The compensation texts are fixed texts that still sit in their slot.
struct StabText
{
    QString text;
    QPointF pos;
    Qt::Alignment align = Qt::AlignCenter;
    int slot = -1;
    QPointF offset; // as a value label's
};

struct StabSchematicInput
{
    bool capacitive = true;
    bool composite = false;
    bool inverting = true;
    int compOption = 0; // a valid option of the part
    CircuitValues values;
};

struct StabSchematic
{
    StabCircuit circuit = StabCircuit::None;
    QVector<StabStroke> strokes; // in drawing order
    QVector<StabValueLabel> labels;
    QVector<StabText> texts;
    QPointF centre{0, 300}; // the view is 6400 by 3600 around it
};

// The view of a schematic: x and y ranges around its centre.
constexpr double kStabViewHalfWidth = 3200;
constexpr double kStabViewHalfHeight = 1800;
// The height of its texts in plot units: a two-line label fits between a part and the next
// branch, 400 away.
constexpr double kStabTextEm = 110;

// The whole circuit for a part and the (already adjusted) options.
StabSchematic layoutStabSchematic(const amp &part, const StabSchematicInput &in);

// The external compensation network of a power amplifier: R_COMP in series with C_COMP when any
// option has a resistor, C_COMP alone when the part has one, nothing otherwise. It joins the
// amplifier at (400, -300) and (800, -100).
StabSchematic layoutCompensationNetwork(const amp &part, int compOption);

// The two symbols of this schematic: a booster triangle without input signs, back edge at x
// from y - 500 to y + 500, tip at (x + 1000, y); and the sense stage, an upward triangle with
// its base centred on (x, y) and its tip at (x, y + 400).
schem::Figure boosterTriangle(double x, double y);
schem::Figure upTriangle(double x, double y);

} // namespace stab
