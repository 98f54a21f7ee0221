// The controls of the main window, their captions and defaults.

#include "ui/main_window.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "ui/app_info.h"
#include "ui/chart_builder.h"
#include "ui/failure_table_model.h"
#include "ui/log_view.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
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

    FilePath = named(new QLineEdit(panel), "FilePath");
    OpenFileStart = named(new QPushButton(QStringLiteral("Путь"), panel), "OpenFileStart");
    OpenFileStart->setDefault(true);
    auto* pathRow = new QHBoxLayout;
    auto* pathLabel = new QLabel(QStringLiteral("Файл исходных данных:"), panel);
    pathLabel->setObjectName(QStringLiteral("FilePathLabel"));
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(FilePath, 1);
    pathRow->addWidget(OpenFileStart);
    grid->addLayout(pathRow, 0, 0, 1, 6);

    Label10 = named(new QLabel(panel), "Label10");
    QFont bold = Label10->font();
    bold.setBold(true);
    Label10->setFont(bold);
    grid->addWidget(Label10, 1, 0, 1, 6);

    meKolAll = named(new QLineEdit(panel), "meKolAll");
    meKolOtk = named(new QLineEdit(panel), "meKolOtk");
    meSred = named(new QLineEdit(panel), "meSred");
    meSKO = named(new QLineEdit(panel), "meSKO");
    LabeledEdit2 = named(new QLineEdit(panel), "LabeledEdit2");
    LabeledEdit3 = named(new QLineEdit(QStringLiteral("300"), panel), "LabeledEdit3");
    grid->addWidget(labeled(QStringLiteral("Среднее количество объектов в гарантийный период"),
                            meKolAll, panel),
                    2, 0);
    grid->addWidget(labeled(QStringLiteral("Количество независимых отказов 2-3 групп сложности"),
                            meKolOtk, panel),
                    2, 1);
    grid->addWidget(labeled(QStringLiteral(" Среднее время гарантии"), meSred, panel), 2, 2);
    grid->addWidget(labeled(QStringLiteral(" СКО времени гарантии"), meSKO, panel), 2, 3);
    grid->addWidget(labeled(QStringLiteral(" Расчетный период учета отказов"), LabeledEdit2, panel),
                    2, 4);
    grid->addWidget(labeled(QStringLiteral(" Расч. время приработки"), LabeledEdit3, panel), 2, 5);

    auto* fileBox = new QGroupBox(QStringLiteral("Файл данных времен окончания гарантии"), panel);
    fileBox->setObjectName(QStringLiteral("GroupBoxWarrantyFile"));
    auto* fileRow = new QHBoxLayout(fileBox);
    SpeedButton1 = named(new QPushButton(QStringLiteral("File"), fileBox), "SpeedButton1");
    Edit4 = named(new QLineEdit(fileBox), "Edit4");
    Edit4->setReadOnly(true);
    fileRow->addWidget(SpeedButton1);
    fileRow->addWidget(Edit4, 1);
    grid->addWidget(fileBox, 3, 0, 1, 2);

    auto* resultBox =
        new QGroupBox(QStringLiteral("Результат расчета массива времен окончания гарантии"), panel);
    resultBox->setObjectName(QStringLiteral("Panel2"));
    auto* resultRow = new QHBoxLayout(resultBox);
    Label15 = named(new QLabel(resultBox), "Label15");
    MaskEdit1 = named(new QLineEdit(resultBox), "MaskEdit1");
    MaskEditSrednee = named(new QLineEdit(resultBox), "MaskEditSrednee");
    MaskEditSKO = named(new QLineEdit(resultBox), "MaskEditSKO");
    resultRow->addWidget(Label15, 2);
    resultRow->addWidget(
        labeled(QStringLiteral("Количество объектов анализа"), MaskEdit1, resultBox), 1);
    resultRow->addWidget(
        labeled(QStringLiteral("Среднее время гарантии, ч."), MaskEditSrednee, resultBox), 1);
    resultRow->addWidget(
        labeled(QStringLiteral("СКО времени гарантии, ч."), MaskEditSKO, resultBox), 1);
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
    Edit1 = named(new QLineEdit(factor, params), "Edit1");
    Edit6 = named(new QLineEdit(factor, params), "Edit6");
    Edit5 = named(new QLineEdit(factor, params), "Edit5");
    pl->addWidget(labeled(QStringLiteral("Коэф-т уменьшения шага модели 1.1"), Edit1, params), 0,
                  0);
    pl->addWidget(labeled(QStringLiteral("Коэф-т уменьшения шага модели 1.2"), Edit6, params), 0,
                  1);
    pl->addWidget(labeled(QStringLiteral("Коэф-т уменьшения шага модели 2"), Edit5, params), 0, 2);

    SpirSpusk = named(
        new QCheckBox(QStringLiteral("Модель 1.1 по Пирсону, метод спирального спуска "), params),
        "SpirSpusk");
    SpirSpusk->setChecked(true);
    BoxNewton =
        named(new QCheckBox(QStringLiteral("Модель 1.2 по Пирсону, метод Ньютона "), params),
              "BoxNewton");
    BoxSmirnow =
        named(new QCheckBox(QStringLiteral("Модель 2 (по Смирнову)"), params), "BoxSmirnow");
    Sred_flag = named(new QCheckBox(QStringLiteral("Подбор СВН (мет.1)"), params), "Sred_flag");
    SKO_Flag = named(new QCheckBox(QStringLiteral("Подбор СКО (мет.1)"), params), "SKO_Flag");
    pl->addWidget(SpirSpusk, 1, 0, 1, 2);
    pl->addWidget(Sred_flag, 1, 2);
    pl->addWidget(BoxNewton, 2, 0, 1, 2);
    pl->addWidget(SKO_Flag, 2, 2);
    pl->addWidget(BoxSmirnow, 3, 0, 1, 2);
    BoxMle = named(new QCheckBox(msg::mleOption, params), "BoxMle");
    EditConfidence = named(new QLineEdit(decimal("0", "95"), params), "EditConfidence");
    pl->addWidget(BoxMle, 3, 2);
    pl->addWidget(labeled(msg::confidenceLabel, EditConfidence, params), 4, 2, Qt::AlignTop);

    RadioGroup1 =
        named(new QGroupBox(QStringLiteral("Способ подбора параметров"), params), "RadioGroup1");
    RadioGroup1Items = new QButtonGroup(RadioGroup1);
    // The items side by side: a laptop screen has height to spare for nothing.
    auto* rl = new QHBoxLayout(RadioGroup1);
    const QStringList items = {QStringLiteral("Специальный 1 "),
                               QStringLiteral("Стандарт (default)"),
                               QStringLiteral("Специальный 2")};
    for (int i = 0; i < items.size(); ++i) {
        auto* rb = new QRadioButton(items[i], RadioGroup1);
        rb->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        RadioGroup1Items->addButton(rb, i);
        rl->addWidget(rb);
    }
    RadioGroup1Items->button(1)->setChecked(true);
    pl->addWidget(RadioGroup1, 4, 0, 2, 2);

    bbRaschet = named(new QPushButton(QStringLiteral("Расчет"), params), "bbRaschet");
    bbRaschet->setMinimumHeight(40);
    // A calculation takes seconds: its stop sits beside the button that started it.
    StopCalcBtn = named(new QPushButton(QStringLiteral("Стоп"), params), "StopCalcBtn");
    StopCalcBtn->setEnabled(false);
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(bbRaschet, 3);
    runRow->addWidget(StopCalcBtn, 1);
    pl->addLayout(runRow, 5, 2, Qt::AlignBottom);
    layout->addWidget(params);
    layout->addStretch(1);
    return page;
}

