#pragma once
// One yardstick for every model: the likelihood of the thinned flow at the model's own A, B,
// K and warranty law, beside the best of the models shown. Twice the distance above the
// chi-square quantile with three degrees of freedom puts a model outside the data's joint
// confidence region of (A, B, K).

#include "analysis/state.h"

#include <vector>

namespace wf {

struct LikelihoodStanding {
    bool defined = false; // false for parameters the likelihood cannot take (not positive)
    double value = 0;     // l
    double delta = 0;     // best l of the models given less this one, >= 0
    bool outside = false; // 2 delta above the quantile at the level
};

// l of one model under the state's failures and fleet with the model's Sred and SKO.
double modelLogLikelihood(const AnalysisState& s, const Mod_Weib& m);

// The standing of each model given, in order, against the best of them.
std::vector<LikelihoodStanding> likelihoodStandings(const AnalysisState& s,
                                                    const std::vector<const Mod_Weib*>& models,
                                                    double level);

// The executed models in the results table's order: 1.2, 1.1, 2, genetic, external, 3.
std::vector<const Mod_Weib*> executedModels(const AnalysisState& s);

// The level the yardstick uses: model 3's when it has been fitted, else 0.95.
double yardstickLevel(const AnalysisState& s);

} // namespace wf
