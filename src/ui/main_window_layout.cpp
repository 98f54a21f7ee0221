// The controls of the main window, their captions and defaults.

#include "ui/main_window.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "ui/app_info.h"
#include "ui/chart_builder.h"
#include "ui/failure_table_model.h"
#include "ui/log_view.h"
#include "ui/table_copy.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace wf::ui {

namespace {

template <class W> W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// An edit with its caption above it, as a labelled edit shows it.
QWidget* labeled(const QString& caption, QLineEdit* edit, QWidget* parent,
                 QLabel** labelOut = nullptr) {
    auto* box = new QWidget(parent);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    auto* label = new QLabel(caption, box);
    label->setObjectName(edit->objectName() + QStringLiteral("Label"));
    label->setWordWrap(true);
    label->setBuddy(edit);
    l->addWidget(label);
    l->addWidget(edit);
    if (labelOut) *labelOut = label;
    return box;
}

// A page inside a scroll area: it scrolls instead of being cut when the window is low.
QScrollArea* scrolling(QWidget* page) {
    auto* area = new QScrollArea;
    area->setObjectName(page->objectName() + QStringLiteral("Scroll"));
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

QString decimal(const char* whole, const char* fraction) {
    return QString::fromLatin1(whole) + wf::fmt::decimalSeparator() + QString::fromLatin1(fraction);
}

} // namespace

QWidget* TForm1::buildUpperPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);

    filePathEdit = named(new QLineEdit(panel), "FilePath");
    openDataButton = named(new QPushButton(QStringLiteral("Путь"), panel), "OpenFileStart");
    openDataButton->setDefault(true);
    auto* pathRow = new QHBoxLayout;
    auto* pathLabel = new QLabel(QStringLiteral("Файл исходных данных:"), panel);
    pathLabel->setObjectName(QStringLiteral("FilePathLabel"));
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(filePathEdit, 1);
    pathRow->addWidget(openDataButton);
    grid->addLayout(pathRow, 0, 0, 1, 6);

    captionLabel = named(new QLabel(panel), "Label10");
    QFont bold = captionLabel->font();
    bold.setBold(true);
    captionLabel->setFont(bold);
    grid->addWidget(captionLabel, 1, 0, 1, 6);

    fleetSizeEdit = named(new QLineEdit(panel), "meKolAll");
    failureCountEdit = named(new QLineEdit(panel), "meKolOtk");
    // Both come from the data file and nothing reads them back: a display, not an input.
    for (QLineEdit* e : {fleetSizeEdit, failureCountEdit}) {
        e->setReadOnly(true);
        e->setToolTip(wf::msg::fromDataFile);
    }
    warrantyMeanEdit = named(new QLineEdit(panel), "meSred");
    warrantySdEdit = named(new QLineEdit(panel), "meSKO");
    countingPeriodEdit = named(new QLineEdit(panel), "LabeledEdit2");
    burnInEdit = named(new QLineEdit(QStringLiteral("300"), panel), "LabeledEdit3");
    grid->addWidget(labeled(QStringLiteral("Среднее количество объектов в гарантийный период"),
                            fleetSizeEdit, panel),
                    2, 0);
    grid->addWidget(labeled(QStringLiteral("Количество независимых отказов 2-3 групп сложности"),
                            failureCountEdit, panel),
                    2, 1);
    grid->addWidget(labeled(QStringLiteral(" Среднее время гарантии"), warrantyMeanEdit, panel), 2,
                    2);
    grid->addWidget(labeled(QStringLiteral(" СКО времени гарантии"), warrantySdEdit, panel), 2, 3);
    grid->addWidget(
        labeled(QStringLiteral(" Расчетный период учета отказов"), countingPeriodEdit, panel), 2,
        4);
    grid->addWidget(labeled(QStringLiteral(" Расч. время приработки"), burnInEdit, panel), 2, 5);

    auto* fileBox = new QGroupBox(QStringLiteral("Файл данных времен окончания гарантии"), panel);
    fileBox->setObjectName(QStringLiteral("GroupBoxWarrantyFile"));
    auto* fileRow = new QHBoxLayout(fileBox);
    openWarrantyButton = named(new QPushButton(QStringLiteral("File"), fileBox), "SpeedButton1");
    warrantyFileEdit = named(new QLineEdit(fileBox), "Edit4");
    warrantyFileEdit->setReadOnly(true);
    fileRow->addWidget(openWarrantyButton);
    fileRow->addWidget(warrantyFileEdit, 1);
    grid->addWidget(fileBox, 3, 0, 1, 2);

    auto* resultBox =
        new QGroupBox(QStringLiteral("Результат расчета массива времен окончания гарантии"), panel);
    resultBox->setObjectName(QStringLiteral("Panel2"));
    auto* resultRow = new QHBoxLayout(resultBox);
    warrantyCaptionLabel = named(new QLabel(resultBox), "Label15");
    warrantyCountEdit = named(new QLineEdit(resultBox), "MaskEdit1");
    warrantyFileMeanEdit = named(new QLineEdit(resultBox), "MaskEditSrednee");
    warrantyFileSdEdit = named(new QLineEdit(resultBox), "MaskEditSKO");
    resultRow->addWidget(warrantyCaptionLabel, 2);
    resultRow->addWidget(
        labeled(QStringLiteral("Количество объектов анализа"), warrantyCountEdit, resultBox), 1);
    resultRow->addWidget(
        labeled(QStringLiteral("Среднее время гарантии, ч."), warrantyFileMeanEdit, resultBox), 1);
    resultRow->addWidget(
        labeled(QStringLiteral("СКО времени гарантии, ч."), warrantyFileSdEdit, resultBox), 1);
    grid->addWidget(resultBox, 3, 2, 1, 4);
    for (int c = 0; c < 6; ++c) grid->setColumnStretch(c, 1);
    return panel;
}

