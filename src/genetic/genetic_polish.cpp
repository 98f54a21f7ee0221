#include "genetic/genetic_polish.h"

#include "core/parameter_domains.h"
#include "genetic/nlopt_box.h"

#include <cmath>
#include <limits>

namespace wf {
namespace {

// Where a refined value may go (domain::kPolish*), as logarithms. The genes span orders of
// magnitude and trade against each other (K against B^A), so steps on logarithms suit them.
using namespace domain;
const std::array<double, 5> kLo{std::log(kPolishB.lo), std::log(kPolishA.lo), std::log(kPolishK.lo),
                                std::log(kPolishSred.lo), std::log(kPolishSKO.lo)};
const std::array<double, 5> kHi{std::log(kPolishB.hi), std::log(kPolishA.hi), std::log(kPolishK.hi),
                                std::log(kPolishSred.hi), std::log(kPolishSKO.hi)};
// First steps of the descent: a few per cent of each value.
constexpr double kInitialStep = 0.05;

struct Problem {
    const GeneticObjective* objective = nullptr;
    GeneticObjective::Scratch scratch;
    std::array<double, 5> genes{};
    unsigned n = 0;
    long long evaluations = 0;
    double best = std::numeric_limits<double>::infinity();
    std::array<double, 5> bestGenes{};
};

double evaluate(unsigned n, const double* x, double*, void* data) {
    auto& p = *static_cast<Problem*>(data);
    for (unsigned i = 0; i < n; ++i) p.genes[i] = std::exp(x[i]);
    const double f = (*p.objective)(p.genes, p.scratch);
    ++p.evaluations;
    if (!std::isfinite(f)) return std::numeric_limits<double>::max();
    if (f < p.best) {
        p.best = f;
        p.bestGenes = p.genes;
    }
    return f;
}

} // namespace

PolishOutcome polishBest(const GeneticObjective& objective, const std::array<double, 5>& Gen_Par,
                         int genes, int maxEvaluations) {
    PolishOutcome out;
    out.Gen_Par = Gen_Par;
    Problem p;
    p.objective = &objective;
    p.scratch = objective.scratch();
    out.objective = objective(Gen_Par, p.scratch);
    if (genes < 2 || genes > 5) return out;
    p.genes = Gen_Par;
    p.n = static_cast<unsigned>(genes);
    std::array<double, 5> x{};
    for (int i = 0; i < genes; ++i) {
        // A gene decoded to zero or below has no logarithm: nothing to refine from.
        if (!(Gen_Par[i] > 0) || !std::isfinite(Gen_Par[i])) return out;
        x[i] = std::log(Gen_Par[i]);
    }
    const NloptBox box{p.n, kLo.data(), kHi.data()};
    // Alternating the two methods gets past a stall of either; each round starts afresh
    // from the best point found so far.
    for (bool bobyqa = true; p.evaluations < maxEvaluations; bobyqa = !bobyqa) {
        const double before = p.best;
        if (std::isfinite(p.best))
            for (int i = 0; i < genes; ++i) x[i] = std::log(p.bestGenes[i]);
        nloptMinimise(bobyqa ? NLOPT_LN_BOBYQA : NLOPT_LN_NELDERMEAD, box, x.data(),
                      static_cast<int>(maxEvaluations - p.evaluations), evaluate, &p, 1e-10, 1e-13,
                      kInitialStep);
        if (!bobyqa && !(p.best < before)) break;
    }
    out.evaluations = p.evaluations;
    if (p.best < out.objective || (!std::isfinite(out.objective) && std::isfinite(p.best))) {
        out.Gen_Par = p.bestGenes;
        out.objective = p.best;
        out.improved = true;
    }
    return out;
}

} // namespace wf
