// The maximum-likelihood model: the warranty-thinned integral against closed forms and brute
// force, derivatives against differences, published and simulated known answers.
#include "stats/mle_fit.h"

#include "analysis/failure_file.h"
#include "core/distributions.h"
#include "drawn_fleets.h"
#include "files.h"
#include "fleets.h"
#include "format/messages.h"
#include "stats/histogram.h"
#include "stats/model_figures.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

using namespace wf;

namespace {

double Phi(double x) {
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

// Closed forms of I = E[F(X); X > 0], X ~ N(m, s): for A = 1 and for A = 2 the Gaussian
// integrals of exp(-x / B) and exp(-x^2 / B^2) complete the square.
double shareA1(double B, double m, double s) {
    return Phi(m / s) - std::exp(-m / B + s * s / (2 * B * B)) * Phi(m / s - s / B);
}
double shareA2(double B, double m, double s) {
    const double v = 1 / (2 / (B * B) + 1 / (s * s)); // variance of the completed square
    const double c = v * m / (s * s);
    return Phi(m / s) - std::sqrt(v) / s * std::exp(-m * m / (2 * s * s) + c * c / (2 * v)) *
                            Phi(c / std::sqrt(v));
}

// Brute force in another variable: I = integral over u in (0, 1) of (1 - Phi((t(u) - m) / s))
// du with u = F(t), taken over q = ln(u / (1 - u)) in [-100, 40] (what lies outside is below
// e^-40 of the flow), 10-point Gauss-Legendre on 40,000 panels.
double shareBruteForce(double A, double B, double m, double s) {
    static const double x[5] = {0.1488743389816312, 0.4333953941292472, 0.6794095682990244,
                                0.8650633666889845, 0.9739065285171717};
    static const double w[5] = {0.2955242247147529, 0.2692667193099963, 0.2190863625159820,
                                0.1494513491505806, 0.0666713443086881};
    const double lo = -100, hi = 40;
    const int panels = 40000;
    const double h = (hi - lo) / panels;
    auto f = [&](double q) {
        const double t = B * std::pow(std::log1p(std::exp(q)), 1 / A); // -ln(1 - u) = ln(1 + e^q)
        const double du = std::exp(q) / ((1 + std::exp(q)) * (1 + std::exp(q)));
        return 0.5 * std::erfc((t - m) / s / std::sqrt(2.0)) * du;
    };
    double sum = 0;
    for (int i = 0; i < panels; ++i) {
        const double c = lo + (i + 0.5) * h;
        for (int j = 0; j < 5; ++j) sum += w[j] * (f(c - 0.5 * h * x[j]) + f(c + 0.5 * h * x[j]));
    }
    return sum * 0.5 * h;
}

AnalysisState ballBearings() {
    QFile f(test::samplePath(QStringLiteral("ball_bearings.txt")));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    AnalysisState s;
    EXPECT_TRUE(parseFailureFile(s, f.readAll(), f.fileName()).end.done());
    return s;
}

double relErr(double a, double b) {
    return std::fabs(a - b) / std::fabs(b);
}

} // namespace

TEST(MleShare, MatchesClosedFormsAndBruteForce) {
    struct Case {
        double A, B, m, s, want;
    };
    const Case cases[] = {
        {1, 3000, 2000, 500, shareA1(3000, 2000, 500)},
        {1, 500, 100, 1000, shareA1(500, 100, 1000)}, // the exit law reaches t = 0
        {2, 1500, 2000, 500, shareA2(1500, 2000, 500)},
        {2, 100, 2000, 1e9, shareA2(100, 2000, 1e9)},         // SD far beyond everything
        {2, 1e4, 300, 30, shareA2(1e4, 300, 30)},             // exit long before the flow: I ~ 1e-3
        {1.3, 4000, 3000, 3e-6, Weib_Raspr(1.3, 4000, 3000)}, // nearly a step
        {1.3, 4000, 3000, 0, Weib_Raspr(1.3, 4000, 3000)},    // a step
        {2.1, 82, 1e6, 1, 1.0},                               // exit far beyond the data
        {0.05, 1000, 2000, 500, shareBruteForce(0.05, 1000, 2000, 500)},
        {20, 1500, 2000, 300, shareBruteForce(20, 1500, 2000, 300)},
        {20, 5000, 1000, 100, shareBruteForce(20, 5000, 1000, 100)}, // I ~ 1e-14
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.A << " " << c.B << " " << c.m << " " << c.s);
        EXPECT_LT(relErr(warrantyShare(c.A, c.B, c.m, c.s).I, c.want), 1e-10);
    }
}

