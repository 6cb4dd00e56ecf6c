#pragma once

#include <QLineF>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QVector>

// Widget-free geometry of the schematic editor and its items: clipping and hit distances in
// pixels, and snapping and grid positions in plot units.
namespace schem {

// Beyond this a coordinate in pixels stands for "far off the canvas": zoomed in, a point of the
// drawing can lie 1e11 pixels away and more. It leaves room for the sum of two within an int.
constexpr int farPixel = 1 << 30;

// v as an int, truncated toward zero as a cast does, but defined for every double: values beyond
// farPixel either way stop there, and NaN gives 0.
int clampToInt(double v);

// p rounded to whole pixels, each coordinate through clampToInt.
QPoint roundedPixel(const QPointF &p);

// The part of the segment start-end that lies in `rect`, or a null line when none of it does.
// Pixel points are handled in single precision, as the plot library's line item does: a point is
// inside when the rectangle holds it with its coordinates truncated to whole pixels (a point with
// a coordinate that is not a number never is); otherwise
// the crossings with the top, bottom, left and right edges are collected (in that order, edges
// parallel to the segment skipped), then the inside ends; of more than two candidates the pair
// farthest apart wins (the segment passes through a corner).
QLineF clipLineToRect(const QPointF &start, const QPointF &end, const QRect &rect);

// Whether the segment a-b meets `rect` (edges included). Not-a-number ends meet nothing.
bool segmentMeetsRect(const QPointF &a, const QPointF &b, const QRectF &rect);

// Distance from p to the segment a-b (to the nearer end beyond the segment's ends).
double distanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b);

// step * round(c / step), halves away from zero.
double snapToGrid(double c, int step);

// New centre of a wire dragged with the pointer at `pointer`: it moves by whole grid steps and
// keeps its offset from the grid, so ends drawn on the grid stay on it.
QPointF wireDragCentre(const QPointF &centre, const QPointF &pointer, int step);

// Where the wire being drawn from `start` ends with the pointer at `pointer`: the snapped pointer
// decides the axis (vertical only when it is farther away in y than in x, so ties are horizontal)
// and the end keeps start's other coordinate.
struct WireTarget
{
    bool horizontal = true;
    QPointF end;
};
WireTarget wireModeTarget(const QPointF &start, const QPointF &pointer, int step);

// Grid line positions for an axis showing [lower, upper]: multiples of `step` from
// trunc(lower / step) * step up to the last one not above `upper`. When that would give more than
// `maxLines` lines the spacing widens to step times 2, 5, 10, 20, ... so that the lines still lie
// on snap points; an empty, inverted or non-finite range, or a step below 1, gives no lines.
QVector<double> gridLinePositions(double lower, double upper, int step, int maxLines);

// Half the width and half the height of the amplifier symbol about its centre, in plot units.
constexpr double ampSymHalfSize = 400;

// Where the amplifier tool puts a new symbol on the canvas showing `visible` (plot units, any
// orientation of the y axis): on the grid point nearest the middle of the view, or, when a symbol
// would overlap one already there (`taken`, their centres), on the nearest grid point about it,
// a symbol's size and more away in whole steps, where it overlaps none. Points where the whole
// symbol fits in the view are preferred; a view too small for it gets the middle point.
QPointF amplifierPlacement(const QRectF &visible, int step, const QVector<QPointF> &taken);

// Upper bound on grid lines per axis: a line every few pixels on the widest screens.
constexpr int maxSchGridLines = 500;

} // namespace schem
