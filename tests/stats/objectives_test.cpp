#include "core/distributions.h"
#include "fleets.h"
#include "reference_objectives.h"
#include "stats/histogram.h"
#include "stats/pearson.h"
#include "stats/smirnov.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace wf;
using wf::test::fleetWithFailures;
using wf::test::plainCelevPirson;
using wf::test::plainCelevSmirnov;

namespace {

// Failure times with repeats and a few below 1 h, as real files have them.
std::vector<double> randomTimes(std::mt19937_64& rng, int n) {
    std::uniform_real_distribution<double> u(0, 6000);
    std::vector<double> t;
    for (int i = 0; i < n; ++i) {
        const double r = u(rng);
        if (i % 17 == 0)
            t.push_back(r < 3000 ? 0 : 0.5);
        else
            t.push_back(std::round(r / 5) * 5); // coarse, so times repeat
    }
    std::sort(t.begin(), t.end());
    return t;
}

struct Params {
    double A, B, K, sred, sko;
};

Params randomParams(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> a(0.2, 4), b(5, 60000), k(-0.001, 30), m(100, 6000),
        sd(0, 1000);
    return {a(rng), b(rng), k(rng), m(rng), sd(rng)};
}

} // namespace

TEST(Objectives, FastPearsonEqualsThePlainFormulaBitForBit) {
    std::mt19937_64 rng(20261209);
    for (int fleet = 0; fleet < 12; ++fleet) {
        auto s = fleetWithFailures(randomTimes(rng, 30 + fleet * 40), 200 + fleet * 300);
        ASSERT_TRUE(Postr_Gist(s));
        for (int criterion = 0; criterion <= 2; ++criterion) {
            PearsonObjective fast(s, criterion);
            Mod_Weib a, b, c;
            a.resizeArrays(s.Hist.size());
            b.resizeArrays(s.Hist.size());
            c.resizeArrays(s.Hist.size());
            for (int i = 0; i < 200; ++i) {
                Params p = randomParams(rng);
                // Repeat the warranty law now and then, as a fit does, to use the cache.
                if (i % 3 == 0) p.sred = 2000, p.sko = 500;
                const double want = plainCelevPirson(s, a, p.A, p.B, p.K, p.sred, p.sko, criterion);
                EXPECT_EQ(fast(b, p.A, p.B, p.K, p.sred, p.sko), want);
                EXPECT_EQ(Celev_Pirson(s, c, p.A, p.B, p.K, p.sred, p.sko, criterion), want);
                EXPECT_EQ(b.F_norm, a.F_norm);
                EXPECT_EQ(b.F_Weib, a.F_Weib);
                EXPECT_EQ(b.Kol_F_priv, a.Kol_F_priv);
                EXPECT_EQ(b.Kol_Nakopl, a.Kol_Nakopl);
                EXPECT_EQ(c.Kol_F_priv, a.Kol_F_priv);
                EXPECT_EQ(c.Kol_Nakopl, a.Kol_Nakopl);
                // Trials on K alone and on the warranty law alone reuse cached values.
                p.K = p.K * 1.0001 + 1e-9;
                EXPECT_EQ(fast(b, p.A, p.B, p.K, p.sred, p.sko),
                          plainCelevPirson(s, a, p.A, p.B, p.K, p.sred, p.sko, criterion));
                p.sko += 0.125;
                EXPECT_EQ(fast(b, p.A, p.B, p.K, p.sred, p.sko),
                          plainCelevPirson(s, a, p.A, p.B, p.K, p.sred, p.sko, criterion));
                EXPECT_EQ(b.Kol_F_priv, a.Kol_F_priv);
            }
        }
    }
}

