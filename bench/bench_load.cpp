// Loading a 100,000-failure data file (read, causes, sort, summary) and producing every
// failure-table row.
#include "analysis/failure_file.h"
#include "analysis/settings_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kFailures = 100'000;

const char* const kCauses[] = {"Датчик давления", "Топливный насос", "Генератор",
                               "Стартер",         "Термостат",       "Блок управления",
                               "Водяной насос",   "Ремень привода",  "Форсунка",
                               "Радиатор",        "Электропроводка", "Турбокомпрессор"};

QByteArray makeFile() {
    std::mt19937 rng(7);
    std::weibull_distribution<double> life(1.3, 6000.0);
    std::uniform_int_distribution<int> pick(0, 13);
    QString text = QStringLiteral("Большой парк\r\n3000\r\n800\r\n300000\r\n100000\r\n12\r\n");
    for (const char* c : kCauses) text += QString::fromUtf8(c) + QStringLiteral("\r\n");
    for (int i = 0; i < kFailures; ++i) {
        const int c = pick(rng);
        const QString cause =
            c < 12 ? QString::fromUtf8(kCauses[c]).toLower() + QStringLiteral(" узла")
                   : QStringLiteral("прочие неисправности");
        text += QString::number(life(rng), 'f', 1) + QLatin1Char('\t') + cause +
                QStringLiteral(" * описание отказа номер ") + QString::number(i) +
                QStringLiteral("\r\n");
    }
    return text.toUtf8();
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
        if (!r.ok || s.Otkazy.size() != static_cast<std::size_t>(kFailures))
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
