#include "stats/mle_model.h"

#include "core/distributions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wf {

namespace {

// Gauss-Kronrod 7/15 rule: Kronrod nodes (the odd ones are the Gauss nodes) and weights.
constexpr double kXgk[8] = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.0};
constexpr double kWgk[8] = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr double kWg[4] = {0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
                           0.381830050505118944950369775488975,
                           0.417959183673469387755102040816327};

constexpr double kSqrt2Pi = 2.5066282746310002;
// Beyond 38.5 SD the normal density is below 1e-320: no part of the integral lies there.
constexpr double kTail = 38.5;
constexpr int kMaxPanels = 400;
// The lower tail left out when integrating over ln t, relative to a lower bound of I.
constexpr double kCutShare = 1e-17;
// Where the Weibull distribution function turns (values of (t / B)^A): panel ends there keep
// a steep rise inside a wide normal law from slipping between the nodes.
constexpr double kShapeMarks[] = {1e-4, 0.1, 1, 10};
constexpr double kSdMarks[] = {-6, -2, 0, 2, 6};
constexpr int kMaxBreaks = 32;

using Terms = std::array<double, 6>;

// W = F(x; A, B) and its first and second derivatives in ln A and ln B, from ln x.
// With v = (x / B)^A and w = ln v: dv/dlnA = v w, dv/dlnB = -A v.
inline Terms weibullTerms(double A, double lnB, double lnx) {
    const double w = A * (lnx - lnB);
    Terms c{};
    if (w > 6.6) { // e^-v below 1e-319: W is 1 and every slope 0
        c[0] = 1;
        return c;
    }
    const double v = std::exp(w);
    double e, W; // e^-v and 1 - e^-v, each without cancellation
    if (v < 0.5) {
        const double em = std::expm1(-v);
        W = -em;
        e = 1 + em;
    } else {
        e = std::exp(-v);
        W = 1 - e;
    }
    const double ev = v * e;
    const double q = 1 + w - v * w;
    c[0] = W;
    c[1] = ev * w;
    c[2] = -A * ev;
    c[3] = ev * w * q;
    c[4] = -A * ev * q;
    c[5] = A * A * ev * (1 - v);
    return c;
}

// Integration by parts turns I into the mean of W over the normal law of warranty exit,
//   I = integral over x > 0 of W(x) phi((x - mean) / sd) / sd dx,
// so the parameters sit only in W, whose derivatives are exact and smooth.
// The variable is either the standard score z (normal law entirely above 0) or ln x (the law
// reaches 0, where W ~ x^A may be steep; in ln x it decays smoothly).
struct ScoreVariable {
    double mean, sd;
    double x(double u) const { return mean + sd * u; }
    double lnx(double, double x) const { return std::log(x); }
    double weight(double u, double) const { return std::exp(-0.5 * u * u) / kSqrt2Pi; }
};
struct LogVariable {
    double mean, sd;
    double x(double u) const { return std::exp(u); }
    double lnx(double u, double) const { return u; }
    double weight(double, double x) const {
        const double z = (x - mean) / sd;
        return std::exp(-0.5 * z * z) / (kSqrt2Pi * sd) * x;
    }
};

struct Panel {
    double lo = 0, hi = 0, err = 0;
    Terms q{};
};

