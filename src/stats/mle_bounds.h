#pragma once
// Wald confidence bounds on the log scale from the observed information, and the normal
// quantile that sets their width.

#include "stats/mle_model.h"

#include <array>

namespace wf {

// Standard normal quantile: x with Phi(x) = p, to full double precision; NaN outside (0, 1).
double normalQuantile(double p);

// Half-width factor of two-sided bounds at `confidence` (1.959964 for 0.95).
double twoSidedZ(double confidence);

// Inverts the observed information (the negative Hessian of l). False when it is singular
// or not positive definite: a pivot of its correlation form below kSingularPivot.
inline constexpr double kSingularPivot = 1e-10;
bool invertInformation(const Matrix3& info, Matrix3& cov);

using MleBounds = ConfidenceBounds;

// Bounds value * exp(-+ z * se) of a positive figure whose log has the given slope in the
// parameters' logs (delta method; a unit slope gives the parameter's own Wald bounds).
// Undefined for a figure that is not positive and finite.
MleBounds logScaleBounds(double value, const std::array<double, 3>& logSlope, const Matrix3& cov,
                         double z);

} // namespace wf
