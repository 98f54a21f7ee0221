#include "stats/mle_profile.h"

#include "stats/mle_bounds.h"
#include "stats/model_figures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wf {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// A first step on the log scale when no Wald width is known.
constexpr double kDefaultStep = 0.25;
// The root search ends when the deficit is close enough to the threshold, or the bracket
// this narrow on the log scale (relative 1e-12 in the figure).
constexpr double kBracketTol = 1e-12;
constexpr int kMaxRootSteps = 100;
constexpr int kMaxBracketSteps = 64;

// Where each figure is searched, on the log scale. The parameters keep the fit's range;
// failures per product reach at most the largest K; a life is searched from 0.01 h to
// 1e9 h, beyond any warranty.
void figureRange(const MleFigure& f, const MleBox& box, double& lo, double& hi) {
    switch (f.kind) {
    case MleFigure::Kind::A:
        lo = box.lo[0];
        hi = box.hi[0];
        return;
    case MleFigure::Kind::B:
        lo = box.lo[1];
        hi = box.hi[1];
        return;
    case MleFigure::Kind::K:
        lo = box.kLo;
        hi = box.kHi;
        return;
    case MleFigure::Kind::PerProduct:
    case MleFigure::Kind::PerProductWarranty:
        lo = std::log(1e-12);
        hi = box.kHi;
        return;
    case MleFigure::Kind::Life:
        lo = std::log(1e-2);
        hi = std::log(1e9);
        return;
    }
}

double deficit(const ProfileContext& c, const ProfileValue& v) {
    return v.feasible && std::isfinite(v.value) ? 2 * (c.lHat - v.value) - c.q : kInf;
}

struct SideEnd {
    bool open = false;
    double x = 0;
    MlePoint at; // where the profile's maximum lies at x
};

// Where the profile's maximum lay at the two newest feasible values: the next search
// starts on the line through them, so it begins a Newton step or two from its end.
class Trail {
public:
    explicit Trail(double x, const MlePoint& at) { push(x, at); }
    void push(double x, const MlePoint& at) {
        if (!at.feasible) return;
        prev_ = last_;
        last_ = {x, at};
        two_ = count_++ > 0 && prev_.x != last_.x;
    }
    const MlePoint& last() const { return last_.at; }
    MlePoint startFor(double x, const MleBox& box) const {
        MlePoint p = last_.at;
        if (!two_) return p;
        const double t = (x - last_.x) / (last_.x - prev_.x);
        for (int j = 0; j < 2; ++j)
            p.x[j] = std::clamp(last_.at.x[j] + t * (last_.at.x[j] - prev_.at.x[j]), box.lo[j],
                                box.hi[j]);
        return p;
    }

private:
    struct Known {
        double x = 0;
        MlePoint at;
    };
    Known last_, prev_;
    int count_ = 0;
    bool two_ = false;
};

