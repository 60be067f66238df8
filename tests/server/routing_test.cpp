#include "fake_output.h"

#include <gtest/gtest.h>

namespace zorva::server::testing {
namespace {

struct Lock : ::testing::Test {
    Lock() { room.join({"obrimwest", "obrimeast"}); }
    Room room;
};

TEST_F(Lock, TextsReachTheModelWhoseNameEndsWithTheTarget) {
    room.say(1, "$$toclient: brimeast!!ShipL3!!17.52!!104.37");
    EXPECT_EQ(room.take(2), Lines{"$$from:0.00!!obrimwest!!ShipL3!!17.52!!104.37"});
    room.say(2, "$$toclient: obrimwest!!ShipR");
    EXPECT_EQ(room.take(1), Lines{"$$from:0.00!!obrimeast!!ShipR"});
}

TEST_F(Lock, UnknownAndAmbiguousTargetsAreToldToTheSender) {
    room.say(1, "$$toclient: brimnorth!!hello");
    const auto unknown = room.take(1);
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_TRUE(unknown[0].starts_with("$$unknown:")) << unknown[0];
    room.say(1, "$$toclient: brim!!hello");
    const auto ambiguous = room.take(1);
    ASSERT_EQ(ambiguous.size(), 1u);
    EXPECT_TRUE(ambiguous[0].starts_with("$$unknown:")) << ambiguous[0];
    room.say(1, "$$toclient: !!hello");
    EXPECT_EQ(room.take(1).size(), 1u);
    EXPECT_TRUE(room.take(2).empty());
}

TEST_F(Lock, RelayedTextsCannotBreakTheReceiversLines) {
    room.say(1, "$$toclient: brimeast!!a\rb\nc" + std::string(1, '\0') + "d");
    EXPECT_EQ(room.take(2), Lines{"$$from:0.00!!obrimwest!!a b c d"});
}

TEST_F(Lock, QuestionsAndAnswersAreRoutedByNumberAndName) {
    room.say(1, "$$?4!!brimeast!!Can you receive a ship?");
    EXPECT_EQ(room.take(2), Lines{"$$?4!!obrimwest!!Can you receive a ship?"});
    room.say(2, "$$!9!!obrimwest!!No");  // no such question: dropped
    room.say(2, "$$!4!!obrimwest!!Yes");
    EXPECT_EQ(room.take(1), Lines{"$$!4!!obrimeast!!Yes"});
    room.say(2, "$$!4!!obrimwest!!Yes");  // answered already
    EXPECT_TRUE(room.take(1).empty());
}

TEST_F(Lock, TheServerAnswersItsOwnQuestionsAndCommands) {
    room.say(1, "$$continue:3.00");
    room.say(2, "$$continue:3.00");
    room.take(1);
    room.take(2);
    room.say(1, "$$?1!!server!!time");
    room.say(1, "$$?2!!!!time");
    room.say(1, "$$?3!!server!!what?");
    room.say(1, "$$time");
    room.say(1, "$$clients");
    room.say(1, "$$toclient: server!!time");
    room.say(1, "$$whatever");
    EXPECT_EQ(room.take(1), (Lines{"$$!1!!server!!3.00", "$$!2!!server!!3.00", "$$!3!!server!!", "$$time:3.00",
                                   "$$clients:obrimwest, obrimeast"}));
    EXPECT_TRUE(room.take(2).empty());
}

TEST_F(Lock, AQuestionToNoOneIsAnsweredEmptyAtOnce) {
    room.say(1, "$$?5!!brimnorth!!anyone?");
    EXPECT_EQ(room.take(1), Lines{"$$!5!!brimnorth!!"});
    room.say(1, "$$?6");  // malformed: still answered
    EXPECT_EQ(room.take(1).size(), 1u);
}

TEST_F(Lock, AnAnswererThatLeavesMidQuestionAnswersEmpty) {
    room.say(1, "$$continue:1.00");
    room.say(2, "$$continue:3.00");
    room.take(1);
    room.say(1, "$$?7!!brimeast!!Can you receive a ship?");
    room.take(2);
    room.server.disconnected(2, "killed");
    EXPECT_EQ(room.take(1), Lines{"$$!7!!obrimeast!!"});
    room.say(1, "$$continue:2.00");
    EXPECT_EQ(room.take(1), Lines{"$$continue:2.00"});
}

TEST_F(Lock, AnAskerThatLeavesLeavesNoOneWaiting) {
    room.say(1, "$$continue:1.00");
    room.say(2, "$$continue:3.00");
    room.take(1);
    room.say(1, "$$?1!!brimeast!!hello?");
    room.server.disconnected(1, "killed");
    room.say(2, "$$!1!!obrimwest!!Yes");
    room.say(2, "$$newevent:3.00");
    EXPECT_EQ(room.take(2), (Lines{"$$?1!!obrimwest!!hello?", "$$continue:3.00"}));
}

TEST_F(Lock, GarbageIsIgnoredAndBadTimesAreTold) {
    for (const char* line : {"", "   ", "hello", "$", "$$", "\x01\x02", "$$continue", "$$?"}) room.say(1, line);
    room.say(1, "$$continue:soon");
    room.say(2, "$$newevent:");
    const auto west = room.take(1);
    ASSERT_FALSE(west.empty());
    EXPECT_TRUE(west.back().starts_with("$$unknown:")) << west.back();
    EXPECT_EQ(room.take(2).size(), 1u);
    room.server.lineDropped(1, 65536);
    EXPECT_TRUE(room.out.reports.back().find("65536") != std::string::npos);
    EXPECT_TRUE(room.out.cutOff.empty());
}

}  // namespace
}  // namespace zorva::server::testing
