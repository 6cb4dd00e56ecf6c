#pragma once

#include "schematic/component2.h"

// A capacitor of the schematic editor: two leads ending at two plates (C1 and C4 end the leads,
// C2-C3 and C5-C6 are the plates), value "1n" and label "C" by default.
class capacitor : public cornerComponent
{
    Q_OBJECT

public:
    explicit capacitor(QCustomPlot *parentPlot);

protected:
    void draw(QCPPainter *painter) override;
};
