#pragma once
// The objective of model 2: deviation of the model's accumulated failures from the observed
// ones at every failure time (failures below 1 h left out).

#include "analysis/state.h"

#include <vector>

namespace wf {

// The observed total divides the objective; with no failures besides "Брак" it is taken as 1.
double smirnovDivisor(const AnalysisState& s);

// Celev_Smirnov, prepared for a fit's many evaluations: the failure times and shares are
// copied once, equal failure times share one distribution value, and the distribution values
// are kept while A and B stay (a trial on K costs no power or exponential). Each failure adds
// (1 - F_norm) * dF * Park * K, multiplied in that order, dF being the Weibull probability
// since the previous failure counted. A call allocates nothing.
class SmirnovObjective {
public:
    // fnorm: the per-failure shares (s.ModSmirnov.F_norm as the fit fills it).
    SmirnovObjective(const AnalysisState& s, const std::vector<double>& fnorm);
    double operator()(double A, double B, double K);

private:
    std::vector<double> times_;          // failure times at or above 1 h, ascending
    std::vector<double> stay_;           // 1 - F_norm of those failures
    std::vector<unsigned char> newTime_; // 1 where the time differs from the previous one
    std::vector<double> weib_;           // Weib_Raspr at those times for (a_, b_)
    double park_ = 0;
    double divisor_ = 1;
    double a_ = 0, b_ = 0, w0_ = 0; // w0_: Weib_Raspr at 0
    bool haveWeib_ = false;
};

} // namespace wf
