#pragma once

#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <QRectF>
#include <QVector3D>
#include <QVector>

#include <functional>

// A small three-dimensional drawing kit for package and heatsink pictures: convex prisms seen
// from the front-left-above, flat-shaded, with painter's-order sorting. Units are whatever the
// caller uses (millimetres, inches); the scene is scaled to fit its picture.
//
// World axes: x to the right and back, y to the viewer's left front, z up. The faces that
// look towards +x, +y and +z are the visible ones.

struct Prism
{
    QVector3D origin, u, v, w; // base polygon lies in origin + a*u + b*v; extruded along w
    QPolygonF polygon;         // (a, b) points, counter-clockwise seen from the +w end; convex
    QColor colour;
    bool smooth = false; // a curved side: no edges drawn between its side faces
    // Drawn on the +w end face, in (a, b) units, after the prism itself.
    std::function<void(QPainter &)> endArt;
};

class IsoScene
{
public:
    IsoScene();

    Prism &add(const Prism &prism);
    Prism &box(const QVector3D &min, const QVector3D &size, const QColor &colour);
    Prism &cylinderZ(const QVector3D &baseCentre, double radius, double height,
                     const QColor &colour);
    Prism &cylinderY(const QVector3D &baseCentre, double radius, double length,
                     const QColor &colour);
    Prism &extrudeZ(const QPolygonF &outline, double z0, double height, const QColor &colour);

    // Scales the scene into area and draws it back to front.
    void draw(QPainter &p, const QRectF &area, double lineWidth = 1.3) const;

private:
    QPointF project(const QVector3D &v) const;
    QVector<Prism> prisms;
    QPointF ex, ey, ez;
};

// Polygon helpers in the plane.
QPolygonF circlePolygon(const QPointF &centre, double radius, int segments = 48);
QPolygonF roundedRectPolygon(const QRectF &r, double radius, int segmentsPerCorner = 8);
QPolygonF convexHull(QVector<QPointF> points);
