// Whole runs of a connected model: the order of events and the clock as the
// server's answers drive them, and the end of a run when the server is gone.

#include "connection_test_support.h"

namespace zorva::testing {
namespace {

bool AsksForNeverTime(const std::string& line) {
    return line.rfind("$$continue:1", 0) == 0 && line.size() > 300;
}

// Grants every request at once; the run ends when nothing is left.
void GrantAllThenStop(ScriptedServer& s, const std::string& line) {
    if (AsksForNeverTime(line))
        s.Send("$$stop:0.00");
    else
        ScriptedServer::GrantAll(s, line);
}

class GrantedRunTest : public ConnectionTest {
protected:
    // Times that two decimals cannot carry, a state-list wait and a
    // passivate/resume pair: every way the clock can be set.
    void BuildModel() {
        ready_ = false;
        Start("Gen", 0.0, [this](LambdaElement&) {
            for (int i = 0; i < 4; ++i) {
                Note("Gen");
                HoldProcess(1.0 / 3.0);
            }
            ready_ = true;
            HoldProcess(0.004);
            Note("Gen");
        });
        Start("Waiter", 0.1, [this](LambdaElement&) {
            while (!ready_) {
                Note("Waiter");
                StandByProcess();
            }
            Note("Waiter");
        });
        Start("Late", 2.0 / 7.0, [this](LambdaElement&) {
            Note("Late");
            HoldProcess(1e-9);
            Note("Late");
        });
    }
    bool ready_ = false;
};

TEST_F(GrantedRunTest, ServerGrantingEveryRequestGivesTheUnconnectedTrace) {
    SetServerAddress("");
    BuildModel();
    RunSimulation();
    const std::vector<Step> alone = steps_;
    const double endAlone = SimTime();
    ASSERT_GT(alone.size(), 10u);

    elements_.clear();
    steps_.clear();
    ResetEngine();
    SetServerAddress("127.0.0.1");
    server_.SetScript(GrantAllThenStop);
    BuildModel();
    RunSimulation();
    EXPECT_EQ(steps_, alone);
    EXPECT_EQ(endAlone, NeverTime);
    EXPECT_DOUBLE_EQ(SimTime(), 4.0 / 3.0 + 0.004);  // the stop at 0.00 never sets the clock back
}

TEST_F(ConnectionTest, ShipArrivingDuringAStateListExaminationWaitsForItsTime) {
    bool open = false;
    Start("Waiter", 0.0, [&, this](LambdaElement&) {
        while (!open) {
            Note("Waiter");
            StandByProcess();
        }
        Note("Waiter");
    });
    Start("Opener", 10.0, [&, this](LambdaElement&) {
        open = true;
        Note("Opener");
    });
    onMessage_ = [this](const std::string&) {
        Start("Ship", SimTime() + 4.0, [this](LambdaElement&) { Note("Ship"); });
    };
    int continues = 0;
    server_.SetScript([&](ScriptedServer& s, const std::string& line) {
        if (line.rfind("$$continue:", 0) == 0 && ++continues == 2)
            s.Send("$$from:0.00!!x!!ship");
        else
            GrantAllThenStop(s, line);
    });
    RunSimulation();
    EXPECT_EQ(
        steps_,
        (std::vector<Step>{
            {"Waiter", 0.0}, {"Waiter", 0.0}, {"Ship", 4.0}, {"Waiter", 4.0}, {"Opener", 10.0}, {"Waiter", 10.0}}));
    // The report names the examination's own time, not the ship's.
    ASSERT_GE(server_.Lines().size(), 4u);
    EXPECT_EQ(server_.Lines()[2], "$$continue:0.00");
    EXPECT_EQ(server_.Lines()[3], "$$newevent:0.00");
}

TEST_F(ConnectionTest, StopAnswerMakesThePassChooseAgainAndEndsAtTheStopTime) {
    Start("A", 5.0, [this](LambdaElement&) { Note("A"); });
    Start("B", 50.0, [this](LambdaElement&) { Note("B"); });
    server_.SetScript([](ScriptedServer& s, const std::string& line) {
        if (line == "$$continue:50.00")
            s.Send("$$stop:30.00");
        else
            ScriptedServer::GrantAll(s, line);
    });
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"A", 5.0}}));
    EXPECT_EQ(server_.Lines().back(), "$$continue:30.00");
    EXPECT_EQ(SimTime(), 30.0);
    EXPECT_EQ(StopTime(), 30.0);
    EXPECT_EQ(RunState(), rsEnded);
}

TEST_F(ConnectionTest, StopDuringAQuestionLetsTheAskingProcessFinishItsStep) {
    std::string answer;
    Start("Asker", 5.0, [&, this](LambdaElement&) {
        std::string text = "time";
        AskModel("", text);
        answer = text;
        Note("Asker");
        HoldProcess(1.0);
        Note("Asker");
    });
    Start("B", 20.0, [this](LambdaElement&) { Note("B"); });
    server_.SetScript([](ScriptedServer& s, const std::string& line) {
        if (line.rfind("$$?1!!", 0) == 0) {
            s.Send("$$stop:10.00");
            s.Send("$$!1!!server!!ok");
        } else {
            ScriptedServer::GrantAll(s, line);
        }
    });
    RunSimulation();
    EXPECT_EQ(answer, "ok");
    EXPECT_EQ(steps_, (std::vector<Step>{{"Asker", 5.0}, {"Asker", 6.0}}));
    EXPECT_EQ(SimTime(), 10.0);
}

TEST_F(ConnectionTest, RefusedConnectionEndsTheRunWithoutAnEvent) {
    const std::uint16_t port = server_.Port();
    server_.Close();
    SetServerPort(port);
    Start("A", 1.0, [this](LambdaElement&) { Note("A"); });
    RunSimulation();
    EXPECT_TRUE(steps_.empty());
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(statusTexts_, (std::vector<std::string>{"Connection called", "Connection failed"}));
}

TEST_F(ConnectionTest, ServerClosingWhileTheModelWaitsForAGrantEndsTheRun) {
    Start("A", 1.0, [this](LambdaElement&) { Note("A"); });
    Start("B", 2.0, [this](LambdaElement&) { Note("B"); });
    server_.SetScript([](ScriptedServer& s, const std::string& line) {
        if (line == "$$continue:2.00")
            s.Close();
        else
            ScriptedServer::GrantAll(s, line);
    });
    RunSimulation();
    EXPECT_EQ(steps_, (std::vector<Step>{{"A", 1.0}}));
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(statusTexts_.back(), "Connection lost");
    // The clock stays where the last grant left it, not at an unset stop time.
    EXPECT_EQ(SimTime(), 1.0);
}

TEST_F(ConnectionTest, ServerClosingBeforeItsGreetingEndsTheWait) {
    server_.SetGreeting("");
    server_.SetScript(nullptr);
    Start("A", 1.0, [this](LambdaElement&) { Note("A"); });
    QTimer::singleShot(100, [this] { server_.Close(); });
    RunSimulation();
    EXPECT_TRUE(steps_.empty());
    EXPECT_EQ(statusTexts_.back(), "Connection lost");
}

}  // namespace
}  // namespace zorva::testing
