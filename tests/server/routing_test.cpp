#include "fake_output.h"

#include <gtest/gtest.h>

namespace zorva::server::testing {
namespace {

struct Lock : ::testing::Test {
    Lock() { Locks.Join({"obrimwest", "obrimeast"}); }
    Room Locks;
};

TEST_F(Lock, TextsReachTheModelWhoseNameEndsWithTheTarget) {
    Locks.Say(1, "$$toclient: brimeast!!ShipL3!!17.52!!104.37");
    EXPECT_EQ(Locks.Take(2), Lines{"$$from:0.00!!obrimwest!!ShipL3!!17.52!!104.37"});
    Locks.Say(2, "$$toclient: obrimwest!!ShipR");
    EXPECT_EQ(Locks.Take(1), Lines{"$$from:0.00!!obrimeast!!ShipR"});
}

TEST_F(Lock, UnknownAndAmbiguousTargetsAreToldToTheSender) {
    Locks.Say(1, "$$toclient: brimnorth!!hello");
    const auto unknown = Locks.Take(1);
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_TRUE(unknown[0].starts_with("$$unknown:")) << unknown[0];
    Locks.Say(1, "$$toclient: brim!!hello");
    const auto ambiguous = Locks.Take(1);
    ASSERT_EQ(ambiguous.size(), 1u);
    EXPECT_TRUE(ambiguous[0].starts_with("$$unknown:")) << ambiguous[0];
    Locks.Say(1, "$$toclient: !!hello");
    EXPECT_EQ(Locks.Take(1).size(), 1u);
    EXPECT_TRUE(Locks.Take(2).empty());
}

TEST_F(Lock, RelayedTextsCannotBreakTheReceiversLines) {
    Locks.Say(1, "$$toclient: brimeast!!a\rb\nc" + std::string(1, '\0') + "d");
    EXPECT_EQ(Locks.Take(2), Lines{"$$from:0.00!!obrimwest!!a b c d"});
}

TEST_F(Lock, QuestionsAndAnswersAreRoutedByNumberAndName) {
    Locks.Say(1, "$$?4!!brimeast!!Can you receive a ship?");
    EXPECT_EQ(Locks.Take(2), Lines{"$$?4!!obrimwest!!Can you receive a ship?"});
    Locks.Say(2, "$$!9!!obrimwest!!No");  // no such question: dropped
    Locks.Say(2, "$$!4!!obrimwest!!Yes");
    EXPECT_EQ(Locks.Take(1), Lines{"$$!4!!obrimeast!!Yes"});
    Locks.Say(2, "$$!4!!obrimwest!!Yes");  // answered already
    EXPECT_TRUE(Locks.Take(1).empty());
}

TEST_F(Lock, TheServerAnswersItsOwnQuestionsAndCommands) {
    Locks.Say(1, "$$continue:3.00");
    Locks.Say(2, "$$continue:3.00");
    Locks.Take(1);
    Locks.Take(2);
    Locks.Say(1, "$$?1!!server!!time");
    Locks.Say(1, "$$?2!!!!time");
    Locks.Say(1, "$$?3!!server!!what?");
    Locks.Say(1, "$$time");
    Locks.Say(1, "$$clients");
    Locks.Say(1, "$$toclient: server!!time");
    Locks.Say(1, "$$whatever");
    EXPECT_EQ(Locks.Take(1), (Lines{"$$!1!!server!!3.00", "$$!2!!server!!3.00", "$$!3!!server!!", "$$time:3.00",
                                    "$$clients:obrimwest, obrimeast"}));
    EXPECT_TRUE(Locks.Take(2).empty());
}

TEST_F(Lock, AQuestionToNoOneIsAnsweredEmptyAtOnce) {
    Locks.Say(1, "$$?5!!brimnorth!!anyone?");
    EXPECT_EQ(Locks.Take(1), Lines{"$$!5!!brimnorth!!"});
    Locks.Say(1, "$$?6");  // malformed: still answered
    EXPECT_EQ(Locks.Take(1).size(), 1u);
}

TEST_F(Lock, AnAnswererThatLeavesMidQuestionAnswersEmpty) {
    Locks.Say(1, "$$continue:1.00");
    Locks.Say(2, "$$continue:3.00");
    Locks.Take(1);
    Locks.Say(1, "$$?7!!brimeast!!Can you receive a ship?");
    Locks.Take(2);
    Locks.Server.Disconnected(2, "killed");
    EXPECT_EQ(Locks.Take(1), Lines{"$$!7!!obrimeast!!"});
    Locks.Say(1, "$$continue:2.00");
    EXPECT_EQ(Locks.Take(1), Lines{"$$continue:2.00"});
}

TEST_F(Lock, AnAskerThatLeavesLeavesNoOneWaiting) {
    Locks.Say(1, "$$continue:1.00");
    Locks.Say(2, "$$continue:3.00");
    Locks.Take(1);
    Locks.Say(1, "$$?1!!brimeast!!hello?");
    Locks.Server.Disconnected(1, "killed");
    Locks.Say(2, "$$!1!!obrimwest!!Yes");
    Locks.Say(2, "$$newevent:3.00");
    EXPECT_EQ(Locks.Take(2), (Lines{"$$?1!!obrimwest!!hello?", "$$continue:3.00"}));
}

TEST_F(Lock, GarbageIsIgnoredAndBadTimesAreTold) {
    for (const char* line : {"", "   ", "hello", "$", "$$", "\x01\x02", "$$continue", "$$?"}) Locks.Say(1, line);
    Locks.Say(1, "$$continue:soon");
    Locks.Say(2, "$$newevent:");
    const auto west = Locks.Take(1);
    ASSERT_FALSE(west.empty());
    EXPECT_TRUE(west.back().starts_with("$$unknown:")) << west.back();
    EXPECT_EQ(Locks.Take(2).size(), 1u);
    Locks.Server.LineDropped(1, 65536);
    EXPECT_TRUE(Locks.Out.Reports.back().find("65536") != std::string::npos);
    EXPECT_TRUE(Locks.Out.CutOff.empty());
}

}  // namespace
}  // namespace zorva::server::testing
