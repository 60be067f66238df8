// The west lock alone: its ships pass eastwards and are offered to the east
// lock; ships handed over by the east lock pass westwards and stay.

#include <algorithm>
#include <utility>

#include "lock_model_test_support.h"
#include "west/brim_west.h"

namespace zorva::testing {
namespace {

using Times = std::vector<double>;
using Lines = std::vector<std::string>;

TEST_F(LockModelTest, WestFirstShipPassesAndIsHandedOverOnYes) {
    Run(InitBrimWest, 100.0);
    EXPECT_EQ(TraceTimes("ShipL", "to tail of Lock"), Times{2.0});
    EXPECT_EQ(TraceTimes("ShipL", "out of Lock"), Times{12.0});
    EXPECT_EQ(SentBefore("$$?"), "$$continue:14.00");
    EXPECT_EQ(SentLines("$$?"), Lines{"$$?1!!brimeast!!Can you receive a ship?"});
    EXPECT_EQ(SentLines("$$toclient:"), Lines{"$$toclient: brimeast!!ShipL!!26.68!!34.00"});
    // ShipL2 is born only at 103.83: the keeper waits, the chamber stays
    // open to the east where ShipL left it.
    EXPECT_EQ(InstalledLockModel().Lock().LockSide, EastSide);
    EXPECT_EQ(SimTime(), 100.0);
}

TEST_F(LockModelTest, WestAskingToRunAheadRunsOneEventAtATimeWhereTheServerKnowsNothingOfIt) {
    // This server answers every question "Yes", that one too: no agreement.
    Run(InitBrimWest, 100.0, true);
    EXPECT_EQ(SentLines("$$?").front(), "$$?1!!server!!lookahead 20.00");
    EXPECT_TRUE(SentLines("$$ahead:").empty());
    EXPECT_EQ(SentLines("$$toclient:"), Lines{"$$toclient: brimeast!!ShipL!!26.68!!34.00"});
    EXPECT_EQ(SimTime(), 100.0);
}

TEST_F(LockModelTest, WestRunningAheadStopsWhenATextBreaksItsSendersPromise) {
    // The model has run up to the horizon 100 when a ship arrives that the
    // east lock sent at 5: it would arrive at 6, in the west lock's past.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    server_.SetScript([](ScriptedServer& s, const std::string& line) {
        if (line == "$$?1!!server!!lookahead 20.00") {
            s.Send("$$!1!!server!!lookahead 20.00");
        } else if (line.rfind("$$?", 0) == 0) {
            s.Send("$$!" + line.substr(3, line.find("!!") - 3) + "!!obrimeast!!Yes");
        } else if (line.rfind("$$ahead:", 0) == 0) {
            const bool reached = *ParseNumber(line.substr(8, line.find("!!") - 8)) >= 100.0;
            s.Send(reached ? "$$from:5.00!!obrimeast!!ShipX!!26.68!!6.00" : "$$horizon:100.00");
        }
    });
    EXPECT_EXIT(Run(InitBrimWest, 200.0, true), ::testing::ExitedWithCode(255),
                "Error\\(lookahead\\): the text that obrimeast sent at 5.00 starts ShipX at 6.00, before 14.00, "
                "which .* has already reached: the lookahead that obrimeast promised was not kept");
}

TEST_F(LockModelTest, WestRunningAheadExaminesItsWaitingKeeperTheSameWhenTheServerRepeatsTheEnd) {
    // Horizon 100, then the end, 100; with staleEnd the end comes once more
    // just before the grant of the end time, as when the model asked again
    // before it read the first.
    const auto traceRunningAheadTo100 = [this](bool staleEnd) {
        bool staleSent = !staleEnd;
        server_.SetScript([&staleSent](ScriptedServer& s, const std::string& line) {
            if (line == "$$?1!!server!!lookahead 20.00") {
                s.Send("$$!1!!server!!lookahead 20.00");
            } else if (line.rfind("$$?", 0) == 0) {
                s.Send("$$!" + line.substr(3, line.find("!!") - 3) + "!!obrimeast!!Yes");
            } else if (line.rfind("$$ahead:", 0) == 0) {
                const double t = *ParseNumber(line.substr(8, line.find("!!") - 8));
                if (t < 100.0) {
                    s.Send("$$horizon:100.00");
                } else if (t > 100.0) {
                    s.Send("$$stop:100.00");
                } else {
                    if (!std::exchange(staleSent, true)) s.Send("$$stop:100.00");
                    s.Send("$$continue:100.00");
                }
            }
        });
        Run(InitBrimWest, 1000.0, true);
        EXPECT_EQ(SimTime(), 100.0);
        return TraceMemo().Lines();
    };
    const auto plain = traceRunningAheadTo100(false);
    TearDown();
    SetUp();
    EXPECT_EQ(traceRunningAheadTo100(true), plain);
}

