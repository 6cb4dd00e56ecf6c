#pragma once

#include <QPointF>
#include <QVector>

// The fixed figures every page's schematic is drawn from, as plain point lists in plot units
// (schematic units). A figure is a list of strokes; a stroke is a polyline whose points are in
// the order they are drawn. Each builder takes the anchor (x, y) and returns the strokes in the
// order they are added to a plot, so that the drawing code and the tests share one geometry.
//
// Vertical parts hang from their anchor toward smaller y; horizontal parts run toward larger x.
namespace schem {

using Stroke = QVector<QPointF>;
using Figure = QVector<Stroke>;

// Wires: horizontal from (x, y) to (x + len, y); vertical from (x, y) to (x, y - len);
// diagonal between two points given in plot coordinates.
Figure wireHor(double x, double y, double len);
Figure wireVer(double x, double y, double len);
Figure wireDia(double x, double y, double xEnd, double yEnd);

// Resistors, 400 long: a six-point zigzag in one stroke, or five straight strokes when vertical.
Figure resistorHor(double x, double y);
Figure resistorVer(double x, double y);

// Capacitors: lead, plate, plate, lead. The large one is vertical and 800 long.
Figure capacitorHor(double x, double y);
Figure capacitorVer(double x, double y);
Figure capacitorLarge(double x, double y);

// Inductors: one 404-point stroke of four semicircular turns (radius 50, or 100 for the large
// one, 800 long), or eight strokes of quarter ellipses for the vertical one.
Figure inductorHor(double x, double y);
Figure inductorLarge(double x, double y);
Figure inductorVer(double x, double y);

// Ground: a bar 100 wide and a triangle down to (x, y - 100). The small one has a stem.
Figure ground(double x, double y);
Figure groundSmall(double x, double y);

// Amplifier triangles with their input signs, pointing right or (R) left: the power amplifier
// is 1000 long and high, the op-amp 600. The anchor is the middle of the back edge.
Figure powerAmp(double x, double y);
Figure powerAmpLeft(double x, double y);
Figure opAmp(double x, double y);
Figure opAmpLeft(double x, double y);

// Blocks: a rectangle of four strokes with corners (x, y) and (x + xSize, y + ySize), and a
// triangle with a vertical back edge at x and its tip at (x + xSize, y + ySize / 2).
Figure rectangle(double x, double y, double xSize, double ySize);
Figure triangle(double x, double y, double xSize, double ySize);

// Wire hops sampled at whole degrees: the upper half circle of radius r over a horizontal
// wire (181 points), and the left half circle of a vertical wire as two 91-point quarters.
Figure hopHor(double x, double y, double r);
Figure hopVer(double x, double y, double r);

// Summing junction: a circle of radius 25 as two 181-point half circles (the sign is text).
Figure sumCircle(double x, double y);

// Number of graphs a figure adds to a plot, one per stroke.
inline int strokeCount(const Figure &f)
{
    return f.size();
}

} // namespace schem
