#pragma once
// The objective of gene values, prepared once per run for many evaluations: the same
// numbers as Celev_Gen_Par to the last bit, but without writing a model record. The Weibull
// distribution function is taken once per interval end, and the warranty-exit shares once
// per run when no warranty value is searched.

#include "analysis/state.h"

#include <array>
#include <vector>

namespace wf {

class GeneticObjective {
public:
    // Per-thread working space; make one per thread with scratch().
    struct Scratch {
        std::vector<double> R;         // Weibull distribution function at 0 and each interval end
        std::vector<double> keepShare; // 1 - warranty-exit share per interval
    };

    explicit GeneticObjective(const AnalysisState& s);

    Scratch scratch() const;

    // Celev_Gen_Par of the values; NaN when it cannot be evaluated (no failures besides
    // "Брак"). Allocates nothing.
    double operator()(const std::array<double, 5>& Gen_Par, Scratch& w) const {
        return evaluate(Gen_Par, w, w.R.data(), true);
    }

    // Values at the interval ends (including 0) R holds: ends() + 1.
    std::size_t endCount() const { return end_.size() + 1; }

    // The same with the Weibull distribution function at the interval ends in R (endCount()
    // values): computed into R when fillR, else taken as R holds them for these A and B.
    double evaluate(const std::array<double, 5>& Gen_Par, Scratch& w, double* R, bool fillR) const;

private:
    std::vector<double> end_; // interval ends
    std::vector<double> mid_; // interval midpoints
    std::vector<double> sum_; // observed counts
    std::vector<double> keepShareFixed_;
    double park_ = 0;
    int notk_ = 0;
    double sred_ = 0;
    double sko_ = 0;
    bool podborSred_ = false;
    bool podborSKO_ = false;
};

} // namespace wf
