#include "stats/model_figures.h"

#include "core/distributions.h"

#include <cmath>

namespace wf {

double gammaLife(double A, double B, double K, double share) {
    return Weib_Kvantil(A, B, share / K);
}

double failuresPerProduct(double A, double B, double K, double t) {
    return K * Weib_Interv(A, B, 0, t);
}

std::array<double, 3> gammaLifeLogSlope(double A, double /*B*/, double K, double share) {
    // Q = B * L^(1/A), L = -ln(1 - p), p = share / K.
    const double p = share / K;
    const bool fixedP = p >= 1;
    const double pq = fixedP ? 0.999999 : p;
    const double L = -std::log1p(-pq);
    const double dK = fixedP ? 0.0 : -pq / ((1 - pq) * L * A);
    return {-std::log(L) / A, 1.0, dK};
}

std::array<double, 3> failuresPerProductLogSlope(double A, double B, double /*K*/, double t) {
    // N = K * W, W = 1 - exp(-v), v = (t / B)^A, ln v = A ln(t / B).
    const double lnv = A * std::log(t / B);
    const double v = std::exp(lnv);
    // v e^-v / W, which tends to 1 as v -> 0 and to 0 as v grows.
    const double r = v < 1e-8 ? 1 - v / 2 : v * std::exp(-v) / -std::expm1(-v);
    return {r * lnv, -A * r, 1.0};
}

} // namespace wf