// One side (dir +1 or -1) of the set where the deficit is at most 0, from x0 inside it.
SideEnd findSide(const ProfileContext& c, ShapeCache& cache, const MleFigure& f, double x0,
                 const MlePoint& in0, int dir, double step, double xEnd, const SideHint& hint) {
    if (dir * (xEnd - x0) <= 0) return {true, xEnd, {}};
    Trail trail(x0, in0);
    auto at = [&](double x) {
        const ProfileValue v = profileAt(c, cache, f, x, trail.startFor(x, c.box));
        trail.push(x, v.at);
        return v;
    };
    double xin = x0, hin = -c.q, sin = 0;
    double xout = 0, hout = kInf;
    bool bracketed = false;
    // A hinted root is tried first: inside, the bracket grows from it with a small step;
    // outside, it already closes the bracket and Newton starts from it.
    double base = x0;
    double xn = xin, hn = hin, sn = sin;
    if (hint.known && dir * (hint.x - x0) > 0 && dir * (xEnd - hint.x) > 0) {
        trail = Trail(hint.x, hint.at);
        const ProfileValue v = profileAt(c, cache, f, hint.x, hint.at);
        trail.push(hint.x, v.at);
        const double h = deficit(c, v);
        if (h > 0 && std::isfinite(h)) {
            xout = hint.x;
            hout = h;
            bracketed = true;
            xn = hint.x;
            hn = h;
            sn = v.slope;
        } else if (h <= 0) {
            base = xin = xn = hint.x;
            hin = hn = h;
            sin = sn = v.slope;
            // The deficit is convex along the side: a Newton step from inside lands just
            // past the root, so one probe usually closes the bracket.
            const double dx = sn != 0 && std::isfinite(sn) ? hn / (2 * sn) : 0;
            step = dir * dx > 0 ? 1.001 * dir * dx + 1e-9
                                : std::min(step, std::max(1e-3, 0.05 * std::fabs(hint.x - x0)));
        }
    }
    for (int i = 0; i < kMaxBracketSteps && !bracketed; ++i) {
        double xt = base + dir * step;
        if (dir * (xt - xEnd) >= 0) xt = xEnd;
        const ProfileValue v = at(xt);
        const double h = deficit(c, v);
        if (h > 0) {
            xout = xt;
            hout = h;
            bracketed = true;
        } else {
            xin = xn = xt;
            hin = hn = h;
            sin = sn = v.slope;
            if (xt == xEnd) return {true, xEnd, {}};
            step *= 2;
        }
    }
    if (!bracketed) return {true, xEnd, {}};
    if (hout <= c.deficitTol) return {false, xout, trail.last()};

    // Newton on the deficit (its slope is -2 times the profile's) from the newest point,
    // falling back on the bracket's secant, and on halving when the search is slow.
    double best = xin, bestAbs = std::fabs(hin);
    MlePoint bestAt;
    double width = std::fabs(xout - xin);
    int slow = 0;
    for (int i = 0; i < kMaxRootSteps; ++i) {
        const double lo = std::min(xin, xout), hi = std::max(xin, xout);
        double x = std::numeric_limits<double>::quiet_NaN();
        if (slow < 2 && sn != 0 && std::isfinite(sn)) x = xn + hn / (2 * sn);
        if (!(x > lo && x < hi) && slow < 2 && std::isfinite(hout))
            x = xin + (xout - xin) * (-hin) / (hout - hin);
        if (!(x > lo && x < hi)) {
            x = 0.5 * (lo + hi);
            slow = 0;
        }
        const ProfileValue v = at(x);
        const double h = deficit(c, v);
        if (h > 0) {
            xout = x;
            hout = h;
        } else {
            xin = x;
            hin = h;
        }
        // Newton from one side converges without halving the bracket: a step is slow only
        // when it neither halves the bracket nor the deficit.
        const bool halvedDeficit = std::fabs(h) <= 0.5 * std::fabs(hn);
        xn = x;
        hn = h;
        sn = v.slope;
        if (std::fabs(h) < bestAbs) {
            best = x;
            bestAbs = std::fabs(h);
            bestAt = v.at;
        }
        const double w = std::fabs(xout - xin);
        slow = w > 0.5 * width && !halvedDeficit ? slow + 1 : 0;
        width = std::min(width, w);
        if (bestAbs <= c.deficitTol || w <= kBracketTol * (1 + std::fabs(x))) break;
    }
    return {false, best, bestAt};
}

} // namespace

double figureValue(const MleFigure& f, double A, double B, double K) {
    switch (f.kind) {
    case MleFigure::Kind::A:
        return A;
    case MleFigure::Kind::B:
        return B;
    case MleFigure::Kind::K:
        return K;
    case MleFigure::Kind::PerProduct:
        return failuresPerProduct(A, B, K, f.at);
    case MleFigure::Kind::Life:
        return gammaLife(A, B, K, f.at);
    case MleFigure::Kind::PerProductWarranty:
        return K * flowShare(A, B, f.at, f.sd).I;
    }
    return 0;
}

ProfileValue profileAt(const ProfileContext& c, ShapeCache& cache, const MleFigure& f, double x,
                       const MlePoint& warm) {
    KRule rule;
    bool held[2] = {false, false};
    double a = warm.x[0], b = warm.x[1];
    switch (f.kind) {
    case MleFigure::Kind::A:
        held[0] = true;
        a = x;
        break;
    case MleFigure::Kind::B:
        held[1] = true;
        b = x;
        break;
    case MleFigure::Kind::K:
        rule.kind = KRule::Kind::Fixed;
        rule.lnK = x;
        break;
    case MleFigure::Kind::PerProduct:
        rule.kind = KRule::Kind::Figure;
        rule.lnC = x;
        rule.lnT = std::log(f.at);
        break;
    case MleFigure::Kind::Life:
        rule.kind = KRule::Kind::Figure;
        rule.lnC = std::log(f.at);
        rule.lnT = x;
        break;
    case MleFigure::Kind::PerProductWarranty:
        rule.kind = KRule::Kind::Share;
        rule.lnC = x;
        rule.mean = f.at;
        rule.sd = f.sd;
        break;
    }
    MlePoint start = evaluatePoint(c.d, cache, a, b, rule, c.box);
    // F(T) may vanish at the warm start for a short T; a smaller B raises it.
    for (int i = 0; i < 60 && !start.feasible && b > c.box.lo[1]; ++i) {
        b = std::max(c.box.lo[1], b - 0.5);
        start = evaluatePoint(c.d, cache, a, b, rule, c.box);
    }
    const MleSearch s = maximise(c.d, cache, start, rule, c.box, held);
    ProfileValue v;
    v.at = s.at;
    v.feasible = s.at.feasible;
    v.value = s.at.score();
    const LogLikelihood& l = s.at.l;
    switch (f.kind) {
    case MleFigure::Kind::A:
        v.slope = s.at.g[0];
        break;
    case MleFigure::Kind::B:
        v.slope = s.at.g[1];
        break;
    case MleFigure::Kind::K:
    case MleFigure::Kind::PerProduct:
    case MleFigure::Kind::PerProductWarranty:
        v.slope = l.grad[2];
        break;
    case MleFigure::Kind::Life: {
        // ln K = ln share - ln F(e^x): d ln K / dx = -(dF / d ln t) / F = (dF / d ln B) / F.
        const std::array<double, 6> t = weibullCdfTerms(std::exp(s.at.x[0]), s.at.x[1], x);
        v.slope = t[0] > 0 ? l.grad[2] * t[2] / t[0] : 0;
        break;
    }
    }
    return v;
}

