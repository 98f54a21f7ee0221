#pragma once
// The genetic search for the Weibull model's parameters, without widgets. It runs on the
// caller's thread (the window calls it from its worker), evaluates each generation's
// children and mutants on a small thread pool, and reports through a GeneticHost.

#include "analysis/state.h"
#include "core/job_end.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace wf {

// What the search needs from outside; every call comes from the searching thread.
class GeneticHost {
public:
    virtual ~GeneticHost() = default;
    virtual int crossoverSlider() = 0; // crossover probability slider, 0..100
    virtual int mutationSlider() = 0;  // mutation probability slider, 0..100
    // New slider positions, called when the schedule moved at least one; a slider whose
    // value the generation took comes back at the position just read.
    virtual void setSliders(int crossover, int mutation) = 0;
    // How many best to copy back; nullopt when the count typed is not a whole number (the
    // copy-back is then skipped and the run goes on).
    virtual std::optional<int> copyBestCount() = 0;
    virtual void log(const QString& line) = 0; // one line of the log
    // The number the generations field shows: snapshots kept since the last copy-back.
    virtual void showGenerations(long long shown) = 0;
    virtual void progress(int percent) = 0; // progress bar: 5, 10, ... 100
    // The job's own requests, set from any thread: stop after the current generation, and
    // copy the best (taken, that is read and cleared, once per generation).
    virtual bool stopRequested() = 0;
    virtual bool takeCopyBestRequest() = 0;
};

// A host holding plain values: the sliders move as the search sets them, log lines are
// collected. Used by the command line and the tests; override what you need.
class BasicGeneticHost : public GeneticHost {
public:
    int crossover = 55;
    int mutation = 15;
    std::optional<int> copyBest = 50;
    QStringList lines;
    long long generationsShown = -1; // -1: never shown
    int lastProgress = 0;

    int crossoverSlider() override { return crossover; }
    int mutationSlider() override { return mutation; }
    void setSliders(int c, int m) override {
        crossover = c;
        mutation = m;
    }
    std::optional<int> copyBestCount() override { return copyBest; }
    void log(const QString& line) override { lines << line; }
    void showGenerations(long long shown) override { generationsShown = shown; }
    void progress(int percent) override { lastProgress = percent; }
    bool stopRequested() override { return stopRequest.load(); }
    bool takeCopyBestRequest() override { return copyBestRequest.exchange(false); }

    std::atomic<bool> stopRequest{false};
    std::atomic<bool> copyBestRequest{false};
};

struct GeneticSettings {
    int SizePopulation = 3000;
    int Kol_Pokol = 1500;
    // nullopt: every re-seed takes a value that never repeats (clock, counter, entropy);
    // set: every re-seed derives from it, so a run repeats exactly.
    std::optional<std::uint64_t> seed;
    // 0 = all cores. A seeded run gives the same result whatever the count.
    int threads = 0;
    // Memory for keeping each candidate's Weibull values for its children to reuse; when a
    // run would need more (or 0 is given), every evaluation computes them. Same results.
    std::size_t reuseBudgetBytes = std::size_t{256} << 20;
    // After the last generation, refine the best by a local descent (kept only if better).
    bool polish = true;
    // At least 10 individuals (mutation never touches the 8 best and the last), at most
    // 1000000, and at least one generation (the schedule divides by the count).
    bool populationValid(QString* why = nullptr) const;
    bool generationsValid(QString* why = nullptr) const;
    bool valid(QString* why = nullptr) const {
        return populationValid(why) && generationsValid(why);
    }
};

struct GeneticOutcome {
    bool ranGenerations = false; // false: setup failed, the end steps must not run
    std::array<double, 5> Gen_Par_Best{};
    double Best_Celev_F = kNoObjectiveYet;
    long long evaluations = 0; // objective evaluations made
    int generations = 0;       // generation bodies entered
    // Done; Cancelled: ended by the host's stop request; Failed: the setup failed (no
    // generation ran) or a generation did ("Исключительная ситуация!" logged).
    JobEnd end;
    bool polished = false; // the local refinement ran and improved the best
    long long polishEvaluations = 0;
};

// One search on a snapshot of the state: reads Hist, Park, Kol_Otk_Bez_Braka, Sred_Gar,
// SKO_Gar, Podbor_Sred, Podbor_SKO, Kol_Genov, Tochnost, Gen_Shag and Gen_Par_Best (kept
// when no generation records a best). A copy-best request made before the start is
// dropped; a stop request made before the start still lets one generation run.
GeneticOutcome runGeneticSearch(const AnalysisState& snapshot, const GeneticSettings& set,
                                GeneticHost& host);

} // namespace wf
