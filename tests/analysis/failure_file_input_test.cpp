// Refused files, encodings, line ends and hostile input of the failure data file.
#include "analysis/failure_file.h"
#include "analysis/settings_file.h"
#include "fleet_files.h"
#include "format/messages.h"
#include "temp_files.h"

#include <gtest/gtest.h>

namespace wf {
namespace {

using test::dataFile;
using test::failure;
using test::joinLines;

const QString kPath = QStringLiteral("/data/f.txt");

QStringList goodFile() {
    return dataFile({QStringLiteral("Датчик"), QStringLiteral("Насос")},
                    {failure(QStringLiteral("150"), QStringLiteral("датчик температуры")),
                     failure(QStringLiteral("90,5"), QStringLiteral("НАСОС подачи")),
                     failure(QStringLiteral("0.2"), QStringLiteral("датчик")),
                     failure(QStringLiteral("2400"), QStringLiteral("прочее"))});
}

// A state loaded from the good file, to check that refusals leave it alone.
AnalysisState loadedState() {
    AnalysisState s;
    EXPECT_TRUE(parseFailureFile(s, joinLines(goodFile()), kPath).end.done());
    return s;
}

void expectSameState(const AnalysisState& a, const AnalysisState& b) {
    ASSERT_EQ(a.Otkazy.size(), b.Otkazy.size());
    for (std::size_t i = 0; i < a.Otkazy.size(); ++i) {
        EXPECT_EQ(a.Otkazy[i].time, b.Otkazy[i].time);
        EXPECT_EQ(a.Otkazy[i].chey, b.Otkazy[i].chey);
        EXPECT_EQ(a.Otkazy[i].komment, b.Otkazy[i].komment);
    }
    ASSERT_EQ(a.Vidy_Otk_Sort.size(), b.Vidy_Otk_Sort.size());
    for (std::size_t i = 0; i < a.Vidy_Otk_Sort.size(); ++i)
        EXPECT_EQ(a.Vidy_Otk_Sort[i].Nazv_Prich, b.Vidy_Otk_Sort[i].Nazv_Prich);
    EXPECT_EQ(a.Kommentarij, b.Kommentarij);
    EXPECT_EQ(a.Sred_Gar, b.Sred_Gar);
    EXPECT_EQ(a.SKO_Gar, b.SKO_Gar);
    EXPECT_EQ(a.Kol_All, b.Kol_All);
    EXPECT_EQ(a.Park, b.Park);
    EXPECT_EQ(a.Kol_Prich, b.Kol_Prich);
    EXPECT_EQ(a.Kol_Otk, b.Kol_Otk);
    EXPECT_EQ(a.Kol_Otk_Bez_Braka, b.Kol_Otk_Bez_Braka);
    EXPECT_EQ(a.Dannye_Gotovy, b.Dannye_Gotovy);
    EXPECT_EQ(a.N_Perv_Otk, b.N_Perv_Otk);
    EXPECT_EQ(a.Naklon_LN, b.Naklon_LN);
    EXPECT_EQ(a.T10, b.T10);
    EXPECT_EQ(a.Otk_2000, b.Otk_2000);
    EXPECT_EQ(a.ModGen.K_powtor, b.ModGen.K_powtor);
}

struct RefusalCase {
    const char* name;
    QByteArray bytes;
    QString message;
};

TEST(FailureFileRefusal, BadFilesLeaveTheStateAlone) {
    QStringList causes51;
    for (int i = 0; i < 51; ++i) causes51 << QStringLiteral("п%1").arg(i);
    QStringList zeroFleet = goodFile();
    zeroFleet[3] = QStringLiteral("0");
    QStringList notNumber = goodFile();
    notNumber[2] = QStringLiteral("пятьсот");
    QStringList notWhole = goodFile();
    notWhole[4] = QStringLiteral("4.5");
    const std::vector<RefusalCase> cases = {
        {"empty", QByteArray(), msg::dataFileEmpty(kPath)},
        {"header ends", joinLines({QStringLiteral("Парк"), QStringLiteral("3000"), QString()}),
         msg::headerMissing(4, kPath)},
        {"not a number", joinLines(notNumber),
         msg::headerNotNumber(3, kPath, QStringLiteral("пятьсот"))},
        {"not whole", joinLines(notWhole),
         msg::headerNotWholeNumber(5, kPath, QStringLiteral("4.5"))},
        {"zero fleet", joinLines(zeroFleet), msg::fleetNotPositive(4, kPath)},
        {"ends in cause list",
         joinLines(dataFile({QStringLiteral("Датчик"), QStringLiteral("Насос")}, {})),
         msg::noFailureLines(kPath)},
        {"only blank failure lines",
         joinLines(
             dataFile({QStringLiteral("Датчик")}, {QString(25, QLatin1Char(' ')), QString()})),
         msg::noFailureLines(kPath)},
        {"51 causes",
         joinLines(dataFile(causes51, {failure(QStringLiteral("1"), QStringLiteral("x"))})),
         msg::tooManyCauses(50, kPath)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnalysisState s = loadedState();
        const AnalysisState before = s;
        const LoadResult r = parseFailureFile(s, c.bytes, kPath);
        EXPECT_FALSE(r.end.done());
        ASSERT_FALSE(r.messages.isEmpty());
        EXPECT_EQ(r.messages.back(), c.message);
        expectSameState(s, before);
    }
}

TEST(FailureFileRefusal, MissingFileIsRefusedAndSettingsKeepTheLastGoodPath) {
    test::TempFiles files;
    const QString settings = settingsFilePath();
    QFile saved(settings);
    const bool hadSettings = saved.exists() && saved.open(QIODevice::ReadOnly);
    const QByteArray savedBytes = hadSettings ? saved.readAll() : QByteArray();
    saved.close();

    const QString good = files.write(QStringLiteral("good.txt"), joinLines(goodFile()));
    AnalysisState s;
    ASSERT_TRUE(OpenFailureFile(s, good).end.done());
    EXPECT_EQ(readLastDataPath(), good);
    const AnalysisState before = s;
    const QString missing = files.path(QStringLiteral("нет такого.txt"));
    const LoadResult r = OpenFailureFile(s, missing);
    EXPECT_FALSE(r.end.done());
    EXPECT_EQ(r.messages, QStringList{msg::dataFileCannotOpen(missing)});
    expectSameState(s, before);
    EXPECT_EQ(OpenFailureFile(s, QString()).messages, QStringList{msg::noDataPath});
    expectSameState(s, before);
    const LoadResult dir = OpenFailureFile(s, files.path(QString()));
    EXPECT_FALSE(dir.end.done());
    const QString empty = files.write(QStringLiteral("empty.txt"), QByteArray());
    EXPECT_FALSE(OpenFailureFile(s, empty).end.done());
    EXPECT_EQ(readLastDataPath(), good);

    if (hadSettings) {
        QFile restore(settings);
        ASSERT_TRUE(restore.open(QIODevice::WriteOnly | QIODevice::Truncate));
        restore.write(savedBytes);
    } else {
        QFile::remove(settings);
    }
}

TEST(FailureFileEncoding, Cp1251AndUtf8GiveTheSameData) {
    const QString text = goodFile().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    AnalysisState cp, u8, bom;
    ASSERT_TRUE(parseFailureFile(cp, test::toCp1251(text), kPath).end.done());
    ASSERT_TRUE(parseFailureFile(u8, text.toUtf8(), kPath).end.done());
    ASSERT_TRUE(
        parseFailureFile(bom, QByteArray("\xEF\xBB\xBF") + text.toUtf8(), kPath).end.done());
    expectSameState(cp, u8);
    expectSameState(cp, bom);
    EXPECT_EQ(cp.Kommentarij, QStringLiteral("Тестовый парк"));
    EXPECT_EQ(bom.Kommentarij, QStringLiteral("Тестовый парк"));
    EXPECT_EQ(cp.Vidy_Otk[2].Nazv_Prich, QStringLiteral("Датчик"));
}

TEST(FailureFileEncoding, Cp1251TableCoversTheCyrillicRange) {
    EXPECT_EQ(cp1251ToUnicode(0xC0), u'А');
    EXPECT_EQ(cp1251ToUnicode(0xFF), u'я');
    EXPECT_EQ(cp1251ToUnicode(0xA8), u'Ё');
    EXPECT_EQ(cp1251ToUnicode(0xB8), u'ё');
    EXPECT_EQ(cp1251ToUnicode(0xB9), u'№');
    EXPECT_EQ(cp1251ToUnicode(0x96), u'–');
    EXPECT_EQ(cp1251ToUnicode(0x41), u'A');
    // CP1251 bytes of Russian text are not valid UTF-8.
    const QByteArray cp = test::toCp1251(QStringLiteral("Датчик"));
    EXPECT_FALSE(isValidUtf8(cp.constData(), static_cast<std::size_t>(cp.size())));
    EXPECT_FALSE(isValidUtf8("\xC0\x80", 2));     // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80", 3)); // surrogate
    EXPECT_TRUE(isValidUtf8("\xD0\x94", 2));
}

TEST(FailureFileEncoding, LineEndsCrLfLfAndLoneCr) {
    AnalysisState crlf, lf, cr;
    ASSERT_TRUE(parseFailureFile(crlf, joinLines(goodFile(), "\r\n"), kPath).end.done());
    ASSERT_TRUE(parseFailureFile(lf, joinLines(goodFile(), "\n"), kPath).end.done());
    ASSERT_TRUE(parseFailureFile(cr, joinLines(goodFile(), "\r"), kPath).end.done());
    expectSameState(crlf, lf);
    expectSameState(crlf, cr);
    EXPECT_EQ(crlf.Otkazy.size(), 4u);
    // Without a final line end the last line still counts.
    QByteArray noFinal = joinLines(goodFile());
    noFinal.chop(2);
    AnalysisState nf;
    ASSERT_TRUE(parseFailureFile(nf, noFinal, kPath).end.done());
    expectSameState(crlf, nf);
}

TEST(FailureFileHostile, NulBytesAndHugeLinesDoNotBreakLoading) {
    QByteArray bytes = joinLines(goodFile());
    bytes.append("300\t", 4);
    bytes.append(QByteArray(2'000'000, 'x'));
    bytes.append(" * ");
    bytes.append(QByteArray(100, '\0'));
    bytes.append("\r\n\0\0\0\r\n", 7);
    bytes.append(QByteArray("\t\0\0*\0", 5));
    AnalysisState s;
    const LoadResult r = parseFailureFile(s, bytes, kPath);
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(s.Otkazy.size(), 6u); // the NUL-only line is blank; the last has no time
    EXPECT_EQ(r.messages.size(), 1);
    // A header number longer than 64 characters is not a number.
    QStringList longNumber = goodFile();
    longNumber[1] = QString(65, QLatin1Char('1'));
    AnalysisState t;
    EXPECT_FALSE(parseFailureFile(t, joinLines(longNumber), kPath).end.done());
}

} // namespace
} // namespace wf
