#pragma once
// The distribution functions every model rests on. They follow fixed rational
// approximations and floors (1e-12, 1e-30, 1e-305), not the library's own functions:
// the fits and the reported figures depend on these exact values. Erf is within 4e-9 of the
// exact function, Erfc within 2e-8 relative for x >= 0 (0 from 10 on), Norm_Raspr within 2e-9.

namespace wf {

double Erfc(double x);
double Erf(double x);
// Standard normal distribution function.
double Norm_Stand(double x);
// Phi((x - Sred) / SKO), never below 1e-12. A zero or negative SKO is a step at Sred:
// 1e-12 left of it, 1 from it on.
double Norm_Raspr(double Sred, double SKO, double x);
// Weibull density; 1e-305 for A <= 0 or B <= 0, floored at 1e-30.
double Weib_Plotn(double A, double B, double t);
// Weibull distribution function; 1e-305 for A <= 0 or B <= 0, floored at 1e-30.
double Weib_Raspr(double A, double B, double t);
// Weib_Raspr(t2) - Weib_Raspr(t1), not clamped. t1 > t2 is a broken invariant: it is
// counted (intervalBreaks) and the result is 1.0; the job that sees the count grow ends.
double Weib_Interv(double A, double B, double t1, double t2);
// Time by which the share p has failed; p >= 1 is taken as 0.999999, a NaN p gives 99999.
double Weib_Kvantil(double A, double B, double p);

// How many times Weib_Interv has met t1 > t2 in this process, from any thread.
long long intervalBreaks();

} // namespace wf
