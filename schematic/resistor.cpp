#include "schematic/resistor.h"

// In twelfths of the length: corners alternately a quarter above and below the lead.
resistor::resistor(QCustomPlot *parentPlot)
    : cornerComponent(parentPlot, {{{-5, 3, 12},
                                    {-3, -3, 12},
                                    {-1, 3, 12},
                                    {1, -3, 12},
                                    {3, 3, 12},
                                    {5, -3, 12},
                                    {0, 4, 12},
                                    {0, -4, 12}}})
{
    // The corners and the value text stay at the origin until the editor first places it.
    setValue(QStringLiteral("1k"));
    setLabel(QStringLiteral("R"));
}

void resistor::draw(QCPPainter *painter)
{
    painter->setPen(mainPen());
    const QCPItemPosition *path[] = {start, C1, C2, C3, C4, C5, C6, end};
    for (int i = 1; i < 8; ++i)
        drawClippedLine(painter, path[i - 1]->pixelPosition(), path[i]->pixelPosition());
}
