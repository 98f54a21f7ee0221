#include "results_fixture.h"

#include "core/distributions.h"
#include "format/messages.h"
#include "results/results_data.h"
#include "results/results_table.h"

#include <cmath>

using namespace wf;
using namespace wf::test;

namespace {

void expectEmptyFrom(const ResultsData& r, int firstCol) {
    for (int c = firstCol; c < kResultColumns; ++c)
        for (int row = 0; row < kResultRows; ++row)
            EXPECT_TRUE(cell(r, c, row).isEmpty()) << "column " << c << " row " << row;
}

} // namespace

using ResultsTable = ResultsTest;

TEST_F(ResultsTable, OnlySpiralTakesColumnOneAndDataFollows) {
    AnalysisState s = smallFleet();
    s.ModSpir = executedModel(1.5, 1000, 1.2);
    const ResultsData r = showAndStore(s, 300);
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(cell(r, 1, 0), QStringLiteral("Пирсона/спир.спуск"));
    EXPECT_EQ(r.widths[1], 155);
    EXPECT_EQ(r.dataColumn, 2);
    EXPECT_EQ(s.Stolbec_Rez, 2);
    EXPECT_EQ(cell(r, 2, 0), QStringLiteral("Данные эксплуатации"));
    EXPECT_EQ(r.widths[2], 155);
    EXPECT_EQ(r.widths[0], 240);
    EXPECT_EQ(cell(r, 0, 0), QStringLiteral("Результаты для моделей:"));
    expectEmptyFrom(r, 3);
}

TEST_F(ResultsTable, AllFiveInDisplayOrderThenData) {
    AnalysisState s = smallFleet();
    s.ModNewton = s.ModSpir = s.ModSmirnov = s.ModGen = s.ModExt = executedModel(1.5, 1000, 1.2);
    const ResultsData r = showAndStore(s, 300);
    const QStringList headings = {
        "Пирсона/Ньютона", "Пирсона/спир.спуск", "Критерий Смирнова", "Генетическая",
        "Golang",          "Данные эксплуатации"};
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(cell(r, c, 0), headings[c - 1]);
    EXPECT_EQ(r.dataColumn, 6);
    EXPECT_EQ(r.widths[1], 155);
    for (int c = 2; c <= 5; ++c) EXPECT_EQ(r.widths[static_cast<std::size_t>(c)], 145);
    EXPECT_EQ(r.widths[6], 155);

    // A later call with fewer models leaves no stale column behind.
    s.ModNewton.Executed = s.ModSpir.Executed = s.ModGen.Executed = s.ModExt.Executed = false;
    const ResultsData again = showAndStore(s, 300);
    EXPECT_EQ(cell(again, 1, 0), QStringLiteral("Критерий Смирнова"));
    EXPECT_EQ(again.dataColumn, 2);
    expectEmptyFrom(again, 3);
}

// Warnings follow their model's column; the heading text itself stays.
TEST_F(ResultsTable, SearchWarningsGoWithTheirModelsColumn) {
    AnalysisState s = smallFleet();
    s.ModSpir = s.ModSmirnov = executedModel(1.5, 1000, 1.2);
    s.ModSmirnov.Diagnostics = {{QStringLiteral("B"), SearchDiagnostic::Kind::Start, 2000},
                                {QStringLiteral("K"), SearchDiagnostic::Kind::Bound, 1.01}};
    const ResultsData r = showAndStore(s, 300);
    EXPECT_TRUE(r.warnings[1].isEmpty());
    EXPECT_EQ(cell(r, 2, 0), QStringLiteral("Критерий Смирнова"));
    EXPECT_EQ(r.warnings[2],
              QStringList({QStringLiteral("Внимание: модель 2, параметр B не изменился от "
                                          "начального значения"),
                           QStringLiteral("Внимание: модель 2, параметр K на границе поиска")}));
    EXPECT_TRUE(r.warnings[3].isEmpty()); // the data column
}

TEST_F(ResultsTable, NoModelLeavesTheDataInColumnOne) {
    AnalysisState s = smallFleet();
    const ResultsData r = showAndStore(s, 300);
    EXPECT_EQ(r.dataColumn, 1);
    EXPECT_EQ(cell(r, 1, 0), QStringLiteral("Данные эксплуатации"));
    for (int row : {3, 4, 5, 10, 11}) EXPECT_FALSE(cell(r, 1, row).isEmpty()) << row;
    for (int row : {1, 2, 6, 7, 8, 9}) EXPECT_TRUE(cell(r, 1, row).isEmpty()) << row;
    EXPECT_EQ(cell(r, 1, 3), QStringLiteral(" 2500(набл.)/2500(ценз.)"));
    EXPECT_EQ(cell(r, 1, 4), QStringLiteral(" 120")); // 120.5 rounds to the even 120
    EXPECT_EQ(cell(r, 1, 5), QStringLiteral(" 3"));
    EXPECT_EQ(cell(r, 1, 11), QStringLiteral(" 0.12"));
    expectEmptyFrom(r, 2);
}

