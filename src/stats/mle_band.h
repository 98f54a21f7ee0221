#pragma once
// Model 3's pointwise band: likelihood-ratio bounds of the expected failures per product by
// each of a list of operating times, K F(t), at the stored estimate.

#include "analysis/state.h"

#include <vector>

namespace wf {

struct BandPoint {
    double t = 0;     // operating time, h
    double value = 0; // K F(t) at the estimate
    ConfidenceBounds bounds;
};

// The level of model 3's bounds, for its band: 0.95 when the fit recorded none.
double bandLevel(const LikelihoodDetail& d);

// Empty when model 3 has not been fitted. Each bound starts from its neighbour's width.
std::vector<BandPoint> failuresPerProductBand(const AnalysisState& s,
                                              const std::vector<double>& times, double level);

} // namespace wf
