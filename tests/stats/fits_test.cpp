#include "core/distributions.h"
#include "stats/fits.h"

#include "core/parameter_domains.h"
#include "fleets.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "locale_guard.h"
#include "stats/fit_rules.h"
#include "stats/histogram.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace wf;
using wf::test::fleetWithFailures;

namespace {

// A searched value inside the range its search declares.
bool within(double v, const domain::Range& r) {
    return r.lo <= v && v <= r.hi;
}

// A fleet of 300 whose 835 failures follow A = 1.5, B = 1500 h, K = 3 with warranty exit at
// 3000 +- 500 h exactly (not sampled), histogram built.
AnalysisState knownFleet() {
    auto s = fleetWithFailures(test::modelFailureTimes(1.5, 1500, 3, 300, 3000, 500), 300);
    s.Sred_Gar = 3000;
    s.SKO_Gar = 500;
    EXPECT_TRUE(Postr_Gist(s));
    return s;
}

// Fewer failures than products: K starts far below every lower bound.
AnalysisState smallFleet(double park = 1000) {
    auto s = fleetWithFailures(test::modelFailureTimes(1.2, 2000, 0.2, park, 1500, 400), park);
    EXPECT_TRUE(Postr_Gist(s));
    return s;
}

bool matches(const QString& text, const QString& pattern) {
    return QRegularExpression(QStringLiteral("^") + pattern + QStringLiteral("$"))
        .match(text)
        .hasMatch();
}

} // namespace

TEST(FitRules, FactorGrowthFollowsTheSecondsPart) {
    // Model 1.1, n = 3: above 4.5 s by 1.0755 while below 5; 22.5 s is never reached in practice.
    EXPECT_EQ(rules::spiralFactor(1.00025, 4, 3), 1.00025);
    EXPECT_EQ(rules::spiralFactor(1.00025, 5, 3), 1.00025 * 1.0755);
    EXPECT_EQ(rules::spiralFactor(1.5, 9, 4), 1.5 * 1.0755); // n = 4: above 8, not above 40
    EXPECT_EQ(rules::spiralFactor(4.9, 41, 4), 4.9 * 1.0755 * 1.755);
    EXPECT_EQ(rules::spiralFactor(5, 30, 3), 5);
    // Model 1.2: above 0.35 n^2 while below 3.
    EXPECT_EQ(rules::newtonFactor(1.00025, 3, 3), 1.00025);
    EXPECT_EQ(rules::newtonFactor(1.00025, 4, 3), 1.00025 * 1.075);
    EXPECT_EQ(rules::newtonFactor(1.00025, 8, 5), 1.00025);
    EXPECT_EQ(rules::newtonFactor(1.00025, 9, 5), 1.00025 * 1.075);
    EXPECT_EQ(rules::newtonFactor(3, 50, 3), 3);
    // Model 2: above 5 s by 1.0875, above 15 s by a further 1.2875, while below 3.
    EXPECT_EQ(rules::smirnovFactor(1.0005, 5), 1.0005);
    EXPECT_EQ(rules::smirnovFactor(1.0005, 6), 1.0005 * 1.0875);
    EXPECT_EQ(rules::smirnovFactor(1.0005, 16), 1.0005 * 1.0875 * 1.2875);
    EXPECT_EQ(rules::smirnovFactor(3, 16), 3);
}

TEST(FitRules, BoundsAndStops) {
    // Model 1.2: the lower bound itself is outside for the next step, the upper one inside.
    EXPECT_FALSE(rules::newtonNextInside(1, 1, 30));
    EXPECT_TRUE(rules::newtonNextInside(30, 1, 30));
    EXPECT_TRUE(rules::newtonNextInside(1.0000001, 1, 30));
    EXPECT_TRUE(rules::smirnovNextLeaves(1.01, 1.01, 30));
    EXPECT_FALSE(rules::smirnovNextLeaves(30, 1.01, 30));
    // Model 2 runs to the tenth second even when every step is small...
    EXPECT_FALSE(rules::smirnovStops(9, 1e-9, 1e-9, 1e-9));
    EXPECT_TRUE(rules::smirnovStops(10, 1e-9, 1e-9, 1e-9));
    // ...and goes on while only the scale's step is still large.
    EXPECT_FALSE(rules::smirnovStops(12, 1e-5, 1e-8, 1e-9));
    EXPECT_TRUE(rules::smirnovStops(12, 1e-5, 1e-7, 1e-9));
    EXPECT_TRUE(rules::spiralStops(true, 0));
    EXPECT_FALSE(rules::spiralStops(false, 10));
    EXPECT_TRUE(rules::spiralStops(false, 11));
}

