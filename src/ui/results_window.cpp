#include "ui/results_window.h"

#include "format/messages.h"
#include "ui/app_info.h"
#include "ui/causes_window.h"
#include "ui/chart_builder.h"
#include "ui/message_box.h"
#include "ui/printing.h"
#include "ui/screen_fit.h"
#include "ui/table_copy.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace wf::ui {

namespace {

// Column 0 drawn again over the table's left edge: the row labels stay in view while
// the model columns scroll under them.
class FrozenColumn : public QTableView {
public:
    explicit FrozenColumn(QTableWidget* grid)
        : QTableView(grid)
        , grid_(grid) {
        setObjectName(QStringLiteral("Result_GridLabels"));
        setModel(grid->model());
        setSelectionModel(grid->selectionModel());
        setFocusPolicy(Qt::NoFocus);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        horizontalHeader()->hide();
        verticalHeader()->hide();
        verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setTextElideMode(Qt::ElideNone);
        setFrameShape(QFrame::NoFrame);
        setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));
        for (int c = 1; c < grid->columnCount(); ++c) setColumnHidden(c, true);
        connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this,
                [this](int section, int, int) {
                    if (section == 0) place();
                });
        connect(grid->verticalHeader(), &QHeaderView::sectionResized, this,
                [this](int row, int, int size) { setRowHeight(row, size); });
        grid->viewport()->installEventFilter(this);
        place();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Resize) place();
        return QTableView::eventFilter(watched, e);
    }

private:
    void place() {
        setColumnWidth(0, grid_->columnWidth(0));
        const QRect vp = grid_->viewport()->geometry();
        setGeometry(vp.x(), vp.y(), grid_->columnWidth(0) + 1, vp.height());
        raise();
        show();
    }
    QTableWidget* grid_;
};

// A chart's legend as a list beside it: every entry whole, scrolling where they do not fit.
QListWidget* makeLegend(const QString& name) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    list->setFrameShape(QFrame::NoFrame);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

// A chart with its legend list beside it.
QSplitter* withLegend(QWidget* chart, QListWidget* legend) {
    auto* box = new QSplitter(Qt::Horizontal);
    box->addWidget(chart);
    box->addWidget(legend);
    box->setStretchFactor(0, 1);
    box->setStretchFactor(1, 0);
    box->setChildrenCollapsible(false);
    return box;
}

QChartView* makeView(QChart** chart, const QString& name, QWidget* parent) {
    *chart = new QChart;
    (*chart)->setObjectName(name);
    auto* view = new QChartView(*chart, parent);
    view->setObjectName(name + QStringLiteral("View"));
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}
} // namespace

