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

} // namespace wf
