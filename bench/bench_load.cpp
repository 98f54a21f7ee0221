// Loading a 100,000-failure data file (read, causes, sort, summary) and producing every
// failure-table row.
#include "big_fleet_file.h"

#include "analysis/failure_file.h"
#include "analysis/settings_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kFailures = wf::bench::kBigFleetFailures;

QByteArray makeFile() {
    return wf::bench::bigFleetFile();
}

struct Fixture {
    QTemporaryDir dir;
    QString path;
    QByteArray settingsBackup;
    bool hadSettings = false;
    Fixture() {
        path = dir.filePath(QStringLiteral("big.txt"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(makeFile());
        QFile s(wf::settingsFilePath());
        hadSettings = s.exists() && s.open(QIODevice::ReadOnly);
        if (hadSettings) settingsBackup = s.readAll();
    }
    ~Fixture() {
        // Leave the settings file as it was.
        if (hadSettings) {
            QFile s(wf::settingsFilePath());
            if (s.open(QIODevice::WriteOnly | QIODevice::Truncate)) s.write(settingsBackup);
        } else {
            QFile::remove(wf::settingsFilePath());
        }
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_OpenFailureFile(benchmark::State& st) {
    const QString path = fixture().path;
    for (auto _ : st) {
        wf::AnalysisState s;
        const wf::LoadResult r = wf::OpenFailureFile(s, path);
        if (!r.end.done() || s.Otkazy.size() != static_cast<std::size_t>(kFailures))
            st.SkipWithError("load failed");
        benchmark::DoNotOptimize(r);
    }
    st.counters["failures"] = kFailures;
}
BENCHMARK(BM_OpenFailureFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ProblemsGridAllRows(benchmark::State& st) {
    wf::AnalysisState s;
    const wf::LoadResult r = wf::OpenFailureFile(s, fixture().path);
    for (auto _ : st) {
        qsizetype chars = 0;
        for (int i = 0; i < kFailures; ++i) chars += wf::problemsGridRow(s, r.summary, i)[2].size();
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(BM_ProblemsGridAllRows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
