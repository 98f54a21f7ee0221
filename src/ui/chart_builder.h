#pragma once
// Draws a chart described as plain data with Qt Charts. Every call replaces the chart's
// series and axes; bars of all per-cause series share one bar series so they stand side
// by side at each point.

#include "results/results_data.h"

#include <QString>

#include <optional>
#include <utility>

class QChart;
class QAbstractSeries;
class QBarSeries;

namespace wf::ui {

struct ChartOptions {
    bool legend = false; // shown (also where the data asks for it)
    Qt::Alignment legendAlignment = Qt::AlignBottom;
    bool hideAxisLabels = false;                         // value labels of every axis hidden
    std::optional<std::pair<double, double>> rightRange; // fixed range of the right axis
    std::optional<double> leftMin;                       // fixed minimum of the left axis
};

void fillChart(QChart* chart, const ChartData& data, const ChartOptions& options);

// The series drawn for the fixed series `name` ("Series5"), or nullptr.
QAbstractSeries* findSeries(QChart* chart, const QString& name);
// The bar series holding the per-cause bars (one set per cause series), or nullptr.
QBarSeries* causeBars(QChart* chart);

} // namespace wf::ui