QWidget* TForm1::buildFirstPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(page);
    auto* params = new QGroupBox(QStringLiteral("Параметры оптимизации"), page);
    params->setObjectName(QStringLiteral("GroupBoxParams"));
    auto* pl = new QGridLayout(params);
    const QString factor = decimal("1", "00025");
    stepFactorSpiralEdit = named(new QLineEdit(factor, params), "Edit1");
    stepFactorNewtonEdit = named(new QLineEdit(factor, params), "Edit6");
    stepFactorSmirnovEdit = named(new QLineEdit(factor, params), "Edit5");
    pl->addWidget(
        labeled(QStringLiteral("Коэф-т уменьшения шага модели 1.1"), stepFactorSpiralEdit, params),
        0, 0);
    pl->addWidget(
        labeled(QStringLiteral("Коэф-т уменьшения шага модели 1.2"), stepFactorNewtonEdit, params),
        0, 1);
    pl->addWidget(
        labeled(QStringLiteral("Коэф-т уменьшения шага модели 2"), stepFactorSmirnovEdit, params),
        0, 2);

    spiralBox = named(
        new QCheckBox(QStringLiteral("Модель 1.1 по Пирсону, метод спирального спуска "), params),
        "SpirSpusk");
    spiralBox->setChecked(true);
    newtonBox =
        named(new QCheckBox(QStringLiteral("Модель 1.2 по Пирсону, метод Ньютона "), params),
              "BoxNewton");
    smirnovBox =
        named(new QCheckBox(QStringLiteral("Модель 2 (по Смирнову)"), params), "BoxSmirnow");
    fitMeanBox = named(new QCheckBox(QStringLiteral("Подбор СВН (мет.1)"), params), "Sred_flag");
    fitSdBox = named(new QCheckBox(QStringLiteral("Подбор СКО (мет.1)"), params), "SKO_Flag");
    pl->addWidget(spiralBox, 1, 0, 1, 2);
    pl->addWidget(fitMeanBox, 1, 2);
    pl->addWidget(newtonBox, 2, 0, 1, 2);
    pl->addWidget(fitSdBox, 2, 2);
    pl->addWidget(smirnovBox, 3, 0, 1, 2);
    // Model 3 costs milliseconds and is the only model with bounds: ticked from the start.
    mleBox = named(new QCheckBox(msg::mleOption, params), "BoxMle");
    mleBox->setChecked(true);
    confidenceEdit = named(new QLineEdit(decimal("0", "95"), params), "EditConfidence");
    boundsChoice = named(new QComboBox(params), "ComboBounds");
    boundsChoice->addItems({msg::boundsByLikelihood, msg::boundsByWald});
    // The level and, below it, the choice of bounds: page 1 keeps its width.
    auto* level = new QWidget(params);
    auto* lv = new QVBoxLayout(level);
    lv->setContentsMargins(0, 0, 0, 0);
    lv->setSpacing(2);
    lv->addWidget(labeled(msg::confidenceLabel, confidenceEdit, level));
    auto* choiceRow = new QHBoxLayout;
    auto* boundsLabel = new QLabel(msg::boundsLabel, level);
    boundsLabel->setBuddy(boundsChoice);
    choiceRow->addWidget(boundsLabel);
    choiceRow->addWidget(boundsChoice, 1);
    lv->addLayout(choiceRow);
    pl->addWidget(mleBox, 3, 2);
    pl->addWidget(level, 4, 2, Qt::AlignTop);

    criterionGroup =
        named(new QGroupBox(QStringLiteral("Способ подбора параметров"), params), "RadioGroup1");
    criterionButtons = new QButtonGroup(criterionGroup);
    // The items side by side: a laptop screen has height to spare for nothing.
    auto* rl = new QHBoxLayout(criterionGroup);
    const QStringList items = {QStringLiteral("Специальный 1 "),
                               QStringLiteral("Стандарт (default)"),
                               QStringLiteral("Специальный 2")};
    for (int i = 0; i < items.size(); ++i) {
        auto* rb = new QRadioButton(items[i], criterionGroup);
        rb->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        criterionButtons->addButton(rb, i);
        rl->addWidget(rb);
    }
    criterionButtons->button(1)->setChecked(true);
    pl->addWidget(criterionGroup, 4, 0, 2, 2);

    calculateButton = named(new QPushButton(QStringLiteral("Расчет"), params), "bbRaschet");
    calculateButton->setMinimumHeight(40);
    // A calculation takes seconds: its stop sits beside the button that started it.
    stopCalcButton = named(new QPushButton(QStringLiteral("Стоп"), params), "StopCalcBtn");
    stopCalcButton->setEnabled(false);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(calculateButton, 3);
    runRow->addWidget(stopCalcButton, 1);
    pl->addLayout(runRow, 5, 2, Qt::AlignBottom);
    layout->addWidget(params);
    layout->addStretch(1);
    return page;
}

