#pragma once

#include <QPointF>
#include <QString>
#include <QVector>
#include <Qt>

// Layout of the SOA page's simplified schematic: the amplifiers (several in parallel, and a
// mirrored second one in a bridge), their supply and boost pins with the supply values, the
// current-sharing resistors and the load. Coordinates are schematic units, y upward: the
// first amplifier's back edge is at (0, 0), its output at (1000, 0).
//
// The layout is a list of drawing-primitive calls and labels, so that the page draws it with
// the schematic kit and tests can check it without a plot.
namespace soa {

// The schematic kit's primitives this schematic uses. Wires run from (x, y) to (x + a, y)
// (horizontal) or to (x, y - a) (vertical); a diagonal wire runs to (a, b); a hop is a half
// circle of radius a; parts and symbols take their anchor only.
enum class SchPrimitive { Whor, Wver, Wdia, Rhor, Lhor, Chor, Jhor, G, PA, PAR };

struct SchStroke
{
    SchPrimitive kind = SchPrimitive::Whor;
    double x = 0, y = 0;
    double a = 0, b = 0;
    bool shorted = false; // a wire drawn in place of a shorted part: red

    bool operator==(const SchStroke &o) const
    {
        return kind == o.kind && x == o.x && y == o.y && a == o.a && b == o.b &&
               shorted == o.shorted;
    }
};

// The clickable value labels, in the order a click is matched against them.
enum class SupplyLabel {
    PosSupply,
    PosSupply2, // the bridge's second amplifier
    NegSupply,
    NegSupply2,
    PosBoost,
    PosBoost2,
    NegBoost,
    NegBoost2,
    RCS,
};
constexpr int kSupplyLabelCount = 9;

struct SchLabel
{
    SupplyLabel role = SupplyLabel::PosSupply;
    QString caption; // "+V_S =", "R_CS", ...
    QString value;   // the value text as typed (or the negation of another supply)
    QString unit;    // "V" or "Ω"
    QPointF pos;
    Qt::Alignment align; // which point of the text sits at pos
};

struct SchText
{
    QString text;
    QPointF pos;
    Qt::Alignment align;
};

struct SupplySchematicInput
{
    QString partName;
    int boostOptions = 0; // the part can take boost supplies when above 0
    int parallel = 1;     // amplifiers in parallel
    bool bridge = false;
    bool bridgeSame = false;     // bridge on, the second amplifier on the same supplies
    bool bridgeUnipolar = false; // bridge on, the second amplifier's supplies mirrored

    enum class Load { DcMotor, Parallel, Series, None };
    Load load = Load::Series;
    // As read from the load fields: "open" is 4294967295 for R and L and 0 for C, "short" the
    // reverse.
    double R = 0, L = 0, C = 0;

    bool boostSup = false; // boost supplies in use: their pins are not tied to the supplies
    QString vsPos = QStringLiteral("50"), vsNeg = QStringLiteral("-50");
    QString vbPos = QStringLiteral("50"), vbNeg = QStringLiteral("-50");
    QString rCS = QStringLiteral("1");
};

struct SupplySchematic
{
    QVector<SchStroke> strokes; // in drawing order
    QVector<SchLabel> labels;   // in drawing order
    QVector<SchText> texts;     // part names and "LOAD"
    double xR = 0;              // the mirrored bridge amplifier's back edge (bridge only)
    double yL = 0;              // y of the lowest amplifier
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0; // the visible window
};

SupplySchematic layoutSupplySchematic(const SupplySchematicInput &in);

} // namespace soa
