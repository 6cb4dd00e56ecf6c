#pragma once

#include "ihcp/pumploop.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Which of the pump page's values the model can use, and why the others cannot.
namespace ihcp {

// The page's circuit values as typed (the MainWindow members of the same names).
struct PumpTexts
{
    QString rin, rinT, rfn, rfnT, rfp, rfpT, rs, rsT, rd, cd, rload, cload, lload, freq;
};

struct PumpCheck
{
    bool circuit = true;    // every circuit value usable: transconductance, loop and sweep
    QString circuitWhy;     // when not, the first reason (a note's text without its tab)
    bool tolerances = true; // every tolerance usable: the worst case
    bool openLoad = false;  // no current can flow into the load at the signal frequency
    // Member names of the values that cannot be used ("IHCPRin", "IHCPRinT", ...), so that
    // the page can mark their labels.
    QStringList unusable;
    // One red line per value that prevents a result, naming it and saying why.
    QVector<PumpNote> notes;
};

// A value cannot be used when it cannot be read, when it is negative, and where the model
// divides by it or an open one leaves no circuit: R_IN and R_S must be positive and not open
// (the transconductance Rfn/(Rin Rs) is unbounded otherwise), R_FN not open (no negative
// feedback), R_FP not 0 (the closed form divides by it). Tolerances read "0 (trim pot)" as 0.
// The load is open when R_load is open, an inductance is open, or its impedance at the signal
// frequency is unbounded (a capacitance of 0 or "open", a frequency of 0).
PumpCheck checkPump(const PumpTexts &t);

} // namespace ihcp
