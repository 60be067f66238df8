#include "wire/number_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "comma_locale.h"

namespace zorva {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// "-12.34" style text of cents / 100, built without any floating point.
std::string CentsText(int cents) {
    const int magnitude = std::abs(cents);
    const int fraction = magnitude % 100;
    return std::string(cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + (fraction < 10 ? "0" : "") +
           std::to_string(fraction);
}

TEST(FormatFixed, WritesThePattern) {
    EXPECT_EQ(FormatFixed(22.5, 2), "22.50");
    EXPECT_EQ(FormatFixed(120.0, 2), "120.00");
    EXPECT_EQ(FormatFixed(0.0, 2), "0.00");
    EXPECT_EQ(FormatFixed(103.83112, 2), "103.83");
    EXPECT_EQ(FormatFixed(-1.5, 2), "-1.50");
    EXPECT_EQ(FormatFixed(1234567.891, 2), "1234567.89");  // no grouping
    EXPECT_EQ(FormatFixed(0.0745878, 7), "0.0745878");
    EXPECT_EQ(FormatFixed(2.6, 0), "3");
    EXPECT_EQ(FormatFixed(2.6, -1), "3");
}

TEST(FormatFixed, RoundsTheExactBinaryValue) {
    EXPECT_EQ(FormatFixed(2.675, 2), "2.67");  // stored as 2.67499999...
    EXPECT_EQ(FormatFixed(1.005, 2), "1.00");  // stored as 1.00499999...
    EXPECT_EQ(FormatFixed(0.005, 2), "0.01");  // stored as 0.00500000...1
    EXPECT_EQ(FormatFixed(99.999, 2), "100.00");
}

TEST(FormatFixed, NeverWritesANegativeZero) {
    EXPECT_EQ(FormatFixed(-0.0, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.4, 0), "0");
    EXPECT_EQ(FormatFixed(-0.005, 2), "-0.01");
}

TEST(FormatFixed, WritesExtremesAndNonFiniteValues) {
    const double max = std::numeric_limits<double>::max();
    const std::string text = FormatFixed(max, 2);
    EXPECT_EQ(text.size(), 309u + 3u);
    EXPECT_EQ(ParseNumber(text), max);
    EXPECT_EQ(ParseNumber(FormatFixed(-max, 2)), -max);
    EXPECT_EQ(FormatFixed(kInf, 2), "inf");
    EXPECT_EQ(FormatFixed(-kInf, 2), "-inf");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "nan");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::quiet_NaN(), 2), "nan");
}

TEST(ParseNumber, ReadsDecimalNumbers) {
    EXPECT_EQ(ParseNumber("22.50"), 22.5);
    EXPECT_EQ(ParseNumber("120.00"), 120.0);
    EXPECT_EQ(ParseNumber("-1.5"), -1.5);
    EXPECT_EQ(ParseNumber("+1.5"), 1.5);
    EXPECT_EQ(ParseNumber("120"), 120.0);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("5."), 5.0);
    EXPECT_EQ(ParseNumber("2E38"), 2e38);
    EXPECT_EQ(ParseNumber("1e-5"), 1e-5);
    EXPECT_EQ(ParseNumber("0.00"), 0.0);
}

TEST(ParseNumber, RejectsAnythingElse) {
    for (const char* text :
         {"",      "+",     "-",  ".",  "+-1",  "-+1", "--1",  "++1",      "1,5", "22,50", " 1",     "1 ",    "1 000",
          "1.2.3", "12abc", "1e", "e5", "0x10", "inf", "-inf", "infinity", "nan", "1e400", "-1e400", "1e-400"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseNumber(text), std::nullopt);
    }
}

TEST(ParseNumber, ReadsBackEveryTwoDecimalText) {
    for (int cents = -100000; cents <= 100000; ++cents) {
        const std::string text = CentsText(cents);
        const std::optional<double> value = ParseNumber(text);
        ASSERT_TRUE(value.has_value()) << text;
        ASSERT_EQ(FormatFixed(*value, 2), text == "-0.00" ? "0.00" : text);
    }
}

TEST(ParseInteger, ReadsSignedDecimalIntegers) {
    EXPECT_EQ(ParseInteger("0"), 0);
    EXPECT_EQ(ParseInteger("12"), 12);
    EXPECT_EQ(ParseInteger("-12"), -12);
    EXPECT_EQ(ParseInteger("+12"), 12);
    EXPECT_EQ(ParseInteger("007"), 7);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(ParseInteger, RejectsAnythingElse) {
    for (const char* text : {"", "+", "-", "+-1", "--1", " 1", "1 ", "12abc", "1.0", "1e3", "0x1F", "$1F", "1,000",
                             "2147483648", "-2147483649", "99999999999999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseInteger(text), std::nullopt);
    }
}

using NumberTextUnderCommaProcessLocale = testutil::CommaProcessLocale;
using NumberTextUnderCommaCppLocale = testutil::CommaCppLocale;

TEST_F(NumberTextUnderCommaProcessLocale, StillUsesThePoint) {
    EXPECT_EQ(FormatFixed(22.5, 2), "22.50");
    EXPECT_EQ(FormatFixed(1234567.891, 2), "1234567.89");
    EXPECT_EQ(ParseNumber("22.50"), 22.5);
    EXPECT_EQ(ParseNumber("22,50"), std::nullopt);
    EXPECT_EQ(ParseInteger("1.000"), std::nullopt);
}

TEST_F(NumberTextUnderCommaCppLocale, StillUsesThePoint) {
    EXPECT_EQ(FormatFixed(22.5, 2), "22.50");
    EXPECT_EQ(FormatFixed(1234567.891, 2), "1234567.89");
    EXPECT_EQ(ParseNumber("22.50"), 22.5);
    EXPECT_EQ(ParseNumber("22,50"), std::nullopt);
}

}  // namespace
}  // namespace zorva
