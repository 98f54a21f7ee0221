#pragma once
// What the page by cause needs of a fleet, taken when its results are shown so that it can
// never describe another file's data: each cause's failures, and model 3 as it was fitted.

#include "analysis/state.h"
#include "stats/cause_fits.h"
#include "stats/mle_model.h"

#include <QString>

#include <optional>

namespace wf {

struct CausesInput {
    CauseSamples causes;
    MleSample fleet;         // model 3's own sample
    WeibullParams fit;       // model 3's estimate
    LikelihoodDetail detail; // its bounds, level and method
    QString caption;         // the data set's caption, as the results show it
    double lastTime = 0;     // latest failure time, h: the chart's end
};
// Empty when model 3 has not been fitted to the state's data.
std::optional<CausesInput> causesInput(const AnalysisState& s);

} // namespace wf
