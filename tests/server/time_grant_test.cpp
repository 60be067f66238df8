#include "fake_output.h"
#include "server/protocol.h"

#include <gtest/gtest.h>

namespace zorva::server::testing {
namespace {

const std::string kNever = formatTime(kNeverTime);

TEST(Registration, GreetsWithTheCurrentTimeAndRefusesADuplicateName) {
  Room room;
  room.server.connected(1, "peer");
  EXPECT_EQ(room.take(1), Lines{"$$hello:zorva-server!!0.00"});
  room.say(1, "$$name:obrimwest");
  EXPECT_TRUE(room.take(1).empty());

  room.server.connected(2, "peer");
  room.take(2);
  room.say(2, "$$name:obrimwest");
  const auto refused = room.take(2);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_TRUE(refused[0].starts_with("$$unknown:")) << refused[0];
  EXPECT_NE(refused[0].find("already in use"), std::string::npos);
  EXPECT_TRUE(room.out.cutOff.contains(2));
  EXPECT_FALSE(room.out.cutOff.contains(1));
}

TEST(Registration, RejectsNamesThatCannotBeAddressed) {
  Room room;
  room.server.connected(1, "peer");
  room.take(1);
  for (const char* line : {"$$name:", "$$name:server", "$$name:a!!b"}) {
    room.say(1, line);
    const auto answer = room.take(1);
    ASSERT_EQ(answer.size(), 1u) << line;
    EXPECT_TRUE(answer[0].starts_with("$$unknown:")) << line;
  }
  EXPECT_TRUE(room.out.cutOff.empty());
  room.say(1, "$$continue:1.00");
  EXPECT_EQ(room.take(1), Lines{"$$unknown:register with a name first"});
}

TEST(TimeGrants, NoTimeUntilEnoughModelsHaveRegistered) {
  Room room(TimeServerConfig{3, std::nullopt});
  room.join(1, "a");
  room.join(2, "b");
  room.say(1, "$$continue:2.00");
  room.say(2, "$$continue:2.00");
  EXPECT_TRUE(room.take(1).empty());
  room.join(3, "c");
  EXPECT_TRUE(room.take(1).empty()) << "c counts at its greeting time until it asks";
  room.say(3, "$$continue:4.00");
  EXPECT_EQ(room.take(1), Lines{"$$continue:2.00"});
  EXPECT_EQ(room.take(2), Lines{"$$continue:2.00"});
  EXPECT_TRUE(room.take(3).empty());
}

TEST(TimeGrants, GrantsOnlyTheEarliestRequestsAndRunningModelsHold) {
  Room room;
  room.join(1, "a");
  room.join(2, "b");
  room.say(1, "$$continue:5.00");
  room.say(2, "$$continue:3.00");
  EXPECT_TRUE(room.take(1).empty());
  EXPECT_EQ(room.take(2), Lines{"$$continue:3.00"});
  EXPECT_EQ(room.server.time(), 3.0);
  room.say(2, "$$continue:5.00");
  EXPECT_EQ(room.take(1), Lines{"$$continue:5.00"});
  EXPECT_EQ(room.take(2), Lines{"$$continue:5.00"});
}

TEST(TimeGrants, AReceiverCountsAtTheTextsTimeUntilItReports) {
  Room room;
  room.join(1, "west");
  room.join(2, "east");
  room.say(1, "$$continue:2.00");
  room.say(2, "$$continue:10.00");
  EXPECT_EQ(room.take(1), Lines{"$$continue:2.00"});
  room.say(1, "$$toclient: east!!ship");
  EXPECT_EQ(room.take(2), Lines{"$$from:2.00!!west!!ship"});
  room.say(1, "$$continue:6.00");
  EXPECT_TRUE(room.take(1).empty()) << "east may have an event before 6 now";
  room.say(2, "$$newevent:4.00");
  EXPECT_EQ(room.take(2), Lines{"$$continue:4.00"});
  EXPECT_TRUE(room.take(1).empty());
}

TEST(TimeGrants, AContinueSentBeforeTheTextArrivedDoesNotReleaseTheReceiver) {
  Room room;
  room.join(1, "west");
  room.join(2, "east");
  room.say(1, "$$continue:1.00");
  room.say(2, "$$continue:1.00");
  room.take(1);
  room.take(2);
  // Both run at 1; west's text reaches east while east is still in its step.
  room.say(1, "$$toclient: east!!ship");
  room.say(1, "$$continue:8.00");
  room.say(2, "$$continue:9.00");
  EXPECT_TRUE(room.take(1).empty());
  room.say(2, "$$newevent:3.00");
  EXPECT_EQ(room.take(2), (Lines{"$$from:1.00!!west!!ship", "$$continue:3.00"}));
}

TEST(TimeGrants, ATextHandledInsideAQuestionIsCoveredByTheNextContinue) {
  Room room;
  room.join(1, "west");
  room.join(2, "east");
  room.say(1, "$$continue:1.00");
  room.say(2, "$$continue:1.00");
  room.take(1);
  room.take(2);
  room.say(2, "$$?1!!west!!Can you receive a ship?");
  room.say(1, "$$toclient: east!!ship");
  room.say(1, "$$!1!!east!!Yes");
  EXPECT_EQ(room.take(1), Lines{"$$?1!!east!!Can you receive a ship?"});
  EXPECT_EQ(room.take(2), (Lines{"$$from:1.00!!west!!ship", "$$!1!!west!!Yes"}));
  room.say(1, "$$continue:5.00");
  room.say(2, "$$continue:5.00");
  EXPECT_EQ(room.take(1), Lines{"$$continue:5.00"});
  EXPECT_EQ(room.take(2), Lines{"$$continue:5.00"});
}

TEST(TimeGrants, AnAskingModelHoldsTheOthersAtItsTime) {
  Room room;
  room.join(1, "west");
  room.join(2, "east");
  room.join(3, "north");
  room.say(1, "$$continue:2.00");
  room.say(2, "$$continue:7.00");
  room.say(3, "$$continue:7.00");
  room.take(1);
  room.say(1, "$$?1!!east!!room?");
  room.say(1, "$$continue:9.00");  // a broken client asking on: still held
  EXPECT_TRUE(room.take(3).empty());
  room.say(2, "$$!1!!west!!Yes");
  EXPECT_EQ(room.take(3), Lines{"$$continue:7.00"});
}

TEST(RunEnd, UntilStopsLateRequestsAndEndsWhenAllWaitThere) {
  Room room(TimeServerConfig{2, 100.0});
  room.join(1, "a");
  room.join(2, "b");
  room.say(1, "$$continue:150.00");
  EXPECT_EQ(room.take(1), Lines{"$$stop:100.00"});
  room.say(2, "$$continue:" + kNever);
  EXPECT_EQ(room.take(2), Lines{"$$stop:100.00"});
  room.say(1, "$$continue:100.00");
  room.say(2, "$$continue:40.00");
  EXPECT_EQ(room.take(2), Lines{"$$continue:40.00"});
  EXPECT_FALSE(room.server.ended());
  room.say(2, "$$continue:100.00");
  EXPECT_EQ(room.take(1), Lines{"$$continue:100.00"});
  EXPECT_EQ(room.take(2), Lines{"$$continue:100.00"});
  EXPECT_TRUE(room.server.ended());
  room.server.disconnected(1, "closed");
  EXPECT_FALSE(room.out.done);
  room.server.disconnected(2, "closed");
  EXPECT_TRUE(room.out.done);
}

TEST(RunEnd, EveryModelOutOfEventsGetsStopAtTheCurrentTime) {
  Room room;
  room.join(1, "a");
  room.join(2, "b");
  room.say(1, "$$continue:12.00");
  room.say(2, "$$continue:12.00");
  room.take(1);
  room.take(2);
  room.say(1, "$$continue:" + kNever);
  EXPECT_TRUE(room.take(1).empty());
  room.say(2, "$$continue:" + kNever);
  EXPECT_EQ(room.take(1), Lines{"$$stop:12.00"});
  EXPECT_EQ(room.take(2), Lines{"$$stop:12.00"});
  room.say(1, "$$continue:12.00");
  EXPECT_EQ(room.take(1), Lines{"$$continue:12.00"});
  EXPECT_FALSE(room.out.done) << "without --until the server keeps serving";
}

TEST(RunEnd, ALeavingModelNoLongerHoldsTheOthers) {
  Room room;
  room.join(1, "a");
  room.join(2, "b");
  room.say(1, "$$continue:5.00");
  EXPECT_TRUE(room.take(1).empty());
  room.server.disconnected(2, "killed");
  EXPECT_EQ(room.take(1), Lines{"$$continue:5.00"});
  room.server.disconnected(1, "closed");
  EXPECT_EQ(room.server.time(), 0.0) << "an empty server starts afresh";
}

}  // namespace
}  // namespace zorva::server::testing
