// Every field of the calculation run and of the genetic run given text that is not a usable
// value: a message, no run, and the loaded failures, histogram and models as they were.

#include "calculate.h"
#include "fields.h"
#include "hostile_util.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "genetic/genetic_run.h"
#include "stats/calculation_run.h"
#include "stats/histogram.h"

#include <cmath>
#include <functional>

namespace wf::hostile {
namespace {

const QStringList kJunk{QString(),
                        QStringLiteral("   "),
                        QStringLiteral("abc"),
                        QStringLiteral("1e400"),
                        QStringLiteral("nan"),
                        QStringLiteral("12abc")};

// A fleet loaded, one run of model 1.1 done: the analysis a hostile action must keep.
AnalysisState analysed() {
    AnalysisState s;
    EXPECT_TRUE(parseFailureFile(s, goodFleetBytes(), QStringLiteral("fleet.txt")).end.done());
    VirtualClock clock(100);
    const CalcOutcome out = test::calculate(s, readCalcSettings(test::calcFields()), clock);
    EXPECT_EQ(out.end.how, Termination::Done);
    EXPECT_TRUE(s.ModSpir.Executed);
    return s;
}

CalcFields goodCalcFields() {
    return test::calcFields({}, {.allModels = true});
}

using CalcField = std::function<QString&(CalcFields&)>;

// A step factor is read when its model starts: only that model is ticked, so nothing ran
// before the refusal.
CalcFields onlyModel(int model) {
    CalcFields f = goodCalcFields();
    f.spiral = model == 0;
    f.newton = model == 1;
    f.smirnov = model == 2;
    return f;
}

const std::vector<std::pair<const char*, CalcField>> kStepFactors{
    {"stepFactorSpiral", [](CalcFields& f) -> QString& { return f.stepFactorSpiral; }},
    {"stepFactorNewton", [](CalcFields& f) -> QString& { return f.stepFactorNewton; }},
    {"stepFactorSmirnov", [](CalcFields& f) -> QString& { return f.stepFactorSmirnov; }},
};

TEST(HostileFields, EveryCalculationFieldRefusesJunkAndKeepsTheAnalysis) {
    std::vector<std::pair<const char*, CalcField>> fields{
        {"warrantyMean", [](CalcFields& f) -> QString& { return f.warrantyMean; }},
        {"warrantySd", [](CalcFields& f) -> QString& { return f.warrantySd; }},
        {"countingPeriod", [](CalcFields& f) -> QString& { return f.countingPeriod; }},
        {"burnIn", [](CalcFields& f) -> QString& { return f.burnIn; }},
    };
    fields.insert(fields.end(), kStepFactors.begin(), kStepFactors.end());
    AnalysisState s = analysed();
    const Snapshot before(s);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const auto& [name, field] = fields[k];
        for (const QString& junk : kJunk) {
            CalcFields f = k >= 4 ? onlyModel(static_cast<int>(k - 4)) : goodCalcFields();
            field(f) = junk;
            VirtualClock clock(100);
            const CalcOutcome out = test::calculate(s, readCalcSettings(f), clock);
            EXPECT_EQ(out.refusal, CalcOutcome::Refusal::ConversionError)
                << name << junk.toStdString();
            ASSERT_EQ(out.messages.size(), 1) << name;
            EXPECT_EQ(out.messages.first(), msg::notANumber(junk)) << name;
            expectUnchanged(before, s);
        }
    }
}

TEST(HostileFields, StepFactorsZeroOneAndMinusOneAreRefusedBeforeAnyFit) {
    AnalysisState s = analysed();
    const Snapshot before(s);
    const QString labels[] = {msg::stepFactorLabel11, msg::stepFactorLabel12,
                              msg::stepFactorLabel2};
    for (int model = 0; model < 3; ++model) {
        for (const char* factor : {"0", "1", "-1", "0,5"}) {
            LocaleScope ru(commaLocale());
            CalcFields f = onlyModel(model);
            kStepFactors[static_cast<std::size_t>(model)].second(f) = QString::fromLatin1(factor);
            VirtualClock clock(100);
            const CalcOutcome out = test::calculate(s, readCalcSettings(f), clock);
            EXPECT_EQ(out.refusal, CalcOutcome::Refusal::BadFactor) << model << ' ' << factor;
            ASSERT_EQ(out.messages.size(), 1);
            EXPECT_EQ(out.messages.first(),
                      msg::badStepFactor(labels[model], QString::fromLatin1(factor)));
            expectUnchanged(before, s);
        }
    }
}

TEST(HostileFields, ExtremeButValidFieldsEndInFiniteModels) {
    AnalysisState s = analysed();
    for (const auto& [sred, sko, burnIn] :
         {std::tuple{"1e308", "800", "300"}, std::tuple{"3000", "0", "0"},
          std::tuple{"-3000", "-800", "-300"}, std::tuple{"3000", "1e-300", "1e300"}}) {
        CalcFields f = goodCalcFields();
        f.warrantyMean = QString::fromLatin1(sred);
        f.warrantySd = QString::fromLatin1(sko);
        f.burnIn = QString::fromLatin1(burnIn);
        f.stepFactorSpiral = f.stepFactorNewton = f.stepFactorSmirnov =
            QStringLiteral("1e300"); // one giant step reduction
        VirtualClock clock(100);
        const CalcOutcome out = test::calculate(s, readCalcSettings(f), clock);
        ASSERT_EQ(out.end.how, Termination::Done) << sred << ' ' << sko;
        for (const Mod_Weib* m : {&s.ModSpir, &s.ModNewton, &s.ModSmirnov})
            EXPECT_TRUE(std::isfinite(m->A) && std::isfinite(m->B) && std::isfinite(m->K_powtor))
                << sred << ' ' << sko;
    }
}

GeneticFields goodGeneticFields() {
    return test::geneticFields({}, {.accuracy = QStringLiteral("0.0000002"),
                                    .population = QStringLiteral("50"),
                                    .generations = QStringLiteral("20")});
}

using GenField = std::function<QString&(GeneticFields&)>;

TEST(HostileFields, EveryGeneticFieldRefusesJunkAndKeepsTheAnalysis) {
    const std::vector<std::pair<const char*, GenField>> fields{
        {"warrantyMean", [](GeneticFields& f) -> QString& { return f.warrantyMean; }},
        {"warrantySd", [](GeneticFields& f) -> QString& { return f.warrantySd; }},
        {"countingPeriod", [](GeneticFields& f) -> QString& { return f.countingPeriod; }},
        {"burnIn", [](GeneticFields& f) -> QString& { return f.burnIn; }},
        {"accuracy", [](GeneticFields& f) -> QString& { return f.accuracy; }},
        {"population", [](GeneticFields& f) -> QString& { return f.population; }},
        {"generations", [](GeneticFields& f) -> QString& { return f.generations; }},
    };
    AnalysisState s = analysed();
    const Snapshot before(s);
    for (const auto& [name, field] : fields) {
        for (const QString& junk : kJunk) {
            GeneticFields f = goodGeneticFields();
            field(f) = junk;
            const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(f));
            EXPECT_FALSE(p.end.done()) << name << ' ' << junk.toStdString();
            EXPECT_EQ(p.messages.size(), 1) << name << ' ' << junk.toStdString();
            expectUnchanged(before, s);
        }
    }
}

