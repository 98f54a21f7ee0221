#pragma once
// Draws a chart described as plain data with Qt Charts. Every call replaces the chart's
// series and axes. Time runs in hours on a value axis (log axes where the data ask for
// them); a per-cause bar is a rectangle over its interval's hours, the causes side by side.

#include "results/results_data.h"

#include <QBrush>
#include <QList>
#include <QPen>
#include <QString>

#include <optional>
#include <utility>

class QChart;
class QAbstractSeries;
class QAreaSeries;
class QListWidget;
class QPainter;

namespace wf::ui {

struct ChartOptions {
    bool legend = false;    // shown (also where the data asks for it)
    bool ownLegend = false; // the chart's legend hidden: the window lists it (fillLegendList)
    Qt::Alignment legendAlignment = Qt::AlignBottom;
    std::optional<std::pair<double, double>> rightRange; // fixed range of the right axis
    std::optional<double> leftMin;                       // fixed minimum of the left axis
};

// Ticks and axis titles follow the chart's size: round steps as many as fit, whole titles
// (wrapped when longer than their axis), value marks that do not overlap. Long lines are
// thinned for drawing (thinForDrawing). A series is in the legend when it is drawn and
// has a title.
void fillChart(QChart* chart, const ChartData& data, const ChartOptions& options);

// A legend entry as drawn: its text, and a line (pen) or a filled box (fill and border).
struct LegendEntry {
    QString text;
    QPen pen;
    QBrush fill;
    bool filled = false;
};
// Every legend entry of `chart` that is shown, in order.
std::vector<LegendEntry> legendEntries(QChart* chart);
// The entry's sign in `box`: a line across it, or a filled box.
void paintLegendIcon(QPainter& p, const QRectF& box, const LegendEntry& e);

// Every legend entry of `chart` that is shown (with its colour), one row each, in order.
void fillLegendList(QListWidget* list, QChart* chart);

// At most about 4 * buckets of `points` (x ascending) that draw the same line at any size
// below `buckets` pixels: per x bucket the first, lowest, highest and last point. Points
// not in x order, or few enough, come back as they are.
std::vector<ChartPoint> thinForDrawing(const std::vector<ChartPoint>& points, int buckets = 1000);

// The series drawn for the fixed series `id`, or nullptr.
QAbstractSeries* findSeries(QChart* chart, ChartSeries id);
// The per-cause bar series drawn, in list order (each an area of rectangles).
QList<QAreaSeries*> causeBars(QChart* chart);

} // namespace wf::ui
