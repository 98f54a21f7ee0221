// The main window's long jobs: the calculation run, the genetic search and the external
// optimizer, each on its own worker thread.

#include "ui/main_window.h"

#include "external/external_model.h"
#include "format/messages.h"
#include "genetic/genetic_run.h"
#include "ui/message_box.h"
#include "ui/thread_handover.h"
#include "ui/workers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QThread>

#include <cstdlib>

namespace wf::ui {

bool TForm1::jobRunning() const {
    return calcThread_ || geneticThread_ || externalThread_;
}

std::unique_ptr<FitClock> TForm1::makeClock() const {
    if (evalCostUs_) return std::make_unique<VirtualClock>(*evalCostUs_);
    return std::make_unique<WallClock>();
}

namespace {

// A new thread, named for the job, that runs the worker once started; the caller connects
// the worker's signals and starts the thread.
template <class Worker> QThread* workerThread(Worker* worker, const QString& name) {
    auto* thread = new QThread;
    thread->setObjectName(name);
    worker->moveToThread(thread);
    QObject::connect(thread, &QThread::started, worker, &Worker::run);
    // Emitted on the worker's thread as it ends; finishThread() takes over from here.
    QObject::connect(
        thread, &QThread::finished, thread, [thread] { releaseTo(thread); }, Qt::DirectConnection);
    return thread;
}

} // namespace

void TForm1::setJobControlsEnabled(bool enabled) {
    // Everything that could change the analysis state waits for the running job.
    for (QWidget* w :
         {static_cast<QWidget*>(openDataButton), static_cast<QWidget*>(openWarrantyButton),
          static_cast<QWidget*>(calculateButton), static_cast<QWidget*>(geneticButton),
          static_cast<QWidget*>(externalButton)})
        w->setEnabled(enabled);
    // The stops only mean something while a job runs.
    stopGeneticButton->setEnabled(!enabled);
    stopCalcButton->setEnabled(!enabled);
}

void TForm1::finishThread(QPointer<QThread>& t) {
    if (!t) return;
    t->quit();
    t->wait();
    // Everything the worker did, its result included, is ours now.
    acquireFrom(t.data());
    delete t.data();
}

void TForm1::intervalBroken() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    QMessageBox box(QMessageBox::Critical, wf::msg::intervalGuardCaption, wf::msg::intervalGuard,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
    std::_Exit(1);
}

void TForm1::bbRaschetClick() {
    if (jobRunning()) return;
    CalcFields f;
    f.filePath = filePathEdit->text();
    f.warrantyMean = warrantyMeanEdit->text();
    f.warrantySd = warrantySdEdit->text();
    f.countingPeriod = countingPeriodEdit->text();
    f.burnIn = burnInEdit->text();
    f.stepFactorSpiral = stepFactorSpiralEdit->text();
    f.stepFactorNewton = stepFactorNewtonEdit->text();
    f.stepFactorSmirnov = stepFactorSmirnovEdit->text();
    f.spiral = spiralBox->isChecked();
    f.newton = newtonBox->isChecked();
    f.smirnov = smirnovBox->isChecked();
    f.mle = mleBox->isChecked();
    f.confidence = confidenceEdit->text();
    f.bounds =
        boundsChoice->currentIndex() == 1 ? BoundsMethod::Wald : BoundsMethod::LikelihoodRatio;
    f.fitMean = fitMeanBox->isChecked();
    f.fitSd = fitSdBox->isChecked();
    f.criterion = criterionButtons->checkedId();
    runBurnIn_ = f.burnIn;

    liveJob_ = ++jobSerial_;
    auto* worker = new CalcWorker(liveJob_, state_, readCalcSettings(f), makeClock());
    QThread* thread = workerThread(worker, QStringLiteral("CalcThread"));
    connect(worker, &CalcWorker::progressed, this, &TForm1::onCalcProgress);
    connect(worker, &CalcWorker::finished, this, &TForm1::onCalcFinished);
    calcThread_ = thread;
    calcWorker_ = worker;
    setJobControlsEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    calcStage->setText(wf::msg::stageCalculation);
    calcProgress->setRange(0, 0);
    calcProgress->show();
    thread->start();
}

void TForm1::onCalcProgress(const QString& stage, double fraction, qint64 elapsedUs) {
    calcStage->setText(stage + QStringLiteral("   ") + longTimeText(splitElapsed(elapsedUs)));
    if (fraction >= 0) {
        calcProgress->setRange(0, 100);
        calcProgress->setValue(static_cast<int>(fraction * 100));
    } else {
        calcProgress->setRange(0, 0);
    }
}

void TForm1::onCalcFinished(const std::shared_ptr<CalcJobResult>& r) {
    // Only the running job's own worker ends it. Nothing else's result is even read: the
    // worker's writes are ours only once its thread has ended.
    if (!calcThread_ || sender() != calcWorker_.data()) return;
    finishThread(calcThread_);
    const bool live = r && r->job == liveJob_;
    liveJob_ = 0;
    delete calcWorker_.data();
    QApplication::restoreOverrideCursor();
    calcProgress->hide();
    calcStage->clear();
    setJobControlsEnabled(true);
    if (!live) return;
    if (r->outcome.end.message == wf::msg::intervalGuard) return intervalBroken();
    applyCalcWrites(state_, r->outcome.writes);
    memoLines(r->outcome.memo);
    showRunMessages(r->outcome.messages, r->outcome.field);
    if (r->outcome.end.done()) showResults(runBurnIn_);
    QApplication::beep();
    emit jobFinished();
}

void TForm1::ToolBRunGenOptimClick() {
    if (jobRunning()) return;
    GeneticFields f;
    f.filePath = filePathEdit->text();
    f.warrantyMean = warrantyMeanEdit->text();
    f.warrantySd = warrantySdEdit->text();
    f.countingPeriod = countingPeriodEdit->text();
    f.burnIn = burnInEdit->text();
    f.accuracy = accuracyEdit->text();
    f.population = populationEdit->text();
    f.generations = generationsEdit->text();
    f.fitMean = fitMeanBox->isChecked();
    f.fitSd = fitSdBox->isChecked();
    const GeneticPrep prep = prepareGeneticRun(state_, readGeneticSettings(f));
    showRunMessages(prep.messages, prep.field);
    if (!prep.end.done()) return;
    runBurnIn_ = f.burnIn;
    typedGenerations_ = f.generations;
    GeneticSettings set = prep.settings;
    set.polish = polishBox->isChecked();
    if (geneticSeed_) set.seed = geneticSeed_;

    // The stop and copy buttons reach the search through its worker's own requests;
    // nothing of the window's state is shared with it.
    liveJob_ = ++jobSerial_;
    auto* worker = new GeneticWorker(liveJob_, state_, set, geneticControls_);
    QThread* thread = workerThread(worker, QStringLiteral("TGen"));
    connect(worker, &GeneticWorker::logLine, logEdit, &QPlainTextEdit::appendPlainText);
    connect(worker, &GeneticWorker::slidersMoved, this, [this](int c, int m) {
        // The search already holds these values (and may have moved on): showing them
        // must not write an older position back.
        const QSignalBlocker b1(crossoverTrack), b2(mutationTrack);
        crossoverTrack->setValue(c);
        mutationTrack->setValue(m);
        updateSliderHints();
    });
    connect(worker, &GeneticWorker::generationsShown, generationsEdit,
            [this](long long n) { generationsEdit->setText(QString::number(n)); });
    connect(worker, &GeneticWorker::progressed, geneticProgress, &QProgressBar::setValue);
    connect(worker, &GeneticWorker::finished, this, &TForm1::onGeneticFinished);
    geneticThread_ = thread;
    geneticWorker_ = worker;
    // ThreadStarted: one run at a time, and nothing else may change the state meanwhile.
    setJobControlsEnabled(false);
    populationEdit->setEnabled(false);
    geneticProgress->setValue(0);
    thread->start(QThread::HighPriority);
}

void TForm1::onGeneticFinished(const std::shared_ptr<GeneticJobResult>& r) {
    // Only the running job's own worker ends it. Nothing else's result is even read: the
    // worker's writes are ours only once its thread has ended.
    if (!geneticThread_ || sender() != geneticWorker_.data()) return;
    finishThread(geneticThread_);
    const bool live = r && r->job == liveJob_;
    liveJob_ = 0;
    delete geneticWorker_.data();
    // The field counted the generations down; the next run wants the user's number.
    generationsEdit->setText(typedGenerations_);
    geneticProgress->setValue(0);
    // The search moved the sliders to show its rates; the next run starts from the user's.
    {
        const QSignalBlocker b1(crossoverTrack), b2(mutationTrack);
        crossoverTrack->setValue(geneticControls_->crossover.load());
        mutationTrack->setValue(geneticControls_->mutation.load());
    }
    updateSliderHints();
    ThreadTerminated();
    if (!live) return;
    if (r->outcome.end.message == wf::msg::intervalGuard) return intervalBroken();
    const QStringList lines = applyGeneticOutcome(state_, r->outcome);
    memoLines(lines);
    if (r->outcome.ranGenerations) showResults(runBurnIn_);
    emit jobFinished();
}

void TForm1::ThreadTerminated() {
    setJobControlsEnabled(true);
    populationEdit->setEnabled(true);
}

void TForm1::btnCopyBestClick() {
    if (geneticWorker_) geneticWorker_->requestCopyBest();
}

void TForm1::StopBtnClick() {
    if (calcWorker_) calcWorker_->cancel();
    if (geneticWorker_) geneticWorker_->cancel();
    if (externalWorker_) externalWorker_->cancel();
}

void TForm1::OutsorsGoBtnClick() {
    if (jobRunning()) return;
    runBurnIn_ = burnInEdit->text();
    liveJob_ = ++jobSerial_;
    auto* worker =
        new ExternalWorker(liveJob_, filePathEdit->text(),
                           externalSettings_ ? *externalSettings_ : readExternalSettings());
    QThread* thread = workerThread(worker, QStringLiteral("ExternalOptimizer"));
    connect(worker, &ExternalWorker::finished, this, &TForm1::onExternalFinished);
    externalThread_ = thread;
    externalWorker_ = worker;
    setJobControlsEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    calcStage->setText(wf::msg::externalRunning);
    calcProgress->setRange(0, 0);
    calcProgress->show();
    thread->start();
}

void TForm1::onExternalFinished(const std::shared_ptr<ExternalJobResult>& r) {
    // Only the running job's own worker ends it. Nothing else's result is even read: the
    // worker's writes are ours only once its thread has ended.
    if (!externalThread_ || sender() != externalWorker_.data()) return;
    finishThread(externalThread_);
    const bool live = r && r->job == liveJob_;
    liveJob_ = 0;
    delete externalWorker_.data();
    QApplication::restoreOverrideCursor();
    calcProgress->hide();
    calcStage->clear();
    setJobControlsEnabled(true);
    if (!live) return;
    const ExternalResult& x = r->result;
    if (x.end.done()) {
        const QStringList lines = applyExternalModel(state_, x.A, x.B, x.K);
        if (lines.isEmpty()) {
            showMessage(this, wf::msg::externalNoData);
        } else {
            memoLines(lines);
            showResults(runBurnIn_);
        }
    } else if (!x.end.message.isEmpty()) {
        showMessage(this, x.end.message);
    }
    emit jobFinished();
}

void TForm1::stopAllJobs() {
    // A result already queued when the signals go is told apart by its number.
    liveJob_ = 0;
    const bool busyCursor = calcThread_ || externalThread_;
    for (QObject* w :
         {static_cast<QObject*>(calcWorker_.data()), static_cast<QObject*>(geneticWorker_.data()),
          static_cast<QObject*>(externalWorker_.data())})
        if (w) disconnect(w, nullptr, this, nullptr);
    StopBtnClick();
    finishThread(calcThread_);
    finishThread(geneticThread_);
    finishThread(externalThread_);
    delete calcWorker_.data();
    delete geneticWorker_.data();
    delete externalWorker_.data();
    if (busyCursor) QApplication::restoreOverrideCursor();
}

} // namespace wf::ui
