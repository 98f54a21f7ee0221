#include "stats/mle_fit.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/evaluation.h"
#include "stats/mle_model.h"
#include "stats/mle_profile.h"
#include "stats/mle_search.h"
#include "stats/model_arrays.h"
#include "stats/model_figures.h"

#include <QStringList>

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
// An estimate this close to an end of its range (on the log scale) is on the bound.
constexpr double kAtLimit = 1e-9;
// Below this share of the flow seen within warranty, B and K slide together along a ridge.
constexpr double kRidgeShare = 0.5;

double clampTo(double v, double lo, double hi) {
    return std::min(hi, std::max(lo, v));
}

// The moments of ln t as for a complete Weibull sample.
void momentsGuess(const MleSample& d, double& a, double& b) {
    const double n = d.n();
    const double mean = d.sumLogTimes / n;
    double ss = 0;
    for (double y : d.logTimes) ss += (y - mean) * (y - mean);
    const double sd = n > 1 ? std::sqrt(ss / (n - 1)) : 0;
    const double A = sd > 0 ? std::numbers::pi / (std::sqrt(6.0) * sd) : domain::kMleA.hi;
    a = std::log(std::clamp(A, domain::kMleA.lo, domain::kMleA.hi));
    b = mean + std::numbers::egamma / std::exp(a);
}

// The load-time ln-ln line: slope A, and B where the line reaches the failure count (as if
// the flow were seen whole); without the line, the moments of ln t.
void startingGuess(const AnalysisState& s, const MleSample& d, double& a, double& b) {
    const double n = d.n();
    if (s.Line_Defined && std::isfinite(s.Naklon_LN) && s.Naklon_LN > 0 &&
        std::isfinite(s.Sdvig_LN)) {
        const double A = std::clamp(s.Naklon_LN, domain::kMleA.lo, domain::kMleA.hi);
        a = std::log(A);
        b = (std::log(n) - s.Sdvig_LN) / A;
    } else {
        momentsGuess(d, a, b);
    }
}

// The guess, then a coarse grid over the whole range; the best of them starts the search.
MlePoint globalStart(const MleSample& d, double a0, double b0, const MleBox& r, ShapeCache& cache) {
    const KRule best{};
    MlePoint top = evaluatePoint(d, cache, clampTo(a0, r.lo[0], r.hi[0]),
                                 clampTo(b0, r.lo[1], r.hi[1]), best, r);
    for (int i = 0; i < kGridA; ++i) {
        const double a = r.lo[0] + (r.hi[0] - r.lo[0]) * i / (kGridA - 1);
        for (int j = 0; j < kGridB; ++j) {
            const double b = r.lo[1] + (r.hi[1] - r.lo[1]) * j / (kGridB - 1);
            const MlePoint p = evaluatePoint(d, cache, a, b, best, r, kGridShareTol);
            if (p.score() > top.score()) top = p;
        }
    }
    return evaluatePoint(d, cache, top.x[0], top.x[1], best, r); // at full accuracy again
}

// Half-width on the log scale of the Wald bounds of a figure with this log-slope.
double waldHalfWidth(const std::array<double, 3>& slope, const Matrix3& cov, double z) {
    double var = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) var += slope[i] * cov[i][j] * slope[j];
    return var >= 0 && std::isfinite(var) ? z * std::sqrt(var) : 0.0;
}

// The figures of the results table with their log-slopes at the estimate.
struct TableFigure {
    MleEstimate MleResult::*field;
    MleFigure figure;
};
constexpr TableFigure kTableFigures[] = {
    {&MleResult::A, {MleFigure::Kind::A, 0}},
    {&MleResult::B, {MleFigure::Kind::B, 0}},
    {&MleResult::K, {MleFigure::Kind::K, 0}},
    {&MleResult::gamma50, {MleFigure::Kind::Life, 0.5}},
    {&MleResult::gamma90, {MleFigure::Kind::Life, 0.1}},
    {&MleResult::perProduct2000, {MleFigure::Kind::PerProduct, 2000}},
    {&MleResult::perProduct4000, {MleFigure::Kind::PerProduct, 4000}},
};