TEST(Fits, SpiralRecoversAKnownModel) {
    auto s = knownFleet();
    VirtualClock clock(100);
    const FitReport r = Podbor_Spiral(s, {}, clock);
    const Mod_Weib& M = s.ModSpir;
    // The histogram's midpoint censoring and whole-failure counts bias the optimum a little;
    // the spiral also ends on its tolerances a few percent short of it.
    EXPECT_NEAR(M.A, 1.5, 0.08);
    EXPECT_NEAR(M.B, 1500, 80);
    EXPECT_NEAR(M.K_powtor, 3, 0.1);
    EXPECT_TRUE(M.Executed);
    EXPECT_EQ(M.Sred, 3000);
    EXPECT_EQ(M.SKO, 500);
    EXPECT_EQ(s.Sred_Gar, 3000); // neither flag: left alone
    EXPECT_EQ(M.Kol_Nakopl, 0);
    EXPECT_EQ(M.Unsens, 0);
    EXPECT_GT(M.SKO_out, 0); // from Harakt_Modeli
    ASSERT_EQ(M.F_Weib.size(), s.Hist.size());
    EXPECT_EQ(M.F_Weib[3], Weib_Interv(M.A, M.B, s.Hist[2].time, s.Hist[3].time));
    EXPECT_EQ(M.Kol_F_priv[3], s.Park * M.K_powtor * M.F_Weib[3] * (1 - M.F_norm[3]));
    EXPECT_GT(r.evaluations, 1000);
    EXPECT_GT(r.passes, 0);
    EXPECT_TRUE(std::isfinite(r.objective));
}

TEST(Fits, NewtonAndSmirnovRecoverAKnownModel) {
    auto s = knownFleet();
    // Newton's search has the spiral's bias but ends much closer to the optimum; model 2 is
    // fitted to the accumulation itself, which the failure times follow to half a failure.
    VirtualClock newtonClock(100), smirnovClock(250);
    Podbor_Newton(s, {}, newtonClock);
    Podbor_Smirnov(s, {}, smirnovClock);
    for (const Mod_Weib* M : {&s.ModNewton, &s.ModSmirnov}) {
        EXPECT_NEAR(M->A, 1.5, 0.03);
        EXPECT_NEAR(M->B, 1500, 30);
        EXPECT_NEAR(M->K_powtor, 3, 0.05);
        EXPECT_TRUE(M->Executed);
    }
}

TEST(Fits, VirtualClockMakesFitsReproducible) {
    auto a = knownFleet();
    auto b = knownFleet();
    for (int which = 0; which < 3; ++which) {
        VirtualClock ca(300), cb(300);
        auto fit = which == 0 ? &Podbor_Spiral : which == 1 ? &Podbor_Newton : &Podbor_Smirnov;
        const FitReport ra = fit(a, {}, ca, {});
        const FitReport rb = fit(b, {}, cb, {});
        EXPECT_EQ(ra.evaluations, rb.evaluations);
        EXPECT_EQ(ra.passes, rb.passes);
        EXPECT_EQ(ra.objective, rb.objective);
        EXPECT_EQ(ra.memo, rb.memo);
    }
    for (auto [x, y] : {std::pair{&a.ModSpir, &b.ModSpir}, std::pair{&a.ModNewton, &b.ModNewton},
                        std::pair{&a.ModSmirnov, &b.ModSmirnov}}) {
        EXPECT_EQ(x->A, y->A);
        EXPECT_EQ(x->B, y->B);
        EXPECT_EQ(x->K_powtor, y->K_powtor);
        EXPECT_EQ(x->Kol_F_priv, y->Kol_F_priv);
        EXPECT_EQ(x->SKO_out, y->SKO_out);
    }
}

