#pragma once

#include "catalog/amp.h"
#include "stability/bodemodel.h"

#include <functional>

// Automatic compensation: sweeps compensation values (and, for a single amplifier, the part's
// compensation options) through a Bode model and keeps the widest bandwidth whose phase margin
// clears a target. Degrees and Hz.
namespace stab {

enum class LoopKind { Capacitive, Inductive, CompositeCapacitive, CompositeInductive };

struct Margins
{
    double phaseMargin = 0; // degrees
    double bandwidth = 0;   // Hz
};

// The loop's model, as the input asks (with or without report).
BodeResult runLoop(LoopKind kind, const BodeInput &in, const amp &part);
// One run of the loop's model without report.
Margins evaluateLoop(LoopKind kind, const BodeInput &in, const amp &part);
using LoopEvaluator = std::function<Margins(const BodeInput &)>;

// Target phase margin of the slider (0 "Maximize Stability" .. 4 "Maximize Bandwidth"):
// 75° down to 35° in steps of 10°.
double targetPhaseMargin(int sliderValue);

// A candidate must clear the target and widen the bandwidth, or match it with more margin.
// All comparisons strict, so a value that is not a number never wins and ties keep the first.
bool acceptsCandidate(const Margins &candidate, double target, const Margins &best);

struct AutoCompResult
{
    CircuitValues values;  // the winning texts; the start texts when nothing won
    int compOption = 0;    // winning option (single-amplifier searches; else as given)
    int sliderValue = 2;   // where the search settled after missed targets
    Margins best;          // of the winner (the first run's margin and 0 Hz when none won)
    bool accepted = false; // some candidate won in the last run
    int modelRuns = 0;     // model evaluations over all runs
    int searchRuns = 0;    // 1 plus one per missed target
};

// The search of one loop kind from `start` (whose values are overwritten with the search's
// start texts). A missed target moves the slider one step towards bandwidth and searches
// again, up to the end of the slider. Candidates are written as engineering text with three
// digits and read back, so each value evaluated is the one stored. `evaluate` replaces the
// real model (tests); by default the loop's model runs against `part`.
AutoCompResult autoCompensate(LoopKind kind, const BodeInput &start, const amp &part,
                              int sliderValue, const LoopEvaluator &evaluate = {});

} // namespace stab
