#include "wire/line_kinds.h"

#include <gtest/gtest.h>

#include "wire/protocol.h"

namespace zorva {
namespace {

TEST(LineKinds, AModelTakesTheLastKindOfTheTableWhereverItStands) {
    EXPECT_EQ(MatchLineToModel("$$?1!!a!!b $$from:x").Kind, LineKind::From);
    EXPECT_EQ(MatchLineToModel("$$from:1.00!!a!!$$unknown:").Kind, LineKind::Unknown);
    EXPECT_EQ(MatchLineToModel("$$simtime:7").Kind, LineKind::SimTime);
    EXPECT_EQ(MatchLineToModel("$$time:7").Kind, LineKind::Time);
    EXPECT_EQ(MatchLineToModel("$$!3!!a!!b").Kind, LineKind::Answer);
    EXPECT_EQ(MatchLineToModel("$$name:a").Kind, LineKind::None) << "not a line a server sends";
    EXPECT_EQ(MatchLineToModel("hello").Fields, "hello");
    EXPECT_EQ(MatchLineToModel("junk$$stop:5.00").Fields, "5.00");
}

TEST(LineKinds, TheServerTakesTheKindALineBeginsWith) {
    EXPECT_EQ(MatchLineToServer(" $$continue:5.00").Kind, LineKind::Continue);
    EXPECT_EQ(MatchLineToServer("$$toclient: east!!x").Fields, " east!!x");
    EXPECT_EQ(MatchLineToServer("$$time").Kind, LineKind::Command);
    EXPECT_EQ(MatchLineToServer("$$?1!!server!!time").Kind, LineKind::Question);
    EXPECT_EQ(MatchLineToServer("x $$continue:5.00").Kind, LineKind::None);
    EXPECT_EQ(MatchLineToServer("$$from:1!!a!!b").Kind, LineKind::Command) << "not a line a model sends";
}

TEST(LineKinds, LinesAreBuiltFromKeywordAndFields) {
    EXPECT_EQ(Line(LineKind::Continue, FormatTime(12.5)), "$$continue:12.50");
    EXPECT_EQ(Line(LineKind::ToClient, JoinFields({"brimeast", "ShipL3"})), "$$toclient: brimeast!!ShipL3");
    EXPECT_EQ(Line(LineKind::Answer, JoinFields({"4", "", "Yes"})), "$$!4!!!!Yes");
}

TEST(Fields, SplitAtTheSeparator) {
    EXPECT_EQ(SplitField("12.50!!brimwest!!ShipL3").first, "12.50");
    EXPECT_EQ(SplitField("12.50!!brimwest!!ShipL3").second, "brimwest!!ShipL3");
    EXPECT_EQ(SplitField("12.50").second, "");
    const auto three = SplitFields<3>("4!!west!!a!!b");
    EXPECT_EQ(three[2], "a!!b");
    EXPECT_EQ(SplitFields<3>("4")[1], "");
}

}  // namespace
}  // namespace zorva
