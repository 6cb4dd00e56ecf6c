#pragma once

#include "pwmpower/powerdetails.h"
#include "pwmpower/powersweeps.h"
#include "pwmpower/pwmnetwork.h"

#include <QStringList>

#include "pwmpower/fieldcheck.h"

class MainWindow;

// The power page's state as its analyses read it, for the MainWindow members of this folder.
namespace pwmpower {

// The window's value triples and load mode, with the order spin box and filter-type buttons.
Network readPowerNetwork(const MainWindow &w);

// The signal frequency: 0 Hz is a DC output.
const FieldRule kFsigRule{eng::Range::NonNegative, false, 1e12};

// Which groups of the page's fields can be used, with a note line for each field that cannot.
// A group that cannot be used holds neutral values in PowerInput (no signal, 25 °C, no
// heatsink); the figures that depend on it must not be shown.
struct PowerFieldCheck
{
    bool supply = true;  // Vs and Fsw: every figure needs them
    bool signal = true;  // Fsig, maximum and minimum output
    bool thermal = true; // ambient, heatsink and thermal compound
    QStringList notes;
};

// The page's fields; each numeric field is read with parseLineEdit (red when unreadable, or
// when its value is impossible for it: a negative frequency, ambient below absolute zero).
PowerInput readPowerInputs(const MainWindow &w, PowerFieldCheck *check = nullptr);

// The signal frequency the plot spans are taken from: 0 (the default span) when it cannot be
// used.
double readPlotFsig(const MainWindow &w);

// Fmin and Fmax: the word "auto", or a frequency. A bound that cannot be used counts as
// "auto" and adds its note to *notes.
SweepRange readSweepRange(const MainWindow &w, QStringList *notes = nullptr);

} // namespace pwmpower
