#include "stats/histogram.h"

#include "fleets.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

using namespace wf;
using wf::test::fleetWithFailures;

namespace {

std::vector<double> ends(const AnalysisState& s) {
    std::vector<double> v;
    for (const auto& h : s.Hist) v.push_back(h.time);
    return v;
}

std::vector<double> evenly(int count, double span) {
    std::vector<double> t;
    for (int i = 1; i <= count; ++i) t.push_back(span * i / count);
    return t;
}

// Every failure lands in exactly one Npr counter.
int nprTotal(const AnalysisState& s) {
    int total = 0;
    for (const auto& h : s.Hist) total += std::accumulate(h.Npr.begin(), h.Npr.end(), 0);
    return total;
}

} // namespace

TEST(Histogram, EightIntervalsWithFailuresBeforeOperationInTheFirst) {
    auto s = fleetWithFailures({0, 0.5, 150, 250, 350, 450, 550, 650, 750});
    ASSERT_TRUE(Postr_Gist(s));
    EXPECT_EQ(ends(s), (std::vector<double>{100, 200, 300, 400, 500, 600, 700, 800}));
    EXPECT_EQ(s.Hist[0].Sum, 0);
    EXPECT_EQ(s.Hist[0].Npr[0], 2);
    for (std::size_t k = 1; k < s.Hist.size(); ++k) EXPECT_EQ(s.Hist[k].Sum, 1) << k;
    EXPECT_EQ(nprTotal(s), 9);
    EXPECT_EQ(s.Shag_Nach, 100);
    EXPECT_EQ(s.Shag_Dal, 100);
}

TEST(Histogram, AFailureUpToATenthAboveAnEndBelongsToThatInterval) {
    auto near = fleetWithFailures({100.05, 150, 250, 350, 450, 550, 650, 750});
    ASSERT_TRUE(Postr_Gist(near));
    EXPECT_EQ(near.Hist[0].Sum, 1);
    EXPECT_EQ(near.Hist[1].Sum, 1);

    auto past = fleetWithFailures({100.1, 150, 250, 350, 450, 550, 650, 750});
    ASSERT_TRUE(Postr_Gist(past));
    // The first interval has no failure, so it widens to 200 and takes both.
    EXPECT_EQ(past.Hist[0].time, 200);
    EXPECT_EQ(past.Hist[0].Sum, 2);
}

TEST(Histogram, AnEmptyIntervalWidensUntilAFailureFallsIn) {
    auto s = fleetWithFailures({10, 150, 250, 350, 450, 550, 650, 1200, 1210});
    ASSERT_TRUE(Postr_Gist(s));
    EXPECT_EQ(ends(s), (std::vector<double>{100, 200, 300, 400, 500, 600, 700, 1200, 1300}));
    EXPECT_EQ(s.Hist[7].Sum, 1);
    EXPECT_EQ(s.Hist[8].Sum, 1);
}

// Many failures in few intervals halve the first step; too many intervals double the later.
TEST(Histogram, StepsFollowHowTheFailuresSpread) {
    struct Case {
        int failures;
        double last;
        int first, later;
        std::size_t intervals;
        double tenthEnd;
    };
    for (const Case& c : {Case{80, 900, 50, 100, 14, 500}, Case{300, 6000, 100, 200, 35, 1000}}) {
        auto s = fleetWithFailures(evenly(c.failures, c.last));
        ASSERT_TRUE(Postr_Gist(s));
        EXPECT_EQ(s.Shag_Nach, c.first);
        EXPECT_EQ(s.Shag_Dal, c.later);
        ASSERT_EQ(s.Hist.size(), c.intervals);
        EXPECT_EQ(s.Hist[9].time, c.tenthEnd);
        EXPECT_EQ(s.Hist.back().time, c.last);
        int sum = 0;
        for (const auto& h : s.Hist) sum += h.Sum;
        EXPECT_EQ(sum, c.failures);
        EXPECT_EQ(nprTotal(s), c.failures);
    }
}

TEST(Histogram, SevenFailuresGiveSevenIntervalsAtOnce) {
    auto s = fleetWithFailures({100, 200, 300, 400, 500, 600, 700});
    ASSERT_TRUE(Postr_Gist(s));
    EXPECT_EQ(ends(s), (std::vector<double>{100, 200, 300, 400, 500, 600, 700}));
    EXPECT_EQ(s.Shag_Nach, 100);
}