TEST(Objectives, FastSmirnovEqualsThePlainFormulaBitForBit) {
    std::mt19937_64 rng(42);
    for (int fleet = 0; fleet < 10; ++fleet) {
        auto s = fleetWithFailures(randomTimes(rng, 20 + fleet * 150), 100 + fleet * 500);
        auto& fn = s.ModSmirnov.F_norm;
        fn.resize(s.Otkazy.size());
        for (std::size_t i = 0; i < fn.size(); ++i)
            fn[i] = Norm_Raspr(1500 + fleet * 100, 300, s.Otkazy[i].time);
        SmirnovObjective fast(s, fn);
        for (int i = 0; i < 300; ++i) {
            Params p = randomParams(rng);
            const double want = plainCelevSmirnov(s, p.A, p.B, p.K);
            EXPECT_EQ(fast(p.A, p.B, p.K), want);
            // A trial on K alone reuses the distribution values of the last call.
            p.K = p.K * 1.0001 + 1e-9;
            EXPECT_EQ(fast(p.A, p.B, p.K), plainCelevSmirnov(s, p.A, p.B, p.K));
        }
    }
}

TEST(Objectives, PearsonStandardCriterionIsTheSquaredSumPlusEightTimesTheTotals) {
    auto s = fleetWithFailures({100, 200, 300, 400, 500, 600, 700}, 10);
    ASSERT_TRUE(Postr_Gist(s));
    Mod_Weib M;
    M.resizeArrays(s.Hist.size());
    const double f = Celev_Pirson(s, M, 1, 1000, 1, 2000, 500, 1);
    double acc = 0, total = 0;
    for (std::size_t k = 0; k < s.Hist.size(); ++k) {
        acc += (1 - M.Kol_F_priv[k]) * (1 - M.Kol_F_priv[k]);
        total += M.Kol_F_priv[k];
    }
    EXPECT_EQ(M.Kol_Nakopl, total);
    // Summation order differs from the objective's own; a few ulps at most.
    EXPECT_NEAR(f, acc + 8 * (7 - total) * (7 - total), 1e-12);
}

TEST(Objectives, PearsonRelativeCriterionStaysFiniteWhenTheModelExpectsNothing) {
    // Everybody left warranty long before the later intervals: 1 - F_norm is 0 there.
    auto s = fleetWithFailures({100, 200, 300, 400, 500, 600, 700, 5000, 9000}, 1000);
    ASSERT_TRUE(Postr_Gist(s));
    Mod_Weib M;
    M.resizeArrays(s.Hist.size());
    const double f = Celev_Pirson(s, M, 1, 1000, 1, 300, 10, 0);
    EXPECT_EQ(M.Kol_F_priv.back(), 0);
    EXPECT_TRUE(std::isfinite(f));
    EXPECT_GT(f, 1e199); // an observed failure where none is expected weighs heavily
}

TEST(Objectives, SmirnovLeavesOutFailuresBelowOneHourAndHasTheEndTerm) {
    // A model whose c equals the observed count at every failure: only |c - m + 1|/200 stays.
    auto s = fleetWithFailures({0, 0.5, 100, 250, 700}, 1);
    ASSERT_EQ(s.Kol_Otk_Bez_Braka, 3);
    // Shares chosen so that each step adds exactly 1: (1 - F_norm) * dW * Park * K = 1.
    const double A = 1, B = 1000, K = 10;
    auto& fn = s.ModSmirnov.F_norm;
    fn.assign(5, 0.5); // entries for the failures below 1 h are never read
    double tp = 0;
    for (int i = 2; i < 5; ++i) {
        const double t = s.Otkazy[i].time;
        fn[i] = 1 - 1 / (Weib_Interv(A, B, tp, t) * K);
        tp = t;
    }
    // Rounding of the chosen shares leaves c within a few ulps of the counts.
    EXPECT_NEAR(SmirnovObjective(s, fn)(A, B, K), 0.005, 1e-12);
    fn[0] = fn[1] = 0.123; // not read
    EXPECT_NEAR(SmirnovObjective(s, fn)(A, B, K), 0.005, 1e-12);
}

TEST(Objectives, SmirnovWithoutObservedFailuresDividesByOne) {
    auto s = fleetWithFailures({100, 200}, 10);
    s.Kol_Otk_Bez_Braka = 0;
    s.ModSmirnov.F_norm = {0.1, 0.2};
    const double f = SmirnovObjective(s, s.ModSmirnov.F_norm)(1, 1000, 1);
    EXPECT_TRUE(std::isfinite(f));
    s.Kol_Otk_Bez_Braka = 1;
    EXPECT_EQ(SmirnovObjective(s, s.ModSmirnov.F_norm)(1, 1000, 1), f);
}
