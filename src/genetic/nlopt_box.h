#pragma once
// One NLopt run inside a box, shared by the companion optimizer and the genetic search's
// local refinement. Failures of NLopt only end the run early; the objective callback keeps
// track of the best point it saw.

#include <nlopt.h>

namespace wf {

struct NloptBox {
    unsigned n = 0;
    const double* lo = nullptr;
    const double* hi = nullptr;
};

// Minimises f from x (clamped into the box first) with at most maxeval evaluations; a
// tolerance of 0 is not set, nor is an initial step of 0.
void nloptMinimise(nlopt_algorithm alg, const NloptBox& box, double* x, int maxeval, nlopt_func f,
                   void* data, double xtolRel = 0, double ftolRel = 0, double initialStep = 0);

} // namespace wf
