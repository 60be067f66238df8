#include "wire/protocol.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace zorva {
namespace {

TEST(TimeText, WritesTwoDecimalsWithAPoint) {
    EXPECT_EQ(FormatTime(0), "0.00");
    EXPECT_EQ(FormatTime(-0.0), "0.00");
    EXPECT_EQ(FormatTime(12.5), "12.50");
    EXPECT_EQ(FormatTime(104.375), "104.38");
    EXPECT_EQ(FormatTime(-3.0), "-3.00");
}

TEST(TimeText, WritesNeverTimeInFullAndReadsItBack) {
    const std::string text = FormatTime(NeverTime);
    ASSERT_EQ(text.size(), 308u + 3u);
    EXPECT_EQ(text.substr(308), ".00");
    const auto back = ParseTime(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, NeverTime);
    EXPECT_TRUE(IsNeverTime(*back));
    EXPECT_FALSE(IsNeverTime(1e300));
}

TEST(TimeText, IgnoresTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no comma locale installed";
    EXPECT_EQ(FormatTime(2.25), "2.25");
    EXPECT_EQ(ParseTime("2.25"), 2.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(TimeText, ReadsWhatClientsSend) {
    EXPECT_EQ(ParseTime(" 17.52 "), 17.52);
    EXPECT_EQ(ParseTime("7"), 7.0);
    EXPECT_EQ(ParseTime("3,50"), std::nullopt);
    EXPECT_EQ(ParseTimeFromAnyLocale("3,50"), 3.5) << "the server reads comma-locale models";
    EXPECT_EQ(ParseTime(""), std::nullopt);
    EXPECT_EQ(ParseTime("12.5x"), std::nullopt);
    EXPECT_EQ(ParseTime("abc"), std::nullopt);
    EXPECT_EQ(ParseTime("inf"), std::nullopt);
    EXPECT_EQ(ParseTime("nan"), std::nullopt);
    EXPECT_EQ(ParseTime("1" + std::string(400, '0')), std::nullopt);
}

TEST(LineText, TrimsAndSanitizes) {
    EXPECT_EQ(Trim("\t $$name:a \r\n"), "$$name:a");
    EXPECT_EQ(Trim(" \x01 "), "");
    EXPECT_EQ(Sanitize(std::string("a\rb\nc\0d", 7)), "a b c d");
}

}  // namespace
}  // namespace zorva
