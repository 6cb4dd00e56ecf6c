#include "schematic/wire.h"

#include "schematic/editorgeometry.h"

wire::wire(QCustomPlot *parentPlot)
    : QCPAbstractItem(parentPlot), start(createPosition(QStringLiteral("start"))),
      end(createPosition(QStringLiteral("end"))), center(createPosition(QStringLiteral("center"))),
      pen(QBrush(Qt::black), 3.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin),
      selectedPen(QBrush(Qt::blue), 3.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin)
{
    moveCenterTo(0, 0);
}

bool isWireItem(const QCPAbstractItem *item)
{
    return item && item->metaObject() == &wire::staticMetaObject;
}

QPen wire::mainPen() const
{
    return selected() ? selectedPen : pen;
}

double wire::selectTest(const QPointF &pos, bool onlySelectable, QVariant *) const
{
    if (onlySelectable && !selectable()) return -1;
    return schem::distanceToSegment(pos, start->pixelPosition(), end->pixelPosition());
}

void wire::moveCenterTo(double x, double y)
{
    const QPointF s = start->coords(), e = end->coords();
    const double h = ((s.x() - e.x()) + (s.y() - e.y())) / 2;
    center->setCoords(x, y);
    if (horizontal) {
        start->setCoords(x - h, y);
        end->setCoords(x + h, y);
    } else {
        start->setCoords(x, y + h);
        end->setCoords(x, y - h);
    }
}

void wire::moveStartTo(double x, double y)
{
    const QPointF e = end->coords();
    start->setCoords(x, y);
    if (horizontal) {
        end->setCoords(e.x(), y);
        center->setCoords((x + e.x()) / 2, y);
    } else {
        end->setCoords(x, e.y());
        center->setCoords(x, (y + e.y()) / 2);
    }
}

void wire::moveEndTo(double x, double y)
{
    const QPointF s = start->coords();
    end->setCoords(x, y);
    if (horizontal) {
        start->setCoords(s.x(), y);
        center->setCoords((x + s.x()) / 2, y);
    } else {
        start->setCoords(x, s.y());
        center->setCoords(x, (y + s.y()) / 2);
    }
}

bool wire::isTJunctionWith(QCPItemPosition *point, QCPAbstractItem *other) const
{
    if (!point || !isWireItem(other)) return false;
    const auto *w = static_cast<const wire *>(other);
    const QPointF p = point->coords();
    const QPointF s = w->start->coords(), e = w->end->coords();
    auto strictlyBetween = [](double v, double a, double b) {
        return (a < v && v < b) || (b < v && v < a);
    };
    if (w->horizontal) return !horizontal && p.y() == s.y() && strictlyBetween(p.x(), s.x(), e.x());
    return horizontal && p.x() == s.x() && strictlyBetween(p.y(), s.y(), e.y());
}

void wire::removeComponent()
{
    parentPlot()->removeItem(this);
}

void wire::draw(QCPPainter *painter)
{
    const QPointF a = start->pixelPosition();
    const QPointF b = end->pixelPosition();
    if (schem::roundedPixel(a) == schem::roundedPixel(b)) return;
    const int w = schem::clampToInt(mainPen().widthF());
    const QRect clip = clipRect().adjusted(-w, -w, w, w);
    const QLineF line = schem::clipLineToRect(a, b, clip);
    if (line.isNull()) return;
    painter->setPen(mainPen());
    painter->drawLine(line);

    painter->setPen(QPen(QBrush(Qt::black), 10.0, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    QCustomPlot *plot = parentPlot();
    for (int i = 0; i < plot->itemCount(); ++i) {
        QCPAbstractItem *other = plot->item(i);
        if (!isWireItem(other)) continue;
        // A dot off the canvas is not drawn: far off, it would overflow the painter.
        if (isTJunctionWith(start, other)) {
            if (clip.contains(schem::roundedPixel(a))) painter->drawPoint(a);
        } else if (isTJunctionWith(end, other)) {
            if (clip.contains(schem::roundedPixel(b))) painter->drawPoint(b);
        }
    }
}
