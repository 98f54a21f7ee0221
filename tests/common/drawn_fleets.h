#pragma once
// Fleets drawn from the thinned-flow model with a generator of the tests' own: Poisson(K)
// failures per product at Weibull times, recorded while the product is under warranty.
// Nothing here uses the engine's distribution functions.

#include "fleets.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <utility>
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

// One cause's flow: Poisson(K) failures per product at Weibull(A, B) times.
struct CauseFlow {
    const char* name;
    double A, B, K;
};

// A fleet whose causes fail as independent flows, every product leaving warranty once
// (exit normal) for all of them. Causes are listed after "Брак" and "Другие" in the given
// order, each failure carrying its cause's index and name.
inline AnalysisState drawnCauseFleet(const std::vector<CauseFlow>& flows, int park, double mean,
                                     double sd, Draws& d) {
    std::vector<std::pair<double, int>> failures;
    for (int p = 0; p < park; ++p) {
        const double exit = mean + sd * d.normal();
        for (std::size_t c = 0; c < flows.size(); ++c)
            for (int f = d.poisson(flows[c].K); f > 0; --f) {
                const double t = flows[c].B * std::pow(-std::log(1 - d.uniform()), 1 / flows[c].A);
                if (t < exit) failures.push_back({t, static_cast<int>(c) + 2});
            }
    }
    std::sort(failures.begin(), failures.end());
    std::vector<double> times;
    for (const auto& f : failures) times.push_back(f.first);
    AnalysisState s = fleetWithFailures(times, park);
    s.Vidy_Otk_Sort = {{QStringLiteral("Брак"), 0}, {QStringLiteral("Другие"), 0}};
    for (const CauseFlow& c : flows) s.Vidy_Otk_Sort.push_back({QString::fromUtf8(c.name), 0});
    for (std::size_t i = 0; i < failures.size(); ++i) {
        Problems& p = s.Otkazy[i];
        if (p.time < 1) continue; // "Брак" as the loader takes it
        p.chey = failures[i].second;
        p.Pri = s.Vidy_Otk_Sort[static_cast<std::size_t>(p.chey)].Nazv_Prich;
        s.Vidy_Otk_Sort[static_cast<std::size_t>(p.chey)].Dolya += 1;
    }
    s.Vidy_Otk = s.Vidy_Otk_Sort;
    s.Kol_Prich = static_cast<int>(s.Vidy_Otk_Sort.size()) - 1;
    s.Sred_Gar = mean;
    s.SKO_Gar = sd;
    return s;
}

} // namespace wf::test