TEST_F(ResultsTable, ModelRowsFollowTheirFormats) {
    AnalysisState s = smallFleet();
    s.ModSpir = executedModel(1.5, 1000, 1.2);
    s.ModSpir.KolmCrt = 42;
    const ResultsData r = showAndStore(s, 300);
    const Mod_Weib& m = s.ModSpir;
    EXPECT_EQ(cell(r, 1, 1), QStringLiteral("  1.500 / 1000.00"));
    EXPECT_EQ(cell(r, 1, 2), QStringLiteral("  1.200"));
    EXPECT_EQ(cell(r, 1, 3),
              QStringLiteral(" %1 ч.").arg(std::nearbyint(Weib_Kvantil(1.5, 1000, 0.5 / 1.2))));
    // Totals of the intervals with failures (the empty middle one is skipped): 1 + 3.
    EXPECT_EQ(cell(r, 1, 5), QStringLiteral(" 4 /4"));
    EXPECT_EQ(cell(r, 1, 6), QStringLiteral("  0.98 /  0.50"));
    EXPECT_EQ(cell(r, 1, 7), QStringLiteral(" 2000.0 ч"));
    EXPECT_EQ(cell(r, 1, 8), QStringLiteral(" 300.0 ч"));
    EXPECT_TRUE(cell(r, 1, 9).endsWith(QStringLiteral("(0.05)")));
    EXPECT_EQ(cell(r, 1, 10), QStringLiteral(" 0.2500/ 0.1250"));
    const QString row11 = QStringLiteral(" %1 / %2")
                              .arg(1.2 * Weib_Interv(1.5, 1000, 0, 2000), 6, 'f', 2)
                              .arg(1.2 * Weib_Interv(1.5, 1000, 0, 4000), 6, 'f', 2);
    EXPECT_EQ(cell(r, 1, 11), row11);
    // The criterion goes into the table only; the record keeps its value.
    EXPECT_EQ(m.KolmCrt, 42);
}

TEST_F(ResultsTable, SmallRepeatCoefficientUsesTheCappedQuantile) {
    AnalysisState s = smallFleet();
    s.ModSpir = executedModel(2, 1000, 0.4);
    const ResultsData r = showAndStore(s, 300);
    // 0.5 / 0.4 >= 1 becomes 0.999999: B * (-ln 1e-6)^(1/A) = 1000 * sqrt(13.8155...).
    const double expected = 1000 * std::sqrt(-std::log(1 - 0.999999));
    EXPECT_EQ(cell(r, 1, 3), QStringLiteral(" %1 ч.").arg(std::nearbyint(expected)));
    EXPECT_EQ(cell(r, 1, 3), QStringLiteral(" 3717 ч."));
}

TEST_F(ResultsTable, EmpiricalRateWindowIncludesThousandExcludesBurnIn) {
    AnalysisState s = smallFleet();
    s.Otkazy = {{300, 2, {}, {}}, {500, 2, {}, {}}, {1000, 2, {}, {}}, {1000.5, 2, {}, {}}};
    // Two failures (500 and 1000 h) over 700 h and 100 products; each weighs 1 plus the
    // 1e-12 floor of the share out of warranty, hence the tolerance.
    EXPECT_NEAR(CalcLamEmp(s, 300), 1000.0 * 2 / 700 / 100, 1e-12);
}

TEST_F(ResultsTable, BurnInAtOrPastThousandHasNoRate) {
    AnalysisState s = smallFleet();
    s.Lam_Emp = 5;
    const ResultsData r = showAndStore(s, 1000);
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(s.Lam_Emp, 0);
    EXPECT_EQ(cell(r, 1, 10), QStringLiteral(" ") + kNoRateWindow);
    EXPECT_TRUE(std::isfinite(s.Lam_Emp));
}

TEST_F(ResultsTable, FailureFarPastWarrantyWeighsFinitely) {
    AnalysisState s = smallFleet();
    s.Sred_Gar = 100; // everyone left warranty long before 900 h: Phi(900) is 1
    s.SKO_Gar = 1;
    s.Otkazy = {{900, 2, {}, {}}};
    const double rate = CalcLamEmp(s, 300);
    EXPECT_TRUE(std::isfinite(rate));
    EXPECT_GT(rate, 1e6); // the floored share 1e-12 makes it very large
}

