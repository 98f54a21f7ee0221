// The page by cause: its rows and columns on a drawn fleet of known causes, the observed
// accumulation it draws against the model, and the expected accumulation against closed
// forms and an integration of its own.
#include "results/causes_view.h"

#include "drawn_fleets.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "stats/mle_fit.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wf;
using namespace wf::test;

namespace {

double weibullCdf(double A, double B, double t) {
    return -std::expm1(-std::pow(t / B, A));
}

} // namespace

TEST(CausesView, ExpectedAccumulationFollowsTheExitLaw) {
    const WeibullParams p{1.7, 3000, 1.4};
    const std::vector<double> t{1, 500, 2000, 3000, 6000};
    // A fixed limit at 2500 h: K (F(min(t, L)) - F(1 h)), exactly.
    const std::vector<double> fixed = thinnedAccumulation(p, 2500, 0, t);
    for (std::size_t i = 0; i < t.size(); ++i) {
        const double to = std::min(t[i], 2500.0);
        EXPECT_NEAR(fixed[i], p.K * (weibullCdf(p.A, p.B, to) - weibullCdf(p.A, p.B, 1)), 1e-12);
    }
    // A normal exit: against Simpson's rule over 0.5 h steps with the library's erfc.
    const double mean = 2500, sd = 600;
    const std::vector<double> normal = thinnedAccumulation(p, mean, sd, t);
    const auto g = [&](double u) {
        const double v = std::pow(u / p.B, p.A);
        return p.A / u * v * std::exp(-v) * 0.5 * std::erfc((u - mean) / (sd * std::sqrt(2.0)));
    };
    for (std::size_t i = 1; i < t.size(); ++i) {
        const double h = 0.5;
        const int n = static_cast<int>((t[i] - 1) / h / 2) * 2;
        const double step = (t[i] - 1) / n;
        double sum = g(1) + g(t[i]);
        for (int k = 1; k < n; ++k) sum += (k % 2 ? 4 : 2) * g(1 + k * step);
        const double want = p.K * sum * step / 3;
        EXPECT_NEAR(normal[i], want, 2e-4 * want) << t[i];
    }
    EXPECT_EQ(normal[0], 0.0);
}

TEST(CausesView, RowsColumnsAndChartOfADrawnFleet) {
    Draws draws{std::mt19937_64(11)};
    const std::vector<CauseFlow> flows{
        {"подшипник", 0.7, 800, 0.8}, {"щётки", 3, 2500, 0.6}, {"реле", 1, 4000, 0.01}};
    AnalysisState s = drawnCauseFleet(flows, 500, 3000, 500, draws);
    ASSERT_TRUE(storeMle(s, fitMle(s, MleSettings{})));
    const std::optional<CausesInput> in = causesInput(s);
    ASSERT_TRUE(in.has_value());
    const CauseFits fits = fitCauses(in->causes, {0.95, BoundsMethod::LikelihoodRatio});
    const CausesView v = causesView(*in, fits);

    // The heading, the whole fleet, then each cause as the fits order them.
    ASSERT_EQ(v.table.size(), 2 + fits.causes.size());
    EXPECT_EQ(v.table[0], msg::causesHeading);
    EXPECT_EQ(v.table[1][0], msg::causesWholeFleet);
    EXPECT_EQ(v.table[1][1], fmt::integer(in->fleet.n()));
    const int observedColumn = 6;
    for (std::size_t r = 0; r < fits.causes.size(); ++r) {
        const CauseFit& c = fits.causes[r];
        const auto& row = v.table[r + 2];
        EXPECT_EQ(row[0], c.name);
        EXPECT_EQ(row[observedColumn], fmt::fixed(c.failures / 500.0, 0, 3));
        EXPECT_EQ(row.back(), c.fitted ? causeKindText(c.kind) : QString());
    }
    EXPECT_EQ(fits.causes.back().name, QStringLiteral("реле"));
    EXPECT_EQ(v.table.back()[2], msg::causeTooFewFailures);

    // Two fitted causes: each drawn as a model and its observed failures, which end at the
    // cause's failures per product.
    ASSERT_EQ(v.chart.series.size(), 4u);
    for (std::size_t k = 0; k < 2; ++k) {
        const SeriesData& model = v.chart.series[2 * k];
        const SeriesData& seen = v.chart.series[2 * k + 1];
        EXPECT_EQ(model.id, ChartSeries::CauseFlow);
        EXPECT_EQ(seen.id, ChartSeries::CauseObserved);
        EXPECT_EQ(seen.points.back().y, fits.causes[k].failures / 500.0);
        EXPECT_NEAR(model.points.back().y, seen.points.back().y, 0.1 * seen.points.back().y);
        EXPECT_EQ(model.rgb, seen.rgb);
    }

    // Another law adds its column and the change from the current one: a longer warranty
    // sees more of every flow.
    const WhatIfRun run = runWhatIf(*in, fits, {4000, 500});
    const CausesView w = causesView(*in, fits, &run);
    ASSERT_EQ(w.table[0].size(), msg::causesHeading.size() + 2);
    EXPECT_EQ(w.table[0][10], msg::whatIfColumn(QStringLiteral("4000"), QStringLiteral("500")));
    for (std::size_t r = 1; r < 4; ++r) EXPECT_TRUE(w.table[r][11].startsWith('+')) << r;
    EXPECT_TRUE(w.table.back()[10].isEmpty());
    // The current law again changes nothing.
    const WhatIfRun same = runWhatIf(*in, fits, {3000, 500});
    EXPECT_EQ(causesView(*in, fits, &same).table[1][11], fmt::fixed(0, 0, 3));
}
