#include "ui/causes_window.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "ui/chart_builder.h"
#include "ui/message_box.h"
#include "ui/screen_fit.h"
#include "ui/table_copy.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace wf::ui {

namespace {

// The fits take a noticeable moment on large fleets: the cursor says so.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TCausesView::TCausesView(QWidget* owner)
    : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("CausesForm"));
    setWindowTitle(msg::causesWindowTitle);
    fitToScreen(this, QSize(1600, 1000));

    captionLabel = new QLabel;
    captionLabel->setObjectName(QStringLiteral("CausesCaption"));
    QFont big = captionLabel->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    captionLabel->setFont(big);

    causesTable = new QTableWidget;
    causesTable->setObjectName(QStringLiteral("CausesGrid"));
    causesTable->verticalHeader()->hide();
    causesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    causesTable->setWordWrap(false);
    enableTableCopy(causesTable);

    // The fits' notes can run long: they scroll in a few lines of their own.
    notesLabel = new QPlainTextEdit;
    notesLabel->setObjectName(QStringLiteral("CausesNotes"));
    notesLabel->setReadOnly(true);
    notesLabel->setMaximumHeight(6 * notesLabel->fontMetrics().lineSpacing() + 12);

    causesChart = new QChart;
    causesChart->setObjectName(QStringLiteral("CausesChart"));
    auto* chartView = new QChartView(causesChart);
    chartView->setObjectName(QStringLiteral("CausesChartView"));
    chartView->setRenderHint(QPainter::Antialiasing);
    causesLegend = new QListWidget;
    causesLegend->setObjectName(QStringLiteral("CausesChartLegend"));
    causesLegend->setSelectionMode(QAbstractItemView::NoSelection);
    causesLegend->setFocusPolicy(Qt::NoFocus);

    whatIfMean = new QLineEdit;
    whatIfMean->setObjectName(QStringLiteral("WhatIfMean"));
    whatIfSd = new QLineEdit;
    whatIfSd->setObjectName(QStringLiteral("WhatIfSd"));
    whatIfButton = new QPushButton(msg::whatIfButton);
    whatIfButton->setObjectName(QStringLiteral("WhatIfBtn"));
    auto* law = new QFormLayout;
    law->addRow(msg::whatIfMeanLabel, whatIfMean);
    law->addRow(msg::whatIfSdLabel, whatIfSd);
    auto* lawRow = new QHBoxLayout;
    lawRow->addLayout(law);
    lawRow->addWidget(whatIfButton, 0, Qt::AlignBottom);
    lawRow->addStretch(1);

    auto* top = new QWidget;
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(captionLabel);
    topLayout->addWidget(causesTable, 1);
    topLayout->addWidget(notesLabel);
    topLayout->addLayout(lawRow);
    auto* chartBox = new QSplitter(Qt::Horizontal);
    chartBox->addWidget(chartView);
    chartBox->addWidget(causesLegend);
    chartBox->setStretchFactor(0, 3);
    chartBox->setStretchFactor(1, 1);
    auto* rows = new QSplitter(Qt::Vertical);
    rows->addWidget(top);
    rows->addWidget(chartBox);
    rows->setChildrenCollapsible(false);
    chartBox->setChildrenCollapsible(false);
    rows->setSizes({height() * 11 / 20, height() * 9 / 20});
    chartBox->setSizes({width() * 3 / 4, width() / 4});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows);

    connect(whatIfButton, &QPushButton::clicked, this, [this] { WhatIfBtnClick(); });
}

void TCausesView::setInput(const std::optional<CausesInput>& in) {
    in_ = in;
    fits_.reset();
    whatIf_.reset();
    view_.reset();
    // The user's law stays; an empty field starts from the law the fleet was fitted with.
    if (in_ && whatIfMean->text().isEmpty()) whatIfMean->setText(fmt::general(in_->fleet.mean));
    if (in_ && whatIfSd->text().isEmpty()) whatIfSd->setText(fmt::general(in_->fleet.sd));
    if (!in_) {
        hide();
        return;
    }
    if (isVisible()) draw();
}

const CausesView* TCausesView::page() {
    if (!in_) return nullptr;
    if (!view_) {
        WaitCursor wait;
        if (!fits_) fits_ = fitCauses(in_->causes, {in_->detail.confidence, in_->detail.method});
        view_ = causesView(*in_, *fits_, whatIf_ ? &*whatIf_ : nullptr);
    }
    return &*view_;
}

void TCausesView::open() {
    if (!in_) return;
    show(); // first: the chart lays its axes out for the size it is shown at
    raise();
    draw();
}

bool TCausesView::WhatIfBtnClick() {
    if (!in_) return false;
    const auto mean = fmt::parseNumber(whatIfMean->text());
    const auto sd = fmt::parseNumber(whatIfSd->text());
    if (!mean || !sd) {
        showMessage(this, msg::notANumber(!mean ? whatIfMean->text() : whatIfSd->text()));
        return false;
    }
    const WarrantyLaw law{*mean, *sd};
    QString why;
    if (!law.valid(&why)) {
        showMessage(this, why);
        return false;
    }
    page();
    {
        WaitCursor wait;
        whatIf_ = runWhatIf(*in_, *fits_, law);
        view_.reset();
    }
    draw();
    return true;
}

void TCausesView::draw() {
    const CausesView* v = page();
    if (!v) return;
    captionLabel->setText(in_->caption);
    const auto& t = v->table;
    const int columns = t.empty() ? 0 : static_cast<int>(t[0].size());
    causesTable->clear();
    causesTable->setColumnCount(columns);
    causesTable->setRowCount(t.empty() ? 0 : static_cast<int>(t.size()) - 1);
    for (int c = 0; c < columns; ++c)
        causesTable->setHorizontalHeaderItem(c, new QTableWidgetItem(t[0][std::size_t(c)]));
    for (std::size_t r = 1; r < t.size(); ++r)
        for (int c = 0; c < columns && c < int(t[r].size()); ++c)
            causesTable->setItem(int(r) - 1, c, new QTableWidgetItem(t[r][std::size_t(c)]));
    causesTable->resizeColumnsToContents();
    notesLabel->setPlainText(v->notes.join(QLatin1Char('\n')));
    ChartOptions o;
    o.ownLegend = true;
    fillChart(causesChart, v->chart, o);
    fillLegendList(causesLegend, causesChart);
}

} // namespace wf::ui
