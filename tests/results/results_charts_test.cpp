#include "results_fixture.h"

#include "core/distributions.h"
#include "drawn_fleets.h"
#include "results/chart_layout.h"
#include "results/results_data.h"
#include "stats/histogram.h"
#include "stats/mle_fit.h"

#include <algorithm>
#include <cmath>

using namespace wf;
using namespace wf::test;

namespace {

const SeriesData& seriesOf(const ChartData& c, ChartSeries id) {
    if (const SeriesData* d = findSeries(c, id)) return *d;
    ADD_FAILURE() << "no series " << seriesObjectName(id).toStdString();
    static const SeriesData none;
    return none;
}

std::vector<double> ys(const SeriesData& d) {
    std::vector<double> v;
    for (const ChartPoint& p : d.points) v.push_back(p.y);
    return v;
}

} // namespace

using ResultsCharts = ResultsTest;

TEST_F(ResultsCharts, CausesWithFailuresGetFourSeriesAtTheirPositions) {
    AnalysisState s = smallFleet();
    const ResultsData r = showAndStore(s, 300);
    // Causes 1 ("Другие") and 2 ("Насос") have failures; 0 and 3 have none.
    ASSERT_EQ(r.chart1.series.size(), 12u + 2);
    ASSERT_EQ(r.chart2.series.size(), 13u + 2);
    ASSERT_EQ(r.chart3.series.size(), 3u + 4);
    EXPECT_EQ(r.chart1.series[12].causeIndex, 1);
    EXPECT_EQ(r.chart1.series[13].causeIndex, 2);
    EXPECT_EQ(r.chart1.series[13].title, QStringLiteral("Насос 2 раз (2.0% /машину"));
    EXPECT_EQ(r.chart2.series[14].title, QStringLiteral("Насос"));
    EXPECT_EQ(r.chart2.series[14].transparency, 30);
    EXPECT_EQ(r.chart3.series[5].title, QStringLiteral("Насос"));
    EXPECT_EQ(r.chart3.series[6].title, QStringLiteral("Насос с учетом цензурирования"));
    EXPECT_EQ(r.chart3.series[6].transparency, 60);
    EXPECT_EQ(r.chart1.series[13].rgb, 0xFF0000u);
    EXPECT_TRUE(r.chart1.series[13].inLegend);
    // The plain member of each Chart3 pair stays empty.
    EXPECT_TRUE(r.chart3.series[3].points.empty());
    EXPECT_TRUE(r.chart3.series[5].points.empty());

    // A second call replaces the per-cause series instead of adding to them.
    const ResultsData again = showAndStore(s, 300);
    EXPECT_EQ(again.chart1.series.size(), 14u);
    EXPECT_EQ(again.chart3.series.size(), 7u);
    EXPECT_EQ(s.Sum_Npr[2], 2);
}

TEST_F(ResultsCharts, EmptyIntervalsAreSkippedAndWidenTheNextStep) {
    AnalysisState s = smallFleet();
    const ResultsData r = showAndStore(s, 300);
    const SeriesData& pump = r.chart1.series[13];
    ASSERT_EQ(pump.points.size(), 2u);
    // A bar spans its interval's hours: the empty 100-200 h interval falls into the next.
    EXPECT_EQ(pump.points[0].x, 100);
    EXPECT_EQ(pump.points[1].x, 300);
    EXPECT_EQ(pump.barFrom, (std::vector<double>{0, 100}));
    EXPECT_EQ(seriesOf(r.chart1, ChartSeries::ObservedPercent).points[1].x, 300);
    EXPECT_EQ(pump.points[0].label, QStringLiteral("100"));
    EXPECT_EQ(pump.points[1].label, QStringLiteral("300"));
    // One failure per 100 h, then one over the 200 h since the last interval shown.
    EXPECT_DOUBLE_EQ(pump.points[0].y, 1.0 * 1 / 100);
    EXPECT_DOUBLE_EQ(pump.points[1].y, 1.0 * 0.5 / 100);
    EXPECT_EQ(pump.points[1].rgb, 0xFF0000u);
    EXPECT_TRUE(pump.points[1].hasColor);
    EXPECT_EQ(ys(r.chart2.series[kChart2CauseBase + 1]), (std::vector<double>{0.01, 0.02}));
    EXPECT_EQ(ys(seriesOf(r.chart2, ChartSeries::ObservedTotal)),
              (std::vector<double>{0.01, 0.03}));
    EXPECT_EQ(ys(seriesOf(r.chart1, ChartSeries::ObservedPercent)), (std::vector<double>{1, 3}));
    EXPECT_EQ(seriesOf(r.chart1, ChartSeries::ObservedPercent).valueTexts,
              (std::vector<QString>{"1", "3"}));
    EXPECT_EQ(s.P_Norm_Int.size(), 3u);
}

