#include "ui/workers.h"

#include "format/messages.h"
#include "format/number_format.h"

#include <QElapsedTimer>

namespace wf::ui {

CalcWorker::CalcWorker(JobId job, AnalysisState input, CalcSettings settings,
                       std::unique_ptr<FitClock> clock)
    : job_(job)
    , input_(std::move(input))
    , settings_(std::move(settings))
    , clock_(std::move(clock)) {}

void CalcWorker::run() {
    QElapsedTimer sinceReport;
    sinceReport.start();
    QString lastStage;
    const IntervalWatch watch;
    // Fits report often; the window hears about it a few times a second at most.
    const ProgressFn progress = [&](const Progress& p) {
        if (p.stage != lastStage || sinceReport.elapsed() >= 100) {
            lastStage = p.stage;
            sinceReport.restart();
            emit progressed(p.stage, p.fraction, p.elapsedUs);
        }
        return !cancel_.load() && !watch.tripped();
    };
    auto result = std::make_shared<CalcJobResult>();
    result->job = job_;
    result->outcome = runCalculation(std::move(input_), settings_, *clock_, progress);
    result->outcome.end = watch.end(result->outcome.end);
    emit finished(result);
}

GeneticWorker::GeneticWorker(JobId job, AnalysisState snapshot, GeneticSettings settings,
                             std::shared_ptr<GeneticControls> controls)
    : job_(job)
    , snapshot_(std::move(snapshot))
    , settings_(settings)
    , controls_(std::move(controls)) {}

int GeneticWorker::own(const std::atomic<int>& user, Position& p) {
    const int u = user.load();
    if (u != p.seen) p.own = p.seen = u;
    return p.own;
}

void GeneticWorker::setSliders(int crossover, int mutation) {
    crossover_.own = crossover;
    mutation_.own = mutation;
    emit slidersMoved(crossover, mutation);
}

std::optional<int> GeneticWorker::copyBestCount() {
    const std::lock_guard lock(controls_->mutex);
    return controls_->copyBest;
}

void GeneticWorker::run() {
    auto result = std::make_shared<GeneticJobResult>();
    result->job = job_;
    watch_ = IntervalWatch();
    crossover_.own = crossover_.seen = controls_->crossover.load();
    mutation_.own = mutation_.seen = controls_->mutation.load();
    result->outcome = runGeneticSearch(snapshot_, settings_, *this);
    result->outcome.end = watch_.end(result->outcome.end);
    // The sliders go back to the user's positions; where the search left them is logged.
    emit logLine(msg::searchSliders(fmt::format(QStringLiteral("%4.2f"), {crossover_.own / 100.0}),
                                    fmt::format(QStringLiteral("%4.2f"), {mutation_.own / 100.0})));
    emit finished(result);
}

ExternalWorker::ExternalWorker(JobId job, QString filePath, ExternalSettings settings)
    : job_(job)
    , filePath_(std::move(filePath))
    , settings_(std::move(settings)) {}

void ExternalWorker::run() {
    auto result = std::make_shared<ExternalJobResult>();
    result->job = job_;
    result->result = runExternalOptimizer(filePath_, settings_,
                                          [this](const Progress&) { return !cancel_.load(); });
    emit finished(result);
}

} // namespace wf::ui