TEST(HostileFields, PopulationGenerationsAndAccuracyOutOfRangeAreRefused) {
    AnalysisState s = analysed();
    const Snapshot before(s);
    const std::vector<std::pair<GenField, const char*>> cases{
        {[](GeneticFields& f) -> QString& { return f.population; }, "0"},
        {[](GeneticFields& f) -> QString& { return f.population; }, "1"},
        {[](GeneticFields& f) -> QString& { return f.population; }, "-5"},
        {[](GeneticFields& f) -> QString& { return f.population; }, "99999999999"},
        {[](GeneticFields& f) -> QString& { return f.generations; }, "0"},
        {[](GeneticFields& f) -> QString& { return f.generations; }, "-1"},
        {[](GeneticFields& f) -> QString& { return f.accuracy; }, "2"},
        {[](GeneticFields& f) -> QString& { return f.accuracy; }, "1e-12"},
        {[](GeneticFields& f) -> QString& { return f.accuracy; }, "0"},
        {[](GeneticFields& f) -> QString& { return f.accuracy; }, "-0.001"},
    };
    for (const auto& [field, text] : cases) {
        GeneticFields f = goodGeneticFields();
        field(f) = QString::fromLatin1(text);
        const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(f));
        EXPECT_FALSE(p.end.done()) << text;
        EXPECT_EQ(p.messages.size(), 1) << text;
        expectUnchanged(before, s);
    }
}

TEST(HostileFields, SmallestPopulationAndOneGenerationRunToAFiniteModel) {
    AnalysisState s = analysed();
    GeneticFields f = goodGeneticFields();
    f.population = QStringLiteral("10");
    f.generations = QStringLiteral("1");
    f.accuracy = QStringLiteral("1"); // the coarsest accuracy: genes of one bit
    const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(f));
    ASSERT_TRUE(p.end.done()) << p.messages.join(QLatin1Char('\n')).toStdString();
    GeneticSettings set = p.settings;
    set.seed = 7;
    set.threads = 1;
    BasicGeneticHost host;
    const GeneticOutcome o = runGeneticSearch(s, set, host);
    ASSERT_TRUE(o.ranGenerations);
    applyGeneticOutcome(s, o);
    EXPECT_TRUE(s.ModGen.Executed);
    EXPECT_TRUE(std::isfinite(s.ModGen.A) && std::isfinite(s.ModGen.B) &&
                std::isfinite(s.ModGen.K_powtor));
}

TEST(HostileFields, RunWithoutAnyLoadedFileSaysSoAndChangesNothing) {
    AnalysisState s;
    VirtualClock clock(100);
    CalcFields f = goodCalcFields();
    f.filePath.clear();
    CalcOutcome out = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(out.refusal, CalcOutcome::Refusal::NotReady);
    EXPECT_EQ(out.messages, QStringList{msg::noDataPath});
    f.filePath = QStringLiteral("fleet.txt");
    out = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(out.refusal, CalcOutcome::Refusal::NotReady);
    // Ready but nothing loaded (a warranty file read first): a message, no histogram.
    s.Dannye_Gotovy = true;
    out = test::calculate(s, readCalcSettings(f), clock);
    EXPECT_EQ(out.refusal, CalcOutcome::Refusal::NoFailures);
    EXPECT_FALSE(out.messages.isEmpty());
    EXPECT_TRUE(s.Hist.empty());
    GeneticFields g = goodGeneticFields();
    const GeneticPrep p = prepareGeneticRun(s, readGeneticSettings(g));
    EXPECT_FALSE(p.end.done());
    EXPECT_EQ(p.messages.size(), 1);
}

} // namespace
} // namespace wf::hostile
