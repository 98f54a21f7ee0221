#pragma once
// A calculation run whose changes land in the caller's state, as the window applies a
// finished job's.

#include "stats/calculation_run.h"

namespace wf::test {

inline CalcOutcome calculate(AnalysisState& s, const CalcSettings& set, FitClock& clock,
                             const ProgressFn& progress = {}) {
    CalcOutcome r = runCalculation(s, set, clock, progress);
    applyCalcWrites(s, r.writes);
    return r;
}

} // namespace wf::test
