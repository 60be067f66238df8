// The model's side of the line protocol against a server played by the test.

#include "connection_test_support.h"
#include "kernel/msg_string.h"

namespace zorva::testing {
namespace {

TEST_F(ConnectionTest, GreetingTimeMovesPendingEventsAndTheModelRegisters) {
    Start("A", 0.0, [this](LambdaElement&) { Note("A"); });
    Start("B", 5.0, [this](LambdaElement&) { Note("B"); });
    server_.SetGreeting("$$hello:x!!100.00");
    server_.SetScript([](ScriptedServer& s, const std::string& line) {
        if (line.rfind("$$continue:1", 0) == 0 && line.size() > 20)
            s.Send("$$stop:105.00");
        else
            ScriptedServer::GrantAll(s, line);
    });
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"A", 100.0}, {"B", 105.0}}));
    ASSERT_GE(server_.Lines().size(), 3u);
    EXPECT_EQ(server_.Lines()[0], "$$name:ZorvaModel");
    EXPECT_EQ(server_.Lines()[1], "$$continue:100.00");
    EXPECT_EQ(server_.Lines()[2], "$$continue:105.00");
    EXPECT_EQ(statusTexts_, (std::vector<std::string>{"Connection called", "Connected to Server"}));
    EXPECT_EQ(SimTime(), 105.0);
}

TEST_F(ConnectionTest, TextFromAnotherModelSetsTheClockAndItsShipRunsFirst) {
    Start("Late", 20.0, [this](LambdaElement&) { Note("Late"); });
    double clockAtHandler = -1;
    onMessage_ = [&](const std::string&) {
        clockAtHandler = SimTime();
        Start("Ship", SimTime() + 1.0, [this](LambdaElement&) { Note("Ship"); });
    };
    bool sent = false;
    server_.SetScript([&](ScriptedServer& s, const std::string& line) {
        if (line == "$$continue:20.00" && !sent) {
            sent = true;
            s.Send("$$from:12.50!!brimwest!!ShipL3!!17.52!!104.37");
        } else if (line.rfind("$$continue:1", 0) == 0 && line.size() > 20) {
            s.Send("$$stop:20.00");
        } else {
            ScriptedServer::GrantAll(s, line);
        }
    });
    RunSimulation();
    EXPECT_EQ(messages_, (std::vector<std::string>{"$$from:brimwest!!ShipL3!!17.52!!104.37"}));
    EXPECT_EQ(clockAtHandler, 12.5);
    EXPECT_EQ(steps_, (std::vector<Step>{{"Ship", 13.5}, {"Late", 20.0}}));
    ASSERT_GE(server_.Lines().size(), 4u);
    EXPECT_EQ(std::vector<std::string>(server_.Lines().begin() + 1, server_.Lines().begin() + 4),
              (std::vector<std::string>{"$$continue:20.00", "$$newevent:13.50", "$$continue:20.00"}));
}

TEST_F(ConnectionTest, TextThatCreatesNoEventIsStillFollowedByTheEarliestEvent) {
    Start("E", 8.0, [this](LambdaElement&) { Note("E"); });
    bool sent = false;
    server_.SetScript([&](ScriptedServer& s, const std::string& line) {
        if (line == "$$continue:8.00" && !sent) {
            sent = true;
            s.Send("just a remark");
        } else if (line.rfind("$$continue:1", 0) == 0 && line.size() > 20) {
            s.Send("$$stop:8.00");
        } else {
            ScriptedServer::GrantAll(s, line);
        }
    });
    RunSimulation();
    EXPECT_EQ(messages_, (std::vector<std::string>{"just a remark"}));
    ASSERT_GE(server_.Lines().size(), 3u);
    EXPECT_EQ(server_.Lines()[2], "$$newevent:8.00");
    EXPECT_EQ(steps_, (std::vector<Step>{{"E", 8.0}}));
}

TEST_F(ConnectionTest, LinesInOneBlockAndLinesSplitOverTwoWritesArriveWhole) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    server_.Write("$$simtime:7\r\n$$time:9.00\r\n$$from:7.50!!a!!hel");
    ASSERT_TRUE(PumpUntil([&] { return messages_.size() == 2; }));
    EXPECT_EQ(SimTime(), 7.0);
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(messages_.size(), 2u) << "the unfinished line must wait for its rest";
    server_.Write("lo!!world\r\n");
    ASSERT_TRUE(PumpUntil([&] { return messages_.size() == 3; }));
    EXPECT_EQ(messages_, (std::vector<std::string>{"$$simtime:7", "$$time:9.00", "$$from:a!!hello!!world"}));
    EXPECT_EQ(SimTime(), 7.5);
}

TEST_F(ConnectionTest, LastLineWithoutLineEndIsHandledWhenTheConnectionCloses) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    server_.Write("$$clients:a!!b\r\n$$unknown:no such model");
    server_.Close();
    ASSERT_TRUE(PumpUntil([&] { return messages_.size() == 2; }));
    EXPECT_EQ(messages_, (std::vector<std::string>{"$$clients:a!!b", "$$unknown:no such model"}));
    EXPECT_TRUE(TheServerConnection().ConnectionClosed());
    EXPECT_EQ(statusTexts_.back(), "Connection lost");
}