template <class Var> Panel panel(double lo, double hi, const Var& var, double A, double lnB) {
    const double c = 0.5 * (lo + hi);
    const double h = 0.5 * (hi - lo);
    Terms k{};
    double g = 0;
    double f0[15]; // the value integrand at the nodes, for the error estimate
    double wk0[15];
    int nf = 0;
    auto add = [&](double u, double wk, double wg) {
        const double x = var.x(u);
        double f = 0;
        if (x > 0) {
            const double weight = var.weight(u, x);
            if (weight != 0) {
                const Terms t = weibullTerms(A, lnB, var.lnx(u, x));
                for (int j = 0; j < 6; ++j) k[j] += wk * weight * t[j];
                f = weight * t[0];
                g += wg * f;
            }
        }
        f0[nf] = f;
        wk0[nf++] = wk;
    };
    add(c, kWgk[7], kWg[3]);
    for (int j = 0; j < 7; ++j) {
        const double wg = (j % 2 == 1) ? kWg[j / 2] : 0.0;
        add(c - h * kXgk[j], kWgk[j], wg);
        add(c + h * kXgk[j], kWgk[j], wg);
    }
    Panel p;
    p.lo = lo;
    p.hi = hi;
    for (int j = 0; j < 6; ++j) p.q[j] = k[j] * h;
    // The usual Gauss-Kronrod estimate: the difference of the two rules, scaled by the
    // integrand's variation over the panel and raised to the power 1.5 (the Kronrod sum is
    // far more accurate than the Gauss one it is compared with), never below rounding.
    const double mean = 0.5 * k[0];
    double resasc = 0, resabs = 0;
    for (int i = 0; i < 15; ++i) {
        resasc += wk0[i] * std::fabs(f0[i] - mean);
        resabs += wk0[i] * std::fabs(f0[i]);
    }
    resasc *= std::fabs(h);
    resabs *= std::fabs(h);
    double err = std::fabs((k[0] - g) * h);
    if (resasc > 0 && err > 0) err = resasc * std::min(1.0, std::pow(200 * err / resasc, 1.5));
    p.err = std::max(err, 50 * std::numeric_limits<double>::epsilon() * resabs);
    return p;
}

// Adaptive Gauss-Kronrod over the panels between sorted breaks: the panel with the largest
// error estimate is halved until the estimates sum to relTol of I. Fixed storage.
template <class Var>
Terms integrate(const double* breaks, int nb, const Var& var, double A, double lnB, double relTol) {
    std::array<Panel, kMaxPanels> panels;
    int count = 0;
    double total = 0, err = 0;
    for (int i = 0; i + 1 < nb; ++i) {
        panels[count] = panel(breaks[i], breaks[i + 1], var, A, lnB);
        total += panels[count].q[0];
        err += panels[count].err;
        ++count;
    }
    while (count < kMaxPanels && err > relTol * std::fabs(total)) {
        int worst = 0;
        for (int i = 1; i < count; ++i)
            if (panels[i].err > panels[worst].err) worst = i;
        const Panel old = panels[worst];
        const double mid = 0.5 * (old.lo + old.hi);
        err -= old.err;
        if (!(mid > old.lo && mid < old.hi)) { // no room left to halve: keep it as it is
            panels[worst].err = 0;
            continue;
        }
        panels[worst] = panel(old.lo, mid, var, A, lnB);
        panels[count] = panel(mid, old.hi, var, A, lnB);
        total += panels[worst].q[0] + panels[count].q[0] - old.q[0];
        err += panels[worst].err + panels[count].err;
        ++count;
    }
    Terms sum{};
    for (int i = 0; i < count; ++i)
        for (int j = 0; j < 6; ++j) sum[j] += panels[i].q[j];
    return sum;
}

// Sorts the breaks, keeps those inside [lo, hi] and drops near-duplicates; returns the count.
int tidyBreaks(double* b, int n, double lo, double hi) {
    std::sort(b, b + n);
    const double gap = 1e-12 * (hi - lo);
    int m = 0;
    for (int i = 0; i < n; ++i) {
        if (b[i] < lo || b[i] > hi) continue;
        if (m > 0 && b[i] - b[m - 1] <= gap) continue;
        b[m++] = b[i];
    }
    return m;
}

Terms scoreIntegral(double A, double lnB, double mean, double sd, double relTol) {
    if (A * (std::log(mean - kTail * sd) - lnB) > 6.6) return {1, 0, 0, 0, 0, 0}; // W = 1 there
    double b[kMaxBreaks];
    int n = 0;
    b[n++] = -kTail;
    b[n++] = kTail;
    for (double k : kSdMarks) b[n++] = k;
    for (double v : kShapeMarks) b[n++] = (std::exp(lnB + std::log(v) / A) - mean) / sd;
    n = tidyBreaks(b, n, -kTail, kTail);
    return integrate(b, n, ScoreVariable{mean, sd}, A, lnB, relTol);
}

