#pragma once

#include "pwmcontrol/sconcomponents.h"
#include "pwmcontrol/scontypes.h"

#include <QColor>
#include <QPointF>
#include <QString>
#include <QVector>

// The control schematics as plain geometry: which figure goes where in which ink, and which
// text sits where. The page turns a drawing into strokes and text items on its canvas; tests
// read it directly. Plot units; every part and label lies on a multiple of 50.
namespace scon {

enum class Shape {
    ResistorHor, // anchor = left end, 400 long
    ResistorVer, // anchor = top end, 400 down
    CapacitorHor,
    CapacitorVer,
    WireHor, // a = length, negative runs left
    WireVer, // a = length, positive runs down
    Ground,  // hangs from the anchor
    HopVer,  // a = radius: a vertical wire hopping over a horizontal one at the anchor
    Rect,    // a, b = width, height from the lower left corner
    OpAmp,   // facing right: inputs at (x, y ± 150), output at (x + 600, y)
    OpAmpLeft
};

enum class Ink {
    Black,
    Blue,            // the values the suggestion keeps as the user set them
    IntegratorBlock, // dotted block outlines, in the colour of their caption
    NoiseBlock,
    DiffBlock,
    Frame // dotted black frame around the difference op-amp of a full bridge
};

QColor inkColour(Ink ink);
bool inkDotted(Ink ink);

struct Stroke
{
    Shape shape;
    Ink ink;
    double x, y;
    double a = 0, b = 0;
};

enum class TextRole {
    Plain,     // caption, pin name, part name, note: text given here
    Value,     // a component value: `value`, label `copy` (1 or 2)
    Range,     // operating-range text `range`
    VsSupply,  // the supply Vs as typed
    VccSupply, // the supply Vcc as typed
};

struct Text
{
    TextRole role = TextRole::Plain;
    double x = 0, y = 0;
    QString text;                    // Plain only
    QColor colour = QColor(0, 0, 0); // Plain only
    int value = -1;                  // Value: which of the nineteen
    int copy = 1;                    // Value: label 1 or 2 of a pair
    int range = -1;                  // Range: which of the seven
    // Which point of the text stands at (x, y): a value label is held by the edge that faces
    // its part, so that no font size makes it touch the part.
    Qt::Alignment align = Qt::AlignCenter;
    // How far from (x, y) that point stands, in plot units: a label whose click target lies on
    // one side of its part can still be shown on the other.
    QPointF offset;
};

struct Drawing
{
    QVector<Stroke> strokes;
    QVector<Text> texts;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0; // visible range
};

struct SchematicInput
{
    Topology topology = Topology::Voltage1;
    bool fullBridge = true; // voltage topologies; the current ones always draw a full bridge
    bool hideBlocks = false;
    QString partName;
    bool errorAmp = false; // the part's error amplifier can be the integrator
    QString positiveDC;    // "A", "B" or neither: which output rises for a positive input
};

Drawing controlSchematic(const SchematicInput &in);

// The height of the texts in plot units: they grow and shrink with the drawing.
constexpr double kTextEm = 240;

} // namespace scon
