#pragma once
// Likelihood-ratio (profile) bounds: the values g of a figure with
//   2 (l_hat - max{l(theta) : figure(theta) = g}) <= q,
// q the chi-square quantile with one degree of freedom. K is held by the figure where it can
// be (K = C / F(T; A, B)), so each profile is a maximum over A and B at most.

#include "analysis/state.h"
#include "stats/mle_search.h"

namespace wf {

// A figure of the model, on the scale the results table shows it.
struct MleFigure {
    enum class Kind {
        A,
        B,
        K,
        PerProduct, // expected failures per product by `at` hours, K F(at)
        Life,       // hours by which K F(t) reaches the share `at` ("Гамма 50%": 0.5)
        // Expected failures per product within a warranty law (mean `at`, SD `sd`, h): K times
        // the likelihood's own share of the flow seen from 1 h before exit, flowShare.
        PerProductWarranty,
    };
    Kind kind = Kind::A;
    double at = 0;
    double sd = 0; // of PerProductWarranty only
};

// The figure's value at A, B, K, as the results table computes it.
double figureValue(const MleFigure& f, double A, double B, double K);

// What every profile of one fit shares: the sample, the estimate and the threshold.
struct ProfileContext {
    const MleSample& d;
    MlePoint estimate; // the fit's point, K by its closed form
    double lHat = 0;   // l at the estimate
    double q = 0;      // threshold of 2 (l_hat - profile)
    MleBox box = mleBox();
    // A root is taken when its deficit is this close to the threshold: 1e-10 for the
    // table's figures; a drawn band needs far less.
    double deficitTol = 1e-10;
};

// The profile at ln g: l maximised with the figure held at g, its slope d/d ln g, and
// where the maximum lies (a warm start for the next value). `warm` starts the search.
struct ProfileValue {
    double value = 0;
    double slope = 0;
    MlePoint at;
    bool feasible = false;
};
ProfileValue profileAt(const ProfileContext& c, ShapeCache& cache, const MleFigure& f, double x,
                       const MlePoint& warm);

// Where a side's root is expected (ln g) and the profile's maximum there: a search that
// starts beside its root needs a Newton step or two instead of a bracket from the estimate.
struct SideHint {
    bool known = false;
    double x = 0;
    MlePoint at;
};
struct SideHints {
    SideHint lo, hi;
};

// Each side found by bracketing and a safeguarded Newton root search on ln g to 1e-9; a
// side where the profile stays within the threshold to the end of the search range is open.
// `step` is a first step on the log scale (a Wald half-width when known), 0 for a default.
// With `hints`, the search starts at the known sides, and the roots found are written back.
ConfidenceBounds profileBounds(const ProfileContext& c, ShapeCache& cache, const MleFigure& f,
                               double step = 0, SideHints* hints = nullptr);

// The chi-square quantile with `dof` degrees of freedom (1 to 3) at probability p.
double chiSquareQuantile(double p, int dof);

} // namespace wf
