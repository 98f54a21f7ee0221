#pragma once
// Model 3 by cause and under another warranty law on the command line: the JSON members
// "causes" and "what_if", and the same in the readable report.

#include "cli/json_out.h"
#include "results/causes_view.h"
#include "stats/cause_fits.h"
#include "stats/warranty_what_if.h"

#include <optional>

namespace wf::cli {

// A bound as [lo, hi], null for an open side; null when undefined.
json boundsJson(const ConfidenceBounds& b);
json whatIfJson(const WhatIf& w);
// Each cause's record, with its own "what_if" when a law is given.
json causeFitsJson(const CauseFits& all, const std::optional<WarrantyLaw>& law);

// The same as tables after the results.
void whatIfReport(const WhatIf& w);
void causeFitsReport(const CausesView& v);

} // namespace wf::cli