ConfidenceBounds profileBounds(const ProfileContext& c, ShapeCache& cache, const MleFigure& f,
                               double step, SideHints* hints) {
    ConfidenceBounds r;
    double xLo = 0, xHi = 0;
    figureRange(f, c.box, xLo, xHi);
    if (!(step > 0) || !std::isfinite(step)) step = kDefaultStep;
    const double A = std::exp(c.estimate.x[0]), B = std::exp(c.estimate.x[1]);
    const double K = std::exp(c.estimate.k);
    double x0;
    MlePoint in0 = c.estimate;
    if (f.kind == MleFigure::Kind::Life && K <= f.at) {
        // The estimate never reaches the share: the life is unbounded above, and bounded
        // below only where the data allow reaching it at all.
        const ProfileValue top = profileAt(c, cache, f, xHi, c.estimate);
        r.defined = true;
        r.hiOpen = true;
        r.hi = kInf;
        if (!(deficit(c, top) <= 0)) {
            r.unreached = true;
            return r;
        }
        x0 = xHi;
        in0 = top.at;
    } else {
        x0 = std::clamp(std::log(figureValue(f, A, B, K)), xLo, xHi);
    }
    // A side whose profile, unlike the estimate, had to stop at an end of the search range
    // owes its limit to that range rather than to the data: it is open.
    const bool free = !onRangeEnd(c.estimate, c.box);
    auto open = [&](const SideEnd& e) { return e.open || (free && onRangeEnd(e.at, c.box)); };
    const auto found = [](const SideEnd& e, bool isOpen) {
        return isOpen ? SideHint{} : SideHint{true, e.x, e.at};
    };
    const SideEnd lo =
        findSide(c, cache, f, x0, in0, -1, step, xLo, hints ? hints->lo : SideHint{});
    r.defined = true;
    r.loOpen = open(lo);
    r.lo = r.loOpen ? 0 : std::exp(lo.x);
    if (hints) hints->lo = found(lo, r.loOpen);
    if (!r.hiOpen) {
        const SideEnd hi =
            findSide(c, cache, f, x0, in0, +1, step, xHi, hints ? hints->hi : SideHint{});
        r.hiOpen = open(hi);
        r.hi = r.hiOpen ? kInf : std::exp(hi.x);
        if (hints) hints->hi = found(hi, r.hiOpen);
    } else if (hints) {
        hints->hi = {};
    }
    return r;
}

double chiSquareQuantile(double p, int dof) {
    if (!(p > 0 && p < 1)) return std::numeric_limits<double>::quiet_NaN();
    if (dof == 1) {
        const double z = twoSidedZ(p);
        return z * z;
    }
    if (dof == 2) return -2 * std::log1p(-p);
    // Three degrees: Newton on the upper tail erfc(sqrt(x/2)) + sqrt(2x/pi) e^{-x/2} from
    // the Wilson-Hilferty value; the tail is convex, so the steps approach from one side.
    const double z = normalQuantile(p);
    const double w = 1 - 2.0 / 27 + z * std::sqrt(2.0 / 27);
    double x = std::max(1e-3, 3 * w * w * w);
    const double target = 1 - p;
    for (int i = 0; i < 50; ++i) {
        const double tail =
            std::erfc(std::sqrt(x / 2)) + std::sqrt(2 * x / 3.141592653589793) * std::exp(-x / 2);
        const double density = std::sqrt(x) * std::exp(-x / 2) / 2.5066282746310002;
        const double dx = (tail - target) / density;
        x = std::max(0.5 * x, x + dx);
        if (std::fabs(dx) <= 1e-15 * x) break;
    }
    return x;
}

} // namespace wf
