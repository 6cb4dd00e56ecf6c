#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

// Schematic symbols drawn with the painter's current pen. Sizes are in pixels of the picture.

enum class Part { Resistor, Inductor, Capacitor, Source };

// A two-terminal part between a and b: leads from both ends, the body of length bodyLength
// in the middle. The body turns with the line, so the same call draws any orientation.
void twoTerminal(QPainter &p, const QPointF &a, const QPointF &b, Part kind, double bodyLength);

struct OpAmpPins
{
    QPointF minus, plus, out;
};
// Triangle pointing right, its centre at centre and its height `size`; minus input on top.
OpAmpPins opAmp(QPainter &p, const QPointF &centre, double size, bool minusOnTop = true);

void wire(QPainter &p, const QVector<QPointF> &points);
void junction(QPainter &p, const QPointF &at, double radius);
void ground(QPainter &p, const QPointF &at, double width);
void arrowLine(QPainter &p, const QPointF &from, const QPointF &to, double head);
void labelledBlock(QPainter &p, const QRectF &r, const QString &label, const QFont &font);
void summingJunction(QPainter &p, const QPointF &centre, double radius);
