#include "fake_output.h"
#include "wire/protocol.h"

#include <gtest/gtest.h>

namespace zorva::server::testing {
namespace {

const std::string kNever = FormatTime(NeverTime);

TEST(Registration, GreetsWithTheCurrentTimeAndRefusesADuplicateName) {
    Room room;
    room.Server.Connected(1, "peer");
    EXPECT_EQ(room.Take(1), Lines{"$$hello:zorva-server!!0.00"});
    room.Say(1, "$$name:obrimwest");
    EXPECT_TRUE(room.Take(1).empty());

    room.Server.Connected(2, "peer");
    room.Take(2);
    room.Say(2, "$$name:obrimwest");
    const auto refused = room.Take(2);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(refused[0].starts_with("$$unknown:")) << refused[0];
    EXPECT_NE(refused[0].find("already in use"), std::string::npos);
    EXPECT_TRUE(room.Out.CutOff.contains(2));
    EXPECT_FALSE(room.Out.CutOff.contains(1));
}

TEST(Registration, RejectsNamesThatCannotBeAddressed) {
    Room room;
    room.Server.Connected(1, "peer");
    room.Take(1);
    for (const char* line : {"$$name:", "$$name:server", "$$name:a!!b"}) {
        room.Say(1, line);
        const auto answer = room.Take(1);
        ASSERT_EQ(answer.size(), 1u) << line;
        EXPECT_TRUE(answer[0].starts_with("$$unknown:")) << line;
    }
    EXPECT_TRUE(room.Out.CutOff.empty());
    room.Say(1, "$$continue:1.00");
    EXPECT_EQ(room.Take(1), Lines{"$$unknown:register with a name first"});
}

TEST(TimeGrants, NoTimeUntilEnoughModelsHaveRegistered) {
    Room room(TimeServerConfig{3, std::nullopt});
    room.Join({"a", "b"});
    room.Say(1, "$$continue:2.00");
    room.Say(2, "$$continue:2.00");
    EXPECT_TRUE(room.Take(1).empty());
    room.Join(3, "c");
    EXPECT_TRUE(room.Take(1).empty()) << "c counts at its greeting time until it asks";
    room.Say(3, "$$continue:4.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:2.00"});
}

TEST(TimeGrants, OneStepAtATimeAndEqualRequestsInNameOrder) {
    Room room;
    room.Join({"b", "a"});
    room.Say(1, "$$continue:3.00");
    EXPECT_TRUE(room.Take(1).empty()) << "a may still ask for less";
    room.Say(2, "$$continue:5.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:3.00"});
    EXPECT_EQ(room.Server.Time(), 3.0);
    room.Say(1, "$$continue:5.00");
    EXPECT_EQ(room.Take(2), Lines{"$$continue:5.00"});
    EXPECT_TRUE(room.Take(1).empty()) << "b waits while a runs its step";
    room.Say(2, "$$continue:6.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:5.00"});
}

// West runs at 2 and tells east, which waits for 10, of a ship.
Room& WestTellsEast(Room& room) {
    room.Join({"west", "east"});
    room.Say(1, "$$continue:2.00");
    room.Say(2, "$$continue:10.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:2.00"});
    room.Say(1, "$$toclient: east!!ship");
    EXPECT_EQ(room.Take(2), Lines{"$$from:2.00!!west!!ship"});
    return room;
}

TEST(TimeGrants, AReceiverCountsAtTheTextsTimeUntilItReports) {
    Room room;
    WestTellsEast(room);
    room.Say(1, "$$continue:6.00");
    EXPECT_TRUE(room.Take(1).empty()) << "east may have an event before 6 now";
    room.Say(2, "$$newevent:4.00");
    EXPECT_EQ(room.Take(2), Lines{"$$continue:4.00"});
    EXPECT_TRUE(room.Take(1).empty());
}

TEST(TimeGrants, EachLineHandedOverBetweenStepsNeedsItsOwnReport) {
    // East is asked, answers, and is told of a ship whose event lies 0.5
    // after its stamp; the report that follows the answer is not the ship's.
    Room room;
    room.Join({"west", "east", "north"});
    room.Say(1, "$$continue:1.00");
    room.Say(2, "$$continue:10.00");
    room.Say(3, "$$continue:3.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:1.00"});
    room.Say(1, "$$?1!!east!!Can you receive a ship?");
    room.Say(2, "$$!1!!west!!Yes");
    room.Say(1, "$$toclient: east!!ship");
    room.Say(1, "$$continue:8.00");
    room.Say(2, "$$newevent:10.00");  // after the question
    EXPECT_TRUE(room.Take(3).empty()) << "north passed the ship's event at 1.50";
    room.Say(2, "$$newevent:1.50");  // after the ship
    EXPECT_EQ(room.Take(2),
              (Lines{"$$?1!!west!!Can you receive a ship?", "$$from:1.00!!west!!ship", "$$continue:1.50"}));
    EXPECT_TRUE(room.Take(3).empty());
}

