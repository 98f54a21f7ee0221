#include "analysis/failure_file.h"
#include "analysis/settings_file.h"
#include "fleet_files.h"
#include "format/messages.h"
#include "gtest_qstring.h"
#include "locale_guard.h"

#include <gtest/gtest.h>

#include <utility>

namespace wf {
namespace {

using test::dataFile;
using test::failure;
using test::joinLines;

QString cause(const AnalysisState& s, int i) {
    return s.Vidy_Otk_Sort[static_cast<std::size_t>(s.Otkazy[static_cast<std::size_t>(i)].chey)]
        .Nazv_Prich;
}

LoadResult load(AnalysisState& s, const QStringList& lines, const char* eol = "\r\n") {
    return parseFailureFile(s, joinLines(lines, eol), QStringLiteral("/data/f.txt"));
}

TEST(FailureFile, HeaderFieldsAndState) {
    test::LocaleScope comma(test::commaLocale());
    AnalysisState s;
    s.ModGen.K_powtor = 7;
    s.ModGen.Kol_Nakopl = 3;
    const auto r = load(s, dataFile({QStringLiteral("Насос")},
                                    {failure(QStringLiteral("120.5"), QStringLiteral("насос"))},
                                    QStringLiteral("2537.25"), QStringLiteral("350"),
                                    QStringLiteral("1500.5")));
    ASSERT_TRUE(r.end.done());
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(s.Kommentarij, QStringLiteral("Тестовый парк"));
    EXPECT_EQ(s.Sred_Gar, 2537.25);
    EXPECT_EQ(s.SKO_Gar, 350);
    EXPECT_EQ(s.Kol_All, 1500.5);
    EXPECT_EQ(s.Park, 1500.5);
    EXPECT_EQ(s.Masshtab, 1.0);
    EXPECT_TRUE(s.Dannye_Gotovy);
    EXPECT_EQ(s.ModGen.K_powtor, 1);
    EXPECT_EQ(s.ModGen.Kol_Nakopl, 0);
    EXPECT_EQ(s.Kol_Otk, 2);
    EXPECT_EQ(s.Kol_Prich, 2);
    const MainFields& f = r.fields;
    const std::pair<QString, const char*> texts[] = {
        {f.filePath, "/data/f.txt"},     {f.caption, "Тестовый парк"},
        {f.warrantyMean, "2537,25"},     {f.countingPeriod, "2537,25"},
        {f.warrantySd, "350"},           {f.fleetSize, "1500,5"},
        {f.failureCount, "1"},           {f.stepFactorSpiral, "1,00025"},
        {f.stepFactorNewton, "1,00025"}, {f.stepFactorSmirnov, "1,0005"},
        {f.accuracy, "0,0000002"},       {f.generations.value_or(QString()), "1500"}};
    for (const auto& [shown, want] : texts) EXPECT_EQ(shown, QString::fromUtf8(want));
}

TEST(FailureFile, CausesOrderedByCountTiesInFileOrder) {
    QStringList fl;
    for (int i = 0; i < 3; ++i)
        fl << failure(QString::number(100 + i), QStringLiteral("отказ A-узел"));
    for (int i = 0; i < 5; ++i)
        fl << failure(QString::number(200 + i), QStringLiteral("отказ B-узел"));
    for (int i = 0; i < 5; ++i)
        fl << failure(QString::number(300 + i), QStringLiteral("отказ C-узел"));
    AnalysisState s;
    ASSERT_TRUE(load(s, dataFile({QStringLiteral("A-узел"), QStringLiteral("B-узел"),
                                  QStringLiteral("C-узел")},
                                 fl))
                    .end.done());
    QStringList names;
    for (const auto& v : s.Vidy_Otk_Sort) names << v.Nazv_Prich;
    EXPECT_EQ(names, (QStringList{QStringLiteral("Брак"), QStringLiteral("Другие"),
                                  QStringLiteral("B-узел"), QStringLiteral("C-узел"),
                                  QStringLiteral("A-узел")}));
    EXPECT_EQ(s.Vidy_Otk[2].Nazv_Prich, QStringLiteral("A-узел")); // file order kept there
    EXPECT_EQ(cause(s, 0), QStringLiteral("A-узел"));
    EXPECT_EQ(cause(s, 3), QStringLiteral("B-узел"));
    EXPECT_EQ(cause(s, 12), QStringLiteral("C-узел"));
}

TEST(FailureFile, MarkSplitsCauseAndDescription) {
    AnalysisState s;
    ASSERT_TRUE(load(s, dataFile({QStringLiteral("датчик"), QStringLiteral("датч")},
                                 {QStringLiteral("250.0\tДатчик давления * обрыв провода"),
                                  QStringLiteral("260.0\tДатчик*обрыв провода у разъема"),
                                  QStringLiteral("270.0\t* без причины, только описание"),
                                  QStringLiteral("280.0\tДатчик давления, без описания")}))
                    .end.done());
    const auto& o = s.Otkazy;
    EXPECT_EQ(o[0].komment, QStringLiteral("обрыв провода"));
    EXPECT_EQ(o[0].Pri, QStringLiteral("Датчик давления"));
    EXPECT_EQ(cause(s, 0), QStringLiteral("датчик"));
    // One character on each side of the mark is dropped.
    EXPECT_EQ(o[1].komment, QStringLiteral("брыв провода у разъема"));
    EXPECT_EQ(o[1].Pri, QStringLiteral("Датчи"));
    EXPECT_EQ(cause(s, 1), QStringLiteral("датч"));
    // Mark first: the whole rest is the cause text.
    EXPECT_EQ(o[2].komment, QStringLiteral("без причины, только описание"));
    EXPECT_EQ(cause(s, 2), QStringLiteral("Другие"));
    EXPECT_EQ(o[2].Pri, QStringLiteral("Другие"));
    EXPECT_TRUE(o[3].komment.isEmpty());
    EXPECT_EQ(o[3].Pri, QStringLiteral("Датчик давления, без описания"));
}

TEST(FailureFile, TwentyCharacterRuleDelimitsCauses) {
    const QString twenty = QStringLiteral("Клапан сброса ДАВЛ20"); // exactly 20 characters
    ASSERT_EQ(twenty.size(), 20);
    const QString shortLine = QStringLiteral("50\tКлапан"); // <= 20: read as a cause
    AnalysisState s;
    const auto r =
        load(s, QStringList{QStringLiteral("Парк"), QStringLiteral("3000"), QStringLiteral("500"),
                            QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("0"), twenty,
                            shortLine,
                            failure(QStringLiteral("100"), QStringLiteral("клапан сброса давл20")),
                            QStringLiteral("7\tКлапан")});
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(s.Kol_Prich, 3);
    EXPECT_EQ(s.Vidy_Otk[2].Nazv_Prich, twenty);
    EXPECT_EQ(s.Vidy_Otk[3].Nazv_Prich, shortLine);
    // After the first failure line, short lines are failures.
    ASSERT_EQ(s.Otkazy.size(), 2u);
    EXPECT_EQ(s.Otkazy[0].time, 7);
    EXPECT_EQ(cause(s, 1), twenty);
}

TEST(FailureFile, CommaOrPointTimeInAnyLocale) {
    for (const QLocale& l : {test::pointLocale(), test::commaLocale()}) {
        test::LocaleScope scope(l);
        AnalysisState s;
        ASSERT_TRUE(load(s, dataFile({}, {failure(QStringLiteral("1500,5"), QStringLiteral("x")),
                                          failure(QStringLiteral("1500.5"), QStringLiteral("y"))}))
                        .end.done());
        EXPECT_EQ(s.Otkazy[0].time, 1500.5);
        EXPECT_EQ(s.Otkazy[1].time, 1500.5);
    }
}

TEST(FailureFile, BelowOneHourIsBrakWhateverTheText) {
    AnalysisState s;
    const auto r = load(s, dataFile({QStringLiteral("насос")},
                                    {failure(QStringLiteral("0"), QStringLiteral("насос")),
                                     failure(QStringLiteral("0.9"), QStringLiteral("насос")),
                                     failure(QStringLiteral("1.0"), QStringLiteral("насос"))}));
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(cause(s, 0), QStringLiteral("Брак"));
    EXPECT_EQ(s.Otkazy[0].Pri, QStringLiteral("Брак"));
    EXPECT_EQ(cause(s, 1), QStringLiteral("Брак"));
    EXPECT_EQ(cause(s, 2), QStringLiteral("насос"));
    EXPECT_EQ(s.Vidy_Otk[0].Dolya, 2);
    EXPECT_EQ(s.Vidy_Otk[2].Dolya, 1);
    EXPECT_EQ(s.Kol_Otk_Bez_Braka, 1);
}

TEST(FailureFile, TextNamingTwoCausesCountsForBoth) {
    // "реле" has 1 failure of its own, "насос" 2: ordered насос, реле.
    AnalysisState s;
    ASSERT_TRUE(load(s, dataFile({QStringLiteral("реле"), QStringLiteral("насос")},
                                 {failure(QStringLiteral("10"), QStringLiteral("реле и насос")),
                                  failure(QStringLiteral("20"), QStringLiteral("насос отказал")),
                                  failure(QStringLiteral("30"), QStringLiteral("насос снова"))}))
                    .end.done());
    EXPECT_EQ(s.Vidy_Otk[2].Dolya, 1); // реле
    EXPECT_EQ(s.Vidy_Otk[3].Dolya, 3); // насос
    EXPECT_EQ(s.Vidy_Otk_Sort[2].Nazv_Prich, QStringLiteral("насос"));
    // The cause placed later in the ordered list wins.
    EXPECT_EQ(cause(s, 0), QStringLiteral("реле"));
}

TEST(FailureFile, KolOtkBezBrakaCountsOnlyOperatingFailures) {
    QStringList fl;
    for (int i = 0; i < 100; ++i)
        fl << failure(i < 4 ? QStringLiteral("0.5") : QString::number(10 * i),
                      QStringLiteral("узел"));
    AnalysisState s;
    const auto r = load(s, dataFile({QStringLiteral("узел")}, fl));
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(s.Kol_Otk_Bez_Braka, 96);
    EXPECT_EQ(r.fields.failureCount, QStringLiteral("96"));
    EXPECT_EQ(s.Kol_Otk, 101);
}

TEST(FailureFile, BadTimeGivesOneMessagePerLineAndBecomesBrak) {
    AnalysisState s;
    const auto r = load(s, dataFile({QStringLiteral("узел")},
                                    {failure(QStringLiteral("12x"), QStringLiteral("узел")),
                                     QStringLiteral("строка без табуляции, узел * описание"),
                                     failure(QStringLiteral("300"), QStringLiteral("узел"))}));
    ASSERT_TRUE(r.end.done());
    // Header 6 lines + 1 cause: failures start at line 8.
    EXPECT_EQ(r.messages, (QStringList{msg::badFailureLine(8, QStringLiteral("/data/f.txt")),
                                       msg::badFailureLine(9, QStringLiteral("/data/f.txt"))}));
    EXPECT_EQ(r.messages[0], QStringLiteral("Ошибка в строке №8 файла /data/f.txt, исправьте)"));
    ASSERT_EQ(s.Otkazy.size(), 3u);
    EXPECT_EQ(s.Otkazy[0].time, 0);
    EXPECT_EQ(cause(s, 0), QStringLiteral("Брак"));
    EXPECT_EQ(s.Otkazy[1].komment, QStringLiteral("описание"));
    EXPECT_EQ(s.Vidy_Otk[0].Dolya, 2);
}

TEST(FailureFile, BlankLinesAmongFailuresAreSkipped) {
    AnalysisState s;
    QStringList l =
        dataFile({QStringLiteral("узел")},
                 {failure(QStringLiteral("100"), QStringLiteral("узел")), QString(),
                  QStringLiteral(" \t "), failure(QStringLiteral("200"), QStringLiteral("узел"))});
    l << QString() << QString();
    const auto r = load(s, l);
    ASSERT_TRUE(r.end.done());
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(s.Otkazy.size(), 2u);
    EXPECT_EQ(s.Kol_Otk, 3);
}

TEST(FailureFile, BlankLinesInHeaderAreSkippedAndRestOfLineIgnored) {
    AnalysisState s;
    const auto r =
        load(s, QStringList{QStringLiteral("Парк"), QString(), QStringLiteral("  3000.5 ч среднее"),
                            QStringLiteral("500"), QStringLiteral("1e2 изделий"),
                            QStringLiteral("1"), QStringLiteral("-3"), QStringLiteral("узел"),
                            failure(QStringLiteral("100"), QStringLiteral("узел"))});
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(s.Sred_Gar, 3000.5);
    EXPECT_EQ(s.SKO_Gar, 500);
    EXPECT_EQ(s.Kol_All, 100);
    EXPECT_EQ(s.Kol_Prich, 2); // line 6 is wrong, the length rule decides
}

TEST(FailureFile, SingleFailureLineLoads) {
    AnalysisState s;
    ASSERT_TRUE(load(s, dataFile({}, {failure(QStringLiteral("500"), QStringLiteral("что-то"))}))
                    .end.done());
    ASSERT_EQ(s.Otkazy.size(), 1u);
    EXPECT_EQ(cause(s, 0), QStringLiteral("Другие"));
}

TEST(FailureFile, SortKeepsFileOrderOfEqualTimes) {
    AnalysisState s;
    ASSERT_TRUE(load(s, dataFile({}, {failure(QStringLiteral("300"), QStringLiteral("узел a"),
                                              QStringLiteral("первый 300")),
                                      failure(QStringLiteral("100"), QStringLiteral("узел b"),
                                              QStringLiteral("сто")),
                                      failure(QStringLiteral("300"), QStringLiteral("узел c"),
                                              QStringLiteral("второй 300")),
                                      failure(QStringLiteral("200"), QStringLiteral("узел d"),
                                              QStringLiteral("двести"))}))
                    .end.done());
    QStringList k;
    for (const auto& o : s.Otkazy) k << o.komment;
    EXPECT_EQ(k, (QStringList{QStringLiteral("сто"), QStringLiteral("двести"),
                              QStringLiteral("первый 300"), QStringLiteral("второй 300")}));
}

TEST(FailureFile, SortOtkazyMatchesBubbleSort) {
    std::vector<Problems> v;
    const double times[] = {5, 3, 5, 1, 3, 0, 9, 1, 5};
    for (int i = 0; i < 9; ++i) v.push_back({times[i], i, {}, QString::number(i)});
    std::vector<Problems> bubble = v;
    for (std::size_t p = 0; p < bubble.size(); ++p)
        for (std::size_t j = 0; j + 1 < bubble.size(); ++j)
            if (bubble[j].time > bubble[j + 1].time) std::swap(bubble[j], bubble[j + 1]);
    Sort_Otkazy(v);
    for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i].chey, bubble[i].chey) << i;
}

