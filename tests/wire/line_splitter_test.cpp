#include "wire/line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorva {
namespace {

std::vector<std::string> drain(LineSplitter& splitter) {
    std::vector<std::string> lines;
    while (auto line = splitter.takeLine()) lines.push_back(*line);
    return lines;
}

TEST(LineSplitter, ReassemblesLinesSplitAcrossReads) {
    LineSplitter splitter;
    splitter.feed("$$conti");
    EXPECT_TRUE(drain(splitter).empty());
    splitter.feed("nue:5.00\r");
    EXPECT_TRUE(drain(splitter).empty());
    splitter.feed("\n$$newevent:7.00\r\n$$to");
    EXPECT_EQ(drain(splitter), (std::vector<std::string>{"$$continue:5.00", "$$newevent:7.00"}));
    splitter.feed("client: x!!y\r\n");
    EXPECT_EQ(drain(splitter), (std::vector<std::string>{"$$toclient: x!!y"}));
}

TEST(LineSplitter, AcceptsBareLineFeedsAndKeepsEmptyLines) {
    LineSplitter splitter;
    splitter.feed("a\n\r\nb\r\n");
    EXPECT_EQ(drain(splitter), (std::vector<std::string>{"a", "", "b"}));
}

TEST(LineSplitter, DropsAnOversizedLineOnceAndCarriesOn) {
    LineSplitter splitter(8);
    splitter.feed("12345678\r\n");  // exactly at the cap: kept
    splitter.feed("123456789");
    splitter.feed(std::string(100, 'x'));
    splitter.feed("\r\nafter\r\n");
    EXPECT_EQ(drain(splitter), (std::vector<std::string>{"12345678", "after"}));
    EXPECT_EQ(splitter.takeDroppedCount(), 1u);
    EXPECT_EQ(splitter.takeDroppedCount(), 0u);
}

TEST(LineSplitter, CountsEveryOversizedLineInOneRead) {
    LineSplitter splitter(4);
    splitter.feed("aaaaaaa\r\nok\r\nbbbbbbbbbb\r\n");
    EXPECT_EQ(drain(splitter), (std::vector<std::string>{"ok"}));
    EXPECT_EQ(splitter.takeDroppedCount(), 2u);
}

TEST(LineSplitter, HandsOverTheUnterminatedRestAtTheEnd) {
    LineSplitter splitter(4);
    splitter.feed("one\r\ntwo");
    EXPECT_EQ(drain(splitter), (std::vector<std::string>{"one"}));
    EXPECT_EQ(splitter.takeRest(), "two");
    EXPECT_EQ(splitter.takeRest(), std::nullopt);
    splitter.feed("toolong");
    EXPECT_EQ(splitter.takeRest(), std::nullopt);
    splitter.feed("ok\r\n");
    EXPECT_EQ(drain(splitter), (std::vector<std::string>{"ok"}));
}

}  // namespace
}  // namespace zorva
