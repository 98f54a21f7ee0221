// The runs' field texts made numbers in one place: what converts is kept, what does not is
// recorded in the order the runs read the fields, and storing stops at the first of them.

#include "fields.h"

#include "analysis/run_fields.h"

#include <gtest/gtest.h>

namespace wf {
namespace {

TEST(RunFieldConversion, UnreadableFieldsAreRecordedInReadingOrder) {
    CalcFields calc = test::calcFields({.sd = QStringLiteral("8OO")});
    calc.stepFactorNewton = QStringLiteral("x");
    calc.confidence.clear();
    const CalcSettings c = readCalcSettings(calc);
    EXPECT_EQ(c.warrantyMean, 3000);
    EXPECT_EQ(c.burnIn, 300);
    EXPECT_EQ(c.spiral.stepFactor, 1.01);
    EXPECT_EQ(c.warrantySd, RunStart{}.warrantySd);           // left as it was
    EXPECT_EQ(c.newton.stepFactor, ModelChoice{}.stepFactor); // likewise
    ASSERT_EQ(c.unreadable.size(), 3u);
    EXPECT_EQ(c.unreadable[0].field, RunField::WarrantySd);
    EXPECT_EQ(c.unreadable[0].message, QStringLiteral("«8OO» не является допустимым числом"));
    EXPECT_EQ(c.unreadable[1].field, RunField::StepFactorNewton);
    EXPECT_EQ(c.unreadable[2].field, RunField::Confidence);
    EXPECT_EQ(c.unreadable[2].message, QStringLiteral("«» не является допустимым числом"));

    const GeneticRunSettings g = readGeneticSettings(
        test::geneticFields({}, {.population = QStringLiteral("три"), .generations = {}}));
    EXPECT_EQ(g.accuracy, 1e-7);
    EXPECT_EQ(g.population, GeneticRunSettings{}.population);
    ASSERT_EQ(g.unreadable.size(), 2u);
    EXPECT_EQ(g.unreadable[0].field, RunField::Population);
    EXPECT_EQ(g.unreadable[0].message, QStringLiteral("«три» не является допустимым целым числом"));
    EXPECT_EQ(g.unreadable[1].field, RunField::Generations);
}

TEST(RunFieldConversion, StoringStopsAtTheFirstUnreadableField) {
    AnalysisState s;
    s.Sred_Gar = 1;
    s.SKO_Gar = 2;
    s.T_Prirab = 3;
    RunStart r = readCalcSettings(test::calcFields({.sd = QStringLiteral("8OO")}));
    const FieldError* e = storeRunStart(s, r);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->field, RunField::WarrantySd);
    EXPECT_EQ(s.Sred_Gar, 3000); // stored before the unreadable one
    EXPECT_EQ(s.SKO_Gar, 2);
    EXPECT_EQ(s.T_Prirab, 3);

    r.warrantySd = 800;
    r.accept(RunField::WarrantySd);
    EXPECT_EQ(storeRunStart(s, r), nullptr);
    EXPECT_EQ(s.SKO_Gar, 800);
    EXPECT_EQ(s.T_Prirab, 300);
}

} // namespace
} // namespace wf
