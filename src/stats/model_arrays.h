#pragma once
// The per-interval arrays of a model record, the one rule every model shares.

#include "analysis/state.h"

namespace wf {

// For its A, B, K_powtor, Sred and SKO, fills per histogram interval k: F_Weib[k] (the
// Weibull probability of the interval; set to 0 where negative when `clampWeib`), F_norm[k]
// (the warranty-exit share at the interval's middle) and Kol_F_priv[k] = Park * K_powtor *
// F_Weib[k] * (1 - F_norm[k]). Arrays shorter than the histogram are lengthened; elements
// past it are left as they are.
void fillModelArrays(const AnalysisState& s, Mod_Weib& M, bool clampWeib = false);

// Stores a fitted model: its A, B and K, the warranty law in use (Sred_Gar, SKO_Gar), its
// totals cleared, the arrays sized to and filled over the histogram, Executed, and its
// evaluation by Harakt_Modeli at the state's burn-in.
void storeFittedModel(const AnalysisState& s, Mod_Weib& M, const WeibullParams& p);

} // namespace wf
