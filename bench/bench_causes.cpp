// Model 3 by cause: 15 causes of a fleet of 100,000 failures, each fitted alone with its
// likelihood-ratio bounds (goal under 1 s on one core), and one what-if of another warranty
// law with its bounds, for the whole fleet's model 3 and for the largest cause (goal under
// 50 ms each).
#include "stats/cause_fits.h"
#include "stats/mle_fit.h"
#include "stats/warranty_what_if.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

using namespace wf;

namespace {

// 15 causes from early-life to wear-out flows, exit 3000 +- 800 h, to a tenth of an hour.
AnalysisState causeFleet() {
    std::mt19937_64 rng(15);
    std::normal_distribution<double> exit(3000, 800);
    struct Flow {
        std::weibull_distribution<double> life;
        std::poisson_distribution<int> count;
    };
    std::vector<Flow> flows;
    AnalysisState s;
    s.Vidy_Otk_Sort = {{QStringLiteral("Брак"), 0}, {QStringLiteral("Другие"), 0}};
    for (int c = 0; c < 15; ++c) {
        const double A = 0.6 + 0.17 * c, B = 2000 + 300 * c, K = 0.05 + 0.02 * c;
        flows.push_back(
            {std::weibull_distribution<double>(A, B), std::poisson_distribution<int>(K)});
        s.Vidy_Otk_Sort.push_back({QStringLiteral("Причина %1").arg(c + 1), 0});
    }
    std::vector<std::pair<double, int>> failures;
    int park = 0;
    while (failures.size() < 100'000) {
        ++park;
        const double out = exit(rng);
        for (int c = 0; c < 15; ++c)
            for (int k = flows[c].count(rng); k > 0 && failures.size() < 100'000; --k) {
                const double t = std::round(flows[c].life(rng) * 10) / 10;
                if (t < out) failures.push_back({t, t < 1 ? 0 : c + 2});
            }
    }
    std::sort(failures.begin(), failures.end());
    for (const auto& [t, c] : failures) {
        Problems p;
        p.time = t;
        p.chey = c;
        p.Pri = s.Vidy_Otk_Sort[static_cast<std::size_t>(c)].Nazv_Prich;
        s.Vidy_Otk_Sort[static_cast<std::size_t>(c)].Dolya += 1;
        s.Otkazy.push_back(p);
    }
    s.Kol_All = s.Park = park;
    s.Kol_Otk = static_cast<int>(failures.size()) + 1;
    s.Sred_Gar = 3000;
    s.SKO_Gar = 800;
    return s;
}

const AnalysisState& fleet() {
    static const AnalysisState s = causeFleet();
    return s;
}

void BM_CauseFits15(benchmark::State& st) {
    CauseFits r;
    for (auto _ : st) {
        r = fitCauses(fleet(), MleSettings{});
        benchmark::DoNotOptimize(r);
    }
    int fitted = 0;
    for (const CauseFit& c : r.causes) fitted += c.fitted ? 1 : 0;
    st.counters["causes"] = static_cast<double>(r.causes.size());
    st.counters["fitted"] = fitted;
}

void BM_WhatIfModel3(benchmark::State& st) {
    AnalysisState s = fleet();
    storeMle(s, fitMle(s, MleSettings{}));
    WhatIf w;
    for (auto _ : st) {
        w = warrantyWhatIf(s, {4000, 500});
        benchmark::DoNotOptimize(w);
    }
    st.counters["bounded"] = w.bounds.defined ? 1 : 0;
}

void BM_WhatIfCause(benchmark::State& st) {
    const CauseFits all = fitCauses(fleet(), MleSettings{});
    WhatIf w;
    for (auto _ : st) {
        w = warrantyWhatIf(all.causes[0], {4000, 500});
        benchmark::DoNotOptimize(w);
    }
    st.counters["bounded"] = w.bounds.defined ? 1 : 0;
}

} // namespace

BENCHMARK(BM_CauseFits15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WhatIfModel3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WhatIfCause)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
