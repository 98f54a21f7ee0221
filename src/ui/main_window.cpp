#include "ui/main_window.h"

#include "analysis/install_layout.h"
#include "analysis/settings_file.h"
#include "analysis/warranty_file.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "results/results_data.h"
#include "ui/app_info.h"
#include "ui/chart_builder.h"
#include "ui/failure_table_model.h"
#include "ui/log_view.h"
#include "ui/message_box.h"
#include "ui/results_window.h"
#include "ui/workers.h"

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMutexLocker>
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

    connect(OpenFileStart, &QPushButton::clicked, this, &TForm1::OpenFileStartClick);
    connect(SpeedButton1, &QPushButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(bbRaschet, &QPushButton::clicked, this, &TForm1::bbRaschetClick);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ToolBRunGenOptim, &QPushButton::clicked, this, &TForm1::ToolBRunGenOptimClick);
    connect(btnCopyBest, &QPushButton::clicked, this, &TForm1::btnCopyBestClick);
    connect(StopBtn, &QPushButton::clicked, this, &TForm1::StopBtnClick);
    connect(StopCalcBtn, &QPushButton::clicked, this, &TForm1::StopBtnClick);
    connect(ResultsBtn, &QPushButton::clicked, this, &TForm1::ResultsBtnClick);
    connect(OutsorsGoBtn, &QPushButton::clicked, this, &TForm1::OutsorsGoBtnClick);
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
    connect(TrackBar2, &QSlider::valueChanged, this, &TForm1::TrackBar2Change);
    connect(LabeledEdit1, &QLineEdit::textChanged, this, [this](const QString& t) {
        QMutexLocker lock(&geneticControls_->mutex);
        geneticControls_->copyBest = fmt::parseInt(t);
    });
    geneticControls_->copyBest = fmt::parseInt(LabeledEdit1->text());
    TrackBar1Change();
    TrackBar2Change();

    QString last = readLastDataPath();
    if (last.isEmpty()) last = QCoreApplication::applicationDirPath();
    FilePath->setText(last);
}

TForm1::~TForm1() {
    stopAllJobs();
    delete LNview.data();
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
        startFolder(lastDataChoice_.isEmpty() ? FilePath->text() : lastDataChoice_);
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
    const QString before = FilePath->text();
    FilePath->setText(path);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LoadResult r = OpenFailureFile(state_, path);
    if (r.end.done()) {
        applyLoad(r);
        loadedPath_ = FilePath->text();
    } else {
        // The analysis keeps the data it had: so does the field.
        FilePath->setText(loadedPath_.isEmpty() ? before : loadedPath_);
    }
    QApplication::restoreOverrideCursor();
    showMessages(this, r.messages);
}

void TForm1::applyLoad(const LoadResult& r) {
    const MainFields& f = r.fields;
    FilePath->setText(f.filePath);
    Label10->setText(f.caption);
    meSred->setText(f.warrantyMean);
    meSKO->setText(f.warrantySd);
    meKolAll->setText(f.fleetSize);
    meKolOtk->setText(f.failureCount);
    LabeledEdit2->setText(f.countingPeriod);
    Edit1->setText(f.stepFactorSpiral);
    Edit6->setText(f.stepFactorNewton);
    Edit5->setText(f.stepFactorSmirnov);
    Edit2->setText(f.accuracy);
    if (f.generations) NPokoleny->setText(*f.generations);

    const int n = static_cast<int>(state_.Otkazy.size());
    std::vector<FailureTableModel::Row> rows(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        rows[static_cast<std::size_t>(i)] = problemsGridRow(state_, r.summary, i);
    tableModel_->setRows(problemsGridHeader(), std::move(rows));
    const auto widths = problemsGridWidths();
    for (int c = 0; c < 4; ++c)
        Problems_Grid->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    // Row 0 holds the header texts; the view shows them in its fixed header instead.
    Problems_Grid->setRowHidden(0, true);

    ChartOptions o;
    o.hideAxisLabels = true;
    fillChart(Chart2, TLNview::accumulationChart(r.summary.points, r.summary.line), o);
}

void TForm1::SpeedButton1Click() {
    if (jobRunning()) return;
    // The warranty choice changes the dialog's filter for good, data files included.
    dialogFilter_ = QStringLiteral("Файл времен гарантии|gar*.txt");
    const QString start =
        startFolder(lastWarrantyChoice_.isEmpty() ? FilePath->text() : lastWarrantyChoice_);
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
    Edit4->setText(r.fields.fileText);
    if (r.end.done()) {
        const WarrantyFields& f = r.fields;
        Label15->setText(f.caption);
        MaskEdit1->setText(f.count);
        MaskEditSrednee->setText(f.mean);
        MaskEditSKO->setText(f.sd);
        meSred->setText(f.warrantyMean);
        meSKO->setText(f.warrantySd);
    }
    showMessages(this, r.messages);
}

void TForm1::memoLines(const QStringList& lines) {
    for (const QString& l : lines) Memo2->appendPlainText(l);
}

void TForm1::showResults(const QString& burnIn) {
    if (!Form5) return;
    // The burn-in as typed when the run started; a text that is not a number is refused.
    const std::optional<double> value = fmt::parseNumber(burnIn);
    if (!value) {
        showMessage(this, msg::notANumber(burnIn));
        return;
    }
    const ResultsData d = ShowResults(state_, *value, Form5->measure());
    storeResults(state_, d);
    if (!d.end.done()) {
        showMessage(this, d.end.message);
        return;
    }
    Form5->showResults(d);
    ResultsBtn->setEnabled(true);
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
        return meSred;
    case RunField::WarrantySd:
        return meSKO;
    case RunField::CountingPeriod:
        return LabeledEdit2;
    case RunField::BurnIn:
        return LabeledEdit3;
    case RunField::StepFactorSpiral:
        return Edit1;
    case RunField::StepFactorNewton:
        return Edit6;
    case RunField::StepFactorSmirnov:
        return Edit5;
    case RunField::Confidence:
        return EditConfidence;
    case RunField::Accuracy:
        return Edit2;
    case RunField::Population:
        return Edit3;
    case RunField::Generations:
        return NPokoleny;
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
    if (!Form5) return;
    Form5->show();
    Form5->raise();
    Form5->activateWindow();
}

void TForm1::Button2Click() {
    auto* view = new TLNview(logViewData(state_), this);
    LNview = view;
    hide();
    view->show();
}

void TForm1::TrackBar1Change() {
    geneticControls_->crossover.store(TrackBar1->value());
    updateSliderHints();
}

void TForm1::TrackBar2Change() {
    geneticControls_->mutation.store(TrackBar2->value());
    updateSliderHints();
}

void TForm1::updateSliderHints() {
    TrackBar1->setToolTip(QStringLiteral("Вероятность скрещивания ") +
                          wf::fmt::format(QStringLiteral("%4.2f"), {TrackBar1->value() / 100.0}));
    TrackBar2->setToolTip(QStringLiteral("Вероятность мутации ") +
                          wf::fmt::format(QStringLiteral("%4.2f"), {TrackBar2->value() / 100.0}));
    QToolTip::hideText();
}

void TForm1::closeEvent(QCloseEvent* e) {
    QApplication::beep();
    stopAllJobs();
    if (Form5) Form5->hide();
    if (LNview) LNview->deleteLater();
    e->accept();
}

} // namespace wf::ui
