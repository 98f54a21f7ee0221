#pragma once
// The worker objects of the main window. Each is moved to its own QThread, gets its inputs
// copied in, reports through queued signals and hands its result back by value; stop
// requests are atomics, so the window never waits on a call from the worker.

#include "analysis/state.h"
#include "genetic/external_optimizer.h"
#include "genetic/genetic_engine.h"
#include "stats/calculation_run.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace wf::ui {

struct CalcJobResult {
    AnalysisState state; // the window's state after the run
    CalcOutcome outcome;
};

class CalcWorker : public QObject {
    Q_OBJECT
public:
    CalcWorker(AnalysisState input, CalcSettings settings, std::unique_ptr<FitClock> clock);
    void run();
    void cancel() { cancel_.store(true); } // any thread

signals:
    void progressed(const QString& stage, double fraction, qint64 elapsedUs);
    void finished(const std::shared_ptr<wf::ui::CalcJobResult>& result);

private:
    std::unique_ptr<CalcJobResult> job_;
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
    GeneticOutcome outcome;
};

class GeneticWorker : public QObject, private GeneticHost {
    Q_OBJECT
public:
    GeneticWorker(AnalysisState snapshot, GeneticSettings settings,
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
    bool stopRequested() override { return stop_.load(); }
    bool takeCopyBestRequest() override { return copyBest_.exchange(false); }

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
    ExternalResult result;
};

class ExternalWorker : public QObject {
    Q_OBJECT
public:
    ExternalWorker(QString filePath, ExternalSettings settings);
    void run();
    void cancel() { cancel_.store(true); }

signals:
    void finished(const std::shared_ptr<wf::ui::ExternalJobResult>& result);

private:
    QString filePath_;
    ExternalSettings settings_;
    std::atomic<bool> cancel_{false};
};

} // namespace wf::ui
