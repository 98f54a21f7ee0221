// Very large inputs: a 100 MB line, 100,000 cause lines, 100,000 failures. Each ends with
// a sound result or a message, quickly and within a bounded amount of memory.

#include "hostile_util.h"

#include "analysis/warranty_file.h"
#include "format/messages.h"
#include "stats/histogram.h"

#include <QFile>

#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define WF_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define WF_UNDER_SANITIZER 1
#endif
#endif

namespace wf::hostile {
namespace {

constexpr qint64 kHugeLine = 100LL * 1024 * 1024;

// Kilobytes of a "VmXXX:" line of /proc/self/status.
long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
    return -1;
}

// Starts a new peak: the high-water mark is reset to the current resident size.
bool resetPeak() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

// Writes `head`, then `size` bytes repeating `unit`, then `tail`, without holding it all.
QString writeLarge(TempFiles& files, const QString& name, const QByteArray& head,
                   const QByteArray& unit, qint64 size, const QByteArray& tail) {
    const QString path = files.path(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(head);
    QByteArray chunk;
    while (chunk.size() < 1024 * 1024) chunk += unit;
    chunk.truncate(1024 * 1024);
    for (qint64 left = size; left > 0; left -= chunk.size())
        f.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    f.write(tail);
    return path;
}

QByteArray header(int causes) {
    QByteArray h = toCp1251(QStringLiteral("Большой парк\r\n3000\r\n800\r\n1000\r\n2\r\n")) +
                   QByteArray::number(causes) + "\r\n";
    return h;
}

// Loads `path` and returns the growth of the peak resident size in bytes (-1 when it cannot
// be measured: no /proc, or a sanitizer's quarantine or shadow memory is resident too).
double loadMeasuringPeak(AnalysisState& s, const QString& path, LoadResult& r) {
    const bool peakReset = resetPeak();
    const long before = statusKb("VmRSS:");
    r = OpenFailureFile(s, path);
    const long peak = statusKb("VmHWM:");
#ifdef WF_UNDER_SANITIZER
    (void)peakReset;
    (void)before;
    (void)peak;
    return -1;
#else
    if (!peakReset || before <= 0 || peak <= 0) return -1;
    return static_cast<double>(peak - before) * 1024.0;
#endif
}

// The 100 MB of CP1251 become 200 MB of UTF-16; the budget allows the file's bytes, that
// text (3x), with room to spare; once the description was copied three more times (7x).
constexpr double kMemoryBudget = 4.0 * static_cast<double>(kHugeLine);

TEST(HostileSize, HundredMegabyteDescriptionLoadsWithinFourTimesItsSize) {
    TempFiles files;
    const QByteArray head = header(1) + toCp1251(QStringLiteral("Насос\r\n100\tНасос * "));
    const QByteArray tail = toCp1251(QStringLiteral("\r\n200\tНасос * течь по сальнику\r\n"));
    const QString path = writeLarge(files, QStringLiteral("huge.txt"), head,
                                    toCp1251(QStringLiteral("трещина,")), kHugeLine, tail);
    AnalysisState s;
    LoadResult r;
    const double growth = loadMeasuringPeak(s, path, r);
    ASSERT_TRUE(r.end.done()) << r.messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(s.Otkazy.size(), 2u);
    EXPECT_EQ(s.Otkazy[0].komment.size(), kHugeLine);
    EXPECT_TRUE(s.Otkazy[0].komment.startsWith(QStringLiteral("трещина,трещина")));
    EXPECT_EQ(s.Otkazy[1].komment, QStringLiteral("течь по сальнику"));
    EXPECT_LE(growth, kMemoryBudget);
    EXPECT_TRUE(Postr_Gist(s));
}

TEST(HostileSize, HundredMegabyteLineWithoutTabIsOneMessageWithinFourTimesItsSize) {
    TempFiles files;
    const QByteArray head =
        header(1) + toCp1251(QStringLiteral("Насос\r\n100\tНасос * течь по сальнику\r\n"));
    const QString path = writeLarge(files, QStringLiteral("junk.txt"), head, "0123456789 ",
                                    kHugeLine, "\r\n200\tНасос * течь\r\n");
    AnalysisState s;
    LoadResult r;
    const double growth = loadMeasuringPeak(s, path, r);
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(r.messages, QStringList{msg::badFailureLine(9, path)});
    ASSERT_EQ(s.Otkazy.size(), 3u);
    EXPECT_EQ(s.Otkazy[0].Pri, QStringLiteral("Брак"));
    EXPECT_LE(growth, kMemoryBudget);
}

TEST(HostileSize, HundredMegabyteHeaderOrWarrantyLineIsRefusedWithAMessage) {
    TempFiles files;
    const QString data = writeLarge(files, QStringLiteral("longnum.txt"),
                                    toCp1251(QStringLiteral("Парк\r\n")), "1", kHugeLine, "");
    AnalysisState s;
    const LoadResult r = OpenFailureFile(s, data);
    EXPECT_FALSE(r.end.done());
    ASSERT_FALSE(r.messages.isEmpty());
    EXPECT_TRUE(r.messages.last().contains(QStringLiteral("не является числом")))
        << r.messages.last().left(200).toStdString();

    const QString gar =
        writeLarge(files, QStringLiteral("gar_long.txt"), "c\r\n", "12", kHugeLine, "\r\n5\r\n");
    s.Sred_Gar = 3000;
    const WarrantyResult w = ReadWarrantyFile(s, gar);
    EXPECT_FALSE(w.end.done());
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_LT(w.messages.first().size(), 1000); // the message quotes a bounded prefix
    EXPECT_EQ(s.Sred_Gar, 3000);
}

TEST(HostileSize, HundredThousandCauseLinesAreRefusedAfterTheLimit) {
    QByteArray bytes = header(100000);
    for (int i = 0; i < 100000; ++i) bytes += "cause " + QByteArray::number(i) + "\r\n";
    bytes += "100\tcause 7 * a failure line long enough\r\n";
    AnalysisState s;
    const LoadResult r = parseFailureFile(s, bytes, QStringLiteral("causes.txt"));
    EXPECT_FALSE(r.end.done());
    ASSERT_FALSE(r.messages.isEmpty());
    EXPECT_EQ(r.messages.last(), msg::tooManyCauses(kMaxFileCauses, QStringLiteral("causes.txt")));
    EXPECT_TRUE(s.Otkazy.empty());
}

TEST(HostileSize, HundredThousandFailuresWithDistinctCauseTextsLoadAndBuildTheHistogram) {
    QByteArray bytes = header(3) + "alpha\r\nbeta\r\ngamma\r\n";
    for (int i = 0; i < 100000; ++i)
        bytes += QByteArray::number(1 + (i * 7919) % 20000) + "\t" +
                 (i % 4 == 0   ? "alpha"
                  : i % 4 == 1 ? "beta"
                  : i % 4 == 2 ? "gamma"
                               : "unknown") +
                 " part " + QByteArray::number(i) + " * failure number " + QByteArray::number(i) +
                 "\r\n";
    AnalysisState s;
    const LoadResult r = parseFailureFile(s, bytes, QStringLiteral("many.txt"));
    ASSERT_TRUE(r.end.done());
    ASSERT_EQ(s.Otkazy.size(), 100000u);
    EXPECT_EQ(s.Kol_Otk, 100001);
    EXPECT_FALSE(r.fields.generations.has_value()); // more than 99999 lines: field unchanged
    for (std::size_t i = 1; i < s.Otkazy.size(); ++i)
        ASSERT_LE(s.Otkazy[i - 1].time, s.Otkazy[i].time);
    ASSERT_TRUE(Postr_Gist(s));
    long total = 0;
    for (const Hist_Rec& h : s.Hist) total += h.Sum;
    EXPECT_EQ(total, 100000);
}

} // namespace
} // namespace wf::hostile
