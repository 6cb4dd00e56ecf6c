#include "schematic/schgridticker.h"

#include "schematic/editorgeometry.h"

double SchGridTicker::getTickStep(const QCPRange &)
{
    return mStep;
}

int SchGridTicker::getSubTickCount(double)
{
    return 0;
}

QVector<double> SchGridTicker::createTickVector(double, const QCPRange &range)
{
    return schem::gridLinePositions(range.lower, range.upper, mStep, schem::maxSchGridLines);
}
