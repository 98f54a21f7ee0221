#pragma once
// The worker objects of the main window. Each is moved to its own QThread, gets its inputs
// copied in, reports through queued signals and hands its result back by value, marked
// with the job's number so that the window can tell a late one; stop requests are atomics,
// so the window never waits on a call from the worker. A job that meets Weib_Interv's
// broken invariant stops and ends as failed with its message.

#include "analysis/state.h"
#include "external/optimizer_process.h"
#include "genetic/genetic_engine.h"
#include "stats/calculation_run.h"
#include "stats/interval_watch.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace wf::ui {

// The number the window gave a job when it started it.
using JobId = std::uint64_t;

struct CalcJobResult {
    JobId job = 0;
    CalcOutcome outcome; // its writes are what the run changed in the state it was given
};

class CalcWorker : public QObject {
    Q_OBJECT
public:
    CalcWorker(JobId job, AnalysisState input, CalcSettings settings,
               std::unique_ptr<FitClock> clock);
    void run();
    void cancel() { cancel_.store(true); } // any thread

signals:
    void progressed(const QString& stage, double fraction, qint64 elapsedUs);
    void finished(const std::shared_ptr<wf::ui::CalcJobResult>& result);

private:
    JobId job_;
    AnalysisState input_;
    CalcSettings settings_;
    std::unique_ptr<FitClock> clock_;
    std::atomic<bool> cancel_{false};
};

// Slider positions as the user set them and the copy-best count, written by the window and
// read by the searching thread. The search's own positions stay in its worker.
struct GeneticControls {
    std::atomic<int> crossover{55};
    std::atomic<int> mutation{15};
    // A std::mutex: ThreadSanitizer sees all of its locking, QMutex's contended path is
    // inside uninstrumented Qt.
    std::mutex mutex;
    std::optional<int> copyBest; // guarded by mutex; nullopt: the text is no whole number
};

struct GeneticJobResult {
    JobId job = 0;
    GeneticOutcome outcome;
};

class GeneticWorker : public QObject, private GeneticHost {
    Q_OBJECT
public:
    GeneticWorker(JobId job, AnalysisState snapshot, GeneticSettings settings,
                  std::shared_ptr<GeneticControls> controls);
    void run();
    void cancel() { stop_.store(true); }              // any thread
    void requestCopyBest() { copyBest_.store(true); } // any thread

signals:
    void logLine(const QString& line);
    void slidersMoved(int crossover, int mutation);
    void generationsShown(long long shown);
    void progressed(int percent);
    void finished(const std::shared_ptr<wf::ui::GeneticJobResult>& result);

private:
    // The search's own position, or the user's where the user moved the slider since.
    int crossoverSlider() override { return own(controls_->crossover, crossover_); }
    int mutationSlider() override { return own(controls_->mutation, mutation_); }
    void setSliders(int crossover, int mutation) override;
    std::optional<int> copyBestCount() override;
    void log(const QString& line) override { emit logLine(line); }
    void showGenerations(long long shown) override { emit generationsShown(shown); }
    void progress(int percent) override { emit progressed(percent); }
    bool stopRequested() override { return stop_.load() || watch_.tripped(); }
    bool takeCopyBestRequest() override { return copyBest_.exchange(false); }

    JobId job_;
    IntervalWatch watch_;
    AnalysisState snapshot_;
    GeneticSettings settings_;
    std::shared_ptr<GeneticControls> controls_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> copyBest_{false};

    struct Position {
        int own = 0;  // where the search put the slider
        int seen = 0; // the user's position when last read
    };
    static int own(const std::atomic<int>& user, Position& p);
    Position crossover_, mutation_; // searching thread only
};

struct ExternalJobResult {
    JobId job = 0;
    ExternalResult result;
};

class ExternalWorker : public QObject {
    Q_OBJECT
public:
    ExternalWorker(JobId job, QString filePath, ExternalSettings settings);
    void run();
    void cancel() { cancel_.store(true); }

signals:
    void finished(const std::shared_ptr<wf::ui::ExternalJobResult>& result);

private:
    JobId job_;
    QString filePath_;
    ExternalSettings settings_;
    std::atomic<bool> cancel_{false};
};

} // namespace wf::ui
