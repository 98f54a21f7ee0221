#pragma once
// The fit of weibflow-optimizer: A, B and K that minimise the genetic objective over the
// failure-flow histogram, with the warranty mean and SD held at the state's values.

#include "analysis/state.h"

namespace wf::optimizer {

struct FitOutcome {
    double A = 0, B = 0, K = 0;
    double objective = 0; // Celev_Gen at (A, B, K)
    long evaluations = 0;
};

// Needs a built histogram and at least one failure besides "Брак". Deterministic: the
// same state gives the same answer. `effort` multiplies every evaluation budget (a check
// that the default budget has converged).
FitOutcome fitWeibullFlow(const AnalysisState& s, int effort = 1);

} // namespace wf::optimizer