std::array<double, 3> logSlope(const MleFigure& f, double A, double B, double K) {
    switch (f.kind) {
    case MleFigure::Kind::A:
        return {1, 0, 0};
    case MleFigure::Kind::B:
        return {0, 1, 0};
    case MleFigure::Kind::K:
        return {0, 0, 1};
    case MleFigure::Kind::Life:
        return gammaLifeLogSlope(A, B, K, f.at);
    case MleFigure::Kind::PerProduct:
        return failuresPerProductLogSlope(A, B, K, f.at);
    case MleFigure::Kind::PerProductWarranty: {
        const WarrantyShare w = flowShare(A, B, f.at, f.sd);
        return {w.dA / w.I, w.dB / w.I, 1};
    }
    }
    return {0, 0, 0};
}

// What an open side of A, B or K says about the data, one line each.
QStringList openSideNotes(const MleResult& r, double seenShare) {
    QStringList notes;
    const struct {
        const char* name;
        const MleEstimate* e;
        int decimals;
    } params[] = {{"A", &r.A, 2}, {"B", &r.B, 0}, {"K", &r.K, 3}};
    for (const auto& p : params) {
        const ConfidenceBounds& b = p.e->bounds;
        const QString name = QString::fromLatin1(p.name);
        const QString lo = fmt::fixed(b.lo, 0, p.decimals), hi = fmt::fixed(b.hi, 0, p.decimals);
        if (b.loOpen && b.hiOpen)
            notes << msg::mleNotBounded(name);
        else if (b.hiOpen && name != QLatin1String("A") && seenShare < kRidgeShare)
            notes << msg::mleOnlyLowerOnRidge(name, lo);
        else if (b.hiOpen)
            notes << msg::mleOnlyLower(name, lo);
        else if (b.loOpen)
            notes << msg::mleOnlyUpper(name, hi);
    }
    return notes;
}

// Why a sample cannot be fitted at all, or empty.
QString refusal(const MleSample& d, const MleSettings& set) {
    QString why;
    if (!set.valid(&why)) return why;
    if (!(d.park > 0) || !std::isfinite(d.park)) return msg::fleetSizeNotPositive;
    if (d.n() == 0) return msg::noFailuresToFit;
    return {};
}