TEST_F(ResultsCharts, CorrectedBarIsTwiceTheCountOverTheShareStillInWarranty) {
    AnalysisState s = smallFleet();
    s.Sred_Gar = 300; // half the fleet has left warranty at the 300 h interval
    s.SKO_Gar = 50;
    const ResultsData r = showAndStore(s, 300);
    const double p = s.P_Norm_Int[2];
    EXPECT_EQ(p, Norm_Raspr(300, 50, 300));
    const SeriesData& corrected = r.chart3.series[6];
    ASSERT_EQ(corrected.points.size(), 2u);
    EXPECT_DOUBLE_EQ(corrected.points[1].y, 2.0 * 1 * 0.5 / 100 / (1 - p));
    // The rational approximation of Phi(0) is 0.5 to about 1e-7, so the ratio is 4 to that.
    EXPECT_NEAR(corrected.points[1].y / r.chart1.series[13].points[1].y, 4.0, 1e-5);
    EXPECT_EQ(ys(seriesOf(r.chart1, ChartSeries::ExitShareOnRates))[1], 100 * p);
    EXPECT_EQ(ys(seriesOf(r.chart2, ChartSeries::ExitShareOnTotals))[1], 100 * p);
}

TEST_F(ResultsCharts, CorrectedBarIsLeftOutWhenNobodyIsUnderWarranty) {
    AnalysisState s = smallFleet();
    s.Sred_Gar = 10; // at 100 and 300 h the whole fleet has left warranty
    s.SKO_Gar = 1;
    const ResultsData r = showAndStore(s, 300);
    ASSERT_EQ(s.P_Norm_Int[2], 1.0);
    // "Другие" has no failure in the first interval: a zero bar; none in the last.
    const SeriesData& other = r.chart3.series[4];
    ASSERT_EQ(other.points.size(), 1u);
    EXPECT_EQ(other.points[0].y, 0);
    EXPECT_TRUE(r.chart3.series[6].points.empty());
    for (const ChartData* c : {&r.chart1, &r.chart2, &r.chart3})
        for (const SeriesData& d : c->series)
            for (const ChartPoint& p : d.points) EXPECT_TRUE(std::isfinite(p.y));
}

