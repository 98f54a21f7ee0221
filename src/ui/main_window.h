#pragma once
// The main window: data and warranty files, the input fields, the progress log, the
// failure table and accumulation chart, and the two pages that start the deterministic
// fits, the genetic search and the external optimizer. Every long job runs on a worker
// thread on a copy of the analysis state; the window's state changes only on this thread.

#include "analysis/failure_file.h"
#include "analysis/run_fields.h"
#include "analysis/state.h"
#include "core/fit_clock.h"
#include "external/external_settings.h"
#include "ui/log_view.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QChart;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QButtonGroup;
class QGroupBox;
class QSlider;
class QTabWidget;
class QTableView;
class QThread;

namespace wf::ui {

class FailureTableModel;
class TForm5;
class TLNview;
class CalcWorker;
class GeneticWorker;
class ExternalWorker;
struct CalcJobResult;
struct GeneticJobResult;
struct ExternalJobResult;
struct GeneticControls;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    void setResultsWindow(TForm5* form5) { resultsWindow_ = form5; }

    // Clock of the fits: the wall clock unless a cost per evaluation is set (virtual
    // clock, reproducible runs).
    void setEvalCostUs(std::optional<std::int64_t> us) { evalCostUs_ = us; }
    // A fixed seed for genetic runs (reproducible) and the number of pool threads.
    void setGeneticSeed(std::optional<std::uint64_t> seed) { geneticSeed_ = seed; }

    // Where the external optimizer is and how long it may run; unset: the settings file.
    void setExternalSettings(std::optional<ExternalSettings> set) {
        externalSettings_ = std::move(set);
    }

    // The loader on a given path (what "Путь" does once the dialog named a file).
    void loadDataFile(const QString& path);
    // The warranty button on a given path.
    void loadWarrantyFile(const QString& path);

    // The failure table as shown (edits included), header row first, as a CSV file; false,
    // with a message, when it cannot be written.
    bool saveProblems(const QString& path);

    // True while a calculation, genetic search or external optimizer runs.
    bool jobRunning() const;
    const AnalysisState& state() const { return state_; }
    FailureTableModel* failureTable() const { return tableModel_; }
    TLNview* logView() const { return logView_; }

    // "файлы данных (txt,rel)|*.txt;*.rel" -> "файлы данных (txt,rel) (*.txt *.rel)".
    static QString qtFileFilter(const QString& pairs);

    // Handlers under their control names.
    void OpenFileStartClick();
    void SpeedButton1Click();
    void bbRaschetClick();
    void Button2Click();
    void ToolBRunGenOptimClick();
    void btnCopyBestClick();
    void StopBtnClick();
    void OutsorsGoBtnClick();
    void TrackBar1Change();
    void TrackBar2Change();
    // "Результаты": the results window again, as the last results left it.
    void ResultsBtnClick();
    void SaveProblemsClick();

