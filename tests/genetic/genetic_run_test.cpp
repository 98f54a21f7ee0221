#include "genetic/genetic_run.h"
#include "stored_model.h"

#include "core/distributions.h"
#include "fields.h"
#include "fleets.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "genetic/encoding.h"

#include <gtest/gtest.h>

namespace wf {
namespace {

QString num(double v) {
    return fmt::general(v);
}

GeneticFields defaults() {
    return test::geneticFields(
        {.path = QStringLiteral("/data/fleet.txt"), .mean = num(6000), .period = num(5000)});
}

TEST(PrepareGeneticRun, DefaultsStartARun) {
    AnalysisState s = test::fleetOf();
    s.Hist.clear();
    const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(defaults()));
    ASSERT_TRUE(p.end.done()) << p.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(p.messages.isEmpty());
    EXPECT_EQ(p.settings.SizePopulation, 3000);
    EXPECT_EQ(p.settings.Kol_Pokol, 1500);
    EXPECT_EQ(s.Kol_Pokol, 1500);
    EXPECT_EQ(s.Kol_Genov, 3);
    EXPECT_EQ(geneBits(s.Tochnost), 24);
    EXPECT_DOUBLE_EQ(s.Gen_Shag[0], 40001 * 1e-7);
    EXPECT_FALSE(s.Hist.empty()); // rebuilt
    EXPECT_EQ(s.ModGen.F_Weib.size(), s.Hist.size());
    EXPECT_EQ(s.Put_Fajla, QStringLiteral("/data/fleet.txt"));
}

TEST(PrepareGeneticRun, FlagsSetGeneCountAndGrains) {
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.fitSd = true;
    ASSERT_TRUE(prepareGeneticRun(s, readGeneticSettings(f)).end.done());
    EXPECT_TRUE(s.Podbor_SKO);
    EXPECT_FALSE(s.Podbor_Sred);
    EXPECT_EQ(s.Kol_Genov, 4);
    EXPECT_DOUBLE_EQ(s.Gen_Shag[3], 5080 * 1e-7); // the SD alone takes row 4
    f.fitMean = true;
    ASSERT_TRUE(prepareGeneticRun(s, readGeneticSettings(f)).end.done());
    EXPECT_EQ(s.Kol_Genov, 5);
    EXPECT_DOUBLE_EQ(s.Gen_Shag[4], 1030 * 1e-7);
}

TEST(PrepareGeneticRun, ConversionErrorKeepsEarlierValues) {
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.warrantyMean = num(4321);
    f.warrantySd = QStringLiteral("abc");
    const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(f));
    EXPECT_FALSE(p.end.done());
    EXPECT_EQ(p.messages, QStringList{msg::notANumber(QStringLiteral("abc"))});
    EXPECT_EQ(s.Sred_Gar, 4321);
}

TEST(PrepareGeneticRun, EmptyAccuracyStopsAfterTheFlags) {
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.fitMean = f.fitSd = true;
    f.accuracy.clear();
    const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(f));
    EXPECT_FALSE(p.end.done());
    EXPECT_EQ(p.messages, QStringList{msg::notANumber(QString())});
    EXPECT_EQ(s.Kol_Genov, 5);
}

TEST(PrepareGeneticRun, RefusesUnusableAccuracy) {
    for (double acc : {2.0, 5.0, 0.0, -1e-7, 1e-10}) {
        AnalysisState s = test::fleetOf();
        const long double before = s.Tochnost;
        GeneticFields f = defaults();
        f.accuracy = num(acc);
        const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(f));
        EXPECT_FALSE(p.end.done()) << acc;
        ASSERT_EQ(p.messages.size(), 1);
        EXPECT_TRUE(p.messages[0].contains(QStringLiteral("Точность подбора"))) << acc;
        EXPECT_EQ(s.Tochnost, before);
    }
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.accuracy = num(1.9); // one bit per gene still works
    EXPECT_TRUE(prepareGeneticRun(s, readGeneticSettings(f)).end.done());
    f.accuracy = num(4.7e-10); // 31 bits
    EXPECT_TRUE(prepareGeneticRun(s, readGeneticSettings(f)).end.done());
}

