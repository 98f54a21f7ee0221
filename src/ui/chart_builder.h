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
class QListWidget;

namespace wf::ui {

struct ChartOptions {
    bool legend = false;    // shown (also where the data asks for it)
    bool ownLegend = false; // the chart's legend hidden: the window lists it (fillLegendList)
    Qt::Alignment legendAlignment = Qt::AlignBottom;
    bool hideAxisLabels = false;                         // value labels of every axis hidden
    std::optional<std::pair<double, double>> rightRange; // fixed range of the right axis
    std::optional<double> leftMin;                       // fixed minimum of the left axis
};

// Bottom labels, ticks and axis titles follow the chart's size: as many labels as fit
// their width, whole titles (wrapped when longer than their axis), value marks that do
// not overlap. Bars stand at the interval their point names; long lines are thinned for
// drawing (thinForDrawing).
void fillChart(QChart* chart, const ChartData& data, const ChartOptions& options);

// Every legend entry of `chart` that is shown (with its colour), one row each, in order.
void fillLegendList(QListWidget* list, QChart* chart);

// At most about 4 * buckets of `points` (x ascending) that draw the same line at any size
// below `buckets` pixels: per x bucket the first, lowest, highest and last point. Points
// not in x order, or few enough, come back as they are.
std::vector<ChartPoint> thinForDrawing(const std::vector<ChartPoint>& points, int buckets = 1000);

// The series drawn for the fixed series `id`, or nullptr.
QAbstractSeries* findSeries(QChart* chart, ChartSeries id);
// The bar series holding the per-cause bars (one set per cause series), or nullptr.
QBarSeries* causeBars(QChart* chart);

} // namespace wf::ui
