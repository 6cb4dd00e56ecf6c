#pragma once

#include "pwmpower/powerdetails.h"
#include "pwmpower/powersweeps.h"
#include "pwmpower/pwmnetwork.h"

class MainWindow;

// The power page's state as its analyses read it, for the MainWindow members of this folder.
namespace pwmpower {

// The window's value triples and load mode, with the order spin box and filter-type buttons.
Network readPowerNetwork(const MainWindow &w);

// The page's fields; each numeric field is read with parseLineEdit (red when unreadable).
PowerInput readPowerInputs(const MainWindow &w);

// Fmin and Fmax: the word "auto", or a frequency.
SweepRange readSweepRange(const MainWindow &w);

} // namespace pwmpower