TEST(FailureFile, RuleAssignedCausesKeepTheirPlaceAgainstSameNamedFileCauses) {
    // A file listing "Брак" and "Другие" itself must not take the failures assigned by rule.
    AnalysisState s;
    ASSERT_TRUE(load(s, dataFile({QStringLiteral("брак"), QStringLiteral("другие")},
                                 {failure(QStringLiteral("0.5"), QStringLiteral("разное")),
                                  failure(QStringLiteral("50"), QStringLiteral("разное"))}))
                    .end.done());
    EXPECT_EQ(s.Otkazy[0].chey, 0);
    EXPECT_EQ(s.Otkazy[1].chey, 1);
}

TEST(FailureFile, GenerationsFromFailureCount) {
    const auto gens = [](int n) {
        QStringList fl;
        for (int i = 0; i < n; ++i) fl << failure(QString::number(i + 1), QStringLiteral("узел"));
        AnalysisState s;
        return load(s, dataFile({}, fl)).fields.generations.value_or(QStringLiteral("-"));
    };
    EXPECT_EQ(gens(499), QStringLiteral("1500")); // Kol_Otk 500
    EXPECT_EQ(gens(500), QStringLiteral("2000")); // Kol_Otk 501
    EXPECT_EQ(gens(998), QStringLiteral("2000")); // Kol_Otk 999
    EXPECT_EQ(gens(999), QStringLiteral("4000")); // Kol_Otk 1000
}

