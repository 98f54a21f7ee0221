#include "stats/mle_bounds.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace wf {

double normalQuantile(double p) {
    if (!(p > 0 && p < 1)) return std::numeric_limits<double>::quiet_NaN();
    // A rational first guess (relative error below 1.2e-9), then one Halley step on the
    // exact distribution function.
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,
                                   -2.759285104469687e+02, 1.383577518672690e+02,
                                   -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02,
                                   -1.556989798598866e+02, 6.680131188771972e+01,
                                   -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01,
                                   -2.400758277161838e+00, -2.549732539343734e+00,
                                   4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01,
                                   2.445134137142996e+00, 3.754408661907416e+00};
    constexpr double pLow = 0.02425;
    double x;
    if (p < pLow || p > 1 - pLow) {
        const double q = std::sqrt(-2 * std::log(p < pLow ? p : 1 - p));
        x = (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
            ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
        if (p > pLow) x = -x;
    } else {
        const double q = p - 0.5;
        const double r = q * q;
        x = (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
            (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
    }
    const double e = 0.5 * std::erfc(-x / std::sqrt(2.0)) - p;
    const double u = e * std::sqrt(2 * std::numbers::pi) * std::exp(0.5 * x * x);
    return x - u / (1 + 0.5 * x * u);
}

double twoSidedZ(double confidence) {
    return -normalQuantile(0.5 * (1 - confidence));
}

bool invertInformation(const Matrix3& info, Matrix3& cov) {
    // Cholesky of the correlation form R = S J S, S = diag(J)^-1/2: its pivots do not depend
    // on the parameters' scales, so one threshold tells a ridge in any direction.
    double s[3];
    for (int i = 0; i < 3; ++i) {
        if (!(info[i][i] > 0) || !std::isfinite(info[i][i])) return false;
        s[i] = 1 / std::sqrt(info[i][i]);
    }
    double L[3][3] = {};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j <= i; ++j) {
            double v = info[i][j] * s[i] * s[j];
            for (int k = 0; k < j; ++k) v -= L[i][k] * L[j][k];
            if (i == j) {
                if (!(v > kSingularPivot)) return false;
                L[i][i] = std::sqrt(v);
            } else {
                L[i][j] = v / L[j][j];
            }
        }
    }
    // R^-1 = L^-T L^-1, then cov = S R^-1 S.
    double Li[3][3] = {};
    for (int i = 0; i < 3; ++i) {
        Li[i][i] = 1 / L[i][i];
        for (int j = 0; j < i; ++j) {
            double v = 0;
            for (int k = j; k < i; ++k) v -= L[i][k] * Li[k][j];
            Li[i][j] = v / L[i][i];
        }
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double v = 0;
            for (int k = 0; k < 3; ++k) v += Li[k][i] * Li[k][j];
            cov[i][j] = v * s[i] * s[j];
        }
    return true;
}

MleBounds logScaleBounds(double value, const std::array<double, 3>& logSlope, const Matrix3& cov,
                         double z) {
    MleBounds r;
    if (!(value > 0) || !std::isfinite(value)) return r;
    double var = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) var += logSlope[i] * cov[i][j] * logSlope[j];
    if (!(var >= 0) || !std::isfinite(var)) return r;
    const double h = z * std::sqrt(var);
    r.lo = value * std::exp(-h);
    r.hi = value * std::exp(h);
    r.defined = std::isfinite(r.lo) && std::isfinite(r.hi);
    return r;
}

} // namespace wf
