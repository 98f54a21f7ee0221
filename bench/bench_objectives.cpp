// Objective evaluations per second: the fits' fast objectives against the plain formulas
// (every distribution value computed afresh), on a 41-interval histogram for the Pearson
// objective and on 1,000 and 100,000 failures for the Smirnov one. The parameter sequences
// imitate a coordinate search (one of B, A, K changes per call) and, as the worst case for
// the fast ones, all three change at every call.
#include "../tests/stats/reference_objectives.h"
#include "stats/histogram.h"
#include "stats/pearson.h"
#include "stats/smirnov.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace wf;

namespace {

struct P {
    double A, B, K;
};

// 1024 parameter sets; with `oneAtATime` each differs from the one before in one coordinate.
std::vector<P> sequence(bool oneAtATime) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<P> v;
    P p{1.3, 1800, 1.5};
    for (int i = 0; i < 1024; ++i) {
        const int j = oneAtATime ? i % 3 : -1;
        if (j == 0 || j < 0) p.B = 1800 + 300 * u(rng);
        if (j == 1 || j < 0) p.A = 1.3 + 0.3 * u(rng);
        if (j == 2 || j < 0) p.K = 1.5 + 0.4 * u(rng);
        v.push_back(p);
    }
    return v;
}

// Failure times of a fleet, to a tenth of an hour as data files hold them.
AnalysisState fleet(int failures) {
    AnalysisState s;
    std::mt19937_64 rng(11);
    std::weibull_distribution<double> w(1.3, 1800);
    std::vector<double> t(failures);
    for (auto& x : t) x = std::round(w(rng) * 10) / 10;
    std::sort(t.begin(), t.end());
    for (double x : t) s.Otkazy.push_back({x, x < 1 ? 0 : 2, {}, {}});
    s.Park = s.Kol_All = failures / 1.5;
    s.Kol_Otk = failures + 1;
    s.Kol_Otk_Bez_Braka = failures;
    s.Sred_Gar = 2000;
    s.SKO_Gar = 500;
    return s;
}

// A histogram of exactly 41 intervals of 100 h.
AnalysisState fleet41() {
    AnalysisState s = fleet(2000);
    s.Hist.resize(41);
    for (int k = 0; k < 41; ++k) {
        s.Hist[k].time = 100.0 * (k + 1);
        s.Hist[k].Sum = 40 - k;
    }
    return s;
}

void BM_PearsonFast(benchmark::State& st) {
    AnalysisState s = fleet41();
    const auto ps = sequence(st.range(0) != 0);
    PearsonObjective f(s, 1);
    Mod_Weib M;
    M.resizeArrays(41);
    std::size_t i = 0;
    for (auto _ : st) {
        const P& p = ps[i++ & 1023];
        benchmark::DoNotOptimize(f(M, p.A, p.B, p.K, 2000, 500));
    }
    st.SetItemsProcessed(st.iterations());
}

void BM_PearsonPlain(benchmark::State& st) {
    AnalysisState s = fleet41();
    const auto ps = sequence(st.range(0) != 0);
    Mod_Weib M;
    M.resizeArrays(41);
    std::size_t i = 0;
    for (auto _ : st) {
        const P& p = ps[i++ & 1023];
        benchmark::DoNotOptimize(test::plainCelevPirson(s, M, p.A, p.B, p.K, 2000, 500, 1));
    }
    st.SetItemsProcessed(st.iterations());
}

AnalysisState smirnovFleet(int failures) {
    AnalysisState s = fleet(failures);
    s.ModSmirnov.F_norm.resize(s.Otkazy.size());
    for (std::size_t i = 0; i < s.Otkazy.size(); ++i)
        s.ModSmirnov.F_norm[i] = Norm_Raspr(s.Sred_Gar, s.SKO_Gar, s.Otkazy[i].time);
    return s;
}

void BM_SmirnovFast(benchmark::State& st) {
    AnalysisState s = smirnovFleet(static_cast<int>(st.range(0)));
    const auto ps = sequence(st.range(1) != 0);
    SmirnovObjective f(s, s.ModSmirnov.F_norm);
    std::size_t i = 0;
    for (auto _ : st) {
        const P& p = ps[i++ & 1023];
        benchmark::DoNotOptimize(f(p.A, p.B, p.K));
    }
    st.SetItemsProcessed(st.iterations());
}

void BM_SmirnovPlain(benchmark::State& st) {
    AnalysisState s = smirnovFleet(static_cast<int>(st.range(0)));
    const auto ps = sequence(st.range(1) != 0);
    std::size_t i = 0;
    for (auto _ : st) {
        const P& p = ps[i++ & 1023];
        benchmark::DoNotOptimize(test::plainCelevSmirnov(s, p.A, p.B, p.K));
    }
    st.SetItemsProcessed(st.iterations());
}

} // namespace

// Argument: 1 = one coordinate per call (as in a fit), 0 = all change.
BENCHMARK(BM_PearsonFast)->ArgName("oneAtATime")->Arg(1)->Arg(0);
BENCHMARK(BM_PearsonPlain)->ArgName("oneAtATime")->Arg(1)->Arg(0);
BENCHMARK(BM_SmirnovFast)
    ->ArgNames({"failures", "oneAtATime"})
    ->ArgsProduct({{1000, 100000}, {1, 0}});
BENCHMARK(BM_SmirnovPlain)
    ->ArgNames({"failures", "oneAtATime"})
    ->ArgsProduct({{1000, 100000}, {1, 0}});

BENCHMARK_MAIN();
