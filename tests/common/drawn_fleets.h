#pragma once
// Fleets drawn from the thinned-flow model with a generator of the tests' own: Poisson(K)
// failures per product at Weibull times, recorded while the product is under warranty.
// Nothing here uses the engine's distribution functions.

#include "fleets.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace wf::test {

// Portable draws: mt19937_64 is fixed by the standard, the transforms are written here.
struct Draws {
    std::mt19937_64 rng;
    double uniform() { return static_cast<double>(rng() >> 11) * 0x1.0p-53; }
    double normal() {
        const double r = std::sqrt(-2 * std::log(1 - uniform()));
        return r * std::cos(2 * std::numbers::pi * uniform());
    }
    int poisson(double mean) {
        const double limit = std::exp(-mean);
        int k = 0;
        for (double p = uniform(); p > limit; p *= uniform()) ++k;
        return k;
    }
};

// A fleet drawn from the model: Poisson(K) failures per product at Weibull times, recorded
// while the product is under warranty (exit normal).
inline AnalysisState drawnFleet(double A, double B, double K, int park, double mean, double sd,
                                Draws& d) {
    std::vector<double> times;
    for (int p = 0; p < park; ++p) {
        const double exit = mean + sd * d.normal();
        for (int f = d.poisson(K); f > 0; --f) {
            const double t = B * std::pow(-std::log(1 - d.uniform()), 1 / A);
            if (t < exit) times.push_back(t);
        }
    }
    std::sort(times.begin(), times.end());
    AnalysisState s = fleetWithFailures(times, park);
    s.Sred_Gar = mean;
    s.SKO_Gar = sd;
    return s;
}

} // namespace wf::test
