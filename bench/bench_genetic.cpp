// The genetic search at the window's defaults (population 3000, 1500 generations, accuracy
// 1e-7) on the bundled sample fleet, or on a synthetic fleet when the sample is missing.
// Reports wall time per run (local refinement included) and objective evaluations per
// second, and the refinement alone from the best of a seeded run.

#include "analysis/failure_file.h"
#include "core/distributions.h"
#include "genetic/encoding.h"
#include "genetic/genetic_engine.h"
#include "genetic/genetic_polish.h"
#include "stats/histogram.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

wf::AnalysisState syntheticFleet() {
    wf::AnalysisState s;
    s.Park = s.Kol_All = 3000;
    s.Sred_Gar = 800;
    s.SKO_Gar = 300;
    double expected = 0;
    double next = 0.5;
    for (double t = 1; t < 5000; t += 1) {
        expected += 3000 * 0.3 * wf::Weib_Interv(1.2, 2000, t - 1, t) *
                    (1 - wf::Norm_Raspr(800, 300, t - 0.5));
        while (expected >= next) {
            wf::Problems p;
            p.time = t;
            p.chey = 2;
            s.Otkazy.push_back(p);
            next += 1;
        }
    }
    s.Kol_Otk_Bez_Braka = static_cast<int>(s.Otkazy.size());
    return s;
}

wf::AnalysisState benchFleet(bool& fromSample) {
    wf::AnalysisState s;
    QFile file(QStringLiteral(WEIBFLOW_SOURCE_DIR "/data/sample_fleet.txt"));
    bool loaded = false;
    if (file.open(QIODevice::ReadOnly))
        loaded = wf::parseFailureFile(s, file.readAll(), file.fileName()).end.done();
    if (!loaded) s = syntheticFleet();
    fromSample = loaded;
    wf::Postr_Gist(s);
    s.Kol_Genov = 3;
    s.Tochnost = 1e-7L;
    s.Gen_Shag = wf::geneSteps(s.Tochnost, s.Kol_Genov);
    return s;
}

// The window's defaults, seeded.
wf::GeneticSettings defaults(int threads, bool polish) {
    wf::GeneticSettings set;
    set.SizePopulation = 3000;
    set.Kol_Pokol = 1500;
    set.seed = 12345;
    set.threads = threads;
    set.polish = polish;
    return set;
}

void BM_GeneticDefaults(benchmark::State& state) {
    bool fromSample = false;
    const wf::AnalysisState s = benchFleet(fromSample);
    const wf::GeneticSettings set = defaults(static_cast<int>(state.range(0)), true);
    long long evaluations = 0;
    for (auto _ : state) {
        wf::BasicGeneticHost host;
        const wf::GeneticOutcome o = wf::runGeneticSearch(s, set, host);
        evaluations += o.evaluations + o.polishEvaluations;
        benchmark::DoNotOptimize(o.Best_Celev_F);
    }
    state.counters["sample_file"] = fromSample ? 1 : 0;
    state.counters["intervals"] = static_cast<double>(s.Hist.size());
    state.counters["evaluations"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kAvgIterations);
    state.counters["eval_per_s"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GeneticDefaults)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The local refinement alone, from the best a short seeded search leaves.
void BM_Polish(benchmark::State& state) {
    bool fromSample = false;
    const wf::AnalysisState s = benchFleet(fromSample);
    const wf::GeneticSettings set = defaults(0, false);
    wf::BasicGeneticHost host;
    const wf::GeneticOutcome o = wf::runGeneticSearch(s, set, host);
    const wf::GeneticObjective objective(s);
    long long evaluations = 0;
    for (auto _ : state) {
        const wf::PolishOutcome p = wf::polishBest(objective, o.Gen_Par_Best, s.Kol_Genov);
        evaluations += p.evaluations;
        benchmark::DoNotOptimize(p.objective);
    }
    state.counters["evaluations"] =
        benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Polish)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
