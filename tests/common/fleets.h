#pragma once
// Analysis states of fleets whose failures are given: at listed times, or where a known
// model expects them, so a fit should land near that model.

#include "analysis/state.h"
#include "stats/histogram.h"

#include <cmath>
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

// Failure times that follow the model exactly: the i-th failure (from 0) falls where the
// model's expected accumulated count, thinned by warranty exit, reaches i + 0.5. Written
// with the library's functions, not the engine's, so an engine fault cannot hide here.
inline std::vector<double> modelFailureTimes(double A, double B, double K, double park, double sred,
                                             double sko) {
    std::vector<double> times;
    double expected = 0;
    const double dt = 1;
    for (double t = 0; t < sred + 4 * sko; t += dt) {
        const double cdf0 = -std::expm1(-std::pow(t / B, A));
        const double cdf1 = -std::expm1(-std::pow((t + dt) / B, A));
        const double stay = 0.5 * std::erfc((t + dt / 2 - sred) / (sko * std::sqrt(2.0)));
        expected += park * K * (cdf1 - cdf0) * stay;
        while (expected >= static_cast<double>(times.size()) + 0.5) times.push_back(t + dt);
    }
    return times;
}

struct KnownModel {
    double A = 1.4, B = 1500, K = 0.6, Sred = 6000, SKO = 800, Park = 1000;
};

// The fleet of a known model with its warranty values, histogram built.
inline AnalysisState fleetOf(const KnownModel& m = {}) {
    AnalysisState s =
        fleetWithFailures(modelFailureTimes(m.A, m.B, m.K, m.Park, m.Sred, m.SKO), m.Park);
    s.Sred_Gar = m.Sred;
    s.SKO_Gar = m.SKO;
    Postr_Gist(s);
    return s;
}

} // namespace wf::test