TEST_F(ResultsTable, RateLabelEndsAtThousandOrAtTheLastFailure) {
    AnalysisState s = smallFleet();
    s.Otkazy.back().time = 1200;
    ResultsData r = showAndStore(s, 300);
    EXPECT_EQ(cell(r, 0, 10), QStringLiteral("Частота отказов/1000 ч (300,1000 ч)"));
    EXPECT_EQ(s.T_Lam_Kon, 1000);

    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    s.Otkazy.back().time = 850.5;
    r = showAndStore(s, 300);
    EXPECT_EQ(cell(r, 0, 10), QStringLiteral("Частота отказов/1000 ч (300,850,5 ч)"));
    EXPECT_EQ(s.T_Lam_Kon, 850.5);
    r = showAndStore(s, 250.5);
    EXPECT_EQ(s.T_Prirab, 250.5);
}

TEST_F(ResultsTable, BadBurnInChangesNothing) {
    AnalysisState s = smallFleet();
    s.ModSmirnov = executedModel(1, 500, 1);
    s.ModSmirnov.Kol_Nakopl = 77;
    s.T_Prirab = 123;
    s.Lam_Emp = 7;
    s.Stolbec_Rez = 4;
    s.P_Norm_Int = {9};
    s.N_Perv_Otk = 2;
    const ResultsData r = showAndStore(s, std::nan(""));
    EXPECT_EQ(r.end.how, Termination::Refused);
    EXPECT_FALSE(r.end.message.isEmpty());
    EXPECT_EQ(s.T_Prirab, 123);
    EXPECT_EQ(s.Lam_Emp, 7);
    EXPECT_EQ(s.Stolbec_Rez, 4);
    EXPECT_EQ(s.ModSmirnov.Kol_Nakopl, 77);
    EXPECT_EQ(s.P_Norm_Int, DoubArr{9});
    EXPECT_EQ(s.N_Perv_Otk, 2);
}

TEST_F(ResultsTable, CellsArePaddedToTheColumnWidthAsItWasWhenFilled) {
    AnalysisState s = smallFleet();
    s.ModSpir = executedModel(1.5, 1000, 1.2);
    const auto measure = [](const QString& t) { return 8 * static_cast<int>(t.size()); };
    const ResultsData r = showAndStore(s, 300, measure);
    // The model cell was padded while its column was 145 px wide (155 is set after).
    const QString modelCell = cell(r, 1, 2);
    EXPECT_GE(measure(modelCell), 145 - 7);
    EXPECT_LT(measure(modelCell.chopped(1)), 145 - 7);
    const QString dataCell = cell(r, 2, 4);
    EXPECT_GE(measure(dataCell), 155 - 7);
    EXPECT_LT(measure(dataCell.chopped(1)), 155 - 7);
    // Headings and labels are stored as they are.
    EXPECT_EQ(cell(r, 1, 0), QStringLiteral("Пирсона/спир.спуск"));
    // The trimmed view drops the padding but keeps the leading space.
    EXPECT_EQ(trimmedRows(r)[2][1], QStringLiteral("  1.200"));
}

TEST_F(ResultsTable, MeasureThatNeverGrowsStillEnds) {
    AnalysisState s = smallFleet();
    const ResultsData r = showAndStore(s, 300, [](const QString&) { return 0; });
    EXPECT_TRUE(r.end.done());
    EXPECT_LE(cell(r, 1, 4).size(), 155);
}

TEST_F(ResultsTable, CaptionNamesTheFleet) {
    AnalysisState s = smallFleet();
    s.Kol_All = 1250.5;
    const ResultsData r = showAndStore(s, 300);
    EXPECT_EQ(r.caption, QStringLiteral("Парк А (1250.5 шт.)"));
}

TEST_F(ResultsTable, EmptyStateShowsOnlyTheDataColumn) {
    AnalysisState s; // before any file: no failures, no histogram, no fleet
    const ResultsData r = showAndStore(s, 300);
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(r.dataColumn, 1);
    EXPECT_EQ(s.T_Lam_Kon, 1000);
    EXPECT_EQ(s.Lam_Emp, 0);
    EXPECT_EQ(r.chart1.series.size(), 12u);
    EXPECT_TRUE(s.P_Norm_Int.empty());
}

TEST_F(ResultsTable, ZeroFleetKeepsEveryFigureFinite) {
    AnalysisState s = smallFleet();
    s.Park = 0;
    s.ModSpir = executedModel(1.5, 1000, 1.2);
    const ResultsData r = showAndStore(s, 300);
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(s.Lam_Emp, 0);
    for (const ChartData* c : {&r.chart1, &r.chart2, &r.chart3})
        for (const SeriesData& d : c->series)
            for (const ChartPoint& p : d.points)
                EXPECT_TRUE(std::isfinite(p.y)) << seriesObjectName(d.id).toStdString();
    EXPECT_EQ(r.chart1.series[13].title, QStringLiteral("Насос 2 раз (0.0% /машину"));
}
