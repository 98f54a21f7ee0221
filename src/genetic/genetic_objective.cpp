#include "genetic/genetic_objective.h"

#include "core/interval_flow.h"

#include <cmath>
#include <limits>

namespace wf {

GeneticObjective::GeneticObjective(const AnalysisState& s)
    : park_(s.Park)
    , notk_(s.Kol_Otk_Bez_Braka)
    , sred_(s.Sred_Gar)
    , sko_(s.SKO_Gar)
    , podborSred_(s.Podbor_Sred)
    , podborSKO_(s.Podbor_SKO) {
    double prev = 0;
    for (const Hist_Rec& h : s.Hist) {
        end_.push_back(h.time);
        mid_.push_back(flow::middle(prev, h.time));
        sum_.push_back(h.Sum);
        prev = h.time;
    }
    if (!podborSred_ && !podborSKO_) {
        for (double m : mid_) keepShareFixed_.push_back(1 - Norm_Raspr(sred_, sko_, m));
    }
}

GeneticObjective::Scratch GeneticObjective::scratch() const {
    Scratch w;
    w.R.resize(end_.size() + 1);
    w.keepShare.resize(end_.size());
    return w;
}

double GeneticObjective::evaluate(const std::array<double, 5>& p, Scratch& w, double* R,
                                  bool fillR) const {
    if (notk_ <= 0) return std::numeric_limits<double>::quiet_NaN();
    const double A = p[1];
    const double B = p[0];
    const double K = p[2];
    const std::size_t n = end_.size();

    const double* keep = keepShareFixed_.data();
    if (podborSred_ || podborSKO_) {
        double Sred = sred_;
        double SKO = sko_;
        if (podborSred_ && podborSKO_) {
            Sred = p[3];
            SKO = p[4];
        } else if (podborSred_) {
            Sred = p[3];
        } else {
            SKO = p[3];
        }
        for (std::size_t j = 0; j < n; ++j) w.keepShare[j] = 1 - Norm_Raspr(Sred, SKO, mid_[j]);
        keep = w.keepShare.data();
    }

    if (fillR) {
        R[0] = Weib_Raspr(A, B, 0);
        for (std::size_t j = 0; j < n; ++j) R[j + 1] = Weib_Raspr(A, B, end_[j]);
    }

    double nakopl = 0;
    double D = 0;
    for (std::size_t j = 0; j < n; ++j) {
        const double m =
            flow::expectedFailures(park_, K, R[j + 1] - R[j], keep[j], flow::Order::ScaleFirst);
        nakopl += m;
        const double d = sum_[j] - m;
        D += d * d;
    }
    const double t = notk_ - nakopl;
    return D + t * t;
}

} // namespace wf
