#pragma once

#include "schematic/component2.h"

// A resistor of the schematic editor: the zigzag through six corners between the terminals,
// value "1k" and label "R" by default.
class resistor : public component2
{
    Q_OBJECT

public:
    explicit resistor(QCustomPlot *parentPlot);

    QCPItemPosition *const C1;
    QCPItemPosition *const C2;
    QCPItemPosition *const C3;
    QCPItemPosition *const C4;
    QCPItemPosition *const C5;
    QCPItemPosition *const C6;

    void moveCenterTo(double x, double y) override;
    void moveStartTo(double x, double y) override;
    void moveEndTo(double x, double y) override;

protected:
    void draw(QCPPainter *painter) override;
};