TEST(Fits, SpiralMemoLinesAndElapsedTime) {
    test::LocaleScope g(test::commaLocale());
    auto s = smallFleet();
    // Slow evaluations, so the elapsed time has minutes and seconds to show.
    VirtualClock clock(2000);
    const FitReport r = Podbor_Spiral(s, {}, clock);
    ASSERT_GE(r.memo.size(), 2); // then the warnings of coordinates that could not move
    const QString took = longTimeText(splitElapsed(clock.nowUs()));
    EXPECT_EQ(r.memo[0], QStringLiteral("Расчёт модели по Пирсону методом спирального спуска "
                                        "выполнен за ") +
                             took + QStringLiteral("ч/мин/с"));
    EXPECT_TRUE(matches(r.memo[1], QStringLiteral("Шаг=[ -]?\\d,\\d{9}E[-+]\\d{3}  "
                                                  "Sred=  2000,000 SKO=   500,000")))
        << r.memo[1].toStdString();
    EXPECT_EQ(s.T_Start_us, 0);
    EXPECT_EQ(s.T_Dlit_us, clock.nowUs());
    EXPECT_EQ(s.Sek, (clock.nowUs() / 1'000'000) % 60);
}

TEST(Fits, NewtonAndSmirnovMemoLines) {
    test::LocaleScope g(test::commaLocale());
    auto s = smallFleet(300);
    VirtualClock c1(100);
    const FitReport n = Podbor_Newton(s, {}, c1);
    ASSERT_EQ(n.memo.size(), 3); // the last one warns of K, whose best lies below its bound
    EXPECT_TRUE(matches(n.memo[0], QStringLiteral("Расчёт модели по Пирсону методом Ньютона "
                                                  "выполнен за 0:0\\d:\\d\\dч/мин/с")))
        << n.memo[0].toStdString();
    EXPECT_TRUE(n.memo[1].startsWith(QStringLiteral("Шаг=")));
    VirtualClock c2(500);
    const FitReport m = Podbor_Smirnov(s, {}, c2);
    ASSERT_GE(m.memo.size(), 2); // then the warnings: this fleet's K = 0.2 lies below the bound
    EXPECT_TRUE(m.memo.contains(
        QStringLiteral("Внимание: модель 2, параметр K не изменился от начального значения")));
    EXPECT_TRUE(matches(m.memo[0], QStringLiteral("Расчёт модели по Смирнову выполнен за "
                                                  "0:00:\\d\\dч/мин/с")))
        << m.memo[0].toStdString();
}

// Fewer failure lines than products (0.94 per product), as real warranty data have, from a
// model whose repeat coefficient is 2: failures / fleet lies below every fit's lower bound
// for K, so each fit starts K on its bound.
TEST(Fits, KMovesOffAStartBelowItsBound) {
    auto s = fleetWithFailures(test::modelFailureTimes(1.5, 2000, 2, 1000, 1500, 400), 1000);
    s.Sred_Gar = 1500;
    s.SKO_Gar = 400;
    ASSERT_TRUE(Postr_Gist(s));
    ASSERT_LT(s.Kol_Otk / s.Kol_All, 1.0);
    VirtualClock c1(100), c2(100), c3(500);
    Podbor_Spiral(s, {}, c1);
    Podbor_Newton(s, {}, c2);
    Podbor_Smirnov(s, {}, c3);
    for (const Mod_Weib* M : {&s.ModSpir, &s.ModNewton, &s.ModSmirnov}) {
        EXPECT_GT(M->K_powtor, 1.05); // many start steps off the bound
        EXPECT_LE(M->K_powtor, 30);
    }
    // Only the first 60 % of the Weibull life is seen, so B and K trade against each other a
    // little; the two thorough searches land within an eighth of the true 2.
    EXPECT_NEAR(s.ModNewton.K_powtor, 2, 0.25);
    EXPECT_NEAR(s.ModSmirnov.K_powtor, 2, 0.25);
    EXPECT_TRUE(s.ModNewton.Diagnostics.empty());
}

