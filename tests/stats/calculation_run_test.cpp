#include "stats/calculation_run.h"

#include "calculate.h"
#include "fields.h"
#include "fleets.h"
#include "format/messages.h"
#include "stats/evaluation.h"

#include <gtest/gtest.h>

using namespace wf;

namespace {

AnalysisState loadedFleet() {
    auto s = test::fleetWithFailures(test::modelFailureTimes(1.5, 1500, 3, 100, 3000, 500), 100);
    s.Put_Fajla.clear();
    return s;
}

CalcFields fields() {
    return test::calcFields(
        {.path = QStringLiteral("/data/fleet.txt"), .sd = QStringLiteral("500")},
        {.factor = QStringLiteral("1.00025"), .smirnovFactor = QStringLiteral("1.0005")});
}

} // namespace

TEST(CalculationRun, RunsTheTickedModelsInOrderWithTheirEvaluations) {
    auto s = loadedFleet();
    auto f = fields();
    f.newton = f.smirnov = true;
    VirtualClock clock(300);
    const CalcOutcome r = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(r.end.how, Termination::Done);
    EXPECT_TRUE(r.messages.isEmpty());
    ASSERT_EQ(r.fits.size(), 3u);
    ASSERT_EQ(r.memo.size(), 8);
    EXPECT_TRUE(r.memo[0].startsWith(msg::spiralDone));
    EXPECT_TRUE(r.memo[1].startsWith(QStringLiteral("Шаг=")));
    EXPECT_TRUE(r.memo[2].startsWith(msg::confidencePrefix));
    EXPECT_TRUE(r.memo[3].startsWith(msg::newtonDone));
    EXPECT_TRUE(r.memo[4].startsWith(QStringLiteral("Шаг=")));
    EXPECT_TRUE(r.memo[5].startsWith(msg::confidencePrefix));
    EXPECT_TRUE(r.memo[6].startsWith(msg::smirnovDone));
    EXPECT_TRUE(r.memo[7].startsWith(msg::confidencePrefix));
    EXPECT_TRUE(s.ModSpir.Executed && s.ModNewton.Executed && s.ModSmirnov.Executed);
    EXPECT_EQ(s.Put_Fajla, f.filePath);
    EXPECT_EQ(s.T_Prirab, 300);
    EXPECT_FALSE(s.Hist.empty());
    // The run evaluates again after each fit: the same figures.
    Mod_Weib again = s.ModSpir;
    Harakt_Modeli(s, again, 300);
    EXPECT_EQ(again.SKO_out, s.ModSpir.SKO_out);
}

TEST(CalculationRun, AFieldThatIsNoNumberStopsKeepingEarlierValues) {
    auto s = loadedFleet();
    s.Sred_Gar = 1;
    s.SKO_Gar = 2;
    s.T_Prirab = 3;
    auto f = fields();
    f.warrantyMean = QStringLiteral("2500");
    f.warrantySd = QStringLiteral("5OO");
    VirtualClock clock(300);
    const CalcOutcome r = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(r.refusal, CalcOutcome::Refusal::ConversionError);
    EXPECT_EQ(r.messages, QStringList{msg::notANumber(QStringLiteral("5OO"))});
    EXPECT_EQ(s.Sred_Gar, 2500);
    EXPECT_EQ(s.SKO_Gar, 2);
    EXPECT_EQ(s.T_Prirab, 3);
    EXPECT_TRUE(s.Hist.empty());
    EXPECT_TRUE(r.memo.isEmpty());

    // The calculation period is only checked.
    f = fields();
    f.countingPeriod = QStringLiteral("");
    EXPECT_EQ(test::calculate(s, readCalcSettings(f), clock).refusal,
              CalcOutcome::Refusal::ConversionError);
    EXPECT_EQ(s.T_Prirab, 3);
}

TEST(CalculationRun, EmptyFieldsRightAfterStartAreAConversionError) {
    AnalysisState s;
    CalcFields f;
    VirtualClock clock(300);
    const CalcOutcome r = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(r.refusal, CalcOutcome::Refusal::ConversionError);
    EXPECT_EQ(r.messages, QStringList{msg::notANumber(QString())});
}

