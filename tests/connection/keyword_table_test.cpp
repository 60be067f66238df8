#include "engine/connection/keyword_table.h"

#include <gtest/gtest.h>

namespace zorva {
namespace {

TEST(KeywordTable, HighestIndexWinsWhereverItStands) {
    EXPECT_EQ(MatchKeyword("$$?1!!a!!b $$from:x").keyword, kwFrom);
    EXPECT_EQ(MatchKeyword("$$from:1.00!!a!!$$unknown:").keyword, kwUnknown);
    EXPECT_EQ(MatchKeyword("$$simtime:7").keyword, kwSimTime);
    EXPECT_EQ(MatchKeyword("$$time:7").keyword, kwTime);
    EXPECT_EQ(MatchKeyword("$$!3!!a!!b").keyword, kwReply);
    EXPECT_EQ(MatchKeyword("hello").keyword, kwNone);
    EXPECT_EQ(MatchKeyword("hello").fields, "hello");
    EXPECT_EQ(MatchKeyword("junk$$stop:5.00").fields, "5.00");
}

TEST(KeywordTable, SplitsAtTheFirstDoubleBang) {
    EXPECT_EQ(SplitField("12.50!!brimwest!!ShipL3").first, "12.50");
    EXPECT_EQ(SplitField("12.50!!brimwest!!ShipL3").second, "brimwest!!ShipL3");
    EXPECT_EQ(SplitField("12.50").second, "");
    EXPECT_EQ(TrimLine(" \t$$time:1\r\x01"), "$$time:1");
}

}  // namespace
}  // namespace zorva
