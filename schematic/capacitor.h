#pragma once

#include "schematic/component2.h"

// A capacitor of the schematic editor: two leads ending at two plates (C1 and C4 end the leads,
// C2-C3 and C5-C6 are the plates), value "1n" and label "C" by default.
class capacitor : public component2
{
    Q_OBJECT

public:
    explicit capacitor(QCustomPlot *parentPlot);

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
