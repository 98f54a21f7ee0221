#include "genetic/nlopt_box.h"

#include <algorithm>
#include <vector>

namespace wf {

void nloptMinimise(nlopt_algorithm alg, const NloptBox& box, double* x, int maxeval, nlopt_func f,
                   void* data, double xtolRel, double ftolRel, double initialStep) {
    if (maxeval <= 0) return;
    nlopt_opt opt = nlopt_create(alg, box.n);
    if (!opt) return;
    nlopt_set_lower_bounds(opt, box.lo);
    nlopt_set_upper_bounds(opt, box.hi);
    nlopt_set_min_objective(opt, f, data);
    nlopt_set_maxeval(opt, maxeval);
    if (xtolRel > 0) nlopt_set_xtol_rel(opt, xtolRel);
    if (ftolRel > 0) nlopt_set_ftol_rel(opt, ftolRel);
    if (initialStep > 0) nlopt_set_initial_step1(opt, initialStep);
    for (unsigned i = 0; i < box.n; ++i) x[i] = std::clamp(x[i], box.lo[i], box.hi[i]);
    double value = 0;
    nlopt_optimize(opt, x, &value);
    nlopt_destroy(opt);
}

} // namespace wf
