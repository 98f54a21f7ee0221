#pragma once
// The local search of the likelihood over (ln A, ln B), shared by the fit and by every
// profile behind its likelihood-ratio bounds. K follows from a rule at each point: the
// closed-form best K, a fixed K, or the K that holds a derived figure at a given value.

#include "core/parameter_domains.h"
#include "stats/mle_model.h"

namespace wf {

// The search range (domain::kMleA, kMleB, kMleK) on the log scale.
struct MleBox {
    double lo[2], hi[2]; // ln A, ln B
    double kLo, kHi;     // ln K
};
MleBox mleBox();

// How K is set at (ln A, ln B).
struct KRule {
    enum class Kind {
        Best,   // n / (Park I), the maximum over K, kept within its range
        Fixed,  // ln K = lnK
        Figure, // K * F(T; A, B) = C: ln K = lnC - ln F(e^lnT; A, B)
        Share,  // K * flowShare(A, B, mean, sd).I = C under a warranty law of its own
    };
    Kind kind = Kind::Best;
    double lnK = 0;
    double lnC = 0, lnT = 0;
    double mean = 0, sd = 0; // of Share
};

// l at one point with K by its rule, and its gradient and Hessian in (ln A, ln B) with K
// following the rule. A figure's K may lie outside K's range (kLimited says so); a point
// where the figure cannot be held at all is not feasible.
struct MlePoint {
    double x[2] = {0, 0};  // ln A, ln B
    double k = 0;          // ln K
    bool kLimited = false; // K held at an end of its range, or beyond it
    bool feasible = true;
    LogLikelihood l;
    double g[2] = {0, 0};
    double h[2][2] = {{0, 0}, {0, 0}};
    double score() const; // l, or minus infinity where not feasible or not finite
};

// Whether the point lies on an end of the range in ln A or ln B, or K is limited.
bool onRangeEnd(const MlePoint& p, const MleBox& box);

// The shape sums of the last shape asked for: a search that holds A reuses them.
class ShapeCache {
public:
    explicit ShapeCache(const MleSample& d)
        : d_(d) {}
    const ShapeSums& at(double A);

private:
    const MleSample& d_;
    ShapeSums sums_;
    bool filled_ = false;
};

MlePoint evaluatePoint(const MleSample& d, ShapeCache& cache, double a, double b, const KRule& rule,
                       const MleBox& box, double shareTol = kShareRelTol);

// Newton steps from `start` with a sufficient-increase line search inside the box, on the
// coordinates not held (held[0]: ln A, held[1]: ln B), until a step is below 1e-10.
struct MleSearch {
    MlePoint at;
    int iterations = 0;
    bool converged = false;
};
MleSearch maximise(const MleSample& d, ShapeCache& cache, const MlePoint& start, const KRule& rule,
                   const MleBox& box, const bool held[2]);

} // namespace wf
