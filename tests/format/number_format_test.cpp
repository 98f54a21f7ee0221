#include "format/number_format.h"
#include "locale_guard.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

using namespace wf::fmt;
using wf::test::commaLocale;
using wf::test::LocaleScope;

TEST(NumberFormat, FixedAndScientificUseTheLocaleSeparator) {
    LocaleScope g(commaLocale());
    EXPECT_EQ(fixed(2.352, 6, 4), QStringLiteral("2,3520"));
    EXPECT_EQ(fixed(1.5, 10, 3), QStringLiteral("     1,500"));
    EXPECT_EQ(scientific(5e-5, 12, 10), QStringLiteral("5,000000000E-005"));
    EXPECT_EQ(scientific(-1234.5, 0, 3), QStringLiteral("-1,23E+003"));
    EXPECT_EQ(scientific(1e-300, 0, 2), QStringLiteral("1,0E-300"));
    EXPECT_EQ(format(QStringLiteral("A=%10.3f B=%10.3f K=%10.3f"), {1.85, 12000.5, 1.2}),
              QStringLiteral("A=     1,850 B= 12000,500 K=     1,200"));
    EXPECT_EQ(format(QStringLiteral(" ЦФ=%-10.5f|"), {2.0}), QStringLiteral(" ЦФ=2,00000   |"));
    EXPECT_EQ(format(QStringLiteral("%3.1f%%"), {3.44}), QStringLiteral("3.4%").replace('.', ','));
}

TEST(NumberFormat, GeneralIsShortestWithFifteenDigits) {
    LocaleScope g(commaLocale());
    EXPECT_EQ(general(1500.5), QStringLiteral("1500,5"));
    EXPECT_EQ(general(300), QStringLiteral("300"));
    EXPECT_EQ(general(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(general(0.00001), QStringLiteral("0,00001"));
    EXPECT_EQ(general(1e-6), QStringLiteral("1E-6"));
    EXPECT_EQ(general(1.5e20), QStringLiteral("1,5E20"));
    EXPECT_EQ(general(-850.5), QStringLiteral("-850,5"));
    EXPECT_EQ(general(0), QStringLiteral("0"));
    EXPECT_EQ(general(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("NAN"));
}

TEST(NumberFormat, FixedSignificantFallsBackToScientific) {
    LocaleScope g(commaLocale());
    EXPECT_EQ(fixedSignificant(2537.4, 3, 1), QStringLiteral("2,54E3"));
    EXPECT_EQ(fixedSignificant(2537.4, 6, 3), QStringLiteral("2537,400"));
    EXPECT_EQ(fixedSignificant(350.25, 3, 1), QStringLiteral("350,0"));
    EXPECT_EQ(fixedSignificant(12.3456, 3, 1), QStringLiteral("12,3"));
    // The round trip the warranty fields rely on: 2,54E3 reads back as 2540.
    EXPECT_DOUBLE_EQ(*parseNumber(fixedSignificant(2537.4, 3, 1)), 2540.0);
}

// The window toolkit switches the C numeric locale to the user's; number text must not follow it.
TEST(NumberFormat, IndependentOfTheProcessNumericLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no comma locale installed";
    EXPECT_EQ(fixed(1.5, 0, 2), QStringLiteral("1.50"));
    EXPECT_EQ(scientific(1.5, 0, 3), QStringLiteral("1.50E+000"));
    EXPECT_DOUBLE_EQ(*parseNumber(QStringLiteral("1500.5")), 1500.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberFormat, IntegerTextRoundsHalvesToEven) {
    EXPECT_EQ(integer(2.5), QStringLiteral("2"));
    EXPECT_EQ(integer(3.5), QStringLiteral("4"));
    EXPECT_EQ(integer(-0.4), QStringLiteral("0"));
    EXPECT_EQ(integer(1234.49), QStringLiteral("1234"));
    EXPECT_EQ(grouped(12345.66, 1), QStringLiteral("12,345.7"));
    EXPECT_EQ(grouped(50.0, 1), QStringLiteral("50"));
}

TEST(NumberFormat, ParsingFollowsTheLocaleAndRefusesJunk) {
    {
        LocaleScope g(commaLocale());
        EXPECT_DOUBLE_EQ(*parseNumber(QStringLiteral(" 1,00025 ")), 1.00025);
        EXPECT_FALSE(parseNumber(QStringLiteral("1.5")));
        EXPECT_DOUBLE_EQ(*parseNumber(QStringLiteral("-2,5E3")), -2500.0);
    }
    EXPECT_DOUBLE_EQ(*parseNumber(QStringLiteral("1.5")), 1.5);
    for (const char* bad :
         {"", "   ", "abc", "1e400", "nan", "inf", "0x10", "1.5.2", "1e", "--1", "."})
        EXPECT_FALSE(parseNumber(QString::fromLatin1(bad))) << bad;
    EXPECT_DOUBLE_EQ(*parseNumber(QStringLiteral("-0")), 0.0);
    EXPECT_EQ(*parseNumber(QStringLiteral("1e-400")), 0.0); // underflow reads as zero
    EXPECT_FALSE(parseNumber(QStringLiteral("-1e400")));
    EXPECT_EQ(*parseInt(QStringLiteral(" 3000 ")), 3000);
    EXPECT_EQ(*parseInt(QStringLiteral("-2147483648")), -2147483647 - 1);
    for (const char* bad : {"", "2147483648", "1.5", "12a", "+", "99999999999999999999"})
        EXPECT_FALSE(parseInt(QString::fromLatin1(bad))) << bad;
}
