// Runs through the window against a server: a scripted one, and the real
// zorva-server. Whatever the run waits for from the server, closing the
// window ends it.
#include <QProcess>
#include <QTcpServer>

#include "scripted_server.h"
#include "ui_test_support.h"

namespace zorva::uitest {
namespace {

using zorva::testing::ScriptedServer;

class TAsker : public ZorvaElement {
public:
    TAsker() : ZorvaElement(this, "Asker") {}
    void Process() override {
        Hold(1.0);
        {
            // Finish abandons the frame: nothing with a destructor may be alive then.
            std::string text = "Can you receive a ship?";
            AskModel("brimeast", text);
            Answer = text;
        }
        Finish();
    }
    static inline std::string Answer = "unset";
};

class ConnectedRunTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        InitTestModel();
        SetServerPort(server_.Port());
        form_->ApplyServerAddress("127.0.0.1");
        SetStopTime(10.0);
    }
    void CloseAfter(int ms) {
        QTimer::singleShot(ms, form_.get(), [this] { form_->close(); });
    }
    ScriptedServer server_;
};

TEST_F(ConnectedRunTest, WholeRunAgainstAScriptedServer) {
    server_.SetScript(&ScriptedServer::GrantAll);
    RunThroughStart();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(MemoLinesContaining("Connection called"), 1);
    EXPECT_EQ(MemoLinesContaining("Connected to Server"), 1);
    EXPECT_EQ(MemoLinesContaining("Customer5 to tail of Line"), 1);
    ASSERT_FALSE(server_.Lines().empty());
    EXPECT_EQ(server_.Lines().front(), "$$name:ui_tests");
    EXPECT_EQ(server_.Lines().back(), "$$continue:10.00");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(ConnectedRunTest, TextsFromTheServerReachTheModelsHandler) {
    bool sent = false;
    server_.SetScript([&sent](ScriptedServer& s, const std::string& line) {
        if (line == "$$continue:4.00" && !std::exchange(sent, true)) s.Send("$$time:hello model");
        ScriptedServer::GrantAll(s, line);
    });
    RunThroughStart();
    EXPECT_EQ(ReceivedMessages(), (std::vector<std::string>{"$$time:hello model"}));
}

TEST_F(ConnectedRunTest, CloseWhileWaitingForTheGreetingEndsTheProgram) {
    server_.SetGreeting("");
    CloseAfter(200);
    RunThroughStart();
    EXPECT_EQ(closings_, 1);
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 0.0);
}

TEST_F(ConnectedRunTest, CloseWhileWaitingForAGrantEndsTheProgram) {
    CloseAfter(200);
    RunThroughStart();
    EXPECT_EQ(closings_, 1);
    EXPECT_EQ(server_.Lines(), (std::vector<std::string>{"$$name:ui_tests", "$$continue:0.00"}));
}

TEST_F(ConnectedRunTest, CloseWhileInterruptedAndWaitingForAGrantEndsTheProgram) {
    QTimer::singleShot(150, form_.get(), [this] { form_->GoInterruptSimulation(); });
    CloseAfter(300);
    RunThroughStart();
    EXPECT_EQ(closings_, 1);
}

TEST_F(ConnectedRunTest, CloseWhileAModelWaitsForAnAnswerEndsTheProgram) {
    (new TAsker)->Start(0.0);
    server_.SetScript([this](ScriptedServer& s, const std::string& line) {
        ScriptedServer::GrantAll(s, line);
        if (line.rfind("$$?", 0) == 0) CloseAfter(100);
    });
    RunThroughStart();
    EXPECT_EQ(closings_, 1);
    EXPECT_EQ(TAsker::Answer, "");
    EXPECT_EQ(SimTime(), 1.0);
}

#ifdef ZORVA_SERVER_EXECUTABLE
TEST_F(ConnectedRunTest, WholeRunAgainstTheRealServer) {
    const std::uint16_t port = [] {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }();
    QProcess realServer;
    realServer.start(ZORVA_SERVER_EXECUTABLE, {"--port", QString::number(port), "--models", "1", "--until", "10"});
    ASSERT_TRUE(realServer.waitForStarted(3000));
    ASSERT_TRUE(zorva::testing::PumpUntil([&] {
        realServer.waitForReadyRead(10);
        return realServer.canReadLine();
    }));
    SetServerPort(port);
    SetStopTime(NeverTime);
    RunThroughStart();
    EXPECT_EQ(RunState(), rsEnded);
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(MemoLinesContaining("Connected to Server"), 1);
    EXPECT_EQ(MemoLinesContaining("Customer5 to tail of Line"), 1);
    EXPECT_EQ(MemoLinesContaining("Customer6"), 0);
    StopFramework();
    EXPECT_TRUE(realServer.waitForFinished(5000));
    EXPECT_EQ(realServer.exitCode(), 0);
}
#endif

}  // namespace
}  // namespace zorva::uitest
