#include "stats/model_arrays.h"

#include "stats/evaluation.h"

#include "stats/core/distributions.h"

namespace wf {

void fillModelArrays(const AnalysisState& s, Mod_Weib& M, bool clampWeib) {
    const std::size_t m = s.Hist.size();
    if (M.F_Weib.size() < m || M.F_norm.size() < m || M.Kol_F_priv.size() < m) {
        M.F_Weib.resize(std::max(M.F_Weib.size(), m), 0.0);
        M.F_norm.resize(std::max(M.F_norm.size(), m), 0.0);
        M.Kol_F_priv.resize(std::max(M.Kol_F_priv.size(), m), 0.0);
    }
    double tPrev = 0;
    for (std::size_t k = 0; k < m; ++k) {
        const double t = s.Hist[k].time;
        double fw = Weib_Interv(M.A, M.B, tPrev, t);
        if (clampWeib && fw < 0) fw = 0;
        M.F_Weib[k] = fw;
        M.F_norm[k] = Norm_Raspr(M.Sred, M.SKO, (tPrev + t) / 2);
        M.Kol_F_priv[k] = s.Park * M.K_powtor * M.F_Weib[k] * (1 - M.F_norm[k]);
        tPrev = t;
    }
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
