#pragma once
// The failure-flow histogram the deterministic fits work on.

#include "analysis/state.h"

namespace wf {

// The halving of the first intervals' width stops at this step (hours): with a zero step an
// interval could never grow, so a build that cannot reach 7 intervals keeps this pass.
inline constexpr int kMinShagNach = 1;
// The doubling of the later intervals' width stops here, far below the 32-bit limit.
inline constexpr int kMaxShagDal = 1 << 30;

// Failure times above this (about 100 million years) are refused rather than counted.
inline constexpr double kMaxFailureTime = 1e12;

// Rebuilds state.Hist from state.Otkazy (sorted by time). Returns false and leaves Hist empty
// when there are no failures or a failure time is not a number or above kMaxFailureTime.
bool Postr_Gist(AnalysisState& state);

} // namespace wf