TEST(TimeGrants, LinesForAModelInItsStepWaitForItsNextLine) {
    Room room;
    room.Join({"west", "east"});
    room.Say(1, "$$continue:1.00");
    room.Say(2, "$$continue:5.00");
    room.Take(1);
    // Read at the next pass, such a line would be reported; read inside a
    // question, it would not. Kept, it goes where the model's next line says.
    room.Say(1, "$$toclient: nobody!!ship");
    room.Say(1, "$$time");
    EXPECT_TRUE(room.Take(1).empty());
    room.Say(1, "$$?1!!server!!time");
    const Lines inQuestion = room.Take(1);
    ASSERT_EQ(inQuestion.size(), 3u);
    EXPECT_TRUE(inQuestion[0].starts_with("$$unknown:")) << inQuestion[0];
    EXPECT_EQ(inQuestion[1], "$$time:1.00");
    EXPECT_EQ(inQuestion[2], "$$!1!!server!!1.00");
    room.Say(1, "$$clients");
    room.Say(1, "$$continue:3.00");
    EXPECT_EQ(room.Take(1), Lines{"$$clients:west, east"}) << "no grant before its report";
    room.Say(1, "$$newevent:3.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:3.00"});
}

TEST(TimeGrants, ATextHandledInsideAQuestionIsCoveredByTheNextContinue) {
    Room room;
    room.Join({"west", "east"});
    room.Say(1, "$$continue:5.00");
    room.Say(2, "$$continue:1.00");
    room.Take(2);
    room.Say(2, "$$?1!!west!!Can you receive a ship?");
    room.Say(1, "$$toclient: east!!ship");
    room.Say(1, "$$!1!!east!!Yes");
    EXPECT_EQ(room.Take(2), (Lines{"$$from:0.00!!west!!ship", "$$!1!!west!!Yes"}));
    room.Say(1, "$$newevent:5.00");
    room.Say(2, "$$continue:6.00");
    EXPECT_EQ(room.Take(1), (Lines{"$$?1!!east!!Can you receive a ship?", "$$continue:5.00"}));
}

TEST(TimeGrants, AnAskingModelHoldsTheOthersAtItsTime) {
    Room room;
    room.Join({"west", "east", "north"});
    room.Say(1, "$$continue:2.00");
    room.Say(2, "$$continue:7.00");
    room.Say(3, "$$continue:7.00");
    room.Take(1);
    room.Say(1, "$$?1!!east!!room?");
    room.Say(1, "$$continue:9.00");  // a broken client asking on: still held
    EXPECT_TRUE(room.Take(3).empty());
    room.Say(2, "$$!1!!west!!Yes");
    room.Say(2, "$$newevent:7.00");
    EXPECT_EQ(room.Take(2), (Lines{"$$?1!!west!!room?", "$$continue:7.00"}));
}

TEST(TimeGrants, AStampNeverLowersAModelsClock) {
    Room room;
    room.Join({"a", "b", "c"});
    room.Say(1, "$$continue:3.00");
    room.Say(2, "$$continue:9.00");
    room.Say(3, "$$continue:1.00");
    room.Take(3);
    room.Say(3, "$$continue:8.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:3.00"});
    // a asks b; b's handler tells c, whose clock stays at 1, and c's handler
    // in turn tells a.
    room.Say(1, "$$?1!!b!!?");
    room.Say(2, "$$toclient: c!!x");
    EXPECT_EQ(room.Take(3), Lines{"$$from:0.00!!b!!x"});
    room.Say(3, "$$toclient: a!!y");
    EXPECT_EQ(room.Take(1), (Lines{"$$from:1.00!!c!!y"}));
}

