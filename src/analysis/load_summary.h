#pragma once
// The summary derived right after loading: censoring-weighted thresholds, failures per
// product at 2000 h and the least-squares line of ln N against ln t.

#include "analysis/failure_file.h"
#include "analysis/state.h"

#include <vector>

namespace wf {

struct SummaryValues {
    int N_Perv_Otk = -1;
    double Sum_X = 0, Sum_Y = 0, Sum_X2 = 0, Sum_XY = 0;
    double Naklon_LN = 0, Sdvig_LN = 0;
    bool Line_Defined = false;
    double T10 = 0, T50_Nabl = 0, T50_Cens = 0, Otk_2000 = 0;
};

// Smallest share of products still under warranty a censoring weight divides by: beyond
// the warranty period the share reaches 0 and one failure would weigh infinitely much.
inline constexpr double kMinWarrantyShare = 1e-12;

// Censoring weight of a failure at t > 0: 1 / (1 - Phi(t)), the share floored as above.
double censoringWeight(double sred, double sko, double t);

// The summary of `otkazy` (sorted by time) for a fleet of `park` > 0 products.
void computeLoadSummary(const std::vector<Problems>& otkazy, double park, double sred, double sko,
                        SummaryValues& values, LoadSummary& summary);

// Copies the values into the state's summary fields.
void applySummary(const SummaryValues& v, AnalysisState& s);

} // namespace wf
