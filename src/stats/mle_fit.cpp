#include "stats/mle_fit.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/evaluation.h"
#include "stats/mle_model.h"
#include "stats/model_arrays.h"
#include "stats/model_figures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace wf {

bool MleSettings::valid(QString* why) const {
    if (confidence > 0 && confidence < 1) return true;
    if (why) *why = msg::badConfidence(fmt::general(confidence));
    return false;
}

namespace {

// The coarse grid: steps of 0.75 in ln A and 1.5 in ln B, the share to 1e-7 (enough to rank
// grid points, which only choose where the search starts).
constexpr int kGridA = 9;
constexpr int kGridB = 12;
constexpr double kGridShareTol = 1e-7;
constexpr int kMaxIterations = 100;
// A Newton step this small in ln A and ln B ends the search (after it is taken).
constexpr double kStepDone = 1e-10;
// Below this step a failed sufficient-increase test is rounding in l, not a bad direction.
constexpr double kRoundingStep = 1e-7;
// No step moves ln A or ln B by more than this.
constexpr double kMaxStep = 1.0;
// An estimate this close to an end of its range (on the log scale) is on the bound.
constexpr double kAtLimit = 1e-9;

struct Range {
    double lo[2], hi[2]; // ln A, ln B
    double kLo, kHi;     // ln K
};

Range searchRange() {
    return {{std::log(kMleMinA), std::log(kMleMinB)},
            {std::log(kMleMaxA), std::log(kMleMaxB)},
            std::log(kMleMinK),
            std::log(kMleMaxK)};
}

// l maximised over ln K at (ln A, ln B), with its gradient and Hessian in (ln A, ln B).
struct Point {
    double x[2] = {0, 0};
    double k = 0;
    bool kLimited = false;
    LogLikelihood l;
    double g[2] = {0, 0};
    double h[2][2] = {{0, 0}, {0, 0}};
    double score() const {
        return std::isfinite(l.value) ? l.value : -std::numeric_limits<double>::infinity();
    }
};

// K = n / (Park I) sets d l / d ln K to 0; kept within its range. With K free the profile's
// Hessian is the Schur complement of the ln K entry; with K held at a bound, the block itself.
Point profile(const MleSample& d, const ShapeSums& sums, double a, double b, const Range& r,
              double shareTol = kShareRelTol) {
    Point p;
    p.x[0] = a;
    p.x[1] = b;
    const WarrantyShare sh = warrantyShare(sums.A, std::exp(b), d.mean, d.sd, shareTol);
    double k = sh.I > 0 ? std::log(d.n() / (d.park * sh.I)) : r.kHi;
    if (!(k > r.kLo)) {
        k = r.kLo;
        p.kLimited = true;
    } else if (k >= r.kHi) {
        k = r.kHi;
        p.kLimited = true;
    }
    p.k = k;
    p.l = logLikelihood(d, sums, b, k, sh);
    for (int i = 0; i < 2; ++i) {
        p.g[i] = p.l.grad[i];
        for (int j = 0; j < 2; ++j) {
            p.h[i][j] = p.l.hess[i][j];
            if (!p.kLimited) p.h[i][j] -= p.l.hess[i][2] * p.l.hess[j][2] / p.l.hess[2][2];
        }
    }
    return p;
}

Point profileAt(const MleSample& d, double a, double b, const Range& r) {
    return profile(d, shapeSums(d, std::exp(a)), a, b, r);
}

// Ascent direction on the coordinates not held at a bound: Newton's along each eigenvector
// of the negative Hessian with positive curvature, a full step uphill along one without
// (where l is flat or convex, as on a ridge between B and K).
void newtonDirection(const Point& p, const Range& r, double dir[2]) {
    bool free[2];
    for (int j = 0; j < 2; ++j) {
        const bool atLo = p.x[j] <= r.lo[j] + kAtLimit && p.g[j] < 0;
        const bool atHi = p.x[j] >= r.hi[j] - kAtLimit && p.g[j] > 0;
        free[j] = !(atLo || atHi);
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

double clampTo(double v, double lo, double hi) {
    return std::min(hi, std::max(lo, v));
}

// Newton steps with a sufficient-increase line search, kept inside the range.
Point localSearch(const MleSample& d, Point x, const Range& r, int& iterations, bool& converged) {
    converged = false;
    for (iterations = 0; iterations < kMaxIterations; ++iterations) {
        double dir[2];
        newtonDirection(x, r, dir);
        const double len = std::max(std::fabs(dir[0]), std::fabs(dir[1]));
        if (!std::isfinite(len)) return x;
        if (len > kMaxStep) {
            dir[0] *= kMaxStep / len;
            dir[1] *= kMaxStep / len;
        }
        if (len < kStepDone) { // quadratic region: the last step is taken as it is
            const Point y = profileAt(d, clampTo(x.x[0] + dir[0], r.lo[0], r.hi[0]),
                                      clampTo(x.x[1] + dir[1], r.lo[1], r.hi[1]), r);
            if (y.score() >= x.score() - 1e-12 * (1 + std::fabs(x.score()))) x = y;
            converged = true;
            ++iterations;
            return x;
        }
        bool moved = false;
        for (double t = 1; t * len > 1e-15; t *= 0.5) {
            const double a = clampTo(x.x[0] + t * dir[0], r.lo[0], r.hi[0]);
            const double b = clampTo(x.x[1] + t * dir[1], r.lo[1], r.hi[1]);
            const double step = std::max(std::fabs(a - x.x[0]), std::fabs(b - x.x[1]));
            if (step == 0) break;
            const Point y = profileAt(d, a, b, r);
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
            converged = len < kRoundingStep;
            return x;
        }
    }
    return x;
}

// The load-time ln-ln line: slope A, and B where the line reaches the failure count (as if
// the flow were seen whole); without the line, the moments of ln t.
void startingGuess(const AnalysisState& s, const MleSample& d, double& a, double& b) {
    const double n = d.n();
    if (s.Line_Defined && std::isfinite(s.Naklon_LN) && s.Naklon_LN > 0 &&
        std::isfinite(s.Sdvig_LN)) {
        const double A = std::clamp(s.Naklon_LN, kMleMinA, kMleMaxA);
        a = std::log(A);
        b = (std::log(n) - s.Sdvig_LN) / A;
    } else {
        const double mean = d.sumLogTimes / n;
        double ss = 0;
        for (double y : d.logTimes) ss += (y - mean) * (y - mean);
        const double sd = n > 1 ? std::sqrt(ss / (n - 1)) : 0;
        const double A = sd > 0 ? std::numbers::pi / (std::sqrt(6.0) * sd) : kMleMaxA;
        a = std::log(std::clamp(A, kMleMinA, kMleMaxA));
        b = mean + std::numbers::egamma / std::exp(a);
    }
}

// The guess, then a coarse grid over the whole range; the best of them starts the search.
Point globalStart(const AnalysisState& s, const MleSample& d, const Range& r) {
    double a0, b0;
    startingGuess(s, d, a0, b0);
    Point best = profileAt(d, clampTo(a0, r.lo[0], r.hi[0]), clampTo(b0, r.lo[1], r.hi[1]), r);
    for (int i = 0; i < kGridA; ++i) {
        const double a = r.lo[0] + (r.hi[0] - r.lo[0]) * i / (kGridA - 1);
        const ShapeSums sums = shapeSums(d, std::exp(a));
        for (int j = 0; j < kGridB; ++j) {
            const double b = r.lo[1] + (r.hi[1] - r.lo[1]) * j / (kGridB - 1);
            const Point p = profile(d, sums, a, b, r, kGridShareTol);
            if (p.score() > best.score()) best = p;
        }
    }
    return profileAt(d, best.x[0], best.x[1], r); // at full accuracy again
}

MleEstimate estimate(double value, const std::array<double, 3>& slope, const Matrix3* cov,
                     double z) {
    MleEstimate e;
    e.value = value;
    if (cov && std::isfinite(slope[0]) && std::isfinite(slope[1]) && std::isfinite(slope[2]))
        e.bounds = logScaleBounds(value, slope, *cov, z);
    return e;
}

} // namespace

MleResult fitMle(const AnalysisState& s, const MleSettings& set) {
    MleResult res;
    res.confidence = set.confidence;
    res.Sred = s.Sred_Gar;
    res.SKO = s.SKO_Gar;
    if (!set.valid(&res.message)) return res;
    if (!(s.Park > 0) || !std::isfinite(s.Park)) {
        res.message = msg::fleetSizeNotPositive;
        return res;
    }
    const MleSample d = mleSample(s);
    res.failures = d.n();
    if (d.n() == 0) {
        res.message = msg::noFailuresToFit;
        return res;
    }
    const Range r = searchRange();
    const Point x = localSearch(d, globalStart(s, d, r), r, res.iterations, res.converged);

    res.end = {};
    res.z = twoSidedZ(set.confidence);
    res.logLikelihood = x.l.value;
    res.gradient = x.l.grad;
    // An estimate held at a bound is reported as that bound exactly.
    auto value = [](double v, double lnLo, double lnHi, double lo, double hi) {
        return v <= lnLo ? lo : v >= lnHi ? hi : std::exp(v);
    };
    const double A = value(x.x[0], r.lo[0], r.hi[0], kMleMinA, kMleMaxA);
    const double B = value(x.x[1], r.lo[1], r.hi[1], kMleMinB, kMleMaxB);
    const double K = value(x.k, r.kLo, r.kHi, kMleMinK, kMleMaxK);

    Matrix3 info{}, cov{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) info[i][j] = -x.l.hess[i][j];
    const Matrix3* c = nullptr;
    if (!res.converged) {
        res.message = msg::mleNotConverged;
    } else if (x.x[0] <= r.lo[0] + kAtLimit || x.x[0] >= r.hi[0] - kAtLimit) {
        res.message = msg::mleAtSearchLimit(QStringLiteral("A"));
    } else if (x.x[1] <= r.lo[1] + kAtLimit || x.x[1] >= r.hi[1] - kAtLimit) {
        res.message = msg::mleAtSearchLimit(QStringLiteral("B"));
    } else if (x.kLimited) {
        res.message = msg::mleAtSearchLimit(QStringLiteral("K"));
    } else if (!invertInformation(info, cov)) {
        res.message = msg::mleNotSeparable;
    } else {
        c = &cov;
    }
    res.A = estimate(A, {1, 0, 0}, c, res.z);
    res.B = estimate(B, {0, 1, 0}, c, res.z);
    res.K = estimate(K, {0, 0, 1}, c, res.z);
    res.gamma50 = estimate(gammaLife(A, B, K, 0.5), gammaLifeLogSlope(A, B, K, 0.5), c, res.z);
    res.gamma90 = estimate(gammaLife(A, B, K, 0.1), gammaLifeLogSlope(A, B, K, 0.1), c, res.z);
    res.perProduct2000 = estimate(failuresPerProduct(A, B, K, 2000),
                                  failuresPerProductLogSlope(A, B, K, 2000), c, res.z);
    res.perProduct4000 = estimate(failuresPerProduct(A, B, K, 4000),
                                  failuresPerProductLogSlope(A, B, K, 4000), c, res.z);
    return res;
}

bool storeMle(AnalysisState& s, const MleResult& r) {
    if (!r.end.done()) return false;
    storeFittedModel(s, s.ModMLE, {r.A.value, r.B.value, r.K.value});
    LikelihoodDetail& d = s.ModMLE_Detail;
    d.logLikelihood = r.logLikelihood;
    d.confidence = r.confidence;
    d.A = r.A.bounds;
    d.B = r.B.bounds;
    d.K = r.K.bounds;
    d.gamma50 = r.gamma50.bounds;
    d.gamma90 = r.gamma90.bounds;
    d.perProduct2000 = r.perProduct2000.bounds;
    d.perProduct4000 = r.perProduct4000.bounds;
    d.message = r.message;
    return true;
}

} // namespace wf