QWidget* TForm1::buildSecondPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* g = new QGridLayout(page);
    Edit3 = named(new QLineEdit(QStringLiteral("3000"), page), "Edit3");
    Edit2 = named(new QLineEdit(decimal("0", "0000001"), page), "Edit2");
    NPokoleny = named(new QLineEdit(QStringLiteral("1500"), page), "NPokoleny");
    LabeledEdit1 = named(new QLineEdit(QStringLiteral("50"), page), "LabeledEdit1");
    LabeledEdit1->setPlaceholderText(
        QStringLiteral("Скопировать из популяции лучшие варианты и убрать столько же худших"));
    g->addWidget(labeled(QStringLiteral("Размер популяции"), Edit3, page), 0, 0);
    g->addWidget(labeled(QStringLiteral("Точность подбора"), Edit2, page), 0, 1);
    g->addWidget(labeled(QStringLiteral("Число поколений"), NPokoleny, page), 0, 2);

    auto makeSlider = [page](const char* name, int value) {
        auto* s = named(new QSlider(Qt::Horizontal, page), name);
        s->setRange(0, 100);
        s->setTickInterval(5);
        s->setTickPosition(QSlider::TicksBelow);
        s->setValue(value);
        return s;
    };
    TrackBar1 = makeSlider("TrackBar1", 55);
    TrackBar2 = makeSlider("TrackBar2", 15);
    Label7 = named(new QLabel(QStringLiteral("Вероятность скрещивания"), page), "Label7");
    Label8 = named(new QLabel(QStringLiteral("Вероятность мутаций"), page), "Label8");
    auto* sliders = new QGridLayout;
    sliders->addWidget(Label7, 0, 0);
    sliders->addWidget(TrackBar1, 1, 0);
    sliders->addWidget(Label8, 0, 1);
    sliders->addWidget(TrackBar2, 1, 1);
    PolishBest = named(new QCheckBox(msg::geneticPolishOption, page), "PolishBest");
    PolishBest->setChecked(true);
    sliders->addWidget(PolishBest, 2, 0, 1, 2);
    g->addLayout(sliders, 1, 0, 1, 3);

    auto* copyRow = new QHBoxLayout;
    btnCopyBest = named(new QPushButton(QStringLiteral("Скопировать лучших"), page), "btnCopyBest");
    auto* pcs = new QLabel(QStringLiteral("шт."), page);
    pcs->setObjectName(QStringLiteral("LabeledEdit1Label"));
    copyRow->addWidget(btnCopyBest);
    copyRow->addWidget(LabeledEdit1, 1);
    copyRow->addWidget(pcs);
    StopBtn = named(new QPushButton(QStringLiteral("Стоп"), page), "StopBtn");
    StopBtn->setEnabled(false);
    copyRow->addWidget(StopBtn);
    g->addLayout(copyRow, 2, 0, 1, 3);

    Label18 = named(new QLabel(QStringLiteral("Ход расчета"), page), "Label18");
    ProgressBar2 = named(new QProgressBar(page), "ProgressBar2");
    ProgressBar2->setRange(0, 100);
    ProgressBar2->setValue(0);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(Label18);
    progressRow->addWidget(ProgressBar2, 1);
    g->addLayout(progressRow, 3, 0, 1, 3);

    ToolBRunGenOptim =
        named(new QPushButton(QStringLiteral("Подбор параметров\nгенетическим алгоритмом"), page),
              "ToolBRunGenOptim");
    ToolBRunGenOptim->setAccessibleName(
        QStringLiteral("Подбор параметров генетическим алгоритмом"));
    ToolBRunGenOptim->setMinimumHeight(56);
    OutsorsGoBtn =
        named(new QPushButton(QStringLiteral("Golang модуль \nоптимизации"), page), "OutsorsGoBtn");
    OutsorsGoBtn->setMinimumHeight(56);
    g->addWidget(ToolBRunGenOptim, 4, 0, 1, 2);
    g->addWidget(OutsorsGoBtn, 4, 2);
    Label19 =
        named(new QLabel(QStringLiteral(
                             "Отображение после основного расчета, для нового файла перегрузить!"),
                         page),
              "Label19");
    Label19->setWordWrap(true);
    g->addWidget(Label19, 5, 0, 1, 3);
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
    Memo2 = named(new QPlainTextEdit(left), "Memo2");
    Memo2->setReadOnly(true);
    Memo2->setPlainText(QStringLiteral("Ход решения"));
    Memo2->setMaximumBlockCount(100000);
    tableModel_ = new FailureTableModel(this);
    tableModel_->setRows(FailureTableModel::Row{}, {});
    Problems_Grid = named(new QTableView(left), "Problems_Grid");
    Problems_Grid->setModel(tableModel_);
    Problems_Grid->verticalHeader()->hide();
    Problems_Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Problems_Grid->verticalHeader()->setDefaultSectionSize(Problems_Grid->fontMetrics().height() +
                                                           6);
    Problems_Grid->horizontalHeader()->setStretchLastSection(false);
    Problems_Grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Problems_Grid->setWordWrap(false);
    lv->addWidget(Memo2, 2);
    lv->addWidget(Problems_Grid, 5);

    // Chart and pages share the right column through a splitter, and each page scrolls:
    // on a laptop screen every control stays reachable.
    auto* right = named(new QSplitter(Qt::Vertical, split), "Splitter2");
    right->setChildrenCollapsible(false);
    auto* chartBox = new QWidget(right);
    auto* rv = new QVBoxLayout(chartBox);
    rv->setContentsMargins(0, 0, 0, 0);
    Chart2 = new QChart;
    Chart2->setObjectName(QStringLiteral("Chart2"));
    auto* chartView = new QChartView(Chart2, chartBox);
    chartView->setObjectName(QStringLiteral("Chart2View"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumHeight(150);
    ChartOptions o;
    o.hideAxisLabels = true;
    fillChart(Chart2, TLNview::accumulationChart({}, {}), o);
    ResultsBtn = named(new QPushButton(QStringLiteral("Результаты"), chartBox), "ResultsBtn");
    ResultsBtn->setEnabled(false);
    Button2 = named(new QPushButton(QStringLiteral("Expand"), chartBox), "Button2");
    auto* chartRow = new QHBoxLayout;
    chartRow->addStretch(1);
    chartRow->addWidget(ResultsBtn);
    chartRow->addWidget(Button2);
    rv->addWidget(chartView, 1);
    rv->addLayout(chartRow);

    PageControl1 = named(new QTabWidget(right), "PageControl1");
    PageControl1->addTab(scrolling(buildFirstPage()),
                         QStringLiteral("1. Основной подбор параметров распределения"));
    PageControl1->addTab(scrolling(buildSecondPage()), QStringLiteral("2. Генетический алгоритм"));
    PageControl1->setCurrentIndex(0);
    right->addWidget(chartBox);
    right->addWidget(PageControl1);
    right->setStretchFactor(0, 1);
    right->setStretchFactor(1, 0); // the page keeps its natural height, the chart grows
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    v->addWidget(split, 1);
    setCentralWidget(central);

    CalcStage = named(new QLabel(this), "CalcStage");
    CalcProgress = named(new QProgressBar(this), "CalcProgress");
    CalcProgress->setRange(0, 100);
    CalcProgress->setMaximumWidth(300);
    statusBar()->addWidget(CalcStage, 1);
    statusBar()->addPermanentWidget(CalcProgress);
    CalcProgress->hide();

    // "Путь" is the window's default button: Enter in a field presses it.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        connect(e, &QLineEdit::returnPressed, this, [this] {
            if (OpenFileStart->isEnabled()) OpenFileStart->animateClick();
        });
}

} // namespace wf::ui
