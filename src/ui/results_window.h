#pragma once
// The results window: the results table and the three result charts. Created once at
// start, hidden until the first results; "Продолж." and closing only hide it.

#include "results/results_data.h"
#include "ui/report.h"

#include <QWidget>

class QChart;
class QChartView;
class QLabel;
class QListWidget;
class QSplitter;
class QTableView;
class QPrinter;
class QPushButton;
class QTableWidget;

namespace wf::ui {

class TCausesView;

class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* mainWindow);

    // Width of a cell text in the table's font, for the padding of the cells.
    TextWidthFn measure() const;
    // Draws the table and charts and shows the window; `facts` go into its report.
    void showResults(const ResultsData& data, const ReportFacts& facts = {});
    // Hides the window with nothing in it: the results shown belonged to data now replaced.
    void clearResults();
    // The report of the results shown (caption, inputs, the whole table, the charts and
    // their legends); false, with a message, when the printer cannot be opened.
    bool printTo(QPrinter& printer);
    // The same report as a PDF file; false, with a message, when it cannot be written.
    bool saveReport(const QString& path);
    // The results table shown, as a CSV file; false, with a message, when it cannot be written.
    bool saveTable(const QString& path);

    QTableWidget* resultsTable = nullptr;
    QLabel* captionLabel = nullptr;
    QChart* rateChart = nullptr;
    QChart* totalsChart = nullptr;
    QChart* lnChart = nullptr;
    QListWidget* rateLegend = nullptr; // every legend entry of rateChart, scrolling
    QListWidget* totalsLegend = nullptr;
    QListWidget* lnLegend = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* continueButton = nullptr;
    QPushButton* saveReportButton = nullptr; // "Сохранить отчёт (PDF)…"
    QPushButton* saveTableButton = nullptr;  // "Сохранить таблицу (CSV)…"
    QPushButton* causesButton = nullptr;     // "По причинам…", with model 3
    TCausesView* causesWindow = nullptr;

    void Button1Click();
    void SaveReportClick();
    void SaveTableClick();
    void CausesClick();
    void ProdolgenieClick();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void shareWidths(int tableWidth);

    QWidget* mainWindow_;
    QTableView* labelColumn_ = nullptr;
    QSplitter* top_ = nullptr;
    QSplitter* bottom_ = nullptr;
    ResultsData shown_;
    ReportFacts facts_;
};

} // namespace wf::ui
