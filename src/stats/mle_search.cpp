#include "stats/mle_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wf {

namespace {

constexpr int kMaxIterations = 100;
// A Newton step this small in ln A and ln B ends the search (after it is taken).
constexpr double kStepDone = 1e-10;
// Below this step a failed sufficient-increase test is rounding in l, not a bad direction.
constexpr double kRoundingStep = 1e-7;
// No step moves ln A or ln B by more than this.
constexpr double kMaxStep = 1.0;
// A coordinate this close to an end of its range (on the log scale) is on the bound.
constexpr double kAtLimit = 1e-9;

double clampTo(double v, double lo, double hi) {
    return std::min(hi, std::max(lo, v));
}

// Ascent direction on the coordinates neither held nor pressed against a bound: Newton's
// along each eigenvector of the negative Hessian with positive curvature, a full step uphill
// along one without (where l is flat or convex, as on a ridge between B and K).
void newtonDirection(const MlePoint& p, const MleBox& r, const bool held[2], double dir[2]) {
    bool free[2];
    for (int j = 0; j < 2; ++j) {
        const bool atLo = p.x[j] <= r.lo[j] + kAtLimit && p.g[j] < 0;
        const bool atHi = p.x[j] >= r.hi[j] - kAtLimit && p.g[j] > 0;
        free[j] = !held[j] && !(atLo || atHi);
        dir[j] = 0;
    }
    auto along = [](double curvature, double slope) {
        if (curvature > 0) return slope / curvature;
        return slope == 0 ? 0.0 : std::copysign(kMaxStep, slope);
    };
    const double m00 = -p.h[0][0], m01 = -p.h[0][1], m11 = -p.h[1][1];
    if (free[0] && free[1]) {
        const double rad = std::hypot(m00 - m11, 2 * m01);
        const double l1 = 0.5 * (m00 + m11 + rad), l2 = 0.5 * (m00 + m11 - rad);
        // Eigenvector of l1 from the better conditioned row of M - l1 I.
        double v[2] = {1, 0};
        if (rad > 0) {
            const double ax = m01, ay = l1 - m00, bx = l1 - m11, by = m01;
            const bool first = std::hypot(ax, ay) >= std::hypot(bx, by);
            v[0] = first ? ax : bx;
            v[1] = first ? ay : by;
            const double norm = std::hypot(v[0], v[1]);
            v[0] /= norm;
            v[1] /= norm;
        }
        const double c1 = along(l1, v[0] * p.g[0] + v[1] * p.g[1]);
        const double c2 = along(l2, -v[1] * p.g[0] + v[0] * p.g[1]);
        dir[0] = c1 * v[0] - c2 * v[1];
        dir[1] = c1 * v[1] + c2 * v[0];
        return;
    }
    for (int j = 0; j < 2; ++j)
        if (free[j]) dir[j] = along(j == 0 ? m00 : m11, p.g[j]);
}

} // namespace

MleBox mleBox() {
    return {{std::log(domain::kMleA.lo), std::log(domain::kMleB.lo)},
            {std::log(domain::kMleA.hi), std::log(domain::kMleB.hi)},
            std::log(domain::kMleK.lo),
            std::log(domain::kMleK.hi)};
}

bool onRangeEnd(const MlePoint& p, const MleBox& box) {
    for (int j = 0; j < 2; ++j)
        if (p.x[j] <= box.lo[j] + kAtLimit || p.x[j] >= box.hi[j] - kAtLimit) return true;
    return p.kLimited;
}

double MlePoint::score() const {
    return feasible && std::isfinite(l.value) ? l.value : -std::numeric_limits<double>::infinity();
}

const ShapeSums& ShapeCache::at(double A) {
    if (!filled_ || sums_.A != A) {
        sums_ = shapeSums(d_, A);
        filled_ = true;
    }
    return sums_;
}