TEST(CalculationRun, InputCheck) {
    auto s = loadedFleet();
    auto f = fields();
    f.filePath.clear();
    VirtualClock clock(300);
    CalcOutcome r = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(r.refusal, CalcOutcome::Refusal::NotReady);
    EXPECT_EQ(r.messages, QStringList{msg::noDataPath});

    // Nothing read yet: stops without a message.
    s.Dannye_Gotovy = false;
    r = test::calculate(s, readCalcSettings(fields()), clock);
    EXPECT_EQ(r.refusal, CalcOutcome::Refusal::NotReady);
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_FALSE(s.ModSpir.Executed);
}

TEST(CalculationRun, AWarrantyFileWithoutFailureDataStopsWithAMessage) {
    AnalysisState s;
    s.Dannye_Gotovy = true; // a warranty file was read, no data file
    VirtualClock clock(300);
    const CalcOutcome r = test::calculate(s, readCalcSettings(fields()), clock);
    EXPECT_EQ(r.refusal, CalcOutcome::Refusal::NoFailures);
    EXPECT_EQ(r.messages, QStringList{msg::noFailuresLoaded});
    EXPECT_TRUE(s.Hist.empty());
    EXPECT_EQ(clock.nowUs(), 0);
}

TEST(CalculationRun, BadStepFactors) {
    auto s = loadedFleet();
    auto f = fields();
    f.stepFactorSpiral = QStringLiteral("1");
    VirtualClock clock(300);
    CalcOutcome r = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(r.refusal, CalcOutcome::Refusal::BadFactor);
    EXPECT_EQ(r.field, RunField::StepFactorSpiral);
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].contains(msg::stepFactorLabel11));
    EXPECT_FALSE(s.ModSpir.Executed);

    // A factor is read when its model starts: model 1.1 is done by then.
    f = fields();
    f.newton = true;
    f.stepFactorNewton = QStringLiteral("x1");
    r = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(r.refusal, CalcOutcome::Refusal::ConversionError);
    EXPECT_EQ(r.messages, QStringList{msg::notANumber(QStringLiteral("x1"))});
    EXPECT_EQ(r.field, RunField::StepFactorNewton);
    EXPECT_TRUE(s.ModSpir.Executed);
    EXPECT_FALSE(s.ModNewton.Executed);
    EXPECT_EQ(r.memo.size(), 3);

    // An unticked model's factor is never read; a number given by other means (the command
    // line) replaces a text that was not one.
    f.newton = false;
    f.warrantyMean = QStringLiteral("?");
    CalcSettings set = readCalcSettings(f);
    set.warrantyMean = 2500;
    set.accept(RunField::WarrantyMean);
    EXPECT_EQ(test::calculate(s, set, clock).end.how, Termination::Done);
}

TEST(CalculationRun, NoModelTickedStillBuildsTheHistogram) {
    auto s = loadedFleet();
    auto f = fields();
    f.spiral = false;
    f.burnIn = QStringLiteral("0"); // accepted
    VirtualClock clock(300);
    const CalcOutcome r = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(r.end.how, Termination::Done);
    EXPECT_TRUE(r.memo.isEmpty());
    EXPECT_FALSE(s.Hist.empty());
    EXPECT_EQ(s.T_Prirab, 0);
}

TEST(CalculationRun, SearchedWarrantyValuesReachTheLaterModels) {
    auto s = loadedFleet();
    auto f = fields();
    f.fitMean = f.fitSd = true;
    f.smirnov = true;
    VirtualClock clock(300);
    const CalcOutcome r = test::calculate(s, readCalcSettings(f), clock);
    ASSERT_EQ(r.end.how, Termination::Done);
    EXPECT_TRUE(s.Podbor_Sred && s.Podbor_SKO);
    EXPECT_NE(s.Sred_Gar, 3000);
    EXPECT_EQ(s.ModSmirnov.Sred, s.Sred_Gar);
    EXPECT_EQ(s.ModSmirnov.SKO, s.SKO_Gar);
    EXPECT_EQ(s.ModSpir.Sred, s.Sred_Gar);
}

