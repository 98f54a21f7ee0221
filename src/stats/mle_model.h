#pragma once
// The likelihood of the failure flow thinned by warranty exit. The failures at 1 h or later
// form a Poisson process of intensity
//   lambda(t) = Park * K * f(t; A, B) * (1 - Norm_Raspr(Sred, SKO, t)),
// f the Weibull density, and l = sum of ln lambda(t_i) - integral of lambda over (1 h, inf):
// a failure before 1 h is never counted as one of the flow, so the flow seen starts there.
// Derivatives are taken in (ln A, ln B, ln K), the scale of the search and of the bounds.

#include "analysis/state.h"

#include <array>
#include <vector>

namespace wf {

using Matrix3 = std::array<std::array<double, 3>, 3>;

// The share of the Weibull flow seen before warranty exit,
//   I = integral over (0, inf) of f(t; A, B) * (1 - Phi((t - mean) / sd)) dt,
// with its first and second derivatives in ln A and ln B. Phi is the exact normal law here
// (see the source for why). Relative error about relTol (the default is two orders below the
// 1e-10 the model needs) for any mean and sd; sd <= 0 is a step at the mean, I = F(mean); a
// mean far beyond the flow gives 1.
struct WarrantyShare {
    double I = 0;
    double dA = 0, dB = 0;
    double dAA = 0, dAB = 0, dBB = 0;
};
inline constexpr double kShareRelTol = 1e-12;
WarrantyShare warrantyShare(double A, double B, double mean, double sd,
                            double relTol = kShareRelTol);

// Failures before this operating time are defects found before operation ("Брак"): the
// flow the likelihood describes starts there, h.
inline constexpr double kFlowStart = 1.0;

// The same share counted from kFlowStart: the part of the flow that can appear in the data,
// integral over (1 h, inf) of f (1 - Phi). The likelihood's integral. For sd <= 0 (a fixed
// limit L) it is F(L) - F(1 h), and 0 when L <= 1 h.
WarrantyShare flowShare(double A, double B, double mean, double sd, double relTol = kShareRelTol);

// What the likelihood needs of a fleet: the failures at 1 h or later (earlier ones are
// defects found before operation and do not enter), the fleet size and the warranty law.
struct MleSample {
    std::vector<double> logTimes; // ln t of each failure used
    double sumLogTimes = 0;
    double maxLogTime = 0;
    double sumLogStay = 0; // sum of ln(1 - Norm_Raspr(mean, sd, t_i)); depends on no parameter
    double park = 0;
    double mean = 0; // Sred_Gar
    double sd = 0;   // SKO_Gar
    int n() const { return static_cast<int>(logTimes.size()); }
};
MleSample mleSample(const AnalysisState& s);
// The same with another warranty law (a model's own).
MleSample mleSample(const AnalysisState& s, double mean, double sd);
// Of chosen failure times (one cause's, say); those before 1 h are left out as above.
MleSample mleSample(const std::vector<double>& times, double park, double mean, double sd);

// Sums over the failures for one shape A (powers taken relative to the latest failure, so
// they cannot overflow): with them the density terms of l cost nothing more for any B.
// F(x; A, B) and its first and second derivatives in ln A and ln B, from ln x:
// {F, d/dlnA, d/dlnB, d2/dlnA2, d2/dlnA dlnB, d2/dlnB2}, each without cancellation.
std::array<double, 6> weibullCdfTerms(double A, double lnB, double lnx);

struct ShapeSums {
    double A = 0;
    double s0 = 0, s1 = 0, s2 = 0; // sum e^{A d_i} * d_i^0, ^1, ^2 with d_i = ln t_i - maxLogTime
};
ShapeSums shapeSums(const MleSample& d, double A);

struct LogLikelihood {
    double value = 0;
    std::array<double, 3> grad{}; // d l / d(ln A, ln B, ln K)
    Matrix3 hess{};
};

// l at (ln A, ln B, ln K) with its gradient and Hessian. `sums` must be for A = e^lnA and
// `share` for that A and B = e^lnB with the sample's warranty law.
LogLikelihood logLikelihood(const MleSample& d, const ShapeSums& sums, double lnB, double lnK,
                            const WarrantyShare& share);
LogLikelihood logLikelihood(const MleSample& d, double lnA, double lnB, double lnK);

} // namespace wf