MlePoint evaluatePoint(const MleSample& d, ShapeCache& cache, double a, double b, const KRule& rule,
                       const MleBox& box, double shareTol) {
    MlePoint p;
    p.x[0] = a;
    p.x[1] = b;
    const ShapeSums& sums = cache.at(std::exp(a));
    const WarrantyShare sh = flowShare(sums.A, std::exp(b), d.mean, d.sd, shareTol);
    // ln K and its derivatives in (ln A, ln B) under the rule.
    double k = 0, ka = 0, kb = 0, kaa = 0, kab = 0, kbb = 0;
    switch (rule.kind) {
    case KRule::Kind::Best:
        k = sh.I > 0 ? std::log(d.n() / (d.park * sh.I)) : box.kHi;
        if (!(k > box.kLo)) {
            k = box.kLo;
            p.kLimited = true;
        } else if (k >= box.kHi) {
            k = box.kHi;
            p.kLimited = true;
        }
        break;
    case KRule::Kind::Fixed:
        k = rule.lnK;
        break;
    case KRule::Kind::Figure:
    case KRule::Kind::Share: {
        std::array<double, 6> t;
        if (rule.kind == KRule::Kind::Figure) {
            t = weibullCdfTerms(sums.A, b, rule.lnT);
        } else {
            // The sample's own law needs no second integral.
            const WarrantyShare o =
                rule.mean == d.mean && rule.sd == d.sd
                    ? sh
                    : flowShare(sums.A, std::exp(b), rule.mean, rule.sd, shareTol);
            t = {o.I, o.dA, o.dB, o.dAA, o.dAB, o.dBB};
        }
        const double W = t[0];
        if (!(W > 0)) {
            p.feasible = false;
            p.k = std::numeric_limits<double>::infinity();
            return p;
        }
        const double ua = t[1] / W, ub = t[2] / W;
        k = rule.lnC - std::log(W);
        ka = -ua;
        kb = -ub;
        kaa = -(t[3] / W - ua * ua);
        kab = -(t[4] / W - ua * ub);
        kbb = -(t[5] / W - ub * ub);
        // K may leave its range here: a figure held along the ridge of B and K would
        // otherwise meet a wall the search cannot slide along. The point says it did.
        p.kLimited = k < box.kLo || k > box.kHi;
        break;
    }
    }
    p.k = k;
    p.l = logLikelihood(d, sums, b, k, sh);
    const LogLikelihood& l = p.l;
    if (rule.kind == KRule::Kind::Figure || rule.kind == KRule::Kind::Share) {
        // f(a, b) = l(a, b, k(a, b)) by the chain rule.
        const double kd[2] = {ka, kb};
        const double kdd[2][2] = {{kaa, kab}, {kab, kbb}};
        for (int i = 0; i < 2; ++i) {
            p.g[i] = l.grad[i] + l.grad[2] * kd[i];
            for (int j = 0; j < 2; ++j)
                p.h[i][j] = l.hess[i][j] + l.hess[i][2] * kd[j] + l.hess[j][2] * kd[i] +
                            l.hess[2][2] * kd[i] * kd[j] + l.grad[2] * kdd[i][j];
        }
        return p;
    }
    // With K at its best the profile's Hessian is the Schur complement of the ln K entry;
    // with K fixed or held at a bound, the block itself.
    const bool schur = rule.kind == KRule::Kind::Best && !p.kLimited;
    for (int i = 0; i < 2; ++i) {
        p.g[i] = l.grad[i];
        for (int j = 0; j < 2; ++j) {
            p.h[i][j] = l.hess[i][j];
            if (schur) p.h[i][j] -= l.hess[i][2] * l.hess[j][2] / l.hess[2][2];
        }
    }
    return p;
}

MleSearch maximise(const MleSample& d, ShapeCache& cache, const MlePoint& start, const KRule& rule,
                   const MleBox& r, const bool held[2]) {
    MleSearch s;
    MlePoint& x = s.at;
    x = start;
    auto at = [&](double a, double b) { return evaluatePoint(d, cache, a, b, rule, r); };
    for (s.iterations = 0; s.iterations < kMaxIterations; ++s.iterations) {
        double dir[2];
        newtonDirection(x, r, held, dir);
        const double len = std::max(std::fabs(dir[0]), std::fabs(dir[1]));
        if (!std::isfinite(len)) return s;
        if (len > kMaxStep) {
            dir[0] *= kMaxStep / len;
            dir[1] *= kMaxStep / len;
        }
        if (len < kStepDone) { // quadratic region: the last step is taken as it is
            const MlePoint y = at(clampTo(x.x[0] + dir[0], r.lo[0], r.hi[0]),
                                  clampTo(x.x[1] + dir[1], r.lo[1], r.hi[1]));
            if (y.score() >= x.score() - 1e-12 * (1 + std::fabs(x.score()))) x = y;
            s.converged = true;
            ++s.iterations;
            return s;
        }
        bool moved = false;
        for (double t = 1; t * len > 1e-15; t *= 0.5) {
            const double a = clampTo(x.x[0] + t * dir[0], r.lo[0], r.hi[0]);
            const double b = clampTo(x.x[1] + t * dir[1], r.lo[1], r.hi[1]);
            const double step = std::max(std::fabs(a - x.x[0]), std::fabs(b - x.x[1]));
            if (step == 0) break;
            const MlePoint y = at(a, b);
            const double gain = x.g[0] * (a - x.x[0]) + x.g[1] * (b - x.x[1]);
            const bool enough = y.score() >= x.score() + 1e-4 * gain;
            const bool rounding =
                step < kRoundingStep && y.score() >= x.score() - 1e-12 * (1 + std::fabs(x.score()));
            if (enough || rounding) {
                x = y;
                moved = true;
                break;
            }
        }
        if (!moved) {
            s.converged = len < kRoundingStep;
            return s;
        }
    }
    return s;
}

} // namespace wf
