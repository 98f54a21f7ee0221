// One fleet written in every encoding and line-end style a user may bring: each either
// loads to the very same failures or is refused with a message, never read as garbage.

#include "hostile_util.h"

#include "analysis/warranty_file.h"
#include "format/messages.h"
#include "stats/histogram.h"

#include <QStringEncoder>

namespace wf::hostile {
namespace {

AnalysisState loaded(const QByteArray& bytes) {
    AnalysisState s;
    const LoadResult r = parseFailureFile(s, bytes, QStringLiteral("fleet.txt"));
    EXPECT_TRUE(r.end.done()) << r.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(r.messages.isEmpty()) << r.messages.join(QLatin1Char('\n')).toStdString();
    return s;
}

void expectSameFleet(const AnalysisState& want, const AnalysisState& got) {
    expectUnchanged(Snapshot(want), got);
    EXPECT_EQ(want.Sred_Gar, got.Sred_Gar);
    EXPECT_EQ(want.SKO_Gar, got.SKO_Gar);
    EXPECT_EQ(want.Kol_Otk_Bez_Braka, got.Kol_Otk_Bez_Braka);
}

QByteArray utf8Text(const char* eol) {
    return (goodFleetLines().join(QString::fromLatin1(eol)) + QString::fromLatin1(eol)).toUtf8();
}

TEST(HostileEncoding, Cp1251Utf8AndUtf8WithBomLoadTheSameFailures) {
    const AnalysisState cp = loaded(goodFleetBytes());
    ASSERT_EQ(cp.Otkazy.size(), 31u);
    EXPECT_EQ(cp.Kommentarij, QStringLiteral("Парк для проверки"));
    expectSameFleet(cp, loaded(utf8Text("\r\n")));
    expectSameFleet(cp, loaded("\xEF\xBB\xBF" + utf8Text("\r\n")));
}

TEST(HostileEncoding, CrLfCrAndLfLineEndsAndNoFinalLineEndLoadTheSameFailures) {
    const AnalysisState crlf = loaded(goodFleetBytes("\r\n"));
    expectSameFleet(crlf, loaded(goodFleetBytes("\n")));
    expectSameFleet(crlf, loaded(goodFleetBytes("\r")));
    QByteArray noFinal = goodFleetBytes("\r\n");
    noFinal.chop(2);
    expectSameFleet(crlf, loaded(noFinal));
    // Mixed line ends within one file.
    QByteArray mixed = goodFleetBytes("\n");
    mixed.replace(QByteArray("\n0.5"), QByteArray("\r0.5"));
    expectSameFleet(crlf, loaded(mixed));
}

// Read byte by byte as 8-bit text, UTF-16 would give "1" for "1500" (the zero byte ends a
// number) and load a fleet with wrong numbers without complaint.
TEST(HostileEncoding, Utf16DataFileIsRefusedWithAMessageAndKeepsTheLoadedFleet) {
    const QString text = goodFleetLines().join(QStringLiteral("\r\n"));
    for (const auto enc : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
        for (const bool bom : {true, false}) {
            QStringEncoder encode(enc, bom ? QStringConverter::Flag::WriteBom
                                           : QStringConverter::Flag::Default);
            const QByteArray bytes = encode(text);
            AnalysisState s = loaded(goodFleetBytes());
            ASSERT_TRUE(Postr_Gist(s));
            const Snapshot before(s);
            const LoadResult r = parseFailureFile(s, bytes, QStringLiteral("u16.txt"));
            EXPECT_FALSE(r.end.done());
            ASSERT_FALSE(r.messages.isEmpty());
            EXPECT_EQ(r.messages.last(), msg::utf16Text(QStringLiteral("u16.txt")));
            expectUnchanged(before, s);
        }
    }
}

TEST(HostileEncoding, Utf16WarrantyFileIsRefusedAndTheWarrantyValuesStay) {
    TempFiles files;
    QStringEncoder encode(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QString path =
        files.write(QStringLiteral("gar16.txt"),
                    encode(QStringLiteral("Гарантия\r\n2000\r\n3000\r\n4000\r\n")));
    AnalysisState s = loaded(goodFleetBytes());
    const WarrantyResult r = ReadWarrantyFile(s, path);
    EXPECT_FALSE(r.end.done());
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_EQ(r.messages.first(), msg::utf16Text(path));
    EXPECT_EQ(s.Sred_Gar, 3000);
    EXPECT_EQ(s.SKO_Gar, 800);
    EXPECT_TRUE(s.Vremena_Gar.empty());
}

TEST(HostileEncoding, WarrantyFileInEveryLineEndAndUtf8ReadsTheSameTimes) {
    TempFiles files;
    const QString text = QStringLiteral("Гарантия");
    const QByteArray variants[] = {
        toCp1251(text) + "\r\n2000\r\n3000\r\n4000\r\n",
        toCp1251(text) + "\n2000\n3000\n4000",
        toCp1251(text) + "\r2000\r3000\r4000\r\r\r",
        "\xEF\xBB\xBF" + text.toUtf8() + "\n2000 h\n3000\n4000\n\n",
    };
    int k = 0;
    for (const QByteArray& bytes : variants) {
        AnalysisState s;
        const WarrantyResult r =
            ReadWarrantyFile(s, files.write(QStringLiteral("gar%1.txt").arg(k++), bytes));
        ASSERT_TRUE(r.end.done()) << k << r.messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(r.count, 3);
        EXPECT_EQ(s.Sred_Gar, 3000);
        EXPECT_EQ(s.SKO_Gar, 1000);
        EXPECT_EQ(s.Kommentarij, text);
    }
}

TEST(HostileEncoding, BinaryJunkIsRefusedNotLoaded) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 37) & 0xFF));
    AnalysisState s;
    const LoadResult r = parseFailureFile(s, junk, QStringLiteral("junk.bin"));
    EXPECT_FALSE(r.end.done());
    EXPECT_FALSE(r.messages.isEmpty());
    EXPECT_TRUE(s.Otkazy.empty());
}

} // namespace
} // namespace wf::hostile