    // A job's end, from its worker. A result from anything but the running job's worker
    // (one stopped, replaced by a newer one, or ended by closing the window) changes nothing.
    void onCalcFinished(const std::shared_ptr<CalcJobResult>& r);
    void onGeneticFinished(const std::shared_ptr<GeneticJobResult>& r);
    void onExternalFinished(const std::shared_ptr<ExternalJobResult>& r);

signals:
    // A calculation, genetic search or external run has ended and its results are shown.
    void jobFinished();

protected:
    void closeEvent(QCloseEvent* e) override;

public:
    // Controls, named by role; each keeps its documented objectName.
    QLineEdit* filePathEdit = nullptr;
    QPushButton* openDataButton = nullptr;
    QLabel* captionLabel = nullptr;
    QLineEdit* fleetSizeEdit = nullptr;
    QLineEdit* failureCountEdit = nullptr;
    QLineEdit* warrantyMeanEdit = nullptr;
    QLineEdit* warrantySdEdit = nullptr;
    QLineEdit* countingPeriodEdit = nullptr;
    QLineEdit* burnInEdit = nullptr;
    QPushButton* openWarrantyButton = nullptr;
    QLineEdit* warrantyFileEdit = nullptr;
    QLabel* warrantyCaptionLabel = nullptr;
    QLineEdit* warrantyCountEdit = nullptr;
    QLineEdit* warrantyFileMeanEdit = nullptr;
    QLineEdit* warrantyFileSdEdit = nullptr;
    QPlainTextEdit* logEdit = nullptr;
    QTableView* failureView = nullptr;
    QPushButton* saveProblemsButton = nullptr; // "Сохранить таблицу отказов (CSV)…"
    QChart* accumulationChart = nullptr;
    QPushButton* expandChartButton = nullptr;
    QPushButton* resultsButton = nullptr; // shows the results window again
    QTabWidget* pages = nullptr;
    QLineEdit* stepFactorSpiralEdit = nullptr;
    QLineEdit* stepFactorNewtonEdit = nullptr;
    QLineEdit* stepFactorSmirnovEdit = nullptr;
    QCheckBox* spiralBox = nullptr;
    QCheckBox* newtonBox = nullptr;
    QCheckBox* smirnovBox = nullptr;
    QCheckBox* mleBox = nullptr;         // model 3, maximum likelihood
    QLineEdit* confidenceEdit = nullptr; // level of its confidence bounds
    QComboBox* boundsChoice = nullptr;   // by likelihood ratio (0) or by Wald (1)
    QCheckBox* fitMeanBox = nullptr;
    QCheckBox* fitSdBox = nullptr;
    QGroupBox* criterionGroup = nullptr;
    QButtonGroup* criterionButtons = nullptr;
    QPushButton* calculateButton = nullptr;
    QPushButton* stopCalcButton = nullptr; // "Стоп" beside "Расчет"
    QLineEdit* populationEdit = nullptr;
    QLineEdit* accuracyEdit = nullptr;
    QLineEdit* generationsEdit = nullptr;
    QLineEdit* copyBestEdit = nullptr;
    QSlider* crossoverTrack = nullptr;
    QSlider* mutationTrack = nullptr;
    QCheckBox* polishBox = nullptr; // local refinement of the genetic search's best
    QLabel* crossoverLabel = nullptr;
    QLabel* mutationLabel = nullptr;
    QPushButton* copyBestButton = nullptr;
    QPushButton* stopGeneticButton = nullptr;
    QProgressBar* geneticProgress = nullptr;
    QLabel* geneticProgressLabel = nullptr;
    QPushButton* geneticButton = nullptr;
    QPushButton* externalButton = nullptr;
    QLabel* externalNoteLabel = nullptr;
    QProgressBar* calcProgress = nullptr; // status bar: stage and elapsed time of a run
    QLabel* calcStage = nullptr;

private:
    void buildLayout();
    QWidget* buildUpperPanel();
    QWidget* buildFirstPage();
    QWidget* buildSecondPage();

    void applyLoad(const LoadResult& r);
    // The results window and "Результаты" once the state holds no model to show.
    void forgetShownResults();
    void updateSliderHints();
    void memoLines(const QStringList& lines);
    // Results output on the window's state with the burn-in text the run started with; a
    // refusal is shown as a message.
    void showResults(const QString& burnIn);
    // A job's messages; the first, when it is about `field`, names that field in the caption
    // and leaves the focus there with its text selected.
    void showRunMessages(const QStringList& texts, std::optional<RunField> field);
    QLineEdit* fieldEdit(RunField field) const;
    QString fieldLabel(const QLineEdit* field) const;
    void setJobControlsEnabled(bool enabled);
    std::unique_ptr<FitClock> makeClock() const;

    void onCalcProgress(const QString& stage, double fraction, qint64 elapsedUs);
    void ThreadTerminated();
    // After a job met Weib_Interv's broken invariant: the box, then the program ends.
    void intervalBroken();
    // Ends the worker thread `t` (after its job returned or was asked to stop).
    void finishThread(QPointer<QThread>& t);
    void stopAllJobs();

    AnalysisState state_;
    std::uint64_t jobSerial_ = 0; // the last job's number
    std::uint64_t liveJob_ = 0;   // the running job's, 0 when none runs
    FailureTableModel* tableModel_ = nullptr;
    TForm5* resultsWindow_ = nullptr;
    QPointer<TLNview> logView_;
    QString lastDataChoice_;     // the data file the dialog last named
    QString lastWarrantyChoice_; // the warranty file the dialog last named
    QString dialogFilter_;       // the open dialog's filter; the warranty button changes it
    QString loadedPath_;         // the data file the analysis holds ("" before any)
    QString runBurnIn_;          // burn-in text when the running job started
    QString typedGenerations_;   // the generations the user asked for; the run counts down
    std::optional<std::int64_t> evalCostUs_;
    std::optional<std::uint64_t> geneticSeed_;
    std::optional<ExternalSettings> externalSettings_;

    std::shared_ptr<GeneticControls> geneticControls_;
    QPointer<QThread> calcThread_, geneticThread_, externalThread_;
    QPointer<CalcWorker> calcWorker_;
    QPointer<GeneticWorker> geneticWorker_;
    QPointer<ExternalWorker> externalWorker_;
};

} // namespace wf::ui
