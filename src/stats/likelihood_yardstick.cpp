#include "stats/likelihood_yardstick.h"

#include "stats/mle_model.h"
#include "stats/mle_profile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wf {

double modelLogLikelihood(const AnalysisState& s, const Mod_Weib& m) {
    if (!(m.A > 0 && m.B > 0 && m.K_powtor > 0) || !(s.Park > 0))
        return -std::numeric_limits<double>::infinity();
    const MleSample d = mleSample(s, m.Sred, m.SKO);
    return logLikelihood(d, std::log(m.A), std::log(m.B), std::log(m.K_powtor)).value;
}

std::vector<LikelihoodStanding> likelihoodStandings(const AnalysisState& s,
                                                    const std::vector<const Mod_Weib*>& models,
                                                    double level) {
    std::vector<LikelihoodStanding> r(models.size());
    double best = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < models.size(); ++i) {
        const double l = modelLogLikelihood(s, *models[i]);
        r[i].defined = std::isfinite(l);
        r[i].value = l;
        if (r[i].defined) best = std::max(best, l);
    }
    const double q = chiSquareQuantile(level, 3);
    for (LikelihoodStanding& x : r) {
        if (!x.defined) continue;
        x.delta = best - x.value;
        x.outside = 2 * x.delta > q;
    }
    return r;
}

std::vector<const Mod_Weib*> executedModels(const AnalysisState& s) {
    std::vector<const Mod_Weib*> r;
    for (const Mod_Weib* m :
         {&s.ModNewton, &s.ModSpir, &s.ModSmirnov, &s.ModGen, &s.ModExt, &s.ModMLE})
        if (m->Executed) r.push_back(m);
    return r;
}

double yardstickLevel(const AnalysisState& s) {
    const double c = s.ModMLE_Detail.confidence;
    return s.ModMLE.Executed && c > 0 && c < 1 ? c : 0.95;
}

} // namespace wf