// Model 1.1's reversal may leave a coordinate one step past its bound; the stored value is
// brought back inside.
TEST(Fits, SpiralStoresItsPointInsideTheBounds) {
    auto s = fleetWithFailures(test::modelFailureTimes(1.3, 4000, 3, 1000, 1500, 400), 1000);
    s.Sred_Gar = 1500;
    s.SKO_Gar = 400;
    ASSERT_TRUE(Postr_Gist(s));
    VirtualClock clock(100);
    Podbor_Spiral(s, {}, clock);
    EXPECT_GE(s.ModSpir.K_powtor, 1.01);
    EXPECT_GE(s.ModSpir.A, 0.35);
    EXPECT_GE(s.ModSpir.B, 10);
}

// A search that cannot move is named in the log and in its record; one that moved is not.
TEST(Fits, DiagnosticsNameCoordinatesThatCouldNotSearch) {
    auto s = smallFleet(300); // K = 0.2 behind the data: its best lies below every bound
    VirtualClock c1(100);
    const FitReport n = Podbor_Newton(s, {}, c1);
    ASSERT_EQ(s.ModNewton.Diagnostics.size(), 1u);
    EXPECT_EQ(s.ModNewton.Diagnostics[0].param, QStringLiteral("K"));
    EXPECT_EQ(s.ModNewton.Diagnostics[0].kind, SearchDiagnostic::Kind::Start);
    EXPECT_EQ(s.ModNewton.K_powtor, 1.0); // started on its bound and stayed
    EXPECT_EQ(n.memo.last(), QStringLiteral("Внимание: модель 1.2, параметр K не изменился "
                                            "от начального значения"));

    // A shape of 5 lies beyond model 1.2's upper bound 3: the search pins A against it.
    auto steep = fleetWithFailures(test::modelFailureTimes(5, 1500, 3, 300, 3000, 500), 300);
    steep.Sred_Gar = 3000;
    steep.SKO_Gar = 500;
    ASSERT_TRUE(Postr_Gist(steep));
    VirtualClock c2(100);
    const FitReport b = Podbor_Newton(steep, {}, c2);
    const auto& d = steep.ModNewton.Diagnostics;
    ASSERT_FALSE(d.empty());
    const auto a = std::find_if(d.begin(), d.end(), [](auto& x) { return x.param == "A"; });
    ASSERT_NE(a, d.end());
    EXPECT_EQ(a->kind, SearchDiagnostic::Kind::Bound);
    EXPECT_NEAR(a->value, 3, 0.001);
    EXPECT_TRUE(
        b.memo.contains(QStringLiteral("Внимание: модель 1.2, параметр A на границе поиска")));

    auto known = knownFleet();
    VirtualClock c3(100);
    const FitReport k = Podbor_Newton(known, {}, c3);
    EXPECT_TRUE(known.ModNewton.Diagnostics.empty());
    EXPECT_EQ(k.memo.size(), 2);
}

