#include "schematic/ampsym.h"

#include "schematic/editorgeometry.h"

ampSym::ampSym(QCustomPlot *parentPlot)
    : QCPAbstractItem(parentPlot), center(createPosition(QStringLiteral("center"))),
      C1(createPosition(QStringLiteral("C1"))), C2(createPosition(QStringLiteral("C2"))),
      C3(createPosition(QStringLiteral("C3"))),
      pen(QBrush(Qt::black), 3.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin),
      selectedPen(QBrush(Qt::blue), 3.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin)
{
    moveCenterTo(0, 0);
}

QPen ampSym::mainPen() const
{
    return selected() ? selectedPen : pen;
}

double ampSym::selectTest(const QPointF &pos, bool onlySelectable, QVariant *) const
{
    if (onlySelectable && !selectable()) return -1;
    return schem::distanceToSegment(pos, center->pixelPosition(), C3->pixelPosition());
}

void ampSym::moveCenterTo(double x, double y)
{
    center->setCoords(x, y);
    C1->setCoords(x - 400, y + 400);
    C2->setCoords(x - 400, y - 400);
    C3->setCoords(x + 400, y);
}

void ampSym::removeComponent()
{
    parentPlot()->removeItem(this);
}

void ampSym::draw(QCPPainter *painter)
{
    const QPen p = mainPen();
    const int w = schem::clampToInt(p.widthF());
    const QRect clip = clipRect().adjusted(-w, -w, w, w);
    painter->setPen(p);
    const QCPItemPosition *corners[] = {C1, C2, C3, C1};
    for (int i = 1; i < 4; ++i) {
        const QLineF line = schem::clipLineToRect(corners[i - 1]->pixelPosition(),
                                                  corners[i]->pixelPosition(), clip);
        if (!line.isNull()) painter->drawLine(line);
    }
}