TEST_F(ResultsCharts, ModelSeriesFollowExecutedAndTotalsAreRebuilt) {
    AnalysisState s = smallFleet();
    s.ModSpir = executedModel(1.5, 1000, 1.2);
    s.ModSmirnov = executedModel(1.1, 800, 1.0);
    s.ModSmirnov.Unsens = 9;
    s.ModNewton.Kol_Nakopl = 11; // not executed: keeps the old total
    s.ModGen.Kol_Nakopl = 12;    // not executed: reset all the same
    ResultsData r = showAndStore(s, 300);

    EXPECT_TRUE(seriesOf(r.chart1, ChartSeries::SpiralRate).active);
    EXPECT_TRUE(seriesOf(r.chart1, ChartSeries::SpiralRateCensored).active);
    EXPECT_FALSE(seriesOf(r.chart1, ChartSeries::GeneticRate).active);
    EXPECT_FALSE(seriesOf(r.chart1, ChartSeries::GeneticRateCensored).active);
    EXPECT_FALSE(seriesOf(r.chart1, ChartSeries::NewtonRate).active);
    EXPECT_FALSE(seriesOf(r.chart1, ChartSeries::ExternalRateCensored).active);
    EXPECT_TRUE(seriesOf(r.chart1, ChartSeries::SmirnovRateCensored).active);
    EXPECT_FALSE(seriesOf(r.chart1, ChartSeries::SpareBarsOnRates).active);
    EXPECT_FALSE(seriesOf(r.chart2, ChartSeries::SpareBarsOnTotals).active);
    EXPECT_FALSE(seriesOf(r.chart3, ChartSeries::SpareLineOnLnLn).active);
    EXPECT_TRUE(
        seriesOf(r.chart2, ChartSeries::GeneticTotal).active); // Chart2 model series are never off
    EXPECT_TRUE(seriesOf(r.chart2, ChartSeries::GeneticTotal).points.empty());

    EXPECT_DOUBLE_EQ(s.ModSpir.Kol_Nakopl, 1 + 3);
    EXPECT_DOUBLE_EQ(s.ModSpir.Unsens, 0.1 + 0.3);
    EXPECT_DOUBLE_EQ(s.ModSmirnov.Kol_Nakopl, 1 + 3);
    EXPECT_EQ(s.ModSmirnov.Unsens, 0);
    EXPECT_EQ(s.ModNewton.Kol_Nakopl, 11);
    EXPECT_EQ(s.ModGen.Kol_Nakopl, 0);

    EXPECT_EQ(ys(seriesOf(r.chart1, ChartSeries::SpiralRate)),
              (std::vector<double>{0.1 * 1 * 1.2, 0.3 * 0.5 * 1.2}));
    EXPECT_EQ(ys(seriesOf(r.chart1, ChartSeries::SpiralRateCensored)),
              (std::vector<double>{1.0 / 100, 3 * 0.5 / 100}));
    EXPECT_EQ(ys(seriesOf(r.chart2, ChartSeries::SpiralTotal)),
              (std::vector<double>{0.1 * 1.2, (0.1 + 0.3) * 1.2}));
    EXPECT_EQ(ys(seriesOf(r.chart2, ChartSeries::SpiralTotalCensored)),
              (std::vector<double>{0.01, 0.04}));
    EXPECT_EQ(ys(seriesOf(r.chart2, ChartSeries::SmirnovTotalCensored)),
              (std::vector<double>{0.01, 0.04}));

    // A later genetic result switches its series on.
    s.ModGen = executedModel(1.3, 900, 1.1);
    r = showAndStore(s, 300);
    EXPECT_TRUE(seriesOf(r.chart1, ChartSeries::GeneticRate).active);
    EXPECT_TRUE(seriesOf(r.chart1, ChartSeries::GeneticRateCensored).active);
    EXPECT_EQ(seriesOf(r.chart1, ChartSeries::GeneticRateCensored).points.size(), 2u);
}

TEST_F(ResultsCharts, ModelFromAnEarlierHistogramDoesNotReadPastItsArrays) {
    AnalysisState s = smallFleet();
    s.ModSpir = executedModel(1.5, 1000, 1.2);
    s.ModSpir.F_Weib = {0.1};
    s.ModSpir.Kol_F_priv = {1};
    const ResultsData r = showAndStore(s, 300);
    EXPECT_TRUE(r.end.done());
    EXPECT_DOUBLE_EQ(s.ModSpir.Kol_Nakopl, 1);
}

TEST_F(ResultsCharts, LnLnSeriesAndTheirLine) {
    AnalysisState s = smallFleet();
    s.Otkazy.insert(s.Otkazy.begin(), Problems{0, 0, {}, {}});
    s.N_Perv_Otk = 5;
    const ResultsData r = showAndStore(s, 300);
    EXPECT_EQ(s.N_Perv_Otk, 1);
    const SeriesData& pts = seriesOf(r.chart3, ChartSeries::LnLnFailures);
    ASSERT_EQ(pts.points.size(), 3u);
    EXPECT_DOUBLE_EQ(pts.points[0].x, std::log(50 + 0.00001));
    EXPECT_DOUBLE_EQ(pts.points[0].y, std::log(2.0)); // the failure at 0 still counts
    EXPECT_EQ(pts.points[0].rgb, 0x008000u);
    EXPECT_TRUE(pts.points[0].label.isEmpty());
    const SeriesData& line = seriesOf(r.chart3, ChartSeries::LnLnLine);
    ASSERT_EQ(line.points.size(), 2u);
    EXPECT_DOUBLE_EQ(line.points[1].x, std::log(280 + 0.00001));
    EXPECT_DOUBLE_EQ(line.points[1].y, line.points[1].x); // slope 1, intercept 0
    // "Насос" has the line's red: on the chart they share the line takes a darker shade.
    EXPECT_NE(line.points[1].rgb, 0xFF0000u);
    EXPECT_EQ(line.points[1].rgb, line.rgb);

    const LogViewData v = logViewData(s);
    EXPECT_EQ(v.points.size(), 3u);
    EXPECT_EQ(v.line.size(), 2u);
    EXPECT_EQ(v.aText, QStringLiteral("A= 1.0000"));
    EXPECT_EQ(v.bText, QStringLiteral("B= 0.0000"));
    EXPECT_EQ(v.title, QStringLiteral("Парк А"));
    EXPECT_EQ(v.line[1].rgb, 0xFF0000u); // no cause beside it in the log-scale view
}

