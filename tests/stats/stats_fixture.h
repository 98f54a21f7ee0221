#pragma once
// Small analysis states for the stats tests and benchmarks: failures at given times, a fleet
// size and the counts the fits read.

#include "analysis/state.h"
#include "stats/core/distributions.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace wf::test {

// Failures at `times` (ascending), cause 2 unless below 1 h ("Брак", cause 0).
inline AnalysisState fleetWithFailures(const std::vector<double>& times, double park = 1000) {
    AnalysisState s;
    for (double t : times) {
        Problems p;
        p.time = t;
        p.chey = t < 1 ? 0 : 2;
        s.Otkazy.push_back(p);
    }
    int braks = 0;
    for (double t : times) braks += t < 1 ? 1 : 0;
    s.Kol_All = park;
    s.Park = park;
    s.Kol_Otk = static_cast<int>(times.size()) + 1;
    s.Kol_Otk_Bez_Braka = static_cast<int>(times.size()) - braks;
    s.N_Perv_Otk = times.empty() ? -1 : 0;
    s.Dannye_Gotovy = true;
    s.Sred_Gar = 2000;
    s.SKO_Gar = 500;
    s.T_Prirab = 300;
    return s;
}

// `count` failure times drawn as a fleet of `park` products with a Weibull failure flow of
// repeat coefficient K, thinned by warranty exit (normal, mean sred, SD sko): every product
// fails at Weibull quantiles while it stays in warranty. Deterministic for a given seed.
inline std::vector<double> syntheticFailureTimes(double A, double B, double K, double park,
                                                 double sred, double sko, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::normal_distribution<double> exitTime(sred, sko);
    std::poisson_distribution<int> failures(K);
    std::vector<double> times;
    for (int p = 0; p < static_cast<int>(park); ++p) {
        const double leave = exitTime(rng);
        const int k = failures(rng);
        for (int f = 0; f < k; ++f) {
            const double t = B * std::pow(-std::log(1 - u(rng)), 1 / A);
            if (t < leave) times.push_back(std::round(t * 10) / 10 + 1);
        }
    }
    std::sort(times.begin(), times.end());
    return times;
}

// Failure times that follow the model exactly: the i-th failure (from 0) falls where the
// model's expected accumulated count, thinned by warranty exit, reaches i + 0.5.
inline std::vector<double> modelFailureTimes(double A, double B, double K, double park, double sred,
                                             double sko) {
    std::vector<double> times;
    double expected = 0;
    const double dt = 1;
    for (double t = 0; t < sred + 4 * sko; t += dt) {
        expected +=
            park * K * Weib_Interv(A, B, t, t + dt) * (1 - Norm_Raspr(sred, sko, t + dt / 2));
        while (expected >= static_cast<double>(times.size()) + 0.5) times.push_back(t + dt);
    }
    return times;
}

// Sets the default locale for a test's lifetime.
struct LocaleGuard {
    explicit LocaleGuard(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleGuard() { QLocale::setDefault(QLocale::c()); }
};

} // namespace wf::test
