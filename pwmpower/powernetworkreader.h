#pragma once

#include "pwmpower/pwmnetwork.h"

class MainWindow;

namespace pwmpower {

// The power page's network as it stands: the window's value triples and load mode, the
// order spin box and the filter-type buttons.
Network readPowerNetwork(const MainWindow &w);

} // namespace pwmpower
