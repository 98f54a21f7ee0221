// The three deterministic fits on the sample fleet (data/sample_fleet.txt; a synthetic fleet
// when it is missing), each on the wall clock as the window runs them: per model A, B, K,
// the final objective, passes, evaluations and wall time.
//
//   bench_fits [DATAFILE] [--virtual-us N]   (N > 0: a virtual clock of N us per evaluation)
#include "analysis/failure_file.h"
#include "stats/fits.h"
#include "stats/histogram.h"

#include <QCoreApplication>
#include <QFile>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

using namespace wf;

namespace {

AnalysisState syntheticFleet() {
    AnalysisState s;
    std::mt19937_64 rng(3);
    std::weibull_distribution<double> w(1.4, 1600);
    std::normal_distribution<double> leave(2500, 600);
    const int park = 800;
    for (int p = 0; p < park; ++p) {
        const double out = leave(rng);
        for (int f = 0; f < 2; ++f) {
            const double t = std::round(w(rng) * 10) / 10 + 1;
            if (t < out) s.Otkazy.push_back({t, 2, {}, {}});
        }
    }
    std::sort(s.Otkazy.begin(), s.Otkazy.end(),
              [](const Problems& a, const Problems& b) { return a.time < b.time; });
    s.Kol_All = s.Park = park;
    s.Kol_Otk = static_cast<int>(s.Otkazy.size()) + 1;
    s.Kol_Otk_Bez_Braka = static_cast<int>(s.Otkazy.size());
    s.Sred_Gar = 2500;
    s.SKO_Gar = 600;
    s.T_Prirab = 300;
    s.Dannye_Gotovy = true;
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString path = QStringLiteral(WEIBFLOW_SOURCE_DIR "/data/sample_fleet.txt");
    long long virtualUs = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--virtual-us") == 0 && i + 1 < argc)
            virtualUs = std::atoll(argv[++i]);
        else
            path = QString::fromLocal8Bit(argv[i]);
    }

    AnalysisState s;
    QFile file(path);
    bool loaded = false;
    if (file.open(QIODevice::ReadOnly)) {
        const LoadResult r = parseFailureFile(s, file.readAll(), path);
        loaded = r.end.done();
    }
    if (!loaded) {
        std::printf("%s not usable: a synthetic fleet instead\n", qPrintable(path));
        s = syntheticFleet();
    }
    s.T_Prirab = 300;
    if (!Postr_Gist(s)) {
        std::printf("no failures\n");
        return 1;
    }
    std::printf("fleet: %s  failures %zu  intervals %zu  park %.0f  Sred %.1f  SKO %.1f\n",
                loaded ? qPrintable(path) : "synthetic", s.Otkazy.size(), s.Hist.size(), s.Park,
                s.Sred_Gar, s.SKO_Gar);
    std::printf("%-10s %10s %12s %10s %14s %10s %12s %9s\n", "model", "A", "B", "K", "objective",
                "passes", "evaluations", "wall s");
    const char* names[] = {"1.1 spiral", "1.2 Newton", "2 Smirnov"};
    for (int which = 0; which < 3; ++which) {
        AnalysisState c = s;
        std::unique_ptr<FitClock> clock;
        if (virtualUs > 0)
            clock = std::make_unique<VirtualClock>(virtualUs);
        else
            clock = std::make_unique<WallClock>();
        FitSettings set;
        set.Koef_Umen = which == 2 ? 1.0005 : 1.00025;
        const auto t0 = std::chrono::steady_clock::now();
        const FitReport r = which == 0   ? Podbor_Spiral(c, set, *clock)
                            : which == 1 ? Podbor_Newton(c, set, *clock)
                                         : Podbor_Smirnov(c, set, *clock);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const Mod_Weib& M = which == 0 ? c.ModSpir : which == 1 ? c.ModNewton : c.ModSmirnov;
        std::printf("%-10s %10.5f %12.3f %10.6f %14.6g %10lld %12lld %9.2f\n", names[which], M.A,
                    M.B, M.K_powtor, r.objective, r.passes, r.evaluations, wall);
    }
    return 0;
}