TForm5::TForm5(QWidget* mainWindow)
    : QWidget(nullptr)
    , mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(resultsWindowCaption());
    fitToScreen(this, QSize(1803, 1119));

    captionLabel = new QLabel;
    captionLabel->setObjectName(QStringLiteral("Label10"));
    QFont big = captionLabel->font();
    big.setPointSize(big.pointSize() + 5);
    big.setBold(true);
    captionLabel->setFont(big);
    captionLabel->setWordWrap(true);

    printButton = new QPushButton(QStringLiteral("Печать"));
    printButton->setObjectName(QStringLiteral("Button1"));
    continueButton = new QPushButton(QStringLiteral("Продолж."));
    continueButton->setObjectName(QStringLiteral("Prodolgenie"));
    saveReportButton = new QPushButton(msg::saveReportButton);
    saveReportButton->setObjectName(QStringLiteral("SaveReportBtn"));
    saveTableButton = new QPushButton(msg::saveTableButton);
    saveTableButton->setObjectName(QStringLiteral("SaveTableBtn"));
    causesButton = new QPushButton(msg::causesButton);
    causesButton->setObjectName(QStringLiteral("CausesBtn"));
    causesButton->setEnabled(false);
    causesWindow = new TCausesView(this);

    resultsTable = new QTableWidget(kResultRows, kResultColumns);
    resultsTable->setObjectName(QStringLiteral("Result_Grid"));
    resultsTable->horizontalHeader()->hide();
    resultsTable->verticalHeader()->hide();
    resultsTable->horizontalHeader()->setDefaultSectionSize(237);
    resultsTable->verticalHeader()->setDefaultSectionSize(28);
    resultsTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    resultsTable->setTextElideMode(Qt::ElideNone);
    resultsTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    resultsTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    resultsTable->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // A refresh rewrites every cell: an open editor would write an old text back over it.
    resultsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultsTable->setFixedHeight(28 * kResultRows + 2 * resultsTable->frameWidth() +
                                 resultsTable->horizontalScrollBar()->sizeHint().height());
    for (int c = 0; c < kResultColumns; ++c)
        for (int r = 0; r < kResultRows; ++r) {
            auto* item = new QTableWidgetItem;
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            resultsTable->setItem(r, c, item);
        }
    labelColumn_ = new FrozenColumn(resultsTable);
    enableTableCopy(resultsTable);

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Form5Content"));
    auto* chart3View = makeView(&lnChart, QStringLiteral("Chart3"), content);
    auto* chart1View = makeView(&rateChart, QStringLiteral("Chart1"), content);
    auto* chart2View = makeView(&totalsChart, QStringLiteral("Chart2"), content);
    rateLegend = makeLegend(QStringLiteral("Chart1Legend"));
    totalsLegend = makeLegend(QStringLiteral("Chart2Legend"));
    lnLegend = makeLegend(QStringLiteral("Chart3Legend"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(captionLabel, 1);
    buttons->addWidget(printButton, 0, Qt::AlignTop);
    buttons->addWidget(saveReportButton, 0, Qt::AlignTop);
    buttons->addWidget(saveTableButton, 0, Qt::AlignTop);
    buttons->addWidget(causesButton, 0, Qt::AlignTop);
    buttons->addWidget(continueButton, 0, Qt::AlignTop);
    auto* tableSide = new QWidget;
    auto* rightTop = new QVBoxLayout(tableSide);
    rightTop->setContentsMargins(0, 0, 0, 0);
    rightTop->addLayout(buttons);
    rightTop->addWidget(resultsTable);
    rightTop->addStretch(1);

    // Splitters: the user may give the table, a chart or the legend more room.
    top_ = new QSplitter(Qt::Horizontal);
    top_->setObjectName(QStringLiteral("Form5TopSplitter"));
    top_->addWidget(withLegend(chart3View, lnLegend));
    top_->addWidget(tableSide);
    auto* chart1Box = new QSplitter(Qt::Horizontal);
    chart1Box->addWidget(chart1View);
    chart1Box->addWidget(rateLegend);
    chart1Box->setStretchFactor(0, 1);
    chart1Box->setStretchFactor(1, 0);
    bottom_ = new QSplitter(Qt::Horizontal);
    bottom_->addWidget(chart1Box);
    bottom_->addWidget(withLegend(chart2View, totalsLegend));
    bottom_->setStretchFactor(0, 2);
    bottom_->setStretchFactor(1, 1);
    auto* rows = new QSplitter(Qt::Vertical, content);
    rows->setObjectName(QStringLiteral("Form5Splitter"));
    rows->addWidget(top_);
    rows->addWidget(bottom_);
    rows->setStretchFactor(0, 0);
    rows->setStretchFactor(1, 1);
    for (QSplitter* sp : {top_, bottom_, rows, chart1Box}) sp->setChildrenCollapsible(false);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(rows);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content);

    connect(printButton, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(continueButton, &QPushButton::clicked, this, &TForm5::ProdolgenieClick);
    connect(saveReportButton, &QPushButton::clicked, this, &TForm5::SaveReportClick);
    connect(saveTableButton, &QPushButton::clicked, this, &TForm5::SaveTableClick);
    connect(causesButton, &QPushButton::clicked, this, &TForm5::CausesClick);
}

TextWidthFn TForm5::measure() const {
    const QFontMetrics fm(resultsTable->font());
    return [fm](const QString& text) { return fm.horizontalAdvance(text); };
}

void TForm5::showResults(const ResultsData& d, const ReportFacts& facts) {
    shown_ = d;
    facts_ = facts;
    causesWindow->setInput(d.causes);
    causesButton->setEnabled(d.causes.has_value());
    captionLabel->setText(d.caption);
    const QFontMetrics fm(resultsTable->font());
    QFont boldFont = resultsTable->font();
    boldFont.setBold(true);
    const QFontMetrics fmBold(boldFont);
    int tableWidth = 2 * resultsTable->frameWidth();
    for (int c = 0; c < kResultColumns; ++c) {
        // The widths suit the fonts they were chosen for; a wider text widens its column.
        int width = d.widths[c] > 0 ? d.widths[c] : resultsTable->columnWidth(c);
        for (int r = 0; r < kResultRows; ++r) {
            const QString t = d.grid[c][r].trimmed();
            if (t.isEmpty()) continue;
            for (const QString& line : t.split(QLatin1Char('\n')))
                width =
                    std::max(width, (r == 0 ? fmBold : fm).horizontalAdvance(line.trimmed()) + 14);
        }
        resultsTable->setColumnWidth(c, width);
        for (int r = 0; r < kResultRows; ++r) {
            QTableWidgetItem* item = resultsTable->item(r, c);
            item->setText(d.grid[c][r]);
            QFont f = item->font();
            f.setBold(r == 0);
            item->setFont(f);
            if (r == 0) item->setBackground(palette().button());
        }
        // A model whose search could not move is marked, its caption left as it is.
        QTableWidgetItem* heading = resultsTable->item(0, c);
        const QStringList& warnings = d.warnings[static_cast<std::size_t>(c)];
        if (!warnings.isEmpty()) heading->setBackground(QColor(0xff, 0xd5, 0x80));
        heading->setToolTip(warnings.join(QLatin1Char('\n')));
        // Columns past the data column stay empty: no blank columns on show.
        resultsTable->setColumnHidden(c, c > d.dataColumn);
        if (c <= d.dataColumn) tableWidth += width;
    }
    resultsTable->horizontalScrollBar()->setValue(0);
    // A value with its bounds below it takes two lines.
    int tableHeight =
        2 * resultsTable->frameWidth() + resultsTable->horizontalScrollBar()->sizeHint().height();
    for (int r = 0; r < kResultRows; ++r) {
        bool twoLines = false;
        for (int c = 0; c < kResultColumns; ++c)
            twoLines = twoLines || d.grid[c][r].contains(QLatin1Char('\n'));
        const int h = twoLines ? 28 + resultsTable->fontMetrics().lineSpacing() : 28;
        resultsTable->setRowHeight(r, h);
        tableHeight += h;
    }
    resultsTable->setFixedHeight(tableHeight);
    ChartOptions o1;
    o1.legend = true;
    o1.ownLegend = true;
    fillChart(rateChart, d.chart1, o1);
    fillLegendList(rateLegend, rateChart);
    ChartOptions o2;
    o2.rightRange = std::make_pair(0.0, 100.0);
    o2.ownLegend = true;
    fillChart(totalsChart, d.chart2, o2);
    fillLegendList(totalsLegend, totalsChart);
    ChartOptions o3;
    o3.ownLegend = true;
    fillChart(lnChart, d.chart3, o3);
    fillLegendList(lnLegend, lnChart);
    show();
    raise();
    shareWidths(tableWidth);
}

void TForm5::clearResults() {
    hide();
    shown_ = ResultsData{};
    causesWindow->setInput(std::nullopt);
    causesButton->setEnabled(false);
    captionLabel->clear();
    for (int c = 0; c < kResultColumns; ++c)
        for (int r = 0; r < kResultRows; ++r) {
            QTableWidgetItem* item = resultsTable->item(r, c);
            item->setText(QString());
            item->setToolTip(QString());
        }
    for (QChart* chart : {rateChart, totalsChart, lnChart}) fillChart(chart, ChartData{}, {});
    for (QListWidget* legend : {rateLegend, totalsLegend, lnLegend}) legend->clear();
}

void TForm5::shareWidths(int tableWidth) {
    // The table gets its whole width where the window allows (every column without
    // scrolling on a full HD screen) but leaves the chart beside it a third at least.
    const int total = top_->width();
    const int side = std::min(tableWidth + 12, total * 2 / 3);
    top_->setSizes({total - side, side});
    const int wide = bottom_->width();
    bottom_->setSizes({wide * 2 / 3, wide - wide * 2 / 3});
    const int legend = std::min(rateLegend->sizeHintForColumn(0) + 8 +
                                    rateLegend->verticalScrollBar()->sizeHint().width(),
                                wide / 4);
    if (auto* chart1Box = qobject_cast<QSplitter*>(bottom_->widget(0)))
        chart1Box->setSizes({wide * 2 / 3 - legend, legend});
    // The smaller charts keep two thirds of their room at least.
    const auto share = [](QSplitter* box, QListWidget* list, int room) {
        if (!box) return;
        const int w =
            std::min(list->sizeHintForColumn(0) + 8 + list->verticalScrollBar()->sizeHint().width(),
                     room / 3);
        box->setSizes({room - w, w});
    };
    share(qobject_cast<QSplitter*>(top_->widget(0)), lnLegend, total - side);
    share(qobject_cast<QSplitter*>(bottom_->widget(1)), totalsLegend, wide - wide * 2 / 3);
}

bool TForm5::printTo(QPrinter& printer) {
    // The layout's unit is the screen pixel; the page keeps its vectors at any resolution.
    printer.setResolution(96);
    if (paintReport(printer, shown_, facts_, causesWindow->page())) return true;
    const QString name =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    showMessage(this, msg::printerCannotOpen(name));
    return false;
}

bool TForm5::saveReport(const QString& path) {
    if (writeReportPdf(path, shown_, facts_, causesWindow->page())) return true;
    showMessage(this, msg::reportCannotWrite(path));
    return false;
}

void TForm5::SaveReportClick() {
    const QString path =
        QFileDialog::getSaveFileName(this, msg::saveReportButton, QString(), msg::saveReportFilter);
    if (!path.isEmpty()) saveReport(path);
}

bool TForm5::saveTable(const QString& path) {
    if (writeCsvFile(path, resultsTableCells(shown_))) return true;
    showMessage(this, msg::tableCannotWrite(path));
    return false;
}

void TForm5::SaveTableClick() {
    const QString path = askCsvPath(this, msg::saveTableButton);
    if (!path.isEmpty()) saveTable(path);
}

void TForm5::CausesClick() {
    causesWindow->open();
}

void TForm5::Button1Click() {
    QPrinter printer(QPrinter::ScreenResolution);
    prepareLandscape(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printTo(printer);
}

void TForm5::ProdolgenieClick() {
    hide();
    mainWindow_->show();
}

void TForm5::closeEvent(QCloseEvent* e) {
    mainWindow_->show();
    e->accept();
}

} // namespace wf::ui
