#include "core/numbers.h"
#include "tests/support/locales.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {

struct LeadingCase {
    const char* text;
    double value;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
    const LeadingCase cases[] = {
        {"10 ", 10}, {"20.5", 20.5},    {"abc", 0},       {"", 0},       {"  7", 7}, {"-3x", -3},
        {"12 ", 12}, {"5.4", 5.4},      {".5", 0.5},      {"1e3", 1000}, {"1e", 1},  {"+2", 2},
        {"-", 0},    {"2.45abc", 2.45}, {"15374", 15374}, {"1e999", 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(core::leadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST(StrictNumber, AcceptsOnlyAWholeNumberText) {
    EXPECT_EQ(core::strictNumber(QStringLiteral("10 ")), 10.0);
    EXPECT_EQ(core::strictNumber(QStringLiteral(" 20.5")), 20.5);
    EXPECT_FALSE(core::strictNumber(QStringLiteral("abc")));
    EXPECT_FALSE(core::strictNumber(QStringLiteral("")));
    EXPECT_FALSE(core::strictNumber(QStringLiteral("10x")));
    EXPECT_FALSE(core::strictNumber(QStringLiteral("1 0")));
}

TEST(RoundHalfEven, ExactHalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(core::roundHalfEven(0.5), 0);
    EXPECT_EQ(core::roundHalfEven(1.5), 2);
    EXPECT_EQ(core::roundHalfEven(2.5), 2);
    EXPECT_EQ(core::roundHalfEven(-2.5), -2);
    EXPECT_EQ(core::roundHalfEven(21.5), 22);
    EXPECT_EQ(core::roundHalfEven(22.5), 22);
    EXPECT_EQ(core::roundHalfEven(2.6), 3);
    EXPECT_DOUBLE_EQ(core::roundHalfEven(2.4445, 3), 2.444);
    EXPECT_DOUBLE_EQ(core::roundHalfEven(2.4455, 3), 2.446);
    EXPECT_DOUBLE_EQ(core::roundHalfEven(1.23456, 3), 1.235);
    // A hair off the half is no half: the double itself is rounded, never a shorter text of it.
    EXPECT_EQ(core::roundHalfEven(2.5000000000000004), 3);
    EXPECT_EQ(core::roundHalfEven(3.4999999999999956), 3);
    EXPECT_EQ(core::roundHalfEven(10.500000000000009), 11);
    EXPECT_DOUBLE_EQ(core::roundHalfEven(0.5015, 3), 0.501);  // the double lies below the half
}

TEST(NumberText, WritesDecimalTextWithoutTrailingZeros) {
    EXPECT_EQ(core::numberText(2.45), QStringLiteral("2.45"));
    EXPECT_EQ(core::numberText(0), QStringLiteral("0"));
    EXPECT_EQ(core::numberText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(core::numberText(10), QStringLiteral("10"));
    EXPECT_EQ(core::numberText(15374), QStringLiteral("15374"));
    EXPECT_EQ(core::numberText(-3), QStringLiteral("-3"));
    EXPECT_EQ(core::numberText(1234567890123.0), QStringLiteral("1234567890123"));
    EXPECT_EQ(core::numberText(0.1 + 0.2), QStringLiteral("0.3"));
}

// The windows run under the user's locale, where the decimal mark may be a comma; stored
// numbers always use a point.
TEST(Numbers, ReadAndRoundWithAPointUnderACommaLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!testing_support::setLocale(LC_NUMERIC, "de_DE.UTF-8")) {
        GTEST_SKIP() << "de_DE.UTF-8 is neither installed nor made by the build (localedef and "
                        "the Debian package locales are needed)";
    }
    const std::string mark = std::localeconv()->decimal_point;
    const double read = core::leadingNumber(QStringLiteral("20.5"));
    const auto strict = core::strictNumber(QStringLiteral("2.45"));
    const double rounded = core::roundHalfEven(2.4455, 3);
    std::setlocale(LC_NUMERIC, before.c_str());
    ASSERT_EQ(mark, ",") << "the locale writes numbers with a decimal comma";
    EXPECT_EQ(read, 20.5);
    EXPECT_EQ(strict, 2.45);
    EXPECT_DOUBLE_EQ(rounded, 2.446);
}

}  // namespace
