#include "schematic/capacitor.h"

// In 24ths of the length: the leads end an eighth either side of the centre, where the plates
// reach a third above and below.
capacitor::capacitor(QCustomPlot *parentPlot)
    : cornerComponent(parentPlot, {{{-3, 0, 24},
                                    {-3, 8, 24},
                                    {-3, -8, 24},
                                    {3, 0, 24},
                                    {3, 8, 24},
                                    {3, -8, 24},
                                    {0, 12, 24},
                                    {0, -12, 24}}})
{
    // The plates and the value text stay at the origin until the editor first places it.
    setValue(QStringLiteral("1n"));
    setLabel(QStringLiteral("C"));
}

void capacitor::draw(QCPPainter *painter)
{
    painter->setPen(mainPen());
    drawClippedLine(painter, start->pixelPosition(), C1->pixelPosition());
    drawClippedLine(painter, C2->pixelPosition(), C3->pixelPosition());
    drawClippedLine(painter, C5->pixelPosition(), C6->pixelPosition());
    drawClippedLine(painter, C4->pixelPosition(), end->pixelPosition());
}
