#include "fit.h"

#include "core/parameter_domains.h"
#include "genetic/encoding.h"
#include "genetic/nlopt_box.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace wf::optimizer {

namespace {

// Search coordinates: ln B, A, ln K. B and K span decades and trade against each other
// (K / B^A is what early data fix), so their logarithms make the valley far less skewed.
using Point = std::array<double, 3>;

struct Box {
    Point lo, hi;
};

// Where the genetic search creates its candidates.
const Box kCreation{{std::log(Gen_Min[0]), Gen_Min[1], std::log(Gen_Min[2])},
                    {std::log(Gen_Min[0] + Gen_Diap[0]), Gen_Min[1] + Gen_Diap[1],
                     std::log(Gen_Min[2] + Gen_Diap[2])}};
// Where the answer may lie (domain::kOptimizer*, with the reasons).
const Box kWide{
    {std::log(domain::kOptimizerB.lo), domain::kOptimizerA.lo, std::log(domain::kOptimizerK.lo)},
    {std::log(domain::kOptimizerB.hi), domain::kOptimizerA.hi, std::log(domain::kOptimizerK.hi)}};

constexpr unsigned long kSeed = 20240611;
constexpr double kHuge = 1e300;

struct Problem {
    const AnalysisState* s = nullptr;
    Mod_Weib* M = nullptr;
    long evaluations = 0;
    double best = std::numeric_limits<double>::infinity();
    Point bestX{};
};

double evaluate(Problem& p, const double* x) {
    const double B = std::exp(x[0]);
    const double A = x[1];
    const double K = std::exp(x[2]);
    double f = Celev_Gen(*p.s, *p.M, A, B, K, p.s->Sred_Gar, p.s->SKO_Gar);
    ++p.evaluations;
    if (!std::isfinite(f)) f = kHuge;
    if (f < p.best) {
        p.best = f;
        p.bestX = {x[0], x[1], x[2]};
    }
    return f;
}

double objective(unsigned, const double* x, double*, void* data) {
    return evaluate(*static_cast<Problem*>(data), x);
}

// One NLopt run from x; every point it visits is recorded in p, whatever it returns.
void run(Problem& p, nlopt_algorithm alg, const Box& box, Point x, int maxeval, double xtolRel = 0,
         double ftolRel = 0) {
    nloptMinimise(alg, NloptBox{3, box.lo.data(), box.hi.data()}, x.data(), maxeval, objective, &p,
                  xtolRel, ftolRel);
}

} // namespace

FitOutcome fitWeibullFlow(const AnalysisState& s, int effort) {
    effort = std::max(1, effort);
    Mod_Weib M;
    M.resizeArrays(s.Hist.size());
    Problem p;
    p.s = &s;
    p.M = &M;
    nlopt_srand(kSeed);

    const Point mid{(kCreation.lo[0] + kCreation.hi[0]) / 2, 1.0, std::log(1.0)};
    // Global: a deterministic division of the creation ranges, then a seeded random
    // search over the wide box for the answers that lie outside them.
    run(p, NLOPT_GN_DIRECT_L, kCreation, mid, 6000 * effort);
    run(p, NLOPT_GN_CRS2_LM, kWide, p.bestX, 12000 * effort);
    // Local: alternate two methods from the best point until neither improves it.
    for (int round = 0; round < 6 * effort; ++round) {
        const double before = p.best;
        run(p, NLOPT_LN_BOBYQA, kWide, p.bestX, 4000 * effort, 1e-12, 1e-15);
        run(p, NLOPT_LN_NELDERMEAD, kWide, p.bestX, 4000 * effort, 1e-12, 1e-15);
        if (!(p.best < before)) break;
    }

    FitOutcome out;
    out.B = std::exp(p.bestX[0]);
    out.A = p.bestX[1];
    out.K = std::exp(p.bestX[2]);
    // The reported value is the objective of exactly the numbers written out.
    out.objective = Celev_Gen(s, M, out.A, out.B, out.K, s.Sred_Gar, s.SKO_Gar);
    out.evaluations = p.evaluations;
    return out;
}

} // namespace wf::optimizer