QWidget* TForm1::buildSecondPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* g = new QGridLayout(page);
    populationEdit = named(new QLineEdit(QStringLiteral("3000"), page), "Edit3");
    accuracyEdit = named(new QLineEdit(decimal("0", "0000001"), page), "Edit2");
    generationsEdit = named(new QLineEdit(QStringLiteral("1500"), page), "NPokoleny");
    copyBestEdit = named(new QLineEdit(QStringLiteral("50"), page), "LabeledEdit1");
    copyBestEdit->setPlaceholderText(
        QStringLiteral("Скопировать из популяции лучшие варианты и убрать столько же худших"));
    g->addWidget(labeled(QStringLiteral("Размер популяции"), populationEdit, page), 0, 0);
    g->addWidget(labeled(QStringLiteral("Точность подбора"), accuracyEdit, page), 0, 1);
    g->addWidget(labeled(QStringLiteral("Число поколений"), generationsEdit, page), 0, 2);

    auto makeSlider = [page](const char* name, int value) {
        auto* s = named(new QSlider(Qt::Horizontal, page), name);
        s->setRange(0, 100);
        s->setTickInterval(5);
        s->setTickPosition(QSlider::TicksBelow);
        s->setValue(value);
        return s;
    };
    crossoverTrack = makeSlider("TrackBar1", 55);
    mutationTrack = makeSlider("TrackBar2", 15);
    crossoverLabel = named(new QLabel(QStringLiteral("Вероятность скрещивания"), page), "Label7");
    mutationLabel = named(new QLabel(QStringLiteral("Вероятность мутаций"), page), "Label8");
    auto* sliders = new QGridLayout;
    sliders->addWidget(crossoverLabel, 0, 0);
    sliders->addWidget(crossoverTrack, 1, 0);
    sliders->addWidget(mutationLabel, 0, 1);
    sliders->addWidget(mutationTrack, 1, 1);
    polishBox = named(new QCheckBox(msg::geneticPolishOption, page), "PolishBest");
    polishBox->setChecked(true);
    sliders->addWidget(polishBox, 2, 0, 1, 2);
    g->addLayout(sliders, 1, 0, 1, 3);

    auto* copyRow = new QHBoxLayout;
    copyBestButton =
        named(new QPushButton(QStringLiteral("Скопировать лучших"), page), "btnCopyBest");
    auto* pcs = new QLabel(QStringLiteral("шт."), page);
    pcs->setObjectName(QStringLiteral("LabeledEdit1Label"));
    copyRow->addWidget(copyBestButton);
    copyRow->addWidget(copyBestEdit, 1);
    copyRow->addWidget(pcs);
    stopGeneticButton = named(new QPushButton(QStringLiteral("Стоп"), page), "StopBtn");
    stopGeneticButton->setEnabled(false);
    copyRow->addWidget(stopGeneticButton);
    g->addLayout(copyRow, 2, 0, 1, 3);

    geneticProgressLabel = named(new QLabel(QStringLiteral("Ход расчета"), page), "Label18");
    geneticProgress = named(new QProgressBar(page), "ProgressBar2");
    geneticProgress->setRange(0, 100);
    geneticProgress->setValue(0);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(geneticProgressLabel);
    progressRow->addWidget(geneticProgress, 1);
    g->addLayout(progressRow, 3, 0, 1, 3);

    geneticButton =
        named(new QPushButton(QStringLiteral("Подбор параметров\nгенетическим алгоритмом"), page),
              "ToolBRunGenOptim");
    geneticButton->setAccessibleName(QStringLiteral("Подбор параметров генетическим алгоритмом"));
    geneticButton->setMinimumHeight(56);
    externalButton =
        named(new QPushButton(QStringLiteral("Golang модуль \nоптимизации"), page), "OutsorsGoBtn");
    externalButton->setMinimumHeight(56);
    g->addWidget(geneticButton, 4, 0, 1, 2);
    g->addWidget(externalButton, 4, 2);
    externalNoteLabel =
        named(new QLabel(QStringLiteral(
                             "Отображение после основного расчета, для нового файла перегрузить!"),
                         page),
              "Label19");
    externalNoteLabel->setWordWrap(true);
    g->addWidget(externalNoteLabel, 5, 0, 1, 3);
    g->setRowStretch(6, 1);
    return page;
}

