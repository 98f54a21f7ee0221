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
    // The caption, table, charts and legend at the printer's resolution on one page (not
    // the buttons); false, with a message, when the printer cannot be opened.
    bool printTo(QPrinter& printer);

    QTableWidget* Result_Grid = nullptr;
    QLabel* Label10 = nullptr;
    QChart* Chart1 = nullptr;
    QChart* Chart2 = nullptr;
    QChart* Chart3 = nullptr;
    QListWidget* Chart1Legend = nullptr; // every legend entry of Chart1, scrolling
    QPushButton* Button1 = nullptr;
    QPushButton* Prodolgenie = nullptr;

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
