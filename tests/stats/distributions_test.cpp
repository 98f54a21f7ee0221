#include "core/distributions.h"
#include "stats/interval_watch.h"

#include <gtest/gtest.h>

#include <thread>

#include <algorithm>
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

// Swept against the library's exact functions: the rational approximations are good to
// 4e-9 absolute (Erf), 2e-8 relative (Erfc, x >= 0 where it does not return 0) and 2e-9
// absolute (Norm_Raspr, at any mean and SD, floored at 1e-12).
TEST(Distributions, ApproximationsHoldTheirAccuracyAcrossTheRange) {
    double erfAbs = 0, erfcRel = 0, normAbs = 0;
    for (int i = -99990; i < 99990; i += 7) {
        const double x = i * 1e-4;
        erfAbs = std::max(erfAbs, std::fabs(Erf(x) - std::erf(x)));
        if (x >= 0) erfcRel = std::max(erfcRel, std::fabs(Erfc(x) / std::erfc(x) - 1));
        const double t = 3000 + 800 * x;
        const double exact = std::max(1e-12, 0.5 * std::erfc(-x / std::sqrt(2.0)));
        normAbs = std::max(normAbs, std::fabs(Norm_Raspr(3000, 800, t) - exact));
    }
    EXPECT_LT(erfAbs, 4e-9);
    EXPECT_LT(erfcRel, 2e-8);
    EXPECT_LT(normAbs, 2e-9);
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

TEST(Distributions, ReversedIntervalEndsTheJobWatchingIt) {
    const IntervalWatch watch;
    EXPECT_EQ(Weib_Interv(1, 1000, 5, 10), Weib_Raspr(1, 1000, 10) - Weib_Raspr(1, 1000, 5));
    EXPECT_FALSE(watch.tripped());
    EXPECT_EQ(watch.end(JobEnd{}).how, Termination::Done);
    // Met on another thread, as a pool's worker would.
    std::thread([] { EXPECT_EQ(Weib_Interv(1, 1000, 10, 5), 1.0); }).join();
    EXPECT_TRUE(watch.tripped());
    const JobEnd end = watch.end(JobEnd{});
    EXPECT_EQ(end.how, Termination::Failed);
    EXPECT_EQ(end.message, msg::intervalGuard);
    EXPECT_FALSE(IntervalWatch().tripped());
}
