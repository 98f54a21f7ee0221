#pragma once
// The results window's content as plain data: the results table texts and the series of
// its three charts, plus the log-scale view. The window only draws what is here.

#include "analysis/chart_point.h"
#include "analysis/state.h"
#include "core/job_end.h"
#include "results/causes_input.h"
#include "results/chart_series.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace wf {

enum class SeriesKind {
    Curve,
    Line,
    DashedLine,
    Area,
    GradientArea,
    Bar,
    LineWithCrosses,
    LineWithCircles,
    Band // the area between `lower` and `points`
};
enum class Axis { Left, Right, TopRight /* Chart3 ln-ln series use the top and right axes */ };

struct SeriesData {
    ChartSeries id = ChartSeries::Cause;
    QString title; // legend text ("" = not in the legend)
    SeriesKind kind = SeriesKind::Line;
    Axis axis = Axis::Left;
    bool active = true;
    bool inLegend = true;
    bool valueLabels = false; // ObservedPercent shows each point's value
    int causeIndex = -1;      // per-cause series: index into Vidy_Otk_Sort
    int transparency = 0;     // percent
    std::uint32_t rgb = 0;    // 0xRRGGBB, used when hasColor
    bool hasColor = false;
    std::vector<ChartPoint> points;  // x in hours; a bar's x is its interval's end
    std::vector<QString> valueTexts; // with valueLabels: the mark text of each point
    std::vector<double> barFrom;     // Bar: where each point's interval starts, h
    std::vector<ChartPoint> lower;   // Band: its lower edge, point by point with `points`
};

struct ChartData {
    QString title;
    QStringList titleLines; // a multi-line caption (Chart3), else empty
    QString leftAxis, rightAxis, bottomAxis, topAxis;
    bool legendVisible = false;
    bool logAxes = false;        // bottom and left axes on log scales, in hours and failures
    bool rightAxisFixed = false; // the right axis keeps the range rightMin..rightMax
    double rightMin = 0, rightMax = 0;
    std::vector<SeriesData> series; // list order: the fixed series, then the per-cause ones
};

// A model's running totals over the histogram intervals.
struct ModelTotals {
    double Kol_Nakopl = 0;
    double Unsens = 0;
};

// The analysis state's values the results step computes, under their names in the state;
// storeResults writes them there. A model without totals keeps its own.
struct ResultsState {
    double T_Prirab = 0;
    double Lam_Emp = 0;
    double T_Lam_Kon = 0;
    DoubArr P_Norm_Int;
    int Stolbec_Rez = 1;
    std::array<double, kSumNprSize> Sum_Npr{};
    int N_Perv_Otk = -1;
    std::optional<ModelTotals> ModNewton, ModSpir, ModSmirnov, ModGen, ModExt, ModMLE;
};

inline constexpr int kResultColumns = 8;
inline constexpr int kResultRows = 13;

struct ResultsData {
    JobEnd end;      // Refused when the burn-in is not a finite number; nothing was changed then
    QString caption; // the data set's caption above the table
    std::array<std::array<QString, kResultRows>, kResultColumns> grid; // [column][row]
    std::array<int, kResultColumns> widths{};                          // pixels
    int dataColumn = 1; // the "Данные эксплуатации" column
    // Per column, the warnings of the fit behind it (empty: the search moved freely).
    std::array<QStringList, kResultColumns> warnings;
    ChartData chart1, chart2, chart3;
    ResultsState state;                // for storeResults
    std::optional<CausesInput> causes; // with model 3: what the page by cause needs
};

// Pixel width of a cell text in the grid's font; an empty function means no padding.
using TextWidthFn = std::function<int(const QString&)>;

// Everything the results window shows after a run: the empirical rate, the model totals,
// the interval pass, the table and the three charts, plus the state's values they come
// with (ResultsData::state). A burn-in that is not a finite number is refused with the message.
ResultsData ShowResults(const AnalysisState& s, double burnIn, const TextWidthFn& measure = {});

// Writes r.state into the state as the results step's outcome; a refused result writes nothing.
void storeResults(AnalysisState& s, const ResultsData& r);

// Lam_Emp after burn-in burnIn: failures per product per 1000 h, weighted for warranty
// exit; 0 when the burn-in leaves no window below 1000 h.
double CalcLamEmp(const AnalysisState& s, double burnIn);

// Colour of cause j (0xRRGGBB); the table repeats from its third entry past its end.
std::uint32_t causeColor(int j);

// The log-scale view: failures in ln-ln coordinates (green), the least-squares line
// (red; empty when it is undefined) and the labels' texts.
struct LogViewData {
    std::vector<ChartPoint> points, line;
    SeriesData mleCurve, mleBand; // model 3's expected failures and band; empty without it
    QString aText, bText;         // the line's coefficients ("A= …", "B= …")
    QString title;                // the data set's caption
};
LogViewData logViewData(const AnalysisState& s);

// The accumulation of failures as the main window's chart and the log-scale view draw it:
// a log-log plot in hours and failures of the ln-ln points and line given, and model 3's
// expected failures with their band when `mle` holds them (in failures, not logarithms).
ChartData accumulationChart(const std::vector<ChartPoint>& lnPoints,
                            const std::vector<ChartPoint>& lnLine,
                            const SeriesData* mleCurve = nullptr,
                            const SeriesData* mleBand = nullptr);

// The grid without the padding PutResultCell adds, as rows of cell texts.
std::vector<std::vector<QString>> trimmedRows(const ResultsData& r);

} // namespace wf