// Model 1.1 searching both warranty values, model 1.2 the SD alone: each writes back what it
// searched, inside its declared range, and leaves the other value as it was.
TEST(Fits, SearchedWarrantyValuesAreWrittenBack) {
    auto both = knownFleet();
    both.Podbor_Sred = both.Podbor_SKO = true;
    auto sdOnly = knownFleet();
    sdOnly.Podbor_SKO = true;
    VirtualClock spiralClock(100), newtonClock(100);
    Podbor_Spiral(both, {}, spiralClock);
    Podbor_Newton(sdOnly, {}, newtonClock);
    EXPECT_NE(both.Sred_Gar, 3000);
    EXPECT_TRUE(within(both.Sred_Gar, domain::kSpiralSred)) << both.Sred_Gar;
    EXPECT_NE(both.SKO_Gar, 500);
    EXPECT_TRUE(within(both.SKO_Gar, domain::kSpiralSKO)) << both.SKO_Gar;
    EXPECT_EQ(both.ModSpir.Sred, both.Sred_Gar);
    EXPECT_EQ(both.ModSpir.SKO, both.SKO_Gar);
    EXPECT_EQ(both.ModSpir.F_norm[0],
              Norm_Raspr(both.Sred_Gar, both.SKO_Gar, both.Hist[0].time / 2));
    EXPECT_EQ(sdOnly.Sred_Gar, 3000);
    EXPECT_NE(sdOnly.SKO_Gar, 500);
    EXPECT_TRUE(within(sdOnly.SKO_Gar, domain::kNewtonSKO)) << sdOnly.SKO_Gar;
    EXPECT_EQ(sdOnly.ModNewton.SKO, sdOnly.SKO_Gar);
}

TEST(Fits, SmirnovIgnoresTheWarrantyFlags) {
    auto a = knownFleet();
    auto b = knownFleet();
    b.Podbor_Sred = b.Podbor_SKO = true;
    VirtualClock ca(500), cb(500);
    Podbor_Smirnov(a, {}, ca);
    Podbor_Smirnov(b, {}, cb);
    EXPECT_EQ(a.ModSmirnov.A, b.ModSmirnov.A);
    EXPECT_EQ(b.Sred_Gar, 3000);
    EXPECT_EQ(b.SKO_Gar, 500);
}

TEST(Fits, SmirnovRunsToTheTenthSecondEvenWhenConverged) {
    // Cheap evaluations of a small fleet: every step is below its tolerance long before 10 s.
    auto s = fleetWithFailures(test::modelFailureTimes(1.5, 1500, 3, 20, 3000, 500), 20);
    ASSERT_TRUE(Postr_Gist(s));
    VirtualClock clock(20);
    const FitReport r = Podbor_Smirnov(s, {}, clock);
    EXPECT_GE(clock.nowUs(), 10'000'000);
    EXPECT_GE(s.Sek, 10);
    EXPECT_GE(r.evaluations, 10'000'000 / 20);
}

TEST(Fits, SmirnovSharesArrayCoversFailuresAndIntervals) {
    // Six failures, seven intervals (the last one empty).
    auto s = fleetWithFailures({100, 200, 300, 400, 500, 600.05}, 5);
    ASSERT_TRUE(Postr_Gist(s));
    ASSERT_EQ(s.Hist.size(), 7u);
    VirtualClock clock(1000);
    Podbor_Smirnov(s, {}, clock);
    ASSERT_EQ(s.ModSmirnov.F_norm.size(), 7u);
    EXPECT_EQ(s.ModSmirnov.F_norm[6], Norm_Raspr(2000, 500, 650));
    EXPECT_EQ(s.ModSmirnov.F_Weib.size(), 7u);

    // More failures than intervals: the shares past the intervals stay per failure.
    auto many = knownFleet();
    VirtualClock c2(1000);
    Podbor_Smirnov(many, {}, c2);
    const auto n = many.Otkazy.size();
    ASSERT_EQ(many.ModSmirnov.F_norm.size(), n);
    EXPECT_EQ(many.ModSmirnov.F_norm[n - 1], Norm_Raspr(3000, 500, many.Otkazy[n - 1].time));
    for (double fw : many.ModSmirnov.F_Weib) EXPECT_GE(fw, 0);
}

TEST(Fits, FactorsOfOneOrLessAreRefusedAndChangeNothing) {
    for (double bad : {1.0, 0.999, 0.0, -2.0, std::nan("")}) {
        auto s = knownFleet();
        FitSettings set;
        set.Koef_Umen = bad;
        QString why;
        EXPECT_FALSE(set.valid(&why));
        EXPECT_TRUE(why.contains(QStringLiteral("больше 1")));
        VirtualClock clock(100);
        for (auto fit : {&Podbor_Spiral, &Podbor_Newton, &Podbor_Smirnov}) {
            const FitReport r = fit(s, set, clock, {});
            EXPECT_EQ(r.end.how, Termination::Refused);
            EXPECT_FALSE(r.end.message.isEmpty());
            EXPECT_EQ(r.evaluations, 0);
        }
        EXPECT_FALSE(s.ModSpir.Executed || s.ModNewton.Executed || s.ModSmirnov.Executed);
        EXPECT_TRUE(s.ModSpir.F_Weib.empty());
        EXPECT_EQ(clock.nowUs(), 0);
    }
}