TEST(Histogram, ALastFailureJustAboveAnEndLeavesAnEmptyLastInterval) {
    auto s = fleetWithFailures({100, 200, 300, 400, 500, 600.05});
    ASSERT_TRUE(Postr_Gist(s));
    EXPECT_EQ(ends(s), (std::vector<double>{100, 200, 300, 400, 500, 600, 700}));
    EXPECT_EQ(s.Hist[5].Sum, 1);
    EXPECT_EQ(s.Hist[6].Sum, 0);
}

TEST(Histogram, FewFailuresStopHalvingAtTheLowerLimit) {
    // Regression: 0, 1 and 5 failures could never give 7 intervals and halved the first step
    // down to 0, which never ends. The halving stops at 1 h and keeps that pass.
    for (const auto& times : {std::vector<double>{350}, std::vector<double>{0.5},
                              std::vector<double>{10, 20, 30, 40, 50}}) {
        auto s = fleetWithFailures(times);
        ASSERT_TRUE(Postr_Gist(s));
        EXPECT_EQ(s.Shag_Nach, kMinShagNach);
        EXPECT_FALSE(s.Hist.empty());
        EXPECT_GE(s.Hist.back().time, times.back());
        EXPECT_EQ(nprTotal(s), static_cast<int>(times.size()));
    }
    // A single failure at 350 h: the 1 h pass is one interval widened to 350.
    auto one = fleetWithFailures({350});
    ASSERT_TRUE(Postr_Gist(one));
    ASSERT_EQ(one.Hist.size(), 1u);
    EXPECT_EQ(one.Hist[0].time, 350);
}

TEST(Histogram, NoFailuresOrUnusableTimesLeaveItEmpty) {
    auto none = fleetWithFailures({});
    none.Hist.resize(3);
    EXPECT_FALSE(Postr_Gist(none));
    EXPECT_TRUE(none.Hist.empty());

    auto huge = fleetWithFailures({100, 1e13});
    EXPECT_FALSE(Postr_Gist(huge));
    EXPECT_TRUE(huge.Hist.empty());
    auto nan = fleetWithFailures({100, std::nan("")});
    EXPECT_FALSE(Postr_Gist(nan));
}

TEST(Histogram, FarApartFailuresBuildQuicklyAndKeepInvariants) {
    // Long empty stretches are jumped over, not walked hour by hour.
    std::vector<double> t = evenly(60, 3000);
    t.push_back(5e9);
    auto s = fleetWithFailures(t);
    ASSERT_TRUE(Postr_Gist(s));
    EXPECT_LE(s.Hist.size(), 41u);
    EXPECT_GE(s.Hist.back().time, 5e9);
    for (std::size_t k = 1; k < s.Hist.size(); ++k) EXPECT_LT(s.Hist[k - 1].time, s.Hist[k].time);
    EXPECT_EQ(nprTotal(s), 61);
}

TEST(Histogram, JumpingOverEmptyStepsMatchesStepByStepWidening) {
    // A straightforward widening, one step at a time, as the reference.
    auto stepwise = [](const std::vector<double>& times, int nach, int dal) {
        std::vector<double> out;
        double T = 0;
        std::size_t i = 0, p = 0;
        const double last = times.back();
        for (int k = 0;; ++k) {
            do {
                T += k < 10 ? nach : dal;
                while (i < times.size() && times[i] < T + 0.1) ++i;
            } while (!(i > p || T >= last));
            out.push_back(T);
            p = i;
            if (!(T < last)) break;
        }
        return out;
    };
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 20000);
    for (int round = 0; round < 50; ++round) {
        std::vector<double> t(8 + round % 30);
        for (auto& x : t) x = std::round(u(rng) * 100) / 100;
        std::sort(t.begin(), t.end());
        auto s = fleetWithFailures(t);
        ASSERT_TRUE(Postr_Gist(s));
        EXPECT_EQ(ends(s), stepwise(t, s.Shag_Nach, s.Shag_Dal)) << round;
    }
}

TEST(Histogram, CausesOutsideTheTableCountAsOther) {
    auto s = fleetWithFailures({100, 200, 300, 400, 500, 600, 700});
    s.Otkazy[2].chey = 99;
    ASSERT_TRUE(Postr_Gist(s));
    EXPECT_EQ(s.Hist[2].Npr[1], 1);
}