TEST(CalculationRun, ALaterRunKeepsEarlierModels) {
    auto s = loadedFleet();
    VirtualClock clock(300);
    ASSERT_EQ(test::calculate(s, readCalcSettings(fields()), clock).end.how, Termination::Done);
    const double a = s.ModSpir.A;
    auto f = fields();
    f.spiral = false;
    f.smirnov = true;
    ASSERT_EQ(test::calculate(s, readCalcSettings(f), clock).end.how, Termination::Done);
    EXPECT_TRUE(s.ModSpir.Executed);
    EXPECT_EQ(s.ModSpir.A, a);
    EXPECT_TRUE(s.ModSmirnov.Executed);
}

TEST(CalculationRun, CancellingAFitEndsTheRun) {
    auto s = loadedFleet();
    auto f = fields();
    f.newton = f.smirnov = true;
    VirtualClock clock(300);
    std::vector<QString> stages;
    const CalcOutcome r = test::calculate(s, readCalcSettings(f), clock, [&](const Progress& p) {
        stages.push_back(p.stage);
        return p.stage != msg::stageModel12;
    });
    EXPECT_EQ(r.end.how, Termination::Cancelled);
    ASSERT_EQ(r.fits.size(), 2u);
    EXPECT_EQ(r.fits[1].end.how, Termination::Cancelled);
    EXPECT_EQ(r.memo.size(), 3); // model 1.1 only
    EXPECT_TRUE(s.ModSpir.Executed);
    EXPECT_FALSE(s.ModNewton.Executed);
    EXPECT_FALSE(s.ModSmirnov.Executed);
    EXPECT_EQ(stages.back(), msg::stageModel12);
}

// The run hands back changes, not its copy of the state: applied to the state it was given,
// they must give exactly what the same steps leave on a state of their own, whether the run
// ends done, refused half-way through the fields, at a factor, cancelled or on no data, and
// when run again on its own results.
TEST(CalculationRun, ItsWritesAreEveryChangeItMadeAndOnlyThose) {
    auto base = fields();
    base.newton = base.smirnov = base.mle = true;
    base.fitMean = base.fitSd = true;
    auto refusedAtBurnIn = fields();
    refusedAtBurnIn.warrantyMean = QStringLiteral("2600");
    refusedAtBurnIn.burnIn = QStringLiteral("x");
    auto badFactor = base;
    badFactor.stepFactorSmirnov = QStringLiteral("1");
    auto noPath = base;
    noPath.filePath.clear();
    const std::pair<CalcFields, bool> runs[] = {
        {base, false}, {refusedAtBurnIn, false}, {badFactor, false}, {noPath, false}, {base, true}};
    auto s = loadedFleet();
    // What an earlier file and a long run would have left: every field the run writes differs.
    s.T_Prirab = 0;
    s.Shag_Nach = s.Shag_Dal = 7;
    s.Chas = 5;
    std::int64_t start = 0;
    std::vector<Termination> ends;
    for (const auto& [f, cancel] : runs) {
        const CalcSettings set = readCalcSettings(f);
        int calls = 0;
        const ProgressFn progress = [&](const Progress&) { return !cancel || ++calls < 40; };
        AnalysisState stepped = s;
        VirtualClock c1(300), c2(300);
        start += 7'000'000; // each run starts its fits at another time
        c1.advance(start);
        c2.advance(start);
        const CalcOutcome inPlace = runCalculationSteps(stepped, set, c1, progress);
        calls = 0;
        const CalcOutcome r = runCalculation(s, set, c2, progress);
        EXPECT_EQ(r.end.how, inPlace.end.how);
        ends.push_back(r.end.how);
        AnalysisState applied = s;
        applyCalcWrites(applied, r.writes);
        EXPECT_TRUE(applied == stepped);
        // Nothing it did not change comes back.
        EXPECT_EQ(r.writes.Put_Fajla.has_value(), s.Put_Fajla != stepped.Put_Fajla);
        EXPECT_EQ(r.writes.Hist.has_value(), s.Hist != stepped.Hist);
        EXPECT_EQ(r.writes.ModSmirnov.has_value(), !(s.ModSmirnov == stepped.ModSmirnov));
        s = std::move(applied);
    }
    using enum Termination;
    EXPECT_EQ(ends, (std::vector{Done, Refused, Refused, Refused, Cancelled}));
    EXPECT_TRUE(s.ModMLE.Executed);
}
