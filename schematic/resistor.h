#pragma once

#include "schematic/component2.h"

// A resistor of the schematic editor: the zigzag through six corners between the terminals,
// value "1k" and label "R" by default.
class resistor : public cornerComponent
{
    Q_OBJECT

public:
    explicit resistor(QCustomPlot *parentPlot);

protected:
    void draw(QCPPainter *painter) override;
};