TEST(PrepareGeneticRun, RefusesPopulationAndGenerationCounts) {
    struct Case {
        QString population, generations, message;
    };
    const QList<Case> cases{
        {QStringLiteral("9"), QStringLiteral("10"),
         msg::badPopulation(QStringLiteral("9"), 10, 1000000)},
        {QStringLiteral("-3"), QStringLiteral("10"),
         msg::badPopulation(QStringLiteral("-3"), 10, 1000000)},
        {QStringLiteral("2000000"), QStringLiteral("10"),
         msg::badPopulation(QStringLiteral("2000000"), 10, 1000000)},
        {QStringLiteral("30.5"), QStringLiteral("10"), msg::notAnInteger(QStringLiteral("30.5"))},
        {QStringLiteral("100"), QStringLiteral("0"), msg::badGenerations(QStringLiteral("0"))},
        {QStringLiteral("100"), QStringLiteral("-4"), msg::badGenerations(QStringLiteral("-4"))},
        {QStringLiteral("100"), QStringLiteral("x"), msg::notAnInteger(QStringLiteral("x"))},
    };
    for (const Case& c : cases) {
        AnalysisState s = test::fleetOf();
        GeneticFields f = defaults();
        f.population = c.population;
        f.generations = c.generations;
        const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(f));
        EXPECT_FALSE(p.end.done());
        EXPECT_EQ(p.messages, QStringList{c.message}) << c.population.toStdString();
    }
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.population = QStringLiteral("10");
    f.generations = QStringLiteral("1");
    EXPECT_TRUE(prepareGeneticRun(s, readGeneticSettings(f)).end.done());
}

TEST(PrepareGeneticRun, RefusesWithoutFailures) {
    AnalysisState none = test::fleetOf();
    none.Otkazy.clear();
    GeneticPrep p = prepareGeneticRun(none, readGeneticSettings(defaults()));
    EXPECT_FALSE(p.end.done());
    EXPECT_EQ(p.messages, QStringList{msg::noFailuresLoaded});

    AnalysisState onlyDefects = test::fleetOf();
    onlyDefects.Kol_Otk_Bez_Braka = 0;
    p = prepareGeneticRun(onlyDefects, readGeneticSettings(defaults()));
    EXPECT_FALSE(p.end.done());
    EXPECT_EQ(p.messages, QStringList{msg::noFailuresToFit});

    AnalysisState notRead = test::fleetOf();
    notRead.Dannye_Gotovy = false;
    EXPECT_FALSE(prepareGeneticRun(notRead, readGeneticSettings(defaults())).end.done());

    AnalysisState noPath = test::fleetOf();
    GeneticFields f = defaults();
    f.filePath.clear();
    p = prepareGeneticRun(noPath, readGeneticSettings(f));
    EXPECT_FALSE(p.end.done());
    EXPECT_EQ(p.messages, QStringList{msg::noDataPath});
}

GeneticOutcome outcomeOf(std::array<double, 5> best) {
    GeneticOutcome o;
    o.ranGenerations = true;
    o.Gen_Par_Best = best;
    o.Best_Celev_F = 12.5;
    return o;
}

TEST(ApplyGeneticOutcome, FillsModGenAndWritesBackSearchedValues) {
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.fitMean = f.fitSd = true;
    ASSERT_TRUE(prepareGeneticRun(s, readGeneticSettings(f)).end.done());
    const QStringList lines = applyGeneticOutcome(s, outcomeOf({1600, 1.3, 0.55, 5800, 750}));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(msg::confidencePrefix));
    const Mod_Weib& M = s.ModGen;
    EXPECT_EQ(s.Sred_Gar, 5800);
    EXPECT_EQ(s.SKO_Gar, 750);
    test::expectStoredModel(M, 1.3, 1600, 0.55, 5800, 750);
    EXPECT_EQ(s.Gen_Par, s.Gen_Par_Best);
    EXPECT_EQ(s.Best_Celev_F, 12.5);
    ASSERT_EQ(M.F_Weib.size(), s.Hist.size());
    const double t0 = s.Hist[0].time;
    EXPECT_EQ(M.F_norm[0], Norm_Raspr(5800, 750, t0 / 2));
    EXPECT_EQ(M.F_Weib[0], Weib_Interv(1.3, 1600, 0, t0));
    EXPECT_EQ(M.Kol_F_priv[0], s.Park * 0.55 * M.F_Weib[0] * (1 - M.F_norm[0]));
    EXPECT_GT(M.LamStart, 0); // Harakt_Modeli ran
    EXPECT_GT(M.SKO_out, 0);
}