TEST(LineLimit, NothingIsRelayedThatTheReceiverCannotRead) {
    Room room;
    room.Join({"west", "east"});
    room.Say(2, "$$continue:4.00");
    room.Say(1, "$$continue:1.00");
    room.Take(1);
    const std::string tooLong(kMaxLine, 'x');
    room.Say(1, "$$toclient: east!!" + tooLong);
    room.Say(1, "$$?1!!east!!" + tooLong);
    const Lines west = room.Take(1);
    ASSERT_EQ(west.size(), 3u);
    EXPECT_TRUE(west[0].starts_with("$$unknown:")) << west[0].substr(0, 80);
    EXPECT_TRUE(west[1].starts_with("$$unknown:")) << west[1].substr(0, 80);
    EXPECT_EQ(west[2], "$$!1!!east!!");
    EXPECT_TRUE(room.Take(2).empty());
    room.Say(1, "$$?2!!east!!short");
    room.Say(2, "$$!2!!west!!" + tooLong);
    EXPECT_EQ(room.Take(1), Lines{"$$!2!!east!!"});
    const Lines east = room.Take(2);
    ASSERT_EQ(east.size(), 2u);
    EXPECT_TRUE(east[1].starts_with("$$unknown:")) << east[1].substr(0, 80);
    // The longest text that fits is relayed whole.
    const std::string head = "$$from:1.00!!west!!";
    room.Say(1, "$$toclient: east!!" + std::string(kMaxLine - head.size(), 'y'));
    const Lines relayed = room.Take(2);
    ASSERT_EQ(relayed.size(), 1u);
    EXPECT_EQ(relayed[0].size(), kMaxLine);
}

TEST(RunEnd, UntilStopsLateRequestsAndEndsWhenAllWaitThere) {
    Room room(TimeServerConfig{2, 100.0});
    room.Join({"a", "b"});
    room.Say(1, "$$continue:150.00");
    EXPECT_EQ(room.Take(1), Lines{"$$stop:100.00"});
    room.Say(2, "$$continue:" + kNever);
    EXPECT_EQ(room.Take(2), Lines{"$$stop:100.00"});
    room.Say(1, "$$continue:100.00");
    room.Say(2, "$$continue:40.00");
    EXPECT_EQ(room.Take(2), Lines{"$$continue:40.00"});
    EXPECT_FALSE(room.Server.Ended());
    room.Say(2, "$$continue:100.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:100.00"});
    EXPECT_EQ(room.Take(2), Lines{"$$continue:100.00"});
    EXPECT_TRUE(room.Server.Ended());
    room.Server.Disconnected(1, "closed");
    EXPECT_FALSE(room.Out.Done);
    room.Server.Disconnected(2, "closed");
    EXPECT_TRUE(room.Out.Done);
}

TEST(RunEnd, EveryModelOutOfEventsGetsStopAtTheCurrentTime) {
    Room room;
    room.Join({"a", "b"});
    room.Say(1, "$$continue:12.00");
    room.Say(2, "$$continue:12.00");
    room.Take(1);
    room.Say(1, "$$continue:" + kNever);
    EXPECT_TRUE(room.Take(1).empty());
    room.Take(2);
    room.Say(2, "$$continue:" + kNever);
    EXPECT_EQ(room.Take(1), Lines{"$$stop:12.00"});
    EXPECT_EQ(room.Take(2), Lines{"$$stop:12.00"});
    room.Say(1, "$$continue:12.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:12.00"});
    EXPECT_FALSE(room.Out.Done) << "without --until the server keeps serving";
}

TEST(RunEnd, ALeavingModelNoLongerHoldsTheOthersAndIsReported) {
    Room room;
    room.Join({"a", "b"});
    room.Say(1, "$$continue:5.00");
    EXPECT_TRUE(room.Take(1).empty());
    room.Server.Disconnected(2, "killed");
    EXPECT_EQ(room.Out.Reports.back(), "model b left at 0.00");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:5.00"});
    room.Server.Disconnected(1, "closed");
    EXPECT_EQ(room.Server.Time(), 0.0) << "an empty server starts afresh";
    EXPECT_FALSE(room.Out.Done);
}

TEST(RunEnd, WithAnEndTimeAnEarlyLeaveEndsTheServerAsAFailure) {
    Room room(TimeServerConfig{2, 100.0});
    room.Join({"a", "b"});
    room.Say(1, "$$continue:" + kNever);
    EXPECT_EQ(room.Take(1), Lines{"$$stop:100.00"});
    room.Say(1, "$$continue:100.00");
    room.Say(2, "$$continue:50.00");
    room.Take(2);
    room.Server.Disconnected(2, "killed");
    EXPECT_EQ(room.Take(1), Lines{"$$continue:100.00"});
    EXPECT_TRUE(room.Server.ModelLeftEarly());
    room.Server.Disconnected(1, "closed");
    EXPECT_TRUE(room.Out.Done);
}

}  // namespace
}  // namespace zorva::server::testing
