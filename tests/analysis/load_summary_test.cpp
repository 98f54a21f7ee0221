#include "analysis/failure_file.h"
#include "analysis/load_summary.h"
#include "fleet_files.h"
#include "gtest_qstring.h"
#include "locale_guard.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wf {
namespace {

// A warranty exit so late that every weight is 1 + 1e-12 or so.
constexpr double kLateSred = 1e9;
constexpr double kLateSko = 1;

std::vector<Problems> failuresAt(std::initializer_list<double> times) {
    std::vector<Problems> v;
    for (const double t : times) v.push_back({t, 1, QStringLiteral("Другие"), {}});
    return v;
}

struct Summary {
    SummaryValues v;
    LoadSummary s;
};

Summary summarize(const std::vector<Problems>& o, double park, double sred = kLateSred,
                  double sko = kLateSko) {
    Summary r;
    computeLoadSummary(o, park, sred, sko, r.v, r.s);
    return r;
}

TEST(LoadSummary, PointsFromOneHourAndYCountsEveryEarlierFailure) {
    const auto r = summarize(failuresAt({0.5, 0.99, 1.0, 10}), 100);
    ASSERT_EQ(r.s.points.size(), 2u);
    EXPECT_DOUBLE_EQ(r.s.points[0].x, std::log(1.00001));
    EXPECT_DOUBLE_EQ(r.s.points[0].y, std::log(3.0)); // two failures below 1 h counted
    EXPECT_DOUBLE_EQ(r.s.points[1].y, std::log(4.0));
    EXPECT_EQ(r.s.points[0].rgb, 0x008000u);
    EXPECT_TRUE(r.s.points[0].hasColor);
    EXPECT_EQ(r.v.N_Perv_Otk, 0);
    EXPECT_DOUBLE_EQ(r.v.Sum_Y, std::log(3.0) + std::log(4.0));
}

TEST(LoadSummary, ThresholdRowsForAFleetOf100) {
    std::vector<Problems> o;
    for (int i = 1; i <= 100; ++i) o.push_back({10.0 * i, 1, {}, {}});
    const auto r = summarize(o, 100);
    ASSERT_EQ(r.s.thresholdRows.size(), 5u);
    EXPECT_EQ(r.s.thresholdRows[0],
              (std::pair<int, QString>{9, QStringLiteral(", отказов 10% от парка")}));
    EXPECT_EQ(r.s.thresholdRows[1].first, 19);
    EXPECT_EQ(r.s.thresholdRows[2],
              (std::pair<int, QString>{
                  49, QStringLiteral(", отказов 50% от парка с учетом цензурирования")}));
    EXPECT_EQ(r.s.thresholdRows[3].first, 79);
    EXPECT_EQ(r.s.thresholdRows[4],
              (std::pair<int, QString>{89, QStringLiteral(", отказов 90% от парка")}));
    // W exceeds 10 by about 1e-11 at failure 10: T10 sits at that failure's time (1e-6:
    // the excess times the 10 h step).
    EXPECT_NEAR(r.v.T10, 100, 1e-6);
    EXPECT_NEAR(r.v.T50_Nabl, 500, 1e-6);
    EXPECT_EQ(r.v.T50_Cens, r.v.T50_Nabl);
}

TEST(LoadSummary, TwoThresholdsAtOneFailureShowTheLaterLabel) {
    // Fleet of 5: the first failure alone carries W to 0.2 of the fleet.
    const auto r = summarize(failuresAt({100, 400}), 5);
    ASSERT_EQ(r.s.thresholdRows.size(), 1u);
    EXPECT_EQ(r.s.thresholdRows[0],
              (std::pair<int, QString>{0, QStringLiteral(", отказов 20% от парка")}));
    // No failure before the first: t_prev = 0, Frac(1 - 0.5) = 0.5 (1e-9: weight 1 + 1e-12).
    EXPECT_NEAR(r.v.T10, 50, 1e-9);
}

TEST(LoadSummary, Otk2000WhenDataStopEarlier) {
    const auto r = summarize(failuresAt({200, 400, 600, 800, 1000, 1200, 1400, 1600}), 100);
    EXPECT_NEAR(r.v.Otk_2000, 0.1, 1e-12); // W = 8 (each weight 1 + 1e-12)
}

TEST(LoadSummary, Otk2000FromTheFailureAt2000) {
    const auto r = summarize(failuresAt({1000, 2000, 3000}), 10);
    EXPECT_NEAR(r.v.Otk_2000, 0.2, 1e-12);
}

TEST(LoadSummary, Otk2000StaysZeroWithoutPositiveTimes) {
    const auto r = summarize(failuresAt({0, 0}), 10);
    EXPECT_EQ(r.v.Otk_2000, 0);
    EXPECT_EQ(r.v.N_Perv_Otk, -1);
    EXPECT_FALSE(r.v.Line_Defined);
    EXPECT_TRUE(r.s.line.empty());
    EXPECT_TRUE(r.s.thresholdRows.empty());
}

TEST(LoadSummary, LineOfSlopeOneFor100To1000Hours) {
    std::vector<Problems> o;
    for (int i = 1; i <= 10; ++i) o.push_back({100.0 * i, 1, {}, {}});
    const auto r = summarize(o, 1000);
    ASSERT_TRUE(r.v.Line_Defined);
    // ln(t + 1e-5) differs from ln t by 1e-7 at most, so the fit is a slope 1 line to 1e-6.
    EXPECT_NEAR(r.v.Naklon_LN, 1.0, 1e-6);
    EXPECT_NEAR(r.v.Sdvig_LN, -std::log(100.0), 1e-5);
    ASSERT_EQ(r.s.line.size(), 2u);
    EXPECT_DOUBLE_EQ(r.s.line[0].x, std::log(100.00001));
    EXPECT_DOUBLE_EQ(r.s.line[1].x, std::log(1000.00001));
    EXPECT_NEAR(r.s.line[1].y, std::log(10.0), 1e-5);
    EXPECT_EQ(r.s.line[0].rgb, 0xFF0000u);
}

TEST(LoadSummary, LineUndefinedWithFewerThanTwoDistinctPoints) {
    for (const auto& o : {failuresAt({0.5, 5}), failuresAt({50, 50, 50}), failuresAt({})}) {
        const auto r = summarize(o, 10);
        EXPECT_FALSE(r.v.Line_Defined);
        EXPECT_EQ(r.v.Naklon_LN, 0);
        EXPECT_EQ(r.v.Sdvig_LN, 0);
        EXPECT_TRUE(r.s.line.empty());
    }
}

TEST(LoadSummary, WeightIsBoundedBeyondTheWarrantyPeriod) {
    // SD 0: everyone has left warranty at the mean; the share is floored at 1e-12.
    EXPECT_EQ(censoringWeight(100, 0, 500), 1e12);
    EXPECT_EQ(censoringWeight(100, 10, 1e6), 1e12);
    EXPECT_NEAR(censoringWeight(1000, 100, 1000), 2.0, 1e-9); // Phi = 0.5 at the mean
    const auto r = summarize(failuresAt({50, 500, 900}), 10, 100, 0);
    EXPECT_TRUE(std::isfinite(r.v.Otk_2000));
    EXPECT_EQ(r.s.thresholdRows.back().first, 1);
}

TEST(LoadSummary, GridRowsThroughTheLoader) {
    test::LocaleScope comma(test::commaLocale());
    QStringList fl;
    for (int i = 1; i <= 20; ++i)
        fl << test::failure(QString::number(i * 10) + QStringLiteral(",5"),
                            QStringLiteral("насос подачи"), QStringLiteral("течь %1").arg(i));
    AnalysisState s;
    const LoadResult r = parseFailureFile(
        s,
        test::joinLines(test::dataFile({QStringLiteral("Насос")}, fl, QStringLiteral("1e9"),
                                       QStringLiteral("1"), QStringLiteral("20"))),
        QStringLiteral("f.txt"));
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(problemsGridHeader()[0], QStringLiteral(" № отказа"));
    EXPECT_EQ(problemsGridHeader()[3], QStringLiteral("Описание отказа"));
    EXPECT_EQ(problemsGridWidths(), (std::array<int, 4>{65, 85, 200, 1010}));
    const auto row = problemsGridRow(s, r.summary, 0);
    EXPECT_EQ(row[0], QStringLiteral("1"));
    EXPECT_EQ(row[1], QStringLiteral("10,5"));
    EXPECT_EQ(row[2], QStringLiteral("Насос"));
    EXPECT_EQ(row[3], QStringLiteral("течь 1"));
    EXPECT_EQ(problemsGridRow(s, r.summary, 1)[2], QStringLiteral("Насос, отказов 10% от парка"));
    EXPECT_EQ(problemsGridRow(s, r.summary, 3)[2], QStringLiteral("Насос, отказов 20% от парка"));
    EXPECT_EQ(problemsGridRow(s, r.summary, 20)[0], QString()); // outside the data
    EXPECT_EQ(s.N_Perv_Otk, 0);
    EXPECT_TRUE(s.Line_Defined);
}

} // namespace
} // namespace wf