TEST(ApplyGeneticOutcome, OneSearchedValueGoesToItsPlace) {
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.fitSd = true;
    ASSERT_TRUE(prepareGeneticRun(s, readGeneticSettings(f)).end.done());
    applyGeneticOutcome(s, outcomeOf({1600, 1.3, 0.55, 910, 0}));
    EXPECT_EQ(s.SKO_Gar, 910);
    EXPECT_EQ(s.Sred_Gar, 6000);

    AnalysisState t = test::fleetOf();
    f = defaults();
    f.fitMean = true;
    ASSERT_TRUE(prepareGeneticRun(t, readGeneticSettings(f)).end.done());
    applyGeneticOutcome(t, outcomeOf({1600, 1.3, 0.55, 5100, 0}));
    EXPECT_EQ(t.Sred_Gar, 5100);
    EXPECT_EQ(t.SKO_Gar, 800);

    AnalysisState u = test::fleetOf();
    ASSERT_TRUE(prepareGeneticRun(u, readGeneticSettings(defaults())).end.done());
    applyGeneticOutcome(u, outcomeOf({1600, 1.3, 0.55, 5100, 99}));
    EXPECT_EQ(u.Sred_Gar, 6000);
    EXPECT_EQ(u.SKO_Gar, 800);
}

TEST(ApplyGeneticOutcome, NoBestRecordedKeepsTheWarrantyValues) {
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.fitMean = f.fitSd = true;
    ASSERT_TRUE(prepareGeneticRun(s, readGeneticSettings(f)).end.done());
    GeneticOutcome o = outcomeOf({0, 0, 0, 0, 0}); // e.g. the first generation failed
    o.Best_Celev_F = 1e306;
    o.end = JobEnd::failed(msg::exceptionalSituation);
    EXPECT_EQ(applyGeneticOutcome(s, o).size(), 1);
    EXPECT_EQ(s.Sred_Gar, 6000);
    EXPECT_EQ(s.SKO_Gar, 800);
    EXPECT_TRUE(s.ModGen.Executed); // the end steps still show what the state held
    EXPECT_EQ(s.ModGen.SKO, 800);
}

TEST(ApplyGeneticOutcome, FailedSetupChangesNothing) {
    AnalysisState s = test::fleetOf();
    ASSERT_TRUE(prepareGeneticRun(s, readGeneticSettings(defaults())).end.done());
    GeneticOutcome o = outcomeOf({1600, 1.3, 0.55, 0, 0});
    o.ranGenerations = false;
    EXPECT_TRUE(applyGeneticOutcome(s, o).isEmpty());
    EXPECT_FALSE(s.ModGen.Executed);
    EXPECT_EQ(s.Gen_Par_Best, (std::array<double, 5>{}));
}

// The whole road on a small run: prepare, search, apply.
TEST(ApplyGeneticOutcome, SmallRunEndToEnd) {
    AnalysisState s = test::fleetOf();
    GeneticFields f = defaults();
    f.population = QStringLiteral("200");
    f.generations = QStringLiteral("30");
    GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(f));
    ASSERT_TRUE(p.end.done());
    p.settings.seed = 77;
    BasicGeneticHost host;
    const GeneticOutcome o = runGeneticSearch(s, p.settings, host);
    ASSERT_TRUE(o.ranGenerations);
    const QStringList lines = applyGeneticOutcome(s, o);
    EXPECT_EQ(lines.size(), 1);
    EXPECT_EQ(s.ModGen.A, o.Gen_Par_Best[1]);
    EXPECT_EQ(host.lastProgress, 100);
    EXPECT_EQ(host.generationsShown, 6); // snapshots since the copy-back at 25
}

} // namespace
} // namespace wf