// Over x in (0, xEnd), xEnd at most the law's upper tail end.
Terms logIntegral(double A, double lnB, double mean, double sd, double relTol,
                  double xEnd = std::numeric_limits<double>::infinity()) {
    const double xHi = std::min(xEnd, mean + kTail * sd);
    if (!(xHi > 0)) return {};
    const double yHi = std::log(xHi);
    // Below the cut the integral holds less than kCutShare of a lower bound of I:
    // I >= W(xt) * P(exit >= xt), and the part below x is at most both W(x) and the normal
    // mass in (0, x), itself at most x / (sd sqrt(2 pi)).
    const double xt = mean > 0 ? mean : sd;
    const double lnStay = std::log(0.5 * std::erfc((xt - mean) / sd / std::sqrt(2.0)));
    const double wt = A * (std::log(xt) - lnB);
    const double lnW = wt < -30 ? wt : std::log(-std::expm1(-std::exp(wt)));
    double lnLow = lnW + lnStay;
    if (!(lnLow > -700)) lnLow = -700;
    const double lnCut = std::log(kCutShare) + lnLow;
    double yLo = std::max(lnB + lnCut / A, lnCut + std::log(sd * kSqrt2Pi));
    if (!(yLo < yHi)) yLo = yHi - 1;

    double b[kMaxBreaks];
    int n = 0;
    b[n++] = yLo;
    b[n++] = yHi;
    for (double k : kSdMarks)
        if (mean + k * sd > 0) b[n++] = std::log(mean + k * sd);
    for (double v : kShapeMarks) b[n++] = lnB + std::log(v) / A;
    n = tidyBreaks(b, n, yLo, yHi);
    return integrate(b, n, LogVariable{mean, sd}, A, lnB, relTol);
}

} // namespace

// The integral uses the exact normal law (std::erfc) rather than Norm_Raspr: the rational
// approximation takes 1 - Norm_Raspr as 1 - (1 - Erfc), which loses the law's upper tail
// to cancellation, and the share must keep its relative accuracy when warranty exit comes
// before most of the flow. In the sum over the failures the warranty factor depends on no
// parameter, so the program's own Norm_Raspr is kept there (see mleSample).
WarrantyShare warrantyShare(double A, double B, double mean, double sd, double relTol) {
    const double lnB = std::log(B);
    Terms c{};
    if (!(sd > 0)) {
        if (mean > 0) c = weibullTerms(A, lnB, std::log(mean));
    } else if (mean - kTail * sd > 0) {
        c = scoreIntegral(A, lnB, mean, sd, relTol);
    } else {
        c = logIntegral(A, lnB, mean, sd, relTol);
    }
    WarrantyShare r;
    r.I = c[0];
    r.dA = c[1];
    r.dB = c[2];
    r.dAA = c[3];
    r.dAB = c[4];
    r.dBB = c[5];
    return r;
}

WarrantyShare flowShare(double A, double B, double mean, double sd, double relTol) {
    // A fixed limit at or before the flow's start leaves nothing of it to be seen.
    if (!(sd > 0) && !(mean > kFlowStart)) return {};
    WarrantyShare r = warrantyShare(A, B, mean, sd, relTol);
    // The part of the flow before kFlowStart, integral of f (1 - Phi) over (0, 1), is by
    // parts W(1) P(exit > 1) plus the mean of W over exits in (0, 1); the latter only counts
    // when the law puts mass there.
    const double lnB = std::log(B);
    Terms c = weibullTerms(A, lnB, std::log(kFlowStart));
    double stay = 1, early = 0;
    if (sd > 0) {
        stay = 0.5 * std::erfc((kFlowStart - mean) / (sd * std::sqrt(2.0)));
        early = 0.5 * std::erfc(-mean / (sd * std::sqrt(2.0))) - stay; // P(0 < exit < 1)
    } else if (!(mean > kFlowStart)) {
        stay = 0;
    }
    for (double& v : c) v *= stay;
    if (early > 1e-13 * stay) {
        const Terms e = logIntegral(A, lnB, mean, sd, relTol, kFlowStart);
        for (int j = 0; j < 6; ++j) c[j] += e[j];
    }
    r.I -= c[0];
    r.dA -= c[1];
    r.dB -= c[2];
    r.dAA -= c[3];
    r.dAB -= c[4];
    r.dBB -= c[5];
    return r;
}

