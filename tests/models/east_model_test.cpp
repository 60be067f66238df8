// The east lock alone: its ships pass westwards and go to the west lock
// without a question; it answers every question "Yes".

#include "east/brim_east.h"
#include "lock_model_test_support.h"

namespace zorva::testing {
namespace {

using Times = std::vector<double>;
using Lines = std::vector<std::string>;

TEST_F(LockModelTest, EastFirstShipWaitsForTheEmptyChangeoverAndIsHandedOverUnasked) {
    Run(InitBrimEast, 100.0);
    EXPECT_EQ(TraceTimes("ShipR", "out of RightArrivals"), Times{10.0});
    EXPECT_EQ(TraceTimes("ShipR", "to tail of Lock"), Times{12.0});
    EXPECT_EQ(TraceTimes("ShipR", "out of Lock"), Times{22.0});
    EXPECT_EQ(SentBefore("$$toclient:"), "$$continue:24.00");
    EXPECT_EQ(SentLines("$$toclient:"), Lines{"$$toclient: brimwest!!ShipR!!26.68!!44.00"});
    EXPECT_TRUE(SentLines("$$?").empty());
}

TEST_F(LockModelTest, EastAnswersEveryQuestionYesAndIsNotChangedByIt) {
    bool asked = false;
    server_.SetScript([&asked](ScriptedServer& s, const std::string& line) {
        if (line == "$$continue:12.00" && !std::exchange(asked, true)) {
            s.Send("$$?7!!obrimwest!!Can you receive a ship?");
            s.Send("$$?8!!someone!!What time is it?");
        }
        ScriptedServer::GrantAll(s, line);
    });
    Run(InitBrimEast, 30.0);
    EXPECT_EQ(SentLines("$$!"), (Lines{"$$!7!!obrimwest!!Yes", "$$!8!!someone!!Yes"}));
    EXPECT_EQ(SentLines("$$toclient:"), Lines{"$$toclient: brimwest!!ShipR!!26.68!!44.00"});
}

TEST_F(LockModelTest, EastPassesShipsFromTheWestEastwardsAndKeepsThem) {
    // After ShipR the chamber is open to the west again: ShipL goes in at once.
    deliveries_ = {{34.0, "ShipL!!26.68!!34.00"}};
    Run(InitBrimEast, 100.0);
    EXPECT_EQ(TraceTimes("ShipL", "out of LeftArrivals"), Times{34.0});
    EXPECT_EQ(TraceTimes("ShipL", "out of Lock"), Times{46.0});
    EXPECT_EQ(SentLines("$$toclient:"), Lines{"$$toclient: brimwest!!ShipR!!26.68!!44.00"});
    EXPECT_EQ(InstalledLockModel().Lock().LockSide, EastSide);
    EXPECT_EQ(Figure(HandOversReceived), 1);
}

TEST_F(LockModelTest, EastReportsAShipWhoseTextTheServerCannotDeliver) {
    server_.SetScript([](ScriptedServer& s, const std::string& line) {
        if (line.rfind("$$toclient:", 0) == 0) s.Send("$$unknown:no model named brimwest");
        ScriptedServer::GrantAll(s, line);
    });
    Run(InitBrimEast, 100.0);
    EXPECT_EQ(TraceTimes("ShipR", "not handed over to brimwest: the server says \"no model named brimwest\""),
              Times{24.0});
    EXPECT_EQ(Figure(HandOversSent), 1);
    EXPECT_EQ(Figure(HandOversUndelivered), 1);
    EXPECT_EQ(ProblemCount(), 1);
}

}  // namespace
}  // namespace zorva::testing
