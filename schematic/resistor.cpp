#include "schematic/resistor.h"

resistor::resistor(QCustomPlot *parentPlot)
    : component2(parentPlot), C1(createPosition(QStringLiteral("C1"))),
      C2(createPosition(QStringLiteral("C2"))), C3(createPosition(QStringLiteral("C3"))),
      C4(createPosition(QStringLiteral("C4"))), C5(createPosition(QStringLiteral("C5"))),
      C6(createPosition(QStringLiteral("C6")))
{
    // The corners and the value text stay at the origin until the editor first places it.
    setValue(QStringLiteral("1k"));
    setLabel(QStringLiteral("R"));
}

void resistor::moveCenterTo(double x, double y)
{
    const double L = length;
    center->setCoords(x, y);
    if (horizontal) {
        start->setCoords(x - L / 2, y);
        C1->setCoords(x - 5 * L / 12, y + L / 4);
        C2->setCoords(x - 3 * L / 12, y - L / 4);
        C3->setCoords(x - L / 12, y + L / 4);
        C4->setCoords(x + L / 12, y - L / 4);
        C5->setCoords(x + 3 * L / 12, y + L / 4);
        C6->setCoords(x + 5 * L / 12, y - L / 4);
        end->setCoords(x + L / 2, y);
        placeTexts(QPointF(x, y + L / 3), QPointF(x, y - L / 3));
    } else {
        start->setCoords(x, y + L / 2);
        C1->setCoords(x + L / 4, y + 5 * L / 12);
        C2->setCoords(x - L / 4, y + 3 * L / 12);
        C3->setCoords(x + L / 4, y + L / 12);
        C4->setCoords(x - L / 4, y - L / 12);
        C5->setCoords(x + L / 4, y - 3 * L / 12);
        C6->setCoords(x - L / 4, y - 5 * L / 12);
        end->setCoords(x, y - L / 2);
        placeTexts(QPointF(x + L / 3, y), QPointF(x - L / 3, y));
    }
}

void resistor::moveStartTo(double x, double y)
{
    if (horizontal)
        moveCenterTo(x + length / 2, y);
    else
        moveCenterTo(x, y - length / 2);
}

void resistor::moveEndTo(double x, double y)
{
    if (horizontal)
        moveCenterTo(x - length / 2, y);
    else
        moveCenterTo(x, y + length / 2);
}

void resistor::draw(QCPPainter *painter)
{
    painter->setPen(mainPen());
    const QCPItemPosition *path[] = {start, C1, C2, C3, C4, C5, C6, end};
    for (int i = 1; i < 8; ++i)
        drawClippedLine(painter, path[i - 1]->pixelPosition(), path[i]->pixelPosition());
}
