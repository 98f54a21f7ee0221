#include "core/distributions.h"
#include "stats/evaluation.h"

#include "fleets.h"
#include "format/messages.h"
#include "locale_guard.h"
#include "stats/histogram.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wf;
using wf::test::fleetWithFailures;

namespace {

Mod_Weib model(double A, double B, double K, double sred = 2000, double sko = 500) {
    Mod_Weib M;
    M.setParams({A, B, K});
    M.Sred = sred;
    M.SKO = sko;
    return M;
}

} // namespace

TEST(Evaluation, LamStartComesFromTheDensityAndZeroBurnInMeans200) {
    auto s = fleetWithFailures({100, 200, 1500});
    Mod_Weib M = model(1, 1000, 1);
    Harakt_Modeli(s, M, 300);
    // Density 1/1000 * e^-0.3 per hour, times 1000 h: e^-0.3.
    EXPECT_NEAR(M.LamStart, std::exp(-0.3), 1e-12);
    Mod_Weib M0 = M;
    Harakt_Modeli(s, M0, 0);
    Mod_Weib M200 = M;
    Harakt_Modeli(s, M200, 200);
    EXPECT_EQ(M0.LamStart, M200.LamStart);
}

TEST(Evaluation, Lam1000IsTakenAtTheLastFailureWhenThatIsEarlier) {
    Mod_Weib M = model(1.5, 900, 2);
    auto early = fleetWithFailures({100, 400, 800});
    Harakt_Modeli(early, M, 300);
    EXPECT_EQ(M.Lam1000, Weib_Plotn(1.5, 900, 800) * 1000 * 2);
    auto late = fleetWithFailures({100, 400, 1500});
    Harakt_Modeli(late, M, 300);
    EXPECT_EQ(M.Lam1000, Weib_Plotn(1.5, 900, 1000) * 1000 * 2);
}

TEST(Evaluation, SkoOutFollowsTheAccumulationAndRepeats) {
    auto s = fleetWithFailures({0, 120, 300, 310, 900}, 50);
    Mod_Weib M = model(1.2, 1500, 0.3, 800, 200);
    Harakt_Modeli(s, M, 300);
    // Written out by hand: every failure takes part, even the one at 0 h.
    double E = 0, sum = 0, tp = 0;
    for (std::size_t i = 0; i < s.Otkazy.size(); ++i) {
        const double t = s.Otkazy[i].time;
        E += 50 * 0.3 * Weib_Interv(1.2, 1500, tp, t) * (1 - Norm_Raspr(800, 200, (tp + t) / 2));
        sum += (i + 1 - E) * (i + 1 - E);
        tp = t;
    }
    EXPECT_EQ(M.SKO_out, std::sqrt(sum) / 4);
    const double first = M.SKO_out;
    Harakt_Modeli(s, M, 300);
    EXPECT_EQ(M.SKO_out, first);
}

TEST(Evaluation, OneOrNoFailureGivesFiniteFigures) {
    // One failure: no degree of freedom left; the deviation is reported undivided.
    auto one = fleetWithFailures({400}, 10);
    Mod_Weib M = model(1, 1000, 0.1);
    Harakt_Modeli(one, M, 300);
    const double E = 10 * 0.1 * Weib_Interv(1, 1000, 0, 400) * (1 - Norm_Raspr(2000, 500, 200));
    EXPECT_EQ(M.SKO_out, std::sqrt((1 - E) * (1 - E)));
    EXPECT_TRUE(std::isfinite(M.SKO_out));

    auto none = fleetWithFailures({});
    Harakt_Modeli(none, M, 300);
    EXPECT_EQ(M.SKO_out, 0);
    EXPECT_EQ(M.Lam1000, Weib_Plotn(1, 1000, 1000) * 1000 * 0.1);
}

