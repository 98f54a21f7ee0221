#pragma once
// Local refinement of the genetic search's best candidate: the generations leave a point
// near the minimum but seldom on it (clones of one chromosome, genes frozen at round binary
// values), and a short local descent from there finishes the job.

#include "genetic/genetic_objective.h"

#include <array>

namespace wf {

// Refinement of this many evaluations at most; a few hundred usually suffice.
inline constexpr int kPolishMaxEvaluations = 3000;

struct PolishOutcome {
    std::array<double, 5> Gen_Par{}; // the refined genes, or the start when not better
    double objective = 0;            // their objective
    long long evaluations = 0;
    bool improved = false;
};

// Descends from Gen_Par (its first `genes` values searched, on their logarithms) with
// BOBYQA and Nelder-Mead in turn on the same objective; keeps the result only when its
// objective is lower than Gen_Par's own. Deterministic.
PolishOutcome polishBest(const GeneticObjective& objective, const std::array<double, 5>& Gen_Par,
                         int genes, int maxEvaluations = kPolishMaxEvaluations);

} // namespace wf