TEST_F(LockModelTest, WestBatchesShipsThatArriveBeforeTheChangeover) {
    Run(InitBrimWest, 170.0);
    // ShipL2 (103.83) waits for an empty changeover and goes alone; ShipL3
    // (124.41) and ShipL4 (125.47) come during its changeover, ShipL5
    // (130.15) during the next empty one: the three pass together.
    EXPECT_EQ(TraceTimes("ShipL2", "out of LeftArrivals").size(), 1u);
    EXPECT_NEAR(TraceTimes("ShipL2", "out of LeftArrivals")[0], 113.83, 0.005);
    for (const auto& [ship, calledOut] : {std::pair{"ShipL3", 153.83}, {"ShipL4", 155.83}, {"ShipL5", 157.83}}) {
        ASSERT_EQ(TraceTimes(ship, "out of Lock").size(), 1u) << ship;
        EXPECT_NEAR(TraceTimes(ship, "out of Lock")[0], calledOut, 0.005) << ship;
    }
    EXPECT_EQ(SentLines("$$toclient:"),
              (Lines{"$$toclient: brimeast!!ShipL!!26.68!!34.00", "$$toclient: brimeast!!ShipL2!!29.59!!147.83",
                     "$$toclient: brimeast!!ShipL3!!19.21!!175.83", "$$toclient: brimeast!!ShipL4!!23.68!!177.83",
                     "$$toclient: brimeast!!ShipL5!!21.42!!179.83"}));
}

class WestAnswerTest : public LockModelTest, public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(WestAnswerTest, OnlyAnAnswerBeginningWithYesHandsTheShipOver) {
    answer_ = GetParam().first;
    Run(InitBrimWest, 40.0);
    EXPECT_EQ(SentLines("$$?").size(), 1u);
    EXPECT_EQ(SentLines("$$toclient:").size(), GetParam().second ? 1u : 0u);
    EXPECT_EQ(Figure(HandOversSent), GetParam().second ? 1 : 0);
    EXPECT_EQ(Figure(HandOversUndelivered), GetParam().second ? 0 : 1);
    EXPECT_EQ(ProblemCount(), Figure(HandOversUndelivered));
    // The ship is gone either way: nothing is asked again.
    EXPECT_EQ(TraceTimes("ShipL", "to tail of LeftArrivals"), Times{0.0});
}

INSTANTIATE_TEST_SUITE_P(Answers, WestAnswerTest,
                         ::testing::Values(std::pair{"Yes", true}, std::pair{"Yes, gladly", true},
                                           std::pair{"yes", false}, std::pair{"Ye", false}, std::pair{"No", false},
                                           std::pair{"", false}));

TEST_F(LockModelTest, WestPassesShipsFromTheEastWestwardsAndKeepsThem) {
    // The chamber is open to the east after ShipL: ShipR goes in at once and
    // ShipR2, arriving while ShipR sails in, joins its batch. ShipR3 finds
    // the chamber open to the west and waits for an empty changeover.
    deliveries_ = {{30.0, "ShipR!!26.68!!30.00"}, {31.0, "ShipR2!!29.59!!31.00"}, {60.0, "ShipR3!!19.21!!60.00"}};
    Run(InitBrimWest, 100.0);
    EXPECT_EQ(TraceTimes("ShipR", "out of RightArrivals"), Times{30.0});
    EXPECT_EQ(TraceTimes("ShipR2", "out of RightArrivals"), Times{32.0});
    EXPECT_EQ(TraceTimes("ShipR", "out of Lock"), Times{44.0});
    EXPECT_EQ(TraceTimes("ShipR2", "out of Lock"), Times{46.0});
    EXPECT_EQ(TraceTimes("ShipR3", "out of RightArrivals"), Times{70.0});
    EXPECT_EQ(TraceTimes("ShipR3", "out of Lock"), Times{82.0});
    EXPECT_EQ(InstalledLockModel().Lock().RightArrivals.MaxWaitingTime, 10.0);
    // Only ShipL was offered and handed over.
    EXPECT_EQ(SentLines("$$?").size(), 1u);
    EXPECT_EQ(SentLines("$$toclient:"), Lines{"$$toclient: brimeast!!ShipL!!26.68!!34.00"});
    EXPECT_EQ(InstalledLockModel().Lock().LockSide, WestSide);
}

TEST_F(LockModelTest, WestReportsAShipThatArrivesRightBehindTheAnswer) {
    // The east lock's ship comes in the same packet as the answer: the west
    // lock must still tell the server of the new event, or a real server
    // would wait for that report for ever.
    server_.SetScript([](ScriptedServer& s, const std::string& line) {
        if (line.rfind("$$?", 0) == 0) {
            const std::string number = line.substr(3, line.find("!!") - 3);
            s.Write("$$!" + number + "!!obrimeast!!Yes\r\n$$from:14.00!!obrimeast!!ShipR!!26.68!!34.00\r\n");
        }
        ScriptedServer::GrantAll(s, line);
    });
    Run(InitBrimWest, 60.0);
    const auto& lines = server_.Lines();
    const auto handOver = std::find(lines.begin(), lines.end(), "$$toclient: brimeast!!ShipL!!26.68!!34.00");
    ASSERT_NE(handOver, lines.end());
    EXPECT_TRUE(
        std::any_of(handOver, lines.end(), [](const std::string& l) { return l.rfind("$$newevent:", 0) == 0; }));
    EXPECT_EQ(TraceTimes("ShipR", "out of RightArrivals"), Times{34.0});
}

}  // namespace
}  // namespace zorva::testing
