#include "analysis/failure_file.h"
#include "analysis/warranty_file.h"
#include "fleet_files.h"
#include "format/messages.h"
#include "locale_guard.h"
#include "temp_files.h"

#include <gtest/gtest.h>

namespace wf {
namespace {

using test::joinLines;

AnalysisState withExecutedModels() {
    AnalysisState s;
    for (Mod_Weib* m : {&s.ModNewton, &s.ModSpir, &s.ModSmirnov, &s.ModGen, &s.ModExt})
        m->Executed = true;
    s.Sred_Gar = 1234;
    s.SKO_Gar = 56;
    s.Kommentarij = QStringLiteral("прежний");
    return s;
}

bool anyExecuted(const AnalysisState& s) {
    return s.ModNewton.Executed || s.ModSpir.Executed || s.ModSmirnov.Executed ||
           s.ModGen.Executed || s.ModExt.Executed;
}

TEST(WarrantyFile, SampleStandardDeviation) {
    test::TempFiles files;
    const QString path =
        files.write(QStringLiteral("gar1.txt"),
                    joinLines({QStringLiteral("Гарантия партии 5"), QStringLiteral("2000"),
                               QStringLiteral("  3000 ч, второй"), QString(),
                               QStringLiteral("4000"), QString(), QStringLiteral("   ")}));
    AnalysisState s = withExecutedModels();
    const WarrantyResult r = ReadWarrantyFile(s, path);
    ASSERT_TRUE(r.end.done()) << r.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(s.Sred_Gar, 3000);
    EXPECT_EQ(s.SKO_Gar, 1000); // n - 1 in the divisor, not 816.5
    EXPECT_EQ(s.Vremena_Gar, (DoubArr{2000, 3000, 4000}));
    EXPECT_EQ(s.Kommentarij, QStringLiteral("Гарантия партии 5"));
    EXPECT_EQ(r.fields.caption, QStringLiteral("Гарантия партии 5"));
    EXPECT_EQ(r.fields.count, QStringLiteral("3"));
    EXPECT_FALSE(anyExecuted(s));
    EXPECT_TRUE(s.Dannye_Gotovy);
}

TEST(WarrantyFile, FieldFormatsInACommaLocale) {
    test::LocaleScope comma(test::commaLocale());
    test::TempFiles files;
    // Mean 2537.4; SD 350.25 from three equally spaced times.
    const QString path =
        files.write(QStringLiteral("gar2.txt"),
                    joinLines({QStringLiteral("к"), QStringLiteral("2187.15"),
                               QStringLiteral("2537.4"), QStringLiteral("2887.65")}));
    AnalysisState s;
    const WarrantyResult r = ReadWarrantyFile(s, path);
    ASSERT_TRUE(r.end.done());
    EXPECT_NEAR(s.Sred_Gar, 2537.4, 1e-9); // summing three doubles rounds
    EXPECT_NEAR(s.SKO_Gar, 350.25, 1e-9);
    EXPECT_EQ(r.fields.mean, QStringLiteral("2537,400"));
    EXPECT_EQ(r.fields.sd, QStringLiteral("350,250"));
    EXPECT_EQ(r.fields.warrantyMean, QStringLiteral("2,54E3"));
    EXPECT_EQ(r.fields.warrantySd, QStringLiteral("350,0"));
}

TEST(WarrantyFile, MissingFile) {
    test::TempFiles files;
    AnalysisState s = withExecutedModels();
    s.Dannye_Gotovy = true;
    const WarrantyResult r = ReadWarrantyFile(s, files.path(QStringLiteral("gar_none.txt")));
    EXPECT_FALSE(r.end.done());
    EXPECT_EQ(r.messages, QStringList{QStringLiteral("Указанный файл не существует")});
    EXPECT_FALSE(s.Dannye_Gotovy);
    EXPECT_TRUE(s.ModSpir.Executed); // the file never opened
    EXPECT_EQ(s.Sred_Gar, 1234);
}

TEST(WarrantyFile, NothingChosenChangesNothing) {
    AnalysisState s = withExecutedModels();
    s.Dannye_Gotovy = true;
    const WarrantyResult r = ReadWarrantyFile(s, QString());
    EXPECT_FALSE(r.end.done());
    EXPECT_EQ(r.messages, QStringList{msg::fileDoesNotExist});
    EXPECT_TRUE(s.Dannye_Gotovy);
    EXPECT_TRUE(s.ModSpir.Executed);
    EXPECT_TRUE(r.fields.fileText.isEmpty());
}

TEST(WarrantyFile, BadLineLeavesStatisticsAlone) {
    test::TempFiles files;
    const QString path =
        files.write(QStringLiteral("gar3.txt"),
                    joinLines({QStringLiteral("к"), QStringLiteral("2000"), QStringLiteral("3000"),
                               QStringLiteral("три тысячи"), QStringLiteral("4000")}));
    AnalysisState s = withExecutedModels();
    const WarrantyResult r = ReadWarrantyFile(s, path);
    EXPECT_FALSE(r.end.done());
    EXPECT_EQ(r.messages, QStringList{msg::warrantyBadLine(4, path, QStringLiteral("три"))});
    EXPECT_EQ(s.Sred_Gar, 1234);
    EXPECT_EQ(s.SKO_Gar, 56);
    EXPECT_EQ(s.Kommentarij, QStringLiteral("прежний"));
    EXPECT_FALSE(anyExecuted(s)); // cleared once the file opened
    EXPECT_TRUE(s.Dannye_Gotovy);
}

TEST(WarrantyFile, FewerThanTwoTimesIsRefused) {
    test::TempFiles files;
    for (const QStringList& lines : {QStringList{QStringLiteral("к"), QStringLiteral("2500")},
                                     QStringList{QStringLiteral("к")}, QStringList{}}) {
        const QString path = files.write(QStringLiteral("gar4.txt"),
                                         lines.isEmpty() ? QByteArray() : joinLines(lines));
        AnalysisState s = withExecutedModels();
        const WarrantyResult r = ReadWarrantyFile(s, path);
        EXPECT_FALSE(r.end.done());
        EXPECT_EQ(r.count, lines.size() == 2 ? 1 : 0);
        EXPECT_EQ(r.messages, QStringList{msg::warrantyTooFewTimes(r.count, path)});
        EXPECT_EQ(s.Sred_Gar, 1234);
        EXPECT_FALSE(anyExecuted(s));
    }
}

TEST(WarrantyFile, AbbreviatedPath) {
    EXPECT_EQ(abbreviatedWarrantyPath(QStringLiteral("D:\\Данные\\2024\\gar_01.txt")),
              QStringLiteral("D:\\..\\gar_01.txt"));
    EXPECT_EQ(abbreviatedWarrantyPath(QStringLiteral("c:/x/gar.txt")),
              QStringLiteral("c:\\..\\gar.txt"));
    EXPECT_EQ(abbreviatedWarrantyPath(QStringLiteral("/home/user/data/gar.txt")),
              QStringLiteral("/home/../gar.txt"));
    EXPECT_EQ(abbreviatedWarrantyPath(QStringLiteral("/tmp/gar.txt")),
              QStringLiteral("/tmp/gar.txt"));
    EXPECT_EQ(abbreviatedWarrantyPath(QStringLiteral("gar.txt")), QStringLiteral("gar.txt"));
    test::TempFiles files;
    AnalysisState s;
    EXPECT_EQ(ReadWarrantyFile(s, QStringLiteral("/nonexistent/dir/gar9.txt")).fields.fileText,
              QStringLiteral("/nonexistent/../gar9.txt"));
}

TEST(WarrantyFile, DataFileLoadedAfterwardsReplacesWarrantyValues) {
    test::TempFiles files;
    const QString gar = files.write(
        QStringLiteral("gar5.txt"),
        joinLines({QStringLiteral("гарантия"), QStringLiteral("100"), QStringLiteral("300")}));
    AnalysisState s;
    ASSERT_TRUE(ReadWarrantyFile(s, gar).end.done());
    EXPECT_EQ(s.Sred_Gar, 200);
    const LoadResult r = parseFailureFile(
        s,
        joinLines(test::dataFile({}, {test::failure(QStringLiteral("10"), QStringLiteral("x"))},
                                 QStringLiteral("4000"), QStringLiteral("700"))),
        QStringLiteral("f.txt"));
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(s.Sred_Gar, 4000);
    EXPECT_EQ(s.SKO_Gar, 700);
    EXPECT_EQ(r.fields.warrantyMean, QStringLiteral("4000"));
    EXPECT_EQ(s.Kommentarij, QStringLiteral("Тестовый парк"));
}

} // namespace
} // namespace wf
