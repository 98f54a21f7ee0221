// The result file of the external optimizer: three numbers, one per line.

#include "external/result_file.h"

#include "locale_guard.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <random>

namespace {

using wf::test::LocaleScope;

struct Abk {
    double A = -1, B = -1, K = -1;
    QString error;
    bool ok = false;
};

Abk parse(const QByteArray& text) {
    Abk r;
    r.ok = wf::parseResultText(text, r.A, r.B, r.K, r.error);
    return r;
}

TEST(ExternalResultText, PointOrCommaInAnyLocale) {
    for (const QLocale& l : {QLocale(QLocale::Russian, QLocale::Russia), QLocale::c(),
                             QLocale(QLocale::German, QLocale::Germany)}) {
        LocaleScope scope(l);
        for (const QByteArray& text :
             {QByteArray("1.85\n12000.5\n1.2\n"), QByteArray("1,85\r\n12000,5\r\n1,2\r\n"),
              QByteArray("1.85\n12000,5\n1.2")}) {
            const Abk r = parse(text);
            ASSERT_TRUE(r.ok) << l.name().toStdString() << ": " << r.error.toStdString();
            EXPECT_DOUBLE_EQ(r.A, 1.85);
            EXPECT_DOUBLE_EQ(r.B, 12000.5);
            EXPECT_DOUBLE_EQ(r.K, 1.2);
        }
    }
}

TEST(ExternalResultText, BlanksAndTabsAroundAreIgnored) {
    const Abk r = parse(" \t1.85\t \n\t\t12000.5   \n   1.2\t\r\n");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_DOUBLE_EQ(r.A, 1.85);
    EXPECT_DOUBLE_EQ(r.B, 12000.5);
    EXPECT_DOUBLE_EQ(r.K, 1.2);
}

TEST(ExternalResultText, SeventeenDigitsRoundTripExactly) {
    const double A = 0.1 + 0.2, B = 40001.0 / 3.0, K = 1e-7 / 3.0;
    for (const QLocale& l : {QLocale(QLocale::Russian, QLocale::Russia), QLocale::c()}) {
        LocaleScope scope(l);
        const Abk r = parse(QByteArray::number(A, 'g', 17) + '\n' + QByteArray::number(B, 'g', 17) +
                            '\n' + QByteArray::number(K, 'g', 17) + '\n');
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.A, A);
        EXPECT_EQ(r.B, B);
        EXPECT_EQ(r.K, K);
    }
    const Abk e = parse("1.5e+04\n2E3\n-0.25\n");
    ASSERT_TRUE(e.ok) << e.error.toStdString();
    EXPECT_EQ(e.A, 15000);
    EXPECT_EQ(e.B, 2000);
    EXPECT_EQ(e.K, -0.25);
}

TEST(ExternalResultText, ExtraLinesAreIgnored) {
    const Abk r = parse("2\n3000\n0.5\nnot a number\n\n7\n");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_DOUBLE_EQ(r.A, 2);
    EXPECT_DOUBLE_EQ(r.B, 3000);
    EXPECT_DOUBLE_EQ(r.K, 0.5);
}

TEST(ExternalResultText, MissingOrBadLinesAreNamed) {
    Abk r = parse("1.85\n12000.5\n");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("№3"))) << r.error.toStdString();

    r = parse("");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("№1")));

    r = parse("1.85\n12 000.5\n1.2\n");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("№2")));
    EXPECT_TRUE(r.error.contains(QStringLiteral("12 000.5")));

    r = parse("1.85\n\n1.2\n");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("№2")));

    for (const QByteArray& bad : {QByteArray("nan\n1\n1\n"), QByteArray("inf\n1\n1\n"),
                                  QByteArray("1,234.5\n1\n1\n"), QByteArray("1e999\n1\n1\n")}) {
        r = parse(bad);
        EXPECT_FALSE(r.ok) << bad.constData();
        EXPECT_TRUE(r.error.contains(QStringLiteral("№1"))) << bad.constData();
    }
}

TEST(ExternalResultText, RandomBytesNeverCrash) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> len(0, 40), byte(0, 255), pick(0, 5);
    const char digits[] = "0123456789.,-+e \t\n";
    for (int round = 0; round < 3000; ++round) {
        QByteArray text;
        const int n = len(rng);
        for (int i = 0; i < n; ++i)
            text += pick(rng) == 0 ? char(byte(rng)) : digits[byte(rng) % (sizeof digits - 1)];
        const Abk r = parse(text);
        EXPECT_EQ(r.ok, r.error.isEmpty());
    }
}

TEST(ExternalResultFile, ReadsOrNamesTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("optymum.txt"));
    double A = 0, B = 0, K = 0;
    QString error;
    EXPECT_FALSE(wf::readResultFile(path, A, B, K, error));
    EXPECT_TRUE(error.contains(path));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0.9\n500\n3\n");
    f.close();
    error.clear();
    ASSERT_TRUE(wf::readResultFile(path, A, B, K, error)) << error.toStdString();
    EXPECT_DOUBLE_EQ(A, 0.9);
    EXPECT_DOUBLE_EQ(B, 500);
    EXPECT_DOUBLE_EQ(K, 3);

    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("0.9\nabc\n3\n");
    f.close();
    EXPECT_FALSE(wf::readResultFile(path, A, B, K, error));
    EXPECT_TRUE(error.contains(path));
    EXPECT_TRUE(error.contains(QStringLiteral("№2")));
}

} // namespace
