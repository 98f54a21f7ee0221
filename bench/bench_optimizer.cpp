// weibflow-optimizer on the bundled samples and on four generated fleets: wall time per
// run (the benchmark) and the objective it reaches (printed first, beside the objective
// at the true model, at ten times the evaluation budget, and of models 1.1, 1.2, 2 and the
// genetic model at the window's defaults, with and without its local refinement, each
// evaluated on its own A, B, K). A second table gives each model's objective divided by the
// optimizer's and the genetic run's wall time.
//
//   build/bin/bench_optimizer                     # table + timings
//   build/bin/bench_optimizer --benchmark_filter=none   # table only

#include "../tests/external/external_fleet.h"

#include "analysis/failure_file.h"
#include "genetic/encoding.h"
#include "genetic/genetic_engine.h"
#include "stats/fits.h"
#include "stats/histogram.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct Fleet {
    const char* name;
    QString path;
    std::optional<wf::testfleet::Truth> truth;
};

std::vector<Fleet>& fleets() {
    static std::vector<Fleet> f;
    return f;
}

QString optimizerPath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() +
           QStringLiteral("/weibflow-optimizer");
}

struct Run {
    bool ok = false;
    double objective = 0, A = 0, B = 0, K = 0;
    QString error;
};

Run runOptimizer(const QString& data, int effort, const QString& resultFile) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WEIBFLOW_RESULT_FILE"), resultFile);
    p.setProcessEnvironment(env);
    p.start(optimizerPath(), {QStringLiteral("--verbose"), QStringLiteral("--effort"),
                              QString::number(effort), data});
    Run r;
    if (!p.waitForFinished(600'000) || p.exitCode() != 0) {
        r.error = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    // "Celev_Gen=<v> A=<v> B=<v> K=<v> ..."
    const QList<QByteArray> words = p.readAllStandardError().simplified().split(' ');
    for (const QByteArray& w : words) {
        const qsizetype eq = w.indexOf('=');
        if (eq < 0) continue;
        const QByteArray key = w.left(eq);
        const double v = w.mid(eq + 1).toDouble();
        if (key == "Celev_Gen")
            r.objective = v;
        else if (key == "A")
            r.A = v;
        else if (key == "B")
            r.B = v;
        else if (key == "K")
            r.K = v;
    }
    r.ok = true;
    return r;
}

bool load(const QString& path, wf::AnalysisState& s) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    return wf::parseFailureFile(s, f.readAll(), path).end.done() && wf::Postr_Gist(s);
}

double objectiveOf(const wf::AnalysisState& s, double A, double B, double K) {
    wf::Mod_Weib M;
    return wf::Celev_Gen(s, M, A, B, K, s.Sred_Gar, s.SKO_Gar);
}

struct Ratios {
    const char* name;
    double perProduct, m11, m12, m2, genetic, polished;
    qint64 plainMs, polishMs;
};

