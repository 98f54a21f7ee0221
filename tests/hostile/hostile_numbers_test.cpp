// Numbers no fleet should have: negative, huge, not-a-number and infinite failure times,
// odd header numbers, a fleet of 0, a warranty SD of 0, a result file with junk. Each is
// refused with a message or loads and runs to a finite answer.

#include "calculate.h"
#include "fields.h"
#include "hostile_util.h"

#include "analysis/warranty_file.h"
#include "external/result_file.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "results/results_data.h"
#include "stats/calculation_run.h"
#include "stats/histogram.h"

#include <cmath>

namespace wf::hostile {
namespace {

QByteArray fleetWith(const QString& sred, const QString& sko, const QString& park,
                     const QStringList& extraFailures = {}) {
    QStringList l = goodFleetLines();
    l[1] = sred;
    l[2] = sko;
    l[3] = park;
    l += extraFailures;
    return joinLines(l);
}

CalcFields allModels(const AnalysisState& s) {
    return test::calcFields({.mean = fmt::general(s.Sred_Gar), .sd = fmt::general(s.SKO_Gar)},
                            {.allModels = true});
}

bool finiteModel(const Mod_Weib& m) {
    return std::isfinite(m.A) && std::isfinite(m.B) && std::isfinite(m.K_powtor) &&
           std::isfinite(m.SKO_out);
}

// The three fits and the results output on whatever was loaded: a message or finite models.
void expectSoundRun(AnalysisState& s) {
    VirtualClock clock(100);
    const CalcOutcome out = test::calculate(s, readCalcSettings(allModels(s)), clock);
    if (!out.end.done()) {
        EXPECT_FALSE(out.messages.isEmpty());
        return;
    }
    for (const Mod_Weib* m : {&s.ModSpir, &s.ModNewton, &s.ModSmirnov})
        EXPECT_TRUE(finiteModel(*m))
            << "A " << m->A << " B " << m->B << " K " << m->K_powtor << " SKO_out " << m->SKO_out;
    const ResultsData r = ShowResults(s, 300);
    EXPECT_TRUE(r.end.done()) << r.end.message.toStdString();
}

TEST(HostileNumbers, NotANumberAndInfiniteFailureTimesAreReportedPerLineAsDefects) {
    AnalysisState s;
    const QStringList bad{QStringLiteral("nan\tНасос * не число"),
                          QStringLiteral("inf\tНасос * бесконечность"),
                          QStringLiteral("-inf\tНасос * минус бесконечность"),
                          QStringLiteral("1e400\tНасос * вне диапазона")};
    const LoadResult r = parseFailureFile(
        s, fleetWith(QStringLiteral("3000"), QStringLiteral("800"), QStringLiteral("200"), bad),
        QStringLiteral("fleet.txt"));
    ASSERT_TRUE(r.end.done());
    ASSERT_EQ(r.messages.size(), 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(r.messages[k], msg::badFailureLine(40 + k, QStringLiteral("fleet.txt")));
    for (const Problems& p : s.Otkazy) EXPECT_TRUE(std::isfinite(p.time));
    EXPECT_EQ(s.Vidy_Otk_Sort[0].Dolya, 5); // the fleet's own defect and the four bad lines
    expectSoundRun(s);
}

TEST(HostileNumbers, NegativeFailureTimesAreDefectsAndTheRunStaysFinite) {
    AnalysisState s;
    const LoadResult r = parseFailureFile(
        s,
        fleetWith(QStringLiteral("3000"), QStringLiteral("800"), QStringLiteral("200"),
                  {QStringLiteral("-5\tНасос * отрицательное время"),
                   QStringLiteral("-1e300\tДатчик * очень отрицательное")}),
        QStringLiteral("fleet.txt"));
    ASSERT_TRUE(r.end.done());
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(s.Otkazy.front().time, -1e300);
    EXPECT_EQ(s.Otkazy.front().Pri, QStringLiteral("Брак"));
    EXPECT_EQ(s.Kol_Otk_Bez_Braka, 30);
    expectSoundRun(s);
}

TEST(HostileNumbers, HugeFailureTimeLoadsButTheCalculationRefusesItWithAMessage) {
    AnalysisState s;
    ASSERT_TRUE(parseFailureFile(s,
                                 fleetWith(QStringLiteral("3000"), QStringLiteral("800"),
                                           QStringLiteral("200"),
                                           {QStringLiteral("1e300\tНасос * через века")}),
                                 QStringLiteral("fleet.txt"))
                    .end.done());
    EXPECT_TRUE(std::isfinite(s.Otk_2000));
    VirtualClock clock(100);
    const CalcOutcome out = test::calculate(s, readCalcSettings(allModels(s)), clock);
    EXPECT_EQ(out.refusal, CalcOutcome::Refusal::NoFailures);
    ASSERT_EQ(out.messages.size(), 1);
    EXPECT_EQ(out.messages.first(), msg::badFailureTimes);
    EXPECT_FALSE(s.ModSpir.Executed);
}

TEST(HostileNumbers, HeaderNumbersAtTheEdgesLoadOrAreRefusedByName) {
    // 1e308 and -0 are numbers; the run on them must stay finite or say why not.
    for (const auto& [sred, sko] : {std::pair{"1e308", "800"}, std::pair{"3000", "1e308"},
                                    std::pair{"-0", "-0"}, std::pair{"3000", "0"}}) {
        AnalysisState s;
        const LoadResult r = parseFailureFile(
            s,
            fleetWith(QString::fromLatin1(sred), QString::fromLatin1(sko), QStringLiteral("200")),
            QStringLiteral("fleet.txt"));
        ASSERT_TRUE(r.end.done()) << sred << ' ' << sko;
        EXPECT_TRUE(std::isfinite(s.T10) && std::isfinite(s.Otk_2000)) << sred << ' ' << sko;
        expectSoundRun(s);
    }
    // Hexadecimal is not a header number.
    AnalysisState s;
    const LoadResult hex = parseFailureFile(
        s, fleetWith(QStringLiteral("0x10"), QStringLiteral("800"), QStringLiteral("200")),
        QStringLiteral("fleet.txt"));
    EXPECT_FALSE(hex.end.done());
    ASSERT_FALSE(hex.messages.isEmpty());
    EXPECT_EQ(hex.messages.last(),
              msg::headerNotNumber(2, QStringLiteral("fleet.txt"), QStringLiteral("0x10")));
    EXPECT_TRUE(s.Otkazy.empty());
}

TEST(HostileNumbers, FleetOfZeroNegativeOrHugeIsRefusedOrBoundedAndKeepsTheLoadedFleet) {
    AnalysisState s;
    ASSERT_TRUE(parseFailureFile(s, goodFleetBytes(), QStringLiteral("good.txt")).end.done());
    ASSERT_TRUE(Postr_Gist(s));
    const Snapshot before(s);
    for (const char* park : {"0", "-0", "-5", "1e400", "nan"}) {
        const LoadResult r = parseFailureFile(
            s, fleetWith(QStringLiteral("3000"), QStringLiteral("800"), QString::fromLatin1(park)),
            QStringLiteral("bad.txt"));
        EXPECT_FALSE(r.end.done()) << park;
        EXPECT_FALSE(r.messages.isEmpty()) << park;
        expectUnchanged(before, s);
    }
    // A fleet of 1e308 once loaded and fitted to a negative repeat coefficient with an
    // infinite deviation; the largest accepted fleet gives finite models.
    const LoadResult huge = parseFailureFile(
        s, fleetWith(QStringLiteral("3000"), QStringLiteral("800"), QStringLiteral("1e308")),
        QStringLiteral("big.txt"));
    EXPECT_FALSE(huge.end.done());
    ASSERT_FALSE(huge.messages.isEmpty());
    EXPECT_EQ(huge.messages.last(),
              msg::fleetTooLarge(4, QStringLiteral("big.txt"), fmt::general(1e12)));
    expectUnchanged(before, s);
    AnalysisState big;
    ASSERT_TRUE(parseFailureFile(big,
                                 fleetWith(QStringLiteral("3000"), QStringLiteral("800"),
                                           QStringLiteral("1e12")),
                                 QStringLiteral("big.txt"))
                    .end.done());
    expectSoundRun(big);
}

TEST(HostileNumbers, WarrantyFileWithEqualTimesGivesSdZeroAndTheRunStaysSound) {
    TempFiles files;
    AnalysisState s;
    ASSERT_TRUE(parseFailureFile(s, goodFleetBytes(), QStringLiteral("fleet.txt")).end.done());
    const WarrantyResult w = ReadWarrantyFile(
        s, files.write(QStringLiteral("gar.txt"), "c\r\n2500\r\n2500\r\n2500\r\n"));
    ASSERT_TRUE(w.end.done());
    EXPECT_EQ(s.Sred_Gar, 2500);
    EXPECT_EQ(s.SKO_Gar, 0);
    EXPECT_EQ(w.fields.warrantySd, fmt::fixed(0.0, 0, 1));
    expectSoundRun(s);
}

TEST(HostileNumbers, WarrantyTimesNegativeHugeOrNotNumbersAreHandled) {
    TempFiles files;
    AnalysisState s;
    s.Sred_Gar = 3000;
    s.SKO_Gar = 800;
    // Numbers too large for a mean: refused, the old values stay.
    WarrantyResult w = ReadWarrantyFile(
        s, files.write(QStringLiteral("gar1.txt"), "c\r\n1e308\r\n1.7e308\r\n1e308\r\n"));
    EXPECT_FALSE(w.end.done());
    EXPECT_EQ(w.messages,
              QStringList{msg::warrantyOutOfRange(files.path(QStringLiteral("gar1.txt")))});
    EXPECT_EQ(s.Sred_Gar, 3000);
    for (const char* junk : {"nan", "inf", "1e400", "0x10", "abc"}) {
        w = ReadWarrantyFile(s, files.write(QStringLiteral("gar2.txt"),
                                            QByteArray("c\r\n2000\r\n") + junk + "\r\n4000\r\n"));
        EXPECT_FALSE(w.end.done()) << junk;
        ASSERT_EQ(w.messages.size(), 1) << junk;
        EXPECT_EQ(s.Sred_Gar, 3000) << junk;
    }
    // Negative times are numbers: mean and SD are computed as they are.
    w = ReadWarrantyFile(s, files.write(QStringLiteral("gar3.txt"), "c\r\n-1000\r\n1000\r\n"));
    ASSERT_TRUE(w.end.done());
    EXPECT_EQ(s.Sred_Gar, 0);
    EXPECT_NEAR(s.SKO_Gar, std::sqrt(2.0) * 1000, 1e-9); // exact up to the square root's rounding
    // One time or none: refused, not divided by zero.
    for (const char* few : {"c\r\n", "c\r\n2000\r\n", "", "c\r\n\r\n\r\n"}) {
        w = ReadWarrantyFile(s, files.write(QStringLiteral("gar4.txt"), few));
        EXPECT_FALSE(w.end.done());
        EXPECT_EQ(w.messages.size(), 1);
    }
}

TEST(HostileNumbers, ResultFileJunkIsRefusedNamingTheLine) {
    double A = 7, B = 8, K = 9;
    QString error;
    for (const char* text : {"", "\n\n\n", "nan\n1\n1\n", "1\ninf\n1\n", "1\n2\n1e400\n",
                             "0x10\n1\n1\n", "1,2,3\n1\n1\n", "1\n2\n",
                             "\xFF\xFE"
                             "1\0\n\0"}) {
        A = 7;
        error.clear();
        EXPECT_FALSE(parseResultText(QByteArray(text), A, B, K, error)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
    }
    EXPECT_TRUE(parseResultText(" 1,5 \r\n\t2000.25\t\r\n1\r\nignored\r\n", A, B, K, error));
    EXPECT_EQ(A, 1.5);
    EXPECT_EQ(B, 2000.25);
    EXPECT_EQ(K, 1);
}

} // namespace
} // namespace wf::hostile