std::array<double, 6> weibullCdfTerms(double A, double lnB, double lnx) {
    return weibullTerms(A, lnB, lnx);
}

MleSample mleSample(const AnalysisState& s) {
    return mleSample(s, s.Sred_Gar, s.SKO_Gar);
}

MleSample mleSample(const AnalysisState& s, double mean, double sd) {
    std::vector<double> times;
    times.reserve(s.Otkazy.size());
    for (const Problems& p : s.Otkazy) times.push_back(p.time);
    return mleSample(times, s.Park, mean, sd);
}

MleSample mleSample(const std::vector<double>& times, double park, double mean, double sd) {
    MleSample d;
    d.park = park;
    d.mean = mean;
    d.sd = sd;
    d.logTimes.reserve(times.size());
    double maxY = -std::numeric_limits<double>::infinity();
    for (const double t : times) {
        if (!(t >= kFlowStart)) continue;
        const double y = std::log(t);
        d.logTimes.push_back(y);
        d.sumLogTimes += y;
        maxY = std::max(maxY, y);
        // A failure the warranty law leaves no chance keeps l finite at the program's floor.
        const double stay = 1 - Norm_Raspr(d.mean, d.sd, t);
        d.sumLogStay += std::log(std::max(stay, 1e-12));
    }
    d.maxLogTime = d.logTimes.empty() ? 0 : maxY;
    return d;
}

ShapeSums shapeSums(const MleSample& d, double A) {
    ShapeSums r;
    r.A = A;
    const double c = d.maxLogTime;
    for (double y : d.logTimes) {
        const double dy = y - c;
        const double e = std::exp(A * dy);
        r.s0 += e;
        r.s1 += e * dy;
        r.s2 += e * dy * dy;
    }
    return r;
}

LogLikelihood logLikelihood(const MleSample& d, const ShapeSums& sums, double lnB, double lnK,
                            const WarrantyShare& share) {
    const double A = sums.A;
    const double n = d.n();
    // Sums of v_i = (t_i / B)^A times 1, (ln t_i - ln B) and its square.
    const double D = d.maxLogTime - lnB;
    const double E = std::exp(A * D);
    const double sv = E * sums.s0;
    const double svy = E * (sums.s1 + D * sums.s0);
    const double svy2 = E * (sums.s2 + 2 * D * sums.s1 + D * D * sums.s0);
    const double sy = d.sumLogTimes - n * lnB;
    const double mu = d.park * std::exp(lnK); // failures of the whole flow
    const double seen = mu * share.I;

    LogLikelihood r;
    const double lnPark = n > 0 ? std::log(d.park) : 0.0;
    r.value = n * (lnPark + lnK + std::log(A)) + (A - 1) * d.sumLogTimes - A * n * lnB - sv +
              d.sumLogStay - seen;
    r.grad[0] = n + A * sy - A * svy - mu * share.dA;
    r.grad[1] = A * (sv - n) - mu * share.dB;
    r.grad[2] = n - seen;
    r.hess[0][0] = A * sy - A * A * svy2 - A * svy - mu * share.dAA;
    r.hess[0][1] = A * (sv - n) + A * A * svy - mu * share.dAB;
    r.hess[1][1] = -A * A * sv - mu * share.dBB;
    r.hess[0][2] = -mu * share.dA;
    r.hess[1][2] = -mu * share.dB;
    r.hess[2][2] = -seen;
    r.hess[1][0] = r.hess[0][1];
    r.hess[2][0] = r.hess[0][2];
    r.hess[2][1] = r.hess[1][2];
    return r;
}

LogLikelihood logLikelihood(const MleSample& d, double lnA, double lnB, double lnK) {
    const double A = std::exp(lnA);
    return logLikelihood(d, shapeSums(d, A), lnB, lnK, flowShare(A, std::exp(lnB), d.mean, d.sd));
}

} // namespace wf