void printComparison(const QString& resultFile) {
    std::vector<Ratios> ratios;
    std::printf("%-10s %6s %4s %14s %14s %14s %14s %14s %14s %14s %9s   %s\n", "fleet", "fails",
                "ints", "optimizer", "x10 budget", "true model", "model 1.1", "model 1.2",
                "model 2", "genetic", "opt. ms", "optimizer A / B / K");
    for (const Fleet& f : fleets()) {
        wf::AnalysisState s;
        if (!load(f.path, s)) {
            std::printf("%-10s not loaded\n", f.name);
            continue;
        }
        QElapsedTimer timer;
        timer.start();
        const Run one = runOptimizer(f.path, 1, resultFile);
        const qint64 optimizerMs = timer.elapsed();
        const Run ten = runOptimizer(f.path, 10, resultFile);
        const double truth =
            f.truth ? objectiveOf(s, f.truth->A, f.truth->B, f.truth->K) : std::nan("");
        double fit11 = std::nan(""), fit12 = std::nan("");
        {
            wf::AnalysisState t = s;
            wf::VirtualClock clock(20);
            wf::Podbor_Spiral(t, wf::FitSettings{}, clock);
            fit11 = objectiveOf(s, t.ModSpir.A, t.ModSpir.B, t.ModSpir.K_powtor);
        }
        {
            wf::AnalysisState t = s;
            wf::VirtualClock clock(20);
            wf::Podbor_Newton(t, wf::FitSettings{}, clock);
            fit12 = objectiveOf(s, t.ModNewton.A, t.ModNewton.B, t.ModNewton.K_powtor);
        }
        double fit2 = std::nan("");
        {
            // Model 2 runs at least ten clock seconds: 100 us per evaluation keeps the
            // largest fleet to a few seconds of real time.
            wf::AnalysisState t = s;
            wf::VirtualClock clock(100);
            wf::Podbor_Smirnov(t, wf::FitSettings{1.0005, 1}, clock);
            fit2 = objectiveOf(s, t.ModSmirnov.A, t.ModSmirnov.B, t.ModSmirnov.K_powtor);
        }
        double genetic = std::nan(""), polished = std::nan("");
        qint64 plainMs = 0, polishMs = 0;
        for (bool polish : {false, true}) {
            wf::AnalysisState t = s;
            t.Kol_Genov = 3;
            t.Tochnost = 1e-7L;
            t.Gen_Shag = wf::geneSteps(t.Tochnost, t.Kol_Genov);
            wf::GeneticSettings set; // population 3000, 1500 generations
            set.seed = 12345;
            set.polish = polish;
            wf::BasicGeneticHost host;
            QElapsedTimer gt;
            gt.start();
            const wf::GeneticOutcome o = wf::runGeneticSearch(t, set, host);
            (polish ? polishMs : plainMs) = gt.elapsed();
            if (o.ranGenerations)
                (polish ? polished : genetic) =
                    objectiveOf(s, o.Gen_Par_Best[1], o.Gen_Par_Best[0], o.Gen_Par_Best[2]);
        }
        ratios.push_back({f.name, s.Otkazy.size() / s.Kol_All, fit11 / one.objective,
                          fit12 / one.objective, fit2 / one.objective, genetic / one.objective,
                          polished / one.objective, plainMs, polishMs});
        std::printf("%-10s %6zu %4zu %14.6f %14.6f %14.6f %14.6f %14.6f %14.6f %14.6f %9lld   %.4f "
                    "/ %.1f / "
                    "%.4f%s\n",
                    f.name, s.Otkazy.size(), s.Hist.size(), one.objective, ten.objective, truth,
                    fit11, fit12, fit2, polished, static_cast<long long>(optimizerMs), one.A, one.B,
                    one.K, one.ok ? "" : "  (optimizer failed)");
    }
    std::printf("\nobjective / optimizer's (1 = as good)\n%-10s %8s %9s %9s %9s %9s %9s %9s %9s\n",
                "fleet", "fail/prod", "1.1", "1.2", "2", "genetic", "+refined", "gen. ms",
                "+ref. ms");
    for (const Ratios& r : ratios)
        std::printf("%-10s %8.2f %9.4f %9.4f %9.4f %9.5f %9.5f %9lld %9lld\n", r.name, r.perProduct,
                    r.m11, r.m12, r.m2, r.genetic, r.polished, static_cast<long long>(r.plainMs),
                    static_cast<long long>(r.polishMs));
    std::fflush(stdout);
}

void BM_Optimizer(benchmark::State& state) {
    const Fleet& f = fleets()[static_cast<std::size_t>(state.range(0))];
    QTemporaryDir dir;
    const QString result = dir.filePath(QStringLiteral("optymum.txt"));
    Run r;
    for (auto _ : state) r = runOptimizer(f.path, 1, result);
    if (!r.ok) state.SkipWithError(r.error.toStdString().c_str());
    state.SetLabel(f.name);
    state.counters["objective"] = r.objective;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const QString sample = QStringLiteral(WEIBFLOW_SOURCE_DIR "/data/sample_fleet.txt");
    if (QFileInfo::exists(sample)) fleets().push_back({"sample", sample, std::nullopt});
    const QString bearings = QStringLiteral(WEIBFLOW_SOURCE_DIR "/data/ball_bearings.txt");
    if (QFileInfo::exists(bearings)) fleets().push_back({"bearings", bearings, std::nullopt});

    auto generated = [&](const char* name, wf::testfleet::Truth t) {
        const QString path = dir.filePath(QString::fromLatin1(name) + QStringLiteral(".txt"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(wf::testfleet::makeFleetFile(t, name));
        fleets().push_back({name, path, t});
    };
    // Fewer failures than products, as warranty data usually have: about 0.9 per product.
    generated("drawn-0.9", {1.3, 4000, 2.7, 400, 2000, 500, 6});
    // About 25 failures.
    generated("few", {1.2, 4000, 0.15, 400, 2500, 600, 3});
    // About 9000 failures.
    generated("many", {1.3, 2500, 0.8, 15000, 2500, 600, 4});
    // Most products leave warranty long before the Weibull scale: strong censoring.
    generated("censored", {1.8, 6000, 1.0, 5000, 800, 200, 5});

    printComparison(dir.filePath(QStringLiteral("optymum.txt")));

    for (std::size_t i = 0; i < fleets().size(); ++i)
        benchmark::RegisterBenchmark((std::string("BM_Optimizer/") + fleets()[i].name).c_str(),
                                     BM_Optimizer)
            ->Arg(static_cast<long>(i))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
