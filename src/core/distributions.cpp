#include "core/distributions.h"

#include <atomic>
#include <cmath>

namespace wf {

namespace {
std::atomic<long long> g_breaks{0};

// A power with base 0 is 0 for every exponent but 0, and 0^0 = 1.
inline double power(double base, double exponent) {
    if (base == 0) return exponent == 0 ? 1.0 : 0.0;
    return std::pow(base, exponent);
}
} // namespace

long long intervalBreaks() {
    return g_breaks.load();
}

double Erfc(double x) {
    if (x < 0) return 2.0 - Erfc(-x);
    if (x < 0.5) return 1.0 - Erf(x);
    if (x >= 10) return 0.0;
    double p = 0.56418778255;
    p = p * x + 9.675807882987;
    p = p * x + 77.08161730368;
    p = p * x + 368.519615471;
    p = p * x + 1143.262070703;
    p = p * x + 2320.439590251;
    p = p * x + 2898.029329216;
    p = p * x + 1826.334884229;
    double q = 1.0;
    q = q * x + 17.14980943627;
    q = q * x + 137.12559605;
    q = q * x + 661.7361207107;
    q = q * x + 2094.384367789;
    q = q * x + 4429.612803883;
    q = q * x + 6089.542423272;
    q = q * x + 4958.827564721;
    q = q * x + 1826.334884229;
    return std::exp(-x * x) * p / q;
}

double Erf(double x) {
    const double s = x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
    const double a = std::fabs(x);
    if (a < 0.5) {
        const double z = a * a;
        double p = 0.007547728033418632;
        p = p * z + 0.2888051372075941;
        p = p * z + 14.33838421917482;
        p = p * z + 38.0140318123903;
        p = p * z + 3017.827885365076;
        p = p * z + 7404.071427101515;
        p = p * z + 80437.36309608402;
        double q = 1.0;
        q = q * z + 38.01907139519394;
        q = q * z + 658.0701554592405;
        q = q * z + 6379.600173244283;
        q = q * z + 34216.52579246285;
        q = q * z + 80437.36309608402;
        return s * 1.1283791670955126 * a * p / q;
    }
    if (a > 10) return s;
    return s * (1.0 - Erfc(a));
}

double Norm_Stand(double x) {
    return 0.5 * (1.0 + Erf(x / 1.4142135623730951));
}

double Norm_Raspr(double Sred, double SKO, double x) {
    if (!(SKO > 0)) return x < Sred ? 1e-12 : 1.0;
    const double r = Norm_Stand((x - Sred) / SKO);
    if (r <= 0) return 1e-12;
    return r;
}

double Weib_Raspr(double A, double B, double t) {
    if (A <= 0 || B <= 0) return 1e-305;
    const double v = 1.0 - std::exp(-power(t / B, A));
    if (!(v > 0)) return 1e-30;
    return v;
}

double Weib_Plotn(double A, double B, double t) {
    if (A <= 0 || B <= 0) return 1e-305;
    const double v = A * std::exp(-power(t / B, A)) / power(B, A) * power(t, A - 1);
    if (!(v > 0)) return 1e-30;
    return v;
}

double Weib_Interv(double A, double B, double t1, double t2) {
    if (t1 > t2) {
        g_breaks.fetch_add(1);
        return 1.0;
    }
    return Weib_Raspr(A, B, t2) - Weib_Raspr(A, B, t1);
}

double Weib_Kvantil(double A, double B, double p) {
    if (std::isnan(p)) return 99999.0;
    if (p >= 1) p = 0.999999;
    const double v = B * std::pow(-std::log(1.0 - p), 1.0 / A);
    return std::isnan(v) ? 99999.0 : v;
}

} // namespace wf
