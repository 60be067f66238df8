#include "server/protocol.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace zorva::server {
namespace {

TEST(TimeText, WritesTwoDecimalsWithAPoint) {
    EXPECT_EQ(formatTime(0), "0.00");
    EXPECT_EQ(formatTime(-0.0), "0.00");
    EXPECT_EQ(formatTime(12.5), "12.50");
    EXPECT_EQ(formatTime(104.375), "104.38");
    EXPECT_EQ(formatTime(-3.0), "-3.00");
}

TEST(TimeText, WritesNeverTimeInFullAndReadsItBack) {
    const std::string text = formatTime(kNeverTime);
    ASSERT_EQ(text.size(), 308u + 3u);
    EXPECT_EQ(text.substr(308), ".00");
    const auto back = parseTime(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, kNeverTime);
    EXPECT_TRUE(isNeverTime(*back));
    EXPECT_FALSE(isNeverTime(1e300));
}

TEST(TimeText, IgnoresTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no comma locale installed";
    EXPECT_EQ(formatTime(2.25), "2.25");
    EXPECT_EQ(parseTime("2.25"), 2.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(TimeText, ReadsWhatClientsSend) {
    EXPECT_EQ(parseTime(" 17.52 "), 17.52);
    EXPECT_EQ(parseTime("7"), 7.0);
    EXPECT_EQ(parseTime("3,50"), 3.5);
    EXPECT_EQ(parseTime(""), std::nullopt);
    EXPECT_EQ(parseTime("12.5x"), std::nullopt);
    EXPECT_EQ(parseTime("abc"), std::nullopt);
    EXPECT_EQ(parseTime("inf"), std::nullopt);
    EXPECT_EQ(parseTime("nan"), std::nullopt);
    EXPECT_EQ(parseTime("1" + std::string(400, '0')), std::nullopt);
}

TEST(LineText, TrimsAndSanitizes) {
    EXPECT_EQ(trim("\t $$name:a \r\n"), "$$name:a");
    EXPECT_EQ(trim(" \x01 "), "");
    EXPECT_EQ(sanitize(std::string("a\rb\nc\0d", 7)), "a b c d");
}

}  // namespace
}  // namespace zorva::server