TEST(Fits, NewtonEndsAtTheSafetyLimitWhenItsRulesNeverWould) {
    // A minute per evaluation keeps the seconds part at 0, so the factor never grows and
    // 1.00025 alone needs tens of thousands of passes: the ten-minute limit ends it.
    auto s = knownFleet();
    VirtualClock clock(60'000'000);
    const FitReport r = Podbor_Newton(s, {}, clock);
    EXPECT_EQ(r.end.how, Termination::LimitReached);
    EXPECT_LE(clock.nowUs(), kFitSafetyLimitUs + 64 * 60'000'000LL);
    EXPECT_TRUE(s.ModNewton.Executed);
    EXPECT_EQ(r.memo.last(), msg::fitSafetyStop);
}

TEST(Fits, ProgressIsThrottledAndCanCancel) {
    auto s = knownFleet();
    std::vector<Progress> seen;
    VirtualClock clock(100);
    Podbor_Spiral(s, {}, clock, [&](const Progress& p) {
        seen.push_back(p);
        return true;
    });
    ASSERT_GT(seen.size(), 10u);
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_GE(seen[i].elapsedUs - seen[i - 1].elapsedUs, 50'000);
    EXPECT_EQ(seen.front().stage, msg::stageModel11);

    // A cancelled fit leaves the record and the warranty values as they were.
    auto c = knownFleet();
    c.Podbor_Sred = c.Podbor_SKO = true;
    c.ModNewton.A = 7;
    VirtualClock c2(100);
    int calls = 0;
    const FitReport r = Podbor_Newton(c, {}, c2, [&](const Progress& p) {
        EXPECT_EQ(p.stage, msg::stageModel12);
        return ++calls < 3;
    });
    EXPECT_EQ(r.end.how, Termination::Cancelled);
    EXPECT_TRUE(r.memo.isEmpty());
    EXPECT_EQ(c.ModNewton.A, 7);
    EXPECT_FALSE(c.ModNewton.Executed);
    EXPECT_EQ(c.Sred_Gar, 3000);
    EXPECT_EQ(c.SKO_Gar, 500);
}

TEST(Fits, RelativeCriterionFitStaysFinite) {
    // Warranty exit long before the later failures: the model expects nothing there.
    auto s = fleetWithFailures(test::modelFailureTimes(1.2, 2000, 2, 200, 1500, 400), 200);
    s.Otkazy.push_back({9000, 2, {}, {}});
    s.Sred_Gar = 300;
    s.SKO_Gar = 50;
    ASSERT_TRUE(Postr_Gist(s));
    FitSettings set;
    set.criterion = 0;
    VirtualClock clock(100);
    const FitReport r = Podbor_Spiral(s, set, clock);
    EXPECT_TRUE(std::isfinite(r.objective));
    EXPECT_TRUE(std::isfinite(s.ModSpir.A));
    EXPECT_TRUE(std::isfinite(s.ModSpir.SKO_out));
}

TEST(Fits, OneIntervalHistogramStillFits) {
    auto s = fleetWithFailures({350}, 1);
    ASSERT_TRUE(Postr_Gist(s));
    ASSERT_EQ(s.Hist.size(), 1u);
    VirtualClock clock(1000);
    Podbor_Spiral(s, {}, clock);
    EXPECT_EQ(s.ModSpir.F_Weib.size(), 1u);
    EXPECT_TRUE(s.ModSpir.Executed);
    EXPECT_TRUE(std::isfinite(s.ModSpir.SKO_out)); // one failure: no division by zero
}
