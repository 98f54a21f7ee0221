#pragma once
// The failure flow of one operating-time interval, the rule every model shares: the fleet's
// expected failures there are Park * K * dF * (1 - Phi), dF the Weibull probability of the
// interval and Phi the share of products already out of warranty. The per-interval arrays,
// the objectives of models 1.1, 1.2, 2 and the genetic search, and model evaluation take their
// counts from here. They differ in how they take dF, where they read Phi and in which order
// they multiply; each names its choice, because products in another order round differently
// and every reported figure keeps its exact bits.

#include "core/distributions.h"

namespace wf::flow {

// What a negative dF becomes: the Pearson objective and model 2's final arrays clamp it,
// everything else takes it as it is.
enum class Step {
    AsIs,
    ClampedAtZero,
};

// Order of the four factors.
enum class Order {
    ScaleFirst, // ((Park * K) * dF) * (1 - Phi): the histogram arrays, models 1.1, 1.2 and the
                // genetic search, model evaluation
    StayFirst,  // (((1 - Phi) * dF) * Park) * K: model 2's accumulated failures
};

// The model of the flow: Weibull shape A, scale B (h), repeat coefficient K, and the normal
// law of warranty exit (mean Sred, SD SKO, h).
struct Law {
    double A = 0, B = 0, K = 0;
    double Sred = 0, SKO = 0;
};

// dF as `step` takes it.
inline double weibullStep(double dF, Step step) {
    return step == Step::ClampedAtZero && dF < 0 ? 0.0 : dF;
}

// Where an interval [t1, t2] reads its warranty-exit share.
inline double middle(double t1, double t2) {
    return (t1 + t2) / 2;
}

// Phi read at the middle of [t1, t2].
inline double exitAtMiddle(double Sred, double SKO, double t1, double t2) {
    return Norm_Raspr(Sred, SKO, middle(t1, t2));
}

// The kernel: expected failures of one interval, `stay` being 1 - Phi. Allocates nothing.
inline double expectedFailures(double park, double K, double dF, double stay, Order order) {
    if (order == Order::ScaleFirst) return park * K * dF * stay;
    return stay * dF * park * K;
}

// One interval's entries of a model record.
struct Interval {
    double F_Weib = 0;     // dF
    double F_norm = 0;     // Phi
    double Kol_F_priv = 0; // expected failures
};

// The interval [t1, t2] of a law: dF by Weib_Interv (t1 > t2 runs its guard), Phi at the
// middle, the products as `order` has them.
inline Interval intervalAtMiddle(const Law& law, double park, double t1, double t2, Step step,
                                 Order order = Order::ScaleFirst) {
    Interval r;
    r.F_Weib = weibullStep(Weib_Interv(law.A, law.B, t1, t2), step);
    r.F_norm = exitAtMiddle(law.Sred, law.SKO, t1, t2);
    r.Kol_F_priv = expectedFailures(park, law.K, r.F_Weib, 1 - r.F_norm, order);
    return r;
}

} // namespace wf::flow