TEST(MleShare, DerivativesMatchDifferences) {
    const double pts[][4] = {{1.4, 1800, 2000, 500}, {0.7, 900, 100, 400}, {3, 5000, 3000, 0}};
    const double h = 1e-4;
    for (const auto& p : pts) {
        auto I = [&](double da, double db) {
            return warrantyShare(p[0] * std::exp(da), p[1] * std::exp(db), p[2], p[3]);
        };
        const WarrantyShare c = I(0, 0);
        const WarrantyShare a1 = I(h, 0), a0 = I(-h, 0), b1 = I(0, h), b0 = I(0, -h);
        // Central differences: truncation ~h^2 = 1e-8 of the scale of the values.
        const double tol = 1e-6 * (std::fabs(c.I) + std::fabs(c.dA) + std::fabs(c.dB));
        EXPECT_NEAR(c.dA, (a1.I - a0.I) / (2 * h), tol);
        EXPECT_NEAR(c.dB, (b1.I - b0.I) / (2 * h), tol);
        EXPECT_NEAR(c.dAA, (a1.dA - a0.dA) / (2 * h), tol);
        EXPECT_NEAR(c.dAB, (b1.dA - b0.dA) / (2 * h), tol);
        EXPECT_NEAR(c.dBB, (b1.dB - b0.dB) / (2 * h), tol);
    }
}

TEST(MleLikelihood, GradientAndHessianMatchDifferences) {
    const AnalysisState s =
        test::fleetWithFailures(test::modelFailureTimes(1.5, 1500, 3, 100, 3000, 500), 100);
    const MleSample d = mleSample(s);
    const double x[3] = {std::log(1.3), std::log(1700), std::log(2.5)};
    const LogLikelihood c = logLikelihood(d, x[0], x[1], x[2]);
    const double h = 1e-5;
    for (int i = 0; i < 3; ++i) {
        double up[3] = {x[0], x[1], x[2]}, dn[3] = {x[0], x[1], x[2]};
        up[i] += h;
        dn[i] -= h;
        const LogLikelihood u = logLikelihood(d, up[0], up[1], up[2]);
        const LogLikelihood v = logLikelihood(d, dn[0], dn[1], dn[2]);
        // l is of the order of the failure count; differences carry ~1e-16 * l / h of noise.
        EXPECT_NEAR(c.grad[i], (u.value - v.value) / (2 * h), 1e-6 * d.n());
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(c.hess[j][i], (u.grad[j] - v.grad[j]) / (2 * h), 1e-5 * d.n());
    }
}

TEST(MleFit, BallBearingsGiveTheCompleteDataEstimates) {
    const AnalysisState s = ballBearings();
    const MleResult r = fitMle(s, MleSettings{});
    ASSERT_TRUE(r.end.done());
    EXPECT_TRUE(r.converged);
    EXPECT_TRUE(r.message.isEmpty());
    // Published: shape 2.102, scale 81.88 (four significant digits), from the complete
    // data. The flow here starts at 1 h, which holds F(1) = 1e-4 of the bearings' flow and
    // moves the shape by 1e-3 and the scale by 0.015: within 0.002 and 0.03.
    EXPECT_NEAR(r.A.value, 2.102, 0.002);
    EXPECT_NEAR(r.B.value, 81.88, 0.03);
    // K = 23 / 23 of the flow from 1 h: 1 / (1 - F(1)).
    EXPECT_NEAR(r.K.value, 1 / std::exp(-std::pow(1 / r.B.value, r.A.value)), 1e-9);
    // The equations of the data from 1 h on, with u = B^-A: B^A = mean t^A - 1 and
    // sum t^A ln t / (sum t^A - 23) - 1/A = mean ln t (ln B terms cancel through the first).
    double s0 = 0, s1 = 0, sl = 0;
    for (const Problems& p : s.Otkazy) {
        s0 += std::pow(p.time, r.A.value);
        s1 += std::pow(p.time, r.A.value) * std::log(p.time);
        sl += std::log(p.time);
    }
    EXPECT_NEAR(std::pow(r.B.value, r.A.value), s0 / 23 - 1, 1e-8 * s0 / 23);
    EXPECT_NEAR(s1 / (s0 - 23) - 1 / r.A.value, sl / 23, 1e-9);
    // Gradient zero: under 1e-6 standard errors of a step (|g_j| * se_j, se_j ~ 1/sqrt(J_jj)).
    const LogLikelihood l =
        logLikelihood(mleSample(s), std::log(r.A.value), std::log(r.B.value), std::log(r.K.value));
    for (int j = 0; j < 3; ++j) {
        EXPECT_LT(std::fabs(r.gradient[j]), 1e-6 * std::sqrt(-l.hess[j][j]));
        EXPECT_NEAR(l.grad[j], r.gradient[j], 1e-12 * 23);
    }
    for (const MleEstimate* e : {&r.A, &r.B, &r.K, &r.gamma50, &r.gamma90, &r.perProduct2000}) {
        ASSERT_TRUE(e->bounds.defined);
        EXPECT_LT(e->bounds.lo, e->value);
        EXPECT_GT(e->bounds.hi, e->value);
    }
    // The derived rows are the results table's figures at the estimate.
    EXPECT_EQ(r.gamma50.value, Weib_Kvantil(r.A.value, r.B.value, 0.5 / r.K.value));
    EXPECT_EQ(r.perProduct4000.value, r.K.value * Weib_Interv(r.A.value, r.B.value, 0, 4000));
}