TEST_F(ConnectionTest, FromOutranksQuestionInOneLine) {
    std::vector<std::string> questions;
    SetQuestionHandler([&](TMsgString& q, const std::string&) { questions.push_back(q.Rest()); });
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    server_.Send("$$from:2.00!!west!!what about $$?1!!x!!y");
    ASSERT_TRUE(PumpUntil([&] { return messages_.size() == 1; }));
    EXPECT_EQ(messages_[0], "$$from:west!!what about $$?1!!x!!y");
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(SimTime(), 2.0);
}

TEST_F(ConnectionTest, QuestionGoesToTheHandlerWhichAnswersIt) {
    std::vector<std::string> asked;
    SetQuestionHandler([&](TMsgString& q, const std::string& asker) {
        asked.push_back(q.GetString() + " from " + asker);
        SendAnswer(asker, "Yes");
    });
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    server_.Send("$$?7!!obrimwest!!Can you receive a ship?");
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 2; }));
    EXPECT_EQ(asked, (std::vector<std::string>{"Can you receive a ship? from obrimwest"}));
    EXPECT_EQ(server_.Lines()[1], "$$!7!!obrimwest!!Yes");
}

TEST_F(ConnectionTest, SendToModelAddressesModelsAndTheServer) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    SendToModel("$$server", "clients");
    SendToModel("brimeast", "ShipL3!!17.52");
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 3; }));
    EXPECT_EQ(server_.Lines()[1], "$$clients");
    EXPECT_EQ(server_.Lines()[2], "$$toclient: brimeast!!ShipL3!!17.52");
}

TEST_F(ConnectionTest, AskModelAsksTheServerByDefaultAndReturnsTheAnswer) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    server_.SetScript([](ScriptedServer& s, const std::string& line) {
        if (line == "$$?1!!server!!time") s.Send("$$!1!!server!!42.00");
    });
    std::string text = "time";
    AskModel("", text);
    EXPECT_EQ(text, "42.00");
    EXPECT_EQ(server_.Lines().back(), "$$?1!!server!!time");
}

TEST_F(ConnectionTest, AskModelEndsWithAnEmptyAnswerWhenTheConnectionCloses) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    server_.SetScript([](ScriptedServer& s, const std::string&) { s.Close(); });
    std::string text = "Can you receive a ship?";
    AskModel("brimeast", text);
    EXPECT_EQ(text, "");
    EXPECT_EQ(statusTexts_.back(), "Connection lost");
}

TEST_F(ConnectionTest, UnconnectedModelSendsNothingAndAsksWithoutWaiting) {
    SetServerAddress("  ");
    EXPECT_EQ(ZorvaStatus().ServerAddress, "");
    SendToModel("brimeast", "hello");
    std::string text = "Can you receive a ship?";
    AskModel("brimeast", text);
    EXPECT_EQ(text, "");
    PumpUntil([] { return false; }, 50);
    EXPECT_FALSE(server_.Connected());
}

TEST_F(ConnectionTest, UnreadableNumbersAreIgnoredAndReportedOnce) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    statusTexts_.clear();
    server_.Send("$$simtime:12,5");
    server_.Send("$$?x!!a!!b");
    server_.Send("$$time:ok");
    ASSERT_TRUE(PumpUntil([&] { return messages_.size() == 1; }));
    EXPECT_EQ(SimTime(), 0.0);
    ASSERT_EQ(statusTexts_.size(), 2u);
    EXPECT_NE(statusTexts_[0].find("cannot read the time in the line $$simtime:12,5"), std::string::npos);
    EXPECT_NE(statusTexts_[1].find("cannot read the question number"), std::string::npos);
    EXPECT_FALSE(TakePendingQuestion());
}

TEST_F(ConnectionTest, StampBehindTheClockLeavesTheClock) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    server_.Send("$$simtime:10.00");
    server_.Send("$$from:9.996!!a!!rounded");
    server_.Send("$$from:4.00!!a!!late");
    ASSERT_TRUE(PumpUntil([&] { return messages_.size() == 3; }));
    EXPECT_EQ(SimTime(), 10.0);
    ASSERT_EQ(statusTexts_.size(), 3u);  // called, connected, one report
    EXPECT_NE(statusTexts_[2].find("lies before the clock"), std::string::npos);
}

TEST_F(ConnectionTest, OversizedLineIsDroppedOnceAndTheConnectionGoesOn) {
    Connect();
    ASSERT_TRUE(PumpUntil([&] { return server_.Lines().size() == 1; }));
    statusTexts_.clear();
    server_.Send("$$from:1.00!!a!!" + std::string(70000, 'x'));
    server_.Send("$$time:3.00");
    ASSERT_TRUE(PumpUntil([&] { return messages_.size() == 1; }));
    EXPECT_EQ(messages_[0], "$$time:3.00");
    ASSERT_EQ(statusTexts_.size(), 1u);
    EXPECT_NE(statusTexts_[0].find("longer than 65536 bytes"), std::string::npos);
    EXPECT_FALSE(TheServerConnection().ConnectionClosed());
}

}  // namespace
}  // namespace zorva::testing