TEST(FailureFile, FiftyCausesWorkFiftyOneAreRefused) {
    QStringList causes;
    for (int i = 0; i < 51; ++i) causes << QStringLiteral("причина %1").arg(i);
    AnalysisState s;
    const auto fifty =
        load(s, dataFile(causes.mid(0, 50),
                         {failure(QStringLiteral("100"), QStringLiteral("причина 49"))}));
    ASSERT_TRUE(fifty.end.done());
    EXPECT_EQ(s.Kol_Prich, 51);
    EXPECT_EQ(s.Vidy_Otk_Sort.size(), 52u);
    EXPECT_EQ(cause(s, 0), QStringLiteral("причина 49"));
    AnalysisState t;
    const auto more =
        load(t, dataFile(causes, {failure(QStringLiteral("100"), QStringLiteral("x"))}));
    EXPECT_FALSE(more.end.done());
    EXPECT_EQ(more.messages, QStringList{msg::tooManyCauses(50, QStringLiteral("/data/f.txt"))});
}

// Models fitted on one fleet must not be shown as another's.
TEST(FailureFile, LoadingForgetsEveryModelButARefusedLoadDoesNot) {
    AnalysisState s;
    const auto models = {&s.ModNewton, &s.ModSpir, &s.ModSmirnov, &s.ModGen, &s.ModExt, &s.ModMLE};
    for (Mod_Weib* m : models) m->Executed = true;
    const QStringList file = dataFile({QStringLiteral("Насос")},
                                      {failure(QStringLiteral("120.5"), QStringLiteral("насос"))});
    QStringList broken = file;
    broken[3] = QStringLiteral("0"); // fleet size not positive: refused
    ASSERT_FALSE(load(s, broken).end.done());
    for (const Mod_Weib* m : models) EXPECT_TRUE(m->Executed);
    ASSERT_TRUE(load(s, file).end.done());
    for (const Mod_Weib* m : models) EXPECT_FALSE(m->Executed);
}

} // namespace
} // namespace wf