TEST_F(ResultsCharts, NoPositiveFailureTimeDrawsNoLine) {
    AnalysisState s = smallFleet();
    for (Problems& p : s.Otkazy) p.time = 0;
    s.Line_Defined = false;
    const ResultsData r = showAndStore(s, 300);
    EXPECT_EQ(s.N_Perv_Otk, -1);
    EXPECT_TRUE(seriesOf(r.chart3, ChartSeries::LnLnFailures).points.empty());
    EXPECT_TRUE(seriesOf(r.chart3, ChartSeries::LnLnLine).points.empty());
    const LogViewData v = logViewData(s);
    EXPECT_TRUE(v.line.empty());
    EXPECT_EQ(v.aText, QStringLiteral("A= —"));
}

TEST_F(ResultsCharts, CauseColoursCycleBeyondTheTable) {
    EXPECT_EQ(causeColor(0), 0x000000u);
    EXPECT_EQ(causeColor(7), 0x6495EDu);
    EXPECT_EQ(causeColor(41), 0xFFFF00u);
    EXPECT_EQ(causeColor(42), causeColor(2));
    EXPECT_EQ(causeColor(52), causeColor(12));
    EXPECT_EQ(causeColor(-3), causeColor(0));
}

TEST_F(ResultsCharts, CauseIndexIsBoundedByTheTables) {
    AnalysisState s = smallFleet();
    s.Kol_Prich = 80; // more than the list holds: only the listed causes are charted
    const ResultsData r = showAndStore(s, 300);
    EXPECT_EQ(r.chart1.series.size(), 14u);
    EXPECT_EQ(lastChartedCause(s), 3);
}

TEST_F(ResultsCharts, FixedLayoutTitlesAndAxes) {
    AnalysisState s = smallFleet();
    const ResultsData r = showAndStore(s, 300);
    EXPECT_EQ(r.chart1.title,
              QStringLiteral("Изменение потока отказов в течение гарантийного периода"));
    EXPECT_EQ(r.chart1.series[1].id, ChartSeries::ObservedPercent);
    EXPECT_TRUE(r.chart1.series[1].valueLabels);
    EXPECT_EQ(r.chart1.series[1].axis, Axis::Right);
    EXPECT_TRUE(r.chart1.series[2].inLegend); // the censored curve of model 1.1 too
    EXPECT_EQ(r.chart1.series[10].title, QStringLiteral("Go Генетич."));
    EXPECT_EQ(r.chart2.rightAxis, QStringLiteral("Выбывание из гарантии, %"));
    EXPECT_TRUE(r.chart2.rightAxisFixed);
    EXPECT_EQ(r.chart2.rightMax, 100);
    EXPECT_EQ(r.chart3.titleLines.size(), 2);
    EXPECT_EQ(r.chart3.series[1].axis, Axis::TopRight);
    EXPECT_EQ(r.chart3.series[1].kind, SeriesKind::LineWithCrosses);
}

// The windows name their drawn series Series1..Series26, one each across the three charts;
// the per-cause series have no name.
TEST_F(ResultsCharts, FixedSeriesKeepTheirObjectNames) {
    AnalysisState s = smallFleet();
    const ResultsData r = showAndStore(s, 300);
    QStringList names, expected;
    for (const ChartData* c : {&r.chart1, &r.chart2, &r.chart3})
        for (const SeriesData& d : c->series)
            if (d.id != ChartSeries::Cause)
                names << seriesObjectName(d.id);
            else
                EXPECT_TRUE(seriesObjectName(d.id).isEmpty());
    for (int n = 1; n <= 28; ++n) expected << QStringLiteral("Series%1").arg(n);
    names.sort();
    expected.sort();
    EXPECT_EQ(names, expected);
    EXPECT_EQ(seriesObjectName(ChartSeries::ObservedPercent), QStringLiteral("Series17"));
}