void TForm1::buildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Form1Client"));
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(2, 2, 2, 2);
    v->addWidget(buildUpperPanel());

    auto* split = new QSplitter(Qt::Horizontal, central);
    split->setObjectName(QStringLiteral("Splitter1"));
    auto* left = new QWidget(split);
    auto* lv = new QVBoxLayout(left);
    lv->setContentsMargins(0, 0, 0, 0);
    logEdit = named(new QPlainTextEdit(left), "Memo2");
    logEdit->setReadOnly(true);
    logEdit->setPlainText(QStringLiteral("Ход решения"));
    logEdit->setMaximumBlockCount(100000);
    tableModel_ = new FailureTableModel(this);
    tableModel_->setRows(FailureTableModel::Row{}, {});
    failureView = named(new QTableView(left), "Problems_Grid");
    failureView->setModel(tableModel_);
    failureView->verticalHeader()->hide();
    failureView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    failureView->verticalHeader()->setDefaultSectionSize(failureView->fontMetrics().height() + 6);
    failureView->horizontalHeader()->setStretchLastSection(false);
    failureView->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    failureView->setWordWrap(false);
    enableTableCopy(failureView);
    saveProblemsButton = named(new QPushButton(msg::saveProblemsButton, left), "SaveProblemsBtn");
    saveProblemsButton->setEnabled(false); // until a file is loaded
    auto* tableRow = new QHBoxLayout;
    tableRow->addStretch(1);
    tableRow->addWidget(saveProblemsButton);
    lv->addWidget(logEdit, 2);
    lv->addWidget(failureView, 5);
    lv->addLayout(tableRow);

    // Chart and pages share the right column through a splitter, and each page scrolls:
    // on a laptop screen every control stays reachable.
    auto* right = named(new QSplitter(Qt::Vertical, split), "Splitter2");
    right->setChildrenCollapsible(false);
    auto* chartBox = new QWidget(right);
    auto* rv = new QVBoxLayout(chartBox);
    rv->setContentsMargins(0, 0, 0, 0);
    accumulationChart = new QChart;
    accumulationChart->setObjectName(QStringLiteral("Chart2"));
    auto* chartView = new QChartView(accumulationChart, chartBox);
    chartView->setObjectName(QStringLiteral("Chart2View"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(150);
    fillChart(accumulationChart, wf::accumulationChart({}, {}), ChartOptions{});
    resultsButton = named(new QPushButton(QStringLiteral("Результаты"), chartBox), "ResultsBtn");
    resultsButton->setEnabled(false);
    expandChartButton = named(new QPushButton(QStringLiteral("Expand"), chartBox), "Button2");
    auto* chartRow = new QHBoxLayout;
    chartRow->addStretch(1);
    chartRow->addWidget(resultsButton);
    chartRow->addWidget(expandChartButton);
    rv->addWidget(chartView, 1);
    rv->addLayout(chartRow);

    pages = named(new QTabWidget(right), "PageControl1");
    pages->addTab(scrolling(buildFirstPage()),
                  QStringLiteral("1. Основной подбор параметров распределения"));
    pages->addTab(scrolling(buildSecondPage()), QStringLiteral("2. Генетический алгоритм"));
    pages->setCurrentIndex(0);
    right->addWidget(chartBox);
    right->addWidget(pages);
    right->setStretchFactor(0, 1);
    right->setStretchFactor(1, 0); // the page keeps its natural height, the chart grows
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    v->addWidget(split, 1);
    setCentralWidget(central);

    calcStage = named(new QLabel(this), "CalcStage");
    calcProgress = named(new QProgressBar(this), "CalcProgress");
    calcProgress->setRange(0, 100);
    calcProgress->setMaximumWidth(300);
    statusBar()->addWidget(calcStage, 1);
    statusBar()->addPermanentWidget(calcProgress);
    calcProgress->hide();

    // "Путь" is the window's default button: Enter in a field presses it.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        connect(e, &QLineEdit::returnPressed, this, [this] {
            if (openDataButton->isEnabled()) openDataButton->animateClick();
        });
}

} // namespace wf::ui
