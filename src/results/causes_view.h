#pragma once
// The page "По причинам": model 3 of the whole fleet and of each cause as a table, the
// accumulated failures per product of the largest causes against their observed ones, and
// what another warranty law would give. Plain texts and series; the window only draws them.

#include "results/causes_input.h"
#include "results/results_data.h"
#include "stats/cause_fits.h"
#include "stats/warranty_what_if.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace wf {

// Causes drawn one by one on the page's chart; the others are summed in one curve.
inline constexpr int kChartedCauses = 5;

// Model 3 of the whole fleet and of each cause under another warranty law.
struct WhatIfRun {
    WhatIf fleet;
    std::vector<WhatIf> causes; // in the order of CauseFits::causes
};
WhatIfRun runWhatIf(const CausesInput& in, const CauseFits& fits, const WarrantyLaw& law);

struct CausesView {
    std::vector<std::vector<QString>> table; // the heading row, then model 3, then each cause
    QStringList notes;                       // shared failures, what-if summary, fit messages
    ChartData chart;
};

// The table (one row per cause as `fits` orders them, the whole fleet first), its notes and
// the chart; with `whatIf`, a column of the figure under that law and its change.
CausesView causesView(const CausesInput& in, const CauseFits& fits,
                      const WhatIfRun* whatIf = nullptr);

// Expected failures per product seen by time t (from 1 h, thinned by the exit law), at each
// of `times` ascending: what the observed accumulation of the flow's failures estimates.
std::vector<double> thinnedAccumulation(const WeibullParams& p, double mean, double sd,
                                        const std::vector<double>& times);

} // namespace wf
