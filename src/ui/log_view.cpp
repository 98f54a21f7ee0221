#include "ui/log_view.h"

#include "ui/app_info.h"
#include "ui/chart_builder.h"
#include "ui/printing.h"
#include "ui/screen_fit.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace wf::ui {

TLNview::TLNview(const LogViewData& data, QWidget* mainWindow)
    : QWidget(nullptr)
    , mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("LNview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(logViewCaption());
    fitToScreen(this, QSize(1400, 900));

    logChart = new QChart;
    logChart->setObjectName(QStringLiteral("Chart2"));
    auto* view = new QChartView(logChart, this);
    view->setRenderHint(QPainter::Antialiasing);
    chartView_ = view;

    captionLabel = new QLabel(data.title, this);
    captionLabel->setObjectName(QStringLiteral("Label3"));
    QFont bold = captionLabel->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    captionLabel->setFont(bold);
    aLabel = new QLabel(data.aText, this);
    aLabel->setObjectName(QStringLiteral("Label1"));
    bLabel = new QLabel(data.bText, this);
    bLabel->setObjectName(QStringLiteral("Label2"));
    printButton = new QPushButton(QStringLiteral("Печать"), this);
    printButton->setObjectName(QStringLiteral("Button2"));
    continueButton = new QPushButton(QStringLiteral("Продолж."), this);
    continueButton->setObjectName(QStringLiteral("Prodolgenie"));

    auto* top = new QHBoxLayout;
    top->addWidget(captionLabel, 1);
    top->addWidget(printButton);
    top->addWidget(continueButton);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* coeffs = new QVBoxLayout;
    coeffs->addWidget(aLabel);
    coeffs->addWidget(bLabel);
    bottom->addLayout(coeffs);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view, 1);
    layout->addLayout(bottom);

    fillChart(logChart, accumulationChart(data.points, data.line, &data.mleCurve, &data.mleBand),
              ChartOptions{});

    connect(printButton, &QPushButton::clicked, this, &TLNview::Button2Click);
    connect(continueButton, &QPushButton::clicked, this, &TLNview::ProdolgenieClick);
}

bool TLNview::printTo(QPrinter& printer) {
    return printWidgets(this, {captionLabel, chartView_, aLabel, bLabel}, printer);
}

void TLNview::Button2Click() {
    QPrinter printer(QPrinter::HighResolution);
    prepareLandscape(printer);
    QPrintDialog dialog(&printer, this);
    dialog.exec();
    // This view prints whether the setup was confirmed or not.
    printTo(printer);
}

void TLNview::ProdolgenieClick() {
    close();
}

void TLNview::closeEvent(QCloseEvent* e) {
    // WA_DeleteOnClose disposes of the window once its own event handling is over.
    mainWindow_->show();
    e->accept();
}

} // namespace wf::ui
