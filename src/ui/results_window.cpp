#include "ui/results_window.h"

#include "ui/app_info.h"
#include "ui/chart_builder.h"
#include "ui/printing.h"
#include "ui/screen_fit.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace wf::ui {

namespace {
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

    auto* chart3View = makeView(&Chart3, QStringLiteral("Chart3"), this);
    auto* chart1View = makeView(&Chart1, QStringLiteral("Chart1"), this);
    auto* chart2View = makeView(&Chart2, QStringLiteral("Chart2"), this);

    Label10 = new QLabel(this);
    Label10->setObjectName(QStringLiteral("Label10"));
    QFont big = Label10->font();
    big.setPointSize(big.pointSize() + 5);
    big.setBold(true);
    Label10->setFont(big);
    Label10->setWordWrap(true);

    Button1 = new QPushButton(QStringLiteral("Печать"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Prodolgenie = new QPushButton(QStringLiteral("Продолж."), this);
    Prodolgenie->setObjectName(QStringLiteral("Prodolgenie"));

    Result_Grid = new QTableWidget(kResultRows, kResultColumns, this);
    Result_Grid->setObjectName(QStringLiteral("Result_Grid"));
    Result_Grid->horizontalHeader()->hide();
    Result_Grid->verticalHeader()->hide();
    Result_Grid->horizontalHeader()->setDefaultSectionSize(237);
    Result_Grid->verticalHeader()->setDefaultSectionSize(28);
    Result_Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Result_Grid->setTextElideMode(Qt::ElideNone);
    Result_Grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Result_Grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Result_Grid->setFixedHeight(28 * kResultRows + 2 * Result_Grid->frameWidth() +
                                Result_Grid->horizontalScrollBar()->sizeHint().height());
    for (int c = 0; c < kResultColumns; ++c)
        for (int r = 0; r < kResultRows; ++r) Result_Grid->setItem(r, c, new QTableWidgetItem);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label10, 1);
    buttons->addWidget(Button1, 0, Qt::AlignTop);
    buttons->addWidget(Prodolgenie, 0, Qt::AlignTop);
    auto* rightTop = new QVBoxLayout;
    rightTop->addLayout(buttons);
    rightTop->addWidget(Result_Grid);

    auto* grid = new QGridLayout(this);
    grid->addWidget(chart3View, 0, 0, 1, 1);
    grid->addLayout(rightTop, 0, 1, 1, 2);
    grid->addWidget(chart1View, 1, 0, 1, 2);
    grid->addWidget(chart2View, 1, 2, 1, 1);
    grid->setColumnStretch(0, 4);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);
    grid->setRowStretch(0, 4);
    grid->setRowStretch(1, 5);

    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Prodolgenie, &QPushButton::clicked, this, &TForm5::ProdolgenieClick);
}

TextWidthFn TForm5::measure() const {
    const QFontMetrics fm(Result_Grid->font());
    return [fm](const QString& text) { return fm.horizontalAdvance(text); };
}

void TForm5::showResults(const ResultsData& d) {
    Label10->setText(d.Label10);
    for (int c = 0; c < kResultColumns; ++c) {
        // The widths suit the fonts they were chosen for; a wider text widens its column.
        const QFontMetrics fm(Result_Grid->font());
        int width = d.widths[c] > 0 ? d.widths[c] : Result_Grid->columnWidth(c);
        QFont boldFont = Result_Grid->font();
        boldFont.setBold(true);
        const QFontMetrics fmBold(boldFont);
        for (int r = 0; r < kResultRows; ++r) {
            const QString t = d.grid[c][r].trimmed();
            if (t.isEmpty()) continue;
            width = std::max(width, (r == 0 ? fmBold : fm).horizontalAdvance(t) + 14);
        }
        Result_Grid->setColumnWidth(c, width);
        for (int r = 0; r < kResultRows; ++r) {
            QTableWidgetItem* item = Result_Grid->item(r, c);
            item->setText(d.grid[c][r]);
            QFont f = item->font();
            f.setBold(r == 0);
            item->setFont(f);
            if (r == 0) item->setBackground(palette().button());
        }
    }
    ChartOptions o1;
    o1.legend = true;
    o1.legendAlignment = Qt::AlignRight;
    fillChart(Chart1, d.chart1, o1);
    ChartOptions o2;
    o2.rightRange = std::make_pair(0.0, 100.0);
    fillChart(Chart2, d.chart2, o2);
    fillChart(Chart3, d.chart3, ChartOptions{});
    show();
    raise();
}

bool TForm5::printTo(QPrinter& printer) {
    return printWindowImage(this, printer);
}

void TForm5::Button1Click() {
    QPrinter printer(QPrinter::HighResolution);
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
