#include "wire/line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorva {
namespace {

std::vector<std::string> Drain(LineSplitter& splitter) {
    std::vector<std::string> lines;
    while (auto line = splitter.TakeLine()) lines.push_back(*line);
    return lines;
}

TEST(LineSplitter, ReassemblesLinesSplitAcrossReads) {
    LineSplitter splitter;
    splitter.Feed("$$conti");
    EXPECT_TRUE(Drain(splitter).empty());
    splitter.Feed("nue:5.00\r");
    EXPECT_TRUE(Drain(splitter).empty());
    splitter.Feed("\n$$newevent:7.00\r\n$$to");
    EXPECT_EQ(Drain(splitter), (std::vector<std::string>{"$$continue:5.00", "$$newevent:7.00"}));
    splitter.Feed("client: x!!y\r\n");
    EXPECT_EQ(Drain(splitter), (std::vector<std::string>{"$$toclient: x!!y"}));
}

TEST(LineSplitter, AcceptsBareLineFeedsAndKeepsEmptyLines) {
    LineSplitter splitter;
    splitter.Feed("a\n\r\nb\r\n");
    EXPECT_EQ(Drain(splitter), (std::vector<std::string>{"a", "", "b"}));
}

TEST(LineSplitter, DropsAnOversizedLineOnceAndCarriesOn) {
    LineSplitter splitter(8);
    splitter.Feed("12345678\r\n");  // exactly at the cap: kept
    splitter.Feed("123456789");
    splitter.Feed(std::string(100, 'x'));
    splitter.Feed("\r\nafter\r\n");
    EXPECT_EQ(Drain(splitter), (std::vector<std::string>{"12345678", "after"}));
    EXPECT_EQ(splitter.TakeDroppedCount(), 1u);
    EXPECT_EQ(splitter.TakeDroppedCount(), 0u);
}

TEST(LineSplitter, CountsEveryOversizedLineInOneRead) {
    LineSplitter splitter(4);
    splitter.Feed("aaaaaaa\r\nok\r\nbbbbbbbbbb\r\n");
    EXPECT_EQ(Drain(splitter), (std::vector<std::string>{"ok"}));
    EXPECT_EQ(splitter.TakeDroppedCount(), 2u);
}

TEST(LineSplitter, HandsOverTheUnterminatedRestAtTheEnd) {
    LineSplitter splitter(4);
    splitter.Feed("one\r\ntwo");
    EXPECT_EQ(Drain(splitter), (std::vector<std::string>{"one"}));
    EXPECT_EQ(splitter.TakeRest(), "two");
    EXPECT_EQ(splitter.TakeRest(), std::nullopt);
    splitter.Feed("toolong");
    EXPECT_EQ(splitter.TakeRest(), std::nullopt);
    splitter.Feed("ok\r\n");
    EXPECT_EQ(Drain(splitter), (std::vector<std::string>{"ok"}));
}

}  // namespace
}  // namespace zorva
