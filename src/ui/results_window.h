#pragma once
// The results window: the results table and the three result charts. Created once at
// start, hidden until the first results; "Продолж." and closing only hide it.

#include "results/results_data.h"

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

class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* mainWindow);

    // Width of a cell text in the table's font, for the padding of the cells.
    TextWidthFn measure() const;
    // Draws the table and charts and shows the window.
    void showResults(const ResultsData& data);
    // Hides the window with nothing in it: the results shown belonged to data now replaced.
    void clearResults();
    // The caption, table, charts and legend at the printer's resolution on one page (not
    // the buttons); false, with a message, when the printer cannot be opened.
    bool printTo(QPrinter& printer);

    QTableWidget* resultsTable = nullptr;
    QLabel* captionLabel = nullptr;
    QChart* rateChart = nullptr;
    QChart* totalsChart = nullptr;
    QChart* lnChart = nullptr;
    QListWidget* rateLegend = nullptr; // every legend entry of rateChart, scrolling
    QPushButton* printButton = nullptr;
    QPushButton* continueButton = nullptr;

    void Button1Click();
    void ProdolgenieClick();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void shareWidths(int tableWidth);

    QWidget* mainWindow_;
    QTableView* labelColumn_ = nullptr;
    QSplitter* top_ = nullptr;
    QSplitter* bottom_ = nullptr;
    QList<QWidget*> printed_;
};

} // namespace wf::ui
