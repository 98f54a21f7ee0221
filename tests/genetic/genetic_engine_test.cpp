#include "genetic/genetic_engine.h"

#include "analysis/failure_file.h"
#include "files.h"
#include "fleet_files.h"
#include "fleets.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "genetic/encoding.h"
#include "genetic/genetic_polish.h"
#include "optimizer/fit.h"
#include "stats/histogram.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace wf {
namespace {

// Records everything the search reports; `onGeneration` runs at every update of the generations
// shown (once per generation) with the number of generations seen so far.
class RecordingHost : public BasicGeneticHost {
public:
    std::vector<std::pair<int, int>> sliderMoves;
    std::vector<int> progressValues;
    int generationsSeen = 0;
    std::function<void(int)> onGeneration;

    void setSliders(int c, int m) override {
        sliderMoves.emplace_back(c, m);
        BasicGeneticHost::setSliders(c, m);
    }
    void progress(int p) override {
        progressValues.push_back(p);
        BasicGeneticHost::progress(p);
    }
    void showGenerations(long long shown) override {
        BasicGeneticHost::showGenerations(shown);
        ++generationsSeen;
        if (onGeneration) onGeneration(generationsSeen);
    }
    int count(const QString& line) const { return static_cast<int>(lines.count(line)); }
};

AnalysisState prepared(bool sred = false, bool sko = false, long double accuracy = 1e-7L) {
    AnalysisState s = test::fleetOf();
    s.Podbor_Sred = sred;
    s.Podbor_SKO = sko;
    s.Kol_Genov = geneCount(sred, sko);
    s.Tochnost = accuracy;
    s.Gen_Shag = geneSteps(accuracy, s.Kol_Genov);
    s.ModGen.resizeArrays(s.Hist.size());
    return s;
}

struct SearchRun {
    GeneticOutcome out;
    RecordingHost host;
};

// The documented search alone unless `polish` asks for the local refinement after it.
void runSeeded(SearchRun& r, const AnalysisState& s, int population, int generations,
               std::uint64_t seed, int threads = 1, bool polish = false) {
    const GeneticSettings set{.SizePopulation = population,
                              .Kol_Pokol = generations,
                              .seed = seed,
                              .threads = threads,
                              .polish = polish};
    r.out = runGeneticSearch(s, set, r.host);
}

TEST(GeneticRun, FirstGenerationAtTheDefaults) {
    const AnalysisState s = prepared();
    SearchRun r;
    runSeeded(r, s, 3000, 1, 1);
    ASSERT_TRUE(r.out.ranGenerations);
    EXPECT_NE(r.out.end.how, Termination::Failed);
    EXPECT_EQ(r.out.generations, 1);
    // 3000 created, one for the best line, 1634 pairs of children, 446 mutants.
    EXPECT_EQ(r.out.evaluations, 3000 + 1 + 2 * 1634 + 446);
    EXPECT_TRUE(r.host.sliderMoves.empty()); // both values came from the sliders
    ASSERT_GE(r.host.lines.size(), 2);
    EXPECT_EQ(r.host.lines[0], QStringLiteral("Создано генов 3"));
    EXPECT_TRUE(r.host.lines[1].startsWith(QStringLiteral(" ЦФ=")));
    EXPECT_EQ(r.host.generationsShown, 1); // one snapshot, N = 1
    EXPECT_EQ(r.host.progressValues, std::vector<int>{100});
}

TEST(GeneticRun, SecondGenerationMovesTheSliders) {
    const AnalysisState s = prepared();
    SearchRun r;
    r.host.onGeneration = [&](int n) {
        if (n == 2) r.host.stopRequest = true;
    };
    runSeeded(r, s, 50, 1500, 2);
    EXPECT_EQ(r.out.generations, 2);
    EXPECT_EQ(r.out.end.how, Termination::Cancelled);
    ASSERT_EQ(r.host.sliderMoves.size(), 1u);
    EXPECT_EQ(r.host.sliderMoves[0], std::make_pair(23, 0));
    EXPECT_EQ(r.host.crossover, 23);
    EXPECT_EQ(r.host.mutation, 0);
}

TEST(GeneticRun, HandMovedSliderSetsOneGeneration) {
    const AnalysisState s = prepared();
    SearchRun r;
    r.host.onGeneration = [&](int n) {
        if (n == 3) r.host.crossover = 80; // moved by hand during generation 4
        if (n == 5) r.host.stopRequest = true;
    };
    runSeeded(r, s, 30, 1500, 2);
    // Generations 3 and 4 follow the schedule; 5 takes 80 / 101 for crossover, and the
    // slider is passed back where it stood; 6 is on the schedule again.
    ASSERT_EQ(r.host.sliderMoves.size(), 4u);
    EXPECT_EQ(r.host.sliderMoves[2].first, 80);
    EXPECT_EQ(r.host.sliderMoves[2].second, r.host.sliderMoves[1].second);
    EXPECT_EQ(r.host.sliderMoves[3].first, 23); // 0.275 * sin(1 - 48 / 1500) * 101
}

TEST(GeneticRun, StopEndsAfterTheCurrentGeneration) {
    const AnalysisState s = prepared();
    SearchRun r;
    r.host.onGeneration = [&](int n) {
        if (n == 3) r.host.stopRequest = true;
    };
    runSeeded(r, s, 40, 1500, 3);
    EXPECT_TRUE(r.out.ranGenerations); // the end steps still run
    EXPECT_EQ(r.out.end.how, Termination::Cancelled);
    EXPECT_EQ(r.out.generations, 3);
    EXPECT_EQ(r.host.generationsShown, 3);
    EXPECT_LT(r.out.Best_Celev_F, 1e306);
}

TEST(GeneticRun, StopAskedBeforeTheStartStillRunsOneGeneration) {
    const AnalysisState s = prepared();
    SearchRun r;
    r.host.stopRequest = true; // the loop looks at the flag after each generation
    runSeeded(r, s, 20, 100, 3);
    EXPECT_EQ(r.out.generations, 1);
    EXPECT_EQ(r.out.end.how, Termination::Cancelled);
}

TEST(GeneticRun, AutomaticCopyBackAndProgress) {
    const AnalysisState s = prepared();
    SearchRun r;
    runSeeded(r, s, 12, 1500, 4);
    EXPECT_NE(r.out.end.how, Termination::Failed);
    EXPECT_EQ(r.out.generations, 1499);
    EXPECT_EQ(r.host.count(msg::copyingBest), 3); // at 301, 751 and 1201
    // Snapshots since the copy-back at 1201: generations 1201..1500.
    EXPECT_EQ(r.host.generationsShown, 300);
    ASSERT_FALSE(r.host.progressValues.empty());
    int last = -1;
    for (int p : r.host.progressValues) {
        EXPECT_EQ(p % 5, 0);
        EXPECT_GT(p, last);
        last = p;
    }
    EXPECT_EQ(last, 100);
}

TEST(GeneticRun, CopyBackWithABadCountEndsSilently) {
    const AnalysisState s = prepared();
    SearchRun r;
    r.host.copyBest = std::nullopt; // "пятьдесят" typed
    runSeeded(r, s, 12, 1500, 4);
    EXPECT_NE(r.out.end.how, Termination::Failed);
    EXPECT_EQ(r.host.count(msg::copyingBest), 3);
    // Nothing was copied, so no snapshot was dropped: 2..1500 are all still there.
    EXPECT_EQ(r.host.generationsShown, 1499);
}

TEST(GeneticRun, CopyBestRequestedByTheUser) {
    const AnalysisState s = prepared();
    SearchRun r;
    r.host.copyBestRequest = true; // pressed while no run was active: cleared at the start
    r.host.onGeneration = [&](int n) {
        if (n == 5) r.host.copyBestRequest = true; // during generation 6
        if (n == 8) r.host.stopRequest = true;
    };
    runSeeded(r, s, 20, 1000, 5);
    EXPECT_EQ(r.host.count(msg::copyingBest), 1);
    // Copied at the start of generation 7, after five snapshots; three more follow.
    EXPECT_EQ(r.host.generationsShown, 3);
    EXPECT_FALSE(r.host.copyBestRequest.load());
}

TEST(GeneticRun, SeededRunRepeatsOnAnyThreadCount) {
    const AnalysisState s = prepared(true, true);
    SearchRun a, b, c;
    runSeeded(a, s, 300, 40, 42, 1);
    runSeeded(b, s, 300, 40, 42, 2);
    runSeeded(c, s, 300, 40, 42, 4);
    EXPECT_EQ(a.host.lines, b.host.lines);
    EXPECT_EQ(a.host.lines, c.host.lines);
    EXPECT_EQ(a.out.Gen_Par_Best, b.out.Gen_Par_Best);
    EXPECT_EQ(a.out.Gen_Par_Best, c.out.Gen_Par_Best);
    EXPECT_EQ(a.out.Best_Celev_F, b.out.Best_Celev_F);
    EXPECT_EQ(a.out.evaluations, b.out.evaluations);
    EXPECT_EQ(a.host.sliderMoves, b.host.sliderMoves);

    SearchRun d;
    runSeeded(d, s, 300, 40, 43, 2);
    EXPECT_NE(a.out.Gen_Par_Best, d.out.Gen_Par_Best);
}

// Children and mutants reuse their parent's Weibull values; the recorded best must still be
// exactly the objective of its decoded genes.
TEST(GeneticRun, BestValueIsTheObjectiveOfTheDecodedBest) {
    for (int flags = 0; flags < 4; ++flags) {
        const AnalysisState s = prepared(flags & 1, flags & 2);
        SearchRun r;
        runSeeded(r, s, 200, 60, 100 + flags, 2);
        ASSERT_NE(r.out.end.how, Termination::Failed);
        Mod_Weib M;
        EXPECT_EQ(Celev_Gen_Par(s, M, r.out.Gen_Par_Best), r.out.Best_Celev_F) << flags;
    }
}

TEST(GeneticRun, ReusingParentValuesChangesNothing) {
    const AnalysisState s = prepared(false, true);
    for (int threads : {1, 2}) {
        SearchRun with, without;
        runSeeded(with, s, 300, 40, 21, threads);
        GeneticSettings set;
        set.SizePopulation = 300;
        set.Kol_Pokol = 40;
        set.seed = 21;
        set.threads = threads;
        set.reuseBudgetBytes = 0;
        set.polish = false;
        without.out = runGeneticSearch(s, set, without.host);
        EXPECT_EQ(with.host.lines, without.host.lines);
        EXPECT_EQ(with.out.Gen_Par_Best, without.out.Gen_Par_Best);
        EXPECT_EQ(with.out.Best_Celev_F, without.out.Best_Celev_F);
    }
}

TEST(GeneticRun, UnseededRunsDiffer) {
    const AnalysisState s = prepared();
    GeneticSettings set;
    set.SizePopulation = 50;
    set.Kol_Pokol = 5;
    SearchRun a, b;
    a.out = runGeneticSearch(s, set, a.host);
    b.out = runGeneticSearch(s, set, b.host);
    EXPECT_NE(a.out.Gen_Par_Best, b.out.Gen_Par_Best);
}

TEST(GeneticRun, ZeroGenerationsIsAnErrorOfTheFirstGeneration) {
    AnalysisState s = prepared();
    s.Gen_Par_Best = {1000, 1.5, 0.5, 0, 0};
    SearchRun r;
    runSeeded(r, s, 20, 0, 6);
    EXPECT_TRUE(r.out.ranGenerations);
    EXPECT_EQ(r.out.end.how, Termination::Failed);
    EXPECT_EQ(r.host.count(msg::exceptionalSituation), 1);
    EXPECT_EQ(r.out.Gen_Par_Best, s.Gen_Par_Best); // what the state held before
}

TEST(GeneticRun, TinyPopulationFailsAGenerationInsteadOfOverrunning) {
    const AnalysisState s = prepared();
    SearchRun r;
    runSeeded(r, s, 5, 300, 7);
    EXPECT_EQ(r.out.end.how, Termination::Failed);
    EXPECT_EQ(r.host.lines.last(), msg::exceptionalSituation);
    EXPECT_LT(r.out.Best_Celev_F, 1e306); // the best recorded before stays
}

TEST(GeneticRun, FailedSetupRunsNoGenerations) {
    AnalysisState s = prepared();
    s.Kol_Otk_Bez_Braka = 0; // the objective cannot be evaluated
    SearchRun r;
    runSeeded(r, s, 20, 10, 8);
    EXPECT_FALSE(r.out.ranGenerations);
    EXPECT_TRUE(r.host.lines.isEmpty());

    SearchRun r2;
    runSeeded(r2, prepared(), 0, 10, 8);
    EXPECT_FALSE(r2.out.ranGenerations);

    SearchRun r3;
    runSeeded(r3, prepared(false, false, 2.0L), 20, 10, 8); // genes of no bits
    EXPECT_FALSE(r3.out.ranGenerations);
}

TEST(GeneticRun, RecoversAKnownModelRoughly) {
    const test::KnownModel m;
    const AnalysisState s = prepared();
    SearchRun r;
    runSeeded(r, s, 400, 150, 9, 2);
    ASSERT_NE(r.out.end.how, Termination::Failed);
    const auto& p = r.out.Gen_Par_Best;
    // The data are the model's own expected counts, rounded to whole failures; a short
    // search of 400 x 150 lands within a few per cent (seen: under 5 %), 15 % leaves room.
    EXPECT_NEAR(p[1], m.A, 0.15 * m.A);
    EXPECT_NEAR(p[0], m.B, 0.15 * m.B);
    EXPECT_NEAR(p[2], m.K, 0.15 * m.K);
    Mod_Weib M;
    const double atTruth = Celev_Gen(s, M, m.A, m.B, m.K, m.Sred, m.SKO);
    EXPECT_LT(r.out.Best_Celev_F, 3 * atTruth + 50);
}

// The refinement runs after the generations and draws nothing: the documented log stays as
// it was, one line longer, and the best only gets better, on every set of genes.
TEST(GeneticPolish, KeepsTheGenerationsAndNeverWorsens) {
    for (int flags = 0; flags < 4; ++flags) {
        const AnalysisState s = prepared(flags & 1, flags & 2);
        SearchRun plain, polished;
        runSeeded(plain, s, 200, 60, 30 + flags, 2, false);
        runSeeded(polished, s, 200, 60, 30 + flags, 2, true);
        ASSERT_EQ(polished.host.lines.size(), plain.host.lines.size() + 1) << flags;
        EXPECT_EQ(polished.host.lines.mid(0, plain.host.lines.size()), plain.host.lines);
        EXPECT_EQ(polished.host.lines.last(),
                  fmt::format(msg::geneticPolishFormat, {polished.out.Best_Celev_F}));
        EXPECT_LE(polished.out.Best_Celev_F, plain.out.Best_Celev_F) << flags;
        EXPECT_LT(polished.out.polishEvaluations, kPolishMaxEvaluations + 1);
        Mod_Weib M;
        EXPECT_EQ(Celev_Gen_Par(s, M, polished.out.Gen_Par_Best), polished.out.Best_Celev_F);
    }
}

// A short search plus the refinement ends where the companion optimizer's thorough global
// search does: on the published ball bearings and on a fleet with fewer failures than
// products (0.75 per product).
TEST(GeneticPolish, ReachesTheOptimizersValue) {
    test::Truth drawn;
    drawn.Park = 800;
    drawn.K = 1.5;
    const QByteArray fleets[] = {test::readSample("ball_bearings.txt"), test::makeFleetFile(drawn)};
    for (const QByteArray& bytes : fleets) {
        AnalysisState s;
        ASSERT_TRUE(parseFailureFile(s, bytes, QStringLiteral("fleet.txt")).end.done());
        ASSERT_TRUE(Postr_Gist(s));
        s.Tochnost = 1e-7L;
        s.Gen_Shag = geneSteps(s.Tochnost, s.Kol_Genov);
        const double best = optimizer::fitWeibullFlow(s).objective;
        SearchRun r;
        runSeeded(r, s, 300, 80, 5, 2, true);
        // 0.1 %: what a user can tell apart in the table; the two usually agree to 1e-6.
        EXPECT_LE(r.out.Best_Celev_F, best * 1.001 + 1e-9) << r.host.lines.last().toStdString();
    }
}

} // namespace
} // namespace wf
