#pragma once

// What the window's declaration needs of the three-phase page: the engine's types and the
// classes its members point to.
#include "motor/bridgesim.h"
#include "motor/p3signals.h"

class P3motor;
class QCPItemCurve;
class QCPItemEllipse;
class QCPItemLine;