TEST(MleFit, BoundsHalveWhenTheFleetIsFourTimesLarger) {
    auto fit = [](double park) {
        AnalysisState s =
            test::fleetWithFailures(test::modelFailureTimes(1.5, 1500, 3, park, 3000, 500), park);
        s.Sred_Gar = 3000;
        s.SKO_Gar = 500;
        return fitMle(s, MleSettings{});
    };
    const MleResult small = fit(300), large = fit(1200);
    const double truth[3] = {1.5, 1500, 3};
    const MleEstimate* e[2][3] = {{&small.A, &small.B, &small.K}, {&large.A, &large.B, &large.K}};
    for (int j = 0; j < 3; ++j) {
        for (int f = 0; f < 2; ++f) {
            ASSERT_TRUE(e[f][j]->bounds.defined);
            EXPECT_LT(e[f][j]->bounds.lo, truth[j]);
            EXPECT_GT(e[f][j]->bounds.hi, truth[j]);
        }
        // Four times the information: log-scale widths in the ratio 1/2.
        const double ratio = std::log(e[1][j]->bounds.hi / e[1][j]->bounds.lo) /
                             std::log(e[0][j]->bounds.hi / e[0][j]->bounds.lo);
        EXPECT_NEAR(ratio, 0.5, 0.05);
    }
}

TEST(MleFit, CoverageOnFleetsDrawnFromTheModel) {
    // 50 fleets of 300 products, exit after most of the flow: about 460 recorded failures each.
    const double truth[3] = {1.5, 1500, 2};
    const int fleets = 50;
    test::Draws d{std::mt19937_64(20240612)};
    MleSettings wald;
    wald.method = BoundsMethod::Wald;
    int misses[3] = {};
    double sumLog[3] = {}, sumLog2[3] = {}, sumSe[3] = {};
    for (int f = 0; f < fleets; ++f) {
        const MleResult r = fitMle(test::drawnFleet(1.5, 1500, 2, 300, 2000, 500, d), wald);
        ASSERT_TRUE(r.end.done());
        const MleEstimate* e[3] = {&r.A, &r.B, &r.K};
        for (int j = 0; j < 3; ++j) {
            ASSERT_TRUE(e[j]->bounds.defined) << qPrintable(r.message);
            if (truth[j] < e[j]->bounds.lo || truth[j] > e[j]->bounds.hi) ++misses[j];
            const double x = std::log(e[j]->value);
            sumLog[j] += x;
            sumLog2[j] += x * x;
            sumSe[j] += std::log(e[j]->bounds.hi / e[j]->bounds.lo) / (2 * r.z);
        }
    }
    for (int j = 0; j < 3; ++j) {
        // Misses ~ Binomial(50, 0.05): mean 2.5, SD 1.54; more than 3 SD above (7) is a fault.
        EXPECT_LE(misses[j], 7) << j;
        // Bounds too wide would not miss at all: the Wald SE must match the spread of the
        // estimates, whose SD from 50 fleets is itself uncertain by 1/sqrt(98) = 10 %, 3 SD.
        const double m = sumLog[j] / fleets;
        const double spread = std::sqrt((sumLog2[j] - fleets * m * m) / (fleets - 1));
        EXPECT_NEAR(sumSe[j] / fleets / spread, 1.0, 0.3) << j;
        RecordProperty("misses_" + std::to_string(j), misses[j]);
        RecordProperty("se_to_spread_" + std::to_string(j),
                       std::to_string(sumSe[j] / fleets / spread));
    }
}

