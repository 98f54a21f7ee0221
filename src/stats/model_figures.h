#pragma once
// The figures the results table derives from a model's A, B and K, each beside its slope
// on the log scale, so confidence bounds are drawn on exactly the figure the table shows.

#include <array>

namespace wf {

// Operating time by which the model's expected failures per product, K * F(t), reach
// `share`: Weib_Kvantil(A, B, share / K). Share 0.5 is "Гамма 50%", 0.1 "Гамма 90%".
double gammaLife(double A, double B, double K, double share);

// Expected failures per product by operating time t: K * Weib_Interv(A, B, 0, t).
double failuresPerProduct(double A, double B, double K, double t);

// d ln(figure) / d(ln A, ln B, ln K) of the two figures above, for A, B, K > 0 and t > 0.
// Where Weib_Kvantil takes share / K >= 1 as a fixed probability, K no longer moves the life.
std::array<double, 3> gammaLifeLogSlope(double A, double B, double K, double share);
std::array<double, 3> failuresPerProductLogSlope(double A, double B, double K, double t);

} // namespace wf