TEST(Evaluation, ConfidenceLineUsesTheRootOfTheSumOverTheIntervalCount) {
    test::LocaleScope g(test::commaLocale());
    auto s = fleetWithFailures({100, 200, 300, 400, 500, 600, 700});
    ASSERT_TRUE(Postr_Gist(s));
    // K = 0 expects nothing, so every interval deviates by its count of 1: sqrt(7) / 7.
    Mod_Weib M = model(1, 1000, 0);
    M.SKO_out = 42;
    const QString line = Dover_Interval(s, M);
    const double v = std::sqrt(7.0) / 7;
    EXPECT_EQ(line, QStringLiteral("Доверительный 95% интервал частотной диаграммы = ") +
                        QLocale().toString(1.96 * v, 'f', 4) + QStringLiteral(",  СКО= ") +
                        QLocale().toString(v, 'f', 4));
    EXPECT_EQ(M.SKO_out, 42);
}

TEST(Evaluation, ConfidenceLineFormatForOnePointTwo) {
    test::LocaleScope g(test::commaLocale());
    // One empty interval where the model expects -1.2 failures (a negative K, only to fix
    // the deviation): q = 1.44, v = 1.2.
    auto s = fleetWithFailures({});
    s.Hist.resize(1);
    s.Hist[0].time = 100;
    Mod_Weib M = model(1, 1000, 0);
    M.K_powtor = -1.2 / (s.Park * Weib_Interv(1, 1000, 0, 100) * (1 - Norm_Raspr(2000, 500, 50)));
    EXPECT_EQ(
        Dover_Interval(s, M),
        QStringLiteral("Доверительный 95% интервал частотной диаграммы = 2,3520,  СКО= 1,2000"));
}

TEST(Evaluation, KolmogorovVerdictTexts) {
    auto s = fleetWithFailures({100, 200});
    double crt = 0;
    QString verdict;
    Krit_Kolmogorova(s, 1, 1, 1000, 2000, 500, crt, verdict);
    EXPECT_EQ(msg::kolmogorovAccepted, QStringLiteral(" <1.3581(0.05)"));
    EXPECT_EQ(msg::kolmogorovRejected, QStringLiteral(" >1.3581(0.05)"));
    // The fleet of 1000 with K = 1 expects far more than 2 failures: rejected.
    EXPECT_GT(crt, 1.3581);
    EXPECT_EQ(verdict, msg::kolmogorovRejected);
}

TEST(Evaluation, KolmogorovHalfStepOffEverywhereGivesHalfOverRootN) {
    // Exponential times with no warranty exit (far mean) so that Fm(t_i) = (i + 0.5) / n.
    const int n = 8;
    const double K = 1, park = 8;
    std::vector<double> t;
    for (int i = 0; i < n; ++i) t.push_back(-1000 * std::log(1 - (i + 0.5) / n));
    auto s = fleetWithFailures(t, park);
    s.Kol_Otk_Bez_Braka = n;
    double crt = 0;
    QString verdict;
    const double r = Krit_Kolmogorova(s, K, 1, 1000, 1e9, 1, crt, verdict);
    // Floors of 1e-12 and 1e-30 in the distribution functions shift Fm by far less than this.
    EXPECT_NEAR(crt, 0.5 / std::sqrt(n), 1e-9);
    EXPECT_EQ(r, crt);
    EXPECT_EQ(verdict, msg::kolmogorovAccepted);
}

TEST(Evaluation, KolmogorovWithoutObservedFailuresIsZero) {
    auto s = fleetWithFailures({0, 0.5});
    ASSERT_EQ(s.Kol_Otk_Bez_Braka, 0);
    double crt = -1;
    QString verdict;
    EXPECT_EQ(Krit_Kolmogorova(s, 1, 1, 1000, 2000, 500, crt, verdict), 0);
    EXPECT_EQ(crt, 0);
    EXPECT_EQ(verdict, msg::kolmogorovAccepted);
    auto none = fleetWithFailures({});
    EXPECT_EQ(Krit_Kolmogorova(none, 1, 1, 1000, 2000, 500, crt, verdict), 0);
}

TEST(Evaluation, KolmogorovSkipsFailuresAtZeroInTheComparison) {
    auto with = fleetWithFailures({0, 100, 200, 300}, 4);
    with.Kol_Otk_Bez_Braka = 3;
    double crt = 0;
    QString verdict;
    Krit_Kolmogorova(with, 0.75, 1, 300, 1e9, 1, crt, verdict);
    EXPECT_TRUE(std::isfinite(crt));
    EXPECT_GT(crt, 0);
}
