#include "stats/core/distributions.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wf;

TEST(Distributions, ErrorFunctionsFollowTheApproximation) {
    EXPECT_EQ(Erf(0), 0.0);
    EXPECT_EQ(Erf(0.3), -Erf(-0.3));
    EXPECT_EQ(Erf(10.5), 1.0);
    EXPECT_EQ(Erf(-11), -1.0);
    EXPECT_EQ(Erfc(10), 0.0);
    EXPECT_EQ(Erfc(-10), 2.0);
    EXPECT_EQ(Erfc(0.4), 1.0 - Erf(0.4));
    // The short-range and long-range formulas meet at 0.5 to within the approximation.
    EXPECT_NEAR(1.0 - Erf(0.4999999999), Erfc(0.5), 1e-8);
    EXPECT_NEAR(Erfc(1), 0.15729920705, 1e-10);
}

TEST(Distributions, NormalFloorsAndZeroSd) {
    EXPECT_EQ(Norm_Stand(0), 0.5);
    EXPECT_EQ(Norm_Raspr(2000, 500, -100000), 1e-12);
    // A zero SD is a step at the mean: nobody has left before it, everybody from it on.
    EXPECT_EQ(Norm_Raspr(2000, 0, 1999), 1e-12);
    EXPECT_EQ(Norm_Raspr(2000, 0, 2000), 1.0);
    EXPECT_EQ(Norm_Raspr(2000, -5, 3000), 1.0);
}

TEST(Distributions, WeibullValuesAndFloors) {
    EXPECT_EQ(Weib_Raspr(1.5, 1000, 0), 1e-30);
    EXPECT_EQ(Weib_Raspr(0, 1000, 500), 1e-305);
    EXPECT_DOUBLE_EQ(Weib_Raspr(1, 1000, 1000), 1 - std::exp(-1.0));
    EXPECT_EQ(Weib_Interv(1.2, 900, 0, 300), Weib_Raspr(1.2, 900, 300) - 1e-30);
    EXPECT_EQ(Weib_Interv(1.2, 900, 5, 5), 0.0);
    EXPECT_DOUBLE_EQ(Weib_Plotn(1, 1000, 0), 0.001);
    EXPECT_EQ(Weib_Plotn(2, 1000, 0), 1e-30);
    EXPECT_EQ(Weib_Plotn(0.5, 1000, 0), 1e-30); // 0 to a negative power is 0 here, not infinity
    EXPECT_EQ(Weib_Kvantil(1.3, 800, 1.2), Weib_Kvantil(1.3, 800, 0.999999));
    EXPECT_DOUBLE_EQ(Weib_Kvantil(1, 1000, 1 - std::exp(-1.0)), 1000.0);
    EXPECT_EQ(Weib_Kvantil(1, 1000, std::nan("")), 99999.0);
}

namespace {
int g_guardCalls = 0;
void countingGuard() {
    ++g_guardCalls;
}
} // namespace

TEST(Distributions, ReversedIntervalRunsTheGuard) {
    EXPECT_EQ(Weib_Interv(1, 1000, 10, 5), 1.0);
    setIntervalGuard(&countingGuard);
    EXPECT_EQ(Weib_Interv(1, 1000, 10, 5), 1.0);
    setIntervalGuard(nullptr);
    EXPECT_EQ(g_guardCalls, 1);
}
