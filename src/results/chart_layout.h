#pragma once
// The fixed layout of the results window's charts and the per-cause bar series.

#include "results/results_data.h"

namespace wf {

// Positions of the first per-cause series in each chart's list.
inline constexpr int kChart1CauseBase = 12;
inline constexpr int kChart2CauseBase = 13;
inline constexpr int kChart3CauseBase = 3;

// The charts with their captions, axis titles and fixed series, all empty; the model
// series' activity follows the models' Executed flags.
ChartData makeChart1(const AnalysisState& s);
ChartData makeChart2(const AnalysisState& s);
ChartData makeChart3();

// Model 3's curve without the exits and its band, empty, in their own colours.
SeriesData mleUncensoredSeries(ChartSeries id, bool active);
SeriesData mleBandSeries(ChartSeries id, const LikelihoodDetail& d, bool active);

// Appends an empty bar series of cause j (colour, transparency, title).
void addCauseSeries(ChartData& chart, int j, std::uint32_t rgb, int transparency,
                    const QString& title);

// The accumulation's documented colours: green failures, red least-squares line.
inline constexpr std::uint32_t kLnLnGreen = 0x008000;
inline constexpr std::uint32_t kLnLnRed = 0xFF0000;

// `rgb`, or where a series already has it, the nearest of its darker, then lighter
// shades no series has: every series of a chart keeps a colour of its own.
std::uint32_t freeShade(std::uint32_t rgb, const std::vector<std::uint32_t>& used);

// The colours of a chart's series that have one of their own, in list order.
std::vector<std::uint32_t> seriesColors(const ChartData& chart);

// The fixed series `id`; nullptr when the chart has none.
SeriesData* findSeries(ChartData& chart, ChartSeries id);
const SeriesData* findSeries(const ChartData& chart, ChartSeries id);

// Highest cause index the per-cause tables can chart: Kol_Prich bounded by the cause list
// and by Sum_Npr.
int lastChartedCause(const AnalysisState& s);

} // namespace wf
