#pragma once
// The enlarged log-log view of the failure accumulation with its least-squares line.
// Created by "Expand" while the main window hides; disposed of when left.

#include "results/results_data.h"

#include <QWidget>

class QChart;
class QLabel;
class QPrinter;
class QPushButton;

namespace wf::ui {

class TLNview : public QWidget {
    Q_OBJECT
public:
    // Draws `data` once; the view does not follow later changes.
    TLNview(const LogViewData& data, QWidget* mainWindow);

    // The caption, chart and coefficients at the printer's resolution (not the buttons);
    // false, with a message, when the printer cannot be opened.
    bool printTo(QPrinter& printer);

    QChart* logChart = nullptr;
    QLabel* aLabel = nullptr;
    QLabel* bLabel = nullptr;
    QLabel* captionLabel = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* continueButton = nullptr;

    void Button2Click();
    void ProdolgenieClick();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* mainWindow_;
    QWidget* chartView_ = nullptr;
};

} // namespace wf::ui
