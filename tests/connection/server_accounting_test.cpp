// The real client against the real server, in the three situations where
// the server once guessed wrong which report answered which line: each
// used to leave every model waiting, or to grant a model too much.

#include <poll.h>

#include <QTimer>

#include "connection_test_support.h"
#include "kernel/msg_string.h"
#include "real_server.h"

namespace zorva::testing {
namespace {

#ifdef ZORVA_SERVER_EXECUTABLE

class ServerAccountingTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ResetConnection();
        onEvents_ = [] { QCoreApplication::processEvents(); };
        SetMessageHandler([this](const std::string& text) { messages_.push_back(text); });
        SetModelName("zmodel");
        server_ = std::make_unique<RealServer>(ServerArguments());
        SetServerPort(server_->Port());
        SetServerAddress("127.0.0.1");
        // A run that hangs ends when its server goes.
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            timedOut_ = true;
            server_->Kill();
        });
        watchdog_.start(8000);
    }
    void TearDown() override {
        watchdog_.stop();
        EXPECT_FALSE(timedOut_) << "the run hung: the watchdog killed the server";
        ResetConnection();
        EngineTest::TearDown();
    }

    // True once the server has sent the model something it has not read.
    static bool ModelHasUnreadBytes(int ms) {
        pollfd descriptor{static_cast<int>(TheServerConnection().Socket()->socketDescriptor()), POLLIN, 0};
        return ::poll(&descriptor, 1, ms) == 1;
    }

    virtual QStringList ServerArguments() const { return {"--until", "10"}; }

    std::unique_ptr<RealServer> server_;
    QTimer watchdog_;
    bool timedOut_ = false;
    std::vector<std::string> messages_;
};

// Registers, asks for time 1 and, once granted, runs the given step, then
// asks for 8 (waiting at once, with no stop to answer first) and then for
// the end, reporting what it is told as a model does.
ScriptedPeer::Script StepAtOne(std::function<void(ScriptedPeer&)> step) {
    return [step](ScriptedPeer& peer, const std::string& line) {
        if (line.rfind("$$hello:", 0) == 0) peer.Send("$$continue:1.00");
        if (line.rfind("$$unknown:", 0) == 0 || line.rfind("$$from:", 0) == 0) peer.Send("$$newevent:10.00");
        if (line == "$$continue:1.00") {
            step(peer);
            peer.Send("$$continue:8.00");
        }
        if (line == "$$continue:8.00" || line.rfind("$$stop:", 0) == 0) peer.Send("$$continue:10.00");
    };
}

TEST_F(ServerAccountingTest, ATextReadInsideAQuestionToTheServerIsNoReportToWaitFor) {
    bool sent = false;
    ScriptedPeer peer(server_->Port(), "apeer", StepAtOne([&](ScriptedPeer& p) {
                          p.Send("$$toclient: zmodel!!hello");
                          sent = true;
                      }));
    std::string answer = "time";
    Start("Asker", 1.0, [&](LambdaElement&) {
        // Where both may run at 1 together, make the text arrive during
        // this step, before the question.
        for (int i = 0; i < 50 && !sent; ++i) peer.ReadNow(10);
        ModelHasUnreadBytes(300);
        AskModel("server", answer);
        HoldProcess(1.0);
    });
    RunSimulation();
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(answer, "1.00");
    EXPECT_EQ(messages_, std::vector<std::string>{"$$from:apeer!!hello"});
}

TEST_F(ServerAccountingTest, ATextTooLongForTheReceiverIsRefusedToItsSender) {
    // "$$from:1.00!!apeerlonger!!" and the text make the longest line a model reads.
    const std::size_t longest = 64 * 1024 - std::string("$$from:1.00!!apeerlonger!!").size();
    ScriptedPeer peer(server_->Port(), "apeerlonger", StepAtOne([&](ScriptedPeer& p) {
                          p.Send("$$toclient: zmodel!!" + std::string(longest, 'x'));
                          p.Send("$$toclient: zmodel!!" + std::string(longest + 1, 'y'));
                      }));
    Start("Idle", 5.0, [](LambdaElement&) {});
    RunSimulation();
    EXPECT_EQ(SimTime(), 10.0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].size(), std::string("$$from:apeerlonger!!").size() + longest);
    EXPECT_TRUE(peer.Received("$$unknown:")) << "the sender is told";
}

TEST_F(ServerAccountingTest, AReplyFromAHandlerWhileRunningAheadIsRelayed) {
    SetLookahead(2.0);
    SetMessageHandler([this](const std::string& text) {
        messages_.push_back(text);
        if (text.rfind("$$from:", 0) == 0) SendToModel("apeer", "reply");
    });
    ScriptedPeer peer(server_->Port(), "apeer",
                      StepAtOne([](ScriptedPeer& p) { p.Send("$$toclient: zmodel!!hello"); }));
    Start("Own", 9.0, [](LambdaElement&) {});
    RunSimulation();
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(messages_, std::vector<std::string>{"$$from:apeer!!hello"});
    // At the text's time, as without lookahead, not at the model's clock (0).
    EXPECT_TRUE(peer.Received("$$from:1.00!!zmodel!!reply"));
}

class ThreeModelsTest : public ServerAccountingTest {
    QStringList ServerArguments() const override { return {"--until", "10", "--models", "3"}; }
};

TEST_F(ThreeModelsTest, TheReportOfAnAnsweredQuestionIsNotTakenForATextsReport) {
    // The ship's event at 1.5 tells the third model something: granted 3
    // before it, the third model hears of 1.5 after its own step at 3.
    SetModelName("receiver");
    SetServerAddress("127.0.0.1");
    SetQuestionHandler([](TMsgString&, const std::string& asker) { SendAnswer(asker, "Yes"); });
    SetMessageHandler([this](const std::string&) {
        Start("Ship", SimTime() + 0.5, [this](LambdaElement&) {
            Note("Ship");
            SendToModel("third", "ship at 1.50");
        });
    });
    ScriptedPeer sender(server_->Port(), "sender", StepAtOne([](ScriptedPeer& p) {
                            p.Send({"$$?1!!receiver!!Can you receive a ship?", "$$toclient: receiver!!ship"});
                        }));
    std::vector<std::string> thirdSaw;
    ScriptedPeer third(server_->Port(), "third", [&](ScriptedPeer& p, const std::string& line) {
        if (line.rfind("$$hello:", 0) == 0) p.Send("$$continue:3.00");
        if (line == "$$continue:3.00" || line.rfind("$$from:", 0) == 0) thirdSaw.push_back(line);
        if (line == "$$continue:3.00" || line.rfind("$$stop:", 0) == 0) p.Send("$$continue:10.00");
        if (line.rfind("$$from:", 0) == 0) p.Send("$$newevent:3.00");
    });
    Start("Own", 9.0, [](LambdaElement&) {});
    RunSimulation();
    EXPECT_EQ(SimTime(), 10.0);
    EXPECT_EQ(steps_, (std::vector<Step>{{"Ship", 1.5}}));
    EXPECT_EQ(thirdSaw, (std::vector<std::string>{"$$from:1.50!!receiver!!ship at 1.50", "$$continue:3.00"}));
}

#endif

}  // namespace
}  // namespace zorva::testing
