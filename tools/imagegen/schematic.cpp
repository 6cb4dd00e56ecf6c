#include "schematic.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainterPath>

#include <cmath>

namespace {

// The bodies are drawn along +x from 0 to length, centred on y = 0.
void resistorBody(QPainter &p, double length)
{
    const int peaks = 6;
    const double h = length * 0.16;
    QPainterPath path(QPointF(0, 0));
    for (int i = 0; i < peaks; ++i) {
        const double x0 = length * i / peaks;
        path.lineTo(x0 + length / (4.0 * peaks), -h);
        path.lineTo(x0 + 3 * length / (4.0 * peaks), h);
    }
    path.lineTo(length, 0);
    p.drawPath(path);
}

void inductorBody(QPainter &p, double length)
{
    const int turns = 4;
    const double w = length / turns;
    QPainterPath path(QPointF(0, 0));
    for (int i = 0; i < turns; ++i)
        path.arcTo(QRectF(i * w, -w / 2, w, w), 180, -180);
    p.drawPath(path);
}

void capacitorBody(QPainter &p, double length)
{
    const double gap = length * 0.28, plate = length * 0.8;
    const double x1 = (length - gap) / 2, x2 = (length + gap) / 2;
    p.drawLine(QPointF(0, 0), QPointF(x1, 0));
    p.drawLine(QPointF(x2, 0), QPointF(length, 0));
    p.drawLine(QPointF(x1, -plate / 2), QPointF(x1, plate / 2));
    p.drawLine(QPointF(x2, -plate / 2), QPointF(x2, plate / 2));
}

// A voltage source: a circle. Its signs are drawn afterwards, upright, by twoTerminal.
void sourceBody(QPainter &p, double length)
{
    const double r = length / 2;
    p.drawEllipse(QPointF(r, 0), r, r);
}

// '+' towards the start of the line, '-' towards its end, both upright whatever the angle.
void sourceSigns(QPainter &p, const QPointF &plus, const QPointF &minus, double size)
{
    p.drawLine(plus - QPointF(size, 0), plus + QPointF(size, 0));
    p.drawLine(plus - QPointF(0, size), plus + QPointF(0, size));
    p.drawLine(minus - QPointF(size, 0), minus + QPointF(size, 0));
}

} // namespace

void twoTerminal(QPainter &p, const QPointF &a, const QPointF &b, Part kind, double bodyLength)
{
    const QLineF l(a, b);
    const double len = l.length();
    const double start = (len - bodyLength) / 2;
    p.save();
    p.translate(a);
    p.rotate(-l.angle());
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(0, 0), QPointF(start, 0));
    p.drawLine(QPointF(start + bodyLength, 0), QPointF(len, 0));
    p.translate(start, 0);
    switch (kind) {
    case Part::Resistor:
        resistorBody(p, bodyLength);
        break;
    case Part::Inductor:
        inductorBody(p, bodyLength);
        break;
    case Part::Capacitor:
        capacitorBody(p, bodyLength);
        break;
    case Part::Source:
        sourceBody(p, bodyLength);
        break;
    }
    p.restore();
    if (kind == Part::Source) {
        const QLineF unit = l.unitVector();
        const QPointF d(unit.dx(), unit.dy());
        const double r = bodyLength / 2;
        sourceSigns(p, a + d * (start + r * 0.5), a + d * (start + r * 1.5), r * 0.2);
    }
}

OpAmpPins opAmp(QPainter &p, const QPointF &c, double size, bool minusOnTop)
{
    const double h = size, w = size * 0.95;
    const QPointF left(c.x() - w / 2, c.y());
    const QPolygonF tri({QPointF(left.x(), c.y() - h / 2), QPointF(left.x(), c.y() + h / 2),
                         QPointF(c.x() + w / 2, c.y())});
    p.drawPolygon(tri);
    const double dy = h * 0.25, s = h * 0.07;
    const QPointF top(left.x(), c.y() - dy), bottom(left.x(), c.y() + dy);
    const QPointF mSign = (minusOnTop ? top : bottom) + QPointF(h * 0.14, 0);
    const QPointF pSign = (minusOnTop ? bottom : top) + QPointF(h * 0.14, 0);
    p.save();
    QPen pen = p.pen();
    pen.setWidthF(qMax(1.0, pen.widthF() * 0.8));
    p.setPen(pen);
    p.drawLine(mSign - QPointF(s, 0), mSign + QPointF(s, 0));
    p.drawLine(pSign - QPointF(s, 0), pSign + QPointF(s, 0));
    p.drawLine(pSign - QPointF(0, s), pSign + QPointF(0, s));
    p.restore();
    OpAmpPins pins;
    pins.minus = minusOnTop ? top : bottom;
    pins.plus = minusOnTop ? bottom : top;
    pins.out = QPointF(c.x() + w / 2, c.y());
    return pins;
}

void wire(QPainter &p, const QVector<QPointF> &points)
{
    p.drawPolyline(QPolygonF(points));
}

void junction(QPainter &p, const QPointF &at, double radius)
{
    p.save();
    p.setBrush(p.pen().color());
    p.drawEllipse(at, radius, radius);
    p.restore();
}

void ground(QPainter &p, const QPointF &at, double width)
{
    const double step = width * 0.22;
    p.drawLine(at, at + QPointF(0, step));
    for (int i = 0; i < 3; ++i) {
        const double half = width / 2 * (1.0 - 0.33 * i);
        const double y = at.y() + step * (1 + 0.6 * i);
        p.drawLine(QPointF(at.x() - half, y), QPointF(at.x() + half, y));
    }
}

void arrowLine(QPainter &p, const QPointF &from, const QPointF &to, double head)
{
    const QLineF l(from, to);
    const QPointF tip = to;
    const QLineF unit = l.unitVector();
    const QPointF d(unit.dx(), unit.dy());
    const QPointF n(-d.y(), d.x());
    const QPointF base = tip - d * head;
    p.drawLine(from, base + d * (head * 0.3));
    p.save();
    p.setBrush(p.pen().color());
    p.drawPolygon(QPolygonF({tip, base + n * (head * 0.45), base - n * (head * 0.45)}));
    p.restore();
}

void labelledBlock(QPainter &p, const QRectF &r, const QString &label, const QFont &font)
{
    p.drawRect(r);
    p.save();
    p.setFont(font);
    p.drawText(r, Qt::AlignCenter, label);
    p.restore();
}

void summingJunction(QPainter &p, const QPointF &c, double r)
{
    p.drawEllipse(c, r, r);
    const double s = r * 0.7071;
    p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
    p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
}
