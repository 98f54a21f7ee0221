#include "stats/model_arrays.h"

#include "stats/evaluation.h"

#include <algorithm>

namespace wf {

void fillIntervalArrays(const AnalysisState& s, Mod_Weib& M, const flow::Law& law,
                        flow::Step step) {
    double tPrev = 0;
    for (std::size_t k = 0; k < s.Hist.size(); ++k) {
        const double t = s.Hist[k].time;
        const flow::Interval f = flow::intervalAtMiddle(law, s.Park, tPrev, t, step);
        M.F_Weib[k] = f.F_Weib;
        M.F_norm[k] = f.F_norm;
        M.Kol_F_priv[k] = f.Kol_F_priv;
        tPrev = t;
    }
}

void fillModelArrays(const AnalysisState& s, Mod_Weib& M, bool clampWeib) {
    const std::size_t m = s.Hist.size();
    if (M.F_Weib.size() < m || M.F_norm.size() < m || M.Kol_F_priv.size() < m) {
        M.F_Weib.resize(std::max(M.F_Weib.size(), m), 0.0);
        M.F_norm.resize(std::max(M.F_norm.size(), m), 0.0);
        M.Kol_F_priv.resize(std::max(M.Kol_F_priv.size(), m), 0.0);
    }
    fillIntervalArrays(s, M, {M.A, M.B, M.K_powtor, M.Sred, M.SKO},
                       clampWeib ? flow::Step::ClampedAtZero : flow::Step::AsIs);
}

void storeFittedModel(const AnalysisState& s, Mod_Weib& M, const WeibullParams& p) {
    M.setParams(p);
    M.Sred = s.Sred_Gar;
    M.SKO = s.SKO_Gar;
    M.Kol_Nakopl = 0;
    M.SKO_out = 0;
    M.Unsens = 0;
    M.resizeArrays(s.Hist.size());
    fillModelArrays(s, M);
    M.Executed = true;
    Harakt_Modeli(s, M, s.T_Prirab);
}

} // namespace wf
