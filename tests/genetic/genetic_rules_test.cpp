#include "genetic/genetic_rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wf {
namespace {

TEST(Schedule, FirstGenerationTakesTheSliders) {
    const auto c = crossoverProbability(0, 55, 2, 1500);
    EXPECT_DOUBLE_EQ(c.p, 55.0 / 101);
    EXPECT_EQ(c.slider, -1); // a value taken from the slider leaves it alone
    EXPECT_EQ(crossingPairs(3000, c.p), 1634);
    const auto m = mutationProbability(0, 15, 2, 1500);
    EXPECT_DOUBLE_EQ(m.p, 15.0 / 101);
    EXPECT_EQ(mutationCount(3000, m.p), 446);
}

TEST(Schedule, SecondGenerationFollowsTheScheduleAndMovesTheSliders) {
    const auto c = crossoverProbability(55.0 / 101, 55, 3, 1500);
    EXPECT_NEAR(c.p, 0.2290, 5e-5); // 0.275 * sin(0.984), four decimals
    EXPECT_DOUBLE_EQ(c.p, 0.275 * std::sin(0.984));
    EXPECT_EQ(c.slider, 23);
    const auto m = mutationProbability(15.0 / 101, 15, 3, 1500);
    EXPECT_NEAR(m.p, 0.000625, 1e-8); // 0.125 * |sin(-0.005)|, sin x ~ x to 1e-8 here
    EXPECT_EQ(m.slider, 0);
    EXPECT_EQ(mutationCount(3000, m.p), 2); // Round(1.875)
}

TEST(Schedule, SliderAtZeroOrOneKeepsTheSchedule) {
    EXPECT_NE(crossoverProbability(0, 0, 2, 1500).slider, -1);
    EXPECT_NE(crossoverProbability(0, 1, 2, 1500).slider, -1);
    EXPECT_EQ(crossoverProbability(0, 2, 2, 1500).slider, -1);
    // A hand-moved slider sets one generation's value; the next returns to the schedule.
    const auto moved = mutationProbability(0.0006, 40, 10, 1500);
    EXPECT_DOUBLE_EQ(moved.p, 40.0 / 101);
    EXPECT_NE(mutationProbability(moved.p, 40, 11, 1500).slider, -1);
}

TEST(Draws, CrossingPicksFromBothHalves) {
    const auto lo = crossingDraw(0, 0, 0, 3000, 72);
    EXPECT_EQ(lo.i1, 0);
    EXPECT_EQ(lo.i2, 2999);
    EXPECT_EQ(lo.cut, 1);
    const double almost1 = std::nextafter(1.0, 0.0);
    const auto hi = crossingDraw(almost1, almost1, almost1, 3000, 72);
    EXPECT_EQ(hi.i1, 1500);
    EXPECT_EQ(hi.i2, 1499);
    EXPECT_EQ(hi.cut, 71); // characters 1..71 of the first parent at most
    // Halves go to the even neighbour.
    EXPECT_EQ(crossingDraw(0.5, 0.5, 0.5, 10, 72).i1, 2);   // 2.5 -> 2
    EXPECT_EQ(crossingDraw(0.7, 0.7, 0.5, 10, 72).i1, 4);   // 3.5 -> 4
    EXPECT_EQ(crossingDraw(0.5, 0.5, 0.5, 10, 72).cut, 36); // Round(35) + 1
    EXPECT_EQ(crossingDraw(0.5, 0.5, 0.5, 1, 3).i1, 0);
    EXPECT_EQ(crossingDraw(0.5, 0.5, 0.5, 1, 3).i2, 0);
}

TEST(Draws, MutationSparesTheEightBestAndTheLast) {
    EXPECT_EQ(mutationDraw(0, 0, 72, 3000).idx, 8);
    EXPECT_EQ(mutationDraw(0, 0, 72, 3000).pos, 1);
    const double almost1 = std::nextafter(1.0, 0.0);
    EXPECT_EQ(mutationDraw(almost1, almost1, 72, 3000).idx, 2998);
    EXPECT_EQ(mutationDraw(almost1, almost1, 72, 3000).pos, 72);
    // A population of 8 can be asked for index 8, one past its end.
    EXPECT_EQ(mutationDraw(0, 0, 72, 8).idx, 8);
}

TEST(CopyBack, PointsAtTwentyFiftyAndEightyPercent) {
    std::vector<int> at;
    for (int g = 2; g <= 1500; ++g)
        if (copyBackPoint(g, 1500)) at.push_back(g);
    EXPECT_EQ(at, (std::vector<int>{300, 750, 1200}));
}

TEST(CopyBack, CountOfSnapshots) {
    EXPECT_EQ(copyBestCount(300, 50), 51);
    EXPECT_EQ(copyBestCount(30, 50), 30);
    EXPECT_EQ(copyBestCount(50, 50), 50);
    EXPECT_EQ(copyBestCount(51, 50), 51);
    EXPECT_EQ(copyBestCount(0, 50), 0);
    EXPECT_EQ(copyBestCount(10, 0), 1);
    EXPECT_EQ(copyBestCount(10, -3), 0);
}

TEST(Progress, OnlyMultiplesOfFive) {
    int last = -1;
    int moves = 0;
    for (int g = 3; g <= 1501; ++g) {
        if (const auto p = progressStep(g, 1500)) {
            EXPECT_EQ(*p % 5, 0);
            EXPECT_GE(*p, last);
            if (*p != last) ++moves;
            last = *p;
        }
    }
    EXPECT_EQ(last, 100);
    EXPECT_EQ(moves, 21);               // 0, 5, ... 100
    EXPECT_EQ(progressStep(3, 1), 100); // never past the bar's end
    EXPECT_FALSE(progressStep(7, 100).has_value());
}

} // namespace
} // namespace wf