// Each chart tells its series apart: a colour of their own, a legend text for every one
// that can be drawn, and values on its axes in hours.
TEST_F(ResultsCharts, EverySeriesHasItsOwnColourAndALegendEntry) {
    AnalysisState s = smallFleet();
    s.Vidy_Otk_Sort[1].Dolya = 0;
    s.Vidy_Otk_Sort[3] = {QStringLiteral("Датчик"), 1};
    s.Vidy_Otk_Sort.push_back({QStringLiteral("Реле"), 1});
    s.Kol_Prich = 4;
    for (auto* m : {&s.ModSpir, &s.ModNewton, &s.ModSmirnov, &s.ModGen, &s.ModExt, &s.ModMLE})
        *m = executedModel(1.5, 1000, 1.2);
    const ResultsData r = showAndStore(s, 300);
    for (const ChartData* c : {&r.chart1, &r.chart2, &r.chart3}) {
        EXPECT_TRUE(c->legendVisible);
        EXPECT_FALSE(c->bottomAxis.isEmpty());
        std::vector<std::uint32_t> colours;
        for (const SeriesData& d : c->series) {
            if (d.causeIndex < 0 && !d.active) continue; // the spare series, never drawn
            EXPECT_TRUE(d.hasColor);
            EXPECT_FALSE(d.title.isEmpty()) << seriesObjectName(d.id).toStdString();
            EXPECT_TRUE(d.inLegend);
            if (d.causeIndex >= 0 && d.points.empty()) continue; // a pair's empty member
            EXPECT_EQ(std::count(colours.cbegin(), colours.cend(), d.rgb), 0)
                << d.title.toStdString();
            colours.push_back(d.rgb);
        }
    }
    // A cause keeps its table colour unless another series has it, in every chart alike.
    EXPECT_EQ(r.chart1.series[kChart1CauseBase].rgb, causeColor(2));
    EXPECT_EQ(r.chart2.series[kChart2CauseBase].rgb, causeColor(2));
    EXPECT_EQ(freeShade(0xFF0000, {0xFF0000}), 0xBF0000u);
}

// Model 3's curve without the exits lies inside its band on the integral chart and in the
// log-scale view, where both count failures of the whole fleet.
TEST_F(ResultsCharts, ModelThreeBandHoldsItsCurveOnBothCharts) {
    Draws draws{std::mt19937_64(7)};
    AnalysisState s = drawnFleet(1.5, 3000, 1.0, 400, 2500, 600, draws);
    Postr_Gist(s);
    ASSERT_TRUE(storeMle(s, fitMle(s, MleSettings{})));
    const ResultsData r = showAndStore(s, 0);
    const LogViewData v = logViewData(s);
    const auto holds = [&s](const SeriesData& curve, const SeriesData& band, double scale) {
        ASSERT_FALSE(curve.points.empty());
        ASSERT_EQ(band.points.size(), curve.points.size());
        ASSERT_EQ(band.lower.size(), curve.points.size());
        for (std::size_t i = 0; i < curve.points.size(); ++i) {
            const ChartPoint& c = curve.points[i];
            EXPECT_LT(band.lower[i].y, c.y);
            EXPECT_GT(band.points[i].y, c.y);
            const Mod_Weib& M = s.ModMLE;
            const double kf = M.K_powtor * -std::expm1(-std::pow(c.x / M.B, M.A));
            EXPECT_NEAR(c.y, scale * kf, 1e-9 * scale * kf);
        }
    };
    holds(seriesOf(r.chart2, ChartSeries::MleTotal), seriesOf(r.chart2, ChartSeries::MleBand), 1);
    holds(v.mleCurve, v.mleBand, s.Park);
    const ChartData log = accumulationChart(v.points, v.line, &v.mleCurve, &v.mleBand);
    EXPECT_TRUE(log.legendVisible);
    EXPECT_EQ(log.series.size(), 4u);
    for (const SeriesData& d : log.series) EXPECT_FALSE(d.title.isEmpty());
}
