#include "schematic/capacitor.h"

capacitor::capacitor(QCustomPlot *parentPlot)
    : component2(parentPlot), C1(createPosition(QStringLiteral("C1"))),
      C2(createPosition(QStringLiteral("C2"))), C3(createPosition(QStringLiteral("C3"))),
      C4(createPosition(QStringLiteral("C4"))), C5(createPosition(QStringLiteral("C5"))),
      C6(createPosition(QStringLiteral("C6")))
{
    // The plates and the value text stay at the origin until the editor first places it.
    setValue(QStringLiteral("1n"));
    setLabel(QStringLiteral("C"));
}

void capacitor::moveCenterTo(double x, double y)
{
    const double L = length;
    center->setCoords(x, y);
    if (horizontal) {
        start->setCoords(x - L / 2, y);
        C1->setCoords(x - L / 8, y);
        C2->setCoords(x - L / 8, y + L / 3);
        C3->setCoords(x - L / 8, y - L / 3);
        C4->setCoords(x + L / 8, y);
        C5->setCoords(x + L / 8, y + L / 3);
        C6->setCoords(x + L / 8, y - L / 3);
        end->setCoords(x + L / 2, y);
        placeTexts(QPointF(x, y + L / 2), QPointF(x, y - L / 2));
    } else {
        start->setCoords(x, y + L / 2);
        C1->setCoords(x, y + L / 8);
        C2->setCoords(x + L / 3, y + L / 8);
        C3->setCoords(x - L / 3, y + L / 8);
        C4->setCoords(x, y - L / 8);
        C5->setCoords(x + L / 3, y - L / 8);
        C6->setCoords(x - L / 3, y - L / 8);
        end->setCoords(x, y - L / 2);
        placeTexts(QPointF(x + L / 2, y), QPointF(x - L / 2, y));
    }
}

void capacitor::moveStartTo(double x, double y)
{
    if (horizontal)
        moveCenterTo(x + length / 2, y);
    else
        moveCenterTo(x, y - length / 2);
}

void capacitor::moveEndTo(double x, double y)
{
    if (horizontal)
        moveCenterTo(x - length / 2, y);
    else
        moveCenterTo(x, y + length / 2);
}

void capacitor::draw(QCPPainter *painter)
{
    painter->setPen(mainPen());
    drawClippedLine(painter, start->pixelPosition(), C1->pixelPosition());
    drawClippedLine(painter, C2->pixelPosition(), C3->pixelPosition());
    drawClippedLine(painter, C5->pixelPosition(), C6->pixelPosition());
    drawClippedLine(painter, C4->pixelPosition(), end->pixelPosition());
}
