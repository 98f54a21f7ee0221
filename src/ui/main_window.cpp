#include "ui/main_window.h"

#include "analysis/install_layout.h"
#include "analysis/settings_file.h"
#include "analysis/warranty_file.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "results/results_data.h"
#include "stats/interval_watch.h"
#include "ui/app_info.h"
#include "ui/chart_builder.h"
#include "ui/failure_table_model.h"
#include "ui/log_view.h"
#include "ui/message_box.h"
#include "ui/results_window.h"
#include "ui/table_copy.h"
#include "ui/workers.h"

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QThread>
#include <QToolTip>

namespace wf::ui {

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , geneticControls_(std::make_shared<GeneticControls>()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(mainWindowCaption());
    dialogFilter_ = QStringLiteral("файлы данных (txt,rel)|*.txt;*.rel");
    buildLayout();

    connect(openDataButton, &QPushButton::clicked, this, &TForm1::OpenFileStartClick);
    connect(openWarrantyButton, &QPushButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(calculateButton, &QPushButton::clicked, this, &TForm1::bbRaschetClick);
    connect(expandChartButton, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(geneticButton, &QPushButton::clicked, this, &TForm1::ToolBRunGenOptimClick);
    connect(copyBestButton, &QPushButton::clicked, this, &TForm1::btnCopyBestClick);
    connect(stopGeneticButton, &QPushButton::clicked, this, &TForm1::StopBtnClick);
    connect(stopCalcButton, &QPushButton::clicked, this, &TForm1::StopBtnClick);
    connect(resultsButton, &QPushButton::clicked, this, &TForm1::ResultsBtnClick);
    connect(saveProblemsButton, &QPushButton::clicked, this, &TForm1::SaveProblemsClick);
    connect(externalButton, &QPushButton::clicked, this, &TForm1::OutsorsGoBtnClick);
    connect(crossoverTrack, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
    connect(mutationTrack, &QSlider::valueChanged, this, &TForm1::TrackBar2Change);
    connect(copyBestEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
        const std::lock_guard lock(geneticControls_->mutex);
        geneticControls_->copyBest = fmt::parseInt(t);
    });
    geneticControls_->copyBest = fmt::parseInt(copyBestEdit->text());
    TrackBar1Change();
    TrackBar2Change();

    QString last = readLastDataPath();
    if (last.isEmpty()) last = QCoreApplication::applicationDirPath();
    filePathEdit->setText(last);
}

TForm1::~TForm1() {
    stopAllJobs();
    delete logView_.data();
}

QString TForm1::qtFileFilter(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {
// The open dialog starts in the folder of the file last named. While the path field still
// shows the program's own folder (nothing remembered yet), it starts beside the samples.
QString startFolder(const QString& path) {
    if (path == QCoreApplication::applicationDirPath()) {
        const QString samples = sampleDataFolder();
        if (!samples.isEmpty()) return samples;
    }
    const QFileInfo fi(path);
    if (fi.isDir()) return fi.absoluteFilePath();
    return fi.absolutePath();
}
} // namespace

void TForm1::OpenFileStartClick() {
    if (jobRunning()) return;
    const QString start =
        startFolder(lastDataChoice_.isEmpty() ? filePathEdit->text() : lastDataChoice_);
    QString chosen =
        QFileDialog::getOpenFileName(this, QString(), start, qtFileFilter(dialogFilter_));
    if (chosen.isEmpty()) {
        // A cancel reopens the file chosen before; before any choice it does nothing.
        if (lastDataChoice_.isEmpty()) return;
        chosen = lastDataChoice_;
    }
    lastDataChoice_ = chosen;
    loadDataFile(chosen);
}

void TForm1::loadDataFile(const QString& path) {
    if (jobRunning()) return;
    const QString before = filePathEdit->text();
    filePathEdit->setText(path);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LoadResult r = OpenFailureFile(state_, path);
    if (r.end.done()) {
        applyLoad(r);
        loadedPath_ = filePathEdit->text();
        forgetShownResults();
    } else {
        // The analysis keeps the data it had: so does the field.
        filePathEdit->setText(loadedPath_.isEmpty() ? before : loadedPath_);
    }
    QApplication::restoreOverrideCursor();
    showMessages(this, r.messages);
}

void TForm1::applyLoad(const LoadResult& r) {
    const MainFields& f = r.fields;
    filePathEdit->setText(f.filePath);
    captionLabel->setText(f.caption);
    warrantyMeanEdit->setText(f.warrantyMean);
    warrantySdEdit->setText(f.warrantySd);
    fleetSizeEdit->setText(f.fleetSize);
    failureCountEdit->setText(f.failureCount);
    countingPeriodEdit->setText(f.countingPeriod);
    stepFactorSpiralEdit->setText(f.stepFactorSpiral);
    stepFactorNewtonEdit->setText(f.stepFactorNewton);
    stepFactorSmirnovEdit->setText(f.stepFactorSmirnov);
    accuracyEdit->setText(f.accuracy);
    if (f.generations) generationsEdit->setText(*f.generations);

    const int n = static_cast<int>(state_.Otkazy.size());
    std::vector<FailureTableModel::Row> rows(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        rows[static_cast<std::size_t>(i)] = problemsGridRow(state_, r.summary, i);
    tableModel_->setRows(problemsGridHeader(), std::move(rows));
    const auto widths = problemsGridWidths();
    for (int c = 0; c < 4; ++c) failureView->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    // Row 0 holds the header texts; the view shows them in its fixed header instead.
    failureView->setRowHidden(0, true);
    saveProblemsButton->setEnabled(true);

    fillChart(accumulationChart, wf::accumulationChart(r.summary.points, r.summary.line),
              ChartOptions{});
}

bool TForm1::saveProblems(const QString& path) {
    if (writeCsvFile(path, modelCells(tableModel_))) return true;
    showMessage(this, msg::tableCannotWrite(path));
    return false;
}

void TForm1::SaveProblemsClick() {
    const QString path = askCsvPath(this, msg::saveProblemsButton);
    if (!path.isEmpty()) saveProblems(path);
}

void TForm1::SpeedButton1Click() {
    if (jobRunning()) return;
    // The warranty choice changes the dialog's filter for good, data files included.
    dialogFilter_ = QStringLiteral("Файл времен гарантии|gar*.txt");
    const QString start =
        startFolder(lastWarrantyChoice_.isEmpty() ? filePathEdit->text() : lastWarrantyChoice_);
    QString chosen =
        QFileDialog::getOpenFileName(this, QString(), start, qtFileFilter(dialogFilter_));
    if (chosen.isEmpty()) {
        if (lastWarrantyChoice_.isEmpty()) return;
        chosen = lastWarrantyChoice_;
    }
    lastWarrantyChoice_ = chosen;
    loadWarrantyFile(chosen);
}

void TForm1::loadWarrantyFile(const QString& path) {
    if (jobRunning()) return;
    const WarrantyResult r = ReadWarrantyFile(state_, path);
    warrantyFileEdit->setText(r.fields.fileText);
    if (r.end.done()) {
        const WarrantyFields& f = r.fields;
        warrantyCaptionLabel->setText(f.caption);
        warrantyCountEdit->setText(f.count);
        warrantyFileMeanEdit->setText(f.mean);
        warrantyFileSdEdit->setText(f.sd);
        warrantyMeanEdit->setText(f.warrantyMean);
        warrantySdEdit->setText(f.warrantySd);
    }
    forgetShownResults();
    showMessages(this, r.messages);
}

void TForm1::forgetShownResults() {
    const Mod_Weib* models[] = {&state_.ModNewton, &state_.ModSpir, &state_.ModSmirnov,
                                &state_.ModGen,    &state_.ModExt,  &state_.ModMLE};
    for (const Mod_Weib* m : models)
        if (m->Executed) return;
    if (resultsWindow_) resultsWindow_->clearResults();
    resultsButton->setEnabled(false);
}

void TForm1::memoLines(const QStringList& lines) {
    for (const QString& l : lines) logEdit->appendPlainText(l);
}

void TForm1::showResults(const QString& burnIn) {
    if (!resultsWindow_) return;
    // The burn-in as typed when the run started; a text that is not a number is refused.
    const std::optional<double> value = fmt::parseNumber(burnIn);
    if (!value) {
        showMessage(this, msg::notANumber(burnIn));
        return;
    }
    const IntervalWatch watch;
    const ResultsData d = ShowResults(state_, *value, resultsWindow_->measure());
    if (watch.tripped()) return intervalBroken();
    storeResults(state_, d);
    if (!d.end.done()) {
        showMessage(this, d.end.message);
        return;
    }
    resultsWindow_->showResults(d, ReportFacts{.dataFile = filePathEdit->text(),
                                               .warrantyMean = state_.Sred_Gar,
                                               .warrantySd = state_.SKO_Gar,
                                               .burnIn = *value,
                                               .when = QDateTime::currentDateTime()});
    resultsButton->setEnabled(true);
}

QString TForm1::fieldLabel(const QLineEdit* field) const {
    const auto labels = findChildren<QLabel*>();
    for (const QLabel* l : labels)
        if (l->buddy() == field) return l->text().trimmed();
    return field->objectName();
}

QLineEdit* TForm1::fieldEdit(RunField field) const {
    switch (field) {
    case RunField::WarrantyMean:
        return warrantyMeanEdit;
    case RunField::WarrantySd:
        return warrantySdEdit;
    case RunField::CountingPeriod:
        return countingPeriodEdit;
    case RunField::BurnIn:
        return burnInEdit;
    case RunField::StepFactorSpiral:
        return stepFactorSpiralEdit;
    case RunField::StepFactorNewton:
        return stepFactorNewtonEdit;
    case RunField::StepFactorSmirnov:
        return stepFactorSmirnovEdit;
    case RunField::Confidence:
        return confidenceEdit;
    case RunField::Accuracy:
        return accuracyEdit;
    case RunField::Population:
        return populationEdit;
    case RunField::Generations:
        return generationsEdit;
    }
    return nullptr;
}

void TForm1::showRunMessages(const QStringList& texts, std::optional<RunField> field) {
    if (texts.isEmpty()) return;
    QLineEdit* edit = field ? fieldEdit(*field) : nullptr;
    if (!edit) {
        showMessages(this, texts);
        return;
    }
    const QString& first = texts.first();
    // Focus first: the box hands it back to the field when it closes.
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    showMessage(this, first, wf::msg::fieldCaption(fieldLabel(edit)));
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    showMessages(this, texts.mid(1));
}

void TForm1::ResultsBtnClick() {
    if (!resultsWindow_) return;
    resultsWindow_->show();
    resultsWindow_->raise();
    resultsWindow_->activateWindow();
}

void TForm1::Button2Click() {
    auto* view = new TLNview(logViewData(state_), this);
    logView_ = view;
    hide();
    view->show();
}

void TForm1::TrackBar1Change() {
    geneticControls_->crossover.store(crossoverTrack->value());
    updateSliderHints();
}

void TForm1::TrackBar2Change() {
    geneticControls_->mutation.store(mutationTrack->value());
    updateSliderHints();
}

void TForm1::updateSliderHints() {
    crossoverTrack->setToolTip(
        QStringLiteral("Вероятность скрещивания ") +
        wf::fmt::format(QStringLiteral("%4.2f"), {crossoverTrack->value() / 100.0}));
    mutationTrack->setToolTip(
        QStringLiteral("Вероятность мутации ") +
        wf::fmt::format(QStringLiteral("%4.2f"), {mutationTrack->value() / 100.0}));
    QToolTip::hideText();
}

void TForm1::closeEvent(QCloseEvent* e) {
    QApplication::beep();
    stopAllJobs();
    if (resultsWindow_) resultsWindow_->hide();
    if (logView_) logView_->deleteLater();
    e->accept();
}

} // namespace wf::ui
