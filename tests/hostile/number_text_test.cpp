// Number text with hostile patterns and values: bounded, never undefined.

#include "hostile_util.h"

#include "format/number_format.h"

#include <limits>

namespace wf::hostile {
namespace {

// Found by fuzzing: a pattern width of ten digits overflowed the int it was read into.
TEST(HostileNumberText, FormatWidthAndPrecisionStopGrowingAtTheirLimit) {
    const QString wide = fmt::format(QStringLiteral("%44444444441d"), {3.0});
    EXPECT_EQ(wide.size(), 999);
    EXPECT_TRUE(wide.endsWith(QLatin1Char('3')));
    const QString precise = fmt::format(QStringLiteral("%.99999999999f"), {1.0});
    EXPECT_EQ(precise.size(), 2 + 999);
}

// The text of the largest double with many decimals is longer than the conversion buffer
// once was; it must come out whole, not as whatever the buffer held.
TEST(HostileNumberText, FixedOfTheLargestDoubleWithManyDecimalsIsComplete) {
    LocaleScope c(QLocale::c());
    const double big = std::numeric_limits<double>::max();
    const QString s = fmt::fixed(big, 0, 200);
    EXPECT_EQ(s.size(), 309 + 1 + 200);
    EXPECT_TRUE(s.startsWith(QStringLiteral("17976931348623157")));
    EXPECT_EQ(fmt::parseNumber(s.left(309)), big);
}

TEST(HostileNumberText, ParsingRefusesEveryNonNumber) {
    for (const char* t : {"", " ", "abc", "1e400", "-1e400", "nan", "inf", "-inf", "0x10", "1..2",
                          "1,2,3", "--1", "1e", "e5", "٣"}) {
        EXPECT_FALSE(fmt::parseNumber(QString::fromUtf8(t)).has_value()) << t;
    }
    for (const char* t : {"", "1.5", "2147483648", "-2147483649", "1e3", "abc", " "})
        EXPECT_FALSE(fmt::parseInt(QString::fromUtf8(t)).has_value()) << t;
    EXPECT_EQ(fmt::parseInt(QStringLiteral(" -2147483648 ")), std::numeric_limits<int>::min());
    EXPECT_EQ(fmt::parseNumber(QStringLiteral("1e-400")), 0.0); // underflow reads as 0
}

} // namespace
} // namespace wf::hostile
