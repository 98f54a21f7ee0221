#include "core/interval_flow.h"

#include <gtest/gtest.h>

#include <random>

namespace wf::flow {
namespace {

// The two orders round differently for most inputs; each caller's figures depend on its
// own, so the kernel must keep them apart and keep each exactly as written.
TEST(IntervalFlow, EachOrderIsItsOwnProductAndTheyDiffer) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> u(0.001, 1);
    int differ = 0;
    for (int i = 0; i < 1000; ++i) {
        const double park = 100 + 9000 * u(rng), K = 3 * u(rng), dF = u(rng), stay = u(rng);
        const double first = expectedFailures(park, K, dF, stay, Order::ScaleFirst);
        const double last = expectedFailures(park, K, dF, stay, Order::StayFirst);
        EXPECT_EQ(first, ((park * K) * dF) * stay);
        EXPECT_EQ(last, ((stay * dF) * park) * K);
        differ += first != last;
    }
    EXPECT_GT(differ, 100);
}

TEST(IntervalFlow, ClampsOnlyWhenAskedAndReadsTheShareAtTheMiddle) {
    EXPECT_EQ(weibullStep(-1e-17, Step::AsIs), -1e-17);
    EXPECT_EQ(weibullStep(-1e-17, Step::ClampedAtZero), 0);
    EXPECT_EQ(weibullStep(0.25, Step::ClampedAtZero), 0.25);
    const Law law{1.4, 900, 2.5, 250, 80};
    const Interval f = intervalAtMiddle(law, 200, 100, 300, Step::AsIs);
    EXPECT_EQ(f.F_Weib, Weib_Interv(1.4, 900, 100, 300));
    EXPECT_EQ(f.F_norm, Norm_Raspr(250, 80, 200));
    EXPECT_EQ(f.Kol_F_priv, 200 * 2.5 * f.F_Weib * (1 - f.F_norm));
}

} // namespace
} // namespace wf::flow
