#pragma once
// The Pearson-type objective of models 1.1 and 1.2: squared deviations of the expected
// failures per histogram interval from the observed ones, plus 8 times the squared
// deviation of the totals.

#include "analysis/state.h"

#include <vector>

namespace wf {

// Below this, an expected count is taken as this in the divisor of criterion 0, so an
// interval the model leaves empty weighs heavily but finitely.
inline constexpr double kPearsonMinExpected = 1e-100;

// M's three arrays must have one element per histogram interval; they are overwritten as
// fillIntervalArrays fills them (dF clamped at 0), and M.Kol_Nakopl with their sum. criterion is
// the item of the way-of-fitting group: 0 relative, 1 plain (default), anything else weighted by 1
// - F_Weib. Allocates nothing.
double Celev_Pirson(const AnalysisState& s, Mod_Weib& M, double A, double B, double K, double Sred,
                    double SKO, int criterion);

// The same objective for a fit's many evaluations: the interval ends are copied once, the
// warranty-exit shares are recomputed only when Sred or SKO change and the distribution
// values only when A or B change (a coordinate search changes one parameter at a time). Gives the
// same bits as Celev_Pirson. The state's histogram must not change while it is used.
class PearsonObjective {
public:
    PearsonObjective(const AnalysisState& s, int criterion);
    double operator()(Mod_Weib& M, double A, double B, double K, double Sred, double SKO);

private:
    std::vector<double> ends_;     // t_k
    std::vector<double> mids_;     // (t_(k-1) + t_k) / 2
    std::vector<double> observed_; // Hist[k].Sum
    std::vector<double> fnorm_;    // Norm_Raspr at the middles for (sred_, sko_)
    std::vector<double> weib_;     // Weib_Raspr at the ends for (a_, b_)
    double park_ = 0;
    double total_ = 0; // Kol_Otk_Bez_Braka
    int criterion_ = 1;
    double sred_ = 0, sko_ = 0;
    bool haveNorm_ = false;
    double a_ = 0, b_ = 0, w0_ = 0; // w0_: Weib_Raspr at 0
    bool haveWeib_ = false;
};

} // namespace wf
