#pragma once
// The per-interval arrays of a model record, the one rule every model shares.

#include "analysis/state.h"
#include "core/interval_flow.h"

namespace wf {

// Fills per histogram interval k, for the law: F_Weib[k] (the Weibull probability of the
// interval, as `step` takes it), F_norm[k] (the warranty-exit share at the interval's
// middle) and Kol_F_priv[k] = Park * K * F_Weib[k] * (1 - F_norm[k]). The arrays must hold
// one element per interval at least; elements past the histogram are left as they are.
// Allocates nothing.
void fillIntervalArrays(const AnalysisState& s, Mod_Weib& M, const flow::Law& law, flow::Step step);

// The same for the record's own A, B, K_powtor, Sred and SKO, ΔF clamped at 0 when
// `clampWeib`. Arrays shorter than the histogram are lengthened first.
void fillModelArrays(const AnalysisState& s, Mod_Weib& M, bool clampWeib = false);

// Stores a fitted model: its A, B and K, the warranty law in use (Sred_Gar, SKO_Gar), its
// totals cleared, the arrays sized to and filled over the histogram, Executed, and its
// evaluation by Harakt_Modeli at the state's burn-in.
void storeFittedModel(const AnalysisState& s, Mod_Weib& M, const WeibullParams& p);

} // namespace wf
