// Likelihood-ratio bounds of model 3: against an independent profile of the complete-data
// Weibull likelihood, against an independent maximisation at every bound, open sides where
// the data set no limit, and coverage on fleets drawn from the model.
#include "stats/mle_fit.h"
#include "stats/mle_profile.h"

#include "analysis/failure_file.h"
#include "drawn_fleets.h"
#include "files.h"
#include "fleets.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "loaded_sample.h"
#include "results/results_table.h"
#include "stats/histogram.h"
#include "stats/likelihood_yardstick.h"
#include "stats/mle_band.h"
#include "stats/model_arrays.h"
#include "stats/model_figures.h"

#include <QFile>

#include <gtest/gtest.h>
#include <nlopt.hpp>

#include <cmath>
#include <functional>
#include <string>

using namespace wf;

namespace {

using test::loaded;

// Bisection for the root of a function that changes sign between lo and hi.
double bisect(const std::function<double(double)>& f, double lo, double hi) {
    const double flo = f(lo);
    for (int i = 0; i < 200 && hi - lo > 1e-13 * std::fabs(hi); ++i) {
        const double mid = 0.5 * (lo + hi);
        ((f(mid) > 0) == (flo > 0) ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

struct Figures {
    const MleEstimate* e[7];
    MleFigure f[7];
};
Figures figuresOf(const MleResult& r) {
    using K = MleFigure::Kind;
    return {{&r.A, &r.B, &r.K, &r.gamma50, &r.gamma90, &r.perProduct2000, &r.perProduct4000},
            {{K::A, 0},
             {K::B, 0},
             {K::K, 0},
             {K::Life, 0.5},
             {K::Life, 0.1},
             {K::PerProduct, 2000},
             {K::PerProduct, 4000}}};
}

// l maximised with the figure held at g, by Nelder-Mead over (ln A, ln B) (one coordinate
// held for A and B), K from the figure or in closed form: no code of the profile search.
double independentProfile(const MleSample& d, const MleFigure& f, double g, double a0, double b0) {
    const bool oneD = f.kind == MleFigure::Kind::A || f.kind == MleFigure::Kind::B;
    auto l = [&](double a, double b) {
        const double A = std::exp(a), B = std::exp(b);
        double k;
        switch (f.kind) {
        case MleFigure::Kind::K:
            k = std::log(g);
            break;
        case MleFigure::Kind::PerProduct:
            k = std::log(g) - std::log(-std::expm1(-std::pow(f.at / B, A)));
            break;
        case MleFigure::Kind::Life:
            k = std::log(f.at) - std::log(-std::expm1(-std::pow(g / B, A)));
            break;
        default:
            k = std::log(d.n() / (d.park * flowShare(A, B, d.mean, d.sd).I));
        }
        return logLikelihood(d, a, b, k).value;
    };
    nlopt::opt opt(nlopt::LN_NELDERMEAD, oneD ? 1 : 2);
    std::function<double(const std::vector<double>&)> obj = [&](const std::vector<double>& x) {
        if (f.kind == MleFigure::Kind::A) return l(std::log(g), x[0]);
        if (f.kind == MleFigure::Kind::B) return l(x[0], std::log(g));
        return l(x[0], x[1]);
    };
    opt.set_max_objective(
        [](const std::vector<double>& x, std::vector<double>&, void* p) {
            return (*static_cast<std::function<double(const std::vector<double>&)>*>(p))(x);
        },
        &obj);
    opt.set_xtol_abs(1e-11);
    opt.set_maxeval(20000);
    std::vector<double> x = f.kind == MleFigure::Kind::A   ? std::vector<double>{b0}
                            : f.kind == MleFigure::Kind::B ? std::vector<double>{a0}
                                                           : std::vector<double>{a0, b0};
    opt.set_initial_step(0.05);
    double best = 0;
    opt.optimize(x, best);
    return best;
}

} // namespace

TEST(MleProfile, ChiSquareQuantilesArePublishedValues) {
    // Tables of the chi-square distribution, to the digits they give.
    EXPECT_NEAR(chiSquareQuantile(0.95, 1), 3.841458821, 1e-9);
    EXPECT_NEAR(chiSquareQuantile(0.95, 3), 7.814727903, 1e-9);
    EXPECT_NEAR(chiSquareQuantile(0.90, 3), 6.251388631, 1e-9);
    EXPECT_NEAR(chiSquareQuantile(0.99, 3), 11.34486673, 1e-8);
    EXPECT_NEAR(chiSquareQuantile(0.95, 2), 5.991464547, 1e-9);
}

TEST(MleProfile, BallBearingsMatchTheCompleteDataWeibullProfile) {
    // Every bearing failed long before its exit: l is the Weibull likelihood of the flow
    // from 1 h on (earlier failures would be defects found before use), each failure's
    // density divided by 1 - F(1).
    const AnalysisState s = loaded("ball_bearings.txt");
    const MleResult r = fitMle(s, MleSettings{});
    ASSERT_TRUE(r.end.done());
    std::vector<double> t;
    for (const Problems& p : s.Otkazy) t.push_back(p.time);
    const double n = static_cast<double>(t.size());
    // With u = (1 / B)^A, l = sum [ln(A / B) + (A - 1) ln(t / B) - (t / B)^A] + n u.
    auto weibull = [&](double A, double B) {
        double v = n * std::pow(1 / B, A);
        for (double x : t) v += std::log(A / B) + (A - 1) * std::log(x / B) - std::pow(x / B, A);
        return v;
    };
    // At fixed A, d l / dB = 0 gives B^A = (sum t^A - n) / n.
    auto scaleFor = [&](double A) {
        double m = 0;
        for (double x : t) m += std::pow(x, A);
        return std::pow((m - n) / n, 1 / A);
    };
    auto shapeFor = [&](double B) { // d l / dA = 0 at fixed B, by bisection
        auto slope = [&](double A) {
            double v = -n * std::log(B) * std::pow(1 / B, A);
            for (double x : t) v += 1 / A + std::log(x / B) * (1 - std::pow(x / B, A));
            return v;
        };
        return bisect(slope, 0.2, 20);
    };
    const double top = weibull(r.A.value, r.B.value), q = 3.841458820694124;
    EXPECT_NEAR(r.A.value, bisect([&](double A) { return scaleFor(A) - r.B.value; }, 1, 4), 1e-7);
    auto inA = [&](double A) { return 2 * (top - weibull(A, scaleFor(A))) - q; };
    auto inB = [&](double B) { return 2 * (top - weibull(shapeFor(B), B)) - q; };
    EXPECT_NEAR(r.A.bounds.lo, bisect(inA, 0.5, r.A.value), 1e-6 * r.A.value);
    EXPECT_NEAR(r.A.bounds.hi, bisect(inA, r.A.value, 10), 1e-6 * r.A.value);
    EXPECT_NEAR(r.B.bounds.lo, bisect(inB, 20, r.B.value), 1e-6 * r.B.value);
    EXPECT_NEAR(r.B.bounds.hi, bisect(inB, r.B.value, 500), 1e-6 * r.B.value);
}

TEST(MleProfile, EveryFiniteBoundSitsAtTheThreshold) {
    // On the sample fleet and on one whose warranty ends before most of the flow, the
    // deficit at each finite bound, from a maximisation of the tests' own, is the threshold.
    AnalysisState early =
        test::fleetWithFailures(test::modelFailureTimes(1.3, 4000, 3, 1000, 1500, 400), 1000);
    early.Sred_Gar = 1500;
    early.SKO_Gar = 400;
    for (const AnalysisState& s : {loaded("sample_fleet.txt"), early}) {
        const MleResult r = fitMle(s, MleSettings{});
        ASSERT_TRUE(r.end.done());
        const MleSample d = mleSample(s);
        const double q = chiSquareQuantile(0.95, 1);
        const Figures all = figuresOf(r);
        for (int j = 0; j < 7; ++j) {
            const ConfidenceBounds& b = all.e[j]->bounds;
            ASSERT_TRUE(b.defined) << j;
            EXPECT_TRUE(b.loOpen || b.lo < all.e[j]->value) << j;
            EXPECT_TRUE(b.hiOpen || b.hi > all.e[j]->value) << j;
            for (double g : {b.lo, b.hi}) {
                if (!(g > 0) || !std::isfinite(g)) continue;
                const double p =
                    independentProfile(d, all.f[j], g, std::log(r.A.value), std::log(r.B.value));
                // Nelder-Mead ends within 1e-11 of the maximum in ln A, ln B: l to 1e-9.
                EXPECT_NEAR(2 * (r.logLikelihood - p), q, 1e-6) << j << " at " << g;
            }
        }
    }
}

TEST(MleProfile, OpenSidesWhereTheDataSetNoLimit) {
    // The warranty ends at a quarter of the flow: only a lower limit follows for K, and the
    // log says why; the failures per product within the warranty stay bounded both ways.
    AnalysisState early =
        test::fleetWithFailures(test::modelFailureTimes(1.3, 4000, 3, 1000, 1500, 400), 1000);
    early.Sred_Gar = 1500;
    early.SKO_Gar = 400;
    MleResult r = fitMle(early, MleSettings{});
    ASSERT_TRUE(r.end.done());
    EXPECT_TRUE(r.K.bounds.hiOpen);
    EXPECT_FALSE(r.K.bounds.loOpen);
    EXPECT_LT(r.K.bounds.lo, 3);
    EXPECT_TRUE(r.message.contains(
        msg::mleOnlyLowerOnRidge(QStringLiteral("K"), fmt::fixed(r.K.bounds.lo, 0, 3))));
    EXPECT_FALSE(r.perProduct2000.bounds.loOpen || r.perProduct2000.bounds.hiOpen);
    EXPECT_EQ(boundsText(r.K.bounds, 3),
              QStringLiteral("[") + fmt::fixed(r.K.bounds.lo, 0, 3) + QStringLiteral(" … ∞)"));

    // The estimate runs up the ridge to K's search limit: the figures the data determine
    // still get two-sided bounds, and the log names the parameter.
    std::vector<double> times;
    for (int i = 1; i <= 60; ++i) times.push_back(100 * std::log(1 + i * (std::exp(5.0) - 1) / 60));
    AnalysisState ridge = test::fleetWithFailures(times, 100);
    ridge.Sred_Gar = 500;
    ridge.SKO_Gar = 0;
    r = fitMle(ridge, MleSettings{});
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(r.K.value, domain::kMleK.hi);
    EXPECT_TRUE(r.message.startsWith(msg::mleEstimateOnLimit(QStringLiteral("K"))));
    EXPECT_TRUE(r.K.bounds.hiOpen);
    for (const MleEstimate* e : {&r.A, &r.gamma50, &r.gamma90}) {
        EXPECT_TRUE(e->bounds.defined && !e->bounds.loOpen && !e->bounds.hiOpen);
        EXPECT_LT(e->bounds.lo, e->value);
        EXPECT_GT(e->bounds.hi, e->value);
    }

    // A fleet whose failures per product stay far below 0.5: "Гамма 50%" is not reached.
    AnalysisState few =
        test::fleetWithFailures(test::modelFailureTimes(1.5, 1500, 0.05, 2000, 6000, 800), 2000);
    few.Sred_Gar = 6000;
    few.SKO_Gar = 800;
    r = fitMle(few, MleSettings{});
    ASSERT_TRUE(r.end.done());
    EXPECT_TRUE(r.gamma50.bounds.unreached);
    EXPECT_EQ(boundsText(r.gamma50.bounds, 0), msg::lifeUnreached);
}

TEST(MleProfile, CoverageAndBiasOnFleetsDrawnFromTheModel) {
    struct Regime {
        const char* name;
        double A, B, K;
        int park;
        double mean, sd;
    };
    const Regime regimes[] = {
        {"ordinary", 1.5, 1500, 2, 300, 2000, 500},     // exit after ~80 % of the flow
        {"early_exit", 1.3, 4000, 3, 300, 1500, 400},   // exit after ~20 % of the flow
        {"early_life", 0.7, 1500, 1, 500, 3000, 600},   // shape below 1, exit after ~80 %
        {"small_wearing", 2.5, 1500, 1, 150, 2000, 500} // 150 products
    };
    // 200 fleets a regime. A method that covers 95 % misses Binomial(200, 0.05) times: mean
    // 10, SD 3.08; 20 misses (coverage 90 %) lie 3.2 SD above, which a right method exceeds
    // with probability below 0.1 % for one figure (about 2 % over all 28). One that covers
    // only 85 % misses 30 +- 5 times and passes with probability about 2 %.
    const int fleets = 200, allowed = 20;
    test::Draws d{std::mt19937_64(7001)};
    for (const Regime& g : regimes) {
        const double truth[7] = {g.A,
                                 g.B,
                                 g.K,
                                 gammaLife(g.A, g.B, g.K, 0.5),
                                 gammaLife(g.A, g.B, g.K, 0.1),
                                 failuresPerProduct(g.A, g.B, g.K, 2000),
                                 failuresPerProduct(g.A, g.B, g.K, 4000)};
        int misses[7] = {};
        double sumLogA = 0, sumLogA2 = 0;
        for (int i = 0; i < fleets; ++i) {
            const MleResult r =
                fitMle(test::drawnFleet(g.A, g.B, g.K, g.park, g.mean, g.sd, d), MleSettings{});
            ASSERT_TRUE(r.end.done());
            const Figures all = figuresOf(r);
            for (int j = 0; j < 7; ++j) {
                const ConfidenceBounds& b = all.e[j]->bounds;
                ASSERT_TRUE(b.defined) << g.name << " " << j; // no fleet without a bound
                const bool in = (b.loOpen || b.lo <= truth[j]) && (b.hiOpen || truth[j] <= b.hi) &&
                                !b.unreached;
                misses[j] += in ? 0 : 1;
            }
            sumLogA += std::log(r.A.value / g.A);
            sumLogA2 += std::log(r.A.value / g.A) * std::log(r.A.value / g.A);
        }
        for (int j = 0; j < 7; ++j) {
            EXPECT_LE(misses[j], allowed) << g.name << " figure " << j;
            RecordProperty(std::string(g.name) + "_misses_" + std::to_string(j), misses[j]);
        }
        // The shape's estimate is consistent: its mean log error lies within 3 standard
        // errors of the mean plus the small-sample bias of a Weibull shape (about 1.4 / n
        // relative for n failures; n is at least 100 in every regime here), so 3 SE + 2 %.
        const double mean = sumLogA / fleets;
        const double se = std::sqrt((sumLogA2 / fleets - mean * mean) / (fleets - 1));
        EXPECT_LT(std::fabs(mean), 3 * se + 0.02) << g.name;
        RecordProperty(std::string(g.name) + "_shape_bias", std::to_string(mean));
    }
}

TEST(LikelihoodYardstick, ModelThreeIsTheBestAndAFarModelLiesOutside) {
    AnalysisState s = loaded("ball_bearings.txt");
    ASSERT_TRUE(Postr_Gist(s));
    ASSERT_TRUE(storeMle(s, fitMle(s, MleSettings{})));
    // Model 1.2 stands near the estimate, model 1.1 at six failures per bearing, both with
    // model 3's warranty law, so neither can beat the maximum.
    const double A = s.ModMLE.A, B = s.ModMLE.B;
    storeFittedModel(s, s.ModNewton, {A * 1.02, B, 1.0});
    storeFittedModel(s, s.ModSpir, {A, B, 5.98});
    const std::vector<const Mod_Weib*> shown = executedModels(s);
    ASSERT_EQ(shown.size(), 3u);
    const std::vector<LikelihoodStanding> st = likelihoodStandings(s, shown, 0.95);
    EXPECT_EQ(st[2].delta, 0);                                     // model 3, the maximum
    EXPECT_NEAR(st[2].value, s.ModMLE_Detail.logLikelihood, 1e-9); // the fit's own l
    EXPECT_GT(st[0].delta, 0);
    EXPECT_FALSE(st[0].outside);
    // K = 5.98 expects 138 failures where 23 were seen: l falls by about 23 ln 5.98 - 115.
    EXPECT_GT(st[1].delta, 60);
    EXPECT_TRUE(st[1].outside);

    const ResultsData r = ShowResults(s, 300);
    EXPECT_EQ(r.grid[0][12], msg::likelihoodRow);
    EXPECT_TRUE(r.grid[3][12].trimmed().endsWith(QStringLiteral("(0.00)")));
    EXPECT_EQ(r.warnings[2], QStringList{msg::outsideLikelihoodRegion(QStringLiteral("1.1"),
                                                                      QStringLiteral("95"))});
    EXPECT_TRUE(r.warnings[1].isEmpty());
}

TEST(MleBand, PointwiseBoundsMatchTheTableAndHoldTheCurve) {
    AnalysisState s = loaded("sample_fleet.txt");
    const MleResult r = fitMle(s, MleSettings{});
    ASSERT_TRUE(storeMle(s, r));
    EXPECT_TRUE(failuresPerProductBand(AnalysisState{}, {2000}, 0.95).empty());
    const std::vector<BandPoint> band = failuresPerProductBand(s, {500, 1000, 2000, 4000}, 0.95);
    ASSERT_EQ(band.size(), 4u);
    for (const BandPoint& p : band) {
        ASSERT_TRUE(p.bounds.defined && !p.bounds.loOpen && !p.bounds.hiOpen);
        EXPECT_LT(p.bounds.lo, p.value);
        EXPECT_GT(p.bounds.hi, p.value);
    }
    // The same profile as the table's figure; the band's roots stop at a deficit of 1e-3, which
    // moves a side by about 1e-4 of its distance from the value on the log scale.
    EXPECT_NEAR(band[2].bounds.lo, r.perProduct2000.bounds.lo, 1e-5 * r.perProduct2000.value);
    EXPECT_NEAR(band[3].bounds.hi, r.perProduct4000.bounds.hi, 1e-5 * r.perProduct4000.value);
    // Accumulated failures grow with time, and so do both edges of the band.
    for (std::size_t i = 1; i < band.size(); ++i) {
        EXPECT_GT(band[i].bounds.lo, band[i - 1].bounds.lo);
        EXPECT_GT(band[i].bounds.hi, band[i - 1].bounds.hi);
    }
}
