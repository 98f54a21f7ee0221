#pragma once
// The window "По причинам": model 3 of the whole fleet and of each cause, their chart, and
// what another warranty law would give. The fits run when the page is first wanted, for the
// results shown; new results make them stale.

#include "results/causes_view.h"

#include <QWidget>

#include <optional>

class QChart;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace wf::ui {

class TCausesView : public QWidget {
    Q_OBJECT
public:
    // A window of its own, closed with `owner`.
    explicit TCausesView(QWidget* owner);

    // The fleet of the results shown; empty without model 3. An open window redraws.
    void setInput(const std::optional<CausesInput>& in);
    bool hasInput() const { return in_.has_value(); }
    // The page for the input, fitted now if it has not been; nullptr without input.
    const CausesView* page();
    // Fits if needed, draws and shows the window.
    void open();
    // Reads the law's fields and adds its column; false, with a message, on a bad law.
    bool WhatIfBtnClick();

    QTableWidget* causesTable = nullptr;
    QLabel* captionLabel = nullptr;
    QPlainTextEdit* notesLabel = nullptr;
    QChart* causesChart = nullptr;
    QListWidget* causesLegend = nullptr;
    QLineEdit* whatIfMean = nullptr;
    QLineEdit* whatIfSd = nullptr;
    QPushButton* whatIfButton = nullptr;

private:
    void draw();

    std::optional<CausesInput> in_;
    std::optional<CauseFits> fits_;
    std::optional<WhatIfRun> whatIf_;
    std::optional<CausesView> view_;
};

} // namespace wf::ui