TEST(MleFit, UnseparableDataGiveUndefinedBoundsAndAMessage) {
    // A flow rising faster than any power of t, every product out of warranty at 500 h: the
    // likelihood grows as B goes to infinity with K / B^A held, until K meets its bound.
    std::vector<double> times;
    for (int i = 1; i <= 60; ++i) times.push_back(100 * std::log(1 + i * (std::exp(5.0) - 1) / 60));
    AnalysisState s = test::fleetWithFailures(times, 100);
    s.Sred_Gar = 500;
    s.SKO_Gar = 0;
    MleSettings wald;
    wald.method = BoundsMethod::Wald;
    const MleResult r = fitMle(s, wald);
    ASSERT_TRUE(r.end.done());
    EXPECT_TRUE(r.converged);
    EXPECT_EQ(r.K.value, domain::kMleK.hi);
    EXPECT_EQ(r.message, msg::mleAtSearchLimit(QStringLiteral("K")));
    for (const MleEstimate* e : {&r.A, &r.B, &r.K, &r.gamma50, &r.perProduct2000})
        EXPECT_FALSE(e->bounds.defined);
    // An information matrix of rank 2 is singular, whatever its scale.
    const Matrix3 rank2{{{4e6, 2e3, 2e6}, {2e3, 1, 1e3}, {2e6, 1e3, 1e6 + 1e-9}}};
    Matrix3 cov;
    EXPECT_FALSE(invertInformation(rank2, cov));
    const Matrix3 fine{{{4, 1, 0}, {1, 2, 0}, {0, 0, 1e-8}}};
    ASSERT_TRUE(invertInformation(fine, cov));
    EXPECT_NEAR(cov[0][0], 2.0 / 7, 1e-15);
    EXPECT_NEAR(cov[2][2], 1e8, 1e-6);
}

TEST(MleFit, RefusalsAndTheStoredRecord) {
    AnalysisState s = ballBearings();
    MleSettings bad;
    bad.confidence = 1;
    MleResult r = fitMle(s, bad);
    EXPECT_FALSE(r.end.done());
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_FALSE(storeMle(s, r));
    EXPECT_FALSE(s.ModMLE.Executed);
    EXPECT_EQ(fitMle(test::fleetWithFailures({0, 0.5}, 10), MleSettings{}).message,
              msg::noFailuresToFit);

    ASSERT_TRUE(Postr_Gist(s));
    s.T_Prirab = 50;
    r = fitMle(s, MleSettings{});
    ASSERT_TRUE(storeMle(s, r));
    const Mod_Weib& M = s.ModMLE;
    EXPECT_TRUE(M.Executed);
    EXPECT_EQ(M.A, r.A.value);
    EXPECT_EQ(M.Sred, 1e6);
    ASSERT_EQ(M.Kol_F_priv.size(), s.Hist.size());
    for (std::size_t k = 0; k < s.Hist.size(); ++k)
        EXPECT_EQ(M.Kol_F_priv[k], s.Park * M.K_powtor * M.F_Weib[k] * (1 - M.F_norm[k]));
    EXPECT_EQ(M.LamStart, Weib_Plotn(M.A, M.B, 50) * 1000 * M.K_powtor);
}

TEST(MleBounds, NormalQuantileAndFigureSlopes) {
    EXPECT_NEAR(twoSidedZ(0.95), 1.959963984540054, 1e-14);
    EXPECT_NEAR(twoSidedZ(0.9), 1.644853626951472, 1e-14);
    for (double p : {1e-12, 1e-5, 0.01, 0.3, 0.5, 0.97, 0.999999})
        EXPECT_NEAR(Phi(normalQuantile(p)), p, 1e-13 * p);
    EXPECT_TRUE(std::isnan(normalQuantile(1)));
    // Log-slopes of the derived figures against differences on the log scale.
    const double x[3] = {std::log(1.7), std::log(2500), std::log(1.4)};
    const double h = 1e-6;
    for (int i = 0; i < 3; ++i) {
        auto at = [&](double di, auto figure) {
            double y[3] = {x[0], x[1], x[2]};
            y[i] += di;
            return std::log(figure(std::exp(y[0]), std::exp(y[1]), std::exp(y[2])));
        };
        auto g50 = [](double A, double B, double K) { return gammaLife(A, B, K, 0.5); };
        auto n2000 = [](double A, double B, double K) { return failuresPerProduct(A, B, K, 2000); };
        const double d50 = (at(h, g50) - at(-h, g50)) / (2 * h);
        const double d2000 = (at(h, n2000) - at(-h, n2000)) / (2 * h);
        EXPECT_NEAR(gammaLifeLogSlope(1.7, 2500, 1.4, 0.5)[i], d50, 1e-7);
        EXPECT_NEAR(failuresPerProductLogSlope(1.7, 2500, 1.4, 2000)[i], d2000, 1e-7);
    }
}