MleResult fitFrom(const MleSample& d, double a0, double b0, const MleSettings& set,
                  const std::vector<MleFigure>& extra, std::vector<MleEstimate>* extraOut) {
    MleResult res;
    res.confidence = set.confidence;
    res.method = set.method;
    res.Sred = d.mean;
    res.SKO = d.sd;
    res.failures = d.n();
    if (extraOut) extraOut->assign(extra.size(), MleEstimate{});
    res.message = refusal(d, set);
    if (!res.message.isEmpty()) return res;
    const MleBox r = mleBox();
    ShapeCache cache(d);
    const bool noneHeld[2] = {false, false};
    const MleSearch fit =
        maximise(d, cache, globalStart(d, a0, b0, r, cache), KRule{}, r, noneHeld);
    const MlePoint& x = fit.at;
    res.iterations = fit.iterations;
    res.converged = fit.converged;

    res.end = {};
    res.z = twoSidedZ(set.confidence);
    res.logLikelihood = x.l.value;
    res.gradient = x.l.grad;
    // An estimate held at a bound is reported as that bound exactly.
    auto value = [](double v, double lnLo, double lnHi, double lo, double hi) {
        return v <= lnLo ? lo : v >= lnHi ? hi : std::exp(v);
    };
    const double A = value(x.x[0], r.lo[0], r.hi[0], domain::kMleA.lo, domain::kMleA.hi);
    const double B = value(x.x[1], r.lo[1], r.hi[1], domain::kMleB.lo, domain::kMleB.hi);
    const double K = value(x.k, r.kLo, r.kHi, domain::kMleK.lo, domain::kMleK.hi);
    const bool onA = x.x[0] <= r.lo[0] + kAtLimit || x.x[0] >= r.hi[0] - kAtLimit;
    const bool onB = x.x[1] <= r.lo[1] + kAtLimit || x.x[1] >= r.hi[1] - kAtLimit;
    const QString onLimit = onA          ? QStringLiteral("A")
                            : onB        ? QStringLiteral("B")
                            : x.kLimited ? QStringLiteral("K")
                                         : QString();

    Matrix3 info{}, cov{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) info[i][j] = -x.l.hess[i][j];
    const bool invertible = invertInformation(info, cov);
    for (const TableFigure& t : kTableFigures)
        (res.*t.field).value = figureValue(t.figure, A, B, K);
    for (std::size_t i = 0; extraOut && i < extra.size(); ++i)
        (*extraOut)[i].value = figureValue(extra[i], A, B, K);

    if (!res.converged) {
        res.message = msg::mleNotConverged;
        return res;
    }
    if (set.method == BoundsMethod::Wald) {
        const Matrix3* c = nullptr;
        if (!onLimit.isEmpty())
            res.message = msg::mleAtSearchLimit(onLimit);
        else if (!invertible)
            res.message = msg::mleNotSeparable;
        else
            c = &cov;
        for (const TableFigure& t : kTableFigures) {
            MleEstimate& e = res.*t.field;
            const std::array<double, 3> slope = logSlope(t.figure, A, B, K);
            if (c && std::isfinite(slope[0]) && std::isfinite(slope[1]) && std::isfinite(slope[2]))
                e.bounds = logScaleBounds(e.value, slope, *c, res.z);
        }
        for (std::size_t i = 0; c && extraOut && i < extra.size(); ++i) {
            MleEstimate& e = (*extraOut)[i];
            const std::array<double, 3> slope = logSlope(extra[i], A, B, K);
            if (std::isfinite(slope[0]) && std::isfinite(slope[1]) && std::isfinite(slope[2]))
                e.bounds = logScaleBounds(e.value, slope, *c, res.z);
        }
        return res;
    }

    const ProfileContext c{d, x, x.l.value, chiSquareQuantile(set.confidence, 1), r};
    for (const TableFigure& t : kTableFigures) {
        if (!set.lifeBounds && t.figure.kind == MleFigure::Kind::Life) continue;
        MleEstimate& e = res.*t.field;
        const double step =
            invertible ? waldHalfWidth(logSlope(t.figure, A, B, K), cov, res.z) : 0.0;
        e.bounds = profileBounds(c, cache, t.figure, step);
    }
    for (std::size_t i = 0; extraOut && i < extra.size(); ++i) {
        const double step =
            invertible ? waldHalfWidth(logSlope(extra[i], A, B, K), cov, res.z) : 0.0;
        (*extraOut)[i].bounds = profileBounds(c, cache, extra[i], step);
    }
    QStringList notes;
    if (!onLimit.isEmpty()) notes << msg::mleEstimateOnLimit(onLimit);
    const double seen = flowShare(A, B, d.mean, d.sd).I;
    notes << openSideNotes(res, seen);
    res.message = notes.join(QLatin1Char('\n'));
    return res;
}

} // namespace

MleResult fitMle(const AnalysisState& s, const MleSettings& set) {
    const MleSample d = mleSample(s);
    double a0 = 0, b0 = 0;
    if (d.n() > 0) startingGuess(s, d, a0, b0);
    return fitFrom(d, a0, b0, set, {}, nullptr);
}

MleResult fitMle(const MleSample& d, const MleSettings& set, const std::vector<MleFigure>& extra,
                 std::vector<MleEstimate>* extraOut) {
    double a0 = 0, b0 = 0;
    if (d.n() > 0) momentsGuess(d, a0, b0);
    return fitFrom(d, a0, b0, set, extra, extraOut);
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
    d.method = r.method;
    d.message = r.message;
    return true;
}

} // namespace wf
